#include <gtest/gtest.h>

#include "db/Error.h"
#include "entry/MDLFA_AGGANCI.h"

using db::Variant;
using entry::Pfun_Numero;
using entry::Pfun_Testo;

TEST(PfunTesto, MissingNullAndEmptyGiveEmptyText) {
    EXPECT_EQ(Pfun_Testo(), "");
    EXPECT_EQ(Pfun_Testo(Variant::Missing()), "");
    EXPECT_EQ(Pfun_Testo(Variant::Null()), "");
    EXPECT_EQ(Pfun_Testo(Variant()), "");
}

TEST(PfunTesto, KeepsLeadingBlanksAndDropsTrailingOnes) {
    EXPECT_EQ(Pfun_Testo(Variant("  ab  ")), "  ab");
    EXPECT_EQ(Pfun_Testo(Variant("   ")), "");
    EXPECT_EQ(Pfun_Testo(Variant("a b ")), "a b");
}

TEST(PfunTesto, NumbersGiveTheirText) {
    EXPECT_EQ(Pfun_Testo(Variant(42)), "42");
    EXPECT_EQ(Pfun_Testo(Variant(1.5)), "1.5");
    EXPECT_EQ(Pfun_Testo(Variant(static_cast<std::int16_t>(-7))), "-7");
}

TEST(PfunNumero, EmptyValuesGiveZero) {
    EXPECT_EQ(Pfun_Numero(), "0");
    EXPECT_EQ(Pfun_Numero(Variant("")), "0");
    EXPECT_EQ(Pfun_Numero(Variant("   ")), "0");
    EXPECT_EQ(Pfun_Numero(Variant::Null()), "0");
}

TEST(PfunNumero, GivesTheDecimalTextOfTheNumber) {
    EXPECT_EQ(Pfun_Numero(Variant("007")), "7");
    EXPECT_EQ(Pfun_Numero(Variant("1.50")), "1.5");
    EXPECT_EQ(Pfun_Numero(Variant("  12  ")), "12");
    EXPECT_EQ(Pfun_Numero(Variant("-0012.500")), "-12.5");
    EXPECT_EQ(Pfun_Numero(Variant(3.25)), "3.25");
    EXPECT_EQ(Pfun_Numero(Variant(15)), "15");
}

TEST(PfunNumero, TextThatIsNotANumberIsATypeMismatch) {
    for (const char* text : {"abc", "12a", "1.2.3", "' OR 1=1 --"}) {
        try {
            Pfun_Numero(Variant(text));
            ADD_FAILURE() << "no error for " << text;
        } catch (const db::Error& e) {
            EXPECT_EQ(e.Number(), 13) << text;
        }
    }
}
