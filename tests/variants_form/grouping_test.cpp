// Ticks, the automatic grouping and the personalised grouping code (TXT_RAGGR): what the user can change,
// and that every change reaches the list the links form gets back and the list's table.
#include "VariantsFormFixture.h"
#include "variants_form/RegoleRaggruppamento.h"

namespace varianti_test {
namespace {

// The state of TXT_RAGGR at one moment of the script: its text, "|on" when it can be typed, "|off" when not.
host::UserScript& Osserva(host::UserScript& s, std::vector<std::string>& visti) {
    return s.Do("look at TXT_RAGGR", [&visti](entry::Form& form, host::HeadlessShell&) {
        visti.push_back(Raggruppamento(form).Text() + (Raggruppamento(form).Enabled() ? "|on" : "|off"));
    });
}

// The personalised code is cut to the twenty characters the list holds.
TEST_F(VariantsForm, TicksAndGroupingCodesReachTheListAndItsTableAndTheCodeIsTypedOnlyWithoutAutomaticGrouping) {
    std::vector<std::string> visti;
    host::UserScript user;
    Spunta(user, "TAG", "SEL");
    Spunta(user, "TAG", "RAGGRAUTOMATICO");
    user.Type("TXT_RAGGR", "PRIMAVERA-ESTATE-2026-XL");
    Osserva(user, visti);

    const auto lista = Apri(Apertura(), user);

    EXPECT_TRUE(shell->Failures().empty()) << Fallimenti();
    EXPECT_EQ(visti, (std::vector<std::string>{"PRIMAVERA-ESTATE-202|on"}));
    EXPECT_EQ(Righe(lista), (Lista{{"COL", "1|Colore|1|"}, {"TAG", "0|Taglia|0|PRIMAVERA-ESTATE-202"}}));
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT MG5F_CODICEVAR, SEL, RAGGRAUTOMATICO, RTRIM(RAGGRPERSONALIZZATO) FROM "
                                       "##TABTEMP_VARIANTI ORDER BY MG5F_CODICEVAR"),
              (std::vector<std::string>{"COL|1|1|", "TAG|0|0|PRIMAVERA-ESTATE-202"}));
    EXPECT_EQ(variants_form::RaggrPersonalizzatoAmmesso("àèìòùàèìòùàèìòùàèìòùXY"), "àèìòùàèìòùàèìòùàèìòù");

    // The code follows the row and can be typed only without automatic grouping.
    visti.clear();
    int aggiornamenti = -1;
    user = host::UserScript();
    Seleziona(user, "TAG");
    Osserva(user, visti);                     // automatic grouping: nothing to type
    Spunta(user, "TAG", "RAGGRAUTOMATICO");
    Osserva(user, visti);                     // switched off: the code can be typed
    user.Type("TXT_RAGGR", "SUMMER");
    Seleziona(user, "COL");
    Osserva(user, visti);                     // another row: its own (empty) code
    Seleziona(user, "TAG");
    Osserva(user, visti);                     // back: the code typed before
    Spunta(user, "TAG", "RAGGRAUTOMATICO");
    Osserva(user, visti);                     // switched on again: the personalised code goes
    user.Do("count the row writes", [&aggiornamenti](entry::Form& form, host::HeadlessShell&) {
        aggiornamenti = Griglia(form).RowUpdates();
    });

    const auto seconda = Apri(Apertura(), user);

    EXPECT_TRUE(shell->Failures().empty()) << Fallimenti();
    EXPECT_EQ(visti, (std::vector<std::string>{"|off", "|on", "|off", "SUMMER|on", "|off"}));
    EXPECT_EQ(aggiornamenti, 2);  // the typed code, then its removal: each announced to the grid
    EXPECT_EQ(Righe(seconda).at("TAG"), "1|Taglia|1|");
    EXPECT_EQ(testsupport::Rows(*conn, "SELECT RAGGRPERSONALIZZATO FROM ##TABTEMP_VARIANTI WHERE MG5F_CODICEVAR = "
                                       "'TAG'"),
              (std::vector<std::string>{""}));
}

TEST_F(VariantsForm, ColourVariantTakesNoPersonalisedCodeOnTheLinksTabButDoesOnTheMassTab) {
    std::vector<std::string> agganci, massiva;
    auto script = [](std::vector<std::string>& visti) {
        host::UserScript user;
        Spunta(user, "COL", "RAGGRAUTOMATICO");
        Osserva(user, visti);
        Seleziona(user, "TAG");
        Seleziona(user, "COL");
        Osserva(user, visti);
        return user;
    };

    Apri(Apertura(), script(agganci));
    host::UserScript digita;
    Seleziona(digita, "COL");
    digita.Type("TXT_RAGGR", "NON AMMESSO");
    Apri(Apertura(), digita);
    ASSERT_EQ(shell->Failures().size(), 1u);  // the box could not be reached
    EXPECT_NE(shell->Failures()[0].find("TXT_RAGGR"), std::string::npos) << Fallimenti();
    shell->ClearFailures();

    host::UserScript user = script(massiva);
    user.Type("TXT_RAGGR", "COL-SPECIALE");
    const auto lista = Apri(Apertura(entry::Util_Duplmassiva, false, ""), user);

    EXPECT_TRUE(shell->Failures().empty()) << Fallimenti();
    EXPECT_EQ(agganci, (std::vector<std::string>{"|off", "|off"}));
    EXPECT_EQ(massiva, (std::vector<std::string>{"|on", "|on"}));
    EXPECT_EQ(Righe(lista).at("COL"), "1|Colore|0|COL-SPECIALE");
}

}  // namespace
}  // namespace varianti_test
