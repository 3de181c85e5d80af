#include "apps/agganci/VariantChoices.h"

#include <stdexcept>

#include "db/Quote.h"

namespace app {

std::pair<std::string, VariantChoice> ParseVariantChoice(const std::string& text) {
    const auto eq = text.find('=');
    if (eq == std::string::npos || eq == 0)
        throw std::invalid_argument("--variant '" + text + "': expected CODE=on|off[:auto|:GROUP]");
    std::string code = db::Trim(text.substr(0, eq));
    std::string rest = text.substr(eq + 1);
    std::string grouping;
    if (auto colon = rest.find(':'); colon != std::string::npos) {
        grouping = rest.substr(colon + 1);
        rest = rest.substr(0, colon);
    }
    VariantChoice choice;
    if (rest == "on") choice.active = true;
    else if (rest == "off") choice.active = false;
    else throw std::invalid_argument("--variant '" + text + "': the state must be on or off");
    if (grouping == "auto") choice.automaticGrouping = true;
    else if (db::Len(grouping) > 20) throw std::invalid_argument("--variant '" + text + "': a grouping code has at most 20 characters");
    else choice.grouping = grouping;
    return {code, choice};
}

db::RecordsetPtr BuildVariantSelection(const db::ConnectionPtr& c, long company, const std::string& source,
                                       const std::map<std::string, VariantChoice>& choices) {
    c->Execute("IF NOT OBJECT_ID('tempdb..##TABTEMP') IS NULL DROP TABLE ##TABTEMP", nullptr, db::adExecuteNoRecords);
    c->Execute("SELECT MG6B_CODICEVAR_MG5F AS MG5F_CODICEVAR, CAST(MG6B_FLGGESTVAR AS DECIMAL(1,0)) AS SEL, "
               "CAST(0 AS DECIMAL(1,0)) AS RAGGRAUTOMATICO, CAST('' AS CHAR(20)) AS RAGGRPERSONALIZZATO "
               "INTO ##TABTEMP FROM MG6B_GESVARART WHERE MG6B_DITTA_CG18 = " + std::to_string(company) +
                   " AND MG6B_CODART_MG66 = " + db::SqlText(source),
               nullptr, db::adExecuteNoRecords);
    auto rs = db::Recordset::Create();
    rs->Open("SELECT * FROM ##TABTEMP", c);
    for (const auto& [code, choice] : choices) {
        rs->Filter(db::Variant("MG5F_CODICEVAR = " + db::SqlText(code)));
        if (rs->RecordCount() == 0)
            throw std::invalid_argument("--variant " + code + ": the article '" + source + "' has no such variant");
        rs->MoveFirst();
        (*rs)["SEL"].Value(db::Variant(choice.active ? 1 : 0));
        (*rs)["RAGGRAUTOMATICO"].Value(db::Variant(choice.automaticGrouping ? 1 : 0));
        (*rs)["RAGGRPERSONALIZZATO"].Value(db::Variant(choice.grouping));
        rs->Update();
    }
    rs->Filter(db::Variant(0));
    return rs;
}

}  // namespace app
