#include "audio/wav_chunks.hpp"

#include <gtest/gtest.h>

#include "wav_builder.hpp"

namespace tav {
namespace {

using test::FormatBody;
using test::PutChunk;
using test::Riff;

// The views returned point into `b`, which must outlive them.
std::optional<WavChunks> Walk(const Bytes& b) { return WalkWavChunks(b); }

TEST(WalkWavChunks, RefusesMalformedFilesWithoutReadingPastThem) {
    EXPECT_FALSE(Walk({}));
    Bytes good = test::MakeWav(1, 8000, 8, Bytes(10, 0x80));
    Bytes short35(good.begin(), good.begin() + 35);
    EXPECT_FALSE(Walk(short35));
    Bytes no_wave = good;
    no_wave[8] = 'A';
    EXPECT_FALSE(Walk(no_wave));
    Bytes no_riff = good;
    no_riff[0] = 'X';
    EXPECT_FALSE(Walk(no_riff));

    Bytes only_fmt;
    PutChunk(only_fmt, "fmt ", FormatBody(2, 44100, 16));
    PutChunk(only_fmt, "LIST", Bytes(8, 0));
    EXPECT_FALSE(Walk(Riff(only_fmt)));

    Bytes empty_data;
    PutChunk(empty_data, "fmt ", FormatBody(2, 44100, 16));
    PutChunk(empty_data, "data", Bytes{});
    PutChunk(empty_data, "pad ", Bytes(8, 0));
    EXPECT_FALSE(Walk(Riff(empty_data)));

    // A RIFF size of 0 ends the walk before the first chunk.
    Bytes complete;
    PutChunk(complete, "fmt ", FormatBody(2, 44100, 16));
    PutChunk(complete, "data", Bytes(8, 1));
    EXPECT_TRUE(Walk(Riff(complete)));
    EXPECT_FALSE(Walk(Riff(complete, 0)));
}

TEST(WalkWavChunks, ClipsSizesAndSurvivesHugeOrManyChunks) {
    // A data size of 0xFFFFFFFF with 100 bytes present: the body is what is there.
    Bytes huge_data;
    PutChunk(huge_data, "fmt ", FormatBody(2, 44100, 16));
    PutChunk(huge_data, "data", 0xFFFFFFFFu, Bytes(100, 7));
    const Bytes image1 = Riff(huge_data);
    auto w = Walk(image1);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->data.size(), 100u);
    EXPECT_EQ(w->format.size(), 16u);

    // A chunk of size near 4 GiB in the middle: the next offset lies beyond the data, so the
    // walk stops without wrapping round to an earlier position.
    Bytes huge_middle;
    PutChunk(huge_middle, "fmt ", FormatBody(2, 44100, 16));
    PutChunk(huge_middle, "junk", 0xFFFFFFF8u, Bytes(4, 0));
    PutChunk(huge_middle, "data", Bytes(40, 1));
    EXPECT_FALSE(Walk(Riff(huge_middle, 0xFFFFFFFFu)));

    // A megabyte of zero-size chunks ends at the end of the data, finding nothing.
    Bytes zeros;
    while (zeros.size() < (1u << 20)) PutChunk(zeros, "zero", Bytes{});
    EXPECT_FALSE(Walk(Riff(zeros)));
    // ...and the same run followed by the real chunks is walked to its end.
    PutChunk(zeros, "fmt ", FormatBody(1, 22050, 16));
    PutChunk(zeros, "data", Bytes(6, 2));
    const Bytes image2 = Riff(zeros);
    w = Walk(image2);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->data.size(), 6u);
}

TEST(WalkWavChunks, FollowsTheChunkOrderRules) {
    // "data" before "fmt " plays.
    Bytes reversed;
    PutChunk(reversed, "data", Bytes(12, 3));
    PutChunk(reversed, "fmt ", FormatBody(1, 11025, 8));
    const Bytes image3 = Riff(reversed);
    auto w = Walk(image3);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->data.size(), 12u);
    EXPECT_EQ(w->format[2], 1);

    // An odd-sized chunk: the next header starts at the very next byte, no padding.
    Bytes odd;
    PutChunk(odd, "fmt ", FormatBody(2, 44100, 16));
    PutChunk(odd, "odd ", Bytes(3, 0xEE));
    PutChunk(odd, "data", Bytes(8, 4));
    const Bytes image4 = Riff(odd);
    w = Walk(image4);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->data.size(), 8u);
    EXPECT_EQ(w->data[0], 4);

    // The last chunk of each kind wins, until both have been seen.
    Bytes two_fmts;
    PutChunk(two_fmts, "fmt ", FormatBody(2, 44100, 16));
    PutChunk(two_fmts, "fmt ", FormatBody(1, 8000, 8));
    PutChunk(two_fmts, "data", Bytes(4, 5));
    PutChunk(two_fmts, "data", Bytes(9, 6));  // after both were seen: never reached
    const Bytes image5 = Riff(two_fmts);
    w = Walk(image5);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->format[2], 1);
    EXPECT_EQ(w->data.size(), 4u);

    // A RIFF size that ends before "data" hides it.
    Bytes hidden;
    PutChunk(hidden, "fmt ", FormatBody(2, 44100, 16));
    PutChunk(hidden, "data", Bytes(8, 1));
    EXPECT_FALSE(Walk(Riff(hidden, 24)));
    EXPECT_TRUE(Walk(Riff(hidden, 25)));

    // Short format chunks are found as they are; refusing them is the output's business.
    for (std::size_t n : {0u, 13u, 15u}) {
        Bytes short_fmt;
        PutChunk(short_fmt, "fmt ", Bytes(n, 1));
        PutChunk(short_fmt, "data", Bytes(20, 1));
        const Bytes image6 = Riff(short_fmt);
        w = Walk(image6);
        ASSERT_TRUE(w);
        EXPECT_EQ(w->format.size(), n);
    }
}

} // namespace
} // namespace tav
