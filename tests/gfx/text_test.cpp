#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "core/gbk.hpp"
#include "gfx/font.hpp"
#include "gfx/text.hpp"

namespace tav {
namespace {

constexpr Argb kGround = rgb(0, 0, 0);

// The fonts of these tests, loaded once for all of them.
FontCache& test_fonts() {
    static FontCache fonts;
    return fonts;
}

std::shared_ptr<const Font> font_of(const char* utf8_face, int height, int weight = kWeightBold) {
    return test_fonts().font(make_log_font(utf8_to_gbk(utf8_face), height, weight));
}

// The rows and columns holding any pixel other than the ground.
struct Ink {
    int top = INT_MAX, bottom = -1, left = INT_MAX, right = -1;
};
Ink ink_of(const Bitmap& bmp, Argb ground = kGround, const Rect& area = {0, 0, INT_MAX, INT_MAX}) {
    Ink ink;
    const Rect a = area.intersected(bmp.rect());
    for (int y = a.top(); y < a.bottom(); ++y) {
        for (int x = a.left(); x < a.right(); ++x) {
            if (bmp.pixel(x, y) == ground) continue;
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
        }
    }
    return ink;
}

// Every field of a record survives a build and a parse; other lengths are no record.
TEST(LogFont, RoundTripAndWrongLength) {
    LogFont f;
    f.height = -21;
    f.width = 3;
    f.escapement = 900;
    f.orientation = -900;
    f.weight = 700;
    f.italic = f.strikeout = true;
    f.charset = kGb2312Charset;
    f.out_precision = 3;
    f.clip_precision = 2;
    f.quality = 1;
    f.pitch_and_family = 0x31;
    f.face = "\xBF\xAC\xCC\xE5\x5F\x47\x42\x32\x33\x31\x32"; // 楷体_GB2312
    const auto record = encode_log_font(f);
    EXPECT_EQ(record[0], 0xEB); // -21, little-endian
    EXPECT_EQ(record[3], 0xFF);
    EXPECT_EQ(record[16], 0xBC); // 700
    EXPECT_EQ(record[28], 0xBF);
    EXPECT_EQ(record[28 + 11], 0);
    EXPECT_EQ(parse_log_font(record), f);

    const auto made = make_log_font("\xCB\xCE\xCC\xE5", 12, kWeightBold); // 宋体
    const auto parsed = parse_log_font(made);
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(parsed->height, -12);
    EXPECT_EQ(parsed->weight, 700);
    EXPECT_EQ(parsed->charset, kGb2312Charset);
    EXPECT_EQ(parsed->face, "\xCB\xCE\xCC\xE5");

    // A face too long for the field is cut before a character that would not fit whole.
    LogFont long_face;
    long_face.face = "abcdefghijklmnopqrstuvwxyz0123" + std::string("\xCB\xCE");
    EXPECT_EQ(parse_log_font(encode_log_font(long_face))->face, "abcdefghijklmnopqrstuvwxyz0123");

    EXPECT_FALSE(parse_log_font(std::span(made).first(59)).has_value());
    const std::vector<std::uint8_t> longer(61, 0);
    EXPECT_FALSE(parse_log_font(longer).has_value());
    EXPECT_EQ(test_fonts().font(std::span(made).first(59)), test_fonts().stock());
    EXPECT_EQ(test_fonts().font({}), test_fonts().stock());
    EXPECT_EQ(test_fonts().stock()->height(), 12);
    // The same record gives the same shared font.
    EXPECT_EQ(test_fonts().font(made), test_fonts().font(made));
}

// The standard Chinese faces map onto our faces, with the real bold face where there is one.
TEST(Fonts, FaceMapAndBold) {
    EXPECT_EQ(font_of("宋体", 12)->family(), "AR PL UMing CN");
    EXPECT_TRUE(font_of("宋体", 12)->synthetic_bold());
    EXPECT_EQ(font_of("楷体_GB2312", 21)->family(), "AR PL UKai CN");
    const auto hei = font_of("黑体", 24);
    EXPECT_EQ(hei->family(), "Noto Sans Mono CJK SC");
    EXPECT_FALSE(hei->synthetic_bold());
    const auto choice = choose_face(utf8_to_gbk("黑体"), kWeightBold, false);
    ASSERT_TRUE(choice.has_value());
    EXPECT_NE(choice->file.find("Bold"), std::string::npos);
    EXPECT_EQ(choice->index, 7); // the Simplified Chinese face of the collection
    // An unknown face still draws Chinese text.
    const auto other = test_fonts().font(make_log_font("NoSuchFace", 16));
    EXPECT_FALSE(other->glyph(U'分').coverage.empty());
    EXPECT_EQ(other->height(), 16);
}

// Font files are read, not mapped: a mapped CJK collection puts every page a glyph touches
// into the program's resident memory.
TEST(Fonts, FilesAreReadNotMapped) {
    const auto song = font_of("宋体", 12);
    for (char32_t c : std::u32string(U"总分得倍上开始0123456789")) EXPECT_FALSE(song->glyph(c).coverage.empty());
    const auto choice = choose_face(utf8_to_gbk("宋体"), kWeightBold, false);
    ASSERT_TRUE(choice.has_value());
    std::ifstream maps("/proc/self/maps");
    if (!maps) GTEST_SKIP() << "no /proc/self/maps to list the mapped files in (Windows)";
    std::string line;
    while (std::getline(maps, line)) EXPECT_EQ(line.find(choice->file), std::string::npos) << line;
}

// Two threads rendering the same characters in one font at once each get the one cached
// glyph, drawn once.
TEST(Fonts, GlyphsAskedFromTwoThreadsAtOnceAreOneGlyph) {
    const auto song = font_of("宋体", 16);
    std::u32string text;
    for (char32_t c = U'一'; c < U'一' + 300; ++c) text += c;
    std::vector<std::vector<const Glyph*>> seen(2);
    {
        std::vector<std::jthread> threads;
        for (auto& mine : seen)
            threads.emplace_back([&] {
                for (char32_t c : text) mine.push_back(&song->glyph(c));
            });
    }
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_FALSE(seen[0].front()->coverage.empty());
}

// The credits display holds the largest credit text; a number sits centred in its label.
TEST(Text, CreditsFitAndSitCentred) {
    const auto hei = font_of("黑体", 24);
    const Size size = measure_text("1000000080", *hei);
    std::printf("\"1000000080\" in 24-px bold: %d px wide\n", size.width);
    EXPECT_LE(size.width, 126);
    EXPECT_GE(size.width, 100);
    EXPECT_EQ(size.height, 24);

    for (const char* text : {"0", "1000000080", "50"}) {
        Bitmap label(126, 24, kGround);
        Painter p(label);
        draw_text(p, label.rect(), text, *hei, rgb(0, 255, 255), {1, 1, false});
        const Ink ink = ink_of(label);
        ASSERT_GE(ink.bottom, 0) << text;
        const int above = ink.top, below = 23 - ink.bottom;
        EXPECT_LE(std::abs(above - below), 2) << text << ": " << above << " above, " << below << " below";
        const int left = ink.left, right = 125 - ink.right;
        EXPECT_LE(std::abs(left - right), 2) << text;
    }
}

// The pay legend's rows, each three line breaks apart, stand 36 pixels apart.
TEST(Text, LegendRowsStepByLineHeight) {
    const auto song = font_of("宋体", 12);
    const char* rows[] = {"100倍", "50倍", "10倍", "6倍", "5倍", "4倍", "3倍", "2倍", "随机"};
    std::string legend;
    for (int i = 0; i < 9; ++i) legend += utf8_to_gbk(rows[i]) + (i < 8 ? "\r\n\r\n\r\n" : "");
    ASSERT_EQ(legend.size(), 80u);
    Bitmap bmp(34, 304, kGround);
    Painter p(bmp);
    draw_text(p, bmp.rect(), legend, *song, rgb(255, 255, 255), {0, 1, true});
    // Each row's ink lies in its own 36-row band, starting at the band's first line.
    std::vector<int> tops;
    for (int row = 0; row < 9; ++row) {
        const Ink ink = ink_of(bmp, kGround, {0, row * 36, 34, 36});
        ASSERT_GE(ink.bottom, 0) << "row " << row;
        EXPECT_LE(ink.bottom, row * 36 + 12) << "row " << row; // one row of edge smoothing may hang below
        tops.push_back(ink.top);
    }
    for (int row = 1; row < 8; ++row) EXPECT_EQ(tops[std::size_t(row)] - tops[std::size_t(row) - 1], 36) << row;
    EXPECT_NEAR(tops[8] - tops[7], 36, 2);
}

// Line breaks and word wrap: CR LF and LF always break, Latin words at spaces, Chinese anywhere.
TEST(Text, LinesAndWrapping) {
    const auto font = font_of("宋体", 12, kWeightNormal);
    auto lines = layout_lines(U"ab\r\ncd\nef\r\n\r\ngh", *font, 1000, true);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], U"ab");
    EXPECT_EQ(lines[3], U"");
    EXPECT_EQ(lines[4], U"gh");
    EXPECT_EQ(layout_lines(U"ab\r\ncd", *font, 1000, false).size(), 2u);

