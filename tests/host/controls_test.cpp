// The shell's controls: the events they raise and in which order, what the scripted user may and may not
// do with them, and what the data-bound ones write to the database.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Queries.h"
#include "db/Driver.h"
#include "db/Recordset.h"
#include "entry/ControlsDataFrame.h"
#include "entry/MDLFA_AGGANCI.h"
#include "host/HostFactory.h"
#include "host/controls/BasicControls.h"
#include "host/controls/DataFrame.h"
#include "host/controls/DataNavigator.h"
#include "host/controls/Grid.h"
#include "host/controls/LookupTextBox.h"

using db::Variant;
using namespace host::controls;

namespace {

using Log = std::vector<std::string>;

class Database : public ::testing::Test {
protected:
    void SetUp() override {
        conn = db::Connection::Create();
        conn->Open("sqlite::memory:");
        conn->GetDriver().RunScript(
            "CREATE TABLE LINEE (ID INTEGER PRIMARY KEY, CODICE VARCHAR(10) COLLATE SQLSERVER NOT NULL,"
            " DESCR VARCHAR(30) COLLATE SQLSERVER NOT NULL DEFAULT '', QTA NUMERIC(9,2),"
            " SEL DECIMAL(1,0) NOT NULL DEFAULT 1, FLAG SMALLINT NOT NULL DEFAULT 0);"
            "INSERT INTO LINEE (ID, CODICE, DESCR, QTA) VALUES"
            " (1, 'L1', 'Uomo', 1), (2, 'L2', 'Donna', 2), (3, 'L3', 'Bimbo', 3);");
    }
    // A frame on the rows of `sql` with `controls` bound, and the grid showing them when there is one.
    std::shared_ptr<DataFrame> BoundFrame(const std::string& name, const std::string& sql,
                                          const std::vector<std::shared_ptr<entry::IControl>>& controls,
                                          const std::shared_ptr<Grid>& grid = nullptr) {
        auto rs = db::Recordset::Create();
        rs->Open(sql, conn, db::adOpenStatic, db::adLockBatchOptimistic);
        auto frame = std::make_shared<DataFrame>(name);
        if (grid) frame->BindGrid(grid);
        frame->Bind(rs, controls, "ID");
        return frame;
    }
    Variant Scalar(const std::string& sql) { return testsupport::Scalar(*conn, sql); }

    db::ConnectionPtr conn;
};

}  // namespace

TEST(Controls, TheUserCannotReachHiddenOrDisabledControlsNorThoseInsideSuchFrames) {
    auto frame = std::make_shared<Frame>("FRM_A");
    auto box = std::make_shared<TextBox>("TXT_A");
    auto button = std::make_shared<Button>("CMD_A");
    box->Container(frame);
    int clicks = 0;
    button->Click().Connect([&] { ++clicks; });

    frame->Enabled(false);
    EXPECT_THROW(box->UserType("x"), db::Error);
    EXPECT_EQ(box->Text(), "");
    frame->Enabled(true);
    box->UserType("x");
    EXPECT_EQ(box->Text(), "x");

    button->Visible(false);
    EXPECT_THROW(button->UserClick(), db::Error);
    button->Visible(true);
    button->Enabled(false);
    EXPECT_THROW(button->UserClick(), db::Error);
    EXPECT_EQ(clicks, 0);
}

