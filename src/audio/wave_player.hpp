#pragma once
// One playing WAV sound: its PCM copy, its buffers and the loop that streams them.

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "audio/player_signals.hpp"
#include "audio/wav_chunks.hpp"
#include "core/value.hpp"
#include "platform/audio/wave_output.hpp"

namespace tav {

// Buffers a player keeps in flight, and the bytes each holds.
inline constexpr int kBufferCount = 20;
inline constexpr std::uint32_t kBufferBytes = 15360;
// How long a player waits for a finished buffer before it gives up on the device.
inline constexpr std::chrono::milliseconds kStallTimeout{8888};

// Streams one sound to its own output stream. Created on the requesting thread, then run
// and destroyed by its player thread.
class WavePlayer {
public:
    // Keeps `sound`, a Bytes value whose chunks are `chunks`, and opens a stream with the format
    // as it stands. The value's bytes are shared rather than copied: a value's bytes never
    // change, so the caller may let go of its own value at once. nullptr when the player
    // cannot be allocated, when there is no output, or when the output will not open a stream
    // for the format (one it cannot play): no player and no thread then exist.
    static std::unique_ptr<WavePlayer> create(Value sound, const WavChunks& chunks, bool loop,
                                              std::shared_ptr<WaveOutput> output,
                                              std::chrono::milliseconds stall_timeout);
    ~WavePlayer();
    WavePlayer(const WavePlayer&) = delete;
    WavePlayer& operator=(const WavePlayer&) = delete;

    // The player loop, on the player thread; returns when the player must end.
    void run();
    // Ending step: closes the stream (no callback reaches this player afterwards).
    void close_device();
    // Asks the player to stop; any thread.
    void signal_stop() { signals_.signal_stop(); }

private:
    // The buffer headers and their data areas, allocated together and zero-filled.
    struct BufferBlock {
        std::array<WaveBuffer, kBufferCount> headers;
        std::array<std::array<std::uint8_t, kBufferBytes>, kBufferCount> areas;
    };

    WavePlayer(Value sound, std::span<const std::uint8_t> pcm, bool loop, std::shared_ptr<WaveOutput> output,
               std::chrono::milliseconds stall_timeout);
    static void on_buffer_done(void* instance, WaveBuffer& buffer);
    void release_prepared();
    int free_buffers();

    const Value sound_;                 // keeps the bytes pcm_ views
    std::span<const std::uint8_t> pcm_; // the sample data
    std::shared_ptr<WaveOutput> output_;
    std::optional<WaveHandle> device_;
    std::unique_ptr<BufferBlock> block_;
    int free_buffers_ = kBufferCount; // guarded by lock_
    int next_index_ = 0;
    std::size_t read_pos_ = 0;
    PlayerSignals signals_{kBufferCount, kBufferCount};
    std::mutex lock_;
    const bool loop_;
    const std::chrono::milliseconds stall_timeout_;
};

} // namespace tav
