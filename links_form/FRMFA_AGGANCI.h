#pragma once
// FRMFA_AGGANCI, the component's main window. The program object creates it, hands it the program
// interface and itself, and shows it. The form opens its own connection, sets up the lookup and decode
// services, and shows one of two tabs chosen from the side bar: the links of a model article (a link
// header and its link rows, edited through two data-bound frames) or the mass duplication. It starts
// the generation run of the links tab, keeps its layout through the shell's resize control, and tears
// everything down in a fixed order when it closes.
//
// The form's work is spread over one file per concern: Design (controls and wiring), Lifecycle, Tabs,
// Layout, LinkFrames (setting up and releasing the links frames), LinkRecords (their events), Validation,
// FieldRules, Lookups and Generation.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "db/Variant.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/ErrorHandler.h"
#include "entry/ILinksForm.h"
#include "entry/LookupServices.h"
#include "entry/NavigatorModels.h"
#include "entry/Trace.h"
#include "generation/GenerationContext.h"
#include "generation/GenerationRun.h"
#include "generation/RunOutcome.h"
#include "generation/ProcessingLog.h"
#include "links_form/Controlli.h"
#include "links_form/MassTab.h"

namespace links_form {

// Side-bar group and items.
inline constexpr const char* kGruppoSideBar = "GRP01";
inline constexpr const char* kVoceAgganci = "ITM0101";
inline constexpr const char* kVoceDuplMassiva = "ITM0102";

class FRMFA_AGGANCI : public entry::ILinksForm {
public:
    static constexpr const char* kClassName = "FRMFA_AGGANCI";

    // Form_Initialize: the creation trace line, then the controls as the form was designed.
    FRMFA_AGGANCI();
    // Form_Terminate: the end trace line.
    ~FRMFA_AGGANCI() override;

    // --- What the runs and the command line read of the form ---
    std::shared_ptr<entry::Cinterface> ActiveInterface() const { return ILinksForm::ActiveInterface; }
    std::shared_ptr<entry::CLSFA_AGGANCI> ActiveClass() const { return ILinksForm::ActiveClass; }
    db::ConnectionPtr Gcon_Connect() const { return gconConnect_; }
    std::string Gstr_Connect() const { return gstrConnect_; }
    std::string Gstr_DittaCorrente() const { return gstrDittaCorrente_; }
    std::shared_ptr<entry::IMessageService> Gcls_Log() const { return ILinksForm::Gcls_Log; }
    entry::Util_TabNavigator tabVisible() const { return tabVisible_; }
    generation::ProcessingLog& LogElaborazione();
    db::RecordsetPtr RstAggDettaglio() const { return rstDettaglio_; }
    std::string TXT_PREFISSO() const { return ui_.TXT_PREFISSO->Text(); }
    std::string TXT_MODORIGINE() const { return ui_.TXT_MODORIGINE->Text(); }
    std::int16_t CHK_CODALT() const { return ui_.CHK_CODALT->Value(); }
    std::string TXT_CODICEALTERNATIVO() const { return ui_.TXT_CODICEALTERNATIVO->Text(); }
    std::int16_t ZEL_CHKRIGENERA() const { return ui_.ZEL_CHKRIGENERA->Value(); }
    std::string TXT_DESCARTDAGENERARE() const { return ui_.TXT_DESCARTDAGENERARE->Text(); }
    std::string TXT_DESCARTESTDAGENERARE() const { return ui_.TXT_DESCARTESTDAGENERARE->Text(); }
    std::string TXT_TESSPRINC() const { return ui_.TXT_TESSPRINC->Text(); }
    std::string TXT_SEQUENZA() const { return ui_.TXT_SEQUENZA->Text(); }
    std::string TXT_DESCRD() const { return massTab_->TXT_DESCRD(); }
    generation::ParametriMassivi ParametriDuplicazione() const { return massTab_->ParametriDuplicazione(); }
    db::RecordsetPtr RstSelezioneMassiva() const { return massTab_->RstSelezioneMassiva(); }
    db::RecordsetPtr RstSelezioneVarianti() const { return rstVarianti_; }
    std::shared_ptr<entry::IProgressBar> ZEL_PROGRESS1() const { return ui_.ZEL_PROGRESS1; }
    std::shared_ptr<entry::IButton> CMD_LOG() const { return ui_.CMD_LOG; }
    long MsgBox(const std::string& text, long style, const std::string& title);
    void MousePointer(long pointer) { mousePointer_ = pointer; }
    void TestoStato(const std::string& text);

