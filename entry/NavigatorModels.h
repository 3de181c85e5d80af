#pragma once
// What the program object and the forms need of the shell's navigator beyond entry::INavigator: the
// event subscription of a program, the layout object model, and the form events of the script object
// model. The shell's navigator implements these; the component reaches them from the INavigator it was
// given (a navigator without them simply offers no events and no models).
#include <memory>
#include <string>

#include "db/Object.h"
#include "entry/HostInterfaces.h"

namespace entry {

// Layout object model with the stored layout of the forms added to it.
class IFormLayoutModel : public ILayoutObjectModel {
public:
    // Loads the layout stored under the name the form was added with and applies it to the form.
    virtual void ApplicaLayout(const std::string& name) = 0;
};

// Script object model with the open and close events of the forms added to it.
class IFormScriptModel : public IScriptObjectModel {
public:
    // opened: True when the form opened, False when it is closing.
    virtual void FormEvent(const std::string& formName, bool opened) = 0;
    // The form is going: the model lets go of it.
    virtual void Remove(const std::string& formName) = 0;
};

class IFormNavigator : public INavigator {
public:
    // Programs receive the navigator's events while subscribed. The navigator does not keep a
    // subscriber alive; Unadvise takes the address so that a program can end its subscription from
    // its destructor.
    virtual void Advise(const std::shared_ptr<INavigatorEvents>& sink) = 0;
    virtual void Unadvise(const INavigatorEvents* sink) = 0;

    // The layout model (Nothing when the navigator keeps no layouts). Handing it out the first time,
    // the navigator prepares it: InitializeLayoutObjectModel to its subscribers.
    virtual std::shared_ptr<IFormLayoutModel> LayoutModel() = 0;
    // The script model, prepared for a form that opens: InitializeScriptObjectModel to the subscribers.
    // Nothing when the navigator has no script layer.
    virtual std::shared_ptr<IFormScriptModel> PreparaScriptModel() = 0;
    // The script model as it is (Nothing when the navigator has no script layer).
    virtual std::shared_ptr<IFormScriptModel> ScriptModel() = 0;
    // The form is going: the navigator lets go of it.
    virtual void FormChiuso(const std::string& formName) = 0;
};

}  // namespace entry
