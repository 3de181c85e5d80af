#include "generation/GenerationRun.h"

#include "db/Constants.h"
#include "db/Quote.h"
#include "entry/ErrorHandler.h"
#include "entry/MDLFA_AGGANCI.h"
#include "generation/ArticleExists.h"
#include "generation/CreaArticolo.h"
#include "generation/DimensioneArticolo.h"
#include "generation/HostObject.h"
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

// One run of the button: the rows walked on a clone of the form's link rows.
class Generazione {
public:
    explicit Generazione(IGenerationForm& form)
        : form_(form), contesto_(ContestoDelForm(form)), messaggi_(contesto_.messaggi), connessione_(contesto_.connessione) {}

    void Esegui() {
        entry::Procedure(kProcedura, entry::HandlerTable::B, Errori())
            .Step([this] {
                righe_ = form_.RstAggDettaglio();
                return righe_ && righe_->State() == db::adStateOpen && righe_->RecordCount() > 0;
            })
            .Step([this] { return ControllaVarianteColore(); })
            .Step([this] {
                return form_.RstSelezioneVarianti() ||
                       form_.MsgBox(kMsgVariantiNonConfigurate, kStileSiNo, "") != entry::kAnswerNo;
            })
            .Step([this] { PreparaProgresso(); })
            .Step([this] {
                form_.LogElaborazione().ApriLog();
                logAperto_ = true;
            })
            .Step([this] {
                clone_ = righe_->Clone();
                clone_->MoveFirst();
            })
            .Step([this] { return Righe(); })
            .Cleanup([this] {
                if (!logAperto_) return;
                logAperto_ = false;
                form_.LogElaborazione().ChiudiLog();
                Richiesto(form_.CMD_LOG(), "CMD_LOG", kProcedura)->Visible(true);
            })
            .Cleanup([this] {
                if (progresso_) AzzeraProgresso();
            })
            .Cleanup([this] { clone_.reset(); })
            .Run();
    }

private:
    entry::ErrorContext Errori() { return entry::ErrorContext(&messaggi_, &connessione_); }

    bool ControllaVarianteColore() {
        auto interfaccia = Richiesto(form_.ActiveInterface(), "ActiveInterface", kProcedura);
        if (!db::Trim(Richiesto(interfaccia->ClsGlobal(), "ClsGlobal", kProcedura)->VarianteColore()).empty())
            return true;
        form_.MsgBox(kMsgVarianteColore, kStileEsclamativo, kTitoloAttenzione);
        return false;
    }

    void PreparaProgresso() {
        progresso_ = Richiesto(form_.ZEL_PROGRESS1(), "ZEL_PROGRESS1", kProcedura);
        progresso_->Visible(true);
        progresso_->Caption(kCaptionProgresso);
        progresso_->CaptionVisible(true);
        progresso_->TextVisible(true);
        progresso_->Value(0);
        progresso_->Max(righe_->RecordCount());
        progresso_->Text("");
        progresso_->Refresh();
    }

    void AzzeraProgresso() {
        progresso_->Caption("");
        progresso_->CaptionVisible(false);
        progresso_->Text("");
        progresso_->TextVisible(false);
        progresso_->Value(0);
        progresso_->Min(0);
        progresso_->Max(0);
        progresso_->Visible(false);
        progresso_->Refresh();
    }

    // False when a row's error left the run.
    bool Righe() {
        while (!clone_->EOF()) {
            entry::Procedure riga(kProcedura, entry::HandlerTable::B, Errori());
            codice_.clear();
            daRegistrare_ = false;
            riga.Step([this] { return ComponiConDomanda(); })
                .Step([this] {
                    progresso_->Text("Creazione articolo Articolo : " + codice_ + " (" +
                                     std::to_string(progresso_->Value()) + " di" + std::to_string(progresso_->Max()) +
                                     ")");
                    progresso_->Refresh();
                })
                .Step([this] { Log(kLogInizioTessuto + Tessuto(*clone_)); })
                .Step([this] { ElaboraRiga(); })
                // A step of its own: Retry after a failed recording writes the code again, rather than
                // processing the row anew and finding it already generated in the clone.
                .Step([this] {
                    if (daRegistrare_) Registra();
                })
                .Step([this] {
                    Log(kLogFineTessuto + Tessuto(*clone_));
                    Log(kSeparatoreLog);
                })
                .Cleanup([this] {
                    progresso_->Value(progresso_->Value() + 1);
                    progresso_->Refresh();
                    clone_->MoveNext();
                });
            riga.Run();
            if (riga.LeftOnError()) return false;
        }
        return true;
    }

