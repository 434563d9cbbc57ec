// Native windows through SDL: placed by their frames, presented to surfaces, poll() waits, SDL's events.
#include "platform/sdl/sdl_backend.hpp"

#include <SDL.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/display_scale.hpp"
#include "platform/sdl/display_connection.hpp"
#include "platform/sdl/key_map.hpp"
#include "platform/sdl/present_areas.hpp"
#include "platform/sdl/termination_signals.hpp"
#include "platform/sdl/text_input.hpp"
#include "platform/sdl/wait_timeout.hpp"
#include "platform/sdl/wake_event.hpp"
#include "platform/sdl/x11_window_manager.hpp"

namespace tav::platform {
namespace {

constexpr int kWheelNotch = 120;
constexpr int kBytesPerPixel = 4;
constexpr const char* kTraceFirstFrameVariable = "TAVRINO_TRACE_FIRST_FRAME";
// Without a display connection to wait on (not X11), input is looked for this often.
constexpr int kFallbackPollMs = 10;

// The drivers that show windows on a screen, in SDL's order. Without a display SDL would go on
// to drivers that show nothing (offscreen, dummy); unless SDL_VIDEODRIVER names one, that is
// no display for us.
constexpr const char* kScreenDrivers = "x11,wayland,KMSDRM";

// WM_CLASS of every window; the desktop entry's StartupWMClass names the class, so that docks
// and task bars match the windows to the installed entry and its icon.
constexpr const char* kWindowInstance = "tavrino";
constexpr const char* kWindowClass = "Tavrino";
// How long a window not yet shown waits for the window manager to say how large its frame
// will be (it answers in well under a millisecond; one that does not answer costs this once).
constexpr int kFrameExtentsWaitMs = 200;

// One reference to SDL's video subsystem (SDL counts them, so the audio device's own
// SDL_InitSubSystem(SDL_INIT_AUDIO) lives alongside).
class VideoSubsystem {
public:
    VideoSubsystem() = default;
    ~VideoSubsystem() {
        if (!open_) return;
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        // The last user of SDL also releases what SDL keeps beside its subsystems (its D-Bus link).
        if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
    }
    VideoSubsystem(const VideoSubsystem&) = delete;
    VideoSubsystem& operator=(const VideoSubsystem&) = delete;

    bool open(std::string* error) {
        // The window surface must be a plain shared-memory image: no GPU or software GL renderer.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // Termination signals are ours (TerminationSignals); closing a window never quits by itself.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        // The click that activates a window is a click on it, as on the classic desktop.
        SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
        // An ordinary desktop window: the screen saver still runs, the compositor still composes.
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
        SDL_SetHint(SDL_HINT_VIDEODRIVER, kScreenDrivers); // SDL_VIDEODRIVER in the environment wins
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
            if (error) *error = SDL_GetError();
            return false;
        }
        open_ = true;
        return true;
    }

private:
    bool open_ = false;
};

struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;

struct SurfaceDeleter {
    void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceDeleter>;

// Keeps a surface locked while it is written, when the surface needs locking at all.
class SurfaceLock {
public:
    explicit SurfaceLock(SDL_Surface* s) : surface_(s) {
        locked_ = !SDL_MUSTLOCK(s) || SDL_LockSurface(s) == 0;
        must_unlock_ = SDL_MUSTLOCK(s) && locked_;
    }
    ~SurfaceLock() {
        if (must_unlock_) SDL_UnlockSurface(surface_);
    }
    SurfaceLock(const SurfaceLock&) = delete;
    SurfaceLock& operator=(const SurfaceLock&) = delete;
    bool locked() const { return locked_; }

private:
    SDL_Surface* surface_;
    bool locked_ = false;
    bool must_unlock_ = false;
};

std::optional<MouseButton> button_from_sdl(Uint8 button) {
    switch (button) {
        case SDL_BUTTON_LEFT: return MouseButton::Left;
        case SDL_BUTTON_RIGHT: return MouseButton::Right;
        case SDL_BUTTON_MIDDLE: return MouseButton::Middle;
        default: return std::nullopt;
    }
}

// Keys whose press also types a character: Backspace, Tab, Return and Escape.
bool is_typed_control_key(int vk) {
    return vk == vk::kBack || vk == vk::kTab || vk == vk::kReturn || vk == vk::kEscape;
}

// Copies `area` of the framebuffer into the surface, `inset` pixels right and down.
void copy_area(const Bitmap& framebuffer, const Rect& area, SDL_Surface* surface, int inset) {
    const Argb* src = framebuffer.pixels().data() + std::size_t(area.y) * framebuffer.width() + area.x;
    const int src_pitch = framebuffer.width() * kBytesPerPixel;
    const Uint32 format = surface->format->format;
    auto* dst = static_cast<Uint8*>(surface->pixels) + std::size_t(area.y + inset) * surface->pitch +
                std::size_t(area.x + inset) * surface->format->BytesPerPixel;
    if (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888) {
        const auto row_bytes = std::size_t(area.width) * kBytesPerPixel;
        for (int y = 0; y < area.height; ++y) {
            std::memcpy(dst, src, row_bytes);
            src += framebuffer.width();
            dst += surface->pitch;
        }
    } else {
        SDL_ConvertPixels(area.width, area.height, SDL_PIXELFORMAT_ARGB8888, src, src_pitch, format, dst,
                          surface->pitch);
    }
}

class SdlBackend final : public Backend {
public:
    SdlBackend(std::unique_ptr<VideoSubsystem> video, int scale)
        : video_(std::move(video)), scale_(scale), start_(std::chrono::steady_clock::now()), signals_(wake_event_) {
        const char* trace = std::getenv(kTraceFirstFrameVariable);
        trace_first_frame_ = trace != nullptr && std::string_view(trace) == "1";
    }

