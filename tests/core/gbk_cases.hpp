#pragma once
// The inputs on which the Windows build's GBK conversion is checked against the Linux build's:
// every sequence the game's texts can hold, in one fixed order shared by the table maker and
// the test.

#include <cstdint>
#include <string>

namespace tav::gbk_cases {

// Every single byte 0x01..0xFF, then every pair of a byte 0x80..0xFF and a byte 0x01..0xFF
// (texts end at a zero byte; a byte below 0x80 is a character on its own).
template <class Visit>
void for_each_gbk(Visit visit) {
    for (int b = 1; b <= 0xFF; ++b) visit(std::string(1, char(b)));
    for (int lead = 0x80; lead <= 0xFF; ++lead) {
        for (int trail = 1; trail <= 0xFF; ++trail) visit(std::string{char(lead), char(trail)});
    }
}

// The UTF-8 form of every code point U+0001..U+FFFF (the surrogates too, which are malformed
// in UTF-8) and of a few beyond, each with an "x" after it, then each lead byte alone.
template <class Visit>
void for_each_utf8(Visit visit) {
    const auto encode = [](std::uint32_t c) {
        std::string s;
        if (c < 0x80) {
            s += char(c);
        } else if (c < 0x800) {
            s += char(0xC0 | (c >> 6));
            s += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            s += char(0xE0 | (c >> 12));
            s += char(0x80 | ((c >> 6) & 0x3F));
            s += char(0x80 | (c & 0x3F));
        } else {
            s += char(0xF0 | (c >> 18));
            s += char(0x80 | ((c >> 12) & 0x3F));
            s += char(0x80 | ((c >> 6) & 0x3F));
            s += char(0x80 | (c & 0x3F));
        }
        return s;
    };
    for (std::uint32_t c = 1; c <= 0xFFFF; ++c) visit(encode(c) + "x");
    for (std::uint32_t c : {0x10000u, 0x1F600u, 0x10FFFFu}) visit(encode(c) + "x");
    for (int b = 0x80; b <= 0xFF; ++b) visit(std::string(1, char(b)) + "x");
}

} // namespace tav::gbk_cases
