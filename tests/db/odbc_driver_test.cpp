// The ODBC driver, run through unixODBC against the SQLite ODBC driver (Debian's libsqliteodbc) with SQL
// that SQL Server accepts as well; what only SQL Server can show (T-SQL savepoints, several result
// sets, output parameters) is checked in the statements the driver writes for it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlext.h>
#include <unistd.h>

#include <filesystem>
#include <optional>

#include "db/AdoErrors.h"
#include "db/Command.h"
#include "db/FaultInjector.h"
#include "db/odbc/OdbcColumns.h"
#include "db/odbc/OdbcConnectionString.h"
#include "db/odbc/OdbcDialect.h"
#include "db/odbc/OdbcDriver.h"
#include "db/odbc/OdbcHandle.h"
#include "db/odbc/OdbcParameterBinder.h"
#include "db/odbc/OdbcProcedureCall.h"
#include "db/odbc/OdbcRowWrite.h"
#include "db/odbc/OdbcScript.h"
#include "db/odbc/OdbcText.h"

namespace db::odbc {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// The SQLite ODBC driver as /etc/odbcinst.ini registers it, else by the library's path.
std::optional<std::string> SqliteOdbcTarget(const std::string& database) {
    std::vector<std::string> drivers{"SQLite3"};
    for (const char* lib : {"/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so", "/usr/lib/aarch64-linux-gnu/odbc/libsqlite3odbc.so",
                            "/usr/lib/odbc/libsqlite3odbc.so", "/usr/local/lib/libsqlite3odbc.so"}) {
        if (std::filesystem::exists(lib)) drivers.emplace_back(lib);
    }
    for (const std::string& driver : drivers) {
        const std::string target = "Driver=" + driver + ";Database=" + database;
        try {
            OdbcDriver probe;
            probe.Open(target);
            return target;
        } catch (const Error&) {
        }
    }
    return std::nullopt;
}

class OdbcSqliteTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("odbc-" + std::to_string(::getpid()) + "-" + info->test_suite_name() + "-" + info->name() + ".db");
        std::filesystem::remove(path_);
        const auto target = SqliteOdbcTarget(path_.string());
        if (!target) GTEST_SKIP() << "No SQLite ODBC driver found (Debian package libsqliteodbc): nothing to connect to";
        target_ = *target;
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
    Variant Scalar(const std::string& sql, const std::vector<BoundValue>& values = {}) {
        return driver.Run(sql, values).rows.at(0).at(0);
    }
    static BoundValue V(Variant v) { return {{}, std::move(v)}; }

    std::filesystem::path path_;
    std::string target_;
    FaultInjector faults;
    OdbcDriver driver;
};

// --- connecting -------------------------------------------------------------------------------------

TEST_F(OdbcSqliteTest, OpensOnceAndClosesCleanly) {
    EXPECT_TRUE(driver.IsOpen());
    EXPECT_FALSE(driver.Dialect().IsTransactSql()) << "SQLite is not SQL Server: standard savepoints";
    try {
        driver.Open(target_);
        FAIL() << "a second Open must fail";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ado::ObjectOpen);
    }
    driver.Close();
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_THROW(driver.Run("SELECT 1"), Error);
    driver.Open(target_);
    EXPECT_EQ(Count("ART"), 0) << "the same database again";
}

TEST(OdbcOpen, FailureNamesTheSourceWithoutThePassword) {
    OdbcDriver driver;
    try {
        driver.Open("Driver={No Such ODBC Driver};Server=db1;UID=sa;PWD={se;cret}");
        FAIL() << "an unknown driver cannot connect";
    } catch (const Error& e) {
        EXPECT_EQ(e.Source(), "agganci.db.odbc");
        EXPECT_THAT(e.Description(), HasSubstr("Cannot connect to 'Driver={No Such ODBC Driver};Server=db1;UID=sa;PWD=***'"));
        EXPECT_THAT(e.Description(), Not(HasSubstr("cret")));
        EXPECT_THAT(e.Description(), HasSubstr("[Driver Manager]Can't open lib 'No Such ODBC Driver'"))
            << "the driver manager's diagnostic is kept";
    }
    EXPECT_FALSE(driver.IsOpen());
    EXPECT_THROW(driver.Open("   "), Error);
}

// --- statements, values and metadata ---------------------------------------------------------------

