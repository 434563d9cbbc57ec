// The three sounds, read back from their bytes: exact layout, then what the samples do.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/assets.hpp"
#include "le_reader.hpp"

namespace tav::assets {
namespace {

using testing::s16;
using testing::tag;
using testing::u16;
using testing::u32;

constexpr std::size_t kHeader = 44;
constexpr int kFullScale = 32767;

struct Expected {
    std::string name;
    std::span<const std::uint8_t> bytes;
    std::size_t size;
    unsigned channels;
    unsigned rate;
    std::size_t frames;
};

std::vector<Expected> all_sounds() {
    return {{"step", step_sound(), 8468, 2, 44100, 2106},
            {"result", result_sound(), 85890, 1, 22050, 42923},
            {"music", background_music(), 1119788, 2, 44100, 279936}};
}

// Sample `i` of channel `c`.
int sample(const Expected& s, std::size_t frame, unsigned c) {
    return s16(s.bytes, kHeader + (frame * s.channels + c) * 2);
}

// Root mean square over frames [from, to) of all channels, as a fraction of full scale.
double rms(const Expected& s, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t f = from; f < to; ++f)
        for (unsigned c = 0; c < s.channels; ++c) sum += std::pow(sample(s, f, c), 2.0);
    return std::sqrt(sum / static_cast<double>((to - from) * s.channels)) / kFullScale;
}

int peak(const Expected& s) {
    int peak = 0;
    for (std::size_t f = 0; f < s.frames; ++f)
        for (unsigned c = 0; c < s.channels; ++c) peak = std::max(peak, std::abs(sample(s, f, c)));
    return peak;
}

TEST(Sounds, HeadersArePlainSixteenBitPcmWithDataRightAfterFormat) {
    for (const Expected& s : all_sounds()) {
        SCOPED_TRACE(s.name);
        const auto b = s.bytes;
        ASSERT_EQ(b.size(), s.size);
        EXPECT_EQ(tag(b, 0, 4), "RIFF");
        EXPECT_EQ(u32(b, 4), s.size - 8);
        EXPECT_EQ(tag(b, 8, 4), "WAVE");
        EXPECT_EQ(tag(b, 12, 4), "fmt ");
        EXPECT_EQ(u32(b, 16), 16u);
        EXPECT_EQ(u16(b, 20), 1u); // PCM
        EXPECT_EQ(u16(b, 22), s.channels);
        EXPECT_EQ(u32(b, 24), s.rate);
        EXPECT_EQ(u32(b, 28), s.rate * s.channels * 2); // byte rate
        EXPECT_EQ(u16(b, 32), s.channels * 2);          // block align
        EXPECT_EQ(u16(b, 34), 16u);
        EXPECT_EQ(tag(b, 36, 4), "data");
        EXPECT_EQ(u32(b, 40), s.frames * s.channels * 2);
        EXPECT_EQ(kHeader + u32(b, 40), b.size()) << "nothing after the data";
    }
}

TEST(Sounds, NoClippingAndNoClicksAtEitherEnd) {
    for (const Expected& s : all_sounds()) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(s.bytes.size(), s.size);
        EXPECT_LT(peak(s), kFullScale - 700) << "headroom below full scale";
        for (unsigned c = 0; c < s.channels; ++c) {
            EXPECT_LE(std::abs(sample(s, 0, c)), 64);
            EXPECT_LE(std::abs(sample(s, s.frames - 1, c)), 64);
            // The fade runs over a few milliseconds, not just the outermost sample.
            const std::size_t ms = s.rate / 1000;
            EXPECT_LE(std::abs(sample(s, 1, c)), 2000);
            EXPECT_LT(rms(s, s.frames - ms, s.frames), 0.05);
        }
    }
}

TEST(Sounds, StepTickIsQuietShortAndDecays) {
    const Expected s = all_sounds()[0];
    ASSERT_EQ(s.bytes.size(), s.size);
    const double peak_db = 20.0 * std::log10(static_cast<double>(peak(s)) / kFullScale);
    EXPECT_LT(peak_db, -11.0) << "it plays thirty times a second";
    EXPECT_GT(peak_db, -20.0) << "but must still be heard";
    const std::size_t quarter = s.frames / 4;
    const double head = rms(s, 0, quarter);
    EXPECT_GT(head, 0.01);
    EXPECT_LT(rms(s, 2 * quarter, s.frames), head / 10) << "most of the tick is over by half time";
}

TEST(Sounds, FanfareAndMusicSoundThroughoutTheirLength) {
    for (const Expected& s : {all_sounds()[1], all_sounds()[2]}) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(s.bytes.size(), s.size);
        // Every tenth of a second up to the final fade carries audible sound.
        const std::size_t window = s.rate / 10;
        const std::size_t tail = s.rate * 3 / 10;
        for (std::size_t f = window; f + window < s.frames - tail; f += window)
            EXPECT_GT(rms(s, f, f + window), 0.01) << "silent around frame " << f;
        EXPECT_GT(peak(s), kFullScale / 4) << "loud enough";
    }
}

TEST(Sounds, NoOffsetRidesOnTheSignalAndPeaksAreEvenOnBothSides) {
    for (const Expected& s : all_sounds()) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(s.bytes.size(), s.size);
        // An offset riding on each note's envelope thumps as the note starts: the mean over
        // any 20 ms (a low-pass that keeps nothing a speaker plays) stays near zero.
        const std::size_t window = s.rate / 50;
        for (unsigned c = 0; c < s.channels; ++c) {
            long long total = 0;
            long long sum = 0;
            long long worst = 0;
            for (std::size_t f = 0; f < s.frames; ++f) {
                total += sample(s, f, c);
                sum += sample(s, f, c);
                if (f >= window) sum -= sample(s, f - window, c);
                if (f + 1 >= window) worst = std::max(worst, std::llabs(sum));
            }
            EXPECT_LT(std::llabs(total), 0.005 * kFullScale * static_cast<double>(s.frames)) << "channel " << c;
            EXPECT_LT(worst, 0.08 * kFullScale * static_cast<double>(window)) << "channel " << c;
        }
    }
    // Held tones reach as far down as up; the tick's first swing is its largest, so it is left out.
    for (const Expected& s : {all_sounds()[1], all_sounds()[2]}) {
        SCOPED_TRACE(s.name);
        int up = 0;
        int down = 0;
        for (std::size_t f = 0; f < s.frames; ++f)
            for (unsigned c = 0; c < s.channels; ++c) {
                up = std::max(up, sample(s, f, c));
                down = std::max(down, -sample(s, f, c));
            }
        EXPECT_GT(std::min(up, down), 0.9 * std::max(up, down)) << "up " << up << ", down " << down;
    }
}

TEST(Sounds, MusicIsStereoNotTwoCopiesOfOneChannel) {
    const Expected s = all_sounds()[2];
    ASSERT_EQ(s.bytes.size(), s.size);
    std::size_t differ = 0;
    for (std::size_t f = 0; f < s.frames; ++f)
        if (std::abs(sample(s, f, 0) - sample(s, f, 1)) > 200) ++differ;
    EXPECT_GT(differ, s.frames / 10);
}

} // namespace
} // namespace tav::assets
