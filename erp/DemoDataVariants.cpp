// Variants of the demo company: colour (the colour variant of the fashion settings), size and fit, their
// options, and groupings of options in a fixed order.
#include <map>
#include <vector>

#include "erp/DemoData.h"

namespace erp::demo {
namespace {

struct Grouping {
    const char* variant;
    const char* code;
    const char* description;
    std::vector<const char*> options;  // in the grouping's order
};

const ValueTable kOptions{{"MG5E_CODICEVAR_MG5F", "MG5E_OPZIONE", "MG5E_DESCR", "MG5E_SEQ"},
                          {
                              {kColourVariant, "BIA", "Bianco", 1},
                              {kColourVariant, "BLU", "Blu", 2},
                              {kColourVariant, "ROS", "Rosso", 3},
                              {kColourVariant, "GRI", "Grigio", 4},
                              {kColourVariant, "NER", "Nero", 5},
                              {kColourVariant, "BEI", "Beige", 6},
                              {kSizeVariant, "S", "Small", 1},
                              {kSizeVariant, "M", "Medium", 2},
                              {kSizeVariant, "L", "Large", 3},
                              {kSizeVariant, "XL", "Extra large", 4},
                              {kSizeVariant, "XXL", "Extra extra large", 5},
                              {kSizeVariant, "44", "Taglia 44", 6},
                              {kSizeVariant, "46", "Taglia 46", 7},
                              {kSizeVariant, "48", "Taglia 48", 8},
                              {kSizeVariant, "50", "Taglia 50", 9},
                              {kSizeVariant, "52", "Taglia 52", 10},
                              {kFitVariant, "SLIM", "Slim fit", 1},
                              {kFitVariant, "REG", "Regular fit", 2},
                              {kFitVariant, "COMF", "Comfort fit", 3},
                          }};

// "LINO-BLU" is described by its own code: a grouping copied from it is described by the new code.
const std::vector<Grouping> kGroupings{
    {kColourVariant, "COL-BASE", "Colori base", {"BIA", "BLU", "NER"}},
    {kColourVariant, "COL-ESTATE", "Colori estate", {"BIA", "BEI", "BLU", "ROS"}},
    {kColourVariant, "COL-INVERNO", "Colori inverno", {"GRI", "NER", "BLU"}},
    {kColourVariant, "LINO-BLU", "LINO-BLU", {"BLU", "BIA"}},
    {kSizeVariant, "TAG-CAM", "Taglie camicia", {"S", "M", "L", "XL", "XXL"}},
    {kSizeVariant, "TAG-PAN", "Taglie pantalone", {"44", "46", "48", "50", "52"}},
    {kFitVariant, "VES-TUTTE", "Tutte le vestibilità", {"SLIM", "REG", "COMF"}},
};

std::string OptionDescription(const std::string& variant, const std::string& option) {
    for (const Row& row : kOptions.rows)
        if (row[0].CStr() == variant && row[1].CStr() == option) return row[2].CStr();
    return option;
}

}  // namespace

void AddVariants(Writer& w) {
    w.Insert("MG5F_DIMECONF", {{"MG5F_CODICEVAR", "MG5F_DESCR_VAR", "MG5F_INDPROGCONFIG", "MG5F_SEQ", "MG5F_LUNGHEZZA"},
                               {
                                   {kColourVariant, "Colore", 0, 1, 3},
                                   {kSizeVariant, "Taglia", 0, 2, 3},
                                   {kFitVariant, "Vestibilità", 0, 3, 4},
                               }});
    w.Insert("MG5E_OPZIONI", kOptions);

    ValueTable headers{{"MG5G_CODICEVAR_MG5F", "MG5G_CODRAGGVAR", "MG5G_DESCRRAGGVAR"}, {}};
    ValueTable compositions{
        {"MG5H_CODICEVAR_MG5F", "MG5H_RAGGR_MG5G", "MG5H_SEQOPZIONE", "MG5H_OPZIONE_MG5E", "MG5H_DESCR"}, {}};
    for (const Grouping& g : kGroupings) {
        headers.rows.push_back({g.variant, g.code, g.description});
        int sequence = 0;
        for (const char* option : g.options)
            compositions.rows.push_back({g.variant, g.code, sequence += 10, option, OptionDescription(g.variant, option)});
    }
    w.Insert("MG5G_RAGGVAR", headers);
    w.Insert("MG5H_COMPRAGVAR", compositions);
}

}  // namespace erp::demo
