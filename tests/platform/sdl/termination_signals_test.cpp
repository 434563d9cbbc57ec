#include <gtest/gtest.h>

#include <poll.h>

#include <atomic>
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
    struct sigaction saved_term {
    }, saved_int{};
    ASSERT_EQ(sigaction(SIGTERM, &counting, &saved_term), 0);
    ASSERT_EQ(sigaction(SIGINT, &counting, &saved_int), 0);

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
        EXPECT_EQ(g_previous_handler_calls.load(), 0);
    }
    std::raise(SIGTERM);
    EXPECT_EQ(g_previous_handler_calls.load(), 1);

    sigaction(SIGTERM, &saved_term, nullptr);
    sigaction(SIGINT, &saved_int, nullptr);
}

} // namespace
} // namespace tav::platform::sdl
