// The Win32 backend with real windows: the frame each style asks for, the client area at the
// backend's scale, mouse positions in logical units, centred frames kept on the work area, and
// moves made outside the program reported back to the window system.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/win32/win32_backend.hpp"
#include "platform/window_delegate.hpp"
#include "platform/window_system.hpp"

namespace tav::platform {
namespace {

struct Recorder : WindowDelegate {
    std::vector<Point> downs;
    int moves = 0, resizes = 0;
    void on_mouse_down(MouseButton, Point p, std::uint32_t) override { downs.push_back(p); }
    void on_moved() override { ++moves; }
    void on_resized() override { ++resizes; }
};

HWND native_titled(const wchar_t* title) { return FindWindowW(L"TavrinoWindow", title); }

Size client_of(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return {r.right - r.left, r.bottom - r.top};
}

// A window system on a Win32 backend at `scale`; null, with the failure recorded, when the
// backend cannot start.
std::unique_ptr<WindowSystem> win32_system(int scale) {
    std::string error;
    auto backend = create_win32_backend(&error, scale);
    EXPECT_NE(backend, nullptr) << error;
    return backend ? std::make_unique<WindowSystem>(std::move(backend)) : nullptr;
}

TEST(Win32Backend, StylesFrameTheWindowAndTheClientIsTheAskedSizeTimesTheScale) {
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const auto system = win32_system(scale);
        ASSERT_NE(system, nullptr);
        WindowSystem& ws = *system;
        EXPECT_EQ(ws.backend().scale(), scale);

        Recorder plain_r, tool_r;
        TopLevelStyle tool;
        tool.tool_window = true;
        tool.client_edge = true;
        tool.top_most = true;
        tool.movable = false;
        const WindowHandle plain_handle = ws.create_top_level(plain_r, {120, 80}, {}, "plain");
        ASSERT_NE(plain_handle, kNoWindow);
        ASSERT_NE(ws.create_top_level(tool_r, {120, 80}, tool, "tool"), kNoWindow);
        HWND plain = native_titled(L"plain");
        HWND tool_window = native_titled(L"tool");
        ASSERT_NE(plain, nullptr);
        ASSERT_NE(tool_window, nullptr);

        const auto ex = [](HWND h) { return DWORD(GetWindowLongPtrW(h, GWL_EXSTYLE)); };
        constexpr DWORD kLooks = WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE | WS_EX_TOPMOST;
        EXPECT_EQ(ex(plain) & kLooks, 0u);
        EXPECT_EQ(ex(tool_window) & kLooks, kLooks);
        // The system menu offers Move only on the window that may move.
        EXPECT_NE(GetMenuState(GetSystemMenu(plain, FALSE), SC_MOVE, MF_BYCOMMAND), UINT(-1));
        EXPECT_EQ(GetMenuState(GetSystemMenu(tool_window, FALSE), SC_MOVE, MF_BYCOMMAND), UINT(-1));
        // The client area is exactly the asked size, the edge and the tool frame outside it.
        EXPECT_EQ(client_of(plain), (Size{120 * scale, 80 * scale}));
        EXPECT_EQ(client_of(tool_window), (Size{120 * scale, 80 * scale}));

        // A click on the last native pixel of logical (2, 3) is there, not at (3, 4).
        ws.set_rect(plain_handle, {300, 200, 120, 80});
        ws.show(plain_handle, true);
        ws.process_pending();
        SendMessageW(plain, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3 * scale - 1, 4 * scale - 1));
        SendMessageW(plain, WM_LBUTTONUP, 0, MAKELPARAM(3 * scale - 1, 4 * scale - 1));
        ws.process_pending();
        ASSERT_EQ(plain_r.downs.size(), 1u);
        EXPECT_EQ(plain_r.downs.front(), (Point{2, 3}));

        // A box is centred on its owner's frame as it stands on the screen, at the scale.
        Recorder box_r;
        TopLevelStyle dialog;
        dialog.owner = plain_handle;
        dialog.centred = true;
        const WindowHandle box_handle = ws.create_top_level(box_r, {160, 40}, dialog, "box");
        ASSERT_NE(box_handle, kNoWindow);
        ws.show(box_handle, true);
        ws.process_pending();
        HWND box = native_titled(L"box");
        ASSERT_NE(box, nullptr);
        RECT owner{}, inner{};
        GetWindowRect(plain, &owner);
        GetWindowRect(box, &inner);
        EXPECT_NEAR((owner.left + owner.right) / 2, (inner.left + inner.right) / 2, 2);
        EXPECT_NEAR((owner.top + owner.bottom) / 2, (inner.top + inner.bottom) / 2, 2);
        EXPECT_EQ(client_of(box), (Size{160 * scale, 40 * scale}));
    }
}

