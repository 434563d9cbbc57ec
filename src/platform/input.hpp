#pragma once
// Mouse buttons, modifier keys and virtual key codes as our window system reports them.

#include <cstdint>

namespace tav::platform {

enum class MouseButton { Left, Right, Middle };

// Modifier keys held while an input happened (the bit set events report: 1 Ctrl, 2 Shift, 4 Alt).
enum KeyState : std::uint32_t {
    kKeyNone = 0,
    kKeyCtrl = 1,
    kKeyShift = 2,
    kKeyAlt = 4,
};

// Virtual key codes, with the values of the classic desktop key set.
namespace vk {
inline constexpr int kBack = 0x08, kTab = 0x09, kReturn = 0x0D, kShift = 0x10, kControl = 0x11, kMenu = 0x12,
                     kEscape = 0x1B, kSpace = 0x20, kLeft = 0x25, kUp = 0x26, kRight = 0x27, kDown = 0x28,
                     kDelete = 0x2E, kF4 = 0x73;
inline constexpr int kDigit0 = 0x30; // '0'..'9' are 0x30..0x39, 'A'..'Z' 0x41..0x5A
inline constexpr int kNumpad0 = 0x60, kMultiply = 0x6A, kAdd = 0x6B, kSubtract = 0x6D, kDecimal = 0x6E, kDivide = 0x6F;
inline constexpr int kOemMinus = 189, kOemPeriod = 190, kOem2 = 191;
} // namespace vk

} // namespace tav::platform
