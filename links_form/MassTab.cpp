// The mass-duplication tab of the links form: its controls inside FRM_SELDUPL and FRM_PARDUPL, the
// two-step wizard and the run. The steps themselves live in mass_duplication; this file wires them to
// the form's connection, program interface, variant selection and processing log.
#include <memory>

#include "db/Constants.h"
#include "entry/ErrorHandler.h"
#include "entry/LookupServices.h"
#include "generation/LogViewer.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/FormRunPort.h"
#include "links_form/MassTab.h"
#include "links_form/Messaggi.h"
#include "mass_duplication/DuplicazioneMassiva.h"
#include "mass_duplication/InitAdvQuery.h"
#include "mass_duplication/ProceduraGuidata.h"
#include "variants_form/ApriVarianti.h"

namespace links_form {
namespace {

class SchedaMassiva : public IMassTab {
public:
    explicit SchedaMassiva(FRMFA_AGGANCI& form) : form_(form) {
        const auto& ui = form.Ui();
        auto sel = ui.FRM_SELDUPL;
        auto par = ui.FRM_PARDUPL;
        c_.FRM_SELDUPL = sel;
        c_.FRM_PARDUPL = par;
        c_.TXT_PREFISSODART = ui.TXT_PREFISSODART;
        c_.ADVQ_ARTICOLI = form.NuovoControllo<entry::IAdvancedQuery>("ADVQ_ARTICOLI", sel);
        c_.CMD_AVANTI = Pulsante("CMD_AVANTI", sel, "Avanti >");
        c_.QGRD_DUPLMASS = form.NuovoControllo<entry::IGrid>("QGRD_DUPLMASS", par);
        c_.CBO_PREFISSO = form.NuovoControllo<entry::IComboBox>("CBO_PREFISSO", par);
        c_.TXT_DESCRD = form.NuovoControllo<entry::ITextBox>("TXT_DESCRD", par);
        c_.TXT_DESCRESTD = form.NuovoControllo<entry::ITextBox>("TXT_DESCRESTD", par);
        LimitaAllaColonna(*c_.TXT_DESCRD, "MG87_DESCART");
        LimitaAllaColonna(*c_.TXT_DESCRESTD, "MG87_DESCARTEST");
        c_.TXT_STAGIONED = form.NuovoControllo<entry::ILookupTextBox>("TXT_STAGIONED", par);
        c_.TXT_LINEAD = form.NuovoControllo<entry::ILookupTextBox>("TXT_LINEAD", par);
        c_.TXT_MARCHIOD = form.NuovoControllo<entry::ILookupTextBox>("TXT_MARCHIOD", par);
        c_.TXT_TIPOLOGIAD = form.NuovoControllo<entry::ILookupTextBox>("TXT_TIPOLOGIAD", par);
        c_.TXT_DESCSTAGIONED = Descrizione("TXT_DESCSTAGIONED", par);
        c_.TXT_DESCLINEAD = Descrizione("TXT_DESCLINEAD", par);
        c_.TXT_DESCMARCHIOD = Descrizione("TXT_DESCMARCHIOD", par);
        c_.TXT_DESCTIPOLOGD = Descrizione("TXT_DESCTIPOLOGD", par);
        c_.CMD_GESTVARD = Pulsante("CMD_GESTVARD", par, "Gestione varianti");
        c_.CMD_DUPLMASS = Pulsante("CMD_DUPLMASS", par, "Duplica");
        c_.CMD_LOGDUPL = Pulsante("CMD_LOGDUPL", par, "Log Elaborazione");
        c_.CMD_INDIETRO = Pulsante("CMD_INDIETRO", par, "< Indietro");
        c_.CMD_LOGDUPL->Visible(false);
        c_.CMD_DUPLMASS->Enabled(false);

        c_.CMD_AVANTI->Click().Connect([this] { Guida().CMD_AVANTI_Click(); });
        c_.CMD_INDIETRO->Click().Connect([this] { Guida().CMD_INDIETRO_Click(); });
        c_.CMD_DUPLMASS->Click().Connect([this] { CMD_DUPLMASS_Click(); });
        c_.CMD_GESTVARD->Click().Connect([this] { CMD_GESTVARD_Click(); });
        c_.CMD_LOGDUPL->Click().Connect([this] { CMD_LOGDUPL_Click(); });

        namespace lookup = entry::lookup;
        form.CollegaRicercaCondivisa(c_.TXT_LINEAD, c_.TXT_DESCLINEAD, lookup::Linea, "TXT_LINEAD_StartLookup",
                                     "TXT_LINEAD_StartDecode");
        form.CollegaRicercaCondivisa(c_.TXT_MARCHIOD, c_.TXT_DESCMARCHIOD, lookup::Marchio, "TXT_MARCHIOD_StartLookup",
                                     "TXT_MARCHIOD_StartDecode");
        // The season boxes of both tabs report under the links tab's names.
        form.CollegaRicercaCondivisa(c_.TXT_STAGIONED, c_.TXT_DESCSTAGIONED, lookup::Stagione,
                                     "TXT_STAGIONE_StartLookup", "TXT_STAGIONE_StartDecode");
        form.CollegaRicercaCondivisa(c_.TXT_TIPOLOGIAD, c_.TXT_DESCTIPOLOGD, lookup::Tipologia,
                                     "TXT_TIPOLOGIAD_StartLookup", "TXT_TIPOLOGIAD_StartDecode",
                                     [this] { return TipoArticoloCorrente(); });
        c_.ADVQ_ARTICOLI->StartLookup().Connect([this](entry::QueryLookupRequest& r) {
            mass_duplication::ADVQ_ARTICOLI_StartLookup(*c_.ADVQ_ARTICOLI, r, form_.ClsLookupMagazzino(), Contesto());
        });
    }

