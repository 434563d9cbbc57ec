#pragma once
// The game's real window on the headless backend: the real layout with the game's handlers,
// a virtual clock whose wall-clock seconds stay at 0, the random source back at its starting
// state, sounds mixed into a silent sink and counted, and every message box recorded and
// answered with OK by an injected click.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "audio/play_sound.hpp"
#include "core/conversions.hpp"
#include "core/gbk.hpp"
#include "core/random.hpp"
#include "game/board.hpp"
#include "game/control_names.hpp"
#include "game/feedback.hpp"
#include "game/game_handlers.hpp"
#include "game/main_window_layout.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"
#include "ui/message_box.hpp"
#include "ui/services.hpp"

namespace tav::game::test {

inline constexpr int kLeft = 0, kTop = 1, kWidth = 2, kHeight = 3, kVisibleProperty = 5;

// A refusal as the player saw it (UTF-8).
struct SeenBox {
    std::string text;
    std::string caption;
    std::uint64_t opened_ms = 0;
};

class GameWindow {
public:
    // The window drawn at `scale` target pixels per logical unit.
    explicit GameWindow(int scale = 1) {
        auto b = std::make_unique<platform::HeadlessBackend>(scale);
        backend = b.get();
        runtime = std::make_unique<Runtime>(
            ui::main_window_layout(game_handlers()), std::move(b),
            ui::Services{.wall_clock = backend->wall_clock(LocalTime{2026, 12, 7, 21, 30, 0}, false),
                         .message_box_opened = [this](const ui::MessageBoxInfo& box) { answer(box); },
                         .program = SoundWatch{[this](GameSound s) { heard(s); }}});
        runtime->load_window(kMainWindow);
    }

    ~GameWindow() {
        stop_all_sounds(true);
        runtime.reset();
    }

    GameWindow(const GameWindow&) = delete;
    GameWindow& operator=(const GameWindow&) = delete;

    // --- State as the controls hold it ---
    Value get(std::string_view name, int index) { return runtime->get_property(kMainWindow, control(name), index); }
    void set(std::string_view name, int index, const Value& v) {
        runtime->set_property(kMainWindow, control(name), index, -1, v);
    }
    // Caption of a label / content of the edit box (property 8), as UTF-8.
    std::string text(std::string_view name) { return gbk_to_utf8(get(name, 8).text().view()); }
    void set_text(std::string_view name, std::string_view utf8) { set(name, 8, Value::of_text(gbk(utf8))); }
    std::int32_t interval(std::string_view timer) { return get(timer, 8).as_integer(); }
    bool visible(std::string_view name) { return get(name, kVisibleProperty).as_integer() != 0; }
    std::string window_caption() {
        return gbk_to_utf8(runtime->get_property(kMainWindow, kWindowItself, 8).text().view());
    }
    // The lamps that are lit, by ring position.
    std::vector<int> lit_lamps() {
        std::vector<int> lit;
        for (int k = 1; k <= 20; ++k)
            if (visible(board::kRing[k - 1].lamp)) lit.push_back(k);
        return lit;
    }
    bool spinning() {
        return interval(board::kAccelerationTimer) != 0 || interval(board::kRunLengthTimer) != 0 ||
               interval(board::kFastRunTimer) != 0 || interval(board::kDecelerationTimer) != 0;
    }
    // The eight bet displays, left to right.
    std::vector<std::string> bets() {
        std::vector<std::string> out;
        for (const board::BetColumn& c : board::kBetColumns) out.push_back(text(c.bet_display));
        return out;
    }
    std::size_t sound_count(GameSound s) const { return static_cast<std::size_t>(std::ranges::count(sounds, s)); }
    // The window's random source (its runtime's).
    RandomSource& random() { return runtime->services().random; }
    // Whether the game's sounds are played or only recorded (they are played at first).
    void play_sounds(bool played) { std::any_cast<SoundWatch&>(runtime->services().program).played = played; }

    // --- The player ---
    platform::WindowHandle top() { return runtime->window_handle_of(kMainWindow); }
    Point at(std::string_view name, int dx, int dy) {
        return {get(name, kLeft).as_integer() + dx, get(name, kTop).as_integer() + dy};
    }
    // Clicks the middle of a control and lets the window handle it.
    void click(std::string_view name, platform::MouseButton b = platform::MouseButton::Left) {
        backend->click(top(), at(name, get(name, kWidth).as_integer() / 2, get(name, kHeight).as_integer() / 2), b);
        runtime->windows().process_pending();
    }
    void add_credits() { click(board::kAddCreditsButton); }
    void start() { click(board::kStartButton); }
    // Presses an arrow of the bet spinner of symbol k (1..8).
    void press_spinner(int k, bool up) {
        const std::string_view name = board::kBetColumns[k - 1].spinner;
        backend->click(top(), at(name, 16, up ? 10 : 40));
        runtime->windows().process_pending();
    }
    // Runs the loop until every timer has stopped (a spin ends within a minute).
    bool run_until_idle() {
        return backend->run_until([this] { return !spinning(); }, 60000);
    }

    // Records a sound the game starts.
    void heard(GameSound s) {
        sounds.push_back(s);
        if (on_sound) on_sound(s);
    }
    // Records a box and has the player press its OK button after box_answer_delay_ms.
    void answer(const ui::MessageBoxInfo& box) {
        boxes.push_back({gbk_to_utf8(box.text.view()), gbk_to_utf8(box.caption.view()), backend->now_ms()});
        const Rect& ok = box.buttons.at(0).rect;
        backend->schedule_click(box.window, {ok.x + ok.width / 2, ok.y + ok.height / 2}, platform::MouseButton::Left,
                                backend->now_ms() + box_answer_delay_ms);
    }

    std::vector<GameSound> sounds;
    std::function<void(GameSound)> on_sound; // runs inside the handler that starts the sound
    std::vector<SeenBox> boxes;
    std::uint64_t box_answer_delay_ms = 0; // how long the player waits before pressing OK
    platform::HeadlessBackend* backend = nullptr;
    std::unique_ptr<Runtime> runtime;
};

} // namespace tav::game::test
