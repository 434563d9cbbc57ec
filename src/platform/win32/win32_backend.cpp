// The Win32 backend: native windows with DIB sections, the message pump and the deadline wait.
#include "platform/win32/win32_backend.hpp"

#include <windows.h>

#include <mmsystem.h>
#include <windowsx.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/gbk.hpp"
#include "platform/display_scale.hpp"
#include "platform/input.hpp"
#include "platform/window_system.hpp"

namespace tav::platform {
namespace {

constexpr const wchar_t* kWindowClass = L"TavrinoWindow";
constexpr const char* kTraceFirstFrameVariable = "TAVRINO_TRACE_FIRST_FRAME";
// The icon resource of the program (tavrino.rc).
constexpr int kIconResource = 1;

std::wstring wide_of_utf8(std::string_view utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    return wide;
}

std::string utf8_of_wide(std::wstring_view wide) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(std::size_t(n > 0 ? n : 0), '\0');
    if (n > 0) WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// The GBK character code of typed UTF-16 text: a single byte as itself, a pair as
// (lead << 8) | trail; '?' for what GBK cannot hold.
std::uint32_t gbk_char_code(std::wstring_view typed) {
    const std::string bytes = utf8_to_gbk(utf8_of_wide(typed));
    if (bytes.size() == 1) return static_cast<unsigned char>(bytes[0]);
    if (bytes.size() == 2)
        return (std::uint32_t(static_cast<unsigned char>(bytes[0])) << 8) | static_cast<unsigned char>(bytes[1]);
    return '?';
}

DWORD window_style(const TopLevelStyle& style) {
    if (!style.title_bar) return WS_POPUP | WS_BORDER;
    DWORD s = WS_OVERLAPPED | WS_CAPTION;
    if (style.close_box || style.minimise_box || style.maximise_box) s |= WS_SYSMENU;
    if (style.minimise_box) s |= WS_MINIMIZEBOX;
    if (style.maximise_box) s |= WS_MAXIMIZEBOX;
    if (style.resizable) s |= WS_THICKFRAME;
    return s;
}

DWORD window_ex_style(const TopLevelStyle& style) {
    DWORD s = style.modal_dialog ? WS_EX_DLGMODALFRAME : 0;
    if (style.tool_window) s |= WS_EX_TOOLWINDOW;
    if (style.client_edge) s |= WS_EX_CLIENTEDGE;
    if (style.top_most) s |= WS_EX_TOPMOST;
    return s;
}

// What the frame of `style` adds around a client area, both sides together: place() puts the
// frame's corner half of it up and left of the client position the window system keeps.
Size frame_extra(const TopLevelStyle& style) {
    RECT r{0, 0, 0, 0};
    AdjustWindowRectEx(&r, window_style(style), FALSE, window_ex_style(style));
    return {r.right - r.left, r.bottom - r.top};
}

// The outer size of a window of `style` whose client area is `client`.
Size outer_size(const TopLevelStyle& style, Size client) {
    RECT r{0, 0, std::max(client.width, 1), std::max(client.height, 1)};
    AdjustWindowRectEx(&r, window_style(style), FALSE, window_ex_style(style));
    return {r.right - r.left, r.bottom - r.top};
}

RECT work_area() {
    RECT area{};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        area = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return area;
}

// A 32-bit top-down DIB section the size of a client area, selected into a memory DC: the
// pixels the window shows. Argb words in memory are the DIB's blue, green, red, alpha bytes.
class Surface {
public:
    Surface() = default;
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;
    ~Surface() { release(); }

    bool make(Size size) {
        release();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = std::max(size.width, 1);
        info.bmiHeader.biHeight = -std::max(size.height, 1);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (dc_ == nullptr || bitmap_ == nullptr) {
            release();
            return false;
        }
        old_ = SelectObject(dc_, bitmap_);
        bits_ = static_cast<Argb*>(bits);
        size_ = {std::max(size.width, 1), std::max(size.height, 1)};
        std::fill_n(bits_, std::size_t(size_.width) * std::size_t(size_.height), 0xFF000000u);
        return true;
    }

    Size size() const { return size_; }
    HDC dc() const { return dc_; }

