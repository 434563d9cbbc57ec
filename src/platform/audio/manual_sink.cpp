// The test device: its render callback kept under a lock and run only when pull() asks for frames.
#include "platform/audio/manual_sink.hpp"

namespace tav {

bool ManualSink::start(Render render) {
    std::lock_guard lock(mutex_);
    render_ = std::move(render);
    return true;
}

void ManualSink::stop() {
    std::lock_guard lock(mutex_);
    render_ = nullptr;
}

std::vector<std::int16_t> ManualSink::pull(std::size_t frames) {
    std::vector<std::int16_t> out(frames * 2);
    std::lock_guard lock(mutex_);
    if (render_) render_(out);
    return out;
}

} // namespace tav
