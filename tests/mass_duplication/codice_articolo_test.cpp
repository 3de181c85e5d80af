// How the new codes are derived, and which modes the combo offers.
#include <gtest/gtest.h>

#include "mass_duplication/CodiceArticolo.h"
#include "mass_duplication/ModiCodice.h"

namespace {

using mass_duplication::CodiceArticolo;
using mass_duplication::NuovoCodice;

// A mask longer than the code: hostile/mass_hostile_test.cpp (CodeTextInEveryMode, mode 1).
TEST(CodiceArticolo, BlanksOfTheMaskKeepTheCodeAndTheCodeKeepsItsLength) {
    const struct { std::string code, mask, expected; } cases[] = {
        {"ABCDEF", "1  Z", "1BCZEF"},
        {"ÀBC", " è", "Àè" "C"},  // positions are characters: an accented letter counts once
        {"ABC", "", "ABC"},
        {"", "X", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code + " / " + c.mask);
        std::string code = c.code;
        CodiceArticolo(code, c.mask);
        EXPECT_EQ(code, c.expected);
    }
}

TEST(CodiceArticolo, EachModeDerivesItsCode) {
    EXPECT_EQ(NuovoCodice("0", "B2", "  X  "), "XB2");  // the prefix without its blanks
    // Leading blanks of the mask keep the code's first positions; trailing ones do not matter.
    EXPECT_EQ(NuovoCodice("1", "CAM-100", "   Z   "), "CAMZ100");
    EXPECT_EQ(NuovoCodice("2", "CAM-100", " NUOVO "), "NUOVO");
    EXPECT_EQ(NuovoCodice("9", "CAM-100", "X"), "");
}

// Without structured codes the combo's captions are procedura_guidata_test's.
TEST(ModiCodice, StructuredCodesTakeNoPrefixCompleteOnlyForOneArticle) {
    using M = mass_duplication::ModoCodice;
    const M parziale{"1", "Sostituisci parziale"}, completa{"2", "Sostituisci completa"};
    EXPECT_EQ(mass_duplication::ModiOfferti(true, 1), (std::vector<M>{parziale, completa}));
    EXPECT_EQ(mass_duplication::ModiOfferti(true, 6), (std::vector<M>{parziale}));
}

}  // namespace
