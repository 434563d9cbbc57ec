#pragma once
// The FreeType library handle, owned and shared by every font made with it (gfx internal).

#include <memory>
#include <mutex>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace tav {

class FreeTypeLibrary {
public:
    // Starts FreeType; nullptr if it cannot start.
    static std::shared_ptr<FreeTypeLibrary> Create() {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) return nullptr;
        return std::shared_ptr<FreeTypeLibrary>(new FreeTypeLibrary(lib));
    }
    ~FreeTypeLibrary() { FT_Done_FreeType(lib_); }
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    FT_Library get() const { return lib_; }
    // Held while a face is opened or closed: faces may be opened on a helper thread while
    // the window's thread renders with others, and those two calls change the library.
    std::mutex& faces_mutex() { return faces_mutex_; }

private:
    explicit FreeTypeLibrary(FT_Library lib) : lib_(lib) {}
    FT_Library lib_;
    std::mutex faces_mutex_;
};

} // namespace tav
