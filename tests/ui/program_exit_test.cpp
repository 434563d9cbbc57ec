// Ending the program: exit code 0 when the window closes (timers running or not) or the session
// ends under an open box, and −1 with the exact error box after a fatal error, no handler running
// once the box is up. Each program runs in a child process; the box is answered by an Enter key
// sent at a virtual time.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/input.hpp"
#include "runtime/runtime_error.hpp"
#include "runtime/startup.hpp"
#include "test_window.hpp"
#include "ui/message_box.hpp"

namespace tav::test {
namespace {

struct ChildResult {
    int status = -1;    // exit status, −1 when the child did not exit normally
    std::string output; // what the child wrote to its pipe
};

// Runs `body` in a child process; it writes its observations with `report`.
ChildResult run_child(const std::function<int(const std::function<void(std::string_view)>& report)>& body) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const int out = fds[1];
        const auto report = [out](std::string_view s) { (void)!write(out, s.data(), s.size()); };
        const int code = body(report);
        std::fflush(nullptr);
        _exit(code);
    }
    close(fds[1]);
    ChildResult r;
    char buf[512];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) r.output.append(buf, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
    return r;
}

// Services that answer every box with Enter after `delay_ms` of virtual time and report its text.
[[nodiscard]] ui::Services answer_boxes(platform::HeadlessBackend* backend,
                                        const std::function<void(std::string_view)>& report, std::uint64_t delay_ms) {
    return {.message_box_opened = [=](const ui::MessageBoxInfo& box) {
        report("[box " + std::string(box.caption.view()) + "|" + std::to_string(box.style) + "|" +
               std::string(box.text.view()) + "]");
        backend->schedule_key(box.window, platform::vk::kReturn, true, backend->now_ms() + delay_ms);
    }};
}

// Starts the timer at `period_ms` once the window is created and reports every tick as "t".
void report_ticks(EventLog& log, const std::function<void(std::string_view)>& report, std::int32_t period_ms) {
    log.actions["window:Created"] = [period_ms](auto) {
        set_property(kWindow, kTimer, 8, -1, Value::of_integer(period_ms));
        return std::nullopt;
    };
    log.actions["timer:Tick"] = [report](auto) {
        report("t");
        return std::nullopt;
    };
}

std::string box(std::string_view text_gbk) {
    return "[box " + std::string(gbk("错误").view()) + "|16|" + std::string(text_gbk) + "]";
}

TEST(ProgramExit, ClosingTheWindowEndsWithZeroWhileTimersRun) {
    const ChildResult r = run_child([](const auto& report) {
        EventLog log;
        ui::LayoutData layout = test_layout(log);
        auto backend = std::make_unique<platform::HeadlessBackend>();
        platform::HeadlessBackend* b = backend.get();
        report_ticks(log, report, 25);
        b->schedule(110, [b] { b->request_close(Runtime::current()->window_handle_of(kWindow)); });
        const int code =
            run_program(layout, std::move(backend), [&] { set_end_of_program_hook([&] { report("[end]"); }); });
        report(code == 0 ? "[0]" : "[?]");
        return code;
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "tttt[end][0]");
}

TEST(ProgramExit, SessionEndUnderAnOpenBoxEndsWithZeroAndRunsNoHandlerAfter) {
    // A click opens a box; the window manager's close box is ignored while the box disables the
    // window; a session end (SIGTERM) then asks CloseQuery and ends the program from inside the
    // box's loop. The timer ticks every 20 ms, inside the box too, until the end.
    const auto run = [](bool refuse_once) {
        return run_child([refuse_once](const auto& report) {
            EventLog log;
            ui::LayoutData layout = test_layout(log);
            auto backend = std::make_unique<platform::HeadlessBackend>();
            platform::HeadlessBackend* b = backend.get();
            const auto top = [] { return Runtime::current()->window_handle_of(kWindow); };
            report_ticks(log, report, 20);
            bool refused = false;
            log.actions["window:CloseQuery"] = [&](auto) -> std::optional<std::int32_t> {
                report("[query]");
                if (refuse_once && !refused) return refused = true, 0;
                return std::nullopt;
            };
            log.actions["window:Destroying"] = [&](auto) {
                report("[destroying]");
                return std::nullopt;
            };
            log.actions["button:Click"] = [&](auto) {
                report("[box]");
                Runtime& runtime = *Runtime::current();
                const std::int32_t answer =
                    ui::show_message_box(runtime.windows(), runtime.services(), Value::of_text("m"), {}, {});
                report("[box " + std::to_string(answer) + "]");
                set_property(kWindow, kEditBox, 8, -1, Value::of_text("x")); // would raise ContentChanged
                return std::nullopt;
            };
            log.actions["edit:ContentChanged"] = [&](auto) {
                report("[changed]");
                return std::nullopt;
            };
            ui::Services services{.message_box_opened = [&](const ui::MessageBoxInfo&) {
                b->schedule(b->now_ms() + 5, [=] { b->request_close(top()); });
                b->schedule(b->now_ms() + 15, [=] { b->request_session_end(); });
                b->schedule(b->now_ms() + 35, [=] { b->request_session_end(); });
            }};
            b->schedule(50, [=] { b->click(top(), TestProgram::at(kButtonRect, 5, 5)); });
            const int code = run_program(
                layout, std::move(backend), [&] { set_end_of_program_hook([&] { report("[end]"); }); },
                std::move(services));
            report(code == 0 ? "[0]" : "[?]");
            return code;
        });
    };
    ChildResult r = run(false);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "tt[box]t[query][box 0][end][0]");
    // A CloseQuery refusing the first request keeps the program (and the box) going until the second.
    r = run(true);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "tt[box]t[query]t[query][box 0][end][0]");
}

