#include "platform/audio/wave_output.hpp"

#include <gtest/gtest.h>

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

TEST(WaveOutput, MixesStreamsWithSaturation) {
    ManualOutput m(44100);
    Returns returns;
    const Bytes stereo16 = format_body(2, 44100, 16);
    auto a = m.output->open(stereo16, &Returns::callback, &returns);
    auto b = m.output->open(stereo16, &Returns::callback, &returns);
    auto c = m.output->open(format_body(1, 44100, 8), &Returns::callback, &returns);
    ASSERT_TRUE(a && b && c);
    EXPECT_EQ(m.output->device_rate(), 44100u);

    OwnedBuffer a1(test::constant_pcm16(200, 20000)), b1(test::constant_pcm16(200, 10000));
    ASSERT_TRUE(queue(*m.output, *a, a1) && queue(*m.output, *b, b1));
    for (std::int16_t s : m.sink->pull(50)) ASSERT_EQ(s, 30000);

    // Both run out together; then louder buffers saturate at full scale both ways.
    m.sink->pull(60);
    EXPECT_EQ(returns.count(), 2u);
    OwnedBuffer a2(test::constant_pcm16(200, 25000)), b2(test::constant_pcm16(200, 25000));
    OwnedBuffer a3(test::constant_pcm16(200, -25000)), b3(test::constant_pcm16(200, -25000));
    ASSERT_TRUE(queue(*m.output, *a, a2) && queue(*m.output, *b, b2));
    ASSERT_TRUE(queue(*m.output, *a, a3) && queue(*m.output, *b, b3));
    auto out = m.sink->pull(200);
    // The last two frames of the first pair, held back as look-ahead, come first.
    EXPECT_EQ(out[0], 30000);
    EXPECT_EQ(out[2], 30000);
    for (std::size_t i = 4; i < 2 * 90; ++i) ASSERT_EQ(out[i], 32767) << i;
    for (std::size_t i = 2 * 110; i < out.size(); ++i) ASSERT_EQ(out[i], -32768) << i;

    // An 8-bit mono stream joins: 0xC0 is +64 steps of 256, on both channels.
    OwnedBuffer c1(Bytes(100, 0xC0));
    ASSERT_TRUE(queue(*m.output, *c, c1));
    out = m.sink->pull(120);
    for (std::size_t i = 0; i < 2 * 90; ++i) ASSERT_EQ(out[i], 16384) << i;
    EXPECT_EQ(out[2 * 119], 0); // everything played out: silence

    std::lock_guard lock(returns.mutex);
    const std::vector<WaveBuffer*> expected{&a1.header, &b1.header, &a2.header, &a3.header,
                                            &b2.header, &b3.header, &c1.header};
    EXPECT_EQ(returns.buffers, expected);
}

TEST(WaveOutput, ResamplesAcrossBufferJoinsWithoutLosingFrames) {
    // 22 050 Hz mono, one second of a constant level in three buffers, one of them split
    // in the middle of a frame, into a 48 kHz device.
    ManualOutput m(48000);
    Returns returns;
    auto h = m.output->open(format_body(1, 22050, 16), &Returns::callback, &returns);
    ASSERT_TRUE(h);
    const Bytes pcm = test::constant_pcm16(22050, 1000);
    OwnedBuffer p1(Bytes(pcm.begin(), pcm.begin() + 14001));
    OwnedBuffer p2(Bytes(pcm.begin() + 14001, pcm.begin() + 30000));
    OwnedBuffer p3(Bytes(pcm.begin() + 30000, pcm.end()));
    ASSERT_TRUE(queue(*m.output, *h, p1) && queue(*m.output, *h, p2) && queue(*m.output, *h, p3));
    std::size_t sounding = 0, gaps = 0;
    bool ended = false;
    for (int period = 0; period < 120; ++period) {
        for (std::size_t f = 0; f < 480; ++f) {
            const std::int16_t s = m.sink->pull(1)[0];
            if (s == 1000) {
                ++sounding;
                if (ended) ++gaps;
            } else if (sounding > 0) {
                ended = true;
            }
        }
    }
    EXPECT_EQ(gaps, 0u);
    EXPECT_NEAR(static_cast<double>(sounding), 22050.0 * 48000.0 / 22050.0, 5.0);
    EXPECT_EQ(returns.count(), 3u);
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

TEST(WaveOutput, RefusesFormatsItCannotPlay) {
    ManualOutput m(44100);
    Returns returns;
    auto refused = [&](Bytes body) { return !m.output->open(body, &Returns::callback, &returns); };
    const Bytes full = format_body(2, 44100, 16);
    for (std::size_t n : {0u, 13u, 15u})
        EXPECT_TRUE(refused(Bytes(full.begin(), full.begin() + static_cast<std::ptrdiff_t>(n))));
    auto with = [](std::size_t at, std::uint8_t v) {
        Bytes b = format_body(2, 44100, 16);
        b[at] = v;
        return b;
    };
    EXPECT_TRUE(refused(with(0, 3))); // not PCM
    EXPECT_TRUE(refused(with(2, 0))); // no channels
    EXPECT_TRUE(refused(with(2, 3))); // three channels
    EXPECT_TRUE(refused(format_body(2, 0, 16)));
    EXPECT_TRUE(refused(format_body(2, 44100, 24)));
    EXPECT_TRUE(refused(with(12, 2))); // block align not 4
    EXPECT_FALSE(refused(format_body(1, 11025, 8)));
    Bytes extended = format_body(2, 48000, 16);
    extended.insert(extended.end(), {0, 0}); // an 18-byte body with cbSize
    EXPECT_FALSE(refused(extended));
    EXPECT_EQ(m.output->stream_count(), 2u);
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