TEST_F(Database, LookupBoxDecodesTypedCodesInOrderAndKeepsThemAsTheMasterSpellsThem) {
    conn->GetDriver().RunScript("CREATE TABLE RIGHE (ID INTEGER PRIMARY KEY, LINEA VARCHAR(10));"
                                "INSERT INTO RIGHE (ID, LINEA) VALUES (1, 'L1');");
    auto box = std::make_shared<LookupTextBox>("TXT_LINEA");
    auto description = std::make_shared<TextBox>("TXT_DESCLINEA");
    box->Connection(conn);
    box->DataField("LINEA");
    Log log;
    box->BeforeItem().Connect([&] { log.push_back("BeforeItem " + box->Text()); });
    box->Change().Connect([&] { log.push_back("Change " + box->Text()); });
    box->StartDecode().Connect([&](entry::DecodeRequest& r) {
        log.push_back("StartDecode");
        r.statement = "SELECT DESCR, CODICE FROM LINEE WHERE CODICE = '" + db::Trim(box->Text()) + "'";
        r.fields = {{"DESCR", description}};
    });
    box->AfterItem().Connect([&] { log.push_back(box->Decodificato() ? "AfterItem found" : "AfterItem not found"); });
    auto frame = BoundFrame("FME_AGGANCIDET", "SELECT * FROM RIGHE", {box});
    log.clear();

    // The database finds "l2" as L2: the box, and so the record, take L2, as a pick from the list would.
    box->UserType("l2 ");
    EXPECT_EQ(log, (Log{"BeforeItem L1", "Change l2 ", "StartDecode", "Change L2", "AfterItem found"}));
    EXPECT_EQ(description->Text(), "Donna");
    EXPECT_TRUE(frame->Save());
    EXPECT_EQ(Scalar("SELECT LINEA FROM RIGHE").CStr(), "L2");

    box->UserType("zz");
    EXPECT_FALSE(box->Decodificato());
    EXPECT_EQ(box->Text(), "zz");        // not found: as typed, for the form to refuse
    EXPECT_EQ(description->Text(), "");  // a code not found clears the description

    // A record shown again is not edited by its decoding.
    box->Text("l3");
    box->Refresh();
    EXPECT_EQ(box->Text(), "l3");
    EXPECT_EQ(description->Text(), "Bimbo");
}

TEST_F(Database, DataFrameNewRecordAndDeferredRows) {
    auto code = std::make_shared<TextBox>("TXT_CODICE");
    code->DataField("CODICE");
    auto grid = std::make_shared<Grid>("QGRD_AGGANCI");
    grid->AddColumn({"CODICE", "Codice", 1000});
    auto frame = BoundFrame("FME_AGGANCIDET", "SELECT * FROM LINEE WHERE 0 = 1", {code}, grid);
    frame->DeferBatch(true);

    Log log;
    frame->AfterAddNew().Connect([&] { log.push_back("AfterAddNew"); });
    frame->ChangeStatus().Connect([&](std::int16_t status, long reason) {
        log.push_back("ChangeStatus " + std::to_string(status) + " " + std::to_string(reason));
    });
    frame->BeforeUpdate().Connect([&](bool&) {
        log.push_back("BeforeUpdate");
        (*frame->Recordset())["ID"].Value(Variant(10 + frame->Recordset()->RecordCount()));
    });

    frame->Status(entry::kvStatoNuovo);
    code->UserType("N1");
    EXPECT_TRUE(frame->Save());
    frame->Status(entry::kvStatoNuovo);
    code->UserType("N2");
    EXPECT_TRUE(frame->SaveAll());
    EXPECT_EQ(log, (Log{"AfterAddNew", "ChangeStatus 2 0", "BeforeUpdate", "ChangeStatus 0 7", "AfterAddNew",
                        "ChangeStatus 2 0", "BeforeUpdate", "ChangeStatus 0 7"}));
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM LINEE WHERE CODICE LIKE 'N%'").CLng(), 0);  // deferred
    EXPECT_TRUE(frame->IsChanged());
    EXPECT_EQ(grid->RowCount(), 2);

    int batches = 0;
    frame->UpdateBatchAll().Connect([&] {
        ++batches;
        frame->WriteBatch();
    });
    frame->SaveBatch();
    EXPECT_EQ(batches, 1);
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM LINEE WHERE CODICE LIKE 'N%'").CLng(), 2);

    // A new record dropped before it is saved leaves nothing behind.
    frame->Status(entry::kvStatoNuovo);
    code->UserType("N3");
    frame->Status(entry::kvStatoNavigazione);
    frame->WriteBatch();
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM LINEE WHERE CODICE = 'N3'").CLng(), 0);
}

