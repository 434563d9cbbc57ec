// Picking face files for the face names of font records. The standard Chinese face names are
// not known to fontconfig here, so they go through our own map first.
#include <array>
#include <memory>
#include <optional>
#include <string_view>

#include <fontconfig/fontconfig.h>

#include "core/gbk.hpp"
#include "gfx/font.hpp"

namespace tav {

namespace {

struct FaceAlias {
    std::string_view name; // UTF-8
    std::array<const char*, 2> families;
};

// Our stand-ins for the standard Chinese faces, best first.
constexpr FaceAlias kFaceAliases[] = {
    {"宋体", {"AR PL UMing CN", "Noto Serif CJK SC"}},
    {"新宋体", {"AR PL UMing CN", "Noto Serif CJK SC"}},
    {"仿宋_GB2312", {"AR PL UMing CN", "Noto Serif CJK SC"}},
    {"黑体", {"Noto Sans Mono CJK SC", "WenQuanYi Zen Hei Mono"}},
    {"楷体_GB2312", {"AR PL UKai CN", "Noto Serif CJK SC"}},
    {"楷体", {"AR PL UKai CN", "Noto Serif CJK SC"}},
    {"微软雅黑", {"Noto Sans CJK SC", "WenQuanYi Zen Hei"}},
};

// The family used when a name means nothing to us or to fontconfig: covers Chinese text.
constexpr const char* kSubstituteFamily = "Noto Sans CJK SC";
// Faces at or above this fontconfig weight count as bold.
constexpr int kBoldFaceWeight = FC_WEIGHT_DEMIBOLD;

// The font directories and caches fontconfig uses on a standard desktop; a lookup in these
// alone needs none of the desktop's configuration files.
constexpr const char* kDirectoriesOnlyConfig = R"(<?xml version="1.0"?>
<fontconfig>
  <dir>/usr/share/fonts</dir>
  <dir>/usr/local/share/fonts</dir>
  <dir prefix="xdg">fonts</dir>
  <dir>~/.fonts</dir>
  <cachedir>/var/cache/fontconfig</cachedir>
  <cachedir prefix="xdg">fontconfig</cachedir>
  <cachedir>~/.fontconfig</cachedir>
</fontconfig>)";

struct ConfigDeleter {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};

// The fonts of the standard directories, read from their caches without the desktop's
// configuration files: enough to find a face by its exact family, in a fraction of the time
// the whole configuration takes to parse. nullptr when it cannot be set up.
FcConfig* directories_only() {
    static const std::unique_ptr<FcConfig, ConfigDeleter> kConfig = [] {
        std::unique_ptr<FcConfig, ConfigDeleter> c(FcConfigCreate());
        if (!c ||
            !FcConfigParseAndLoadFromMemory(c.get(), reinterpret_cast<const FcChar8*>(kDirectoriesOnlyConfig),
                                            FcFalse) ||
            !FcConfigBuildFonts(c.get()))
            return std::unique_ptr<FcConfig, ConfigDeleter>();
        return c;
    }();
    return kConfig.get();
}

// The desktop's own fontconfig setup, with its substitutions and any further font directories;
// loaded on first use. nullptr when fontconfig cannot start.
FcConfig* desktop_config() { return FcInit() ? FcConfigGetCurrent() : nullptr; }

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

// The best face `config` has for `family`; with `exact`, only a face of that very family.
std::optional<FaceChoice> match(FcConfig* config, const char* family, int weight, bool italic, bool exact) {
    Pattern pattern(FcPatternCreate());
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcPatternAddDouble(pattern.get(), FC_WEIGHT, FcWeightFromOpenTypeDouble(double(weight)));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, pattern.get(), &result));
    if (!match || result != FcResultMatch) return std::nullopt;

    FcChar8* file = nullptr;
    FcChar8* found = nullptr;
    int index = 0, found_weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    if (FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
    FcPatternGetInteger(match.get(), FC_INDEX, 0, &index);
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &found_weight);
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &slant);
    bool same_family = false;
    for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &found) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(found, reinterpret_cast<const FcChar8*>(family)) == 0) {
            same_family = true;
            break;
        }
    }
    if (exact && !same_family) return std::nullopt;
    FaceChoice choice;
    choice.file = reinterpret_cast<const char*>(file);
    choice.index = index;
    if (FcPatternGetString(match.get(), FC_FAMILY, 0, &found) == FcResultMatch)
        choice.family = reinterpret_cast<const char*>(found);
    // fontconfig may offer to embolden or slant a face itself; we do that ourselves, so only
    // a face that is bold or italic by design counts.
    FcBool embolden = FcFalse;
    FcMatrix* matrix = nullptr;
    FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden);
    const bool slanted = FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &matrix) == FcResultMatch;
    choice.bold = found_weight >= kBoldFaceWeight && !embolden;
    choice.italic = slant != FC_SLANT_ROMAN && !slanted;
    return choice;
}

// The face of `name`'s own family or of one of our stand-ins for it, from `config`.
std::optional<FaceChoice> match_named(FcConfig* config, const std::string& name, int weight, bool italic) {
    for (const FaceAlias& alias : kFaceAliases) {
        if (alias.name != name) continue;
        for (const char* family : alias.families) {
            if (auto face = match(config, family, weight, italic, true)) return face;
        }
    }
    if (name.empty()) return std::nullopt;
    return match(config, name.c_str(), weight, italic, true);
}

} // namespace

std::optional<FaceChoice> choose_face(std::string_view gbk_face, int weight, bool italic) {
    const std::string name = gbk_to_utf8(gbk_face);
    // The faces the program names are found in the standard directories; the desktop's
    // configuration is read only for a name they do not have.
    if (FcConfig* quick = directories_only()) {
        if (auto face = match_named(quick, name, weight, italic)) return face;
    }
    FcConfig* desktop = desktop_config();
    if (desktop == nullptr) return std::nullopt;
    if (auto face = match_named(desktop, name, weight, italic)) return face;
    if (auto face = match(desktop, kSubstituteFamily, weight, italic, true)) return face;
    // Whatever fontconfig offers for Chinese text.
    return match(desktop, name.empty() ? kSubstituteFamily : name.c_str(), weight, italic, false);
}

} // namespace tav
