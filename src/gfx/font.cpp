// Rasterising characters with FreeType.
#include "gfx/font.hpp"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/byte_reader.hpp"
#include "gfx/font_file.hpp"
#include "gfx/freetype_library.hpp"

#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

namespace tav {

namespace {

// Face used for characters the chosen face does not have.
constexpr const char* kFallbackFaceGbk = "\xBA\xDA\xCC\xE5"; // 黑体 in GBK
// Synthetic bold widens strokes by 1/24 of the em, at least one pixel (26.6 units).
constexpr FT_Pos kMinEmbolden = 64;
constexpr FT_Pos kEmboldenDivisor = 24;
// Baseline of a face without usable metrics: four fifths down the line.
int default_ascent(int height) { return height * 4 / 5; }
// Pen movement for a character when no face can be opened at all.
constexpr int kNoFaceAdvanceDivisor = 2;

struct FaceDeleter {
    void operator()(FT_Face f) const { FT_Done_Face(f); }
};
using FacePtr = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

// A font file read at offsets as FreeType asks for its parts (a CFF face is opened on the
// mapped file instead: see acquire_face). Mapped, the TrueType CJK collections (10-20 MB) would
// count every page a glyph touches (with the kernel's fault-around, its neighbours too) as the
// program's memory. Small reads, thousands of them while a face opens, are served from one block
// read ahead.
class FileStream {
public:
    // Opens `path`; check `ok()`.
    explicit FileStream(const std::string& path) : file_(path) {
        if (!file_.is_open()) return;
        rec_.read = &FileStream::read;
        rec_.size = static_cast<unsigned long>(file_.size());
        rec_.descriptor.pointer = this;
        rec_.close = &FileStream::close;
    }
    FileStream(const FileStream&) = delete;
    FileStream& operator=(const FileStream&) = delete;

    bool ok() const { return rec_.size != 0; }
    // The stream record FreeType reads through; it must outlive the face opened on it.
    FT_Stream record() { return &rec_; }
    // The whole file mapped, valid while this lives; empty when it cannot be mapped.
    std::span<const unsigned char> map() { return file_.map(); }

    // True when face `index` of the file keeps its outlines in a CFF table ('OTTO'), read from
    // its offset table (behind a collection's header when the file is one).
    bool holds_cff_outlines(long index) const {
        std::uint64_t table = 0;
        if (tag_at(0) == kCollectionTag) {
            const auto at = kCollectionOffsets + 4 * static_cast<std::uint64_t>(std::max(index, 0L) & 0xFFFF);
            const auto offset = u32_big_endian_at(at);
            if (!offset) return false;
            table = *offset;
        }
        return tag_at(table) == kCffTag;
    }

private:
    static constexpr unsigned long kBlockSize = 4096;
    static constexpr std::uint32_t kCollectionTag = 0x74746366; // 'ttcf'
    static constexpr std::uint32_t kCffTag = 0x4F54544F;        // 'OTTO'
    static constexpr std::uint64_t kCollectionOffsets = 12;     // the faces' offsets in a 'ttcf' header

    std::optional<std::uint32_t> u32_big_endian_at(std::uint64_t offset) const {
        std::uint8_t b[4] = {};
        if (file_.read_at(offset, b, sizeof b) != sizeof b) return std::nullopt;
        return ByteReader(b).u32_big_endian(0);
    }
    std::uint32_t tag_at(std::uint64_t offset) const { return u32_big_endian_at(offset).value_or(0); }

    // FreeType's read call; a count of 0 is a seek, which reading at offsets makes free.
    static unsigned long read(FT_Stream stream, unsigned long offset, unsigned char* buffer, unsigned long count) {
        auto* self = static_cast<FileStream*>(stream->descriptor.pointer);
        if (count == 0) return offset <= stream->size ? 0 : 1;
        if (count > kBlockSize) return static_cast<unsigned long>(self->file_.read_at(offset, buffer, count));
        if (offset < self->block_start_ || offset + count > self->block_start_ + self->block_.size()) {
            self->block_.resize(kBlockSize);
            self->block_start_ = offset;
            self->block_.resize(self->file_.read_at(offset, self->block_.data(), kBlockSize));
        }
        const unsigned long available = std::min<unsigned long>(
            count, static_cast<unsigned long>(self->block_start_ + self->block_.size() - offset));
        std::copy_n(self->block_.begin() + static_cast<std::ptrdiff_t>(offset - self->block_start_), available, buffer);
        return available;
    }
    // Called by FreeType when the face is done with the stream (or failed to open on it).
    static void close(FT_Stream stream) { static_cast<FileStream*>(stream->descriptor.pointer)->file_.close(); }

