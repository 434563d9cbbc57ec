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
        p.load();
        p.log.entries.clear();
    }
    void settle() { p.ws().process_pending(); }
    TestProgram p;
};

TEST_F(Events, ButtonClicksOnlyWhenReleasedOverItAndByKeyWhenFocused) {
    p.backend->click(p.top(), TestProgram::at(kButtonRect, 5, 5));
    settle();
    EXPECT_EQ(p.log.count("button:Click"), 1u);
    EXPECT_EQ(p.log.count("button:GotFocus"), 1u);

    p.backend->mouse_down(p.top(), TestProgram::at(kButtonRect, 5, 5));
    p.backend->mouse_move(p.top(), {300, 250});
    p.backend->mouse_up(p.top(), {300, 250});
    settle();
    EXPECT_EQ(p.log.count("button:Click"), 1u);

    p.backend->press_key(p.top(), vk::kSpace);
    settle();
    EXPECT_EQ(p.log.count("button:Click"), 2u);

    // A disabled button takes no click.
    p.set(kButton, 6, Value::OfBool(true));
    p.backend->click(p.top(), TestProgram::at(kButtonRect, 5, 5));
    settle();
    EXPECT_EQ(p.log.count("button:Click"), 2u);
}

TEST_F(Events, SpinArrowsAdjustByOneEachPressAndRepeatWhileHeld) {
    const Point up = TestProgram::at(kSpinRect, 10, 5);
    const Point down = TestProgram::at(kSpinRect, 10, kSpinRect.height - 5);
    p.backend->click(p.top(), up);
    p.backend->click(p.top(), down);
    p.backend->click(p.top(), up);
    settle();
    std::vector<std::string> adjusts;
    for (const auto& e : p.log.entries)
        if (e.starts_with("spin:Adjust")) adjusts.push_back(e);
    EXPECT_EQ(adjusts, (std::vector<std::string>{"spin:Adjust 1", "spin:Adjust -1", "spin:Adjust 1"}));

    p.log.entries.clear();
    p.backend->mouse_down(p.top(), down);
    p.backend->run_for(499);
    EXPECT_EQ(p.log.count("spin:Adjust -1"), 1u); // the press itself
    p.backend->run_for(1);
    EXPECT_EQ(p.log.count("spin:Adjust -1"), 2u); // first repeat after 500 ms
    p.backend->run_for(300);
    EXPECT_EQ(p.log.count("spin:Adjust -1"), 5u); // then every 100 ms
    p.backend->mouse_up(p.top(), down);
    p.backend->run_for(1000);
    EXPECT_EQ(p.log.count("spin:Adjust -1"), 5u);
    EXPECT_EQ(p.log.count("spin:Adjust 1"), 0u);
}

TEST_F(Events, TheSecondPressOfADoubleClickPressesButtonsAndArrowsAgain) {
    const auto double_click = [&](Point at) {
        p.backend->click(p.top(), at);
        p.ws().on_native_mouse_button(p.top(), platform::MouseButton::Left, true, at, true);
        p.backend->mouse_up(p.top(), at);
        settle();
    };
    double_click(TestProgram::at(kSpinRect, 10, 5));
    double_click(TestProgram::at(kButtonRect, 5, 5));
    EXPECT_EQ(p.log.count("spin:Adjust 1"), 2u);
    EXPECT_EQ(p.log.count("button:Click"), 2u);
}

TEST_F(Events, HorizontalSpinStepsUpWithTheRightArrow) {
    p.set(kSpin, 8, Value::OfInteger(0));
    p.backend->click(p.top(), TestProgram::at(kSpinRect, kSpinRect.width - 3, 20));
    p.backend->click(p.top(), TestProgram::at(kSpinRect, 3, 20));
    settle();
    EXPECT_EQ(p.log.count("spin:Adjust 1"), 1u);
    EXPECT_EQ(p.log.count("spin:Adjust -1"), 1u);
}

TEST_F(Events, PictureButtonClicksOnlyWhenReleasedInsideAndTracksItsState) {
    auto* btn = static_cast<ui::PicBtn*>(p.runtime->FindControl(kWindow, kPicBtn));
    const Point inside = TestProgram::at(kPicBtnRect, 30, 30);
    p.backend->mouse_move(p.top(), inside);
    settle();
    EXPECT_EQ(btn->state(), ui::PicBtn::kHot);
    p.backend->mouse_down(p.top(), inside);
    settle();
    EXPECT_EQ(btn->state(), ui::PicBtn::kPressed);
    p.backend->mouse_move(p.top(), {350, 250});
    settle();
    EXPECT_EQ(btn->state(), ui::PicBtn::kNormal);
    p.backend->mouse_up(p.top(), {350, 250});
    settle();
    EXPECT_EQ(p.log.count("picbtn:Click"), 0u);

    p.backend->mouse_move(p.top(), inside);
    p.backend->mouse_down(p.top(), inside);
    p.backend->mouse_up(p.top(), inside);
    settle();
    EXPECT_EQ(p.log.count("picbtn:Click"), 1u);
    EXPECT_EQ(btn->state(), ui::PicBtn::kNormal);

    // A two-state button toggles Down on every click and shows pressed while down.
    p.set(kPicBtn, 8, Value::OfInteger(1));
    p.backend->click(p.top(), inside);
    settle();
    EXPECT_EQ(p.get_int(kPicBtn, 9), 1);
    EXPECT_EQ(btn->state(), ui::PicBtn::kPressed);
    p.backend->click(p.top(), inside);
    settle();
    EXPECT_EQ(p.get_int(kPicBtn, 9), 0);
    EXPECT_EQ(p.log.count("picbtn:Click"), 3u);

    // Hidden, the button lets the click reach the picture box beneath.
    p.set(kPicBtn, 5, Value::OfBool(false));
    p.backend->click(p.top(), inside);
    settle();
    EXPECT_EQ(p.log.count("picbox:LeftDown 28 28 0"), 1u);
}

