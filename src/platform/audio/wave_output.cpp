#include "platform/audio/wave_output.hpp"

#include <algorithm>
#include <cstring>

#include "platform/audio/resampler.hpp"
#include "platform/audio/silent_sink.hpp"

namespace tav {
namespace {

// Frames mixed per pass; a device period longer than this is mixed in several passes.
constexpr std::size_t kMixChunkFrames = 1024;
// Finished buffers one mix can collect without allocating.
constexpr std::size_t kFinishedReserve = 256;

// True on a thread that is running completion callbacks, so close() does not wait for itself.
thread_local int tls_dispatch_depth = 0;

MixFrame decode(const std::uint8_t* p, const PcmFormat& f) {
    if (f.bits == 16) {
        const auto left = static_cast<std::int16_t>(p[0] | (p[1] << 8));
        if (f.channels == 1) return {left, left};
        const auto right = static_cast<std::int16_t>(p[2] | (p[3] << 8));
        return {left, right};
    }
    const std::int32_t left = (static_cast<std::int32_t>(p[0]) - 128) * 256;
    if (f.channels == 1) return {left, left};
    return {left, (static_cast<std::int32_t>(p[1]) - 128) * 256};
}

std::int16_t saturate(std::int32_t v) {
    return static_cast<std::int16_t>(std::clamp<std::int32_t>(v, INT16_MIN, INT16_MAX));
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
    std::uint32_t offset = 0;            // bytes of queue[head] already taken
    std::array<std::uint8_t, 4> carry{}; // a frame split across two buffers
    std::size_t carry_len = 0;
    HermiteResampler resampler;

    void restart_conversion(std::uint32_t out_rate) {
        resampler.configure(format.rate, out_rate);
        offset = 0;
        carry_len = 0;
    }
};

WaveOutput::WaveOutput(std::unique_ptr<WaveDevice> device) : device_(std::move(device)) {
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
        std::lock_guard lock(mutex_);
        rate_ = device_->rate();
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
    std::lock_guard lock(mutex_);
    s->restart_conversion(rate_);
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
    s->restart_conversion(rate_);
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
    auto next = [&](MixFrame& out) {
        while (s.head < s.queue.size()) {
            WaveBuffer* b = s.queue[s.head];
            const std::uint32_t left = b->length - s.offset;
            if (s.carry_len == 0 && left >= block) {
                out = decode(b->data + s.offset, f);
                s.offset += static_cast<std::uint32_t>(block);
                if (s.offset == b->length) finish_front();
                return true;
            }
            if (left == 0) {
                finish_front();
                continue;
            }
            const std::size_t take = std::min<std::size_t>(block - s.carry_len, left);
            std::memcpy(s.carry.data() + s.carry_len, b->data + s.offset, take);
            s.carry_len += take;
            s.offset += static_cast<std::uint32_t>(take);
            if (s.offset == b->length) finish_front();
            if (s.carry_len == block) {
                out = decode(s.carry.data(), f);
                s.carry_len = 0;
                return true;
            }
        }
        return false;
    };
    s.resampler.render(acc, frames, next);
}

void WaveOutput::render(std::span<std::int16_t> stereo) {
    const std::size_t frames = stereo.size() / 2;
    std::unique_lock lock(mutex_);
    for (std::size_t done = 0; done < frames;) {
        const std::size_t n = std::min(frames - done, kMixChunkFrames);
        std::fill_n(acc_.begin(), n * 2, 0);
        for (auto& s : streams_)
            if (!s->paused && s->head < s->queue.size()) mix_stream(*s, acc_.data(), n);
        for (std::size_t i = 0; i < n * 2; ++i) stereo[done * 2 + i] = saturate(acc_[i]);
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
