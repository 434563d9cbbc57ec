// The credits text as a double: its digits summed in 64 bits, stopping at the largest value, never wrapping.
#include "game/credit_text.hpp"

#include <cstdint>
#include <limits>

#include "core/conversions.hpp"

namespace tav::game {

double parse_credit_text(const Text& text) {
    const DecimalDigits number = read_decimal_digits(text);
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
    std::int64_t value = 0;
    for (const char c : number.digits) {
        const int digit = c - '0';
        value = value > (kLimit - digit) / 10 ? kLimit : value * 10 + digit;
    }
    return static_cast<double>(number.negative ? -value : value);
}

} // namespace tav::game
