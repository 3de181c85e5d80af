#include "apps/agganci/ArticleFilter.h"

#include <CLI/CLI.hpp>

#include <stdexcept>

#include "entry/MDLFA_AGGANCI.h"
#include "links_form/FRMFA_AGGANCI.h"

namespace app {
namespace {

// A filter that cannot be read is a value not valid: a usage error.
CLI::ValidationError Malformed(const std::string& text, const std::string& why) {
    return CLI::ValidationError("--where " + text + ": " + why +
                                "; expected FIELD=VALUE, FIELD=FROM..TO or FIELD^=PREFIX");
}

// "A, B or C".
std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " or " : ", ") + items[i];
    return text;
}

}  // namespace

entry::QueryCondition ParseWhere(const std::string& text) {
    entry::QueryCondition c;
    const auto prefix = text.find("^=");
    const auto eq = text.find('=');
    // A word alone names a field, whether or not the selection has it: what is missing is how to compare.
    if (eq == std::string::npos) throw Malformed(text, "no operator (= or ^=)");
    if (prefix != std::string::npos && prefix < eq) {
        c.field = text.substr(0, prefix);
        c.op = entry::QueryOperator::IniziaCon;
        c.values = {text.substr(prefix + 2)};
    } else {
        c.field = text.substr(0, eq);
        const std::string value = text.substr(eq + 1);
        const auto range = value.find("..");
        if (range != std::string::npos) {
            if (value.find("..", range + 2) != std::string::npos) throw Malformed(text, "a range has one '..'");
            c.op = entry::QueryOperator::Intervallo;
            c.values = {value.substr(0, range), value.substr(range + 2)};
        } else {
            c.values = {value};
        }
    }
    if (c.field.empty()) throw Malformed(text, "no field");
    // An empty prefix would select every article, an empty value none: neither is a filter anyone means.
    for (const auto& v : c.values)
        if (v.empty()) throw Malformed(text, "no value");
    return c;
}

void ApplyWhere(host::controls::AdvancedQuery& query, const std::vector<std::string>& filters) {
    for (const auto& w : filters) {
        const auto condition = ParseWhere(w);
        try {
            query.AggiungiCondizione(condition);
        } catch (const std::exception& e) {
            const std::string why = e.what();
            if (why.rfind(host::controls::AdvancedQuery::kCampoNonPrevisto, 0) != 0)
                throw std::runtime_error("--where " + w + ": " + why);
            std::string fields;
            for (const auto& caption : query.Captions()) fields += (fields.empty() ? "" : ", ") + caption;
            const auto& tables = query.TabelleOfferte();
            throw std::runtime_error("--where " + w + ": " + why + " (fields: " + fields +
                                     (tables.empty() ? std::string() : "; or a column of " + Listed(tables)) + ")");
        }
    }
}

db::RecordsetPtr SelectArticles(LinksFormSession& session, const std::vector<std::string>& filters) {
    const auto tab = host::UserScript().SelectItem("SIDEBAR_MAIN", links_form::kGruppoSideBar,
                                                   links_form::kVoceDuplMassiva);
    session.Passo("the mass duplication tab", tab);
    auto query = session.Shell().ControlOf<host::controls::AdvancedQuery>(entry::kLinksFormName, "ADVQ_ARTICOLI");
    if (!query) throw std::runtime_error("the links form has no mass duplication tab");
    ApplyWhere(*query, filters);
    session.Passo("--where", host::UserScript().Click("CMD_AVANTI"));
    return session.Form().RstSelezioneMassiva();
}

}  // namespace app
