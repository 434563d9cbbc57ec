#pragma once
// Playing sounds asynchronously: every request gets a player and a thread of its own.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/value.hpp"
#include "platform/audio/wave_output.hpp"

namespace tav {

// Starts playing `sound` (Bytes holding a WAV file, or Text naming a file read whole) into
// `output` (the runtime's sound output, one of its services) and returns at once; `loop` (its
// 32-bit value, nonzero to loop; Absent for no) repeats it until stopped. True when a player
// started. MIDI data ("MThd") is not played and gives false, as does a WAV whose format the
// output cannot play (no player is left behind then).
bool play_sound_async(std::shared_ptr<WaveOutput> output, const Value& sound, const Value& loop = Value());

// Signals every playing sound to stop; with `wait`, returns only when each has ended.
void stop_all_sounds(bool wait);

// For the end of the program: stops every player, waits for all of them and joins every player
// thread. The sound device closes when its output's owner lets go of it.
void stop_sounds_at_exit();

// Players currently listed as active.
std::size_t active_player_count();

// Player threads that have not yet finished.
std::size_t player_thread_count();

// Shortens or restores the wait for a finished buffer of players started afterwards
// (normally 8888 ms); for tests of a device that stops returning buffers.
void set_stall_timeout_for_testing(std::chrono::milliseconds timeout);

} // namespace tav
