#include "platform/audio/wave_output.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "platform/audio/manual_sink.hpp"
#include "wav_builder.hpp"

namespace tav {
namespace {

using test::format_body;

// Records every buffer handed back, in order.
struct Returns {
    std::mutex mutex;
    std::condition_variable cv;
    std::vector<WaveBuffer*> buffers;

    static void callback(void* self, WaveBuffer& b) {
        auto* r = static_cast<Returns*>(self);
        {
            std::lock_guard lock(r->mutex);
            r->buffers.push_back(&b);
        }
        r->cv.notify_all();
    }
    std::size_t count() {
        std::lock_guard lock(mutex);
        return buffers.size();
    }
};

// An output over a manual sink that the test keeps a pointer to.
struct ManualOutput {
    explicit ManualOutput(std::uint32_t rate) {
        auto s = std::make_unique<ManualSink>(rate);
        sink = s.get();
        output = std::make_unique<WaveOutput>(std::move(s));
    }
    ManualSink* sink;
    std::unique_ptr<WaveOutput> output;
};

// A buffer owning its bytes.
struct OwnedBuffer {
    explicit OwnedBuffer(Bytes b) : bytes(std::move(b)) {
        header.data = bytes.data();
        header.length = static_cast<std::uint32_t>(bytes.size());
    }
    Bytes bytes;
    WaveBuffer header;
};

bool queue(WaveOutput& out, WaveHandle h, OwnedBuffer& b) { return out.prepare(h, b.header) && out.write(h, b.header); }

TEST(WaveOutput, MixesStreamsFrameForFrameAtTheDeviceRate) {
    ManualOutput m(44100);
    Returns returns;
    const Bytes stereo16 = format_body(2, 44100, 16);
    auto a = m.output->open(stereo16, &Returns::callback, &returns);
    auto b = m.output->open(stereo16, &Returns::callback, &returns);
    auto c = m.output->open(format_body(1, 44100, 8), &Returns::callback, &returns);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(m.output->device_rate(), 44100u);

    OwnedBuffer a1(test::constant_pcm16(200, 12000)), b1(test::constant_pcm16(200, 8000));
    ASSERT_TRUE(queue(*m.output, *a, a1) && queue(*m.output, *b, b1));
    for (std::int16_t s : m.sink->pull(50)) ASSERT_EQ(s, 20000);
    // Both run out together, to the frame, and come back in that pull.
    auto out = m.sink->pull(60);
    EXPECT_EQ(out[2 * 49], 20000);
    EXPECT_EQ(out[2 * 50], 0);
    EXPECT_EQ(returns.count(), 2u);

    // An 8-bit mono stream joins a 16-bit one: 0xC0 is +64 steps of 256, on both channels.
    OwnedBuffer a2(test::constant_pcm16(200, -3000)), c1(Bytes(100, 0xC0));
    ASSERT_TRUE(queue(*m.output, *a, a2) && queue(*m.output, *c, c1));
    out = m.sink->pull(120);
    for (std::size_t i = 0; i < 2 * 100; ++i) ASSERT_EQ(out[i], 16384 - 3000) << i;
    EXPECT_EQ(out[2 * 100], 0); // everything played out: silence

    std::lock_guard lock(returns.mutex);
    const std::vector<WaveBuffer*> expected{&a1.header, &b1.header, &a2.header, &c1.header};
    EXPECT_EQ(returns.buffers, expected);
}

// A buffer of one second of a full-scale tone, `frequency` Hz, at `rate`, 16-bit stereo.
Bytes full_scale_tone(std::uint32_t rate, double frequency, double phase) {
    constexpr double kPi = 3.14159265358979323846;
    Bytes pcm;
    for (std::uint32_t i = 0; i < rate; ++i) {
        const auto v = static_cast<std::int16_t>(std::lround(32767 * std::sin(2 * kPi * frequency * i / rate + phase)));
        test::put_le16(pcm, static_cast<std::uint16_t>(v));
        test::put_le16(pcm, static_cast<std::uint16_t>(-v));
    }
    return pcm;
}

TEST(WaveOutput, TenFullScaleSoundsNeverReachTheRails) {
    ManualOutput m(44100);
    Returns returns;
    std::vector<std::unique_ptr<OwnedBuffer>> tones;
    for (int i = 0; i < 10; ++i) {
        // Eight at the device rate, two converted: the converter's overshoot joins the sum.
        const std::uint32_t rate = i < 8 ? 44100 : 22050;
        auto h = m.output->open(format_body(2, rate, 16), &Returns::callback, &returns);
        ASSERT_TRUE(h);
        tones.push_back(std::make_unique<OwnedBuffer>(full_scale_tone(rate, 110.0 * (i + 1), 0.3 * i)));
        ASSERT_TRUE(queue(*m.output, *h, *tones.back()));
    }
    // A second in device periods: nothing at or beyond the ceiling, samples bent above the
    // knee only while the gain comes down, and the sum still loud rather than squashed.
    std::size_t bent = 0, total = 0;
    std::int16_t lowest_peak = INT16_MAX;
    for (int period = 0; period < 100; ++period) {
        const auto out = m.sink->pull(441);
        std::int16_t peak = 0;
        for (std::int16_t s : out) {
            ASSERT_LE(std::abs(s), Limiter::kCeiling);
            bent += std::abs(s) > Limiter::kKnee;
            peak = std::max<std::int16_t>(peak, static_cast<std::int16_t>(std::abs(s)));
        }
        total += out.size();
        if (period >= 5) lowest_peak = std::min(lowest_peak, peak);
    }
    EXPECT_LT(bent, total / 100);
    EXPECT_GT(lowest_peak, Limiter::kKnee / 2);
    EXPECT_EQ(returns.count(), 10u);

    // Once the gain has recovered, a single sound under the knee passes bit for bit.
    m.sink->pull(44100 * 2);
    auto h = m.output->open(format_body(2, 44100, 16), &Returns::callback, &returns);
    ASSERT_TRUE(h);
    Bytes normal;
    for (int i = 0; i < 4000; ++i) test::put_le16(normal, static_cast<std::uint16_t>((i * 7919) % 46000 - 23000));
    OwnedBuffer b(normal);
    ASSERT_TRUE(queue(*m.output, *h, b));
    const auto out = m.sink->pull(2000);
    for (std::size_t i = 0; i < out.size(); ++i)
        ASSERT_EQ(out[i], static_cast<std::int16_t>((static_cast<int>(i) * 7919) % 46000 - 23000)) << i;
}

TEST(WaveOutput, ResamplesAcrossBufferJoinsWithoutLosingFrames) {
    // 22 050 Hz mono, one second of a constant level in three buffers, one of them split
    // in the middle of a frame, into a 48 kHz device: exactly 48 000 frames come out, the
    // level steady between the edges, and the last buffer comes back only after its end.
    ManualOutput m(48000);
    Returns returns;
    auto h = m.output->open(format_body(1, 22050, 16), &Returns::callback, &returns);
    ASSERT_TRUE(h);
    const Bytes pcm = test::constant_pcm16(22050, 1000);
    OwnedBuffer p1(Bytes(pcm.begin(), pcm.begin() + 14001));
    OwnedBuffer p2(Bytes(pcm.begin() + 14001, pcm.begin() + 30000));
    OwnedBuffer p3(Bytes(pcm.begin() + 30000, pcm.end()));
    ASSERT_TRUE(queue(*m.output, *h, p1) && queue(*m.output, *h, p2) && queue(*m.output, *h, p3));
    std::vector<std::int16_t> left;
    for (int period = 0; period < 101; ++period) {
        if (period == 99) {
            EXPECT_EQ(returns.count(), 2u) << "the tail is still to come";
        }
        const auto out = m.sink->pull(480);
        for (std::size_t i = 0; i < out.size(); i += 2) left.push_back(out[i]);
    }
    std::size_t last = 0;
    for (std::size_t k = 0; k < left.size(); ++k)
        if (left[k] != 0) last = k;
    EXPECT_EQ(last, 47999u);
    for (std::size_t k = 100; k < 47900; ++k) ASSERT_NEAR(left[k], 1000, 1) << k;
    EXPECT_EQ(returns.count(), 3u);
}

TEST(WaveOutput, TheLastFramesOfAConvertedSoundAreHeard) {
    // A click on the very last frame of an 11 025 Hz sound comes out where it belongs at
    // 44 100 Hz, rather than being held back in the converter when the stream ends.
    ManualOutput m(44100);
    Returns returns;
    auto h = m.output->open(format_body(1, 11025, 16), &Returns::callback, &returns);
    ASSERT_TRUE(h);
    Bytes pcm = test::constant_pcm16(999, 0);
    test::put_le16(pcm, 20000);
    OwnedBuffer b(pcm);
    ASSERT_TRUE(queue(*m.output, *h, b));
    const auto out = m.sink->pull(5000);
    std::size_t loudest = 0;
    for (std::size_t k = 0; k < 5000; ++k)
        if (std::abs(out[2 * k]) > std::abs(out[2 * loudest])) loudest = k;
    EXPECT_EQ(loudest, 999u * 4);
    EXPECT_GT(out[2 * loudest], 10000);
    EXPECT_EQ(out[2 * 4000], 0); // 1000 frames make exactly 4000
    EXPECT_EQ(returns.count(), 1u);
}

TEST(WaveOutput, ConvertedTrebleKeepsItsLevelWithoutImages) {
    // A tone at 0.4 of the source rate (8 820 Hz at 22 050) into 44 100 Hz: within 0.3 dB of its
    // level, and what is left after removing the tone (the images above 11 025 Hz) 70 dB down.
    // A cubic interpolator loses about 3 dB here and leaves images only 8 dB down.
    constexpr double kPi = 3.14159265358979323846;
    ManualOutput m(44100);
    Returns returns;
    auto h = m.output->open(format_body(1, 22050, 16), &Returns::callback, &returns);
    ASSERT_TRUE(h);
    Bytes pcm;
    for (int i = 0; i < 22050; ++i)
        test::put_le16(pcm, static_cast<std::uint16_t>(std::lround(16000 * std::sin(2 * kPi * 8820 * i / 22050.0))));
    OwnedBuffer b(pcm);
    ASSERT_TRUE(queue(*m.output, *h, b));
    const auto out = m.sink->pull(44100);
    double ss = 0, sc = 0, cc = 0, ys = 0, yc = 0;
    for (std::size_t k = 11025; k < 33075; ++k) {
        const double w = 2 * kPi * 8820 * static_cast<double>(k) / 44100.0;
        ss += std::sin(w) * std::sin(w), sc += std::sin(w) * std::cos(w), cc += std::cos(w) * std::cos(w);
        ys += out[2 * k] * std::sin(w), yc += out[2 * k] * std::cos(w);
    }
    const double det = ss * cc - sc * sc;
    const double a = (ys * cc - yc * sc) / det, c = (yc * ss - ys * sc) / det;
    EXPECT_NEAR(20 * std::log10(std::hypot(a, c) / 16000), 0.0, 0.3);
    double tone = 0, rest = 0;
    for (std::size_t k = 11025; k < 33075; ++k) {
        const double w = 2 * kPi * 8820 * static_cast<double>(k) / 44100.0;
        const double fit = a * std::sin(w) + c * std::cos(w);
        tone += fit * fit;
        rest += (out[2 * k] - fit) * (out[2 * k] - fit);
    }
    EXPECT_LT(10 * std::log10(rest / tone), -70.0);
}

TEST(WaveOutput, ResampledToneStaysClean) {
    // A 1 kHz tone at 22 050 Hz into a 48 kHz device keeps its shape (a straight-line
    // interpolation would leave the error only about 43 dB down).
    ManualOutput m(48000);
    Returns returns;
    auto h = m.output->open(format_body(1, 22050, 16), &Returns::callback, &returns);
    ASSERT_TRUE(h);
    constexpr double kPi = 3.14159265358979323846;
    Bytes pcm;
    for (int i = 0; i < 11025; ++i)
        test::put_le16(pcm, static_cast<std::uint16_t>(std::lround(10000 * std::sin(2 * kPi * 1000 * i / 22050.0))));
    OwnedBuffer b(pcm);
    ASSERT_TRUE(queue(*m.output, *h, b));
    const auto out = m.sink->pull(20000);
    double signal = 0, error = 0;
    for (std::size_t k = 100; k < 20000; ++k) {
        const double ideal = 10000 * std::sin(2 * kPi * 1000 * static_cast<double>(k) / 48000.0);
        signal += ideal * ideal;
        error += (out[2 * k] - ideal) * (out[2 * k] - ideal);
        ASSERT_EQ(out[2 * k], out[2 * k + 1]);
    }
    EXPECT_GT(10 * std::log10(signal / error), 60.0);
}

TEST(WaveOutput, CarriesFramesSplitAcrossBuffersExactly) {
    // At the device rate, a ramp split at odd byte counts comes out frame for frame.
    ManualOutput m(44100);
    Returns returns;
    auto h = m.output->open(format_body(2, 44100, 16), &Returns::callback, &returns);
    ASSERT_TRUE(h);
    Bytes pcm;
    for (int i = 0; i < 1000; ++i) {
        test::put_le16(pcm, static_cast<std::uint16_t>(i));
        test::put_le16(pcm, static_cast<std::uint16_t>(-i));
    }
    std::vector<std::unique_ptr<OwnedBuffer>> parts;
    for (std::size_t at = 0, n = 1; at < pcm.size(); at += n, n = n * 3 % 1021 + 1) {
        const std::size_t end = std::min(pcm.size(), at + n);
        parts.push_back(std::make_unique<OwnedBuffer>(Bytes(pcm.begin() + at, pcm.begin() + end)));
        ASSERT_TRUE(queue(*m.output, *h, *parts.back()));
    }
    // Frames are handed out in uneven pulls too.
    std::vector<std::int16_t> out;
    for (std::size_t n : {1u, 7u, 300u, 2u, 700u}) {
        auto chunk = m.sink->pull(n);
        out.insert(out.end(), chunk.begin(), chunk.end());
    }
    for (int i = 0; i < 998; ++i) {
        ASSERT_EQ(out[2 * i], i);
        ASSERT_EQ(out[2 * i + 1], -i);
    }
    EXPECT_EQ(returns.count(), parts.size());
}

// Raw samples of one width and the 16-bit values they must play as.
struct WidthCase {
    const char* name;
    Bytes format;
    std::vector<std::uint32_t> raw; // the sample's bits, little-endian in bits / 8 bytes
    std::vector<std::int16_t> expected;
};

std::uint32_t float_bits(float x) { return std::bit_cast<std::uint32_t>(x); }

std::vector<WidthCase> width_cases() {
    const std::vector<std::uint32_t> u8{0, 64, 128, 200, 255};
    const std::vector<std::int16_t> u8_out{-32768, -16384, 0, 18432, 32512};
    const std::vector<std::uint32_t> s16{0x8000, 0xFFFF, 0, 12345, 0x7FFF};
    const std::vector<std::int16_t> s16_out{-32768, -1, 0, 12345, 32767};
    const std::vector<std::uint32_t> s24{0x800000, 0xFFFF00, 0x123456, 0x1234C0, 0x7FFFFF};
    const std::vector<std::int16_t> s24_out{-32768, -1, 0x1234, 0x1235, 32767};
    const std::vector<std::uint32_t> s32{0x80000000, 0xFFFF0000, 0x12345678, 0x12348000, 0x7FFFFFFF};
    const std::vector<std::int16_t> s32_out{-32768, -1, 0x1234, 0x1235, 32767};
    const std::vector<std::uint32_t> f32{float_bits(-1.0f), float_bits(0.25f), float_bits(std::nanf("")),
                                         float_bits(2.0f), float_bits(-INFINITY)};
    const std::vector<std::int16_t> f32_out{-32767, 8192, 0, 32767, -32767};
    using test::extensible_format_body;
    using test::tagged_format_body;
    return {
        {"8-bit mono", format_body(1, 44100, 8), u8, u8_out},
        {"8-bit", format_body(2, 44100, 8), u8, u8_out},
        {"16-bit", format_body(2, 44100, 16), s16, s16_out},
        {"24-bit mono", format_body(1, 44100, 24), s24, s24_out},
        {"24-bit", format_body(2, 44100, 24), s24, s24_out},
        {"32-bit", format_body(2, 44100, 32), s32, s32_out},
        {"float mono", tagged_format_body(3, 1, 44100, 32), f32, f32_out},
        {"float", tagged_format_body(3, 2, 44100, 32), f32, f32_out},
        {"extensible 8-bit", extensible_format_body(2, 44100, 8, 8, 1), u8, u8_out},
        {"extensible 16-bit", extensible_format_body(2, 44100, 16, 16, 1), s16, s16_out},
        {"extensible 24-bit, 20 valid", extensible_format_body(2, 44100, 24, 20, 1), s24, s24_out},
        {"extensible 32-bit, 24 valid", extensible_format_body(1, 44100, 32, 24, 1), s32, s32_out},
        {"extensible float", extensible_format_body(2, 44100, 32, 32, 3), f32, f32_out},
    };
}

TEST(WaveOutput, PlaysEveryPcmWidthExactly) {
    // Each format's stream plays against a 16-bit stream holding the negated expectation, so
    // the sum is silence (or -1 where -32768 has no 16-bit negation) only if every sample
    // decoded exactly, full scale and beyond included. Buffers of 7 bytes split most frames.
    for (const WidthCase& wc : width_cases()) {
        SCOPED_TRACE(wc.name);
        ManualOutput m(44100);
        Returns returns;
        auto h = m.output->open(wc.format, &Returns::callback, &returns);
        auto g = m.output->open(format_body(2, 44100, 16), &Returns::callback, &returns);
        ASSERT_TRUE(h && g);
        const std::size_t channels = wc.format[2];
        const std::size_t bytes = wc.format[14] / 8;
        constexpr std::size_t kFrames = 40;
        Bytes pcm, against;
        std::vector<std::int16_t> expected_sum;
        for (std::size_t f = 0; f < kFrames; ++f) {
            for (std::size_t c = 0; c < 2; ++c) {
                const std::size_t k = (f + (channels == 2 ? c : 0)) % wc.raw.size();
                if (c < channels)
                    for (std::size_t i = 0; i < bytes; ++i)
                        pcm.push_back(static_cast<std::uint8_t>(wc.raw[k] >> (8 * i)));
                const int e = wc.expected[k];
                const int negated = std::clamp(-e, -32767, 32767);
                test::put_le16(against, static_cast<std::uint16_t>(negated));
                expected_sum.push_back(static_cast<std::int16_t>(e + negated));
            }
        }
        std::vector<std::unique_ptr<OwnedBuffer>> parts;
        for (std::size_t at = 0; at < pcm.size(); at += 7) {
            parts.push_back(std::make_unique<OwnedBuffer>(
                Bytes(pcm.begin() + static_cast<std::ptrdiff_t>(at),
                      pcm.begin() + static_cast<std::ptrdiff_t>(std::min(pcm.size(), at + 7)))));
            ASSERT_TRUE(queue(*m.output, *h, *parts.back()));
        }
        OwnedBuffer b(against);
        ASSERT_TRUE(queue(*m.output, *g, b));
        const auto out = m.sink->pull(kFrames + 5);
        for (std::size_t i = 0; i < 2 * kFrames; ++i) ASSERT_EQ(out[i], expected_sum[i]) << "sample " << i;
        EXPECT_EQ(out[2 * kFrames], 0);
        EXPECT_EQ(returns.count(), parts.size() + 1);
    }
}

TEST(WaveOutput, RefusesFormatsItCannotPlay) {
    ManualOutput m(44100);
    Returns returns;
    auto refused = [&](Bytes body) { return !m.output->open(body, &Returns::callback, &returns); };
    const Bytes full = format_body(2, 44100, 16);
    for (std::size_t n : {0u, 13u, 15u})
        EXPECT_TRUE(refused(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n))));
    auto with = [](Bytes b, std::size_t at, std::uint8_t v) {
        b[at] = v;
        return b;
    };
    using test::extensible_format_body;
    using test::tagged_format_body;
    EXPECT_TRUE(refused(with(full, 0, 2)));                       // ADPCM
    EXPECT_TRUE(refused(tagged_format_body(6, 1, 8000, 8)));      // A-law
    EXPECT_TRUE(refused(tagged_format_body(7, 1, 8000, 8)));      // mu-law
    EXPECT_TRUE(refused(tagged_format_body(3, 2, 44100, 64)));    // double
    EXPECT_TRUE(refused(tagged_format_body(3, 2, 44100, 16)));    // float of 16 bits
    EXPECT_TRUE(refused(with(full, 2, 0)));                       // no channels
    EXPECT_TRUE(refused(format_body(3, 44100, 16)));              // three channels
    EXPECT_TRUE(refused(format_body(2, 0, 16)));                  // no rate
    EXPECT_TRUE(refused(format_body(2, kMaxSourceRate + 1, 16))); // beyond the converter
    EXPECT_TRUE(refused(format_body(2, 44100, 12)));              // no such container
    EXPECT_TRUE(refused(format_body(2, 44100, 20)));
    EXPECT_TRUE(refused(with(full, 12, 2)));                      // block align not 4
    EXPECT_TRUE(refused(with(format_body(2, 44100, 32), 12, 6))); // nor 8
    const Bytes ext = extensible_format_body(2, 44100, 24, 24, 1);
    EXPECT_TRUE(refused(Bytes(ext.begin(), ext.end() - 1)));               // cut short
    EXPECT_TRUE(refused(extensible_format_body(2, 44100, 24, 24, 1, 20))); // cbSize too small
    EXPECT_TRUE(refused(extensible_format_body(2, 44100, 24, 0, 1)));      // no valid bits
    EXPECT_TRUE(refused(extensible_format_body(2, 44100, 24, 25, 1)));     // more than the container
    EXPECT_TRUE(refused(extensible_format_body(2, 44100, 16, 16, 2)));     // ADPCM inside
    EXPECT_TRUE(refused(with(ext, 30, 0x11)));                             // a foreign GUID
    EXPECT_TRUE(refused(extensible_format_body(2, 44100, 64, 64, 3)));     // double inside
    EXPECT_TRUE(refused(extensible_format_body(6, 44100, 16, 16, 1)));     // six channels
    EXPECT_EQ(m.output->stream_count(), 0u);

