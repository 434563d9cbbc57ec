#pragma once
// The one sound device every wave stream is mixed into.

#include <cstdint>
#include <functional>
#include <span>

namespace tav {

// A sink for interleaved 16-bit stereo frames, pulled by the device at its own pace.
class WaveDevice {
public:
    // Fills the span (interleaved left/right) with the next frames; runs on the device's thread.
    using Render = std::function<void(std::span<std::int16_t> stereo)>;

    virtual ~WaveDevice() = default;
    // Opens the device and starts pulling through `render`; false when there is no device.
    virtual bool start(Render render) = 0;
    // Stops pulling; once it returns, `render` is never called again. Safe to call twice.
    virtual void stop() = 0;
    // Frames per second; valid after a successful start.
    virtual std::uint32_t rate() const = 0;
    // Frames pulled at a time; valid after a successful start.
    virtual std::uint32_t period_frames() const = 0;
};

// The device rate and period used by our own sinks: 10 ms at the rate of most of our sounds,
// which then pass through unconverted.
inline constexpr std::uint32_t kDefaultDeviceRate = 44100;
inline constexpr std::uint32_t kDefaultPeriodFrames = 441;

} // namespace tav
