// Drawing costs of one window repaint and of its frequent parts.
#include <benchmark/benchmark.h>

#include "core/gbk.hpp"
#include "gfx/painter.hpp"
#include "gfx/scale.hpp"
#include "gfx/text.hpp"

namespace tav {
namespace {

// A picture with detail everywhere, so no path can skip work on flat colour.
Bitmap detailed(int w, int h) {
    Bitmap bmp(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            bmp.set_pixel(x, y, rgb(std::uint8_t(x * 7 + y), std::uint8_t(x ^ y), std::uint8_t(y * 3)));
    return bmp;
}

// A bet-row symbol picture: 65 x 65 stretched into a 44 x 44 client area.
void bm_stretch65_to44(benchmark::State& state) {
    const Bitmap picture = detailed(65, 65);
    Bitmap target(48, 48);
    Painter p(target);
    for (auto _ : state) {
        p.draw_stretched(picture, {2, 2, 44, 44});
        benchmark::DoNotOptimize(target.pixels().data());
    }
}
BENCHMARK(bm_stretch65_to44);

// The board background: the 368 x 563 picture stretched over the 505 x 584 client area once,
// at the first paint.
void bm_resample_background(benchmark::State& state) {
    const Bitmap picture = detailed(368, 563);
    for (auto _ : state) {
        Bitmap out = resample(picture, {505, 584});
        benchmark::DoNotOptimize(out.pixels().data());
    }
}
BENCHMARK(bm_resample_background)->Unit(benchmark::kMillisecond);

// A lit lamp: the 69 x 69 frame drawn with black cut out.
void bm_keyed_lamp(benchmark::State& state) {
    Bitmap lamp(69, 69, rgb(255, 0, 0));
    for (int y = 7; y < 62; ++y)
        for (int x = 7; x < 62; ++x) lamp.set_pixel(x, y, rgb(0, 0, 0));
    Bitmap target(69, 69, rgb(1, 2, 3));
    Painter p(target);
    for (auto _ : state) {
        p.draw_keyed(lamp, {0, 0}, rgb(0, 0, 0));
        benchmark::DoNotOptimize(target.pixels().data());
    }
}
BENCHMARK(bm_keyed_lamp);

// The credits display: one line of digits in the 24-px bold face, centred in its label.
void bm_credits_text(benchmark::State& state) {
    FontCache fonts;
    const auto font = fonts.font(make_log_font(utf8_to_gbk("黑体"), 24, kWeightBold));
    Bitmap target(122, 20);
    Painter p(target);
    for (auto _ : state) {
        p.fill_rect(target.rect(), rgb(0, 0, 0));
        draw_text(p, target.rect(), "1000000080", *font, rgb(0, 255, 255), {1, 1, false});
        benchmark::DoNotOptimize(target.pixels().data());
    }
}
BENCHMARK(bm_credits_text);

// A full window background: fill, then the 368 x 563 board stretched over 505 x 584.
void bm_full_background(benchmark::State& state) {
    const Bitmap board = detailed(368, 563);
    Bitmap target(505, 584);
    Painter p(target);
    for (auto _ : state) {
        p.fill_rect(target.rect(), rgb(240, 240, 240));
        p.draw_stretched(board, target.rect());
        benchmark::DoNotOptimize(target.pixels().data());
    }
}
BENCHMARK(bm_full_background)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tav
