#pragma once
// The links form as the command line uses it: opened on the company through the headless shell and
// worked on as a user would, one step at a time. A step the form refuses - a message telling what is
// wrong, a field it does not let the user reach, an error - ends the command with one line that names
// the command-line argument of the field and the form's own words.
#include <memory>
#include <string>

#include "apps/agganci/Options.h"
#include "apps/agganci/Session.h"
#include "entry/CLSFA_AGGANCI.h"
#include "host/HeadlessShell.h"
#include "links_form/FRMFA_AGGANCI.h"

namespace app {

class LinksFormSession {
public:
    // `access`: what the command does with the database (Session.h).
    explicit LinksFormSession(const GlobalOptions& options, Access access = Access::Write);
    // Closes the form; unsaved changes of a command that failed half way are dropped.
    ~LinksFormSession();
    LinksFormSession(const LinksFormSession&) = delete;
    LinksFormSession& operator=(const LinksFormSession&) = delete;

    // Types the model code; an error when the code is not a finished product of the company.
    void ApriModello(const std::string& modello);
    // Runs the user's step. `argomento` is the command-line argument the step comes from; a refusal
    // that puts the focus on a field names that field's argument instead.
    void Passo(const std::string& argomento, const host::UserScript& script);
    // A refusal among the messages shown from `primoMessaggio` on ends the command as Passo does.
    void Rifiuti(std::size_t primoMessaggio, const std::string& argomento);

    links_form::FRMFA_AGGANCI& Form() const;
    host::HeadlessShell& Shell() const { return *shell_; }
    long Ditta() const { return ditta_; }

private:
    long ditta_;
    std::shared_ptr<host::HeadlessShell> shell_;
    std::shared_ptr<entry::CLSFA_AGGANCI> program_;
};

}  // namespace app
