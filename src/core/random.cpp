// The generator's step and the range draw: negative bounds taken as 0, ordered, defaulted when absent.
#include "core/random.hpp"

#include <algorithm>

#include "core/conversions.hpp"

namespace tav {
namespace {

constexpr std::uint32_t kMultiplier = 214013;
constexpr std::uint32_t kIncrement = 2531011;
constexpr std::int32_t kLargestUpper = 0x7FFFFFFF;
// Keeps span + 1 inside 32 bits when the range is 0 .. 0x7FFFFFFF.
constexpr std::uint32_t kMaxSpan = 0x7FFFFFFE;

} // namespace

std::uint32_t RandomSource::next_raw() {
    state_ = state_ * kMultiplier + kIncrement; // unsigned: wraps modulo 2^32
    return (state_ >> 16) & 0x7FFFu;
}

std::int32_t RandomSource::in_range(std::int32_t lower, std::int32_t upper) {
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

std::int32_t RandomSource::in_range(const Value& lower, const Value& upper) {
    return in_range(lower.absent() ? 0 : to_integer(lower), upper.absent() ? kLargestUpper : to_integer(upper));
}

} // namespace tav