    // Copies `area` of the framebuffer into the section (clipped to both).
    Rect copy(const Bitmap& framebuffer, Rect area) {
        const int right = std::min({area.x + area.width, framebuffer.width(), size_.width});
        const int bottom = std::min({area.y + area.height, framebuffer.height(), size_.height});
        area.x = std::max(area.x, 0);
        area.y = std::max(area.y, 0);
        area.width = right - area.x;
        area.height = bottom - area.y;
        if (area.width <= 0 || area.height <= 0 || bits_ == nullptr) return {};
        const Argb* src = framebuffer.pixels().data();
        for (int y = area.y; y < bottom; ++y) {
            std::memcpy(bits_ + std::size_t(y) * std::size_t(size_.width) + std::size_t(area.x),
                        src + std::size_t(y) * std::size_t(framebuffer.width()) + std::size_t(area.x),
                        std::size_t(area.width) * sizeof(Argb));
        }
        return area;
    }

private:
    void release() {
        if (dc_ != nullptr && old_ != nullptr) SelectObject(dc_, old_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        if (dc_ != nullptr) DeleteDC(dc_);
        dc_ = nullptr;
        bitmap_ = nullptr;
        old_ = nullptr;
        bits_ = nullptr;
    }

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    Argb* bits_ = nullptr;
    Size size_;
};

// An icon made from 32-bit ARGB pixels; destroyed with its owner.
HICON icon_from_bitmap(const Bitmap& icon) {
    BITMAPV5HEADER header{};
    header.bV5Size = sizeof header;
    header.bV5Width = icon.width();
    header.bV5Height = -icon.height();
    header.bV5Planes = 1;
    header.bV5BitCount = 32;
    header.bV5Compression = BI_BITFIELDS;
    header.bV5RedMask = 0x00FF0000;
    header.bV5GreenMask = 0x0000FF00;
    header.bV5BlueMask = 0x000000FF;
    header.bV5AlphaMask = 0xFF000000;
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP color = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (color == nullptr) return nullptr;
    std::memcpy(bits, icon.pixels().data(), icon.pixels().size_bytes());
    HBITMAP mask = CreateBitmap(icon.width(), icon.height(), 1, 1, nullptr);
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = color;
    info.hbmMask = mask;
    HICON result = CreateIconIndirect(&info);
    DeleteObject(color);
    if (mask != nullptr) DeleteObject(mask);
    return result;
}

// The scale the desktop asks for: the system DPI over 96, as the Linux desktop's Xft.dpi is read.
int desktop_scale(int requested) {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return choose_display_scale(requested, nullptr, dpi > 0 ? std::optional<int>(dpi) : std::nullopt);
}

class Win32Backend final : public Backend {
public:
    explicit Win32Backend(int scale) : scale_(scale) {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
        wake_event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        timeBeginPeriod(1);
        const char* trace = std::getenv(kTraceFirstFrameVariable);
        trace_first_frame_ = trace != nullptr && std::string_view(trace) == "1";
    }

    ~Win32Backend() override {
        for (auto& [handle, n] : natives_) {
            by_hwnd_.erase(n.hwnd);
            DestroyWindow(n.hwnd);
            if (n.icon != nullptr) DestroyIcon(n.icon);
        }
        natives_.clear();
        timeEndPeriod(1);
        if (wake_event_ != nullptr) CloseHandle(wake_event_);
    }

    bool ready() const { return wake_event_ != nullptr; }

    void attach(WindowSystem& system) override { system_ = &system; }

    // Fixed for the backend's life: a window moved to a screen of another DPI keeps its scale
    // (WM_DPICHANGED is not followed).
    int scale() const override { return scale_; }

    std::uint64_t now_ms() override {
        LARGE_INTEGER now{};
        QueryPerformanceCounter(&now);
        return std::uint64_t((now.QuadPart - start_.QuadPart) * 1000 / frequency_.QuadPart);
    }

    Size screen_size() override {
        const RECT area = work_area();
        return {area.right - area.left, area.bottom - area.top};
    }

    // The frame is drawn outside the client area we own and not reported, as on our other
    // desktops: a window's stored size is its client size, exactly.
    Size frame_size(const TopLevelStyle&) override { return {}; }

    bool can_receive_input() override { return true; }

