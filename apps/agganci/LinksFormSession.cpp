#include "apps/agganci/LinksFormSession.h"

#include <map>
#include <optional>
#include <stdexcept>

#include "apps/agganci/Session.h"
#include "apps/agganci/TerminalProgress.h"
#include "entry/ILinksForm.h"
#include "entry/MDLFA_AGGANCI.h"
#include "host/controls/DataFrame.h"
#include "links_form/Messaggi.h"
#include "links_form/Register.h"

namespace app {
namespace {

// The command-line argument of each field of the links tab.
const std::map<std::string, std::string>& Argomenti() {
    static const std::map<std::string, std::string> argomenti = {
        {"TXT_MODORIGINE", "MODEL"},
        {"TXT_TSAGGANCIO", "--fabric"},
        {"TXT_DESCARTDAGENERARE", "--description"},
        {"TXT_DESCARTESTDAGENERARE", "--extended-description"},
        {"TXT_QTA1", "--quantity"},
        {"TXT_STAGIONE", "--season"},
        {"TXT_LINEA", "--line"},
        {"TXT_MARCHIO", "--brand"},
        {"TXT_TIPOLOGIA", "--typology"},
        {"TXT_PREFISSO", "--prefix"},
        {"TXT_TESSPRINC", "--main-fabric"},
        {"TXT_SEQUENZA", "--sequence"},
        {"TXT_CODICEALTERNATIVO", "--alt-code"},
        {"CHK_CODALT", "--alt-code"},
        {"TXT_STAGIONED", "--season"},
        {"TXT_LINEAD", "--line"},
        {"TXT_MARCHIOD", "--brand"},
        {"TXT_TIPOLOGIAD", "--typology"},
    };
    return argomenti;
}

constexpr long kIconaCritica = 16;
constexpr long kMascheraIcona = 0xF0;

// "FRMFA_AGGANCI: type into TXT_X "v": The control TXT_X cannot be reached..." in the user's terms: the
// step and the control's name are the form's inside, the argument already says which field it was.
std::string SenzaForm(const std::string& failure) {
    for (const auto& [interno, utente] : {std::pair<std::string, std::string>{"The control ", "the form's field "},
                                          {"The list of ", "the form's list "}}) {
        const auto at = failure.find(interno);
        if (at == std::string::npos) continue;
        const auto nome = failure.find(' ', at + interno.size());
        if (nome != std::string::npos) return utente + failure.substr(nome + 1);
    }
    const std::string prefisso = std::string(entry::kLinksFormName) + ": ";
    return failure.rfind(prefisso, 0) == 0 ? failure.substr(prefisso.size()) : failure;
}

}  // namespace

LinksFormSession::LinksFormSession(const GlobalOptions& options, Access access) : ditta_(options.company) {
    // The company database (the demo one is created when missing) and the database's procedures.
    OpenSession(options, access).connection->Close();
    shell_ = host::HeadlessShell::Start(options.db, options.company);
    ShowProgressOnStderr(*shell_, options.quiet);
    links_form::Register();
    // The commands save explicitly. The one question a command that failed half way leaves behind -
    // whether to save what it had typed when the form closes - is answered no. Only `links remove` deletes,
    // and deleting is what it is for: the shell's confirmation is answered yes.
    shell_->Messages()->SetMessageResponder([](const host::ShownMessage& m) -> std::optional<long> {
        if (m.text == host::controls::DataFrame::kDomandaChiusura) return entry::kAnswerNo;
        if (m.text == host::controls::DataFrame::kDomandaEliminazione) return entry::kAnswerYes;
        return std::nullopt;
    });
    program_ = shell_->Apri(host::ProgramRequest{});
    if (!shell_->OpenForm(entry::kLinksFormName)) {
        const auto& failures = shell_->Failures();
        throw std::runtime_error("the links form did not open" + (failures.empty() ? std::string() : ": " + failures.back()));
    }
}

LinksFormSession::~LinksFormSession() {
    try {
        shell_->Chiudi(program_);
    } catch (const std::exception&) {
        // The command has its outcome already (printed or thrown); the window's close is not part of it,
        // and a destructor must not throw over an error that is on its way out.
    }
}

links_form::FRMFA_AGGANCI& LinksFormSession::Form() const {
    auto form = std::dynamic_pointer_cast<links_form::FRMFA_AGGANCI>(shell_->OpenForm(entry::kLinksFormName));
    if (!form) throw std::runtime_error("the links form closed unexpectedly");
    return *form;
}

void LinksFormSession::Passo(const std::string& argomento, const host::UserScript& script) {
    auto& messaggi = *shell_->Messages();
    const std::size_t primoMessaggio = messaggi.Messages().size();
    const std::size_t primoErrore = messaggi.ErrorBoxes().size();
    shell_->ClearFailures();
    const bool fatto = shell_->Act(entry::kLinksFormName, script);

    if (messaggi.ErrorBoxes().size() > primoErrore) {
        const auto& e = messaggi.ErrorBoxes()[primoErrore];
        throw std::runtime_error(argomento + ": the form reported an error in " + e.procedure + ": " + e.description);
    }
    Rifiuti(primoMessaggio, argomento);
    if (!fatto) {
        const auto& failures = shell_->Failures();
        throw std::runtime_error(argomento + ": " + (failures.empty() ? std::string("refused") : SenzaForm(failures.back())));
    }
}

void LinksFormSession::Rifiuti(std::size_t primoMessaggio, const std::string& argomento) {
    const auto& messaggi = *shell_->Messages();
    for (std::size_t i = primoMessaggio; i < messaggi.Messages().size(); ++i) {
        const auto& m = messaggi.Messages()[i];
        const bool rifiuto = m.title == links_form::kTitoloDatiErrati || (m.style & kMascheraIcona) == kIconaCritica;
        if (!rifiuto) continue;
        // The form puts the focus on the field it refused.
        std::string campo = argomento;
        if (const auto focus = Form().ActiveControl())
            if (const auto it = Argomenti().find(focus->Name()); it != Argomenti().end()) campo = it->second;
        throw std::runtime_error(campo + ": " + m.text);
    }
}

void LinksFormSession::ApriModello(const std::string& modello) {
    Passo("MODEL", host::UserScript().Type("TXT_MODORIGINE", modello));
    if (!Form().Ui().TXT_MODORIGINE->Decodificato())
        throw std::runtime_error("MODEL: '" + modello + "' is not a finished-product article of company " +
                                 std::to_string(ditta_));
}

}  // namespace app
