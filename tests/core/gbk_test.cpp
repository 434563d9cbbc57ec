#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/conversions.hpp"
#include "core/gbk.hpp"

namespace tav {
namespace {

TEST(Gbk, ConvertsTheGameTexts) {
    const Text legend = gbk("100倍\r\n\r\n\r\n50倍\r\n\r\n\r\n10倍\r\n\r\n\r\n6倍\r\n\r\n\r\n5倍\r\n\r\n\r\n"
                            "4倍\r\n\r\n\r\n3倍\r\n\r\n\r\n2倍\r\n\r\n\r\n随机");
    EXPECT_EQ(legend.size(), 80u);
    const Text refusal = gbk("分数不够！请先上分！");
    EXPECT_EQ(refusal.view(), "\xB7\xD6\xCA\xFD\xB2\xBB\xB9\xBB\xA3\xA1\xC7\xEB\xCF\xC8\xC9\xCF\xB7\xD6\xA3\xA1");
    EXPECT_EQ(
        compare_text(refusal, Text("\xB7\xD6\xCA\xFD\xB2\xBB\xB9\xBB\xA3\xA1\xC7\xEB\xCF\xC8\xC9\xCF\xB7\xD6\xA3\xA1")),
        0);
    EXPECT_EQ(gbk("开始").view(), "\xBF\xAA\xCA\xBC");
    EXPECT_EQ(gbk("开始"), gbk("开始")); // remembered copy equals a fresh one
    EXPECT_EQ(gbk("").size(), 0u);
}

TEST(Gbk, RoundTripsThroughUtf8) {
    const std::vector<std::string> texts = {"", "abc 123", "上分", "标签9", "时钟1", "１２３－５", "€"};
    for (const std::string& utf8 : texts) {
        EXPECT_EQ(gbk_to_utf8(utf8_to_gbk(utf8)), utf8) << utf8;
    }
    // Longer than one conversion chunk.
    std::string long_text;
    for (int i = 0; i < 300; ++i) {
        long_text += "随机";
    }
    EXPECT_EQ(utf8_to_gbk(long_text).size(), 1200u);
    EXPECT_EQ(gbk_to_utf8(utf8_to_gbk(long_text)), long_text);
}

TEST(Gbk, ReplacesWhatCannotBeConverted) {
    struct Case {
        std::string in, expected;
        const char* what;
    };
    const std::vector<Case> to_gbk = {
        {"a\xFF"
         "b",
         "a?b", "byte that is never UTF-8"},
        {"a\x80"
         "b",
         "a?b", "stray continuation byte"},
        {"a\xF0\x9F\x98\x80"
         "b",
         "a?b", "character GBK cannot hold"},
        {"a\xE5\xBC", "a?", "cut character at the end"},
        {"\xE5"
         "b",
         "?b", "lead byte without its continuation"},
    };
    for (const Case& c : to_gbk) {
        EXPECT_EQ(utf8_to_gbk(c.in), c.expected) << c.what;
    }
    const std::vector<Case> to_utf8 = {
        {"a\x81", "a?", "lone lead byte at the end"},
        {"\xA2\xA0x", "?x", "pair with no character"},
        {"\xFF"
         "a",
         "?a", "byte that starts no character"},
    };
    for (const Case& c : to_utf8) {
        EXPECT_EQ(gbk_to_utf8(c.in), c.expected) << c.what;
    }
}

} // namespace
} // namespace tav
