#pragma once
// The system's default sound device through the Windows multimedia wave output.

#include <memory>

#include "platform/audio/wave_device.hpp"

namespace tav {

// A device for the default wave output (WAVE_MAPPER): 44.1 kHz, 16-bit stereo, pulled in
// 512-frame periods by a thread of its own that keeps four periods queued. Its start fails when
// no device opens, and the wave output then falls back to its silent sink.
std::unique_ptr<WaveDevice> make_wave_out_device();

} // namespace tav
