#include "generation/GenerationRun.h"

#include <optional>

#include "db/Constants.h"
#include "db/QueryValue.h"
#include "db/Quote.h"
#include "db/Transaction.h"
#include "engine/VariantCopy.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/ArticleExists.h"
#include "generation/CreaArticolo.h"
#include "generation/DimensioneArticolo.h"
#include "generation/GeneratedArticles.h"
#include "generation/HostObject.h"
#include "generation/PreviewCodes.h"
#include "generation/Regeneration.h"

namespace generation {
namespace {

constexpr const char* kProcedura = "CMD_DUPLICA_ButtonClick";
const std::string kCrLf = "\r\n";

RigaAggancio LeggiRiga(db::Recordset& r) {
    return {r["FA64_DESCRIZIONE"].Value(),  r["FA64_DESCRESTESA"].Value(),  r["FA64_STAGIONE_MG5T"].Value(),
            r["FA64_LINEA_FA05"].Value(),   r["FA64_MARCHIO_FA06"].Value(), r["FA64_TIPOLOGIA_FA04"].Value(),
            r["FA64_CODTESS_FA12"].Value(), r["FA64_QTA1DIBA"].Value()};
}

std::string Tessuto(db::Recordset& r) { return db::Trim(r["FA64_CODTESS_FA12"].Value().Text()); }
std::string Generato(db::Recordset& r) { return db::Trim(r["FA64_ARTAGGANCIO_MG66"].Value().Text()); }

bool RigheAperte(const db::RecordsetPtr& righe) {
    return righe && righe->State() == db::adStateOpen && righe->RecordCount() > 0;
}

// The link rows of one run, walked on a clone of the rows the caller holds.
class LinkRows : public IRunItems {
public:
    LinkRows(RunLoop& loop, const GenerationRequest& request) : loop_(loop), request_(request) {}

    long Count() override { return request_.rows->RecordCount(); }
    void First() override {
        clone_ = request_.rows->Clone();
        clone_->MoveFirst();
    }
    bool AtEnd() override { return clone_->EOF(); }
    void Next() override { clone_->MoveNext(); }

    // The row's code, truncated when the user agrees; false (the row is skipped) when there is none.
    bool Code(ArticleOutcome& o) override {
        o.item = Tessuto(*clone_);
        o.source = db::Trim(request_.model);
        std::string codice = ComponiCodice(request_, (*clone_)["FA64_CODTESS_FA12"].Value());
        o.newCode = codice;
        const long massimo = DimensioneArticolo(loop_.Context());
        if (static_cast<long>(db::Len(codice)) > massimo) {
            if (loop_.Ask(DomandaCodiceLungo(massimo), kStileSiNoAnnulla, "") != entry::kAnswerYes) {
                o.state = ArticleState::CodeTooLong;
                o.reason = "the code is longer than " + std::to_string(massimo) + " characters";
                return false;
            }
            codice = db::Left(codice, static_cast<std::size_t>(massimo));
        }
        o.newCode = codice;
        if (codice.empty()) o.reason = "no code";
        return !codice.empty();
    }

    std::string ProgressText(const ArticleOutcome& o, long done, long max) override {
        return "Creazione articolo Articolo : " + o.newCode + " (" + std::to_string(done) + " di" +
               std::to_string(max) + ")";
    }
    std::string StartLine(const ArticleOutcome&) override { return kLogInizioTessuto + Tessuto(*clone_); }
    std::string EndLine(const ArticleOutcome&) override { return kLogFineTessuto + Tessuto(*clone_); }

    // The row is read again, its article created and its code recorded in one transaction, which holds the
    // database's write lock from the read on: a removal of the row elsewhere happens wholly before (the
    // row is gone, nothing is created) or wholly after (it sees the article recorded).
    void Process(ArticleOutcome& o) override {
        auto& c = *Richiesto(loop_.Context().connessione, "Connessione", kProcedura);
        db::Transaction unit(c);
        const std::string guid = entry::Pfun_Testo((*clone_)["FA64_GUID"].Value());
        const std::optional<std::string> generato = RecordedArticle(c, guid);
        if (!generato) {
            o.state = ArticleState::NotGenerated;
            o.reason = "the link row is no longer in the database";
            unit.Rollback();
            return;
        }
        if (!generato->empty() && !request_.regenerate) {
            o.state = ArticleState::AlreadyGenerated;
            o.reason = "the row has its article " + *generato;
            unit.Rollback();
            return;
        }
        ArticleRequest articolo;
        articolo.source = db::Trim(request_.model);
        articolo.newCode = o.newCode;
        articolo.origin = ArticleOrigin::LinkRow;
        articolo.fabric = Tessuto(*clone_);
        articolo.row = LeggiRiga(*clone_);
        // The row's own descriptions: the text boxes show the row the user is on, not the one generated.
        articolo.description = entry::Pfun_Testo(articolo.row.descrizione);
        articolo.extendedDescription = entry::Pfun_Testo(articolo.row.descrizioneEstesa);
        articolo.mainFabric = request_.mainFabric;
        articolo.variantSelection = request_.variantSelection;
        auto crea = [&] {
            const ArticleOutcome esito = CreaArticolo(loop_.Context(), articolo, loop_.Port());
            o.state = esito.state;
            o.reason = esito.reason;
            if (esito.state != ArticleState::Created && esito.state != ArticleState::AlreadyExists) return false;
            Registra(c, guid, o);
            return true;
        };
        // Regenerating replaces only an article this row created. One that existed before, or that another row
        // created, is never removed: the creation finds its code taken and records it, as a first run does.
        // The previous article goes only together with the creation of its replacement: a creation that
        // fails (or a code that cannot be recorded) leaves it, and the row keeps pointing to it.
        if (request_.regenerate && CreatedByLinkRow(c, loop_.Context().ditta, o.newCode, guid))
            RigeneraArticolo(loop_.Context(), o.newCode, crea);
        else crea();
        unit.Commit();
    }

private:
    // The code on the row; an article the run created is marked as the row's own, one that existed is not.
    void Registra(db::Connection& c, const std::string& guid, ArticleOutcome& o) {
        (*clone_)["FA64_ARTAGGANCIO_MG66"].Value(db::Variant(o.newCode));
        clone_->UpdateBatch(db::adAffectAll);
        if (o.state == ArticleState::Created) RecordGeneratedArticle(c, loop_.Context().ditta, o.newCode, guid);
        o.recorded = true;
    }

