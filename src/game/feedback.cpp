// The game's sounds from the embedded bytes, seen first by a test's watch if set, and its OK-only refusals.
#include "game/feedback.hpp"

#include <any>

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
    Runtime* runtime = Runtime::current();
    if (runtime == nullptr) return;
    ui::Services& services = runtime->services();
    const auto* watch = std::any_cast<SoundWatch>(&services.program);
    if (watch != nullptr && watch->observer) watch->observer(sound);
    if (watch == nullptr || watch->played) play_sound_async(services.sound_output, sound_value(sound));
}

void show_refusal(std::string_view message, std::optional<std::string_view> caption) {
    Runtime* runtime = Runtime::current();
    if (runtime == nullptr) return;
    ui::show_message_box(runtime->windows(), runtime->services(), Value::of_text(gbk(message)),
                         Value::of_integer(kPlainOk), caption ? Value::of_text(gbk(*caption)) : Value());
}

} // namespace tav::game
