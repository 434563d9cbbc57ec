#pragma once
// Small windows for the drawing tests: a layout built by the test, loaded through the runtime
// on the headless backend, and pictures made in code.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/gbk.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"
#include "ui/control_kind.hpp"
#include "ui/layout_data.hpp"

namespace tav::test {

inline constexpr std::uint32_t kWindow = 0x52010001; // a window id as layouts number them
inline constexpr std::uint32_t kSelf = ui::kWindowSelfControlId;

// A 24-bit bottom-up BMP file of `image`.
inline Bytes bmp24(const Bitmap& image) {
    const int w = image.width(), h = image.height();
    const std::size_t stride = (std::size_t(w) * 3 + 3) / 4 * 4;
    Bytes b(54 + stride * std::size_t(h), 0);
    auto put = [&b](std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    b[0] = 'B';
    b[1] = 'M';
    put(2, std::uint32_t(b.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, std::uint32_t(w), 4);
    put(22, std::uint32_t(h), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < h; ++y) {
        const std::size_t row = 54 + stride * std::size_t(h - 1 - y);
        for (int x = 0; x < w; ++x) {
            const Argb c = image.pixel(x, y);
            b[row + std::size_t(x) * 3] = blue_of(c);
            b[row + std::size_t(x) * 3 + 1] = green_of(c);
            b[row + std::size_t(x) * 3 + 2] = red_of(c);
        }
    }
    return b;
}

// A picture of one colour.
inline Bytes solid_bmp(int w, int h, Argb c) { return bmp24(Bitmap(w, h, c)); }

// A picture whose every pixel tells where it is: red = x, green = y, blue = 77.
inline Bitmap gradient(int w, int h) {
    Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) b.set_pixel(x, y, rgb(std::uint8_t(x), std::uint8_t(y), 77));
    return b;
}

// A red frame 7 pixels wide around a black middle, 69 x 69: a lamp.
inline Bytes lamp_bmp() {
    Bitmap lamp(69, 69, rgb(255, 0, 0));
    for (int y = 7; y < 62; ++y)
        for (int x = 7; x < 62; ++x) lamp.set_pixel(x, y, rgb(0, 0, 0));
    return bmp24(lamp);
}

// A colour as the controls store it (0x00BBGGRR).
constexpr std::int32_t color_ref(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return std::int32_t(r) | std::int32_t(g) << 8 | std::int32_t(b) << 16;
}

inline ui::ControlTemplate make(std::uint32_t id, std::uint32_t kind, Rect rect, std::vector<Value> props = {}) {
    ui::ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.name = "c" + std::to_string(id & 0xFFFF);
    c.rect = rect;
    c.properties = std::move(props);
    return c;
}

// A window of `client` size (outer size from the headless frame) with `controls`, the first
// listed on top; `window_props` are the window's own properties from Caption on.
struct DrawingProgram {
    platform::HeadlessBackend* backend = nullptr;
    std::unique_ptr<Runtime> runtime;

    DrawingProgram(std::vector<ui::ControlTemplate> controls, std::vector<Value> window_props = {},
                   Size client = {300, 240}, ui::Services services = {}) {
        auto b = std::make_unique<platform::HeadlessBackend>();
        backend = b.get();
        platform::TopLevelStyle style;
        const Size frame = backend->frame_size(style);
        ui::WindowTemplate w;
        w.id = kWindow;
        if (window_props.empty()) window_props.push_back(Value::of_text("T"));
        w.controls.push_back(make(kSelf, ui::kind_id::kWindow,
                                  {10, 10, client.width + frame.width, client.height + frame.height},
                                  std::move(window_props)));
        for (auto& c : controls) {
            w.stacking.push_back(c.id);
            w.controls.push_back(std::move(c));
        }
        ui::LayoutData layout;
        layout.windows.push_back(std::move(w));
        layout.startup_window = kWindow;
        runtime = std::make_unique<Runtime>(layout, std::move(b), std::move(services));
        runtime->load_window(kWindow);
        paint();
    }

    platform::WindowSystem& ws() { return runtime->windows(); }
    ui::ThemeRegistry& themes() { return runtime->services().themes; }
    platform::WindowHandle top() { return runtime->window_handle_of(kWindow); }
    ui::Control* control(std::uint32_t id) { return runtime->find_control(kWindow, id); }
    void set(std::uint32_t id, int index, const Value& v) { runtime->set_property(kWindow, id, index, -1, v); }
    // Paints whatever is pending and returns the window's pixels.
    const Bitmap& paint() {
        ws().update(top());
        return ws().framebuffer(top());
    }
    Argb at(int x, int y) { return paint().pixel(x, y) | 0xFF000000u; }
};

} // namespace tav::test
