#pragma once
// --variant CODE=on|off[:auto|:GROUP]: the user's variant choices, as the selection recordset the engine
// reads (one row per variant of the source: MG5F_CODICEVAR, SEL, RAGGRAUTOMATICO, RAGGRPERSONALIZZATO).
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Recordset.h"
#include "entry/Form.h"
#include "host/HeadlessShell.h"

namespace app {

struct VariantChoice {
    bool active = true;
    bool automaticGrouping = false;
    std::string grouping;  // custom grouping code; empty: none

    bool operator==(const VariantChoice&) const = default;
};

// Parses one --variant value; a value that cannot be read is a usage error (CLI::ValidationError, exit 105)
// naming it.
std::pair<std::string, VariantChoice> ParseVariantChoice(const std::string& text);

// Parses every --variant value, one choice per variant (codes matched as the database compares them): the same
// choice given again is taken once, a different one for the same variant is a usage error naming it.
std::map<std::string, VariantChoice> ParseVariantChoices(const std::vector<std::string>& texts);

// The source's variants as they are (active as on the source, no new grouping), with the choices applied.
// Error when a choice names a variant the source does not have, or asks a grouping of a variant the source has
// no grouping of (the engine makes the new one by copying it).
db::RecordsetPtr BuildVariantSelection(const db::ConnectionPtr& c, long company, const std::string& source,
                                       const std::map<std::string, VariantChoice>& choices);

// The choices made in the open variant form (FRMFA_VARIANTI) as its user makes them: on the row of each
// variant the tick and the automatic grouping are set to match, and a grouping code is typed into
// TXT_RAGGR. Codes match as the database compares them. std::invalid_argument when the form does not offer a
// variant named, or, where it lists the variants of one article, a grouping is asked of a variant that article
// has no grouping of.
void ChooseInVariantForm(entry::Form& form, const std::map<std::string, VariantChoice>& choices);

// The choices made through the variant form as the user does it: `open` is the user's click that opens it,
// the form's next showing gets the choices. A choice the form refuses, or a form that did not open, is an
// error naming --variant.
void ChooseThroughVariantForm(host::HeadlessShell& shell, const std::map<std::string, VariantChoice>& choices,
                              const std::function<void()>& open);

// Neither --variant nor --proceed-without-variants: the run's question would have no answer.
inline constexpr const char* kNoVariantSelection =
    "no variant selection: the run would ask whether to go on without one; answer with "
    "--proceed-without-variants, or choose the variants with --variant";

}  // namespace app
