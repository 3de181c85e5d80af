// Fuzz target: the T-SQL dialect adapter must translate or refuse with db::Error, never crash or throw
// anything else, whatever text it is given.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "db/Error.h"
#include "db/sqlite/TsqlTranslator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        (void)db::sqlite::TranslateTsql(text);
    } catch (const db::Error&) {
        // A refusal naming the construct is a correct answer.
    }
    return 0;
}
