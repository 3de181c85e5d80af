// Removal of a generated article: nothing of it stays in any table, a refusal changes nothing and is
// shown, and a regeneration whose creation misbehaves still keeps the previous article (the removal undone
// inside the run's transaction is generation_run_test's ARegenerationThatFails...).
#include <gtest/gtest.h>

#include <algorithm>

#include "GenerationFixture.h"
#include "generation/ArticleRemoval.h"
#include "generation/Completion.h"
#include "generation/FabricSubstitution.h"
#include "generation/Regeneration.h"

namespace {

using testsupport::kModello;
using testsupport::kNuovo;

class ArticleRemoval : public testsupport::GenerationFixture {
protected:
    // The article of the TS-LINO-BLU link row, as a generation run leaves it: duplicated with its season
    // history, completed, its fabric substituted.
    void Generate() {
        const auto dati = Dati(Riga("TS-LINO-BLU"));
        ASSERT_TRUE(Duplicate(kNuovo, "TS-LINO-BLU",
                              std::make_shared<generation::GestoreAfterUpdateFA12>(contesto, dati, kModello)));
        ASSERT_TRUE(generation::AggiornaFa12_Fa13(contesto, dati, kNuovo, kModello, "TS-LINO-BLU"));
        ASSERT_TRUE(generation::AggiornaDistinta(contesto, {testsupport::kTessutoPrincipale, 10}, dati.riga, kNuovo,
                                                 kModello, "TS-LINO-BLU", Log()));
    }
};

// A failure at any statement of the removal leaves everything as it was and reaches the caller; the removal
// that succeeds leaves nothing of the article in any table.
TEST_F(ArticleRemoval, AFailureAtAnyStatementLeavesEverythingAndTheRemovalNothingOfTheArticle) {
    const std::string before = Snapshot();
    Generate();
    // What the copy brought along that hangs on identifiers or codes rather than on the article column.
    ASSERT_GT(Count("SELECT COUNT(*) FROM AG01_ALLEGATI INNER JOIN PD52_ANAGCICLI ON AG01_GUIDRIF = PD52_GUID WHERE "
                    "PD52_CODICE = " + db::SqlText(kNuovo)),
              0);
    ASSERT_GT(Count("SELECT COUNT(*) FROM MG5G_RAGGVAR WHERE MG5G_CODRAGGVAR = " + db::SqlText(kNuovo)), 0);

    const std::string generated = Snapshot();
    long cases = 0;
    for (long n = 1;; ++n) {
        conn->Faults().Clear();
        conn->Faults().ResetCount();
        conn->Faults().FailNth(n);
        bool removed = false;
        try {
            removed = generation::EliminaArticoloGenerato(contesto, kNuovo);
        } catch (const db::Error& e) {
            EXPECT_EQ(e.Number(), db::errc::InjectedFault);
        }
        conn->Faults().Clear();
        if (removed) break;
        ++cases;
        ASSERT_EQ(conn->TransactionLevel(), 0) << "failure at statement " << n;
        ASSERT_EQ(Snapshot(), generated) << "failure at statement " << n;
    }
    EXPECT_GT(cases, 20);
    EXPECT_FALSE(Exists(kNuovo));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_EQ(conn->TransactionLevel(), 0);
    // A code without article is nothing to remove.
    EXPECT_TRUE(generation::EliminaArticoloGenerato(contesto, "AGMODELLO01TS-NUOVO"));
    EXPECT_EQ(Snapshot(), before);
    EXPECT_TRUE(shell->Messages()->Messages().empty());
}

// Groupings of every variant under the new code exist before: the article uses them and its removal keeps them.
TEST_F(ArticleRemoval, AGroupingThatExistedBeforeStays) {
    Exec("INSERT INTO MG5G_RAGGVAR (MG5G_DITTA_CG18, MG5G_CODICEVAR_MG5F, MG5G_CODRAGGVAR, MG5G_DESCRRAGGVAR) "
         "SELECT 1, MG5F_CODICEVAR, " + db::SqlText(kNuovo) + ", 'esistente' FROM MG5F_DIMECONF");
    const long groupings = Count("SELECT COUNT(*) FROM MG5G_RAGGVAR WHERE MG5G_CODRAGGVAR = " + db::SqlText(kNuovo));
    Generate();
    ASSERT_GT(Count("SELECT COUNT(*) FROM MG6B_GESVARART WHERE MG6B_CODRAGGVAR_MG5G = " + db::SqlText(kNuovo)), 0);
    EXPECT_TRUE(generation::EliminaArticoloGenerato(contesto, kNuovo));
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG5G_RAGGVAR WHERE MG5G_CODRAGGVAR = " + db::SqlText(kNuovo)), groupings);
}

// Without a subscriber the engine says which groupings it created; with one they are found in the database.
// Either way the same groupings are the article's own, and a removal takes those and leaves the one that
// existed under the new code before the generation: it was only reused.
TEST_F(ArticleRemoval, TheGroupingsRecordedAreTheSameWhetherOrNotASubscriberListens) {
    const std::string reused = testsupport::Rows(*conn, "SELECT MIN(MG5F_CODICEVAR) FROM MG5F_DIMECONF").at(0);
    const std::string other = "AGMODELLO01TS-ALTRO";
    for (const std::string& code : {kNuovo, other})
        Exec("INSERT INTO MG5G_RAGGVAR (MG5G_DITTA_CG18, MG5G_CODICEVAR_MG5F, MG5G_CODRAGGVAR, MG5G_DESCRRAGGVAR) "
             "VALUES (1, " + db::SqlText(reused) + ", " + db::SqlText(code) + ", 'esistente')");
    ASSERT_TRUE(Duplicate(kNuovo));
    ASSERT_TRUE(Duplicate(other, "TS-LINO-BLU", std::make_shared<engine::CLSFA_DUPLICA_Events>()));
    auto recorded = [&](const std::string& code) {
        return testsupport::Rows(*conn, "SELECT AG03_CODICEVAR_MG5F FROM AG03_RAGGRCREATI WHERE AG03_CODART_MG66 = " +
                                            db::SqlText(code) + " AND AG03_CODRAGGVAR_MG5G = " + db::SqlText(code) +
                                            " ORDER BY AG03_CODICEVAR_MG5F");
    };
    const auto created = recorded(kNuovo);
    ASSERT_FALSE(created.empty());
    EXPECT_EQ(created, recorded(other));
    EXPECT_EQ(std::count(created.begin(), created.end(), reused), 0);
    EXPECT_EQ(Count("SELECT COUNT(*) FROM MG5G_RAGGVAR WHERE MG5G_CODRAGGVAR = " + db::SqlText(kNuovo)),
              static_cast<long>(created.size()) + 1);

    for (const std::string& code : {kNuovo, other}) {
        EXPECT_TRUE(generation::EliminaArticoloGenerato(contesto, code));
        EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG5G_CODICEVAR_MG5F FROM MG5G_RAGGVAR WHERE MG5G_CODRAGGVAR = " +
                                               db::SqlText(code)),
                  std::vector<std::string>{reused})
            << code;
    }
}

