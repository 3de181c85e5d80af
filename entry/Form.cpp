#include "entry/Form.h"

#include <utility>

#include "db/Variant.h"

namespace entry {

Form::Form(std::string name) : name_(std::move(name)) {}

Form::~Form() = default;

void Form::Load() {
    if (loaded_) return;
    loaded_ = true;
    Form_Load();
}

void Form::Show(long style) {
    Load();
    if (!loaded_) return;
    modal_ = style == vbModal;
    visible_ = true;
    IShell* shell = CurrentShell();
    if (shell) shell->FormShown(*this);
    Activate();
    // Without a shell nobody can work with a modal form: the show returns with the form still loaded
    // rather than waiting for ever.
    if (modal_ && loaded_ && shell) shell->RunModal(*this);
}

void Form::Activate() {
    if (loaded_) Form_Activate();
}

bool Form::Unload(int unloadMode) {
    if (!loaded_) return true;
    if (unloading_) return false;  // an Unload from inside the form's own unload handling
    unloading_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{unloading_};

    bool cancel = false;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel) return false;
    Form_Unload(cancel);
    if (cancel) return false;
    loaded_ = false;
    visible_ = false;
    modal_ = false;
    focus_->Clear();
    if (IShell* shell = CurrentShell()) shell->FormUnloaded(*this);
    return true;
}

void Form::KeyDown(int& keyCode, int shift) { Form_KeyDown(keyCode, shift); }

std::shared_ptr<IControl> Form::Control(const std::string& name) const {
    for (const auto& control : controls_)
        if (db::SameText(control->Name(), name)) return control;
    return nullptr;
}

void Form::AddControl(const std::shared_ptr<IControl>& control) {
    if (!control) throw db::Error(db::errc::ObjectRequired);
    if (Control(control->Name())) throw db::Error(35602, "Key is not unique in collection: " + control->Name());
    control->Scope(focus_);
    controls_.push_back(control);
}

}  // namespace entry
