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
    for (const long long n : {2147483647LL, -2147483648LL}) EXPECT_EQ(Variant(n).Type(), VarType::Long) << n;
    Variant big(9000000000LL);
    EXPECT_EQ(big.Type(), VarType::Decimal) << "wide integers stay exact";
    ErrorOf(errc::Overflow, [] { Variant(~0ULL); });

    const std::pair<Variant, std::string> printed[] = {
        {big, "9000000000"}, {Variant(true), "True"}, {Variant(1e20), "1E+20"}, {Variant(1e-5), "1E-05"},
        {Variant(0.1 + 0.2), "0.3"}, {Variant(1.0 / 3), "0.333333333333333"}, {Variant(-0.0), "0"},
        {Variant(Decimal(1250, 2)), "12.5"},
        {Variant(Date::FromParts(2024, 2, 29, 13, 45, 30)), "2024-02-29 13:45:30"}};
    for (const auto& [value, text] : printed) EXPECT_EQ(value.CStr(), text);

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
    const std::pair<Variant, long> whole[] = {
        {Variant(2.5), 2}, {Variant(3.5), 4}, {Variant(-2.5), -2}, {Variant(Decimal(-25, 1)), -2}, {Variant("2.5"), 2},
        {Variant(" 12 "), 12}, {Variant(), 0}, {Variant(true), -1}, {Variant(32767), 32767}};
    for (const auto& [value, n] : whole) EXPECT_EQ(value.CInt(), n) << value.Text();
    EXPECT_EQ(Variant(0.5).CLng(), 0);
    EXPECT_EQ(Variant(Date::FromParts(1900, 1, 1)).CLng(), 2);
    EXPECT_EQ(ErrorOf(errc::Overflow, [] { Variant(32768).CInt(); }), "Overflow");
    // 32767.5 rounds to 32768.
    for (const Variant& v : {Variant(32767.5), Variant("40000")}) ErrorOf(errc::Overflow, [&] { v.CInt(); });
    for (const Variant& v : {Variant(2147483647.5), Variant(std::nan(""))}) ErrorOf(errc::Overflow, [&] { v.CLng(); });
    EXPECT_EQ(ErrorOf(errc::TypeMismatch, [] { Variant("abc").CInt(); }), "Type mismatch");
    for (const Variant& v : {Variant(""), Variant("1,5")}) ErrorOf(errc::TypeMismatch, [&] { v.CLng(); });
    ErrorOf(errc::InvalidUseOfNull, [] { Variant::Null().CLng(); });
    ErrorOf(errc::TypeMismatch, [] { Variant(ObjectPtr()).CInt(); });

    const std::pair<const char*, double> doubles[] = {{" -3.25 ", -3.25}, {"2D3", 2000}, {"1e-400", 0}};
    for (const auto& [text, d] : doubles) EXPECT_DOUBLE_EQ(Variant(text).CDbl(), d) << text;
    ErrorOf(errc::Overflow, [] { Variant("1e999").CDbl(); });
    for (const char* text : {"1e", "- 1"}) ErrorOf(errc::TypeMismatch, [&] { Variant(text).CDbl(); });
    ErrorOf(errc::InvalidUseOfNull, [] { Variant::Null().CDbl(); });

    const std::pair<Variant, bool> flags[] = {{Variant(0), false}, {Variant(-0.5), true}, {Variant(), false},
                                              {Variant("True"), true}, {Variant("false"), false},
                                              {Variant("-1"), true}};
    for (const auto& [value, flag] : flags) EXPECT_EQ(value.CBool(), flag) << value.Text();
    ErrorOf(errc::TypeMismatch, [] { Variant("yes").CBool(); });
    ErrorOf(errc::InvalidUseOfNull, [] { Variant::Null().CBool(); });

    for (const Variant& v : {Variant(" 12 "), Variant()}) EXPECT_TRUE(v.IsNumeric()) << v.Text();
    for (const Variant& v : {Variant("12a"), Variant::Null(), Variant(Date::FromParts(2024, 1, 1))})
        EXPECT_FALSE(v.IsNumeric()) << v.Text();
}

TEST(VariantComparison, EqualsAndOrdersAsVb) {
    // (`!=` is "not Equals", see Variant::Compare: Null is unequal to everything, itself too.)
    const struct { Variant a, b; bool equal; } pairs[] = {
        {Variant(1), Variant(1.0), true}, {Variant(9000000000LL), Variant(9e9), true},
        {Variant(true), Variant(-1), true}, {Variant(1), Variant(1.5), false},
        {Variant(5), Variant("5"), true},  // a numeric text against a number: by value
        {Variant(5), Variant("five"), false}, {Variant(true), Variant("True"), true},
        {Variant("abc"), Variant("ABC"), false},  // binary
        {Variant("a "), Variant("a"), false},     // trailing blanks count
        {Variant("5"), Variant("5.0"), false},    // two texts never compare as numbers
        {Variant::Null(), Variant::Null(), false}, {Variant::Null(), Variant(""), false},
        {Variant(), Variant(""), true}, {Variant(), Variant("0"), false}, {Variant::Missing(), Variant(), false},
        {Variant(std::make_shared<Object>()), Variant(std::make_shared<Object>()), false}};
    for (std::size_t i = 0; i < std::size(pairs); ++i) EXPECT_EQ(pairs[i].a == pairs[i].b, pairs[i].equal) << i;

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
    for (const char* text : {"abc", ""}) ErrorOf(errc::TypeMismatch, [&] { Decimal::Parse(text); });
    for (const char* text : {"9223372036854775808", "1E19"}) ErrorOf(errc::Overflow, [&] { Decimal::Parse(text); });

    EXPECT_EQ(Decimal::FromDouble(0.1 + 0.2).ToString(), "0.3");
    EXPECT_EQ(Decimal::FromDouble(1e-11).ToString(), "0");
    EXPECT_EQ(Decimal::FromDouble(1.005).ToString(), "1.005");
    EXPECT_EQ(Decimal::FromDouble(0.12345678915).ToString(), "0.1234567892");
    for (const double d : {1e20, std::nan("")}) ErrorOf(errc::Overflow, [&] { Decimal::FromDouble(d); });

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
    for (const char* text : {"2023-02-29", "2024-01-05 25:00"}) ErrorOf(errc::TypeMismatch, [&] { Date::Parse(text); });
    ErrorOf(errc::InvalidProcedureCall, [] { Date::FromParts(2024, 13, 1); });
}

// (SameText, which ignores case as the database does, is checked against it: SqlServerCollation in
// filter_test.cpp.)
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
}

// A row keeps each value exactly as read: its kind (Integer is not Long), a decimal's scale, every byte of
// a text, and rows beyond 64 KB.
TEST(PackedRowTest, EveryKindOfValueComesBackAsItWas) {
    const std::string big(70000, 'x');
    const std::vector<Variant> values = {
        Variant(), Variant::Null(), Variant::Missing(), Variant(true), Variant(static_cast<std::int16_t>(-7)),
        Variant(-2147483647 - 1), Variant(2.5), Variant(Decimal(-1234500, 4)), Variant(std::string("A\0B", 3)),
        Variant(""), Variant(Date::FromParts(2026, 12, 7, 5, 30, 0)), Variant(big)};
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
