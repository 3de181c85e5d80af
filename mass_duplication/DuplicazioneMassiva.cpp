#include "mass_duplication/DuplicazioneMassiva.h"

#include "db/Constants.h"
#include "db/Variant.h"
#include "entry/ErrorHandler.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/ArticleExists.h"
#include "generation/CreaArticolo.h"
#include "generation/DimensioneArticolo.h"
#include "generation/GenerationRun.h"
#include "generation/HostObject.h"
#include "mass_duplication/CodiceArticolo.h"

namespace mass_duplication {
namespace {

constexpr const char* kProcedura = "CMD_DUPLMASS_Click";
const std::string kCrLf = "\r\n";

std::string Vecchio(db::Recordset& r) { return db::RTrim(r["MG66_CODART"].Value().Text()); }

class Duplicazione {
public:
    Duplicazione(generation::IGenerationForm& form, const ComandoMassivo& comando)
        : form_(form), comando_(comando), contesto_(generation::ContestoDelForm(form)),
          messaggi_(contesto_.messaggi), connessione_(contesto_.connessione) {}

    void Esegui() {
        entry::Procedure(kProcedura, entry::HandlerTable::B, Errori())
            .Step([this] { generation::Richiesto(comando_.CMD_LOGDUPL, "CMD_LOGDUPL", kProcedura)->Visible(false); })
            .Step([this] {
                selezione_ = form_.RstSelezioneMassiva();
                return selezione_ && selezione_->State() == db::adStateOpen && selezione_->RecordCount() > 0;
            })
            .Step([this] { selezione_->Filter(db::Variant(kFiltroSelezionati)); })
            .Step([this] {
                return form_.RstSelezioneVarianti() ||
                       form_.MsgBox(generation::kMsgVariantiNonConfigurate, generation::kStileSiNo, "") !=
                           entry::kAnswerNo;
            })
            .Step([this] { return ControllaTesto(); })
            .Step([this] { PreparaProgresso(); })
            .Step([this] {
                form_.LogElaborazione().ApriLog();
                logAperto_ = true;
            })
            .Step([this] { return Articoli(); })
            .Cleanup([this] {
                if (!logAperto_) return;
                logAperto_ = false;
                form_.LogElaborazione().ChiudiLog();
                comando_.CMD_LOGDUPL->Visible(true);
            })
            .Cleanup([this] {
                if (progresso_) AzzeraProgresso();
            })
            .Run();
    }

private:
    entry::ErrorContext Errori() { return entry::ErrorContext(&messaggi_, &connessione_); }

    bool ControllaTesto() {
        if (!db::Trim(comando_.testo).empty()) return true;
        form_.MsgBox(kMsgTestoMancante, 0, kTitoloTestoMancante);
        if (comando_.focusTesto) comando_.focusTesto();
        return false;
    }

    void PreparaProgresso() {
        progresso_ = generation::Richiesto(form_.ZEL_PROGRESS1(), "ZEL_PROGRESS1", kProcedura);
        progresso_->Visible(true);
        progresso_->CaptionVisible(true);
        progresso_->TextVisible(true);
        progresso_->Value(0);
        progresso_->Caption(generation::kCaptionProgresso);
        progresso_->Max(selezione_->RecordCount());
        progresso_->Text("");
        progresso_->Refresh();
    }

    void AzzeraProgresso() {
        progresso_->Caption("");
        progresso_->CaptionVisible(false);
        progresso_->Text("");
        progresso_->TextVisible(false);
        progresso_->Max(0);
        progresso_->Min(0);
        progresso_->Value(0);
        progresso_->Visible(false);
        progresso_->Refresh();
    }

    // The form's own selection is walked: CreaArticolo reads the article's row from it.
    bool Articoli() {
        for (selezione_->MoveFirst(); !selezione_->EOF();) {
            entry::Procedure articolo(kProcedura, entry::HandlerTable::B, Errori());
            vecchio_.clear();
            nuovo_.clear();
            articolo.Step([this] { return Codice(); })
                .Step([this] {
                    progresso_->Text(TestoProgresso(vecchio_, progresso_->Value(), progresso_->Max()));
                    progresso_->Refresh();
                })
                .Step([this] { Log(kLogInizio + vecchio_); })
                .Step([this] {
                    if (generation::EsisteArticolo(*connessione_, contesto_.ditta, nuovo_))
                        Log(LogGiaEsistente(nuovo_));
                    else  // its result is not needed: it logs its own failures and rolls back its own work
                        generation::CreaArticolo(form_, vecchio_, nuovo_, "");
                })
                .Step([this] {
                    Log(kLogFine + vecchio_);
                    Log(generation::kSeparatoreLog);
                })
                .Cleanup([this] {
                    progresso_->Value(progresso_->Value() + 1);
                    progresso_->Refresh();
                    selezione_->MoveNext();
                });
            articolo.Run();
            if (articolo.LeftOnError()) return false;
        }
        return true;
    }

    // The article's new code, truncated when the user agrees; false (skipped, nothing logged) when none.
    bool Codice() {
        vecchio_ = Vecchio(*selezione_);
        std::string nuovo = NuovoCodice(comando_.modo, vecchio_, comando_.testo);
        const long massimo = generation::DimensioneArticolo(contesto_);
        if (static_cast<long>(db::Len(nuovo)) > massimo) {
            nuovo = form_.MsgBox(DomandaCodiceLungo(massimo), generation::kStileSiNoAnnulla, "") == entry::kAnswerYes
                        ? db::Left(nuovo, static_cast<std::size_t>(massimo))
                        : std::string();
        }
        nuovo_ = nuovo;
        return !nuovo_.empty();
    }

    void Log(const std::string& text) { form_.LogElaborazione().ScriviLog(text, generation::LogInformazione); }

    generation::IGenerationForm& form_;
    const ComandoMassivo& comando_;
    generation::ContestoGenerazione contesto_;
    std::shared_ptr<entry::IMessageService> messaggi_;
    db::ConnectionPtr connessione_;
    db::RecordsetPtr selezione_;
    std::shared_ptr<entry::IProgressBar> progresso_;
    bool logAperto_ = false;
    std::string vecchio_, nuovo_;
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

void CMD_DUPLMASS_Click(generation::IGenerationForm& form, const ComandoMassivo& comando) {
    Duplicazione(form, comando).Esegui();
}

std::vector<AnteprimaArticolo> AnteprimaDuplicazione(generation::IGenerationForm& form, const ComandoMassivo& comando) {
    std::vector<AnteprimaArticolo> anteprima;
    auto selezione = form.RstSelezioneMassiva();
    if (!selezione || selezione->State() != db::adStateOpen || selezione->RecordCount() == 0) return anteprima;
    const auto contesto = generation::ContestoDelForm(form);
    const long massimo = generation::DimensioneArticolo(contesto);
    // A clone: the preview moves neither the form's row nor its filter.
    auto clone = selezione->Clone();
    clone->Filter(db::Variant(kFiltroSelezionati));
    if (clone->RecordCount() == 0) return anteprima;
    for (clone->MoveFirst(); !clone->EOF(); clone->MoveNext()) {
        AnteprimaArticolo a;
        a.vecchio = Vecchio(*clone);
        a.nuovo = NuovoCodice(comando.modo, a.vecchio, comando.testo);
        a.massimo = massimo;
        a.troppoLungo = static_cast<long>(db::Len(a.nuovo)) > massimo;
        a.esiste = !a.nuovo.empty() && generation::EsisteArticolo(*contesto.connessione, contesto.ditta, a.nuovo);
        anteprima.push_back(a);
    }
    return anteprima;
}

}  // namespace mass_duplication
