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

namespace {

std::uint32_t big_endian(const std::vector<unsigned char>& b, std::size_t at) {
    return std::uint32_t(b[at]) << 24 | std::uint32_t(b[at + 1]) << 16 | std::uint32_t(b[at + 2]) << 8 | b[at + 3];
}

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
        // The signature, then IHDR with the width and height.
        if (bytes.size() < 24 || bytes[1] != 'P' || bytes[2] != 'N' || bytes[3] != 'G' || big_endian(bytes, 16) > 256 ||
            big_endian(bytes, 20) > 256) {
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
        out += char(big_endian(image, 16) & 0xFF); // 256 is written as 0
        out += char(big_endian(image, 20) & 0xFF);
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
