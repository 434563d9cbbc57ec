// Starting a player on arbitrary bytes, mixing a little of it and stopping it again. The
// device is a manual sink, so nothing is heard and mixing happens on this thread when asked.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "audio/play_sound.hpp"
#include "core/value.hpp"
#include "fuzz_check.hpp"
#include "platform/audio/manual_sink.hpp"

namespace {

// Periods mixed while a player runs: enough to convert the first buffers of any format.
constexpr int kPeriodsMixed = 4;
// Longer than libFuzzer's -timeout, so a player that ignores its stop shows up as a hang
// instead of being let go by the stall rule.
constexpr std::chrono::seconds kStallTimeout{60};

// The output every input plays into, and the sink it mixes into.
struct Output {
    tav::ManualSink* sink = nullptr;
    std::shared_ptr<tav::WaveOutput> output;
};

const Output& shared_output() {
    static const Output made = [] {
        auto owned = std::make_unique<tav::ManualSink>();
        Output o;
        o.sink = owned.get();
        o.output = std::make_shared<tav::WaveOutput>(std::move(owned));
        tav::set_stall_timeout_for_testing(kStallTimeout);
        return o;
    }();
    return made;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Output& out = shared_output();
    tav::ManualSink* sink = out.sink;
    // The length's lowest bit chooses looping, so both kinds of player are reached.
    const tav::Value loop = tav::Value::of_integer(static_cast<std::int32_t>(size & 1));
    const bool started =
        tav::play_sound_async(out.output, tav::Value::of_bytes(std::span<const std::uint8_t>(data, size)), loop);
    if (started) {
        for (int i = 0; i < kPeriodsMixed; ++i) sink->pull(sink->period_frames());
    }
    // No player, player thread or queued buffer may outlive its input.
    tav::stop_all_sounds(true);
    FUZZ_CHECK(tav::active_player_count() == 0);
    FUZZ_CHECK(tav::player_thread_count() == 0);
    FUZZ_CHECK(out.output->queued_lengths().empty());
    return 0;
}