TEST(ProgramExit, FatalErrorShowsTheBoxRunsNoHandlerAfterItAndExitsWithMinusOne) {
    const ChildResult r = run_child([](const auto& report) {
        EventLog log;
        ui::LayoutData layout = test_layout(log);
        auto backend = std::make_unique<platform::HeadlessBackend>();
        // Four timer periods pass while the box is up.
        ui::Services services = answer_boxes(backend.get(), report, 200);
        int ticks = 0;
        log.actions["window:Created"] = [](auto) {
            set_property(kWindow, kTimer, 8, -1, Value::of_integer(50));
            return std::nullopt;
        };
        log.actions["timer:Tick"] = [&](auto) {
            report("t");
            if (++ticks == 2) get_property(kWindow, 0x1601FFFF, 8); // no such control
            return std::nullopt;
        };
        return run_program(
            layout, std::move(backend), [&] { set_end_of_program_hook([&] { report("[end]"); }); },
            std::move(services));
    });
    EXPECT_EQ(r.status, 255);
    const std::string text = std::string(gbk("运行时出错!").view()) + "\r\n\r\n" +
                             std::string(gbk("错误信息：").view()) +
                             std::string(gbk("指定窗口或窗口组件不存在或尚未载入").view()) + "\r\n";
    EXPECT_EQ(r.output, "tt" + box(text) + "[end]");
}

TEST(ProgramExit, StartupFailuresAndCodedErrorsShowTheirExactText) {
    const auto run = [](std::function<void(ui::LayoutData&)> edit) {
        return run_child([edit](const auto& report) {
            EventLog log;
            ui::LayoutData layout = test_layout(log);
            edit(layout);
            auto backend = std::make_unique<platform::HeadlessBackend>();
            ui::Services services = answer_boxes(backend.get(), report, 10);
            return run_program(layout, std::move(backend), {}, std::move(services));
        });
    };
    const std::string head = std::string(gbk("运行时出错!").view()) + "\r\n\r\n";
    const std::string info = std::string(gbk("错误信息：").view());

    ChildResult r = run([](ui::LayoutData& l) { l.windows.clear(); });
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.output, box(head + info + std::string(gbk("载入窗口模板数据段出错!").view()) + "\r\n"));

    r = run([](ui::LayoutData& l) { l.windows[0].controls.back().kind = 0x00010063; }); // a kind we lack
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.output, box(head + info + std::string(gbk("载入启动窗口失败").view()) + "\r\n"));

    r = run([](ui::LayoutData& l) { l.startup_window = 0x52010077; }); // readable, but no such window
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.output, box(head + info + std::string(gbk("载入启动窗口失败").view()) + "\r\n"));

    r = run_child([](const auto& report) {
        EventLog log;
        auto backend = std::make_unique<platform::HeadlessBackend>();
        ui::Services services = answer_boxes(backend.get(), report, 10);
        Runtime rt(test_layout(log), std::move(backend), std::move(services));
        rt.report_runtime_error("", 7);
        return 0;
    });
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.output, box(head + std::string(gbk("错误代码：").view()) + "7\r\n\r\n"));
}

// The sanitizers reserve terabytes of address space: a limit on it cannot be tested under them.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kAddressSpaceLimitable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kAddressSpaceLimitable = false;
#else
constexpr bool kAddressSpaceLimitable = true;
#endif
#else
constexpr bool kAddressSpaceLimitable = true;
#endif

