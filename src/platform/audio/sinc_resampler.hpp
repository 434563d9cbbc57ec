#pragma once
// Rate converter with a windowed-sinc filter (speexdsp), driven by pulling input frames.

#include <array>
#include <cstddef>
#include <cstdint>

#include "platform/audio/resampler.hpp"

struct SpeexResamplerState_;

namespace tav {

// Converts frames at `in_rate` to `out_rate` through speexdsp's filter at kQuality: flat to 0.4
// of the input rate, images about 84 dB down. The position is an exact fraction of the two
// rates, so nothing drifts over any length. The filter's delay is removed: output frame k lies
// at input time k * in_rate / out_rate, from frame 0 of the input on. When the input runs dry,
// the filter is flushed with silence until exactly ceil(taken * out_rate / in_rate) frames
// have come out for the frames taken, and it then starts afresh, as if newly configured, with
// whatever input comes next. Mono input is converted as one channel and added to both.
class SincResampler {
public:
    static constexpr int kQuality = 3;

    SincResampler() = default;
    ~SincResampler();
    SincResampler(const SincResampler&) = delete;
    SincResampler& operator=(const SincResampler&) = delete;

    // Sets the rates and the channel count (1 or 2) and starts afresh; false when the filter
    // cannot be made (no memory, or rates it refuses).
    bool configure(std::uint32_t in_rate, std::uint32_t out_rate, unsigned channels);
    // Forgets all input taken; the next output starts at the next input frame.
    void reset();
    // True while output is owed for frames already taken (the filter still holds them).
    bool pending() const { return taken_ > 0; }

    // Adds up to `frames` output frames into `acc` (interleaved stereo); `next(MixFrame&)`
    // yields input frames and returns false when it has none. Returns the frames produced;
    // fewer than `frames` only when the input ran dry and everything owed has come out.
    template <class NextFrame>
    std::size_t render(std::int32_t* acc, std::size_t frames, NextFrame&& next) {
        std::size_t done = 0;
        while (done < frames) {
            bool dry = false;
            if (!flushing_) {
                MixFrame f;
                while (staged_ < kStageFrames) {
                    if (!next(f)) {
                        dry = true;
                        break;
                    }
                    stage(f);
                }
            }
            if (staged_ == 0 && !begin_flush(dry)) break;
            const std::size_t before = staged_;
            const std::size_t n = process(acc + 2 * done, frames - done);
            if (n == 0 && staged_ == before) break; // the filter took nothing and gave nothing
            done += n;
            if (flushing_ && produced_ >= owed()) {
                reset();
                break;
            }
        }
        return done;
    }

private:
    static constexpr std::size_t kStageFrames = 256;
    static constexpr std::size_t kOutFrames = 512;

    void stage(const MixFrame& f) {
        if (channels_ == 1) {
            stage_[staged_] = static_cast<float>(f[0]);
        } else {
            stage_[2 * staged_] = static_cast<float>(f[0]);
            stage_[2 * staged_ + 1] = static_cast<float>(f[1]);
        }
        ++staged_;
        ++taken_;
    }
    // With nothing staged: stages silence to flush the filter; false when there is nothing to do.
    bool begin_flush(bool dry);
    // Runs the filter over the staged frames into at most `frames` output frames added to acc.
    std::size_t process(std::int32_t* acc, std::size_t frames);
    std::uint64_t owed() const { return (taken_ * out_rate_ + in_rate_ - 1) / in_rate_; }

    SpeexResamplerState_* state_ = nullptr;
    std::uint64_t in_rate_ = 1;
    std::uint64_t out_rate_ = 1;
    unsigned channels_ = 2;
    std::size_t latency_ = 0;    // input frames the filter holds back
    std::uint64_t taken_ = 0;    // input frames taken since the last fresh start
    std::uint64_t produced_ = 0; // output frames made since then
    bool flushing_ = false;
    std::size_t staged_ = 0;
    std::array<float, 2 * kStageFrames> stage_{};
    std::array<float, 2 * kOutFrames> out_{};
};

} // namespace tav
