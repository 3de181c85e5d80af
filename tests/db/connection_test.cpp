// Connections: opening, batches, nested transactions, errors, fault injection, the statement cache.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "db/AdoErrors.h"
#include "db/Connection.h"
#include "db/Driver.h"
#include "db/Recordset.h"

namespace db {
namespace {

class ConnectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn = Connection::Create();
        conn->Open("sqlite::memory:");
        conn->GetDriver().RunScript(
            "CREATE TABLE A (ID INTEGER PRIMARY KEY, CODE VARCHAR(10) COLLATE SQLSERVER NOT NULL);"
            "CREATE TABLE B (ID INTEGER PRIMARY KEY, A_ID INTEGER NOT NULL REFERENCES A (ID));");
    }
    long Count(const std::string& table) {
        return conn->Execute("SELECT COUNT(*) FROM " + table)->GetFields()[0L].Value().CLng();
    }
    ConnectionPtr conn;
};

TEST(ConnectionOpen, SchemesAndState) {
    auto c = Connection::Create();
    EXPECT_EQ(c->State(), adStateClosed);
    c->ConnectionString("sqlite::memory:");
    c->Open();
    EXPECT_EQ(c->State(), adStateOpen);
    EXPECT_THROW(c->Open("sqlite::memory:"), Error);
    c->Close();
    EXPECT_EQ(c->State(), adStateClosed);
    EXPECT_THROW(c->Execute("SELECT 1"), Error);

    // An ODBC source that does not exist is a connect failure naming it.
    try {
        c->Open("odbc:DSN=erp-that-does-not-exist");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(e.Description().find("erp-that-does-not-exist"), std::string::npos) << e.Description();
    }
    EXPECT_THROW(c->Open("postgres:x"), Error);
    ASSERT_EQ(c->Errors().size(), 1u);
    EXPECT_NE(c->Errors()[0].Description().find("postgres:x"), std::string::npos);
}

TEST(ConnectionOpen, FileDatabaseRunsInWalModeAndKeepsItsData) {
    const auto path = std::filesystem::temp_directory_path() / ("dbcore-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(path);
    {
        auto c = Connection::Create();
        c->Open("sqlite:" + path.string());
        EXPECT_EQ(c->GetDriver().Run("PRAGMA journal_mode").rows.at(0).at(0).CStr(), "wal");
        c->Execute("CREATE TABLE T (X INTEGER); INSERT INTO T VALUES (42)");
    }
    auto c = Connection::Create();
    c->Open("sqlite:" + path.string());
    EXPECT_EQ(c->Execute("SELECT X FROM T")->GetFields()[0L].Value().CLng(), 42);
    c->Close();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
}

TEST_F(ConnectionTest, ExecuteRunsEveryStatementAndReturnsTheLastRowSet) {
    long affected = -1;
    auto rs = conn->Execute(
        "INSERT INTO A (ID, CODE) VALUES (1, 'x'); INSERT INTO A (ID, CODE) VALUES (2, 'y'), (3, 'z');\r\n"
        "SELECT CODE FROM A WITH (NOLOCK) WHERE ID > 0 ORDER BY ID; UPDATE A SET CODE = CODE WHERE ID = 3",
        &affected);
    EXPECT_EQ(affected, 4);
    ASSERT_EQ(rs->State(), adStateOpen);
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ((*rs)["CODE"].Value().CStr(), "x");

    auto none = conn->Execute("DELETE FROM A WHERE ID = 3", &affected);
    EXPECT_EQ(affected, 1);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->RecordCount(), 0);
    EXPECT_EQ(conn->Execute("DELETE FROM A", nullptr, adCmdText | adExecuteNoRecords), nullptr);
    EXPECT_EQ(Count("A"), 0);
}

