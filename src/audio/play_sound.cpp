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
    std::mutex output_mutex;  // guards `output` and `next_device` only
    std::shared_ptr<WaveOutput> output;
    std::unique_ptr<WaveDevice> next_device;
    std::atomic<std::int64_t> stall_ms{kStallTimeout.count()};
    // Declared last, destroyed first: players are stopped and joined before the output goes.
    ActivePlayers players;

    std::shared_ptr<WaveOutput> Output() {
        std::lock_guard lock(output_mutex);
        if (!output) {
            auto device = next_device ? std::move(next_device) : std::make_unique<SilentSink>();
            output = std::make_shared<WaveOutput>(std::move(device));
        }
        return output;
    }
};

SoundSystem& Sounds() {
    static SoundSystem system;
    return system;
}

// The whole content of a file, or nothing when it cannot be read.
std::optional<Bytes> ReadWholeFile(const Text& name) {
    if (name.empty()) return std::nullopt;
    std::ifstream in(std::string(name.view()), std::ios::binary);
    if (!in) return std::nullopt;
    Bytes content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return std::nullopt;
    return content;
}

} // namespace

bool PlaySoundAsync(const Value& sound, const Value& loop) {
    Value bytes;
    if (sound.is(ValueKind::Bytes)) {
        bytes = sound;
    } else if (sound.is(ValueKind::Text)) {
        const auto file = ReadWholeFile(sound.text());
        if (!file) return false;
        bytes = Value::OfBytes(*file);
    } else {
        return false;
    }
    const std::span<const std::uint8_t> data = bytes.bytes();
    if (data.empty() || !LooksLikeWav(data)) return false;
    const auto chunks = WalkWavChunks(data);
    if (!chunks) return false;

    SoundSystem& sounds = Sounds();
    sounds.players.Reap();
    const bool looping = !loop.absent() && loop.low_word() != 0;
    auto player = WavePlayer::Create(std::move(bytes), *chunks, looping, sounds.Output(),
                                     std::chrono::milliseconds(sounds.stall_ms.load()));
    if (!player) return false;
    return sounds.players.Start(std::move(player));
}

void StopAllSounds(bool wait) { Sounds().players.StopAll(wait); }

void StopSoundsAtExit() {
    SoundSystem& sounds = Sounds();
    sounds.players.StopAll(true);
    sounds.players.Reap();
    std::shared_ptr<WaveOutput> last;
    {
        std::lock_guard lock(sounds.output_mutex);
        last.swap(sounds.output);
    }
    // Every player has let go of it, so this closes the device here.
}

std::size_t ActivePlayerCount() { return Sounds().players.Count(); }

std::size_t PlayerThreadCount() { return Sounds().players.ThreadCount(); }

std::vector<std::uint32_t> QueuedSoundBuffers() {
    SoundSystem& sounds = Sounds();
    std::lock_guard lock(sounds.output_mutex);
    return sounds.output ? sounds.output->queued_lengths() : std::vector<std::uint32_t>{};
}

void UseWaveDevice(std::unique_ptr<WaveDevice> device) {
    SoundSystem& sounds = Sounds();
    std::lock_guard lock(sounds.output_mutex);
    sounds.output.reset();
    sounds.next_device = std::move(device);
}

void SetStallTimeoutForTesting(std::chrono::milliseconds timeout) { Sounds().stall_ms.store(timeout.count()); }

} // namespace tav
