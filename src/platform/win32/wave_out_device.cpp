// The waveOut device: a feeding thread refills each finished period as the device hands it back.
#include "platform/win32/wave_out_device.hpp"

#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace tav {
namespace {

constexpr std::uint32_t kRate = 44100;
// 512 frames at 44.1 kHz is 11.6 ms, so a new sound is heard within a few periods.
constexpr std::uint32_t kPeriod = 512;
// Periods queued at the device: enough to ride over a late wake-up of the feeding thread.
constexpr std::size_t kQueued = 4;
constexpr int kChannels = 2;

class WaveOutDevice final : public WaveDevice {
public:
    ~WaveOutDevice() override { stop(); }

    bool start(Render render) override {
        if (device_ != nullptr) return false;
        done_event_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        if (done_event_ == nullptr) return false;
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = kChannels;
        format.nSamplesPerSec = kRate;
        format.wBitsPerSample = 16;
        format.nBlockAlign = WORD(kChannels * sizeof(std::int16_t));
        format.nAvgBytesPerSec = kRate * format.nBlockAlign;
        if (waveOutOpen(&device_, WAVE_MAPPER, &format, DWORD_PTR(done_event_), 0, CALLBACK_EVENT) !=
            MMSYSERR_NOERROR) {
            device_ = nullptr;
            CloseHandle(done_event_);
            done_event_ = nullptr;
            return false;
        }
        render_ = std::move(render);
        for (std::size_t i = 0; i < kQueued; ++i) {
            samples_[i].assign(std::size_t(kPeriod) * kChannels, 0);
            headers_[i] = WAVEHDR{};
            headers_[i].lpData = reinterpret_cast<LPSTR>(samples_[i].data());
            headers_[i].dwBufferLength = DWORD(samples_[i].size() * sizeof(std::int16_t));
            waveOutPrepareHeader(device_, &headers_[i], sizeof(WAVEHDR));
            headers_[i].dwFlags |= WHDR_DONE; // ready to be filled
        }
        stopping_ = false;
        feeder_ = std::thread([this] { feed(); });
        return true;
    }

    void stop() override {
        if (device_ == nullptr) return;
        stopping_ = true;
        SetEvent(done_event_);
        if (feeder_.joinable()) feeder_.join();
        waveOutReset(device_); // hands every queued period back
        for (WAVEHDR& h : headers_) waveOutUnprepareHeader(device_, &h, sizeof(WAVEHDR));
        waveOutClose(device_);
        device_ = nullptr;
        CloseHandle(done_event_);
        done_event_ = nullptr;
        render_ = nullptr;
    }

    std::uint32_t rate() const override { return kRate; }
    std::uint32_t period_frames() const override { return kPeriod; }

private:
    // Refills and queues every period the device has finished with, then sleeps until it
    // finishes another (the event is set by the device for each one).
    void feed() {
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
        while (!stopping_) {
            for (std::size_t i = 0; i < kQueued && !stopping_; ++i) {
                WAVEHDR& h = headers_[i];
                if ((h.dwFlags & WHDR_DONE) == 0) continue;
                h.dwFlags &= ~DWORD(WHDR_DONE);
                render_(std::span<std::int16_t>(samples_[i]));
                waveOutWrite(device_, &h, sizeof(WAVEHDR));
            }
            WaitForSingleObject(done_event_, INFINITE);
        }
    }

    HWAVEOUT device_ = nullptr;
    HANDLE done_event_ = nullptr;
    Render render_;
    std::array<std::vector<std::int16_t>, kQueued> samples_;
    std::array<WAVEHDR, kQueued> headers_{};
    std::atomic<bool> stopping_{false};
    std::thread feeder_;
};

} // namespace

std::unique_ptr<WaveDevice> make_wave_out_device() { return std::make_unique<WaveOutDevice>(); }

} // namespace tav