TEST_F(Database, MovingInTheGridKeepsTheEditPendingWithoutAskingOrStays) {
    auto shell = host::InstallShellHost();
    auto descr = std::make_shared<TextBox>("TXT_DESCR");
    descr->DataField("DESCR");
    auto grid = std::make_shared<Grid>("QGRD_AGGANCI");
    auto frame = BoundFrame("FME_AGGANCIDET", "SELECT * FROM LINEE ORDER BY ID", {descr}, grid);
    frame->DeferBatch(true);  // rows written with their header
    bool refuse = true;
    frame->BeforeUpdate().Connect([&](bool& cancel) { cancel = refuse; });
    std::vector<long> moves;
    frame->ChangeStatus().Connect([&](std::int16_t, long reason) { moves.push_back(reason); });

    descr->UserType("Uomo nuovo");
    grid->UserSelectRow(2);
    EXPECT_EQ(grid->Row(), 1);  // the edit was refused: the row stays
    refuse = false;
    grid->UserSelectRow(2);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(descr->Text(), "Donna");
    EXPECT_EQ(moves, std::vector<long>{entry::kvMotivoSpostamento});
    EXPECT_TRUE(shell->Messages()->Messages().empty());
    EXPECT_EQ(Scalar("SELECT DESCR FROM LINEE WHERE ID = 1").CStr(), "Uomo");
    frame->WriteBatch();
    EXPECT_EQ(Scalar("SELECT DESCR FROM LINEE WHERE ID = 1").CStr(), "Uomo nuovo");
}

TEST_F(Database, GridPaintsAWindowOfRowsAsItPaintsEachCellAndScrollsWithinItsRows) {
    auto rs = db::Recordset::Create();
    rs->Open("SELECT ID, CODICE, DESCR FROM LINEE ORDER BY ID", conn, db::adOpenStatic, db::adLockBatchOptimistic);
    rs->Filter(Variant("ID <> 1"));
    Grid grid("QGRD_LINEE");
    grid.AddColumn({"CODICE", "Codice"});
    grid.AddColumn({"DESCR", "Descrizione"});
    grid.FetchCell().Connect([](db::Recordset& record, const std::string& field, Variant& value) {
        if (field == "DESCR") value = Variant(db::RTrim(record["CODICE"].Value().Text()) + " " + value.Text());
    });
    grid.Bind(rs);
    rs->MoveLast();
    using Rows = std::vector<std::vector<std::string>>;
    EXPECT_EQ(grid.RowTexts(1, 400, {"CODICE", "DESCR"}), (Rows{{"L2", "L2 Donna"}, {"L3", "L3 Bimbo"}}));
    EXPECT_EQ(grid.RowTexts(2, 400, {"DESCR"}), (Rows{{"L3 Bimbo"}}));
    EXPECT_EQ(grid.CellText(1, "DESCR"), "L2 Donna");
    EXPECT_EQ(rs->AbsolutePosition(), 2) << "painting leaves the form's record where it was";
    EXPECT_THROW(grid.RowTexts(3, 1, {"CODICE"}), db::Error);

    grid.UserScroll(2);
    EXPECT_EQ(grid.TopRow(), 2);
    grid.UserScroll(50);
    EXPECT_EQ(grid.TopRow(), 2) << "past the last row: the last one";
    grid.Bind(rs->Clone());
    EXPECT_EQ(grid.TopRow(), 1) << "new rows are shown from the first";
}

