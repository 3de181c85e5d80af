#pragma once
// What the program object needs of the links form FRMFA_AGGANCI: the form lifecycle (entry::Form) and
// the public variables it sets and reads. The links form registers how it is made; the program object
// creates it through NewLinksForm without knowing its class.
#include <functional>
#include <memory>

#include "entry/Form.h"
#include "entry/HostInterfaces.h"

namespace entry {

class CLSFA_AGGANCI;

inline constexpr const char* kLinksFormName = "FRMFA_AGGANCI";

class ILinksForm : public Form {
public:
    explicit ILinksForm(std::string name = kLinksFormName) : Form(std::move(name)) {}

    // Public variables of the form. ShowForm sets the first two; the form clears them when it unloads,
    // which tells CloseForm that the form is gone.
    std::shared_ptr<Cinterface> ActiveInterface;
    std::shared_ptr<CLSFA_AGGANCI> ActiveClass;
    // The form's message service, made by its Form_Load; the program object shows its own messages
    // through it.
    std::shared_ptr<IMessageService> Gcls_Log;
};

using LinksFormFactory = std::function<std::shared_ptr<ILinksForm>()>;

// The links form's own library registers its factory; a later registration replaces the earlier one
// (tests register fakes). An empty factory removes it.
void RegisterLinksForm(LinksFormFactory factory);
// A new links form. Error 429 ("Oggetto non disponibile: FRMFA_AGGANCI") when no factory is registered.
std::shared_ptr<ILinksForm> NewLinksForm();

}  // namespace entry
