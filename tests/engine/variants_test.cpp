// Variant duplication: which variant rows the new article gets, their activation and grouping, the
// groupings created for it, the events, the article's variant mark, and failures.
#include <string>
#include <tuple>
#include <vector>

#include "EngineFixture.h"
#include "ProgramDouble.h"
#include "db/FaultInjector.h"
#include "db/Quote.h"

using engine::kvMethodCanceled;
using engine::kvMethodOK;
using testsupport::Names;

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

    void AddVariant(const std::string& article, const std::string& variant, int active, const std::string& grouping) {
        Exec("INSERT INTO MG6B_GESVARART (MG6B_DITTA_CG18, MG6B_CODART_MG66, MG6B_CODICEVAR_MG5F, MG6B_FLGGESTVAR, "
             "MG6B_CODRAGGVAR_MG5G, MG6B_SEQ, MG6B_FLGOBBLIGATORIA) VALUES (1, " + db::SqlText(article) + ", " +
             db::SqlText(variant) + ", " + std::to_string(active) + ", " +
             (grouping == "<null>" ? std::string("NULL") : db::SqlText(grouping)) + ", 0, 1)");
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
    void GiveSelection(const std::vector<SelectionRow>& rows) {
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
                                        "WHERE MG5H_CODICEVAR_MG5F = " + db::SqlText(variant) +
                                        " AND MG5H_RAGGR_MG5G = " + db::SqlText(code) + " ORDER BY rowid");
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

const Names kVariantEvents = {"BeforeUpdateMG6D", "AfterUpdateMG6D", "BeforeUpdateMG6B", "AfterUpdateMG6B"};

// ---- Which rows, in which order of events -------------------------------------------------------------

// A source without variants still marks the new article, and a model with only the colour raises the variant
// events without rows: the model copy leaves the colour out, while a full copy keeps it.
TEST_F(VariantTest, ModelLeavesOutTheColourWhileAFullCopyKeepsItAndAFailureWritesNoVariantRow) {
    CreateEngine();
    ASSERT_EQ(VariantMark("NEW"), 0);
    ASSERT_EQ(engine->DuplicazioneVarianti(src, dst), kvMethodOK);
    EXPECT_TRUE(Variants("NEW").empty());
    EXPECT_TRUE(recorder->names.empty());
    EXPECT_EQ(VariantMark("NEW"), 1);
    EXPECT_EQ(VariantMark("SRC"), 0);

    for (const char* code : {"NEW2", "NEW3", "NEW4"}) AddArticle(code);
    AddVariant("SRC", "COL", 1, "");
    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, db::Variant("NEW2")), kvMethodOK);
    EXPECT_TRUE(Variants("NEW2").empty());
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG6B", "AfterUpdateMG6B"}));
    EXPECT_EQ(recorder->rows, (std::vector<long>{0, 0}));
    EXPECT_EQ(VariantMark("NEW2"), 1);

    AddVariant("SRC", "FIT", 0, "");
    AddVariant("SRC", "TG", 1, "");
    // A failure is raised with the operation's name and writes no variant row, nor the article's mark.
    recorder->names.clear();
    conn->Faults().FailMatching("INSERT INTO MG6B_GESVARART");
    const auto e = ErrorOf([&] { engine->DuplicazioneVariantiDaModello(src, db::Variant("NEW3")); },
                           "DuplicazioneVariantiDaModello");
    EXPECT_EQ(e.Number(), db::errc::InjectedFault);
    EXPECT_TRUE(Variants("NEW3").empty());
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG6B"}));
    EXPECT_EQ(VariantMark("NEW3"), 0);

    Exec("INSERT INTO MG6D_FLGTABARTVAR (MG6D_DITTA_CG18, MG6D_CODART_MG66, MG6D_FLGDESCR, MG6D_FLGBARCODE) "
         "VALUES (1, 'SRC', 1, 0)");
    recorder->names.clear();
    recorder->rows.clear();
    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, db::Variant("NEW3")), kvMethodOK);
    EXPECT_EQ(Variants("NEW3"), (Names{"FIT|1|", "TG|1|"}));
    EXPECT_EQ(recorder->names, kVariantEvents);
    EXPECT_EQ(recorder->rows, (std::vector<long>{1, 1, 2, 2}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG6D_FLGTABARTVAR WHERE MG6D_CODART_MG66 = 'NEW3' AND MG6D_FLGDESCR = 1 "
                    "AND MG6D_FLGBARCODE = 0"),
              1);
    // Columns the rules do not touch are copied.
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'NEW3' AND MG6B_FLGOBBLIGATORIA = 1"),
              2);

    recorder->names.clear();
    engine->ModalitaDuplicaSingola(true);
    GiveSelection({{"COL", 1, 1, ""}, {"FIT", 1, 1, ""}, {"TG", 1, 1, ""}});
    ASSERT_EQ(engine->DuplicazioneVarianti(src, db::Variant("NEW4")), kvMethodOK);
    EXPECT_EQ(recorder->names, kVariantEvents);  // the rows, the colour's included: the FullCopy test
}

