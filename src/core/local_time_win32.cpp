// The system's local time from Windows (the time zone and daylight rules of the control panel).
#include <windows.h>

#include "core/clock.hpp"

namespace tav {

LocalTime system_local_time() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return LocalTime{now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

} // namespace tav
