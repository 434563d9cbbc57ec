#pragma once
// A lamp-like test picture: a red frame 7 pixels wide around a black 55 x 55 middle.

#include "gfx/bitmap.hpp"

namespace tav::test {

inline constexpr int kLampSize = 69;
inline constexpr int kLampFrame = 7;

inline Bitmap make_lamp() {
    Bitmap lamp(kLampSize, kLampSize, rgb(255, 0, 0));
    for (int y = kLampFrame; y < kLampSize - kLampFrame; ++y)
        for (int x = kLampFrame; x < kLampSize - kLampFrame; ++x) lamp.set_pixel(x, y, rgb(0, 0, 0));
    return lamp;
}

} // namespace tav::test