TEST_F(OdbcSqliteTest, StatementsGoVerbatim) {
    EXPECT_EQ(driver.Translate("SELECT TOP 1 ISNULL(CODE, '') FROM ART WITH (NOLOCK)"),
              std::vector<std::string>{"SELECT TOP 1 ISNULL(CODE, '') FROM ART WITH (NOLOCK)"});
    EXPECT_TRUE(driver.Translate("  \n").empty());
    // No dialect adapter in between: SQLite itself refuses the T-SQL, naming it.
    try {
        driver.Run("SELECT ISNULL(NULL, 1)");
        FAIL();
    } catch (const Error& e) {
        EXPECT_THAT(e.Description(), HasSubstr("ISNULL"));
    }
}

TEST_F(OdbcSqliteTest, ValuesOfEachKindBindAndComeBack) {
    driver.RunScript(
        "CREATE TABLE V (I SMALLINT, L INTEGER, B BIT, D DOUBLE, M NUMERIC(9,2), T DATETIME, S VARCHAR(20),"
        " W NVARCHAR(20), N VARCHAR(5), BIG BIGINT, LONGTEXT TEXT)");
    const Date when = Date::Parse("2024-02-29 13:45:10.250");
    const std::string longText = std::string(9000, 'x') + "àé" + std::string(3000, 'y');  // several fetch pieces
    const StatementResult written = driver.Run(
        "INSERT INTO V VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
        {V(std::int16_t(-7)), V(123456), V(true), V(2.25), V(Decimal(1250, 2)), V(when), V("O'Hara"), V("Perù 😀"),
         V(Variant::Null()), V(5000000000LL), V(longText)});
    EXPECT_EQ(written.changes, 1);
    EXPECT_FALSE(written.hasRowSet);

    const StatementResult r = driver.Run("SELECT I, L, B, D, M, T, S, W, N, BIG, LONGTEXT FROM V");
    ASSERT_TRUE(r.hasRowSet);
    ASSERT_EQ(r.rows.size(), 1u);
    const auto& row = r.rows[0];
    EXPECT_EQ(row[0].Type(), VarType::Integer);
    EXPECT_EQ(row[0].CLng(), -7);
    EXPECT_EQ(row[1].Type(), VarType::Long);
    EXPECT_EQ(row[1].CLng(), 123456);
    EXPECT_EQ(row[2].Type(), VarType::Boolean);
    EXPECT_TRUE(row[2].CBool());
    EXPECT_EQ(row[3].CDbl(), 2.25);
    EXPECT_EQ(row[4].CDbl(), 12.5);
    EXPECT_EQ(row[5].Type(), VarType::Date);
    EXPECT_NEAR(row[5].CDate().serial, when.serial, 1e-9) << "to the millisecond";
    EXPECT_EQ(row[6].CStr(), "O'Hara");
    EXPECT_EQ(row[7].CStr(), "Perù 😀");
    EXPECT_TRUE(row[8].IsNull());
    EXPECT_EQ(row[9].Type(), VarType::Decimal) << "beyond 32 bits every digit is kept";
    EXPECT_EQ(row[9].CStr(), "5000000000");
    EXPECT_EQ(row[10].CStr(), longText);

    // How the values reached the database: a flag as 1 (not VB's -1), a decimal exactly as its text.
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM V WHERE B = 1 AND M = ?", {V(Decimal(125, 1))}).CLng(), 1);
    EXPECT_EQ(Scalar("SELECT typeof(?)", {V(Variant())}).CStr(), "null") << "Empty binds as NULL";
    EXPECT_EQ(Scalar("SELECT ? || '|' || ?", {V(Decimal(-1005, 3)), V(false)}).CStr(), "-1.005|0");

    try {
        driver.Run("SELECT ?", {V(Variant(ObjectPtr()))});
        FAIL() << "an object is no value for a statement";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::TypeMismatch);
    }
}

