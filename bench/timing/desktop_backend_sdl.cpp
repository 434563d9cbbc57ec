// The timing benchmark on the SDL backend.
#include "desktop_backend.hpp"
#include "platform/sdl/sdl_backend.hpp"

std::unique_ptr<tav::platform::Backend> make_desktop_backend(std::string* error) {
    return tav::platform::create_sdl_backend(error);
}
