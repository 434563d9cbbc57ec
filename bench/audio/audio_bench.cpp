// Costs of playing sounds: the request on the calling thread, the mix, and the time from a
// request to its first mixed sample.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "audio/play_sound.hpp"
#include "platform/audio/manual_sink.hpp"
#include "platform/audio/wave_output.hpp"
#include "wav_builder.hpp"

namespace tav {
namespace {

ManualSink* use_manual_sink() {
    auto sink = std::make_unique<ManualSink>(kDefaultDeviceRate, kDefaultPeriodFrames);
    ManualSink* raw = sink.get();
    use_wave_device(std::move(sink));
    return raw;
}

// play_sound_async of a step-sized sound, as the window thread pays for it: parse, copy, open,
// start the thread. The players are stopped outside the timed part.
void bm_play_sound_async(benchmark::State& state) {
    use_manual_sink();
    const Value step = Value::of_bytes(test::step_sound_wav());
    play_sound_async(step); // opens the device once
    stop_all_sounds(true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(play_sound_async(step));
        state.PauseTiming();
        stop_all_sounds(true);
        state.ResumeTiming();
    }
    stop_sounds_at_exit();
}
BENCHMARK(bm_play_sound_async)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// A stream whose one long buffer is written again each time it comes back.
struct EndlessStream {
    Bytes pcm;
    WaveBuffer buffer;
    WaveOutput* output = nullptr;
    WaveHandle handle = 0;
    static void again(void* self, WaveBuffer& b) {
        auto* s = static_cast<EndlessStream*>(self);
        s->output->write(s->handle, b);
    }
};

// 10 ms of the device (480 frames at 48 kHz) with twelve streams in the step sound's,
// the result sound's and the device's own formats.
void bm_mix10ms_twelve_streams(benchmark::State& state) {
    auto sink = std::make_unique<ManualSink>(kDefaultDeviceRate, kDefaultPeriodFrames);
    ManualSink* manual = sink.get();
    WaveOutput output(std::move(sink));
    std::vector<std::unique_ptr<EndlessStream>> streams;
    for (int i = 0; i < 12; ++i) {
        const std::uint16_t channels = i < 8 || i >= 10 ? 2 : 1;
        const std::uint32_t rate = i < 8 ? 44100 : i < 10 ? 22050 : 48000;
        auto s = std::make_unique<EndlessStream>();
        s->pcm = test::constant_pcm16(static_cast<std::size_t>(rate) * channels, static_cast<std::int16_t>(1000 + i));
        s->buffer.data = s->pcm.data();
        s->buffer.length = static_cast<std::uint32_t>(s->pcm.size());
        s->output = &output;
        s->handle = *output.open(test::format_body(channels, rate, 16), &EndlessStream::again, s.get());
        output.prepare(s->handle, s->buffer);
        output.write(s->handle, s->buffer);
        streams.push_back(std::move(s));
    }
    for (auto _ : state) benchmark::DoNotOptimize(manual->pull(kDefaultPeriodFrames));
    for (auto& s : streams) output.close(s->handle);
}
BENCHMARK(bm_mix10ms_twelve_streams)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// From the request to the first mixed period that carries the sound, pulling periods as
// fast as they are asked for; a real device adds up to one period of waiting on top.
void bm_request_to_first_sample(benchmark::State& state) {
    ManualSink* manual = use_manual_sink();
    const Value step = Value::of_bytes(test::step_sound_wav());
    play_sound_async(step);
    stop_all_sounds(true);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        play_sound_async(step);
        // The device would come back once a period; here the test thread stands in for it,
        // yielding so the player thread gets the core.
        for (;;) {
            const auto out = manual->pull(kDefaultPeriodFrames);
            if (out[0] != 0 || out[out.size() - 2] != 0) break;
            std::this_thread::yield();
        }
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        stop_all_sounds(true);
    }
    stop_sounds_at_exit();
}
BENCHMARK(bm_request_to_first_sample)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace
} // namespace tav
