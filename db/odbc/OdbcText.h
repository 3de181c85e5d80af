#pragma once
// Text crosses the ODBC boundary as UTF-16 (the W functions and SQL_C_WCHAR): that way it does not
// depend on the client locale or the driver's idea of an 8-bit code page.
#include <sql.h>

#include <string>
#include <string_view>

namespace db::odbc {

static_assert(sizeof(SQLWCHAR) == sizeof(char16_t), "unixODBC is expected to use 2-byte SQLWCHAR");

// A malformed UTF-8 byte becomes U+FFFD, as an unpaired surrogate does the other way.
std::u16string ToUtf16(std::string_view utf8);
std::string ToUtf8(std::u16string_view utf16);

// The UTF-16 units of a buffer filled by the driver, which writes SQLWCHAR.
inline std::string ToUtf8(const SQLWCHAR* text, std::size_t units) {
    return ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), units));
}

// For the W functions, which take SQLWCHAR* (non-const in the older prototypes).
inline SQLWCHAR* Wide(std::u16string& text) { return reinterpret_cast<SQLWCHAR*>(text.data()); }

// True when every byte is 7-bit: such text binds as plain characters in any code page.
bool IsAscii(std::string_view text);

}  // namespace db::odbc
