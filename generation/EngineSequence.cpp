#include "generation/EngineSequence.h"

#include "db/Transaction.h"

namespace generation {
namespace {

const std::string kCrLf = "\r\n";

}  // namespace

EngineSequence::EngineSequence(engine::CLSFA_DUPLICA& engine, SequenceSettings settings, SequenceReport& report)
    : engine_(engine), settings_(std::move(settings)), report_(report) {}

bool EngineSequence::Step(const std::string& name, const std::string& errorText, const Call& call) {
    report_.step = name;
    if (settings_.skipSteps.count(name)) return true;
    errorText_ = errorText;
    errorDetail_.clear();
    db::Connection* connection = engine_.Connessione().get();
    // Cleared so that an error found there afterwards is this step's own.
    if (connection) connection->ClearErrors();
    try {
        if (call() != engine::kvMethodCanceled) return true;
        // An operation that reports its failure only through its result leaves the error on the connection.
        if (connection && !connection->Errors().empty()) errorDetail_ = connection->Errors().back().Description();
    } catch (const db::Error& e) {
        errorDetail_ = e.Description();
    } catch (const std::exception& e) {
        errorDetail_ = e.what();
    }
    return false;
}

void EngineSequence::Logged(const std::string& text) {
    if (!report_.log) return;
    report_.log(text, 3);
    // The reason the database or a host object gave, as the failure path of an article logs it.
    if (!errorDetail_.empty()) report_.log(errorDetail_, 3);
}

void EngineSequence::SetKey(int group, bool value) {
    const std::string key = "KEY" + std::to_string(group);
    engine_.CollDatiDaDuplicare()->Put(db::Variant(value), key);
}

bool EngineSequence::Run(const db::Variant& o, const db::Variant& d) {
    using engine::kvMethodOK;
    auto& e = engine_;
    // The groups the stored procedure copies with the article master.
    for (int group : {1, 2, 3, 4, 5, 8, 9, 13, 14, 15, 16, 17, 19, 20}) SetKey(group, !settings_.groupsOff.count(group));

    if (!Step("DuplicazioneAnagraficaBase", "Errore in duplicazione Anagrafica Base",
              [&] { return e.DuplicazioneAnagraficaBase(o, d); }) ||
        !Step("DuplicazioneDescrizioniInLingua", "Errore in duplicazione Descrizioni in lingua",
              [&] { return e.DuplicazioneDescrizioniInLingua(o, d); }) ||
        !Step("DuplicazioneUbicazioniDinamiche", "Errore in duplicazione Ubicazioni Dinamiche",
              [&] { return e.DuplicazioneUbicazioniDinamiche(o, d); }))
        return false;
    e.ActInterface(db::Variant(std::static_pointer_cast<db::Object>(settings_.program)));
    if (!Step("DuplicazioneBarcode", "Errore in duplicazione Barcode ", [&] { return e.DuplicazioneBarcode(o, d); }))
        return false;
    if (settings_.invocaGestione) {
        report_.clientiLasciati = true;
        report_.fornitoriLasciati = true;
    } else if (!Step("DuplicazioneArticoliClienti", "Errore in duplicazione Articoli Clienti",
                     [&] { return e.DuplicazioneArticoliClienti(o, d); }) ||
               !Step("DuplicazioneArticoliFornitori", "Errore in duplicazione Articoli Fornitori",
                     [&] { return e.DuplicazioneArticoliFornitori(o, d); })) {
        return false;
    }
    if (settings_.variantSelection) {
        e.RstDuplVarianti(settings_.variantSelection->Clone());
        if (settings_.massSelectionRows == 1) e.ModalitaDuplicaSingola(true);
    }
    if (settings_.linksTab) {
        if (!Step("DuplicazioneVariantiDaModello", "Errore in duplicazione varianti",
                  [&] { return e.DuplicazioneVariantiDaModello(o, d); }) ||
            !Step("DuplicazioneColoredaTessuto",
                  "Errore in duplicazione della variante colore ereditata dal tessuto. " + kCrLf +
                      "Verificare che il tessuto di aggancio abbia la variante colore attiva e raggurppamento "
                      "valorizzato. ",
                  [&] { return e.DuplicazioneColoredaTessuto(db::Variant(settings_.fabric), d); }))
            return false;
    } else if (!Step("DuplicazioneVarianti", "Errore in duplicazione varianti",
                     [&] { return e.DuplicazioneVarianti(o, d); })) {
        return false;
    }
    if (!Step("DuplicazioneDatiLotto", "Errore in duplicazione dati lotto " + kCrLf,
              [&] { return e.DuplicazioneDatiLotto(o, d); }) ||
        !Step("DuplicazioneDatiTracciabilitaProdotti", "Errore in duplicazione dati Tracciabilità prodotti " + kCrLf,
              [&] { return e.DuplicazioneDatiTracciabilitaProdotti(o, d); }) ||
        !Step("DuplicazioneParamGestScorte", "Errore in duplicazione parametri gestione scorte " + kCrLf,
              [&] { return e.DuplicazioneParamGestScorte(o, d); }))
        return false;
    report_.scorteGestite = true;
    if (settings_.fashionAttributes &&
        !Step("DuplicazioneAttributiFashion", "Errore in duplicazione attributi fashion " + kCrLf,
              [&] { return e.DuplicazioneAttributiFashion(o, d); }))
        return false;

    const std::string productionError = "Errore in duplicazione dati di produzione " + kCrLf;
    if (settings_.productionSetting == "0" && settings_.projectData) {
        SetKey(engine::KvEnumDatiDaDuplicare_DatiProgetto, true);
        if (!Step("DuplicazioneDatiProduzione", productionError, [&] { return e.DuplicazioneDatiProduzione(o, d); }))
            return false;
    }
    if (settings_.productionSetting == "1") {
        SetKey(engine::KvEnumDatiDaDuplicare_CicloProduzione, true);
        const auto copy = [&] { return e.DuplicazioneDatiProduzione(o, d); };
        if (settings_.linksTab || settings_.everyStepFatal) {
            if (!Step("DuplicazioneDatiProduzione", productionError, copy)) return false;
        } else {
            // On the mass tab an article without its production data is still worth having, but not with a
            // part of them: their own level undoes what the step wrote before it failed.
            db::Transaction level(*e.Connessione());
            if (Step("DuplicazioneDatiProduzione", productionError, copy)) {
                level.Commit();
            } else {
                level.Rollback();
                Logged(productionError);
            }
        }
    }
    if (settings_.billOfMaterials && !settings_.skipSteps.count("DuplicazioneDiBa") && !BillOfMaterials(o, d))
        return false;
    errorText_.clear();
    return true;
}

bool EngineSequence::BillOfMaterials(const db::Variant& o, const db::Variant& d) {
    report_.step = "DuplicazioneDiBa";
    auto check = entry::Host().CreateControlloDistinta();
    check->ActiveInterface(settings_.program);
    const std::string source = db::RTrim(o.Text());
    if (!check->EsisteDistinta(source)) {
        errorText_ = "Errore: DiBa non creata. Articolo Origine senza distinta base !!";
        if (settings_.linksTab) {
            report_.duplicazioneAvvenuta = false;
            return false;
        }
        // Elsewhere the article is worth having without its bill of materials: with nothing to copy no step
        // failed, so the line is only logged, also when every step is fatal.
        if (report_.log) report_.log(errorText_, 3);
        errorText_.clear();
    }
    if (!check->TipologiaPrevedeDistinta(source)) {
        const std::string text =
            "L'articolo di origine ha una tipologia di prodotto che non prevede la creazione di una distinta base." +
            kCrLf + kCrLf + "Verificare la voce \"Dati produzione\" fra le \"Gestioni collegate\" dell'Anagrafica articoli.";
        if (report_.log) report_.log(text, 3);
    }
    return Step("DuplicazioneDiBa", "Errore in duplicazione distinta base", [&] {
        return engine_.DuplicazioneDiBa(o, d, settings_.program, db::Variant(settings_.connectionString),
                                        settings_.ditta);
    });
}

}  // namespace generation
