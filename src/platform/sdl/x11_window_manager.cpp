// What SDL does not tell the X window manager: class, icons, dialogs, functions, frame extents,
// work area and activation, through Xlib on SDL's own connection.

#include "platform/sdl/x11_window_manager.hpp"

#include "platform/display_scale.hpp"

#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

namespace tav::platform::sdl {
namespace {

constexpr int kSmallestIcon = 16;
constexpr int kExtentsPollMs = 2;
// _MOTIF_WM_HINTS: which fields are set, and the functions a window offers.
constexpr unsigned long kMwmHintsFunctions = 1, kMwmHintsDecorations = 2;
constexpr unsigned long kMwmFuncResize = 2, kMwmFuncMove = 4, kMwmFuncMinimize = 8, kMwmFuncMaximize = 16,
                        kMwmFuncClose = 32;
constexpr unsigned long kMwmDecorAll = 1;
// _NET_ACTIVE_WINDOW from a pager: the window manager does not treat it as focus stealing.
constexpr long kSourcePager = 2;

struct XWindow {
    Display* display = nullptr;
    ::Window window = 0;
    explicit operator bool() const { return display != nullptr; }
    ::Window root() const { return DefaultRootWindow(display); }
    Atom atom(const char* name) const { return XInternAtom(display, name, False); }
};

XWindow x_window_of(SDL_Window* window) {
    if (window == nullptr) return {};
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) return {};
    return {info.info.x11.display, info.info.x11.window};
}

// A 32-bit property of `w` as longs (Xlib's format-32 representation); empty when absent.
std::vector<long> long_property(Display* d, ::Window w, Atom property, Atom type) {
    Atom actual = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(d, w, property, 0, 1024, False, type, &actual, &format, &count, &after, &data) == Success &&
        data != nullptr) {
        if (format == 32) {
            const auto* longs = reinterpret_cast<const long*>(data);
            values.assign(longs, longs + count);
        }
    }
    if (data != nullptr) XFree(data);
    return values;
}

bool window_manager_supports(const XWindow& x, const char* name) {
    const Atom wanted = x.atom(name);
    const auto supported = long_property(x.display, x.root(), x.atom("_NET_SUPPORTED"), XA_ATOM);
    return std::find(supported.begin(), supported.end(), long(wanted)) != supported.end();
}

void send_to_root(const XWindow& x, Atom message, const long (&data)[5]) {
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = x.window;
    e.xclient.message_type = message;
    e.xclient.format = 32;
    for (int i = 0; i < 5; ++i) e.xclient.data.l[i] = data[i];
    XSendEvent(x.display, x.root(), False, SubstructureRedirectMask | SubstructureNotifyMask, &e);
}

bool is_mapped(const XWindow& x) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(x.display, x.window, &attributes) != 0 && attributes.map_state != IsUnmapped;
}

std::optional<FrameExtents> read_extents(const XWindow& x) {
    const auto v = long_property(x.display, x.window, x.atom("_NET_FRAME_EXTENTS"), XA_CARDINAL);
    if (v.size() < 4) return std::nullopt;
    return FrameExtents{int(v[0]), int(v[1]), int(v[2]), int(v[3])};
}

} // namespace

void set_window_class(SDL_Window* window, const char* instance, const char* class_name) {
    const XWindow x = x_window_of(window);
    if (!x) return;
    XClassHint hint;
    hint.res_name = const_cast<char*>(instance);
    hint.res_class = const_cast<char*>(class_name);
    XSetClassHint(x.display, x.window, &hint);
}

void clear_transient_for(SDL_Window* window) {
    const XWindow x = x_window_of(window);
    if (x) XDeleteProperty(x.display, x.window, XA_WM_TRANSIENT_FOR);
}

void make_dialog(SDL_Window* dialog, SDL_Window* owner, bool modal) {
    const XWindow x = x_window_of(dialog);
    if (!x) return;
    const Atom type = x.atom("_NET_WM_WINDOW_TYPE_DIALOG");
    XChangeProperty(x.display, x.window, x.atom("_NET_WM_WINDOW_TYPE"), XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&type), 1);
    if (const XWindow o = x_window_of(owner)) XSetTransientForHint(x.display, x.window, o.window);
    if (modal) {
        const Atom state = x.atom("_NET_WM_STATE_MODAL");
        XChangeProperty(x.display, x.window, x.atom("_NET_WM_STATE"), XA_ATOM, 32, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(&state), 1);
    }
}

void set_window_functions(SDL_Window* window, bool minimise, bool resize, bool move) {
    const XWindow x = x_window_of(window);
    if (!x) return;
    long hints[5] = {long(kMwmHintsFunctions | kMwmHintsDecorations), long(kMwmFuncClose), long(kMwmDecorAll), 0, 0};
    if (move) hints[1] |= long(kMwmFuncMove);
    if (minimise) hints[1] |= long(kMwmFuncMinimize);
    if (resize) hints[1] |= long(kMwmFuncResize | kMwmFuncMaximize);
    const Atom motif = x.atom("_MOTIF_WM_HINTS");
    XChangeProperty(x.display, x.window, motif, motif, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(hints), 5);
}

