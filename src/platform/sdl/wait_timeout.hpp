#pragma once
// How long to block for an absolute deadline.

#include <cstdint>
#include <limits>

namespace tav::platform::sdl {

// Whole milliseconds to wait from `now_us` (microseconds) until `deadline_ms` (milliseconds of
// the same clock), rounded up so that the wait never ends before the deadline (an early wake
// would spin with zero waits); 0 when the deadline has passed, capped to the int range.
constexpr int wait_timeout_ms(std::uint64_t deadline_ms, std::uint64_t now_us) {
    const std::uint64_t deadline_us = deadline_ms * 1000;
    if (now_us >= deadline_us) return 0;
    const std::uint64_t ms = (deadline_us - now_us + 999) / 1000;
    constexpr auto kMax = static_cast<std::uint64_t>(std::numeric_limits<int>::max());
    return static_cast<int>(ms < kMax ? ms : kMax);
}

} // namespace tav::platform::sdl
