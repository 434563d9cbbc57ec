// Building the main window's layout: ring, prize area, bet row, legend, buttons, hidden helpers, events.
#include "game/main_window_layout.hpp"

#include <algorithm>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>

#include "assets/assets.hpp"
#include "core/gbk.hpp"
#include "game/board.hpp"
#include "gfx/logfont.hpp"
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

namespace board = game::board;

// Layout order, topmost first: the window restacks its controls in this order once all exist,
// and control ids are handed out along it.
constexpr std::array<std::string_view, kMainWindowControlCount> kLayoutOrder = {
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
    "图片框黑条", "图片框黑条1", "图片框黑条2", "图片框黑条3", "标签1",
};

// Every control the board names is one of the layout's.
consteval bool in_layout(std::string_view name) { return std::ranges::find(kLayoutOrder, name) != kLayoutOrder.end(); }
consteval bool board_names_in_layout() {
    for (const std::string_view name :
         {board::kCredits, board::kWin, board::kOdds, board::kLampPosition, board::kIntervalReadout,
          board::kPrizePicture, board::kAccelerationTimer, board::kRunLengthTimer, board::kFastRunTimer,
          board::kDecelerationTimer, board::kStartButton, board::kAddCreditsButton, board::kLegendText}) {
        if (!in_layout(name)) return false;
    }
    for (const board::RingPosition& position : board::kRing) {
        if (!in_layout(position.picture) || !in_layout(position.lamp)) return false;
    }
    for (const board::BetColumn& column : board::kBetColumns) {
        if (!in_layout(column.bet_display) || !in_layout(column.picture) || !in_layout(column.spinner)) return false;
    }
    for (const std::string_view name : board::kLegendPictures) {
        if (!in_layout(name)) return false;
    }
    return true;
}
static_assert(board_names_in_layout());

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
constexpr std::int32_t color_ref(int r, int g, int b) { return r | (g << 8) | (b << 16); }
constexpr std::int32_t kBlack = color_ref(0, 0, 0);
constexpr std::int32_t kWhite = color_ref(255, 255, 255);
constexpr std::int32_t kMagenta = color_ref(255, 0, 255);
constexpr std::int32_t kCyan = color_ref(0, 255, 255);
constexpr std::int32_t kGreen = color_ref(0, 255, 0);
constexpr std::int32_t kRingGreen = color_ref(128, 160, 128);
// The marker for the system's button-face colour.
constexpr std::int32_t kSystemDefaultColor = static_cast<std::int32_t>(kColorMarker);

