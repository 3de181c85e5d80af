// Client-side recordsets over SQLite: what reaches the table, when, and what the rows show afterwards.
#include <gtest/gtest.h>

#include "db/AdoErrors.h"
#include "db/Connection.h"
#include "db/Driver.h"
#include "db/Recordset.h"

namespace db {
namespace {

class RecordsetTest : public ::testing::Test {
protected:
    void SetUp() override {
        conn = Connection::Create();
        conn->Open("sqlite::memory:");
        conn->GetDriver().RunScript(
            "CREATE TABLE ART ("
            " ID INTEGER PRIMARY KEY,"
            " CODE VARCHAR(10) COLLATE SQLSERVER NOT NULL,"
            " QTY NUMERIC(9,2) NOT NULL DEFAULT 7.5,"
            " NOTE NVARCHAR(20) COLLATE SQLSERVER DEFAULT 'none',"
            " GUID VARCHAR(36) NOT NULL DEFAULT (hex(randomblob(4)) || '-' || hex(randomblob(6))),"
            " FLAG SMALLINT NOT NULL DEFAULT 0,"
            " MADE DATETIME)");
    }

    long Count(const std::string& where = "1=1") {
        return conn->Execute("SELECT COUNT(*) FROM ART WHERE " + where)->GetFields()[0L].Value().CLng();
    }
    Variant Scalar(const std::string& sql) { return conn->Execute(sql)->GetFields()[0L].Value(); }

    RecordsetPtr OpenRs(const std::string& sql, long lock = adLockUnspecified) {
        auto rs = Recordset::Create();
        rs->Open(sql, conn, adOpenUnspecified, lock, adOptionUnspecified);
        return rs;
    }

    void Seed() {
        conn->Execute("INSERT INTO ART (ID, CODE, QTY, NOTE) VALUES (1, 'A1', 1, 'one'), (2, 'B2', 2, 'two'), "
                      "(3, 'C3', 3, 'three')");
    }

