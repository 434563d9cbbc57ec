// Build-time tool: decodes pictures with the program's own decoders (the same libjpeg) and
// writes their pixels as a C++ source, so the program takes them from static data.
//
//   tavrino_predecode OUT.cpp NAME=FILE[@WIDTHxHEIGHT]...
//
// Each NAME, an embedded file's name in tav::assets::embedded, becomes one entry of
// tav::assets::predecoded::kPictures: its pixels and, with @WIDTHxHEIGHT, a copy scaled to that
// size with the program's resampler.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "gfx/picture.hpp"
#include "gfx/scale.hpp"

namespace {

constexpr std::size_t kPixelsPerLine = 8;

bool read_file(const std::string& path, std::vector<std::uint8_t>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

void append_pixels(std::string& text, const std::string& name, const tav::Bitmap& image) {
    text += "const std::uint32_t " + name + "[] = {";
    const auto pixels = image.pixels();
    for (std::size_t k = 0; k < pixels.size(); ++k) {
        if (k % kPixelsPerLine == 0) text += "\n    ";
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%08X,", static_cast<unsigned>(pixels[k]));
        text += hex;
    }
    text += "\n};\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.cpp NAME=FILE[@WIDTHxHEIGHT]...\n", argv[0]);
        return 2;
    }
    std::string pixels = "namespace {\n";
    std::string table = "const PredecodedPicture kTable[] = {\n";
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto eq = arg.find('=');
        const auto at = arg.find('@', eq);
        tav::Size scaled_to;
        if (eq == std::string::npos || eq == 0 ||
            (at != std::string::npos &&
             std::sscanf(arg.c_str() + at + 1, "%dx%d", &scaled_to.width, &scaled_to.height) != 2)) {
            std::fprintf(stderr, "tavrino_predecode: expected NAME=FILE[@WIDTHxHEIGHT], got '%s'\n", arg.c_str());
            return 2;
        }
        const std::string name = arg.substr(0, eq);
        const std::string path = arg.substr(eq + 1, at == std::string::npos ? std::string::npos : at - eq - 1);
        std::vector<std::uint8_t> bytes;
        const auto image = read_file(path, bytes) ? tav::decode_picture(bytes) : std::nullopt;
        if (!image || image->empty()) {
            std::fprintf(stderr, "tavrino_predecode: cannot decode '%s'\n", path.c_str());
            return 1;
        }
        append_pixels(pixels, name + "Pixels", *image);
        std::string scaled = "0, 0, nullptr";
        if (scaled_to.width > 0 && scaled_to.height > 0) {
            append_pixels(pixels, name + "Scaled", tav::resample(*image, scaled_to));
            scaled = std::to_string(scaled_to.width) + ", " + std::to_string(scaled_to.height) + ", " + name + "Scaled";
        }
        table += "    {&embedded::" + name + ", " + std::to_string(image->width()) + ", " +
                 std::to_string(image->height()) + ", " + name + "Pixels, " + scaled + "},\n";
    }
    const std::string text = "// Generated at build time by tavrino_predecode from src/assets/data; do not edit.\n"
                             "#include \"assets/embedded.hpp\"\n\nnamespace tav::assets::predecoded {\n" +
                             pixels + table + "};\n}  // namespace\n\n" +
                             "const std::span<const PredecodedPicture> kPictures{kTable};\n\n"
                             "}  // namespace tav::assets::predecoded\n";

    // Written to a temporary name first, so an interrupted run never leaves half a source behind.
    const std::string out_path = argv[1];
    const std::string tmp_path = out_path + ".tmp";
    {
        std::ofstream out(tmp_path, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            std::fprintf(stderr, "tavrino_predecode: cannot write '%s'\n", tmp_path.c_str());
            return 1;
        }
    }
    if (std::rename(tmp_path.c_str(), out_path.c_str()) != 0) {
        std::fprintf(stderr, "tavrino_predecode: cannot replace '%s'\n", out_path.c_str());
        return 1;
    }
    return 0;
}
