// The remembered GBK literals and the lengths of unconvertible characters; the conversions
// themselves are the system's (gbk_iconv.cpp on Linux, gbk_win32.cpp on Windows).
#include <map>
#include <mutex>

#include "core/gbk.hpp"
#include "core/gbk_bytes.hpp"

namespace tav {
namespace {

// Literals beyond this many are converted on every call rather than remembered.
constexpr std::size_t kMaxRememberedLiterals = 1024;

} // namespace

Text gbk(std::string_view utf8) {
    static std::mutex mutex;
    static std::map<std::string, Text, std::less<>> remembered;
    {
        std::lock_guard lock(mutex);
        if (const auto it = remembered.find(utf8); it != remembered.end()) {
            return it->second;
        }
    }
    Text text(utf8_to_gbk(utf8));
    std::lock_guard lock(mutex);
    if (remembered.size() < kMaxRememberedLiterals) {
        remembered.emplace(std::string(utf8), text);
    }
    return text;
}

std::size_t utf8_character_length(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    const std::size_t expected = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    std::size_t n = 1;
    while (n < expected && n < rest.size() && (static_cast<unsigned char>(rest[n]) & 0xC0) == 0x80) {
        ++n;
    }
    return n;
}

std::size_t gbk_character_length(std::string_view rest) {
    const auto lead = static_cast<unsigned char>(rest[0]);
    if (lead < 0x81 || lead == 0xFF || rest.size() < 2) {
        return 1;
    }
    const auto trail = static_cast<unsigned char>(rest[1]);
    return trail >= 0x40 && trail <= 0xFE && trail != 0x7F ? 2 : 1;
}

} // namespace tav
