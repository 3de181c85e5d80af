// Variant duplication: which variant rows the new article gets, their activation and grouping, the
// groupings created for it, the events, the article's variant mark, and failures.
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

#include "EngineFixture.h"
#include "ProgramDouble.h"
#include "db/FaultInjector.h"
#include "db/Quote.h"

using engine::kvMethodCanceled;
using engine::kvMethodOK;

namespace {

struct SelectionRow {
    std::string variant;
    int sel = 1;
    int automatic = 1;
    std::string personalised;  // as stored in the CHAR(20) column: blanks when none
};

class VariantTest : public testsupport::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        Exec("INSERT INTO MG5F_DIMECONF (MG5F_DITTA_CG18, MG5F_CODICEVAR, MG5F_DESCR_VAR) VALUES "
             "(1, 'COL', 'Colour'), (1, 'FIT', 'Fit'), (1, 'TG', 'Size')");
        testsupport::SetCompanySetting(*conn, 1, "VarianteColore", "COL");
    }

    // The engine for "NEW", with the program interface of the test company.
    void CreateEngine() {
        CreateNewArticle();
        engine->ActInterface(testsupport::AsActInterface(testsupport::ProgramOnDatabase(conn)));
    }

    void AddVariant(const std::string& article, const std::string& variant, int active, const std::string& grouping,
                    int seq = 0) {
        Exec("INSERT INTO MG6B_GESVARART (MG6B_DITTA_CG18, MG6B_CODART_MG66, MG6B_CODICEVAR_MG5F, MG6B_FLGGESTVAR, "
             "MG6B_CODRAGGVAR_MG5G, MG6B_SEQ, MG6B_FLGOBBLIGATORIA) VALUES (1, " + db::SqlText(article) + ", " +
             db::SqlText(variant) + ", " + std::to_string(active) + ", " +
             (grouping == "<null>" ? std::string("NULL") : db::SqlText(grouping)) + ", " + std::to_string(seq) + ", 1)");
    }

    // A grouping with its options, inserted in the order given (not the sequence order).
    void AddGrouping(const std::string& variant, const std::string& code, const std::string& description,
                     const std::vector<std::tuple<int, std::string, std::string>>& options) {
        Exec("INSERT INTO MG5G_RAGGVAR (MG5G_DITTA_CG18, MG5G_CODICEVAR_MG5F, MG5G_CODRAGGVAR, MG5G_DESCRRAGGVAR) "
             "VALUES (1, " + db::SqlText(variant) + ", " + db::SqlText(code) + ", " + db::SqlText(description) + ")");
        for (const auto& [seq, option, descr] : options)
            Exec("INSERT INTO MG5H_COMPRAGVAR (MG5H_DITTA_CG18, MG5H_CODICEVAR_MG5F, MG5H_RAGGR_MG5G, MG5H_SEQOPZIONE, "
                 "MG5H_OPZIONE_MG5E, MG5H_DESCR) VALUES (1, " + db::SqlText(variant) + ", " + db::SqlText(code) + ", " +
                 std::to_string(seq) + ", " + db::SqlText(option) + ", " + db::SqlText(descr) + ")");
    }

    void GroupByArticle() {
        Exec("INSERT INTO FA00_PARAMETRI (FA00_DITTA_CG18, FA00_FLGGESTIONE, FA00_INDRAGGR) VALUES (1, 1, 1)");
    }

    // The user's choice as the variant form leaves it: ##TABTEMP read back through a client recordset;
    // the engine gets a clone, as callers hand it over.
    db::RecordsetPtr GiveSelection(const std::vector<SelectionRow>& rows) {
        Exec("IF NOT OBJECT_ID('tempdb..##TABTEMP') IS NULL DROP TABLE ##TABTEMP");
        Exec("SELECT CAST (1 AS DECIMAL (1,0)) AS SEL , MG5F_CODICEVAR, CAST (1 AS DECIMAL (1,0)) AS RAGGRAUTOMATICO , "
             " CAST ('' AS CHAR(20)) AS RAGGRPERSONALIZZATO INTO ##TABTEMP FROM MG5F_DIMECONF WHERE 1 = 0");
        for (const auto& r : rows)
            Exec("INSERT INTO ##TABTEMP (SEL, MG5F_CODICEVAR, RAGGRAUTOMATICO, RAGGRPERSONALIZZATO) VALUES (" +
                 std::to_string(r.sel) + ", " + db::SqlText(r.variant) + ", " + std::to_string(r.automatic) + ", " +
                 db::SqlText(r.personalised.empty() ? std::string(20, ' ') : r.personalised) + ")");
        selection = db::Recordset::Create();
        selection->CursorLocation(db::adUseClient);
        selection->Open(" SELECT *  FROM  ##TABTEMP ", conn, db::adOpenDynamic, db::adLockOptimistic);
        engine->RstDuplVarianti(selection->Clone());
        return selection;
    }

    // "variant|active|grouping" of an article's variant rows.
    std::vector<std::string> Variants(const std::string& article) {
        return testsupport::Rows(*conn, "SELECT MG6B_CODICEVAR_MG5F, MG6B_FLGGESTVAR, MG6B_CODRAGGVAR_MG5G FROM "
                                        "MG6B_GESVARART WHERE MG6B_CODART_MG66 = " + db::SqlText(article) +
                                        " ORDER BY MG6B_CODICEVAR_MG5F");
    }

    // "seq|option|description" of a grouping's options, in the order they were written.
    std::vector<std::string> Composition(const std::string& variant, const std::string& code) {
        return testsupport::Rows(*conn, "SELECT MG5H_SEQOPZIONE, MG5H_OPZIONE_MG5E, MG5H_DESCR FROM MG5H_COMPRAGVAR "
                                        "WHERE MG5H_CODICEVAR_MG5F = " + db::SqlText(variant) + " AND MG5H_RAGGR_MG5G = " +
                                        db::SqlText(code) + " ORDER BY rowid");
    }

    db::Variant GroupingDescription(const std::string& variant, const std::string& code) {
        return Scalar("SELECT MG5G_DESCRRAGGVAR FROM MG5G_RAGGVAR WHERE MG5G_CODICEVAR_MG5F = " + db::SqlText(variant) +
                      " AND MG5G_CODRAGGVAR = " + db::SqlText(code));
    }

    long Groupings() { return Count("SELECT COUNT(*) FROM MG5G_RAGGVAR"); }
    long GroupingOptions() { return Count("SELECT COUNT(*) FROM MG5H_COMPRAGVAR"); }
    long VariantMark(const std::string& article) {
        return Scalar("SELECT MG66_FLGVARART FROM MG66_ANAGRART WHERE MG66_CODART = " + db::SqlText(article)).CLng();
    }
    void AddArticle(const std::string& code) {
        Exec("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, " + db::SqlText(code) + ")");
    }

    db::RecordsetPtr selection;
};

