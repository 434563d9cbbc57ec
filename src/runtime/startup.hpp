#pragma once
// Program start: the runtime set-up, the start-up window and the message loop.

#include <functional>
#include <memory>

#include "platform/backend.hpp"
#include "ui/layout_data.hpp"
#include "ui/services.hpp"

namespace tav {

// Runs a program: makes the program's own folder the current directory, checks the layout
// (fatal "载入窗口模板数据段出错!" when it cannot be used), loads the start-up window (fatal
// "载入启动窗口失败" when the layout lacks it or it cannot be built), runs the
// message loop until the last window is gone, ends the program (stopping sounds through the
// hook `before_load` may register) and returns the exit code 0. A fatal error exits with −1.
// `before_load` runs once the runtime exists (for set_end_of_program_hook and the like); the
// runtime is given `services`.
int run_program(const ui::LayoutData& layout, std::unique_ptr<platform::Backend> backend,
                const std::function<void()>& before_load = {}, ui::Services services = {});

// True when the layout can be read: at least one window, each listing itself (kind window)
// under its own control id. Whether the start-up window is among them is load_window's to say.
bool layout_is_usable(const ui::LayoutData& layout);

} // namespace tav
