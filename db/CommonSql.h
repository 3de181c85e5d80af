#pragma once
// An execute option of this layer beside ADO's: the command text is one statement written in the SQL that
// SQL Server and SQLite both run as written (plain names, string and number literals, no hints, TOP or T-SQL
// functions; N'...' only as a value written or compared in a statement without '?' values of its own, where the
// SQLite driver binds it). The SQLite driver then runs it without
// passing it through the T-SQL translation; so it also runs a statement its translation already made
// (Driver::Translate) as it is.
#include "db/Constants.h"

namespace db {

constexpr long adExecuteCommonSql = 0x10000;
// The options of a command text in common SQL.
constexpr long kCommonSqlText = static_cast<long>(adCmdText) | adExecuteCommonSql;

}  // namespace db