    FontFile file_;
    FT_StreamRec rec_{};
    std::vector<unsigned char> block_; // file bytes from block_start_ on
    unsigned long block_start_ = 0;
};

} // namespace

// A face file open on the library, shared by the fonts of every size made from it: each font
// has a size object of its own, made current under the library's face lock while it renders.
struct SharedFace {
    std::shared_ptr<FreeTypeLibrary> lib;
    std::unique_ptr<FileStream> file;
    FacePtr face;

    ~SharedFace() {
        std::lock_guard lock(lib->faces_mutex());
        face.reset();
    }
};

// One face at one size.
struct Font::Face {
    std::shared_ptr<SharedFace> shared;
    FT_Size size = nullptr;

    FT_Face ft() const { return shared->face.get(); }
    ~Face() {
        if (size == nullptr) return;
        std::lock_guard lock(shared->lib->faces_mutex());
        FT_Done_Size(size);
    }
};

namespace {

// The open face of `choice` on `lib`, opened now if no font has it open. Call with the
// library's face lock held.
std::shared_ptr<SharedFace> acquire_face(const std::shared_ptr<FreeTypeLibrary>& lib, const FaceChoice& choice) {
    auto& open = lib->open_faces();
    const std::pair<std::string, long> key{choice.file, choice.index};
    if (auto it = open.find(key); it != open.end()) {
        if (auto shared = it->second.lock()) return shared;
    }
    auto file = std::make_unique<FileStream>(choice.file);
    if (!file->ok()) return nullptr;
    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = file->record();
    // A CFF face is opened on the mapped file: FreeType then takes its charstring and
    // subroutine indexes in place instead of copying them into fresh memory (1.2 MB for each
    // Noto CJK face). Glyph outlines spread over a TrueType collection stay read at offsets.
    if (file->holds_cff_outlines(choice.index)) {
        if (const auto bytes = file->map(); !bytes.empty()) {
            args.flags = FT_OPEN_MEMORY;
            args.memory_base = bytes.data();
            args.memory_size = static_cast<FT_Long>(bytes.size());
            args.stream = nullptr;
        }
    }
    FT_Face face = nullptr;
    if (FT_Open_Face(lib->get(), &args, choice.index, &face) != 0) return nullptr;
    auto shared = std::make_shared<SharedFace>();
    shared->lib = lib;
    shared->file = std::move(file);
    shared->face.reset(face);
    open[key] = shared;
    return shared;
}

// The face of `choice` with its em set to `height` pixels.
std::unique_ptr<Font::Face> open_face(const std::shared_ptr<FreeTypeLibrary>& lib, const FaceChoice& choice,
                                      int height) {
    auto opened = std::make_unique<Font::Face>();
    {
        std::lock_guard lock(lib->faces_mutex());
        opened->shared = acquire_face(lib, choice);
        if (!opened->shared) return nullptr;
        if (FT_New_Size(opened->ft(), &opened->size) != 0) {
            opened->size = nullptr;
            return nullptr;
        }
        FT_Activate_Size(opened->size);
        if (FT_Set_Pixel_Sizes(opened->ft(), 0, FT_UInt(height)) != 0) {
            FT_Done_Size(opened->size);
            opened->size = nullptr;
            return nullptr;
        }
    }
    return opened;
}

// True when the face has no glyph for `c`.
bool face_lacks(const Font::Face& face, char32_t c) {
    std::lock_guard lock(face.shared->lib->faces_mutex());
    return FT_Get_Char_Index(face.ft(), c) == 0;
}

// The baseline's distance from the top of an em-high line: the typographic ascender's share
// of the typographic ascender-to-descender span, which puts CJK faces' ideographic em box on
// the line.
int ascent_for(FT_Face face, int height) {
    double asc = face->ascender, desc = face->descender;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
        if (os2->sTypoAscender - os2->sTypoDescender > 0) {
            asc = os2->sTypoAscender;
            desc = os2->sTypoDescender;
        }
    }
    if (asc - desc <= 0) return default_ascent(height);
    return int(std::lround(height * asc / (asc - desc)));
}

} // namespace

