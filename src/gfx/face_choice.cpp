// Picking face files for the face names of font records. The standard Chinese face names are
// not known to fontconfig here, so they go through our own map first.
#include <array>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include <fontconfig/fontconfig.h>

#include "core/gbk.hpp"
#include "gfx/font.hpp"
#include "gfx/logfont.hpp"

namespace tav {

namespace {

struct FaceAlias {
    std::string_view name; // UTF-8
    std::array<const char*, 2> families;
    std::string_view packages; // the Debian packages that install those families
};

// Our stand-ins for the standard Chinese faces, best first.
constexpr FaceAlias kFaceAliases[] = {
    {"宋体", {"AR PL UMing CN", "Noto Serif CJK SC"}, "fonts-arphic-uming, fonts-noto-cjk"},
    {"新宋体", {"AR PL UMing CN", "Noto Serif CJK SC"}, "fonts-arphic-uming, fonts-noto-cjk"},
    {"仿宋_GB2312", {"AR PL UMing CN", "Noto Serif CJK SC"}, "fonts-arphic-uming, fonts-noto-cjk"},
    {"黑体", {"Noto Sans Mono CJK SC", "WenQuanYi Zen Hei Mono"}, "fonts-noto-cjk, fonts-wqy-zenhei"},
    {"楷体_GB2312", {"AR PL UKai CN", "Noto Serif CJK SC"}, "fonts-arphic-ukai, fonts-noto-cjk"},
    {"楷体", {"AR PL UKai CN", "Noto Serif CJK SC"}, "fonts-arphic-ukai, fonts-noto-cjk"},
    {"微软雅黑", {"Noto Sans CJK SC", "WenQuanYi Zen Hei"}, "fonts-noto-cjk, fonts-wqy-zenhei"},
};
// The packages named for a face we have no stand-in for.
constexpr std::string_view kChinesePackages = "fonts-noto-cjk, fonts-arphic-uming, fonts-arphic-ukai";
// The language whose coverage makes a face usable for the program's (GBK) texts.
constexpr const char* kTextLanguage = "zh-cn";

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

// True when the program was given a fontconfig setup of its own: then only that is searched.
bool own_config_given() {
    return std::getenv("FONTCONFIG_FILE") != nullptr || std::getenv("FONTCONFIG_PATH") != nullptr;
}

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

// A face of `config` that covers Chinese text, the closest to the weight and slant asked for.
std::optional<FaceChoice> covering_face(FcConfig* config, int weight, bool italic) {
    Pattern pattern(FcPatternCreate());
    if (!pattern) return std::nullopt;
    FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>(kTextLanguage));
    FcPatternAddDouble(pattern.get(), FC_WEIGHT, FcWeightFromOpenTypeDouble(double(weight)));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> sorted(
        FcFontSort(config, pattern.get(), FcFalse, nullptr, &result), &FcFontSetDestroy);
    if (!sorted) return std::nullopt;
    for (int i = 0; i < sorted->nfont; ++i) {
        FcLangSet* langs = nullptr;
        FcChar8* family = nullptr;
        if (FcPatternGetLangSet(sorted->fonts[i], FC_LANG, 0, &langs) != FcResultMatch ||
            FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>(kTextLanguage)) != FcLangEqual ||
            FcPatternGetString(sorted->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch)
            continue;
        if (auto face = match(config, reinterpret_cast<const char*>(family), weight, italic, true)) return face;
    }
    return std::nullopt;
}

// Says once per face name, on stderr, that the face is missing, what stands in for it and
// which packages would install it.
void tell_missing(const std::string& name, const std::optional<FaceChoice>& used, bool covers) {
    static std::mutex mutex;
    static std::set<std::string> told;
    std::lock_guard lock(mutex);
    if (!told.insert(name).second) return;
    std::string_view packages = kChinesePackages;
    for (const FaceAlias& alias : kFaceAliases)
        if (alias.name == name) packages = alias.packages;
    const std::string instead = !used    ? std::string("no installed face can stand in")
                                : covers ? "drawing with \"" + used->family + "\" instead"
                                         : "drawing with \"" + used->family + "\", which lacks Chinese";
    std::fprintf(stderr, "tavrino: font face \"%s\" is not installed; %s (install %.*s)\n", name.c_str(),
                 instead.c_str(), int(packages.size()), packages.data());
}

} // namespace

bool chinese_face_installed() {
    FcConfig* quick = own_config_given() ? nullptr : directories_only();
    if (quick != nullptr && covering_face(quick, kWeightNormal, false)) return true;
    FcConfig* desktop = desktop_config();
    return desktop != nullptr && covering_face(desktop, kWeightNormal, false).has_value();
}

std::string_view chinese_font_packages() { return kChinesePackages; }

std::optional<FaceChoice> choose_face(std::string_view gbk_face, int weight, bool italic) {
    const std::string name = gbk_to_utf8(gbk_face);
    // The faces the program names are found in the standard directories; the desktop's
    // configuration is read only for a name they do not have.
    if (FcConfig* quick = own_config_given() ? nullptr : directories_only()) {
        if (auto face = match_named(quick, name, weight, italic)) return face;
    }
    FcConfig* desktop = desktop_config();
    if (desktop == nullptr) return std::nullopt;
    if (auto face = match_named(desktop, name, weight, italic)) return face;
    if (auto face = match(desktop, kSubstituteFamily, weight, italic, true)) {
        if (!name.empty()) tell_missing(name, face, true);
        return face;
    }
    // Any installed face that covers Chinese text; failing that, whatever fontconfig offers
    // (it draws at least the digits). Either way the player is told what to install.
    const std::string named = name.empty() ? std::string(kSubstituteFamily) : name;
    if (auto face = covering_face(desktop, weight, italic)) {
        tell_missing(named, face, true);
        return face;
    }
    auto face = match(desktop, named.c_str(), weight, italic, false);
    tell_missing(named, face, false);
    return face;
}

} // namespace tav
