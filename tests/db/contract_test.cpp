// The data-access contract, written once and run against every driver: the SQLite driver, and the ODBC
// driver through the unixODBC driver manager with the SQLite ODBC driver (Debian's libsqliteodbc).
// Statements here are the SQL both accept; what only one driver does is tested beside it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "db/AdoErrors.h"
#include "db/Command.h"
#include "db/CommonSql.h"
#include "db/Connection.h"
#include "db/Driver.h"
#include "db/ProcedureRegistry.h"
#include "db/Quote.h"
#include "db/Recordset.h"

namespace db {
namespace {

using ::testing::HasSubstr;

struct Backend {
    std::string name;
    std::string scheme;      // connection string before the file's path
    std::string collation;   // of text columns: SQL Server's where the driver registers it
    std::string errorSource;
    bool batches;  // several statements in one text (the SQLite ODBC driver takes one at a time)
    // The SQLite ODBC driver reports NUMERIC as DOUBLE, NVARCHAR as VARCHAR and a column's alias as its base
    // column; SQL Server's driver and the SQLite driver report what was declared.
    bool declaredTypes;
    friend void PrintTo(const Backend& b, std::ostream* os) { *os << b.name; }
};

const Backend kSqlite{"sqlite", "sqlite:", "COLLATE SQLSERVER", "agganci.db.sqlite", true, true};
const Backend kOdbc{"odbc", "odbc:Driver=SQLite3;Database=", "COLLATE NOCASE", "agganci.db.odbc", false, false};

class Contract : public ::testing::TestWithParam<Backend> {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = info->name();
        std::replace(name.begin(), name.end(), '/', '-');
        path_ = std::filesystem::temp_directory_path() /
                ("contract-" + std::to_string(::getpid()) + "-" + name + ".db");
        Remove();
        conn = Connection::Create();
        conn->Open(Target());
        const std::string c = GetParam().collation;
        conn->GetDriver().RunScript(
            "CREATE TABLE ART (ID INTEGER PRIMARY KEY, CODE VARCHAR(10) " + c + " NOT NULL,"
            " QTY NUMERIC(9,2) NOT NULL DEFAULT 7.5, NOTE NVARCHAR(20) " + c + " DEFAULT 'none',"
            " GUID VARCHAR(36) NOT NULL DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(6))),"
            " FLAG SMALLINT NOT NULL DEFAULT 0, MADE DATETIME);"
            "CREATE TABLE LOOKUP (CODE VARCHAR(10) " + c + " PRIMARY KEY, DESCR VARCHAR(20));"
            "CREATE TABLE LOOSE (CODE VARCHAR(10) " + c + ", SEL NUMERIC(1,0));"
            "CREATE TABLE CHILD (ID INTEGER PRIMARY KEY, ART_ID INTEGER NOT NULL REFERENCES ART (ID))");
    }
    void TearDown() override {
        conn.reset();
        Remove();
    }
    void Remove() {
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) std::filesystem::remove(path_.string() + suffix);
    }
    std::string Target() const { return GetParam().scheme + path_.string(); }

    long Count(const std::string& where = "1=1", const std::string& table = "ART") {
        return Scalar("SELECT COUNT(*) FROM " + table + " WHERE " + where).CLng();
    }
    Variant Scalar(const std::string& sql) { return conn->Execute(sql)->GetFields()[0L].Value(); }
    RecordsetPtr OpenRs(const std::string& sql, long lock = adLockUnspecified) {
        auto rs = Recordset::Create();
        rs->Open(sql, conn, adOpenUnspecified, lock, adOptionUnspecified);
        return rs;
    }
    // A new row with these values, its edit ended.
    static void AddRow(Recordset& rs, std::initializer_list<std::pair<const char*, Variant>> values) {
        rs.AddNew();
        for (const auto& [name, value] : values) rs[name].Value(value);
        rs.Update();
    }
    void Seed() {
        conn->Execute("INSERT INTO ART (ID, CODE, QTY, NOTE) VALUES (1, 'A1', 1, 'one'), (2, 'B2', 2, 'two'), "
                      "(3, 'C3', 3, 'three')");
    }
    template <class F>
    Error Raised(F&& f) {
        try {
            f();
        } catch (const Error& e) {
            return e;
        }
        ADD_FAILURE() << "no error raised";
        return Error(0, "", "");
    }

    std::filesystem::path path_;
    ConnectionPtr conn;
};

// --- the connection ---------------------------------------------------------------------------------

