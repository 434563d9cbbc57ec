#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "platform/sdl/compose_cache.hpp"

namespace tav::platform::sdl {
namespace {

ComposeCacheFacts user(const char* home) {
    ComposeCacheFacts f;
    f.home = home;
    f.xlib_may_cache = true;
    return f;
}

TEST(ComposeCache, OursOnlyWhereXlibWouldCacheAndTheUserHasNotChosen) {
    EXPECT_EQ(compose_cache_directory(user("/home/ann")), "/home/ann/.cache/tavrino/compose");
    EXPECT_EQ(compose_cache_directory(user("/home/ann/")), "/home/ann/.cache/tavrino/compose");

    auto xdg = user("/home/ann");
    xdg.xdg_cache_home = "/var/tmp/ann-cache/";
    EXPECT_EQ(compose_cache_directory(xdg), "/var/tmp/ann-cache/tavrino/compose");
    xdg.xdg_cache_home = "relative/cache"; // not absolute: ignored, as the XDG rules say
    EXPECT_EQ(compose_cache_directory(xdg), "/home/ann/.cache/tavrino/compose");

    // The user's own choice stands: XCOMPOSECACHE set, or a ~/.compose-cache of theirs.
    auto chosen = user("/home/ann");
    chosen.xcomposecache = "/somewhere";
    EXPECT_EQ(compose_cache_directory(chosen), "");
    chosen.xcomposecache = ""; // set but empty counts as unset
    EXPECT_EQ(compose_cache_directory(chosen), "/home/ann/.cache/tavrino/compose");
    chosen.user_cache_exists = true;
    EXPECT_EQ(compose_cache_directory(chosen), "");

    // Xlib keeps no cache for root or a set-id process; no home, no place; '=' would be misread.
    auto root = user("/root");
    root.xlib_may_cache = false;
    EXPECT_EQ(compose_cache_directory(root), "");
    EXPECT_EQ(compose_cache_directory(user(nullptr)), "");
    EXPECT_EQ(compose_cache_directory(user("home/ann")), "");
    EXPECT_EQ(compose_cache_directory(user("/home/a=b")), "");
}

TEST(ComposeCache, DirectoriesAreMadeForTheOwnerOnly) {
    namespace fs = std::filesystem;
    const fs::path top = fs::temp_directory_path() / ("tavrino-compose-" + std::to_string(::getpid()));
    fs::remove_all(top);
    const std::string path = (top / ".cache" / "tavrino" / "compose").string();
    ASSERT_TRUE(make_private_directory(path));
    // Xlib refuses a cache directory others may write to; every level made here is 0700.
    for (const fs::path& p : {top, top / ".cache", top / ".cache" / "tavrino", fs::path(path)}) {
        struct stat st {};
        ASSERT_EQ(::stat(p.c_str(), &st), 0) << p;
        EXPECT_EQ(st.st_mode & 0777, 0700u) << p;
    }
    EXPECT_TRUE(make_private_directory(path)); // already there
    // A file where a directory should be: no directory.
    const std::string blocked = (top / "file").string();
    {
        std::FILE* f = std::fopen(blocked.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fclose(f);
    }
    EXPECT_FALSE(make_private_directory(blocked + "/sub"));
    EXPECT_FALSE(make_private_directory(blocked));
    EXPECT_FALSE(make_private_directory(""));
    fs::remove_all(top);
}

} // namespace
} // namespace tav::platform::sdl
