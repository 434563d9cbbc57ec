#pragma once
// What the game plays and says: its three sounds and its refusal boxes.

#include <functional>
#include <optional>
#include <string_view>

namespace tav::game {

// The embedded sounds the game starts.
enum class GameSound { Step, Result, Music };

// How a test or tool watches the game's sounds. It is kept with the runtime's services (as
// ui::Services::program), so that it lives and ends with the runtime whose game it watches;
// without one the sounds are played and nobody watches.
struct SoundWatch {
    // Called with every sound the game starts, just before it is handed to the player. Lets a
    // test or tool see the sounds of a run without listening to them.
    std::function<void(GameSound)> observer;
    // Whether the sounds are handed to the player (true) or only shown to the observer. A
    // headless tool running many spins turns playing off so no player thread starts.
    bool played = true;
};

// Starts one playback of `sound` (once, no loop) into the current runtime's sound output,
// alongside every sound already playing.
void play_game_sound(GameSound sound);

// Shows a refusal in a plain OK box (flags 0) and returns when it is closed. `message` and
// `caption` are UTF-8; no caption gives the message box's default caption.
void show_refusal(std::string_view message, std::optional<std::string_view> caption);

} // namespace tav::game
