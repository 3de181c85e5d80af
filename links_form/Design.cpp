// The form as designed: its controls, where each sits, the captions and the bindings, and the wiring of
// every event to its handler (each concern connects its own).
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/Messaggi.h"

namespace links_form {

FRMFA_AGGANCI::FRMFA_AGGANCI() : ILinksForm(kClassName) {
    entry::WriteTraceLine(traceId_, entry::TracePhase::Ini, kClassName);
    CreaControlli();
    massTab_ = NewMassTab(*this);
    CollegaEventiSchede();
    CollegaEventiLayout();
    CollegaEventiModello();
    CollegaEventiAgganci();
    CollegaEventiCampi();
    CollegaEventiRicerche();
    CollegaEventiGenerazione();
}

FRMFA_AGGANCI::~FRMFA_AGGANCI() { entry::WriteTraceLine(traceId_, entry::TracePhase::Ter, kClassName); }

namespace {

template <class C>
std::shared_ptr<C> Con(std::shared_ptr<C> control, const std::string& caption) {
    control->Caption(caption);
    return control;
}

}  // namespace

void FRMFA_AGGANCI::CreaControlli() {
    Controlli& c = ui_;
    Caption(kCaptionForm);

    c.SIDEBAR_MAIN = NuovoControllo<entry::ISideBar>("SIDEBAR_MAIN");
    c.SIDEBAR_MAIN->AddGroup(kGruppoSideBar, kNomeLayout);
    c.SIDEBAR_MAIN->AddItem(kGruppoSideBar, kVoceAgganci, kNomeLayout);
    c.SIDEBAR_MAIN->AddItem(kGruppoSideBar, kVoceDuplMassiva, "Duplicazione massiva");

    // The tab frames are shown by their set-up.
    c.FRM_MODORIGINE = NuovoControllo<entry::IFrame>("FRM_MODORIGINE");
    c.FRM_MODORIGINE->Visible(false);
    c.FRM_DUPLMASS = NuovoControllo<entry::IFrame>("FRM_DUPLMASS");
    c.FRM_DUPLMASS->Visible(false);
    c.FRM_SELDUPL = NuovoControllo<entry::IFrame>("FRM_SELDUPL", c.FRM_DUPLMASS);
    c.FRM_PARDUPL = NuovoControllo<entry::IFrame>("FRM_PARDUPL", c.FRM_DUPLMASS);
    c.FRM_PARDUPL->Visible(false);
    c.TXT_PREFISSODART = NuovoControllo<entry::ILookupTextBox>("TXT_PREFISSODART", c.FRM_PARDUPL);
    c.TXT_PREFISSODART->LookupAttivo(false);

    // Model article.
    const auto& tab = c.FRM_MODORIGINE;
    c.LBL_MODORIGINE = Con(NuovoControllo<entry::ILabel>("LBL_MODORIGINE", tab), etichette::Modello);
    c.TXT_MODORIGINE = NuovoControllo<entry::ILookupTextBox>("TXT_MODORIGINE", tab);
    c.TXT_DESCMODORIGINE = NuovoControllo<entry::ITextBox>("TXT_DESCMODORIGINE", tab);
    c.TXT_DESCMODORIGINE->Enabled(false);
    c.CMD_NUOVO = Con(NuovoControllo<entry::IButton>("CMD_NUOVO", tab), "Nuovo");
    c.CMD_LOG = Con(NuovoControllo<entry::IButton>("CMD_LOG", tab), "Log Elaborazione");
    c.CMD_LOG->Visible(false);

    // Link header: enabled once a model is loaded.
    c.FRM_PREFISSO = NuovoControllo<entry::IFrame>("FRM_PREFISSO", tab);
    c.FRM_PREFISSO->Enabled(false);
    const auto& header = c.FRM_PREFISSO;
    c.FME_AGGANCI = NuovoControllo<entry::IDataFrame>("FME_AGGANCI", header);
    c.INTERNAV_AGGANCI = NuovoControllo<entry::IDataNavigator>("INTERNAV_AGGANCI", header);
    c.LBL_PREFISSO = Con(NuovoControllo<entry::ILabel>("LBL_PREFISSO", header), etichette::Prefisso);
    c.TXT_PREFISSO = NuovoControllo<entry::ILookupTextBox>("TXT_PREFISSO", header);
    c.TXT_PREFISSO->DataField("FA63_PREFISSO");
    c.TXT_PREFISSO->UpperCase(true);
    c.LBL_TESSPRINC = Con(NuovoControllo<entry::ILabel>("LBL_TESSPRINC", header), etichette::TessutoPrincipale);
    c.TXT_TESSPRINC = NuovoControllo<entry::ILookupTextBox>("TXT_TESSPRINC", header);
    c.TXT_TESSPRINC->DataField("FA63_TSPRINCIPALE");
    c.LBL_SEQUENZA = Con(NuovoControllo<entry::ILabel>("LBL_SEQUENZA", header), etichette::Sequenza);
    c.TXT_SEQUENZA = NuovoControllo<entry::ILookupTextBox>("TXT_SEQUENZA", header);
    c.TXT_SEQUENZA->DataField("FA63_SEQUENZA");
    c.TXT_SEQUENZA->LookupAttivo(false);  // decoded only: the list is the main fabric's
    c.LBL_CODICEALTERNATIVO =
        Con(NuovoControllo<entry::ILabel>("LBL_CODICEALTERNATIVO", header), etichette::CodiceAlternativo);
    c.TXT_CODICEALTERNATIVO = NuovoControllo<entry::ITextBox>("TXT_CODICEALTERNATIVO", header);
    c.TXT_CODICEALTERNATIVO->DataField("FA63_CODALT");
    c.TXT_CODICEALTERNATIVO->UpperCase(true);
    c.TXT_CODICEALTERNATIVO->Enabled(false);  // until CHK_CODALT is ticked
    c.CHK_CODALT = Con(NuovoControllo<entry::ICheckBox>("CHK_CODALT", header), "Usa codice alternativo");
    c.CHK_CODALT->DataField("FA63_FLGCODALT");

    // Link rows.
    c.FRM_AGGANCI = NuovoControllo<entry::IFrame>("FRM_AGGANCI", header);
    const auto& rows = c.FRM_AGGANCI;
    c.FME_AGGANCIDET = NuovoControllo<entry::IDataFrame>("FME_AGGANCIDET", rows);
    c.QGRD_AGGANCI = NuovoControllo<entry::IGrid>("QGRD_AGGANCI", rows);
    c.GRIDNAV_AGGANCI = NuovoControllo<entry::IDataNavigator>("GRIDNAV_AGGANCI", rows);
    c.LBL_TSAGGANCIO = Con(NuovoControllo<entry::ILabel>("LBL_TSAGGANCIO", rows), etichette::TessutoAggancio);
    c.TXT_TSAGGANCIO = NuovoControllo<entry::ILookupTextBox>("TXT_TSAGGANCIO", rows);
    c.TXT_TSAGGANCIO->DataField("FA64_CODTESS_FA12");
    c.TXT_DESCTESAGGANCIO = NuovoControllo<entry::ITextBox>("TXT_DESCTESAGGANCIO", rows);
    c.TXT_DESCTESAGGANCIO->Enabled(false);
    c.LBL_DESCARTDAGENERARE =
        Con(NuovoControllo<entry::ILabel>("LBL_DESCARTDAGENERARE", rows), etichette::Descrizione);
    c.TXT_DESCARTDAGENERARE = NuovoControllo<entry::ITextBox>("TXT_DESCARTDAGENERARE", rows);
    c.TXT_DESCARTDAGENERARE->DataField("FA64_DESCRIZIONE");
    c.LBL_DESCARTESTDAGENERARE =
        Con(NuovoControllo<entry::ILabel>("LBL_DESCARTESTDAGENERARE", rows), etichette::DescrizioneEstesa);
    c.TXT_DESCARTESTDAGENERARE = NuovoControllo<entry::ITextBox>("TXT_DESCARTESTDAGENERARE", rows);
    c.TXT_DESCARTESTDAGENERARE->DataField("FA64_DESCRESTESA");
    c.LBL_QTA1 = Con(NuovoControllo<entry::ILabel>("LBL_QTA1", rows), etichette::Quantita);
    c.TXT_QTA1 = NuovoControllo<entry::ITextBox>("TXT_QTA1", rows);
    c.TXT_QTA1->DataField("FA64_QTA1DIBA");
    c.LBL_STAGIONE = Con(NuovoControllo<entry::ILabel>("LBL_STAGIONE", rows), etichette::Stagione);
    c.TXT_STAGIONE = NuovoControllo<entry::ILookupTextBox>("TXT_STAGIONE", rows);  // not bound: holds the code
    c.TXT_DESCSTAGIONE = NuovoControllo<entry::ITextBox>("TXT_DESCSTAGIONE", rows);
    c.TXT_DESCSTAGIONE->Enabled(false);
    c.LBL_LINEA = Con(NuovoControllo<entry::ILabel>("LBL_LINEA", rows), etichette::Linea);
    c.TXT_LINEA = NuovoControllo<entry::ILookupTextBox>("TXT_LINEA", rows);
    c.TXT_LINEA->DataField("FA64_LINEA_FA05");
    c.TXT_DESCLINEA = NuovoControllo<entry::ITextBox>("TXT_DESCLINEA", rows);
    c.TXT_DESCLINEA->Enabled(false);
    c.LBL_MARCHIO = Con(NuovoControllo<entry::ILabel>("LBL_MARCHIO", rows), etichette::Marchio);
    c.TXT_MARCHIO = NuovoControllo<entry::ILookupTextBox>("TXT_MARCHIO", rows);
    c.TXT_MARCHIO->DataField("FA64_MARCHIO_FA06");
    c.TXT_DESCMARCHIO = NuovoControllo<entry::ITextBox>("TXT_DESCMARCHIO", rows);
    c.TXT_DESCMARCHIO->Enabled(false);
    c.LBL_TIPOLOGIA = Con(NuovoControllo<entry::ILabel>("LBL_TIPOLOGIA", rows), etichette::Tipologia);
    c.TXT_TIPOLOGIA = NuovoControllo<entry::ILookupTextBox>("TXT_TIPOLOGIA", rows);
    c.TXT_TIPOLOGIA->DataField("FA64_TIPOLOGIA_FA04");
    c.TXT_DESCTIPOLOGIA = NuovoControllo<entry::ITextBox>("TXT_DESCTIPOLOGIA", rows);
    c.TXT_DESCTIPOLOGIA->Enabled(false);

    // Generation.
    c.CMD_DUPLICA = Con(NuovoControllo<entry::IButton>("CMD_DUPLICA", tab), "&Genera");
    c.CMD_DUPLICA->Enabled(false);  // nothing to generate until a model's links are loaded
    c.CMD_VARIANTI = Con(NuovoControllo<entry::IButton>("CMD_VARIANTI", tab), "Varianti");
    c.CMD_VARIANTI->Enabled(false);  // the variants of the model: none until a model's links are loaded
    c.LBL_DUPLICA = Con(NuovoControllo<entry::ILabel>("LBL_DUPLICA", tab), "Genera gli articoli degli agganci");
    c.ZEL_CHKRIGENERA = Con(NuovoControllo<entry::ICheckBox>("ZEL_CHKRIGENERA", tab), "Rigenera agganci esistenti");
    c.ZEL_PROGRESS1 = NuovoControllo<entry::IProgressBar>("ZEL_PROGRESS1", tab);
    c.ZEL_PROGRESS1->Visible(false);

    c.ZEL_RESIZEFORM = NuovoControllo<entry::IResizeControl>("ZEL_RESIZEFORM");
    c.LAYSCRIPTMEDIA = NuovoControllo<entry::IMediaControl>("LAYSCRIPTMEDIA");
}

entry::Procedure FRMFA_AGGANCI::Procedura(std::string nome, entry::HandlerTable tabella) {
    // The variables themselves: a procedure that creates the message service or the connection reports
    // its later errors with them.
    return entry::Procedure(std::move(nome), tabella, entry::ErrorContext(&(ILinksForm::Gcls_Log), &gconConnect_));
}

generation::GenerationContext FRMFA_AGGANCI::Contesto() const {
    const db::Variant ditta = gstrDittaCorrente_.empty() ? db::Variant() : db::Variant(db::Variant(gstrDittaCorrente_).CLng());
    return {gconConnect_, ditta, ILinksForm::ActiveInterface, ILinksForm::Gcls_Log, gstrConnect_, ILinksForm::ActiveClass};
}

std::shared_ptr<entry::IFormNavigator> FRMFA_AGGANCI::Navigatore() const {
    const auto& program = ILinksForm::ActiveInterface;
    return program ? std::dynamic_pointer_cast<entry::IFormNavigator>(program->ActiveNavigator()) : nullptr;
}

bool FRMFA_AGGANCI::ModaleForm() const {
    const auto& program = ILinksForm::ActiveInterface;
    return program && program->WindowModal();
}

}  // namespace links_form
