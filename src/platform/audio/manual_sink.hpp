#pragma once
// A device that renders only when a test asks it to.

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/audio/wave_device.hpp"

namespace tav {

// Makes the mixer testable without time: nothing is consumed until pull() is called.
class ManualSink final : public WaveDevice {
public:
    // A sink reporting `rate` and `period`; it pulls whatever pull() asks for.
    explicit ManualSink(std::uint32_t rate = kDefaultDeviceRate, std::uint32_t period = kDefaultPeriodFrames)
        : rate_(rate), period_(period) {}

    bool start(Render render) override;
    void stop() override;
    std::uint32_t rate() const override { return rate_; }
    std::uint32_t period_frames() const override { return period_; }

    // Mixes `frames` stereo frames on the calling thread and returns them interleaved;
    // silence before start and after stop. Completion callbacks run on this thread.
    std::vector<std::int16_t> pull(std::size_t frames);

private:
    const std::uint32_t rate_;
    const std::uint32_t period_;
    std::mutex mutex_; // serialises pull against start/stop
    Render render_;
};

} // namespace tav
