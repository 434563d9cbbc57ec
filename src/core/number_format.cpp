// "%.Ng" text by to_chars: whole numbers printed as integers, exponents padded out to three digits.
#include "core/number_format.hpp"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace tav {
namespace {

constexpr int kMinDigits = 1;
constexpr int kMaxDigits = 17;
constexpr std::size_t kExponentDigits = 3;

GeneralText literal(std::string_view s) {
    GeneralText t;
    std::memcpy(t.chars.data(), s.data(), s.size());
    t.length = s.size();
    return t;
}

// 10^n for 0 <= n <= 17, each exact in a double.
constexpr std::array<double, kMaxDigits + 1> kPowersOfTen = [] {
    std::array<double, kMaxDigits + 1> p{};
    double v = 1.0;
    for (double& x : p) {
        x = v;
        v *= 10.0;
    }
    return p;
}();

} // namespace

GeneralText format_general(double value, int significant_digits) {
    const int digits = significant_digits < kMinDigits
                           ? kMinDigits
                           : (significant_digits > kMaxDigits ? kMaxDigits : significant_digits);
    if (std::isnan(value)) {
        return literal("nan");
    }
    if (std::isinf(value)) {
        return literal(value < 0 ? "-inf" : "inf");
    }
    if (value == 0.0) {
        return literal("0"); // -0.0 too: a display never shows "-0"
    }
    GeneralText t;
    char* const first = t.chars.data();
    char* const last = first + t.chars.size();
    // A whole number with no more digits than the precision prints as itself: the common case.
    if (std::fabs(value) < kPowersOfTen[static_cast<std::size_t>(digits)] && value == std::trunc(value)) {
        t.length = static_cast<std::size_t>(std::to_chars(first, last, static_cast<std::int64_t>(value)).ptr - first);
        return t;
    }
    const auto result = std::to_chars(first, last, value, std::chars_format::general, digits);
    t.length = static_cast<std::size_t>(result.ptr - first);
    // to_chars writes at least two exponent digits; widen to three.
    char* const e = static_cast<char*>(std::memchr(first, 'e', t.length));
    if (e != nullptr) {
        char* const exp_digits = e + 2; // after "e+" or "e-"
        const std::size_t have = static_cast<std::size_t>(result.ptr - exp_digits);
        if (have < kExponentDigits) {
            const std::size_t pad = kExponentDigits - have;
            std::memmove(exp_digits + pad, exp_digits, have);
            std::memset(exp_digits, '0', pad);
            t.length += pad;
        }
    }
    return t;
}

} // namespace tav
