#pragma once
// What the generation run (CMD_DUPLICA_ButtonClick) and the per-article routine shared with the mass run
// (CreaArticolo) read and write on the links form FRMFA_AGGANCI. The form implements it; generation never
// sees the form's class, and tests drive the run through a fake.
//
// Texts are returned as the control holds them (no trimming: the run trims where it must). A recordset the
// form does not hold is returned as null.
#include <cstdint>
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/Controls.h"
#include "entry/HostInterfaces.h"
#include "generation/Completion.h"
#include "generation/ProcessingLog.h"

namespace generation {

// Mouse pointers the run sets.
inline constexpr long vbDefault = 0;
inline constexpr long vbHourglass = 11;

class IGenerationForm {
public:
    virtual ~IGenerationForm() = default;

    // --- Form-level state ---
    virtual std::shared_ptr<entry::Cinterface> ActiveInterface() const = 0;  // host interface (ActInterface)
    virtual std::shared_ptr<entry::CLSFA_AGGANCI> ActiveClass() const = 0;    // program object: the results
    virtual db::ConnectionPtr Gcon_Connect() const = 0;
    virtual std::string Gstr_Connect() const = 0;                            // connection string
    virtual std::string Gstr_DittaCorrente() const = 0;                      // company code, as text
    virtual std::shared_ptr<entry::IMessageService> Gcls_Log() const = 0;    // message service
    virtual entry::Util_TabNavigator tabVisible() const = 0;                 // the tab that runs
    // The processing log writer of the form; it lives as long as the form (the log buttons show its last run).
    virtual ProcessingLog& LogElaborazione() = 0;

    // --- Links tab ---
    // Link rows (FA64_AGGANCIDET) of the model shown, ordered by FA64_CODTESS_FA12; the run clones it and
    // writes FA64_ARTAGGANCIO_MG66 back through the clone with UpdateBatch.
    virtual db::RecordsetPtr RstAggDettaglio() const = 0;
    virtual std::string TXT_PREFISSO() const = 0;
    virtual std::string TXT_MODORIGINE() const = 0;
    virtual std::int16_t CHK_CODALT() const = 0;  // 1: the alternative code goes into the new codes
    virtual std::string TXT_CODICEALTERNATIVO() const = 0;
    virtual std::int16_t ZEL_CHKRIGENERA() const = 0;  // 1: "Rigenera agganci esistenti"
    virtual std::string TXT_DESCARTDAGENERARE() const = 0;
    virtual std::string TXT_DESCARTESTDAGENERARE() const = 0;
    virtual std::string TXT_TESSPRINC() const = 0;  // main fabric of the model
    virtual std::string TXT_SEQUENZA() const = 0;   // component sequence of the main fabric ("" for every line)
    // Moves the focus to TXT_DESCARTDAGENERARE (the description the user has to type).
    virtual void FocusDescrizioneDaGenerare() = 0;

    // --- Mass tab ---
    virtual std::string TXT_DESCRD() const = 0;
    // The parameters frame: season code, line, typology, brand, descriptions.
    virtual ParametriMassivi ParametriDuplicazione() const = 0;
    // Articles of the mass selection, positioned on the article being duplicated; null when none.
    virtual db::RecordsetPtr RstSelezioneMassiva() const = 0;

    // --- Both tabs ---
    // The variants chosen in FRMFA_VARIANTI; null when the user did not configure them.
    virtual db::RecordsetPtr RstSelezioneVarianti() const = 0;

    // --- What the run drives ---
    virtual std::shared_ptr<entry::IProgressBar> ZEL_PROGRESS1() const = 0;
    virtual std::shared_ptr<entry::IButton> CMD_LOG() const = 0;  // "Log Elaborazione"
    // Message box of the form: text, style (buttons and icon), title; the answer (6 yes, 7 no, 2 cancel).
    virtual long MsgBox(const std::string& text, long style, const std::string& title) = 0;
    // Mouse pointer of the form (vbHourglass while an article is created, vbDefault after).
    virtual void MousePointer(long pointer) = 0;
    // First panel of the host status bar, the text passed through the host's text service first.
    virtual void TestoStato(const std::string& text) = 0;
};

}  // namespace generation
