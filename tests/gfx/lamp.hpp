#pragma once
// A lamp-like test picture: a red frame 7 pixels wide around a black 55 x 55 middle.

#include "gfx/bitmap.hpp"

namespace tav::test {

inline constexpr int kLampSize = 69;
inline constexpr int kLampFrame = 7;

inline Bitmap MakeLamp() {
    Bitmap lamp(kLampSize, kLampSize, Rgb(255, 0, 0));
    for (int y = kLampFrame; y < kLampSize - kLampFrame; ++y)
        for (int x = kLampFrame; x < kLampSize - kLampFrame; ++x) lamp.set_pixel(x, y, Rgb(0, 0, 0));
    return lamp;
}

} // namespace tav::test