    // Screen positions are the screen's pixels, so the client counts at the scale. A dialog is
    // centred on its owner's frame where it is now (the window system knows the owner's size
    // in logical units only). The whole frame is centred and kept on the work area, title bar
    // first; place() puts the frame's corner half the frame's extra size up and left of the
    // point returned.
    Point centred_position(WindowHandle, Size client, const TopLevelStyle& style, const Rect& area) override {
        const RECT work = work_area();
        Rect on = area;
        RECT owner{};
        if (Native* n = find(style.owner); n && GetWindowRect(n->hwnd, &owner)) {
            on = {owner.left - work.left, owner.top - work.top, owner.right - owner.left, owner.bottom - owner.top};
        }
        const Size extra = frame_extra(style);
        const Size inner = scaled(client);
        const Point corner = centred_on(on, {inner.width + extra.width, inner.height + extra.height},
                                        {0, 0, work.right - work.left, work.bottom - work.top});
        return {corner.x + extra.width / 2, corner.y + extra.height / 2};
    }

    bool create_native(WindowHandle w, Size client, const TopLevelStyle& style,
                       std::string_view caption_utf8) override {
        const Size outer = outer_size(style, scaled(client));
        HWND owner = style.modal_dialog ? main_hwnd() : nullptr;
        HWND hwnd = CreateWindowExW(window_ex_style(style), kWindowClass, wide_of_utf8(caption_utf8).c_str(),
                                    window_style(style), CW_USEDEFAULT, CW_USEDEFAULT, outer.width, outer.height, owner,
                                    nullptr, GetModuleHandleW(nullptr), this);
        if (hwnd == nullptr) return false;
        Native& n = natives_[w];
        n.hwnd = hwnd;
        n.style = style;
        // Without Move in its menu the window cannot be dragged either (WM_SYSCOMMAND below).
        if (!style.movable) DeleteMenu(GetSystemMenu(hwnd, FALSE), SC_MOVE, MF_BYCOMMAND);
        if (!n.surface.make(scaled(client))) {
            DestroyWindow(hwnd);
            natives_.erase(w);
            return false;
        }
        by_hwnd_[hwnd] = w;
        creation_order_.push_back(w);
        return true;
    }

    void destroy_native(WindowHandle w) override {
        auto it = natives_.find(w);
        if (it == natives_.end()) return;
        HWND hwnd = it->second.hwnd;
        const bool was_active = GetActiveWindow() == hwnd;
        by_hwnd_.erase(hwnd); // messages sent while it goes belong to no window of ours
        std::erase(creation_order_, w);
        DestroyWindow(hwnd);
        if (it->second.icon != nullptr) DestroyIcon(it->second.icon);
        natives_.erase(it);
        // A box that goes gives the keyboard back to the window under it.
        if (HWND main = main_hwnd(); was_active && main != nullptr && IsWindowEnabled(main)) SetForegroundWindow(main);
    }

    void show_native(WindowHandle w, bool visible, Point screen_pos) override {
        Native* n = find(w);
        if (!n) return;
        if (!visible) {
            ShowWindow(n->hwnd, SW_HIDE);
            return;
        }
        // Move only to a new position: where the player dragged the window is not ours to undo.
        if (n->placed_at != screen_pos) place(*n, screen_pos, std::nullopt);
        // The start state applies to the first show; a maximised start needs a sizing frame.
        int show = SW_SHOW;
        if (!n->shown_once && n->style.start_state == StartState::Minimised) show = SW_SHOWMINIMIZED;
        if (!n->shown_once && n->style.start_state == StartState::Maximised && n->style.resizable)
            show = SW_SHOWMAXIMIZED;
        n->shown_once = true;
        ShowWindow(n->hwnd, show);
        if (show != SW_SHOWMINIMIZED) SetForegroundWindow(n->hwnd);
    }

    void move_native(WindowHandle w, Point screen_pos, Size client) override {
        Native* n = find(w);
        if (!n) return;
        const Size native = scaled(client);
        if (n->surface.size() != Size{std::max(native.width, 1), std::max(native.height, 1)}) n->surface.make(native);
        place(*n, screen_pos, client);
    }

    void set_native_caption(WindowHandle w, std::string_view caption_utf8) override {
        if (Native* n = find(w)) SetWindowTextW(n->hwnd, wide_of_utf8(caption_utf8).c_str());
    }

