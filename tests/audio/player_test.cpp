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
bool wait_until(const std::function<bool()>& done) {
    const auto give_up = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > give_up) return false;
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

class Player : public ::testing::Test {
protected:
    void SetUp() override {
        auto sink = std::make_unique<ManualSink>(44100);
        sink_ = sink.get();
        output_ = std::make_shared<WaveOutput>(std::move(sink));
        set_stall_timeout_for_testing(kStallTimeout);
    }
    void TearDown() override {
        stop_sounds_at_exit();
        output_.reset();
        EXPECT_EQ(active_player_count(), 0u);
        EXPECT_EQ(player_thread_count(), 0u);
        set_stall_timeout_for_testing(kStallTimeout);
    }

    // Pulls frames and counts those at `level` on the left channel.
    std::size_t pull_counting(std::size_t frames, std::int16_t level) {
        const auto out = sink_->pull(frames);
        std::size_t n = 0;
        for (std::size_t i = 0; i < out.size(); i += 2) n += out[i] == level;
        return n;
    }

    // Players started here play into this output.
    bool play(const Value& sound, const Value& loop = Value()) { return play_sound_async(output_, sound, loop); }
    std::size_t queued_count() const { return output_->queued_lengths().size(); }

    std::shared_ptr<WaveOutput> output_;
    ManualSink* sink_ = nullptr;
};

TEST_F(Player, StepSoundGoesOutAsOneBufferAndEndsWhenItComesBack) {
    {
        const Value step = Value::of_bytes(test::step_sound_wav());
        ASSERT_TRUE(play(step));
    } // the caller has let go of its value; the player keeps its share of the bytes
    EXPECT_EQ(active_player_count(), 1u);
    ASSERT_TRUE(wait_until([this] { return queued_count() == 1; }));
    EXPECT_EQ(output_->queued_lengths(), std::vector<std::uint32_t>{8424});
    EXPECT_EQ(active_player_count(), 1u); // nothing returned yet: it keeps playing

    EXPECT_EQ(pull_counting(2110, 3000), 2106u); // every frame, to the last
    ASSERT_TRUE(wait_until([] { return active_player_count() == 0 && player_thread_count() == 0; }));
    EXPECT_EQ(queued_count(), 0u);
}

TEST_F(Player, PlayersOfTheSameBytesAreIndependent) {
    const Value step = Value::of_bytes(test::step_sound_wav());
    ASSERT_TRUE(play(step));
    ASSERT_TRUE(play(step));
    ASSERT_TRUE(wait_until([this] { return queued_count() == 2; }));
    EXPECT_EQ(pull_counting(1000, 6000), 1000u); // both heard at once

    // A third starts half-way; the first two end on their own, the third goes on.
    ASSERT_TRUE(play(step));
    ASSERT_TRUE(wait_until([this] { return queued_count() == 3; }));
    EXPECT_EQ(pull_counting(1200, 9000), 1106u);
    ASSERT_TRUE(wait_until([] { return active_player_count() == 1; }));
    EXPECT_EQ(output_->queued_lengths(), std::vector<std::uint32_t>{8424});
    EXPECT_EQ(pull_counting(2000, 3000), 2106u - 1200u);
    ASSERT_TRUE(wait_until([] { return active_player_count() == 0; }));
}

TEST_F(Player, LoopingSoundRestartsOnlyAfterAllBuffersCameBack) {
    // 22 buffers' worth; buffer j holds the level 100 * (j + 1).
    constexpr int kBuffers = 22;
    constexpr std::size_t kFrames = kBufferBytes / 4;
    Bytes pcm;
    for (int j = 0; j < kBuffers; ++j) {
        const Bytes part = test::constant_pcm16(kFrames * 2, static_cast<std::int16_t>(100 * (j + 1)));
        pcm.insert(pcm.end(), part.begin(), part.end());
    }
    ASSERT_TRUE(play(Value::of_bytes(test::make_wav(2, 44100, 16, pcm)), Value::of_bool(true)));
    ASSERT_TRUE(wait_until([this] { return queued_count() == kBufferCount; }));
    for (int k = 1; k <= kBuffers; ++k) {
        EXPECT_EQ(pull_counting(kFrames, static_cast<std::int16_t>(100 * k)), kFrames) << k;
        // Each pull hands one buffer back; once the data is used up the queue drains to
        // empty before the sound starts again.
        const std::size_t expected = k <= kBuffers - kBufferCount ? kBufferCount
                                     : k < kBuffers               ? static_cast<std::size_t>(kBuffers - k)
                                                                  : kBufferCount;
        ASSERT_TRUE(wait_until([&] { return queued_count() == expected; }))
            << k << " queued " << queued_count() << " active " << active_player_count();
    }
    EXPECT_EQ(pull_counting(kFrames, 100), kFrames); // from its first byte again
    EXPECT_EQ(active_player_count(), 1u);
    stop_all_sounds(true);
    EXPECT_EQ(active_player_count(), 0u);
    EXPECT_EQ(queued_count(), 0u);
}

