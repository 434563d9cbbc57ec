#pragma once
// The system's default sound device, through SDL.

#include <memory>

#include "platform/audio/wave_device.hpp"

namespace tav {

// A device for the default SDL audio output (44.1 kHz requested, 16-bit stereo, 512-frame
// period). Its start fails when SDL audio cannot be initialised or no device opens.
std::unique_ptr<WaveDevice> make_sdl_audio_device();

} // namespace tav
