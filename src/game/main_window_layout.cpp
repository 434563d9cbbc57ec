#include "game/main_window_layout.hpp"

#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "assets/assets.hpp"
#include "gfx/logfont.hpp"
#include "core/gbk.hpp"
#include "ui/button.hpp"
#include "ui/control_kind.hpp"
#include "ui/label.hpp"
#include "ui/pic_box.hpp"
#include "ui/pic_btn.hpp"
#include "ui/spin.hpp"
#include "ui/timer.hpp"
#include "ui/trans_label.hpp"
#include "ui/window_control.hpp"

namespace tav::ui {
namespace {

using assets::Motif;

// Layout order, topmost first: the window restacks its controls in this order once all exist,
// and control ids are handed out along it.
constexpr std::array<std::string_view, kMainWindowControlCount> kLayoutOrder = {
    "透明标签2", "图片框18", "图片框15", "图片框16", "图片框13", "图片框14", "图片框11", "图片框12", "图片框10", "图片框9",
    "透明标签1", "标签x2", "按钮2", "标签10", "标签x1", "标签x", "标签9", "调节器8", "调节器7", "调节器6", "调节器5", "调节器4",
    "调节器3", "调节器2", "调节器1", "标签8", "标签7", "标签6", "标签5", "标签4", "标签3", "标签2", "图片框8", "图片框7", "图片框6",
    "图片框5", "图片框4", "图片框3", "图片框2", "图片框1", "图奖", "显示19", "显示20", "显示13", "显示14", "显示15", "显示16",
    "显示17", "显示18", "显示7", "显示8", "显示9", "显示10", "显示11", "显示12", "显示6", "显示5", "显示4", "显示3", "显示2",
    "显示1", "时钟4", "时钟3", "时钟2", "编辑框1", "标签", "时钟1", "按钮1", "吐框20", "吐框19", "吐框18", "吐框17", "吐框16",
    "吐框15", "吐框14", "吐框13", "吐框12", "吐框11", "吐框10", "吐框9", "吐框8", "吐框7", "吐框6", "吐框5", "吐框4", "吐框3",
    "吐框2", "吐框1", "图片框黑条", "图片框黑条1", "图片框黑条2", "图片框黑条3", "标签1",
};

constexpr std::uint32_t kFirstControlId = 0x16010001;

// The common RightDown event (right mouse button pressed over the control).
constexpr std::int32_t kRightDownEvent = -4;

// Property values of the window's own kind.
constexpr std::int32_t kFixedFrameBorder = 2;
constexpr std::int32_t kStartCentred = 1;

// PicBox and Label border codes.
constexpr std::int32_t kNoBorder = 0;
constexpr std::int32_t kSunkenEdge = 1;
constexpr std::int32_t kFrameAndSunkenEdge = 4;
constexpr std::int32_t kSingleLine = 5;

// PicBox PictureMode codes.
constexpr std::int32_t kNaturalSize = 0;
constexpr std::int32_t kStretched = 1;
constexpr std::int32_t kCentred = 2;

// Text alignment codes (HAlign and VAlign share them).
constexpr std::int32_t kAlignLeft = 0;
constexpr std::int32_t kAlignCentre = 1;
constexpr std::int32_t kAlignRight = 2;

// A Windows colour value 0x00BBGGRR.
constexpr std::int32_t ColorRef(int r, int g, int b) { return r | (g << 8) | (b << 16); }
constexpr std::int32_t kBlack = ColorRef(0, 0, 0);
constexpr std::int32_t kWhite = ColorRef(255, 255, 255);
constexpr std::int32_t kMagenta = ColorRef(255, 0, 255);
constexpr std::int32_t kCyan = ColorRef(0, 255, 255);
constexpr std::int32_t kGreen = ColorRef(0, 255, 0);
constexpr std::int32_t kRingGreen = ColorRef(128, 160, 128);
// The marker for the system's button-face colour.
constexpr std::int32_t kSystemDefaultColor = static_cast<std::int32_t>(kColorMarker);

// The ring: position k (1-based) at index k − 1, clockwise from the top-left corner.
struct RingPosition {
    Point corner; // of the ring picture; the lamp stands 2 pixels further up and left
    Motif motif;
};
constexpr std::array<RingPosition, 20> kRing = {{
    {{16, 16}, Motif::Knot},         {{83, 16}, Motif::Cherries},    {{150, 16}, Motif::Cars},
    {{217, 16}, Motif::Orange},      {{284, 16}, Motif::ZipperBadge}, {{351, 16}, Motif::Strawberry},
    {{351, 83}, Motif::BottleCap},   {{351, 150}, Motif::Butterfly},  {{351, 217}, Motif::Strawberry},
    {{351, 284}, Motif::Knot},       {{351, 351}, Motif::Kiwi},       {{284, 351}, Motif::Cherries},
    {{217, 351}, Motif::Cars},       {{150, 351}, Motif::Orange},     {{83, 351}, Motif::ZipperBadge},
    {{16, 351}, Motif::Strawberry},  {{16, 284}, Motif::BottleCap},   {{16, 217}, Motif::Kiwi},
    {{16, 150}, Motif::Butterfly},   {{16, 83}, Motif::Orange},
}};
constexpr int kRingPictureSize = 65;
constexpr int kLampSize = 69;
constexpr int kLampOverhang = 2;

// The bet row: column k (1-based) for symbol k.
constexpr int kBetRowLeft = 13;
constexpr int kBetColumnPitch = 51;
constexpr int kSpinnerIndent = 8;
constexpr Rect kBetDisplay = {0, 436, 48, 24};
constexpr Rect kSymbolPicture = {0, 462, 48, 48};
constexpr Rect kBetSpinner = {0, 514, 33, 50};

// The pay legend, top to bottom, in the order of the symbol index with the butterfly last.
struct LegendRow {
    std::string_view name;
    int top;
    Motif motif;
};
constexpr std::array<LegendRow, 9> kLegend = {{
    {"图片框9", 51, Motif::Cars},       {"图片框10", 87, Motif::BottleCap}, {"图片框12", 124, Motif::ZipperBadge},
    {"图片框11", 160, Motif::Knot},     {"图片框14", 197, Motif::Cherries}, {"图片框13", 233, Motif::Kiwi},
    {"图片框16", 269, Motif::Strawberry}, {"图片框15", 305, Motif::Orange}, {"图片框18", 341, Motif::Butterfly},
}};
constexpr int kLegendLeft = 432;
constexpr int kLegendPictureSize = 30;
// One text row per picture, then empty lines down to the next picture.
constexpr std::string_view kLegendText =
    "100倍\r\n\r\n\r\n50倍\r\n\r\n\r\n10倍\r\n\r\n\r\n6倍\r\n\r\n\r\n5倍\r\n\r\n\r\n4倍\r\n\r\n\r\n"
    "3倍\r\n\r\n\r\n2倍\r\n\r\n\r\n随机";

// The four black bars behind the ring pictures.
struct Bar {
    std::string_view name;
    Rect rect;
};
constexpr std::array<Bar, 4> kBars = {{
    {"图片框黑条", {349, 14, 69, 404}},
    {"图片框黑条1", {14, 14, 69, 404}},
    {"图片框黑条2", {84, 349, 264, 69}},
    {"图片框黑条3", {84, 14, 264, 69}},
}};

// The four timers of the spin cycle, left to right outside the window.
constexpr std::array<std::string_view, 4> kTimers = {"时钟1", "时钟2", "时钟3", "时钟4"};
constexpr int kTimerLeft = 536;
constexpr int kTimerTop = 488;
constexpr int kTimerSize = 32;

std::string Numbered(std::string_view stem, std::size_t k) { return std::string(stem) + std::to_string(k); }

Value Int(std::int32_t v) { return Value::OfInteger(v); }
Value Flag(bool v) { return Value::OfBool(v); }
Value Caption(std::string_view utf8) { return Value::OfText(Gbk(utf8)); }
// The pictures are the program's embedded assets, which values view in place.
Value Picture(std::span<const std::uint8_t> bytes) { return Value::OfLastingBytes(bytes); }
Value Font(std::string_view face_utf8, int pixels) {
    const auto record = MakeLogFont(Gbk(face_utf8).view(), pixels, kWeightBold);
    return Value::OfBytes(record);
}

// Collects the controls by name; the ids and the order come from kLayoutOrder at the end.
class Builder {
public:
    // A new control of `kind` at `rect` with room for all its own properties.
    ControlTemplate& add(std::string_view name, std::uint32_t kind, Rect rect) {
        ControlTemplate c;
        c.id = MainWindowControlId(name);
        c.kind = kind;
        c.name = std::string(name);
        c.rect = rect;
        const ControlKind* k = FindKind(kind);
        c.properties.resize(k != nullptr ? static_cast<std::size_t>(k->own_property_count()) : 0);
        auto [it, fresh] = controls_.emplace(std::string(name), std::move(c));
        (void)fresh;
        return it->second;
    }