    const int hello = line_width(U"hello", *font);
    lines = layout_lines(U"hello world", *font, hello + 2, true);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], U"hello");
    EXPECT_EQ(lines[1], U"world");
    // Without wrapping the words stay on one line.
    EXPECT_EQ(layout_lines(U"hello world", *font, hello + 2, false).size(), 1u);

    const int two = line_width(U"中文", *font);
    lines = layout_lines(U"中文换行测试", *font, two, true);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1], U"换行");
    // A Latin word wider than the box is broken where it must be.
    lines = layout_lines(U"abcdefghij", *font, line_width(U"abcd", *font), true);
    EXPECT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], U"abcd");

    EXPECT_EQ(decode_gbk_text("\xBF\xAA\xCA\xBC"
                              "1"),
              U"开始1");
    EXPECT_EQ(measure_text("a\r\nbb", *font).height, 24);
}

// Text stays inside its rectangle; effect 3 puts a black copy two pixels right and down.
TEST(Text, ClippedAndShadowed) {
    const auto hei = font_of("黑体", 24);
    Bitmap bmp(60, 40, kGround);
    Painter p(bmp);
    draw_text(p, {10, 10, 20, 12}, "8888", *hei, rgb(255, 255, 255), {0, 1, false});
    const Ink ink = ink_of(bmp);
    ASSERT_GE(ink.bottom, 0);
    EXPECT_GE(ink.left, 10);
    EXPECT_GE(ink.top, 10);
    EXPECT_LE(ink.right, 29);
    EXPECT_LE(ink.bottom, 21);

    const Argb white = rgb(255, 255, 255);
    Bitmap shadow(60, 40, white);
    Painter ps(shadow);
    draw_text_with_effect(ps, shadow.rect(), "8", *hei, rgb(255, 0, 0), {0, 0, false}, 3);
    Ink red, black;
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 60; ++x) {
            const Argb c = shadow.pixel(x, y);
            Ink& which = c == rgb(255, 0, 0) ? red : c == rgb(0, 0, 0) ? black : red;
            if (c != rgb(255, 0, 0) && c != rgb(0, 0, 0)) continue;
            which.top = std::min(which.top, y);
            which.bottom = std::max(which.bottom, y);
            which.left = std::min(which.left, x);
            which.right = std::max(which.right, x);
        }
    }
    ASSERT_GE(black.bottom, 0);
    ASSERT_GE(red.bottom, 0);
    EXPECT_EQ(black.bottom - red.bottom, 2);
    EXPECT_EQ(black.right - red.right, 2);
}

