#pragma once
// The one error of the dialect adapter: a T-SQL construct it cannot rewrite faithfully.
#include <string>

#include "db/Error.h"

namespace db::sqlite {

inline constexpr const char* kTsqlErrorSource = "TsqlTranslator";

// Throws db::Error with errc::UnsupportedSql and "Unsupported T-SQL construct: " + construct.
[[noreturn]] inline void ThrowUnsupported(const std::string& construct) {
    throw Error(errc::UnsupportedSql, "Unsupported T-SQL construct: " + construct, kTsqlErrorSource);
}

}  // namespace db::sqlite
