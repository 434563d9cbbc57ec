// Build-time tool: turns asset files into a C++ source of immutable byte arrays.
//
//   tavrino_embed OUT.cpp NAME=FILE...
//
// Each NAME becomes `const std::span<const std::uint8_t> NAME` in namespace tav::assets::embedded,
// over a static array with the file's bytes, so the program needs no file at run time.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kBytesPerLine = 24;

bool read_file(const std::string& path, std::vector<unsigned char>& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUT.cpp NAME=FILE...\n", argv[0]);
        return 2;
    }
    std::string text = "// Generated at build time by tavrino_embed from src/assets/data; do not edit.\n"
                       "#include <cstdint>\n#include <span>\n\nnamespace tav::assets::embedded {\n";
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) {
            std::fprintf(stderr, "tavrino_embed: expected NAME=FILE, got '%s'\n", arg.c_str());
            return 2;
        }
        const std::string name = arg.substr(0, eq);
        const std::string path = arg.substr(eq + 1);
        std::vector<unsigned char> bytes;
        if (!read_file(path, bytes) || bytes.empty()) {
            std::fprintf(stderr, "tavrino_embed: cannot read '%s'\n", path.c_str());
            return 1;
        }
        text += "\nnamespace {\nalignas(4) const std::uint8_t " + name + "Bytes[] = {";
        for (std::size_t k = 0; k < bytes.size(); ++k) {
            if (k % kBytesPerLine == 0) text += "\n    ";
            text += std::to_string(bytes[k]);
            text += ',';
        }
        text += "\n};\n}  // namespace\n";
        text += "extern const std::span<const std::uint8_t> " + name + ";\n";
        text += "const std::span<const std::uint8_t> " + name + "{" + name + "Bytes};\n";
    }
    text += "\n}  // namespace tav::assets::embedded\n";

    // Written to a temporary name first, so an interrupted run never leaves half a source behind.
    const std::string out_path = argv[1];
    const std::string tmp_path = out_path + ".tmp";
    {
        std::ofstream out(tmp_path, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            std::fprintf(stderr, "tavrino_embed: cannot write '%s'\n", tmp_path.c_str());
            return 1;
        }
    }
    if (std::rename(tmp_path.c_str(), out_path.c_str()) != 0) {
        std::fprintf(stderr, "tavrino_embed: cannot replace '%s'\n", out_path.c_str());
        return 1;
    }
    return 0;
}