// At scale 2 text is rendered from the face at twice the height, not repeated pixel for pixel:
// it covers about twice the 1x extent in the same logical place, and its strokes have edges
// that fall between the 2 x 2 blocks of a doubled picture.
TEST(Text, ScaleTwoRendersAtTwiceTheHeight) {
    const auto hei = font_of("黑体", 24);
    Bitmap one(126, 24, kGround);
    Painter p1(one);
    draw_text(p1, one.rect(), "1080", *hei, rgb(0, 255, 255), {1, 1, false});
    Bitmap two(252, 48, kGround);
    Painter p2(two, 2);
    draw_text(p2, {0, 0, 126, 24}, "1080", *hei, rgb(0, 255, 255), {1, 1, false});
    const Ink a = ink_of(one), b = ink_of(two);
    ASSERT_GE(a.bottom, 0);
    ASSERT_GE(b.bottom, 0);
    EXPECT_NEAR(b.right - b.left + 1, 2 * (a.right - a.left + 1), 4);
    EXPECT_NEAR(b.bottom - b.top + 1, 2 * (a.bottom - a.top + 1), 4);
    EXPECT_NEAR((b.left + b.right) / 2, a.left + a.right, 4); // still centred
    int split_blocks = 0;
    for (int y = 0; y < 48; y += 2) {
        for (int x = 0; x < 252; x += 2) {
            const Argb c = two.pixel(x, y);
            split_blocks += c != two.pixel(x + 1, y) || c != two.pixel(x, y + 1) || c != two.pixel(x + 1, y + 1);
        }
    }
    EXPECT_GT(split_blocks, 20);
    EXPECT_EQ(&hei->at_scale(1), hei.get());
    EXPECT_EQ(&hei->at_scale(2), &hei->at_scale(2)); // opened once per scale
    EXPECT_EQ(hei->at_scale(2).height(), 48);
}

} // namespace
} // namespace tav

// fontconfig keeps a few blocks from parsing its configuration files for the life of the
// process; the leak checker of sanitised builds is told so.
extern "C" const char* lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
