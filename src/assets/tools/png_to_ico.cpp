// Build-time tool: packs PNG pictures into one Windows icon file (each image stored as PNG).
//
//   png_to_ico OUT.ico IN.png...
//
// The images are listed in the order given; each must be a PNG of at most 256 x 256 pixels.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/byte_reader.hpp"

namespace {

// The width and height in a PNG's IHDR chunk, which follows the 8-byte signature.
constexpr std::uint64_t kWidthAt = 16, kHeightAt = 20;
constexpr std::uint32_t kLargestSide = 256;

void put16(std::string& out, unsigned v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}

void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.ico IN.png...\n", argv[0]);
        return 2;
    }
    std::vector<std::vector<unsigned char>> images;
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const tav::ByteReader png(bytes);
        const auto width = png.u32_big_endian(kWidthAt), height = png.u32_big_endian(kHeightAt);
        if (!width || !height || bytes[1] != 'P' || bytes[2] != 'N' || bytes[3] != 'G' || *width > kLargestSide ||
            *height > kLargestSide) {
            std::fprintf(stderr, "png_to_ico: '%s' is not a PNG of at most 256 x 256 pixels\n", argv[i]);
            return 1;
        }
        images.push_back(std::move(bytes));
    }
    std::string out;
    put16(out, 0);
    put16(out, 1); // an icon
    put16(out, unsigned(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (const auto& image : images) {
        const tav::ByteReader png(image);
        out += char(*png.u32_big_endian(kWidthAt) & 0xFF); // 256 is written as 0
        out += char(*png.u32_big_endian(kHeightAt) & 0xFF);
        out += '\0'; // no palette
        out += '\0';
        put16(out, 1);  // planes
        put16(out, 32); // bits per pixel
        put32(out, std::uint32_t(image.size()));
        put32(out, offset);
        offset += std::uint32_t(image.size());
    }
    for (const auto& image : images) out.append(image.begin(), image.end());
    std::ofstream file(argv[1], std::ios::binary);
    file << out;
    if (!file) {
        std::fprintf(stderr, "png_to_ico: cannot write '%s'\n", argv[1]);
        return 1;
    }
    return 0;
}
