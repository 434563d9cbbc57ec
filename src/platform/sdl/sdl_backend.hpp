#pragma once
// The desktop backend: one SDL window per top-level window of our window system.

#include <memory>
#include <string>

#include "platform/backend.hpp"

namespace tav::platform {

// Opens SDL's video subsystem on the desktop display and returns the backend, or nullptr when
// no display can be opened; `error` (if given) then receives SDL's reason. Nothing is printed:
// the caller reports "tavrino: cannot open a display: <reason>" and exits non-zero. SIGTERM and
// SIGINT become a close request of the first top-level window while the backend lives.
// With TAVRINO_TRACE_FIRST_FRAME=1 in the environment, the first present prints
// "tavrino: first frame at <seconds>" (CLOCK_MONOTONIC) on stderr, for start-up measurements.
std::unique_ptr<Backend> CreateSdlBackend(std::string* error = nullptr);

} // namespace tav::platform
