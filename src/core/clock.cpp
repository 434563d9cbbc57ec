// The current DateTime from the given wall clock or the system's, and the second of a DateTime.
#include "core/clock.hpp"

namespace tav {

double current_date_time(const WallClock& clock) {
    return date_time_from_fields(clock ? clock() : system_local_time());
}

std::int32_t second_of(double date_time) { return fields_from_date_time(date_time).second; }

} // namespace tav
