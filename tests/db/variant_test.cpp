// The VB value layer: conversions, comparisons, text functions, decimals, dates and errors.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "db/Decimal.h"
#include "db/Error.h"
#include "db/PackedRow.h"
#include "db/Variant.h"

using namespace db;

namespace {

// Runs `f`, expecting a db::Error with that number; returns its description.
template <class F>
std::string ErrorOf(long number, F&& f) {
    try {
        f();
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), number) << e.Description();
        return e.Description();
    }
    ADD_FAILURE() << "no error " << number << " raised";
    return {};
}

}  // namespace

TEST(VariantText, PrintsAsVbDoesAndNullOnlyWhereVbAllowsIt) {
    EXPECT_EQ(Variant(2147483647LL).Type(), VarType::Long);
    EXPECT_EQ(Variant(-2147483648LL).Type(), VarType::Long);
    Variant big(9000000000LL);
    EXPECT_EQ(big.Type(), VarType::Decimal) << "wide integers stay exact";
    EXPECT_EQ(big.CStr(), "9000000000");
    ErrorOf(errc::Overflow, [] { Variant(~0ULL); });

    EXPECT_EQ(Variant(true).CStr(), "True");
    EXPECT_EQ(Variant(1e20).CStr(), "1E+20");
    EXPECT_EQ(Variant(1e-5).CStr(), "1E-05");
    EXPECT_EQ(Variant(0.1 + 0.2).CStr(), "0.3");
    EXPECT_EQ(Variant(1.0 / 3).CStr(), "0.333333333333333");
    EXPECT_EQ(Variant(-0.0).CStr(), "0");
    EXPECT_EQ(Variant(Decimal(1250, 2)).CStr(), "12.5");
    EXPECT_EQ(Variant(Date::FromParts(2024, 2, 29, 13, 45, 30)).CStr(), "2024-02-29 13:45:30");

    // Null raises in CStr, but Text and the ampersand give empty.
    EXPECT_EQ(ErrorOf(errc::InvalidUseOfNull, [] { Variant::Null().CStr(); }), "Invalid use of Null");
    EXPECT_EQ(Variant::Null().Text(), "");
    ErrorOf(errc::TypeMismatch, [] { Variant(std::make_shared<Object>()).Text(); });
    EXPECT_EQ(ErrorOf(errc::ObjectRequired, [] { Variant(1).AsObject(); }), "Object required");
    EXPECT_EQ(Concat(Variant::Null(), "x").CStr(), "x");
    EXPECT_EQ(Concat(Variant(), Variant()).Type(), VarType::String);
    EXPECT_TRUE(Concat(Variant::Null(), Variant::Null()).IsNull());  // as VB: Null & Null is Null
}

