#include <benchmark/benchmark.h>

#include "core/conversions.hpp"

namespace {

// A credit caption read back as a number.
void BM_ToIntegerShortText(benchmark::State& state) {
    const tav::Text text("1000");
    for (auto _ : state) {
        benchmark::DoNotOptimize(tav::ToInteger(text));
    }
}
BENCHMARK(BM_ToIntegerShortText);

// The same through a tagged value, as a property read returns it.
void BM_ToIntegerTextValue(benchmark::State& state) {
    const tav::Value value = tav::Value::OfText(tav::Text("1000"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(tav::ToInteger(value));
    }
}
BENCHMARK(BM_ToIntegerTextValue);

// A computed credit written back as text.
void BM_ToTextWholeDouble(benchmark::State& state) {
    double value = 1000080.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(tav::ToText(value));
    }
}
BENCHMARK(BM_ToTextWholeDouble);

// A fraction takes the general formatting path.
void BM_ToTextFractionDouble(benchmark::State& state) {
    double value = 123456789012.5;
    for (auto _ : state) {
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(tav::ToText(value));
    }
}
BENCHMARK(BM_ToTextFractionDouble);

} // namespace
