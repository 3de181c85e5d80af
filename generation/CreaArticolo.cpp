#include "generation/CreaArticolo.h"

#include <optional>

#include "db/Transaction.h"
#include "engine/CLSFA_DUPLICA.h"
#include "entry/ErrorHandler.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/ArticleExists.h"
#include "generation/ArticleRemoval.h"
#include "generation/CreatedGroupings.h"
#include "generation/EngineSequence.h"
#include "generation/HostObject.h"

namespace generation {
namespace {

constexpr const char* kProcedura = "CreaArticolo";

void AzzeraRisultati(entry::CLSFA_AGGANCI* program) {
    if (!program) return;
    program->DuplicazioneAvvenuta(false);
    program->InvocaGestioneArticoliClienti(false);
    program->InvocaGestioneArticoliFornitori(false);
    program->InvocaGestioneParamGestScorte(false);
    program->Articolo_Destinazione(db::Variant(std::string()));
}

std::string Reason(const std::string& text, const std::string& detail) {
    const std::string t = db::Trim(text), d = db::Trim(detail);
    if (t.empty()) return d;
    return d.empty() ? t : t + ": " + d;
}

// One call of CreaArticolo: what it has set up so far, so that the failure path knows what to undo.
class ArticleCreation {
public:
    ArticleCreation(const GenerationContext& contesto, const ArticleRequest& request, IRunPort& port)
        : contesto_(contesto), request_(request), port_(port), program_(contesto.program.get()),
          linksTab_(request.origin == ArticleOrigin::LinkRow) {
        dati_.scheda = linksTab_ ? entry::Util_Agganci : entry::Util_Duplmassiva;
        dati_.riga = request.row;
        dati_.massivi = request.parameters;
        outcome_.source = request.source;
    }

    ArticleOutcome Esegui() {
        AzzeraRisultati(program_);
        const std::string o = db::Trim(db::RTrim(request_.source));
        const std::string d = db::Trim(db::RTrim(request_.newCode));
        if (program_) {
            program_->Articolo_Origine(db::Variant(db::RTrim(request_.source)));
            program_->Articolo_Destinazione(db::Variant(db::RTrim(request_.newCode)));
        }
        outcome_.newCode = d;
        if (o.empty() || d.empty() || (linksTab_ && db::RTrim(request_.description).empty())) {
            port_.Ask(kMsgDatiMancanti, 0, kTitoloDatiMancanti);
            if (!o.empty() && !d.empty()) port_.FocusOn("TXT_DESCARTDAGENERARE");
            return Esito(ArticleState::NotGenerated, kMsgDatiMancanti);
        }

        auto& c = *Richiesto(contesto_.connessione, "Connessione", kProcedura);
        if (!request_.codeCheckedFree && EsisteArticolo(c, contesto_.ditta, d)) {
            Log(kLogGiaEsistente, LogErrore);
            return Esito(ArticleState::AlreadyExists, kLogGiaEsistente);
        }
        port_.Busy(true, kStatoInCorso);
        // The article as a whole: the copy is committed before its completion, as a level inside this
        // one, so that a program that dies in between leaves no copied but uncompleted article behind.
        // The copy's level is only ever undone with the article, so it takes no savepoint: the database
        // would otherwise keep a copy of every page the copy changes.
        articolo_.emplace(c);
        unit_.emplace(c, db::LevelUndo::WithTransaction);

        auto engine = std::make_shared<engine::CLSFA_DUPLICA>();
        engine->Connessione(contesto_.connessione);
        engine->Initialize();
        engine->Ditta(contesto_.ditta);
        engine->DescrizioneArticoloDaGenerare(db::Variant(db::RTrim(request_.description)));
        engine->DescrizioneEstesaArticoloDaGenerare(request_.extendedDescription
                                                        ? db::Variant(db::RTrim(*request_.extendedDescription))
                                                        : db::Variant::Null());
        engine->EnmDatiDaDuplicare(static_cast<engine::KvEnumDatiDaDuplicare>(0));
        engine->Constants(contesto_.constants);
        // The season history of the new article is opened while the engine writes its fashion record.
        auto handler = std::make_shared<GestoreAfterUpdateFA12>(contesto_, dati_, o);
        if (request_.options.complete) engine->Advise(handler);
        if (request_.events) engine->Advise(request_.events);

        SequenceReport report;
        // The sequence itself ends the article at every failed step when each one is fatal: what it logs besides
        // (a source without a bill of materials, for one) is no failure.
        report.log = [this](const std::string& text, long kind) { Log(text, kind); };
        EngineSequence sequence(*engine, Impostazioni(), report);
        // Only the engine writes while it copies, and it writes the new article's rows alone: unless a caller's
        // subscriber listens, which of the source's tables have rows can be asked once.
        engine->SourceRowsUnchanged(request_.events == nullptr);
        CreatedGroupings groupings(c, contesto_.ditta, d, request_.variantSelection, request_.events != nullptr);
        const bool ok = sequence.Run(db::Variant(o), db::Variant(d));
        const std::vector<CreatedGroupings::Grouping> created = engine->GroupingsCreated();
        if (request_.options.complete) engine->Unadvise(handler);
        if (request_.events) engine->Unadvise(request_.events);
        engine.reset();
        if (!ok) return Fallimento(sequence.ErrorText(), sequence.ErrorDetail());

        // Left to the caller when the caller said it opens the managements itself.
        if (program_) {
            if (report.clientiLasciati) program_->InvocaGestioneArticoliClienti(true);
            if (report.fornitoriLasciati) program_->InvocaGestioneArticoliFornitori(true);
            if (report.scorteGestite && program_->InvocaGestione()) program_->InvocaGestioneParamGestScorte(true);
        }

        groupings.Record(created);
        unit_->Commit();
        unit_.reset();
        if (program_) program_->DuplicazioneAvvenuta(true);
        Pronto();

        const bool completato = !request_.options.complete || AggiornaFa12_Fa13(contesto_, dati_, d, o, request_.fabric);
        const bool distinta = completato && Distinta(d, o);
        if (completato && distinta) {
            articolo_->Commit();
            articolo_.reset();
            Log("Articolo :  " + db::RTrim(request_.newCode) + " Creato ", LogInformazione);
            return Esito(ArticleState::Created, {});
        }
        // A refused removal has shown its reason and left the article's rows: the failure path then undoes the
        // whole article, so that nothing stays of an article the log reports as not generated.
        if (EliminaArticoloGenerato(contesto_, d)) {
            articolo_->Commit();
            articolo_.reset();
        }
        // The substitution has logged its own anomalies; the completion has shown its error.
        return completato ? Fallimento({}, {}, "Errore nella funzione: AggiornaDistinta")
                          : Fallimento("Errore nella funzione: AggiornaFa12_Fa13", {});
    }