TEST_P(Contract, ConnectionStateBatchesAndErrorsNamingTheStatement) {
    EXPECT_EQ(conn->State(), adStateOpen);
    EXPECT_EQ(Raised([&] { conn->Open(Target()); }).Number(), ado::ObjectOpen);

    long affected = -1;
    const std::string insert = "INSERT INTO ART (ID, CODE) VALUES (1, 'x'), (2, 'y'), (3, 'z')";
    const std::string select = "SELECT CODE FROM ART WHERE ID > 0 ORDER BY ID";
    auto rs = GetParam().batches ? conn->Execute(insert + ";\r\n" + select, &affected)
                                 : (conn->Execute(insert, &affected), conn->Execute(select));
    EXPECT_EQ(affected, 3);
    ASSERT_EQ(rs->State(), adStateOpen);
    EXPECT_EQ(rs->RecordCount(), 3) << "a client cursor counts its rows";
    EXPECT_EQ((*rs)["CODE"].Value().CStr(), "x");

    auto none = conn->Execute("DELETE FROM ART WHERE ID = 3", &affected);
    EXPECT_EQ(affected, 1);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->RecordCount(), 0);
    EXPECT_EQ(conn->Execute("DELETE FROM ART", nullptr, adCmdText | adExecuteNoRecords), nullptr);
    EXPECT_EQ(Count(), 0);

    // An error names the statement, and the connection goes on.
    const std::string before = "INSERT INTO ART (ID, CODE) VALUES (1, 'x')";
    if (!GetParam().batches) conn->Execute(before);
    const Error e = Raised([&] { conn->Execute((GetParam().batches ? before + "; " : "") + "SELECT NOPE FROM ART"); });
    EXPECT_EQ(e.Source(), GetParam().errorSource);
    EXPECT_THAT(e.Description(), HasSubstr("NOPE"));
    ASSERT_EQ(conn->Errors().size(), 1u);
    EXPECT_EQ(conn->Errors()[0].Description(), e.Description());
    EXPECT_EQ(Count(), 1) << "statements before the failing one ran";
    EXPECT_THAT(Raised([&] { conn->Execute("INSERT INTO ART (ID, CODE) VALUES (1, 'again')"); }).Description(),
                HasSubstr("VALUES (1, 'again')"));
    EXPECT_EQ(Count(), 1);

    conn->Close();
    EXPECT_EQ(conn->State(), adStateClosed);
    EXPECT_THROW(conn->Execute("SELECT 1"), Error);
}

// Nullable columns with a default: an insert that gives them Null keeps the Null; one that leaves them out
// gets the default.
TEST_P(Contract, ColumnsAndDefaultsAreReadAsTheSchemaChanges) {
    conn->GetDriver().RunScript("CREATE TABLE DEFAULTS (A INTEGER NOT NULL DEFAULT 1, B TEXT DEFAULT 'x', C TEXT)");
    const auto named = conn->NullableColumnsWithDefault("DEFAULTS");
    if (GetParam().name == "odbc") {
        EXPECT_FALSE(named.has_value());  // not told: the engine then copies such tables row by row
    } else {
        ASSERT_TRUE(named.has_value());
        EXPECT_EQ(*named, std::vector<std::string>{"B"});
        conn->Execute("DROP TABLE DEFAULTS");
        conn->Execute("CREATE TABLE DEFAULTS (B TEXT, D INT DEFAULT 0)");
        EXPECT_EQ(conn->NullableColumnsWithDefault("DEFAULTS"), std::vector<std::string>{"D"});
    }

    const std::vector<std::string> before{"CODE", "SEL"};
    EXPECT_EQ(*conn->TableColumns("LOOSE"), before);
    EXPECT_EQ(*conn->TableColumns("LOOSE"), before);
    EXPECT_THROW(conn->TableColumns("NO_SUCH_TABLE"), Error);
    // The SQLite ODBC driver describes a statement from the schema its connection loaded before it runs;
    // SQL Server's and the SQLite driver see the change.
    if (GetParam().name == "odbc") return;
    auto other = Connection::Create();
    other->Open(Target());
    other->GetDriver().RunScript("ALTER TABLE LOOSE ADD EXTRA INT");
    const std::vector<std::string> after{"CODE", "SEL", "EXTRA"};
    EXPECT_EQ(*conn->TableColumns("LOOSE"), after);
    // So are the defaults another connection gives a table, also once a transaction has begun.
    other->GetDriver().RunScript("ALTER TABLE DEFAULTS ADD E INT DEFAULT 5");
    EXPECT_EQ(conn->NullableColumnsWithDefault("DEFAULTS"), (std::vector<std::string>{"D", "E"}));
    other->GetDriver().RunScript("ALTER TABLE DEFAULTS ADD F INT DEFAULT 6");
    conn->BeginTrans();
    EXPECT_EQ(conn->NullableColumnsWithDefault("DEFAULTS"), (std::vector<std::string>{"D", "E", "F"}));
    conn->CommitTrans();
    // A transaction begun by a savepoint that only read: the next one still checks.
    conn->GetDriver().Savepoint("reading");
    EXPECT_EQ(conn->NullableColumnsWithDefault("DEFAULTS"), (std::vector<std::string>{"D", "E", "F"}));
    conn->GetDriver().ReleaseSavepoint("reading");
    other->GetDriver().RunScript("ALTER TABLE DEFAULTS ADD G INT DEFAULT 7");
    conn->BeginTrans();
    EXPECT_EQ(conn->NullableColumnsWithDefault("DEFAULTS"), (std::vector<std::string>{"D", "E", "F", "G"}));
    conn->CommitTrans();

    // Kept inside a transaction; the next one sees what another connection changed in between.
    conn->BeginTrans();
    EXPECT_EQ(*conn->TableColumns("LOOSE"), after);
    conn->CommitTrans();
    other->GetDriver().RunScript("ALTER TABLE LOOSE ADD LATER INT");
    conn->BeginTrans();
    const std::vector<std::string> later{"CODE", "SEL", "EXTRA", "LATER"};
    EXPECT_EQ(*conn->TableColumns("LOOSE"), later);
    // A change of its own, undone with its savepoint or its transaction, is forgotten with it.
    conn->GetDriver().Savepoint("undone");
    conn->Execute("ALTER TABLE LOOSE ADD GONE INT", nullptr, kCommonSqlText | adExecuteNoRecords);
    EXPECT_EQ(conn->TableColumns("LOOSE")->back(), "GONE");
    conn->GetDriver().RollbackToSavepoint("undone");
    EXPECT_EQ(*conn->TableColumns("LOOSE"), later);
    conn->Execute("ALTER TABLE LOOSE ADD GONE INT", nullptr, kCommonSqlText | adExecuteNoRecords);
    EXPECT_EQ(conn->TableColumns("LOOSE")->back(), "GONE");
    conn->RollbackTrans();
    conn->BeginTrans();
    EXPECT_EQ(*conn->TableColumns("LOOSE"), later);
    conn->RollbackTrans();
}