Bitmap halved(const Bitmap& icon) {
    Bitmap half(icon.width() / 2, icon.height() / 2, 0);
    for (int y = 0; y < half.height(); ++y) {
        for (int x = 0; x < half.width(); ++x) {
            // Colours weighted by their alpha, so transparent pixels lend no colour to the edge.
            unsigned alpha = 0, red = 0, green = 0, blue = 0;
            for (int dy = 0; dy < 2; ++dy) {
                for (int dx = 0; dx < 2; ++dx) {
                    const Argb c = icon.pixel(2 * x + dx, 2 * y + dy);
                    const unsigned a = alpha_of(c);
                    alpha += a;
                    red += a * red_of(c);
                    green += a * green_of(c);
                    blue += a * blue_of(c);
                }
            }
            if (alpha == 0) continue;
            half.set_pixel(x, y,
                           (Argb((alpha + 2) / 4) << 24) | (Argb((red + alpha / 2) / alpha) << 16) |
                               (Argb((green + alpha / 2) / alpha) << 8) | Argb((blue + alpha / 2) / alpha));
        }
    }
    return half;
}

void set_window_icons(SDL_Window* window, const Bitmap& icon) {
    const XWindow x = x_window_of(window);
    if (!x || icon.empty()) return;
    std::vector<long> data;
    Bitmap size = icon;
    for (;;) {
        data.push_back(size.width());
        data.push_back(size.height());
        for (Argb c : size.pixels()) data.push_back(long(c));
        if (size.width() / 2 < kSmallestIcon || size.height() / 2 < kSmallestIcon) break;
        size = halved(size);
    }
    XChangeProperty(x.display, x.window, x.atom("_NET_WM_ICON"), XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(data.data()), int(data.size()));
}

std::optional<FrameExtents> frame_extents(SDL_Window* window, int wait_ms) {
    const XWindow x = x_window_of(window);
    if (!x) return std::nullopt;
    if (auto known = read_extents(x)) return known;
    if (is_mapped(x) || wait_ms <= 0 || !window_manager_supports(x, "_NET_REQUEST_FRAME_EXTENTS")) return std::nullopt;
    send_to_root(x, x.atom("_NET_REQUEST_FRAME_EXTENTS"), {0, 0, 0, 0, 0});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(wait_ms);
    for (;;) {
        XSync(x.display, False);
        if (auto answer = read_extents(x)) return answer;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(kExtentsPollMs));
    }
}

std::optional<Rect> work_area(SDL_Window* window) {
    const XWindow x = x_window_of(window);
    if (!x) return std::nullopt;
    const auto desktop = long_property(x.display, x.root(), x.atom("_NET_CURRENT_DESKTOP"), XA_CARDINAL);
    const auto areas = long_property(x.display, x.root(), x.atom("_NET_WORKAREA"), XA_CARDINAL);
    const std::size_t index = desktop.empty() ? 0 : std::size_t(desktop[0]);
    if (areas.size() < 4 * (index + 1)) return std::nullopt;
    const Rect r{int(areas[4 * index]), int(areas[4 * index + 1]), int(areas[4 * index + 2]),
                 int(areas[4 * index + 3])};
    return r.empty() ? std::nullopt : std::optional<Rect>(r);
}

std::optional<Rect> frame_on_screen(SDL_Window* window) {
    const XWindow x = x_window_of(window);
    if (!x || !is_mapped(x)) return std::nullopt;
    int cx = 0, cy = 0;
    ::Window child = 0;
    XTranslateCoordinates(x.display, x.window, x.root(), 0, 0, &cx, &cy, &child);
    XWindowAttributes attributes{};
    XGetWindowAttributes(x.display, x.window, &attributes);
    const FrameExtents e = read_extents(x).value_or(FrameExtents{});
    return Rect{cx - e.left, cy - e.top, attributes.width + e.left + e.right, attributes.height + e.top + e.bottom};
}

void activate_window(SDL_Window* window) {
    const XWindow x = x_window_of(window);
    if (!x) return;
    XRaiseWindow(x.display, x.window);
    if (window_manager_supports(x, "_NET_ACTIVE_WINDOW")) {
        send_to_root(x, x.atom("_NET_ACTIVE_WINDOW"), {kSourcePager, CurrentTime, 0, 0, 0});
    } else if (is_mapped(x)) {
        XSetInputFocus(x.display, x.window, RevertToParent, CurrentTime);
    }
    XFlush(x.display);
}

std::optional<int> xft_dpi() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) return std::nullopt;
    // A connection of our own for a moment: SDL's is only reachable through a window.
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) return std::nullopt;
    const char* resources = XResourceManagerString(display);
    const std::optional<int> dpi = resources != nullptr ? xft_dpi_from_resources(resources) : std::nullopt;
    XCloseDisplay(display);
    return dpi;
}

} // namespace tav::platform::sdl
