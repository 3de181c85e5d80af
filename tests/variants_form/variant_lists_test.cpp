// The list the form builds for each tab and mode of the links form, on the demo company: colour COL
// (the company's colour variant), size TAG, fit VES. MODELLO01 uses COL and TAG actively and VES not;
// CAM-100 the same; MODELLO02 uses all three actively.
#include "VariantsFormFixture.h"

namespace varianti_test {
namespace {

using Lista = std::map<std::string, Riga>;

TEST_F(VariantsForm, LinksTabListsTheModelsActiveVariantsAndTheColourOneAllTickedWithAutomaticGrouping) {
    const auto lista = Apri(Apertura(entry::Util_Agganci, false, "MODELLO01"));

    ASSERT_TRUE(lista);
    EXPECT_EQ(Righe(lista), (Lista{{"COL", {"1", "Colore", "1", ""}}, {"TAG", {"1", "Taglia", "1", ""}}}));
    EXPECT_TRUE(shell->Failures().empty()) << Fallimenti();
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
    EXPECT_TRUE(shell->Messages()->Messages().empty());  // the company names its colour variant: no warning

    // The colour variant is listed when any article uses it actively.
    Esegui("DELETE FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'MODELLO01' AND MG6B_CODICEVAR_MG5F = 'COL'");
    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Agganci, false, "MODELLO01"))),
              (Lista{{"COL", {"1", "Colore", "1", ""}}, {"TAG", {"1", "Taglia", "1", ""}}}));

    // Nobody uses it actively: only the model's own active variants remain.
    Esegui("UPDATE MG6B_GESVARART SET MG6B_FLGGESTVAR = 0 WHERE MG6B_CODICEVAR_MG5F = 'COL'");
    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Agganci, false, "MODELLO01"))), (Lista{{"TAG", {"1", "Taglia", "1", ""}}}));
}

TEST_F(VariantsForm, MassTabWithOneArticleListsItsVariantsTickedAsItUsesThem) {
    const auto lista = Apri(Apertura(entry::Util_Duplmassiva, true, "CAM-100"));
    EXPECT_EQ(Righe(lista), (Lista{{"COL", {"1", "Colore", "1", ""}},
                                   {"TAG", {"1", "Taglia", "1", ""}},
                                   {"VES", {"0", "Vestibilità", "1", ""}}}));

    // Variants that are not for articles are not offered.
    Esegui("UPDATE MG5F_DIMECONF SET MG5F_INDPROGCONFIG = 1 WHERE MG5F_CODICEVAR = 'TAG'");
    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Duplmassiva, true, "CAM-100"))),
              (Lista{{"COL", {"1", "Colore", "1", ""}}, {"VES", {"0", "Vestibilità", "1", ""}}}));
}

TEST_F(VariantsForm, MassTabWithSeveralArticlesListsEveryVariantInActiveUseAllTicked) {
    const auto lista = Apri(Apertura(entry::Util_Duplmassiva, false, ""));
    EXPECT_EQ(Righe(lista), (Lista{{"COL", {"1", "Colore", "1", ""}},
                                   {"TAG", {"1", "Taglia", "1", ""}},
                                   {"VES", {"1", "Vestibilità", "1", ""}}}));

    Esegui("UPDATE MG6B_GESVARART SET MG6B_FLGGESTVAR = 0 WHERE MG6B_CODICEVAR_MG5F = 'VES'");
    Esegui("UPDATE MG5F_DIMECONF SET MG5F_INDPROGCONFIG = 2 WHERE MG5F_CODICEVAR = 'COL'");
    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Duplmassiva, false, ""))), (Lista{{"TAG", {"1", "Taglia", "1", ""}}}));
}

// Several articles tick with the three-state column (Sel2); one model or one article with a plain check.
TEST_F(VariantsForm, TheSelectionColumnIsThreeStateOnlyForSeveralArticles) {
    auto guarda = [](entry::GridColumnKind& kind) {
        return host::UserScript().Do("look at the grid", [&kind](entry::Form& form, host::HeadlessShell&) {
            for (const auto& c : Griglia(form).Columns())
                if (c.field == "SEL") kind = c.kind;
        });
    };
    entry::GridColumnKind modello{}, uno{}, piu{};
    Apri(Apertura(entry::Util_Agganci, false, "MODELLO01"), guarda(modello));
    Apri(Apertura(entry::Util_Duplmassiva, true, "CAM-100"), guarda(uno));
    Apri(Apertura(entry::Util_Duplmassiva, false, ""), guarda(piu));
    EXPECT_EQ(modello, entry::GridColumnKind::Check);
    EXPECT_EQ(uno, entry::GridColumnKind::Check);
    EXPECT_EQ(piu, entry::GridColumnKind::Check2);
}

}  // namespace
}  // namespace varianti_test