TEST_P(Contract, NestedTransactionsAreSavepoints) {
    EXPECT_EQ(conn->BeginTrans(), 1);
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (1, 'outer')");
    EXPECT_EQ(conn->BeginTrans(), 2);
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (2, 'inner')");
    conn->RollbackTrans();
    EXPECT_EQ(conn->TransactionLevel(), 1);
    EXPECT_EQ(conn->BeginTrans(), 2);
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (3, 'kept')");
    conn->CommitTrans();
    conn->CommitTrans();
    EXPECT_EQ(conn->TransactionLevel(), 0);
    EXPECT_EQ(Count("ID IN (1, 3)"), 2);
    EXPECT_EQ(Count(), 2);

    // The outer level undoes what inner levels committed.
    conn->BeginTrans();
    conn->BeginTrans();
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (4, 'x')");
    conn->CommitTrans();
    conn->RollbackTrans();
    EXPECT_EQ(Count(), 2);

    EXPECT_EQ(Raised([&] { conn->CommitTrans(); }).Number(), ado::NoTransaction);
    EXPECT_THROW(conn->RollbackTrans(), Error);

    // Closing with a transaction open rolls it back.
    conn->BeginTrans();
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (5, 'lost')");
    conn->Close();
    conn->Open(Target());
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(conn->TransactionLevel(), 0);
}

// A database that ends a transaction on its own (a deadlock victim, a full disk) leaves autocommit behind: a
// statement run then would be committed alone, a piece of an article its caller takes for undone.
TEST_P(Contract, ATransactionTheDatabaseEndedRunsNothingMoreUntilRolledBack) {
    auto rs = OpenRs("SELECT * FROM ART", adLockOptimistic);
    conn->BeginTrans();
    conn->BeginTrans();
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (1, 'undone')");
    conn->GetDriver().Rollback();  // as the driver does when the database reports it rolled back
    const std::string refused =
        "The transaction was rolled back by the database: no statement runs in it until RollbackTrans.";
    EXPECT_EQ(Raised([&] { conn->Execute("INSERT INTO ART (ID, CODE) VALUES (2, 'alone')"); }).Description(), refused);
    EXPECT_EQ(Raised([&] { AddRow(*rs, {{"ID", 3L}, {"CODE", "alone"}}); }).Description(), refused);
    EXPECT_EQ(Raised([&] { OpenRs("SELECT * FROM ART"); }).Description(), refused);
    EXPECT_EQ(Raised([&] { conn->BeginTrans(); }).Description(), refused);
    EXPECT_EQ(conn->TransactionLevel(), 2);
    conn->RollbackTrans();
    EXPECT_EQ(Raised([&] { conn->CommitTrans(); }).Description(),
              "The transaction was rolled back by the database before CommitTrans: nothing was committed.");
    EXPECT_EQ(conn->TransactionLevel(), 0);
    EXPECT_EQ(Count(), 0);
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (4, 'later')");
    EXPECT_EQ(Count(), 1);
}

