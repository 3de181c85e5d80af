#include "entry/CinterfaceBase.h"

#include <limits>

namespace entry {

std::shared_ptr<Cinterface> CinterfaceBase::ActiveDll() const {
    if (!activeDllIsSelf_) return activeDll_;
    return std::const_pointer_cast<CinterfaceBase>(weak_from_this().lock());
}

void CinterfaceBase::ActiveDll(const std::shared_ptr<Cinterface>& v) {
    activeDllIsSelf_ = false;
    activeDll_ = v;
}

void CinterfaceBase::WindowState(std::int32_t v) {
    if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
        windowState_ = static_cast<std::int16_t>(v);
}

void CinterfaceBase::ProgramMode(std::int32_t v) {
    if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
        programMode_ = static_cast<std::int16_t>(v);
}

void CinterfaceBase::Top(const db::Variant& v) {
    try {
        top_ = v.CLng();
    } catch (const db::Error&) {
        // The shell's members ignore their errors: the previous value stays.
    }
}

void CinterfaceBase::Left(const db::Variant& v) {
    try {
        left_ = v.CLng();
    } catch (const db::Error&) {
        // As Top.
    }
}

void CinterfaceBase::ReleaseReferences() {
    statusBar_.reset();
    activeFrame_.reset();
    connection_.reset();
    clsVoceMenu_.reset();
    clsGlobal_.reset();
    // Through the setter: a program subscribed to the navigator's events ends its subscription here.
    ActiveNavigator(nullptr);
    activeDll_.reset();
}

}  // namespace entry
