#include "audio/play_sound.hpp"

#include <atomic>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "audio/active_players.hpp"
#include "audio/wav_chunks.hpp"
#include "audio/wave_player.hpp"
#include "platform/audio/silent_sink.hpp"
#include "platform/audio/wave_output.hpp"

namespace tav {
namespace {

// The shared output and the list of players, for the whole program.
struct SoundSystem {
    std::mutex output_mutex; // guards `output` and `next_device` only
    std::shared_ptr<WaveOutput> output;
    std::unique_ptr<WaveDevice> next_device;
    std::atomic<std::int64_t> stall_ms{kStallTimeout.count()};
    // Declared last, destroyed first: players are stopped and joined before the output goes.
    ActivePlayers players;

    std::shared_ptr<WaveOutput> shared_output() {
        std::lock_guard lock(output_mutex);
        if (!output) {
            auto device = next_device ? std::move(next_device) : std::make_unique<SilentSink>();
            output = std::make_shared<WaveOutput>(std::move(device));
        }
        return output;
    }
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

bool play_sound_async(const Value& sound, const Value& loop) {
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
    if (data.empty() || !looks_like_wav(data)) return false;
    const auto chunks = walk_wav_chunks(data);
    if (!chunks) return false;

    SoundSystem& sounds = sound_system();
    sounds.players.reap();
    const bool looping = !loop.absent() && loop.low_word() != 0;
    auto player = WavePlayer::create(std::move(bytes), *chunks, looping, sounds.shared_output(),
                                     std::chrono::milliseconds(sounds.stall_ms.load()));
    if (!player) return false;
    return sounds.players.start(std::move(player));
}

void stop_all_sounds(bool wait) { sound_system().players.stop_all(wait); }

void stop_sounds_at_exit() {
    SoundSystem& sounds = sound_system();
    sounds.players.stop_all(true);
    sounds.players.reap();
    std::shared_ptr<WaveOutput> last;
    {
        std::lock_guard lock(sounds.output_mutex);
        last.swap(sounds.output);
    }
    // Every player has let go of it, so this closes the device here.
}

std::size_t active_player_count() { return sound_system().players.count(); }

std::size_t player_thread_count() { return sound_system().players.thread_count(); }

std::vector<std::uint32_t> queued_sound_buffers() {
    SoundSystem& sounds = sound_system();
    std::lock_guard lock(sounds.output_mutex);
    return sounds.output ? sounds.output->queued_lengths() : std::vector<std::uint32_t>{};
}

void use_wave_device(std::unique_ptr<WaveDevice> device) {
    SoundSystem& sounds = sound_system();
    std::lock_guard lock(sounds.output_mutex);
    sounds.output.reset();
    sounds.next_device = std::move(device);
}

void set_stall_timeout_for_testing(std::chrono::milliseconds timeout) {
    sound_system().stall_ms.store(timeout.count());
}

} // namespace tav