    // The connection, company, program interface, message service and program object of the form.
    generation::GenerationContext Contesto() const;
    // What the links tab holds for a generation run.
    generation::GenerationRequest LinksRunRequest() const;
    // What the last run of either tab did, row by row.
    const generation::RunOutcome& LastRunOutcome() const { return lastRunOutcome_; }
    void LastRunOutcome(generation::RunOutcome outcome) { lastRunOutcome_ = std::move(outcome); }

    // --- Form state the other parts of the component read and write ---
    std::shared_ptr<entry::IConnectionProvider> Gcls_Connect() const { return gclsConnect_; }
    long MousePointer() const { return mousePointer_; }
    // The link header of the model shown (FA63_AGGANCI); null while no model is loaded.
    db::RecordsetPtr RstAggTestata() const { return rstTestata_; }
    // The variant form leaves the user's variant list here; null discards it.
    void RstSelezioneVarianti(const db::RecordsetPtr& varianti) { rstVarianti_ = varianti; }
    const Controlli& Ui() const { return ui_; }
    IMassTab& SchedaMassiva() { return *massTab_; }
    std::shared_ptr<entry::ILookupService> ClsLookupMagazzino() const { return clsLookupMagazzino_; }
    // A control for a part of the form (the mass tab adds its own), placed in `container` when given.
    template <class I>
    std::shared_ptr<I> NuovoControllo(const std::string& name, const std::shared_ptr<entry::IFrame>& container = nullptr) {
        auto control = NewControl<I>(name);
        if (container) control->Container(container);
        return control;
    }

    // --- Routines of the form ---
    // Places the tab's frame and sets the tab up; False when the set-up refused (the tab is not shown).
    bool InizializzaFrame(const std::shared_ptr<entry::IFrame>& frame);
    // Hides the tab's frame and releases what it holds; False when the tab refused to go.
    bool ScaricaFrame(const std::shared_ptr<entry::IFrame>& frame);
    void MostraTab(entry::Util_TabNavigator tab);
    // Tells the script layer that the form opened ("kvOpen") or closes ("kvClose"); returns Empty.
    db::Variant ExecuteFormEvent(const std::string& evento);
    void RegistraLayout();
    // The season identifier of a season code; 0 when the company has no such season.
    std::int16_t Get_MG5T_IDSTAGIONE(const std::string& codice);
    // Releases the links frames; without `forza` the user may keep them (False).
    bool DistruggiVFAgganci(bool forza);
    // Gives a lookup box the shared lookup and decode of a kind (line, brand, season, typology), their
    // errors reported under `ricerca` and `decodifica`; the decode shows the description in
    // `descrizione`. `parametri`, when given, supplies the list's parameters (the typology's product
    // kind) in place of the links tab's own.
    using ParametriRicerca = std::function<std::vector<db::Variant>()>;
    void CollegaRicercaCondivisa(const std::shared_ptr<entry::ILookupTextBox>& box,
                                 const std::shared_ptr<entry::ITextBox>& descrizione, const char* tipo,
                                 const char* ricerca, const char* decodifica, ParametriRicerca parametri = {});
    // A code typed into a shared lookup box (season, line, brand, typology) and the label that names it.
    struct CodiceCondiviso {
        std::shared_ptr<entry::ILookupTextBox> box;
        const char* tipo;
        const char* etichetta;
        ParametriRicerca parametri;  // as given to CollegaRicercaCondivisa; empty: the links tab's own
    };
    // True when every code is empty or known to the database. Otherwise the user is told which field holds
    // a value the database does not know, the focus goes there, and False.
    bool ValidaCodici(const std::vector<CodiceCondiviso>& codici);

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_QueryUnload(bool& cancel, int unloadMode) override;
    void Form_Unload(bool& cancel) override;
    void Form_KeyDown(int& keyCode, int shift) override;

private:
    // --- Design.cpp ---
    void CreaControlli();
    // A procedure whose errors are reported with the form's message service and connection.
    entry::Procedure Procedura(std::string nome, entry::HandlerTable tabella);
    std::shared_ptr<entry::IFormNavigator> Navigatore() const;
    bool ModaleForm() const;

