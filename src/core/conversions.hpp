#pragma once
// Conversions between values, texts and numbers. All are pure functions of their arguments and
// never fail: kinds a conversion does not cover give 0 or the empty text.

#include <cstdint>
#include <string>

#include "core/value.hpp"

namespace tav {

// The Integer of a value: Byte zero-extended, Short sign-extended, Integer/Bool/CodeRef as they
// are, Long's low 32 bits, Float/Double through truncate_to_integer, Text through the text parse;
// DateTime, Bytes, arrays, Absent and unknown kinds give 0.
std::int32_t to_integer(const Value& value);

// The text parse: full-width GBK forms fold to ASCII, leading white space is skipped, one sign is
// taken, then decimal digits wrapping modulo 2^32; anything after the digits is ignored.
std::int32_t to_integer(const Text& text);

// The number a text holds as the text parse reads it, before any arithmetic: full-width forms
// folded, leading white space skipped, one sign taken, then the run of decimal digits.
struct DecimalDigits {
    bool negative = false;
    std::string digits; // ASCII '0'..'9', possibly empty
};
// For readers that need another range than to_integer's 32-bit wrap (the game's 64-bit credits).
DecimalDigits read_decimal_digits(const Text& text);

// The text of a value: decimals for the integer kinds, "%.13g" for Double ("%.6g" for Float),
// "真"/"假" for Bool, the date text for DateTime, a copy of a Text, Bytes and numeric arrays read
// as bytes up to the first zero; every other kind gives the empty text.
Text to_text(const Value& value);

// "%.13g" of a double, locale-independent, exponents widened to three digits ("1e+013").
// -0.0 gives "0"; NaN gives "nan", infinities "inf" and "-inf".
Text to_text(double value);

// Signed decimal of an integer.
Text to_text(std::int32_t value);

// The double truncated toward zero to a 64-bit integer, then its low 32 bits. NaN and values
// outside the 64-bit range give 0.
std::int32_t truncate_to_integer(double value);

// Byte-wise comparison as unsigned bytes: -1 when a sorts first, 0 when equal, 1 when b does.
// A missing text compares as the empty text.
int compare_text(const Text& a, const Text& b);

} // namespace tav
