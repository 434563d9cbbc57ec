#pragma once
// Fonts: a face at one character height and weight, rasterised by FreeType with a glyph cache.
// Fonts come from the FontCache, keyed by their 60-byte record, and are shared.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/gfx/logfont.hpp"

namespace tav {

// One rasterised character: an 8-bit coverage mask and where it sits.
struct Glyph {
    int left = 0;    // from the pen position to the mask's left column
    int top = 0;     // from the baseline up to the mask's top row
    int width = 0;
    int rows = 0;
    int advance = 0; // pen movement in pixels
    std::vector<std::uint8_t> coverage; // width x rows, row by row
};

// The face files behind a font, as fontconfig picked them.
struct FaceChoice {
    std::string file;
    int index = 0;
    std::string family; // UTF-8, as the face names itself
    bool bold = false;  // the face itself is bold (no synthetic emboldening needed)
    bool italic = false;
};

class FreeTypeLibrary;

// What a font is, but for its open face: enough to make it again in another process (a
// preload hands fonts over this way), where the face is opened for the first glyph it lacks.
struct FontState {
    std::optional<FaceChoice> face; // nothing for a font without a face
    int height = 0;
    int ascent = 0;
    bool bold = false;
    bool synthetic_bold = false;
    bool synthetic_italic = false;
    bool underline = false;
    bool strikeout = false;
    std::string family;
    std::vector<std::pair<char32_t, Glyph>> glyphs; // the glyphs rendered so far
};

class Font {
public:
    // A font from `face` at `height` pixels of character height; nullptr when the face file
    // cannot be opened.
    static std::shared_ptr<Font> Open(std::shared_ptr<FreeTypeLibrary> lib, const FaceChoice& face, int height,
                                      bool bold, bool italic, bool underline, bool strikeout);
    // A font without a face: it measures `height` per line and draws nothing.
    static std::shared_ptr<Font> Blank(int height);
    // The font `state` describes, with its glyphs; its face is opened for the first glyph
    // asked for that it does not hold.
    static std::shared_ptr<Font> Restore(std::shared_ptr<FreeTypeLibrary> lib, FontState state);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Character height in pixels: the em size and the distance between lines.
    int height() const { return height_; }
    // From the top of a line to its baseline.
    int ascent() const { return ascent_; }
    bool underline() const { return underline_; }
    bool strikeout() const { return strikeout_; }
    // Whether bold is made by thickening outlines (the face has no bold of its own).
    bool synthetic_bold() const { return synthetic_bold_; }
    // The family name of the face in use.
    const std::string& family() const { return family_; }

    // The glyph of `c`, rendered once and cached; a character no face has renders as the
    // primary face's missing-glyph box. Any thread may ask; a glyph never moves once cached.
    const Glyph& glyph(char32_t c) const;
    // The pen movement of `c` in pixels.
    int advance(char32_t c) const { return glyph(c).advance; }
    // What this font is, with the glyphs rendered so far.
    FontState state() const;

    // An open face with the file it reads (defined where fonts are opened).
    struct Face;

private:
    Font() = default;
    Glyph render(char32_t c) const;

    std::shared_ptr<FreeTypeLibrary> lib_;
    std::optional<FaceChoice> choice_;        // the face files; nothing for a blank font
    mutable std::unique_ptr<Face> primary_;   // a restored font opens it for its first new glyph
    mutable bool primary_tried_ = false;
    mutable std::unique_ptr<Face> fallback_; // opened on the first character the primary lacks
    mutable bool fallback_tried_ = false;
    int height_ = 0;
    int ascent_ = 0;
    bool bold_ = false;
    bool synthetic_bold_ = false;
    bool synthetic_italic_ = false;
    bool underline_ = false;
    bool strikeout_ = false;
    std::string family_;
    mutable std::mutex glyphs_mutex_; // guards glyphs_ and the faces opened late
    mutable std::unordered_map<char32_t, Glyph> glyphs_;
};

// Loads fonts lazily by record and shares them; owns the FreeType library through its fonts.
class FontCache {
public:
    FontCache();
    ~FontCache();
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;

    // The font of a Font property value: a 60-byte record, or anything else for the stock font.
    // A record whose face cannot be found uses a substitute that covers Chinese text.
    std::shared_ptr<const Font> font(std::span<const std::uint8_t> record);
    // The stock GUI font (StockGuiFont()), loaded.
    std::shared_ptr<const Font> stock();
    // Faces opened from now on map their font files rather than read them: they open sooner,
    // but every page a glyph touches stays the process's memory. For a process that does not
    // last, such as a preloading helper.
    void map_files();

    // The fonts loaded so far, by record; the stock font, once loaded, has an empty record.
    std::vector<std::pair<std::vector<std::uint8_t>, std::shared_ptr<const Font>>> loaded();
    // The font `state` describes, made on this cache's library; not added to the cache.
    std::shared_ptr<const Font> restore(FontState state);
    // Adds `font` as the font of `record` (empty: the stock font), unless this cache has one
    // for it already.
    void adopt(std::span<const std::uint8_t> record, std::shared_ptr<const Font> font);
    // Has `fill` run on this cache just before its next lookup, once: fonts made elsewhere are
    // taken in when first needed. Replaces a fill not yet run; an empty `fill` cancels it.
    void fill_before_next_lookup(std::function<void(FontCache&)> fill);

private:
    std::shared_ptr<const Font> load(const LogFont& f);
    std::shared_ptr<const Font> stock_locked();
    // Runs the pending fill, if any, outside the lock.
    void run_fill();

    // Fonts may be loaded ahead on a helper thread; a font being loaded there is waited for
    // rather than loaded twice.
    std::mutex mutex_;

    std::shared_ptr<FreeTypeLibrary> lib_;
    std::map<std::vector<std::uint8_t>, std::shared_ptr<const Font>> fonts_;
    std::shared_ptr<const Font> stock_;
    std::function<void(FontCache&)> fill_;
};

// The program's font cache, made on first use. Any thread may load fonts through it; a Font
// it returns renders glyphs on one thread only (the window's).
FontCache& SharedFonts();

// The face files fontconfig picks for a face name from a font record (GBK bytes), through our
// own map of the standard Chinese face names; nothing when no face can be found at all.
std::optional<FaceChoice> ChooseFace(std::string_view gbk_face, int weight, bool italic);

} // namespace tav
