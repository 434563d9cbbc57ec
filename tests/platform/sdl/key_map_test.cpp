#include <gtest/gtest.h>

#include <SDL_keycode.h>

#include "platform/input.hpp"
#include "platform/sdl/key_map.hpp"

namespace tav::platform::sdl {
namespace {

TEST(KeyMap, LettersAndDigitsBecomeTheirUpperCaseCharacters) {
    EXPECT_EQ(virtual_key_from_sdl(SDLK_a), 'A');
    EXPECT_EQ(virtual_key_from_sdl(SDLK_m), 'M');
    EXPECT_EQ(virtual_key_from_sdl(SDLK_z), 'Z');
    EXPECT_EQ(virtual_key_from_sdl(SDLK_0), vk::kDigit0);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_9), '9');
}

TEST(KeyMap, KeypadKeysGetNumpadCodesAndEnterIsReturn) {
    // SDL orders the keypad 1..9 then 0; the virtual codes run 0..9.
    EXPECT_EQ(virtual_key_from_sdl(SDLK_KP_0), vk::kNumpad0);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_KP_1), vk::kNumpad0 + 1);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_KP_9), vk::kNumpad0 + 9);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_KP_MULTIPLY), vk::kMultiply);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_KP_PLUS), vk::kAdd);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_KP_MINUS), vk::kSubtract);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_KP_PERIOD), vk::kDecimal);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_KP_DIVIDE), vk::kDivide);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_KP_ENTER), vk::kReturn);
}

TEST(KeyMap, NamedKeysModifiersAndFunctionKeys) {
    EXPECT_EQ(virtual_key_from_sdl(SDLK_RETURN), vk::kReturn);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_ESCAPE), vk::kEscape);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_TAB), vk::kTab);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_SPACE), vk::kSpace);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_BACKSPACE), vk::kBack);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_DELETE), vk::kDelete);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_LEFT), vk::kLeft);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_UP), vk::kUp);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_RIGHT), vk::kRight);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_DOWN), vk::kDown);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_LSHIFT), vk::kShift);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_RSHIFT), vk::kShift);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_LCTRL), vk::kControl);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_RCTRL), vk::kControl);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_LALT), vk::kMenu);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_RALT), vk::kMenu);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_F1), 0x70);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_F4), vk::kF4);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_F12), 0x7B);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_MINUS), vk::kOemMinus);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_PERIOD), vk::kOemPeriod);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_SLASH), vk::kOem2);
}

TEST(KeyMap, KeysWithoutACodeAreNotReported) {
    EXPECT_EQ(virtual_key_from_sdl(SDLK_UNKNOWN), 0);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_F13), 0);
    EXPECT_EQ(virtual_key_from_sdl(SDLK_AUDIOPLAY), 0);
    EXPECT_EQ(virtual_key_from_sdl('A'), 0); // SDL never reports upper-case letters
}

} // namespace
} // namespace tav::platform::sdl
