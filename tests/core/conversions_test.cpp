#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/conversions.hpp"
#include "core/gbk.hpp"

namespace tav {
namespace {

constexpr std::int32_t kMin32 = std::numeric_limits<std::int32_t>::min();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ToInteger, ParsesTextWithBlanksSignAndWrapAround) {
    struct Case {
        std::string text;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {"", 0},
        {"  42abc", 42},
        {"\t\n\v\f\r 9", 9},
        {"+5", 5},
        {"-7", -7},
        {"- 5", 0},
        {"--5", 0},
        {"+-5", 0},
        {"1.9", 1},
        {"1e+013", 1},
        {"abc", 0},
        {"020", 20},
        {"2147483647", 2147483647},
        {"2147483648", kMin32},
        {"-2147483648", kMin32},
        {"4294967297", 1},
        {"100000000000000000000", 1661992960}, // 10^20 mod 2^32
        {"12345678901234567890", static_cast<std::int32_t>(3944680146u)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(to_integer(Text(c.text)), c.expected) << '"' << c.text << '"';
        EXPECT_EQ(to_integer(Value::of_text(Text(c.text))), c.expected) << '"' << c.text << '"';
    }
    // A very long digit string neither overflows nor reads past its end: 10^n - 1 mod 2^32.
    std::uint32_t power = 1;
    for (int i = 0; i < 10000; ++i) {
        power *= 10u;
    }
    EXPECT_EQ(to_integer(Text(std::string(10000, '9'))), static_cast<std::int32_t>(power - 1u));
    EXPECT_EQ(to_integer(Text()), 0);
    EXPECT_EQ(to_integer(Text(std::string_view("12\0"
                                               "34",
                                               5))),
              12);
}

TEST(ToInteger, FoldsFullWidthGbkForms) {
    struct Case {
        std::string_view gbk;
        std::int32_t expected;
        const char* what;
    };
    const std::vector<Case> cases = {
        {"\xA3\xB1\xA3\xB2\xA3\xB3", 123, "full-width digits"},
        {"\xA3\xAD\xA3\xB5", -5, "full-width minus"},
        {"\xA3\xAB\xA3\xB5", 5, "full-width plus"},
        {"\xA1\xA1\xA1\xA1"
         "42",
         42, "ideographic spaces skipped"},
        {"\xA1\xA1-\xA3\xB4"
         "2",
         -42, "mixed widths"},
        {"5\xA3\xB0", 50, "full-width digit after an ASCII one"},
        {"12\xB1", 12, "lone lead byte at the end dropped"},
        {"\xB1", 0, "only a lone lead byte"},
        {"7\xD5\xE6"
         "8",
         7, "other pair ends the digits"},
        {"\xB0\xA1"
         "5",
         0, "other pair before the digits"},
        {"\xA3\xFF"
         "5",
         0, "trail 0xFF is not folded"},
        {"\xA3\xA0"
         "5",
         0, "trail 0xA0 is not folded"},
        {"\xA1\xAB"
         "5",
         0, "full-width tilde folds to ~"},
        {"\xA1\xEE"
         "5",
         0, "folds to *"},
        {"\xA3\xB1\xA3", 1, "lead of a cut pair at the end"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(to_integer(Text(c.gbk)), c.expected) << c.what;
    }
    EXPECT_EQ(to_integer(gbk("１２３")), 123);
    EXPECT_EQ(to_integer(gbk("－５")), -5);
    EXPECT_EQ(to_integer(gbk("　　８０")), 80);
}

TEST(ToInteger, ConvertsEveryKind) {
    const std::uint8_t words[] = {1, 0, 0, 0};
    struct Case {
        Value value;
        std::int32_t expected;
        const char* what;
    };
    const std::vector<Case> cases = {
        {Value::of_byte(200), 200, "Byte zero-extended"},
        {Value::of_short(-5), -5, "Short sign-extended"},
        {Value::of_integer(kMin32), kMin32, "Integer"},
        {Value::of_bool_bits(7), 7, "Bool payload"},
        {Value::of_bool(false), 0, "Bool false"},
        {Value::of_code_ref(0xFFFFFFFFu), -1, "CodeRef"},
        {Value::of_long(0x100000005LL), 5, "Long low word"},
        {Value::of_long(-1), -1, "Long -1"},
        {Value::of_float(2.9f), 2, "Float truncated"},
        {Value::of_double(-2.9), -2, "Double truncated"},
        {Value::of_double(4294967301.0), 5, "Double low word"},
        {Value::of_text(Text("  -12x")), -12, "Text"},
        {Value::of_date_time(45000.75), 0, "DateTime"},
        {Value::of_bytes(words), 0, "Bytes"},
        {Value::of_array(ValueKind::Integer, words), 0, "array"},
        {Value(), 0, "Absent"},
        {Value::of_raw(0x12345678u, 5), 0, "unknown kind"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(to_integer(c.value), c.expected) << c.what;
    }
}

TEST(TruncateToInteger, TruncatesTowardZeroToTheLowWord) {
    struct Case {
        double value;
        std::int32_t expected;
    };
    const std::vector<Case> cases = {
        {2.9, 2},
        {-2.9, -2},
        {4999.999, 4999},
        {-0.0, 0},
        {0.999999, 0},
        {2147483647.9, 2147483647},
        {2147483648.0, kMin32},
        {-2147483649.0, 2147483647},
        {4294967296.0 + 5.0, 5},
        {9223372036854774784.0, -1024}, // largest double below 2^63: 0x7FFFFFFFFFFFFC00
        {-9223372036854775808.0, 0},    // exactly -2^63
        {9223372036854775808.0, 0},     // 2^63 is out of range
        {1e300, 0},
        {-1e300, 0},
        {kInf, 0},
        {-kInf, 0},
        {kNaN, 0},
        {-kNaN, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(truncate_to_integer(c.value), c.expected) << c.value;
    }
}

TEST(ToText, WritesDoublesAsPercentPoint13g) {
    struct Case {
        double value;
        std::string_view expected;
    };
    const std::vector<Case> cases = {
        {15.0, "15"},
        {110.0, "110"},
        {0.0, "0"},
        {-10.0, "-10"},
        {1000080.0, "1000080"},
        {0.5, "0.5"},
        {-0.25, "-0.25"},
        {0.0001, "0.0001"},
        {0.00001, "1e-005"},
        {0.000015, "1.5e-005"},
        {1e13, "1e+013"},
        {-1e13, "-1e+013"},
        {9999999999999.0, "9999999999999"},
        {9999999999999.5, "1e+013"},
        {123456789012.5, "123456789012.5"},
        {1234567890123.4, "1234567890123"},
        {1.0 / 3.0, "0.3333333333333"},
        {2.0 / 3.0, "0.6666666666667"},
        {0.1 + 0.2, "0.3"},
        {-1234567890123456789.0, "-1.234567890123e+018"},
        {1e100, "1e+100"},
        {1e300, "1e+300"},
        {1e-300, "1e-300"},
        {5e-324, "4.940656458412e-324"},
        {-0.0, "0"},
        {kNaN, "nan"},
        {-kNaN, "nan"},
        {kInf, "inf"},
        {-kInf, "-inf"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(to_text(c.value).view(), c.expected) << c.expected;
        EXPECT_EQ(to_text(Value::of_double(c.value)).view(), c.expected) << c.expected;
    }
}

TEST(ToText, IgnoresTheProcessNumericLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            comma = name;
            break;
        }
    }
    if (comma == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const std::string half = to_text(0.5).c_str();
    const std::string small = to_text(0.000015).c_str();
    const std::string float_text = to_text(Value::of_float(2.5f)).c_str();
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(half, "0.5") << comma;
    EXPECT_EQ(small, "1.5e-005") << comma;
    EXPECT_EQ(float_text, "2.5") << comma;
}

TEST(ToText, ConvertsEveryKind) {
    const std::uint8_t abzc[] = {'a', 'b', 0, 'c'};
    const std::uint8_t no_zero[] = {'x', 'y', 'z'};
    const std::uint8_t integers[] = {'A', 'B', 0, 0, 'C', 0, 0, 0};
    const std::uint8_t shorts[] = {'h', 'i', '!', '?'};
    struct Case {
        Value value;
        std::string expected;
        const char* what;
    };
    const std::vector<Case> cases = {
        {Value::of_byte(255), "255", "Byte"},
        {Value::of_short(-32768), "-32768", "Short"},
        {Value::of_integer(-3), "-3", "Integer"},
        {Value::of_integer(kMin32), "-2147483648", "Integer min"},
        {Value::of_long(std::numeric_limits<std::int64_t>::min()), "-9223372036854775808", "Long"},
        {Value::of_float(0.1f), "0.1", "Float"},
        {Value::of_float(1234567.0f), "1.23457e+006", "Float exponent"},
        {Value::of_float(123456.0f), "123456", "Float whole"},
        {Value::of_bool(true), "\xD5\xE6", "Bool true"},
        {Value::of_bool_bits(2), "\xD5\xE6", "Bool nonzero"},
        {Value::of_bool(false), "\xBC\xD9", "Bool false"},
        {Value::of_text(Text("abc")), "abc", "Text"},
        {Value::of_text(Text()), "", "missing Text"},
        {Value::of_bytes(abzc), "ab", "Bytes stop at zero"},
        {Value::of_bytes(no_zero), "xyz", "Bytes without zero"},
        {Value::of_array(ValueKind::Integer, integers), "AB", "Integer array as bytes"},
        {Value::of_array(ValueKind::Short, shorts), "hi!?", "Short array as bytes"},
        {Value::of_array(ValueKind::Text, no_zero), "", "array of Text"},
        {Value::of_code_ref(5), "", "CodeRef"},
        {Value(), "", "Absent"},
        {Value::of_raw(0x12345678u, 5), "", "unknown kind"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(to_text(c.value).view(), c.expected) << c.what;
    }
    EXPECT_EQ(to_text(std::int32_t{-3}).view(), "-3");
    EXPECT_EQ(to_text(Value::of_bool(true)), gbk("真"));
    EXPECT_EQ(to_text(Value::of_bool(false)), gbk("假"));
}

TEST(ToText, WritesDateTimesDownToTheLastNonZeroField) {
    const double day = 45000.0; // 2023-03-15
    struct Case {
        double value;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {day, "2023年3月15日"},
        {day + 12.0 / 24, "2023年3月15日12时"},
        {day + (12 * 3600 + 34 * 60) / 86400.0, "2023年3月15日12时34分"},
        {day + (12 * 3600 + 5) / 86400.0, "2023年3月15日12时0分5秒"},
        {day + 5 / 86400.0, "2023年3月15日0时0分5秒"},
        {day + (34 * 60) / 86400.0, "2023年3月15日0时34分"},
        {day + (86399.7) / 86400.0, "2023年3月16日"},
        {0.0, "1899年12月30日"},
        {-1.25, "1899年12月29日6时"},
        {1e10, "9999年12月31日"},
        {-1e10, "100年1月1日"},
        {kNaN, "1899年12月30日"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(to_text(Value::of_date_time(c.value)), gbk(c.expected)) << c.expected;
    }
}

TEST(CompareText, ComparesUnsignedBytesExactly) {
    struct Case {
        Text a, b;
        int expected;
    };
    const std::vector<Case> cases = {
        {"20", "20", 0},
        {"020", "20", -1},
        {"20", "020", 1},
        {Text(), "", 0},
        {Text(), "a", -1},
        {"a", "ab", -1},
        {"ab", "a", 1},
        {"A", "a", -1},
        {"\xB0\xA1", "a", 1},
        {"a", "\xB0\xA1", -1},
        {"\xA3\xB2\xA3\xB0", "20", 1},
        {" 20", "20", -1},
        {Text(std::string_view("x\0y", 3)), "x", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(compare_text(c.a, c.b), c.expected) << c.a.c_str() << " vs " << c.b.c_str();
    }
    EXPECT_EQ(compare_text(gbk("分数不够！请先上分！"), gbk("分数不够！请先上分！")), 0);
}

} // namespace
} // namespace tav