    EXPECT_FALSE(refused(format_body(1, 11025, 8)));
    Bytes extended = format_body(2, 48000, 16);
    extended.insert(extended.end(), {0, 0}); // an 18-byte body with cbSize
    EXPECT_FALSE(refused(extended));
    EXPECT_FALSE(refused(ext));
    EXPECT_EQ(m.output->stream_count(), 3u);
}

TEST(WaveOutput, PauseResetAndCloseHandBuffersBackAsTheySay) {
    ManualOutput m(44100);
    Returns returns;
    auto h = m.output->open(format_body(2, 44100, 16), &Returns::callback, &returns);
    ASSERT_TRUE(h);
    OwnedBuffer b1(test::constant_pcm16(200, 100)), b2(test::constant_pcm16(200, 100)),
        b3(test::constant_pcm16(200, 100));
    EXPECT_FALSE(m.output->write(*h, b1.header)); // not prepared
    ASSERT_TRUE(queue(*m.output, *h, b1) && queue(*m.output, *h, b2) && queue(*m.output, *h, b3));
    EXPECT_FALSE(m.output->write(*h, b1.header)); // already queued
    EXPECT_FALSE(m.output->unprepare(*h, b1.header));
    EXPECT_EQ(m.output->queued_lengths(), (std::vector<std::uint32_t>{400, 400, 400}));

    ASSERT_TRUE(m.output->pause(*h));
    EXPECT_EQ(m.sink->pull(500)[0], 0);
    EXPECT_EQ(returns.count(), 0u);
    ASSERT_TRUE(m.output->restart(*h));
    EXPECT_EQ(m.sink->pull(110)[0], 100);
    EXPECT_EQ(returns.count(), 1u);

    ASSERT_TRUE(m.output->reset(*h));
    EXPECT_EQ(returns.count(), 3u);
    EXPECT_TRUE(m.output->queued_lengths().empty());
    EXPECT_TRUE(m.output->unprepare(*h, b2.header));
    EXPECT_EQ(m.sink->pull(10)[0], 0);

    ASSERT_TRUE(queue(*m.output, *h, b2));
    ASSERT_TRUE(m.output->close(*h));
    EXPECT_EQ(returns.count(), 3u); // closing drops queued buffers without callbacks
    EXPECT_FALSE(b2.header.queued);
    EXPECT_EQ(m.sink->pull(10)[0], 0);
    EXPECT_FALSE(m.output->prepare(*h, b1.header));
    EXPECT_FALSE(m.output->close(*h));
}