// Where each ring position's picture stands, in the order of the board's ring: clockwise from
// the top-left corner, 67 pixels apart. The lamp stands 2 pixels further up and left.
constexpr std::array<Point, board::kRing.size()> kRingCorners = {{
    {16, 16},   {83, 16},   {150, 16},  {217, 16},  {284, 16}, {351, 16}, {351, 83}, {351, 150}, {351, 217}, {351, 284},
    {351, 351}, {284, 351}, {217, 351}, {150, 351}, {83, 351}, {16, 351}, {16, 284}, {16, 217},  {16, 150},  {16, 83},
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

// The tops of the legend's picture boxes, in the order of the board's legend rows.
constexpr std::array<int, board::kLegendPictures.size()> kLegendTops = {51, 87, 124, 160, 197, 233, 269, 305, 341};
constexpr int kLegendLeft = 432;
constexpr int kLegendPictureSize = 30;

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

Value int_value(std::int32_t v) { return Value::of_integer(v); }
Value flag(bool v) { return Value::of_bool(v); }
Value caption_value(std::string_view utf8) { return Value::of_text(gbk(utf8)); }
// The pictures are the program's embedded assets, which values view in place.
Value picture(std::span<const std::uint8_t> bytes) { return Value::of_lasting_bytes(bytes); }
Value font(std::string_view face_utf8, int pixels) {
    const auto record = make_log_font(gbk(face_utf8).view(), pixels, kWeightBold);
    return Value::of_bytes(record);
}

// Collects the controls by name; the ids and the order come from kLayoutOrder at the end.
class Builder {
public:
    // A new control of `kind` at `rect` with room for all its own properties.
    ControlTemplate& add(std::string_view name, std::uint32_t kind, Rect rect) {
        ControlTemplate c;
        c.id = main_window_control_id(name);
        c.kind = kind;
        c.name = std::string(name);
        c.rect = rect;
        const ControlKind* k = find_kind(kind);
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
void set(ControlTemplate& c, int local, Value v) {
    const auto at = static_cast<std::size_t>(local);
    if (at >= c.properties.size()) c.properties.resize(at + 1);
    c.properties[at] = std::move(v);
}

// The settings every Label of the window shares.
ControlTemplate& add_label(Builder& b, std::string_view name, Rect rect, std::string_view caption) {
    ControlTemplate& c = b.add(name, kind_id::kLabel, rect);
    set(c, Label::kCaption, caption_value(caption));
    set(c, Label::kTextEffect, int_value(0));
    set(c, Label::kVAlign, int_value(kAlignCentre));
    set(c, Label::kWordWrap, flag(false));
    set(c, Label::kGradientBackMode, int_value(0));
    return c;
}

// A label of the counters and bet displays: text in `font` on black, sunken edge, centred
// unless said otherwise.
ControlTemplate& add_panel_label(Builder& b, std::string_view name, Rect rect, std::string_view caption, Value font,
                                 std::int32_t text_color, std::int32_t h_align = kAlignCentre) {
    ControlTemplate& c = add_label(b, name, rect, caption);
    set(c, Label::kFont, std::move(font));
    set(c, Label::kTextColor, int_value(text_color));
    set(c, Label::kBackColor, int_value(kBlack));
    set(c, Label::kBorder, int_value(kSunkenEdge));
    set(c, Label::kHAlign, int_value(h_align));
    return c;
}

ControlTemplate& add_pic_box(Builder& b, std::string_view name, Rect rect, std::int32_t border, std::int32_t back_color,
                             std::int32_t mode) {
    ControlTemplate& c = b.add(name, kind_id::kPicBox, rect);
    set(c, PicBox::kBorder, int_value(border));
    set(c, PicBox::kBackColor, int_value(back_color));
    set(c, PicBox::kPictureMode, int_value(mode));
    return c;
}

ControlTemplate main_window_itself() {
    ControlTemplate w;
    w.id = kWindowSelfControlId;
    w.kind = kind_id::kWindow;
    // The window kind takes the stored size as outer size less the frame the desktop reports.
    // Our desktops draw their frame outside the window we own and report none for it, so the
    // stored size is the client area the window opens with: the area the 511 × 615 fixed
    // frame leaves on a classic desktop, so the board is stretched the same way there.
    w.rect = {kMainWindowStoredPosition.x, kMainWindowStoredPosition.y, kMainWindowClientSize.width,
              kMainWindowClientSize.height};
    w.properties.resize(static_cast<std::size_t>(find_kind(kind_id::kWindow)->own_property_count()));
    set(w, WindowControl::kCaption, caption_value("Tavrino"));
    set(w, WindowControl::kBorder, int_value(kFixedFrameBorder));
    set(w, WindowControl::kBackColor, int_value(kSystemDefaultColor));
    set(w, WindowControl::kBackPicture, picture(assets::board_background()));
    set(w, WindowControl::kBackPictureMode, int_value(WindowControl::kStretchedPicture));
    set(w, WindowControl::kControlBox, flag(true));
    set(w, WindowControl::kMaxButton, flag(false));
    set(w, WindowControl::kMinButton, flag(true));
    set(w, WindowControl::kStartPosition, int_value(kStartCentred));
    set(w, WindowControl::kMovable, flag(true));
    return w;
}

void add_ring(Builder& b) {
    const auto lamp = assets::lamp_frame();
    for (std::size_t i = 0; i < board::kRing.size(); ++i) {
        const board::RingPosition& position = board::kRing[i];
        const Point at = kRingCorners[i];
        ControlTemplate& pic = add_pic_box(b, position.picture, {at.x, at.y, kRingPictureSize, kRingPictureSize},
                                           kNoBorder, kRingGreen, kCentred);
        set(pic, PicBox::kPicture, picture(assets::large_picture(position.motif)));

        ControlTemplate& btn =
            b.add(position.lamp, kind_id::kPicBtn, {at.x - kLampOverhang, at.y - kLampOverhang, kLampSize, kLampSize});
        btn.visible = false;
        set(btn, PicBtn::kButtonKind, int_value(0));
        set(btn, PicBtn::kNormalPicture, picture(lamp));
        set(btn, PicBtn::kTransparentColor, int_value(kBlack));
    }
    for (const Bar& bar : kBars) add_pic_box(b, bar.name, bar.rect, kNoBorder, kBlack, kNaturalSize);
}

void add_inside_ring(Builder& b) {
    add_pic_box(b, "图奖", {174, 118, 85, 85}, kFrameAndSunkenEdge, kSystemDefaultColor, kStretched);

    ControlTemplate& odds = b.add("透明标签1", kind_id::kTransLabel, {187, 209, 37, 18});
    set(odds, TransLabel::kCaption, caption_value("0"));
    set(odds, TransLabel::kFont, font("黑体", 21));
    set(odds, TransLabel::kTextColor, int_value(kMagenta));
    set(odds, TransLabel::kHAlign, int_value(kAlignCentre));
    set(odds, TransLabel::kVAlign, int_value(kAlignCentre));
    set(odds, TransLabel::kWordWrap, flag(false));
    set(odds, TransLabel::kTextEffect, int_value(0));

    add_panel_label(b, "标签x2", {183, 207, 66, 24}, "倍", font("宋体", 20), kMagenta, kAlignRight);
    add_panel_label(b, "标签x", {126, 277, 55, 24}, "总分:", font("宋体", 20), kWhite);
    add_panel_label(b, "标签9", {181, 277, 126, 24}, "0", font("黑体", 24), kCyan);
    add_panel_label(b, "标签x1", {126, 304, 55, 24}, "得分:", font("宋体", 20), kWhite);
    add_panel_label(b, "标签10", {181, 304, 126, 24}, "0", font("黑体", 24), kGreen);
}

void add_bet_row(Builder& b) {
    for (std::size_t i = 0; i < board::kBetColumns.size(); ++i) {
        const board::BetColumn& column = board::kBetColumns[i];
        const int left = kBetRowLeft + kBetColumnPitch * static_cast<int>(i);
        add_panel_label(b, column.bet_display, kBetDisplay.translated(left, 0), "0", font("黑体", 24), kCyan);
        ControlTemplate& pic = add_pic_box(b, column.picture, kSymbolPicture.translated(left, 0), kSunkenEdge,
                                           kSystemDefaultColor, kStretched);
        set(pic, PicBox::kPicture, picture(assets::large_picture(column.motif)));
        b.add(column.spinner, kind_id::kSpin, kBetSpinner.translated(left + kSpinnerIndent, 0));
    }
}

void add_legend(Builder& b) {
    for (std::size_t row = 0; row < board::kLegendPictures.size(); ++row) {
        ControlTemplate& pic = add_pic_box(b, board::kLegendPictures[row],
                                           {kLegendLeft, kLegendTops[row], kLegendPictureSize, kLegendPictureSize},
                                           kSingleLine, kSystemDefaultColor, kStretched);
        set(pic, PicBox::kPicture, picture(assets::small_picture(board::legend_motif(row))));
    }
    ControlTemplate& text = b.add(board::kLegendText, kind_id::kTransLabel, {467, 61, 34, 304});
    set(text, TransLabel::kCaption, caption_value(board::legend_caption()));
    set(text, TransLabel::kFont, font("宋体", 12));
    set(text, TransLabel::kTextColor, int_value(kWhite));
    set(text, TransLabel::kHAlign, int_value(kAlignLeft));
    set(text, TransLabel::kWordWrap, flag(true));
    set(text, TransLabel::kTextEffect, int_value(0));
}

void add_buttons(Builder& b) {
    auto button = [&](std::string_view name, Rect rect, std::string_view caption) -> ControlTemplate& {
        ControlTemplate& c = b.add(name, kind_id::kButton, rect);
        c.tab_stop = true;
        set(c, Button::kCaption, caption_value(caption));
        set(c, Button::kButtonType, int_value(0));
        set(c, Button::kHAlign, int_value(kAlignCentre));
        set(c, Button::kVAlign, int_value(kAlignCentre));
        return c;
    };
    button("按钮2", {433, 436, 64, 34}, "上分");
    set(button("按钮1", {433, 475, 64, 89}, "开始"), Button::kFont, font("楷体_GB2312", 21));
}

void add_hidden_helpers(Builder& b) {
    ControlTemplate& position = b.add("编辑框1", kind_id::kEditBox, {552, 448, 56, 32});
    position.visible = false;
    position.tab_stop = true;

    ControlTemplate& readout = add_label(b, "标签", {609, 448, 48, 32}, "");
    readout.visible = false;
    set(readout, Label::kFont, font("宋体", 20));
    set(readout, Label::kTextColor, int_value(kBlack));
    set(readout, Label::kBackColor, int_value(kSystemDefaultColor));
    set(readout, Label::kBorder, int_value(kNoBorder));
    set(readout, Label::kHAlign, int_value(kAlignLeft));

    for (std::size_t i = 0; i < kTimers.size(); ++i) {
        ControlTemplate& t = b.add(kTimers[i], kind_id::kTimer,
                                   {kTimerLeft + kTimerSize * static_cast<int>(i), kTimerTop, kTimerSize, kTimerSize});
        set(t, Timer::kInterval, int_value(0));
    }
}

// A handler that runs `f` with no arguments and produces no result; unbound when `f` is empty.
Handler plain(const std::function<void()>& f) {
    if (!f) return {};
    return [f](std::span<const std::int32_t>) -> std::optional<std::int32_t> {
        f();
        return std::nullopt;
    };
}

// The event's argument `i`, 0 when the event carried fewer.
std::int32_t argument(std::span<const std::int32_t> args, std::size_t i) { return i < args.size() ? args[i] : 0; }

void bind_event(std::vector<ControlTemplate>& controls, std::string_view name, std::int32_t event, Handler h) {
    if (!h) return;
    auto it = std::ranges::find(controls, name, &ControlTemplate::name);
    if (it != controls.end()) it->events.push_back({event, std::move(h)});
}

void bind_events(std::vector<ControlTemplate>& controls, const MainWindowHandlers& h) {
    ControlTemplate& window = controls.front();
    if (h.window_created) window.events.push_back({WindowControl::kCreated, plain(h.window_created)});
    if (h.window_right_down) {
        window.events.push_back(
            {kRightDownEvent,
             [f = h.window_right_down](std::span<const std::int32_t> args) -> std::optional<std::int32_t> {
                 f(argument(args, 0), argument(args, 1), argument(args, 2));
                 return std::nullopt;
             }});
    }
    bind_event(controls, board::kStartButton, Button::kClick, plain(h.start_spin));
    bind_event(controls, board::kAddCreditsButton, Button::kClick, plain(h.add_credits));
    if (h.change_bet) {
        for (const board::BetColumn& column : board::kBetColumns) {
            const std::uint32_t display = main_window_control_id(column.bet_display);
            bind_event(controls, column.spinner, Spin::kAdjust,
                       [f = h.change_bet, display](std::span<const std::int32_t> args) -> std::optional<std::int32_t> {
                           f(display, argument(args, 0));
                           return std::nullopt;
                       });
        }
    }
    bind_event(controls, board::kAccelerationTimer, Timer::kTick, plain(h.acceleration_tick));
    bind_event(controls, board::kRunLengthTimer, Timer::kTick, plain(h.run_length_tick));
    bind_event(controls, board::kFastRunTimer, Timer::kTick, plain(h.fast_run_tick));
    bind_event(controls, board::kDecelerationTimer, Timer::kTick, plain(h.deceleration_tick));
}

} // namespace

std::span<const std::string_view> main_window_control_names() { return kLayoutOrder; }

std::uint32_t main_window_control_id(std::string_view name) {
    // The game names controls at every lamp step: build the name index once.
    static const std::unordered_map<std::string_view, std::uint32_t> kIds = [] {
        std::unordered_map<std::string_view, std::uint32_t> m;
        for (std::size_t i = 0; i < kLayoutOrder.size(); ++i)
            m.emplace(kLayoutOrder[i], kFirstControlId + static_cast<std::uint32_t>(i));
        return m;
    }();
    const auto it = kIds.find(name);
    return it != kIds.end() ? it->second : kNoControlId;
}

LayoutData main_window_layout(const MainWindowHandlers& handlers) {
    Builder b;
    add_ring(b);
    add_inside_ring(b);
    add_bet_row(b);
    add_legend(b);
    add_buttons(b);
    add_hidden_helpers(b);

    WindowTemplate window;
    window.id = kMainWindowId;
    window.controls.push_back(main_window_itself());
    for (ControlTemplate& c : b.take_in_layout_order()) window.controls.push_back(std::move(c));
    window.stacking.reserve(kLayoutOrder.size());
    for (std::string_view name : kLayoutOrder) window.stacking.push_back(main_window_control_id(name));
    bind_events(window.controls, handlers);

    LayoutData layout;
    layout.windows.push_back(std::move(window));
    layout.startup_window = kMainWindowId;
    return layout;
}

} // namespace tav::ui
