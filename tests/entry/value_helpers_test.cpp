// The value helpers every statement is built with: text without trailing blanks, and numbers as their
// decimal text or a type mismatch.
#include <gtest/gtest.h>

#include <utility>

#include "db/Error.h"
#include "entry/MDLFA_AGGANCI.h"

using db::Variant;
using entry::Pfun_Numero;
using entry::Pfun_Testo;

TEST(ValueHelpers, TestoDropsTrailingBlanksOnlyAndNumeroGivesTheDecimalTextOrRefusesText) {
    // Testo keeps leading blanks and gives "" for nothing.
    EXPECT_EQ(Pfun_Testo(), "");
    const std::pair<Variant, std::string> texts[] = {
        {Variant::Missing(), ""}, {Variant::Null(), ""}, {Variant(), ""},        {Variant("  ab  "), "  ab"},
        {Variant("   "), ""},     {Variant("a b "), "a b"}, {Variant(42), "42"}, {Variant(1.5), "1.5"}};
    for (const auto& [value, text] : texts) EXPECT_EQ(Pfun_Testo(value), text);

    // Numero gives "0" for nothing.
    EXPECT_EQ(Pfun_Numero(), "0");
    const std::pair<Variant, std::string> numbers[] = {
        {Variant(""), "0"},      {Variant("   "), "0"},  {Variant::Null(), "0"},           {Variant("007"), "7"},
        {Variant("1.50"), "1.5"}, {Variant("  12  "), "12"}, {Variant("-0012.500"), "-12.5"}, {Variant(3.25), "3.25"}};
    for (const auto& [value, text] : numbers) EXPECT_EQ(Pfun_Numero(value), text);
    for (const char* text : {"abc", "12a", "1.2.3", "' OR 1=1 --"}) {
        try {
            Pfun_Numero(Variant(text));
            ADD_FAILURE() << "no error for " << text;
        } catch (const db::Error& e) {
            EXPECT_EQ(e.Number(), 13) << text;
        }
    }
}