TEST(VariantConversions, RoundOverflowAndMismatchAsVb) {
    // Halves round to even, from every kind of value.
    EXPECT_EQ(Variant(2.5).CInt(), 2);
    EXPECT_EQ(Variant(3.5).CInt(), 4);
    EXPECT_EQ(Variant(-2.5).CInt(), -2);
    EXPECT_EQ(Variant(0.5).CLng(), 0);
    EXPECT_EQ(Variant(Decimal(-25, 1)).CInt(), -2);
    EXPECT_EQ(Variant("2.5").CInt(), 2);
    EXPECT_EQ(Variant(" 12 ").CInt(), 12);
    EXPECT_EQ(Variant().CInt(), 0);
    EXPECT_EQ(Variant(true).CInt(), -1);
    EXPECT_EQ(Variant(Date::FromParts(1900, 1, 1)).CLng(), 2);
    EXPECT_EQ(Variant(32767).CInt(), 32767);
    EXPECT_EQ(ErrorOf(errc::Overflow, [] { Variant(32768).CInt(); }), "Overflow");
    ErrorOf(errc::Overflow, [] { Variant(32767.5).CInt(); });  // rounds to 32768
    ErrorOf(errc::Overflow, [] { Variant("40000").CInt(); });
    ErrorOf(errc::Overflow, [] { Variant(2147483647.5).CLng(); });
    ErrorOf(errc::Overflow, [] { Variant(std::nan("")).CLng(); });
    EXPECT_EQ(ErrorOf(errc::TypeMismatch, [] { Variant("abc").CInt(); }), "Type mismatch");
    ErrorOf(errc::TypeMismatch, [] { Variant("").CLng(); });
    ErrorOf(errc::TypeMismatch, [] { Variant("1,5").CLng(); });
    ErrorOf(errc::InvalidUseOfNull, [] { Variant::Null().CLng(); });
    ErrorOf(errc::TypeMismatch, [] { Variant(ObjectPtr()).CInt(); });

    EXPECT_DOUBLE_EQ(Variant(" -3.25 ").CDbl(), -3.25);
    EXPECT_DOUBLE_EQ(Variant("2D3").CDbl(), 2000);
    EXPECT_DOUBLE_EQ(Variant("1e-400").CDbl(), 0);
    ErrorOf(errc::Overflow, [] { Variant("1e999").CDbl(); });
    ErrorOf(errc::TypeMismatch, [] { Variant("1e").CDbl(); });
    ErrorOf(errc::TypeMismatch, [] { Variant("- 1").CDbl(); });
    ErrorOf(errc::InvalidUseOfNull, [] { Variant::Null().CDbl(); });

    EXPECT_FALSE(Variant(0).CBool());
    EXPECT_TRUE(Variant(-0.5).CBool());
    EXPECT_FALSE(Variant().CBool());
    EXPECT_TRUE(Variant("True").CBool());
    EXPECT_FALSE(Variant("false").CBool());
    EXPECT_TRUE(Variant("-1").CBool());
    ErrorOf(errc::TypeMismatch, [] { Variant("yes").CBool(); });
    ErrorOf(errc::InvalidUseOfNull, [] { Variant::Null().CBool(); });

    EXPECT_TRUE(Variant(" 12 ").IsNumeric());
    EXPECT_TRUE(Variant().IsNumeric());
    EXPECT_FALSE(Variant("12a").IsNumeric());
    EXPECT_FALSE(Variant::Null().IsNumeric());
    EXPECT_FALSE(Variant(Date::FromParts(2024, 1, 1)).IsNumeric());
}

TEST(VariantComparison, EqualsAndOrdersAsVb) {
    EXPECT_EQ(Variant(1), Variant(1.0));
    EXPECT_EQ(Variant(9000000000LL), Variant(9e9));
    EXPECT_EQ(Variant(true), Variant(-1));
    EXPECT_NE(Variant(1), Variant(1.5));
    EXPECT_EQ(Variant(5), Variant("5"));       // a numeric text against a number: by value
    EXPECT_NE(Variant(5), Variant("five"));
    EXPECT_EQ(Variant(true), Variant("True"));

    EXPECT_NE(Variant("abc"), Variant("ABC"));  // binary
    EXPECT_NE(Variant("a "), Variant("a"));     // trailing blanks count
    EXPECT_NE(Variant("5"), Variant("5.0"));    // two texts never compare as numbers
    EXPECT_FALSE(Variant::Null() == Variant::Null());
    EXPECT_FALSE(Variant::Null() == Variant(""));
    EXPECT_TRUE(Variant::Null() != Variant::Null());  // `!=` is "not Equals", see Variant::Compare
    EXPECT_EQ(Variant(), Variant(""));
    EXPECT_NE(Variant(), Variant("0"));
    EXPECT_NE(Variant::Missing(), Variant());
    EXPECT_NE(Variant(std::make_shared<Object>()), Variant(std::make_shared<Object>()));

    EXPECT_TRUE(Variant(2).Compare(Variant(10)) < 0);
    EXPECT_TRUE(Variant(99).Compare(Variant("abc")) < 0);   // numbers before texts
    EXPECT_TRUE(Variant("10").Compare(Variant(9)) > 0);     // numeric text against a number
    EXPECT_TRUE(Variant("è").Compare(Variant("z")) > 0);    // code point order
    EXPECT_EQ(Variant::Null().Compare(Variant(1)), std::partial_ordering::unordered);
    EXPECT_TRUE(Variant().Compare(Variant(-1)) > 0);
}

