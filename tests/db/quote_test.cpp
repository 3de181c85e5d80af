// Values put into statement text: texts can never end their literal early, numbers are only numbers. (That
// hostile values reach the database whole through every statement of the component: tests/hostile.)
#include <gtest/gtest.h>

#include <string>

#include "db/Error.h"
#include "db/Quote.h"

using namespace db;

TEST(SqlNumbers, WriteTheDecimalText) {
    EXPECT_EQ(SqlNumber(std::int16_t{-3}), "-3");
    EXPECT_EQ(SqlNumber(Decimal(12345, 2)), "123.45");
    EXPECT_EQ(SqlNumber(0.1 + 0.2), "0.3");
    EXPECT_EQ(SqlNumber(1e20), "100000000000000000000");
    EXPECT_EQ(SqlNumber(1e-5), "0.00001");
    EXPECT_EQ(SqlNumber(-1.5e-7), "-0.00000015");
    EXPECT_EQ(SqlNumber(-0.0), "0");
    EXPECT_EQ(SqlNumber(true), "-1");
    EXPECT_EQ(SqlNumber(false), "0");
    EXPECT_EQ(SqlNumber(" 007 "), "7");
    EXPECT_EQ(SqlNumber("1E3"), "1000");
    EXPECT_EQ(SqlNumber("-2.50"), "-2.5");
}
