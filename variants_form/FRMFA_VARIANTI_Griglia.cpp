// FRMFA_VARIANTI: the grid QGRD_VARIANTI and the personalised grouping code TXT_RAGGR of its current row.
#include "db/Constants.h"
#include "entry/CLSFA_AGGANCI.h"
#include "entry/MDLFA_AGGANCI.h"
#include "variants_form/FRMFA_VARIANTI.h"
#include "variants_form/ListaVarianti.h"
#include "variants_form/RegoleRaggruppamento.h"
#include "entry/Rif.h"

namespace variants_form {

namespace {

constexpr const char* kSel = "SEL";
constexpr const char* kCodiceVariante = "MG5F_CODICEVAR";
constexpr const char* kRaggrAutomatico = "RAGGRAUTOMATICO";
constexpr const char* kRaggrPersonalizzato = "RAGGRPERSONALIZZATO";

entry::GridColumn Colonna(const char* campo, const char* titolo, long larghezza, entry::GridColumnKind tipo,
                          bool modificabile) {
    entry::GridColumn colonna;
    colonna.field = campo;
    colonna.caption = titolo;
    colonna.width = larghezza;
    colonna.kind = tipo;
    colonna.editable = modificabile;
    return colonna;
}

}  // namespace

bool FRMFA_VARIANTI::InitQGRD_VARIANTI() {
    bool risultato = false;
    entry::Procedure("InitQGRD_VARIANTI", entry::HandlerTable::B, Contesto())
        .Step([this] {
            QGRD_VARIANTI->Unbind();
            QGRD_VARIANTI->ClearColumns();
        })
        .Step([this] {
            // With several articles the selection is the grid's second kind of selection column.
            const bool piuArticoli =
                TipoListaPer(TabChiamante(), ModalitaDuplicaSingola) == TipoLista::ArticoliMultipli;
            using K = entry::GridColumnKind;
            QGRD_VARIANTI->AddColumn(piuArticoli ? Colonna(kSel, "Sel2", 500, K::Check2, true)
                                                 : Colonna(kSel, "Sel", 500, K::Check, true));
            QGRD_VARIANTI->AddColumn(Colonna(kCodiceVariante, "Codice Opzione", 2500, K::Text, false));
            QGRD_VARIANTI->AddColumn(Colonna("MG5F_DESCR_VAR", "Opzione", 1500, K::Text, false));
            QGRD_VARIANTI->AddColumn(Colonna(kRaggrAutomatico, "Codice raggr. Automatico", 2500, K::Check, true));
            // Changed through TXT_RAGGR, not in the grid.
            QGRD_VARIANTI->AddColumn(
                Colonna(kRaggrPersonalizzato, "Codice raggr. Personalizzato", 2500, K::Text, false));
            QGRD_VARIANTI->KeyField(kCodiceVariante);
            QGRD_VARIANTI->LayoutKey(Name() + "." + QGRD_VARIANTI->Name());
        })
        .Step([&] { risultato = true; })
        .Run();
    return risultato;
}

void FRMFA_VARIANTI::CollegaGriglia() {
    QGRD_VARIANTI->Bind(Varianti);
    // The grid raises no row change for the row it opens on: the grouping code follows it from the start.
    MostraRaggruppamento();
}

void FRMFA_VARIANTI::QGRD_VARIANTI_RowChange() {
    entry::Procedure("QGRD_VARIANTI_RowChange", entry::HandlerTable::B, Contesto())
        .Step([this] { MostraRaggruppamento(); })
        .Run();
}

void FRMFA_VARIANTI::QGRD_VARIANTI_AfterCellEdit(const std::string& campo, const db::Variant& valorePrecedente) {
    if (!Varianti || db::UCase(campo) != kRaggrAutomatico) return;
    entry::Procedure("QGRD_VARIANTI_AfterCellEdit", entry::HandlerTable::B, Contesto())
        .Step([&] {
            // Switched on: the new article's code becomes the grouping, so a personalised code goes.
            if (entry::Pfun_Numero(valorePrecedente) == "0") {
                ScriviRaggrPersonalizzato("");
                ScriviTXT_RAGGR("");
            }
        })
        .Step([this] { AbilitaRaggruppamento(); })
        .Run();
}

void FRMFA_VARIANTI::TXT_RAGGR_Change() {
    // The form's own writes show the row's code; only the user's typing goes into the list. Without a
    // current row there is nothing to write it into.
    if (scriveTXT_RAGGR_ || !RigaCorrente()) return;
    std::string testo;
    entry::Procedure("TXT_RAGGR_Change", entry::HandlerTable::B, Contesto())
        .Step([&] {
            testo = RaggrPersonalizzatoAmmesso(TXT_RAGGR->Text());
            if (testo != TXT_RAGGR->Text()) ScriviTXT_RAGGR(testo);
        })
        .Step([&] { ScriviRaggrPersonalizzato(testo); })
        .Run();
}

bool FRMFA_VARIANTI::RigaCorrente() const {
    return Varianti && Varianti->State() == db::adStateOpen && !Varianti->EOF() && !Varianti->BOF();
}

void FRMFA_VARIANTI::MostraRaggruppamento() {
    ScriviTXT_RAGGR(RigaCorrente() ? entry::Pfun_Testo((*Varianti)[kRaggrPersonalizzato].Value()) : std::string());
    AbilitaRaggruppamento();
}

void FRMFA_VARIANTI::AbilitaRaggruppamento() {
    TXT_RAGGR->Enabled(RigaCorrente() &&
                       RaggruppamentoPersonalizzabile((*Varianti)[kCodiceVariante].Value(),
                                                      (*Varianti)[kRaggrAutomatico].Value(), VarianteColore(),
                                                      TabChiamante()));
}

void FRMFA_VARIANTI::ScriviTXT_RAGGR(const std::string& testo) {
    struct Segna {
        bool& flag;
        explicit Segna(bool& f) : flag(f) { flag = true; }
        ~Segna() { flag = false; }
    } segna(scriveTXT_RAGGR_);
    TXT_RAGGR->Text(testo);
}

void FRMFA_VARIANTI::ScriviRaggrPersonalizzato(const std::string& testo) {
    auto& lista = entry::Rif(Varianti);
    QGRD_VARIANTI->BeginRowUpdate();
    try {
        lista[kRaggrPersonalizzato].Value(db::Variant(testo));
        lista.Update();
    } catch (const db::Error&) {
        // The row keeps what the table holds, and the box shows that, so the screen never shows a code
        // the list does not have.
        if (lista.EditMode() != db::adEditNone) lista.CancelUpdate();
        QGRD_VARIANTI->EndRowUpdate();
        ScriviTXT_RAGGR(entry::Pfun_Testo(lista[kRaggrPersonalizzato].Value()));
        throw;
    }
    QGRD_VARIANTI->EndRowUpdate();
}

}  // namespace variants_form