// The level of work that is only ever kept or undone with the transaction around it.
TEST_P(Contract, ALevelWithoutASavepointIsUndoneOnlyWithItsTransactionAndStaysDoomedWhenItCannotBe) {
    conn->BeginTrans();
    EXPECT_EQ(conn->BeginTrans(LevelUndo::WithTransaction), 2);
    EXPECT_THROW(conn->GetDriver().RollbackToSavepoint("agg_trans_2"), Error);  // none was made
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (1, 'kept')");
    conn->CommitTrans();
    conn->CommitTrans();
    EXPECT_EQ(Count(), 1);

    // Rolled back, it dooms the transaction: its work stays until the transaction ends, which cannot commit.
    conn->BeginTrans();
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (2, 'before')");
    conn->BeginTrans(LevelUndo::WithTransaction);
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (3, 'inside')");
    EXPECT_EQ(conn->BeginTrans(), 3);  // a savepoint inside it still undoes its own work
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (4, 'undone')");
    conn->RollbackTrans();
    EXPECT_EQ(Count("ID = 4"), 0);
    conn->RollbackTrans();
    EXPECT_EQ(conn->TransactionLevel(), 1);
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (5, 'after')");
    EXPECT_THAT(Raised([&] { conn->CommitTrans(); }).Description(), HasSubstr("nothing of it was committed"));
    EXPECT_EQ(conn->TransactionLevel(), 0);
    EXPECT_EQ(Count(), 1);

    // The next transaction is not doomed; a doomed one rolled back reports nothing.
    conn->BeginTrans();
    conn->BeginTrans(LevelUndo::WithTransaction);
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (6, 'lost')");
    conn->RollbackTrans();
    conn->RollbackTrans();
    conn->BeginTrans();
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (7, 'next')");
    conn->CommitTrans();
    EXPECT_EQ(Count("ID IN (1, 7)"), 2);
    EXPECT_EQ(Count(), 2);

    // Inside a savepoint, that level undoes it: rolled back, the transaction goes on; committed, it fails and
    // is rolled back, and the transaction goes on without it.
    conn->BeginTrans();
    for (const bool commit : {false, true}) {
        EXPECT_EQ(conn->BeginTrans(), 2);
        conn->BeginTrans(LevelUndo::WithTransaction);
        conn->Execute("INSERT INTO ART (ID, CODE) VALUES (8, 'gone')");
        conn->RollbackTrans();
        if (commit) {
            EXPECT_THAT(Raised([&] { conn->CommitTrans(); }).Description(), HasSubstr("nothing of it was committed"));
        } else {
            conn->RollbackTrans();
        }
        EXPECT_EQ(conn->TransactionLevel(), 1);
        EXPECT_EQ(Count("ID = 8"), 0);
    }
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (9, 'kept')");
    conn->CommitTrans();
    EXPECT_EQ(Count(), 3);

    // When the database cannot undo a doomed level, the level stays open and doomed: no later commit keeps
    // its work, and the connection's levels stay in step with the database. Here a level without a savepoint
    // writes a row and is rolled back; the commit around it cannot undo it.
    auto doomWithFailingUndo = [&](int id) {
        conn->BeginTrans(LevelUndo::WithTransaction);
        conn->Execute("INSERT INTO ART (ID, CODE) VALUES (" + std::to_string(id) + ", 'never')");
        conn->RollbackTrans();
        conn->Faults().FailNextUndo();
        EXPECT_EQ(Raised([&] { conn->CommitTrans(); }).Number(), errc::InjectedFault);
    };
    conn->BeginTrans();
    conn->BeginTrans();
    doomWithFailingUndo(11);
    EXPECT_EQ(conn->TransactionLevel(), 2);
    EXPECT_THAT(Raised([&] { conn->CommitTrans(); }).Description(), HasSubstr("nothing of it was committed"));
    EXPECT_EQ(conn->TransactionLevel(), 1);
    conn->CommitTrans();
    EXPECT_EQ(Count("ID > 10"), 0);

    // The outermost level: the transaction stays open until its rollback goes through.
    conn->BeginTrans();
    doomWithFailingUndo(12);
    EXPECT_EQ(conn->TransactionLevel(), 1);
    EXPECT_THROW(conn->CommitTrans(), Error);
    EXPECT_EQ(conn->TransactionLevel(), 0);
    conn->BeginTrans();
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (13, 'next')");
    conn->CommitTrans();
    EXPECT_EQ(Count("ID > 10"), 1);

    // A failed rollback of a savepoint level leaves that level open too.
    conn->BeginTrans();
    conn->BeginTrans();
    conn->Faults().FailNextUndo();
    EXPECT_THROW(conn->RollbackTrans(), Error);
    EXPECT_EQ(conn->TransactionLevel(), 2);
    conn->RollbackTrans();
    conn->RollbackTrans();
    EXPECT_EQ(conn->TransactionLevel(), 0);
}

TEST_P(Contract, FaultInjectionFailsTheChosenStatementOnce) {
    FaultInjector& faults = conn->Faults();
    faults.ResetCount();
    faults.FailNth(2, Error(77, "boom", "test"));
    conn->BeginTrans();  // transaction control is not counted
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (1, 'x')");
    const Error e = Raised([&] { conn->Execute("INSERT INTO ART (ID, CODE) VALUES (2, 'y')"); });
    EXPECT_EQ(e.Number(), 77);
    EXPECT_EQ(e.Description(), "boom");
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (3, 'z')");
    conn->CommitTrans();
    EXPECT_EQ(faults.StatementCount(), 3);
    EXPECT_EQ(Count(), 2);

    faults.FailMatching("insert into child");
    EXPECT_THROW(conn->Execute("INSERT INTO CHILD (ID, ART_ID) VALUES (1, 1)"), Error);
    EXPECT_EQ(Count("1=1", "CHILD"), 0);
    conn->Execute("INSERT INTO CHILD (ID, ART_ID) VALUES (1, 1)");
    EXPECT_EQ(Count("1=1", "CHILD"), 1);

    // Recordset reads and row writes are statements too.
    auto rs = OpenRs("SELECT * FROM ART WHERE 0=1");
    AddRow(*rs, {{"ID", 9}, {"CODE", "C9"}});
    faults.FailMatching("INSERT INTO ART (");
    EXPECT_THROW(rs->UpdateBatch(), Error);
    EXPECT_EQ(Count("ID = 9"), 0);
    rs->UpdateBatch();
    EXPECT_EQ(Count("ID = 9"), 1);
    faults.ResetCount();
    faults.FailNth(1);
    auto reader = Recordset::Create();
    EXPECT_THROW(reader->Open("SELECT * FROM ART", conn), Error);
    EXPECT_EQ(reader->State(), adStateClosed);
}

