// The three sounds, read back from their bytes: exact layout, then what the samples do.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "assets/assets.hpp"
#include "le_reader.hpp"

namespace tav::assets {
namespace {

using testing::S16;
using testing::Tag;
using testing::U16;
using testing::U32;

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

std::vector<Expected> AllSounds() {
    return {{"step", StepSound(), 8468, 2, 44100, 2106},
            {"result", ResultSound(), 85890, 1, 22050, 42923},
            {"music", BackgroundMusic(), 1119788, 2, 44100, 279936}};
}

// Sample `i` of channel `c`.
int Sample(const Expected& s, std::size_t frame, unsigned c) {
    return S16(s.bytes, kHeader + (frame * s.channels + c) * 2);
}

// Root mean square over frames [from, to) of all channels, as a fraction of full scale.
double Rms(const Expected& s, std::size_t from, std::size_t to) {
    double sum = 0;
    for (std::size_t f = from; f < to; ++f)
        for (unsigned c = 0; c < s.channels; ++c) sum += std::pow(Sample(s, f, c), 2.0);
    return std::sqrt(sum / static_cast<double>((to - from) * s.channels)) / kFullScale;
}

int Peak(const Expected& s) {
    int peak = 0;
    for (std::size_t f = 0; f < s.frames; ++f)
        for (unsigned c = 0; c < s.channels; ++c) peak = std::max(peak, std::abs(Sample(s, f, c)));
    return peak;
}

TEST(Sounds, HeadersArePlainSixteenBitPcmWithDataRightAfterFormat) {
    for (const Expected& s : AllSounds()) {
        SCOPED_TRACE(s.name);
        const auto b = s.bytes;
        ASSERT_EQ(b.size(), s.size);
        EXPECT_EQ(Tag(b, 0, 4), "RIFF");
        EXPECT_EQ(U32(b, 4), s.size - 8);
        EXPECT_EQ(Tag(b, 8, 4), "WAVE");
        EXPECT_EQ(Tag(b, 12, 4), "fmt ");
        EXPECT_EQ(U32(b, 16), 16u);
        EXPECT_EQ(U16(b, 20), 1u);  // PCM
        EXPECT_EQ(U16(b, 22), s.channels);
        EXPECT_EQ(U32(b, 24), s.rate);
        EXPECT_EQ(U32(b, 28), s.rate * s.channels * 2);  // byte rate
        EXPECT_EQ(U16(b, 32), s.channels * 2);           // block align
        EXPECT_EQ(U16(b, 34), 16u);
        EXPECT_EQ(Tag(b, 36, 4), "data");
        EXPECT_EQ(U32(b, 40), s.frames * s.channels * 2);
        EXPECT_EQ(kHeader + U32(b, 40), b.size()) << "nothing after the data";
    }
}

TEST(Sounds, NoClippingAndNoClicksAtEitherEnd) {
    for (const Expected& s : AllSounds()) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(s.bytes.size(), s.size);
        EXPECT_LT(Peak(s), kFullScale - 700) << "headroom below full scale";
        for (unsigned c = 0; c < s.channels; ++c) {
            EXPECT_LE(std::abs(Sample(s, 0, c)), 64);
            EXPECT_LE(std::abs(Sample(s, s.frames - 1, c)), 64);
            // The fade runs over a few milliseconds, not just the outermost sample.
            const std::size_t ms = s.rate / 1000;
            EXPECT_LE(std::abs(Sample(s, 1, c)), 2000);
            EXPECT_LT(Rms(s, s.frames - ms, s.frames), 0.05);
        }
    }
}

TEST(Sounds, StepTickIsQuietShortAndDecays) {
    const Expected s = AllSounds()[0];
    ASSERT_EQ(s.bytes.size(), s.size);
    const double peak_db = 20.0 * std::log10(static_cast<double>(Peak(s)) / kFullScale);
    EXPECT_LT(peak_db, -11.0) << "it plays thirty times a second";
    EXPECT_GT(peak_db, -20.0) << "but must still be heard";
    const std::size_t quarter = s.frames / 4;
    const double head = Rms(s, 0, quarter);
    EXPECT_GT(head, 0.01);
    EXPECT_LT(Rms(s, 2 * quarter, s.frames), head / 10) << "most of the tick is over by half time";
}

TEST(Sounds, FanfareAndMusicSoundThroughoutTheirLength) {
    for (const Expected& s : {AllSounds()[1], AllSounds()[2]}) {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(s.bytes.size(), s.size);
        // Every tenth of a second up to the final fade carries audible sound.
        const std::size_t window = s.rate / 10;
        const std::size_t tail = s.rate * 3 / 10;
        for (std::size_t f = window; f + window < s.frames - tail; f += window)
            EXPECT_GT(Rms(s, f, f + window), 0.01) << "silent around frame " << f;
        EXPECT_GT(Peak(s), kFullScale / 4) << "loud enough";
    }
}

TEST(Sounds, MusicIsStereoNotTwoCopiesOfOneChannel) {
    const Expected s = AllSounds()[2];
    ASSERT_EQ(s.bytes.size(), s.size);
    std::size_t differ = 0;
    for (std::size_t f = 0; f < s.frames; ++f)
        if (std::abs(Sample(s, f, 0) - Sample(s, f, 1)) > 200) ++differ;
    EXPECT_GT(differ, s.frames / 10);
}

}  // namespace
}  // namespace tav::assets
