// Missing faces on a machine with few fonts: a face covering Chinese stands in, one line on
// stderr names what is missing and its packages, and a machine with no Chinese face is known.
// Each case runs in a child process with a fontconfig setup of its own.
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "core/gbk.hpp"
#include "gfx/font.hpp"
#include "gfx/logfont.hpp"

namespace tav::test {
namespace {

struct Probe {
    int status = -1;
    std::string out; // what the child reported, then what it wrote to stderr
};

// Runs `body` in a child whose fontconfig reads only the font folders `dirs`.
Probe with_fonts(const std::vector<std::string>& dirs, const std::function<std::string()>& body) {
    const auto folder = std::filesystem::temp_directory_path() / ("tavrino-fonts-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto config = folder / "fonts.conf";
    {
        std::ofstream f(config);
        f << "<?xml version=\"1.0\"?>\n<fontconfig>\n";
        for (const auto& d : dirs) f << "  <dir>" << d << "</dir>\n";
        f << "  <cachedir>" << (folder / "cache").string() << "</cachedir>\n</fontconfig>\n";
    }
    int fds[2];
    if (pipe(fds) != 0) return {};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], 2);
        setenv("FONTCONFIG_FILE", config.c_str(), 1);
        FcConfigSetCurrent(FcInitLoadConfigAndFonts()); // not the setup the parent read, if any
        const std::string said = body() + "\n";
        std::fflush(nullptr);
        (void)!write(fds[1], said.data(), said.size());
        _exit(0);
    }
    close(fds[1]);
    Probe p;
    char buf[512];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) p.out.append(buf, std::size_t(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) p.status = WEXITSTATUS(status);
    std::filesystem::remove_all(folder);
    return p;
}

std::string choose(std::string_view face_utf8) {
    const auto face = choose_face(gbk(face_utf8).view(), kWeightNormal, false);
    return face ? face->family : std::string("none");
}

TEST(FaceFallback, MissingFacesAreReplacedByAChineseFaceAndNamedWithTheirPackages) {
    const std::string arphic = "/usr/share/fonts/truetype/arphic", dejavu = "/usr/share/fonts/truetype/dejavu";
    if (!std::filesystem::exists(arphic + "/uming.ttc") || !std::filesystem::exists(dejavu))
        GTEST_SKIP() << "needs fonts-arphic-uming and fonts-dejavu-core";

    // Only the Arphic faces: 黑体's stand-ins are missing, an Arphic face covering Chinese
    // draws instead, and the line (once, however often asked) names 黑体 and its packages.
    Probe p = with_fonts({arphic, dejavu}, [] {
        return std::to_string(chinese_face_installed()) + "|" + choose("黑体") + "|" + choose("黑体") + "|" +
               choose("宋体");
    });
    EXPECT_EQ(p.status, 0);
    EXPECT_NE(p.out.find("tavrino: font face \"黑体\" is not installed; drawing with \"AR PL U"), std::string::npos)
        << p.out;
    EXPECT_NE(p.out.find("(install fonts-noto-cjk, fonts-wqy-zenhei)\n"), std::string::npos) << p.out;
    EXPECT_EQ(p.out.find("宋体"), std::string::npos) << p.out; // its own stand-in is there
    EXPECT_EQ(std::count(p.out.begin(), p.out.end(), '\n'), 2) << p.out;
    EXPECT_NE(p.out.find("1|AR PL U"), std::string::npos) << p.out;
    EXPECT_NE(p.out.find("|AR PL UMing CN\n"), std::string::npos) << p.out;

    // Only Latin faces: no face covers Chinese, and the line says the face drawing lacks it.
    p = with_fonts({dejavu}, [] { return std::to_string(chinese_face_installed()) + "|" + choose("楷体"); });
    EXPECT_EQ(p.status, 0);
    EXPECT_NE(p.out.find("tavrino: font face \"楷体\" is not installed; drawing with \"DejaVu"), std::string::npos)
        << p.out;
    EXPECT_NE(p.out.find("which lacks Chinese (install fonts-arphic-ukai, fonts-noto-cjk)\n"), std::string::npos)
        << p.out;
    EXPECT_NE(p.out.find("0|DejaVu"), std::string::npos) << p.out;
}

} // namespace
} // namespace tav::test
