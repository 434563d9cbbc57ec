// A helper program started alongside, handing its results back part by part.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include <unistd.h>

#include "platform/helper_process.hpp"

namespace tav::platform {
namespace {

constexpr const char* kModeVariable = "TAVRINO_TEST_HELPER";

// Writes `text` at `at` in the area and hands it over as the next part.
std::size_t put(HelperChannel& channel, std::size_t at, std::string_view text) {
    std::memcpy(channel.area().data() + at, text.data(), text.size());
    channel.hand_over(at + text.size());
    return at + text.size();
}

// This test program is its own helper: started with kModeVariable set, it plays the helper
// the mode names and ends before any test runs.
const bool kRanAsHelper = [] {
    const char* mode = std::getenv(kModeVariable);
    if (mode == nullptr) return false;
    auto channel = HelperChannel::inherited();
    if (!channel) ::_exit(3);
    const std::string_view m(mode);
    if (m == "parts") {
        const std::size_t at = put(*channel, 0, "pictures");
        usleep(20'000);
        put(*channel, at, "fonts");
    } else if (m == "backwards") {
        put(*channel, 0, "pictures");
        channel->hand_over(3); // an end before the last: refused
        channel->hand_over(channel->area().size() + 1);
    } else if (m == "abort") {
        std::abort();
    } else if (m == "silent") {
        usleep(1'000'000);
    }
    ::_exit(0);
}();

std::string_view text(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Runs this program as a helper in `mode`.
struct TestHelper {
    explicit TestHelper(const char* mode, std::chrono::milliseconds patience = HelperProcess::kPatience) {
        ::setenv(kModeVariable, mode, 1);
        process.emplace("/proc/self/exe", std::vector<std::string>{"--gtest_list_tests"}, 1 << 16, patience);
        ::unsetenv(kModeVariable);
    }
    std::optional<HelperProcess> process;
};

// Each part comes back with the bytes the helper wrote for it, in order, while it goes on with
// the next; a part never handed over is empty once the helper has ended, and asking again gives
// the same bytes. A helper's own refusals (an end going backwards or past the area) hand over
// nothing.
TEST(HelperProcess, HandsBackEachPartAsTheHelperFinishesIt) {
    TestHelper parts("parts");
    ASSERT_TRUE(parts.process->started());
    EXPECT_EQ(text(parts.process->part(0)), "pictures");
    EXPECT_EQ(text(parts.process->part(1)), "fonts");
    EXPECT_TRUE(parts.process->part(2).empty());
    EXPECT_EQ(text(parts.process->part(0)), "pictures");

    TestHelper backwards("backwards");
    EXPECT_EQ(text(backwards.process->part(0)), "pictures");
    EXPECT_TRUE(backwards.process->part(1).empty());
}

// A helper that dies or keeps silent past the patience leaves empty parts, and nobody waits
// for it; a program that is missing starts no helper; and this process, not started as a
// helper, has no channel.
TEST(HelperProcess, AHelperThatFailsLeavesEmptyParts) {
    TestHelper died("abort");
    EXPECT_TRUE(died.process->part(0).empty());

    TestHelper silent("silent", std::chrono::milliseconds(50));
    EXPECT_TRUE(silent.process->part(0).empty());
    silent.process->stop();

    HelperProcess missing("/nonexistent/tavrino-helper", {}, 4096);
    EXPECT_FALSE(missing.started());
    EXPECT_TRUE(missing.part(0).empty());

    EXPECT_FALSE(kRanAsHelper);
    EXPECT_FALSE(HelperChannel::inherited().has_value());
}

} // namespace
} // namespace tav::platform