    void set_native_icon(WindowHandle w, const Bitmap& icon) override {
        Native* n = find(w);
        if (!n || icon.empty()) return;
        HICON made = icon_from_bitmap(icon);
        if (made == nullptr) return;
        SendMessageW(n->hwnd, WM_SETICON, ICON_BIG, LPARAM(made));
        SendMessageW(n->hwnd, WM_SETICON, ICON_SMALL, LPARAM(made));
        if (n->icon != nullptr) DestroyIcon(n->icon);
        n->icon = made;
    }

    // The window system keeps input away from disabled windows itself; the native state tells
    // Windows not to activate a window under a modal box.
    void set_native_enabled(WindowHandle w, bool enabled) override {
        if (Native* n = find(w)) EnableWindow(n->hwnd, enabled);
    }

    void present(WindowHandle w, const Bitmap& framebuffer, std::span<const Rect> areas) override {
        Native* n = find(w);
        if (!n) return;
        HDC dc = GetDC(n->hwnd);
        if (dc == nullptr) return;
        for (const Rect& area : areas) {
            const Rect copied = n->surface.copy(framebuffer, area.scaled(scale_));
            if (copied.width > 0)
                BitBlt(dc, copied.x, copied.y, copied.width, copied.height, n->surface.dc(), copied.x, copied.y,
                       SRCCOPY);
        }
        ReleaseDC(n->hwnd, dc);
        if (trace_first_frame_) {
            trace_first_frame_ = false;
            trace_first_frame();
        }
    }

    void wait(std::optional<std::uint64_t> deadline_ms) override {
        for (;;) {
            if (pump()) return;
            DWORD timeout = INFINITE;
            if (deadline_ms) {
                const std::uint64_t now = now_ms();
                if (*deadline_ms <= now) return;
                timeout = DWORD(std::min<std::uint64_t>(*deadline_ms - now, 0x7FFFFFFF));
            }
            const DWORD woke = MsgWaitForMultipleObjectsEx(1, &wake_event_, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
            if (woke == WAIT_OBJECT_0) return; // woken from another thread
        }
    }

    void wake() override { SetEvent(wake_event_); }

    static LRESULT CALLBACK window_proc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (self != nullptr) {
            if (const auto result = self->handle(hwnd, message, wparam, lparam)) return *result;
        }
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }

private:
    struct Native {
        HWND hwnd = nullptr;
        TopLevelStyle style;
        Surface surface;
        HICON icon = nullptr;
        std::optional<Point> placed_at; // the last position we moved the window to
        bool tracking_leave = false;
        bool shown_once = false;
    };

    // Native pixels of a logical size.
    Size scaled(Size s) const { return {s.width * scale_, s.height * scale_}; }

    // The client point of native pixel `p`: divided by the scale, rounding down (a pointer
    // captured outside the window has negative coordinates).
    Point logical(Point p) const {
        auto down = [this](int v) { return v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_); };
        return {down(p.x), down(p.y)};
    }

    // The top-left corner place() would have put this window at, for its frame as it is now.
    Point placement_of(const Native& n) const {
        const RECT area = work_area();
        const Size extra = frame_extra(n.style);
        RECT outer{};
        GetWindowRect(n.hwnd, &outer);
        return {outer.left - (area.left - extra.width / 2), outer.top - (area.top - extra.height / 2)};
    }

    // The player or the system moved or resized the window (not place()): the window system
    // hears the new place and client size; a minimised window reports nothing.
    void report_placement(WindowHandle w) {
        Native* n = find(w);
        if (!n || placing_ || IsIconic(n->hwnd)) return;
        RECT client{};
        GetClientRect(n->hwnd, &client);
        const Size native{client.right - client.left, client.bottom - client.top};
        if (n->surface.size() != Size{std::max(native.width, 1), std::max(native.height, 1)}) n->surface.make(native);
        const Point at = placement_of(*n);
        n->placed_at = at;
        system_->on_native_placed(w, at, {native.width / scale_, native.height / scale_});
    }

    Native* find(WindowHandle w) {
        auto it = natives_.find(w);
        return it == natives_.end() ? nullptr : &it->second;
    }

