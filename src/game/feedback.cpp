#include "game/feedback.hpp"

#include <utility>

#include "assets/assets.hpp"
#include "audio/play_sound.hpp"
#include "runtime/gbk.hpp"
#include "runtime/message_box.hpp"
#include "runtime/value.hpp"

namespace tav::game {
namespace {

// Button and icon bits of the refusal boxes: one OK button, no icon.
constexpr std::int32_t kPlainOk = 0;

// The sound observer lives on the window's thread like every handler that starts a sound.
std::function<void(GameSound)>& Observer() {
    static std::function<void(GameSound)> observer;
    return observer;
}

// The sound data as the player takes it, built once per sound.
const Value& SoundValue(GameSound sound) {
    static const Value step = Value::OfBytes(assets::StepSound());
    static const Value result = Value::OfBytes(assets::ResultSound());
    static const Value music = Value::OfBytes(assets::BackgroundMusic());
    switch (sound) {
    case GameSound::Step: return step;
    case GameSound::Result: return result;
    case GameSound::Music: break;
    }
    return music;
}

} // namespace

void PlayGameSound(GameSound sound) {
    if (Observer()) {
        Observer()(sound);
    }
    PlaySoundAsync(SoundValue(sound));
}

void SetSoundObserver(std::function<void(GameSound)> observer) {
    Observer() = std::move(observer);
}

void ShowRefusal(std::string_view message, std::optional<std::string_view> caption) {
    ShowMessageBox(Value::OfText(Gbk(message)), Value::OfInteger(kPlainOk),
                   caption ? Value::OfText(Gbk(*caption)) : Value());
}

} // namespace tav::game
