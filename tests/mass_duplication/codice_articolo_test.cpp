// How the new codes are derived, and which modes the combo offers.
#include <gtest/gtest.h>

#include "mass_duplication/CodiceArticolo.h"
#include "mass_duplication/ModiCodice.h"

namespace {

using mass_duplication::CodiceArticolo;
using mass_duplication::NuovoCodice;

TEST(CodiceArticolo, BlanksOfTheMaskKeepTheCodeAndTheCodeKeepsItsLength) {
    std::string code = "ABCDEF";
    CodiceArticolo(code, "1  Z");
    EXPECT_EQ(code, "1BCZEF");

    code = "AB";
    CodiceArticolo(code, "XYZW");
    EXPECT_EQ(code, "XY");

    // Positions are characters: an accented letter counts once.
    code = "ÀBC";
    CodiceArticolo(code, " è");
    EXPECT_EQ(code, "Àè" "C");

    code = "ABC";
    CodiceArticolo(code, "");
    EXPECT_EQ(code, "ABC");
    code.clear();
    CodiceArticolo(code, "X");
    EXPECT_EQ(code, "");
}

TEST(CodiceArticolo, EachModeDerivesItsCode) {
    EXPECT_EQ(NuovoCodice("0", "A1", "X"), "XA1");
    EXPECT_EQ(NuovoCodice("0", "B2", "  X  "), "XB2");
    // Leading blanks of the mask keep the code's first positions; trailing ones do not matter.
    EXPECT_EQ(NuovoCodice("1", "CAM-100", "   Z   "), "CAMZ100");
    EXPECT_EQ(NuovoCodice("2", "CAM-100", " NUOVO "), "NUOVO");
    EXPECT_EQ(NuovoCodice("9", "CAM-100", "X"), "");
}

TEST(ModiCodice, PrefixOnlyWithoutStructuredCodesCompleteOnlyForOneArticle) {
    using M = mass_duplication::ModoCodice;
    const M prefisso{"0", "Aggiungi prefisso"}, parziale{"1", "Sostituisci parziale"},
        completa{"2", "Sostituisci completa"};
    EXPECT_EQ(mass_duplication::ModiOfferti(false, 1), (std::vector<M>{prefisso, parziale, completa}));
    EXPECT_EQ(mass_duplication::ModiOfferti(false, 2), (std::vector<M>{prefisso, parziale}));
    EXPECT_EQ(mass_duplication::ModiOfferti(true, 1), (std::vector<M>{parziale, completa}));
    EXPECT_EQ(mass_duplication::ModiOfferti(true, 6), (std::vector<M>{parziale}));
}

}  // namespace