TEST_P(Contract, ValuesOfEachKindBindAndComeBackThroughReusedStatements) {
    Driver& driver = conn->GetDriver();
    const std::string insert = "INSERT INTO ART (ID, CODE) VALUES (?, ?)";
    conn->ExecuteWith(insert, {{"", Variant(1)}, {"", Variant("x")}});
    const std::size_t cached = driver.CachedStatementCount();
    for (int i = 2; i <= 4; ++i) conn->ExecuteWith(insert, {{"", Variant(i)}, {"", Variant("c")}});
    EXPECT_LE(driver.CachedStatementCount(), cached + 1) << "one prepared statement for every row";
    EXPECT_GE(driver.CachedStatementCount(), 1u);
    // A reused statement starts without the previous bindings.
    EXPECT_THROW(conn->ExecuteWith(insert, {{"", Variant(9)}}), Error);
    EXPECT_EQ(Count(), 4);

    conn->GetDriver().RunScript(
        "CREATE TABLE V (I SMALLINT, L INTEGER, B BIT, D DOUBLE, M NUMERIC(9,2), T DATETIME, S VARCHAR(20),"
        " W NVARCHAR(20), N VARCHAR(5), BIG BIGINT, LONGTEXT TEXT)");
    const Date when = Date::Parse("2024-02-29 13:45:10.250");
    const std::string longText = std::string(9000, 'x') + "àé" + std::string(3000, 'y');  // several fetch pieces
    conn->ExecuteWith("INSERT INTO V VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                      {{"", Variant(std::int16_t(-7))}, {"", Variant(123456)}, {"", Variant(true)}, {"", Variant(2.25)},
                       {"", Variant(Decimal(1250, 2))}, {"", Variant(when)}, {"", Variant("O'Hara")},
                       {"", Variant("Perù 😀")}, {"", Variant::Null()}, {"", Variant(5000000000LL)},
                       {"", Variant(longText)}});
    auto rs = conn->Execute("SELECT I, L, B, D, M, T, S, W, N, BIG, LONGTEXT FROM V");
    auto f = rs->GetFields();
    EXPECT_EQ(f[0L].Value().CLng(), -7);
    EXPECT_EQ(f[1L].Value().CLng(), 123456);
    EXPECT_TRUE(f[2L].Value().CBool());
    EXPECT_EQ(f[3L].Value().CDbl(), 2.25);
    EXPECT_EQ(f[4L].Value().CStr(), "12.5");
    EXPECT_EQ(f[5L].Value().Type(), VarType::Date);
    EXPECT_EQ(f[5L].Value().CDate().ToIso(), "2024-02-29 13:45:10");
    EXPECT_EQ(f[6L].Value().CStr(), "O'Hara");
    EXPECT_EQ(f[7L].Value().CStr(), "Perù 😀");
    EXPECT_TRUE(f[8L].Value().IsNull());
    EXPECT_EQ(f[9L].Value().CStr(), "5000000000") << "beyond 32 bits every digit is kept";
    EXPECT_EQ(f[10L].Value().CStr(), longText);
    EXPECT_EQ(Count("B = 1 AND M = 12.5", "V"), 1) << "a flag is stored as 1, not VB's -1";
}

// --- commands ---------------------------------------------------------------------------------------

TEST_P(Contract, CommandsBindTheirParametersAndProceduresRunAsOneUnit) {
    auto cmd = Command::Create();
    cmd->ActiveConnection(conn);
    cmd->CommandText("INSERT INTO ART (ID, CODE) VALUES (?, ?)");
    auto& params = cmd->GetParameters();
    params.Append(cmd->CreateParameter("id", adInteger, adParamInput, 0, Variant(50)));
    params.Append(cmd->CreateParameter("code", adVarChar, adParamInput, 10, Variant("it's '?'")));
    long affected = 0;
    cmd->Execute(&affected);
    EXPECT_EQ(affected, 1);
    EXPECT_EQ(Scalar("SELECT CODE FROM ART WHERE ID = 50").CStr(), "it's '?'") << "a value never changes the statement";

    params.Delete("code");
    params["ID"].Value(Variant(51));
    EXPECT_THROW(cmd->Execute(), Error) << "a marker without its value";
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(Raised([&] { params["@NOPE"]; }).Number(), errc::ItemNotFound);

    // Inserts @COUNT rows from @FIRST on, then fails when @FAIL is 1; reports the rows in @STATO.
    RegisterProcedure("SPTEST_INSERT", [](Connection& c, Parameters& p) {
        const long first = p["@FIRST"].Value().CLng();
        const long count = p["@COUNT"].Value().CLng();
        for (long i = 0; i < count; ++i) {
            c.Execute("INSERT INTO ART (ID, CODE) VALUES (" + SqlNumber(Variant(first + i)) + ", 'P')", nullptr,
                      adExecuteNoRecords);
        }
        if (p["@FAIL"].Value().CLng() == 1) throw Error(50000, "procedure failed", "SPTEST_INSERT");
        p["@STATO"].Value(Variant(count));
    });
    auto proc = Command::Create();
    proc->ActiveConnection(conn);
    proc->CommandType(adCmdStoredProc);
    proc->NamedParameters(true);
    proc->CommandText("SPTEST_INSERT");
    auto& args = proc->GetParameters();
    args.Append(proc->CreateParameter("@FIRST", adNumeric, adParamInput, 0, Variant(1)));
    args.Append(proc->CreateParameter("@COUNT", adNumeric, adParamInput, 0, Variant(2)));
    args.Append(proc->CreateParameter("@FAIL", adNumeric, adParamInput, 0, Variant(0)));
    args.Append(proc->CreateParameter("@STATO", adNumeric, adParamOutput, 0, Variant(0)));
    proc->Execute();
    EXPECT_EQ(Count("CODE = 'P'"), 2);
    EXPECT_EQ(args["@stato"].Value().CLng(), 2);

    // A failing procedure leaves nothing behind, the caller's earlier work stays.
    conn->BeginTrans();
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (100, 'before')");
    args["@FIRST"].Value(Variant(10));
    args["@FAIL"].Value(Variant(1));
    EXPECT_EQ(Raised([&] { proc->Execute(); }).Number(), 50000);
    ASSERT_EQ(conn->Errors().size(), 1u);
    EXPECT_EQ(conn->Errors()[0].Number(), 50000);
    conn->CommitTrans();
    EXPECT_EQ(Count("CODE = 'P' OR ID = 100"), 3);

    // The statements inside count for fault injection: the call, the first insert, the second.
    args["@FAIL"].Value(Variant(0));
    conn->Faults().ResetCount();
    conn->Faults().FailNth(3);
    EXPECT_THROW(proc->Execute(), Error);
    EXPECT_EQ(Count("ID >= 10 AND ID < 50"), 0);

    proc->CommandText("SP_NOT_THERE");
    const Error e = Raised([&] { proc->Execute(); });
    EXPECT_EQ(e.Description(), "Could not find stored procedure 'SP_NOT_THERE'.");
    EXPECT_EQ(e.Source(), GetParam().errorSource);

    conn->Close();
    EXPECT_EQ(Raised([&] { proc->Execute(); }).Number(), ado::ConnectionUnusable);
}