    ConnectionPtr conn;
};

TEST_F(RecordsetTest, FieldNeverAssignedTakesTheTableDefaultAndInsertedRowIsReadBack) {
    auto rs = OpenRs("SELECT * FROM ART WHERE 0=1");
    rs->AddNew();
    (*rs)["CODE"].Value("X1");
    rs->Update();
    EXPECT_EQ(Count(), 0) << "batch optimistic keeps the row pending";
    rs->UpdateBatch();

    EXPECT_EQ(Count("CODE = 'X1' AND QTY = 7.5 AND NOTE = 'none' AND FLAG = 0"), 1);
    // What the database made is visible in the recordset: key, defaults, GUID.
    EXPECT_EQ((*rs)["ID"].Value().CLng(), Scalar("SELECT ID FROM ART").CLng());
    EXPECT_EQ((*rs)["QTY"].Value().CDbl(), 7.5);
    EXPECT_EQ((*rs)["NOTE"].Value().CStr(), "none");
    EXPECT_EQ((*rs)["GUID"].Value().CStr(), Scalar("SELECT GUID FROM ART").CStr());
    EXPECT_EQ((*rs)["GUID"].Value().CStr().size(), 21u);
    EXPECT_EQ(rs->Status(), adRecUnmodified);
}

TEST_F(RecordsetTest, NullAssignedExplicitlyIsWrittenAsNull) {
    auto rs = OpenRs("SELECT * FROM ART WHERE 0=1");
    rs->AddNew();
    (*rs)["CODE"].Value("X1");
    (*rs)["NOTE"].Value(Variant::Null());
    rs->UpdateBatch();
    EXPECT_EQ(Count("NOTE IS NULL"), 1);
}

TEST_F(RecordsetTest, OptimisticLockWritesOnUpdate) {
    auto rs = OpenRs("SELECT * FROM ART WHERE 0=1", adLockOptimistic);
    rs->AddNew();
    (*rs)["CODE"].Value("X1");
    rs->Update();
    EXPECT_EQ(Count(), 1);
    EXPECT_FALSE((*rs)["ID"].Value().IsNull());

    (*rs)["CODE"].Value("X2");
    rs->MoveFirst();  // leaving an edited row ends the edit, as Update would
    EXPECT_EQ(Count("CODE = 'X2'"), 1);
}

TEST_F(RecordsetTest, BatchWithFailingRowWritesNothingAndKeepsRowsPending) {
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
    EXPECT_EQ(conn->Errors().front().Number(), ado::IntegrityViolation);
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

TEST_F(RecordsetTest, UpdateAndDeleteFindTheRowByItsOriginalKey) {
    Seed();
    auto rs = OpenRs("SELECT * FROM ART ORDER BY ID");
    ASSERT_EQ(rs->RecordCount(), 3);
    (*rs)["ID"].Value(10);  // the key itself changes: the row is found by the key as read
    (*rs)["NOTE"].Value("first");
    rs->MoveNext();
    rs->Delete();
    EXPECT_EQ(rs->RecordCount(), 2);
    EXPECT_EQ(Count(), 3);
    rs->UpdateBatch();
    EXPECT_EQ(Count("ID = 10 AND NOTE = 'first' AND CODE = 'A1'"), 1);
    EXPECT_EQ(Count("ID = 2"), 0);
    EXPECT_EQ(Count(), 2);
}

TEST_F(RecordsetTest, RowChangedByAnotherWriterIsAConflict) {
    Seed();
    auto rs = OpenRs("SELECT * FROM ART WHERE ID = 1");
    conn->Execute("DELETE FROM ART WHERE ID = 1");
    (*rs)["NOTE"].Value("x");
    try {
        rs->UpdateBatch();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ado::RowNotFound);
        EXPECT_NE(e.Description().find("Row cannot be located for updating"), std::string::npos);
        EXPECT_EQ(e.Source(), "agganci.db.sqlite");
    }
}

TEST_F(RecordsetTest, ComputedColumnsAndColumnsOfJoinedTablesAreNeverWritten) {
    Seed();
    conn->GetDriver().RunScript("CREATE TABLE LOOKUP (CODE VARCHAR(10) COLLATE SQLSERVER PRIMARY KEY, DESCR VARCHAR(20))");
    conn->Execute("INSERT INTO LOOKUP VALUES ('A1', 'first')");
    auto rs = OpenRs("SELECT ART.*, LOOKUP.DESCR, '' AS EXTRA FROM ART JOIN LOOKUP ON LOOKUP.CODE = ART.CODE");
    ASSERT_EQ(rs->RecordCount(), 1);
    (*rs)["EXTRA"].Value("shown only");
    (*rs)["DESCR"].Value("changed locally");
    (*rs)["NOTE"].Value("written");
    rs->UpdateBatch();
    EXPECT_EQ(Count("ID = 1 AND NOTE = 'written'"), 1);
    EXPECT_EQ(Scalar("SELECT DESCR FROM LOOKUP").CStr(), "first");
    EXPECT_EQ((*rs)["EXTRA"].Value().CStr(), "shown only");

    rs->AddNew();
    (*rs)["CODE"].Value("NEW");
    (*rs)["EXTRA"].Value("x");
    rs->UpdateBatch();
    EXPECT_EQ(Count("CODE = 'NEW'"), 1);
}

TEST_F(RecordsetTest, OnlyComputedFieldsChangedSendsNoStatement) {
    Seed();
    auto rs = OpenRs("SELECT *, '' AS EXTRA FROM ART");
    (*rs)["EXTRA"].Value("local");
    conn->Faults().ResetCount();
    rs->UpdateBatch();
    EXPECT_EQ(conn->Faults().StatementCount(), 0);
}

TEST_F(RecordsetTest, CloneSharesRowsWithItsOwnPositionAndFilter) {
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

    rs->AddNew();
    (*rs)["CODE"].Value("D4");
    rs->Update();
    EXPECT_EQ(clone->RecordCount(), 4);

    clone->Filter(Variant("CODE = 'B2'"));
    EXPECT_EQ(clone->RecordCount(), 1);
    EXPECT_EQ(rs->RecordCount(), 4);

    clone->UpdateBatch();  // affects all pending rows, whoever made them
    EXPECT_EQ(Count("CODE = 'D4'"), 1);
    EXPECT_EQ(Count("NOTE = 'via clone'"), 1);
}

TEST_F(RecordsetTest, FieldMetadataComesFromTheDeclaredTypes) {
    conn->Execute("INSERT INTO ART (ID, CODE, QTY, MADE) VALUES (5000000000, 'A', 12.345, '2024-03-01 10:20:30')");
    auto rs = OpenRs("SELECT ID, CODE, QTY, NOTE, FLAG, MADE, 1 + 1 AS TWO, NULL AS NOVALUE FROM ART");
    auto f = rs->GetFields();
    EXPECT_EQ(f.Count(), 8);
    EXPECT_EQ(f["Id"].Type(), adInteger);
    EXPECT_EQ(f["ID"].Value().Type(), VarType::Decimal) << "beyond 32 bits";
    EXPECT_EQ(f["code"].Name(), "CODE");
    EXPECT_EQ(f["CODE"].Type(), adVarChar);
    EXPECT_EQ(f["CODE"].DefinedSize(), 10);
    EXPECT_EQ(f["NOTE"].Type(), adVarWChar);
    EXPECT_EQ(f["NOTE"].DefinedSize(), 20);
    EXPECT_EQ(f["QTY"].Type(), adNumeric);
    EXPECT_EQ(f["QTY"].Precision(), 9);
    EXPECT_EQ(f["QTY"].NumericScale(), 2);
    EXPECT_EQ(f["QTY"].Value().Type(), VarType::Decimal);
    EXPECT_EQ(f["QTY"].Value().CStr(), "12.35");
    EXPECT_EQ(f["FLAG"].Type(), adSmallInt);
    EXPECT_EQ(f["FLAG"].Value().Type(), VarType::Integer);
    EXPECT_EQ(f["MADE"].Type(), adDBTimeStamp);
    EXPECT_EQ(f["MADE"].Value().Type(), VarType::Date);
    EXPECT_EQ(f["MADE"].Value().CDate().ToIso(), "2024-03-01 10:20:30");
    EXPECT_EQ(f["NOTE"].Value().CStr(), "none");
    EXPECT_EQ(f["NOVALUE"].Value().Type(), VarType::Null);
    EXPECT_EQ(f["TWO"].Type(), adInteger);
    try {
        f["NOPE"];
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::ItemNotFound);
    }
}

TEST_F(RecordsetTest, AssignedValuesAreConvertedToTheColumnOrRefused) {
    auto rs = OpenRs("SELECT * FROM ART WHERE 0=1");
    rs->AddNew();
    (*rs)["CODE"].Value("ABCDEFGHIJ   ");  // blanks beyond the size are dropped, as the server does
    EXPECT_EQ((*rs)["CODE"].Value().CStr(), "ABCDEFGHIJ");
    try {
        (*rs)["CODE"].Value("ABCDEFGHIJK");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ado::MultipleStepError);
        EXPECT_NE(e.Description().find("'CODE'"), std::string::npos);
    }
    try {
        (*rs)["FLAG"].Value("abc");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::TypeMismatch);
    }
    (*rs)["FLAG"].Value(true);  // flags store 1, not VB's -1
    (*rs)["QTY"].Value("2.005");
    EXPECT_EQ((*rs)["FLAG"].Value().CLng(), 1);
    EXPECT_EQ((*rs)["QTY"].Value().CStr(), "2.01");
    (*rs)["MADE"].Value(Date::FromParts(2024, 5, 6, 7, 8, 9));
    rs->UpdateBatch();
    EXPECT_EQ(Count("FLAG = 1 AND QTY = 2.01 AND MADE = '2024-05-06 07:08:09'"), 1);
}

