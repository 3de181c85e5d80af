#pragma once
// An execute option of this layer beside ADO's: the command text is one statement written in the SQL that
// SQL Server and SQLite both run as written (plain names, string and number literals, N'...' too since the
// SQLite driver binds its literals, no hints, TOP or T-SQL functions). The SQLite driver then runs it without
// passing it through the T-SQL translation; so it also runs a statement its translation already made
// (Driver::Translate) as it is.
#include "db/Constants.h"

namespace db {

constexpr long adExecuteCommonSql = 0x10000;
// The options of a command text in common SQL.
constexpr long kCommonSqlText = static_cast<long>(adCmdText) | adExecuteCommonSql;

}  // namespace db
