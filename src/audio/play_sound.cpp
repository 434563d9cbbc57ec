// A sound request from bytes or a file name: checked as WAV, given a player, started on the program's list.
#include "audio/play_sound.hpp"

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "audio/active_players.hpp"
#include "audio/wav_chunks.hpp"
#include "audio/wave_player.hpp"

namespace tav {
namespace {

// The list of players, for the whole program. Each player holds the output it plays into.
struct SoundSystem {
    std::atomic<std::int64_t> stall_ms{kStallTimeout.count()};
    ActivePlayers players;
};

SoundSystem& sound_system() {
    static SoundSystem system;
    return system;
}

// The whole content of a file, or nothing when it cannot be read.
std::optional<Bytes> read_whole_file(const Text& name) {
    if (name.empty()) return std::nullopt;
    std::ifstream in(std::string(name.view()), std::ios::binary);
    if (!in) return std::nullopt;
    Bytes content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return content;
}

} // namespace

bool play_sound_async(std::shared_ptr<WaveOutput> output, const Value& sound, const Value& loop) {
    Value bytes;
    if (sound.is(ValueKind::Bytes)) {
        bytes = sound;
    } else if (sound.is(ValueKind::Text)) {
        const auto file = read_whole_file(sound.text());
        if (!file) return false;
        bytes = Value::of_bytes(*file);
    } else {
        return false;
    }
    const std::span<const std::uint8_t> data = bytes.bytes();
    if (!output || data.empty() || !looks_like_wav(data)) return false;
    const auto chunks = walk_wav_chunks(data);
    if (!chunks) return false;

    SoundSystem& sounds = sound_system();
    sounds.players.reap();
    const bool looping = !loop.absent() && loop.low_word() != 0;
    auto player = WavePlayer::create(std::move(bytes), *chunks, looping, std::move(output),
                                     std::chrono::milliseconds(sounds.stall_ms.load()));
    if (!player) return false;
    return sounds.players.start(std::move(player));
}

void stop_all_sounds(bool wait) { sound_system().players.stop_all(wait); }

void stop_sounds_at_exit() {
    SoundSystem& sounds = sound_system();
    sounds.players.stop_all(true);
    sounds.players.reap();
}

std::size_t active_player_count() { return sound_system().players.count(); }

std::size_t player_thread_count() { return sound_system().players.thread_count(); }

void set_stall_timeout_for_testing(std::chrono::milliseconds timeout) {
    sound_system().stall_ms.store(timeout.count());
}

} // namespace tav
