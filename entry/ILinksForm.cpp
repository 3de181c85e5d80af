// Where the links form's factory is registered.
#include "entry/ILinksForm.h"

#include <utility>

namespace entry {

namespace {
LinksFormFactory& RegisteredFactory() {
    static LinksFormFactory factory;
    return factory;
}
}  // namespace

void RegisterLinksForm(LinksFormFactory factory) { RegisteredFactory() = std::move(factory); }

std::shared_ptr<ILinksForm> NewLinksForm() {
    const auto& factory = RegisteredFactory();
    if (!factory) throw OggettoNonDisponibile(kLinksFormName);
    auto form = factory();
    if (!form) throw OggettoNonDisponibile(kLinksFormName);
    return form;
}

}  // namespace entry
