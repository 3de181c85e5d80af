#pragma once
// The running shell as the forms see it: it creates their controls and lookup services and runs their
// windows. A modal form hands itself to RunModal, which returns once the form is unloaded (the headless
// shell runs the scripted user's actions for that form in it).
#include <memory>
#include <string>

#include "entry/Controls.h"
#include "entry/LookupServices.h"

namespace entry {

class Form;

class IShell {
public:
    virtual ~IShell() = default;

    // A new control of the kind, with the name the form gives it. Error 429 for a kind the shell lacks.
    virtual std::shared_ptr<IControl> CreateControl(ControlKind kind, const std::string& name) = 0;
    virtual std::shared_ptr<ILookupService> CreateLookupService(ServiceArea area) = 0;
    virtual std::shared_ptr<IDecodeService> CreateDecodeService(ServiceArea area) = 0;

    // The form became visible.
    virtual void FormShown(Form& form) = 0;
    // The user works with the modal form; returns when it is unloaded, or when the user can do no more.
    virtual void RunModal(Form& form) = 0;
    // The form was unloaded.
    virtual void FormUnloaded(Form& form) = 0;
};

// The shell installed in this process; Nothing (nullptr) when none is.
IShell* CurrentShell();
// Error 429 ("Oggetto non disponibile: shell") when none is installed.
IShell& Shell();
void SetShell(std::shared_ptr<IShell> shell);

}  // namespace entry