using Events = std::vector<std::string>;
const Events kVariantEvents = {"BeforeUpdateMG6D", "AfterUpdateMG6D", "BeforeUpdateMG6B", "AfterUpdateMG6B"};

// ---- Which rows, in which order of events -------------------------------------------------------------

TEST_F(VariantTest, ModelLeavesOutTheColourWhileAFullCopyKeepsIt) {
    Exec("INSERT INTO MG6D_FLGTABARTVAR (MG6D_DITTA_CG18, MG6D_CODART_MG66, MG6D_FLGDESCR, MG6D_FLGBARCODE) "
         "VALUES (1, 'SRC', 1, 0)");
    AddVariant("SRC", "COL", 1, "");
    AddVariant("SRC", "FIT", 0, "");
    AddVariant("SRC", "TG", 1, "");
    CreateEngine();

    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{"FIT|1|", "TG|1|"}));
    EXPECT_EQ(recorder->names, kVariantEvents);
    EXPECT_EQ(recorder->rows, (std::vector<long>{1, 1, 2, 2}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG6D_FLGTABARTVAR WHERE MG6D_CODART_MG66 = 'NEW' AND MG6D_FLGDESCR = 1 "
                    "AND MG6D_FLGBARCODE = 0"),
              1);
    // Columns the rules do not touch are copied.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'NEW' AND MG6B_FLGOBBLIGATORIA = 1"), 2);

    AddArticle("NEW2");
    recorder->names.clear();
    engine->ModalitaDuplicaSingola(true);
    GiveSelection({{"COL", 1, 1, ""}, {"FIT", 1, 1, ""}, {"TG", 1, 1, ""}});
    ASSERT_EQ(engine->DuplicazioneVarianti(src, db::Variant("NEW2")), kvMethodOK);
    EXPECT_EQ(recorder->names, kVariantEvents);  // the rows, the colour's included: the FullCopy tests
}

