// Windows bitmaps: BMP files and the device-independent bitmaps inside icons.
#include <bit>
#include <climits>

#include "core/byte_reader.hpp"
#include "gfx/picture_formats.hpp"

namespace tav::detail {

namespace {

constexpr std::uint64_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kLargestHeaderSize = 124;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiAlphaBitfields = 6;

// One colour channel as a bit mask: where it lies and how many bits it has.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    int bits = 0;

    static Channel of(std::uint32_t mask) {
        Channel c;
        c.mask = mask;
        if (mask == 0) return c;
        c.shift = std::countr_zero(mask);
        c.bits = std::min(std::popcount(mask >> c.shift), 16);
        return c;
    }
    std::uint32_t value(std::uint32_t pixel, std::uint32_t if_absent) const {
        if (bits == 0) return if_absent;
        const std::uint32_t max = (1u << bits) - 1u;
        const std::uint32_t v = (pixel & mask) >> shift & max;
        return (v * 255u + max / 2) / max;
    }
};

struct DibHeader {
    int width = 0;
    int height = 0; // rows of the colour image (half the stored height for icons)
    bool top_down = false;
    int bpp = 0;
    Channel red, green, blue, alpha;
    bool masked = false; // channels come from bit masks
    bool rle = false;    // run-length coded 4- or 8-bit indices
    std::uint64_t palette_at = 0;
    int palette_count = 0;
    int palette_entry = 4; // 3 for the old core header
    std::uint64_t data_after_palette = 0;
};

// Reads the info header at `at`; `icon` halves the height (colour rows and mask rows).
std::optional<DibHeader> read_dib_header(const ByteReader& r, std::uint64_t at, bool icon) {
    DibHeader h;
    const auto size = r.u32(at);
    if (!size) return std::nullopt;
    std::int64_t width = 0, height = 0;
    std::uint32_t compression = kBiRgb, used = 0;
    std::uint64_t header_end = at + *size;
    if (*size == kCoreHeaderSize) {
        const auto w = r.u16(at + 4), hh = r.u16(at + 6), bpp = r.u16(at + 10);
        if (!w || !hh || !bpp) return std::nullopt;
        width = *w;
        height = *hh;
        h.bpp = *bpp;
        h.palette_entry = 3;
    } else if (*size >= kInfoHeaderSize && *size <= kLargestHeaderSize) {
        const auto w = r.i32(at + 4), hh = r.i32(at + 8);
        const auto bpp = r.u16(at + 14);
        const auto comp = r.u32(at + 16), clr = r.u32(at + 32);
        if (!w || !hh || !bpp || !comp || !clr) return std::nullopt;
        if (*hh == INT_MIN) return std::nullopt;
        width = *w;
        height = *hh;
        h.bpp = *bpp;
        compression = *comp;
        used = *clr;
    } else {
        return std::nullopt;
    }

    if (height < 0) {
        h.top_down = true;
        height = -height;
    }
    if (icon) {
        if (h.top_down) return std::nullopt;
        height /= 2;
    }
    if (!pixel_count_allowed(width, height)) return std::nullopt;
    h.width = int(width);
    h.height = int(height);

    switch (h.bpp) {
        case 4:
        case 8:
            // Run-length coding is only defined for bottom-up pictures.
            h.rle = compression == (h.bpp == 8 ? kBiRle8 : kBiRle4) && !h.top_down && !icon;
            if (compression != kBiRgb && !h.rle) return std::nullopt;
            break;
        case 1:
        case 24:
            if (compression != kBiRgb) return std::nullopt;
            break;
        case 16:
        case 32:
            if (compression != kBiRgb && compression != kBiBitfields && compression != kBiAlphaBitfields)
                return std::nullopt;
            break;
        default: return std::nullopt;
    }

    if (compression == kBiRgb || h.rle) {
        if (h.bpp == 16) {
            h.masked = true;
            h.red = Channel::of(0x7C00);
            h.green = Channel::of(0x03E0);
            h.blue = Channel::of(0x001F);
        }
    } else {
        // Masks sit inside larger headers and right after a 40-byte one.
        const bool with_alpha = compression == kBiAlphaBitfields || *size >= 56;
        const auto rm = r.u32(at + 40), gm = r.u32(at + 44), bm = r.u32(at + 48);
        if (!rm || !gm || !bm) return std::nullopt;
        h.masked = true;
        h.red = Channel::of(*rm);
        h.green = Channel::of(*gm);
        h.blue = Channel::of(*bm);
        if (with_alpha) {
            const auto am = r.u32(at + 52);
            if (!am) return std::nullopt;
            h.alpha = Channel::of(*am);
        }
        if (*size == kInfoHeaderSize) header_end += with_alpha ? 16 : 12;
    }

    h.palette_at = header_end;
    if (h.bpp <= 8) {
        const std::uint32_t full = 1u << h.bpp;
        h.palette_count = int(used == 0 || used > full ? full : used);
        if (!r.has(h.palette_at, std::uint64_t(h.palette_count) * std::uint64_t(h.palette_entry))) return std::nullopt;
    }
    h.data_after_palette = h.palette_at + std::uint64_t(h.palette_count) * std::uint64_t(h.palette_entry);
    return h;
}

std::uint64_t row_stride(int width, int bpp) { return (std::uint64_t(width) * std::uint64_t(bpp) + 31) / 32 * 4; }

// Decodes run-length coded indices from `data` to the end of the block into `out`; false when
// the end-of-picture mark is missing or an index lies beyond the palette. Pixels the runs skip
// stay black.
bool decode_rle(const ByteReader& r, const DibHeader& h, std::uint64_t data, Argb (&palette)[256], Bitmap& out) {
    constexpr std::uint8_t kEscape = 0, kEndOfLine = 0, kEndOfPicture = 1, kDelta = 2;
    for (Argb& c : out.pixels()) c = 0xFF000000u;
    std::int64_t x = 0, row = 0;
    std::uint64_t at = data;
    auto put = [&](int index) {
        if (index >= h.palette_count) return false;
        if (x < h.width && row < h.height) out.set_pixel(int(x), int(h.height - 1 - row), palette[index]);
        ++x;
        return true;
    };
    for (;;) {
        const auto count = r.u8(at), value = r.u8(at + 1);
        if (!count || !value) return false;
        at += 2;
        if (*count != kEscape) {
            for (int i = 0; i < *count; ++i) {
                const int index = h.bpp == 8 ? *value : (i % 2 == 0 ? *value >> 4 : *value & 0x0F);
                if (!put(index)) return false;
            }
        } else if (*value == kEndOfLine) {
            x = 0;
            ++row;
        } else if (*value == kEndOfPicture) {
            return true;
        } else if (*value == kDelta) {
            const auto dx = r.u8(at), dy = r.u8(at + 1);
            if (!dx || !dy) return false;
            at += 2;
            x += *dx;
            row += *dy;
        } else {
            // Literal indices, padded to a whole 16-bit word.
            const std::uint64_t bytes = h.bpp == 8 ? *value : (std::uint64_t(*value) + 1) / 2;
            if (!r.has(at, bytes)) return false;
            for (int i = 0; i < *value; ++i) {
                const std::uint8_t b = *r.u8(at + (h.bpp == 8 ? std::uint64_t(i) : std::uint64_t(i) / 2));
                const int index = h.bpp == 8 ? b : (i % 2 == 0 ? b >> 4 : b & 0x0F);
                if (!put(index)) return false;
            }
            at += bytes + bytes % 2;
        }
    }
}

// Decodes the colour rows at `data` into `out`; false when rows are missing or an index lies
// beyond the palette. `keep_alpha` takes the fourth byte of 32-bit pixels as alpha.
bool decode_rows(const ByteReader& r, const DibHeader& h, std::uint64_t data, bool keep_alpha, Bitmap& out) {
    Argb palette[256] = {};
    for (int i = 0; i < h.palette_count; ++i) {
        const std::uint64_t at = h.palette_at + std::uint64_t(i) * std::uint64_t(h.palette_entry);
        palette[i] = rgb(*r.u8(at + 2), *r.u8(at + 1), *r.u8(at));
    }
    if (h.rle) return decode_rle(r, h, data, palette, out);

    const std::uint64_t stride = row_stride(h.width, h.bpp);
    const std::uint64_t last_row = (std::uint64_t(h.width) * std::uint64_t(h.bpp) + 7) / 8;
    // The last row may come without its padding.
    if (!r.has(data, stride * std::uint64_t(h.height - 1) + last_row)) return false;

    bool any_alpha = false;
    for (int row = 0; row < h.height; ++row) {
        const int y = h.top_down ? row : h.height - 1 - row;
        const std::uint8_t* src = r.bytes().data() + data + stride * std::uint64_t(row);
        auto dst = out.row(y);
        for (int x = 0; x < h.width; ++x) {
            Argb c = 0;
            switch (h.bpp) {
                case 1:
                case 4:
                case 8: {
                    const int bit = x * h.bpp;
                    const int shift = 8 - h.bpp - bit % 8;
                    const int index = (src[bit / 8] >> shift) & ((1 << h.bpp) - 1);
                    if (index >= h.palette_count) return false;
                    c = palette[index];
                    break;
                }
                case 16: {
                    const std::uint32_t v = src[2 * x] | (std::uint32_t(src[2 * x + 1]) << 8);
                    c = rgb(std::uint8_t(h.red.value(v, 0)), std::uint8_t(h.green.value(v, 0)),
                            std::uint8_t(h.blue.value(v, 0))) &
                        0x00FFFFFFu;
                    c |= h.alpha.value(v, 255) << 24;
                    break;
                }
                case 24: c = rgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]); break;
                case 32: {
                    const std::uint8_t* p = src + 4 * x;
                    const std::uint32_t v =
                        p[0] | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) | (std::uint32_t(p[3]) << 24);
                    if (h.masked) {
                        c = (rgb(std::uint8_t(h.red.value(v, 0)), std::uint8_t(h.green.value(v, 0)),
                                 std::uint8_t(h.blue.value(v, 0))) &
                             0x00FFFFFFu) |
                            (h.alpha.value(v, 255) << 24);
                    } else {
                        c = (v & 0x00FFFFFFu) | (keep_alpha ? v & 0xFF000000u : 0xFF000000u);
                    }
                    break;
                }
                default: return false;
            }
            any_alpha = any_alpha || (c >> 24) != 0;
            dst[std::size_t(x)] = c;
        }
    }
    // A picture whose alpha is zero everywhere never meant it: show it opaque.
    if (!any_alpha) {
        for (Argb& c : out.pixels()) c |= 0xFF000000u;
    }
    return true;
}

} // namespace

