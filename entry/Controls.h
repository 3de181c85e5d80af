#pragma once
// The shell's controls as the forms see them: abstract interfaces only. The shell (host/controls)
// implements them and creates them for a form through entry::IShell. A control keeps its state (text,
// value, enabled, visible, focus, caption, tag) and raises its events to the form's handlers.
//
// Kinds with more to them have their own header: ControlsLookup.h (lookup text box), ControlsGrid.h,
// ControlsDataFrame.h (data-bound frame and its navigator), ControlsSideBar.h.
#include <cstdint>
#include <memory>
#include <string>

#include "db/Object.h"
#include "db/Variant.h"
#include "entry/ControlsEvent.h"

namespace entry {

class Cinterface;
class IFrame;
class FocusScope;

enum class ControlKind {
    Label,
    TextBox,
    LookupTextBox,
    CheckBox,
    ComboBox,
    Button,
    Frame,
    DataFrame,
    DataNavigator,
    Grid,
    SideBar,
    ProgressBar,
    StatusBar,
    ResizeControl,
    MediaControl,
    AdvancedQuery,
};

class IControl : public db::Object {
public:
    virtual ControlKind Kind() const = 0;
    virtual const std::string& Name() const = 0;

    virtual bool Enabled() const = 0;
    virtual void Enabled(bool v) = 0;
    virtual bool Visible() const = 0;
    virtual void Visible(bool v) = 0;
    virtual db::Variant Tag() const = 0;
    virtual void Tag(const db::Variant& v) = 0;

    // Position and size in twips.
    virtual long Left() const = 0;
    virtual long Top() const = 0;
    virtual long Width() const = 0;
    virtual long Height() const = 0;
    // A negative width or height keeps the current one.
    virtual void Move(long left, long top, long width = -1, long height = -1) = 0;

    // The frame the control sits in; Nothing for a control placed on the form itself.
    virtual std::shared_ptr<IFrame> Container() const = 0;
    virtual void Container(const std::shared_ptr<IFrame>& frame) = 0;
    // True when the user can reach it: visible and enabled, and so is every frame around it.
    virtual bool Reachable() const = 0;

    // Focus within the form's scope (set by the form when it adds the control). SetFocus on a control
    // that is not reachable raises Error 5, as the platform does.
    virtual void Scope(const std::shared_ptr<FocusScope>& scope) = 0;
    virtual void SetFocus() = 0;
    virtual bool HasFocus() const = 0;
    virtual Event<>& GotFocus() = 0;
    virtual Event<>& LostFocus() = 0;

    // A setting of the shell's own for this control (a numeric option, a Boolean switch...): stored and
    // returned; Empty when never set.
    virtual db::Variant Option(const std::string& name) const = 0;
    virtual void Option(const std::string& name, const db::Variant& value) = 0;

    // Releases what the control holds (program interface, connection, data); it stays on the form.
    virtual void Terminate() = 0;
};

// The focused control of one form. Moving the focus raises LostFocus on the control that had it, then
// GotFocus on the new one.
class FocusScope {
public:
    std::shared_ptr<IControl> Current() const { return current_.lock(); }
    void Move(const std::shared_ptr<IControl>& to);
    void Clear() { current_.reset(); }

private:
    std::weak_ptr<IControl> current_;
};

inline void FocusScope::Move(const std::shared_ptr<IControl>& to) {
    const auto from = current_.lock();
    if (from == to) return;
    current_ = to;
    if (from) from->LostFocus().Raise();
    if (to) to->GotFocus().Raise();
}

class ILabel : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::Label;
    virtual std::string Caption() const = 0;
    virtual void Caption(const std::string& v) = 0;
};

class ITextBox : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::TextBox;
    virtual std::string Text() const = 0;
    // Raises Change when the text differs from the current one (from code as from the user).
    virtual void Text(const std::string& v) = 0;
    // The field the box edits when a data frame binds it; empty when not bound.
    virtual std::string DataField() const = 0;
    virtual void DataField(const std::string& v) = 0;
    // Typed text is turned to upper case.
    virtual bool UpperCase() const = 0;
    virtual void UpperCase(bool v) = 0;
    virtual Event<>& Change() = 0;
};