TEST_F(VariantTest, SourceWithoutVariantsStillMarksTheNewArticle) {
    CreateEngine();
    ASSERT_EQ(VariantMark("NEW"), 0);
    ASSERT_EQ(engine->DuplicazioneVarianti(src, dst), kvMethodOK);
    EXPECT_TRUE(Variants("NEW").empty());
    EXPECT_TRUE(recorder->names.empty());
    EXPECT_EQ(VariantMark("NEW"), 1);
    EXPECT_EQ(VariantMark("SRC"), 0);

    // A model with only the colour raises the variant events without rows.
    AddVariant("SRC", "COL", 1, "");
    AddArticle("NEW2");
    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, db::Variant("NEW2")), kvMethodOK);
    EXPECT_TRUE(Variants("NEW2").empty());
    EXPECT_EQ(recorder->names, (Events{"BeforeUpdateMG6B", "AfterUpdateMG6B"}));
    EXPECT_EQ(recorder->rows, (std::vector<long>{0, 0}));
    EXPECT_EQ(VariantMark("NEW2"), 1);
}

// ---- Model copy: activation and grouping (V1) ---------------------------------------------------------

TEST_F(VariantTest, ModelWithoutSelectionGroupsByArticleWhenTheCompanyDoes) {
    AddVariant("SRC", "FIT", 1, "<null>");  // no grouping on the source: none for the new article
    AddVariant("SRC", "TG", 1, "G1");
    AddGrouping("TG", "G1", "Sizes of the summer line", {{3, "XL", "Extra large"}, {1, "S", "Small"}, {2, "M", "Medium"}});
    GroupByArticle();
    CreateEngine();

    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{"FIT|1|<null>", "TG|1|NEW"}));
    EXPECT_EQ(GroupingDescription("TG", "NEW").CStr(), "Sizes of the summer line");
    EXPECT_EQ(Composition("TG", "NEW"), (testsupport::Names{"1|S|Small", "2|M|Medium", "3|XL|Extra large"}));

    // Another new article gets a grouping of its own.
    AddArticle("NEW2");
    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, db::Variant("NEW2")), kvMethodOK);
    EXPECT_EQ(Variants("NEW2"), (testsupport::Names{"FIT|1|<null>", "TG|1|NEW2"}));
    EXPECT_EQ(Composition("TG", "NEW2").size(), 3u);
    EXPECT_EQ(Groupings(), 3);
}

TEST_F(VariantTest, ModelWithoutSelectionKeepsTheGroupingWhenTheCompanyDoesNotGroup) {
    AddVariant("SRC", "FIT", 0, "G2");
    AddVariant("SRC", "TG", 1, "G1");
    AddGrouping("TG", "G1", "Sizes", {{1, "S", "Small"}});
    Exec("INSERT INTO FA00_PARAMETRI (FA00_DITTA_CG18, FA00_FLGGESTIONE, FA00_INDRAGGR) VALUES (1, 1, 0)");
    CreateEngine();

    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, dst), kvMethodOK);
    // Without a selection every variant of the model is active.
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{"FIT|1|G2", "TG|1|G1"}));
    EXPECT_EQ(Groupings(), 1);
}

TEST_F(VariantTest, ModelSelectionDecidesActivationAndGrouping) {
    for (const char* v : {"V1", "V2", "V3", "V4"}) {
        Exec(std::string("INSERT INTO MG5F_DIMECONF (MG5F_DITTA_CG18, MG5F_CODICEVAR) VALUES (1, '") + v + "')");
        AddVariant("SRC", v, 1, "G1");
        AddGrouping(v, "G1", "G1", {{1, "A", "Option A"}});
    }
    GroupByArticle();
    CreateEngine();
    GiveSelection({{"V1", 0, 1, ""},           // not selected
                   {"V2", 1, 1, "SUMMER"},     // personalised code wins over the automatic one
                   {"V3", 1, 0, ""},           // no grouping chosen: the model's stays
                   {"V4", 1, 1, ""}});         // automatic: the new article's code

    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{
                                   "V1|0|<null>", "V2|1|SUMMER", "V3|1|G1", "V4|1|NEW"}));
    // A source grouping described by its own code is described by the new code.
    EXPECT_EQ(GroupingDescription("V2", "SUMMER").CStr(), "SUMMER");
    EXPECT_EQ(GroupingDescription("V4", "NEW").CStr(), "NEW");
    EXPECT_EQ(Composition("V2", "SUMMER"), (testsupport::Names{"1|A|Option A"}));
    EXPECT_TRUE(GroupingDescription("V1", "NEW").IsNull());  // nothing created for a variant left inactive
    EXPECT_TRUE(GroupingDescription("V3", "NEW").IsNull());
    // The selection is left filtered on the last variant looked up.
    EXPECT_EQ(engine->RstDuplVarianti()->Filter().Text(), "MG5F_CODICEVAR = 'V4'");
}

