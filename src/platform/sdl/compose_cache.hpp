#pragma once
// A place for Xlib to keep the parsed Compose table between starts of the program.

#include <string>

namespace tav::platform::sdl {

// Xlib reads the locale's Compose file (about 6,000 lines) each time an input method is opened,
// as SDL does while it opens the display: two thirds of the instructions before our first frame.
// Xlib keeps the parsed table in a cache instead when it has a directory for one: the user's
// ~/.compose-cache when it exists, or the one XCOMPOSECACHE names. It takes a cache only from a
// directory and a file the user owns and nobody else may write, only while the cache is newer
// than the Compose file and under a day old, and never for root or a set-id program; the parse
// then writes a fresh one.
struct ComposeCacheFacts {
    const char* xcomposecache = nullptr;  // $XCOMPOSECACHE
    const char* xdg_cache_home = nullptr; // $XDG_CACHE_HOME
    const char* home = nullptr;           // $HOME
    bool user_cache_exists = false;       // $HOME/.compose-cache is a directory
    bool xlib_may_cache = false;          // real and effective ids agree and the user is not root
};

// The directory to point XCOMPOSECACHE at: <cache home>/tavrino/compose, where <cache home> is an
// absolute $XDG_CACHE_HOME, else $HOME/.cache. Empty when Xlib would not cache for this process,
// when the user has chosen already (XCOMPOSECACHE set, or ~/.compose-cache present), without
// an absolute home, or when the path holds '=' (which XCOMPOSECACHE reads as a separator).
std::string compose_cache_directory(const ComposeCacheFacts& facts);

// Makes `path` and its missing parents, each readable and writable by the owner only; true when
// `path` is a directory afterwards.
bool make_private_directory(const std::string& path);

// Reads the facts from this process, makes the directory and sets XCOMPOSECACHE to it. Call
// before the display is opened and before any other thread starts (it changes the environment);
// when anything fails, Xlib parses the Compose file as before.
void use_compose_cache();

} // namespace tav::platform::sdl