std::optional<Size> bmp_size(std::span<const std::uint8_t> bytes) {
    const ByteReader r(bytes);
    const auto h = read_dib_header(r, kFileHeaderSize, false);
    if (!h) return std::nullopt;
    return Size{h->width, h->height};
}

std::optional<Bitmap> decode_bmp(std::span<const std::uint8_t> bytes) {
    const ByteReader r(bytes);
    const auto h = read_dib_header(r, kFileHeaderSize, false);
    const auto offset = r.u32(10);
    if (!h || !offset) return std::nullopt;
    const std::uint64_t data = *offset != 0 ? *offset : h->data_after_palette;
    Bitmap out(h->width, h->height, 0);
    if (!decode_rows(r, *h, data, h->alpha.bits != 0, out)) return std::nullopt;
    return out;
}

std::optional<Bitmap> decode_icon_dib(std::span<const std::uint8_t> bytes) {
    const ByteReader r(bytes);
    const auto h = read_dib_header(r, 0, true);
    if (!h || h->height == 0) return std::nullopt;
    Bitmap out(h->width, h->height, 0);
    if (!decode_rows(r, *h, h->data_after_palette, true, out)) return std::nullopt;

    // Pictures without their own alpha take it from the AND mask: set bits are transparent.
    bool has_alpha = false;
    if (h->bpp == 32) {
        for (Argb c : out.pixels()) has_alpha = has_alpha || (c >> 24) != 0xFF;
    }
    if (has_alpha) return out;
    const std::uint64_t mask_at = h->data_after_palette + row_stride(h->width, h->bpp) * std::uint64_t(h->height);
    const std::uint64_t mask_stride = row_stride(h->width, 1);
    if (!r.has(mask_at, mask_stride * std::uint64_t(h->height))) return out; // no mask: opaque
    for (int row = 0; row < h->height; ++row) {
        const std::uint8_t* m = bytes.data() + mask_at + mask_stride * std::uint64_t(row);
        auto dst = out.row(h->height - 1 - row);
        for (int x = 0; x < h->width; ++x) {
            if ((m[x / 8] >> (7 - x % 8)) & 1) dst[std::size_t(x)] &= 0x00FFFFFFu;
        }
    }
    return out;
}

} // namespace tav::detail
