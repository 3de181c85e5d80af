#include "db/odbc/OdbcDriver.h"

#include <sqlext.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include "db/AdoErrors.h"
#include "db/Command.h"
#include "db/FaultInjector.h"
#include "db/ProcedureRegistry.h"
#include "db/odbc/OdbcColumns.h"
#include "db/odbc/OdbcConnectionString.h"
#include "db/odbc/OdbcParameterBinder.h"
#include "db/odbc/OdbcProcedureCall.h"
#include "db/odbc/OdbcRowWrite.h"
#include "db/odbc/OdbcScript.h"
#include "db/odbc/OdbcText.h"

namespace db::odbc {
namespace {

bool IsBlank(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return std::isspace(static_cast<unsigned char>(c)); });
}

std::string InfoText(SQLHDBC dbc, SQLUSMALLINT item) {
    SQLWCHAR buffer[256] = {};
    SQLSMALLINT bytes = 0;
    if (!Succeeded(SQLGetInfoW(dbc, item, buffer, sizeof buffer, &bytes))) return {};
    return ToUtf8(buffer, std::min<std::size_t>(static_cast<std::size_t>(std::max<SQLSMALLINT>(bytes, 0)) / sizeof(SQLWCHAR),
                                                std::size(buffer) - 1));
}

SQLUSMALLINT InfoShort(SQLHDBC dbc, SQLUSMALLINT item, SQLUSMALLINT fallback) {
    SQLUSMALLINT value = 0;
    if (!Succeeded(SQLGetInfoW(dbc, item, &value, sizeof value, nullptr))) return fallback;
    return value;
}

Error NoTransaction() { return Error(ado::NoTransaction, "No transaction is active.", kSource); }

}  // namespace

OdbcDriver::~OdbcDriver() { Close(); }

void OdbcDriver::RequireOpen() const {
    if (!connected_) throw ado::ConnectionError();
}

void OdbcDriver::Open(const std::string& target) {
    if (dbc_) throw ado::OpenError();
    if (IsBlank(target)) throw Error(errc::ProviderError, "No ODBC data source named in the connection string", kSource);

    SQLHANDLE raw = SQL_NULL_HANDLE;
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &raw))) {
        throw Error(errc::ProviderError, "The ODBC driver manager cannot be initialised", kSource);
    }
    Handle env(SQL_HANDLE_ENV, raw);
    Check(SQLSetEnvAttr(env.get(), SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0), SQL_HANDLE_ENV,
          env.get(), "");
    Check(SQLAllocHandle(SQL_HANDLE_DBC, env.get(), &raw), SQL_HANDLE_ENV, env.get(), "");
    Handle dbc(SQL_HANDLE_DBC, raw);

    std::u16string in = ToUtf16(target);
    SQLWCHAR out[1024] = {};
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(dbc.get(), nullptr, Wide(in), static_cast<SQLSMALLINT>(in.size()), out,
                                           static_cast<SQLSMALLINT>(std::size(out)), &outLength, SQL_DRIVER_NOPROMPT);
    if (!Succeeded(rc)) {
        const Error e = DiagnosticError(SQL_HANDLE_DBC, dbc.get(), "");
        // The password never appears in a message.
        throw Error(e.Number(), "Cannot connect to '" + MaskSecrets(target) + "': " + e.Description(), kSource);
    }

    env_ = std::move(env);
    dbc_ = std::move(dbc);
    connected_ = true;
    inTransaction_ = false;
    savepoints_.clear();
    cache_.Attach(dbc_.get());
    const std::string dbms = InfoText(dbc_.get(), SQL_DBMS_NAME);
    dialect_ = SqlDialect::ForServer(dbms, InfoText(dbc_.get(), SQL_IDENTIFIER_QUOTE_CHAR));
    embeddedProcedures_ = dbms.rfind("SQLite", 0) == 0;
    // A driver that deletes prepared statements when a transaction ends makes the cache useless then.
    preparedSurviveEndTran_ = InfoShort(dbc_.get(), SQL_CURSOR_COMMIT_BEHAVIOR, SQL_CB_CLOSE) != SQL_CB_DELETE &&
                              InfoShort(dbc_.get(), SQL_CURSOR_ROLLBACK_BEHAVIOR, SQL_CB_CLOSE) != SQL_CB_DELETE;
}

void OdbcDriver::Close() {
    if (!dbc_) return;
    cache_.Clear();
    if (connected_) {
        // Results not checked: the server rolls back what was not committed when the session ends, and
        // this also runs from the destructor, which cannot report.
        if (inTransaction_) SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_ROLLBACK);
        SQLDisconnect(dbc_.get());
    }
    connected_ = false;
    inTransaction_ = false;
    savepoints_.clear();
    dbc_.Reset();
    env_.Reset();
}

