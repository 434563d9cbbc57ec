// Running the program: into its own folder, the layout checked, the start-up window loaded, the loop run.
#include "runtime/startup.hpp"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/program_path.hpp"
#include "runtime/runtime.hpp"
#include "runtime/runtime_error.hpp"
#include "ui/control_kind.hpp"

namespace tav {
namespace {

// Relative file names refer to files beside the program.
void enter_program_folder() {
    std::error_code ec;
    const auto exe = program_path();
    if (exe.has_parent_path()) std::filesystem::current_path(exe.parent_path(), ec);
}

} // namespace

bool layout_is_usable(const ui::LayoutData& layout) {
    // A missing start-up window is not a fault of the data: loading it fails on its own.
    if (layout.windows.empty()) return false;
    return std::all_of(layout.windows.begin(), layout.windows.end(), [](const ui::WindowTemplate& w) {
        const ui::ControlTemplate* self = w.self();
        return self != nullptr && self->kind == ui::kind_id::kWindow;
    });
}

int run_program(const ui::LayoutData& layout, std::unique_ptr<platform::Backend> backend,
                const std::function<void()>& before_load, ui::Services services) {
    enter_program_folder();
    Runtime runtime(layout, std::move(backend), std::move(services));
    if (before_load) before_load();
    if (!layout_is_usable(layout)) runtime.fatal(fatal::kLayoutUnreadable);
    runtime.load_window(layout.startup_window);
    runtime.run_message_loop();
    runtime.end_program();
    return 0;
}

} // namespace tav
