#pragma once
// The 60-byte font record that Font properties carry, and the stock GUI font.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace tav::ui {

// The byte size of a font record; any other length means the stock GUI font.
inline constexpr std::size_t kFontRecordSize = 60;
inline constexpr std::size_t kFaceNameSize = 32;
inline constexpr std::uint8_t kGb2312Charset = 134;

// A font record in its fields (little-endian 32-bit integers, then bytes, then a face name).
struct FontRecord {
    std::int32_t height = 0; // negative: character height in pixels; positive: cell height
    std::int32_t width = 0;
    std::int32_t escapement = 0;
    std::int32_t orientation = 0;
    std::int32_t weight = 0; // 400 normal, 700 bold
    std::uint8_t italic = 0;
    std::uint8_t underline = 0;
    std::uint8_t strike_out = 0;
    std::uint8_t charset = 0;
    std::uint8_t out_precision = 0;
    std::uint8_t clip_precision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitch_and_family = 0;
    std::string face_gbk; // at most 31 bytes are kept

    // The record of 60 bytes.
    std::array<std::uint8_t, kFontRecordSize> Encode() const;
    // The fields of a 60-byte record; nullopt for any other length.
    static std::optional<FontRecord> Decode(std::span<const std::uint8_t> bytes);
    // A bold, upright GB2312 font of `face_utf8` with a character height of `pixels`.
    static FontRecord Make(std::string_view face_utf8, int pixels, int weight = 700);
    friend bool operator==(const FontRecord&, const FontRecord&) = default;
};

// The stock GUI font: what a control uses when its Font value is not a 60-byte record.
const FontRecord& StockGuiFont();

// The font a stored Font value stands for (the stock font unless it is a 60-byte record).
FontRecord ResolveFont(std::span<const std::uint8_t> stored);

} // namespace tav::ui