std::vector<std::string> OdbcDriver::Translate(const std::string& commandText) {
    if (IsBlank(commandText)) return {};
    return {commandText};
}

StatementResult OdbcDriver::Run(const std::string& sql, const std::vector<BoundValue>& values) {
    RequireOpen();
    if (faults_) faults_->BeforeStatement(sql);
    return Execute(sql, values).result;
}

OdbcDriver::Executed OdbcDriver::Execute(const std::string& sql, const std::vector<BoundValue>& values) {
    RequireOpen();
    for (const BoundValue& v : values) {
        if (!v.name.empty()) {
            throw Error(errc::ProviderError,
                        "Named parameters cannot be bound to a text statement over ODBC (" + v.name +
                            "): mark the values with '?' - statement: " + sql,
                        kSource);
        }
    }
    try {
        StatementCache::Lease lease = cache_.Acquire(sql);
        ParameterBinder binder(lease.get(), sql);
        for (const BoundValue& v : values) binder.Bind(v.value);
        Executed done = Collect(lease.get(), SQLExecute(lease.get()), sql);
        if (inTransaction_) workSinceBegin_ = true;
        return done;
    } catch (const Error&) {
        AfterFailure();
        throw;
    }
}

OdbcDriver::Executed OdbcDriver::Collect(SQLHSTMT stmt, SQLRETURN rc, const std::string& sql) {
    Executed done;
    bool counted = false;
    for (;;) {
        if (rc == SQL_NO_DATA) {
            // A searched UPDATE or DELETE that met no row.
            if (!counted) done.firstCount = 0, counted = true;
        } else {
            Check(rc, SQL_HANDLE_STMT, stmt, sql);
            std::vector<ResultColumn> columns = DescribeColumns(stmt, sql);
            if (!columns.empty()) {
                // As for a batch of several statements on SQLite, the last row set is the result.
                StatementResult& r = done.result;
                r.hasRowSet = true;
                r.columns.clear();
                r.rows.clear();
                for (const ResultColumn& c : columns) r.columns.push_back(c.info);
                SQLRETURN fetched;
                while ((fetched = SQLFetch(stmt)) != SQL_NO_DATA) {
                    Check(fetched, SQL_HANDLE_STMT, stmt, sql);
                    std::vector<Variant> row;
                    row.reserve(columns.size());
                    for (std::size_t i = 0; i < columns.size(); ++i)
                        row.push_back(ReadValue(stmt, static_cast<SQLUSMALLINT>(i + 1), columns[i], sql));
                    r.rows.emplace_back(row);
                }
            } else {
                SQLLEN count = -1;
                Check(SQLRowCount(stmt, &count), SQL_HANDLE_STMT, stmt, sql);
                if (count >= 0) {
                    done.result.changes += static_cast<long>(count);
                    if (!counted) done.firstCount = static_cast<long>(count), counted = true;
                }
            }
        }
        // Later statements of a batch report their errors here, and a procedure's output values
        // arrive only once every result has been read.
        rc = SQLMoreResults(stmt);
        if (rc == SQL_NO_DATA) break;
    }
    return done;
}

StatementResult OdbcDriver::Direct(const std::string& sql) {
    RequireOpen();
    SQLHANDLE raw = SQL_NULL_HANDLE;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc_.get(), &raw), SQL_HANDLE_DBC, dbc_.get(), sql);
    Handle stmt(SQL_HANDLE_STMT, raw);
    std::u16string text = ToUtf16(sql);
    const SQLRETURN rc = SQLExecDirectW(stmt.get(), Wide(text), static_cast<SQLINTEGER>(text.size()));
    return Collect(stmt.get(), rc, sql).result;
}

void OdbcDriver::RunScript(const std::string& script) {
    RequireOpen();
    for (const std::string& batch : SplitBatches(script)) Direct(batch);
}

int OdbcDriver::PositionalParameterCount(const std::string& sql) {
    RequireOpen();
    StatementCache::Lease lease = cache_.Acquire(sql);
    SQLSMALLINT count = 0;
    Check(SQLNumParams(lease.get(), &count), SQL_HANDLE_STMT, lease.get(), sql);
    return count;
}

void OdbcDriver::SetAutocommit(bool on) {
    const auto value = on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF;
    Check(SQLSetConnectAttrW(dbc_.get(), SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(value)),
                             SQL_IS_UINTEGER),
          SQL_HANDLE_DBC, dbc_.get(), on ? "autocommit on" : "autocommit off");
}

void OdbcDriver::Begin() {
    RequireOpen();
    if (inTransaction_) {
        throw Error(errc::ProviderError, "A transaction is already open: an inner level is a savepoint", kSource);
    }
    SetAutocommit(false);
    inTransaction_ = true;
    workSinceBegin_ = false;
    savepoints_.clear();
}