TEST_F(RecordsetTest, TableWithoutPrimaryKeyUpdatesOneRowByAllItsValues) {
    conn->GetDriver().RunScript("CREATE TEMP TABLE TMP (CODE VARCHAR(10) COLLATE SQLSERVER, SEL NUMERIC(1,0))");
    conn->Execute("INSERT INTO TMP VALUES ('A', 0), ('A', 0), ('B', 0)");
    auto rs = OpenRs("SELECT * FROM TMP");
    (*rs)["SEL"].Value(1);
    rs->UpdateBatch();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TMP WHERE SEL = 1").CLng(), 1);
    rs->MoveLast();
    rs->Delete();
    rs->UpdateBatch();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM TMP WHERE CODE = 'B'").CLng(), 0);
}

TEST_F(RecordsetTest, GlobalTemporaryTableIsReadEditedAndMadeAgainWithOtherColumns) {
    Seed();
    const std::string drop = "IF NOT OBJECT_ID('tempdb..##TABTEMP') IS NULL DROP TABLE ##TABTEMP";
    conn->Execute(drop, nullptr, adExecuteNoRecords);
    conn->Execute("SELECT CAST(0 AS decimal(1, 0)) AS SEL, CODE INTO ##TABTEMP FROM ART", nullptr, adCmdText);
    auto rs = OpenRs("  SELECT * FROM ##TABTEMP  ", adLockOptimistic);
    ASSERT_EQ(rs->RecordCount(), 3);
    rs->Filter(Variant("CODE = 'b2'"));
    (*rs)["SEL"].Value(1);
    rs->Update();
    EXPECT_EQ(Scalar("SELECT CODE FROM ##TABTEMP WHERE SEL = 1").CStr(), "B2");

    conn->Execute(drop, nullptr, adExecuteNoRecords);
    conn->Execute("SELECT ID, NOTE, QTY INTO ##TABTEMP FROM ART WHERE ID > 1", nullptr, adCmdText);
    auto again = OpenRs("  SELECT * FROM ##TABTEMP  ");
    EXPECT_EQ(again->GetFields().Count(), 3);
    EXPECT_EQ(again->RecordCount(), 2);
    EXPECT_EQ((*again)["NOTE"].Value().CStr(), "two");
}

