// Picking face files for the face names of font records on Windows: the standard Chinese faces
// from the Fonts folder, then the stand-ins the Linux build uses when they are installed there
// (the test prefix has them, so both builds draw alike), then Microsoft YaHei.
#include <windows.h>

#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

#include "core/gbk.hpp"
#include "gfx/font.hpp"
#include "gfx/font_file.hpp"
#include "gfx/logfont.hpp"
#include "gfx/windows_faces.hpp"

namespace tav {
namespace {

// One face in a file of the Fonts folder: `family` picks it out of a collection.
struct FaceFile {
    const char* file;
    const char* family;
    bool bold; // the face is bold by design
};

struct FaceAlias {
    std::string_view name; // UTF-8
    std::vector<FaceFile> faces;
};

const std::vector<FaceFile> kSongFaces = {{"simsun.ttc", "SimSun", false},
                                          {"uming.ttc", "AR PL UMing CN", false},
                                          {"NotoSerifCJK-Bold.ttc", "Noto Serif CJK SC", true},
                                          {"NotoSerifCJK-Regular.ttc", "Noto Serif CJK SC", false}};
const std::vector<FaceFile> kKaiFaces = {{"simkai.ttf", "KaiTi", false},
                                         {"ukai.ttc", "AR PL UKai CN", false},
                                         {"NotoSerifCJK-Bold.ttc", "Noto Serif CJK SC", true},
                                         {"NotoSerifCJK-Regular.ttc", "Noto Serif CJK SC", false}};
// Microsoft YaHei and its stand-in: the substitute for every name.
const std::vector<FaceFile> kYaHeiFaces = {{"msyhbd.ttc", "Microsoft YaHei", true},
                                           {"msyh.ttc", "Microsoft YaHei", false},
                                           {"NotoSansCJK-Bold.ttc", "Noto Sans CJK SC", true},
                                           {"NotoSansCJK-Regular.ttc", "Noto Sans CJK SC", false}};

const std::vector<FaceAlias>& face_aliases() {
    static const std::vector<FaceAlias> kAliases = {
        {"宋体", kSongFaces},
        {"新宋体",
         {{"simsun.ttc", "NSimSun", false},
          {"uming.ttc", "AR PL UMing CN", false},
          {"NotoSerifCJK-Bold.ttc", "Noto Serif CJK SC", true},
          {"NotoSerifCJK-Regular.ttc", "Noto Serif CJK SC", false}}},
        {"仿宋_GB2312", kSongFaces},
        {"黑体",
         {{"simhei.ttf", "SimHei", false},
          {"NotoSansCJK-Bold.ttc", "Noto Sans Mono CJK SC", true},
          {"NotoSansCJK-Regular.ttc", "Noto Sans Mono CJK SC", false}}},
        {"楷体_GB2312", kKaiFaces},
        {"楷体", kKaiFaces},
        {"微软雅黑", kYaHeiFaces},
    };
    return kAliases;
}

// Weights from this one up ask for a bold face.
constexpr int kBoldWeight = 600;

// The files missing_chinese_faces() looks for, in the order it names them.
constexpr const char* kChineseFaceFiles[] = {"simsun.ttc", "simhei.ttf", "simkai.ttf",
                                             "msyh.ttc",   "uming.ttc",  "NotoSansCJK-Regular.ttc"};

std::string utf8_of(const std::wstring& wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// %WINDIR%\Fonts\ as UTF-8.
const std::string& fonts_folder() {
    static const std::string kFolder = [] {
        wchar_t buffer[MAX_PATH];
        const UINT n = GetWindowsDirectoryW(buffer, MAX_PATH);
        std::wstring folder = n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : std::wstring(L"C:\\Windows");
        return utf8_of(folder + L"\\Fonts\\");
    }();
    return kFolder;
}

// The index of the face of `family` in `file` (a collection or a single face), remembered;
// nullopt when the file cannot be read or has no such face.
std::optional<long> face_index(const std::string& path, const std::string& family) {
    static std::mutex mutex;
    static std::map<std::pair<std::string, std::string>, std::optional<long>> known;
    std::lock_guard lock(mutex);
    const auto key = std::make_pair(path, family);
    if (const auto it = known.find(key); it != known.end()) return it->second;
    std::optional<long> found;
    FontFile file(path);
    const std::span<const unsigned char> bytes = file.is_open() ? file.map() : std::span<const unsigned char>();
    FT_Library lib = nullptr;
    if (!bytes.empty() && FT_Init_FreeType(&lib) == 0) {
        long count = 1;
        for (long i = 0; i < count && !found; ++i) {
            FT_Face face = nullptr;
            if (FT_New_Memory_Face(lib, bytes.data(), FT_Long(bytes.size()), i, &face) != 0) break;
            count = face->num_faces;
            if (face->family_name != nullptr && family == face->family_name) found = i;
            FT_Done_Face(face);
        }
        FT_Done_FreeType(lib);
    }
    known.emplace(key, found);
    return found;
}

// The first family of `faces` that is installed, in the asked weight when that family has it.
std::optional<FaceChoice> first_installed(const std::vector<FaceFile>& faces, bool bold) {
    for (std::size_t i = 0; i < faces.size(); ++i) {
        const std::string_view family = faces[i].family;
        bool seen_before = false;
        for (std::size_t j = 0; j < i; ++j) seen_before = seen_before || faces[j].family == family;
        if (seen_before) continue;
        for (const bool want_bold : {bold, !bold}) {
            for (const FaceFile& f : faces) {
                if (f.family != family || f.bold != want_bold) continue;
                const std::string path = fonts_folder() + f.file;
                const auto index = face_index(path, f.family);
                if (!index) continue;
                FaceChoice choice;
                choice.file = path;
                choice.index = int(*index);
                choice.family = f.family;
                choice.bold = f.bold;
                return choice;
            }
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<FaceChoice> choose_face(std::string_view gbk_face, int weight, bool /*italic*/) {
    const std::string name = gbk_to_utf8(gbk_face);
    const bool bold = weight >= kBoldWeight;
    for (const FaceAlias& alias : face_aliases()) {
        if (alias.name != name) continue;
        if (auto face = first_installed(alias.faces, bold)) return face;
    }
    // Italics are slanted by us: no face here is italic by design.
    return first_installed(kYaHeiFaces, bold);
}

bool chinese_face_installed() { return missing_chinese_faces().empty(); }

std::string missing_chinese_faces() {
    if (first_installed(kYaHeiFaces, false)) return {};
    for (const FaceAlias& alias : face_aliases()) {
        if (first_installed(alias.faces, false)) return {};
    }
    std::string message = "No Chinese font was found in " + fonts_folder() + ". Looked for:";
    for (const char* file : kChineseFaceFiles) message += std::string(" ") + file;
    return message + ". Install the Chinese (Simplified) supplemental fonts and start again.";
}

} // namespace tav