void OdbcDriver::EndTransaction(SQLSMALLINT completion) {
    Check(SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), completion), SQL_HANDLE_DBC, dbc_.get(),
          completion == SQL_COMMIT ? "COMMIT" : "ROLLBACK");
    inTransaction_ = false;
    savepoints_.clear();
    if (!preparedSurviveEndTran_) cache_.Clear();
    SetAutocommit(true);
}

void OdbcDriver::Commit() {
    RequireOpen();
    if (!inTransaction_) throw NoTransaction();
    EndTransaction(SQL_COMMIT);
}

void OdbcDriver::Rollback() {
    RequireOpen();
    if (!inTransaction_) throw NoTransaction();
    EndTransaction(SQL_ROLLBACK);
}

long OdbcDriver::ServerTransactionCount() {
    const StatementResult r = Direct("SELECT @@TRANCOUNT");
    return r.rows.empty() || r.rows[0].empty() ? 0 : r.rows[0][0].CLng();
}

void OdbcDriver::Savepoint(const std::string& name) {
    RequireOpen();
    const std::string statement = dialect_.SavepointStatement(name);  // refuses a name that is no identifier
    const bool opens = !inTransaction_;
    if (opens) Begin();
    try {
        // With autocommit off, SQL Server opens the transaction at the first statement that touches data,
        // and SAVE TRANSACTION fails before that. A savepoint taken then marks the start.
        const bool atStart = dialect_.IsTransactSql() && ServerTransactionCount() == 0;
        if (!atStart) Direct(statement);
        savepoints_.push_back({name, opens, atStart});
    } catch (const Error&) {
        if (opens) {
            try {
                EndTransaction(SQL_ROLLBACK);
            } catch (const Error&) {
                // The savepoint's own error is the one to report; nothing was done in this transaction.
            }
        }
        throw;
    }
}

std::vector<OdbcDriver::SavepointMark>::iterator OdbcDriver::FindSavepoint(const std::string& name) {
    for (auto it = savepoints_.end(); it != savepoints_.begin();) {
        --it;
        if (it->name == name) return it;
    }
    throw Error(errc::ProviderError, "No savepoint named '" + name + "' is open", kSource);
}

void OdbcDriver::RollbackToSavepoint(const std::string& name) {
    RequireOpen();
    if (!inTransaction_) throw NoTransaction();
    auto mark = FindSavepoint(name);
    if (mark->atStart) {
        // Everything since the transaction began; the transaction goes on, as after ROLLBACK TO.
        Check(SQLEndTran(SQL_HANDLE_DBC, dbc_.get(), SQL_ROLLBACK), SQL_HANDLE_DBC, dbc_.get(), "ROLLBACK");
        if (!preparedSurviveEndTran_) cache_.Clear();
    } else {
        Direct(dialect_.RollbackToSavepointStatement(name));
    }
    savepoints_.erase(mark + 1, savepoints_.end());
}

void OdbcDriver::ReleaseSavepoint(const std::string& name) {
    RequireOpen();
    if (!inTransaction_) throw NoTransaction();
    auto mark = FindSavepoint(name);
    const std::string statement = dialect_.ReleaseSavepointStatement(name);
    if (!statement.empty() && !mark->atStart) Direct(statement);
    const bool opened = mark->opensTransaction;
    savepoints_.erase(mark, savepoints_.end());
    if (!opened) return;
    try {
        EndTransaction(SQL_COMMIT);
    } catch (const Error&) {
        // Nobody else owns this transaction: left open, it would swallow every later statement.
        try {
            EndTransaction(SQL_ROLLBACK);
        } catch (const Error&) {
            // The commit's error is the one to report; the server rolls back when the session ends.
        }
        throw;
    }
}

void OdbcDriver::AfterFailure() noexcept {
    if (!inTransaction_ || !dialect_.IsTransactSql()) return;
    try {
        const StatementResult r = Direct(dialect_.TransactionStateQuery());
        const long count = r.rows.at(0).at(0).CLng();
        const long state = r.rows.at(0).at(1).CLng();
        // Doomed (-1): it can only be rolled back. Count 0 after work was done: the server rolled back.
        if (state == -1 || (count == 0 && workSinceBegin_)) EndTransaction(SQL_ROLLBACK);
    } catch (const Error&) {
        // The statement's own error is what the caller must see; a connection that cannot even answer
        // this fails again on the next call.
    }
}