TEST_F(Events, CommonMouseAndKeyEventsCarryTheirArguments) {
    // RightDown is bound on the window alone: a right click on a child raises nothing there.
    p.backend->click(p.top(), {300, 250}, platform::MouseButton::Right);
    p.backend->click(p.top(), {15, 15}, platform::MouseButton::Right);
    p.backend->click(p.top(), {15, 15});
    settle();
    EXPECT_EQ(p.log.count("window:RightDown 300 250 0"), 1u);
    EXPECT_EQ(p.log.count("label:LeftDown 5 5 0"), 1u);
    EXPECT_EQ(p.log.entries.size(), 2u);

    p.ws().set_focus(p.top());
    p.log.entries.clear();
    p.backend->key_down(p.top(), vk::kControl); // a modifier does not report itself
    p.backend->key_down(p.top(), vk::kNumpad0 + 7);
    p.backend->key_up(p.top(), vk::kControl);
    p.backend->key_down(p.top(), vk::kSubtract);
    p.backend->key_down(p.top(), vk::kDecimal);
    p.backend->key_down(p.top(), vk::kDivide);
    p.ws().on_native_wheel(p.top(), -240, {300, 250});
    p.ws().on_native_wheel(p.top(), 119, {300, 250});
    settle();
    EXPECT_EQ(p.log.entries, (std::vector<std::string>{"window:KeyDown 17 0", "window:KeyDown 55 1", "window:KeyDown 189 0",
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
    p.log.actions["window:CloseQuery"] = [](auto) { return std::optional<std::int32_t>(0); };
    p.backend->request_close(p.top());
    settle();
    EXPECT_TRUE(p.runtime->IsLoaded(kWindow));
    EXPECT_EQ(p.log.count("window:CloseQuery"), 1u);

    p.log.actions["window:CloseQuery"] = [](auto) { return std::optional<std::int32_t>(1); };
    p.set(kTimer, 8, Value::OfInteger(40)); // a running timer does not keep the program alive
    p.backend->schedule(100, [&] { p.backend->request_close(p.top()); });
    p.runtime->RunMessageLoop();
    EXPECT_FALSE(p.runtime->IsLoaded(kWindow));
    EXPECT_EQ(p.log.count("window:Destroying"), 1u);
    EXPECT_TRUE(p.ws().quit_posted());
    EXPECT_EQ(p.ws().exit_code(), 0);
    EXPECT_GE(p.log.count("timer:Tick"), 2u);
}

TEST_F(Events, RecreationKeepsPlaceOrderAndFocusAndRunsNoHandler) {
    const auto before = p.ws().children(p.top());
    const platform::WindowHandle old = p.handle(kSpin);
    const auto index = std::find(before.begin(), before.end(), old) - before.begin();
    p.ws().set_focus(old);
    settle();
    p.log.entries.clear();

    p.set(kSpin, 8, Value::OfInteger(1)); // unchanged: nothing re-created
    EXPECT_EQ(p.handle(kSpin), old);
    p.set(kSpin, 9, Value::OfBool(true)); // HotTrack changes: re-created
    settle();
    const platform::WindowHandle fresh = p.handle(kSpin);
    EXPECT_NE(fresh, old);
    EXPECT_FALSE(p.ws().exists(old));
    const auto after = p.ws().children(p.top());
    EXPECT_EQ(std::find(after.begin(), after.end(), fresh) - after.begin(), index);
    EXPECT_EQ(p.ws().rect(fresh), kSpinRect);
    EXPECT_TRUE(p.ws().is_visible(fresh));
    EXPECT_EQ(p.ws().focus(), fresh);
    EXPECT_EQ(p.get_int(kSpin, 9), 1);
    EXPECT_TRUE(p.log.entries.empty()) << p.log.entries.front();

    // The re-created control works as before.
    p.backend->click(p.top(), TestProgram::at(kSpinRect, 10, 5));
    settle();
    EXPECT_EQ(p.log.count("spin:Adjust 1"), 1u);

    // A button's picture re-creates it too, with its caption kept.
    const platform::WindowHandle button = p.handle(kButton);
    p.set(kButton, 8, Value::OfBytes(std::vector<std::uint8_t>{'B', 'M', 0, 0, 0, 0}));
    EXPECT_NE(p.handle(kButton), button);
    EXPECT_EQ(p.get(kButton, 10).text(), Gbk("开始"));
}

} // namespace
} // namespace tav::test
