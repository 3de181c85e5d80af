#pragma once
// The store-and-return members of the program interface, written once: the program object derives from
// it and adds the form members; test doubles of a program derive from it too. Every member ignores its
// errors, as the shell expects: a value that does not convert is simply not stored.
#include "entry/HostInterfaces.h"

namespace entry {

class CinterfaceBase : public Cinterface, public std::enable_shared_from_this<CinterfaceBase> {
public:
    std::shared_ptr<IClsGlobal> ClsGlobal() const override { return clsGlobal_; }
    void ClsGlobal(const std::shared_ptr<IClsGlobal>& v) override { clsGlobal_ = v; }
    db::ObjectPtr ActiveFrame() const override { return activeFrame_; }
    void ActiveFrame(const db::ObjectPtr& v) override { activeFrame_ = v; }
    std::shared_ptr<INavigator> ActiveNavigator() const override { return navigator_; }
    void ActiveNavigator(const std::shared_ptr<INavigator>& v) override { navigator_ = v; }
    // Initially the instance itself; kept weakly then, so an object does not keep itself alive.
    std::shared_ptr<Cinterface> ActiveDll() const override;
    void ActiveDll(const std::shared_ptr<Cinterface>& v) override;
    db::ObjectPtr StatusBar() const override { return statusBar_; }
    void StatusBar(const db::ObjectPtr& v) override { statusBar_ = v; }
    bool CanInsert() const override { return canInsert_; }
    void CanInsert(bool v) override { canInsert_ = v; }
    bool CanDelete() const override { return canDelete_; }
    void CanDelete(bool v) override { canDelete_ = v; }
    bool CanUpdate() const override { return canUpdate_; }
    void CanUpdate(bool v) override { canUpdate_ = v; }
    bool CanQbe() const override { return canQbe_; }
    void CanQbe(bool v) override { canQbe_ = v; }
    std::int16_t WindowState() const override { return windowState_; }
    void WindowState(std::int32_t v) override;  // outside 16 bits: not stored
    bool WindowModal() const override { return windowModal_; }
    void WindowModal(bool v) override { windowModal_ = v; }
    std::int16_t ProgramMode() const override { return programMode_; }
    void ProgramMode(std::int32_t v) override;  // outside 16 bits: not stored
    db::Variant MenuModulo() const override { return menuModulo_; }
    void MenuModulo(const db::Variant& v) override { menuModulo_ = v; }
    db::Variant MenuPadre() const override { return menuPadre_; }
    void MenuPadre(const db::Variant& v) override { menuPadre_ = v; }
    db::Variant MenuProg() const override { return menuProg_; }
    void MenuProg(const db::Variant& v) override { menuProg_ = v; }
    db::Variant Caption() const override { return caption_; }
    void Caption(const db::Variant& v) override { caption_ = v; }
    std::int32_t hwndParent() const override { return hwndParent_; }
    void hwndParent(std::int32_t v) override { hwndParent_ = v; }
    db::ConnectionPtr Connection() const override { return connection_; }
    void Connection(const db::ConnectionPtr& v) override { connection_ = v; }
    db::ObjectPtr Cwindow() const override { return nullptr; }
    db::Variant Top() const override { return db::Variant(static_cast<long>(top_)); }
    void Top(const db::Variant& v) override;  // converted to a 32-bit integer; not stored when it cannot be
    db::Variant Left() const override { return db::Variant(static_cast<long>(left_)); }
    void Left(const db::Variant& v) override;
    db::ObjectPtr ClsVoceMenu() const override { return clsVoceMenu_; }
    void ClsVoceMenu(const db::ObjectPtr& v) override { clsVoceMenu_ = v; }
    bool IsActive() const override { return isActive_; }
    void IsActive(bool v) override { isActive_ = v; }
    bool IsCalled() const override { return isCalled_; }
    void IsCalled(bool v) override { isCalled_ = v; }
    db::Variant Filtro() const override { return filtro_; }
    void Filtro(const db::Variant& v) override { filtro_ = v; }

    // A plain program has no window.
    db::Variant ShowForm() override { return {}; }
    db::Variant CloseForm() override { return db::Variant(true); }
    db::Variant TransferData(const db::Variant&) override { return {}; }

protected:
    // Drops every stored host reference, in this order: status bar, active frame, connection, menu item,
    // global object, navigator, program interface (the program object's end). Call it from the derived
    // destructor, so that the navigator goes through the derived setter.
    void ReleaseReferences();

    std::shared_ptr<IClsGlobal> clsGlobal_;
    db::ObjectPtr activeFrame_;
    std::shared_ptr<INavigator> navigator_;
    std::shared_ptr<Cinterface> activeDll_;
    bool activeDllIsSelf_ = true;
    db::ObjectPtr statusBar_;
    bool canInsert_ = false, canDelete_ = false, canUpdate_ = false, canQbe_ = false;
    std::int16_t windowState_ = 0;
    bool windowModal_ = false;
    std::int16_t programMode_ = 0;
    db::Variant menuModulo_, menuPadre_, menuProg_, caption_;
    std::int32_t hwndParent_ = 0;
    db::ConnectionPtr connection_;
    std::int32_t top_ = 0, left_ = 0;
    db::ObjectPtr clsVoceMenu_;
    bool isActive_ = false, isCalled_ = false;
    db::Variant filtro_;
};

}  // namespace entry
