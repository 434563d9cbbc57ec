// A window of our window system on the desktop, for the smoke test and start-up measurements:
// a 505 x 584 window "Tavrino", centred, painted blue with a red square in the top-left corner,
// a green square wherever the left button is pressed, a cyan one wherever it is double-clicked,
// and a marker in the top row for each of: the K key pressed, the character 'k' typed, the
// wheel turned one notch away from the user. A square in the top row blinks black and white
// every 100 ms from a timer. Its icon is a blue square. Closing it (or
// SIGTERM/SIGINT) ends the program with 0. With --box a modal box "信息提示！" opens over it, the main window disabled
// until the box is closed.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "gfx/painter.hpp"
#include "platform/sdl/sdl_backend.hpp"
#include "platform/window_delegate.hpp"
#include "platform/window_system.hpp"
#include "runtime/command_line.hpp"

namespace {

using tav::Painter;
using tav::Point;
using tav::Rect;
using tav::rgb;
using tav::Size;
namespace platform = tav::platform;

constexpr Size kMainClient{505, 584};
constexpr Size kBoxClient{300, 120};
constexpr tav::Argb kBackground = rgb(0x20, 0x60, 0xA0);
constexpr tav::Argb kCornerMark = rgb(0xFF, 0x00, 0x00);
constexpr tav::Argb kClickMark = rgb(0x00, 0xFF, 0x00);
constexpr tav::Argb kDoubleClickMark = rgb(0x00, 0xFF, 0xFF);
constexpr tav::Argb kBoxFace = rgb(0xF0, 0xF0, 0xF0);
constexpr tav::Argb kKeyMark = rgb(0xFF, 0xFF, 0x00);
constexpr tav::Argb kCharMark = rgb(0xFF, 0x00, 0xFF);
constexpr tav::Argb kWheelMark = rgb(0xFF, 0xFF, 0xFF);
constexpr Rect kCornerRect{0, 0, 40, 40};
constexpr Rect kKeyRect{60, 0, 20, 20};
constexpr Rect kCharRect{90, 0, 20, 20};
constexpr Rect kWheelRect{120, 0, 20, 20};
constexpr Rect kBlinkRect{150, 0, 20, 20};
constexpr tav::Argb kBlinkOn = rgb(0xFF, 0xFF, 0xFF);
constexpr tav::Argb kBlinkOff = rgb(0x00, 0x00, 0x00);
constexpr int kBlinkTimer = 1;
constexpr int kBlinkPeriodMs = 100;
constexpr int kClickMarkSize = 16;
constexpr int kIconSize = 16;
constexpr int kWheelNotch = 120;

class MainWindow : public platform::WindowDelegate {
public:
    explicit MainWindow(platform::WindowSystem& system) : system_(system) {
        platform::TopLevelStyle style;
        style.minimise_box = true;
        style.centred = true;
        handle_ = system_.create_top_level(*this, kMainClient, style, "Tavrino");
        if (handle_ == platform::kNoWindow) return;
        system_.set_icon(handle_, tav::Bitmap(kIconSize, kIconSize, kBackground));
        system_.set_timer(handle_, kBlinkTimer, kBlinkPeriodMs);
    }
    platform::WindowHandle handle() const { return handle_; }

    void on_paint(Painter& p) override {
        p.fill_rect({0, 0, kMainClient.width, kMainClient.height}, kBackground);
        p.fill_rect(kCornerRect, kCornerMark);
        for (const auto& [r, colour] : marks_) p.fill_rect(r, colour);
        p.fill_rect(kBlinkRect, blink_on_ ? kBlinkOn : kBlinkOff);
    }
    void on_timer(int id) override {
        if (id != kBlinkTimer) return;
        blink_on_ = !blink_on_;
        system_.invalidate(handle_, kBlinkRect);
    }
    void on_mouse_down(platform::MouseButton b, Point at, std::uint32_t) override {
        if (b == platform::MouseButton::Left) mark_around(at, kClickMark);
    }
    void on_double_click(platform::MouseButton b, Point at, std::uint32_t) override {
        if (b == platform::MouseButton::Left) mark_around(at, kDoubleClickMark);
    }
    bool on_key_down(int vk, std::uint32_t) override {
        if (vk == 'K') mark(kKeyRect, kKeyMark);
        return false;
    }
    void on_char(std::uint32_t character) override {
        if (character == 'k') mark(kCharRect, kCharMark);
    }
    void on_wheel(int delta, Point, std::uint32_t) override {
        if (delta == kWheelNotch) mark(kWheelRect, kWheelMark);
    }
    void on_close_request() override {
        system_.destroy(handle_);
        system_.post_quit(0);
    }

private:
    void mark(const Rect& r, tav::Argb colour) {
        marks_.emplace_back(r, colour);
        system_.invalidate(handle_, r);
    }
    void mark_around(Point at, tav::Argb colour) {
        mark({at.x - kClickMarkSize / 2, at.y - kClickMarkSize / 2, kClickMarkSize, kClickMarkSize}, colour);
    }

    platform::WindowSystem& system_;
    platform::WindowHandle handle_ = platform::kNoWindow;
    std::vector<std::pair<Rect, tav::Argb>> marks_;
    bool blink_on_ = false;
};

class Box : public platform::WindowDelegate {
public:
    Box(platform::WindowSystem& system, platform::WindowHandle owner) : system_(system), owner_(owner) {
        platform::TopLevelStyle style;
        style.centred = true;
        style.modal_dialog = true;
        handle_ = system_.create_top_level(*this, kBoxClient, style, "信息提示！");
        system_.enable(owner_, false);
        system_.show(handle_, true);
    }
    void on_paint(Painter& p) override { p.fill_rect({0, 0, kBoxClient.width, kBoxClient.height}, kBoxFace); }
    void on_close_request() override {
        system_.enable(owner_, true);
        system_.destroy(handle_);
    }

private:
    platform::WindowSystem& system_;
    platform::WindowHandle owner_;
    platform::WindowHandle handle_ = platform::kNoWindow;
};

} // namespace

int main(int argc, char** argv) {
    const bool with_box = argc > 1 && std::strcmp(argv[1], "--box") == 0;
    std::string error;
    auto backend = platform::create_sdl_backend(&error);
    if (!backend) {
        std::fputs(tav::display_failure_text("tavrino", std::getenv("DISPLAY")).c_str(), stderr);
        return 1;
    }
    platform::WindowSystem system(std::move(backend));
    MainWindow main_window(system);
    if (main_window.handle() == platform::kNoWindow) {
        std::fprintf(stderr, "tavrino: cannot create the window\n");
        return 1;
    }
    system.show(main_window.handle(), true);
    std::unique_ptr<Box> box;
    if (with_box) box = std::make_unique<Box>(system, main_window.handle());
    system.run();
    return system.exit_code();
}