    ~SdlBackend() override { natives_.clear(); }

    void attach(WindowSystem& system) override { system_ = &system; }

    int scale() const override { return scale_; }

    std::uint64_t now_ms() override { return now_us() / 1000; }

    Size screen_size() override {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) return {};
        return {mode.w, mode.h};
    }

    // The window manager's part is known once it has framed one of our windows (no window
    // manager, none); a sunken client edge is ours, drawn inside the native window.
    Size frame_size(const TopLevelStyle& style) override {
        const int edges = style.client_edge ? 2 * sdl::kClientEdgeWidth : 0;
        if (!style.title_bar) return {edges, edges};
        for (const auto& [handle, n] : natives_) {
            if (const auto b = frame_of(n); b && (b->top | b->left | b->bottom | b->right) != 0) {
                return {b->left + b->right + edges, b->top + b->bottom + edges};
            }
        }
        return {edges, edges};
    }

    bool can_receive_input() override { return true; }

    bool create_native(WindowHandle w, Size client, const TopLevelStyle& style,
                       std::string_view caption_utf8) override {
        Uint32 flags = SDL_WINDOW_HIDDEN;
        if (style.resizable) flags |= SDL_WINDOW_RESIZABLE;
        if (!style.title_bar) flags |= SDL_WINDOW_BORDERLESS;
        // A utility window to the window manager, with no task bar entry; the frame it gets is the
        // window manager's choice (openbox draws the same title bar as for any window).
        if (style.tool_window) flags |= SDL_WINDOW_UTILITY | SDL_WINDOW_SKIP_TASKBAR;
        if (style.top_most) flags |= SDL_WINDOW_ALWAYS_ON_TOP; // _NET_WM_STATE_ABOVE
        // Close and minimise boxes are the window manager's; a fixed-size window gets no maximise box.
        const std::string title(caption_utf8);
        const int edge = style.client_edge ? sdl::kClientEdgeWidth * scale_ : 0;
        WindowPtr window(SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED,
                                          std::max(client.width * scale_ + 2 * edge, 1),
                                          std::max(client.height * scale_ + 2 * edge, 1), flags));
        if (!window) return false;
        sdl::set_window_class(window.get(), kWindowInstance, kWindowClass);
        Native* owner = find(style.owner);
        if (style.modal_dialog || owner) {
            sdl::make_dialog(window.get(), owner ? owner->window.get() : nullptr, style.modal_dialog);
        } else {
            sdl::clear_transient_for(window.get());
        }
        // A fixed-size window offers no maximising or full screen it could not fill; a dialog no
        // minimising of its own.
        if (style.title_bar) {
            sdl::set_window_functions(window.get(), style.minimise_box && !owner, style.resizable, style.movable);
        }
        // Set before the window is mapped, the window manager maximises it as it takes it on.
        if (style.start_state == StartState::Maximised && style.resizable) SDL_MaximizeWindow(window.get());
        if (display_fd_ < 0) display_fd_ = sdl::display_connection_fd(window.get());
        const Uint32 id = SDL_GetWindowID(window.get());
        by_sdl_id_[id] = w;
        Native n{std::move(window), id, std::nullopt, style.owner, true, std::nullopt};
        n.edge = edge;
        n.minimise_on_show = style.start_state == StartState::Minimised;
        natives_[w] = std::move(n);
        creation_order_.push_back(w);
        return true;
    }

