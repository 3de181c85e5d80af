#pragma once
// The embedded default: a SQLite database (file or memory). Registers the SQLSERVER collation and the
// functions the T-SQL translation relies on, caches prepared statements, writes recordset rows and
// runs the registered stored procedures.
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "db/Driver.h"
#include "db/Error.h"
#include "db/sqlite/ColumnTypes.h"
#include "db/sqlite/LiteralShape.h"
#include "db/sqlite/StatementCache.h"

struct sqlite3;

namespace db::sqlite {

struct BoundLiterals;

class SqliteDriver : public Driver {
public:
    static inline const std::string kSource = "agganci.db.sqlite";

    SqliteDriver();
    ~SqliteDriver() override;

    // ":memory:" or a file path; a file database runs in WAL mode.
    void Open(const std::string& target) override;
    void Close() override;
    bool IsOpen() const override { return db_ != nullptr; }

    std::vector<std::string> Translate(const std::string& commandText) override;
    std::vector<std::string> AsWritten(const std::string& commandText) override;
    bool RunsAsWritten(const std::string& commandText) override;
    StatementResult Run(const std::string& sql, const std::vector<BoundValue>& values = {}) override;
    int PositionalParameterCount(const std::string& sql) override;
    void RunScript(const std::string& script) override;

    void Begin() override;
    void Commit() override;
    void Rollback() override;
    void Savepoint(const std::string& name) override;
    void ReleaseSavepoint(const std::string& name) override;
    void RollbackToSavepoint(const std::string& name) override;
    bool InTransaction() const override;

    std::vector<std::string> PrimaryKey(const TableRef& table) override;
    ColumnNames TableColumns(const TableRef& table) override;
    std::optional<std::vector<std::string>> NullableColumnsWithDefault(const TableRef& table) override;
    RowWriteResult WriteRow(const RowWrite& write) override;
    bool WritesInOneStatement(const RowWrite& write) override;
    void CallProcedure(Connection& connection, const std::string& name, Parameters& parameters) override;

    std::size_t CachedStatementCount() const override { return cache_.Size(); }
    const std::string& ErrorSource() const override { return kSource; }

    sqlite3* Handle() const { return db_; }

    // The error SQLite reports for the last call on db, naming the statement.
    static Error LastError(sqlite3* db, const std::string& sql);

private:
    void RequireOpen() const;
    void Configure(bool fileDatabase);
    void Control(const std::string& sql);  // transaction control: not counted for fault injection
    // Whether a result's columns are described (names, types, base table) or only its values read.
    enum class Columns { Described, ValuesOnly };
    StatementResult RunCounted(const std::string& sql, const std::vector<BoundValue>& values, Columns columns);
    StatementResult Execute(const std::string& sql, const std::vector<BoundValue>& values,
                            Columns columns = Columns::Described);
    StatementCache::Lease Prepare(const std::string& sql, BoundLiterals& literals, bool shapedByCaller);
    const BoundShape* KnownBinding(const std::string& sql) const;
    std::vector<Variant> ReadInserted(const RowWrite& write);
    const std::string& InsertText(const RowWrite& write, bool returning);
    void NoteSchemaChange(std::string_view sql);
    // Column names are kept while the schema version they were read under holds (see TableColumns).
    void ForgetColumns();
    void CheckSchemaVersion();
    static int OnCommit(void* driver);
    static void OnRollback(void* driver);
    const DeclaredType& DeclaredTypeOf(const char* declared);

    sqlite3* db_ = nullptr;
    StatementCache cache_;
    struct TableFacts {
        std::vector<std::string> primaryKey;
        bool hasRowid = true;
        bool hasTriggers = false;
        std::vector<std::string> nullableWithDefault;
    };
    bool InsertReturns(const RowWrite& w);
    TableFacts& Facts(const TableRef& table);
    std::unordered_map<std::string, TableFacts> tables_;  // by "schema.table"
    std::unordered_map<std::string, ColumnNames> columns_;  // by "schema.table"
    long long columnsSchemaVersion_ = -1;  // the schema version columns_ was read under; -1 unknown
    long long tablesSchemaVersion_ = -1;   // the schema version tables_ was read under
    bool columnsChecked_ = false;         // the version checked in the transaction now open
    // Registered procedures running: their statements stay on this side (SQL Server runs the procedure's
    // script), so they are not recorded as statements sent to it.
    int inProcedure_ = 0;
    std::unordered_map<std::string, DeclaredType> declaredTypes_;  // by the declared type's text
    static constexpr std::size_t kMaxInsertTexts = 256;
    std::unordered_map<std::string, std::string> insertTexts_;  // by table, columns written and read back
    // The statements of the last translation whose binding the memo knew, and their shape's values.
    struct KnownStatement {
        std::string sql;
        std::shared_ptr<const BoundShape> shape;
    };
    std::vector<KnownStatement> known_;
    std::vector<ShapedValue> knownValues_;
    class Translations;  // the T-SQL translation of command texts
    std::unique_ptr<Translations> translations_;
};

}  // namespace db::sqlite
