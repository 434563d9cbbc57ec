#include "ui/font.hpp"

#include <algorithm>
#include <cstring>

#include "runtime/gbk.hpp"

namespace tav::ui {
namespace {

void PutInt(std::uint8_t* at, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i) at[i] = static_cast<std::uint8_t>(u >> (8 * i));
}

std::int32_t GetInt(const std::uint8_t* at) {
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i) u |= std::uint32_t(at[i]) << (8 * i);
    return static_cast<std::int32_t>(u);
}

constexpr std::size_t kFaceOffset = kFontRecordSize - kFaceNameSize;

} // namespace

std::array<std::uint8_t, kFontRecordSize> FontRecord::Encode() const {
    std::array<std::uint8_t, kFontRecordSize> out{};
    PutInt(&out[0], height);
    PutInt(&out[4], width);
    PutInt(&out[8], escapement);
    PutInt(&out[12], orientation);
    PutInt(&out[16], weight);
    out[20] = italic;
    out[21] = underline;
    out[22] = strike_out;
    out[23] = charset;
    out[24] = out_precision;
    out[25] = clip_precision;
    out[26] = quality;
    out[27] = pitch_and_family;
    const std::size_t n = std::min(face_gbk.size(), kFaceNameSize - 1);
    std::memcpy(&out[kFaceOffset], face_gbk.data(), n);
    return out;
}

std::optional<FontRecord> FontRecord::Decode(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != kFontRecordSize) return std::nullopt;
    FontRecord f;
    f.height = GetInt(&bytes[0]);
    f.width = GetInt(&bytes[4]);
    f.escapement = GetInt(&bytes[8]);
    f.orientation = GetInt(&bytes[12]);
    f.weight = GetInt(&bytes[16]);
    f.italic = bytes[20];
    f.underline = bytes[21];
    f.strike_out = bytes[22];
    f.charset = bytes[23];
    f.out_precision = bytes[24];
    f.clip_precision = bytes[25];
    f.quality = bytes[26];
    f.pitch_and_family = bytes[27];
    const auto* face = reinterpret_cast<const char*>(&bytes[kFaceOffset]);
    f.face_gbk.assign(face, strnlen(face, kFaceNameSize - 1));
    return f;
}

FontRecord FontRecord::Make(std::string_view face_utf8, int pixels, int weight) {
    FontRecord f;
    f.height = -pixels;
    f.weight = weight;
    f.charset = kGb2312Charset;
    f.face_gbk = std::string(Gbk(face_utf8).view().substr(0, kFaceNameSize - 1));
    return f;
}

const FontRecord& StockGuiFont() {
    static const FontRecord stock = [] {
        FontRecord f = FontRecord::Make("宋体", 12, 400);
        return f;
    }();
    return stock;
}

FontRecord ResolveFont(std::span<const std::uint8_t> stored) {
    if (auto f = FontRecord::Decode(stored)) return *f;
    return StockGuiFont();
}

} // namespace tav::ui
