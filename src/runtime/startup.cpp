#include "runtime/startup.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "runtime/runtime.hpp"
#include "runtime/runtime_error.hpp"
#include "ui/control_kind.hpp"

namespace tav {
namespace {

// Relative file names refer to files beside the program.
void EnterProgramFolder() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && exe.has_parent_path()) std::filesystem::current_path(exe.parent_path(), ec);
}

} // namespace

bool LayoutIsUsable(const ui::LayoutData& layout) {
    if (layout.windows.empty()) return false;
    const bool startup_present = std::any_of(layout.windows.begin(), layout.windows.end(),
                                             [&](const ui::WindowTemplate& w) { return w.id == layout.startup_window; });
    if (!startup_present) return false;
    return std::all_of(layout.windows.begin(), layout.windows.end(), [](const ui::WindowTemplate& w) {
        const ui::ControlTemplate* self = w.self();
        return self != nullptr && self->kind == ui::kind_id::kWindow;
    });
}

int RunProgram(const ui::LayoutData& layout, std::unique_ptr<platform::Backend> backend,
               const std::function<void()>& before_load) {
    EnterProgramFolder();
    Runtime runtime(layout, std::move(backend));
    if (before_load) before_load();
    if (!LayoutIsUsable(layout)) runtime.Fatal(fatal::kLayoutUnreadable);
    runtime.LoadWindow(layout.startup_window);
    runtime.RunMessageLoop();
    runtime.EndProgram();
    return 0;
}

} // namespace tav