    void destroy_native(WindowHandle w) override {
        auto it = natives_.find(w);
        if (it == natives_.end()) return;
        by_sdl_id_.erase(it->second.id);
        natives_.erase(it);
        std::erase(creation_order_, w);
    }

    void show_native(WindowHandle w, bool visible, Point screen_pos) override {
        Native* n = find(w);
        if (!n) return;
        if (!visible) {
            SDL_HideWindow(n->window.get());
            return;
        }
        // Move only to a new position: where the user dragged the window is not ours to undo.
        if (n->placed_at != screen_pos) place(*n, screen_pos);
        SDL_ShowWindow(n->window.get());
        // Iconified once mapped: SDL's show waits for the map, which never comes to a window
        // that asks to start iconic (WM_HINTS), so the window flashes up for a moment first.
        if (n->minimise_on_show) {
            SDL_MinimizeWindow(n->window.get());
            n->minimise_on_show = false;
            return;
        }
        SDL_RaiseWindow(n->window.get());
    }

    void move_native(WindowHandle w, Point screen_pos, Size client) override {
        Native* n = find(w);
        if (!n) return;
        SDL_SetWindowSize(n->window.get(), std::max(client.width * scale_ + 2 * n->edge, 1),
                          std::max(client.height * scale_ + 2 * n->edge, 1));
        place(*n, screen_pos);
    }

    void set_native_caption(WindowHandle w, std::string_view caption_utf8) override {
        if (Native* n = find(w)) SDL_SetWindowTitle(n->window.get(), std::string(caption_utf8).c_str());
    }

    void set_native_icon(WindowHandle w, const Bitmap& icon) override {
        Native* n = find(w);
        if (!n || icon.empty()) return;
        // SDL only reads the pixels (SetWindowIcon copies them).
        SurfacePtr surface(SDL_CreateRGBSurfaceWithFormatFrom(const_cast<Argb*>(icon.pixels().data()), icon.width(),
                                                              icon.height(), 32, icon.width() * kBytesPerPixel,
                                                              SDL_PIXELFORMAT_ARGB8888));
        if (surface) SDL_SetWindowIcon(n->window.get(), surface.get());
        // On X11 the window manager gets every size down to 16 x 16, not SDL's one.
        sdl::set_window_icons(n->window.get(), icon);
    }

    // The window system keeps input away from disabled windows itself; a disabled owner hands
    // the keyboard to its dialog when it is clicked or activated (hand_to_dialog).
    void set_native_enabled(WindowHandle w, bool enabled) override {
        if (Native* n = find(w)) n->enabled = enabled;
    }

    // The frame is centred, not the client area: a window not yet shown asks the window manager
    // how large its frame will be. A dialog is centred on its owner's frame where it is now
    // (the player may have moved it). Either is kept on the work area, title bar first.
    Point centred_position(WindowHandle w, Size client, const TopLevelStyle& style, const Rect& area) override {
        Native* n = find(w);
        if (!n) return Backend::centred_position(w, client, style, area);
        if (!n->extents) n->extents = sdl::frame_extents(n->window.get(), style.title_bar ? kFrameExtentsWaitMs : 0);
        Size frame = frame_size(style);
        if (n->extents) {
            frame = {n->extents->left + n->extents->right + 2 * n->edge,
                     n->extents->top + n->extents->bottom + 2 * n->edge};
        }
        Rect on = area;
        if (Native* owner = find(style.owner)) on = sdl::frame_on_screen(owner->window.get()).value_or(area);
        const Size screen = screen_size();
        const Rect work = sdl::work_area(n->window.get()).value_or(Rect{0, 0, screen.width, screen.height});
        // Screen positions and frames are native pixels: the client is the scale times larger.
        return centred_on(on, {client.width * scale_ + frame.width, client.height * scale_ + frame.height}, work);
    }

