// GBK through Windows code page 936, kept byte for byte equal to the Linux build's conversion:
// malformed input is replaced in the same steps, and the few code points where code page 936
// and the Linux GBK table disagree are treated as the Linux table does.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "core/gbk.hpp"
#include "core/gbk_bytes.hpp"

namespace tav {
namespace {

constexpr char kReplacement = '?';
constexpr UINT kCodePageGbk = 936;

// Code points code page 936 maps that the Linux GBK table has no character for: the private
// use area (the user-defined GBK rows).
bool unmatched_code_point(std::uint32_t c) { return c >= 0xE000 && c <= 0xF8FF; }

// The code point of the well-formed UTF-8 character at the start of `rest` and its length; a
// length of 0 when it is malformed, overlong, a surrogate, beyond U+10FFFF or cut off.
std::pair<std::uint32_t, std::size_t> decode_utf8(std::string_view rest) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(rest[i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    std::uint32_t c = 0;
    unsigned char low = 0x80, high = 0xBF; // range of the second byte
    if (lead < 0x80) return {lead, 1};
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return {0, 0};
    }
    if (rest.size() < length || byte(1) < low || byte(1) > high) return {0, 0};
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return {0, 0};
        c = (c << 6) | (byte(i) & 0x3Fu);
    }
    return {c, length};
}

void append_utf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

// The one UTF-16 unit of the GBK character of `length` bytes at the start of `rest`, or nothing
// when code page 936 has none for it (or only one the Linux table lacks).
std::optional<std::uint32_t> decode_gbk(std::string_view rest, std::size_t length) {
    wchar_t unit[2] = {};
    const int n = MultiByteToWideChar(kCodePageGbk, MB_ERR_INVALID_CHARS, rest.data(), int(length), unit, 2);
    if (n != 1 || unmatched_code_point(unit[0])) return std::nullopt;
    return std::uint32_t(unit[0]);
}

} // namespace

std::string utf8_to_gbk(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        const auto [c, length] = decode_utf8(utf8);
        if (length == 1) {
            out += char(c);
            utf8.remove_prefix(1);
            continue;
        }
        char bytes[2] = {};
        BOOL used_default = FALSE;
        int n = 0;
        if (length != 0 && c <= 0xFFFF && !unmatched_code_point(c)) {
            const auto unit = wchar_t(c);
            n = WideCharToMultiByte(kCodePageGbk, WC_NO_BEST_FIT_CHARS, &unit, 1, bytes, 2, nullptr, &used_default);
        }
        if (n > 0 && !used_default) {
            out.append(bytes, std::size_t(n));
            utf8.remove_prefix(length);
        } else {
            out += kReplacement;
            utf8.remove_prefix(utf8_character_length(utf8));
        }
    }
    return out;
}

std::string gbk_to_utf8(std::string_view gbk) {
    std::string out;
    out.reserve(gbk.size() * 3 / 2);
    while (!gbk.empty()) {
        const auto lead = static_cast<unsigned char>(gbk[0]);
        if (lead < 0x80) {
            out += char(lead);
            gbk.remove_prefix(1);
            continue;
        }
        const std::size_t length = lead >= 0x81 && lead <= 0xFE ? 2 : 1;
        if (length > gbk.size()) { // a lead byte cut off at the end
            out += kReplacement;
            break;
        }
        if (const auto c = decode_gbk(gbk, length)) {
            append_utf8(out, *c);
            gbk.remove_prefix(length);
        } else {
            out += kReplacement;
            gbk.remove_prefix(gbk_character_length(gbk));
        }
    }
    return out;
}

} // namespace tav
