// Icon and cursor files: a directory of pictures, of which the largest is shown.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/byte_reader.hpp"
#include "gfx/picture_formats.hpp"

namespace tav::detail {

namespace {

constexpr std::uint64_t kDirectoryHeader = 6;
constexpr std::uint64_t kEntrySize = 16;
constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct Entry {
    int width = 0; // as the directory says (0 stands for 256)
    int height = 0;
    int bpp = 0;
    std::span<const std::uint8_t> data;
};

// The directory's entries whose data lie inside the file, best first is up to the caller.
std::vector<Entry> read_entries(const ByteReader& r) {
    std::vector<Entry> entries;
    const auto count = r.u16(4);
    if (!count) return entries;
    for (std::uint64_t i = 0; i < *count; ++i) {
        const std::uint64_t at = kDirectoryHeader + i * kEntrySize;
        const auto w = r.u8(at), h = r.u8(at + 1);
        const auto bpp = r.u16(at + 6);
        const auto len = r.u32(at + 8), off = r.u32(at + 12);
        if (!w || !h || !bpp || !len || !off) break;
        const auto data = r.slice(*off, *len);
        if (data.empty()) continue;
        entries.push_back({*w ? *w : 256, *h ? *h : 256, *bpp, data});
    }
    return entries;
}

bool is_png(std::span<const std::uint8_t> d) {
    return d.size() >= sizeof kPngSignature && std::memcmp(d.data(), kPngSignature, sizeof kPngSignature) == 0;
}

// Bits per pixel of an entry from its own header, which is more reliable than the directory.
int entry_depth(const Entry& e) {
    const ByteReader r(e.data);
    const auto bpp = r.u16(14);
    return bpp ? *bpp : e.bpp;
}

// True when `a` is a better pick than `b`: larger first, then deeper colour.
bool better(const Entry& a, const Entry& b) {
    const long area_a = long(a.width) * a.height, area_b = long(b.width) * b.height;
    if (area_a != area_b) return area_a > area_b;
    return entry_depth(a) > entry_depth(b);
}

} // namespace

// PNG-compressed entries are skipped: there is no PNG decoder here.
std::optional<Bitmap> decode_icon(std::span<const std::uint8_t> bytes) {
    std::vector<Entry> entries = read_entries(ByteReader(bytes));
    std::erase_if(entries, [](const Entry& e) { return is_png(e.data); });
    std::sort(entries.begin(), entries.end(), better);
    for (const Entry& e : entries) {
        if (auto bmp = decode_icon_dib(e.data)) return bmp;
    }
    return std::nullopt;
}

std::optional<Size> icon_size(std::span<const std::uint8_t> bytes) {
    std::vector<Entry> entries = read_entries(ByteReader(bytes));
    std::erase_if(entries, [](const Entry& e) { return is_png(e.data); });
    if (entries.empty()) return std::nullopt;
    const Entry& best = *std::min_element(entries.begin(), entries.end(), better);
    return Size{best.width, best.height};
}

} // namespace tav::detail
