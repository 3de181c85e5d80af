// The article business object: an article deleted with everything that belongs to it and nothing else,
// refusals that change nothing, and the SQL literal formatter.
#include <gtest/gtest.h>

#include "GenerationFixture.h"
#include "erp/Catalog.h"
#include "host/ClsBoConsana.h"

namespace {

using testsupport::kModello;

class BoConsana : public testsupport::GenerationFixture {
protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        bo.Connection(conn);
        bo.ActiveInterface(program);
    }
    // Rows of `code` in every table with an article column.
    long ArticleRows(const std::string& code) {
        long n = 0;
        for (const auto& t : erp::ArticleTables())
            n += Count("SELECT COUNT(*) FROM " + t.table + " WHERE " + t.articleColumn + " = " + db::SqlText(code));
        return n;
    }
    long Total(const std::string& table) { return Count("SELECT COUNT(*) FROM " + table); }

    host::ClsBoConsana bo;
};

TEST_F(BoConsana, AModelGoesWithEverythingItOwnsAndNothingElse) {
    ASSERT_TRUE(testsupport::OrphanRows(*conn).empty());
    const long otherRows = ArticleRows("MODELLO02") + ArticleRows("TS-COTONE-BIANCO");
    const long cycleAttachments = Count("SELECT COUNT(*) FROM AG01_ALLEGATI INNER JOIN PD52_ANAGCICLI ON "
                                        "AG01_GUIDRIF = PD52_GUID WHERE PD52_CODICE = 'MODELLO01'");
    const long attachments = Total("AG01_ALLEGATI");
    const long linkRows = Total("FA64_AGGANCIDET");
    ASSERT_GT(ArticleRows(kModello), 20);
    ASSERT_GT(cycleAttachments, 0);

    std::string error = "previous";
    EXPECT_EQ(bo.EliminaArticolo(kModello, error), 0);
    EXPECT_EQ(error, "");

    EXPECT_EQ(ArticleRows(kModello), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD52_ANAGCICLI WHERE PD52_CODICE = 'MODELLO01'"), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD53_CICLIFASI WHERE PD53_CODICE_PD52 = 'MODELLO01'"), 0);
    EXPECT_EQ(Total("AG01_ALLEGATI"), attachments - cycleAttachments);
    EXPECT_EQ(Total("FA64_AGGANCIDET"), linkRows - 3);  // the three rows of its link header
    EXPECT_EQ(testsupport::OrphanRows(*conn), std::vector<std::string>{});
    EXPECT_EQ(ArticleRows("MODELLO02") + ArticleRows("TS-COTONE-BIANCO"), otherRows);
}

TEST_F(BoConsana, ACycleThatAnotherArticleUsesStays) {
    Exec("UPDATE PD18_ARTPROD SET PD18_CODCICLO = 'MODELLO01' WHERE PD18_CODART_MG66 = 'MODELLO02'");
    std::string error;
    ASSERT_EQ(bo.EliminaArticolo(kModello, error), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM PD52_ANAGCICLI WHERE PD52_CODICE = 'MODELLO01'"), 2);
    EXPECT_GT(Count("SELECT COUNT(*) FROM PD53_CICLIFASI WHERE PD53_CODICE_PD52 = 'MODELLO01'"), 0);
    EXPECT_TRUE(testsupport::OrphanRows(*conn).empty());
}

TEST_F(BoConsana, RefusalsAndADatabaseErrorChangeNothingAndRefusalsSayWhy) {
    const std::string before = Snapshot();
    std::string error;
    EXPECT_EQ(bo.EliminaArticolo("NONESISTE", error), host::kBoArticoloInesistente);
    EXPECT_EQ(error, "Impossibile eliminare l'articolo NONESISTE: articolo inesistente.");
    EXPECT_EQ(bo.EliminaArticolo("X' OR '1' = '1", error), host::kBoArticoloInesistente);

    EXPECT_EQ(bo.EliminaArticolo("TS-COTONE-BIANCO", error), host::kBoArticoloComponente);
    const std::string user = Text("SELECT MIN(PD95_CODART_MG66) FROM PD95_DISBA INNER JOIN PD96_LEGAMIDISBA ON "
                                  "PD96_IDDISBA_PD95 = PD95_IDDISBA WHERE PD96_COMPON = 'TS-COTONE-BIANCO'");
    EXPECT_EQ(error, "Impossibile eliminare l'articolo TS-COTONE-BIANCO: è un componente della distinta base "
                     "dell'articolo " + user + ".");
    EXPECT_EQ(Snapshot(), before);

    // A database error is raised and the deletion undone.
    conn->Faults().FailMatching("DELETE FROM MG66_ANAGRART");  // the very last statement
    EXPECT_THROW(bo.EliminaArticolo(kModello, error), db::Error);
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(conn->TransactionLevel(), 0);
    conn->Faults().Clear();

    host::ClsBoConsana unset;  // without connection, then without program
    EXPECT_THROW(unset.EliminaArticolo(kModello, error), db::Error);
    unset.Connection(conn);
    EXPECT_THROW(unset.EliminaArticolo(kModello, error), db::Error);
}

TEST(BoConsanaFormatter, LiteralsAreQuotedWithTheOptionsAsked) {
    host::ClsBoConsana bo;
    EXPECT_EQ(bo.FormattaValore(db::Variant("UOMO-SPORT"), true, true), "'UOMO-SPORT'");
    EXPECT_EQ(bo.FormattaValore(db::Variant("Camicia dell'Uomo"), true, false), "'Camicia dell''Uomo'");
    EXPECT_EQ(bo.FormattaValore(db::Variant("  Camicia  "), true, true), "'Camicia'");
    EXPECT_EQ(bo.FormattaValore(db::Variant("  Camicia  "), false, true), "'  Camicia  '");
    EXPECT_EQ(bo.FormattaValore(db::Variant(12), true, true), "'12'");
    EXPECT_EQ(bo.FormattaValore(db::Variant("Koszula d'Ελλάδα"), true, false), "N'Koszula d''Ελλάδα'")
        << "SQL Server keeps every character only of a national literal";
    // Empty values: "''", or nothing at all when the caller leaves the column out.
    for (const db::Variant& empty : {db::Variant(""), db::Variant::Null(), db::Variant(), db::Variant("   ")}) {
        EXPECT_EQ(bo.FormattaValore(empty, true, false), "''");
        EXPECT_EQ(bo.FormattaValore(empty, true, true), "");
    }
    EXPECT_EQ(bo.FormattaValore(db::Variant("   "), false, true), "'   '");
    EXPECT_EQ(bo.FormattaValore(db::Variant("'"), true, true), "''''");
}

}  // namespace
