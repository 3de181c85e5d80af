#pragma once
// The state and behaviour every control of the shell shares (name, enabled, visible, tag, geometry,
// container, focus, options), written once for every kind of control.
#include <map>
#include <memory>
#include <string>

#include "db/Error.h"
#include "db/Variant.h"
#include "entry/Controls.h"

namespace host::controls {

// The error the shell raises when the scripted user tries to use a control nobody could reach.
db::Error NotReachable(const std::string& controlName);
// Error 5, as the platform raises SetFocus on a hidden or disabled control.
db::Error CannotFocus(const std::string& controlName);

template <class I>
class Control : public I, public std::enable_shared_from_this<Control<I>> {
public:
    explicit Control(std::string name) : name_(std::move(name)) {}

    entry::ControlKind Kind() const override { return I::kKind; }
    const std::string& Name() const override { return name_; }

    bool Enabled() const override { return enabled_; }
    void Enabled(bool v) override { enabled_ = v; }
    bool Visible() const override { return visible_; }
    void Visible(bool v) override { visible_ = v; }
    db::Variant Tag() const override { return tag_; }
    void Tag(const db::Variant& v) override { tag_ = v; }

    long Left() const override { return left_; }
    long Top() const override { return top_; }
    long Width() const override { return width_; }
    long Height() const override { return height_; }
    void Move(long left, long top, long width = -1, long height = -1) override {
        left_ = left;
        top_ = top;
        if (width >= 0) width_ = width;
        if (height >= 0) height_ = height;
    }

    std::shared_ptr<entry::IFrame> Container() const override { return container_.lock(); }
    void Container(const std::shared_ptr<entry::IFrame>& frame) override { container_ = frame; }
    bool Reachable() const override {
        if (!visible_ || !enabled_) return false;
        const auto frame = container_.lock();
        return !frame || frame->Reachable();
    }

    void Scope(const std::shared_ptr<entry::FocusScope>& scope) override { scope_ = scope; }
    void SetFocus() override {
        if (!Reachable()) throw CannotFocus(name_);
        if (auto scope = scope_.lock()) scope->Move(this->shared_from_this());
    }
    bool HasFocus() const override {
        const auto scope = scope_.lock();
        return scope && scope->Current().get() == static_cast<const entry::IControl*>(this);
    }
    entry::Event<>& GotFocus() override { return gotFocus_; }
    entry::Event<>& LostFocus() override { return lostFocus_; }

    db::Variant Option(const std::string& name) const override {
        const auto it = options_.find(name);
        return it == options_.end() ? db::Variant() : it->second;
    }
    void Option(const std::string& name, const db::Variant& value) override { options_[name] = value; }

    void Terminate() override { terminated_ = true; }
    bool Terminated() const { return terminated_; }

protected:
    // The scripted user reaches the control: it must be reachable, and it takes the focus.
    void UserReaches() {
        if (!Reachable()) throw NotReachable(name_);
        SetFocus();
    }

private:
    std::string name_;
    bool enabled_ = true;
    bool visible_ = true;
    db::Variant tag_;
    long left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    std::weak_ptr<entry::IFrame> container_;
    std::weak_ptr<entry::FocusScope> scope_;
    entry::Event<> gotFocus_, lostFocus_;
    std::map<std::string, db::Variant> options_;
    bool terminated_ = false;
};

}  // namespace host::controls