    void InitAdvQuery() override {
        mass_duplication::ImpostazioniQuery imp;
        imp.ditta = form_.Gstr_DittaCorrente();
        imp.nomeEseguibile = "agganci";
        if (auto program = form_.ActiveInterface()) {
            imp.finestraModale = program->WindowModal();
            if (auto global = program->ClsGlobal()) imp.fashionAttivo = global->FashionAttivo();
        }
        if (auto programObject = form_.ActiveClass()) imp.articoloOrigine = programObject->Articolo_Origine().Text();
        mass_duplication::InitAdvQuery(*c_.ADVQ_ARTICOLI, imp, Contesto());
    }
    bool InitFrameDuplMass() override { return Guida().InitFrameDuplMass(); }
    // The query control stays attached (with the user's filters): it is set up only at the form's first
    // activation, so detaching it here would leave the tab without a query when it is shown again.
    bool ScaricaFrameDuplMass() override { return Guida().ScaricaFrameParDupl(); }

    db::RecordsetPtr RstSelezioneMassiva() const override {
        return guida_ ? guida_->RstSelezioneMassiva() : nullptr;
    }
    std::string TXT_DESCRD() const override { return c_.TXT_DESCRD->Text(); }
    mass_duplication::MassRequest RunRequest() const override {
        mass_duplication::MassRequest r;
        r.selection = RstSelezioneMassiva();
        r.text = c_.TXT_PREFISSODART->Text();
        r.mode = c_.CBO_PREFISSO->Text();
        r.description = c_.TXT_DESCRD->Text();
        r.parameters = ParametriDuplicazione();
        r.variantSelection = form_.RstSelezioneVarianti();
        return r;
    }
    generation::ParametriMassivi ParametriDuplicazione() const override {
        return guida_ ? guida_->ParametriDuplicazione() : generation::ParametriMassivi{};
    }

    // The form closes: the wizard holds the program interface, which holds the form; the descriptions' row
    // holds the connection.
    void Rilascia() override {
        guida_.reset();
        descrizioni_.reset();
    }

    const mass_duplication::ControlliMassivi& Controlli() const { return c_; }

private:
    std::shared_ptr<entry::IButton> Pulsante(const char* nome, const std::shared_ptr<entry::IFrame>& frame,
                                             const char* caption) {
        auto b = form_.NuovoControllo<entry::IButton>(nome, frame);
        b->Caption(caption);
        return b;
    }

    // The new articles' descriptions hold at most what their columns take, as the links tab's boxes bound to
    // the link row do: the text typed goes into a row of the standard descriptions that is never saved, whose
    // field refuses a longer one. The box then goes back to the last text that fitted.
    void LimitaAllaColonna(entry::ITextBox& box, const char* colonna) {
        box.Change().Connect([this, &box, colonna] {
            // An empty text fits; the tab's tear-down empties the boxes while the form closes.
            if (box.Text().empty() && !descrizioni_) return;
            auto campo = (*RigaDescrizioni())[colonna];
            try {
                campo.Value(db::Variant(box.Text()));
            } catch (const db::Error&) {
                box.Text(campo.Value().Text());
                throw;
            }
        });
    }

    db::RecordsetPtr RigaDescrizioni() {
        if (!descrizioni_) {
            auto riga = db::Recordset::Create();
            riga->CursorLocation(db::adUseClient);
            riga->Open("SELECT MG87_DESCART, MG87_DESCARTEST FROM MG87_ARTDESC WHERE 0 = 1", form_.Gcon_Connect(),
                       db::adOpenStatic, db::adLockBatchOptimistic);
            riga->AddNew();
            descrizioni_ = riga;
        }
        return descrizioni_;
    }

