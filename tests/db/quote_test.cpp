// Values put into statement text: texts can never end their literal early, numbers are only numbers. (That
// hostile values reach the database whole through every statement of the component: tests/hostile.)
#include <gtest/gtest.h>

#include <string>

#include "db/Error.h"
#include "db/Quote.h"

using namespace db;

TEST(SqlNumbers, WriteTheDecimalText) {
    const std::pair<std::string, std::string> written[] = {
        {SqlNumber(std::int16_t{-3}), "-3"}, {SqlNumber(Decimal(12345, 2)), "123.45"}, {SqlNumber(0.1 + 0.2), "0.3"},
        {SqlNumber(1e20), "100000000000000000000"}, {SqlNumber(1e-5), "0.00001"}, {SqlNumber(-1.5e-7), "-0.00000015"},
        {SqlNumber(-0.0), "0"}, {SqlNumber(true), "-1"}, {SqlNumber(false), "0"}, {SqlNumber(" 007 "), "7"},
        {SqlNumber("1E3"), "1000"}, {SqlNumber("-2.50"), "-2.5"}};
    for (std::size_t i = 0; i < std::size(written); ++i) EXPECT_EQ(written[i].first, written[i].second) << i;
}
