// The program's own path on Linux: the kernel's link to the executable.
#include "core/program_path.hpp"

namespace tav {

std::filesystem::path program_path() {
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe;
}

} // namespace tav