TEST_F(RecordsetTest, DeletingWhileWalkingVisitsEveryRowOnce) {
    Seed();
    auto rs = OpenRs("SELECT * FROM ART ORDER BY ID", adLockOptimistic);
    std::vector<long> seen;
    while (!rs->EOF()) {
        seen.push_back((*rs)["ID"].Value().CLng());
        rs->Delete();
        EXPECT_THROW((*rs)["ID"].Value(), Error) << "the deleted row is no current row";
        rs->MoveNext();
    }
    EXPECT_EQ(seen, (std::vector<long>{1, 2, 3}));
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(rs->RecordCount(), 0);
}

TEST_F(RecordsetTest, CursorMovesAndEdges) {
    auto empty = OpenRs("SELECT * FROM ART");
    EXPECT_TRUE(empty->EOF());
    EXPECT_TRUE(empty->BOF());
    EXPECT_EQ(empty->RecordCount(), 0);
    empty->MoveFirst();
    try {
        empty->MoveNext();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::EofOrBof);
    }

    Seed();
    auto rs = OpenRs("SELECT * FROM ART ORDER BY ID");
    EXPECT_FALSE(rs->BOF());
    rs->MoveLast();
    EXPECT_EQ(rs->AbsolutePosition(), 3);
    rs->MoveNext();
    EXPECT_TRUE(rs->EOF());
    rs->MovePrevious();
    EXPECT_EQ((*rs)["ID"].Value().CLng(), 3);
    rs->AbsolutePosition(2);
    EXPECT_EQ((*rs)["CODE"].Value().CStr(), "B2");
    rs->MovePrevious();
    rs->MovePrevious();
    EXPECT_TRUE(rs->BOF());
}

