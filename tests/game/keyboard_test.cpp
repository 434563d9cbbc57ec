// Keyboard play on the real window: the accelerators run the handlers a click on the spinners
// and buttons runs, and leave a focused button's own keys to it.

#include <gtest/gtest.h>

#include "game/keyboard.hpp"
#include "game_window.hpp"

namespace tav::game::test {
namespace {

namespace vk = platform::vk;

class KeyboardPlay : public ::testing::Test {
protected:
    void SetUp() override {
        use_keyboard_play();
        g_.runtime->windows().set_focus(platform::kNoWindow);
    }
    void press(int key, int modifier = 0) {
        if (modifier != 0) g_.backend->key_down(g_.top(), modifier);
        g_.backend->press_key(g_.top(), key);
        if (modifier != 0) g_.backend->key_up(g_.top(), modifier);
        g_.runtime->windows().process_pending();
    }
    GameWindow g_;
};

TEST_F(KeyboardPlay, DigitsRaiseAndShiftDigitsLowerTheBetInTheirColumn) {
    press('A');
    EXPECT_EQ(g_.text("标签9"), "100");
    press('1');
    press('1');
    press('8');
    EXPECT_EQ(g_.bets(), (std::vector<std::string>{"20", "0", "0", "0", "0", "0", "0", "10"}));
    EXPECT_EQ(g_.text("标签9"), "70");
    press('1', vk::kShift);
    EXPECT_EQ(g_.bets()[0], "10");
    EXPECT_EQ(g_.text("标签9"), "80");
    // The same as the spinner's arrows: each key is one press of an arrow.
    g_.press_spinner(8, false);
    EXPECT_EQ(g_.bets()[7], "0");
    // With Ctrl or Alt held, and for keys outside the table, nothing happens.
    press('2', vk::kControl);
    press('2', vk::kMenu);
    press('9');
    press('0');
    EXPECT_EQ(g_.bets(), (std::vector<std::string>{"10", "0", "0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(g_.text("标签9"), "90");
    EXPECT_FALSE(g_.spinning());
}

TEST_F(KeyboardPlay, EnterAndSpaceStartOnlyWhenNoButtonHasTheFocus) {
    press('A');
    press('3');
    // 上分 has the focus: Enter is its own key and presses it, the spin does not start.
    g_.click("按钮2");
    EXPECT_EQ(g_.text("标签9"), "190");
    press(vk::kReturn);
    EXPECT_EQ(g_.text("标签9"), "290");
    EXPECT_FALSE(g_.spinning());
    // The digits still bet with a button focused.
    press('4');
    EXPECT_EQ(g_.bets()[3], "10");
    // No focus: Enter starts.
    g_.runtime->windows().set_focus(platform::kNoWindow);
    press(vk::kReturn);
    EXPECT_TRUE(g_.spinning());
    ASSERT_TRUE(g_.run_until_idle());
    // And Space does too.
    press('5');
    press(vk::kSpace);
    EXPECT_TRUE(g_.spinning());
}

TEST_F(KeyboardPlay, TheTableNamesControlsOfTheWindowAndHelpListsEveryKey) {
    for (const Accelerator& a : accelerators()) {
        EXPECT_NE(g_.runtime->find_control_by_name(kMainWindow, a.control), nullptr) << a.control;
    }
    const std::string help = keyboard_help();
    for (std::string_view key : {"1 to 8", "Shift+1 to 8", "A ", "Enter", "Space"})
        EXPECT_NE(help.find(key), std::string::npos) << key;
}

} // namespace
} // namespace tav::game::test
