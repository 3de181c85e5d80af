// The list the form builds for each tab and mode of the links form, on the demo company: colour COL
// (the company's colour variant), size TAG, fit VES. MODELLO01 uses COL and TAG actively and VES not;
// CAM-100 the same; MODELLO02 uses all three actively.
#include "VariantsFormFixture.h"

namespace varianti_test {
namespace {

// Several articles tick with the three-state column (Sel2); one model or one article with a plain check.
host::UserScript GuardaSel(entry::GridColumnKind& kind) {
    return host::UserScript().Do("look at the grid", [&kind](entry::Form& form, host::HeadlessShell&) {
        for (const auto& c : Griglia(form).Columns())
            if (c.field == "SEL") kind = c.kind;
    });
}

TEST_F(VariantsForm, LinksTabListsTheModelsActiveVariantsAndTheColourOneAllTickedWithAutomaticGrouping) {
    entry::GridColumnKind sel{};
    const auto lista = Apri(Apertura(), GuardaSel(sel));

    const Lista entrambe{{"COL", "1|Colore|1|"}, {"TAG", "1|Taglia|1|"}};
    EXPECT_EQ(Righe(lista), entrambe);
    EXPECT_EQ(sel, entry::GridColumnKind::Check);
    EXPECT_TRUE(shell->Failures().empty()) << Fallimenti();
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
    EXPECT_TRUE(shell->Messages()->Messages().empty());  // the company names its colour variant: no warning

    // The colour variant is listed when any article uses it actively.
    Esegui("DELETE FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'MODELLO01' AND MG6B_CODICEVAR_MG5F = 'COL'");
    EXPECT_EQ(Righe(Apri(Apertura())), entrambe);

    // Nobody uses it actively: only the model's own active variants remain.
    Esegui("UPDATE MG6B_GESVARART SET MG6B_FLGGESTVAR = 0 WHERE MG6B_CODICEVAR_MG5F = 'COL'");
    EXPECT_EQ(Righe(Apri(Apertura())), (Lista{{"TAG", "1|Taglia|1|"}}));
}

// The mass tab with one article lists its variants ticked as it uses them; with several articles every variant in
// active use, all ticked.
TEST_F(VariantsForm, MassTabListsTheVariantsOfTheOneArticleTickedAsItUsesThemOrOfSeveralAllTicked) {
    entry::GridColumnKind sel{};
    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Duplmassiva, true, "CAM-100"), GuardaSel(sel))),
              (Lista{{"COL", "1|Colore|1|"}, {"TAG", "1|Taglia|1|"}, {"VES", "0|Vestibilità|1|"}}));
    EXPECT_EQ(sel, entry::GridColumnKind::Check);

    // Variants that are not for articles are not offered.
    Esegui("UPDATE MG5F_DIMECONF SET MG5F_INDPROGCONFIG = 1 WHERE MG5F_CODICEVAR = 'TAG'");
    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Duplmassiva, true, "CAM-100"))),
              (Lista{{"COL", "1|Colore|1|"}, {"VES", "0|Vestibilità|1|"}}));
    Esegui("UPDATE MG5F_DIMECONF SET MG5F_INDPROGCONFIG = 0 WHERE MG5F_CODICEVAR = 'TAG'");

    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Duplmassiva, false, ""), GuardaSel(sel))),
              (Lista{{"COL", "1|Colore|1|"}, {"TAG", "1|Taglia|1|"}, {"VES", "1|Vestibilità|1|"}}));
    EXPECT_EQ(sel, entry::GridColumnKind::Check2);
    Esegui("UPDATE MG6B_GESVARART SET MG6B_FLGGESTVAR = 0 WHERE MG6B_CODICEVAR_MG5F = 'VES'");
    Esegui("UPDATE MG5F_DIMECONF SET MG5F_INDPROGCONFIG = 2 WHERE MG5F_CODICEVAR = 'COL'");
    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Duplmassiva, false, ""))), (Lista{{"TAG", "1|Taglia|1|"}}));
}

}  // namespace
}  // namespace varianti_test
