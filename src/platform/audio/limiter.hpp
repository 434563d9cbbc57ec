#pragma once
// Keeps the sum of all streams off the rails: a gain that rides the peaks, then a soft knee.

#include <cstddef>
#include <cstdint>

namespace tav {

// A linked-stereo peak limiter for the mixer's 32-bit accumulator. Each chunk's peak is known
// before the chunk is written, so the gain comes down within the chunk (a ramp of kAttackFrames)
// without look-ahead latency, and recovers with a time constant of kReleaseSeconds. Whatever the
// ramp lets through is bent by a soft curve above kKnee that approaches kCeiling and never
// reaches it. With the gain at rest, a chunk whose peak is at or below kKnee passes bit for bit.
class Limiter {
public:
    static constexpr std::int32_t kKnee = 24576;    // 0.75 of full scale
    static constexpr std::int32_t kCeiling = 32766; // the highest magnitude ever written
    static constexpr std::size_t kAttackFrames = 32;
    static constexpr float kReleaseSeconds = 0.15f;

    // A limiter at rest for a device of `rate` frames per second.
    explicit Limiter(std::uint32_t rate);

    // Writes `frames` interleaved stereo frames of `acc` into `out`, limited.
    void run(const std::int32_t* acc, std::int16_t* out, std::size_t frames);
    // The gain applied at the end of the last chunk (1 at rest).
    float gain() const { return gain_; }

private:
    float release_per_frame_;
    float gain_ = 1.0f;
};

} // namespace tav