    WindowHandle handle_of(HWND hwnd) const {
        auto it = by_hwnd_.find(hwnd);
        return it == by_hwnd_.end() ? kNoWindow : it->second;
    }

    // The first top-level window still open: the game window.
    HWND main_hwnd() {
        if (creation_order_.empty()) return nullptr;
        Native* n = find(creation_order_.front());
        return n ? n->hwnd : nullptr;
    }

    // Puts the window at `screen_pos` of the work area, resized to `client` if given. The place
    // is the client area's as the window system sees it (no frame); the frame around it is
    // shifted by half its size, so a window centred by the window system is centred with its frame.
    void place(Native& n, Point screen_pos, std::optional<Size> client) {
        RECT area = work_area();
        const Size extra = frame_extra(n.style);
        area.left -= extra.width / 2;
        area.top -= extra.height / 2;
        UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        Size outer;
        if (client) {
            outer = outer_size(n.style, scaled(*client));
        } else {
            flags |= SWP_NOSIZE;
        }
        placing_ = true; // the moves this causes are ours, not to be reported back
        SetWindowPos(n.hwnd, nullptr, area.left + screen_pos.x, area.top + screen_pos.y, outer.width, outer.height,
                     flags);
        placing_ = false;
        n.placed_at = screen_pos;
    }

    // Dispatches every message waiting for this thread; true when there was any.
    bool pump() {
        bool any = false;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            if (msg.message == WM_QUIT) continue; // our loop ends through the window system
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        return any;
    }

    // Keys still down when a window loses the keyboard go up there, so no modifier sticks.
    void release_held_keys(WindowHandle w) {
        std::vector<int> held;
        held.swap(held_keys_);
        for (int vk : held) system_->on_native_key(w, vk, false);
    }

