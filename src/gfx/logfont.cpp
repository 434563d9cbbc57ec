// The font record read and written field by field, and the stock GUI font that stands in for a bad one.
#include "gfx/logfont.hpp"

#include <cstdlib>
#include <utility>

#include "core/byte_reader.hpp"

namespace tav {

namespace {

// Offsets of the record's fields.
constexpr std::size_t kHeightAt = 0, kWidthAt = 4, kEscapementAt = 8, kOrientationAt = 12, kWeightAt = 16;
constexpr std::size_t kItalicAt = 20, kUnderlineAt = 21, kStrikeOutAt = 22, kCharsetAt = 23, kOutPrecisionAt = 24;
constexpr std::size_t kClipPrecisionAt = 25, kQualityAt = 26, kPitchAndFamilyAt = 27, kFaceAt = 28;

int read_int(std::span<const std::uint8_t> b, std::size_t at) { return ByteReader(b).i32(at).value_or(0); }

void write_int(std::span<std::uint8_t> b, std::size_t at, int value) {
    const auto v = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

// Length of `face` cut to fit the field without splitting a two-byte GBK character.
std::size_t fitting_face_length(std::string_view face) {
    std::size_t n = 0;
    while (n < face.size()) {
        const std::size_t step = (std::uint8_t(face[n]) >= 0x81 && n + 1 < face.size()) ? 2 : 1;
        if (n + step > kLogFontFaceSize - 1) break;
        n += step;
    }
    return n;
}

} // namespace

std::optional<LogFont> parse_log_font(std::span<const std::uint8_t> b) {
    if (b.size() != kLogFontSize) return std::nullopt;
    LogFont f;
    f.height = read_int(b, kHeightAt);
    f.width = read_int(b, kWidthAt);
    f.escapement = read_int(b, kEscapementAt);
    f.orientation = read_int(b, kOrientationAt);
    f.weight = read_int(b, kWeightAt);
    f.italic = b[kItalicAt] != 0;
    f.underline = b[kUnderlineAt] != 0;
    f.strikeout = b[kStrikeOutAt] != 0;
    f.charset = b[kCharsetAt];
    f.out_precision = b[kOutPrecisionAt];
    f.clip_precision = b[kClipPrecisionAt];
    f.quality = b[kQualityAt];
    f.pitch_and_family = b[kPitchAndFamilyAt];
    for (std::size_t i = kFaceAt; i < kLogFontSize && b[i] != 0; ++i) f.face.push_back(char(b[i]));
    return f;
}

const LogFont& stock_gui_font() {
    static const LogFont kStock = [] {
        LogFont f;
        f.height = -kStockGuiFontHeight;
        f.weight = kWeightNormal;
        f.charset = kGb2312Charset;
        f.face = "Noto Sans CJK SC";
        return f;
    }();
    return kStock;
}

LogFont resolve_log_font(std::span<const std::uint8_t> stored) {
    if (auto f = parse_log_font(stored)) return *std::move(f);
    return stock_gui_font();
}

std::array<std::uint8_t, kLogFontSize> encode_log_font(const LogFont& f) {
    std::array<std::uint8_t, kLogFontSize> b{};
    write_int(b, kHeightAt, f.height);
    write_int(b, kWidthAt, f.width);
    write_int(b, kEscapementAt, f.escapement);
    write_int(b, kOrientationAt, f.orientation);
    write_int(b, kWeightAt, f.weight);
    b[kItalicAt] = f.italic ? 1 : 0;
    b[kUnderlineAt] = f.underline ? 1 : 0;
    b[kStrikeOutAt] = f.strikeout ? 1 : 0;
    b[kCharsetAt] = f.charset;
    b[kOutPrecisionAt] = f.out_precision;
    b[kClipPrecisionAt] = f.clip_precision;
    b[kQualityAt] = f.quality;
    b[kPitchAndFamilyAt] = f.pitch_and_family;
    const std::size_t n = fitting_face_length(f.face);
    for (std::size_t i = 0; i < n; ++i) b[kFaceAt + i] = std::uint8_t(f.face[i]);
    return b;
}

std::array<std::uint8_t, kLogFontSize> make_log_font(std::string_view gbk_face, int height_px, int weight, bool italic,
                                                     bool underline, bool strikeout, std::uint8_t charset) {
    LogFont f;
    f.height = -std::abs(height_px);
    f.weight = weight;
    f.italic = italic;
    f.underline = underline;
    f.strikeout = strikeout;
    f.charset = charset;
    f.face = std::string(gbk_face);
    return encode_log_font(f);
}

} // namespace tav
