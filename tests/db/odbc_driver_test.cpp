// What only the ODBC driver does, beside the contract every driver keeps (contract_test.cpp): what only
// SQL Server can show (T-SQL savepoints, output parameters, identity read-back) is checked in the
// statements and bindings the driver plans for it; the rest runs through unixODBC against the SQLite
// ODBC driver (Debian's libsqliteodbc).
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlext.h>
#include <unistd.h>

#include <filesystem>

#include "db/AdoErrors.h"
#include "db/Command.h"
#include "db/FaultInjector.h"
#include "db/odbc/OdbcDialect.h"
#include "db/odbc/OdbcDriver.h"
#include "db/odbc/OdbcHandle.h"
#include "db/odbc/OdbcParameterBinder.h"
#include "db/odbc/OdbcProcedureCall.h"
#include "db/odbc/OdbcRowWrite.h"
#include "db/odbc/OdbcText.h"

namespace db::odbc {
namespace {

using ::testing::AllOf;
using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::Property;
using ::testing::StrEq;
using ::testing::Throws;
using ::testing::ThrowsMessage;

class OdbcSqliteTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("odbc-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name() + ".db");
        std::filesystem::remove(path_);
        target_ = "Driver=SQLite3;Database=" + path_.string();  // as the contract suite connects
        driver.SetFaultInjector(&faults);
        driver.Open(target_);
        driver.RunScript(
            "CREATE TABLE ART (ID INTEGER PRIMARY KEY, CODE VARCHAR(10) NOT NULL, NOTE VARCHAR(20) DEFAULT 'none');"
            "CREATE TABLE PAIR (A INTEGER NOT NULL, B VARCHAR(5) NOT NULL, V INTEGER, PRIMARY KEY (A, B));"
            "CREATE TABLE LOOSE (X INTEGER, Y VARCHAR(5))");
    }
    void TearDown() override {
        driver.Close();
        std::filesystem::remove(path_);
    }
    long Count(const std::string& table) { return driver.Run("SELECT COUNT(*) FROM " + table).rows.at(0).at(0).CLng(); }
    Variant Scalar(const std::string& sql) { return driver.Run(sql).rows.at(0).at(0); }

