// The text parse of to_integer, the text of doubles and text comparison on arbitrary bytes.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/conversions.hpp"
#include "core/number_format.hpp"
#include "core/value.hpp"
#include "fuzz_check.hpp"

namespace {

// Below this magnitude "%.13g" writes a whole double as plain digits.
constexpr double kPlainDigitsLimit = 1e13;

void check_to_integer(std::string_view input) {
    const tav::Text text(input);
    const std::int32_t n = tav::to_integer(text);
    FUZZ_CHECK(tav::to_integer(tav::Value::of_text(text)) == n);
    // A control byte can neither continue a number nor make a digit with a lead byte before it,
    // so the parse ends where the text ends and never looks past it.
    std::string extended(text.view());
    extended.push_back('\x01');
    FUZZ_CHECK(tav::to_integer(tav::Text(extended)) == n);
    // The decimal text of the result parses back to it.
    const tav::Text decimal = tav::to_text(n);
    FUZZ_CHECK(tav::to_integer(decimal) == n);
    FUZZ_CHECK(tav::to_text(tav::Value::of_integer(n)) == decimal);
}

void check_double_text(const std::uint8_t* data) {
    double d = 0;
    std::memcpy(&d, data, sizeof d);
    const tav::Text text = tav::to_text(d);
    FUZZ_CHECK(!text.empty() && text.size() < tav::kGeneralTextCapacity);
    FUZZ_CHECK(tav::to_text(tav::Value::of_double(d)) == text);
    // A whole number short enough for plain digits reads back as its truncation.
    if (std::isfinite(d) && std::trunc(d) == d && std::fabs(d) < kPlainDigitsLimit)
        FUZZ_CHECK(tav::to_integer(text) == tav::truncate_to_integer(d));
}

void check_compare(std::string_view left, std::string_view right) {
    const tav::Text a(left), b(right);
    const int ab = tav::compare_text(a, b);
    FUZZ_CHECK(ab >= -1 && ab <= 1);
    FUZZ_CHECK(tav::compare_text(b, a) == -ab);
    FUZZ_CHECK((ab == 0) == (a == b));
    FUZZ_CHECK(tav::compare_text(a, a) == 0);
    // A text sorts before every longer text that starts with it.
    if (a.view().size() < b.view().size() && b.view().starts_with(a.view())) FUZZ_CHECK(ab == -1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    check_to_integer(input);
    if (size >= sizeof(double)) check_double_text(data);
    check_compare(input.substr(0, size / 2), input.substr(size / 2));
    return 0;
}
