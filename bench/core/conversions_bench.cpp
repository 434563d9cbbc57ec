#include <benchmark/benchmark.h>

#include "core/conversions.hpp"

namespace {

// A credit caption read back as a number.
void bm_to_integer_short_text(benchmark::State& state) {
    const tav::Text text("1000");
    for (auto _ : state) {
        benchmark::DoNotOptimize(tav::to_integer(text));
    }
}
BENCHMARK(bm_to_integer_short_text);

// The same through a tagged value, as a property read returns it.
void bm_to_integer_text_value(benchmark::State& state) {
    const tav::Value value = tav::Value::of_text(tav::Text("1000"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(tav::to_integer(value));
    }
}
BENCHMARK(bm_to_integer_text_value);

// A computed credit written back as text.
void bm_to_text_whole_double(benchmark::State& state) {
    double value = 1000080.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(tav::to_text(value));
    }
}
BENCHMARK(bm_to_text_whole_double);

// A fraction takes the general formatting path.
void bm_to_text_fraction_double(benchmark::State& state) {
    double value = 123456789012.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(tav::to_text(value));
    }
}
BENCHMARK(bm_to_text_fraction_double);

} // namespace
