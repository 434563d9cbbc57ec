#include <gtest/gtest.h>

#include <poll.h>

#include <unistd.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "platform/sdl/termination_signals.hpp"
#include "platform/sdl/wake_event.hpp"

namespace tav::platform::sdl {
namespace {

bool readable(int fd, int timeout_ms) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeout_ms) == 1;
}

TEST(WakeEvent, AnotherThreadWakesThePollUntilDrained) {
    WakeEvent wake;
    ASSERT_GE(wake.fd(), 0);
    EXPECT_FALSE(readable(wake.fd(), 0));
    EXPECT_FALSE(wake.drain());
    std::thread other([&] { wake.signal(); });
    EXPECT_TRUE(readable(wake.fd(), 5000));
    other.join();
    wake.signal(); // wakes merge
    EXPECT_TRUE(wake.drain());
    EXPECT_FALSE(readable(wake.fd(), 0));
    EXPECT_FALSE(wake.drain());
}

std::atomic<int> g_previous_handler_calls{0};
extern "C" void counting_handler(int) { g_previous_handler_calls.fetch_add(1); }

TEST(TerminationSignals, TurnIntoAFlagAndAWakeThenGiveTheHandlersBack) {
    struct sigaction counting {};
    counting.sa_handler = counting_handler;
    sigemptyset(&counting.sa_mask);
    struct sigaction ignoring {};
    ignoring.sa_handler = SIG_IGN;
    struct sigaction saved_term {
    }, saved_int{}, saved_hup{};
    ASSERT_EQ(sigaction(SIGTERM, &counting, &saved_term), 0);
    ASSERT_EQ(sigaction(SIGINT, &counting, &saved_int), 0);
    ASSERT_EQ(sigaction(SIGHUP, &counting, &saved_hup), 0);

    {
        WakeEvent wake;
        TerminationSignals signals(wake);
        ASSERT_TRUE(signals.active());
        WakeEvent other_wake;
        TerminationSignals second(other_wake); // one holder at a time
        EXPECT_FALSE(second.active());
        EXPECT_FALSE(signals.take());

        std::raise(SIGTERM);
        EXPECT_TRUE(readable(wake.fd(), 0));
        EXPECT_TRUE(signals.take());
        EXPECT_FALSE(signals.take());
        EXPECT_FALSE(second.take());
        EXPECT_TRUE(wake.drain());

        std::raise(SIGINT);
        EXPECT_TRUE(signals.take());
        std::raise(SIGHUP);
        EXPECT_TRUE(signals.take());
        EXPECT_EQ(g_previous_handler_calls.load(), 0);
    }
    std::raise(SIGTERM);
    std::raise(SIGHUP);
    EXPECT_EQ(g_previous_handler_calls.load(), 2);

    // A signal ignored before (nohup) stays ignored, and comes back as it was.
    ASSERT_EQ(sigaction(SIGHUP, &ignoring, nullptr), 0);
    {
        WakeEvent wake;
        TerminationSignals signals(wake);
        std::raise(SIGHUP);
        EXPECT_FALSE(signals.take());
        EXPECT_FALSE(readable(wake.fd(), 0));
    }
    struct sigaction after {};
    sigaction(SIGHUP, nullptr, &after);
    EXPECT_EQ(after.sa_handler, SIG_IGN);

    sigaction(SIGTERM, &saved_term, nullptr);
    sigaction(SIGINT, &saved_int, nullptr);
    sigaction(SIGHUP, &saved_hup, nullptr);
}

using std::chrono::milliseconds;
constexpr milliseconds kGrace{100};

void say_last_words() {
    constexpr char kWords[] = "last words\n";
    [[maybe_unused]] const ssize_t n = ::write(2, kWords, sizeof kWords - 1);
}

// The process ends with the code only when the watchdog is armed and not stood down in time;
// each ending runs in a child process of its own.
TEST(ExitWatchdogDeathTest, EndsTheProcessOnlyWhenArmedAndLate) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const auto t0 = std::chrono::steady_clock::now();
    { const ExitWatchdog in_time(ExitWatchdog::Arming::Now, milliseconds(5000), 3, say_last_words); }
    EXPECT_LT(std::chrono::steady_clock::now() - t0, milliseconds(1000)) << "standing down waited for the grace";

    EXPECT_EXIT(
        {
            const ExitWatchdog late(ExitWatchdog::Arming::Now, kGrace, 3, say_last_words);
            std::this_thread::sleep_for(kGrace * 50);
        },
        ::testing::ExitedWithCode(3), "last words");

    // Armed by a request only: none came, so outliving the grace ends nothing.
    {
        WakeEvent wake;
        TerminationSignals signals(wake);
        const ExitWatchdog unarmed(ExitWatchdog::Arming::OnTerminationRequest, kGrace, 4, say_last_words);
        std::this_thread::sleep_for(kGrace * 3);
    }

    // A request arms it even when nobody takes the request (the UI thread stuck elsewhere).
    EXPECT_EXIT(
        {
            WakeEvent wake;
            TerminationSignals signals(wake);
            const ExitWatchdog watchdog(ExitWatchdog::Arming::OnTerminationRequest, kGrace, 4, say_last_words);
            std::raise(SIGTERM);
            std::this_thread::sleep_for(kGrace * 50);
        },
        ::testing::ExitedWithCode(4), "last words");
}

} // namespace
} // namespace tav::platform::sdl
