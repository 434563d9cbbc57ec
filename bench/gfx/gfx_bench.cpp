// Drawing costs of one window repaint and of its frequent parts.
#include <benchmark/benchmark.h>

#include "gfx/painter.hpp"
#include "gfx/scale.hpp"
#include "gfx/text.hpp"
#include "core/gbk.hpp"

namespace tav {
namespace {

// A picture with detail everywhere, so no path can skip work on flat colour.
Bitmap Detailed(int w, int h) {
    Bitmap bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.set_pixel(x, y, Rgb(std::uint8_t(x * 7 + y), std::uint8_t(x ^ y), std::uint8_t(y * 3)));
    return bmp;
}

// A bet-row symbol picture: 65 x 65 stretched into a 44 x 44 client area.
void BM_Stretch65To44(benchmark::State& state) {
    const Bitmap picture = Detailed(65, 65);
    Bitmap target(48, 48);
    Painter p(target);
    for (auto _ : state) {
        p.draw_stretched(picture, {2, 2, 44, 44});
        benchmark::DoNotOptimize(target.pixels().data());
    }
}
BENCHMARK(BM_Stretch65To44);

// The board background: the 368 x 563 picture stretched over the 505 x 584 client area once,
// at the first paint.
void BM_ResampleBackground(benchmark::State& state) {
    const Bitmap picture = Detailed(368, 563);
    for (auto _ : state) {
        Bitmap out = Resample(picture, {505, 584});
        benchmark::DoNotOptimize(out.pixels().data());
    }
}
BENCHMARK(BM_ResampleBackground)->Unit(benchmark::kMillisecond);

// A lit lamp: the 69 x 69 frame drawn with black cut out.
void BM_KeyedLamp(benchmark::State& state) {
    Bitmap lamp(69, 69, Rgb(255, 0, 0));
    for (int y = 7; y < 62; ++y)
        for (int x = 7; x < 62; ++x) lamp.set_pixel(x, y, Rgb(0, 0, 0));
    Bitmap target(69, 69, Rgb(1, 2, 3));
    Painter p(target);
    for (auto _ : state) {
        p.draw_keyed(lamp, {0, 0}, Rgb(0, 0, 0));
        benchmark::DoNotOptimize(target.pixels().data());
    }
}
BENCHMARK(BM_KeyedLamp);

// The credits display: one line of digits in the 24-px bold face, centred in its label.
void BM_CreditsText(benchmark::State& state) {
    const auto font = SharedFonts().font(MakeLogFont(Utf8ToGbk("黑体"), 24, kWeightBold));
    Bitmap target(122, 20);
    Painter p(target);
    for (auto _ : state) {
        p.fill_rect(target.rect(), Rgb(0, 0, 0));
        DrawText(p, target.rect(), "1000000080", *font, Rgb(0, 255, 255), {1, 1, false});
        benchmark::DoNotOptimize(target.pixels().data());
    }
}
BENCHMARK(BM_CreditsText);

// A full window background: fill, then the 368 x 563 board stretched over 505 x 584.
void BM_FullBackground(benchmark::State& state) {
    const Bitmap board = Detailed(368, 563);
    Bitmap target(505, 584);
    Painter p(target);
    for (auto _ : state) {
        p.fill_rect(target.rect(), Rgb(240, 240, 240));
        p.draw_stretched(board, target.rect());
        benchmark::DoNotOptimize(target.pixels().data());
    }
}
BENCHMARK(BM_FullBackground)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tav
