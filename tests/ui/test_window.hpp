#pragma once
// A small window with one control of every kind, its handlers logging what they see, run on
// the headless backend.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/conversions.hpp"
#include "core/gbk.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"
#include "ui/control_kind.hpp"
#include "ui/layout_data.hpp"

namespace tav::test {

inline constexpr std::uint32_t kWindow = 0x52010001; // a window id as layouts number them
inline constexpr std::uint32_t kSelf = ui::kWindowSelfControlId;
inline constexpr std::uint32_t kLabel = 0x16010001;
inline constexpr std::uint32_t kButton = 0x16010002;
inline constexpr std::uint32_t kSpin = 0x16010003;
inline constexpr std::uint32_t kTimer = 0x16010004;
inline constexpr std::uint32_t kPicBtn = 0x16010005;
inline constexpr std::uint32_t kPicBox = 0x16010006;
inline constexpr std::uint32_t kEditBox = 0x16010007;
inline constexpr std::uint32_t kTransLabel = 0x16010008;
inline constexpr std::uint32_t kButton2 = 0x16010009;

// Where the controls sit in the window's client area.
inline constexpr Rect kButtonRect{10, 40, 64, 30};
inline constexpr Rect kSpinRect{100, 40, 33, 50};
inline constexpr Rect kPicBtnRect{150, 40, 69, 69};
inline constexpr Rect kPicBoxRect{152, 42, 65, 65};

// What the handlers saw, in order: "name:event" plus arguments.
struct EventLog {
    std::vector<std::string> entries;
    // Optional extra work per entry name (run after logging); its result is the handler's.
    std::map<std::string, std::function<std::optional<std::int32_t>(std::span<const std::int32_t>)>> actions;

    ui::Handler handler(const std::string& name) {
        return [this, name](std::span<const std::int32_t> args) -> std::optional<std::int32_t> {
            std::string entry = name;
            for (std::int32_t a : args) entry += " " + std::to_string(a);
            entries.push_back(entry);
            if (auto it = actions.find(name); it != actions.end() && it->second) return it->second(args);
            return std::nullopt;
        };
    }
    std::size_t count(const std::string& entry) const {
        std::size_t n = 0;
        for (const auto& e : entries) n += e == entry;
        return n;
    }
};

inline ui::ControlTemplate control(std::uint32_t id, std::uint32_t kind, std::string name, Rect rect,
                                   std::vector<Value> props = {}) {
    ui::ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.name = std::move(name);
    c.rect = rect;
    c.properties = std::move(props);
    return c;
}

// The test window: every kind, the events bound to `log`.
inline ui::LayoutData test_layout(EventLog& log) {
    using namespace ui;
    ui::WindowTemplate w;
    w.id = kWindow;

    auto self = control(kSelf, kind_id::kWindow, "窗口", {50, 50, 400, 300}, {Value::of_text(gbk("测试"))});
    for (auto [e, name] : {std::pair{0, "Created"},
                           {1, "CloseQuery"},
                           {2, "Destroying"},
                           {3, "Moved"},
                           {4, "Resized"},
                           {10, "Shown"},
                           {-4, "RightDown"},
                           {-9, "KeyDown"},
                           {-12, "Wheel"},
                           {-11, "Char"}})
        self.events.push_back({e, log.handler(std::string("window:") + name)});
    w.controls.push_back(self);

    auto label = control(kLabel, kind_id::kLabel, "标签1", {10, 10, 100, 24}, {Value::of_text("0")});
    label.events.push_back({-1, log.handler("label:LeftDown")});
    w.controls.push_back(label);

    auto button = control(kButton, kind_id::kButton, "按钮1", kButtonRect, {{}, {}, Value::of_text(gbk("开始"))});
    button.tab_stop = true;
    button.events = {
        {0, log.handler("button:Click")}, {-7, log.handler("button:GotFocus")}, {-8, log.handler("button:LostFocus")}};
    w.controls.push_back(button);

    auto spin = control(kSpin, kind_id::kSpin, "调节器1", kSpinRect);
    spin.events = {{0, log.handler("spin:Adjust")}, {-7, log.handler("spin:GotFocus")}};
    w.controls.push_back(spin);

    auto timer = control(kTimer, kind_id::kTimer, "时钟1", {500, 10, 32, 32}, {Value::of_integer(0)});
    timer.events.push_back({0, log.handler("timer:Tick")});
    w.controls.push_back(timer);

    auto picbtn = control(kPicBtn, kind_id::kPicBtn, "显示1", kPicBtnRect);
    picbtn.events.push_back({0, log.handler("picbtn:Click")});
    w.controls.push_back(picbtn);

    auto picbox = control(kPicBox, kind_id::kPicBox, "图片框1", kPicBoxRect);
    picbox.events.push_back({-1, log.handler("picbox:LeftDown")});
    w.controls.push_back(picbox);

    auto edit = control(kEditBox, kind_id::kEditBox, "编辑框1", {500, 50, 56, 32});
    edit.visible = false;
    edit.tab_stop = true;
    edit.events.push_back({0, log.handler("edit:ContentChanged")});
    w.controls.push_back(edit);

    w.controls.push_back(control(kTransLabel, kind_id::kTransLabel, "透明标签1", {10, 120, 100, 20}));

    auto button2 = control(kButton2, kind_id::kButton, "按钮2", {10, 160, 64, 30}, {{}, {}, Value::of_text("B")});
    button2.tab_stop = true;
    button2.events.push_back({0, log.handler("button2:Click")});
    w.controls.push_back(button2);

    // The picture button lies over the picture box, as the lamps lie over the ring.
    w.stacking = {kLabel, kPicBtn, kPicBox, kButton, kSpin};

    ui::LayoutData layout;
    layout.windows.push_back(std::move(w));
    layout.startup_window = kWindow;
    return layout;
}

// A runtime on a headless backend with the test window loaded.
struct TestProgram {
    EventLog log;
    platform::HeadlessBackend* backend = nullptr;
    std::unique_ptr<Runtime> runtime;

    explicit TestProgram(const std::function<void(ui::LayoutData&)>& edit = {}) {
        auto b = std::make_unique<platform::HeadlessBackend>();
        backend = b.get();
        ui::LayoutData layout = test_layout(log);
        if (edit) edit(layout);
        runtime = std::make_unique<Runtime>(layout, std::move(b));
    }
    void load() { runtime->load_window(kWindow); }
    platform::WindowSystem& ws() { return runtime->windows(); }
    platform::WindowHandle top() { return runtime->window_handle_of(kWindow); }
    platform::WindowHandle handle(std::uint32_t control) { return runtime->find_control(kWindow, control)->handle(); }
    Value get(std::uint32_t control, int index) { return runtime->get_property(kWindow, control, index); }
    void set(std::uint32_t control, int index, const Value& v) {
        runtime->set_property(kWindow, control, index, -1, v);
    }
    std::int32_t get_int(std::uint32_t control, int index) { return get(control, index).as_integer(); }
    // A point of a control's rectangle in the window's client area.
    static Point at(const Rect& r, int dx, int dy) { return {r.x + dx, r.y + dy}; }
};

} // namespace tav::test
