// The main window's first paint with the preloading helper, against one made without it.
#include <gtest/gtest.h>

#include <cstring>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include "game/main_window_layout.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"
#include "ui/layout_preload.hpp"
#include "ui/services.hpp"

namespace tav::test {
namespace {

// The first paint of the main window, as a fresh runtime with `services` makes it.
Bitmap first_paint(ui::Services services = {}) {
    Runtime runtime(ui::main_window_layout({}), std::make_unique<platform::HeadlessBackend>(), std::move(services));
    runtime.load_window(ui::kMainWindowId);
    const platform::WindowHandle top = runtime.window_handle_of(ui::kMainWindowId);
    runtime.windows().update(top);
    return runtime.windows().framebuffer(top);
}

// What the forked process that painted with the helper reports.
struct Report {
    ui::LayoutPreload::TakenIn taken;
    int width = 0;
    int height = 0;
    Argb pixels[1024 * 1024];
};

// Fonts, glyphs and pictures taken in from the helper paint the window pixel for pixel as
// those made by the process itself. Each side paints in a process whose caches start empty:
// the one with the helper is forked before anything is loaded here.
TEST(PreloadedFace, IsPixelForPixelTheFaceMadeWithoutTheHelper) {
    void* shared = ::mmap(nullptr, sizeof(Report), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(shared, MAP_FAILED);
    auto* report = new (shared) Report();
    const pid_t painter = ::fork();
    ASSERT_GE(painter, 0);
    if (painter == 0) {
        ui::Services services;
        ui::LayoutPreload preload(
            TAVRINO_TEST_PRELOAD_HELPER, [] { return ui::main_window_layout({}); }, *services.fonts,
            *services.pictures);
        const Bitmap face = first_paint(std::move(services));
        report->taken = preload.taken_in();
        if (face.pixels().size() <= std::size(report->pixels)) {
            report->width = face.width();
            report->height = face.height();
            std::memcpy(report->pixels, face.pixels().data(), face.pixels().size_bytes());
        }
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(painter, &status, 0), painter);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    // The stock font and the layout's own; the nine symbols large and small, the lamp frame
    // (each taken once, however many controls show it) and the board, which was taken as the
    // window was painted.
    EXPECT_GE(report->taken.fonts, 3u);
    EXPECT_EQ(report->taken.pictures, 20u);
    EXPECT_EQ(report->taken.stretched, 1u);
    const Bitmap face = first_paint();
    ASSERT_EQ(Size(report->width, report->height), face.size());
    int differing = 0;
    for (int y = 0; y < face.height(); ++y)
        for (int x = 0; x < face.width(); ++x)
            differing +=
                report->pixels[std::size_t(y) * std::size_t(face.width()) + std::size_t(x)] != face.pixel(x, y);
    EXPECT_EQ(differing, 0);
    ::munmap(shared, sizeof(Report));
}

} // namespace
} // namespace tav::test
