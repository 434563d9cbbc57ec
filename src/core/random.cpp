#include "core/random.hpp"

#include <algorithm>

#include "core/conversions.hpp"

namespace tav {
namespace {

constexpr std::uint32_t kInitialState = 1;
constexpr std::uint32_t kMultiplier = 214013;
constexpr std::uint32_t kIncrement = 2531011;
constexpr std::int32_t kLargestUpper = 0x7FFFFFFF;
// Keeps span + 1 inside 32 bits when the range is 0 .. 0x7FFFFFFF.
constexpr std::uint32_t kMaxSpan = 0x7FFFFFFE;

thread_local std::uint32_t t_state = kInitialState;

// Steps the calling thread's generator and returns the raw value 0..32767.
std::uint32_t next_raw() {
    t_state = t_state * kMultiplier + kIncrement; // unsigned: wraps modulo 2^32
    return (t_state >> 16) & 0x7FFFu;
}

} // namespace

std::int32_t random_in_range(std::int32_t lower, std::int32_t upper) {
    const std::int32_t a = std::max(lower, 0);
    const std::int32_t b = std::max(upper, 0);
    const std::int32_t lo = std::min(a, b);
    const std::int32_t hi = std::max(a, b);
    if (lo == hi) {
        return lo;
    }
    const std::uint32_t span = std::min(static_cast<std::uint32_t>(hi - lo), kMaxSpan);
    return lo + static_cast<std::int32_t>(next_raw() % (span + 1));
}

std::int32_t random_in_range(const Value& lower, const Value& upper) {
    return random_in_range(lower.absent() ? 0 : to_integer(lower), upper.absent() ? kLargestUpper : to_integer(upper));
}

void reset_random_for_this_thread() { t_state = kInitialState; }

} // namespace tav