TEST_F(VariantTest, ModelVariantTheUserWasNotAskedAboutStaysAsOnTheModel) {
    // The form lists only the model's active variants: FIT (inactive) has no selection row. It must not
    // take over what the user chose for the variant before it, nor the company default.
    AddVariant("SRC", "COL", 1, "");
    AddVariant("SRC", "FIT", 0, "G2");
    AddVariant("SRC", "TG", 1, "G1");
    AddVariant("SRC", "ZZ", 1, "G3");
    Exec("INSERT INTO MG5F_DIMECONF (MG5F_DITTA_CG18, MG5F_CODICEVAR) VALUES (1, 'ZZ')");
    AddGrouping("FIT", "G2", "Fits", {{1, "R", "Regular"}});
    AddGrouping("ZZ", "G3", "Other", {{1, "X", "X"}});
    GroupByArticle();
    CreateEngine();
    GiveSelection({{"COL", 1, 1, ""}, {"TG", 0, 1, ""}});

    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{"FIT|0|G2", "TG|0|<null>", "ZZ|1|G3"}));
    EXPECT_EQ(Groupings(), 2);  // no grouping created
}

// ---- Full copy (V2) ------------------------------------------------------------------------------------

TEST_F(VariantTest, FullCopyWithoutSelectionWritesEveryVariantInactive) {
    AddVariant("SRC", "COL", 1, "C1");
    AddVariant("SRC", "TG", 1, "G1");
    GroupByArticle();  // no default grouping for a full copy
    CreateNewArticle();  // and no program interface needed: the colour is copied like any variant
    ASSERT_EQ(engine->DuplicazioneVarianti(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{"COL|0|<null>", "TG|0|<null>"}));
    EXPECT_EQ(Groupings(), 0);
}

TEST_F(VariantTest, FullCopyActivatesASelectedVariantOnlyWhenActiveOnTheSourceOrForASingleArticle) {
    AddVariant("SRC", "COL", 1, "C1");
    AddVariant("SRC", "FIT", 0, "F1");
    AddVariant("SRC", "TG", 1, "G1");
    AddGrouping("COL", "C1", "Colours", {{1, "RED", "Red"}, {2, "BLU", "Blue"}});
    AddGrouping("FIT", "F1", "Fits", {{1, "R", "Regular"}});
    CreateEngine();
    GiveSelection({{"COL", 1, 1, ""}, {"FIT", 1, 1, ""}, {"TG", 0, 1, ""}});

    engine->ModalitaDuplicaSingola(false);
    ASSERT_EQ(engine->DuplicazioneVarianti(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{"COL|1|NEW", "FIT|0|<null>", "TG|0|<null>"}));
    EXPECT_EQ(Composition("COL", "NEW"), (testsupport::Names{"1|RED|Red", "2|BLU|Blue"}));

    AddArticle("ONE");
    engine->ModalitaDuplicaSingola(true);
    ASSERT_EQ(engine->DuplicazioneVarianti(src, db::Variant("ONE")), kvMethodOK);
    EXPECT_EQ(Variants("ONE"), (testsupport::Names{"COL|1|ONE", "FIT|1|ONE", "TG|0|<null>"}));
}

