#pragma once
// The plain controls of the shell: label, text box, check box, button, frame. Each keeps its state and
// raises its events; the User... members are what the scripted user does with it.
#include <cstdint>
#include <string>

#include "db/Variant.h"
#include "entry/Controls.h"
#include "host/controls/ControlBase.h"

namespace host::controls {

class Label : public Control<entry::ILabel> {
public:
    using Control::Control;
    std::string Caption() const override { return caption_; }
    void Caption(const std::string& v) override { caption_ = v; }

private:
    std::string caption_;
};

// The text-box part shared by the plain and the lookup text box.
template <class I>
class TextBoxOf : public Control<I> {
public:
    using Control<I>::Control;
    std::string Text() const override { return text_; }
    void Text(const std::string& v) override {
        if (v == text_) return;
        text_ = v;
        change_.Raise();
    }
    std::string DataField() const override { return dataField_; }
    void DataField(const std::string& v) override { dataField_ = v; }
    bool UpperCase() const override { return upperCase_; }
    void UpperCase(bool v) override { upperCase_ = v; }
    entry::Event<>& Change() override { return change_; }

protected:
    // What the user's typing leaves in the box.
    std::string Typed(const std::string& text) const { return upperCase_ ? db::UCase(text) : text; }

private:
    std::string text_;
    std::string dataField_;
    bool upperCase_ = false;
    entry::Event<> change_;
};

class TextBox : public TextBoxOf<entry::ITextBox> {
public:
    using TextBoxOf::TextBoxOf;
    // The user types the text into the box (replacing what was there).
    void UserType(const std::string& text) {
        UserReaches();
        Text(Typed(text));
    }
};

class CheckBox : public Control<entry::ICheckBox> {
public:
    using Control::Control;
    std::int16_t Value() const override { return value_; }
    void Value(std::int16_t v) override {
        if (v == value_) return;
        value_ = v;
        click_.Raise();
    }
    std::string Caption() const override { return caption_; }
    void Caption(const std::string& v) override { caption_ = v; }
    std::string DataField() const override { return dataField_; }
    void DataField(const std::string& v) override { dataField_ = v; }
    entry::Event<>& Click() override { return click_; }

    // The user clicks the box: ticked becomes unticked, anything else ticked.
    void UserClick() {
        UserReaches();
        Value(value_ == 1 ? 0 : 1);
    }

private:
    std::int16_t value_ = 0;
    std::string caption_;
    std::string dataField_;
    entry::Event<> click_;
};

class Button : public Control<entry::IButton> {
public:
    using Control::Control;
    std::string Caption() const override { return caption_; }
    void Caption(const std::string& v) override { caption_ = v; }
    entry::Event<>& Click() override { return click_; }

    void UserClick() {
        UserReaches();
        click_.Raise();
    }

private:
    std::string caption_;
    entry::Event<> click_;
};

class Frame : public Control<entry::IFrame> {
public:
    using Control::Control;
    std::string Caption() const override { return caption_; }
    void Caption(const std::string& v) override { caption_ = v; }

private:
    std::string caption_;
};

}  // namespace host::controls