    void present(WindowHandle w, const Bitmap& framebuffer, std::span<const Rect> areas) override {
        Native* n = find(w);
        if (!n) return;
        // SDL hands out a new surface after the window was resized, so fetch it every time.
        SDL_Surface* surface = SDL_GetWindowSurface(n->window.get());
        if (!surface) return;
        std::vector<Rect> native;
        native.reserve(areas.size());
        for (const Rect& r : areas) native.push_back(r.scaled(scale_));
        const int edge = n->edge;
        const std::vector<Rect> clipped = sdl::clip_present_areas(
            native, framebuffer.size(), {std::max(surface->w - 2 * edge, 0), std::max(surface->h - 2 * edge, 0)});
        std::vector<SDL_Rect> rects;
        rects.reserve(clipped.size() + 8);
        for (const Rect& r : clipped) rects.push_back({r.x + edge, r.y + edge, r.width, r.height});
        // The edge goes with the first present after the window was exposed or resized.
        if (edge > 0 && n->edge_due) {
            for (const sdl::EdgeStrip& strip : sdl::client_edge_strips({surface->w, surface->h}, edge / 2)) {
                const SDL_Rect r{strip.rect.x, strip.rect.y, strip.rect.width, strip.rect.height};
                SDL_FillRect(
                    surface, &r,
                    SDL_MapRGB(surface->format, red_of(strip.color), green_of(strip.color), blue_of(strip.color)));
                rects.push_back(r);
            }
            n->edge_due = false;
        }
        if (rects.empty()) return;
        {
            SurfaceLock lock(surface);
            if (!lock.locked()) return;
            for (const Rect& r : clipped) copy_area(framebuffer, r, surface, edge);
        }
        SDL_UpdateWindowSurfaceRects(n->window.get(), rects.data(), int(rects.size()));
        if (trace_first_frame_) {
            trace_first_frame_ = false;
            timespec ts{};
            clock_gettime(CLOCK_MONOTONIC, &ts);
            std::fprintf(stderr, "tavrino: first frame at %lld.%09ld\n", static_cast<long long>(ts.tv_sec), ts.tv_nsec);
        }
    }

    // We block in poll() on the display connection and our wake descriptor ourselves rather than
    // in SDL_WaitEventTimeout: SDL wakes that wait by sending an X event to one of our windows
    // through a second connection, and when the window is destroyed before the server takes
    // that request, the stray BadWindow error ends the program in Xlib at exit.
    void wait(std::optional<std::uint64_t> deadline_ms) override {
        for (;;) {
            if (deliver_pending()) return;
            const int timeout = deadline_ms ? sdl::wait_timeout_ms(*deadline_ms, now_us()) : -1;
            if (timeout == 0) return;
            block(timeout);
        }
    }

    void wake() override { wake_event_.signal(); }

private:
    struct Native {
        WindowPtr window;
        Uint32 id = 0;
        std::optional<Point> placed_at; // the last position we moved the window to
        WindowHandle owner = kNoWindow; // a dialog's owner
        bool enabled = true;
        std::optional<sdl::FrameExtents> extents; // as the window manager announced them before the first show
        int edge = 0;                             // native pixels of sunken client edge on each side (0: none)
        bool edge_due = true;                     // the edge is drawn with the next present
        bool minimise_on_show = false;            // a minimised start, until first shown
    };

    struct Borders {
        int top = 0, left = 0, bottom = 0, right = 0;
    };

    // The frame the window manager put around a window on screen; nullopt before it is shown.
    static std::optional<Borders> frame_of(const Native& n) {
        Borders b;
        if ((SDL_GetWindowFlags(n.window.get()) & SDL_WINDOW_SHOWN) == 0) return std::nullopt;
        if (SDL_GetWindowBordersSize(n.window.get(), &b.top, &b.left, &b.bottom, &b.right) != 0) return std::nullopt;
        return b;
    }

    // Puts the window's frame corner at `screen_pos`. A window not yet shown goes there as it is
    // (window managers place the frame where the window asked to be); a framed one is moved by
    // its client area, which is what SDL positions.
    void place(Native& n, Point screen_pos) {
        const Borders b = frame_of(n).value_or(Borders{});
        SDL_Rect display{};
        SDL_GetDisplayBounds(0, &display);
        SDL_SetWindowPosition(n.window.get(), display.x + screen_pos.x + b.left, display.y + screen_pos.y + b.top);
        n.placed_at = screen_pos;
    }

