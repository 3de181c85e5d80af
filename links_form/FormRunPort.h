#pragma once
// The links form as a run sees it: the form's message boxes, its processing log, its progress bar, mouse
// pointer and status bar, the log button of the tab that runs, and the focus on a named field.
#include <memory>
#include <string>

#include "generation/ControlRunPort.h"

namespace links_form {

class FRMFA_AGGANCI;

class FormRunPort : public generation::ControlRunPort {
public:
    FormRunPort(FRMFA_AGGANCI& form, std::string procedure, std::shared_ptr<entry::IButton> logButton,
                std::string logButtonName);

    long Ask(const std::string& text, long style, const std::string& title) override;
    generation::ProcessingLog& Log() override;
    void Busy(bool busy, const std::string& status) override;
    void FocusOn(const std::string& control) override;

private:
    FRMFA_AGGANCI& form_;
};

}  // namespace links_form
