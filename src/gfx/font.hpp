#pragma once
// Fonts: a face at one character height and weight, rasterised by FreeType with a glyph cache.
// Fonts come from the FontCache, keyed by their 60-byte record, and are shared.

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/logfont.hpp"

namespace tav {

// One rasterised character: an 8-bit coverage mask and where it sits.
struct Glyph {
    int left = 0; // from the pen position to the mask's left column
    int top = 0;  // from the baseline up to the mask's top row
    int width = 0;
    int rows = 0;
    int advance = 0;                    // pen movement in pixels
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

// What a font is, but for its open face and its glyphs.
struct FontFacts {
    std::optional<FaceChoice> face; // nothing for a font without a face
    int height = 0;                 // character height: the em size and the distance between lines
    int ascent = 0;                 // from the top of a line to its baseline
    bool bold = false;
    bool synthetic_bold = false; // bold made by thickening outlines (the face has no bold of its own)
    bool synthetic_italic = false;
    bool underline = false;
    bool strikeout = false;
    std::string family; // the family name of the face in use
};

class Font {
public:
    // A font from `face` at `height` pixels of character height; nullptr when the face file
    // cannot be opened.
    static std::shared_ptr<Font> open(std::shared_ptr<FreeTypeLibrary> lib, const FaceChoice& face, int height,
                                      bool bold, bool italic, bool underline, bool strikeout);
    // A font without a face: it measures `height` per line and draws nothing.
    static std::shared_ptr<Font> blank(int height);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Character height in pixels: the em size and the distance between lines.
    int height() const { return facts_.height; }
    // From the top of a line to its baseline.
    int ascent() const { return facts_.ascent; }
    bool underline() const { return facts_.underline; }
    bool strikeout() const { return facts_.strikeout; }
    // Whether bold is made by thickening outlines (the face has no bold of its own).
    bool synthetic_bold() const { return facts_.synthetic_bold; }
    // The family name of the face in use.
    const std::string& family() const { return facts_.family; }

    // The glyph of `c`, rendered once and cached; a character no face has renders as the
    // primary face's missing-glyph box. Any thread may ask; a glyph never moves once cached.
    const Glyph& glyph(char32_t c) const;
    // The pen movement of `c` in pixels.
    int advance(char32_t c) const { return glyph(c).advance; }
    // This font rendered from the same face at `scale` times its height, opened once per scale
    // and kept with this font (which stays in use for measuring, in logical units); itself at
    // scale 1, or when the face cannot be opened again. Any thread may ask.
    const Font& at_scale(int scale) const;

    // An open face with the file it reads (defined where fonts are opened).
    struct Face;

private:
    Font() = default;
    Glyph render(char32_t c) const;

    std::shared_ptr<FreeTypeLibrary> lib_;
    FontFacts facts_;
    std::unique_ptr<Face> primary_;
    mutable std::unique_ptr<Face> fallback_; // opened on the first character the primary lacks
    mutable bool fallback_tried_ = false;
    mutable std::mutex glyphs_mutex_; // guards glyphs_ and the fallback face
    mutable std::unordered_map<char32_t, Glyph> glyphs_;
    int scale_ = 1;                   // the scale this font was opened at by at_scale(), for outline thickening
    mutable std::mutex scaled_mutex_; // guards scaled_
    mutable std::map<int, std::shared_ptr<const Font>> scaled_;
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
    // The stock GUI font (stock_gui_font()), loaded.
    std::shared_ptr<const Font> stock();

private:
    std::shared_ptr<const Font> load(const LogFont& f);
    std::shared_ptr<const Font> stock_locked();

    // Any thread may load fonts; a font another thread is loading is waited for rather than
    // loaded twice.
    std::mutex mutex_;

    std::shared_ptr<FreeTypeLibrary> lib_;
    std::map<std::vector<std::uint8_t>, std::shared_ptr<const Font>> fonts_;
    std::shared_ptr<const Font> stock_;
};

// The face files fontconfig picks for a face name from a font record (GBK bytes), through our
// own map of the standard Chinese face names; nothing when no face can be found at all.
// A face named but missing is replaced by an installed face that covers Chinese text, and
// one line on stderr names the missing face and the Debian packages that provide it. With
// FONTCONFIG_FILE or FONTCONFIG_PATH set, only that fontconfig setup is searched.
std::optional<FaceChoice> choose_face(std::string_view gbk_face, int weight, bool italic);

// True when some installed face covers Chinese text (without one the program's texts cannot
// be drawn).
bool chinese_face_installed();
// The Debian packages that install faces covering Chinese text, comma-separated.
std::string_view chinese_font_packages();

} // namespace tav