    // --- Lifecycle.cpp ---
    void InitClsLookupMagazzino();
    void DestroyClsLookupMagazzino();
    void InitClsDecodeMagazzino();
    void DestroyClsDecodeMagazzino();
    void InitClsLookupFashion();
    void DestroyClsLookupFashion();
    void InitClsDecodeFashion();
    void DestroyClsDecodeFashion();
    void ChiudiRecordsetERisorse();

    // --- Tabs.cpp ---
    void CollegaEventiSchede();
    void SIDEBAR_MAIN_BeforeItemClick(const std::string& key, bool& cancel);
    void SIDEBAR_MAIN_ItemClick(const std::string& key);
    bool InizializzaFrameAgganci();
    bool ScaricaFrameAgganci();
    void MostraSottoFrame(const std::string& nome);
    void CMD_NUOVO_Click();

    // --- Layout.cpp ---
    void CollegaEventiLayout();
    void ZEL_RESIZEFORM_Layout();
    void MainResize();

    // --- LinkFrames.cpp ---
    void CollegaEventiModello();
    void CaricaModello();
    bool ImpostaVFAgganci(const std::string& sqlTestata, const std::string& sqlRighe);
    bool EseguiQuery();
    bool EseguiQueryLibri();
    bool ShowChild();
    bool RefreshChild();
    bool ClearChild();
    bool InitQGRID_AGGANCI();
    void LegaRighe(const db::RecordsetPtr& righe);
    // The row frame holds something to write: edits, new rows or deletions.
    bool RigheModificate();
    // The row frame is on a new row nobody has typed into.
    bool RigaNuovaVuota();
    db::RecordsetPtr ApriRecordset(const std::string& sql);
    std::string GuidTestata();
    // A new row the user has not typed anything into is dropped rather than saved or asked about.
    void ScartaRigaNuovaVuota();
    // The header frame is on a new header nobody has typed into.
    bool NewHeaderBlank();
    // The header or the rows hold something to write.
    bool LinksPending();
    // True when the links frames may go: nothing pending, or the user answered the question whether to
    // save with yes (saved) or no (dropped). False when the user keeps them or the save failed: they stay.
    bool LinksMayBeReleased();
    void SvuotaCampiAgganci();

    // --- LinkRecords.cpp ---
    void CollegaEventiAgganci();
    void FME_AGGANCI_ChangeStatus(std::int16_t stato, long motivo);
    void FME_AGGANCIDET_ChangeStatus(std::int16_t stato, long motivo);
    void FME_AGGANCI_IsRecordChanged(bool& changed);
    void FME_AGGANCIDET_IsRecordChanged(bool& changed);
    void FME_AGGANCI_BeforeUpdate(bool& cancel);
    void FME_AGGANCI_AfterUpdate(bool success);
    void FME_AGGANCI_AfterUndo(bool success);
    void FME_AGGANCIDET_BeforeUpdate(bool& cancel);
    void FME_AGGANCIDET_UpdateBatchAll();
    void FME_AGGANCI_BeforeDelete(bool& cancel);
    void FME_AGGANCIDET_BeforeDelete(bool& cancel);
    // The article of a link row that is being deleted: removed when the row's run created it (`rimosso` set),
    // left with a word to the user when the row only recorded it. False when it could not be removed.
    bool EliminaArticoloDellaRiga(db::Recordset& riga, bool& rimosso);
    void INTERNAV_AGGANCI_ButtonClick(const std::string& button, bool& cancel);
    void GRIDNAV_AGGANCI_ButtonClick(const std::string& button, bool& cancel);
    // The deletion of the frame's current record and what goes with it, as one unit.
    void EliminaInTransazione(const std::shared_ptr<entry::IDataFrame>& frame, bool scriviRighe);
    // The deletion confirmed, as one transaction.
    void EliminaEScrivi(const std::shared_ptr<entry::IDataFrame>& frame, bool scriviRighe);
    // Writes the deletion of the row that the cursor `riga` stands on, and nothing else pending.
    void ScriviEliminazione(db::Recordset& riga);
    void CHK_CODALT_Click();
    void QGRD_AGGANCI_FetchCell(db::Recordset& record, const std::string& field, db::Variant& value);
    // The current row's season code and the descriptions of its codes.
    void MostraStagioneRiga();
    std::string NuovaChiave();
    // The generate button is available only while nothing waits to be saved.
    void AggiornaPulsanteGenera();

