// Headless windows as records, waits that move the virtual clock, and the input and wall clocks tests drive.
#include "platform/headless/headless_backend.hpp"

#include <algorithm>
#include <stdexcept>

namespace tav::platform {

namespace {

// Days since 1970-01-01 of a civil date, and back (proleptic Gregorian calendar).
std::int64_t days_from_civil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civil_from_days(std::int64_t z, int& year, int& month, int& day) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yoe + era * 400 + (month <= 2));
}

constexpr std::int64_t kSecondsPerDay = 86400;

} // namespace

// --- Backend --------------------------------------------------------------------------------

void HeadlessBackend::attach(WindowSystem& system) { system_ = &system; }

std::uint64_t HeadlessBackend::now_ms() { return now_.load(std::memory_order_relaxed); }

Size HeadlessBackend::screen_size() { return kScreenSize; }

Size HeadlessBackend::frame_size(const TopLevelStyle&) { return {}; }

bool HeadlessBackend::create_native(WindowHandle w, Size client, const TopLevelStyle& style,
                                    std::string_view caption_utf8) {
    natives_[w] = Native{false, true, {}, client, std::string(caption_utf8), style, {}, false, false};
    return true;
}

void HeadlessBackend::destroy_native(WindowHandle w) { natives_.erase(w); }

void HeadlessBackend::show_native(WindowHandle w, bool visible, Point screen_pos) {
    auto it = natives_.find(w);
    if (it == natives_.end()) return;
    Native& n = it->second;
    n.visible = visible;
    n.position = screen_pos;
    if (!visible || n.shown_once) return;
    n.shown_once = true;
    n.minimised = n.style.start_state == StartState::Minimised;
    if (n.style.start_state == StartState::Maximised && n.style.resizable) {
        schedule(now_ms(), [this, w] {
            auto found = natives_.find(w);
            if (found == natives_.end()) return;
            found->second.position = {};
            found->second.client = kScreenSize;
            system_->on_native_placed(w, {}, kScreenSize);
        });
    }
}

void HeadlessBackend::move_native(WindowHandle w, Point screen_pos, Size client) {
    auto it = natives_.find(w);
    if (it == natives_.end()) return;
    it->second.position = screen_pos;
    it->second.client = client;
}

void HeadlessBackend::set_native_caption(WindowHandle w, std::string_view caption_utf8) {
    if (auto it = natives_.find(w); it != natives_.end()) it->second.caption = std::string(caption_utf8);
}

void HeadlessBackend::set_native_icon(WindowHandle w, const Bitmap& icon) {
    if (auto it = natives_.find(w); it != natives_.end()) it->second.icon = icon.size();
}

void HeadlessBackend::set_native_enabled(WindowHandle w, bool enabled) {
    if (auto it = natives_.find(w); it != natives_.end()) it->second.enabled = enabled;
}

void HeadlessBackend::present(WindowHandle, const Bitmap&, std::span<const Rect> areas) {
    ++present_count_;
    last_areas_.assign(areas.begin(), areas.end());
}

void HeadlessBackend::wait(std::optional<std::uint64_t> deadline_ms) {
    {
        std::lock_guard lock(wake_mutex_);
        if (woken_) {
            woken_ = false;
            return;
        }
    }
    std::optional<std::uint64_t> target = deadline_ms;
    auto earliest = [&target](std::uint64_t t) { target = target ? std::min(*target, t) : t; };
    if (!scheduled_.empty()) earliest(scheduled_.begin()->first);
    if (limit_ && *limit_ > now_ms()) {
        earliest(*limit_);
    } else if (limit_ && now_ms() - *limit_ > kOverrunMs) {
        // A loop nested inside run_until() that never ends would otherwise run for ever.
        throw std::runtime_error("headless: a nested loop ran far past the end of run_until()/run_for()");
    }
    if (!target) {
        if (wait_for_threads_) {
            std::unique_lock lock(wake_mutex_);
            wake_cv_.wait(lock, [this] { return woken_; });
            woken_ = false;
        }
        return;
    }
    if (*target > now_ms()) now_.store(*target, std::memory_order_relaxed);
    deliver_due_input();
}

void HeadlessBackend::wake() {
    {
        std::lock_guard lock(wake_mutex_);
        woken_ = true;
    }
    wake_cv_.notify_all();
}

bool HeadlessBackend::can_receive_input() {
    return !scheduled_.empty() || (limit_ && now_ms() < *limit_) || wait_for_threads_;
}

void HeadlessBackend::deliver_due_input() {
    while (!scheduled_.empty() && scheduled_.begin()->first <= now_ms()) {
        auto input = std::move(scheduled_.begin()->second);
        scheduled_.erase(scheduled_.begin());
        input();
    }
}

