// The Windows build's GBK conversion (code page 936) against the Linux build's, over every one-
// and two-byte GBK sequence and every character up to U+FFFF.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "core/gbk.hpp"
#include "gbk_cases.hpp"

namespace tav::gbk_cases {
extern const std::string_view kLinuxResults;
}

namespace tav {
namespace {

std::string hex(std::string_view bytes) {
    std::string out;
    char two[4];
    for (const char c : bytes) {
        std::snprintf(two, sizeof two, "%02X ", static_cast<unsigned char>(c));
        out += two;
    }
    return out;
}

// Takes the next Linux result off the table.
std::string_view next_result(std::string_view& table) {
    if (table.empty()) return {};
    const auto n = static_cast<unsigned char>(table[0]);
    const std::string_view result = table.substr(1, n);
    table.remove_prefix(1 + std::min<std::size_t>(n, table.size() - 1));
    return result;
}

TEST(GbkCodePage936, EveryGameSequenceConvertsAsOnLinux) {
    std::string_view table = gbk_cases::kLinuxResults;
    int checked = 0, differ = 0;
    const auto check = [&](const std::string& in, const std::string& ours, const char* direction) {
        const std::string_view linux_result = next_result(table);
        ++checked;
        if (ours == linux_result) return;
        if (++differ <= 20)
            ADD_FAILURE() << direction << " of " << hex(in) << ": here " << hex(ours) << ", Linux "
                          << hex(linux_result);
    };
    gbk_cases::for_each_gbk([&](const std::string& in) { check(in, gbk_to_utf8(in), "gbk_to_utf8"); });
    gbk_cases::for_each_utf8([&](const std::string& in) { check(in, utf8_to_gbk(in), "utf8_to_gbk"); });
    EXPECT_TRUE(table.empty()) << "the table holds more results than there are cases";
    EXPECT_EQ(differ, 0) << "of " << checked << " sequences";
    EXPECT_GT(checked, 32000 + 65000);
}

} // namespace
} // namespace tav
