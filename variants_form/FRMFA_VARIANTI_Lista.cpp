// FRMFA_VARIANTI: building the list of variants, or taking the one of an earlier opening.
#include "db/Constants.h"
#include "variants_form/FRMFA_VARIANTI.h"
#include "variants_form/ListaVarianti.h"
#include "entry/Rif.h"

namespace variants_form {

bool FRMFA_VARIANTI::ImpostaRescordsetVarianti() {
    bool risultato = false;
    entry::Procedure procedura("ImpostaRescordsetVarianti", entry::HandlerTable::B, Contesto());
    // The list of an earlier opening is shown as the user left it. A list that was closed meanwhile
    // cannot be shown or handed to the engine, so it is built again.
    const bool listaPrecedente = Varianti && Varianti->State() == db::adStateOpen;
    db::RecordsetPtr nuova;
    std::string statement;
    if (!listaPrecedente) {
        procedura
            .Step([this] {
                try {
                    entry::Rif(Gcon_Connect).Execute(EliminaLista(), nullptr, db::adExecuteNoRecords);
                } catch (const db::Error&) {
                    // Ignored: the statement that fills the list reports any real problem of the connection.
                }
            })
            .Step([&] {
                statement = CreaLista(TipoListaPer(TabChiamante(), ModalitaDuplicaSingola), ditta_, articolo_,
                                      VarianteColore());
            })
            .Step([&] { entry::Rif(Gcon_Connect).Execute(statement, nullptr, db::adExecuteNoRecords); })
            .Step([&] { nuova = CostruisciLista(); })
            // Only a list that could be read replaces `Varianti`: a failed build leaves it as it was.
            .Step([&] {
                if (nuova) Varianti = nuova;
            });
    }
    procedura.Step([this] { CollegaGriglia(); }).Step([&] { risultato = true; }).Run();
    return risultato;
}

db::RecordsetPtr FRMFA_VARIANTI::CostruisciLista() {
    auto lista = db::Recordset::Create();
    lista->CursorLocation(db::adUseClient);
    lista->CursorType(db::adOpenDynamic);
    lista->LockType(db::adLockOptimistic);
    lista->Open(LeggiLista(), Gcon_Connect);
    return lista;
}

}  // namespace variants_form