// --- Test side ------------------------------------------------------------------------------

WindowSystem& HeadlessBackend::system() { return *system_; }

void HeadlessBackend::mouse_down(WindowHandle top, Point client, MouseButton b) {
    system_->on_native_mouse_button(top, b, true, client);
}

void HeadlessBackend::mouse_up(WindowHandle top, Point client, MouseButton b) {
    system_->on_native_mouse_button(top, b, false, client);
}

void HeadlessBackend::mouse_move(WindowHandle top, Point client) { system_->on_native_mouse_move(top, client); }

HeadlessBackend::HeadlessBackend(int scale) : scale_(std::clamp(scale, 1, 3)) {}

Point HeadlessBackend::from_native(Point native) const {
    auto down = [this](int v) { return v >= 0 ? v / scale_ : -((-v + scale_ - 1) / scale_); };
    return {down(native.x), down(native.y)};
}

void HeadlessBackend::click_native(WindowHandle top, Point native, MouseButton b) {
    click(top, from_native(native), b);
}

void HeadlessBackend::click(WindowHandle top, Point client, MouseButton b) {
    mouse_move(top, client);
    mouse_down(top, client, b);
    mouse_up(top, client, b);
}

void HeadlessBackend::key_down(WindowHandle top, int vk) { system_->on_native_key(top, vk, true); }

void HeadlessBackend::key_up(WindowHandle top, int vk) { system_->on_native_key(top, vk, false); }

void HeadlessBackend::press_key(WindowHandle top, int vk) {
    key_down(top, vk);
    key_up(top, vk);
}

void HeadlessBackend::type_char(WindowHandle top, std::uint32_t character) { system_->on_native_char(top, character); }

void HeadlessBackend::request_close(WindowHandle top) { system_->on_native_close_request(top); }

void HeadlessBackend::request_session_end() { system_->on_native_session_end(); }

void HeadlessBackend::schedule(std::uint64_t at_ms, std::function<void()> input) {
    scheduled_.emplace(at_ms, std::move(input));
}

void HeadlessBackend::schedule_click(WindowHandle top, Point client, MouseButton b, std::uint64_t at_ms) {
    schedule(at_ms, [this, top, client, b] { click(top, client, b); });
}

void HeadlessBackend::schedule_mouse_move(WindowHandle top, Point client, std::uint64_t at_ms) {
    schedule(at_ms, [this, top, client] { mouse_move(top, client); });
}

void HeadlessBackend::schedule_key(WindowHandle top, int vk, bool down, std::uint64_t at_ms) {
    schedule(at_ms, [this, top, vk, down] { system_->on_native_key(top, vk, down); });
}

void HeadlessBackend::advance(std::uint64_t ms) { now_.fetch_add(ms, std::memory_order_relaxed); }

bool HeadlessBackend::run_until(const std::function<bool()>& done, std::uint64_t max_virtual_ms) {
    const std::uint64_t end = now_ms() + max_virtual_ms;
    const auto saved = limit_;
    limit_ = end;
    const bool timed_out = system_->run([&] { return done() || now_ms() >= end; }) && !done();
    limit_ = saved;
    // Work due at the very end (a tick at `end`) still runs.
    if (timed_out) system_->process_pending();
    return done();
}

void HeadlessBackend::run_for(std::uint64_t ms) {
    run_until([] { return false; }, ms);
}

void HeadlessBackend::set_wait_for_threads(bool on) { wait_for_threads_ = on; }

std::function<LocalTime()> HeadlessBackend::wall_clock(LocalTime start, bool running) {
    const std::int64_t start_seconds = days_from_civil(start.year, start.month, start.day) * kSecondsPerDay +
                                       start.hour * 3600 + start.minute * 60 + start.second;
    const std::uint64_t start_ms = now_ms();
    return [this, start_seconds, start_ms, running] {
        const std::uint64_t elapsed = running ? (now_ms() - start_ms) / 1000 : 0;
        const std::int64_t total = start_seconds + static_cast<std::int64_t>(elapsed);
        std::int64_t days = total / kSecondsPerDay;
        std::int64_t secs = total % kSecondsPerDay;
        if (secs < 0) {
            secs += kSecondsPerDay;
            --days;
        }
        LocalTime t{};
        civil_from_days(days, t.year, t.month, t.day);
        t.hour = static_cast<int>(secs / 3600);
        t.minute = static_cast<int>(secs / 60 % 60);
        t.second = static_cast<int>(secs % 60);
        return t;
    };
}

const HeadlessBackend::Native* HeadlessBackend::native(WindowHandle w) const {
    auto it = natives_.find(w);
    return it == natives_.end() ? nullptr : &it->second;
}

} // namespace tav::platform
