// The Compose cache directory: chosen from the environment, made private, given to Xlib.
#include "platform/sdl/compose_cache.hpp"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace tav::platform::sdl {
namespace {

constexpr const char* kUserCacheDirectory = "/.compose-cache";
constexpr const char* kOurSubdirectory = "/tavrino/compose";
constexpr mode_t kPrivateMode = 0700;

bool is_absolute(const char* path) { return path != nullptr && path[0] == '/'; }

bool is_directory(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

std::string compose_cache_directory(const ComposeCacheFacts& facts) {
    if (!facts.xlib_may_cache || facts.user_cache_exists) return {};
    if (facts.xcomposecache != nullptr && facts.xcomposecache[0] != '\0') return {};
    const bool xdg = is_absolute(facts.xdg_cache_home);
    if (!xdg && !is_absolute(facts.home)) return {};
    std::string base = xdg ? facts.xdg_cache_home : facts.home;
    while (!base.empty() && base.back() == '/') base.pop_back();
    std::string path = base + (xdg ? "" : "/.cache") + kOurSubdirectory;
    if (path.find('=') != std::string::npos) return {};
    return path;
}

bool make_private_directory(const std::string& path) {
    if (path.empty()) return false;
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string parent = path.substr(0, slash);
        if (::mkdir(parent.c_str(), kPrivateMode) != 0 && errno != EEXIST) return false;
    }
    if (::mkdir(path.c_str(), kPrivateMode) != 0 && errno != EEXIST) return false;
    return is_directory(path);
}

void use_compose_cache() {
    ComposeCacheFacts facts;
    facts.xcomposecache = std::getenv("XCOMPOSECACHE");
    facts.xdg_cache_home = std::getenv("XDG_CACHE_HOME");
    facts.home = std::getenv("HOME");
    facts.user_cache_exists = is_absolute(facts.home) && is_directory(std::string(facts.home) + kUserCacheDirectory);
    facts.xlib_may_cache = ::getuid() == ::geteuid() && ::getgid() == ::getegid() && ::geteuid() != 0;
    const std::string path = compose_cache_directory(facts);
    if (path.empty() || !make_private_directory(path)) return;
    ::setenv("XCOMPOSECACHE", path.c_str(), 1);
}

} // namespace tav::platform::sdl
