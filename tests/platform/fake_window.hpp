#pragma once
// A window delegate for tests: records what it receives into a shared log and runs optional
// actions, and paints its client area in one colour (or nothing, when transparent).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gfx/painter.hpp"
#include "platform/headless/headless_backend.hpp"
#include "platform/window_system.hpp"

namespace tav::platform::test {

struct FakeWindow : WindowDelegate {
    FakeWindow(std::string n, std::vector<std::string>* shared_log) : name(std::move(n)), log(shared_log) {}

    std::string name;
    std::vector<std::string>* log;
    Argb colour = rgb(0, 0, 0);
    bool transparent = false;  // paints only a 1 x 1 dot at (0, 0)
    bool hits = true;          // hit_test answer
    bool consume_keys = false; // on_key_down answer
    std::function<void(int)> timer_action;
    std::function<void()> down_action;
    std::function<void(std::uint32_t)> posted_action;
    std::function<void(int)> on_key;
    std::vector<Point> downs, moves;
    std::vector<std::uint32_t> key_bits;
    int leaves = 0, activations = 0, closes = 0, paints = 0, moves_told = 0, resizes_told = 0;

    void note(const std::string& what) {
        if (log) log->push_back(name + ":" + what);
    }
    void on_paint(Painter& p) override {
        ++paints;
        note("paint");
        if (transparent) {
            p.fill_rect({0, 0, 1, 1}, colour);
        } else {
            p.fill_rect(p.clip_bounds(), colour);
        }
    }
    bool hit_test(Point) override { return hits; }
    void on_mouse_down(MouseButton, Point pt, std::uint32_t) override {
        downs.push_back(pt);
        note("down");
        if (down_action) down_action();
    }
    void on_mouse_up(MouseButton, Point, std::uint32_t) override { note("up"); }
    void on_mouse_move(Point pt, std::uint32_t) override { moves.push_back(pt); }
    void on_mouse_leave() override {
        ++leaves;
        note("leave");
    }
    bool on_key_down(int vk, std::uint32_t keys) override {
        key_bits.push_back(keys);
        note("keydown " + std::to_string(vk));
        if (on_key) on_key(vk);
        return consume_keys;
    }
    void on_activate_key() override {
        ++activations;
        note("activate");
    }
    void on_timer(int id) override {
        note("timer " + std::to_string(id));
        if (timer_action) timer_action(id);
    }
    void on_posted(std::uint32_t message, std::uintptr_t, std::intptr_t) override {
        note("posted " + std::to_string(message));
        if (posted_action) posted_action(message);
    }
    void on_close_request() override { ++closes; }
    void on_moved() override { ++moves_told; }
    void on_resized() override { ++resizes_told; }
    void on_capture_lost() override { note("capture lost"); }
    void on_destroy() override { note("destroy"); }
};

// A window system on a headless backend, with helpers to make windows.
struct Desk {
    Desk() {
        auto b = std::make_unique<HeadlessBackend>();
        backend = b.get();
        ws = std::make_unique<WindowSystem>(std::move(b));
    }
    FakeWindow& delegate(const std::string& name) {
        delegates.push_back(std::make_unique<FakeWindow>(name, &log));
        return *delegates.back();
    }
    WindowHandle top(FakeWindow& d, Size client, TopLevelStyle style = {}) {
        const WindowHandle h = ws->create_top_level(d, client, style, "top");
        ws->show(h, true);
        return h;
    }
    WindowHandle child(WindowHandle parent, FakeWindow& d, Rect r) {
        const WindowHandle h = ws->create_child(parent, d, r);
        ws->show(h, true);
        return h;
    }
    std::vector<std::string> log;
    std::vector<std::unique_ptr<FakeWindow>> delegates;
    HeadlessBackend* backend = nullptr;
    std::unique_ptr<WindowSystem> ws;
};

} // namespace tav::platform::test
