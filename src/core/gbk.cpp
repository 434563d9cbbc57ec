// The remembered GBK literals; the conversions themselves are the system's (gbk_iconv.cpp on
// Linux, gbk_win32.cpp on Windows).
#include <map>
#include <mutex>

#include "core/gbk.hpp"

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

} // namespace tav
