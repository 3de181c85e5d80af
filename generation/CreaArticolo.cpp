#include "generation/CreaArticolo.h"

#include <optional>

#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "entry/ErrorHandler.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/ArticleExists.h"
#include "generation/ArticleRemoval.h"
#include "generation/EngineSequence.h"
#include "generation/FabricSubstitution.h"
#include "generation/HostObject.h"
#include "generation/Transazione.h"

namespace generation {
namespace {

constexpr const char* kProcedura = "CreaArticolo";

void AzzeraRisultati(entry::CLSFA_AGGANCI& program) {
    program.DuplicazioneAvvenuta(false);
    program.InvocaGestioneArticoliClienti(false);
    program.InvocaGestioneArticoliFornitori(false);
    program.InvocaGestioneParamGestScorte(false);
    program.Articolo_Destinazione(db::Variant(std::string()));
}

// One call of CreaArticolo: what it has set up so far, so that the failure path knows what to undo.
class Creazione {
public:
    Creazione(IGenerationForm& form, std::shared_ptr<entry::CLSFA_AGGANCI> program, const RigaAggancio* riga)
        : form_(form),
          program_(std::move(program)),
          contesto_(ContestoDelForm(form)),
          linksTab_(form.tabVisible() == entry::Util_Agganci) {
        dati_.scheda = form.tabVisible();
        if (riga) dati_.riga = *riga;
        dati_.massivi = form.ParametriDuplicazione();
        riga_ = riga;
    }

    bool Esegui(const std::string& origine, const std::string& nuovo, const std::string& tessuto) {
        AzzeraRisultati(*program_);
        program_->Articolo_Origine(db::Variant(db::RTrim(origine)));
        program_->Articolo_Destinazione(db::Variant(db::RTrim(nuovo)));
        const std::string o = entry::Pfun_Testo(program_->Articolo_Origine());
        const std::string d = entry::Pfun_Testo(program_->Articolo_Destinazione());
        if (o.empty() || d.empty()) {
            form_.MsgBox(kMsgDatiMancanti, 0, kTitoloDatiMancanti);
            return false;
        }
        std::string descrizione, descrizioneEstesa;
        if (!Descrizioni(descrizione, descrizioneEstesa)) return false;

        auto& c = *Richiesto(contesto_.connessione, "Connessione", kProcedura);
        if (EsisteArticolo(c, contesto_.ditta, d)) {
            Log(kLogGiaEsistente, LogErrore);
            return true;
        }
        form_.MousePointer(vbHourglass);
        form_.TestoStato(kStatoInCorso);
        // The article as a whole: the copy is committed before its completion, as a level inside this
        // one, so that a program that dies in between leaves no copied but uncompleted article behind.
        articolo_.emplace(c);
        unit_.emplace(c);

        auto engine = std::make_shared<engine::CLSFA_DUPLICA>();
        engine->Connessione(contesto_.connessione);
        engine->Initialize();
        engine->Ditta(contesto_.ditta);
        engine->DescrizioneArticoloDaGenerare(db::Variant(descrizione));
        engine->DescrizioneEstesaArticoloDaGenerare(db::Variant(db::RTrim(descrizioneEstesa)));
        engine->EnmDatiDaDuplicare(static_cast<engine::KvEnumDatiDaDuplicare>(0));
        // The season history of the new article is opened while the engine writes its fashion record.
        auto handler = std::make_shared<GestoreAfterUpdateFA12>(contesto_, dati_, o);
        engine->Advise(handler);

        SequenceReport report;
        report.log = [this](const std::string& text, long kind) { Log(text, kind); };
        EngineSequence sequence(*engine, Impostazioni(tessuto), report);
        const bool ok = sequence.Run(program_->Articolo_Origine(), program_->Articolo_Destinazione());
        engine->Unadvise(handler);
        engine.reset();
        if (!ok) return Fallimento(sequence.ErrorText(), sequence.ErrorDetail());

        // Left to the caller when the caller said it opens the managements itself.
        if (report.clientiLasciati) program_->InvocaGestioneArticoliClienti(true);
        if (report.fornitoriLasciati) program_->InvocaGestioneArticoliFornitori(true);
        if (report.scorteGestite && program_->InvocaGestione()) program_->InvocaGestioneParamGestScorte(true);

        unit_->Commit();
        unit_.reset();
        program_->DuplicazioneAvvenuta(true);
        Pronto();

        const bool completato = AggiornaFa12_Fa13(contesto_, dati_, d, o, tessuto);
        const bool distinta = completato && Distinta(d, o, tessuto);
        if (completato && distinta) {
            articolo_->Commit();
            articolo_.reset();
            Log("Articolo :  " + program_->Articolo_Destinazione().Text() + " Creato ", LogInformazione);
            return true;
        }
        EliminaArticoloGenerato(contesto_, d);
        articolo_->Commit();
        articolo_.reset();
        // The substitution has logged its own anomalies; the completion has shown its error.
        return Fallimento(completato ? std::string() : "Errore nella funzione: AggiornaFa12_Fa13", {});
    }