TEST_F(ConnectionTest, FailureIsAnErrorNamingTheStatementAndTheLayer) {
    try {
        conn->Execute("INSERT INTO A (ID, CODE) VALUES (1, 'x'); SELECT NOPE FROM A");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::ProviderError);
        EXPECT_EQ(e.Source(), "agganci.db.sqlite");
        EXPECT_NE(e.Description().find("no such column: NOPE"), std::string::npos) << e.Description();
        EXPECT_NE(e.Description().find("SELECT NOPE FROM A"), std::string::npos) << e.Description();
        ASSERT_EQ(conn->Errors().size(), 1u);
        EXPECT_EQ(conn->Errors()[0].Description(), e.Description());
    }
    EXPECT_EQ(Count("A"), 1) << "statements before the failing one ran";

    try {
        conn->Execute("INSERT INTO B (ID, A_ID) VALUES (1, 99)");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ado::IntegrityViolation) << "references are enforced";
    }
}

TEST_F(ConnectionTest, InnerRollbackKeepsOuterWork) {
    EXPECT_EQ(conn->BeginTrans(), 1);
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (1, 'outer')");
    EXPECT_EQ(conn->BeginTrans(), 2);
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (2, 'inner')");
    conn->RollbackTrans();
    EXPECT_EQ(conn->TransactionLevel(), 1);
    EXPECT_EQ(conn->BeginTrans(), 2);
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (3, 'kept')");
    conn->CommitTrans();
    conn->CommitTrans();
    EXPECT_EQ(conn->TransactionLevel(), 0);
    EXPECT_EQ(conn->Execute("SELECT group_concat(CODE, ',') FROM (SELECT CODE FROM A ORDER BY ID)")
                  ->GetFields()[0L].Value().CStr(),
              "outer,kept");
}

TEST_F(ConnectionTest, OuterRollbackUndoesCommittedInnerLevels) {
    conn->BeginTrans();
    conn->BeginTrans();
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (1, 'x')");
    conn->CommitTrans();
    conn->RollbackTrans();
    EXPECT_EQ(Count("A"), 0);
}

TEST_F(ConnectionTest, TransactionCallsWithoutTransactionAreErrors) {
    try {
        conn->CommitTrans();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ado::NoTransaction);
    }
    EXPECT_THROW(conn->RollbackTrans(), Error);
}

TEST_F(ConnectionTest, CommitAfterTheDatabaseEndedTheTransactionIsNotASuccess) {
    conn->BeginTrans();
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (1, 'x')");
    conn->GetDriver().Rollback();  // as a failure inside the database would
    EXPECT_THROW(conn->CommitTrans(), Error);
    EXPECT_EQ(conn->TransactionLevel(), 0);
    EXPECT_EQ(Count("A"), 0);
}

TEST_F(ConnectionTest, FaultInjectionFailsTheChosenStatementOnce) {
    FaultInjector& faults = conn->Faults();
    faults.ResetCount();
    faults.FailNth(2, Error(77, "boom", "test"));
    conn->BeginTrans();  // transaction control is not counted
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (1, 'x')");
    try {
        conn->Execute("INSERT INTO A (ID, CODE) VALUES (2, 'y')");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 77);
        EXPECT_EQ(e.Description(), "boom");
    }
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (3, 'z')");
    conn->RollbackTrans();
    EXPECT_EQ(faults.StatementCount(), 3);

    faults.FailMatching("insert into b");
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (1, 'x')");
    EXPECT_THROW(conn->Execute("INSERT INTO B (ID, A_ID) VALUES (1, 1)"), Error);
    EXPECT_EQ(Count("B"), 0);
    conn->Execute("INSERT INTO B (ID, A_ID) VALUES (1, 1)");
    EXPECT_EQ(Count("B"), 1);
}

