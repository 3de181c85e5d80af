// How the new codes are derived. The modes the combo offers: selezione_articoli_test.cpp (structured codes) and
// procedura_guidata_test.cpp.
#include <gtest/gtest.h>

#include "generation/PreviewCodes.h"
#include "mass_duplication/CodiceArticolo.h"

namespace {

using mass_duplication::NuovoCodice;

// A mask longer than the code: hostile/mass_hostile_test.cpp (CodeTextInEveryMode, mode 1).
TEST(CodiceArticolo, BlanksOfTheMaskKeepTheCodeTheCodeKeepsItsLengthAndEachModeDerivesItsCode) {
    const struct { std::string code, mask, expected; } cases[] = {
        {"ABCDEF", "1  Z", "1BCZEF"},
        {"ÀBC", " è", "Àè" "C"},  // positions are characters: an accented letter counts once
        {"ABC", "", "ABC"},
        {"", "X", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code + " / " + c.mask);
        std::string code = c.code;
        mass_duplication::CodiceArticolo(code, c.mask);
        EXPECT_EQ(code, c.expected);
    }

    // Each mode derives its code.
    EXPECT_EQ(NuovoCodice("0", "B2", "  X  "), "XB2");  // the prefix without its blanks
    // Leading blanks of the mask keep the code's first positions; trailing ones do not matter.
    EXPECT_EQ(NuovoCodice("1", "CAM-100", "   Z   "), "CAMZ100");
    EXPECT_EQ(NuovoCodice("2", "CAM-100", " NUOVO "), "NUOVO");
    EXPECT_EQ(NuovoCodice("9", "CAM-100", "X"), "");

    // The dry run finds a code taken where the database would: XAŸ and XAÿ are two codes there.
    generation::TakenCodes taken;
    EXPECT_EQ(taken.Take("XAŸ", "AŸ"), "");
    EXPECT_EQ(taken.Take("XAÿ", "Aÿ"), "");
    EXPECT_EQ(taken.Take("xaÿ  ", "aÿ"), "Aÿ");
}

}  // namespace