    std::uint64_t now_us() const {
        return std::uint64_t(
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start_).count());
    }

    Native* find(WindowHandle w) {
        auto it = natives_.find(w);
        return it == natives_.end() ? nullptr : &it->second;
    }

    WindowHandle handle_of(Uint32 sdl_id) const {
        auto it = by_sdl_id_.find(sdl_id);
        return it == by_sdl_id_.end() ? kNoWindow : it->second;
    }

    // The first top-level window still open: the game window.
    WindowHandle main_handle() const { return creation_order_.empty() ? kNoWindow : creation_order_.front(); }

    // Hands everything that has arrived to the window system; false when nothing had.
    bool deliver_pending() {
        bool delivered = wake_event_.drain();
        if (signals_.take() && system_) {
            system_->on_native_session_end();
            delivered = true;
        }
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            handle(event);
            delivered = true;
        }
        return delivered;
    }

    // Sleeps until the display connection or the wake descriptor has something, or `timeout_ms`
    // (-1: no limit) passes. A signal interrupting poll() just ends the sleep early.
    void block(int timeout_ms) {
        pollfd fds[2] = {{wake_event_.fd(), POLLIN, 0}, {display_fd_, POLLIN, 0}};
        const nfds_t count = display_fd_ >= 0 ? 2 : 1;
        if (display_fd_ < 0 || wake_event_.fd() < 0) {
            timeout_ms = timeout_ms < 0 ? kFallbackPollMs : std::min(timeout_ms, kFallbackPollMs);
        }
        ::poll(fds, count, timeout_ms);
    }

    // A disabled window that is clicked or activated gives the keyboard to the latest shown
    // dialog it owns (the modal box that disabled it), as the desktop does for an owned popup.
    void hand_to_dialog(WindowHandle w) {
        const Native* owner = find(w);
        if (!owner || owner->enabled) return;
        for (auto it = creation_order_.rbegin(); it != creation_order_.rend(); ++it) {
            const Native* dialog = find(*it);
            if (dialog && dialog->owner == w && (SDL_GetWindowFlags(dialog->window.get()) & SDL_WINDOW_SHOWN) != 0) {
                sdl::activate_window(dialog->window.get());
                return;
            }
        }
    }

    // Keys still down when a window loses the keyboard go up there, so no modifier sticks.
    void release_held_keys(WindowHandle w) {
        std::vector<int> held;
        held.swap(held_keys_);
        for (int vk : held) system_->on_native_key(w, vk, false);
    }

    // The client point of native pixel `p` of window `w`: past its client edge, divided by the
    // scale, rounding down (a pointer dragged out of the window has negative coordinates).
    Point logical(WindowHandle w, Point p) const {
        const auto it = natives_.find(w);
        const int edge = it == natives_.end() ? 0 : it->second.edge;
        auto down = [this](int v) { return v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_); };
        return {down(p.x - edge), down(p.y - edge)};
    }

    // Tells the window system where the player or the window manager put the window: its frame
    // corner as place() takes it, and its client size in logical units.
    void report_placement(WindowHandle w) {
        Native* n = find(w);
        if (!n || (SDL_GetWindowFlags(n->window.get()) & SDL_WINDOW_MINIMIZED) != 0) return;
        int x = 0, y = 0, width = 0, height = 0;
        SDL_GetWindowPosition(n->window.get(), &x, &y);
        SDL_GetWindowSize(n->window.get(), &width, &height);
        const Borders b = frame_of(*n).value_or(Borders{});
        SDL_Rect display{};
        SDL_GetDisplayBounds(0, &display);
        const Point corner{x - display.x - b.left, y - display.y - b.top};
        const Size client{std::max(width - 2 * n->edge, 0) / scale_, std::max(height - 2 * n->edge, 0) / scale_};
        n->placed_at = corner;
        system_->on_native_placed(w, corner, client);
    }

    void handle(const SDL_Event& e) {
        if (!system_) return;
        switch (e.type) {
            case SDL_QUIT:
                if (main_handle() != kNoWindow) system_->on_native_close_request(main_handle());
                break;
            case SDL_WINDOWEVENT: handle_window_event(e.window); break;
            case SDL_MOUSEMOTION:
                if (WindowHandle w = handle_of(e.motion.windowID))
                    system_->on_native_mouse_move(w, logical(w, {e.motion.x, e.motion.y}));
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const WindowHandle w = handle_of(e.button.windowID);
                if (e.type == SDL_MOUSEBUTTONDOWN) hand_to_dialog(w);
                const auto button = button_from_sdl(e.button.button);
                if (!w || !button) break;
                const bool down = e.type == SDL_MOUSEBUTTONDOWN;
                // Every second press of a quick series is a double click (press, release, double, release).
                const bool double_click = down && e.button.clicks >= 2 && e.button.clicks % 2 == 0;
                system_->on_native_mouse_button(w, *button, down, logical(w, {e.button.x, e.button.y}), double_click);
                break;
            }
            case SDL_MOUSEWHEEL: {
                const WindowHandle w = handle_of(e.wheel.windowID);
                const int sign = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
                if (w && e.wheel.y != 0)
                    system_->on_native_wheel(w, e.wheel.y * kWheelNotch * sign,
                                             logical(w, {e.wheel.mouseX, e.wheel.mouseY}));
                break;
            }
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const WindowHandle w = handle_of(e.key.windowID);
                const int vk = sdl::virtual_key_from_sdl(e.key.keysym.sym);
                if (!w || vk == 0) break;
                const bool down = e.type == SDL_KEYDOWN;
                std::erase(held_keys_, vk);
                if (down) held_keys_.push_back(vk);
                system_->on_native_key(w, vk, down);
                // The desktop's keyboard translation also types these keys as control characters.
                const bool plain = (e.key.keysym.mod & (KMOD_CTRL | KMOD_ALT)) == 0;
                if (down && plain && is_typed_control_key(vk)) system_->on_native_char(w, Uint32(vk));
                break;
            }
            case SDL_TEXTINPUT:
                if (WindowHandle w = handle_of(e.text.windowID)) {
                    for (std::uint32_t c : sdl::gbk_char_codes(e.text.text)) system_->on_native_char(w, c);
                }
                break;
            default: break;
        }
    }

    void handle_window_event(const SDL_WindowEvent& e) {
        const WindowHandle w = handle_of(e.windowID);
        if (!w) return;
        switch (e.event) {
            case SDL_WINDOWEVENT_EXPOSED:
                if (Native* n = find(w)) n->edge_due = true;
                system_->on_native_expose(w);
                break;
            case SDL_WINDOWEVENT_SIZE_CHANGED:
                if (Native* n = find(w)) n->edge_due = true;
                report_placement(w);
                system_->on_native_expose(w);
                break;
            case SDL_WINDOWEVENT_MOVED: report_placement(w); break;
            case SDL_WINDOWEVENT_LEAVE: system_->on_native_mouse_leave(w); break;
            case SDL_WINDOWEVENT_FOCUS_LOST: release_held_keys(w); break;
            case SDL_WINDOWEVENT_FOCUS_GAINED: hand_to_dialog(w); break;
            case SDL_WINDOWEVENT_CLOSE: system_->on_native_close_request(w); break;
            default: break;
        }
    }

    std::unique_ptr<VideoSubsystem> video_; // first member: outlives every window
    int scale_ = 1;
    WindowSystem* system_ = nullptr;
    std::chrono::steady_clock::time_point start_;
    bool trace_first_frame_ = false;
    int display_fd_ = -1; // SDL's X connection, polled for input
    std::unordered_map<WindowHandle, Native> natives_;
    std::unordered_map<Uint32, WindowHandle> by_sdl_id_;
    std::vector<WindowHandle> creation_order_;
    std::vector<int> held_keys_;
    sdl::WakeEvent wake_event_;
    sdl::TerminationSignals signals_; // after wake_event_: goes first, as it signals it
};

} // namespace

std::unique_ptr<Backend> create_sdl_backend(std::string* error, int scale) {
    auto video = std::make_unique<VideoSubsystem>();
    if (!video->open(error)) return nullptr;
    const int chosen = choose_display_scale(scale, std::getenv("GDK_SCALE"),
                                            scale >= kMinDisplayScale ? std::nullopt : sdl::xft_dpi());
    return std::make_unique<SdlBackend>(std::move(video), chosen);
}

} // namespace tav::platform