std::vector<std::string> OdbcDriver::PrimaryKey(const TableRef& table) {
    RequireOpen();
    const std::string context = "primary key of " + dialect_.Qualified(table);
    SQLHANDLE raw = SQL_NULL_HANDLE;
    Check(SQLAllocHandle(SQL_HANDLE_STMT, dbc_.get(), &raw), SQL_HANDLE_DBC, dbc_.get(), context);
    Handle stmt(SQL_HANDLE_STMT, raw);
    std::u16string schema = ToUtf16(table.schema);
    std::u16string name = ToUtf16(table.name);
    const SQLRETURN rc = SQLPrimaryKeysW(stmt.get(), nullptr, 0, schema.empty() ? nullptr : Wide(schema),
                                         static_cast<SQLSMALLINT>(schema.size()), Wide(name),
                                         static_cast<SQLSMALLINT>(name.size()));
    const StatementResult r = Collect(stmt.get(), rc, context).result;
    // Columns 4 and 5 of the catalog result: COLUMN_NAME and KEY_SEQ.
    std::vector<std::pair<long, std::string>> columns;
    for (const auto& row : r.rows) {
        if (row.size() < 5) continue;
        columns.emplace_back(row[4].IsNull() ? 0 : row[4].CLng(), row[3].CStr());
    }
    std::sort(columns.begin(), columns.end());
    std::vector<std::string> key;
    for (auto& [sequence, column] : columns) key.push_back(std::move(column));
    return key;
}

// Read from the server every time, unprepared: a kept statement could describe the table as it was
// before another session changed it.
ColumnNames OdbcDriver::TableColumns(const TableRef& table) {
    RequireOpen();
    const StatementResult r = Direct("SELECT * FROM " + dialect_.Qualified(table) + " WHERE 0=1");
    auto names = std::make_shared<std::vector<std::string>>();
    for (const ColumnInfo& column : r.columns) names->push_back(column.name);
    return names;
}

RowWriteResult OdbcDriver::WriteRow(const RowWrite& w) {
    RequireOpen();
    std::vector<std::string> key;
    if (w.kind == RowWrite::Kind::Insert && !w.readBack.empty()) key = PrimaryKey(w.table);
    const RowWritePlan plan = PlanRowWrite(w, key, dialect_);

    if (faults_) faults_->BeforeStatement(plan.sql);
    Executed done = Execute(plan.sql, plan.values);
    if (w.kind != RowWrite::Kind::Insert && done.firstCount == 0) {
        throw Error(ado::RowNotFound,
                    std::string("Row cannot be located for ") + (w.kind == RowWrite::Kind::Delete ? "deletion" : "updating") +
                        ". Some values may have been changed since it was last read. - statement: " + plan.sql,
                    kSource);
    }
    if (plan.firstRowOnly && done.firstCount > 1) {
        // Several equal rows and no key to tell them apart: writing them all would change rows the
        // caller never touched. The caller's savepoint undoes this statement.
        throw Error(errc::ProviderError,
                    std::to_string(done.firstCount) + " rows of " + dialect_.Qualified(w.table) +
                        " hold the values read, and the table has no primary key to tell them apart - statement: " + plan.sql,
                    kSource);
    }

    RowWriteResult out;
    if (plan.readBackInBatch) {
        if (!done.result.rows.empty()) out.readBack = done.result.rows.front().Unpack();
    } else if (!plan.readBackSql.empty()) {
        StatementResult r = Run(plan.readBackSql, plan.readBackValues);
        if (!r.rows.empty()) out.readBack = r.rows.front().Unpack();
    }
    return out;
}

void OdbcDriver::CallProcedure(Connection& connection, const std::string& name, Parameters& parameters) {
    RequireOpen();
    if (faults_) faults_->BeforeStatement("EXECUTE " + name);
    // A procedure is one unit: when it fails half-way, what it wrote is undone.
    if (embeddedProcedures_) {
        const StoredProcedure* procedure = FindProcedure(name.substr(name.find('.') + 1));
        if (!procedure) throw Error(ado::ProcedureNotFound, "Could not find stored procedure '" + name + "'.", kSource);
        SavepointScope scope(*this, "agg_procedure");
        (*procedure)(connection, parameters);
        scope.Release();
        return;
    }
    const ProcedureCall call = PlanProcedureCall(name, parameters);
    SavepointScope scope(*this, "agg_procedure");
    try {
        StatementCache::Lease lease = cache_.Acquire(call.sql);
        ParameterBinder binder(lease.get(), call.sql);
        for (const ParameterPtr& p : call.order) binder.Bind(*p);
        Collect(lease.get(), SQLExecute(lease.get()), call.sql);
        if (inTransaction_) workSinceBegin_ = true;
        for (std::size_t i = 0; i < call.order.size(); ++i) {
            const long direction = call.order[i]->Direction();
            if (direction == adParamOutput || direction == adParamInputOutput || direction == adParamReturnValue)
                call.order[i]->Value(binder.Output(i));
        }
    } catch (const Error&) {
        AfterFailure();
        throw;
    }
    scope.Release();
}

}  // namespace db::odbc
