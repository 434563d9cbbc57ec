// The message queue and the loops: posted and input messages in order, then pending paints,
// then due timers; thread-safe posts through a small locked inbox; quit ends every loop.

#include "platform/window_system_impl.hpp"

namespace tav::platform {

WindowSystem::WindowSystem(std::unique_ptr<Backend> backend) : impl_(std::make_unique<Impl>(std::move(backend))) {
    impl_->windows.emplace_back(); // handle 0 is no window
    impl_->backend->attach(*this);
}

WindowSystem::~WindowSystem() {
    for (WindowHandle h : impl_->top_levels) impl_->backend->destroy_native(h);
}

Backend& WindowSystem::backend() { return *impl_->backend; }

std::uint64_t WindowSystem::now_ms() const { return impl_->backend->now_ms(); }

// --- Impl ----------------------------------------------------------------------------------

void WindowSystem::Impl::drain_inbox() {
    if (!inbox_pending.load(std::memory_order_acquire)) return;
    std::optional<int> quit_code;
    {
        std::lock_guard lock(inbox_mutex);
        for (QueuedMessage& m : inbox) queue.push_back(std::move(m));
        inbox.clear();
        quit_code = inbox_quit;
        inbox_quit.reset();
        inbox_pending.store(false, std::memory_order_release);
    }
    if (quit_code) {
        quit = true;
        exit_code = *quit_code;
    }
}

bool WindowSystem::Impl::take_message() {
    if (queue.empty()) return false;
    const QueuedMessage m = std::move(queue.front());
    queue.pop_front();
    switch (m.kind) {
        case QueuedMessage::Kind::Posted:
            if (Window* w = find(m.window)) w->delegate->on_posted(m.message, m.wparam, m.lparam);
            break;
        case QueuedMessage::Kind::Input: dispatch_input(m); break;
        case QueuedMessage::Kind::MouseLeave:
            // The pointer left the native window; a captured pointer still belongs to its window.
            if (capture == kNoWindow && hover != kNoWindow && find(hover) && top_of(*find(hover)).handle == m.window) {
                mouse_leave_to(kNoWindow);
            }
            break;
        case QueuedMessage::Kind::Close:
            if (Window* w = find(m.window); w && w->top_level) w->delegate->on_close_request();
            break;
        case QueuedMessage::Kind::SessionEnd: {
            // A copy: a delegate may open or destroy windows while it answers.
            const std::vector<WindowHandle> tops = top_levels;
            for (WindowHandle h : tops) {
                Window* w = find(h);
                if (w && !w->delegate->on_session_end_query()) return true; // refused
            }
            if (!quit) exit_code = 0;
            quit = true;
            break;
        }
    }
    return true;
}

bool WindowSystem::Impl::step() {
    drain_inbox();
    if (take_message()) return true;
    if (paint_one()) return true;
    const auto due = next_timer_due();
    if (!due) return false;
    const std::uint64_t now = backend->now_ms();
    if (*due > now) return false;
    // Input that has already arrived goes before the tick.
    backend->wait(now);
    drain_inbox();
    if (take_message()) return true;
    return deliver_due_timer(backend->now_ms());
}

void WindowSystem::Impl::enqueue_input(WindowHandle top, const InputMessage& input) {
    QueuedMessage m;
    m.kind = QueuedMessage::Kind::Input;
    m.window = top;
    m.input = input;
    queue.push_back(m);
}

// --- Messages and loops ---------------------------------------------------------------------

void WindowSystem::post_message(WindowHandle w, std::uint32_t message, std::uintptr_t wparam, std::intptr_t lparam) {
    impl_->queue.push_back({QueuedMessage::Kind::Posted, w, message, wparam, lparam, {}});
}

void WindowSystem::post_message_threadsafe(WindowHandle w, std::uint32_t message, std::uintptr_t wparam,
                                           std::intptr_t lparam) {
    {
        std::lock_guard lock(impl_->inbox_mutex);
        impl_->inbox.push_back({QueuedMessage::Kind::Posted, w, message, wparam, lparam, {}});
        impl_->inbox_pending.store(true, std::memory_order_release);
    }
    impl_->backend->wake();
}

void WindowSystem::request_quit_threadsafe(int exit_code) {
    {
        std::lock_guard lock(impl_->inbox_mutex);
        impl_->inbox_quit = exit_code;
        impl_->inbox_pending.store(true, std::memory_order_release);
    }
    impl_->backend->wake();
}

void WindowSystem::post_quit(int exit_code) {
    impl_->quit = true;
    impl_->exit_code = exit_code;
}

bool WindowSystem::quit_posted() const { return impl_->quit; }

int WindowSystem::exit_code() const { return impl_->exit_code; }

bool WindowSystem::run(const std::function<bool()>& until) {
    Impl& i = *impl_;
    for (;;) {
        i.drain_inbox();
        if (i.quit) return false;
        if (until && until()) return true;
        if (i.step()) continue;
        if (i.idle_hook) {
            i.idle_hook();
            if (i.step()) continue;
        }
        if (i.quit) return false;
        const auto due = i.next_timer_due();
        if (!due && !i.backend->can_receive_input() && !i.inbox_pending.load(std::memory_order_acquire)) {
            return true; // nothing can ever happen again
        }
        i.backend->wait(due);
    }
}

void WindowSystem::process_pending() {
    Impl& i = *impl_;
    i.backend->wait(i.backend->now_ms());
    while (!i.quit && i.step()) {}
}

void WindowSystem::set_input_hook(std::function<bool(const InputMessage&)> hook) {
    impl_->input_hook = std::move(hook);
}

void WindowSystem::set_idle_hook(std::function<void()> hook) { impl_->idle_hook = std::move(hook); }

// --- Backend side: input is queued and dispatched by the loop, in order ----------------------

void WindowSystem::on_native_mouse_button(WindowHandle top_level, MouseButton b, bool down, Point p,
                                          bool double_click) {
    InputMessage in;
    in.type = down ? (double_click ? InputMessage::Type::DoubleClick : InputMessage::Type::MouseDown)
                   : InputMessage::Type::MouseUp;
    in.button = b;
    in.pos = p;
    impl_->enqueue_input(top_level, in);
}

void WindowSystem::on_native_mouse_move(WindowHandle top_level, Point p) {
    auto& q = impl_->queue;
    // Moves not yet taken collapse into the latest one.
    if (!q.empty() && q.back().kind == QueuedMessage::Kind::Input && q.back().window == top_level &&
        q.back().input.type == InputMessage::Type::MouseMove) {
        q.back().input.pos = p;
        return;
    }
    InputMessage in;
    in.type = InputMessage::Type::MouseMove;
    in.pos = p;
    impl_->enqueue_input(top_level, in);
}

void WindowSystem::on_native_mouse_leave(WindowHandle top_level) {
    impl_->queue.push_back({QueuedMessage::Kind::MouseLeave, top_level, 0, 0, 0, {}});
}

void WindowSystem::on_native_wheel(WindowHandle top_level, int delta, Point p) {
    InputMessage in;
    in.type = InputMessage::Type::Wheel;
    in.wheel_delta = delta;
    in.pos = p;
    impl_->enqueue_input(top_level, in);
}

void WindowSystem::on_native_key(WindowHandle top_level, int vk, bool down) {
    InputMessage in;
    in.type = down ? InputMessage::Type::KeyDown : InputMessage::Type::KeyUp;
    in.key = vk;
    impl_->enqueue_input(top_level, in);
}

void WindowSystem::on_native_char(WindowHandle top_level, std::uint32_t character) {
    InputMessage in;
    in.type = InputMessage::Type::Char;
    in.key = static_cast<int>(character);
    impl_->enqueue_input(top_level, in);
}

void WindowSystem::on_native_close_request(WindowHandle top_level) {
    impl_->queue.push_back({QueuedMessage::Kind::Close, top_level, 0, 0, 0, {}});
}

void WindowSystem::on_native_session_end() {
    impl_->queue.push_back({QueuedMessage::Kind::SessionEnd, kNoWindow, 0, 0, 0, {}});
}

} // namespace tav::platform
