#pragma once
// The FreeType library handle, owned and shared by every font made with it (gfx internal).

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace tav {

struct SharedFace;

class FreeTypeLibrary {
public:
    // Starts FreeType; nullptr if it cannot start.
    static std::shared_ptr<FreeTypeLibrary> create() {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) return nullptr;
        return std::shared_ptr<FreeTypeLibrary>(new FreeTypeLibrary(lib));
    }
    ~FreeTypeLibrary() { FT_Done_FreeType(lib_); }
    FreeTypeLibrary(const FreeTypeLibrary&) = delete;
    FreeTypeLibrary& operator=(const FreeTypeLibrary&) = delete;

    FT_Library get() const { return lib_; }
    // Held while a face is opened or closed: one thread may open a face while another renders
    // with others, and those two calls change the library.
    std::mutex& faces_mutex() { return faces_mutex_; }
    // The faces open on this library by (file, index in the file), shared by the fonts of every
    // size made from them. Guarded by faces_mutex().
    std::map<std::pair<std::string, long>, std::weak_ptr<SharedFace>>& open_faces() { return open_faces_; }

private:
    explicit FreeTypeLibrary(FT_Library lib) : lib_(lib) {}
    FT_Library lib_;
    std::mutex faces_mutex_;
    std::map<std::pair<std::string, long>, std::weak_ptr<SharedFace>> open_faces_;
};

} // namespace tav
