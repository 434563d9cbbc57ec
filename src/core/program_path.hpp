#pragma once
// Where the running program's own file is.

#include <filesystem>

namespace tav {

// The full path of the running program's executable; empty when the system cannot tell.
std::filesystem::path program_path();

} // namespace tav