    // An error that left the routine: the failure path with the error's own description.
    bool Errore(const db::Error& e) { return Fallimento({}, e.Description()); }

private:
    // The descriptions the engine gives the new article. On the links tab they are the row's own (the text
    // boxes show the row the user is on, not the one being generated); a missing one stops the article.
    bool Descrizioni(std::string& descrizione, std::string& estesa) {
        if (linksTab_) {
            descrizione = riga_ ? entry::Pfun_Testo(riga_->descrizione) : db::RTrim(form_.TXT_DESCARTDAGENERARE());
            estesa = riga_ ? entry::Pfun_Testo(riga_->descrizioneEstesa) : form_.TXT_DESCARTESTDAGENERARE();
            if (descrizione.empty()) {
                form_.MsgBox(kMsgDatiMancanti, 0, kTitoloDatiMancanti);
                form_.FocusDescrizioneDaGenerare();
                return false;
            }
            return true;
        }
        descrizione = db::RTrim(form_.TXT_DESCRD());
        if (descrizione.empty()) {
            if (auto selection = form_.RstSelezioneMassiva(); selection && !selection->EOF() && !selection->BOF())
                descrizione = entry::Pfun_Testo((*selection)["MG87_DESCART"].Value());
        }
        // The mass tab's own extended description: the links tab's box shows a link row unrelated to the
        // selection.
        estesa = entry::Pfun_Testo(dati_.massivi.descrizioneEstesa);
        return true;
    }

    SequenceSettings Impostazioni(const std::string& tessuto) const {
        auto interfaccia = Richiesto(form_.ActiveInterface(), "ActiveInterface", kProcedura);
        auto global = Richiesto(interfaccia->ClsGlobal(), "ClsGlobal", kProcedura);
        SequenceSettings s;
        s.linksTab = linksTab_;
        s.fabric = db::Trim(tessuto);
        s.invocaGestione = program_->InvocaGestione();
        s.variantSelection = form_.RstSelezioneVarianti();
        if (auto selection = form_.RstSelezioneMassiva()) s.massSelectionRows = selection->RecordCount();
        s.fashionAttributes = global->AttributiFashion();
        s.productionSetting = db::Trim(global->GestioneProduzione());
        s.projectData = global->DatiProgetto();
        s.billOfMaterials = linksTab_ ? !db::Trim(form_.TXT_TESSPRINC()).empty() : true;
        s.program = interfaccia;
        s.connectionString = form_.Gstr_Connect();
        s.ditta = contesto_.ditta;
        return s;
    }

    bool Distinta(const std::string& nuovo, const std::string& origine, const std::string& tessuto) {
        const std::string principale = db::RTrim(form_.TXT_TESSPRINC());
        if (!linksTab_ || db::Trim(principale).empty()) return true;
        TessutoPrincipale tp;
        tp.codice = principale;
        const std::string sequenza = db::Trim(form_.TXT_SEQUENZA());
        tp.sequenza = sequenza.empty() ? 0 : db::Variant(sequenza).CLng();
        return AggiornaDistinta(contesto_, tp, dati_.riga, nuovo, origine, tessuto,
                                [this](const std::string& text, long kind) { Log(text, kind); });
    }

    bool Fallimento(const std::string& testo, const std::string& dettaglio) {
        AzzeraRisultati(*program_);
        Pronto();
        Log(testo, LogErrore);
        // The reason the database or a host object gave, so that the log tells why the step failed.
        Log(dettaglio, LogErrore);
        Log(kLogNonGenerato, LogErrore);
        if (articolo_) {
            try {
                articolo_->Rollback();  // the copy's level inside it with it
            } catch (...) {
                // A rollback that fails leaves nothing to add: the transaction is gone with the connection.
            }
            unit_.reset();
            articolo_.reset();
        }
        return false;
    }

    void Pronto() {
        form_.MousePointer(vbDefault);
        form_.TestoStato(kStatoPronto);
    }

    void Log(const std::string& text, long kind) { form_.LogElaborazione().ScriviLog(text, kind); }

    IGenerationForm& form_;
    std::shared_ptr<entry::CLSFA_AGGANCI> program_;
    ContestoGenerazione contesto_;
    bool linksTab_;
    DatiArticoloGenerato dati_;
    const RigaAggancio* riga_ = nullptr;
    std::optional<Transazione> articolo_;  // the whole article: copy, completion and, on failure, removal
    std::optional<Transazione> unit_;      // the copy (the engine calls)
};

}  // namespace

ContestoGenerazione ContestoDelForm(const IGenerationForm& form) {
    // The company travels as a number: the host objects and the engine take it as one.
    db::Variant ditta(db::Trim(form.Gstr_DittaCorrente()));
    if (!ditta.Text().empty() && ditta.IsNumeric()) ditta = db::Variant(ditta.CLng());
    return {form.Gcon_Connect(), ditta, form.ActiveInterface(), form.Gcls_Log()};
}

bool CreaArticolo(IGenerationForm& form, const std::string& origine, const std::string& nuovo,
                  const std::string& tessuto, const RigaAggancio* riga) {
    auto program = form.ActiveClass();
    if (!program) {
        form.LogElaborazione().ScriviLog("Oggetto non impostato: ActiveClass", LogErrore);
        form.LogElaborazione().ScriviLog(kLogNonGenerato, LogErrore);
        return false;
    }
    Creazione creazione(form, program, riga);
    try {
        return creazione.Esegui(origine, nuovo, tessuto);
    } catch (...) {
        return creazione.Errore(entry::ToError(std::current_exception(), kProcedura));
    }
}

}  // namespace generation
