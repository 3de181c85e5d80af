#include "db/sqlite/SqliteDriver.h"
#include "db/sqlite/StatementRecorder.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
#include <utility>

#include "db/AdoErrors.h"
#include "db/FaultInjector.h"
#include "db/ProcedureRegistry.h"
#include "db/sqlite/BoundLiterals.h"
#include "db/sqlite/Collation.h"
#include "db/sqlite/ColumnTypes.h"
#include "db/sqlite/TsqlSqlFunctions.h"
#include "db/sqlite/TsqlTranslator.h"

namespace db::sqlite {

// One memo of translations per connection (the cache is not shared between threads).
class SqliteDriver::Translations : public TsqlTranslationCache {};

namespace {

// "CREATE TABLE tempdb.X ...", "DROP TABLE [IF EXISTS] tempdb.X": the forms the T-SQL adapter gives a
// temporary table's SELECT INTO and drop.
bool MakesOrDropsTempTable(std::string_view sql) {
    const std::string schema = std::string(kTempTablesSchema) + ".";
    for (std::string_view head : {"CREATE TABLE ", "DROP TABLE IF EXISTS ", "DROP TABLE "}) {
        const std::string prefix = std::string(head) + schema;
        if (sql.size() > prefix.size() &&
            sqlite3_strnicmp(sql.data(), prefix.data(), static_cast<int>(prefix.size())) == 0)
            return true;
    }
    return false;
}

// A key of the known tables ("schema.table") of a temporary table.
bool IsTempTablesKey(const std::string& key) {
    const std::size_t n = std::strlen(kTempTablesSchema);
    return key.size() > n && key[n] == '.' && sqlite3_strnicmp(key.data(), kTempTablesSchema, static_cast<int>(n)) == 0;
}

// Plain names stay plain, so that statements read as the schema spells them (and a test can match
// "INSERT INTO MG65_BARCODE"); anything else is quoted.
std::string QuoteIdentifier(const std::string& name) {
    bool plain = !name.empty() && !std::isdigit(static_cast<unsigned char>(name[0])) &&
                 !sqlite3_keyword_check(name.c_str(), static_cast<int>(name.size()));
    for (char c : name) plain = plain && (std::isalnum(static_cast<unsigned char>(c)) || c == '_');
    if (plain) return name;
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string Qualified(const TableRef& t) {
    if (t.schema.empty() || t.schema == "main") return QuoteIdentifier(t.name);
    return QuoteIdentifier(t.schema) + "." + QuoteIdentifier(t.name);
}

// "k1 = ? AND k2 IS NULL"; the values of the '?' markers are appended to bound.
std::string KeyCondition(const RowWrite& w, std::vector<BoundValue>& bound) {
    std::string where;
    for (std::size_t i = 0; i < w.keyColumns.size(); ++i) {
        if (!where.empty()) where += " AND ";
        if (w.keyValues[i].IsNull() || w.keyValues[i].IsEmpty()) {
            where += QuoteIdentifier(w.keyColumns[i]) + " IS NULL";
        } else {
            where += QuoteIdentifier(w.keyColumns[i]) + " = ?";
            bound.push_back({{}, w.keyValues[i]});
        }
    }
    if (where.empty()) where = "1 = 1";
    if (w.keyIsPrimary) return where;
    // No primary key to go by: the first row holding every value read is the one meant.
    return "_rowid_ = (SELECT _rowid_ FROM " + Qualified(w.table) + " WHERE " + where + " LIMIT 1)";
}

// Command parameters mark their places with '?' and @name, which the T-SQL translator does not take
// (to T-SQL they are no part of a statement). They cross the translation as calls of a function that
// exists nowhere and are put back afterwards; literals, quoted names and comments are left alone.
constexpr std::string_view kMarker = "agg_parameter_marker";

bool IdentifierChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

std::string ProtectMarkers(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        auto copyUntil = [&](std::size_t end) {
            end = std::min(end, text.size());
            out.append(text, i, end - i);
            i = end;
        };
        if (c == '\'' || c == '"' || c == '[') {
            const char close = c == '[' ? ']' : c;
            std::size_t j = i + 1;
            while (j < text.size() && text[j] != close) ++j;
            copyUntil(j + 1);  // a doubled quote is two literals in a row: same text
        } else if (c == '-' && i + 1 < text.size() && text[i + 1] == '-') {
            copyUntil(text.find('\n', i));
        } else if (c == '/' && i + 1 < text.size() && text[i + 1] == '*') {
            const std::size_t end = text.find("*/", i + 2);
            copyUntil(end == std::string::npos ? end : end + 2);
        } else if (c == '?') {
            out.append(kMarker).append("()");
            ++i;
        } else if (c == '@' && i + 1 < text.size() && IdentifierChar(text[i + 1]) && (i == 0 || text[i - 1] != '@')) {
            std::size_t j = i + 1;
            while (j < text.size() && IdentifierChar(text[j])) ++j;
            out.append(kMarker).append("_").append(text, i + 1, j - i - 1).append("()");
            i = j;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

std::string RestoreMarkers(std::string sql) {
    for (std::size_t at = sql.find(kMarker); at != std::string::npos; at = sql.find(kMarker, at)) {
        std::size_t j = at + kMarker.size();
        std::string marker = "?";
        if (j < sql.size() && sql[j] == '_') {
            const std::size_t nameStart = ++j;
            while (j < sql.size() && IdentifierChar(sql[j])) ++j;
            marker = "@" + sql.substr(nameStart, j - nameStart);
        }
        while (j < sql.size() && sql[j] == ' ') ++j;
        if (sql.compare(j, 2, "()") == 0) j += 2;
        sql.replace(at, j - at, marker);
        at += marker.size();
    }
    return sql;
}

bool IsPositional(sqlite3_stmt* stmt, int index) {
    const char* name = sqlite3_bind_parameter_name(stmt, index);
    return name == nullptr || name[0] == '?';
}

int NamedIndex(sqlite3_stmt* stmt, const std::string& name) {
    if (int i = sqlite3_bind_parameter_index(stmt, name.c_str()); i > 0) return i;
    if (!name.empty() && (name[0] == '@' || name[0] == ':' || name[0] == '$')) return 0;
    for (const char* prefix : {"@", ":", "$"}) {
        if (int i = sqlite3_bind_parameter_index(stmt, (prefix + name).c_str()); i > 0) return i;
    }
    return 0;
}

void Bind(sqlite3_stmt* stmt, const std::vector<BoundValue>& values) {
    const int count = sqlite3_bind_parameter_count(stmt);
    std::size_t next = 0;  // next positional value
    for (int i = 1; i <= count; ++i) {
        if (!IsPositional(stmt, i)) continue;
        while (next < values.size() && !values[next].name.empty()) ++next;
        if (next == values.size()) break;
        BindValue(stmt, i, values[next++].value);
    }
    for (const BoundValue& v : values) {
        if (v.name.empty()) continue;
        // A name the statement does not use belongs to another statement of the same batch.
        if (int i = NamedIndex(stmt, v.name); i > 0) BindValue(stmt, i, v.value);
    }
}

std::string StripOwner(const std::string& name) {
    for (const char* owner : {"dbo.", "[dbo]."}) {
        const std::size_t n = std::char_traits<char>::length(owner);
        if (name.size() > n) {
            bool same = true;
            for (std::size_t i = 0; i < n && same; ++i)
                same = std::tolower(static_cast<unsigned char>(name[i])) == owner[i];
            if (same) return name.substr(n);
        }
    }
    return name;
}

}  // namespace

SqliteDriver::SqliteDriver() : translations_(std::make_unique<Translations>()) {}

SqliteDriver::~SqliteDriver() { Close(); }

Error SqliteDriver::LastError(sqlite3* db, const std::string& sql) {
    const int code = sqlite3_extended_errcode(db);
    const long number = (code & 0xFF) == SQLITE_CONSTRAINT ? ado::IntegrityViolation : errc::ProviderError;
    std::string description = sqlite3_errmsg(db);
    if (!sql.empty()) description += " - statement: " + sql;
    return Error(number, description, kSource);
}

namespace {

// SQLite counts the memory it holds under a process-wide lock, taken on every allocation; nothing here reads
// the count. It can only be turned off before SQLite starts: when something in the process started it
// already, the count simply stays on.
void TurnOffMemoryCount() {
    static const int done = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    (void)done;
}

}  // namespace

void SqliteDriver::Open(const std::string& target) {
    if (db_) throw ado::OpenError();
    TurnOffMemoryCount();
    if (target.empty()) throw Error(errc::ProviderError, "No database named in the connection string", kSource);
    sqlite3* db = nullptr;
    // One connection serves one thread at a time (the component runs on one thread, the shell serialises
    // calls into it): SQLite need not lock the connection around every call.
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(target.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        Error e(errc::ProviderError,
                "Cannot open database '" + target + "': " + (db ? sqlite3_errmsg(db) : "out of memory"), kSource);
        sqlite3_close_v2(db);
        throw e;
    }
    db_ = db;
    cache_.Attach(db_);
    sqlite3_commit_hook(db_, &SqliteDriver::OnCommit, this);
    sqlite3_rollback_hook(db_, &SqliteDriver::OnRollback, this);
    try {
        Configure(target != ":memory:" && target.rfind("file::memory:", 0) != 0);
    } catch (...) {
        Close();
        throw;
    }
}

void SqliteDriver::Configure(bool fileDatabase) {
    sqlite3_extended_result_codes(db_, 1);
    sqlite3_busy_timeout(db_, 5000);
    RegisterCollation(db_);
    if (RegisterTsqlFunctions(db_) != SQLITE_OK) throw LastError(db_, "");
    // The ERP schema declares its references; enforcing them keeps a failed copy from leaving orphans.
    Control("PRAGMA foreign_keys = ON");
    // Statement and savepoint journals stay in memory: a copy of many small batches otherwise writes a
    // temporary file per batch. They only ever undo work of a transaction still open, so losing them in
    // a crash loses nothing committed.
    Control("PRAGMA temp_store = MEMORY");
    // The temporary tables of the T-SQL (#X, ##X) in a private in-memory database (kTempTablesSchema). A
    // dropped one gives its memory back (without auto_vacuum the pages stay with the connection as free
    // pages): a selection of every article of a company is dropped once it has been read.
    Control(std::string("ATTACH DATABASE ':memory:' AS ") + kTempTablesSchema);
    Control(std::string("PRAGMA ") + kTempTablesSchema + ".auto_vacuum = FULL");
    if (fileDatabase) {
        Execute("PRAGMA journal_mode = WAL", {});
        Control("PRAGMA synchronous = NORMAL");
        // Checkpoint every 16 MB of log instead of 4 MB: a long run commits thousands of small
        // transactions, and each checkpoint is done by the commit that crosses the mark. The log file
        // is cut back to 16 MB after a checkpoint so it does not keep its peak size.
        Execute("PRAGMA wal_autocheckpoint = 4000", {});
        Execute("PRAGMA journal_size_limit = 16777216", {});
    }
}

void SqliteDriver::Close() {
    if (!db_) return;
    cache_.Clear();
    tables_.clear();
    ForgetColumns();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

void SqliteDriver::RequireOpen() const {
    if (!db_) throw ado::ConnectionError();
}

std::vector<std::string> SqliteDriver::Translate(const std::string& commandText) {
    if (inProcedure_ == 0) RecordStatement(commandText);
    // Two searches for one character each: find_first_of would search the set for every character.
    const bool markers = commandText.find('?') != std::string::npos || commandText.find('@') != std::string::npos;
    TranslatedBatch batch = translations_->Translate(markers ? ProtectMarkers(commandText) : commandText);
    known_.clear();
    if (markers) {
        for (std::string& sql : batch.statements) sql = RestoreMarkers(std::move(sql));
    } else if (!batch.bound.empty()) {
        // Kept for Prepare, which then binds these statements without reading them again.
        for (std::size_t i = 0; i < batch.statements.size(); ++i)
            if (batch.bound[i]) known_.push_back({batch.statements[i], std::move(batch.bound[i])});
        knownValues_ = std::move(batch.values);
    }
    return std::move(batch.statements);
}

// Recorded as every text is, so that the statements sent to SQL Server are checked alike; its literals
// are bound from its text when it is prepared.
std::vector<std::string> SqliteDriver::AsWritten(const std::string& commandText) {
    RunsAsWritten(commandText);
    return {commandText};
}

bool SqliteDriver::RunsAsWritten(const std::string& commandText) {
    if (inProcedure_ == 0) RecordStatement(commandText);
    known_.clear();
    return true;
}

StatementResult SqliteDriver::Run(const std::string& sql, const std::vector<BoundValue>& values) {
    return RunCounted(sql, values, Columns::Described);
}

// A statement the caller sent: fault injection counts it.
StatementResult SqliteDriver::RunCounted(const std::string& sql, const std::vector<BoundValue>& values, Columns columns) {
    RequireOpen();
    if (faults_) faults_->BeforeStatement(sql);
    return Execute(sql, values, columns);
}

// The statement prepared with its string literals as parameters (BoundLiterals.h), ready to be bound;
// with its literals when it has none to bind or when binding them would rename a result column. A statement
// that comes with values of its own was shaped by its caller, markers where its values go: whatever
// literals it still has belong to that shape, and it is prepared as written.
StatementCache::Lease SqliteDriver::Prepare(const std::string& sql, BoundLiterals& literals, bool shapedByCaller) {
    if (shapedByCaller) return cache_.Acquire(sql);
    const std::string* bound = nullptr;
    if (const BoundShape* shape = KnownBinding(sql)) {
        if (auto values = BoundValues(*shape, knownValues_)) {
            literals.values = std::move(*values);
            bound = &shape->sql;
        }
    }
    if (!bound) {
        literals = BindLiterals(sql);
        if (literals.Rewritten()) bound = &literals.sql;
    }
    if (bound) {
        StatementCache::Lease lease = cache_.Acquire(*bound);
        ColumnNotes* notes = lease.Notes();
        bool renamed = notes && notes->renamesColumns == 1;
        if (!notes || notes->renamesColumns < 0) {
            for (int c = 0; c < sqlite3_column_count(lease.get()) && !renamed; ++c) {
                const char* name = sqlite3_column_name(lease.get(), c);
                renamed = name && std::strstr(name, kBoundLiteralPrefix + 1) != nullptr;
            }
            if (notes) notes->renamesColumns = renamed ? 1 : 0;
        }
        if (!renamed) return lease;
        literals = {};
    }
    return cache_.Acquire(sql);
}

// How the statement binds, when it is one the last translation returned and its shape's binding is known.
const BoundShape* SqliteDriver::KnownBinding(const std::string& sql) const {
    for (const KnownStatement& k : known_)
        if (k.sql == sql) return k.shape.get();
    return nullptr;
}

namespace {

// Binds the literals taken out of the statement's text. SQLite numbers parameters as they first appear and
// the literals are numbered in order, so literal k is parameter k + 1 unless markers stand before it: the
// numbers are checked by name (a name is found by a search through all of them, and a probe of many groups
// has dozens of literals), and a kept statement whose literals all follow one shift is checked once.
void BindLiteralValues(sqlite3_stmt* stmt, const BoundLiterals& literals, ColumnNotes* notes) {
    const bool known = notes && notes->literalShift > 0;
    int shift = known ? notes->literalShift : 1;
    bool uniform = true;
    for (std::size_t k = 0; k < literals.values.size(); ++k) {
        int index = static_cast<int>(k) + shift;
        if (!known) {
            const std::string name = kBoundLiteralPrefix + std::to_string(k);
            const char* named = sqlite3_bind_parameter_name(stmt, index);
            if (!named || name != named) {
                index = sqlite3_bind_parameter_index(stmt, name.c_str());
                uniform = uniform && k == 0;
                shift = index - static_cast<int>(k);
            }
        }
        const BoundLiteral& value = literals.values[k];
        // The texts live until the statement is reset, when the lease ends.
        if (value.number) sqlite3_bind_int64(stmt, index, value.integer);
        else sqlite3_bind_text(stmt, index, value.text.data(), static_cast<int>(value.text.size()), SQLITE_STATIC);
    }
    if (notes && !known && uniform && !literals.values.empty() && shift > 0) notes->literalShift = shift;
}

}  // namespace

StatementResult SqliteDriver::Execute(const std::string& sql, const std::vector<BoundValue>& values, Columns columns) {
    RequireOpen();
    NoteSchemaChange(sql);
    BoundLiterals literals;
    StatementCache::Lease lease = Prepare(sql, literals, !values.empty());
    sqlite3_stmt* stmt = lease.get();
    Bind(stmt, values);
    ColumnNotes* notes = lease.Notes();
    BindLiteralValues(stmt, literals, notes);

    // The first step comes before the columns are described: when the schema changed since the
    // statement was prepared (a temporary table dropped and made again with other columns), SQLite
    // prepares it anew inside that step.
    const sqlite3_int64 totalBefore = sqlite3_total_changes64(db_);
    int rc = sqlite3_step(stmt);
    StatementResult result;
    const int columnCount = sqlite3_column_count(stmt);
    result.hasRowSet = columnCount > 0;
    // A kept statement's columns are described once, and again only when SQLite prepared it anew.
    ColumnNotes scratch;
    if (!notes) notes = &scratch;
    const int reprepared = sqlite3_stmt_status(stmt, SQLITE_STMTSTATUS_REPREPARE, 0);
    if (notes->reprepared != reprepared || notes->columns.size() != static_cast<std::size_t>(columnCount)) {
        notes->columns.clear();
        notes->types.clear();
        for (int c = 0; c < columnCount; ++c) {
            notes->types.push_back(DeclaredTypeOf(sqlite3_column_decltype(stmt, c)));
            notes->columns.push_back(DescribeColumn(stmt, c, notes->types.back()));
        }
        notes->reprepared = reprepared;
    }
    const std::vector<DeclaredType>& types = notes->types;
    const bool described = columns == Columns::Described;
    if (described) result.columns = notes == &scratch ? std::move(scratch.columns) : notes->columns;
    std::vector<int> storage(static_cast<std::size_t>(columnCount), SQLITE_NULL);
    std::vector<Variant> row;  // one row's values on their way into the packed row
    row.reserve(static_cast<std::size_t>(columnCount));
    for (; rc == SQLITE_ROW; rc = sqlite3_step(stmt)) {
        row.clear();
        for (int c = 0; c < columnCount; ++c) {
            row.push_back(ReadValue(stmt, c, types[static_cast<std::size_t>(c)]));
            int& seen = storage[static_cast<std::size_t>(c)];
            if (seen == SQLITE_NULL) seen = sqlite3_column_type(stmt, c);
        }
        result.rows.emplace_back(row);
    }
    if (rc != SQLITE_DONE) throw LastError(db_, sql);
    // sqlite3_changes keeps the count of the last DML statement; only trust it when this one changed rows.
    if (sqlite3_total_changes64(db_) != totalBefore) result.changes = static_cast<long>(sqlite3_changes64(db_));
    for (int c = 0; c < columnCount && described; ++c) {
        // An expression's type is what this run stored: the kept description stays as it was.
        if (types[static_cast<std::size_t>(c)].kind == ValueKind::Unknown)
            result.columns.Edit(static_cast<std::size_t>(c)).type =
                TypeFromStorage(storage[static_cast<std::size_t>(c)]);
    }
    return result;
}

// A schema declares few distinct types; each is parsed once.
const DeclaredType& SqliteDriver::DeclaredTypeOf(const char* declared) {
    static const DeclaredType kExpression{};
    if (!declared || !*declared) return kExpression;
    auto [it, added] = declaredTypes_.try_emplace(declared);
    if (added) it->second = ParseDeclaredType(declared);
    return it->second;
}

// Asked of each statement of a batch sent with positional values: prepared as Execute prepares a statement
// with values (one of them without markers then runs without values, prepared apart).
int SqliteDriver::PositionalParameterCount(const std::string& sql) {
    RequireOpen();
    StatementCache::Lease lease = cache_.Acquire(sql);
    int n = 0;
    for (int i = 1; i <= sqlite3_bind_parameter_count(lease.get()); ++i) n += IsPositional(lease.get(), i) ? 1 : 0;
    return n;
}

void SqliteDriver::RunScript(const std::string& script) {
    RequireOpen();
    tables_.clear();
    ForgetColumns();
    const char* next = script.c_str();
    while (*next) {
        sqlite3_stmt* stmt = nullptr;
        const char* tail = nullptr;
        const char* start = next;
        if (sqlite3_prepare_v2(db_, next, -1, &stmt, &tail) != SQLITE_OK) {
            throw LastError(db_, std::string(start, std::min<std::size_t>(std::strlen(start), 400)));
        }
        next = tail;
        if (!stmt) continue;  // blanks or a comment
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            Error e = LastError(db_, std::string(start, static_cast<std::size_t>(tail - start)));
            sqlite3_finalize(stmt);
            throw e;
        }
        sqlite3_finalize(stmt);
    }
}

// Prepared once and kept like any statement: a batch of rows opens and releases a savepoint each time.
void SqliteDriver::Control(const std::string& sql) {
    RequireOpen();
    StatementCache::Lease lease = cache_.Acquire(sql);
    int rc;
    while ((rc = sqlite3_step(lease.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) throw LastError(db_, sql);
}

// IMMEDIATE takes the write lock at once: two writers then wait on each other (busy timeout) instead
// of failing when a reader tries to become a writer.
void SqliteDriver::Begin() {
    // A transaction that only read calls no commit hook: each one checks the schema version anew.
    columnsChecked_ = false;
    Control("BEGIN IMMEDIATE");
}
void SqliteDriver::Commit() { Control("COMMIT"); }
void SqliteDriver::Rollback() { Control("ROLLBACK"); }
void SqliteDriver::Savepoint(const std::string& name) {
    if (!InTransaction()) columnsChecked_ = false;  // a savepoint outside a transaction begins one
    Control("SAVEPOINT " + QuoteIdentifier(name));
}
void SqliteDriver::ReleaseSavepoint(const std::string& name) { Control("RELEASE SAVEPOINT " + QuoteIdentifier(name)); }
void SqliteDriver::RollbackToSavepoint(const std::string& name) {
    // What the savepoint undoes may have been a schema change.
    ForgetColumns();
    Control("ROLLBACK TO SAVEPOINT " + QuoteIdentifier(name));
}
bool SqliteDriver::InTransaction() const { return db_ && sqlite3_get_autocommit(db_) == 0; }

// Every recordset opened for writing asks for its table's key, every row it inserts for its triggers: both
// are kept until the schema may have changed.
SqliteDriver::TableFacts& SqliteDriver::Facts(const TableRef& table) {
    CheckSchemaVersion();
    std::string id = table.schema + '.' + table.name;
    if (auto known = tables_.find(id); known != tables_.end()) return known->second;
    TableFacts facts;
    const Variant schema = table.schema.empty() ? Variant::Null() : Variant(table.schema);
    StatementResult key = Execute("SELECT name FROM pragma_table_info(?, ?) WHERE pk > 0 ORDER BY pk",
                                  {{{}, Variant(table.name)}, {{}, schema}});
    for (const auto& row : key.rows) facts.primaryKey.push_back(row[0].CStr());
    const std::string master = table.schema.empty() || table.schema == "main" ? "sqlite_schema"
                               : table.schema == "temp"                     ? "sqlite_temp_schema"
                                                                            : QuoteIdentifier(table.schema) + ".sqlite_schema";
    StatementResult triggers = Execute("SELECT COUNT(*) FROM " + master + " WHERE type = 'trigger' AND tbl_name = ?",
                                       {{{}, Variant(table.name)}});
    facts.hasTriggers = !triggers.rows.empty() && triggers.rows.front()[0].CLng() > 0;
    StatementResult defaulted = Execute(
        "SELECT name FROM pragma_table_info(?, ?) WHERE \"notnull\" = 0 AND dflt_value IS NOT NULL",
        {{{}, Variant(table.name)}, {{}, schema}});
    for (const auto& row : defaulted.rows) facts.nullableWithDefault.push_back(row[0].CStr());
    const char* schemaName = table.schema.empty() ? nullptr : table.schema.c_str();
    facts.hasRowid = sqlite3_table_column_metadata(db_, schemaName, table.name.c_str(), "_rowid_", nullptr, nullptr,
                                                   nullptr, nullptr, nullptr) == SQLITE_OK;
    return tables_.emplace(std::move(id), std::move(facts)).first->second;
}

std::vector<std::string> SqliteDriver::PrimaryKey(const TableRef& table) { return Facts(table).primaryKey; }

// Outside a transaction the names come from a kept statement: its step reads no row, but SQLite prepares it
// anew when any connection changed the schema since, so the names are never stale. Inside one, a copy asks
// for the columns of every table it writes: the names are kept, and the transaction's first question reads
// the schema version, which every change of the schema by any connection moves on; while the transaction is
// open no other connection changes the schema this one sees. Tables of attached databases are always read.
ColumnNames SqliteDriver::TableColumns(const TableRef& table) {
    RequireOpen();
    const bool keep = InTransaction() && (table.schema.empty() || table.schema == "main" || table.schema == "temp");
    const std::string id = table.schema + '.' + table.name;
    if (keep) {
        CheckSchemaVersion();
        if (const auto known = columns_.find(id); known != columns_.end()) return known->second;
    }
    const std::string sql = "SELECT * FROM " + Qualified(table) + " WHERE 0 = 1";
    StatementCache::Lease lease = cache_.Acquire(sql);
    sqlite3_stmt* stmt = lease.get();
    if (sqlite3_step(stmt) != SQLITE_DONE) throw LastError(db_, sql);
    auto names = std::make_shared<std::vector<std::string>>();
    names->reserve(static_cast<std::size_t>(sqlite3_column_count(stmt)));
    for (int c = 0; c < sqlite3_column_count(stmt); ++c) names->emplace_back(sqlite3_column_name(stmt, c));
    if (keep) columns_.emplace(id, names);
    return names;
}

// Another connection may change the schema between two of this one's transactions: what is kept of the tables
// goes when the schema version moved on. Inside a transaction the version is read once.
void SqliteDriver::CheckSchemaVersion() {
    const bool inTransaction = InTransaction();
    if (inTransaction && columnsChecked_) return;
    StatementCache::Lease version = cache_.Acquire("PRAGMA schema_version");
    if (sqlite3_step(version.get()) != SQLITE_ROW) throw LastError(db_, "PRAGMA schema_version");
    const long long now = sqlite3_column_int64(version.get(), 0);
    if (now != columnsSchemaVersion_) columns_.clear();
    // Kept apart from the names' version, which this connection's own changes forget: those already dropped
    // what they made stale, and a temporary table does not move the version.
    if (now != tablesSchemaVersion_) tables_.clear();
    columnsSchemaVersion_ = tablesSchemaVersion_ = now;
    columnsChecked_ = inTransaction;
}

void SqliteDriver::ForgetColumns() {
    columns_.clear();
    columnsSchemaVersion_ = -1;
    columnsChecked_ = false;
}

// A new transaction checks the schema version again.
int SqliteDriver::OnCommit(void* driver) {
    static_cast<SqliteDriver*>(driver)->columnsChecked_ = false;
    return 0;  // the commit goes ahead
}

// A rolled-back transaction may have changed the schema and had its names kept.
void SqliteDriver::OnRollback(void* driver) { static_cast<SqliteDriver*>(driver)->ForgetColumns(); }

std::optional<std::vector<std::string>> SqliteDriver::NullableColumnsWithDefault(const TableRef& table) {
    RequireOpen();
    return Facts(table).nullableWithDefault;
}

// A statement that creates, drops or alters a table forgets what is known of every table (a temporary table
// made again may have another key).
void SqliteDriver::NoteSchemaChange(std::string_view sql) {
    if (tables_.empty() && columns_.empty()) return;
    std::size_t i = 0;
    while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
    const std::string_view head = sql.substr(i, 8);
    // A rollback to a savepoint may undo a schema change.
    for (std::string_view verb : {"CREATE", "DROP", "ALTER", "ROLLBACK"}) {
        if (head.size() >= verb.size() && sqlite3_strnicmp(head.data(), verb.data(), static_cast<int>(verb.size())) == 0) {
            // A temporary table leaves the company's tables as they were: only what is known of temporary
            // tables goes. The column names kept in the transaction go in any case (a bare name may be a
            // temporary table's).
            if (MakesOrDropsTempTable(sql.substr(i)))
                std::erase_if(tables_, [](const auto& known) { return IsTempTablesKey(known.first); });
            else
                tables_.clear();
            ForgetColumns();
            return;
        }
    }
}

RowWriteResult SqliteDriver::WriteRow(const RowWrite& w) {
    std::vector<BoundValue> bound;
    std::string sql;
    bool returning = false;
    switch (w.kind) {
    case RowWrite::Kind::Insert:
        returning = InsertReturns(w);
        sql = InsertText(w, returning);
        bound.reserve(w.setColumns.size());
        for (std::size_t i = 0; i < w.setColumns.size(); ++i) bound.push_back({{}, w.setValues[i]});
        break;
    case RowWrite::Kind::Update: {
        std::string sets;
        for (std::size_t i = 0; i < w.setColumns.size(); ++i) {
            sets += (i ? ", " : "") + QuoteIdentifier(w.setColumns[i]) + " = ?";
            bound.push_back({{}, w.setValues[i]});
        }
        sql = "UPDATE " + Qualified(w.table) + " SET " + sets + " WHERE " + KeyCondition(w, bound);
        break;
    }
    case RowWrite::Kind::Delete:
        sql = "DELETE FROM " + Qualified(w.table) + " WHERE " + KeyCondition(w, bound);
        break;
    }

    StatementResult r = RunCounted(sql, bound, Columns::ValuesOnly);
    if (w.kind != RowWrite::Kind::Insert && r.changes == 0) {
        throw Error(ado::RowNotFound,
                    std::string("Row cannot be located for ") + (w.kind == RowWrite::Kind::Delete ? "deletion" : "updating") +
                        ". Some values may have been changed since it was last read. - statement: " + sql,
                    kSource);
    }
    RowWriteResult out;
    if (returning && !r.rows.empty()) out.readBack = r.rows.front().Unpack();
    else if (w.kind == RowWrite::Kind::Insert && !w.readBack.empty()) out.readBack = ReadInserted(w);
    return out;
}

// The new row as the database made it (defaults, identities) comes back with the insert itself; a trigger
// could still change it afterwards, so then it is read again once written, in a statement of its own.
bool SqliteDriver::InsertReturns(const RowWrite& w) { return !w.readBack.empty() && !Facts(w.table).hasTriggers; }

bool SqliteDriver::WritesInOneStatement(const RowWrite& w) {
    return w.kind != RowWrite::Kind::Insert || w.readBack.empty() || InsertReturns(w);
}

// "INSERT INTO T (a, b) VALUES (?, ?) [RETURNING ...]". A batch writes the same columns row after row: the
// text is made once per column list. It depends on nothing but the names, so it never goes stale.
const std::string& SqliteDriver::InsertText(const RowWrite& w, bool returning) {
    std::string key = w.table.schema + '.' + w.table.name + (returning ? "\x1eR" : "\x1e");
    for (const std::string& c : w.setColumns) key.append(c).push_back('\x1f');
    key.push_back('\x1e');
    if (returning)
        for (const std::string& c : w.readBack) key.append(c).push_back('\x1f');
    if (auto known = insertTexts_.find(key); known != insertTexts_.end()) return known->second;

    std::string sql;
    if (w.setColumns.empty()) {
        sql = "INSERT INTO " + Qualified(w.table) + " DEFAULT VALUES";
    } else {
        std::string names, markers;
        for (std::size_t i = 0; i < w.setColumns.size(); ++i) {
            names += (i ? ", " : "") + QuoteIdentifier(w.setColumns[i]);
            markers += i ? ", ?" : "?";
        }
        sql = "INSERT INTO " + Qualified(w.table) + " (" + names + ") VALUES (" + markers + ")";
    }
    if (returning) {
        std::string list;
        for (std::size_t i = 0; i < w.readBack.size(); ++i) list += (i ? ", " : "") + QuoteIdentifier(w.readBack[i]);
        sql += " RETURNING " + list;
    }
    if (insertTexts_.size() >= kMaxInsertTexts) insertTexts_.clear();
    return insertTexts_.emplace(std::move(key), std::move(sql)).first->second;
}

// The new row as the database made it (defaults, identities), found by its rowid; a table without
// rowid is found by the key values the insert gave.
std::vector<Variant> SqliteDriver::ReadInserted(const RowWrite& w) {
    std::string list;
    for (std::size_t i = 0; i < w.readBack.size(); ++i) list += (i ? ", " : "") + QuoteIdentifier(w.readBack[i]);
    std::string sql = "SELECT " + list + " FROM " + Qualified(w.table) + " WHERE ";
    std::vector<BoundValue> bound;

    if (Facts(w.table).hasRowid) {
        sql += "_rowid_ = ?";
        bound.push_back({{}, Variant(static_cast<long long>(sqlite3_last_insert_rowid(db_)))});
    } else {
        std::string where;
        for (const std::string& key : PrimaryKey(w.table)) {
            std::size_t i = 0;
            while (i < w.setColumns.size() && sqlite3_stricmp(w.setColumns[i].c_str(), key.c_str()) != 0) ++i;
            if (i == w.setColumns.size()) return {};  // key made by the database: cannot find the row
            where += (where.empty() ? "" : " AND ") + QuoteIdentifier(key) + " = ?";
            bound.push_back({{}, w.setValues[i]});
        }
        if (where.empty()) return {};
        sql += where;
    }
    StatementResult r = Run(sql, bound);
    if (r.rows.empty()) return {};
    return r.rows.front().Unpack();
}

void SqliteDriver::CallProcedure(Connection& connection, const std::string& name, Parameters& parameters) {
    RequireOpen();
    if (faults_) faults_->BeforeStatement("EXECUTE " + name);
    const StoredProcedure* procedure = FindProcedure(StripOwner(name));
    if (!procedure) {
        throw Error(ado::ProcedureNotFound, "Could not find stored procedure '" + name + "'.", kSource);
    }
    // A procedure is one unit: when it fails half-way, what it wrote is undone.
    SavepointScope scope(*this, "agg_procedure");
    struct Inside {
        int& depth;
        explicit Inside(int& d) : depth(++d) {}
        ~Inside() { --depth; }
    } inside(inProcedure_);
    (*procedure)(connection, parameters);
    scope.Release();
}

}  // namespace db::sqlite