// A 2 x 2 red 24-bit BMP.
Bytes red_bmp() {
    Bytes b(54 + 16, 0);
    const auto put = [&b](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put(2, std::uint32_t(b.size())), put(10, 54), put(14, 40), put(18, 2), put(22, 2);
    b[26] = 1, b[28] = 24;
    for (std::size_t row : {54u, 62u}) b[row + 2] = b[row + 5] = 255;
    return b;
}

TEST(ProgramExit, MemoryTheRuntimeCannotGetIsTheFatalErrorAndAHugeStretchedPictureCostsOnlyTheVisible) {
    if (!kAddressSpaceLimitable) GTEST_SKIP() << "address space is not limitable under a sanitizer";
    const auto limited =
        [](const std::function<void(platform::HeadlessBackend*, const std::function<void(std::string_view)>&)>& act) {
            return run_child([act](const auto& report) {
                const rlimit limit{3'000'000'000, 3'000'000'000};
                setrlimit(RLIMIT_AS, &limit);
                EventLog log;
                ui::LayoutData layout = test_layout(log);
                auto backend = std::make_unique<platform::HeadlessBackend>();
                platform::HeadlessBackend* b = backend.get();
                ui::Services services = answer_boxes(b, report, 10);
                b->schedule(50, [b, act, report] { act(b, report); });
                const int code = run_program(
                    layout, std::move(backend), [&] { set_end_of_program_hook([report] { report("[end]"); }); },
                    std::move(services));
                report(code == 0 ? "[0]" : "[?]");
                return code;
            });
        };
    // The window grown to 32627 x 32627: its 4 GB framebuffer cannot be had.
    ChildResult r = limited([](platform::HeadlessBackend*, const auto&) {
        set_property(kWindow, kSelf, 2, -1, Value::of_integer(40000));
        set_property(kWindow, kSelf, 3, -1, Value::of_integer(40000));
    });
    EXPECT_EQ(r.status, 255);
    const std::string head = "[box " + std::string(gbk("错误").view()) + "|16|" +
                             std::string(gbk("运行时出错!").view()) + "\r\n\r\n" +
                             std::string(gbk("错误信息：分配 ").view());
    ASSERT_EQ(r.output.substr(0, head.size()), head) << r.output;
    const std::string tail = std::string(gbk(" 字节内存失败!").view()) + "\r\n][end]";
    ASSERT_GT(r.output.size(), head.size() + tail.size());
    EXPECT_EQ(r.output.substr(r.output.size() - tail.size()), tail);
    const std::string bytes = r.output.substr(head.size(), r.output.size() - head.size() - tail.size());
    EXPECT_GT(std::stoull(bytes), 3'000'000'000ull) << bytes; // the pixels asked for, not a guess
    EXPECT_EQ(std::stoull(bytes) % 4, 0u);

    // A picture box of that size stretching its picture in an ordinary window paints what shows.
    r = limited([](platform::HeadlessBackend* b, const auto& report) {
        set_property(kWindow, kPicBtn, 5, -1, Value::of_bool(false));
        set_property(kWindow, kPicBox, 10, -1, Value::of_bytes(red_bmp()));
        set_property(kWindow, kPicBox, 11, -1, Value::of_integer(1));
        set_property(kWindow, kPicBox, 2, -1, Value::of_integer(40000));
        set_property(kWindow, kPicBox, 3, -1, Value::of_integer(40000));
        b->schedule(b->now_ms() + 50, [b, report] {
            const auto top = Runtime::current()->window_handle_of(kWindow);
            const Bitmap& fb = Runtime::current()->windows().framebuffer(top);
            const Point at = TestProgram::at(kPicBoxRect, 100, 100);
            report((fb.pixel(at.x, at.y) | 0xFF000000u) == rgb(255, 0, 0) ? "[red]" : "[not red]");
            b->request_close(top);
        });
    });
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "[red][end][0]");
}

TEST(ProgramExit, EventsNamingUnknownWindowsOrControlsAreFatal) {
    const auto raise = [](EventNotice notice) {
        return run_child([notice](const auto& report) mutable {
            EventLog log;
            auto backend = std::make_unique<platform::HeadlessBackend>();
            ui::Services services = answer_boxes(backend.get(), report, 10);
            Runtime rt(test_layout(log), std::move(backend), std::move(services));
            rt.load_window(kWindow);
            rt.raise_event(notice);
            return 0;
        });
    };
    const auto message = [](std::string_view utf8) {
        return box(std::string(error_box_text(gbk(utf8).view(), 0).view()));
    };
    ChildResult r = raise({0x52010002, 0, 0});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.output, message("未找到引发事件的窗口"));
    r = raise({kWindow, 0x16017777, 0});
    EXPECT_EQ(r.status, 255);
    EXPECT_EQ(r.output, message("未找到引发事件的窗口组件"));
    r = raise({kWindow, kButton, 0});
    EXPECT_EQ(r.status, 0); // a bound event of an existing control runs its handler
}

} // namespace
} // namespace tav::test
