// The main window's layout table: identities, geometry, pictures, looks, stacking and bindings.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "assets/assets.hpp"
#include "assets/embedded.hpp"
#include "core/gbk.hpp"
#include "game/board.hpp"
#include "game/main_window_layout.hpp"
#include "gfx/logfont.hpp"
#include "gfx/painter.hpp"
#include "ui/control_kind.hpp"
#include "ui/pic_box.hpp"

namespace tav::ui {
namespace {

using assets::Motif;

const WindowTemplate& window() {
    static const LayoutData kLayout = main_window_layout({});
    return kLayout.windows.at(0);
}

const ControlTemplate& named(const WindowTemplate& w, std::string_view name) {
    auto it = std::ranges::find(w.controls, name, &ControlTemplate::name);
    if (it == w.controls.end()) throw std::runtime_error("no control " + std::string(name));
    return *it;
}

// Own property `local`, Absent when the table leaves it out.
Value prop(const ControlTemplate& c, int local) {
    const auto at = static_cast<std::size_t>(local);
    return at < c.properties.size() ? c.properties[at] : Value();
}

bool same_bytes(const Value& v, std::span<const std::uint8_t> expected) {
    return v.is(ValueKind::Bytes) && std::ranges::equal(v.bytes(), expected);
}

std::optional<LogFont> font_of(const ControlTemplate& c, int local) { return parse_log_font(prop(c, local).bytes()); }

// A bold, upright GB2312 font of `face_utf8` at a character height of `pixels`, field by field.
LogFont bold(std::string_view face_utf8, int pixels) {
    LogFont f;
    f.height = -pixels;
    f.weight = kWeightBold;
    f.charset = kGb2312Charset;
    f.face = std::string(gbk(face_utf8).view());
    return f;
}

std::string numbered(std::string_view stem, int k) { return std::string(stem) + std::to_string(k); }

// Local property indices as the kinds number them (global − 8).
constexpr int kPicBoxPicture = 2;
constexpr int kPicBtnNormalPicture = 2;
constexpr int kPicBtnTransparentColor = 6;

TEST(MainWindowLayout, EveryControlOnceWithItsKindAndAnId) {
    LayoutData layout = main_window_layout({});
    ASSERT_EQ(layout.windows.size(), 1u);
    EXPECT_EQ(layout.startup_window, kMainWindowId);
    const WindowTemplate& w = layout.windows[0];
    EXPECT_EQ(w.id, 0x52010001u);
    ASSERT_EQ(w.controls.size(), kMainWindowControlCount + 1);
    ASSERT_NE(w.self(), nullptr);
    EXPECT_EQ(w.self()->kind, kind_id::kWindow);

    std::set<std::uint32_t> ids;
    std::set<std::string> names;
    std::map<std::uint32_t, int> per_kind;
    for (const ControlTemplate& c : w.controls) {
        EXPECT_TRUE(ids.insert(c.id).second) << c.name;
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        const ControlKind* kind = find_kind(c.kind);
        ASSERT_NE(kind, nullptr) << c.name;
        EXPECT_LE(c.properties.size(), static_cast<std::size_t>(kind->own_property_count())) << c.name;
        EXPECT_FALSE(c.disabled) << c.name;
        EXPECT_EQ(c.parent, 0u) << c.name;
        if (c.id == kWindowSelfControlId) continue;
        ++per_kind[c.kind];
        EXPECT_EQ(c.id & 0xFFFF0000u, 0x16010000u) << c.name;
        EXPECT_EQ(main_window_control_id(c.name), c.id) << c.name;
    }
    EXPECT_EQ(per_kind[kind_id::kPicBox], 42);
    EXPECT_EQ(per_kind[kind_id::kLabel], 14);
    EXPECT_EQ(per_kind[kind_id::kButton], 2);
    EXPECT_EQ(per_kind[kind_id::kSpin], 8);
    EXPECT_EQ(per_kind[kind_id::kTimer], 4);
    EXPECT_EQ(per_kind[kind_id::kPicBtn], 20);
    EXPECT_EQ(per_kind[kind_id::kTransLabel], 2);
    EXPECT_EQ(per_kind[kind_id::kEditBox], 1);

    // Kinds by the name of each group.
    for (int k = 1; k <= 20; ++k) {
        EXPECT_EQ(named(w, numbered("吐框", k)).kind, kind_id::kPicBox);
        EXPECT_EQ(named(w, numbered("显示", k)).kind, kind_id::kPicBtn);
    }
    for (int k = 1; k <= 18; ++k) {
        if (k == 17) continue; // the legend has no 图片框17
        EXPECT_EQ(named(w, numbered("图片框", k)).kind, kind_id::kPicBox) << k;
    }
    for (int k = 1; k <= 10; ++k) EXPECT_EQ(named(w, numbered("标签", k)).kind, kind_id::kLabel);
    for (int k = 1; k <= 8; ++k) EXPECT_EQ(named(w, numbered("调节器", k)).kind, kind_id::kSpin);
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(named(w, numbered("时钟", k)).kind, kind_id::kTimer);
    EXPECT_EQ(named(w, "编辑框1").kind, kind_id::kEditBox);
    EXPECT_EQ(named(w, "透明标签1").kind, kind_id::kTransLabel);

    // Names the layout lacks answer with an id no control has.
    EXPECT_EQ(main_window_control_id("标签11"), kNoControlId);
    EXPECT_EQ(main_window_control_id(""), kNoControlId);
    EXPECT_EQ(ids.count(kNoControlId), 0u);
}

TEST(MainWindowLayout, RingRunsClockwiseWithLampsAroundEachPicture) {
    const WindowTemplate& w = window();
    // The symbol of each ring position, clockwise from the top-left corner.
    constexpr std::array<Motif, 20> kSymbols = {
        Motif::Knot,       Motif::Cherries,  Motif::Cars,      Motif::Orange,     Motif::ZipperBadge,
        Motif::Strawberry, Motif::BottleCap, Motif::Butterfly, Motif::Strawberry, Motif::Knot,
        Motif::Kiwi,       Motif::Cherries,  Motif::Cars,      Motif::Orange,     Motif::ZipperBadge,
        Motif::Strawberry, Motif::BottleCap, Motif::Kiwi,      Motif::Butterfly,  Motif::Orange};
    EXPECT_EQ(named(w, "吐框1").rect.origin(), (Point{16, 16}));
    for (int k = 1; k <= 20; ++k) {
        const ControlTemplate& pic = named(w, numbered("吐框", k));
        const ControlTemplate& lamp = named(w, numbered("显示", k));
        EXPECT_EQ(pic.rect.size(), (Size{65, 65})) << k;
        EXPECT_TRUE(pic.visible) << k;
        EXPECT_TRUE(same_bytes(prop(pic, kPicBoxPicture), assets::large_picture(kSymbols[k - 1]))) << k;

        EXPECT_EQ(lamp.rect, (Rect{pic.rect.x - 2, pic.rect.y - 2, 69, 69})) << k;
        EXPECT_FALSE(lamp.visible) << k;
        EXPECT_TRUE(same_bytes(prop(lamp, kPicBtnNormalPicture), assets::lamp_frame())) << k;
        EXPECT_EQ(prop(lamp, kPicBtnTransparentColor).as_integer(), 0) << k;
        EXPECT_TRUE(prop(lamp, kPicBtnTransparentColor).is(ValueKind::Integer)) << k;

        // The next position lies 67 pixels on: right along the top, down the right side,
        // left along the bottom and up the left side back to position 1.
        const Point here = pic.rect.origin();
        const Point next = named(w, numbered("吐框", k % 20 + 1)).rect.origin();
        const Point step = k < 6 ? Point{67, 0} : k < 11 ? Point{0, 67} : k < 16 ? Point{-67, 0} : Point{0, -67};
        EXPECT_EQ((Point{next.x - here.x, next.y - here.y}), step) << k;
    }
}

TEST(MainWindowLayout, BetRowAndLegendShowTheEightSymbolsInIndexOrder) {
    const WindowTemplate& w = window();
    constexpr std::array<Motif, 8> kSymbols = {Motif::Cars,     Motif::BottleCap, Motif::ZipperBadge, Motif::Knot,
                                               Motif::Cherries, Motif::Kiwi,      Motif::Strawberry,  Motif::Orange};
    for (int k = 1; k <= 8; ++k) {
        const int x = 13 + 51 * (k - 1);
        EXPECT_EQ(named(w, numbered("标签", k)).rect, (Rect{x, 436, 48, 24})) << k;
        const ControlTemplate& pic = named(w, numbered("图片框", k));
        EXPECT_EQ(pic.rect, (Rect{x, 462, 48, 48})) << k;
        EXPECT_TRUE(same_bytes(prop(pic, kPicBoxPicture), assets::large_picture(kSymbols[k - 1]))) << k;
        const ControlTemplate& spin = named(w, numbered("调节器", k));
        EXPECT_EQ(spin.rect, (Rect{x + 8, 514, 33, 50})) << k;
        EXPECT_TRUE(std::ranges::all_of(spin.properties, &Value::absent)) << k;
    }
    // The legend top to bottom: the eight symbols, then the butterfly.
    constexpr std::array<std::string_view, 9> kRows = {"图片框9",  "图片框10", "图片框12", "图片框11", "图片框14",
                                                       "图片框13", "图片框16", "图片框15", "图片框18"};
    int previous_top = 0;
    for (std::size_t row = 0; row < kRows.size(); ++row) {
        const ControlTemplate& pic = named(w, kRows[row]);
        EXPECT_EQ(pic.rect.x, 432);
        EXPECT_EQ(pic.rect.size(), (Size{30, 30}));
        EXPECT_GT(pic.rect.y, previous_top);
        previous_top = pic.rect.y;
        const Motif motif = row < 8 ? kSymbols[row] : Motif::Butterfly;
        EXPECT_TRUE(same_bytes(prop(pic, kPicBoxPicture), assets::small_picture(motif))) << kRows[row];
    }
    EXPECT_EQ(named(w, "图片框18").rect.y, 341);
}

TEST(MainWindowLayout, StackingOrderIsTheLayoutOrder) {
    const WindowTemplate& w = window();
    const std::vector<std::string_view> expected = {
        "透明标签2",  "图片框18",    "图片框15",    "图片框16",    "图片框13", "图片框14", "图片框11", "图片框12",
        "图片框10",   "图片框9",     "透明标签1",   "标签x2",      "按钮2",    "标签10",   "标签x1",   "标签x",
        "标签9",      "调节器8",     "调节器7",     "调节器6",     "调节器5",  "调节器4",  "调节器3",  "调节器2",
        "调节器1",    "标签8",       "标签7",       "标签6",       "标签5",    "标签4",    "标签3",    "标签2",
        "图片框8",    "图片框7",     "图片框6",     "图片框5",     "图片框4",  "图片框3",  "图片框2",  "图片框1",
        "图奖",       "显示19",      "显示20",      "显示13",      "显示14",   "显示15",   "显示16",   "显示17",
        "显示18",     "显示7",       "显示8",       "显示9",       "显示10",   "显示11",   "显示12",   "显示6",
        "显示5",      "显示4",       "显示3",       "显示2",       "显示1",    "时钟4",    "时钟3",    "时钟2",
        "编辑框1",    "标签",        "时钟1",       "按钮1",       "吐框20",   "吐框19",   "吐框18",   "吐框17",
        "吐框16",     "吐框15",      "吐框14",      "吐框13",      "吐框12",   "吐框11",   "吐框10",   "吐框9",
        "吐框8",      "吐框7",       "吐框6",       "吐框5",       "吐框4",    "吐框3",    "吐框2",    "吐框1",
        "图片框黑条", "图片框黑条1", "图片框黑条2", "图片框黑条3", "标签1"};
    ASSERT_EQ(w.stacking.size(), expected.size());
    std::map<std::uint32_t, std::size_t> place;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(w.stacking[i], named(w, expected[i]).id) << expected[i];
        place[w.stacking[i]] = i;
        // The controls themselves come in the same order, behind the window's own entry,
        // with ids counting up along it.
        EXPECT_EQ(w.controls[i + 1].name, expected[i]);
        EXPECT_EQ(w.controls[i + 1].id, 0x16010001u + i);
    }
    // Where controls overlap, the one meant to be seen lies above.
    auto above = [&](std::string_view top, std::string_view below) {
        return place.at(named(w, top).id) < place.at(named(w, below).id);
    };
    for (int k = 1; k <= 20; ++k) {
        EXPECT_TRUE(above(numbered("显示", k), numbered("吐框", k))) << k;
        for (std::string_view bar : {"图片框黑条", "图片框黑条1", "图片框黑条2", "图片框黑条3"})
            EXPECT_TRUE(above(numbered("吐框", k), bar)) << k;
    }
    EXPECT_TRUE(above("透明标签1", "标签x2"));
}

TEST(MainWindowLayout, VisibilityTabStopsAndPlacement) {
    const WindowTemplate& w = window();
    const std::set<std::string> hidden_helpers = {"编辑框1", "标签", "时钟1", "时钟2", "时钟3", "时钟4"};
    for (const ControlTemplate& c : w.controls) {
        if (c.id == kWindowSelfControlId) continue;
        const bool lamp = c.name.starts_with("显示");
        const bool helper = hidden_helpers.contains(c.name);
        EXPECT_EQ(c.visible, !lamp && c.name != "编辑框1" && c.name != "标签") << c.name;
        EXPECT_EQ(c.tab_stop, c.name == "按钮1" || c.name == "按钮2" || c.name == "编辑框1") << c.name;
        if (helper) {
            EXPECT_GT(c.rect.x, 511) << c.name;
        } else {
            EXPECT_GE(c.rect.x, 0) << c.name;
            EXPECT_GE(c.rect.y, 0) << c.name;
            EXPECT_LE(c.rect.right(), 501) << c.name;
            EXPECT_LE(c.rect.bottom(), 564) << c.name;
        }
    }
    for (int k = 1; k <= 4; ++k) EXPECT_EQ(prop(named(w, numbered("时钟", k)), 0).as_integer(), 0);
    EXPECT_TRUE(std::ranges::all_of(named(w, "编辑框1").properties, &Value::absent));
}

TEST(MainWindowLayout, WindowOpensFixedCentredWithTheBoardStretchedOverA505By584Client) {
    const ControlTemplate& self = *window().self();
    EXPECT_TRUE(self.visible);
    EXPECT_EQ(prop(self, 0).text(), gbk("Tavrino"));                                // Caption
    EXPECT_EQ(prop(self, 1).as_integer(), 2);                                       // Border: fixed frame
    EXPECT_EQ(static_cast<std::uint32_t>(prop(self, 2).as_integer()), 0xFF000000u); // BackColor
    EXPECT_TRUE(same_bytes(prop(self, 3), assets::board_background()));             // BackPicture
    EXPECT_EQ(prop(self, 4).as_integer(), 3);                                       // BackPictureMode: stretched
    EXPECT_TRUE(prop(self, 5).absent());                                            // no BackMusic
    EXPECT_TRUE(prop(self, 7).as_bool());                                           // ControlBox
    EXPECT_FALSE(prop(self, 8).as_bool());                                          // MaxButton
    EXPECT_TRUE(prop(self, 9).as_bool());                                           // MinButton
    EXPECT_EQ(prop(self, 10).as_integer(), 1);                                      // StartPosition: centred
    EXPECT_TRUE(prop(self, 11).as_bool());                                          // Movable
    EXPECT_TRUE(prop(self, 12).absent());                                           // no Icon of its own
    EXPECT_EQ(self.rect.origin(), (Point{50, 50}));
    EXPECT_EQ(self.rect.size(), (Size{505, 584}));
}

// A picture stretched at run time is resampled once, on the first paint; the build makes the
// copies the window needs, so its sizes must stay those of the layout.
TEST(MainWindowLayout, EveryStretchedPictureHasItsCopyAtItsBoxSizeFromTheBuild) {
    if (assets::predecoded::kPictures.empty()) GTEST_SKIP() << "a cross build decodes its pictures at run time";
    const auto scaled_size = [](const Value& picture) -> std::optional<Size> {
        for (const auto& p : assets::predecoded::kPictures) {
            if (std::ranges::equal(*p.bytes, picture.bytes())) return Size{p.scaled_width, p.scaled_height};
        }
        return std::nullopt;
    };
    constexpr int kPictureModeStretched = 1;
    int stretched = 0;
    for (const ControlTemplate& c : window().controls) {
        if (c.kind != kind_id::kPicBox || prop(c, PicBox::kPictureMode).as_integer() != kPictureModeStretched) continue;
        const Value picture = prop(c, PicBox::kPicture);
        if (picture.absent()) continue;
        const Rect client = edge_inner(c.rect, edge_style_for_border(prop(c, PicBox::kBorder).as_integer()));
        EXPECT_EQ(scaled_size(picture), client.size()) << c.name;
        ++stretched;
    }
    EXPECT_EQ(stretched, 8 + 9); // the bet column and the legend (the prize box starts empty)
    const ControlTemplate& self = *window().self();
    EXPECT_EQ(scaled_size(prop(self, 3)), self.rect.size()); // the board over the client area
}

TEST(MainWindowLayout, LabelsButtonsAndTheLegendText) {
    const WindowTemplate& w = window();
    // Label: 0 Caption, 1 TextEffect, 2 Border, 7 Font, 8 TextColor, 9 BackColor, 12 GradientBackMode,
    // 16 HAlign, 17 WordWrap, 18 VAlign.
    struct Expected {
        std::string_view name, caption, face;
        int pixels;
        std::uint32_t text, back;
        int border, h_align;
    };
    const std::vector<Expected> labels = {
        {"标签x2", "倍", "宋体", 20, 0x00FF00FF, 0, 1, 2}, {"标签x", "总分:", "宋体", 20, 0x00FFFFFF, 0, 1, 1},
        {"标签9", "0", "黑体", 24, 0x00FFFF00, 0, 1, 1},   {"标签x1", "得分:", "宋体", 20, 0x00FFFFFF, 0, 1, 1},
        {"标签10", "0", "黑体", 24, 0x0000FF00, 0, 1, 1},  {"标签1", "0", "黑体", 24, 0x00FFFF00, 0, 1, 1},
        {"标签8", "0", "黑体", 24, 0x00FFFF00, 0, 1, 1},   {"标签", "", "宋体", 20, 0, 0xFF000000u, 0, 0},
    };
    for (const Expected& e : labels) {
        const ControlTemplate& c = named(w, e.name);
        EXPECT_EQ(prop(c, 0).text(), gbk(e.caption)) << e.name;
        EXPECT_EQ(prop(c, 1).as_integer(), 0) << e.name;
        EXPECT_EQ(prop(c, 2).as_integer(), e.border) << e.name;
        const auto font = font_of(c, 7);
        ASSERT_TRUE(font) << e.name;
        EXPECT_EQ(*font, bold(e.face, e.pixels)) << e.name;
        EXPECT_EQ(font->charset, kGb2312Charset);
        EXPECT_EQ(static_cast<std::uint32_t>(prop(c, 8).as_integer()), e.text) << e.name;
        EXPECT_EQ(static_cast<std::uint32_t>(prop(c, 9).as_integer()), e.back) << e.name;
        EXPECT_EQ(prop(c, 12).as_integer(), 0) << e.name;
        EXPECT_EQ(prop(c, 16).as_integer(), e.h_align) << e.name;
        EXPECT_TRUE(prop(c, 17).is(ValueKind::Bool) && !prop(c, 17).as_bool()) << e.name;
        EXPECT_EQ(prop(c, 18).as_integer(), 1) << e.name;
    }

    // TransLabel: 0 Caption, 1 TextEffect, 2 Font, 3 TextColor, 4 HAlign, 5 WordWrap, 6 VAlign.
    const ControlTemplate& odds = named(w, "透明标签1");
    EXPECT_EQ(prop(odds, 0).text(), Text("0"));
    EXPECT_EQ(*font_of(odds, 2), bold("黑体", 21));
    EXPECT_EQ(static_cast<std::uint32_t>(prop(odds, 3).as_integer()), 0x00FF00FFu);
    EXPECT_EQ(prop(odds, 4).as_integer(), 1);
    EXPECT_FALSE(prop(odds, 5).as_bool());

    const ControlTemplate& legend = named(w, "透明标签2");
    const Text caption = prop(legend, 0).text();
    EXPECT_EQ(caption.size(), 80u);
    std::string rows;
    for (std::string_view row : {"100倍", "50倍", "10倍", "6倍", "5倍", "4倍", "3倍", "2倍"})
        rows += utf8_to_gbk(row) + "\r\n\r\n\r\n";
    rows += utf8_to_gbk("随机");
    EXPECT_EQ(caption.view(), rows);
    EXPECT_EQ(*font_of(legend, 2), bold("宋体", 12));
    EXPECT_EQ(prop(legend, 3).as_integer(), 0x00FFFFFF);
    EXPECT_EQ(prop(legend, 4).as_integer(), 0);
    EXPECT_TRUE(prop(legend, 5).as_bool());

    // Button: 0 Picture, 1 ButtonType, 2 Caption, 3 HAlign, 4 VAlign, 5 Font.
    const ControlTemplate& add = named(w, "按钮2");
    const ControlTemplate& start = named(w, "按钮1");
    EXPECT_EQ(add.rect, (Rect{433, 436, 64, 34}));
    EXPECT_EQ(start.rect, (Rect{433, 475, 64, 89}));
    EXPECT_EQ(prop(add, 2).text(), gbk("上分"));
    EXPECT_EQ(prop(start, 2).text(), gbk("开始"));
    EXPECT_TRUE(prop(add, 5).absent()); // the stock GUI font
    EXPECT_EQ(*font_of(start, 5), bold("楷体_GB2312", 21));
    for (const ControlTemplate* b : {&add, &start}) {
        EXPECT_TRUE(prop(*b, 0).absent());
        EXPECT_EQ(prop(*b, 1).as_integer(), 0);
        EXPECT_EQ(prop(*b, 3).as_integer(), 1);
        EXPECT_EQ(prop(*b, 4).as_integer(), 1);
    }

    // PicBox: 0 Border, 1 BackColor, 3 PictureMode, per group.
    auto pic_box = [&](std::string_view name, int border, std::uint32_t back, int mode) {
        const ControlTemplate& c = named(w, name);
        EXPECT_EQ(prop(c, 0).as_integer(), border) << name;
        EXPECT_EQ(static_cast<std::uint32_t>(prop(c, 1).as_integer()), back) << name;
        EXPECT_EQ(prop(c, 3).as_integer(), mode) << name;
    };
    pic_box("吐框8", 0, 0x0080A080, 2);
    pic_box("图片框黑条2", 0, 0, 0);
    pic_box("图奖", 4, 0xFF000000u, 1);
    pic_box("图片框3", 1, 0xFF000000u, 1);
    pic_box("图片框18", 5, 0xFF000000u, 1);
    EXPECT_EQ(named(w, "图奖").rect, (Rect{174, 118, 85, 85}));
    EXPECT_TRUE(prop(named(w, "图奖"), kPicBoxPicture).absent());
    EXPECT_TRUE(prop(named(w, "图片框黑条"), kPicBoxPicture).absent());
}

// The game and its tests address controls through the board's names; these must be the
// controls the window shows them in, or every other test would follow a wrong name unnoticed.
TEST(MainWindowLayout, BoardNamesTheControlsThatCarryTheGame) {
    namespace board = game::board;
    const WindowTemplate& w = window();
    const std::vector<std::pair<std::string_view, std::string_view>> handles = {
        {board::kCredits, "标签9"},           {board::kWin, "标签10"},           {board::kOdds, "透明标签1"},
        {board::kLampPosition, "编辑框1"},    {board::kIntervalReadout, "标签"}, {board::kPrizePicture, "图奖"},
        {board::kAccelerationTimer, "时钟1"}, {board::kRunLengthTimer, "时钟2"}, {board::kFastRunTimer, "时钟3"},
        {board::kDecelerationTimer, "时钟4"}, {board::kStartButton, "按钮1"},    {board::kAddCreditsButton, "按钮2"},
        {board::kLegendText, "透明标签2"}};
    for (const auto& [handle, name] : handles) EXPECT_EQ(handle, name);
    EXPECT_EQ(prop(named(w, board::kStartButton), 2).text(), gbk("开始"));
    EXPECT_EQ(prop(named(w, board::kAddCreditsButton), 2).text(), gbk("上分"));

    ASSERT_EQ(board::kBetColumns.size(), 8u);
    for (int k = 1; k <= 8; ++k) {
        const board::BetColumn& column = board::kBetColumns[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(column.bet_display, numbered("标签", k));
        EXPECT_EQ(column.picture, numbered("图片框", k));
        EXPECT_EQ(column.spinner, numbered("调节器", k));
    }
    ASSERT_EQ(board::kRing.size(), 20u);
    for (int k = 1; k <= 20; ++k) {
        const board::RingPosition& position = board::kRing[static_cast<std::size_t>(k - 1)];
        EXPECT_EQ(position.text, std::to_string(k));
        EXPECT_EQ(position.picture, numbered("吐框", k));
        EXPECT_EQ(position.lamp, numbered("显示", k));
        EXPECT_EQ(position.random_field(), k == 8 || k == 19) << k;
    }
}

TEST(MainWindowLayout, SixteenBindingsRunTheirGameOperations) {
    std::vector<std::string> calls;
    MainWindowHandlers h;
    h.window_created = [&] { calls.push_back("created"); };
    h.window_right_down = [&](std::int32_t x, std::int32_t y, std::int32_t keys) {
        calls.push_back("right " + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(keys));
    };
    h.start_spin = [&] { calls.push_back("start"); };
    h.add_credits = [&] { calls.push_back("credits"); };
    h.change_bet = [&](std::uint32_t display, std::int32_t step) {
        calls.push_back("bet " + std::to_string(display) + " " + std::to_string(step));
    };
    h.acceleration_tick = [&] { calls.push_back("accelerate"); };
    h.run_length_tick = [&] { calls.push_back("run length"); };
    h.fast_run_tick = [&] { calls.push_back("fast"); };
    h.deceleration_tick = [&] { calls.push_back("decelerate"); };
    const LayoutData layout = main_window_layout(h);
    const WindowTemplate& w = layout.windows[0];

    std::size_t bindings = 0;
    for (const ControlTemplate& c : w.controls) bindings += c.events.size();
    EXPECT_EQ(bindings, 16u);

    // Runs the handler bound to `event` of `name` (the window: ""), false when there is none.
    auto fire = [&](std::string_view name, std::int32_t event, std::vector<std::int32_t> args = {}) {
        const ControlTemplate& c = name.empty() ? *w.self() : named(w, name);
        for (const EventBinding& b : c.events) {
            if (b.event == event && b.handler) {
                EXPECT_FALSE(b.handler(args).has_value());
                return true;
            }
        }
        return false;
    };
    EXPECT_TRUE(fire("", 0));
    EXPECT_TRUE(fire("", -4, {12, 34, 2}));
    EXPECT_FALSE(fire("", -1));
    EXPECT_TRUE(fire("按钮1", 0));
    EXPECT_TRUE(fire("按钮2", 0));
    EXPECT_FALSE(fire("按钮2", -4)); // right clicks on controls run nothing
    EXPECT_TRUE(fire("调节器1", 0, {1}));
    EXPECT_TRUE(fire("调节器8", 0, {-1}));
    for (int k = 2; k <= 7; ++k) EXPECT_TRUE(fire(numbered("调节器", k), 0, {1}));
    EXPECT_TRUE(fire("时钟1", 0));
    EXPECT_TRUE(fire("时钟2", 0));
    EXPECT_TRUE(fire("时钟3", 0));
    EXPECT_TRUE(fire("时钟4", 0));
    EXPECT_FALSE(fire("显示1", 0));

    const auto id = [](std::string_view name) { return std::to_string(main_window_control_id(name)); };
    std::vector<std::string> expected = {
        "created", "right 12,34,2", "start", "credits", "bet " + id("标签1") + " 1", "bet " + id("标签8") + " -1"};
    for (int k = 2; k <= 7; ++k) expected.push_back("bet " + id(numbered("标签", k)) + " 1");
    for (const char* tick : {"accelerate", "run length", "fast", "decelerate"}) expected.push_back(tick);
    EXPECT_EQ(calls, expected);

    // Without handlers nothing is bound.
    const LayoutData bare = main_window_layout({});
    for (const ControlTemplate& c : bare.windows[0].controls) EXPECT_TRUE(c.events.empty()) << c.name;
}

} // namespace
} // namespace tav::ui
