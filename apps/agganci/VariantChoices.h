#pragma once
// --variant CODE=on|off[:auto|:GROUP]: the user's variant choices, as the selection recordset the engine
// reads (one row per variant of the source: MG5F_CODICEVAR, SEL, RAGGRAUTOMATICO, RAGGRPERSONALIZZATO).
#include <map>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "entry/Form.h"

namespace app {

struct VariantChoice {
    bool active = true;
    bool automaticGrouping = false;
    std::string grouping;  // custom grouping code; empty: none
};

// Parses one --variant value; throws std::invalid_argument with a message naming the value.
std::pair<std::string, VariantChoice> ParseVariantChoice(const std::string& text);

// The source's variants as they are (active as on the source, no new grouping), with the choices applied.
// Error when a choice names a variant the source does not have.
db::RecordsetPtr BuildVariantSelection(const db::ConnectionPtr& c, long company, const std::string& source,
                                       const std::map<std::string, VariantChoice>& choices);

// The choices made in the open variant form (FRMFA_VARIANTI) as its user makes them: on the row of each
// variant the tick and the automatic grouping are set to match, and a grouping code is typed into
// TXT_RAGGR. std::invalid_argument when the form does not offer a variant named.
void ChooseInVariantForm(entry::Form& form, const std::map<std::string, VariantChoice>& choices);

}  // namespace app