    std::shared_ptr<entry::ITextBox> Descrizione(const char* nome, const std::shared_ptr<entry::IFrame>& frame) {
        auto t = form_.NuovoControllo<entry::ITextBox>(nome, frame);
        t->Enabled(false);
        return t;
    }

    // The typology list of the mass tab: the typologies of the product kind of the article the user is on, the
    // grid's current row. Not the selection's own row: a run walks the selection to its end and filters it.
    std::vector<db::Variant> TipoArticoloCorrente() const {
        const auto righe = c_.QGRD_DUPLMASS ? c_.QGRD_DUPLMASS->Recordset() : nullptr;
        if (!righe || righe->BOF() || righe->EOF()) return {db::Variant(std::string())};
        return {(*righe)["FA12_TIPO_FA03"].Value()};
    }

    generation::GenerationContext Contesto() const { return form_.Contesto(); }

    // The articles the run will duplicate: the ticked ones, which the run counts to choose single-article
    // mode. A clone, so that the grid keeps its row and shows every article.
    db::RecordsetPtr ArticoliSpuntati() const {
        const auto selezione = RstSelezioneMassiva();
        if (!selezione || selezione->State() != db::adStateOpen) return selezione;
        auto spuntati = selezione->Clone();
        spuntati->Filter(db::Variant(mass_duplication::kFiltroSelezionati));
        return spuntati;
    }

    // Made at first use: the form's connection exists only once the form is loaded.
    mass_duplication::ProceduraGuidata& Guida() {
        if (!guida_) {
            long entita = 0;
            if (auto program = form_.ActiveInterface())
                if (auto global = program->ClsGlobal()) entita = global->EntitaAttributi();
            guida_ = std::make_unique<mass_duplication::ProceduraGuidata>(
                c_, Contesto(), entita, [this] { form_.RstSelezioneVarianti(nullptr); });
        }
        return *guida_;
    }

    void CMD_DUPLMASS_Click() {
        if (!CodiciNoti()) return;
        FormRunPort port(form_, "CMD_DUPLMASS_Click", c_.CMD_LOGDUPL, "CMD_LOGDUPL");
        form_.LastRunOutcome(mass_duplication::RunMassDuplication(form_.Contesto(), port, RunRequest()));
        if (auto g = c_.QGRD_DUPLMASS) g->Refresh();
    }

    // The new articles' season, line, brand and typology, refused before anything is written when the
    // database does not know them, as the links tab refuses them on a link row.
    bool CodiciNoti() override {
        namespace lookup = entry::lookup;
        return form_.ValidaCodici({{c_.TXT_STAGIONED, lookup::Stagione, etichette::Stagione, {}},
                                   {c_.TXT_LINEAD, lookup::Linea, etichette::Linea, {}},
                                   {c_.TXT_MARCHIOD, lookup::Marchio, etichette::Marchio, {}},
                                   {c_.TXT_TIPOLOGIAD, lookup::Tipologia, etichette::Tipologia,
                                    [this] { return TipoArticoloCorrente(); }}});
    }

    void CMD_GESTVARD_Click() {
        variants_form::AperturaVarianti apertura;
        apertura.finestra = form_.shared_from_this();
        apertura.ActiveInterface = form_.ActiveInterface();
        apertura.Gcon_Connect = form_.Gcon_Connect();
        apertura.Gcls_Log = form_.Gcls_Log();
        apertura.Varianti = form_.RstSelezioneVarianti();
        apertura.tabVisible = entry::Util_Duplmassiva;
        variants_form::ArticoloDaSelezione(ArticoliSpuntati(), apertura);
        form_.RstSelezioneVarianti(variants_form::ApriVarianti(apertura));
    }

    void CMD_LOGDUPL_Click() {
        auto messaggi = form_.Gcls_Log();
        if (messaggi) generation::MostraLogElaborazione(form_.LogElaborazione(), *messaggi);
    }

    FRMFA_AGGANCI& form_;
    mass_duplication::ControlliMassivi c_;
    std::unique_ptr<mass_duplication::ProceduraGuidata> guida_;
    db::RecordsetPtr descrizioni_;  // the row the descriptions are checked on, made at first use
};

}  // namespace

std::unique_ptr<IMassTab> NewMassTab(FRMFA_AGGANCI& form) { return std::make_unique<SchedaMassiva>(form); }

}  // namespace links_form
