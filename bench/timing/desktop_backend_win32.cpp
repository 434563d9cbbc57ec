// The timing benchmark on the Win32 backend.
#include "desktop_backend.hpp"
#include "platform/win32/win32_backend.hpp"

std::unique_ptr<tav::platform::Backend> make_desktop_backend(std::string* error) {
    return tav::platform::create_win32_backend(error);
}
