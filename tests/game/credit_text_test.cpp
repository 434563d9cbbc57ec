// The credits parse: the text rules of to_integer without its 32-bit wrap.

#include <gtest/gtest.h>

#include "core/conversions.hpp"
#include "core/gbk.hpp"
#include "game/credit_text.hpp"

namespace tav::game {
namespace {

TEST(CreditText, ReadsAsToIntegerInRangeAndDoesNotWrapBeyond) {
    // Within 32 bits both readings agree, folding and all.
    for (const char* utf8 : {"0", "", "110", "  42abc", "+5", "-7", "- 5", "1.9", "１２３", "－５", "　77", "1e+013",
                             "2147483647", "\t\r\n 90", "9９"}) {
        const Text t = gbk(utf8);
        EXPECT_EQ(parse_credit_text(t), static_cast<double>(to_integer(t))) << utf8;
    }
    // Beyond them the credits keep their value where to_integer wraps.
    EXPECT_EQ(parse_credit_text(Text("2147484600")), 2147484600.0);
    EXPECT_EQ(parse_credit_text(Text("4294967297")), 4294967297.0);
    EXPECT_EQ(parse_credit_text(Text("-2147483649")), -2147483649.0);
    // Absurd lengths saturate instead of overflowing.
    EXPECT_EQ(parse_credit_text(Text("99999999999999999999999")), 9223372036854775807.0);
}

} // namespace
} // namespace tav::game
