#pragma once
// Linear-interpolating rate converter that keeps its position across calls.

#include <array>
#include <cstddef>
#include <cstdint>

namespace tav {

// One stereo frame on the mixer's scale (16-bit sample values in 32-bit integers).
using MixFrame = std::array<std::int32_t, 2>;

// Converts a stream of frames at `in_rate` to `out_rate`. The phase is an exact fraction
// (numerator below out_rate), so no frame is lost or repeated over any length of input,
// and pausing for lack of input resumes exactly where it stopped.
class LinearResampler {
public:
    // Sets both rates and starts afresh.
    void configure(std::uint32_t in_rate, std::uint32_t out_rate) {
        in_rate_ = in_rate;
        out_rate_ = out_rate;
        reset();
    }

    // Forgets the frames seen so far; the next output starts at the next input frame.
    void reset() {
        prev_ = {0, 0};
        cur_ = {0, 0};
        phase_ = 0;
        owed_ = 2;
    }

    // Adds up to `frames` output frames into `acc` (interleaved stereo); `next(MixFrame&)`
    // yields input frames and returns false when it has none. Returns the frames produced.
    template <class NextFrame>
    std::size_t render(std::int32_t* acc, std::size_t frames, NextFrame&& next) {
        for (std::size_t i = 0; i < frames; ++i) {
            while (owed_ > 0) {
                MixFrame f;
                if (!next(f)) return i;
                prev_ = cur_;
                cur_ = f;
                --owed_;
            }
            for (std::size_t c = 0; c < 2; ++c) {
                const std::int64_t delta = static_cast<std::int64_t>(cur_[c] - prev_[c]) * phase_;
                acc[2 * i + c] += prev_[c] + static_cast<std::int32_t>(delta / out_rate_);
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
    std::uint32_t in_rate_ = 1;
    std::uint32_t out_rate_ = 1;
    MixFrame prev_{};
    MixFrame cur_{};
    std::uint32_t phase_ = 0;  // position between prev_ and cur_, in 1/out_rate_ steps
    std::uint32_t owed_ = 2;   // input frames to take before the next output frame
};

} // namespace tav
