#include <gtest/gtest.h>

#include <SDL_keycode.h>

#include "platform/input.hpp"
#include "platform/sdl/key_map.hpp"

namespace tav::platform::sdl {
namespace {

TEST(KeyMap, LettersAndDigitsBecomeTheirUpperCaseCharacters) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_a), 'A');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_m), 'M');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_z), 'Z');
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_0), vk::kDigit0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_9), '9');
}

TEST(KeyMap, KeypadKeysGetNumpadCodesAndEnterIsReturn) {
    // SDL orders the keypad 1..9 then 0; the virtual codes run 0..9.
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_0), vk::kNumpad0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_1), vk::kNumpad0 + 1);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_9), vk::kNumpad0 + 9);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_MULTIPLY), vk::kMultiply);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_PLUS), vk::kAdd);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_MINUS), vk::kSubtract);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_PERIOD), vk::kDecimal);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_DIVIDE), vk::kDivide);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_KP_ENTER), vk::kReturn);
}

TEST(KeyMap, NamedKeysModifiersAndFunctionKeys) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RETURN), vk::kReturn);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_ESCAPE), vk::kEscape);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_TAB), vk::kTab);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_SPACE), vk::kSpace);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_BACKSPACE), vk::kBack);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_DELETE), vk::kDelete);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_LEFT), vk::kLeft);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_UP), vk::kUp);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RIGHT), vk::kRight);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_DOWN), vk::kDown);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_LSHIFT), vk::kShift);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RSHIFT), vk::kShift);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_LCTRL), vk::kControl);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RCTRL), vk::kControl);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_LALT), vk::kMenu);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_RALT), vk::kMenu);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F1), 0x70);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F4), vk::kF4);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F12), 0x7B);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_MINUS), vk::kOemMinus);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_PERIOD), vk::kOemPeriod);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_SLASH), vk::kOem2);
}

TEST(KeyMap, KeysWithoutACodeAreNotReported) {
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_UNKNOWN), 0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_F13), 0);
    EXPECT_EQ(VirtualKeyFromSdl(SDLK_AUDIOPLAY), 0);
    EXPECT_EQ(VirtualKeyFromSdl('A'), 0); // SDL never reports upper-case letters
}

} // namespace
} // namespace tav::platform::sdl
