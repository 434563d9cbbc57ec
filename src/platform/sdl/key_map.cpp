// SDL key codes to virtual keys: letters, digits and F1..F12 by range, the other keys by a table.
#include "platform/sdl/key_map.hpp"

#include <SDL_keycode.h>

#include "platform/input.hpp"

namespace tav::platform::sdl {
namespace {

// Classic desktop codes input.hpp has no name for; only this table needs them.
constexpr int kPageUp = 0x21, kPageDown = 0x22, kEnd = 0x23, kHome = 0x24, kInsert = 0x2D, kPause = 0x13,
              kCapsLock = 0x14, kPrintScreen = 0x2C, kLeftWin = 0x5B, kRightWin = 0x5C, kApps = 0x5D, kF1 = 0x70,
              kNumLock = 0x90, kScrollLock = 0x91, kOemSemicolon = 186, kOemPlus = 187, kOemComma = 188,
              kOemTilde = 192, kOemOpenBracket = 219, kOemBackslash = 220, kOemCloseBracket = 221, kOemQuote = 222;
constexpr int kFunctionKeyCount = 12;

struct KeyPair {
    SDL_Keycode sdl;
    int vk;
};

constexpr KeyPair kNamedKeys[] = {
    {SDLK_BACKSPACE, vk::kBack},
    {SDLK_TAB, vk::kTab},
    {SDLK_RETURN, vk::kReturn},
    {SDLK_KP_ENTER, vk::kReturn},
    {SDLK_ESCAPE, vk::kEscape},
    {SDLK_SPACE, vk::kSpace},
    {SDLK_LEFT, vk::kLeft},
    {SDLK_UP, vk::kUp},
    {SDLK_RIGHT, vk::kRight},
    {SDLK_DOWN, vk::kDown},
    {SDLK_DELETE, vk::kDelete},
    {SDLK_INSERT, kInsert},
    {SDLK_HOME, kHome},
    {SDLK_END, kEnd},
    {SDLK_PAGEUP, kPageUp},
    {SDLK_PAGEDOWN, kPageDown},
    {SDLK_LSHIFT, vk::kShift},
    {SDLK_RSHIFT, vk::kShift},
    {SDLK_LCTRL, vk::kControl},
    {SDLK_RCTRL, vk::kControl},
    {SDLK_LALT, vk::kMenu},
    {SDLK_RALT, vk::kMenu},
    {SDLK_LGUI, kLeftWin},
    {SDLK_RGUI, kRightWin},
    {SDLK_APPLICATION, kApps},
    {SDLK_PAUSE, kPause},
    {SDLK_CAPSLOCK, kCapsLock},
    {SDLK_PRINTSCREEN, kPrintScreen},
    {SDLK_NUMLOCKCLEAR, kNumLock},
    {SDLK_SCROLLLOCK, kScrollLock},
    {SDLK_KP_0, vk::kNumpad0},
    {SDLK_KP_1, vk::kNumpad0 + 1},
    {SDLK_KP_2, vk::kNumpad0 + 2},
    {SDLK_KP_3, vk::kNumpad0 + 3},
    {SDLK_KP_4, vk::kNumpad0 + 4},
    {SDLK_KP_5, vk::kNumpad0 + 5},
    {SDLK_KP_6, vk::kNumpad0 + 6},
    {SDLK_KP_7, vk::kNumpad0 + 7},
    {SDLK_KP_8, vk::kNumpad0 + 8},
    {SDLK_KP_9, vk::kNumpad0 + 9},
    {SDLK_KP_MULTIPLY, vk::kMultiply},
    {SDLK_KP_PLUS, vk::kAdd},
    {SDLK_KP_MINUS, vk::kSubtract},
    {SDLK_KP_PERIOD, vk::kDecimal},
    {SDLK_KP_DIVIDE, vk::kDivide},
    {SDLK_MINUS, vk::kOemMinus},
    {SDLK_PERIOD, vk::kOemPeriod},
    {SDLK_SLASH, vk::kOem2},
    {SDLK_SEMICOLON, kOemSemicolon},
    {SDLK_EQUALS, kOemPlus},
    {SDLK_COMMA, kOemComma},
    {SDLK_BACKQUOTE, kOemTilde},
    {SDLK_LEFTBRACKET, kOemOpenBracket},
    {SDLK_BACKSLASH, kOemBackslash},
    {SDLK_RIGHTBRACKET, kOemCloseBracket},
    {SDLK_QUOTE, kOemQuote},
};

} // namespace

int virtual_key_from_sdl(std::int32_t sdl_keycode) {
    // Letters and digits: SDL reports the lower-case character, the virtual code is upper-case.
    if (sdl_keycode >= SDLK_a && sdl_keycode <= SDLK_z) return 'A' + (sdl_keycode - SDLK_a);
    if (sdl_keycode >= SDLK_0 && sdl_keycode <= SDLK_9) return vk::kDigit0 + (sdl_keycode - SDLK_0);
    // F1..F12 are consecutive in both sets.
    if (sdl_keycode >= SDLK_F1 && sdl_keycode < SDLK_F1 + kFunctionKeyCount) return kF1 + (sdl_keycode - SDLK_F1);
    for (const KeyPair& k : kNamedKeys) {
        if (k.sdl == sdl_keycode) return k.vk;
    }
    return 0;
}

} // namespace tav::platform::sdl
