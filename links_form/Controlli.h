#pragma once
// The controls of FRMFA_AGGANCI, by the names the shell, the scripts and the layout know them by.
#include <memory>

#include "entry/Controls.h"
#include "entry/ControlsDataFrame.h"
#include "entry/ControlsGrid.h"
#include "entry/ControlsLookup.h"
#include "entry/ControlsSideBar.h"

namespace links_form {

struct Controlli {
    // The side bar and the frames of the two tabs.
    std::shared_ptr<entry::ISideBar> SIDEBAR_MAIN;
    std::shared_ptr<entry::IFrame> FRM_MODORIGINE;  // links tab
    std::shared_ptr<entry::IFrame> FRM_DUPLMASS;    // mass-duplication tab
    std::shared_ptr<entry::IFrame> FRM_SELDUPL;     // its selection step
    std::shared_ptr<entry::IFrame> FRM_PARDUPL;     // its parameters step

    // Model article.
    std::shared_ptr<entry::ILabel> LBL_MODORIGINE;
    std::shared_ptr<entry::ILookupTextBox> TXT_MODORIGINE;
    std::shared_ptr<entry::ITextBox> TXT_DESCMODORIGINE;
    std::shared_ptr<entry::IButton> CMD_NUOVO;
    std::shared_ptr<entry::IButton> CMD_LOG;

    // Link header (FA63_AGGANCI), in FRM_PREFISSO.
    std::shared_ptr<entry::IFrame> FRM_PREFISSO;
    std::shared_ptr<entry::IDataFrame> FME_AGGANCI;
    std::shared_ptr<entry::IDataNavigator> INTERNAV_AGGANCI;
    std::shared_ptr<entry::ILabel> LBL_PREFISSO;
    std::shared_ptr<entry::ILookupTextBox> TXT_PREFISSO;
    std::shared_ptr<entry::ILabel> LBL_TESSPRINC;
    std::shared_ptr<entry::ILookupTextBox> TXT_TESSPRINC;
    std::shared_ptr<entry::ILabel> LBL_SEQUENZA;
    std::shared_ptr<entry::ILookupTextBox> TXT_SEQUENZA;
    std::shared_ptr<entry::ILabel> LBL_CODICEALTERNATIVO;
    std::shared_ptr<entry::ITextBox> TXT_CODICEALTERNATIVO;
    std::shared_ptr<entry::ICheckBox> CHK_CODALT;

    // Link rows (FA64_AGGANCIDET), in FRM_AGGANCI.
    std::shared_ptr<entry::IFrame> FRM_AGGANCI;
    std::shared_ptr<entry::IDataFrame> FME_AGGANCIDET;
    std::shared_ptr<entry::IGrid> QGRD_AGGANCI;
    std::shared_ptr<entry::IDataNavigator> GRIDNAV_AGGANCI;
    std::shared_ptr<entry::ILabel> LBL_TSAGGANCIO;
    std::shared_ptr<entry::ILookupTextBox> TXT_TSAGGANCIO;
    std::shared_ptr<entry::ITextBox> TXT_DESCTESAGGANCIO;
    std::shared_ptr<entry::ILabel> LBL_DESCARTDAGENERARE;
    std::shared_ptr<entry::ITextBox> TXT_DESCARTDAGENERARE;
    std::shared_ptr<entry::ILabel> LBL_DESCARTESTDAGENERARE;
    std::shared_ptr<entry::ITextBox> TXT_DESCARTESTDAGENERARE;
    std::shared_ptr<entry::ILabel> LBL_QTA1;
    std::shared_ptr<entry::ITextBox> TXT_QTA1;
    std::shared_ptr<entry::ILabel> LBL_STAGIONE;
    std::shared_ptr<entry::ILookupTextBox> TXT_STAGIONE;
    std::shared_ptr<entry::ITextBox> TXT_DESCSTAGIONE;
    std::shared_ptr<entry::ILabel> LBL_LINEA;
    std::shared_ptr<entry::ILookupTextBox> TXT_LINEA;
    std::shared_ptr<entry::ITextBox> TXT_DESCLINEA;
    std::shared_ptr<entry::ILabel> LBL_MARCHIO;
    std::shared_ptr<entry::ILookupTextBox> TXT_MARCHIO;
    std::shared_ptr<entry::ITextBox> TXT_DESCMARCHIO;
    std::shared_ptr<entry::ILabel> LBL_TIPOLOGIA;
    std::shared_ptr<entry::ILookupTextBox> TXT_TIPOLOGIA;
    std::shared_ptr<entry::ITextBox> TXT_DESCTIPOLOGIA;

    // Generation.
    std::shared_ptr<entry::IButton> CMD_DUPLICA;
    std::shared_ptr<entry::IButton> CMD_VARIANTI;
    std::shared_ptr<entry::ILabel> LBL_DUPLICA;
    std::shared_ptr<entry::ICheckBox> ZEL_CHKRIGENERA;
    std::shared_ptr<entry::IProgressBar> ZEL_PROGRESS1;

    // Mass-duplication tab: the prefix of the new codes (its cleaning rule belongs to the field rules).
    std::shared_ptr<entry::ILookupTextBox> TXT_PREFISSODART;

    // The shell's helpers.
    std::shared_ptr<entry::IResizeControl> ZEL_RESIZEFORM;
    std::shared_ptr<entry::IMediaControl> LAYSCRIPTMEDIA;
};

}  // namespace links_form
