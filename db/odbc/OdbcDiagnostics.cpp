#include "db/odbc/OdbcDiagnostics.h"

#include <sqlext.h>

#include <algorithm>

#include "db/odbc/OdbcText.h"

namespace db::odbc {

std::vector<Diagnostic> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle) {
    std::vector<Diagnostic> out;
    if (handle == SQL_NULL_HANDLE) return out;
    for (SQLSMALLINT record = 1;; ++record) {
        SQLWCHAR state[6] = {};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        // First call for the length, so a long server message is never cut.
        SQLRETURN rc = SQLGetDiagRecW(handleType, handle, record, state, &native, nullptr, 0, &length);
        if (!Succeeded(rc)) break;
        std::u16string message(static_cast<std::size_t>(length) + 1, u'\0');
        rc = SQLGetDiagRecW(handleType, handle, record, state, &native, Wide(message),
                            static_cast<SQLSMALLINT>(message.size()), &length);
        if (!Succeeded(rc)) break;
        message.resize(std::min<std::size_t>(static_cast<std::size_t>(length), message.size() - 1));
        out.push_back({ToUtf8(state, 5), static_cast<long>(native), ToUtf8(message)});
    }
    return out;
}

Error DiagnosticError(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& context) {
    const std::vector<Diagnostic> records = ReadDiagnostics(handleType, handle);
    long number = 0;
    std::string description;
    for (const Diagnostic& d : records) {
        if (number == 0) number = d.native;
        if (!description.empty()) description += "\n";
        description += d.message + " (SQLSTATE " + d.state + ")";
    }
    if (number == 0) number = errc::ProviderError;
    if (description.empty()) description = "The ODBC driver reported a failure without a diagnostic";
    if (!context.empty()) description += " - statement: " + context;
    return Error(number, description, kSource);
}

}  // namespace db::odbc
