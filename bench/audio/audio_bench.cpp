// Costs of playing sounds: the request on the calling thread, the mix (limiter and converter
// against the cubic reference), the limiter alone, and the time from a request to its first mixed sample.

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "audio/play_sound.hpp"
#include "platform/audio/limiter.hpp"
#include "platform/audio/manual_sink.hpp"
#include "platform/audio/wave_output.hpp"
#include "wav_builder.hpp"

namespace tav {
namespace {

// A wave output mixing into a manual sink, which `sink` is set to; the caller pulls it.
std::shared_ptr<WaveOutput> manual_output(ManualSink*& sink) {
    auto owned = std::make_unique<ManualSink>(kDefaultDeviceRate, kDefaultPeriodFrames);
    sink = owned.get();
    return std::make_shared<WaveOutput>(std::move(owned));
}

// play_sound_async of a step-sized sound, as the window thread pays for it: parse, copy, open,
// start the thread. The players are stopped outside the timed part.
void bm_play_sound_async(benchmark::State& state) {
    ManualSink* sink = nullptr;
    const auto output = manual_output(sink);
    const Value step = Value::of_bytes(test::step_sound_wav());
    play_sound_async(output, step); // opens the device once
    stop_all_sounds(true);
    for (auto _ : state) {
        benchmark::DoNotOptimize(play_sound_async(output, step));
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

// Twelve streams of one second of noise each (written again as they come back), mixed 10 ms
// (441 frames) at a time. Scenario 0 is the game's mix: eight streams in the step sound's format
// (44.1 kHz stereo), two in the result sound's (22 050 Hz mono) and two in the device's own.
// Scenario 1 converts every stream: 8-bit mono at 11 025 and 22 050 Hz. Scenario 2 converts
// every stream down: 48 kHz stereo. Scenario 3 is the game's mix with its last two streams
// at 48 kHz, sounds of a rate the game never plays. Noise rather than a constant, so the
// converter's arithmetic is what is measured; the levels sum past full scale, so the limiter
// works on every chunk.
void mix10ms_twelve_streams(benchmark::State& state, Resampling resampling) {
    const int scenario = static_cast<int>(state.range(0));
    auto sink = std::make_unique<ManualSink>(kDefaultDeviceRate, kDefaultPeriodFrames);
    ManualSink* manual = sink.get();
    WaveOutput output(std::move(sink), resampling);
    std::vector<std::unique_ptr<EndlessStream>> streams;
    std::uint32_t seed = 1;
    for (int i = 0; i < 12; ++i) {
        std::uint16_t channels = 2, bits = 16;
        std::uint32_t rate = 48000;
        if (scenario == 0 || scenario == 3) {
            channels = i < 8 || i >= 10 ? 2 : 1;
            rate = i < 8 ? 44100 : i < 10 ? 22050 : scenario == 0 ? kDefaultDeviceRate : 48000;
        } else if (scenario == 1) {
            channels = 1, bits = 8, rate = i % 2 ? 11025 : 22050;
        }
        auto s = std::make_unique<EndlessStream>();
        s->pcm.resize(static_cast<std::size_t>(rate) * channels * bits / 8);
        for (auto& byte : s->pcm) {
            seed = seed * 1664525u + 1013904223u;
            byte = static_cast<std::uint8_t>(seed >> 24);
        }
        s->buffer.data = s->pcm.data();
        s->buffer.length = static_cast<std::uint32_t>(s->pcm.size());
        s->output = &output;
        s->handle = *output.open(test::format_body(channels, rate, bits), &EndlessStream::again, s.get());
        output.prepare(s->handle, s->buffer);
        output.write(s->handle, s->buffer);
        streams.push_back(std::move(s));
    }
    for (auto _ : state) benchmark::DoNotOptimize(manual->pull(kDefaultPeriodFrames));
    // Share of one core the mix takes in real time: its time over the 10 ms it fills, in percent.
    const double period_s = static_cast<double>(kDefaultPeriodFrames) / kDefaultDeviceRate;
    state.counters["core_pct"] = benchmark::Counter(period_s / 100.0, benchmark::Counter::kIsIterationInvariantRate |
                                                                          benchmark::Counter::kInvert);
    for (auto& s : streams) output.close(s->handle);
}

void bm_mix10ms_twelve_streams_sinc(benchmark::State& state) { mix10ms_twelve_streams(state, Resampling::Sinc); }
void bm_mix10ms_twelve_streams_hermite(benchmark::State& state) { mix10ms_twelve_streams(state, Resampling::Hermite); }
BENCHMARK(bm_mix10ms_twelve_streams_sinc)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(bm_mix10ms_twelve_streams_hermite)
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The limiter alone on 10 ms: at rest on a quiet chunk (a copy), and riding ten full-scale sums.
void bm_limiter10ms(benchmark::State& state) {
    const std::int32_t scale = static_cast<std::int32_t>(state.range(0));
    std::vector<std::int32_t> acc(2 * kDefaultPeriodFrames);
    std::uint32_t seed = 7;
    for (auto& v : acc) {
        seed = seed * 1664525u + 1013904223u;
        v = static_cast<std::int32_t>(static_cast<std::int64_t>(seed % 65536 - 32768) * scale / 32768);
    }
    std::vector<std::int16_t> out(acc.size());
    Limiter limiter(kDefaultDeviceRate);
    for (auto _ : state) {
        limiter.run(acc.data(), out.data(), kDefaultPeriodFrames);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(bm_limiter10ms)->Arg(20000)->Arg(327670)->Unit(benchmark::kMicrosecond);

// From the request to the first mixed period that carries the sound, pulling periods as
// fast as they are asked for; a real device adds up to one period of waiting on top.
void bm_request_to_first_sample(benchmark::State& state) {
    ManualSink* manual = nullptr;
    const auto output = manual_output(manual);
    const Value step = Value::of_bytes(test::step_sound_wav());
    play_sound_async(output, step);
    stop_all_sounds(true);
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        play_sound_async(output, step);
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