// ---- Model copy: activation and grouping (V1) ---------------------------------------------------------

// Without a selection every variant of the model is active. When the company groups by article, a grouped
// variant gets a grouping under the new code made from the model's, or the one already under that code as it
// is; otherwise it keeps the model's grouping, an inactive variant's too. A variant without a grouping on the model
// gets none.
TEST_F(VariantTest, ModelWithoutSelectionGroupsByArticleOnlyWhenTheCompanyDoes) {
    AddVariant("SRC", "FIT", 0, "G2");
    AddVariant("SRC", "TG", 1, "G1");
    AddGrouping("TG", "G1", "Sizes of the summer line",
                {{3, "XL", "Extra large"}, {1, "S", "Small"}, {2, "M", "Medium"}});
    AddGrouping("TG", "NEW3", "Already there", {{1, "L", "Large"}});
    Exec("INSERT INTO FA00_PARAMETRI (FA00_DITTA_CG18, FA00_FLGGESTIONE, FA00_INDRAGGR) VALUES (1, 1, 0)");
    CreateEngine();
    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (Names{"FIT|1|G2", "TG|1|G1"}));
    EXPECT_EQ(Groupings(), 2);

    Exec("UPDATE FA00_PARAMETRI SET FA00_INDRAGGR = 1");
    Exec("UPDATE MG6B_GESVARART SET MG6B_CODRAGGVAR_MG5G = NULL WHERE MG6B_CODICEVAR_MG5F = 'FIT'");
    for (const std::string code : {"NEW2", "NEW3", "NEW4"}) {
        AddArticle(code);
        ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, db::Variant(code)), kvMethodOK);
        EXPECT_EQ(Variants(code), (Names{"FIT|1|<null>", "TG|1|" + code}));
    }
    EXPECT_EQ(GroupingDescription("TG", "NEW2").CStr(), "Sizes of the summer line");
    EXPECT_EQ(Composition("TG", "NEW2"), (Names{"1|S|Small", "2|M|Medium", "3|XL|Extra large"}));
    EXPECT_EQ(GroupingDescription("TG", "NEW3").CStr(), "Already there");
    EXPECT_EQ(Composition("TG", "NEW3"), (Names{"1|L|Large"}));
    EXPECT_EQ(Composition("TG", "NEW4").size(), 3u);  // another new article gets a grouping of its own
    EXPECT_EQ(Groupings(), 4);
    EXPECT_EQ(GroupingOptions(), 3 + 1 + 3 + 3);

    // A model's grouping that does not exist cannot be copied: the copy fails naming the variant and the grouping,
    // and writes no row, no grouping, nor says it created one. A grouping already under the new code is still used.
    Exec("UPDATE MG6B_GESVARART SET MG6B_CODRAGGVAR_MG5G = 'GONE' WHERE MG6B_CODICEVAR_MG5F = 'TG'");
    const std::size_t created = engine->GroupingsCreated().size();
    AddArticle("NEW5");
    const auto e = ErrorOf([&] { engine->DuplicazioneVariantiDaModello(src, db::Variant("NEW5")); },
                           "DuplicazioneVariantiDaModello");
    EXPECT_EQ(e.Description(),
              "The grouping GONE of variant TG does not exist: it cannot be copied into the grouping NEW5");
    EXPECT_TRUE(Variants("NEW5").empty());
    EXPECT_EQ(Groupings(), 4);
    EXPECT_EQ(engine->GroupingsCreated().size(), created);
    AddArticle("NEW6");
    AddGrouping("TG", "NEW6", "Already there", {});
    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, db::Variant("NEW6")), kvMethodOK);
    EXPECT_EQ(Variants("NEW6"), (Names{"FIT|1|<null>", "TG|1|NEW6"}));
}

