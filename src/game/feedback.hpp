#pragma once
// What the game plays and says: its three sounds and its refusal boxes.

#include <functional>
#include <optional>
#include <string_view>

namespace tav::game {

// The embedded sounds the game starts.
enum class GameSound { Step, Result, Music };

// Starts one playback of `sound` (once, no loop) alongside every sound already playing.
void play_game_sound(GameSound sound);

// Called with every sound the game starts, just before it is handed to the player; empty
// removes it. Lets a test or tool see the sounds of a run without listening to them.
void set_sound_observer(std::function<void(GameSound)> observer);

// Whether the game's sounds are handed to the player (true, the default) or only shown to the
// observer. A headless tool running many spins turns playing off so no player thread starts.
void set_sounds_played(bool played);

// Shows a refusal in a plain OK box (flags 0) and returns when it is closed. `message` and
// `caption` are UTF-8; no caption gives the message box's default caption.
void show_refusal(std::string_view message, std::optional<std::string_view> caption);

} // namespace tav::game
