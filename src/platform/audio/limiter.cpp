// The mixer's peak limiter: per-chunk gain riding and a soft knee below full scale.
#include "platform/audio/limiter.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tav {
namespace {

constexpr float kKneeF = static_cast<float>(Limiter::kKnee);
constexpr float kRoom = static_cast<float>(Limiter::kCeiling - Limiter::kKnee);
// A released gain this close to 1 is taken as 1, so the pass-through comes back (0.004 dB).
constexpr float kRestGain = 0.9995f;

// Identity up to the knee; above it a curve with slope 1 at the knee that tends to the ceiling.
float bend(float v) {
    const float a = std::fabs(v);
    if (a <= kKneeF) return v;
    const float d = a - kKneeF;
    return std::copysign(kKneeF + d / (1.0f + d / kRoom), v);
}

} // namespace

Limiter::Limiter(std::uint32_t rate)
    : release_per_frame_(std::exp(-1.0f / (kReleaseSeconds * static_cast<float>(rate > 0 ? rate : 1)))) {}

void Limiter::run(const std::int32_t* acc, std::int16_t* out, std::size_t frames) {
    std::int32_t peak = 0;
    for (std::size_t i = 0; i < 2 * frames; ++i) peak = std::max(peak, std::abs(acc[i]));
    const float need = peak > kKnee ? kKneeF / static_cast<float>(peak) : 1.0f;
    if (need >= 1.0f && gain_ >= 1.0f) {
        for (std::size_t i = 0; i < 2 * frames; ++i) out[i] = static_cast<std::int16_t>(acc[i]);
        return;
    }
    float released = 1.0f - (1.0f - gain_) * std::pow(release_per_frame_, static_cast<float>(frames));
    if (released > kRestGain) released = 1.0f;
    const float target = std::min(need, released);
    const std::size_t ramp = target < gain_ ? std::min(kAttackFrames, frames) : frames;
    const float step = ramp > 0 ? (target - gain_) / static_cast<float>(ramp) : 0.0f;
    float g = gain_;
    for (std::size_t i = 0; i < frames; ++i) {
        g = i < ramp ? g + step : target;
        for (std::size_t c = 0; c < 2; ++c) {
            const float y = bend(static_cast<float>(acc[2 * i + c]) * g);
            out[2 * i + c] = static_cast<std::int16_t>(std::lrint(y));
        }
    }
    gain_ = target;
}

} // namespace tav
