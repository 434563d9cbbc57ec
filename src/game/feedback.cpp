#include "game/feedback.hpp"

#include <atomic>
#include <utility>

#include "assets/assets.hpp"
#include "audio/play_sound.hpp"
#include "core/gbk.hpp"
#include "core/value.hpp"
#include "runtime/runtime.hpp"
#include "ui/message_box.hpp"

namespace tav::game {
namespace {

// Button and icon bits of the refusal boxes: one OK button, no icon.
constexpr std::int32_t kPlainOk = 0;

// The sound observer lives on the window's thread like every handler that starts a sound.
std::function<void(GameSound)>& sound_observer() {
    static std::function<void(GameSound)> observer;
    return observer;
}

// Off only in headless tools; read on the window's thread of every runtime.
std::atomic<bool>& sounds_played() {
    static std::atomic<bool> played{true};
    return played;
}

// The sound data as the player takes it: the embedded bytes themselves, never copied.
const Value& sound_value(GameSound sound) {
    static const Value kStep = Value::of_lasting_bytes(assets::step_sound());
    static const Value kResult = Value::of_lasting_bytes(assets::result_sound());
    static const Value kMusic = Value::of_lasting_bytes(assets::background_music());
    switch (sound) {
        case GameSound::Step: return kStep;
        case GameSound::Result: return kResult;
        case GameSound::Music: break;
    }
    return kMusic;
}

} // namespace

void play_game_sound(GameSound sound) {
    if (sound_observer()) {
        sound_observer()(sound);
    }
    if (sounds_played().load(std::memory_order_relaxed)) {
        play_sound_async(sound_value(sound));
    }
}

void set_sounds_played(bool played) { sounds_played().store(played, std::memory_order_relaxed); }

void set_sound_observer(std::function<void(GameSound)> observer) { sound_observer() = std::move(observer); }

void show_refusal(std::string_view message, std::optional<std::string_view> caption) {
    Runtime* runtime = Runtime::current();
    if (runtime == nullptr) return;
    ui::show_message_box(runtime->windows(), Value::of_text(gbk(message)), Value::of_integer(kPlainOk),
                         caption ? Value::of_text(gbk(*caption)) : Value());
}

} // namespace tav::game