std::shared_ptr<Font> Font::open(std::shared_ptr<FreeTypeLibrary> lib, const FaceChoice& choice, int height, bool bold,
                                 bool italic, bool underline, bool strikeout) {
    if (!lib || height <= 0) return nullptr;
    std::unique_ptr<Face> face = open_face(lib, choice, height);
    if (!face) return nullptr;
    std::shared_ptr<Font> font(new Font());
    font->facts_.height = height;
    font->facts_.ascent = ascent_for(face->ft(), height);
    font->facts_.bold = bold;
    font->facts_.synthetic_bold = bold && !choice.bold;
    font->facts_.synthetic_italic = italic && !choice.italic;
    font->facts_.underline = underline;
    font->facts_.strikeout = strikeout;
    font->facts_.family = choice.family;
    font->facts_.face = choice;
    font->primary_ = std::move(face);
    font->lib_ = std::move(lib);
    return font;
}

std::shared_ptr<Font> Font::blank(int height) {
    std::shared_ptr<Font> font(new Font());
    font->facts_.height = height;
    font->facts_.ascent = default_ascent(height);
    return font;
}

Font::~Font() = default;

const Font& Font::at_scale(int scale) const {
    if (scale <= 1) return *this;
    std::lock_guard lock(scaled_mutex_);
    auto it = scaled_.find(scale);
    if (it == scaled_.end()) {
        std::shared_ptr<Font> made;
        if (facts_.face)
            made = open(lib_, *facts_.face, facts_.height * scale, facts_.bold, facts_.synthetic_italic,
                        facts_.underline, facts_.strikeout);
        else
            made = blank(facts_.height * scale);
        if (made) made->scale_ = scale;
        it = scaled_.emplace(scale, std::move(made)).first;
    }
    return it->second ? *it->second : *this;
}

const Glyph& Font::glyph(char32_t c) const {
    std::lock_guard lock(glyphs_mutex_);
    auto it = glyphs_.find(c);
    if (it == glyphs_.end()) it = glyphs_.emplace(c, render(c)).first;
    return it->second;
}

Glyph Font::render(char32_t c) const {
    Glyph g;
    if (!primary_) {
        g.advance = facts_.height / kNoFaceAdvanceDivisor;
        return g;
    }
    // The fallback is opened before the lock is taken: opening takes it too.
    if (!fallback_tried_ && c >= 0x80 && face_lacks(*primary_, c)) {
        fallback_tried_ = true;
        if (auto choice = choose_face(kFallbackFaceGbk, facts_.bold ? kWeightBold : kWeightNormal, false))
            fallback_ = open_face(lib_, *choice, facts_.height);
    }
    std::lock_guard lock(lib_->faces_mutex());
    const Face* use = primary_.get();
    FT_UInt index = FT_Get_Char_Index(use->ft(), c);
    bool synthetic_bold = facts_.synthetic_bold, synthetic_italic = facts_.synthetic_italic;
    if (index == 0 && c >= 0x80 && fallback_) {
        const FT_UInt fb_index = FT_Get_Char_Index(fallback_->ft(), c);
        if (fb_index != 0) {
            use = fallback_.get();
            index = fb_index;
            // The fallback's own bold face needs no emboldening.
            synthetic_bold = facts_.bold && !(use->ft()->style_flags & FT_STYLE_FLAG_BOLD);
        }
    }
    FT_Face face = use->ft();
    FT_Activate_Size(use->size);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP) != 0) return g;
    FT_GlyphSlot slot = face->glyph;
    if (synthetic_italic && slot->format == FT_GLYPH_FORMAT_OUTLINE) FT_GlyphSlot_Oblique(slot);
    if (synthetic_bold && slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        // Thickened sideways only, as bitmap faces are made bold: the glyph keeps its height
        // and so stays inside its line.
        // A font opened at a scale is thickened by as many target pixels as the 1x font.
        const FT_Pos strength = std::max<FT_Pos>(kMinEmbolden * scale_, FT_Pos(facts_.height) * 64 / kEmboldenDivisor);
        FT_Outline_EmboldenXY(&slot->outline, strength, 0);
        slot->advance.x += strength;
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0) return g;
    const FT_Bitmap& bmp = slot->bitmap;
    g.advance = int((slot->advance.x + 32) >> 6);
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    if (bmp.pixel_mode != FT_PIXEL_MODE_GRAY || bmp.buffer == nullptr || bmp.pitch < int(bmp.width)) return g;
    g.width = int(bmp.width);
    g.rows = int(bmp.rows);
    g.coverage.resize(std::size_t(g.width) * std::size_t(g.rows));
    for (int y = 0; y < g.rows; ++y) {
        const unsigned char* src = bmp.buffer + std::ptrdiff_t(y) * bmp.pitch;
        std::copy(src, src + g.width, g.coverage.begin() + std::ptrdiff_t(y) * g.width);
    }
    return g;
}

} // namespace tav
