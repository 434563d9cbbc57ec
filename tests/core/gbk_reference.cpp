// Build-time tool: writes the Linux build's GBK conversions of every one- and two-byte GBK
// sequence and of every character up to U+FFFF (and a few beyond) as a C++ table, so that the
// Windows build can check its own conversion against them.
//
//   gbk_reference OUT.cpp
//
// The table is a sequence of results, in the order gbk_cases.hpp lists the inputs, each a
// length byte followed by that many bytes.

#include <cstdio>
#include <fstream>
#include <string>

#include "core/gbk.hpp"
#include "gbk_cases.hpp"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.cpp\n", argv[0]);
        return 2;
    }
    std::string table;
    const auto add = [&table](const std::string& result) {
        if (result.size() > 255) std::abort();
        table += char(result.size());
        table += result;
    };
    tav::gbk_cases::for_each_gbk([&](const std::string& in) { add(tav::gbk_to_utf8(in)); });
    tav::gbk_cases::for_each_utf8([&](const std::string& in) { add(tav::utf8_to_gbk(in)); });

    std::string text = "// Generated at build time by gbk_reference from the Linux GBK conversion; do not edit.\n"
                       "#include <string_view>\n\nnamespace tav::gbk_cases {\n"
                       "extern const std::string_view kLinuxResults;\nconst std::string_view kLinuxResults{\n\"";
    std::size_t line = 0;
    char octal[8];
    for (const char c : table) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
            text += c;
            ++line;
        } else {
            std::snprintf(octal, sizeof octal, "\\%03o", b);
            text += octal;
            line += 4;
        }
        if (line >= 96) {
            text += "\"\n\"";
            line = 0;
        }
    }
    text += "\", " + std::to_string(table.size()) + "};\n\n} // namespace tav::gbk_cases\n";

    const std::string path = argv[1];
    std::ofstream out(path + ".tmp", std::ios::binary);
    out << text;
    out.close();
    if (!out || std::rename((path + ".tmp").c_str(), path.c_str()) != 0) {
        std::fprintf(stderr, "gbk_reference: cannot write '%s'\n", path.c_str());
        return 1;
    }
    return 0;
}
