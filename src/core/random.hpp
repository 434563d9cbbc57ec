#pragma once
// The inclusive range draw. Each thread has its own generator, starting at state 1 and never
// seeded, so a run that makes the same draws in the same order gets the same results.

#include <cstdint>

#include "core/value.hpp"

namespace tav {

// A number from the smaller to the larger bound, both included. A negative bound counts as 0;
// an Absent lower bound is 0, an Absent upper bound 2147483647; other kinds go through to_integer.
std::int32_t random_in_range(const Value& lower, const Value& upper);

// random_in_range with both bounds given. Equal bounds return at once without stepping the
// generator; otherwise exactly one raw value 0..32767 is drawn.
std::int32_t random_in_range(std::int32_t lower, std::int32_t upper);

// Puts the calling thread's generator back to its starting state 1. For tests and for tools that
// replay a run from program start only; the program itself never calls it.
void reset_random_for_this_thread();

} // namespace tav