// Without listeners the full copy writes its variant rows in one statement: the same rows as the row copy, the
// first selection row of a variant the one that counts. A selected variant that moves to a grouping keeps the
// row copy, which creates the grouping.
TEST_F(VariantTest, FullCopyWithoutListenersWritesTheRowCopysRowsInOneStatement) {
    AddVariant("SRC", "COL", 1, "C1");
    AddVariant("SRC", "FIT", 0, "F1");
    AddVariant("SRC", "TG", 1, "G1");
    AddGrouping("COL", "C1", "Colours", {{1, "RED", "Red"}});
    const std::vector<SelectionRow> choice = {{"COL", 1, 0, ""}, {"COL", 0, 0, ""}, {"FIT", 1, 0, ""}};
    for (const bool single : {false, true}) {
        SCOPED_TRACE(single);
        Exec("DELETE FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 <> 'SRC'");
        Exec("DELETE FROM MG66_ANAGRART WHERE MG66_CODART <> 'SRC'");
        Exec("DELETE FROM MG87_ARTDESC WHERE MG87_CODART_MG66 <> 'SRC'");
        CreateEngine();  // the recorder hears every event: row by row
        GiveSelection(choice);
        engine->ModalitaDuplicaSingola(single);
        ASSERT_EQ(engine->DuplicazioneVarianti(src, dst), kvMethodOK);

        auto quiet = NewEngine();
        AddArticle("SET");
        quiet->RstDuplVarianti(selection->Clone());
        quiet->ModalitaDuplicaSingola(single);
        // The flags, the variant rows, the article's mark.
        const db::Variant set("SET");
        EXPECT_EQ(StatementsOf([&] { ASSERT_EQ(quiet->DuplicazioneVarianti(src, set), kvMethodOK); }), 3);
        EXPECT_EQ(Variants("SET"), single ? (testsupport::Names{"COL|1|C1", "FIT|1|F1", "TG|0|<null>"})
                                          : (testsupport::Names{"COL|1|C1", "FIT|0|<null>", "TG|0|<null>"}));
        EXPECT_EQ(Variants("SET"), Variants("NEW"));
        EXPECT_EQ(VariantMark("SET"), 1);
    }

    AddArticle("GRP");
    auto quiet = NewEngine();
    GiveSelection({{"COL", 1, 1, ""}});
    quiet->RstDuplVarianti(selection->Clone());
    ASSERT_EQ(quiet->DuplicazioneVarianti(src, db::Variant("GRP")), kvMethodOK);
    EXPECT_EQ(Variants("GRP"), (testsupport::Names{"COL|1|GRP", "FIT|0|<null>", "TG|0|<null>"}));
    EXPECT_EQ(Composition("COL", "GRP"), (testsupport::Names{"1|RED|Red"}));
}

// ---- Groupings ----------------------------------------------------------------------------------------

TEST_F(VariantTest, ExistingGroupingUnderTheNewCodeIsReusedAsItIs) {
    AddVariant("SRC", "TG", 1, "G1");
    AddGrouping("TG", "G1", "G1", {{1, "S", "Small"}, {2, "M", "Medium"}});
    AddGrouping("TG", "NEW", "Already there", {{1, "L", "Large"}});
    GroupByArticle();
    CreateEngine();
    const long options = GroupingOptions();

    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{"TG|1|NEW"}));
    EXPECT_EQ(Groupings(), 2);
    EXPECT_EQ(GroupingOptions(), options);
    EXPECT_EQ(GroupingDescription("TG", "NEW").CStr(), "Already there");
    EXPECT_EQ(Composition("TG", "NEW"), (testsupport::Names{"1|L|Large"}));
}

// ---- Colour from the link fabric ----------------------------------------------------------------------

class ColourFromFabricTest : public VariantTest {
protected:
    void SetUp() override {
        VariantTest::SetUp();
        AddArticle("FAB");
        Exec("INSERT INTO MG6D_FLGTABARTVAR (MG6D_DITTA_CG18, MG6D_CODART_MG66) VALUES (1, 'FAB')");
        AddVariant("FAB", "TG", 1, "G1");
        AddGrouping("COL", "FG1", "Fabric colours", {{2, "BLU", "Blue"}, {1, "RED", "Red"}});
        CreateEngine();
    }
    const db::Variant fabric{"FAB"};
};

