// The mixer: streams, their buffers, conversion to the device rate and the limited sum.
#include "platform/audio/wave_output.hpp"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>

#include "platform/audio/resampler.hpp"
#include "platform/audio/silent_sink.hpp"
#include "platform/audio/sinc_resampler.hpp"

namespace tav {
namespace {

// Frames mixed per pass; a device period longer than this is mixed in several passes.
constexpr std::size_t kMixChunkFrames = 1024;
// Finished buffers one mix can collect without allocating.
constexpr std::size_t kFinishedReserve = 256;

// True on a thread that is running completion callbacks, so close() does not wait for itself.
thread_local int tls_dispatch_depth = 0;

std::uint32_t le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// A 32-bit sample (24-bit ones shifted up to it) on the 16-bit scale, rounded.
std::int32_t from_top_aligned(std::uint32_t bits) {
    const std::int64_t v = (static_cast<std::int64_t>(static_cast<std::int32_t>(bits)) + 0x8000) >> 16;
    return static_cast<std::int32_t>(std::min<std::int64_t>(v, INT16_MAX));
}

// One sample of any kind on the mixer's 16-bit scale.
std::int32_t decode_sample(const std::uint8_t* p, SampleKind kind) {
    switch (kind) {
        case SampleKind::U8: return (static_cast<std::int32_t>(p[0]) - 128) * 256;
        case SampleKind::S16: return static_cast<std::int16_t>(p[0] | (p[1] << 8));
        case SampleKind::S24:
            return from_top_aligned((static_cast<std::uint32_t>(p[0]) << 8) | (static_cast<std::uint32_t>(p[1]) << 16) |
                                    (static_cast<std::uint32_t>(p[2]) << 24));
        case SampleKind::S32: return from_top_aligned(le32(p));
        case SampleKind::F32: {
            const float x = std::bit_cast<float>(le32(p));
            if (std::isnan(x)) return 0;
            return static_cast<std::int32_t>(std::lrint(std::clamp(x, -1.0f, 1.0f) * 32767.0f));
        }
    }
    return 0;
}

MixFrame decode(const std::uint8_t* p, const PcmFormat& f) {
    const std::int32_t left = decode_sample(p, f.kind);
    if (f.channels == 1) return {left, left};
    return {left, decode_sample(p + f.bits / 8, f.kind)};
}

} // namespace

struct WaveOutput::Stream {
    WaveHandle handle = 0;
    PcmFormat format;
    WaveDoneCallback callback = nullptr;
    void* instance = nullptr;
    bool paused = false;
    std::vector<WaveBuffer*> queue; // queue[head..] wait to be played, oldest first
    std::size_t head = 0;
    std::uint32_t offset = 0;                         // bytes of queue[head] already taken
    std::array<std::uint8_t, kMaxBlockAlign> carry{}; // a frame split across two buffers
    std::size_t carry_len = 0;
    Resampling resampling = Resampling::Sinc;
    bool plain = false; // at the device rate through the sinc path: frames go straight in
    HermiteResampler hermite;
    SincResampler sinc;

    // Sets the converter up for `out_rate`; false when the filter cannot be made.
    bool configure(Resampling how, std::uint32_t out_rate) {
        resampling = how;
        plain = how == Resampling::Sinc && format.rate == out_rate;
        if (how == Resampling::Hermite) hermite.configure(format.rate, out_rate);
        if (how == Resampling::Sinc && !plain && !sinc.configure(format.rate, out_rate, format.channels)) return false;
        return true;
    }

    void restart_conversion() {
        if (resampling == Resampling::Hermite)
            hermite.reset();
        else
            sinc.reset();
        offset = 0;
        carry_len = 0;
    }

    // True while the converter owes output for input it has already taken.
    bool holds_output() const { return resampling == Resampling::Sinc && !plain && sinc.pending(); }