// --- recordsets -------------------------------------------------------------------------------------

TEST_P(Contract, NewRowsTakeTheTableDefaultsAndAreReadBack) {
    auto rs = OpenRs("SELECT * FROM ART WHERE 0=1");
    AddRow(*rs, {{"CODE", "X1"}});
    AddRow(*rs, {{"CODE", "X2"}, {"NOTE", Variant::Null()}});
    EXPECT_EQ(Count(), 0) << "batch optimistic keeps the rows pending";
    rs->UpdateBatch();

    EXPECT_EQ(Count("CODE = 'X1' AND QTY = 7.5 AND NOTE = 'none' AND FLAG = 0"), 1);
    EXPECT_EQ(Count("CODE = 'X2' AND NOTE IS NULL"), 1) << "a NULL assigned is written";
    rs->MoveFirst();
    EXPECT_EQ((*rs)["ID"].Value().CLng(), Scalar("SELECT ID FROM ART WHERE CODE = 'X1'").CLng());
    EXPECT_EQ((*rs)["QTY"].Value().CDbl(), 7.5);
    EXPECT_EQ((*rs)["NOTE"].Value().CStr(), "none");
    EXPECT_EQ((*rs)["GUID"].Value().CStr(), Scalar("SELECT GUID FROM ART WHERE CODE = 'X1'").CStr());
    EXPECT_EQ(rs->Status(), adRecUnmodified);

    // An optimistic lock writes on Update.
    auto optimistic = OpenRs("SELECT * FROM ART WHERE 0=1", adLockOptimistic);
    AddRow(*optimistic, {{"CODE", "X3"}});
    EXPECT_EQ(Count("CODE = 'X3'"), 1);
    EXPECT_FALSE((*optimistic)["ID"].Value().IsNull());
    (*optimistic)["CODE"].Value("X4");
    optimistic->MoveFirst();  // leaving an edited row ends the edit, as Update would
    EXPECT_EQ(Count("CODE = 'X4'"), 1);
}

TEST_P(Contract, BatchWithAFailingRowWritesNothingAndKeepsItsRowsPending) {
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (100, 'OLD')");
    conn->BeginTrans();
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (101, 'INTX')");
    auto rs = OpenRs("SELECT * FROM ART WHERE 0=1");
    for (const char* code : {"N1", "", "N3"}) {
        rs->AddNew();
        if (*code) (*rs)["CODE"].Value(code);  // the second row leaves the NOT NULL column out
        rs->Update();
    }
    EXPECT_THROW(rs->UpdateBatch(), Error);
    ASSERT_FALSE(conn->Errors().empty());
    EXPECT_EQ(Count(), 2) << "the batch's first row is undone, the transaction's earlier work stays";

    rs->Filter(Variant(static_cast<long>(adFilterPendingRecords)));
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->MoveFirst();
    rs->MoveNext();
    EXPECT_EQ(rs->Status(), adRecNew);
    (*rs)["CODE"].Value("N2");
    rs->UpdateBatch();
    conn->CommitTrans();
    EXPECT_EQ(Count("CODE IN ('N1','N2','N3')"), 3);
    EXPECT_EQ(Count(), 5);
}

TEST_P(Contract, UpdateAndDeleteFindTheRowByItsKeyAsRead) {
    Seed();
    auto rs = OpenRs("SELECT * FROM ART ORDER BY ID");
    ASSERT_EQ(rs->RecordCount(), 3);
    (*rs)["ID"].Value(10);  // the key itself changes
    (*rs)["NOTE"].Value("first");
    rs->MoveNext();
    rs->Delete();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(Count(), 3);
    rs->UpdateBatch();
    EXPECT_EQ(Count("ID = 10 AND NOTE = 'first' AND CODE = 'A1'"), 1);
    EXPECT_EQ(Count("ID = 2"), 0);
    EXPECT_EQ(Count(), 2);

    // A row another writer deleted is a conflict.
    auto stale = OpenRs("SELECT * FROM ART WHERE ID = 3");
    conn->Execute("DELETE FROM ART WHERE ID = 3");
    (*stale)["NOTE"].Value("x");
    const Error e = Raised([&] { stale->UpdateBatch(); });
    EXPECT_EQ(e.Number(), ado::RowNotFound);
    EXPECT_THAT(e.Description(), HasSubstr("Row cannot be located for updating"));

    // Without a primary key one row is written, found by every value read.
    conn->Execute("INSERT INTO LOOSE VALUES ('A', 0), ('A', 1), ('B', 0)");
    auto loose = OpenRs("SELECT * FROM LOOSE ORDER BY CODE");
    (*loose)["SEL"].Value(1);
    loose->MoveLast();
    loose->Delete();
    loose->UpdateBatch();
    EXPECT_EQ(Count("SEL = 1", "LOOSE"), 2);
    EXPECT_EQ(Count("CODE = 'B'", "LOOSE"), 0);
}