    // Every control in layout order.
    std::vector<ControlTemplate> take_in_layout_order() {
        std::vector<ControlTemplate> out;
        out.reserve(kLayoutOrder.size());
        for (std::string_view name : kLayoutOrder) {
            auto it = controls_.find(std::string(name));
            if (it != controls_.end()) out.push_back(std::move(it->second));
        }
        return out;
    }

private:
    std::map<std::string, ControlTemplate, std::less<>> controls_;
};

// Sets own property `local`.
void Set(ControlTemplate& c, int local, Value v) {
    const auto at = static_cast<std::size_t>(local);
    if (at >= c.properties.size()) c.properties.resize(at + 1);
    c.properties[at] = std::move(v);
}

// The settings every Label of the window shares.
ControlTemplate& AddLabel(Builder& b, std::string_view name, Rect rect, std::string_view caption) {
    ControlTemplate& c = b.add(name, kind_id::kLabel, rect);
    Set(c, Label::kCaption, Caption(caption));
    Set(c, Label::kTextEffect, Int(0));
    Set(c, Label::kVAlign, Int(kAlignCentre));
    Set(c, Label::kWordWrap, Flag(false));
    Set(c, Label::kGradientBackMode, Int(0));
    return c;
}

// A label of the counters and bet displays: text in `font` on black, sunken edge, centred
// unless said otherwise.
ControlTemplate& AddPanelLabel(Builder& b, std::string_view name, Rect rect, std::string_view caption, Value font,
                               std::int32_t text_color, std::int32_t h_align = kAlignCentre) {
    ControlTemplate& c = AddLabel(b, name, rect, caption);
    Set(c, Label::kFont, std::move(font));
    Set(c, Label::kTextColor, Int(text_color));
    Set(c, Label::kBackColor, Int(kBlack));
    Set(c, Label::kBorder, Int(kSunkenEdge));
    Set(c, Label::kHAlign, Int(h_align));
    return c;
}

ControlTemplate& AddPicBox(Builder& b, std::string_view name, Rect rect, std::int32_t border, std::int32_t back_color,
                           std::int32_t mode) {
    ControlTemplate& c = b.add(name, kind_id::kPicBox, rect);
    Set(c, PicBox::kBorder, Int(border));
    Set(c, PicBox::kBackColor, Int(back_color));
    Set(c, PicBox::kPictureMode, Int(mode));
    return c;
}

ControlTemplate MainWindowItself() {
    ControlTemplate w;
    w.id = kWindowSelfControlId;
    w.kind = kind_id::kWindow;
    // The window kind takes the stored size as outer size less the frame the desktop reports.
    // Our desktops draw their frame outside the window we own and report none for it, so the
    // stored size is the client area the window opens with: the area the 511 × 615 fixed
    // frame of the original desktop leaves, so the board is stretched the same way there.
    w.rect = {kMainWindowStoredPosition.x, kMainWindowStoredPosition.y, kMainWindowClientSize.width,
              kMainWindowClientSize.height};
    w.properties.resize(static_cast<std::size_t>(FindKind(kind_id::kWindow)->own_property_count()));
    Set(w, WindowControl::kCaption, Caption("Tavrino"));
    Set(w, WindowControl::kBorder, Int(kFixedFrameBorder));
    Set(w, WindowControl::kBackColor, Int(kSystemDefaultColor));
    Set(w, WindowControl::kBackPicture, Picture(assets::BoardBackground()));
    Set(w, WindowControl::kBackPictureMode, Int(WindowControl::kStretchedPicture));
    Set(w, WindowControl::kControlBox, Flag(true));
    Set(w, WindowControl::kMaxButton, Flag(false));
    Set(w, WindowControl::kMinButton, Flag(true));
    Set(w, WindowControl::kStartPosition, Int(kStartCentred));
    Set(w, WindowControl::kMovable, Flag(true));
    return w;
}

void AddRing(Builder& b) {
    const auto lamp = assets::LampFrame();
    for (std::size_t i = 0; i < kRing.size(); ++i) {
        const Point at = kRing[i].corner;
        ControlTemplate& pic = AddPicBox(b, Numbered("吐框", i + 1), {at.x, at.y, kRingPictureSize, kRingPictureSize},
                                         kNoBorder, kRingGreen, kCentred);
        Set(pic, PicBox::kPicture, Picture(assets::LargePicture(kRing[i].motif)));

        ControlTemplate& btn = b.add(Numbered("显示", i + 1), kind_id::kPicBtn,
                                     {at.x - kLampOverhang, at.y - kLampOverhang, kLampSize, kLampSize});
        btn.visible = false;
        Set(btn, PicBtn::kButtonKind, Int(0));
        Set(btn, PicBtn::kNormalPicture, Picture(lamp));
        Set(btn, PicBtn::kTransparentColor, Int(kBlack));
    }
    for (const Bar& bar : kBars) AddPicBox(b, bar.name, bar.rect, kNoBorder, kBlack, kNaturalSize);
}

void AddInsideRing(Builder& b) {
    AddPicBox(b, "图奖", {174, 118, 85, 85}, kFrameAndSunkenEdge, kSystemDefaultColor, kStretched);

    ControlTemplate& odds = b.add("透明标签1", kind_id::kTransLabel, {187, 209, 37, 18});
    Set(odds, TransLabel::kCaption, Caption("0"));
    Set(odds, TransLabel::kFont, Font("黑体", 21));
    Set(odds, TransLabel::kTextColor, Int(kMagenta));
    Set(odds, TransLabel::kHAlign, Int(kAlignCentre));
    Set(odds, TransLabel::kVAlign, Int(kAlignCentre));
    Set(odds, TransLabel::kWordWrap, Flag(false));
    Set(odds, TransLabel::kTextEffect, Int(0));

    AddPanelLabel(b, "标签x2", {183, 207, 66, 24}, "倍", Font("宋体", 20), kMagenta, kAlignRight);
    AddPanelLabel(b, "标签x", {126, 277, 55, 24}, "总分:", Font("宋体", 20), kWhite);
    AddPanelLabel(b, "标签9", {181, 277, 126, 24}, "0", Font("黑体", 24), kCyan);
    AddPanelLabel(b, "标签x1", {126, 304, 55, 24}, "得分:", Font("宋体", 20), kWhite);
    AddPanelLabel(b, "标签10", {181, 304, 126, 24}, "0", Font("黑体", 24), kGreen);
}

void AddBetRow(Builder& b) {
    constexpr std::array<Motif, 8> kSymbols = {Motif::Cars,     Motif::BottleCap, Motif::ZipperBadge, Motif::Knot,
                                               Motif::Cherries, Motif::Kiwi,      Motif::Strawberry,  Motif::Orange};
    for (std::size_t i = 0; i < kSymbols.size(); ++i) {
        const int left = kBetRowLeft + kBetColumnPitch * static_cast<int>(i);
        AddPanelLabel(b, Numbered("标签", i + 1), kBetDisplay.translated(left, 0), "0", Font("黑体", 24), kCyan);
        ControlTemplate& pic =
            AddPicBox(b, Numbered("图片框", i + 1), kSymbolPicture.translated(left, 0), kSunkenEdge, kSystemDefaultColor,
                      kStretched);
        Set(pic, PicBox::kPicture, Picture(assets::LargePicture(kSymbols[i])));
        b.add(Numbered("调节器", i + 1), kind_id::kSpin, kBetSpinner.translated(left + kSpinnerIndent, 0));
    }
}

void AddLegend(Builder& b) {
    for (const LegendRow& row : kLegend) {
        ControlTemplate& pic = AddPicBox(b, row.name, {kLegendLeft, row.top, kLegendPictureSize, kLegendPictureSize},
                                         kSingleLine, kSystemDefaultColor, kStretched);
        Set(pic, PicBox::kPicture, Picture(assets::SmallPicture(row.motif)));
    }
    ControlTemplate& text = b.add("透明标签2", kind_id::kTransLabel, {467, 61, 34, 304});
    Set(text, TransLabel::kCaption, Caption(kLegendText));
    Set(text, TransLabel::kFont, Font("宋体", 12));
    Set(text, TransLabel::kTextColor, Int(kWhite));
    Set(text, TransLabel::kHAlign, Int(kAlignLeft));
    Set(text, TransLabel::kWordWrap, Flag(true));
    Set(text, TransLabel::kTextEffect, Int(0));
}

void AddButtons(Builder& b) {
    auto button = [&](std::string_view name, Rect rect, std::string_view caption) -> ControlTemplate& {
        ControlTemplate& c = b.add(name, kind_id::kButton, rect);
        c.tab_stop = true;
        Set(c, Button::kCaption, Caption(caption));
        Set(c, Button::kButtonType, Int(0));
        Set(c, Button::kHAlign, Int(kAlignCentre));
        Set(c, Button::kVAlign, Int(kAlignCentre));
        return c;
    };
    button("按钮2", {433, 436, 64, 34}, "上分");
    Set(button("按钮1", {433, 475, 64, 89}, "开始"), Button::kFont, Font("楷体_GB2312", 21));
}

void AddHiddenHelpers(Builder& b) {
    ControlTemplate& position = b.add("编辑框1", kind_id::kEditBox, {552, 448, 56, 32});
    position.visible = false;
    position.tab_stop = true;

    ControlTemplate& readout = AddLabel(b, "标签", {609, 448, 48, 32}, "");
    readout.visible = false;
    Set(readout, Label::kFont, Font("宋体", 20));
    Set(readout, Label::kTextColor, Int(kBlack));
    Set(readout, Label::kBackColor, Int(kSystemDefaultColor));
    Set(readout, Label::kBorder, Int(kNoBorder));
    Set(readout, Label::kHAlign, Int(kAlignLeft));

    for (std::size_t i = 0; i < kTimers.size(); ++i) {
        ControlTemplate& t = b.add(kTimers[i], kind_id::kTimer,
                                   {kTimerLeft + kTimerSize * static_cast<int>(i), kTimerTop, kTimerSize, kTimerSize});
        Set(t, Timer::kInterval, Int(0));
    }
}

// A handler that runs `f` with no arguments and produces no result; unbound when `f` is empty.
Handler Plain(const std::function<void()>& f) {
    if (!f) return {};
    return [f](std::span<const std::int32_t>) -> std::optional<std::int32_t> {
        f();
        return std::nullopt;
    };
}

// The event's argument `i`, 0 when the event carried fewer.
std::int32_t Argument(std::span<const std::int32_t> args, std::size_t i) { return i < args.size() ? args[i] : 0; }

void Bind(std::vector<ControlTemplate>& controls, std::string_view name, std::int32_t event, Handler h) {
    if (!h) return;
    auto it = std::ranges::find(controls, name, &ControlTemplate::name);
    if (it != controls.end()) it->events.push_back({event, std::move(h)});
}

void BindEvents(std::vector<ControlTemplate>& controls, const MainWindowHandlers& h) {
    ControlTemplate& window = controls.front();
    if (h.window_created) window.events.push_back({WindowControl::kCreated, Plain(h.window_created)});
    if (h.window_right_down) {
        window.events.push_back({kRightDownEvent, [f = h.window_right_down](std::span<const std::int32_t> args)
                                                      -> std::optional<std::int32_t> {
                                     f(Argument(args, 0), Argument(args, 1), Argument(args, 2));
                                     return std::nullopt;
                                 }});
    }
    Bind(controls, "按钮1", Button::kClick, Plain(h.start_spin));
    Bind(controls, "按钮2", Button::kClick, Plain(h.add_credits));
    if (h.change_bet) {
        for (std::size_t k = 1; k <= 8; ++k) {
            const std::uint32_t display = MainWindowControlId(Numbered("标签", k));
            Bind(controls, Numbered("调节器", k), Spin::kAdjust,
                 [f = h.change_bet, display](std::span<const std::int32_t> args) -> std::optional<std::int32_t> {
                     f(display, Argument(args, 0));
                     return std::nullopt;
                 });
        }
    }
    Bind(controls, "时钟1", Timer::kTick, Plain(h.acceleration_tick));
    Bind(controls, "时钟2", Timer::kTick, Plain(h.run_length_tick));
    Bind(controls, "时钟3", Timer::kTick, Plain(h.fast_run_tick));
    Bind(controls, "时钟4", Timer::kTick, Plain(h.deceleration_tick));
}

} // namespace

std::span<const std::string_view> MainWindowControlNames() { return kLayoutOrder; }

std::uint32_t MainWindowControlId(std::string_view name) {
    // The game names controls at every lamp step: build the name index once.
    static const std::unordered_map<std::string_view, std::uint32_t> ids = [] {
        std::unordered_map<std::string_view, std::uint32_t> m;
        for (std::size_t i = 0; i < kLayoutOrder.size(); ++i)
            m.emplace(kLayoutOrder[i], kFirstControlId + static_cast<std::uint32_t>(i));
        return m;
    }();
    const auto it = ids.find(name);
    return it != ids.end() ? it->second : kNoControlId;
}

LayoutData MainWindowLayout(const MainWindowHandlers& handlers) {
    Builder b;
    AddRing(b);
    AddInsideRing(b);
    AddBetRow(b);
    AddLegend(b);
    AddButtons(b);
    AddHiddenHelpers(b);

    WindowTemplate window;
    window.id = kMainWindowId;
    window.controls.push_back(MainWindowItself());
    for (ControlTemplate& c : b.take_in_layout_order()) window.controls.push_back(std::move(c));
    window.stacking.reserve(kLayoutOrder.size());
    for (std::string_view name : kLayoutOrder) window.stacking.push_back(MainWindowControlId(name));
    BindEvents(window.controls, handlers);

    LayoutData layout;
    layout.windows.push_back(std::move(window));
    layout.startup_window = kMainWindowId;
    return layout;
}

} // namespace tav::ui
