#pragma once
// What went wrong in an ODBC call, as the component's Error: the driver's native error number (the
// server's message number on SQL Server) and every diagnostic record's text with its SQLSTATE.
#include <sql.h>

#include <string>
#include <vector>

#include "db/Error.h"

namespace db::odbc {

inline const std::string kSource = "agganci.db.odbc";

struct Diagnostic {
    std::string state;  // SQLSTATE, five characters
    long native = 0;
    std::string message;
};

std::vector<Diagnostic> ReadDiagnostics(SQLSMALLINT handleType, SQLHANDLE handle);

// Error from the diagnostics of the handle. The number is the first non-zero native error (the generic
// provider error when the driver gives none); the description joins the messages and, when context
// is not empty, ends with " - statement: " + context.
Error DiagnosticError(SQLSMALLINT handleType, SQLHANDLE handle, const std::string& context);

inline bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// Throws DiagnosticError unless rc is a success.
inline void Check(SQLRETURN rc, SQLSMALLINT handleType, SQLHANDLE handle, const std::string& context) {
    if (!Succeeded(rc)) throw DiagnosticError(handleType, handle, context);
}

}  // namespace db::odbc
