#include "mass_duplication/DuplicazioneMassiva.h"

#include "db/Constants.h"
#include "db/Variant.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/ArticleExists.h"
#include "generation/CreaArticolo.h"
#include "generation/DimensioneArticolo.h"
#include "generation/PreviewCodes.h"
#include "generation/RunLoop.h"
#include "mass_duplication/CodiceArticolo.h"

namespace mass_duplication {
namespace {

using generation::ArticleOutcome;
using generation::ArticleState;

constexpr const char* kProcedura = "CMD_DUPLMASS_Click";
const std::string kCrLf = "\r\n";

std::string Vecchio(db::Recordset& r) { return db::RTrim(r["MG66_CODART"].Value().Text()); }

bool SelezioneAperta(const db::RecordsetPtr& s) { return s && s->State() == db::adStateOpen && s->RecordCount() > 0; }

// The ticked articles of the selection, walked on the selection itself: each article's description is read
// from its row.
class TickedArticles : public generation::IRunItems {
public:
    TickedArticles(generation::RunLoop& loop, const MassRequest& request) : loop_(loop), request_(request) {}

    long Count() override { return request_.selection->RecordCount(); }
    void First() override { request_.selection->MoveFirst(); }
    bool AtEnd() override { return request_.selection->EOF(); }
    void Next() override { request_.selection->MoveNext(); }

    // The article's new code, truncated when the user agrees; false (skipped, nothing logged) when none.
    bool Code(ArticleOutcome& o) override {
        o.item = o.source = Vecchio(*request_.selection);
        std::string nuovo = NuovoCodice(request_.mode, o.source, request_.text);
        o.newCode = nuovo;
        const long massimo = generation::DimensioneArticolo(loop_.Context());
        if (static_cast<long>(db::Len(nuovo)) > massimo) {
            if (loop_.Ask(DomandaCodiceLungo(massimo), generation::kStileSiNoAnnulla, "") != entry::kAnswerYes) {
                o.state = ArticleState::CodeTooLong;
                o.reason = "the code is longer than " + std::to_string(massimo) + " characters";
                return false;
            }
            nuovo = db::Left(nuovo, static_cast<std::size_t>(massimo));
        }
        o.newCode = nuovo;
        if (nuovo.empty()) o.reason = "no code";
        return !nuovo.empty();
    }

    std::string ProgressText(const ArticleOutcome& o, long done, long max) override {
        return TestoProgresso(o.source, done, max);
    }
    std::string StartLine(const ArticleOutcome& o) override { return kLogInizio + o.source; }
    std::string EndLine(const ArticleOutcome& o) override { return kLogFine + o.source; }

    void Process(ArticleOutcome& o) override {
        const auto& contesto = loop_.Context();
        if (generation::EsisteArticolo(*contesto.connessione, contesto.ditta, o.newCode)) {
            o.state = ArticleState::AlreadyExists;
            o.reason = LogGiaEsistente(o.newCode);
            loop_.Port().Log().ScriviLog(o.reason, generation::LogInformazione);
            return;
        }
        generation::ArticleRequest articolo;
        articolo.source = o.source;
        articolo.newCode = o.newCode;
        articolo.origin = generation::ArticleOrigin::MassTab;
        articolo.parameters = request_.parameters;
        articolo.description = db::RTrim(request_.description);
        if (articolo.description.empty())
            articolo.description = entry::Pfun_Testo((*request_.selection)["MG87_DESCART"].Value());
        // The mass tab's own extended description: the links tab's box shows a link row unrelated to the
        // selection. Left empty, each new article keeps its source's.
        articolo.extendedDescription =
            generation::GivenOrNone(entry::Pfun_Testo(request_.parameters.descrizioneEstesa));
        articolo.variantSelection = request_.variantSelection;
        articolo.selectionSize = request_.selection->RecordCount();
        articolo.codeCheckedFree = true;
        const ArticleOutcome esito = generation::CreaArticolo(contesto, articolo, loop_.Port());
        o.state = esito.state;
        o.reason = esito.reason;
    }

private:
    generation::RunLoop& loop_;
    const MassRequest& request_;
};

}  // namespace

std::string LogGiaEsistente(const std::string& codice) {
    return "L'articolo " + codice + " è già esistente. ARTICOLO NON GENERATO!! ";
}

std::string DomandaCodiceLungo(long massimo) {
    const std::string n = std::to_string(massimo);
    return "Il codice articolo composto da Prefisso + CodiceArt è piu lungo di  " + n + " caratteri. " + kCrLf +
           "Il codice da generare verrà troncato al  " + n + " carattere  " + kCrLf + "Si desidera troncare il codice?";
}

std::string TestoProgresso(const std::string& vecchio, long fatti, long totale) {
    return "Duplicazione dell'articolo : " + vecchio + " (" + std::to_string(fatti) + " di" + std::to_string(totale) +
           ")";
}

generation::RunOutcome RunMassDuplication(const generation::GenerationContext& context, generation::IRunPort& port,
                                          const MassRequest& request) {
    generation::RunLoop loop(context, port);
    TickedArticles articoli(loop, request);
    return loop.Run(
        kProcedura,
        {[&] {
             port.ShowLogButton(false);
             return true;
         },
         [&] { return SelezioneAperta(request.selection) || loop.Refuse("no article selected"); },
         [&] {
             request.selection->Filter(db::Variant(kFiltroSelezionati));
             return true;
         },
         [&] { return loop.VariantsConfigured(request.variantSelection); },
         [&] {
             if (!db::Trim(request.text).empty()) return true;
             port.Ask(kMsgTestoMancante, 0, kTitoloTestoMancante);
             port.FocusOn("TXT_PREFISSODART");
             return loop.Refuse(kMsgTestoMancante);
         }},
        articoli);
}

std::vector<AnteprimaArticolo> AnteprimaDuplicazione(const generation::GenerationContext& contesto,
                                                     const MassRequest& request, bool troncare) {
    std::vector<AnteprimaArticolo> anteprima;
    if (!SelezioneAperta(request.selection)) return anteprima;
    const long massimo = generation::DimensioneArticolo(contesto);
    // A clone: the preview moves neither the caller's row nor its filter.
    auto clone = request.selection->Clone();
    clone->Filter(db::Variant(kFiltroSelezionati));
    if (clone->RecordCount() == 0) return anteprima;
    anteprima.reserve(static_cast<std::size_t>(clone->RecordCount()));
    generation::TakenCodes presi;
    for (clone->MoveFirst(); !clone->EOF(); clone->MoveNext()) {
        AnteprimaArticolo a;
        a.vecchio = Vecchio(*clone);
        a.nuovo = NuovoCodice(request.mode, a.vecchio, request.text);
        a.massimo = massimo;
        a.troppoLungo = static_cast<long>(db::Len(a.nuovo)) > massimo;
        a.finale = generation::FinalCode(a.nuovo, massimo, troncare);
        if (!a.finale.empty()) {
            a.doppione = presi.Take(a.finale, a.vecchio);
            a.esiste = generation::EsisteArticolo(*contesto.connessione, contesto.ditta, a.finale);
        }
        anteprima.push_back(std::move(a));
    }
    return anteprima;
}

}  // namespace mass_duplication
