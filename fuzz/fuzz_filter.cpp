// Fuzz target: the recordset filter parser and its evaluation over a sample row must parse or refuse with
// db::Error, never crash or throw anything else.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "db/Error.h"
#include "db/RecordsetFilter.h"
#include "db/Variant.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    static const std::vector<std::string> names = {"MG5F_CODICEVAR", "SEL", "QTA", "DATA", "NOTE"};
    const std::vector<db::Variant> row = {db::Variant("COL"), db::Variant(1), db::Variant(2.5),
                                          db::Variant(db::Date::FromParts(2026, 12, 6)), db::Variant::Null()};
    auto lookup = [](const std::string& name) -> long {
        for (std::size_t i = 0; i < names.size(); ++i)
            if (db::UCase(name) == names[i]) return static_cast<long>(i);
        return -1;
    };
    try {
        auto filter = db::FilterExpression::Parse(text, lookup);
        if (filter) (void)filter->Matches([&row](std::size_t c) { return row.at(c); });
    } catch (const db::Error&) {
        // Malformed criteria are refused with an error: a correct answer.
    }
    try {
        (void)db::ParseSort(text, lookup);
    } catch (const db::Error&) {
    }
    return 0;
}