// The form lists only the model's active variants: one without a selection row (FIT, inactive; ZZ) stays as on
// the model. It must not take over what the user chose for the variant before it, nor the company default.
TEST_F(VariantTest, ModelSelectionDecidesActivationAndGroupingOfTheVariantsTheUserWasAskedAbout) {
    for (const char* v : {"V1", "V2", "V3", "V4", "ZZ"})
        Exec(std::string("INSERT INTO MG5F_DIMECONF (MG5F_DITTA_CG18, MG5F_CODICEVAR) VALUES (1, '") + v + "')");
    for (const char* v : {"V1", "V2", "V3", "V4"}) {
        AddVariant("SRC", v, 1, "G1");
        AddGrouping(v, "G1", "G1", {{1, "A", "Option A"}});
    }
    AddVariant("SRC", "FIT", 0, "G2");
    AddVariant("SRC", "ZZ", 1, "G3");
    AddGrouping("FIT", "G2", "Fits", {{1, "R", "Regular"}});
    AddGrouping("ZZ", "G3", "Other", {{1, "X", "X"}});
    GroupByArticle();
    CreateEngine();
    GiveSelection({{"V1", 0, 1, ""},           // not selected
                   {"V2", 1, 1, "SUMMER"},     // personalised code wins over the automatic one
                   {"V3", 1, 0, ""},           // no grouping chosen: the model's stays
                   {"V4", 1, 1, ""}});         // automatic: the new article's code

    ASSERT_EQ(engine->DuplicazioneVariantiDaModello(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (Names{"FIT|0|G2", "V1|0|<null>", "V2|1|SUMMER", "V3|1|G1", "V4|1|NEW", "ZZ|1|G3"}));
    // A source grouping described by its own code is described by the new code.
    EXPECT_EQ(GroupingDescription("V2", "SUMMER").CStr(), "SUMMER");
    EXPECT_EQ(GroupingDescription("V4", "NEW").CStr(), "NEW");
    EXPECT_EQ(Composition("V2", "SUMMER"), (Names{"1|A|Option A"}));
    EXPECT_TRUE(GroupingDescription("V1", "NEW").IsNull());  // nothing created for a variant left inactive
    EXPECT_TRUE(GroupingDescription("V3", "NEW").IsNull());
    EXPECT_EQ(Groupings(), 8);  // SUMMER and V4's NEW the only ones created
    // The selection is left filtered on the last variant looked up.
    EXPECT_EQ(engine->RstDuplVarianti()->Filter().Text(), "MG5F_CODICEVAR = 'ZZ'");
}

// ---- Full copy (V2) ------------------------------------------------------------------------------------

// Without a selection a full copy writes every variant inactive and ungrouped, whatever the company's default;
// no program interface is needed: the colour is copied like any variant. A selected variant is active only when
// active on the source or when the run duplicates a single article. Without listeners the variant rows are
// written in one statement: the same rows as the row copy, the first selection row of a variant the one that
// counts. A selected variant that moves to a grouping keeps the row copy, which creates the grouping.
TEST_F(VariantTest, FullCopyActivatesASelectedVariantWhenActiveOnTheSourceOrForOneArticleAndWithoutListenersAtOnce) {
    AddVariant("SRC", "COL", 1, "C1");
    AddVariant("SRC", "FIT", 0, "F1");
    AddVariant("SRC", "TG", 1, "G1");
    AddGrouping("COL", "C1", "Colours", {{1, "RED", "Red"}, {2, "BLU", "Blue"}});
    AddGrouping("FIT", "F1", "Fits", {{1, "R", "Regular"}});
    GroupByArticle();
    CreateNewArticle();
    ASSERT_EQ(engine->DuplicazioneVarianti(src, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (Names{"COL|0|<null>", "FIT|0|<null>", "TG|0|<null>"}));
    EXPECT_EQ(Groupings(), 2);

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
        EXPECT_EQ(Variants("SET"), single ? (Names{"COL|1|C1", "FIT|1|F1", "TG|0|<null>"})
                                          : (Names{"COL|1|C1", "FIT|0|<null>", "TG|0|<null>"}));
        EXPECT_EQ(Variants("SET"), Variants("NEW"));
        EXPECT_EQ(VariantMark("SET"), 1);
    }

    auto quiet = NewEngine();
    GiveSelection({{"COL", 1, 1, ""}, {"FIT", 1, 1, ""}, {"TG", 0, 1, ""}});
    quiet->RstDuplVarianti(selection->Clone());
    for (const auto& [e, many, one] : {std::tuple{engine, "MANY", "ONE"}, std::tuple{quiet, "MANYQ", "ONEQ"}}) {
        SCOPED_TRACE(many);  // row by row with events, then without listeners
        AddArticle(many);
        AddArticle(one);
        e->ModalitaDuplicaSingola(false);
        conn->Faults().FailMatching("INSERT INTO MG5G_RAGGVAR");  // a grouping that cannot be made: no variant row
        ErrorOf([&] { e->DuplicazioneVarianti(src, db::Variant(many)); }, "DuplicazioneVarianti");
        EXPECT_TRUE(Variants(many).empty());
        ASSERT_EQ(e->DuplicazioneVarianti(src, db::Variant(many)), kvMethodOK);
        EXPECT_EQ(Variants(many), (Names{"COL|1|" + std::string(many), "FIT|0|<null>", "TG|0|<null>"}));
        EXPECT_EQ(Composition("COL", many), (Names{"1|RED|Red", "2|BLU|Blue"}));
        e->ModalitaDuplicaSingola(true);
        ASSERT_EQ(e->DuplicazioneVarianti(src, db::Variant(one)), kvMethodOK);
        EXPECT_EQ(Variants(one), (Names{"COL|1|" + std::string(one), "FIT|1|" + std::string(one), "TG|0|<null>"}));
    }
}

// ---- Colour from the link fabric ----------------------------------------------------------------------

// A fabric without an active grouped colour cancels the copy, yet marks the article. The colour variant comes with
// the fabric's grouping under the new code; the colour dimension is the one the program's settings name.
TEST_F(VariantTest, ColourVariantComesWithTheFabricsGroupingUnderTheNewCode) {
    for (const char* code : {"FAB", "BARE", "NEW2", "NEW3", "NEW4"}) AddArticle(code);
    Exec("INSERT INTO MG6D_FLGTABARTVAR (MG6D_DITTA_CG18, MG6D_CODART_MG66) VALUES (1, 'FAB')");
    AddVariant("FAB", "TG", 1, "G1");
    AddGrouping("COL", "FG1", "Fabric colours", {{2, "BLU", "Blue"}, {1, "RED", "Red"}});
    CreateEngine();
    const db::Variant fabric("FAB"), bare("BARE");
    for (const std::string& grouping : {std::string("FG1"), std::string("<null>"), std::string("")}) {
        SCOPED_TRACE(grouping);
        Exec("DELETE FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'FAB' AND MG6B_CODICEVAR_MG5F = 'COL'");
        Exec("UPDATE MG66_ANAGRART SET MG66_FLGVARART = 0 WHERE MG66_CODART = 'BARE'");
        AddVariant("FAB", "COL", grouping == "FG1" ? 0 : 1, grouping);
        EXPECT_EQ(engine->DuplicazioneColoredaTessuto(fabric, bare), kvMethodCanceled);
        EXPECT_TRUE(Variants("BARE").empty());
        EXPECT_TRUE(recorder->names.empty());
        EXPECT_EQ(VariantMark("BARE"), 1);
        EXPECT_EQ(Groupings(), 1);
    }
    // The next operation on the same engine sees every row of its source.
    EXPECT_EQ(engine->DuplicazioneVarianti(fabric, bare), kvMethodOK);
    EXPECT_EQ(Variants("BARE").size(), 2u);

    Exec("DELETE FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'FAB' AND MG6B_CODICEVAR_MG5F = 'COL'");
    recorder->names.clear();
    recorder->rows.clear();
    AddVariant("FAB", "COL", 1, "FG1");
    ASSERT_EQ(engine->DuplicazioneColoredaTessuto(fabric, dst), kvMethodOK);
    EXPECT_EQ(Variants("NEW"), (Names{"COL|1|NEW"}));
    EXPECT_EQ(Composition("COL", "NEW"), (Names{"1|RED|Red", "2|BLU|Blue"}));
    EXPECT_EQ(GroupingDescription("COL", "NEW").CStr(), "Fabric colours");
    EXPECT_EQ(recorder->names, (Names{"BeforeUpdateMG6B", "AfterUpdateMG6B"}));  // flags not copied
    EXPECT_EQ(recorder->rows, (std::vector<long>{1, 1}));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG6D_FLGTABARTVAR WHERE MG6D_CODART_MG66 = 'NEW'"), 0);
    EXPECT_EQ(VariantMark("NEW"), 1);

    // A selection can leave the colour out or keep the fabric's grouping.
    GiveSelection({{"COL", 0, 1, ""}});
    ASSERT_EQ(engine->DuplicazioneColoredaTessuto(fabric, db::Variant("NEW2")), kvMethodOK);
    EXPECT_TRUE(Variants("NEW2").empty());
    EXPECT_EQ(recorder->rows, (std::vector<long>{1, 1, 0, 0}));

    // Personalised codes are not offered for the colour: only automatic or the fabric's own grouping.
    GiveSelection({{"COL", 1, 0, "SUMMER"}});
    ASSERT_EQ(engine->DuplicazioneColoredaTessuto(fabric, db::Variant("NEW3")), kvMethodOK);
    EXPECT_EQ(Variants("NEW3"), (Names{"COL|1|FG1"}));
    EXPECT_EQ(Groupings(), 2);  // the fabric's and the one made for NEW

    // The colour dimension is the one the program's settings name; without a program there is none.
    auto global = std::make_shared<testsupport::GlobalDouble>();
    global->varianteColore = "TG";  // this company calls its colour dimension TG
    engine->ActInterface(testsupport::AsActInterface(testsupport::ProgramWith(global)));
    engine->RstDuplVarianti(nullptr);
    AddGrouping("TG", "G1", "Sizes", {{1, "S", "Small"}});
    ASSERT_EQ(engine->DuplicazioneColoredaTessuto(fabric, db::Variant("NEW4")), kvMethodOK);
    EXPECT_EQ(Variants("NEW4"), (Names{"TG|1|NEW4"}));
    EXPECT_EQ(Composition("TG", "NEW4"), (Names{"1|S|Small"}));
    engine->ActInterface(db::Variant());
    EXPECT_EQ(
        ErrorOf([&] { engine->DuplicazioneColoredaTessuto(fabric, dst); }, "DuplicazioneColoredaTessuto").Number(),
        db::errc::ObjectRequired);
}

}  // namespace
