// GIF pictures: the first frame, placed on the logical screen, with its transparent colour.
#include <algorithm>
#include <array>
#include <vector>

#include "core/byte_reader.hpp"
#include "gfx/picture_formats.hpp"

namespace tav::detail {

namespace {

constexpr std::uint64_t kScreenDescriptorAt = 6;
constexpr std::uint64_t kAfterScreenDescriptor = 13;
constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kImage = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kGraphicControl = 0xF9;
constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

// Follows a chain of data sub-blocks from `at`; appends their bytes to `out` when given.
// Returns the offset after the terminator, or nothing when the chain runs off the end.
std::optional<std::uint64_t> sub_blocks(const ByteReader& r, std::uint64_t at, std::vector<std::uint8_t>* out) {
    for (;;) {
        const auto len = r.u8(at);
        if (!len) return std::nullopt;
        ++at;
        if (*len == 0) return at;
        const auto data = r.slice(at, *len);
        if (data.empty()) return std::nullopt;
        if (out) out->insert(out->end(), data.begin(), data.end());
        at += *len;
    }
}

// Reads LSB-first variable-width codes.
class CodeReader {
public:
    explicit CodeReader(const std::vector<std::uint8_t>& data) : data_(data) {}
    // The next code of `bits` bits, or -1 at the end of the data.
    int next(int bits) {
        while (have_ < bits) {
            if (pos_ >= data_.size()) return -1;
            acc_ |= std::uint32_t(data_[pos_++]) << have_;
            have_ += 8;
        }
        const int code = int(acc_ & ((1u << bits) - 1u));
        acc_ >>= bits;
        have_ -= bits;
        return code;
    }

private:
    const std::vector<std::uint8_t>& data_;
    std::size_t pos_ = 0;
    std::uint32_t acc_ = 0;
    int have_ = 0;
};

// Decodes LZW data into at most `out.size()` colour indices; returns how many were written.
std::size_t lzw(const std::vector<std::uint8_t>& data, int min_bits, std::vector<std::uint8_t>& out) {
    std::array<std::uint16_t, kMaxCodes> prefix{};
    std::array<std::uint8_t, kMaxCodes> suffix{};
    std::array<std::uint8_t, kMaxCodes + 1> stack{};
    const int clear = 1 << min_bits, end = clear + 1;
    for (int i = 0; i < clear; ++i) suffix[std::size_t(i)] = std::uint8_t(i);
    int bits = min_bits + 1, next = clear + 2, prev = -1;
    std::uint8_t first = 0;
    std::size_t written = 0;
    CodeReader codes(data);
    while (written < out.size()) {
        int code = codes.next(bits);
        if (code < 0 || code == end) break;
        if (code == clear) {
            bits = min_bits + 1;
            next = clear + 2;
            prev = -1;
            continue;
        }
        if (prev < 0) {
            if (code > clear) break;
            first = std::uint8_t(code);
            out[written++] = first;
            prev = code;
            continue;
        }
        const int in = code;
        std::size_t depth = 0;
        if (code == next) {
            stack[depth++] = first;
            code = prev;
        } else if (code > next) {
            break;
        }
        // Each table entry's prefix is an earlier entry, so this walk ends within the table.
        while (code >= clear) {
            stack[depth++] = suffix[std::size_t(code)];
            code = prefix[std::size_t(code)];
        }
        first = std::uint8_t(code);
        stack[depth++] = first;
        if (next < kMaxCodes) {
            prefix[std::size_t(next)] = std::uint16_t(prev);
            suffix[std::size_t(next)] = first;
            ++next;
            if (next == (1 << bits) && bits < kMaxCodeBits) ++bits;
        }
        prev = in;
        while (depth > 0 && written < out.size()) out[written++] = stack[--depth];
    }
    return written;
}

struct Screen {
    int width = 0;
    int height = 0;
    std::uint64_t global_table = 0; // offset of the global colour table, 0 if none
    int global_count = 0;
    std::uint64_t blocks_at = 0;
};

std::optional<Screen> read_screen(const ByteReader& r) {
    const auto w = r.u16(kScreenDescriptorAt), h = r.u16(kScreenDescriptorAt + 2);
    const auto flags = r.u8(kScreenDescriptorAt + 4);
    if (!w || !h || !flags) return std::nullopt;
    Screen s{*w, *h, 0, 0, kAfterScreenDescriptor};
    if (*flags & 0x80) {
        s.global_table = kAfterScreenDescriptor;
        s.global_count = 2 << (*flags & 7);
        s.blocks_at += std::uint64_t(s.global_count) * 3;
        if (!r.has(s.global_table, std::uint64_t(s.global_count) * 3)) return std::nullopt;
    }
    return s;
}

} // namespace

namespace {

// The first frame's descriptor and the transparent index of the extensions before it.
struct FrameStart {
    std::uint64_t at = 0; // offset of the image descriptor
    int left = 0, top = 0, width = 0, height = 0;
    std::uint8_t flags = 0;
    int transparent = -1;
};

std::optional<FrameStart> find_first_frame(const ByteReader& r, const Screen& screen) {
    FrameStart f;
    std::uint64_t at = screen.blocks_at;
    for (;;) {
        const auto kind = r.u8(at);
        if (!kind || *kind == kTrailer) return std::nullopt; // no frame at all
        if (*kind == kExtension) {
            const auto label = r.u8(at + 1);
            if (!label) return std::nullopt;
            if (*label == kGraphicControl) {
                const auto size = r.u8(at + 2), flags = r.u8(at + 3), index = r.u8(at + 6);
                if (!size || !flags || !index) return std::nullopt;
                f.transparent = (*flags & 1) ? *index : -1;
            }
            const auto after = sub_blocks(r, at + 2, nullptr);
            if (!after) return std::nullopt;
            at = *after;
            continue;
        }
        if (*kind != kImage) return std::nullopt;
        break;
    }
    const auto left = r.u16(at + 1), top = r.u16(at + 3), fw = r.u16(at + 5), fh = r.u16(at + 7);
    const auto flags = r.u8(at + 9);
    if (!left || !top || !fw || !fh || !flags) return std::nullopt;
    f.at = at;
    f.left = *left;
    f.top = *top;
    f.width = *fw;
    f.height = *fh;
    f.flags = *flags;
    return f;
}

} // namespace

// The canvas the decoder draws on: the logical screen, grown to the first frame when it reaches
// beyond it; the screen alone when no frame can be found.
std::optional<Size> gif_size(std::span<const std::uint8_t> bytes) {
    const ByteReader r(bytes);
    const auto s = read_screen(r);
    if (!s) return std::nullopt;
    int w = s->width, h = s->height;
    if (const auto frame = find_first_frame(r, *s)) {
        w = std::max(w, frame->left + frame->width);
        h = std::max(h, frame->top + frame->height);
    }
    if (!pixel_count_allowed(w, h)) return std::nullopt;
    return Size{w, h};
}

std::optional<Bitmap> decode_gif(std::span<const std::uint8_t> bytes) {
    const ByteReader r(bytes);
    const auto screen = read_screen(r);
    if (!screen) return std::nullopt;
    const auto frame = find_first_frame(r, *screen);
    if (!frame) return std::nullopt;
    const int transparent = frame->transparent;
    const int left = frame->left, top = frame->top, fw = frame->width, fh = frame->height;
    const std::uint8_t flags = frame->flags;
    std::uint64_t at = frame->at + 10;
    std::uint64_t table = screen->global_table;
    int table_count = screen->global_count;
    if (flags & 0x80) {
        table = at;
        table_count = 2 << (flags & 7);
        if (!r.has(table, std::uint64_t(table_count) * 3)) return std::nullopt;
        at += std::uint64_t(table_count) * 3;
    }
    if (table_count == 0) return std::nullopt;
    const auto min_bits = r.u8(at);
    if (!min_bits || *min_bits < 2 || *min_bits > 8) return std::nullopt;
    std::vector<std::uint8_t> data;
    if (!sub_blocks(r, at + 1, &data)) return std::nullopt;

    // The canvas is the logical screen, grown if the frame reaches beyond it.
    const int cw = std::max<int>(screen->width, left + fw), ch = std::max<int>(screen->height, top + fh);
    if (!pixel_count_allowed(cw, ch) || fw == 0 || fh == 0) return std::nullopt;
    std::vector<std::uint8_t> indices(std::size_t(fw) * fh, 0);
    const std::size_t got = lzw(data, *min_bits, indices);
    if (got == 0) return std::nullopt;

    Bitmap out(cw, ch, 0);
    const bool interlaced = (flags & 0x40) != 0;
    // Interlaced rows come in four passes: every 8th from 0, every 8th from 4, every 4th from
    // 2, every 2nd from 1.
    std::vector<int> row_of(fh);
    if (interlaced) {
        static constexpr int kStart[4] = {0, 4, 2, 1}, kStep[4] = {8, 8, 4, 2};
        int n = 0;
        for (int pass = 0; pass < 4; ++pass)
            for (int y = kStart[pass]; y < fh; y += kStep[pass]) row_of[std::size_t(n++)] = y;
    } else {
        for (int y = 0; y < fh; ++y) row_of[std::size_t(y)] = y;
    }
    for (std::size_t i = 0; i < got; ++i) {
        const int index = indices[i];
        const int x = left + int(i % fw), y = top + row_of[i / fw];
        if (index == transparent) continue; // stays alpha 0
        Argb c = rgb(0, 0, 0);
        if (index < table_count) {
            const std::uint64_t p = table + std::uint64_t(index) * 3;
            c = rgb(*r.u8(p), *r.u8(p + 1), *r.u8(p + 2));
        }
        out.set_pixel(x, y, c);
    }
    return out;
}

} // namespace tav::detail
