// The program's own path on Windows: the module file name of the executable, in UTF-16.
#include <windows.h>

#include <string>

#include "core/program_path.hpp"

namespace tav {

std::filesystem::path program_path() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), DWORD(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return std::filesystem::path(buffer.substr(0, n));
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace tav
