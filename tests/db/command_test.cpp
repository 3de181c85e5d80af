// Commands: text with parameters, and stored procedures from the registry.
#include <gtest/gtest.h>

#include "db/AdoErrors.h"
#include "db/Command.h"
#include "db/Connection.h"
#include "db/Driver.h"
#include "db/ProcedureRegistry.h"
#include "db/Quote.h"
#include "db/Recordset.h"

namespace db {
namespace {

class CommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn = Connection::Create();
        conn->Open("sqlite::memory:");
        conn->GetDriver().RunScript("CREATE TABLE A (ID INTEGER PRIMARY KEY, CODE VARCHAR(10) COLLATE SQLSERVER)");
        cmd = Command::Create();
        cmd->ActiveConnection(conn);
    }
    long Count(const std::string& where = "1=1") {
        return conn->Execute("SELECT COUNT(*) FROM A WHERE " + where)->GetFields()[0L].Value().CLng();
    }
    ConnectionPtr conn;
    CommandPtr cmd;
};

TEST_F(CommandTest, TextWithPositionalParameters) {
    cmd->CommandText("INSERT INTO A (ID, CODE) VALUES (?, ?); SELECT CODE FROM A WHERE ID = ?");
    auto& params = cmd->GetParameters();
    params.Append(cmd->CreateParameter("id", adInteger, adParamInput, 0, Variant(1)));
    params.Append(cmd->CreateParameter("code", adVarChar, adParamInput, 10, Variant("it's '?'")));
    params.Append(cmd->CreateParameter("key", adInteger, adParamInput, 0, Variant(1)));
    long affected = 0;
    auto rs = cmd->Execute(&affected);
    EXPECT_EQ(affected, 1);
    ASSERT_EQ(rs->RecordCount(), 1);
    EXPECT_EQ((*rs)["CODE"].Value().CStr(), "it's '?'") << "a value never changes the statement";
}

TEST_F(CommandTest, TextWithNamedParameters) {
    cmd->NamedParameters(true);
    cmd->CommandText("INSERT INTO A (ID, CODE) VALUES (@ID, @CODE + '@X')");
    cmd->GetParameters().Append(cmd->CreateParameter("@CODE", adVarChar, adParamInput, 10, Variant("c")));
    cmd->GetParameters().Append(cmd->CreateParameter("@ID", adInteger, adParamInput, 0, Variant(5)));
    EXPECT_EQ(cmd->Execute(nullptr, adExecuteNoRecords), nullptr);
    EXPECT_EQ(Count("ID = 5 AND CODE = 'c@X'"), 1);
}

TEST_F(CommandTest, MissingPositionalValueIsAnError) {
    cmd->CommandText("INSERT INTO A (ID, CODE) VALUES (?, ?)");
    cmd->GetParameters().Append(cmd->CreateParameter("id", adInteger, adParamInput, 0, Variant(1)));
    EXPECT_THROW(cmd->Execute(), Error);
    EXPECT_EQ(Count(), 0);
}

TEST_F(CommandTest, ParametersByNameIgnoreCase) {
    auto& params = cmd->GetParameters();
    params.Append(cmd->CreateParameter("@DITTA", adNumeric, adParamInput, 0, Variant(1)));
    params["@ditta"].Value(Variant(7));
    params["@Ditta"].Precision(5);
    EXPECT_EQ(params.Item(0L).Value().CLng(), 7);
    EXPECT_EQ(params.Item(0L).Precision(), 5);
    try {
        params["@NOPE"];
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::ItemNotFound);
    }
    params.Delete("@DITTA");
    EXPECT_EQ(params.Count(), 0);
}

class StoredProcedureTest : public CommandTest {
protected:
    void SetUp() override {
        CommandTest::SetUp();
        // Inserts @COUNT rows from @FIRST on, then fails when @FAIL is 1; reports the rows in @STATO.
        RegisterProcedure("SPTEST_INSERT", [](Connection& c, Parameters& p) {
            const long first = p["@FIRST"].Value().CLng();
            const long count = p["@COUNT"].Value().CLng();
            for (long i = 0; i < count; ++i) {
                c.Execute("INSERT INTO A (ID, CODE) VALUES (" + SqlNumber(Variant(first + i)) + ", 'P')", nullptr,
                          adExecuteNoRecords);
            }
            if (p["@FAIL"].Value().CLng() == 1) throw Error(50000, "procedure failed", "SPTEST_INSERT");
            p["@STATO"].Value(Variant(count));
        });
        cmd->CommandType(adCmdStoredProc);
        cmd->NamedParameters(true);
        cmd->CommandText("SPTEST_INSERT");
        auto& params = cmd->GetParameters();
        params.Append(cmd->CreateParameter("@FIRST", adNumeric, adParamInput, 0, Variant(1)));
        params.Append(cmd->CreateParameter("@COUNT", adNumeric, adParamInput, 0, Variant(2)));
        params.Append(cmd->CreateParameter("@FAIL", adNumeric, adParamInput, 0, Variant(0)));
        params.Append(cmd->CreateParameter("@STATO", adNumeric, adParamOutput, 0, Variant(0)));
    }
};

TEST_F(StoredProcedureTest, RunsWithTheConnectionAndReturnsOutputValues) {
    cmd->Execute();
    EXPECT_EQ(Count("CODE = 'P'"), 2);
    EXPECT_EQ(cmd->GetParameters()["@STATO"].Value().CLng(), 2);
}

TEST_F(StoredProcedureTest, AFailingProcedureLeavesNothingBehind) {
    conn->BeginTrans();
    conn->Execute("INSERT INTO A (ID, CODE) VALUES (100, 'before')");
    cmd->GetParameters()["@FAIL"].Value(Variant(1));
    try {
        cmd->Execute();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 50000);
        ASSERT_EQ(conn->Errors().size(), 1u);
        EXPECT_EQ(conn->Errors()[0].Number(), 50000);
    }
    conn->CommitTrans();
    EXPECT_EQ(Count(), 1) << "only the work before the procedure";
}

TEST_F(StoredProcedureTest, StatementsInsideAreSubjectToFaultInjection) {
    conn->Faults().ResetCount();
    conn->Faults().FailNth(3);  // the call, the first insert, then the second insert
    EXPECT_THROW(cmd->Execute(), Error);
    EXPECT_EQ(Count(), 0);
    conn->Faults().FailMatching("EXECUTE SPTEST_INSERT");
    EXPECT_THROW(cmd->Execute(), Error);
    cmd->Execute();
    EXPECT_EQ(Count(), 2);
}

TEST_F(StoredProcedureTest, UnknownProcedureIsNamed) {
    cmd->CommandText("SP_NOT_THERE");
    try {
        cmd->Execute();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Description(), "Could not find stored procedure 'SP_NOT_THERE'.");
        EXPECT_EQ(e.Source(), "agganci.db.sqlite");
    }
    EXPECT_NE(FindProcedure("sptest_insert"), nullptr);
    EXPECT_EQ(FindProcedure("SP_NOT_THERE"), nullptr);
}

TEST_F(StoredProcedureTest, NeedsAnOpenConnection) {
    conn->Close();
    try {
        cmd->Execute();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ado::ConnectionUnusable);
    }
}

}  // namespace
}  // namespace db
