#include "variants_form/ApriVarianti.h"

#include "db/Constants.h"
#include "entry/MDLFA_AGGANCI.h"
#include "variants_form/FRMFA_VARIANTI.h"

namespace variants_form {

void ArticoloDaSelezione(const db::RecordsetPtr& selezioneMassiva, AperturaVarianti& apertura) {
    const bool unArticolo = selezioneMassiva && selezioneMassiva->State() == db::adStateOpen &&
                            selezioneMassiva->RecordCount() == 1;
    if (!unArticolo) return;
    apertura.ModalitaDuplicaSingola = true;
    selezioneMassiva->MoveFirst();
    apertura.Articolo = entry::Pfun_Testo((*selezioneMassiva)["MG66_CODART"].Value());
}

db::RecordsetPtr ApriVarianti(const AperturaVarianti& apertura) {
    auto form = std::make_shared<FRMFA_VARIANTI>();
    form->ActiveInterface = apertura.ActiveInterface;
    form->Gcon_Connect = apertura.Gcon_Connect;
    form->Gcls_Log = apertura.Gcls_Log;
    form->Varianti = apertura.Varianti;
    form->FormChiamante = std::make_shared<FormChiamanteVarianti>(FormChiamanteVarianti{apertura.finestra, apertura.tabVisible});
    form->ModalitaDuplicaSingola = apertura.ModalitaDuplicaSingola;
    form->Articolo(apertura.Articolo);

    form->Show(entry::vbModal);
    // A modal show returns once the window is unloaded; with no shell to run it, nobody could close it,
    // so it is closed here rather than left loaded behind the caller's back.
    if (form->Loaded()) form->Unload(entry::vbFormCode);

    db::RecordsetPtr lista = form->Varianti;
    form->FormChiamante.reset();
    form->Varianti.reset();
    return lista;
}

}  // namespace variants_form
