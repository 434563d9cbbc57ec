// Events reaching their handlers: clicks, spins, picture buttons, common mouse and key events,
// closing the window, and re-creation holding every handler back.
#include <gtest/gtest.h>

#include "platform/input.hpp"
#include "test_window.hpp"
#include "ui/pic_btn.hpp"

namespace tav::test {
namespace {

namespace vk = platform::vk;

class Events : public ::testing::Test {
protected:
    void SetUp() override {
        p_.load();
        p_.log.entries.clear();
    }
    void settle() { p_.ws().process_pending(); }
    TestProgram p_;
};

TEST_F(Events, ButtonClicksOnlyWhenReleasedOverItAndByKeyWhenFocused) {
    p_.backend->click(p_.top(), TestProgram::at(kButtonRect, 5, 5));
    settle();
    EXPECT_EQ(p_.log.count("button:Click"), 1u);
    EXPECT_EQ(p_.log.count("button:GotFocus"), 1u);

    p_.backend->mouse_down(p_.top(), TestProgram::at(kButtonRect, 5, 5));
    p_.backend->mouse_move(p_.top(), {300, 250});
    p_.backend->mouse_up(p_.top(), {300, 250});
    settle();
    EXPECT_EQ(p_.log.count("button:Click"), 1u);

    p_.backend->press_key(p_.top(), vk::kSpace);
    settle();
    EXPECT_EQ(p_.log.count("button:Click"), 2u);

    // A disabled button takes no click.
    p_.set(kButton, 6, Value::of_bool(true));
    p_.backend->click(p_.top(), TestProgram::at(kButtonRect, 5, 5));
    settle();
    EXPECT_EQ(p_.log.count("button:Click"), 2u);
}

TEST_F(Events, SpinArrowsAdjustByOneEachPressAndRepeatWhileHeld) {
    const Point up = TestProgram::at(kSpinRect, 10, 5);
    const Point down = TestProgram::at(kSpinRect, 10, kSpinRect.height - 5);
    p_.backend->click(p_.top(), up);
    p_.backend->click(p_.top(), down);
    p_.backend->click(p_.top(), up);
    settle();
    std::vector<std::string> adjusts;
    for (const auto& e : p_.log.entries)
        if (e.starts_with("spin:Adjust")) adjusts.push_back(e);
    EXPECT_EQ(adjusts, (std::vector<std::string>{"spin:Adjust 1", "spin:Adjust -1", "spin:Adjust 1"}));

    p_.log.entries.clear();
    p_.backend->mouse_down(p_.top(), down);
    p_.backend->run_for(499);
    EXPECT_EQ(p_.log.count("spin:Adjust -1"), 1u); // the press itself
    p_.backend->run_for(1);
    EXPECT_EQ(p_.log.count("spin:Adjust -1"), 2u); // first repeat after 500 ms
    p_.backend->run_for(300);
    EXPECT_EQ(p_.log.count("spin:Adjust -1"), 5u); // then every 100 ms
    p_.backend->mouse_up(p_.top(), down);
    p_.backend->run_for(1000);
    EXPECT_EQ(p_.log.count("spin:Adjust -1"), 5u);
    EXPECT_EQ(p_.log.count("spin:Adjust 1"), 0u);
}

TEST_F(Events, TheSecondPressOfADoubleClickPressesButtonsAndArrowsAgain) {
    const auto double_click = [&](Point at) {
        p_.backend->click(p_.top(), at);
        p_.ws().on_native_mouse_button(p_.top(), platform::MouseButton::Left, true, at, true);
        p_.backend->mouse_up(p_.top(), at);
        settle();
    };
    double_click(TestProgram::at(kSpinRect, 10, 5));
    double_click(TestProgram::at(kButtonRect, 5, 5));
    EXPECT_EQ(p_.log.count("spin:Adjust 1"), 2u);
    EXPECT_EQ(p_.log.count("button:Click"), 2u);
}

TEST_F(Events, HorizontalSpinStepsUpWithTheRightArrow) {
    p_.set(kSpin, 8, Value::of_integer(0));
    p_.backend->click(p_.top(), TestProgram::at(kSpinRect, kSpinRect.width - 3, 20));
    p_.backend->click(p_.top(), TestProgram::at(kSpinRect, 3, 20));
    settle();
    EXPECT_EQ(p_.log.count("spin:Adjust 1"), 1u);
    EXPECT_EQ(p_.log.count("spin:Adjust -1"), 1u);
}

TEST_F(Events, PictureButtonClicksOnlyWhenReleasedInsideAndTracksItsState) {
    auto* btn = static_cast<ui::PicBtn*>(p_.runtime->find_control(kWindow, kPicBtn));
    const Point inside = TestProgram::at(kPicBtnRect, 30, 30);
    p_.backend->mouse_move(p_.top(), inside);
    settle();
    EXPECT_EQ(btn->state(), ui::PicBtn::kHot);
    p_.backend->mouse_down(p_.top(), inside);
    settle();
    EXPECT_EQ(btn->state(), ui::PicBtn::kPressed);
    p_.backend->mouse_move(p_.top(), {350, 250});
    settle();
    EXPECT_EQ(btn->state(), ui::PicBtn::kNormal);
    p_.backend->mouse_up(p_.top(), {350, 250});
    settle();
    EXPECT_EQ(p_.log.count("picbtn:Click"), 0u);

    p_.backend->mouse_move(p_.top(), inside);
    p_.backend->mouse_down(p_.top(), inside);
    p_.backend->mouse_up(p_.top(), inside);
    settle();
    EXPECT_EQ(p_.log.count("picbtn:Click"), 1u);
    EXPECT_EQ(btn->state(), ui::PicBtn::kNormal);

    // A two-state button toggles Down on every click and shows pressed while down.
    p_.set(kPicBtn, 8, Value::of_integer(1));
    p_.backend->click(p_.top(), inside);
    settle();
    EXPECT_EQ(p_.get_int(kPicBtn, 9), 1);
    EXPECT_EQ(btn->state(), ui::PicBtn::kPressed);
    p_.backend->click(p_.top(), inside);
    settle();
    EXPECT_EQ(p_.get_int(kPicBtn, 9), 0);
    EXPECT_EQ(p_.log.count("picbtn:Click"), 3u);

    // Hidden, the button lets the click reach the picture box beneath.
    p_.set(kPicBtn, 5, Value::of_bool(false));
    p_.backend->click(p_.top(), inside);
    settle();
    EXPECT_EQ(p_.log.count("picbox:LeftDown 28 28 0"), 1u);
}

TEST_F(Events, CommonMouseAndKeyEventsCarryTheirArguments) {
    // RightDown is bound on the window alone: a right click on a child raises nothing there.
    p_.backend->click(p_.top(), {300, 250}, platform::MouseButton::Right);
    p_.backend->click(p_.top(), {15, 15}, platform::MouseButton::Right);
    p_.backend->click(p_.top(), {15, 15});
    settle();
    EXPECT_EQ(p_.log.count("window:RightDown 300 250 0"), 1u);
    EXPECT_EQ(p_.log.count("label:LeftDown 5 5 0"), 1u);
    EXPECT_EQ(p_.log.entries.size(), 2u);

    p_.ws().set_focus(p_.top());
    p_.log.entries.clear();
    p_.backend->key_down(p_.top(), vk::kControl); // a modifier does not report itself
    p_.backend->key_down(p_.top(), vk::kNumpad0 + 7);
    p_.backend->key_up(p_.top(), vk::kControl);
    p_.backend->key_down(p_.top(), vk::kSubtract);
    p_.backend->key_down(p_.top(), vk::kDecimal);
    p_.backend->key_down(p_.top(), vk::kDivide);
    p_.ws().on_native_wheel(p_.top(), -240, {300, 250});
    p_.ws().on_native_wheel(p_.top(), 119, {300, 250});
    settle();
    EXPECT_EQ(p_.log.entries,
              (std::vector<std::string>{"window:KeyDown 17 0", "window:KeyDown 55 1", "window:KeyDown 189 0",
                                        "window:KeyDown 190 0", "window:KeyDown 191 0", "window:Wheel -2 0",
                                        "window:Wheel 0 0"}));
}

TEST_F(Events, HandlerResultsStopOrReplaceTheControlsOwnProcessing) {
    TestProgram q([](ui::LayoutData& layout) {
        for (auto& c : layout.windows[0].controls) {
            if (c.id != kEditBox) continue;
            c.visible = true;
            c.rect = {300, 200, 80, 24};
            c.events.push_back({-11, [](std::span<const std::int32_t> a) -> std::optional<std::int32_t> {
                                    if (a[0] == 'a') return 'B'; // replaced
                                    if (a[0] == 'x') return 0;   // swallowed
                                    return std::nullopt;
                                }});
        }
    });
    q.load();
    q.backend->click(q.top(), {310, 210});
    for (char ch : std::string("axc")) q.backend->type_char(q.top(), static_cast<std::uint8_t>(ch));
    q.ws().process_pending();
    EXPECT_EQ(q.get(kEditBox, 8).text(), Text("Bc"));
}

TEST_F(Events, CloseQueryRefusingKeepsTheWindowAndClosingRaisesDestroyingAndEndsTheLoop) {
    p_.log.actions["window:CloseQuery"] = [](auto) { return std::optional<std::int32_t>(0); };
    p_.backend->request_close(p_.top());
    settle();
    EXPECT_TRUE(p_.runtime->is_loaded(kWindow));
    EXPECT_EQ(p_.log.count("window:CloseQuery"), 1u);

    p_.log.actions["window:CloseQuery"] = [](auto) { return std::optional<std::int32_t>(1); };
    p_.set(kTimer, 8, Value::of_integer(40)); // a running timer does not keep the program alive
    p_.backend->schedule(100, [&] { p_.backend->request_close(p_.top()); });
    p_.runtime->run_message_loop();
    EXPECT_FALSE(p_.runtime->is_loaded(kWindow));
    EXPECT_EQ(p_.log.count("window:Destroying"), 1u);
    EXPECT_TRUE(p_.ws().quit_posted());
    EXPECT_EQ(p_.ws().exit_code(), 0);
    EXPECT_GE(p_.log.count("timer:Tick"), 2u);
}

TEST_F(Events, RecreationKeepsPlaceOrderAndFocusAndRunsNoHandler) {
    const auto before = p_.ws().children(p_.top());
    const platform::WindowHandle old = p_.handle(kSpin);
    const auto index = std::find(before.begin(), before.end(), old) - before.begin();
    p_.ws().set_focus(old);
    settle();
    p_.log.entries.clear();

    p_.set(kSpin, 8, Value::of_integer(1)); // unchanged: nothing re-created
    EXPECT_EQ(p_.handle(kSpin), old);
    p_.set(kSpin, 9, Value::of_bool(true)); // HotTrack changes: re-created
    settle();
    const platform::WindowHandle fresh = p_.handle(kSpin);
    EXPECT_NE(fresh, old);
    EXPECT_FALSE(p_.ws().exists(old));
    const auto after = p_.ws().children(p_.top());
    EXPECT_EQ(std::find(after.begin(), after.end(), fresh) - after.begin(), index);
    EXPECT_EQ(p_.ws().rect(fresh), kSpinRect);
    EXPECT_TRUE(p_.ws().is_visible(fresh));
    EXPECT_EQ(p_.ws().focus(), fresh);
    EXPECT_EQ(p_.get_int(kSpin, 9), 1);
    EXPECT_TRUE(p_.log.entries.empty()) << p_.log.entries.front();

    // The re-created control works as before.
    p_.backend->click(p_.top(), TestProgram::at(kSpinRect, 10, 5));
    settle();
    EXPECT_EQ(p_.log.count("spin:Adjust 1"), 1u);

    // A button's picture re-creates it too, with its caption kept.
    const platform::WindowHandle button = p_.handle(kButton);
    p_.set(kButton, 8, Value::of_bytes(std::vector<std::uint8_t>{'B', 'M', 0, 0, 0, 0}));
    EXPECT_NE(p_.handle(kButton), button);
    EXPECT_EQ(p_.get(kButton, 10).text(), gbk("开始"));
}

} // namespace
} // namespace tav::test
