#pragma once
// The desktop backend the timing benchmark runs on, chosen by the build.

#include <memory>
#include <string>

#include "platform/backend.hpp"

// The system's desktop backend, or nullptr with the reason in `error`.
std::unique_ptr<tav::platform::Backend> make_desktop_backend(std::string* error);
