// The speexdsp-backed rate converter: filter set-up, flushing and the processing step.
#include "platform/audio/sinc_resampler.hpp"

#include <speex/speex_resampler.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tav {

SincResampler::~SincResampler() {
    if (state_) speex_resampler_destroy(state_);
}

bool SincResampler::configure(std::uint32_t in_rate, std::uint32_t out_rate, unsigned channels) {
    if (state_) speex_resampler_destroy(state_);
    state_ = nullptr;
    if (in_rate == 0 || out_rate == 0 || channels < 1 || channels > 2) return false;
    int err = 0;
    state_ = speex_resampler_init(channels, in_rate, out_rate, kQuality, &err);
    if (!state_ || err != RESAMPLER_ERR_SUCCESS) {
        if (state_) speex_resampler_destroy(state_);
        state_ = nullptr;
        return false;
    }
    in_rate_ = in_rate;
    out_rate_ = out_rate;
    channels_ = channels;
    latency_ = static_cast<std::size_t>(std::max(1, speex_resampler_get_input_latency(state_)));
    reset();
    return true;
}

void SincResampler::reset() {
    taken_ = 0;
    produced_ = 0;
    flushing_ = false;
    staged_ = 0;
    if (!state_) return;
    speex_resampler_reset_mem(state_);
    speex_resampler_skip_zeros(state_);
}

bool SincResampler::begin_flush(bool dry) {
    if (!state_ || (!dry && !flushing_) || taken_ == 0) return false;
    if (produced_ >= owed()) {
        reset();
        return false;
    }
    flushing_ = true;
    const std::size_t zeros = std::min(kStageFrames, latency_ + 1);
    std::fill_n(stage_.begin(), zeros * channels_, 0.0f);
    staged_ = zeros;
    return true;
}

std::size_t SincResampler::process(std::int32_t* acc, std::size_t frames) {
    if (!state_) return 0;
    std::size_t limit = std::min(frames, kOutFrames);
    if (flushing_) limit = static_cast<std::size_t>(std::min<std::uint64_t>(limit, owed() - produced_));
    auto in_len = static_cast<spx_uint32_t>(staged_);
    auto out_len = static_cast<spx_uint32_t>(limit);
    speex_resampler_process_interleaved_float(state_, stage_.data(), &in_len, out_.data(), &out_len);
    if (in_len > 0 && in_len < staged_)
        std::memmove(stage_.data(), stage_.data() + in_len * channels_, (staged_ - in_len) * channels_ * sizeof(float));
    staged_ -= in_len;
    if (channels_ == 1) {
        for (std::size_t i = 0; i < out_len; ++i) {
            const auto v = static_cast<std::int32_t>(std::lrint(out_[i]));
            acc[2 * i] += v;
            acc[2 * i + 1] += v;
        }
    } else {
        for (std::size_t i = 0; i < 2 * out_len; ++i) acc[i] += static_cast<std::int32_t>(std::lrint(out_[i]));
    }
    produced_ += out_len;
    return out_len;
}

} // namespace tav