    // The row's code, truncated when the user agrees; false (the row is skipped) when there is none.
    bool ComponiConDomanda() {
        std::string codice = ComponiCodice(form_, (*clone_)["FA64_CODTESS_FA12"].Value());
        const long massimo = DimensioneArticolo(contesto_);
        if (static_cast<long>(db::Len(codice)) > massimo) {
            codice = form_.MsgBox(DomandaCodiceLungo(massimo), kStileSiNoAnnulla, "") == entry::kAnswerYes
                         ? db::Left(codice, static_cast<std::size_t>(massimo))
                         : std::string();
        }
        codice_ = codice;
        return !codice_.empty();
    }

    void ElaboraRiga() {
        const bool generata = !Generato(*clone_).empty();
        const bool rigenera = form_.ZEL_CHKRIGENERA() == 1;
        if (generata && !rigenera) return;
        const RigaAggancio riga = LeggiRiga(*clone_);
        const std::string modello = db::Trim(form_.TXT_MODORIGINE());
        const std::string tessuto = Tessuto(*clone_);
        auto crea = [&] { return CreaArticolo(form_, modello, codice_, tessuto, &riga); };
        if (!rigenera) {
            daRegistrare_ = crea();
            return;
        }
        // The previous article goes only together with the creation of its replacement: a creation that
        // fails (or a code that cannot be recorded) leaves it, and the row keeps pointing to it.
        RigeneraArticolo(contesto_, codice_, [&] {
            if (!crea()) return false;
            Registra();
            return true;
        });
    }

    void Registra() {
        (*clone_)["FA64_ARTAGGANCIO_MG66"].Value(db::Variant(codice_));
        clone_->UpdateBatch(db::adAffectAll);
    }

    void Log(const std::string& text) { form_.LogElaborazione().ScriviLog(text, LogInformazione); }

    IGenerationForm& form_;
    ContestoGenerazione contesto_;
    std::shared_ptr<entry::IMessageService> messaggi_;
    db::ConnectionPtr connessione_;
    db::RecordsetPtr righe_;
    db::RecordsetPtr clone_;
    std::shared_ptr<entry::IProgressBar> progresso_;
    bool logAperto_ = false;
    std::string codice_;
    bool daRegistrare_ = false;  // the row's article was created: its code is to be recorded on the row
};

}  // namespace

std::string DomandaCodiceLungo(long massimo) {
    const std::string n = std::to_string(massimo);
    return "Il codice articolo composto da Prefisso + Codice + Cod.Tess. Aggancio è piu lungo di " + n +
           " caratteri. " + kCrLf + "Se non verrà indicato un codice alternativo piu corto il codice da generare " +
           "verrà troncato al  " + n + " carattere  " + kCrLf + "Si desidera troncare il codice?";
}

std::string ComponiCodice(const IGenerationForm& form, const db::Variant& tessuto) {
    const std::string modello =
        form.CHK_CODALT() == 1 ? db::Trim(form.TXT_CODICEALTERNATIVO()) : db::Trim(form.TXT_MODORIGINE());
    return db::Trim(form.TXT_PREFISSO()) + modello + db::Trim(tessuto.Text());
}

void CMD_DUPLICA_ButtonClick(IGenerationForm& form) { Generazione(form).Esegui(); }

std::vector<AnteprimaRiga> AnteprimaGenerazione(const IGenerationForm& form) {
    std::vector<AnteprimaRiga> result;
    auto righe = form.RstAggDettaglio();
    if (!righe || righe->State() != db::adStateOpen || righe->RecordCount() == 0) return result;
    const ContestoGenerazione contesto = ContestoDelForm(form);
    auto& c = *Richiesto(contesto.connessione, "Connessione", "AnteprimaGenerazione");
    auto clone = righe->Clone();
    for (clone->MoveFirst(); !clone->EOF(); clone->MoveNext()) {
        AnteprimaRiga r;
        r.tessuto = Tessuto(*clone);
        r.codice = ComponiCodice(form, (*clone)["FA64_CODTESS_FA12"].Value());
        r.generato = Generato(*clone);
        r.massimo = DimensioneArticolo(contesto);
        r.troppoLungo = static_cast<long>(db::Len(r.codice)) > r.massimo;
        r.esiste = !r.codice.empty() && EsisteArticolo(c, contesto.ditta, r.codice);
        result.push_back(std::move(r));
    }
    return result;
}

}  // namespace generation