    // --- Validation.cpp ---
    bool ValidaTestata();
    bool ValidaRiga();
    bool Rifiuta(const std::shared_ptr<entry::IControl>& campo, const std::string& messaggio);
    bool Decodifica(const entry::DecodeRequest& richiesta);
    // True when the statement finds a row.
    bool Decodifica(const std::string& sql);

    // --- FieldRules.cpp ---
    void CollegaEventiCampi();
    void TXT_PREFISSO_AfterItem();
    void TXT_PREFISSODART_AfterItem();
    void TXT_TESSPRINC_BeforeItem();
    void TXT_TESSPRINC_AfterItem();
    void TXT_TESSPRINC_ItemSelected(const std::vector<db::Variant>& riga);
    void TXT_STAGIONE_AfterItem();

    // --- Lookups.cpp ---
    void CollegaEventiRicerche();
    static std::vector<db::Variant> ParametriTabLegami(const std::string& tipo);
    entry::DecodeRequest RichiestaModello();
    entry::DecodeRequest RichiestaTessutoAggancio();
    entry::DecodeRequest RichiestaTessutoPrincipale();
    entry::DecodeRequest RichiestaSequenza();
    entry::DecodeRequest RichiestaCondivisa(const std::string& tipo, entry::ILookupTextBox& box,
                                            const std::shared_ptr<entry::IControl>& descrizione,
                                            const std::vector<db::Variant>& parametri);
    void TXT_TESSPRINC_StartLookup(entry::LookupRequest& richiesta);
    void TXT_PREFISSO_StartLookup(entry::LookupRequest& richiesta);

    // --- Generation.cpp ---
    void CollegaEventiGenerazione();
    void CMD_DUPLICA_ButtonClick();
    void CMD_LOG_Click();
    // The variant form on the model's variants; the list it leaves is the links tab's variant selection.
    void CMD_VARIANTI_Click();

    entry::TraceId traceId_;
    Controlli ui_;
    std::unique_ptr<IMassTab> massTab_;

    // Form-level state.
    db::ConnectionPtr gconConnect_;
    std::shared_ptr<entry::IConnectionProvider> gclsConnect_;
    std::string gstrConnect_;
    std::string gstrDittaCorrente_;
    entry::Util_TabNavigator tabVisible_ = entry::Util_Agganci;
    bool caricamento_ = false;  // Form_Load is running
    bool attivato_ = false;     // the first activation has run
    std::string voceCorrente_ = kVoceAgganci;
    std::shared_ptr<entry::IFormLayoutModel> layout_;
    long mousePointer_ = generation::vbDefault;

    // Host services.
    std::shared_ptr<entry::ILookupService> clsLookupMagazzino_;
    std::shared_ptr<entry::IDecodeService> clsDecodeMagazzino_;
    std::shared_ptr<entry::ILookupService> clsLookupFashion_;
    std::shared_ptr<entry::IDecodeService> clsDecodeFashion_;

    // Link records.
    db::RecordsetPtr rstTestata_;    // FA63_AGGANCI of the model
    db::RecordsetPtr rstDettaglio_;  // FA64_AGGANCIDET of its header
    std::string modelloCaricato_;    // the model whose links the frames hold
    bool modelloCambiato_ = false;   // the model box changed since the links were last loaded
    bool articoloRimosso_ = false;   // a deletion removed a generated article
    // Notices of a deletion, shown once its transaction is over: nobody waits on the database while they are read.
    std::vector<std::string> avvisiEliminazione_;
    // Rows deleted but not yet written: the shell's frame does not count them as changes, the form does.
    bool eliminazioniInAttesa_ = false;

    // Field rules.
    std::string ultimoTessutoPrincipale_;

    // The variant list of the variant form; null until the user configures variants.
    db::RecordsetPtr rstVarianti_;
    std::unique_ptr<generation::ProcessingLog> log_;
    generation::RunOutcome lastRunOutcome_;
};

}  // namespace links_form
