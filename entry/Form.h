#pragma once
// A window of the component, with the platform's form lifecycle:
//   Load       Form_Load, once until the form is unloaded again;
//   Show       Load when needed, visible, the shell told, Form_Activate; a modal show (style 1) then
//              hands the form to the shell and returns once it is unloaded;
//   Unload     Form_QueryUnload(cancel, mode), Form_Unload(cancel): either may refuse, and the form
//              stays; otherwise it is hidden, unloaded, and the shell told;
//   the end    Form_Terminate is the derived form's destructor.
// The form owns its controls, which it makes with NewControl<I>(name) through the shell and finds by
// name; the shell finds them the same way to act as the user.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "db/Error.h"
#include "db/Object.h"
#include "entry/Controls.h"
#include "entry/Shell.h"

namespace entry {

// Show styles.
inline constexpr long vbModeless = 0;
inline constexpr long vbModal = 1;
// Why a form is unloaded (QueryUnload's mode).
inline constexpr int vbFormControlMenu = 0;  // the user closed the window
inline constexpr int vbFormCode = 1;         // the Unload statement
// Key codes.
inline constexpr int vbKeyEscape = 27;

class Form : public db::Object, public std::enable_shared_from_this<Form> {
public:
    explicit Form(std::string name);
    ~Form() override;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& Name() const { return name_; }
    virtual std::string Caption() const { return caption_; }
    virtual void Caption(const std::string& v) { caption_ = v; }
    virtual std::int16_t WindowState() const { return windowState_; }
    virtual void WindowState(std::int16_t v) { windowState_ = v; }
    bool Loaded() const { return loaded_; }
    bool Visible() const { return visible_; }
    bool Modal() const { return modal_; }

    void Load();
    void Show(long style = vbModeless);
    // The form becomes the active window again (Form_Activate).
    void Activate();
    // False when Form_QueryUnload or Form_Unload refused.
    bool Unload(int unloadMode = vbFormCode);
    // A key pressed while the form is active (the form sees it before its controls).
    void KeyDown(int& keyCode, int shift);

    // The form's control of that name (case-insensitive); Nothing when it has none.
    std::shared_ptr<IControl> Control(const std::string& name) const;
    template <class I>
    std::shared_ptr<I> ControlAs(const std::string& name) const {
        return std::dynamic_pointer_cast<I>(Control(name));
    }
    const std::vector<std::shared_ptr<IControl>>& Controls() const { return controls_; }
    const std::shared_ptr<FocusScope>& Focus() const { return focus_; }
    std::shared_ptr<IControl> ActiveControl() const { return focus_->Current(); }

protected:
    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_QueryUnload(bool& cancel, int unloadMode) {}
    virtual void Form_Unload(bool& cancel) {}
    virtual void Form_KeyDown(int& keyCode, int shift) {}

    // A new control of interface I made by the shell, added to the form. Error 429 without a shell.
    template <class I>
    std::shared_ptr<I> NewControl(const std::string& name) {
        auto control = std::dynamic_pointer_cast<I>(Shell().CreateControl(I::kKind, name));
        if (!control) throw db::Error(429, "Oggetto non disponibile: " + name);
        AddControl(control);
        return control;
    }
    // Adds a control made elsewhere. Error 35602 ("Key is not unique") when the name is taken.
    void AddControl(const std::shared_ptr<IControl>& control);

private:
    std::string name_;
    std::string caption_;
    std::int16_t windowState_ = 0;
    bool loaded_ = false;
    bool visible_ = false;
    bool modal_ = false;
    bool unloading_ = false;
    std::vector<std::shared_ptr<IControl>> controls_;
    std::shared_ptr<FocusScope> focus_ = std::make_shared<FocusScope>();
};

}  // namespace entry