    void trace_first_frame() {
        FILETIME creation{}, exit{}, kernel{}, user{}, now{};
        GetProcessTimes(GetCurrentProcess(), &creation, &exit, &kernel, &user);
        GetSystemTimePreciseAsFileTime(&now);
        const auto ticks = [](FILETIME t) { return (std::uint64_t(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
        const double ms = double(ticks(now) - ticks(creation)) / 10000.0;
        std::fprintf(stderr, "tavrino: first frame %.1f ms after the process started\n", ms);
        std::fflush(stderr);
    }

    std::optional<LRESULT> handle(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_PAINT) {
            paint(hwnd);
            return 0;
        }
        if (message == WM_ERASEBKGND) return 1;
        const WindowHandle w = handle_of(hwnd);
        if (w == kNoWindow || system_ == nullptr) return std::nullopt;
        const Point p = logical({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
        switch (message) {
            case WM_SYSCOMMAND:
                if ((wparam & 0xFFF0) == SC_MOVE) {
                    const Native* n = find(w);
                    if (n && !n->style.movable) return 0;
                }
                return std::nullopt;
            case WM_MOVE:
            case WM_SIZE:
                if (message == WM_SIZE && wparam == SIZE_MINIMIZED) return std::nullopt;
                report_placement(w);
                return std::nullopt;
            case WM_CLOSE: system_->on_native_close_request(w); return 0;
            case WM_QUERYENDSESSION:
                // Asked of every top-level window: one query for the program.
                if (!session_end_asked_) system_->on_native_session_end();
                session_end_asked_ = true;
                return TRUE;
            case WM_ENDSESSION:
                if (wparam == FALSE) session_end_asked_ = false; // the session goes on
                return 0;
            case WM_MOUSEMOVE: {
                Native* n = find(w);
                if (n && !n->tracking_leave) {
                    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
                    n->tracking_leave = TrackMouseEvent(&track) != FALSE;
                }
                system_->on_native_mouse_move(w, p);
                return 0;
            }
            case WM_MOUSELEAVE:
                if (Native* n = find(w)) n->tracking_leave = false;
                system_->on_native_mouse_leave(w);
                return 0;
            case WM_LBUTTONDOWN: return button(hwnd, w, MouseButton::Left, true, p, false);
            case WM_LBUTTONDBLCLK: return button(hwnd, w, MouseButton::Left, true, p, true);
            case WM_LBUTTONUP: return button(hwnd, w, MouseButton::Left, false, p, false, wparam);
            case WM_RBUTTONDOWN: return button(hwnd, w, MouseButton::Right, true, p, false);
            case WM_RBUTTONDBLCLK: return button(hwnd, w, MouseButton::Right, true, p, true);
            case WM_RBUTTONUP: return button(hwnd, w, MouseButton::Right, false, p, false, wparam);
            case WM_MBUTTONDOWN: return button(hwnd, w, MouseButton::Middle, true, p, false);
            case WM_MBUTTONDBLCLK: return button(hwnd, w, MouseButton::Middle, true, p, true);
            case WM_MBUTTONUP: return button(hwnd, w, MouseButton::Middle, false, p, false, wparam);
            case WM_MOUSEWHEEL: {
                POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}; // screen coordinates
                ScreenToClient(hwnd, &at);
                system_->on_native_wheel(w, GET_WHEEL_DELTA_WPARAM(wparam), logical({at.x, at.y}));
                return 0;
            }
            case WM_KEYDOWN:
            case WM_SYSKEYDOWN:
            case WM_KEYUP:
            case WM_SYSKEYUP: {
                const int vk = int(wparam);
                const bool down = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
                std::erase(held_keys_, vk);
                if (down) held_keys_.push_back(vk);
                system_->on_native_key(w, vk, down);
                // Alt+F4 and the system menu's keys stay Windows' own.
                if (message == WM_SYSKEYDOWN || message == WM_SYSKEYUP) return std::nullopt;
                return 0;
            }
            case WM_CHAR: {
                const auto unit = wchar_t(wparam);
                if (IS_HIGH_SURROGATE(unit)) {
                    high_surrogate_ = unit;
                    return 0;
                }
                std::wstring typed;
                if (IS_LOW_SURROGATE(unit) && high_surrogate_ != 0) typed += high_surrogate_;
                high_surrogate_ = 0;
                typed += unit;
                system_->on_native_char(w, gbk_char_code(typed));
                return 0;
            }
            case WM_KILLFOCUS: release_held_keys(w); return 0;
            default: return std::nullopt;
        }
    }

    LRESULT button(HWND hwnd, WindowHandle w, MouseButton b, bool down, Point p, bool double_click, WPARAM held = 0) {
        // Held buttons keep the mouse with the window, so a drag ending outside still ends here.
        if (down) {
            SetCapture(hwnd);
        } else if ((held & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0 && GetCapture() == hwnd) {
            ReleaseCapture();
        }
        system_->on_native_mouse_button(w, b, down, p, double_click);
        return 0;
    }

    // Shows the damaged part of the window from its DIB section, which holds the last frame.
    void paint(HWND hwnd) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (Native* n = find(handle_of(hwnd)); n && dc != nullptr) {
            const RECT& r = ps.rcPaint;
            BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, n->surface.dc(), r.left, r.top, SRCCOPY);
        }
        EndPaint(hwnd, &ps);
    }

    int scale_ = 1;
    bool placing_ = false;
    WindowSystem* system_ = nullptr;
    LARGE_INTEGER frequency_{};
    LARGE_INTEGER start_{};
    HANDLE wake_event_ = nullptr;
    bool trace_first_frame_ = false;
    bool session_end_asked_ = false;
    wchar_t high_surrogate_ = 0;
    std::unordered_map<WindowHandle, Native> natives_;
    std::unordered_map<HWND, WindowHandle> by_hwnd_;
    std::vector<WindowHandle> creation_order_;
    std::vector<int> held_keys_;
};

bool register_window_class() {
    static const bool kRegistered = [] {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = &Win32Backend::window_proc;
        wc.hInstance = instance;
        wc.hIcon = static_cast<HICON>(
            LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
        wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
        wc.lpszClassName = kWindowClass;
        return RegisterClassExW(&wc) != 0;
    }();
    return kRegistered;
}

} // namespace

std::unique_ptr<Backend> create_win32_backend(std::string* error, int scale) {
    if (!register_window_class()) {
        if (error) *error = "the window class cannot be registered (error " + std::to_string(GetLastError()) + ")";
        return nullptr;
    }
    auto backend = std::make_unique<Win32Backend>(desktop_scale(scale));
    if (!backend->ready()) {
        if (error) *error = "no wake event";
        return nullptr;
    }
    return backend;
}

} // namespace tav::platform