    // An error that left the routine: the failure path with the error's own description.
    ArticleOutcome Errore(const db::Error& e) { return Fallimento({}, e.Description()); }

private:
    SequenceSettings Impostazioni() const {
        auto interfaccia = Richiesto(contesto_.programma, "ActiveInterface", kProcedura);
        auto global = Richiesto(interfaccia->ClsGlobal(), "ClsGlobal", kProcedura);
        SequenceSettings s;
        s.linksTab = linksTab_;
        s.fabric = db::Trim(request_.fabric);
        s.invocaGestione = program_ && program_->InvocaGestione();
        s.variantSelection = request_.variantSelection;
        s.massSelectionRows = request_.selectionSize;
        s.fashionAttributes = global->AttributiFashion();
        s.productionSetting = db::Trim(global->GestioneProduzione());
        s.projectData = global->DatiProgetto();
        s.billOfMaterials = linksTab_ ? !db::Trim(request_.mainFabric.codice).empty() : true;
        s.program = interfaccia;
        s.connectionString = contesto_.connectionString;
        s.ditta = contesto_.ditta;
        s.skipSteps = request_.options.skipSteps;
        s.groupsOff = request_.options.groupsOff;
        s.everyStepFatal = request_.options.everyStepFatal;
        return s;
    }

    bool Distinta(const std::string& nuovo, const std::string& origine) {
        if (!linksTab_ || !request_.options.complete || db::Trim(request_.mainFabric.codice).empty()) return true;
        TessutoPrincipale tp = request_.mainFabric;
        tp.codice = db::RTrim(tp.codice);
        return AggiornaDistinta(contesto_, tp, dati_.riga, nuovo, origine, request_.fabric,
                                [this](const std::string& text, long kind) { Log(text, kind); });
    }

    // `motivo` is the outcome's reason when the texts logged do not say it.
    ArticleOutcome Fallimento(const std::string& testo, const std::string& dettaglio, const std::string& motivo = {}) {
        AzzeraRisultati(program_);
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
        return Esito(ArticleState::NotGenerated, motivo.empty() ? Reason(testo, dettaglio) : motivo);
    }

    ArticleOutcome Esito(ArticleState state, const std::string& reason) {
        outcome_.state = state;
        outcome_.reason = db::Trim(reason);
        return outcome_;
    }

    void Pronto() { port_.Busy(false, kStatoPronto); }

    void Log(const std::string& text, long kind) { port_.Log().ScriviLog(text, kind); }

    const GenerationContext& contesto_;
    const ArticleRequest& request_;
    IRunPort& port_;
    entry::CLSFA_AGGANCI* program_;
    bool linksTab_;
    DatiArticoloGenerato dati_;
    ArticleOutcome outcome_;
    std::optional<db::Transaction> articolo_;  // the whole article: copy, completion and, on failure, removal
    std::optional<db::Transaction> unit_;      // the copy (the engine calls)
};

}  // namespace

ArticleOutcome CreaArticolo(const GenerationContext& context, const ArticleRequest& request, IRunPort& port) {
    ArticleCreation creazione(context, request, port);
    try {
        return creazione.Esegui();
    } catch (...) {
        return creazione.Errore(entry::ToError(std::current_exception(), kProcedura));
    }
}

db::Variant CompanyValue(const std::string& text) {
    db::Variant ditta(db::Trim(text));
    if (!ditta.Text().empty() && ditta.IsNumeric()) ditta = db::Variant(ditta.CLng());
    return ditta;
}

}  // namespace generation
