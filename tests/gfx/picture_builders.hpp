#pragma once
// Small picture files made in code for the decoder tests.

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "gfx/bitmap.hpp"

namespace tav::test {

using Bytes = std::vector<std::uint8_t>;

inline void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}
inline void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
}

// A BMP file of `bpp` bits: `value(x, y)` gives each pixel's stored value (palette index or
// packed colour, y counted from the top); `masks` (if any) follow a 40-byte header as
// BI_BITFIELDS.
inline Bytes make_bmp(int w, int h, int bpp, bool top_down, const std::vector<Argb>& palette,
                      const std::function<std::uint32_t(int, int)>& value,
                      const std::vector<std::uint32_t>& masks = {}) {
    const std::size_t stride = (std::size_t(w) * std::size_t(bpp) + 31) / 32 * 4;
    const std::size_t header = 14 + 40 + masks.size() * 4 + palette.size() * 4;
    Bytes b(header + stride * std::size_t(h), 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, std::uint32_t(b.size()));
    put32(b, 10, std::uint32_t(header));
    put32(b, 14, 40);
    put32(b, 18, std::uint32_t(w));
    put32(b, 22, std::uint32_t(top_down ? -h : h));
    put16(b, 26, 1);
    put16(b, 28, std::uint32_t(bpp));
    put32(b, 30, masks.empty() ? 0 : 3);
    put32(b, 46, std::uint32_t(palette.size()));
    std::size_t at = 54;
    for (std::uint32_t m : masks) put32(b, at, m), at += 4;
    for (Argb c : palette) put32(b, at, c & 0x00FFFFFFu), at += 4;
    for (int y = 0; y < h; ++y) {
        const std::size_t row = header + stride * std::size_t(top_down ? y : h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const std::uint32_t v = value(x, y);
            const std::size_t bit = std::size_t(x) * std::size_t(bpp);
            if (bpp < 8) {
                b[row + bit / 8] |= std::uint8_t(v << (8 - bpp - bit % 8));
            } else {
                for (int i = 0; i < bpp / 8; ++i) b[row + bit / 8 + std::size_t(i)] = std::uint8_t(v >> (8 * i));
            }
        }
    }
    return b;
}

// Real LZW coding of `indices` as GIF codes (LSB first), with a clear code when the table fills.
inline Bytes lzw_encode(const std::vector<std::uint8_t>& indices, int min_bits) {
    Bytes out;
    std::uint32_t acc = 0;
    int have = 0, bits = min_bits + 1;
    const int clear = 1 << min_bits;
    auto emit = [&](int code) {
        acc |= std::uint32_t(code) << have;
        have += bits;
        while (have >= 8) {
            out.push_back(std::uint8_t(acc));
            acc >>= 8;
            have -= 8;
        }
    };
    std::map<std::pair<int, int>, int> dict;
    int next = clear + 2;
    emit(clear);
    int prefix = -1;
    for (std::uint8_t c : indices) {
        if (prefix < 0) {
            prefix = c;
            continue;
        }
        const auto it = dict.find({prefix, c});
        if (it != dict.end()) {
            prefix = it->second;
            continue;
        }
        emit(prefix);
        dict[{prefix, c}] = next++;
        if (next > (1 << bits) && bits < 12) ++bits;
        if (next == 4096) {
            emit(clear);
            dict.clear();
            next = clear + 2;
            bits = min_bits + 1;
        }
        prefix = c;
    }
    if (prefix >= 0) emit(prefix);
    emit(clear + 1);
    if (have > 0) out.push_back(std::uint8_t(acc));
    return out;
}

// A GIF of one frame; uncompressed, a clear code before every two indices keeps the code width
// at min_bits + 1.
inline Bytes make_gif(int w, int h, const std::vector<Argb>& table, const std::vector<std::uint8_t>& indices,
                      int transparent = -1, bool compress = false) {
    int bits_per_entry = 1;
    while ((2 << (bits_per_entry - 1)) < int(table.size())) ++bits_per_entry;
    const int min_bits = std::max(2, bits_per_entry);
    Bytes b = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, std::uint8_t(0x80 | (bits_per_entry - 1)), 0, 0};
    put16(b, 6, std::uint32_t(w));
    put16(b, 8, std::uint32_t(h));
    for (int i = 0; i < (2 << (bits_per_entry - 1)); ++i) {
        const Argb c = i < int(table.size()) ? table[std::size_t(i)] : 0;
        b.insert(b.end(), {red_of(c), green_of(c), blue_of(c)});
    }
    if (transparent >= 0) b.insert(b.end(), {0x21, 0xF9, 4, 1, 0, 0, std::uint8_t(transparent), 0});
    b.insert(b.end(), {0x2C, 0, 0, 0, 0, std::uint8_t(w), std::uint8_t(w >> 8), std::uint8_t(h), std::uint8_t(h >> 8),
                       0, std::uint8_t(min_bits)});
    Bytes codes;
    std::uint32_t acc = 0;
    int have = 0;
    const int width = min_bits + 1, clear = 1 << min_bits;
    auto emit = [&](int code) {
        acc |= std::uint32_t(code) << have;
        have += width;
        while (have >= 8) {
            codes.push_back(std::uint8_t(acc));
            acc >>= 8;
            have -= 8;
        }
    };
    if (compress) {
        codes = lzw_encode(indices, min_bits);
    } else {
        for (std::size_t i = 0; i < indices.size(); ++i) {
            if (i % 2 == 0) emit(clear);
            emit(indices[i]);
        }
        emit(clear + 1);
        if (have > 0) codes.push_back(std::uint8_t(acc));
    }
    for (std::size_t i = 0; i < codes.size(); i += 255) {
        const std::size_t n = std::min<std::size_t>(255, codes.size() - i);
        b.push_back(std::uint8_t(n));
        b.insert(b.end(), codes.begin() + long(i), codes.begin() + long(i + n));
    }
    b.push_back(0);
    b.push_back(0x3B);
    return b;
}

} // namespace tav::test
