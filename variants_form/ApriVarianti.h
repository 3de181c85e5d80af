#pragma once
// How the links form opens FRMFA_VARIANTI (CMD_VARIANTI on the links tab, CMD_GESTVARD on the mass
// duplication tab) and takes back the list the user leaves.
//
//   variants_form::AperturaVarianti apertura{...};             // the links form's members
//   if (tabVisible == entry::Util_Agganci) apertura.Articolo = TXT_MODORIGINE->Text();
//   else variants_form::ArticoloDaSelezione(selezioneMassiva, apertura);
//   rstVarianti = variants_form::ApriVarianti(apertura);        // the variant-selection recordset
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "entry/Form.h"
#include "entry/HostInterfaces.h"

namespace variants_form {

// What the links form hands over.
struct AperturaVarianti {
    std::shared_ptr<entry::Form> finestra;  // the links form, owner of the modal window
    std::shared_ptr<entry::Cinterface> ActiveInterface;
    db::ConnectionPtr Gcon_Connect;
    std::shared_ptr<entry::IMessageService> Gcls_Log;
    db::RecordsetPtr Varianti;  // the links form's variant-selection recordset; Nothing builds a new list
    long tabVisible = 0;        // entry::Util_Agganci or entry::Util_Duplmassiva
    bool ModalitaDuplicaSingola = false;
    std::string Articolo;
};

// Mass duplication tab, given the articles the run will duplicate (the ticked ones): with exactly one, the
// form lists that article's variants (single mode, `Articolo` its code without trailing blanks); otherwise
// the variants in use by every article, and `Articolo` stays empty. The selection is moved to its first row.
void ArticoloDaSelezione(const db::RecordsetPtr& selezioneMassiva, AperturaVarianti& apertura);

// Shows the form modally, owned by the links form, and returns once the user closed it: the list to keep
// as the links form's variant-selection recordset (the one handed over when there was one, else the new
// one; Nothing when none could be built).
db::RecordsetPtr ApriVarianti(const AperturaVarianti& apertura);

}  // namespace variants_form