TEST_F(ConnectionTest, FaultInjectionReachesRecordsetReadsAndWrites) {
    auto rs = Recordset::Create();
    rs->Open("SELECT * FROM A WHERE 0=1", conn);
    for (int i = 1; i <= 3; ++i) {
        rs->AddNew();
        (*rs)["ID"].Value(i);
        (*rs)["CODE"].Value("C" + std::to_string(i));
        rs->Update();
    }
    conn->Faults().FailMatching("INSERT INTO A (");
    EXPECT_THROW(rs->UpdateBatch(), Error);
    EXPECT_EQ(Count("A"), 0);
    conn->Faults().ResetCount();
    rs->UpdateBatch();
    EXPECT_EQ(Count("A"), 3);
    EXPECT_EQ(conn->Faults().StatementCount(), 1 + 3) << "one count above, then one insert per row (it returns the row)";

    auto reader = Recordset::Create();
    conn->Faults().FailNth(1);
    EXPECT_THROW(reader->Open("SELECT * FROM A", conn), Error);
    EXPECT_EQ(reader->State(), adStateClosed);
}

TEST_F(ConnectionTest, PreparedStatementsAreReusedByTheirText) {
    Driver& driver = conn->GetDriver();
    // A statement is kept from its second run on.
    conn->Execute("SELECT COUNT(*) FROM A");
    const std::size_t cached = driver.CachedStatementCount();
    for (int i = 0; i < 5; ++i) conn->Execute("SELECT COUNT(*) FROM A");
    EXPECT_EQ(driver.CachedStatementCount(), cached + 1);
    conn->Execute("SELECT COUNT(*) FROM B");
    EXPECT_EQ(driver.CachedStatementCount(), cached + 1);
    conn->Execute("SELECT COUNT(*) FROM B");
    EXPECT_EQ(driver.CachedStatementCount(), cached + 2);

    // A reused statement starts without the previous bindings.
    conn->ExecuteWith("INSERT INTO A (ID, CODE) VALUES (?, ?)", {{"", Variant(1)}, {"", Variant("x")}});
    EXPECT_THROW(conn->ExecuteWith("INSERT INTO A (ID, CODE) VALUES (?, ?)", {{"", Variant(2)}}), Error);
    EXPECT_EQ(Count("A"), 1);
}

TEST_F(ConnectionTest, ValuesBindAsTheErpStoresThem) {
    conn->GetDriver().RunScript("CREATE TABLE V (FLAG SMALLINT, DAY DATETIME, AMOUNT NUMERIC(9,2))");
    conn->ExecuteWith("INSERT INTO V VALUES (?, ?, ?)",
                      {{"", Variant(true)}, {"", Variant(Date::FromParts(2024, 2, 29, 13, 5))},
                       {"", Variant(Decimal(1234, 2))}});
    auto rs = conn->Execute("SELECT FLAG, typeof(DAY), DAY, AMOUNT FROM V");
    EXPECT_EQ((*rs)[0L].Value().CLng(), 1);
    EXPECT_EQ((*rs)[1L].Value().CStr(), "text");
    EXPECT_EQ((*rs)[2L].Value().CDate().ToIso(), "2024-02-29 13:05:00");
    EXPECT_EQ((*rs)[3L].Value().CStr(), "12.34");
}

TEST_F(ConnectionTest, PlusOfTSqlAddsNumbersAndJoinsTexts) {
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (7, 'AB')");
    auto rs = conn->Execute("SELECT CODE + 'C' AS T, ID + 1 AS N, CODE + NULL AS Z FROM A");
    EXPECT_EQ((*rs)["T"].Value().CStr(), "ABC");
    EXPECT_EQ((*rs)["N"].Value().CLng(), 8);
    EXPECT_TRUE((*rs)["Z"].Value().IsNull());
}

TEST_F(ConnectionTest, ClosingWithAnOpenTransactionRollsItBack) {
    const auto path = std::filesystem::temp_directory_path() / ("dbcore-tx-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(path);
    auto c = Connection::Create();
    c->Open("sqlite:" + path.string());
    c->Execute("CREATE TABLE T (X INTEGER)");
    c->BeginTrans();
    c->Execute("INSERT INTO T VALUES (1)");
    c->Close();
    c->Open("sqlite:" + path.string());
    EXPECT_EQ(c->Execute("SELECT COUNT(*) FROM T")->GetFields()[0L].Value().CLng(), 0);
    c->Close();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
}

}  // namespace
}  // namespace db
