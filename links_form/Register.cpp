#include "links_form/Register.h"

#include <memory>

#include "entry/ILinksForm.h"
#include "links_form/FRMFA_AGGANCI.h"

namespace links_form {

void Register() {
    entry::RegisterLinksForm([] { return std::make_shared<FRMFA_AGGANCI>(); });
}

}  // namespace links_form
