#include "db/Connection.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "db/AdoErrors.h"
#include "db/CommonSql.h"
#include "db/Driver.h"
#include "db/Recordset.h"
#include "db/odbc/OdbcDriver.h"
#include "db/sqlite/SqliteDriver.h"

namespace db {
namespace {

constexpr long kParametersMissing = -2147217904;  // 0x80040E10

std::string SavepointName(long level) { return "agg_trans_" + std::to_string(level); }

// Undoes the work of a level that can undo it: the transaction at level 1, else the level's savepoint.
void UndoLevel(Driver& driver, FaultInjector& faults, long level) {
    faults.BeforeUndo();
    if (level == 1) {
        driver.Rollback();
    } else {
        driver.RollbackToSavepoint(SavepointName(level));
        driver.ReleaseSavepoint(SavepointName(level));
    }
}

// The driver for a connection string's scheme, and the part after the scheme.
std::unique_ptr<Driver> MakeDriver(const std::string& connectionString, std::string& target) {
    const auto colon = connectionString.find(':');
    const std::string scheme = colon == std::string::npos ? connectionString : connectionString.substr(0, colon);
    target = colon == std::string::npos ? std::string() : connectionString.substr(colon + 1);
    if (scheme == "sqlite") return std::make_unique<sqlite::SqliteDriver>();
    if (scheme == "odbc") return std::make_unique<odbc::OdbcDriver>();
    throw Error(ado::ProviderNotFound,
                "Unknown connection string '" + connectionString + "': expected sqlite:PATH, sqlite::memory: or odbc:...",
                ado::kSource);
}

}  // namespace

std::shared_ptr<Connection> Connection::Create() { return std::shared_ptr<Connection>(new Connection()); }

Connection::Connection() = default;

Connection::~Connection() {
    try {
        if (driver_) Close();
    } catch (...) {
        // A destructor cannot report: the database rolls back what was not committed when it closes.
    }
}

void Connection::Open(const std::string& connectionString) {
    try {
        if (driver_) throw ado::OpenError();
        if (!connectionString.empty()) connectionString_ = connectionString;
        std::string target;
        std::unique_ptr<Driver> driver = MakeDriver(connectionString_, target);
        driver->SetFaultInjector(&faults_);
        driver->Open(target);
        driver_ = std::move(driver);
        transLevel_ = 0;
        faults_.ResetCount();
    } catch (const Error& e) {
        RecordError(e);
        throw;
    }
}

void Connection::Close() {
    if (!driver_) throw ado::ClosedError();
    // As ADO does, closing with a transaction open rolls it back.
    std::unique_ptr<Driver> driver = std::move(driver_);
    const bool rollback = transLevel_ > 0 && driver->InTransaction();
    transLevel_ = 0;
    doomedLevel_ = 0;
    if (rollback) driver->Rollback();
    driver->Close();
}

long Connection::State() const { return driver_ ? adStateOpen : adStateClosed; }

Driver& Connection::GetDriver() {
    if (!driver_) throw ado::ConnectionError();
    return *driver_;
}

Driver& Connection::DriverForStatement() {
    Driver& driver = GetDriver();
    // A database that ended the transaction itself (a deadlock victim, a full disk) left the connection in
    // autocommit: a statement run now would be committed on its own, a piece of work its caller takes for
    // undone.
    if (transLevel_ > 0 && !driver.InTransaction()) {
        throw Error(errc::ProviderError,
                    "The transaction was rolled back by the database: no statement runs in it until RollbackTrans.",
                    driver.ErrorSource());
    }
    return driver;
}

void Connection::RecordError(const Error& e) {
    errors_.clear();
    errors_.push_back(e);
}

long Connection::BeginTrans(LevelUndo undo) {
    try {
        // An inner level's savepoint would open a new transaction of its own where the database ended the outer.
        Driver& driver = DriverForStatement();
        const long level = transLevel_ + 1;
        const bool savepoint = level > 1 && undo == LevelUndo::Own;
        if (level == 1) {
            driver.Begin();
            doomedLevel_ = 0;
        } else if (savepoint) {
            driver.Savepoint(SavepointName(level));
        }
        savepoints_.resize(static_cast<std::size_t>(level) + 1);
        savepoints_[static_cast<std::size_t>(level)] = savepoint;
        transLevel_ = level;
        return level;
    } catch (const Error& e) {
        RecordError(e);
        throw;
    }
}

void Connection::CommitTrans() {
    try {
        Driver& driver = GetDriver();
        if (transLevel_ == 0) throw Error(ado::NoTransaction, "No transaction is active.", ado::kSource);
        if (!driver.InTransaction()) {
            // Reporting success here would claim work that is already gone.
            transLevel_ = 0;
            doomedLevel_ = 0;
            throw Error(errc::ProviderError,
                        "The transaction was rolled back by the database before CommitTrans: nothing was committed.",
                        driver.ErrorSource());
        }
        if (transLevel_ == doomedLevel_) {
            // Work a level inside this one gave up is still here, and only this level can undo it. The state
            // moves on only once the database has undone it: a failed undo leaves the level open and doomed.
            UndoLevel(driver, faults_, transLevel_);
            --transLevel_;
            doomedLevel_ = 0;
            throw Error(errc::ProviderError,
                        "A level without a savepoint inside this one was rolled back, and only this level could "
                        "undo it: it was rolled back, nothing of it was committed.",
                        driver.ErrorSource());
        }
        if (transLevel_ == 1) {
            driver.Commit();
        } else if (savepoints_[static_cast<std::size_t>(transLevel_)]) {
            driver.ReleaseSavepoint(SavepointName(transLevel_));
        }
        --transLevel_;
    } catch (const Error& e) {
        RecordError(e);
        throw;
    }
}

void Connection::RollbackTrans() {
    try {
        Driver& driver = GetDriver();
        if (transLevel_ == 0) throw Error(ado::NoTransaction, "No transaction is active.", ado::kSource);
        if (driver.InTransaction()) {  // otherwise the database already undid everything
            if (transLevel_ == 1 || savepoints_[static_cast<std::size_t>(transLevel_)]) {
                UndoLevel(driver, faults_, transLevel_);
            } else {
                // Undone by the nearest level around it that can undo work: that level may not be kept.
                long undoing = transLevel_ - 1;
                while (undoing > 1 && !savepoints_[static_cast<std::size_t>(undoing)]) --undoing;
                doomedLevel_ = doomedLevel_ == 0 ? undoing : std::min(doomedLevel_, undoing);
            }
        }
        if (--transLevel_ < doomedLevel_) doomedLevel_ = 0;  // the level that had to undo it was undone
    } catch (const Error& e) {
        RecordError(e);
        throw;
    }
}

ColumnNames Connection::TableColumns(const std::string& table) {
    try {
        return GetDriver().TableColumns({{}, table});
    } catch (const Error& e) {
        RecordError(e);
        throw;
    }
}

std::optional<std::vector<std::string>> Connection::NullableColumnsWithDefault(const std::string& table) {
    try {
        return GetDriver().NullableColumnsWithDefault({{}, table});
    } catch (const Error& e) {
        RecordError(e);
        throw;
    }
}

std::shared_ptr<Recordset> Connection::Execute(const std::string& commandText, long* recordsAffected, long options) {
    return ExecuteWith(commandText, {}, recordsAffected, options);
}

std::shared_ptr<Recordset> Connection::ExecuteWith(const std::string& commandText,
                                                   const std::vector<BoundValue>& values, long* recordsAffected,
                                                   long options) {
    try {
        Driver& driver = DriverForStatement();
        // Values nearly always come positional only, for one statement: then they go to the driver as given.
        const bool anyNamed =
            std::any_of(values.begin(), values.end(), [](const BoundValue& v) { return !v.name.empty(); });
        std::vector<BoundValue> named;
        std::vector<BoundValue> split;
        if (anyNamed) {
            for (const BoundValue& v : values) (v.name.empty() ? split : named).push_back(v);
        }
        const std::vector<BoundValue>& positional = anyNamed ? split : values;

        std::optional<StatementResult> last;
        long affected = 0;
        std::size_t next = 0;  // '?' values are taken in order across the statements
        const bool asWritten = options != adOptionUnspecified && (options & adExecuteCommonSql) != 0;
        ForEachStatement(driver, commandText, asWritten, [&](const std::string& sql) {
            std::size_t wanted = 0;
            if (!positional.empty()) {
                wanted = static_cast<std::size_t>(driver.PositionalParameterCount(sql));
                if (next + wanted > positional.size())
                    throw Error(kParametersMissing, "No value given for one or more required parameters.", ado::kSource);
            }
            const bool whole = named.empty() && next == 0 && wanted == positional.size();
            std::vector<BoundValue> bound;
            if (!whole) {
                bound.reserve(named.size() + wanted);
                bound = named;
                bound.insert(bound.end(), positional.begin() + static_cast<long>(next),
                             positional.begin() + static_cast<long>(next + wanted));
            }
            next += wanted;
            StatementResult r = driver.Run(sql, whole ? positional : bound);
            affected += r.changes;
            if (r.hasRowSet) last = std::move(r);
        });
        if (recordsAffected) *recordsAffected = affected;
        if (options != adOptionUnspecified && (options & adExecuteNoRecords)) return nullptr;
        return Recordset::FromResult(last ? std::move(*last) : StatementResult{}, commandText, shared_from_this());
    } catch (const Error& e) {
        RecordError(e);
        throw;
    }
}

}  // namespace db
