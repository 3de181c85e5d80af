#pragma once
// FRMFA_VARIANTI: the modal window in which the user chooses, before articles are created, which variants
// the new articles activate and which grouping code each variant gets. The list is built in a temporary
// table (ListaVarianti.h), shown in QGRD_VARIANTI, edited there and in TXT_RAGGR, and left in `Varianti`
// for the links form, which hands it to the duplication engine.
//
// Split by concern: FRMFA_VARIANTI.cpp (lifecycle), FRMFA_VARIANTI_Lista.cpp (building the list),
// FRMFA_VARIANTI_Griglia.cpp (grid and grouping code).
#include <cstdint>
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Error.h"
#include "db/Recordset.h"
#include "entry/Controls.h"
#include "entry/ControlsGrid.h"
#include "entry/ErrorHandler.h"
#include "entry/Form.h"
#include "entry/HostInterfaces.h"
#include "entry/Trace.h"

namespace variants_form {

inline constexpr const char* kNomeForm = "FRMFA_VARIANTI";
// Shown at the first activation when the company has no colour variant (message-box style 48).
inline constexpr const char* kAvvisoVarianteColore =
    "Nei parametri fashion non è stato indicato quale variante rappresenta il colore.";
inline constexpr const char* kTitoloAvviso = "Attenzione!";
inline constexpr long kStileAvviso = 48;  // exclamation icon, OK

// The links form as this form sees it: the window it belongs to and the tab that window shows
// (entry::Util_Agganci or entry::Util_Duplmassiva), which decides the list.
struct FormChiamanteVarianti {
    std::weak_ptr<entry::Form> finestra;
    long tabVisible = 0;
};

class FRMFA_VARIANTI : public entry::Form {
public:
    FRMFA_VARIANTI();
    ~FRMFA_VARIANTI() override;

    // --- Set by the caller before the show ---
    std::shared_ptr<FormChiamanteVarianti> FormChiamante;
    // In: the list of an earlier opening, shown unchanged (Nothing: a new list is built). Out: the list
    // built or edited here; the form leaves it to the caller when it unloads.
    db::RecordsetPtr Varianti;
    std::shared_ptr<entry::IMessageService> Gcls_Log;
    db::ConnectionPtr Gcon_Connect;
    std::shared_ptr<entry::Cinterface> ActiveInterface;
    // True when the mass duplication has exactly one article selected.
    bool ModalitaDuplicaSingola = false;
    // The article whose variants are listed: the model, or the one selected article.
    const std::string& Articolo() const { return articolo_; }
    void Articolo(const std::string& v) { articolo_ = v; }

    // The form's error report: the shared Pfun_GestioneErrore, same behaviour and answers.
    long VisualizzaErrore(std::shared_ptr<entry::IMessageService> Gcls_Log, db::ConnectionPtr ADOConnection,
                          const std::string& SubOrFunctionName, const db::Error& errore);

    // --- Controls ---
    std::shared_ptr<entry::IFrame> FME_ATTIVAZIONEVAR;
    std::shared_ptr<entry::IGrid> QGRD_VARIANTI;
    std::shared_ptr<entry::ILabel> LBL_RAGGR;
    std::shared_ptr<entry::ITextBox> TXT_RAGGR;
    std::shared_ptr<entry::IResizeControl> ZEL_RESIZEFORM;

protected:
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool& cancel) override;

private:
    // Lifecycle (FRMFA_VARIANTI.cpp)
    void ZEL_RESIZEFORM_Layout();
    void AvvisaSenzaVarianteColore();
    std::shared_ptr<entry::IClsGlobal> Globale() const;
    std::string VarianteColore() const;
    long TabChiamante() const;
    entry::ErrorContext Contesto() const { return entry::ErrorContext(&Gcls_Log, &Gcon_Connect); }

    // The list (FRMFA_VARIANTI_Lista.cpp)
    bool ImpostaRescordsetVarianti();
    db::RecordsetPtr CostruisciLista();

    // Grid and grouping code (FRMFA_VARIANTI_Griglia.cpp)
    bool InitQGRD_VARIANTI();
    void CollegaGriglia();
    void QGRD_VARIANTI_RowChange();
    void QGRD_VARIANTI_AfterCellEdit(const std::string& campo, const db::Variant& valorePrecedente);
    void TXT_RAGGR_Change();
    bool RigaCorrente() const;
    void MostraRaggruppamento();
    void AbilitaRaggruppamento();
    void ScriviTXT_RAGGR(const std::string& testo);
    void ScriviRaggrPersonalizzato(const std::string& testo);

    std::string articolo_;
    std::int16_t ditta_ = 0;
    bool attivato_ = false;
    // Set while the form itself writes TXT_RAGGR, so that the box's Change is not taken for the user's.
    bool scriveTXT_RAGGR_ = false;
    // The message service of the colour-variant warning.
    std::shared_ptr<entry::IMessageService> Pcls_Messaggi;
    entry::TraceId traceId_;
};

}  // namespace variants_form
