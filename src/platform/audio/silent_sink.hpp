#pragma once
// A device that plays into nothing, at the real-time rate, on a thread of its own.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/wave_device.hpp"

namespace tav {

// Used when no sound card can be opened: streams are consumed as fast as a card would
// consume them, so their buffers come back and their players end on time.
class SilentSink final : public WaveDevice {
public:
    // A sink pulling `period` frames every period at `rate` frames per second.
    explicit SilentSink(std::uint32_t rate = kDefaultDeviceRate, std::uint32_t period = kDefaultPeriodFrames);
    // Stops the thread.
    ~SilentSink() override;

    // Starts the pulling thread; false only if a thread cannot be had.
    bool start(Render render) override;
    // Stops and joins the pulling thread.
    void stop() override;
    std::uint32_t rate() const override { return rate_; }
    std::uint32_t period_frames() const override { return period_; }

private:
    void run();

    const std::uint32_t rate_;
    const std::uint32_t period_;
    Render render_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace tav
