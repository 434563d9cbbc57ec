// The text parse of ToInteger, the text of doubles and text comparison on arbitrary bytes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz_check.hpp"
#include "core/conversions.hpp"
#include "core/number_format.hpp"
#include "core/value.hpp"

namespace {

// Below this magnitude "%.13g" writes a whole double as plain digits.
constexpr double kPlainDigitsLimit = 1e13;

void CheckToInteger(std::string_view input) {
    const tav::Text text(input);
    const std::int32_t n = tav::ToInteger(text);
    FUZZ_CHECK(tav::ToInteger(tav::Value::OfText(text)) == n);
    // A control byte can neither continue a number nor make a digit with a lead byte before it,
    // so the parse ends where the text ends and never looks past it.
    std::string extended(text.view());
    extended.push_back('\x01');
    FUZZ_CHECK(tav::ToInteger(tav::Text(extended)) == n);
    // The decimal text of the result parses back to it.
    const tav::Text decimal = tav::ToText(n);
    FUZZ_CHECK(tav::ToInteger(decimal) == n);
    FUZZ_CHECK(tav::ToText(tav::Value::OfInteger(n)) == decimal);
}

void CheckDoubleText(const std::uint8_t* data) {
    double d = 0;
    std::memcpy(&d, data, sizeof d);
    const tav::Text text = tav::ToText(d);
    FUZZ_CHECK(!text.empty() && text.size() < tav::kGeneralTextCapacity);
    FUZZ_CHECK(tav::ToText(tav::Value::OfDouble(d)) == text);
    // A whole number short enough for plain digits reads back as its truncation.
    if (std::isfinite(d) && std::trunc(d) == d && std::fabs(d) < kPlainDigitsLimit)
        FUZZ_CHECK(tav::ToInteger(text) == tav::TruncateToInteger(d));
}

void CheckCompare(std::string_view left, std::string_view right) {
    const tav::Text a(left), b(right);
    const int ab = tav::CompareText(a, b);
    FUZZ_CHECK(ab >= -1 && ab <= 1);
    FUZZ_CHECK(tav::CompareText(b, a) == -ab);
    FUZZ_CHECK((ab == 0) == (a == b));
    FUZZ_CHECK(tav::CompareText(a, a) == 0);
    // A text sorts before every longer text that starts with it.
    if (a.view().size() < b.view().size() && b.view().starts_with(a.view())) FUZZ_CHECK(ab == -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    CheckToInteger(input);
    if (size >= sizeof(double)) CheckDoubleText(data);
    CheckCompare(input.substr(0, size / 2), input.substr(size / 2));
    return 0;
}
