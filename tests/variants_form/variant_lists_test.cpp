// The list the form builds for each tab and mode of the links form, on the demo company: colour COL
// (the company's colour variant), size TAG, fit VES. MODELLO01 uses COL and TAG actively and VES not;
// CAM-100 the same; MODELLO02 uses all three actively.
#include "VariantsFormFixture.h"

namespace varianti_test {
namespace {

using Lista = std::map<std::string, Riga>;

TEST_F(VariantsForm, LinksTabListsTheModelsActiveVariantsAllTickedWithAutomaticGrouping) {
    const auto lista = Apri(Apertura(entry::Util_Agganci, false, "MODELLO01"));

    ASSERT_TRUE(lista);
    EXPECT_EQ(Righe(lista), (Lista{{"COL", {"1", "Colore", "1", ""}}, {"TAG", {"1", "Taglia", "1", ""}}}));
    EXPECT_TRUE(shell->Failures().empty()) << Fallimenti();
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
}

TEST_F(VariantsForm, LinksTabListsTheColourVariantWhenAnyArticleUsesItActively) {
    Esegui("DELETE FROM MG6B_GESVARART WHERE MG6B_CODART_MG66 = 'MODELLO01' AND MG6B_CODICEVAR_MG5F = 'COL'");
    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Agganci, false, "MODELLO01"))),
              (Lista{{"COL", {"1", "Colore", "1", ""}}, {"TAG", {"1", "Taglia", "1", ""}}}));

    // Nobody uses it actively: only the model's own active variants remain.
    Esegui("UPDATE MG6B_GESVARART SET MG6B_FLGGESTVAR = 0 WHERE MG6B_CODICEVAR_MG5F = 'COL'");
    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Agganci, false, "MODELLO01"))), (Lista{{"TAG", {"1", "Taglia", "1", ""}}}));
}

TEST_F(VariantsForm, LinksTabFindsAModelWhoseCodeHoldsAQuote) {
    Esegui("INSERT INTO MG66_ANAGRART (MG66_DITTA_CG18, MG66_CODART) VALUES (1, 'O''HARA')");
    Esegui("INSERT INTO MG6B_GESVARART (MG6B_DITTA_CG18, MG6B_CODART_MG66, MG6B_CODICEVAR_MG5F, MG6B_FLGGESTVAR)"
           " VALUES (1, 'O''HARA', 'VES', 1)");
    Esegui("UPDATE MG5F_DIMECONF SET MG5F_DESCR_VAR = NULL WHERE MG5F_CODICEVAR = 'VES'");

    EXPECT_EQ(Righe(Apri(Apertura(entry::Util_Agganci, false, "O'HARA"))),
              (Lista{{"COL", {"1", "Colore", "1", ""}}, {"VES", {"1", "", "1", ""}}}));
    EXPECT_TRUE(shell->Messages()->ErrorBoxes().empty());
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

TEST_F(VariantsForm, GridShowsTheListWithItsColumnsAndTheSel2ColumnForSeveralArticles) {
    using K = entry::GridColumnKind;
    struct Visto {
        std::vector<entry::GridColumn> colonne;
        std::string chiave, layout;
        std::vector<std::string> codici, sel;
    };
    auto guarda = [](Visto& visto) {
        return host::UserScript().Do("look at the grid", [&visto](entry::Form& form, host::HeadlessShell&) {
            auto& grid = Griglia(form);
            visto = {grid.Columns(), grid.KeyField(), grid.LayoutKey(), grid.ColumnTexts("MG5F_CODICEVAR"),
                     grid.ColumnTexts("SEL")};
        });
    };
    auto descrivi = [](const std::vector<entry::GridColumn>& colonne) {
        std::vector<std::string> d;
        for (const auto& c : colonne)
            d.push_back(c.field + "|" + c.caption + "|" + std::to_string(c.width) + "|" +
                        std::to_string(static_cast<int>(c.kind)) + "|" + (c.editable ? "E" : "-"));
        return d;
    };
    const std::vector<std::string> resto{"MG5F_CODICEVAR|Codice Opzione|2500|0|-", "MG5F_DESCR_VAR|Opzione|1500|0|-",
                                         "RAGGRAUTOMATICO|Codice raggr. Automatico|2500|1|E",
                                         "RAGGRPERSONALIZZATO|Codice raggr. Personalizzato|2500|0|-"};
    auto con = [&](std::string prima) {
        std::vector<std::string> tutte{std::move(prima)};
        tutte.insert(tutte.end(), resto.begin(), resto.end());
        return tutte;
    };
    ASSERT_EQ(static_cast<int>(K::Check), 1);
    ASSERT_EQ(static_cast<int>(K::Check2), 2);

    Visto modello, uno, piu;
    Apri(Apertura(entry::Util_Agganci, false, "MODELLO01"), guarda(modello));
    Apri(Apertura(entry::Util_Duplmassiva, true, "CAM-100"), guarda(uno));
    Apri(Apertura(entry::Util_Duplmassiva, false, ""), guarda(piu));

    EXPECT_EQ(descrivi(modello.colonne), con("SEL|Sel|500|1|E"));
    EXPECT_EQ(descrivi(uno.colonne), con("SEL|Sel|500|1|E"));
    EXPECT_EQ(descrivi(piu.colonne), con("SEL|Sel2|500|2|E"));
    EXPECT_EQ(modello.chiave, "MG5F_CODICEVAR");
    EXPECT_EQ(modello.layout, "FRMFA_VARIANTI.QGRD_VARIANTI");
    EXPECT_EQ(modello.codici.size(), 2u);
    EXPECT_EQ(piu.sel, (std::vector<std::string>{"1", "1", "1"}));
}

}  // namespace
}  // namespace varianti_test
