// Tavrino on Windows: the main window through the Win32 backend, sounds through waveOut.

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "audio/play_sound.hpp"
#include "game/game_handlers.hpp"
#include "game/main_window_layout.hpp"
#include "gfx/windows_faces.hpp"
#include "platform/win32/wave_out_device.hpp"
#include "platform/win32/win32_backend.hpp"
#include "runtime/runtime.hpp"
#include "runtime/startup.hpp"
#include "ui/services.hpp"

namespace {

// A start-up problem for the player, in a box (a program of the GUI subsystem has no console).
void show_start_problem(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring text(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), text.data(), n);
    MessageBoxW(nullptr, text.c_str(), L"Tavrino", MB_OK | MB_ICONERROR);
}

} // namespace

int main() {
    if (const std::string missing = tav::missing_chinese_faces(); !missing.empty()) {
        show_start_problem(missing);
        return 1;
    }
    std::string reason;
    auto backend = tav::platform::create_win32_backend(&reason);
    if (!backend) {
        show_start_problem("Tavrino cannot open its window: " + reason);
        return 1;
    }
    // What the window uses besides the display: the system's clock, our caches, the sound device.
    tav::ui::Services services{.sound_output = std::make_shared<tav::WaveOutput>(tav::make_wave_out_device())};
    // Sounds still playing when the window goes are stopped, and their threads joined, before
    // the program ends.
    const auto end_cleanly = [] { tav::set_end_of_program_hook([] { tav::stop_sounds_at_exit(); }); };
    return tav::run_program(tav::ui::main_window_layout(tav::game::game_handlers()), std::move(backend), end_cleanly,
                            std::move(services));
}
