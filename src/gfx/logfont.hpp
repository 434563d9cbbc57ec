#pragma once
// The 60-byte font record (LOGFONTA layout) that Font properties carry, and its fields.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace tav {

// Size of a font record; a Font value of any other length means the stock GUI font.
inline constexpr std::size_t kLogFontSize = 60;
// Bytes of the face name field, its zero terminator included.
inline constexpr std::size_t kLogFontFaceSize = 32;
// Character set code of GB2312 faces.
inline constexpr std::uint8_t kGb2312Charset = 134;
// Weights as the record stores them.
inline constexpr int kWeightNormal = 400;
inline constexpr int kWeightBold = 700;
// Character height in pixels of the stock GUI font (and of a record that leaves it 0).
inline constexpr int kStockGuiFontHeight = 12;

// The fields of a font record.
struct LogFont {
    int height = 0;     // < 0: character height in pixels; > 0: cell height; 0: default
    int width = 0;      // average character width, 0 = natural
    int escapement = 0; // tenths of a degree
    int orientation = 0;
    int weight = 0; // 0 = default, 400 normal, 700 bold
    bool italic = false;
    bool underline = false;
    bool strikeout = false;
    std::uint8_t charset = 0;
    std::uint8_t out_precision = 0;
    std::uint8_t clip_precision = 0;
    std::uint8_t quality = 0;
    std::uint8_t pitch_and_family = 0;
    std::string face; // GBK bytes, up to 31 of them

    friend bool operator==(const LogFont&, const LogFont&) = default;
};

// The fields of a record; nothing unless it is exactly kLogFontSize bytes long.
std::optional<LogFont> parse_log_font(std::span<const std::uint8_t> record);

// The stock GUI font, a plain sans face of kStockGuiFontHeight pixels: what controls draw with
// when their Font value is not a record, and what reading such a Font property returns.
const LogFont& stock_gui_font();

// The font a stored Font value stands for: its fields, or the stock GUI font for any length
// but kLogFontSize.
LogFont resolve_log_font(std::span<const std::uint8_t> stored);

// The record of `font`; a face longer than 31 bytes is cut at a character boundary.
std::array<std::uint8_t, kLogFontSize> encode_log_font(const LogFont& font);

// A record for a face (GBK bytes) at a character height in pixels (stored negative).
std::array<std::uint8_t, kLogFontSize> make_log_font(std::string_view gbk_face, int height_px,
                                                     int weight = kWeightNormal, bool italic = false,
                                                     bool underline = false, bool strikeout = false,
                                                     std::uint8_t charset = kGb2312Charset);

} // namespace tav
