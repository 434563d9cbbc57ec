#pragma once
// Reading the credits text without the 32-bit wrap of to_integer.

#include "core/value.hpp"

namespace tav::game {

// The number in a text by the same rules as to_integer (full-width forms folded, leading blanks
// skipped, one sign, digits up to the first non-digit) but accumulated in 64 bits, saturating at
// the 64-bit limits instead of wrapping. A balance no top-up or win can reach still reads sanely.
double parse_credit_text(const Text& text);

} // namespace tav::game