TEST(DecimalValues, ParseConvertRescaleAndCompare) {
    Decimal d = Decimal::Parse("12.50");
    EXPECT_EQ(d.Unscaled(), 125);
    EXPECT_EQ(d.Scale(), 1);
    EXPECT_EQ(Decimal::Parse(" -0.001 ").ToString(), "-0.001");
    EXPECT_EQ(Decimal::Parse("9223372036854775807").Unscaled(), INT64_MAX);
    // More decimals than fit: rounded, half away from zero.
    EXPECT_EQ(Decimal::Parse("1.23456789012345678951").ToString(), "1.23456789012345679");
    EXPECT_EQ(Decimal::Parse("-0.5E-28").ToString(), "-0.0000000000000000000000000001");
    EXPECT_EQ(Decimal::Parse("1E-40").ToString(), "0");
    ErrorOf(errc::TypeMismatch, [] { Decimal::Parse("abc"); });
    ErrorOf(errc::TypeMismatch, [] { Decimal::Parse(""); });
    ErrorOf(errc::Overflow, [] { Decimal::Parse("9223372036854775808"); });
    ErrorOf(errc::Overflow, [] { Decimal::Parse("1E19"); });

    EXPECT_EQ(Decimal::FromDouble(0.1 + 0.2).ToString(), "0.3");
    EXPECT_EQ(Decimal::FromDouble(1e-11).ToString(), "0");
    EXPECT_EQ(Decimal::FromDouble(1.005).ToString(), "1.005");
    EXPECT_EQ(Decimal::FromDouble(0.12345678915).ToString(), "0.1234567892");
    ErrorOf(errc::Overflow, [] { Decimal::FromDouble(1e20); });
    ErrorOf(errc::Overflow, [] { Decimal::FromDouble(std::nan("")); });

    EXPECT_EQ(Decimal(1005, 3).Rescale(2), Decimal(101, 2));
    EXPECT_EQ(Decimal(-25, 1).Rescale(0), Decimal(-3, 0));
    EXPECT_EQ(Decimal(-25, 1).RoundHalfEven(0), Decimal(-2, 0));
    ErrorOf(errc::Overflow, [] { Decimal(INT64_MAX, 0).Rescale(1); });

    // By value across scales.
    EXPECT_EQ(Decimal(15, 1), Decimal(150, 2));
    EXPECT_TRUE(Decimal(15, 1) < Decimal(151, 2));
    EXPECT_TRUE(Decimal(INT64_MAX, 0) > Decimal(INT64_MAX, 1));
    EXPECT_TRUE(Decimal(1, 30) > Decimal());
    EXPECT_TRUE(Decimal(0, 30) == Decimal());
}

TEST(DateValues, SerialsAndIsoText) {
    EXPECT_EQ(Date::FromParts(1899, 12, 30).serial, 0);
    EXPECT_EQ(Date::FromParts(1900, 1, 1).serial, 2);
    EXPECT_EQ(Date::FromParts(2000, 1, 1, 12).serial, 36526.5);
    EXPECT_EQ(Date{-1.25}.ToIso(), "1899-12-29 06:00:00");  // VB's encoding before day zero
    EXPECT_EQ(Date::Parse("2024-01-05").ToIso(), "2024-01-05 00:00:00");
    EXPECT_EQ(Date::Parse("2024-12-31 23:59:59.700").ToIso(), "2025-01-01 00:00:00");
    // Stored as text to the millisecond, read back as written; the last moment there is stays in year 9999.
    for (const std::string text : {"2025-06-30 12:34:56.789", "9999-12-31 23:59:59.999", "0100-01-01 00:00:00.001",
                                   "2024-01-05 10:20:30"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Date::Parse(text).ToStoredText(), text);
    }
    EXPECT_EQ(Date::Parse("9999-12-31 23:59:59.999").ToIso(), "9999-12-31 23:59:59");
    EXPECT_EQ(Date{Date::FromParts(9999, 12, 31).serial + 0.999999997}.ToStoredText(), "9999-12-31 23:59:59.999");
    ErrorOf(errc::Overflow, [] { Date{Date::FromParts(9999, 12, 31).serial + 1}.ToIso(); });
    ErrorOf(errc::Overflow, [] { Date{Date::FromParts(100, 1, 1).serial - 1}.ToStoredText(); });
    EXPECT_EQ(Variant("2024-01-05").CDate(), Date::FromParts(2024, 1, 5));
    ErrorOf(errc::TypeMismatch, [] { Date::Parse("2023-02-29"); });
    ErrorOf(errc::TypeMismatch, [] { Date::Parse("2024-01-05 25:00"); });
    ErrorOf(errc::InvalidProcedureCall, [] { Date::FromParts(2024, 13, 1); });
}

