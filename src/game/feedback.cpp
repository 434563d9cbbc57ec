#include "game/feedback.hpp"

#include <atomic>
#include <utility>

#include "assets/assets.hpp"
#include "audio/play_sound.hpp"
#include "core/gbk.hpp"
#include "runtime/message_box.hpp"
#include "core/value.hpp"

namespace tav::game {
namespace {

// Button and icon bits of the refusal boxes: one OK button, no icon.
constexpr std::int32_t kPlainOk = 0;

// The sound observer lives on the window's thread like every handler that starts a sound.
std::function<void(GameSound)>& Observer() {
    static std::function<void(GameSound)> observer;
    return observer;
}

// Off only in headless tools; read on the window's thread of every runtime.
std::atomic<bool>& Played() {
    static std::atomic<bool> played{true};
    return played;
}

// The sound data as the player takes it: the embedded bytes themselves, never copied.
const Value& SoundValue(GameSound sound) {
    static const Value step = Value::OfLastingBytes(assets::StepSound());
    static const Value result = Value::OfLastingBytes(assets::ResultSound());
    static const Value music = Value::OfLastingBytes(assets::BackgroundMusic());
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
    if (Played().load(std::memory_order_relaxed)) {
        PlaySoundAsync(SoundValue(sound));
    }
}

void SetSoundsPlayed(bool played) {
    Played().store(played, std::memory_order_relaxed);
}

void SetSoundObserver(std::function<void(GameSound)> observer) {
    Observer() = std::move(observer);
}

void ShowRefusal(std::string_view message, std::optional<std::string_view> caption) {
    ShowMessageBox(Value::OfText(Gbk(message)), Value::OfInteger(kPlainOk),
                   caption ? Value::OfText(Gbk(*caption)) : Value());
}

} // namespace tav::game