TEST_F(OdbcSqliteTest, ColumnsCarryTypesSizesAndTheirBaseTable) {
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (1, 'A')");
    const StatementResult r = driver.Run("SELECT ID, CODE, NOTE, '' AS MG5T_CODICE, ID + 1 AS NEXT_ID FROM ART");
    ASSERT_EQ(r.columns.size(), 5u);
    EXPECT_EQ(r.columns[0].name, "ID");
    EXPECT_EQ(r.columns[0].type, adInteger);
    EXPECT_EQ(r.columns[1].type, adVarChar);
    EXPECT_EQ(r.columns[1].definedSize, 10);
    EXPECT_EQ(r.columns[2].definedSize, 20);
    for (int i : {0, 1, 2}) {
        EXPECT_EQ(r.columns[i].baseTable, "ART") << r.columns[i].name;
        EXPECT_EQ(r.columns[i].baseColumn, r.columns[i].name);
    }
    // Computed columns are never written back.
    for (int i : {3, 4}) {
        EXPECT_EQ(r.columns[i].baseTable, "") << r.columns[i].name;
        EXPECT_EQ(r.columns[i].baseColumn, "") << r.columns[i].name;
    }
    EXPECT_EQ(r.rows.at(0).at(2).CStr(), "none") << "the table default applied";

    // An empty result still describes its columns.
    const StatementResult none = driver.Run("SELECT ID, CODE FROM ART WHERE 1 = 0");
    EXPECT_TRUE(none.hasRowSet);
    EXPECT_EQ(none.columns.size(), 2u);
    EXPECT_TRUE(none.rows.empty());
}