// Writes its buffer again from its own callback, three times, then closes its stream there.
struct Repeater {
    WaveOutput* output;
    WaveHandle handle;
    OwnedBuffer* buffer;
    int returns = 0;
    static void callback(void* self, WaveBuffer& b) {
        auto* r = static_cast<Repeater*>(self);
        if (++r->returns < 3)
            r->output->write(r->handle, b);
        else
            r->output->close(r->handle);
    }
};

TEST(WaveOutput, CallbacksMayCallBackIntoTheOutput) {
    ManualOutput m(44100);
    OwnedBuffer buffer(test::constant_pcm16(20, 500));
    Repeater rep{m.output.get(), 0, &buffer};
    auto h = m.output->open(format_body(2, 44100, 16), &Repeater::callback, &rep);
    ASSERT_TRUE(h);
    rep.handle = *h;
    ASSERT_TRUE(queue(*m.output, *h, buffer));
    for (int i = 0; i < 10; ++i) m.sink->pull(5);
    EXPECT_EQ(rep.returns, 3);
    EXPECT_EQ(m.output->stream_count(), 0u);
}

// A device that cannot be opened, as on a machine without a sound card.
class NoDevice final : public WaveDevice {
public:
    bool start(Render) override { return false; }
    void stop() override {}
    std::uint32_t rate() const override { return 0; }
    std::uint32_t period_frames() const override { return 0; }
};

TEST(WaveOutput, WithoutADeviceStreamsPlayIntoASilentRealTimeSink) {
    Returns returns; // outlives the output, whose sink thread calls it
    WaveOutput output(std::make_unique<NoDevice>());
    auto h = output.open(format_body(2, 44100, 16), &Returns::callback, &returns);
    ASSERT_TRUE(h);
    EXPECT_EQ(output.device_rate(), kDefaultDeviceRate);
    OwnedBuffer b(test::constant_pcm16(2 * 2205, 1)); // 50 ms
    ASSERT_TRUE(queue(output, *h, b));
    std::unique_lock lock(returns.mutex);
    EXPECT_TRUE(returns.cv.wait_for(lock, std::chrono::seconds(5), [&] { return !returns.buffers.empty(); }));
}

} // namespace
} // namespace tav