// A creation that closes the regeneration's level itself (a rollback too many) cannot make it commit
// something else: the previous article is still restored.
TEST_F(ArticleRemoval, ARegenerationRollingBackTooMuchOrARefusedRemovalLeavesTheArticle) {
    Generate();
    const std::string generated = Snapshot();
    EXPECT_FALSE(generation::RigeneraArticolo(contesto, kNuovo, [&] {
        conn->RollbackTrans();
        return false;
    }));
    EXPECT_EQ(conn->TransactionLevel(), 0);
    EXPECT_EQ(Snapshot(), generated);

    // A refused removal changes nothing and is shown with the critical icon: the generated article became a
    // component of another model's bill.
    Exec("INSERT INTO PD96_LEGAMIDISBA (PD96_DITTA_CG18, PD96_IDDISBA_PD95, PD96_SEQCOMP, PD96_COMPON, PD96_QTA1) "
         "SELECT PD95_DITTA_CG18, PD95_IDDISBA, 90, " + db::SqlText(kNuovo) + ", 1 FROM PD95_DISBA WHERE "
         "PD95_CODART_MG66 = 'MODELLO02'");
    const std::string before = Snapshot();
    EXPECT_FALSE(generation::EliminaArticoloGenerato(contesto, kNuovo));
    EXPECT_EQ(Snapshot(), before);  // the bill removed first is back too
    EXPECT_EQ(conn->TransactionLevel(), 0);
    const auto& shown = shell->Messages()->Messages();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, "Impossibile eliminare l'articolo AGMODELLO01TS-LINO-BLU: è un componente della "
                             "distinta base dell'articolo MODELLO02.");
    EXPECT_EQ(shown[0].style, generation::kStileCritico);
    EXPECT_EQ(shown[0].title, "Agganci");
}

}  // namespace