// Leaving a record the frame would write asks first, as closing the frame does; so does a deletion.
TEST_F(Database, DataFrameWritesWhatTheUserTypesAndNavigatorAsksBeforeLeavingOrDeletingAndObeysTheAnswer) {
    auto shell = host::InstallShellHost();
    auto code = std::make_shared<TextBox>("TXT_CODICE");
    auto descr = std::make_shared<LookupTextBox>("TXT_DESCR");
    auto qta = std::make_shared<TextBox>("TXT_QTA");
    code->DataField("CODICE");
    descr->DataField("DESCR");
    qta->DataField("QTA");
    auto frame = BoundFrame("FME_AGGANCI", "SELECT * FROM LINEE ORDER BY ID", {code, descr, qta});
    EXPECT_EQ(code->Text(), "L1");

    Log log;
    bool refuse = true;
    frame->BeforeUpdate().Connect([&](bool& cancel) {
        log.push_back("BeforeUpdate");
        cancel = refuse;
    });
    frame->AfterUpdate().Connect([&](bool ok) { log.push_back(ok ? "AfterUpdate ok" : "AfterUpdate failed"); });

    // The form hears of an edit as it is typed, with the record already holding it.
    std::vector<bool> asked;
    frame->IsRecordChanged().Connect([&](bool& changed) { asked.push_back(changed); });
    descr->UserType("Uomo classico");
    EXPECT_EQ(asked, std::vector<bool>{true});
    qta->UserType("");  // an empty number is no value
    EXPECT_TRUE(frame->IsChanged());
    EXPECT_FALSE(frame->Save());
    EXPECT_EQ(Scalar("SELECT DESCR FROM LINEE WHERE ID = 1").CStr(), "Uomo");
    refuse = false;
    EXPECT_TRUE(frame->Save());
    EXPECT_EQ(log, (Log{"BeforeUpdate", "AfterUpdate failed", "BeforeUpdate", "AfterUpdate ok"}));
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT DESCR, QTA FROM LINEE WHERE ID = 1"), Log{"Uomo classico|<null>"});
    EXPECT_FALSE(frame->IsChanged());

    auto navigator = std::make_shared<DataNavigator>("INTERNAV_AGGANCI");
    navigator->Frame(frame);
    namespace p = entry::pulsanti;
    shell->Messages()->MessageAnswers().Queue({entry::kAnswerCancel, entry::kAnswerCancel, entry::kAnswerNo,
                                               entry::kAnswerYes});
    descr->UserType("Uomo nuovo");
    navigator->UserPress(p::Successivo);  // cancel: the record and its edit stay
    navigator->UserPress(p::Nuovo);       // cancel
    EXPECT_EQ(descr->Text(), "Uomo nuovo");
    EXPECT_EQ(frame->Status(), entry::kvStatoNavigazione);
    navigator->UserPress(p::Successivo);  // no: dropped, the frame moves
    EXPECT_EQ(descr->Text(), "Donna");
    EXPECT_EQ(Scalar("SELECT DESCR FROM LINEE WHERE ID = 1").CStr(), "Uomo classico");
    descr->UserType("Donna nuova");
    navigator->UserPress(p::Ultimo);  // yes: saved, the frame moves
    EXPECT_EQ(descr->Text(), "Bimbo");
    EXPECT_EQ(Scalar("SELECT DESCR FROM LINEE WHERE ID = 2").CStr(), "Donna nuova");
    navigator->UserPress(p::Primo);  // nothing to ask
    EXPECT_EQ(descr->Text(), "Uomo classico");
    Log questions;
    for (const auto& m : shell->Messages()->Messages()) questions.push_back(m.text);
    EXPECT_EQ(questions, Log(4, DataFrame::kDomandaChiusura));

    // The form's ButtonClick comes first and can cancel the press; a deletion it lets through is asked about.
    auto rs = frame->Recordset();
    Log clicks;
    bool cancelDelete = true;
    navigator->ButtonClick().Connect([&](const std::string& button, bool& cancel) {
        clicks.push_back("ButtonClick " + button);
        if (button == p::Elimina) cancel = cancelDelete;
    });
    frame->BeforeDelete().Connect([&](bool&) { clicks.push_back("BeforeDelete " + (*rs)["CODICE"].Value().Text()); });
    shell->Messages()->MessageAnswers().Queue({entry::kAnswerNo, entry::kAnswerYes});
    EXPECT_FALSE(navigator->UserPress(p::Elimina));  // cancelled by the form: not even asked
    cancelDelete = false;
    EXPECT_TRUE(navigator->UserPress(p::Successivo));
    EXPECT_FALSE(navigator->UserPress(p::Elimina));  // "no": the form removes nothing either
    EXPECT_EQ(Scalar("SELECT COUNT(*) FROM LINEE").CLng(), 3);
    EXPECT_TRUE(navigator->UserPress(p::Elimina));
    EXPECT_EQ(clicks, (Log{"ButtonClick Elimina", "ButtonClick Successivo", "ButtonClick Elimina",
                           "ButtonClick Elimina", "BeforeDelete L2"}));
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT ID FROM LINEE ORDER BY ID"), (Log{"1", "3"}));
    EXPECT_EQ((*rs)["CODICE"].Value().Text(), "L3");
    ASSERT_EQ(shell->Messages()->Messages().size(), 6u);
    EXPECT_EQ(shell->Messages()->Messages()[4].text, DataFrame::kDomandaEliminazione);
    EXPECT_EQ(shell->Messages()->Messages()[4].style, 4 + 32);  // yes, no
    EXPECT_THROW(navigator->UserPress("Stampa"), db::Error);

    // The form can count its own pending changes as the frame's.
    frame->IsRecordChanged().Connect([](bool& changed) { changed = true; });
    EXPECT_TRUE(frame->IsChanged());
}
