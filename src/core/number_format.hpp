#pragma once
// Locale-independent "%.Ng" text of a double, with exponents of at least three digits.

#include <array>
#include <cstddef>
#include <string_view>

namespace tav {

// Room for the longest general-form text of a double at up to 17 significant digits.
inline constexpr std::size_t kGeneralTextCapacity = 32;

// A formatted number held in place, so that formatting never allocates.
struct GeneralText {
    std::array<char, kGeneralTextCapacity> chars{};
    std::size_t length = 0;
    std::string_view view() const noexcept { return {chars.data(), length}; }
};

// `value` as "%.<significantDigits>g" writes it in the "C" locale ("." as the decimal point,
// whatever the process locale), with the exponent widened to three digits ("1e+013").
// Zero of either sign gives "0"; NaN gives "nan", infinities "inf" and "-inf".
// significantDigits is clamped to 1..17.
GeneralText format_general(double value, int significant_digits);

} // namespace tav