class ICheckBox : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::CheckBox;
    // 0 unchecked, 1 checked, 2 grayed.
    virtual std::int16_t Value() const = 0;
    // Raises Click when the value changes (from code as from the user).
    virtual void Value(std::int16_t v) = 0;
    virtual std::string Caption() const = 0;
    virtual void Caption(const std::string& v) = 0;
    virtual std::string DataField() const = 0;
    virtual void DataField(const std::string& v) = 0;
    virtual Event<>& Click() = 0;
};

// A list of items, each with a key and a caption; the combo's text is the key of the chosen item.
class IComboBox : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::ComboBox;
    virtual void Clear() = 0;
    virtual void AddItem(const std::string& key, const std::string& caption) = 0;
    virtual long ListCount() const = 0;
    virtual std::string ItemKey(long index) const = 0;      // Error 381 when out of range
    virtual std::string ItemCaption(long index) const = 0;  // Error 381 when out of range
    // -1 when nothing is chosen; choosing another item raises Click. Error 380 when out of range.
    virtual long ListIndex() const = 0;
    virtual void ListIndex(long index) = 0;
    virtual std::string Text() const = 0;  // key of the chosen item, "" when none
    virtual Event<>& Click() = 0;
};

class IButton : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::Button;
    virtual std::string Caption() const = 0;
    virtual void Caption(const std::string& v) = 0;
    virtual Event<>& Click() = 0;
};

class IFrame : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::Frame;
    virtual std::string Caption() const = 0;
    virtual void Caption(const std::string& v) = 0;
};

class IProgressBar : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::ProgressBar;
    virtual long Min() const = 0;
    virtual void Min(long v) = 0;
    virtual long Max() const = 0;
    virtual void Max(long v) = 0;
    virtual long Value() const = 0;
    virtual void Value(long v) = 0;
    virtual std::string Caption() const = 0;
    virtual void Caption(const std::string& v) = 0;
    virtual bool CaptionVisible() const = 0;
    virtual void CaptionVisible(bool v) = 0;
    virtual std::string Text() const = 0;
    virtual void Text(const std::string& v) = 0;
    virtual bool TextVisible() const = 0;
    virtual void TextVisible(bool v) = 0;
    // Shows the current state (the shell keeps what each refresh showed).
    virtual void Refresh() = 0;
};

class IStatusPanel {
public:
    virtual ~IStatusPanel() = default;
    virtual std::string Text() const = 0;
    virtual void Text(const std::string& v) = 0;
};

// The shell's status bar; the program interface hands it to the program (Cinterface StatusBar).
class IStatusBar : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::StatusBar;
    // 1-based; Error 35600 ("Index out of bounds") for a panel that does not exist.
    virtual IStatusPanel& Panels(long index) = 0;
    virtual long PanelCount() const = 0;
};

// Keeps a form's layout proportional. Start raises Layout, in which the form registers its areas and
// anchored controls; a resize of the window raises QueryResize (the form may refuse) and AfterResize.
class IResizeControl : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::ResizeControl;
    virtual std::shared_ptr<Cinterface> ActiveInterface() const = 0;
    virtual void ActiveInterface(const std::shared_ptr<Cinterface>& program) = 0;
    virtual void Start() = 0;
    virtual void AddArea(const std::shared_ptr<IControl>& area, long code) = 0;
    virtual void AddControl(const std::shared_ptr<IControl>& control, long anchor) = 0;
    // Lays the controls of the area out again (after the area's size changed).
    virtual void Relayout(const std::shared_ptr<IControl>& area) = 0;
    virtual Event<>& Layout() = 0;
    virtual Event<bool&>& QueryResize() = 0;
    virtual Event<>& AfterResize() = 0;
};

// What the media control hands to the form to fill: one entry per item (item, title and three values
// of the shell's own).
class IMediaStructure : public db::Object {
public:
    virtual void Add(const db::ObjectPtr& item, const std::string& title, long a, long b, long c) = 0;
};

class IMediaControl : public IControl {
public:
    static constexpr ControlKind kKind = ControlKind::MediaControl;
    virtual std::shared_ptr<Cinterface> ActiveInterface() const = 0;
    virtual void ActiveInterface(const std::shared_ptr<Cinterface>& program) = 0;
    // Raised when the control asks the form to add its structure.
    virtual Event<const std::shared_ptr<IMediaStructure>&>& AddStructure() = 0;
};

}  // namespace entry