TEST_F(RecordsetTest, CancelUpdateAndCancelBatchRestoreTheRows) {
    Seed();
    auto rs = OpenRs("SELECT * FROM ART ORDER BY ID");
    (*rs)["NOTE"].Value("changed");
    rs->CancelUpdate();
    EXPECT_EQ((*rs)["NOTE"].Value().CStr(), "one");

    rs->AddNew();
    rs->CancelUpdate();
    EXPECT_EQ(rs->RecordCount(), 3);

    (*rs)["NOTE"].Value("changed");
    rs->Update();
    rs->AddNew();
    (*rs)["CODE"].Value("Z");
    rs->Update();
    rs->MoveFirst();
    rs->MoveNext();
    rs->Delete();
    rs->CancelBatch();
    EXPECT_EQ(rs->RecordCount(), 3);
    rs->MoveFirst();
    EXPECT_EQ((*rs)["NOTE"].Value().CStr(), "one");
    rs->UpdateBatch();
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Count("NOTE = 'one'"), 1);
}

TEST_F(RecordsetTest, SortOrdersTheViewAsTheCollationDoes) {
    conn->Execute("INSERT INTO ART (ID, CODE, QTY) VALUES (1, 'b', 1), (2, 'A', 2), (3, 'C', 2), (4, 'a ', 3)");
    auto rs = OpenRs("SELECT * FROM ART");
    rs->Sort("QTY DESC, CODE");
    std::vector<long> ids;
    for (rs->MoveFirst(); !rs->EOF(); rs->MoveNext()) ids.push_back((*rs)["ID"].Value().CLng());
    EXPECT_EQ(ids, (std::vector<long>{4, 2, 3, 1}));
}

TEST_F(RecordsetTest, OpenOnAStatementWithoutRowsLeavesTheRecordsetClosed) {
    auto rs = Recordset::Create();
    rs->Open("CREATE TABLE OTHER (X INTEGER)", conn);
    EXPECT_EQ(rs->State(), adStateClosed);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM sqlite_master WHERE name = 'OTHER'").CLng(), 1);
    try {
        rs->RecordCount();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ado::ObjectClosed);
    }
}

TEST_F(RecordsetTest, ExecuteResultsAreReadOnlyAndCountTheirRows) {
    Seed();
    auto rs = conn->Execute("SELECT * FROM ART");
    EXPECT_EQ(rs->RecordCount(), 3);
    EXPECT_THROW((*rs)["NOTE"].Value("x"), Error);
    EXPECT_THROW(rs->AddNew(), Error);
}

TEST_F(RecordsetTest, RequeryReadsTheRowsAgain) {
    Seed();
    auto rs = OpenRs("SELECT * FROM ART");
    rs->Filter(Variant("ID > 1"));
    conn->Execute("INSERT INTO ART (ID, CODE) VALUES (4, 'D4')");
    EXPECT_EQ(rs->RecordCount(), 2);
    rs->Requery();
    EXPECT_EQ(rs->RecordCount(), 3);
}

TEST_F(RecordsetTest, ReadingAFieldAtEofIsAnError) {
    auto rs = OpenRs("SELECT * FROM ART");
    try {
        (*rs)["CODE"].Value();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), errc::EofOrBof);
    }
}

// A column read twice (a self-join) cannot tell which row it belongs to: neither copy is written back; the
// other columns of the table are.
TEST_F(RecordsetTest, AColumnReadTwiceIsNotWrittenBack) {
    Seed();
    auto rs = OpenRs("SELECT A.ID, A.NOTE, A.CODE, B.CODE AS OTHER FROM ART A INNER JOIN ART B ON B.ID = A.ID "
                     "WHERE A.ID = 1",
                     adLockOptimistic);
    (*rs)["NOTE"].Value(Variant("changed"));
    (*rs)["CODE"].Value(Variant("ZZ"));
    rs->Update();
    EXPECT_EQ(Scalar("SELECT NOTE FROM ART WHERE ID = 1").CStr(), "changed");
    EXPECT_EQ(Scalar("SELECT CODE FROM ART WHERE ID = 1").CStr(), "A1");
}

}  // namespace
}  // namespace db