    std::filesystem::path path_;
    std::string target_;
    FaultInjector faults;
    OdbcDriver driver;
};

TEST_F(OdbcSqliteTest, OpenFailureNamesTheSourceWithoutThePasswordAndStatementsGoVerbatim) {
    OdbcDriver unknown;
    const auto open = [&] { unknown.Open("Driver={No Such ODBC Driver};Server=db1;UID=sa;PWD={se;cret}"); };
    EXPECT_THAT(open, Throws<Error>(Property(&Error::Source, "agganci.db.odbc")));
    // The driver manager's diagnostic is kept; the password is not.
    EXPECT_THAT(open, ThrowsMessage<Error>(AllOf(
                          HasSubstr("Cannot connect to 'Driver={No Such ODBC Driver};Server=db1;UID=sa;PWD=***'"),
                          Not(HasSubstr("cret")), HasSubstr("[Driver Manager]Can't open lib 'No Such ODBC Driver'"))));
    EXPECT_FALSE(unknown.IsOpen());
    EXPECT_THROW(unknown.Open("   "), Error);

    EXPECT_EQ(driver.Translate("SELECT TOP 1 ISNULL(CODE, '') FROM ART WITH (NOLOCK)"),
              std::vector<std::string>{"SELECT TOP 1 ISNULL(CODE, '') FROM ART WITH (NOLOCK)"});
    EXPECT_TRUE(driver.Translate("  \n").empty());
    // A text the engine marks as common SQL goes as it is too: SQL Server gets what it always got.
    EXPECT_EQ(driver.AsWritten("SELECT * FROM ART WITH (NOLOCK) WHERE  CODE = 'a'"),
              std::vector<std::string>{"SELECT * FROM ART WITH (NOLOCK) WHERE  CODE = 'a'"});
    // No dialect adapter in between: SQLite itself refuses the T-SQL, naming it.
    EXPECT_THAT([&] { driver.Run("SELECT ISNULL(NULL, 1)"); }, ThrowsMessage<Error>(HasSubstr("ISNULL")));
}

TEST(OdbcParameterBinder, ProcedureParametersBindAsDeclaredAndTextValuesKeepTheirSizes) {
    // As the engine declares @DITTA NUMERIC(5,0), @ARTICOLO_NEW VARCHAR(25), @DESCRIZIONE_NEW NVARCHAR(72).
    Parameter ditta("@DITTA", adNumeric, adParamInput, 0, Variant(Decimal(10049, 2)));
    ditta.Precision(5);
    auto s = ParameterBinder::SlotForParameter(ditta);
    EXPECT_EQ(s.sqlType, SQL_NUMERIC);
    EXPECT_EQ(s.columnSize, 5u);
    EXPECT_EQ(s.digits, 0);
    EXPECT_EQ(std::string(s.buffer.data(), static_cast<std::size_t>(s.indicator)), "100") << "rounded to the scale";

    s = ParameterBinder::SlotForParameter(Parameter("@ARTICOLO_NEW", adVarChar, adParamInput, 25, Variant("A-1")));
    EXPECT_EQ(s.sqlType, SQL_VARCHAR);
    EXPECT_EQ(s.columnSize, 25u);
    EXPECT_EQ(s.cType, SQL_C_WCHAR) << "the driver converts to the server's code page";

    // The server would cut a longer code to 25 characters without a word, naming another article.
    const std::string code30 = "MODELLO01-ESTATE2026-BLU-XL-XS";
    EXPECT_THAT([&] { ParameterBinder::SlotForParameter(Parameter("@ARTICOLO_NEW", adVarChar, adParamInput, 25,
                                                                  Variant(code30))); },
                ThrowsMessage<Error>(StrEq("The value of parameter @ARTICOLO_NEW is 30 characters long, more than its "
                                           "declared size of 25: it would be cut. Value: " + code30)));
    EXPECT_EQ(ParameterBinder::SlotForParameter(Parameter("@C", adVarChar, adParamInput, 4, Variant("Però"))).indicator,
              8) << "characters are counted, not bytes";

    s = ParameterBinder::SlotForParameter(Parameter("@DESCRIZIONE_NEW", adVarWChar, adParamInput, 72, Variant("Perù")));
    EXPECT_EQ(s.sqlType, SQL_WVARCHAR);
    EXPECT_EQ(s.indicator, 8) << "four UTF-16 units";

    s = ParameterBinder::SlotForParameter(Parameter("@NOTE", adVarWChar, adParamInput, 72, Variant::Null()));
    EXPECT_EQ(s.indicator, SQL_NULL_DATA);

    Parameter stato("@STATO", adNumeric, adParamOutput, 0, Variant(0));
    stato.Precision(1);
    s = ParameterBinder::SlotForParameter(stato);
    EXPECT_EQ(s.ioType, SQL_PARAM_OUTPUT);
    EXPECT_EQ(s.indicator, SQL_NULL_DATA) << "an output sends nothing";
    EXPECT_GE(s.buffer.size(), 40u) << "room for any NUMERIC the server returns";

    s = ParameterBinder::SlotForParameter(Parameter("@NAME", adVarWChar, adParamInputOutput, 30, Variant("ab")));
    EXPECT_EQ(s.ioType, SQL_PARAM_INPUT_OUTPUT);
    EXPECT_GE(s.buffer.size(), 31u * 2) << "room for the longest value the parameter may come back with";

    // A text statement's values keep their declared sizes: the same declaration for every row, so a cached
    // statement is not prepared again on the server.
    const auto a = ParameterBinder::SlotForValue(Variant("A"));
    const auto b = ParameterBinder::SlotForValue(Variant("ABCDEFGH"));
    EXPECT_EQ(a.columnSize, b.columnSize);
    EXPECT_EQ(a.cType, SQL_C_CHAR);
    const auto wide = ParameterBinder::SlotForValue(Variant("Perù"));
    EXPECT_EQ(wide.cType, SQL_C_WCHAR) << "non-ASCII text does not depend on the client code page";
    EXPECT_EQ(wide.sqlType, SQL_WVARCHAR);
    EXPECT_EQ(ParameterBinder::SlotForValue(Variant(std::string(9000, 'x'))).sqlType, SQL_LONGVARCHAR);
}

TEST_F(OdbcSqliteTest, InputOutputBuffersReadBackAsTheirDeclaredType) {
    // No procedures on SQLite: an input-output marker of a plain SELECT keeps what was sent, which is
    // enough to see each kind of buffer read back as the value it holds.
    SQLHANDLE env = SQL_NULL_HANDLE, dbc = SQL_NULL_HANDLE, stmt = SQL_NULL_HANDLE;
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env)));
    Handle envHandle(SQL_HANDLE_ENV, env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc)));
    Handle dbcHandle(SQL_HANDLE_DBC, dbc);
    std::u16string target = ToUtf16(target_);
    ASSERT_TRUE(SQL_SUCCEEDED(SQLDriverConnectW(dbc, nullptr, Wide(target), static_cast<SQLSMALLINT>(target.size()),
                                                nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT)));
    ASSERT_TRUE(SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt)));
    {
        Handle stmtHandle(SQL_HANDLE_STMT, stmt);
        ASSERT_TRUE(SQL_SUCCEEDED(
            SQLPrepare(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT ?, ?, ?, ?")), SQL_NTS)));
        Parameter amount("@AMOUNT", adNumeric, adParamInputOutput, 0, Variant(Decimal(125, 1)));
        amount.Precision(9);
        amount.NumericScale(2);
        ParameterBinder binder(stmt, "SELECT ?, ?, ?, ?");
        binder.Bind(amount);
        binder.Bind(Parameter("@NAME", adVarWChar, adParamInputOutput, 20, Variant("Perù")));
        const Date when = Date::Parse("2024-05-06 07:08:09.500");
        binder.Bind(Parameter("@WHEN", adDBTimeStamp, adParamInputOutput, 0, Variant(when)));
        binder.Bind(Parameter("@FLAG", adBoolean, adParamInputOutput, 0, Variant(true)));
        EXPECT_EQ(binder.Output(0).CStr(), "12.5");
        EXPECT_EQ(binder.Output(0).CDec().Scale(), 2) << "NUMERIC(9,2) comes back with its scale";
        EXPECT_EQ(binder.Output(1).CStr(), "Perù");
        EXPECT_NEAR(binder.Output(2).CDate().serial, when.serial, 1e-9) << "kept to the millisecond";
        EXPECT_TRUE(binder.Output(3).CBool());
    }
    SQLDisconnect(dbc);
}

// What the driver plans for SQL Server: a procedure called with every parameter in order, and a row written
// as the first of equal rows, or inserted with its identity read back.
TEST(OdbcPlans, ProcedureCallsAndRowWritesForSqlServer) {
    Parameters ps;
    ps.Append(std::make_shared<Parameter>("@DITTA", adNumeric, adParamInput, 0, Variant(1)));
    ps.Append(std::make_shared<Parameter>("@ARTICOLO_ORIG", adVarChar, adParamInput, 25, Variant("A")));
    ps.Append(std::make_shared<Parameter>("@STATO", adNumeric, adParamInputOutput, 0, Variant(0)));
    ProcedureCall call = PlanProcedureCall("SPMG_DUPLICAART", ps);
    EXPECT_EQ(call.sql, "{CALL SPMG_DUPLICAART(?, ?, ?)}");
    ASSERT_EQ(call.order.size(), 3u);
    EXPECT_EQ(call.order[2]->Name(), "@STATO");

    ps.Append(std::make_shared<Parameter>("@RETURN_VALUE", adInteger, adParamReturnValue, 0, Variant()));
    call = PlanProcedureCall("dbo.SPMG_DUPLICAART", ps);
    EXPECT_EQ(call.sql, "{? = CALL dbo.SPMG_DUPLICAART(?, ?, ?)}");
    EXPECT_EQ(call.order[0]->Name(), "@RETURN_VALUE") << "the return value is the first marker";

    EXPECT_THROW(PlanProcedureCall("X(1)}; DROP TABLE ART; {CALL Y", ps), Error);

    const SqlDialect tsql = SqlDialect::TransactSql();
    const RowWrite w{.kind = RowWrite::Kind::Delete, .table = {"dbo", "LOOSE"}, .setColumns = {}, .setValues = {},
                     .keyColumns = {"X", "Y"}, .keyValues = {Variant(1), Variant::Null()}, .keyIsPrimary = false,
                     .readBack = {}};
    RowWritePlan plan = PlanRowWrite(w, {}, tsql);
    EXPECT_EQ(plan.sql, "DELETE TOP (1) FROM dbo.LOOSE WHERE X = ? AND Y IS NULL");
    EXPECT_EQ(plan.values.size(), 1u);

    const RowWrite insert{.kind = RowWrite::Kind::Insert, .table = {"dbo", "MG65_BARCODE"}, .setColumns = {"MG65_CODE"},
                          .setValues = {Variant("800")}, .keyColumns = {}, .keyValues = {},
                          .readBack = {"MG65_ID", "MG65_CODE"}};
    plan = PlanRowWrite(insert, {"MG65_ID"}, tsql);
    EXPECT_TRUE(plan.readBackInBatch);
    EXPECT_EQ(plan.sql,
              "INSERT INTO dbo.MG65_BARCODE (MG65_CODE) VALUES (?); "
              "SELECT MG65_ID, MG65_CODE FROM dbo.MG65_BARCODE WHERE MG65_ID = SCOPE_IDENTITY()");

    plan = PlanRowWrite(insert, {"MG65_CODE"}, tsql);
    EXPECT_FALSE(plan.readBackInBatch);
    EXPECT_EQ(plan.readBackSql, "SELECT MG65_ID, MG65_CODE FROM dbo.MG65_BARCODE WHERE MG65_CODE = ?");
}

TEST_F(OdbcSqliteTest, SavepointNamesAreCheckedUnitsStandAloneAndARowWithoutKeyIsNeverWrittenTwice) {
    EXPECT_THROW(driver.RollbackToSavepoint("nowhere"), Error);
    driver.Begin();
    EXPECT_THROW(driver.RollbackToSavepoint("nowhere"), Error);
    EXPECT_THROW(driver.Savepoint("bad name; DROP TABLE ART"), Error);
    EXPECT_THROW(driver.Begin(), Error) << "an inner level is a savepoint, not a second BEGIN";
    driver.Rollback();
    EXPECT_EQ(Count("ART"), 0);

    // Outside a transaction a savepoint is a unit of its own.
    {
        SavepointScope unit(driver, "agg_batch");
        EXPECT_TRUE(driver.InTransaction());
        driver.Run("INSERT INTO ART (ID, CODE) VALUES (1, 'A')");
        unit.Release();
    }
    EXPECT_FALSE(driver.InTransaction()) << "the release committed";
    {
        SavepointScope unit(driver, "agg_batch");
        driver.Run("INSERT INTO ART (ID, CODE) VALUES (2, 'B')");
        // Left without Release: undone, and the transaction it opened is over.
    }
    EXPECT_FALSE(driver.InTransaction());
    driver.Close();
    driver.Open(target_);
    EXPECT_EQ(Count("ART"), 1);

    driver.Run("INSERT INTO LOOSE (X, Y) VALUES (1, 'a')");
    driver.Run("INSERT INTO LOOSE (X, Y) VALUES (1, 'a')");
    const RowWrite update{.kind = RowWrite::Kind::Update, .table = {"", "LOOSE"}, .setColumns = {"Y"},
                          .setValues = {Variant("b")}, .keyColumns = {"X", "Y"},
                          .keyValues = {Variant(1), Variant("a")}, .keyIsPrimary = false, .readBack = {}};
    {
        SavepointScope unit(driver, "agg_batch");  // as Recordset::WriteRows runs every write
        // Two equal rows and no key: which one is meant cannot be told.
        EXPECT_THAT([&] { driver.WriteRow(update); },
                    ThrowsMessage<Error>(HasSubstr("2 rows of LOOSE hold the values read")));
    }
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM LOOSE WHERE Y = 'a'").CLng(), 2) << "both rows as they were";
}

TEST(OdbcText, Utf8AndUtf16RoundTrip) {
    const std::string text = "àÈ € 😀 z";
    EXPECT_EQ(ToUtf16(text).size(), 9u) << "the emoji takes a surrogate pair";
    EXPECT_EQ(ToUtf8(ToUtf16(text)), text);
    EXPECT_EQ(ToUtf8(ToUtf16("a\xFF" "b")), "a\xEF\xBF\xBD" "b") << "a malformed byte becomes U+FFFD";
    EXPECT_EQ(ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD") << "so does an unpaired surrogate";
}

}  // namespace
}  // namespace db::odbc
