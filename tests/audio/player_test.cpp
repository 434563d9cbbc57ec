#include "audio/play_sound.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <thread>

#include "audio/wave_player.hpp"
#include "platform/audio/manual_sink.hpp"
#include "platform/audio/silent_sink.hpp"
#include "wav_builder.hpp"

namespace tav {
namespace {

using namespace std::chrono_literals;

// Waits (polling) for a condition that other threads bring about; false after 10 s.
bool WaitUntil(const std::function<bool()>& done) {
    const auto give_up = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

std::size_t QueuedCount() { return QueuedSoundBuffers().size(); }

class Player : public ::testing::Test {
protected:
    void SetUp() override {
        auto sink = std::make_unique<ManualSink>(44100);
        sink_ = sink.get();
        UseWaveDevice(std::move(sink));
        SetStallTimeoutForTesting(kStallTimeout);
    }
    void TearDown() override {
        StopSoundsAtExit();
        EXPECT_EQ(ActivePlayerCount(), 0u);
        EXPECT_EQ(PlayerThreadCount(), 0u);
        SetStallTimeoutForTesting(kStallTimeout);
    }

    // Pulls frames and counts those at `level` on the left channel.
    std::size_t PullCounting(std::size_t frames, std::int16_t level) {
        const auto out = sink_->pull(frames);
        std::size_t n = 0;
        for (std::size_t i = 0; i < out.size(); i += 2) n += out[i] == level;
        return n;
    }

    ManualSink* sink_ = nullptr;
};

TEST_F(Player, StepSoundGoesOutAsOneBufferAndEndsWhenItComesBack) {
    {
        const Value step = Value::OfBytes(test::StepSoundWav());
        ASSERT_TRUE(PlaySoundAsync(step));
    }  // the caller has let go of its value; the player keeps its share of the bytes
    EXPECT_EQ(ActivePlayerCount(), 1u);
    ASSERT_TRUE(WaitUntil([] { return QueuedCount() == 1; }));
    EXPECT_EQ(QueuedSoundBuffers(), std::vector<std::uint32_t>{8424});
    EXPECT_EQ(ActivePlayerCount(), 1u);  // nothing returned yet: it keeps playing

    EXPECT_EQ(PullCounting(2106, 3000), 2104u);  // the last two frames wait for successors
    ASSERT_TRUE(WaitUntil([] { return ActivePlayerCount() == 0 && PlayerThreadCount() == 0; }));
    EXPECT_EQ(QueuedCount(), 0u);
}

TEST_F(Player, PlayersOfTheSameBytesAreIndependent) {
    const Value step = Value::OfBytes(test::StepSoundWav());
    ASSERT_TRUE(PlaySoundAsync(step));
    ASSERT_TRUE(PlaySoundAsync(step));
    ASSERT_TRUE(WaitUntil([] { return QueuedCount() == 2; }));
    EXPECT_EQ(PullCounting(1000, 6000), 1000u);  // both heard at once

    // A third starts half-way; the first two end on their own, the third goes on.
    ASSERT_TRUE(PlaySoundAsync(step));
    ASSERT_TRUE(WaitUntil([] { return QueuedCount() == 3; }));
    EXPECT_EQ(PullCounting(1200, 9000), 1104u);
    ASSERT_TRUE(WaitUntil([] { return ActivePlayerCount() == 1; }));
    EXPECT_EQ(QueuedSoundBuffers(), std::vector<std::uint32_t>{8424});
    EXPECT_EQ(PullCounting(2000, 3000), 2104u - 1200u);
    ASSERT_TRUE(WaitUntil([] { return ActivePlayerCount() == 0; }));
}

TEST_F(Player, LoopingSoundRestartsOnlyAfterAllBuffersCameBack) {
    // 22 buffers' worth; buffer j holds the level 100 * (j + 1).
    constexpr int kBuffers = 22;
    constexpr std::size_t kFrames = kBufferBytes / 4;
    Bytes pcm;
    for (int j = 0; j < kBuffers; ++j) {
        const Bytes part = test::ConstantPcm16(kFrames * 2, static_cast<std::int16_t>(100 * (j + 1)));
        pcm.insert(pcm.end(), part.begin(), part.end());
    }
    ASSERT_TRUE(PlaySoundAsync(Value::OfBytes(test::MakeWav(2, 44100, 16, pcm)), Value::OfBool(true)));
    ASSERT_TRUE(WaitUntil([] { return QueuedCount() == kBufferCount; }));
    for (int k = 1; k <= kBuffers; ++k) {
        EXPECT_EQ(PullCounting(kFrames, static_cast<std::int16_t>(100 * k)), k < kBuffers ? kFrames : kFrames - 2) << k;
        // Each pull hands one buffer back; once the data is used up the queue drains to
        // empty before the sound starts again.
        const std::size_t expected = k <= kBuffers - kBufferCount ? kBufferCount
                                     : k < kBuffers              ? static_cast<std::size_t>(kBuffers - k)
                                                                 : kBufferCount;
        ASSERT_TRUE(WaitUntil([&] { return QueuedCount() == expected; })) << k << " queued " << QueuedCount() << " active " << ActivePlayerCount();
    }
    EXPECT_EQ(PullCounting(kFrames, 100), kFrames - 2);  // from its first byte again
    EXPECT_EQ(ActivePlayerCount(), 1u);
    StopAllSounds(true);
    EXPECT_EQ(ActivePlayerCount(), 0u);
    EXPECT_EQ(QueuedCount(), 0u);
}

TEST_F(Player, AStalledDeviceEndsThePlayerAfterTheTimeout) {
    SetStallTimeoutForTesting(50ms);
    ASSERT_TRUE(PlaySoundAsync(Value::OfBytes(test::StepSoundWav())));
    // A format the output refuses still starts a player, which ends by the same rule.
    for (std::size_t n : {0u, 13u, 15u}) {
        Bytes chunks;
        test::PutChunk(chunks, "fmt ", Bytes(n, 1));
        test::PutChunk(chunks, "data", Bytes(40, 1));
        EXPECT_TRUE(PlaySoundAsync(Value::OfBytes(test::Riff(chunks))));
    }
    Bytes no_rate = test::MakeWav(2, 0, 16, Bytes(40, 1));
    EXPECT_TRUE(PlaySoundAsync(Value::OfBytes(no_rate)));
    ASSERT_TRUE(WaitUntil([] { return QueuedCount() == 1; }));
    // Nothing is pulled: no buffer ever comes back.
    ASSERT_TRUE(WaitUntil([] { return ActivePlayerCount() == 0; }));
    EXPECT_EQ(QueuedCount(), 0u);
}

TEST_F(Player, StopAllSoundsWaitsForEveryPlayer) {
    const Value step = Value::OfBytes(test::StepSoundWav());
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(PlaySoundAsync(step));
    ASSERT_TRUE(PlaySoundAsync(step, Value::OfInteger(1)));
    EXPECT_EQ(ActivePlayerCount(), 6u);
    StopAllSounds(true);
    EXPECT_EQ(ActivePlayerCount(), 0u);
    EXPECT_EQ(PlayerThreadCount(), 0u);
    EXPECT_EQ(QueuedCount(), 0u);

    // Without wait it only signals; the players still end on their own threads.
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(PlaySoundAsync(step, Value::OfInteger(1)));
    StopAllSounds(false);
    ASSERT_TRUE(WaitUntil([] { return PlayerThreadCount() == 0; }));
}

TEST_F(Player, RefusesWhatIsNotAPlayableWav) {
    const Bytes wav = test::StepSoundWav();
    EXPECT_FALSE(PlaySoundAsync(Value()));
    EXPECT_FALSE(PlaySoundAsync(Value::OfInteger(5)));
    EXPECT_FALSE(PlaySoundAsync(Value::OfBytes({})));
    EXPECT_FALSE(PlaySoundAsync(Value::OfBytes(std::span(wav).first(35))));
    const Bytes midi{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
    EXPECT_FALSE(PlaySoundAsync(Value::OfBytes(midi)));
    Bytes empty_data;
    test::PutChunk(empty_data, "fmt ", test::FormatBody(2, 44100, 16));
    test::PutChunk(empty_data, "data", Bytes{});
    test::PutChunk(empty_data, "more", Bytes(8, 0));
    EXPECT_FALSE(PlaySoundAsync(Value::OfBytes(test::Riff(empty_data))));
    EXPECT_FALSE(PlaySoundAsync(Value::OfText("")));
    EXPECT_FALSE(PlaySoundAsync(Value::OfText("/nonexistent/sound.wav")));
    EXPECT_EQ(ActivePlayerCount(), 0u);

    // A file name plays the file's content.
    const std::string path = testing::TempDir() + "tavrino_step.wav";
    {
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    }
    EXPECT_TRUE(PlaySoundAsync(Value::OfText(Text(path))));
    ASSERT_TRUE(WaitUntil([] { return QueuedCount() == 1; }));
    EXPECT_EQ(QueuedSoundBuffers(), std::vector<std::uint32_t>{8424});
    std::remove(path.c_str());
}

TEST_F(Player, WithASilentSinkPlayersEndInRealTime) {
    // As on a machine without a sound card: a spin's worth of step sounds, 30 ms apart,
    // all end about 50 ms after they start rather than lingering for the stall timeout.
    UseWaveDevice(std::make_unique<SilentSink>());
    const Value step = Value::OfBytes(test::StepSoundWav());
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(PlaySoundAsync(step));
        std::this_thread::sleep_for(30ms);
    }
    ASSERT_TRUE(WaitUntil([] { return PlayerThreadCount() == 0; }));
}

} // namespace
} // namespace tav