TEST_P(Contract, ComputedColumnsAndJoinedTablesAreNeverWritten) {
    Seed();
    conn->Execute("INSERT INTO LOOKUP VALUES ('A1', 'first')");
    auto rs = OpenRs("SELECT ART.*, LOOKUP.DESCR, '' AS EXTRA FROM ART INNER JOIN LOOKUP ON LOOKUP.CODE = ART.CODE");
    ASSERT_EQ(rs->RecordCount(), 1);
    (*rs)["EXTRA"].Value("shown only");
    (*rs)["DESCR"].Value("changed locally");
    conn->Faults().ResetCount();
    rs->UpdateBatch();
    EXPECT_EQ(conn->Faults().StatementCount(), 0) << "nothing of the base table changed";
    (*rs)["NOTE"].Value("written");
    rs->UpdateBatch();
    EXPECT_EQ(Count("ID = 1 AND NOTE = 'written'"), 1);
    EXPECT_EQ(Scalar("SELECT DESCR FROM LOOKUP").CStr(), "first");
    EXPECT_EQ((*rs)["EXTRA"].Value().CStr(), "shown only");

    // A column read twice (a self-join) cannot tell which row it belongs to.
    if (!GetParam().declaredTypes) return;
    auto self = OpenRs("SELECT A.ID, A.NOTE, A.CODE, B.CODE AS OTHER FROM ART A INNER JOIN ART B ON B.ID = A.ID "
                       "WHERE A.ID = 2",
                       adLockOptimistic);
    (*self)["NOTE"].Value("changed");
    (*self)["CODE"].Value("ZZ");
    self->Update();
    EXPECT_EQ(Count("ID = 2 AND NOTE = 'changed' AND CODE = 'B2'"), 1);
}

TEST_P(Contract, CloneSharesRowsWithItsOwnPositionAndFilterAndSortFollowsTheCollation) {
    Seed();
    auto rs = OpenRs("SELECT * FROM ART ORDER BY ID");
    auto clone = rs->Clone();
    clone->MoveLast();
    EXPECT_EQ((*clone)["ID"].Value().CLng(), 3);
    EXPECT_EQ((*rs)["ID"].Value().CLng(), 1);
    (*clone)["NOTE"].Value("via clone");
    clone->Update();
    rs->MoveLast();
    EXPECT_EQ((*rs)["NOTE"].Value().CStr(), "via clone");

    AddRow(*rs, {{"ID", 4}, {"CODE", "d4 "}});
    EXPECT_EQ(clone->RecordCount(), 4);

    // The filter compares as SQL Server's collation: case and trailing blanks do not count.
    clone->Filter(Variant("CODE = 'D4' OR CODE = 'b2'"));
    EXPECT_EQ(clone->RecordCount(), 2);
    EXPECT_EQ(rs->RecordCount(), 4);
    clone->Filter(Variant("QTY >= 2 AND NOTE <> 'TWO'"));
    EXPECT_EQ(clone->RecordCount(), 1) << "the new row has no QTY until the database gives it its default";
    clone->Filter(Variant(""));
    EXPECT_EQ(clone->RecordCount(), 4);

    clone->UpdateBatch();  // all pending rows, whoever made them
    EXPECT_EQ(Count("ID = 4"), 1);
    EXPECT_EQ(Count("NOTE = 'via clone'"), 1);

    // Sort orders the view as the collation does.
    conn->Execute("INSERT INTO ART (ID, CODE, QTY) VALUES (5, 'b', 1), (6, 'A', 2), (7, 'C', 2), (8, 'a ', 3)");
    auto sorted = OpenRs("SELECT * FROM ART WHERE ID > 4");
    sorted->Sort("QTY DESC, CODE");
    std::vector<long> ids;
    for (sorted->MoveFirst(); !sorted->EOF(); sorted->MoveNext()) ids.push_back((*sorted)["ID"].Value().CLng());
    EXPECT_EQ(ids, (std::vector<long>{8, 6, 7, 5}));
}