    template <class NextFrame>
    void convert(std::int32_t* acc, std::size_t frames, NextFrame&& next) {
        if (resampling == Resampling::Hermite) {
            hermite.render(acc, frames, next);
        } else if (!plain) {
            sinc.render(acc, frames, next);
        } else {
            MixFrame f;
            for (std::size_t i = 0; i < frames && next(f); ++i) {
                acc[2 * i] += f[0];
                acc[2 * i + 1] += f[1];
            }
        }
    }
};

WaveOutput::WaveOutput(std::unique_ptr<WaveDevice> device, Resampling resampling)
    : device_(std::move(device)), resampling_(resampling) {
    finished_.reserve(kFinishedReserve);
    acc_.resize(kMixChunkFrames * 2);
}

WaveOutput::~WaveOutput() {
    if (device_) device_->stop();
    std::lock_guard lock(mutex_);
    for (auto& s : streams_)
        for (std::size_t i = s->head; i < s->queue.size(); ++i) s->queue[i]->queued = false;
    streams_.clear();
}

void WaveOutput::start_device() {
    std::call_once(started_, [this] {
        auto render = [this](std::span<std::int16_t> out) { this->render(out); };
        if (!device_ || !device_->start(render)) {
            // No sound card: play into a sink that keeps real time, so streams end as they would.
            device_ = std::make_unique<SilentSink>();
            device_->start(render);
        }
        auto limiter = std::make_unique<Limiter>(device_->rate());
        std::lock_guard lock(mutex_);
        rate_ = device_->rate();
        limiter_ = std::move(limiter);
    });
}

WaveOutput::Stream* WaveOutput::find(WaveHandle h) {
    for (auto& s : streams_)
        if (s->handle == h) return s.get();
    return nullptr;
}

std::optional<WaveHandle> WaveOutput::open(std::span<const std::uint8_t> format, WaveDoneCallback callback,
                                           void* instance) {
    const auto pcm = parse_pcm_format(format);
    if (!pcm) return std::nullopt;
    start_device();
    auto s = std::make_unique<Stream>();
    s->format = *pcm;
    s->callback = callback;
    s->instance = instance;
    s->queue.reserve(32);
    if (!s->configure(resampling_, device_rate())) return std::nullopt;
    std::lock_guard lock(mutex_);
    s->handle = next_handle_++;
    if (next_handle_ == 0) next_handle_ = 1;
    const WaveHandle h = s->handle;
    streams_.push_back(std::move(s));
    return h;
}

bool WaveOutput::prepare(WaveHandle h, WaveBuffer& buffer) {
    std::lock_guard lock(mutex_);
    if (!find(h) || (buffer.data == nullptr && buffer.length > 0)) return false;
    buffer.prepared = true;
    return true;
}

bool WaveOutput::write(WaveHandle h, WaveBuffer& buffer) {
    std::lock_guard lock(mutex_);
    Stream* s = find(h);
    if (!s || !buffer.prepared || buffer.queued) return false;
    if (s->head > 0) {
        s->queue.erase(s->queue.begin(), s->queue.begin() + static_cast<std::ptrdiff_t>(s->head));
        s->head = 0;
    }
    buffer.queued = true;
    s->queue.push_back(&buffer);
    return true;
}

bool WaveOutput::unprepare(WaveHandle h, WaveBuffer& buffer) {
    std::lock_guard lock(mutex_);
    if (!find(h) || buffer.queued) return false;
    buffer.prepared = false;
    return true;
}

bool WaveOutput::pause(WaveHandle h) {
    std::lock_guard lock(mutex_);
    Stream* s = find(h);
    if (!s) return false;
    s->paused = true;
    return true;
}

bool WaveOutput::restart(WaveHandle h) {
    std::lock_guard lock(mutex_);
    Stream* s = find(h);
    if (!s) return false;
    s->paused = false;
    return true;
}

bool WaveOutput::reset(WaveHandle h) {
    std::vector<Finished> handed_back;
    std::unique_lock lock(mutex_);
    Stream* s = find(h);
    if (!s) return false;
    for (std::size_t i = s->head; i < s->queue.size(); ++i) {
        s->queue[i]->queued = false;
        handed_back.push_back({s->callback, s->instance, s->queue[i]});
    }
    s->queue.clear();
    s->head = 0;
    s->restart_conversion();
    dispatch(lock, handed_back);
    return true;
}

bool WaveOutput::close(WaveHandle h) {
    std::unique_lock lock(mutex_);
    auto it = std::find_if(streams_.begin(), streams_.end(), [h](auto& s) { return s->handle == h; });
    if (it == streams_.end()) return false;
    Stream& s = **it;
    for (std::size_t i = s.head; i < s.queue.size(); ++i) s.queue[i]->queued = false;
    streams_.erase(it);
    // A callback collected before the removal may still be on its way to the caller's instance.
    dispatch_done_.wait(lock, [this] { return dispatching_ - (tls_dispatch_depth > 0 ? 1 : 0) <= 0; });
    return true;
}

void WaveOutput::mix_stream(Stream& s, std::int32_t* acc, std::size_t frames) {
    const PcmFormat& f = s.format;
    const std::size_t block = f.block_align;
    auto finish_front = [&] {
        WaveBuffer* b = s.queue[s.head];
        b->queued = false;
        finished_.push_back({s.callback, s.instance, b});
        ++s.head;
        s.offset = 0;
    };
    // The last buffer, once taken, stays queued until the converter has let go of its frames.
    auto next = [&](MixFrame& out) {
        while (s.head < s.queue.size()) {
            WaveBuffer* b = s.queue[s.head];
            const std::uint32_t left = b->length - s.offset;
            if (left == 0) {
                if (s.head + 1 == s.queue.size()) return false;
                finish_front();
                continue;
            }
            if (s.carry_len == 0 && left >= block) {
                out = decode(b->data + s.offset, f);
                s.offset += static_cast<std::uint32_t>(block);
                return true;
            }
            const std::size_t take = std::min<std::size_t>(block - s.carry_len, left);
            std::memcpy(s.carry.data() + s.carry_len, b->data + s.offset, take);
            s.carry_len += take;
            s.offset += static_cast<std::uint32_t>(take);
            if (s.carry_len == block) {
                out = decode(s.carry.data(), f);
                s.carry_len = 0;
                return true;
            }
        }
        return false;
    };
    s.convert(acc, frames, next);
    // Hand back what has been taken whole; the last buffer waits while the converter holds its tail.
    while (s.head < s.queue.size() && s.offset == s.queue[s.head]->length) {
        if (s.head + 1 == s.queue.size() && s.holds_output()) break;
        finish_front();
    }
}

void WaveOutput::render(std::span<std::int16_t> stereo) {
    const std::size_t frames = stereo.size() / 2;
    std::unique_lock lock(mutex_);
    if (!limiter_) { // the device pulls before start_device has finished: no stream exists yet
        std::fill(stereo.begin(), stereo.end(), std::int16_t{0});
        return;
    }
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(frames - done, kMixChunkFrames);
        std::fill_n(acc_.begin(), n * 2, 0);
        for (auto& s : streams_)
            if (!s->paused && (s->head < s->queue.size() || s->holds_output())) mix_stream(*s, acc_.data(), n);
        limiter_->run(acc_.data(), stereo.data() + done * 2, n);
        done += n;
    }
    if (!finished_.empty()) dispatch(lock, finished_);
}

void WaveOutput::dispatch(std::unique_lock<std::mutex>& lock, std::vector<Finished>& finished) {
    if (finished.empty()) return;
    std::vector<Finished> batch;
    batch.swap(finished); // the render's vector keeps no reference while we are unlocked
    ++dispatching_;
    lock.unlock();
    ++tls_dispatch_depth;
    for (const Finished& f : batch)
        if (f.callback) f.callback(f.instance, *f.buffer);
    --tls_dispatch_depth;
    lock.lock();
    --dispatching_;
    batch.clear();
    if (finished_.empty() && finished_.capacity() < batch.capacity()) finished_.swap(batch);
    dispatch_done_.notify_all();
}

std::uint32_t WaveOutput::device_rate() const {
    std::lock_guard lock(mutex_);
    return rate_;
}

std::size_t WaveOutput::stream_count() const {
    std::lock_guard lock(mutex_);
    return streams_.size();
}

std::vector<std::uint32_t> WaveOutput::queued_lengths() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint32_t> out;
    for (auto& s : streams_)
        for (std::size_t i = s->head; i < s->queue.size(); ++i) out.push_back(s->queue[i]->length);
    return out;
}

} // namespace tav