TEST_F(ColourFromFabricTest, ColourVariantComesWithTheFabricsGroupingUnderTheNewCode) {
    AddVariant("FAB", "COL", 1, "FG1");
    ASSERT_EQ(engine->DuplicazioneColoredaTessuto(fabric, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{"COL|1|NEW"}));
    EXPECT_EQ(Composition("COL", "NEW"), (testsupport::Names{"1|RED|Red", "2|BLU|Blue"}));
    EXPECT_EQ(GroupingDescription("COL", "NEW").CStr(), "Fabric colours");
    EXPECT_EQ(recorder->names, (Events{"BeforeUpdateMG6B", "AfterUpdateMG6B"}));  // flags not copied
    EXPECT_EQ(recorder->rows, (std::vector<long>{1, 1}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG6D_FLGTABARTVAR WHERE MG6D_CODART_MG66 = 'NEW'"), 0);
    EXPECT_EQ(VariantMark("NEW"), 1);

    // A selection can leave the colour out or keep the fabric's grouping.
    AddArticle("NEW2");
    GiveSelection({{"COL", 0, 1, ""}});
    ASSERT_EQ(engine->DuplicazioneColoredaTessuto(fabric, db::Variant("NEW2")), kvMethodOK);
    EXPECT_TRUE(Variants("NEW2").empty());
    EXPECT_EQ(recorder->rows, (std::vector<long>{1, 1, 0, 0}));

    AddArticle("NEW3");
    // Personalised codes are not offered for the colour: only automatic or the fabric's own grouping.
    GiveSelection({{"COL", 1, 0, "SUMMER"}});
    ASSERT_EQ(engine->DuplicazioneColoredaTessuto(fabric, db::Variant("NEW3")), kvMethodOK);
    EXPECT_EQ(Variants("NEW3"), (testsupport::Names{"COL|1|FG1"}));
    EXPECT_EQ(Groupings(), 2);  // the fabric's and the one made for NEW
}

TEST_F(ColourFromFabricTest, FabricWithoutAnActiveGroupedColourIsCanceledButMarksTheArticle) {
    for (const std::string& grouping : {std::string("FG1"), std::string("<null>"), std::string("")}) {
        SCOPED_TRACE(grouping);
        Exec("DELETE FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'FAB' AND MG6B_CODICEVAR_MG5F = 'COL'");
        Exec("UPDATE MG66_ANAGRART SET MG66_FLGVARART = 0 WHERE MG66_CODART = 'NEW'");
        AddVariant("FAB", "COL", grouping == "FG1" ? 0 : 1, grouping);
        recorder->names.clear();

        EXPECT_EQ(engine->DuplicazioneColoredaTessuto(fabric, dst), kvMethodCanceled);
        EXPECT_TRUE(Variants("NEW").empty());
        EXPECT_TRUE(recorder->names.empty());
        EXPECT_EQ(VariantMark("NEW"), 1);
        EXPECT_EQ(Groupings(), 1);
    }
    // The next operation on the same engine sees every row of its source.
    EXPECT_EQ(engine->DuplicazioneVarianti(fabric, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW").size(), 2u);
}

TEST_F(ColourFromFabricTest, ColourFromASettingsDoubleAndWithoutAProgram) {
    AddVariant("FAB", "COL", 1, "FG1");
    auto global = std::make_shared<testsupport::GlobalDouble>();
    global->varianteColore = "TG";  // this company calls its colour dimension TG
    engine->ActInterface(testsupport::AsActInterface(testsupport::ProgramWith(global)));
    ASSERT_EQ(engine->DuplicazioneColoredaTessuto(fabric, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (testsupport::Names{"TG|1|NEW"}));

    engine->ActInterface(db::Variant());
    EXPECT_EQ(ErrorOf([&] { engine->DuplicazioneColoredaTessuto(fabric, dst); }, "DuplicazioneColoredaTessuto").Number(),
              db::errc::ObjectRequired);
}

// ---- Failures -----------------------------------------------------------------------------------------

TEST_F(VariantTest, AFailureIsRaisedWithTheOperationsNameAndWritesNoVariantRow) {
    AddVariant("SRC", "FIT", 1, "");
    AddVariant("SRC", "TG", 1, "");
    CreateEngine();
    conn->Faults().FailMatching("INSERT INTO MG6B_GESVARART");
    const auto e = ErrorOf([&] { engine->DuplicazioneVariantiDaModello(src, dst); }, "DuplicazioneVariantiDaModello");
    EXPECT_EQ(e.Number(), db::errc::InjectedFault);
    EXPECT_TRUE(Variants("NEW").empty());
    EXPECT_EQ(recorder->names, (Events{"BeforeUpdateMG6B"}));
    EXPECT_EQ(VariantMark("NEW"), 0);

    AddGrouping("TG", "G1", "Sizes", {{1, "S", "Small"}});
    Exec("UPDATE MG6B_GESVARART SET MG6B_CODRAGGVAR_MG5G = 'G1' WHERE MG6B_CODICEVAR_MG5F = 'TG'");
    GiveSelection({{"TG", 1, 1, ""}});
    conn->Faults().FailMatching("INSERT INTO MG5G_RAGGVAR");
    ErrorOf([&] { engine->DuplicazioneVarianti(src, dst); }, "DuplicazioneVarianti");
    EXPECT_TRUE(Variants("NEW").empty());
}

}  // namespace