// Names are compared eight bytes at a time: only the letters fold, whatever their place in the word, and a
// character beyond ASCII anywhere is compared as UCase compares it.
TEST(StringFunctions, TrimBlanksCountCharactersAndFoldOnlyLetters) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(RTrim("  a  "), "  a");
    EXPECT_EQ(Trim("\ta\t"), "\ta\t");
    EXPECT_EQ(Trim("   "), "");

    const std::string text = "Modalità";
    EXPECT_EQ(Len(text), 8u);
    EXPECT_EQ(Right(text, 1), "à");
    EXPECT_EQ(Mid(text, 8, 1), "à");
    EXPECT_EQ(Mid(text, 9), "");
    EXPECT_EQ(Len("\xF0\x9F\x91\x97"), 1u);     // one four-byte character
    EXPECT_EQ(Len("\xFF" "ab"), 3u);           // a malformed byte is one character
    EXPECT_EQ(Left("\xE0\x80" "x", 1), "\xE0"); // an overlong lead never swallows what follows
    ErrorOf(errc::InvalidProcedureCall, [] { Mid("abc", 0); });

    EXPECT_EQ(UCase("modalità è così"), "MODALITÀ È COSÌ");
    EXPECT_EQ(UCase("ÿ÷ß1"), "Ÿ÷ß1");
    // SameText ignores case as the database does (agreeing with it: SqlServerCollation in filter_test.cpp).
    EXPECT_TRUE(SameText("mg66_codart", "MG66_CODART"));
    EXPECT_TRUE(SameText("\xE9", "É"));  // one and two bytes: a stray byte is its Latin-1 letter
    EXPECT_FALSE(SameText("MG66_CODART", "MG66_CODAR"));
    EXPECT_FALSE(SameText("à", "a"));
    EXPECT_TRUE(SameText("mg66_codart_mg66", "MG66_CODART_MG66"));
    EXPECT_TRUE(SameText("aZ_Mg66_Codart_Q", "Az_mG66_cODART_q"));
    // Next to the letters in the code table: '@' and '`', '[' and '{' differ by the same bit as a case.
    EXPECT_FALSE(SameText("`{@[_xyzQ", "@[`{_XYZq"));
    EXPECT_FALSE(SameText("ABCD{EFGH", "ABCD[EFGH"));
    EXPECT_FALSE(SameText("mg66_codart_mg67x", "MG66_CODART_MG66X"));
    EXPECT_TRUE(SameText("modalità_articolo", "MODALITÀ_ARTICOLO"));
    EXPECT_TRUE(SameText("éabcdefghij", "Éabcdefghij"));
    EXPECT_FALSE(SameText("abcdefghàj", "abcdefghaj"));
}

// A row keeps each value exactly as read: its kind (Integer is not Long), a decimal's scale, every byte of
// a text, and rows beyond 64 KB.
TEST(PackedRowTest, EveryKindOfValueComesBackAsItWas) {
    const std::string big(70000, 'x');
    const std::vector<Variant> values = {Variant(),
                                         Variant::Null(),
                                         Variant::Missing(),
                                         Variant(true),
                                         Variant(static_cast<std::int16_t>(-7)),
                                         Variant(-2147483647 - 1),
                                         Variant(2.5),
                                         Variant(Decimal(-1234500, 4)),
                                         Variant(std::string("A\0B", 3)),
                                         Variant(""),
                                         Variant(Date::FromParts(2026, 12, 7, 5, 30, 0)),
                                         Variant(big)};
    for (const auto& row : {std::vector<Variant>(values.begin(), values.end() - 1), values}) {
        const PackedRow packed(row);
        const PackedRow copy = packed;
        ASSERT_EQ(copy.size(), row.size());
        const std::vector<Variant> back = copy.Unpack();
        for (std::size_t i = 0; i < row.size(); ++i) {
            EXPECT_EQ(back[i].Type(), row[i].Type()) << i;
            EXPECT_EQ(back[i].Text(), row[i].Text()) << i;
        }
        EXPECT_EQ(copy[7].CDec().Scale(), 4);
        EXPECT_THROW((void)copy.at(row.size()), std::out_of_range);
    }
    EXPECT_TRUE(PackedRow().empty());
    EXPECT_THROW(PackedRow({Variant(1), Variant(std::make_shared<Object>())}), std::invalid_argument);
}