    RunLoop& loop_;
    const GenerationRequest& request_;
    db::RecordsetPtr clone_;
};

// The fabric can give its colour to the new article (the run's colour step copies these rows).
bool ColoreUsabile(db::Connection& c, const db::Variant& ditta, const std::string& tessuto, const std::string& colore) {
    const std::string sql = "SELECT COUNT(*) FROM MG6B_GESVARART WITH (NOLOCK) WHERE MG6B_DITTA_CG18 = " +
                            db::SqlNumber(ditta) + " AND MG6B_CODART_MG66 = " + db::SqlText(tessuto) + " AND " +
                            engine::ColourVariantRows(colore);
    return db::QueryValue(c, sql).CLng() > 0;
}

bool ControllaVarianteColore(RunLoop& loop) {
    auto interfaccia = Richiesto(loop.Context().programma, "ActiveInterface", kProcedura);
    if (!db::Trim(Richiesto(interfaccia->ClsGlobal(), "ClsGlobal", kProcedura)->VarianteColore()).empty())
        return true;
    loop.Port().Ask(kMsgVarianteColore, kStileEsclamativo, kTitoloAttenzione);
    return loop.Refuse(kMsgVarianteColore);
}

}  // namespace

std::string DomandaCodiceLungo(long massimo) {
    const std::string n = std::to_string(massimo);
    return "Il codice articolo composto da Prefisso + Codice + Cod.Tess. Aggancio è piu lungo di " + n +
           " caratteri. " + kCrLf + "Se non verrà indicato un codice alternativo piu corto il codice da generare " +
           "verrà troncato al  " + n + " carattere  " + kCrLf + "Si desidera troncare il codice?";
}

std::string ComponiCodice(const GenerationRequest& request, const db::Variant& tessuto) {
    const std::string modello = request.useAlternativeCode ? db::Trim(request.alternativeCode) : db::Trim(request.model);
    return db::Trim(request.prefix) + modello + db::Trim(tessuto.Text());
}

RunOutcome RunGeneration(const GenerationContext& context, IRunPort& port, const GenerationRequest& request) {
    RunLoop loop(context, port);
    LinkRows righe(loop, request);
    return loop.Run(kProcedura,
                    {[&] { return RigheAperte(request.rows) || loop.Refuse("the model has no link rows"); },
                     [&] { return ControllaVarianteColore(loop); },
                     [&] { return loop.VariantsConfigured(request.variantSelection); }},
                    righe);
}

std::vector<AnteprimaRiga> AnteprimaGenerazione(const GenerationContext& contesto, const GenerationRequest& request,
                                                bool troncare) {
    std::vector<AnteprimaRiga> result;
    if (!RigheAperte(request.rows)) return result;
    auto& c = *Richiesto(contesto.connessione, "Connessione", "AnteprimaGenerazione");
    const auto programma = Richiesto(contesto.programma, "ActiveInterface", "AnteprimaGenerazione");
    const std::string colore =
        db::Trim(Richiesto(programma->ClsGlobal(), "ClsGlobal", "AnteprimaGenerazione")->VarianteColore());
    TakenCodes presi;
    auto clone = request.rows->Clone();
    for (clone->MoveFirst(); !clone->EOF(); clone->MoveNext()) {
        AnteprimaRiga r;
        r.tessuto = Tessuto(*clone);
        r.codice = ComponiCodice(request, (*clone)["FA64_CODTESS_FA12"].Value());
        r.generato = Generato(*clone);
        r.massimo = DimensioneArticolo(contesto);
        r.troppoLungo = static_cast<long>(db::Len(r.codice)) > r.massimo;
        r.finale = FinalCode(r.codice, r.massimo, troncare);
        r.esiste = !r.finale.empty() && EsisteArticolo(c, contesto.ditta, r.finale);
        r.dellaRiga = r.esiste && CreatedByLinkRow(c, contesto.ditta, r.finale,
                                                   entry::Pfun_Testo((*clone)["FA64_GUID"].Value()));
        if (!colore.empty() && !ColoreUsabile(c, contesto.ditta, r.tessuto, colore))
            r.motivo = "the link fabric " + r.tessuto + " has no active colour variant " + colore + " with a grouping";
        // Only a row the run creates an article for takes its code.
        if (!r.finale.empty() && (r.generato.empty() || request.regenerate) && r.motivo.empty())
            r.doppione = presi.Take(r.finale, r.tessuto);
        result.push_back(std::move(r));
    }
    return result;
}

}  // namespace generation
