#pragma once
// The inclusive range draw. A generator starts at state 1 and is never seeded, so a run that
// makes the same draws in the same order gets the same results. The program's generator belongs
// to its window thread (it is one of the runtime's services); it takes no lock.

#include <cstdint>

#include "core/value.hpp"

namespace tav {

// A linear congruential generator with the range draw on top.
class RandomSource {
public:
    // A number from the smaller to the larger bound, both included. A negative bound counts as
    // 0; an Absent lower bound is 0, an Absent upper bound 2147483647; other kinds go through
    // to_integer.
    std::int32_t in_range(const Value& lower, const Value& upper);
    // in_range with both bounds given. Equal bounds return at once without stepping the
    // generator; otherwise exactly one raw value 0..32767 is drawn.
    std::int32_t in_range(std::int32_t lower, std::int32_t upper);

private:
    // Steps the generator and returns the raw value 0..32767.
    std::uint32_t next_raw();

    std::uint32_t state_ = 1;
};

} // namespace tav