TEST_P(Contract, CursorEdgesCancelAndRequery) {
    auto empty = OpenRs("SELECT * FROM ART");
    EXPECT_TRUE(empty->EOF() && empty->BOF());
    EXPECT_EQ(empty->RecordCount(), 0);
    EXPECT_EQ(Raised([&] { (*empty)["CODE"].Value(); }).Number(), errc::EofOrBof);
    EXPECT_EQ(Raised([&] { empty->MoveNext(); }).Number(), errc::EofOrBof);

    Seed();
    auto rs = OpenRs("SELECT * FROM ART ORDER BY ID");
    rs->MoveLast();
    EXPECT_EQ(rs->AbsolutePosition(), 3);
    rs->MoveNext();
    EXPECT_TRUE(rs->EOF());
    rs->AbsolutePosition(2);
    EXPECT_EQ((*rs)["CODE"].Value().CStr(), "B2");

    (*rs)["NOTE"].Value("changed");
    rs->CancelUpdate();
    EXPECT_EQ((*rs)["NOTE"].Value().CStr(), "two");
    (*rs)["NOTE"].Value("changed");
    rs->Update();
    AddRow(*rs, {{"CODE", "Z"}});
    rs->MoveFirst();
    rs->Delete();
    rs->CancelBatch();
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->UpdateBatch();
    EXPECT_EQ(Count("NOTE = 'two'"), 1);
    EXPECT_EQ(Count(), 3);

    rs->Filter(Variant("ID > 1"));
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (4, 'D4')");
    EXPECT_EQ(rs->RecordCount(), 2);
    rs->Requery();
    EXPECT_EQ(rs->RecordCount(), 3);

    // Deleting while walking visits every row once.
    auto walk = OpenRs("SELECT * FROM ART ORDER BY ID", adLockOptimistic);
    std::vector<long> seen;
    while (!walk->EOF()) {
        seen.push_back((*walk)["ID"].Value().CLng());
        walk->Delete();
        walk->MoveNext();
    }
    EXPECT_EQ(seen, (std::vector<long>{1, 2, 3, 4}));
    EXPECT_EQ(Count(), 0);

    auto ro = conn->Execute("SELECT * FROM LOOKUP");
    EXPECT_THROW(ro->AddNew(), Error) << "Execute gives a read-only recordset";
    auto closed = Recordset::Create();
    closed->Open("DELETE FROM LOOKUP", conn);
    EXPECT_EQ(closed->State(), adStateClosed) << "a statement without rows";
    EXPECT_EQ(Raised([&] { closed->RecordCount(); }).Number(), ado::ObjectClosed);
}

TEST_P(Contract, FieldsDescribeTheDeclaredColumnsAndConvertWhatIsAssigned) {
    conn->Execute("INSERT INTO ART (ID, CODE, QTY, MADE) VALUES (5000000000, 'A', 12.345, '2024-03-01 10:20:30')");
    auto rs = OpenRs("SELECT ID, CODE, QTY, NOTE, FLAG, MADE, 1 + 1 AS TWO, NULL AS NOVALUE FROM ART");
    auto f = rs->GetFields();
    EXPECT_EQ(f.Count(), 8);
    const std::pair<const char*, long> types[] = {
        {"Id", adInteger}, {"CODE", adVarChar}, {"FLAG", adSmallInt}, {"MADE", adDBTimeStamp}};
    for (const auto& [name, type] : types) EXPECT_EQ(f[name].Type(), type) << name;
    EXPECT_EQ(f["ID"].Value().CStr(), "5000000000");
    EXPECT_EQ(f["code"].Name(), "CODE");
    EXPECT_EQ(f["CODE"].DefinedSize(), 10);
    if (GetParam().declaredTypes) {
        EXPECT_EQ(f["NOTE"].Type(), adVarWChar);
        EXPECT_EQ(f["NOTE"].DefinedSize(), 20);
        EXPECT_EQ(f["QTY"].Type(), adNumeric);
        EXPECT_EQ(f["QTY"].Precision(), 9);
        EXPECT_EQ(f["QTY"].NumericScale(), 2);
        EXPECT_EQ(f["QTY"].Value().CStr(), "12.35");
    }
    EXPECT_EQ(f["MADE"].Value().CDate().ToIso(), "2024-03-01 10:20:30");
    EXPECT_EQ(f["NOTE"].Value().CStr(), "none");
    EXPECT_TRUE(f["NOVALUE"].Value().IsNull());
    EXPECT_EQ(Raised([&] { f["NOPE"]; }).Number(), errc::ItemNotFound);

    auto w = OpenRs("SELECT * FROM ART WHERE 0=1");
    w->AddNew();
    (*w)["ID"].Value(7);
    (*w)["CODE"].Value("ABCDEFGHIJ   ");  // blanks beyond the size are dropped, as the server does
    EXPECT_EQ((*w)["CODE"].Value().CStr(), "ABCDEFGHIJ");
    const Error tooLong = Raised([&] { (*w)["CODE"].Value("ABCDEFGHIJK"); });
    EXPECT_EQ(tooLong.Number(), ado::MultipleStepError);
    EXPECT_THAT(tooLong.Description(), HasSubstr("'CODE'"));
    EXPECT_EQ(Raised([&] { (*w)["FLAG"].Value("abc"); }).Number(), errc::TypeMismatch);
    (*w)["FLAG"].Value(true);
    (*w)["QTY"].Value(GetParam().declaredTypes ? "2.005" : "2.01");
    EXPECT_EQ((*w)["FLAG"].Value().CLng(), 1);
    EXPECT_EQ((*w)["QTY"].Value().CStr(), "2.01") << "rounded to the column's scale";
    (*w)["MADE"].Value(Date::FromParts(2024, 5, 6, 7, 8, 9));
    EXPECT_EQ(Raised([&] { f["TWO"].Value(Variant(std::make_shared<Object>())); }).Number(), ado::WrongType)
        << "a computed field holds values, never objects";
    EXPECT_TRUE((*w)["CODE"].OriginalValue().IsNull()) << "a row not yet written has no original values";
    w->UpdateBatch();
    EXPECT_EQ(Count("ID = 7 AND FLAG = 1 AND QTY = 2.01"), 1);
    EXPECT_EQ(OpenRs("SELECT MADE FROM ART WHERE ID = 7")->GetFields()[0L].Value().CDate().ToIso(),
              "2024-05-06 07:08:09");
}

INSTANTIATE_TEST_SUITE_P(Drivers, Contract, ::testing::Values(kSqlite, kOdbc),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace db
