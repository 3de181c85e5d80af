// What only the SQLite driver does, beside the contract every driver keeps (contract_test.cpp): connection
// strings, the file database, T-SQL run through the dialect adapter, and how values are stored.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "db/AdoErrors.h"
#include "db/CommonSql.h"
#include "db/Command.h"
#include "db/Connection.h"
#include "db/Driver.h"
#include "db/Quote.h"
#include "db/Recordset.h"

namespace db {
namespace {

using ::testing::HasSubstr;
using ::testing::Property;
using ::testing::Throws;
using ::testing::ThrowsMessage;

// (What the adapter writes, and the rows it gives, are checked in tsql_translator_test.cpp and
// tsql_statements_test.cpp; a global temporary table edited through a recordset, in
// tests/variants_form/lifecycle_test.cpp.)
TEST(SqliteConnection, OpenFailuresNameTheSourceAndAFileDatabaseRunsAsTheErpRunsIt) {
    auto conn = Connection::Create();
    // An ODBC source that does not exist is a connect failure naming it.
    EXPECT_THAT([&] { conn->Open("odbc:DSN=erp-that-does-not-exist"); },
                ThrowsMessage<Error>(HasSubstr("erp-that-does-not-exist")));
    EXPECT_THROW(conn->Open("postgres:x"), Error);
    ASSERT_EQ(conn->Errors().size(), 1u);
    EXPECT_NE(conn->Errors()[0].Description().find("postgres:x"), std::string::npos);

    const auto path = std::filesystem::temp_directory_path() / ("dbcore-" + std::to_string(::getpid()) + ".db");
    std::filesystem::remove(path);
    conn->Open("sqlite:" + path.string());
    EXPECT_EQ(conn->GetDriver().Run("PRAGMA journal_mode").rows.at(0).at(0).CStr(), "wal");
    conn->GetDriver().RunScript(
        "CREATE TABLE A (ID INTEGER PRIMARY KEY, CODE VARCHAR(10) COLLATE SQLSERVER NOT NULL, N INTEGER);"
        "CREATE TABLE B (ID INTEGER PRIMARY KEY, A_ID INTEGER NOT NULL REFERENCES A (ID));"
        "CREATE TABLE V (DAY DATETIME)");
    conn->Execute("INSERT INTO A (ID, CODE, N) VALUES (1, 'AB', 7), (2, 'b2 ', 8)");
    auto Scalar = [&](const std::string& sql) { return conn->Execute(sql)->GetFields()[0L].Value(); };

    // Named values of a command, as the embedded procedures use them.
    auto cmd = Command::Create();
    cmd->ActiveConnection(conn);
    cmd->NamedParameters(true);
    cmd->CommandText("INSERT INTO A (ID, CODE) VALUES (@ID, @CODE + '@X')");
    cmd->GetParameters().Append(cmd->CreateParameter("@CODE", adVarChar, adParamInput, 10, Variant("c")));
    cmd->GetParameters().Append(cmd->CreateParameter("@ID", adInteger, adParamInput, 0, Variant(5)));
    EXPECT_EQ(cmd->Execute(nullptr, adExecuteNoRecords), nullptr);
    EXPECT_EQ(Scalar("SELECT CODE FROM A WHERE ID = 5").CStr(), "c@X");

    // A statement in the common SQL runs as written; its literals are still bound, so the next one of the
    // same shape writes its own values, and SQL Server's collation still compares them.
    for (const std::string code : {"N1", "n'2"}) {
        long written = 0;
        conn->Execute("INSERT INTO A (ID, CODE, N) SELECT ID + 10, " + SqlText(code) + ", N FROM A WHERE CODE = 'ab'",
                      &written, adExecuteNoRecords | adExecuteCommonSql);
        EXPECT_EQ(written, 1);
        conn->Execute("DELETE FROM A WHERE ID = 11 AND CODE = " + SqlText(code), &written, adExecuteCommonSql);
        EXPECT_EQ(written, 1) << code;
    }

    // Values are stored as the ERP stores them. (Each kind of value read back as bound: the driver contract.)
    conn->ExecuteWith("INSERT INTO V VALUES (?)", {{"", Variant(Date::FromParts(2024, 2, 29, 13, 5))}});
    EXPECT_EQ(Scalar("SELECT typeof(DAY) FROM V").CStr(), "text");
    EXPECT_THAT([&] { conn->Execute("INSERT INTO B (ID, A_ID) VALUES (1, 99)"); },
                Throws<Error>(Property(&Error::Number, ado::IntegrityViolation)))
        << "references are enforced";
    conn->Close();
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(path.string() + suffix);
}

}  // namespace
}  // namespace db
