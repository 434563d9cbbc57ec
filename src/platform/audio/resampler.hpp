#pragma once
// Rate converter (4-point cubic Hermite) that keeps its position across calls.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace tav {

// One stereo frame on the mixer's scale (16-bit sample values in 32-bit integers).
using MixFrame = std::array<std::int32_t, 2>;

// Converts a stream of frames at `in_rate` to `out_rate`. The phase is an exact fraction
// (numerator below out_rate), so no frame is lost or repeated over any length of input, and
// running short of input stops the output exactly where it can resume. Equal rates pass
// every frame through unchanged; output lags the input by two frames of look-ahead.
class HermiteResampler {
public:
    // Sets both rates and starts afresh.
    void configure(std::uint32_t in_rate, std::uint32_t out_rate) {
        in_rate_ = in_rate;
        out_rate_ = out_rate;
        inv_out_ = 1.0 / out_rate;
        reset();
    }

    // Forgets the frames seen so far; the next output starts at the next input frame.
    void reset() {
        history_ = {};
        phase_ = 0;
        owed_ = kLookAhead + 1;
        fresh_ = true;
    }

    // Adds up to `frames` output frames into `acc` (interleaved stereo); `next(MixFrame&)`
    // yields input frames and returns false when it has none. Returns the frames produced.
    template <class NextFrame>
    std::size_t render(std::int32_t* acc, std::size_t frames, NextFrame&& next) {
        for (std::size_t i = 0; i < frames; ++i) {
            while (owed_ > 0) {
                MixFrame f;
                if (!next(f)) return i;
                if (fresh_) {
                    history_ = {f, f, f, f}; // a stream starts from rest at its first frame
                    fresh_ = false;
                } else {
                    history_ = {history_[1], history_[2], history_[3], f};
                }
                --owed_;
            }
            if (phase_ == 0) {
                acc[2 * i] += history_[1][0];
                acc[2 * i + 1] += history_[1][1];
            } else {
                const double t = phase_ * inv_out_;
                for (std::size_t c = 0; c < 2; ++c) acc[2 * i + c] += interpolate(c, t);
            }
            phase_ += in_rate_;
            while (phase_ >= out_rate_) {
                phase_ -= out_rate_;
                ++owed_;
            }
        }
        return frames;
    }

private:
    static constexpr std::uint32_t kLookAhead = 2;

    // The curve through history_[0..3] at t between history_[1] (t = 0) and history_[2] (t = 1).
    std::int32_t interpolate(std::size_t c, double t) const {
        const double p0 = history_[0][c], p1 = history_[1][c], p2 = history_[2][c], p3 = history_[3][c];
        const double c1 = 0.5 * (p2 - p0);
        const double c2 = p0 - 2.5 * p1 + 2.0 * p2 - 0.5 * p3;
        const double c3 = 0.5 * (p3 - p0) + 1.5 * (p1 - p2);
        return static_cast<std::int32_t>(std::lround(((c3 * t + c2) * t + c1) * t + p1));
    }

    std::uint32_t in_rate_ = 1;
    std::uint32_t out_rate_ = 1;
    double inv_out_ = 1.0;
    std::array<MixFrame, 4> history_{};   // output falls between [1] and [2]
    std::uint32_t phase_ = 0;             // position past history_[1], in 1/out_rate_ steps
    std::uint32_t owed_ = kLookAhead + 1; // input frames to take before the next output frame
    bool fresh_ = true;
};

} // namespace tav