TEST_F(OdbcSqliteTest, PrimaryKeyInKeyOrder) {
    EXPECT_EQ(driver.PrimaryKey({"", "ART"}), std::vector<std::string>{"ID"});
    // The SQLite ODBC driver numbers key columns in table order whatever the declaration says, so only
    // a key declared in table order can be checked here.
    EXPECT_EQ(driver.PrimaryKey({"", "PAIR"}), (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(driver.PrimaryKey({"", "LOOSE"}).empty());
}

// --- the statement cache and parameters -------------------------------------------------------------

TEST_F(OdbcSqliteTest, PreparedStatementsAreReusedWithFreshValues) {
    const std::size_t before = driver.CachedStatementCount();
    const std::string insert = "INSERT INTO ART (ID, CODE) VALUES (?, ?)";
    EXPECT_EQ(driver.PositionalParameterCount(insert), 2);
    for (int i = 1; i <= 3; ++i) driver.Run(insert, {V(i), V("C" + std::to_string(i))});
    EXPECT_EQ(driver.CachedStatementCount(), before + 1) << "one prepared statement for every row";
    driver.Run("SELECT CODE FROM ART WHERE ID = ?", {V(2)});
    EXPECT_EQ(driver.Run("SELECT CODE FROM ART WHERE ID = ?", {V(3)}).rows.at(0).at(0).CStr(), "C3");
    EXPECT_EQ(driver.CachedStatementCount(), before + 2);
    EXPECT_EQ(Count("ART"), 3);

    // A value left unbound is the driver's error, not a silent NULL.
    EXPECT_THROW(driver.Run(insert, {V(9)}), Error);
    EXPECT_EQ(Count("ART"), 3);
    try {
        driver.Run("SELECT CODE FROM ART WHERE ID = @ID", {{"@ID", Variant(1)}});
        FAIL() << "ODBC binds text statements by position only";
    } catch (const Error& e) {
        EXPECT_THAT(e.Description(), HasSubstr("Named parameters cannot be bound"));
    }
}

TEST(OdbcParameterBinder, ProcedureParametersBindAsDeclared) {
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
        ASSERT_TRUE(SQL_SUCCEEDED(SQLPrepare(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT ?, ?, ?, ?")), SQL_NTS)));
        Parameter amount("@AMOUNT", adNumeric, adParamInputOutput, 0, Variant(Decimal(125, 1)));
        amount.Precision(9);
        amount.NumericScale(2);
        ParameterBinder binder(stmt, "SELECT ?, ?, ?, ?");
        binder.Bind(amount);
        binder.Bind(Parameter("@NAME", adVarWChar, adParamInputOutput, 20, Variant("Perù")));
        binder.Bind(Parameter("@WHEN", adDBTimeStamp, adParamInputOutput, 0, Variant(Date::Parse("2024-05-06 07:08:09.500"))));
        binder.Bind(Parameter("@FLAG", adBoolean, adParamInputOutput, 0, Variant(true)));
        EXPECT_EQ(binder.Output(0).CStr(), "12.5");
        EXPECT_EQ(binder.Output(0).CDec().Scale(), 2) << "NUMERIC(9,2) comes back with its scale";
        EXPECT_EQ(binder.Output(1).CStr(), "Perù");
        EXPECT_NEAR(binder.Output(2).CDate().serial, Date::Parse("2024-05-06 07:08:09.500").serial, 1e-9)
            << "kept to the millisecond";
        EXPECT_TRUE(binder.Output(3).CBool());
    }
    SQLDisconnect(dbc);
}

TEST(OdbcParameterBinder, TextStatementValuesKeepTheirDeclaredSizes) {
    // The same declaration for every row, so a cached statement is not prepared again on the server.
    const auto a = ParameterBinder::SlotForValue(Variant("A"));
    const auto b = ParameterBinder::SlotForValue(Variant("ABCDEFGH"));
    EXPECT_EQ(a.columnSize, b.columnSize);
    EXPECT_EQ(a.cType, SQL_C_CHAR);
    const auto wide = ParameterBinder::SlotForValue(Variant("Perù"));
    EXPECT_EQ(wide.cType, SQL_C_WCHAR) << "non-ASCII text does not depend on the client code page";
    EXPECT_EQ(wide.sqlType, SQL_WVARCHAR);
    EXPECT_EQ(ParameterBinder::SlotForValue(Variant(std::string(9000, 'x'))).sqlType, SQL_LONGVARCHAR);
    const auto dec = ParameterBinder::SlotForValue(Variant(Decimal(-1005, 3)));
    EXPECT_EQ(dec.sqlType, SQL_NUMERIC);
    EXPECT_EQ(dec.digits, 3);
    EXPECT_EQ(ParameterBinder::SlotForValue(Variant(Date::FromParts(2024, 1, 2))).sqlType, SQL_TYPE_TIMESTAMP);
}

TEST(OdbcProcedureCall, CallsWithEveryParameterInOrder) {
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
    EXPECT_EQ(PlanProcedureCall("P", Parameters()).sql, "{CALL P}");
}

// --- transactions -----------------------------------------------------------------------------------

TEST_F(OdbcSqliteTest, OuterTransactionCommitsOrRollsBack) {
    driver.Begin();
    EXPECT_TRUE(driver.InTransaction());
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (1, 'A')");
    driver.Rollback();
    EXPECT_FALSE(driver.InTransaction());
    EXPECT_EQ(Count("ART"), 0);

    driver.Begin();
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (2, 'B')");
    driver.Commit();
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (3, 'C')");  // autocommit again
    driver.Close();
    driver.Open(target_);
    EXPECT_EQ(Count("ART"), 2);

    EXPECT_THROW(driver.Commit(), Error);
    EXPECT_THROW(driver.Rollback(), Error);
    driver.Begin();
    EXPECT_THROW(driver.Begin(), Error) << "an inner level is a savepoint, not a second BEGIN";
    driver.Rollback();
}

TEST_F(OdbcSqliteTest, ClosingRollsBackAnOpenTransaction) {
    driver.Begin();
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (1, 'A')");
    driver.Close();
    driver.Open(target_);
    EXPECT_EQ(Count("ART"), 0);
    EXPECT_FALSE(driver.InTransaction());
}

TEST_F(OdbcSqliteTest, InnerLevelsAreSavepoints) {
    driver.Begin();
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (1, 'kept')");
    driver.Savepoint("agg_trans_2");
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (2, 'undone')");
    driver.RollbackToSavepoint("agg_trans_2");
    driver.ReleaseSavepoint("agg_trans_2");
    driver.Savepoint("agg_trans_2");
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (3, 'released')");
    driver.ReleaseSavepoint("agg_trans_2");
    EXPECT_TRUE(driver.InTransaction()) << "releasing an inner level leaves the outer one open";
    driver.Commit();
    EXPECT_EQ(driver.Run("SELECT CODE FROM ART ORDER BY ID").rows.size(), 2u);
    EXPECT_EQ(Scalar("SELECT CODE FROM ART WHERE ID = 3").CStr(), "released");

    // Released work is still the outer transaction's to undo.
    driver.Begin();
    driver.Savepoint("agg_trans_2");
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (4, 'gone')");
    driver.ReleaseSavepoint("agg_trans_2");
    driver.Rollback();
    EXPECT_EQ(Count("ART"), 2);

    EXPECT_THROW(driver.RollbackToSavepoint("nowhere"), Error);
    driver.Begin();
    EXPECT_THROW(driver.RollbackToSavepoint("nowhere"), Error);
    EXPECT_THROW(driver.Savepoint("bad name; DROP TABLE ART"), Error);
    driver.Rollback();
    EXPECT_EQ(Count("ART"), 2);
}

TEST_F(OdbcSqliteTest, SavepointOutsideATransactionIsAUnitOfItsOwn) {
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
}

// --- recordset rows ---------------------------------------------------------------------------------

TEST_F(OdbcSqliteTest, RowWritesFindTheirRowByKey) {
    RowWrite insert;
    insert.kind = RowWrite::Kind::Insert;
    insert.table = {"", "ART"};
    insert.setColumns = {"ID", "CODE"};
    insert.setValues = {Variant(7), Variant("A7")};
    insert.readBack = {"ID", "CODE", "NOTE"};
    const RowWriteResult made = driver.WriteRow(insert);
    ASSERT_EQ(made.readBack.size(), 3u);
    EXPECT_EQ(made.readBack[2].CStr(), "none") << "a field never assigned takes the table default";

    RowWrite update;
    update.kind = RowWrite::Kind::Update;
    update.table = {"", "ART"};
    update.setColumns = {"NOTE"};
    update.setValues = {Variant("changed")};
    update.keyColumns = {"ID"};
    update.keyValues = {Variant(7)};
    driver.WriteRow(update);
    EXPECT_EQ(Scalar("SELECT NOTE FROM ART WHERE ID = 7").CStr(), "changed");

    update.keyValues = {Variant(8)};
    try {
        driver.WriteRow(update);
        FAIL() << "a row that is not there cannot be updated";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ado::RowNotFound);
        EXPECT_THAT(e.Description(), HasSubstr("Row cannot be located for updating"));
    }

    RowWrite remove = update;
    remove.kind = RowWrite::Kind::Delete;
    remove.keyValues = {Variant(7)};
    driver.WriteRow(remove);
    EXPECT_EQ(Count("ART"), 0);
}

TEST_F(OdbcSqliteTest, RowWithoutKeyIsNeverWrittenTwice) {
    driver.Run("INSERT INTO LOOSE (X, Y) VALUES (1, 'a')");
    driver.Run("INSERT INTO LOOSE (X, Y) VALUES (1, 'a')");
    RowWrite update;
    update.kind = RowWrite::Kind::Update;
    update.table = {"", "LOOSE"};
    update.setColumns = {"Y"};
    update.setValues = {Variant("b")};
    update.keyColumns = {"X", "Y"};
    update.keyValues = {Variant(1), Variant("a")};
    update.keyIsPrimary = false;
    {
        SavepointScope unit(driver, "agg_batch");  // as Recordset::WriteRows runs every write
        try {
            driver.WriteRow(update);
            FAIL() << "two equal rows and no key: which one is meant cannot be told";
        } catch (const Error& e) {
            EXPECT_THAT(e.Description(), HasSubstr("2 rows of LOOSE hold the values read"));
        }
    }
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM LOOSE WHERE Y = 'a'").CLng(), 2) << "both rows as they were";
}

TEST(OdbcRowWrite, SqlServerWritesTheFirstRowAndReadsItsIdentity) {
    const SqlDialect tsql = SqlDialect::TransactSql();
    RowWrite w;
    w.kind = RowWrite::Kind::Delete;
    w.table = {"dbo", "LOOSE"};
    w.keyColumns = {"X", "Y"};
    w.keyValues = {Variant(1), Variant::Null()};
    w.keyIsPrimary = false;
    RowWritePlan plan = PlanRowWrite(w, {}, tsql);
    EXPECT_EQ(plan.sql, "DELETE TOP (1) FROM dbo.LOOSE WHERE X = ? AND Y IS NULL");
    EXPECT_EQ(plan.values.size(), 1u);

    RowWrite insert;
    insert.kind = RowWrite::Kind::Insert;
    insert.table = {"dbo", "MG65_BARCODE"};
    insert.setColumns = {"MG65_CODE"};
    insert.setValues = {Variant("800")};
    insert.readBack = {"MG65_ID", "MG65_CODE"};
    plan = PlanRowWrite(insert, {"MG65_ID"}, tsql);
    EXPECT_TRUE(plan.readBackInBatch);
    EXPECT_EQ(plan.sql,
              "INSERT INTO dbo.MG65_BARCODE (MG65_CODE) VALUES (?); "
              "SELECT MG65_ID, MG65_CODE FROM dbo.MG65_BARCODE WHERE MG65_ID = SCOPE_IDENTITY()");

    plan = PlanRowWrite(insert, {"MG65_CODE"}, tsql);
    EXPECT_FALSE(plan.readBackInBatch);
    EXPECT_EQ(plan.readBackSql, "SELECT MG65_ID, MG65_CODE FROM dbo.MG65_BARCODE WHERE MG65_CODE = ?");
}

// --- errors and fault injection ---------------------------------------------------------------------

TEST_F(OdbcSqliteTest, ErrorsCarryTheNativeNumberTextAndStatement) {
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (1, 'A')");
    try {
        driver.Run("INSERT INTO ART (ID, CODE) VALUES (?, ?)", {V(1), V("again")});
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), 19) << "SQLite's constraint code, as the driver reports it";
        EXPECT_EQ(e.Source(), "agganci.db.odbc");
        EXPECT_THAT(e.Description(), HasSubstr("UNIQUE constraint failed: ART.ID"));
        EXPECT_THAT(e.Description(), HasSubstr("(SQLSTATE "));
        EXPECT_THAT(e.Description(), HasSubstr(" - statement: INSERT INTO ART (ID, CODE) VALUES (?, ?)"));
    }
    try {
        driver.Run("SELEC 1");
        FAIL();
    } catch (const Error& e) {
        EXPECT_THAT(e.Description(), HasSubstr("syntax error"));
    }
    EXPECT_EQ(Count("ART"), 1) << "the connection goes on after errors";
}

TEST_F(OdbcSqliteTest, InjectedFaultStopsTheStatementBeforeItRuns) {
    faults.FailNth(2);
    driver.Begin();  // transaction control is not counted
    driver.Run("INSERT INTO ART (ID, CODE) VALUES (1, 'A')");
    try {
        driver.Run("INSERT INTO ART (ID, CODE) VALUES (2, 'B')");
        FAIL() << "the second statement was to fail";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::InjectedFault);
    }
    driver.Commit();
    EXPECT_EQ(Count("ART"), 1);

    faults.FailMatching("insert into pair");
    EXPECT_THROW(driver.Run("INSERT INTO PAIR (A, B) VALUES (1, 'x')"), Error);
    EXPECT_EQ(Count("PAIR"), 0);

    RowWrite insert;
    insert.kind = RowWrite::Kind::Insert;
    insert.table = {"", "ART"};
    insert.setColumns = {"ID", "CODE"};
    insert.setValues = {Variant(5), Variant("E")};
    faults.FailMatching("INSERT INTO ART");
    EXPECT_THROW(driver.WriteRow(insert), Error) << "row writes are statements too";
    EXPECT_EQ(Count("ART"), 1);
}

// --- scripts and text -------------------------------------------------------------------------------

TEST_F(OdbcSqliteTest, ScriptsRunBatchByBatch) {
    driver.RunScript("CREATE TABLE S1 (X INTEGER)\nGO\nINSERT INTO S1 VALUES (1)\ngo\nINSERT INTO S1 VALUES (2)\n");
    EXPECT_EQ(Count("S1"), 2);
    EXPECT_EQ(faults.StatementCount(), 1) << "a script is not counted; only the COUNT(*) above was";
}

TEST(OdbcText, Utf8AndUtf16RoundTrip) {
    const std::string text = "àÈ € 😀 z";
    EXPECT_EQ(ToUtf16(text).size(), 9u) << "the emoji takes a surrogate pair";
    EXPECT_EQ(ToUtf8(ToUtf16(text)), text);
    EXPECT_EQ(ToUtf8(ToUtf16("a\xFF" "b")), "a\xEF\xBF\xBD" "b") << "a malformed byte becomes U+FFFD";
    EXPECT_EQ(ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD") << "so does an unpaired surrogate";
    EXPECT_TRUE(IsAscii("MG66_CODART"));
    EXPECT_FALSE(IsAscii("Perù"));
}

}  // namespace
}  // namespace db::odbc
