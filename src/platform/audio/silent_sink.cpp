// The silent device's thread: a period rendered and dropped per period of real time, resynced after a lag.
#include "platform/audio/silent_sink.hpp"

#include <chrono>
#include <system_error>

namespace tav {
namespace {

// Falling further behind than this (a suspended process, a loaded machine) resynchronises
// the clock instead of pulling the backlog in a burst.
constexpr std::chrono::milliseconds kMaxLag{200};

} // namespace

SilentSink::SilentSink(std::uint32_t rate, std::uint32_t period) : rate_(rate), period_(period) {}

SilentSink::~SilentSink() { stop(); }

bool SilentSink::start(Render render) {
    if (thread_.joinable()) return false;
    render_ = std::move(render);
    stopping_ = false;
    try {
        thread_ = std::thread([this] { run(); });
    } catch (const std::system_error&) {
        return false;
    }
    return true;
}

void SilentSink::stop() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void SilentSink::run() {
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(static_cast<double>(period_) / rate_));
    std::vector<std::int16_t> frames(static_cast<std::size_t>(period_) * 2);
    auto due = Clock::now();
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        lock.unlock();
        render_(frames);
        lock.lock();
        due += period;
        const auto now = Clock::now();
        if (now - due > kMaxLag) due = now;
        wake_.wait_until(lock, due, [this] { return stopping_; });
    }
}

} // namespace tav
