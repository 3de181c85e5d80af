#include "links_form/FormRunPort.h"

#include "links_form/FRMFA_AGGANCI.h"

namespace links_form {

FormRunPort::FormRunPort(FRMFA_AGGANCI& form, std::string procedure, std::shared_ptr<entry::IButton> logButton,
                         std::string logButtonName)
    : ControlRunPort(std::move(procedure), form.Ui().ZEL_PROGRESS1, std::move(logButton), std::move(logButtonName)),
      form_(form) {}

long FormRunPort::Ask(const std::string& text, long style, const std::string& title) {
    return form_.MsgBox(text, style, title);
}

generation::ProcessingLog& FormRunPort::Log() { return form_.LogElaborazione(); }

void FormRunPort::Busy(bool busy, const std::string& status) {
    form_.MousePointer(busy ? generation::vbHourglass : generation::vbDefault);
    form_.TestoStato(status);
}

void FormRunPort::FocusOn(const std::string& control) {
    if (auto c = form_.Control(control); c && c->Reachable()) c->SetFocus();
}

}  // namespace links_form
