// The SDL sound device: 16-bit stereo asked for at 44.1 kHz, the rate granted kept, fed in SDL's callback.
#include "platform/sdl/sdl_audio_device.hpp"

#include <SDL.h>

#include <cstdint>
#include <span>

namespace tav {
namespace {

constexpr int kRequestedRate = 44100;
// 512 frames at 44.1 kHz is 11.6 ms, so a new sound is heard within about one period.
constexpr Uint16 kRequestedPeriod = 512;

class SdlAudioDevice final : public WaveDevice {
public:
    ~SdlAudioDevice() override { stop(); }

    bool start(Render render) override {
        if (device_ != 0) return false;
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
        render_ = std::move(render);
        SDL_AudioSpec want{};
        want.freq = kRequestedRate;
        want.format = AUDIO_S16SYS;
        want.channels = 2;
        want.samples = kRequestedPeriod;
        want.callback = &SdlAudioDevice::fill;
        want.userdata = this;
        SDL_AudioSpec have{};
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, SDL_AUDIO_ALLOW_FREQUENCY_CHANGE);
        if (device_ == 0) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            render_ = nullptr;
            return false;
        }
        rate_ = static_cast<std::uint32_t>(have.freq);
        period_ = have.samples;
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    void stop() override {
        if (device_ == 0) return;
        SDL_CloseAudioDevice(device_); // waits for a running callback to return
        device_ = 0;
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    std::uint32_t rate() const override { return rate_; }
    std::uint32_t period_frames() const override { return period_; }

private:
    static void SDLCALL fill(void* self, Uint8* stream, int len) {
        auto* device = static_cast<SdlAudioDevice*>(self);
        const std::size_t samples = static_cast<std::size_t>(len) / sizeof(std::int16_t);
        device->render_(std::span<std::int16_t>(reinterpret_cast<std::int16_t*>(stream), samples));
    }

    Render render_;
    SDL_AudioDeviceID device_ = 0;
    std::uint32_t rate_ = 0;
    std::uint32_t period_ = 0;
};

} // namespace

std::unique_ptr<WaveDevice> make_sdl_audio_device() { return std::make_unique<SdlAudioDevice>(); }

} // namespace tav
