#include "audio/wav_chunks.hpp"

#include <gtest/gtest.h>

#include "wav_builder.hpp"

namespace tav {
namespace {

using test::format_body;
using test::put_chunk;
using test::riff;

// The views returned point into `b`, which must outlive them.
std::optional<WavChunks> walk(const Bytes& b) { return walk_wav_chunks(b); }

TEST(WalkWavChunks, RefusesMalformedFilesWithoutReadingPastThem) {
    EXPECT_FALSE(walk({}));
    Bytes good = test::make_wav(1, 8000, 8, Bytes(10, 0x80));
    Bytes short35(good.begin(), good.begin() + 35);
    EXPECT_FALSE(walk(short35));
    Bytes no_wave = good;
    no_wave[8] = 'A';
    EXPECT_FALSE(walk(no_wave));
    Bytes no_riff = good;
    no_riff[0] = 'X';
    EXPECT_FALSE(walk(no_riff));

    Bytes only_fmt;
    put_chunk(only_fmt, "fmt ", format_body(2, 44100, 16));
    put_chunk(only_fmt, "LIST", Bytes(8, 0));
    EXPECT_FALSE(walk(riff(only_fmt)));

    Bytes empty_data;
    put_chunk(empty_data, "fmt ", format_body(2, 44100, 16));
    put_chunk(empty_data, "data", Bytes{});
    put_chunk(empty_data, "pad ", Bytes(8, 0));
    EXPECT_FALSE(walk(riff(empty_data)));

    // A RIFF size of 0 ends the walk before the first chunk.
    Bytes complete;
    put_chunk(complete, "fmt ", format_body(2, 44100, 16));
    put_chunk(complete, "data", Bytes(8, 1));
    EXPECT_TRUE(walk(riff(complete)));
    EXPECT_FALSE(walk(riff(complete, 0)));
}

TEST(WalkWavChunks, ClipsSizesAndSurvivesHugeOrManyChunks) {
    // A data size of 0xFFFFFFFF with 100 bytes present: the body is what is there.
    Bytes huge_data;
    put_chunk(huge_data, "fmt ", format_body(2, 44100, 16));
    put_chunk(huge_data, "data", 0xFFFFFFFFu, Bytes(100, 7));
    const Bytes image1 = riff(huge_data);
    auto w = walk(image1);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->data.size(), 100u);
    EXPECT_EQ(w->format.size(), 16u);

    // A chunk of size near 4 GiB in the middle: the next offset lies beyond the data, so the
    // walk stops without wrapping round to an earlier position.
    Bytes huge_middle;
    put_chunk(huge_middle, "fmt ", format_body(2, 44100, 16));
    put_chunk(huge_middle, "junk", 0xFFFFFFF8u, Bytes(4, 0));
    put_chunk(huge_middle, "data", Bytes(40, 1));
    EXPECT_FALSE(walk(riff(huge_middle, 0xFFFFFFFFu)));

    // A megabyte of zero-size chunks ends at the end of the data, finding nothing.
    Bytes zeros;
    while (zeros.size() < (1u << 20)) put_chunk(zeros, "zero", Bytes{});
    EXPECT_FALSE(walk(riff(zeros)));
    // ...and the same run followed by the real chunks is walked to its end.
    put_chunk(zeros, "fmt ", format_body(1, 22050, 16));
    put_chunk(zeros, "data", Bytes(6, 2));
    const Bytes image2 = riff(zeros);
    w = walk(image2);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->data.size(), 6u);
}

TEST(WalkWavChunks, FollowsTheChunkOrderRules) {
    // "data" before "fmt " plays.
    Bytes reversed;
    put_chunk(reversed, "data", Bytes(12, 3));
    put_chunk(reversed, "fmt ", format_body(1, 11025, 8));
    const Bytes image3 = riff(reversed);
    auto w = walk(image3);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->data.size(), 12u);
    EXPECT_EQ(w->format[2], 1);

    // An odd-sized chunk: the next header starts at the very next byte, no padding.
    Bytes odd;
    put_chunk(odd, "fmt ", format_body(2, 44100, 16));
    put_chunk(odd, "odd ", Bytes(3, 0xEE));
    put_chunk(odd, "data", Bytes(8, 4));
    const Bytes image4 = riff(odd);
    w = walk(image4);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->data.size(), 8u);
    EXPECT_EQ(w->data[0], 4);

    // The last chunk of each kind wins, until both have been seen.
    Bytes two_fmts;
    put_chunk(two_fmts, "fmt ", format_body(2, 44100, 16));
    put_chunk(two_fmts, "fmt ", format_body(1, 8000, 8));
    put_chunk(two_fmts, "data", Bytes(4, 5));
    put_chunk(two_fmts, "data", Bytes(9, 6)); // after both were seen: never reached
    const Bytes image5 = riff(two_fmts);
    w = walk(image5);
    ASSERT_TRUE(w);
    EXPECT_EQ(w->format[2], 1);
    EXPECT_EQ(w->data.size(), 4u);

    // A RIFF size that ends before "data" hides it.
    Bytes hidden;
    put_chunk(hidden, "fmt ", format_body(2, 44100, 16));
    put_chunk(hidden, "data", Bytes(8, 1));
    EXPECT_FALSE(walk(riff(hidden, 24)));
    EXPECT_TRUE(walk(riff(hidden, 25)));

    // Short format chunks are found as they are; refusing them is the output's business.
    for (std::size_t n : {0u, 13u, 15u}) {
        Bytes short_fmt;
        put_chunk(short_fmt, "fmt ", Bytes(n, 1));
        put_chunk(short_fmt, "data", Bytes(20, 1));
        const Bytes image6 = riff(short_fmt);
        w = walk(image6);
        ASSERT_TRUE(w);
        EXPECT_EQ(w->format.size(), n);
    }
}

} // namespace
} // namespace tav