TEST_F(Player, AStalledDeviceEndsThePlayerAfterTheTimeout) {
    set_stall_timeout_for_testing(50ms);
    ASSERT_TRUE(play(Value::of_bytes(test::step_sound_wav())));
    ASSERT_TRUE(wait_until([this] { return queued_count() == 1; }));
    // Nothing is pulled: no buffer ever comes back.
    ASSERT_TRUE(wait_until([] { return active_player_count() == 0; }));
    EXPECT_EQ(queued_count(), 0u);
}

TEST_F(Player, AFormatTheOutputCannotPlayIsRefusedWithoutAPlayer) {
    // Refused at once: no player, no thread waiting out the stall timeout.
    std::vector<Bytes> unplayable;
    for (std::size_t n : {0u, 13u, 15u}) unplayable.push_back(test::wav_with_format(Bytes(n, 1), Bytes(40, 1)));
    unplayable.push_back(test::make_wav(2, 0, 16, Bytes(40, 1)));
    unplayable.push_back(test::wav_with_format(test::tagged_format_body(2, 1, 22050, 4), Bytes(40, 1)));
    unplayable.push_back(test::wav_with_format(test::tagged_format_body(3, 2, 44100, 64), Bytes(64, 0)));
    unplayable.push_back(test::make_wav(2, 44100, 20, Bytes(60, 0)));
    unplayable.push_back(test::wav_with_format(test::extensible_format_body(2, 44100, 16, 16, 7), Bytes(40, 1)));
    for (const Bytes& wav : unplayable) {
        EXPECT_FALSE(play(Value::of_bytes(wav)));
        EXPECT_FALSE(play(Value::of_bytes(wav), Value::of_integer(1)));
    }
    EXPECT_EQ(active_player_count(), 0u);
    EXPECT_EQ(player_thread_count(), 0u);

    // Every width that plays is accepted and heard: 24-bit stereo at 0x100000 is 4096.
    Bytes pcm;
    for (int i = 0; i < 200; ++i) pcm.insert(pcm.end(), {0x00, 0x00, 0x10});
    ASSERT_TRUE(play(Value::of_bytes(test::make_wav(2, 44100, 24, pcm))));
    ASSERT_TRUE(wait_until([this] { return queued_count() == 1; }));
    EXPECT_EQ(pull_counting(120, 4096), 100u);
    ASSERT_TRUE(wait_until([] { return active_player_count() == 0; }));
}

TEST_F(Player, StopAllSoundsWaitsForEveryPlayer) {
    const Value step = Value::of_bytes(test::step_sound_wav());
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(play(step));
    ASSERT_TRUE(play(step, Value::of_integer(1)));
    EXPECT_EQ(active_player_count(), 6u);
    stop_all_sounds(true);
    EXPECT_EQ(active_player_count(), 0u);
    EXPECT_EQ(player_thread_count(), 0u);
    EXPECT_EQ(queued_count(), 0u);

    // Without wait it only signals; the players still end on their own threads.
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(play(step, Value::of_integer(1)));
    stop_all_sounds(false);
    ASSERT_TRUE(wait_until([] { return player_thread_count() == 0; }));
}

TEST_F(Player, RefusesWhatIsNotAPlayableWav) {
    const Bytes wav = test::step_sound_wav();
    EXPECT_FALSE(play(Value()));
    EXPECT_FALSE(play(Value::of_integer(5)));
    EXPECT_FALSE(play(Value::of_bytes({})));
    EXPECT_FALSE(play(Value::of_bytes(std::span(wav).first(35))));
    const Bytes midi{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96};
    EXPECT_FALSE(play(Value::of_bytes(midi)));
    Bytes empty_data;
    test::put_chunk(empty_data, "fmt ", test::format_body(2, 44100, 16));
    test::put_chunk(empty_data, "data", Bytes{});
    test::put_chunk(empty_data, "more", Bytes(8, 0));
    EXPECT_FALSE(play(Value::of_bytes(test::riff(empty_data))));
    EXPECT_FALSE(play(Value::of_text("")));
    EXPECT_FALSE(play(Value::of_text("/nonexistent/sound.wav")));
    EXPECT_EQ(active_player_count(), 0u);

    // A file name plays the file's content.
    const std::string path = testing::TempDir() + "tavrino_step.wav";
    {
        std::ofstream f(path, std::ios::binary);
        f.write(reinterpret_cast<const char*>(wav.data()), static_cast<std::streamsize>(wav.size()));
    }
    EXPECT_TRUE(play(Value::of_text(Text(path))));
    ASSERT_TRUE(wait_until([this] { return queued_count() == 1; }));
    EXPECT_EQ(output_->queued_lengths(), std::vector<std::uint32_t>{8424});
    std::remove(path.c_str());
}

TEST_F(Player, WithASilentSinkPlayersEndInRealTime) {
    // As on a machine without a sound card: a spin's worth of step sounds, 30 ms apart,
    // all end about 50 ms after they start rather than lingering for the stall timeout.
    output_ = std::make_shared<WaveOutput>(std::make_unique<SilentSink>());
    const Value step = Value::of_bytes(test::step_sound_wav());
    for (int i = 0; i < 30; ++i) {
        ASSERT_TRUE(play(step));
        std::this_thread::sleep_for(30ms);
    }
    ASSERT_TRUE(wait_until([] { return player_thread_count() == 0; }));
}

} // namespace
} // namespace tav