TEST(Win32Backend, CentredFramesStayOnTheWorkAreaTitleBarFirst) {
    RECT work_rect{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work_rect, 0));
    const Size work{work_rect.right - work_rect.left, work_rect.bottom - work_rect.top};
    for (const int scale : {1, 2}) {
        SCOPED_TRACE(scale);
        const auto system = win32_system(scale);
        ASSERT_NE(system, nullptr);
        WindowSystem& ws = *system;
        TopLevelStyle centred;
        centred.centred = true;
        // The frame a hidden window's centred position stands for, relative to the work area:
        // the position is the client's as the window system keeps it, and the frame sits half
        // its extra size up and left of it.
        const auto frame_at = [&](WindowHandle w, HWND hwnd, Size client, const TopLevelStyle& style) {
            RECT outer{}, inner{};
            GetWindowRect(hwnd, &outer);
            GetClientRect(hwnd, &inner);
            const Size extra{(outer.right - outer.left) - inner.right, (outer.bottom - outer.top) - inner.bottom};
            const Point at = ws.backend().centred_position(w, client, style, {0, 0, work.width, work.height});
            return Rect{at.x - extra.width / 2, at.y - extra.height / 2, client.width * scale + extra.width,
                        client.height * scale + extra.height};
        };

        // A window that fits is shown with its whole frame in the middle of the work area.
        Recorder fits_r;
        const WindowHandle fits = ws.create_top_level(fits_r, {200, 120}, centred, "fits");
        ASSERT_NE(fits, kNoWindow);
        ws.show(fits, true);
        ws.process_pending();
        HWND owner = native_titled(L"fits");
        RECT frame{};
        GetWindowRect(owner, &frame);
        EXPECT_NEAR(frame.left + frame.right, work_rect.left + work_rect.right, 2);
        EXPECT_NEAR(frame.top + frame.bottom, work_rect.top + work_rect.bottom, 2);

        // Larger than the work area at this scale: the title bar and the close box stay on it.
        Recorder large_r;
        const Size large{work.width / scale + 40, work.height / scale + 40};
        const WindowHandle too_large = ws.create_top_level(large_r, large, centred, "large");
        ASSERT_NE(too_large, kNoWindow);
        const Rect large_frame = frame_at(too_large, native_titled(L"large"), large, centred);
        EXPECT_EQ(large_frame.origin(), (Point{0, 0}));

        // A box larger than its owner, centred on it in the work area's bottom-right corner,
        // stays whole on the work area.
        GetWindowRect(owner, &frame);
        SetWindowPos(owner, nullptr, work_rect.right - (frame.right - frame.left),
                     work_rect.bottom - (frame.bottom - frame.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        Recorder box_r;
        TopLevelStyle dialog;
        dialog.owner = fits;
        dialog.centred = true;
        const WindowHandle box = ws.create_top_level(box_r, {300, 200}, dialog, "cornered box");
        ASSERT_NE(box, kNoWindow);
        const Rect box_frame = frame_at(box, native_titled(L"cornered box"), {300, 200}, dialog);
        EXPECT_EQ(box_frame.right(), work.width);
        EXPECT_EQ(box_frame.bottom(), work.height);
        // Shown, it is where it was worked out to be.
        ws.show(box, true);
        ws.process_pending();
        GetWindowRect(native_titled(L"cornered box"), &frame);
        EXPECT_EQ(frame.right - work_rect.left, work.width);
        EXPECT_EQ(frame.bottom - work_rect.top, work.height);
    }
}

TEST(Win32Backend, MovesAndResizesMadeOutsideTheProgramReachTheWindowSystem) {
    const auto system = win32_system(1);
    ASSERT_NE(system, nullptr);
    WindowSystem& ws = *system;
    Recorder r;
    TopLevelStyle sizable;
    sizable.resizable = true;
    const WindowHandle w = ws.create_top_level(r, {120, 80}, sizable, "moved");
    ASSERT_NE(w, kNoWindow);
    ws.set_rect(w, {40, 30, 120, 80});
    r.moves = r.resizes = 0;
    HWND hwnd = native_titled(L"moved");
    ASSERT_NE(hwnd, nullptr);

    // Our own move is not heard back as a second one.
    ws.set_rect(w, {50, 30, 120, 80});
    EXPECT_EQ(r.moves, 1);

    // The player drags the window 25 px right and 15 px down, then widens it by 10 px.
    RECT outer{};
    GetWindowRect(hwnd, &outer);
    SetWindowPos(hwnd, nullptr, outer.left + 25, outer.top + 15, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(ws.rect(w), (Rect{75, 45, 120, 80}));
    EXPECT_EQ(r.moves, 2);
    SetWindowPos(hwnd, nullptr, 0, 0, outer.right - outer.left + 10, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(ws.client_size(w), (Size{130, 80}));
    EXPECT_EQ(ws.framebuffer(w).size(), (Size{130, 80}));
    EXPECT_EQ(r.resizes, 1);
}

} // namespace
} // namespace tav::platform
