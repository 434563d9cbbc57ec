#pragma once
// Wave output streams, all mixed into one device: open, prepare, write, unprepare, pause,
// restart, reset and close, with a completion callback for every finished buffer.

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

#include "platform/audio/limiter.hpp"
#include "platform/audio/pcm_format.hpp"
#include "platform/audio/wave_device.hpp"

namespace tav {

// A block of PCM data handed to a stream. The caller owns it and its bytes; while it is
// queued (from write until its callback) the output reads `data` and the caller must not touch it.
struct WaveBuffer {
    std::uint8_t* data = nullptr; // the PCM bytes
    std::uint32_t length = 0;     // bytes of `data` to play
    bool prepared = false;        // set by prepare, cleared by unprepare; the owner's thread only
    bool queued = false;          // written by the output under its lock; read it via unprepare
};

// Identifies an open stream; stale handles are refused by every operation.
using WaveHandle = std::uint32_t;

// Called once for every buffer handed back (played out or reset), with the instance value given
// to open. Runs on the device thread, or on the caller of reset; no output lock is held then,
// so it may call back into the output.
using WaveDoneCallback = void (*)(void* instance, WaveBuffer& buffer);

// How streams at another rate than the device's are converted.
enum class Resampling : std::uint8_t {
    Sinc,    // the windowed-sinc filter; streams at the device rate pass through untouched
    Hermite, // the 4-point cubic, every stream through it (kept as the cheaper reference)
};

// The program's wave output: streams of any PCM format our converter knows, mixed into one
// device that is opened on the first open. The mix goes through a peak limiter, so no number
// of streams drives it to the rails; a lone stream peaking under Limiter::kKnee is not touched.
class WaveOutput {
public:
    // Takes the device to mix into; it is started lazily, and replaced by a silent sink
    // running in real time if it cannot be started.
    explicit WaveOutput(std::unique_ptr<WaveDevice> device, Resampling resampling = Resampling::Sinc);
    // Stops the device; streams still open are dropped without callbacks.
    ~WaveOutput();
    WaveOutput(const WaveOutput&) = delete;
    WaveOutput& operator=(const WaveOutput&) = delete;

    // Opens a stream with the raw "fmt " body; nullopt when the format is short or unplayable.
    std::optional<WaveHandle> open(std::span<const std::uint8_t> format, WaveDoneCallback callback, void* instance);
    // Marks a buffer ready for writing; false for a stale handle or a buffer without data.
    bool prepare(WaveHandle h, WaveBuffer& buffer);
    // Queues a prepared buffer behind the stream's others; false if unprepared or already queued.
    bool write(WaveHandle h, WaveBuffer& buffer);
    // Releases a prepared buffer; false while it is still queued.
    bool unprepare(WaveHandle h, WaveBuffer& buffer);
    // Holds the stream: it stays silent and its buffers stay queued.
    bool pause(WaveHandle h);
    // Resumes a paused stream.
    bool restart(WaveHandle h);
    // Hands every queued buffer back through the callback (on this thread) and starts the
    // stream's conversion afresh; the stream stays paused if it was.
    bool reset(WaveHandle h);
    // Closes the stream. Buffers still queued are released without callbacks. When it returns,
    // no callback for this stream runs or will run (unless called from inside one).
    bool close(WaveHandle h);

    // Mixes the next frames of every running stream into `stereo`; the device calls this. A
    // stream's last queued buffer is handed back once its converted output has all been mixed.
    void render(std::span<std::int16_t> stereo);

    // The device's rate once a stream has been opened, 0 before.
    std::uint32_t device_rate() const;
    // Number of open streams.
    std::size_t stream_count() const;
    // Lengths of every buffer queued, stream by stream in opening order, for tests and checks.
    std::vector<std::uint32_t> queued_lengths() const;

private:
    struct Stream;
    struct Finished {
        WaveDoneCallback callback;
        void* instance;
        WaveBuffer* buffer;
    };

    void start_device();
    Stream* find(WaveHandle h);
    void mix_stream(Stream& s, std::int32_t* acc, std::size_t frames);
    void dispatch(std::unique_lock<std::mutex>& lock, std::vector<Finished>& finished);

    std::unique_ptr<WaveDevice> device_;
    const Resampling resampling_;
    std::once_flag started_;
    std::uint32_t rate_ = 0;

    mutable std::mutex mutex_; // guards everything below; held only for short list work
    std::condition_variable dispatch_done_;
    std::vector<std::unique_ptr<Stream>> streams_;
    WaveHandle next_handle_ = 1;
    int dispatching_ = 0;              // batches of callbacks being run outside the lock
    std::vector<Finished> finished_;   // collected during a mix, reused to avoid allocation
    std::vector<std::int32_t> acc_;    // the mix accumulator
    std::unique_ptr<Limiter> limiter_; // made with the device's rate when it starts
};

} // namespace tav
