#include "links_form/Register.h"

#include <memory>
#include <utility>

#include "entry/ILinksForm.h"
#include "links_form/FRMFA_AGGANCI.h"
#include "links_form/MassTab.h"

namespace links_form {
namespace {

MassTabFactory& RegisteredMassTab() {
    static MassTabFactory factory;
    return factory;
}

}  // namespace

void Register() {
    entry::RegisterLinksForm([] { return std::make_shared<FRMFA_AGGANCI>(); });
}

void RegisterMassTab(MassTabFactory factory) { RegisteredMassTab() = std::move(factory); }

std::unique_ptr<IMassTab> NewMassTab(FRMFA_AGGANCI& form) {
    const auto& factory = RegisteredMassTab();
    if (factory)
        if (auto tab = factory(form)) return tab;
    return std::make_unique<IMassTab>();
}

}  // namespace links_form
