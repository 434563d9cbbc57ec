#pragma once
// Which integer scale the desktop asks windows to be drawn at, from what it says about itself.

#include <optional>
#include <string_view>

namespace tav::platform {

inline constexpr int kMinDisplayScale = 1;
inline constexpr int kMaxDisplayScale = 3;

// The scale to draw at: `requested` (1..3, from the command line; 0 when not given) wins; else
// `gdk_scale` (the GDK_SCALE variable, null when unset) when it is a whole number 1..3; else 3
// when `xft_dpi` is 288 or more, 2 when it is 192 or more; else 1.
int choose_display_scale(int requested, const char* gdk_scale, std::optional<int> xft_dpi);

// The whole part of the Xft.dpi entry of an X resource string (lines "name:<blanks>value", as
// the root window's RESOURCE_MANAGER property holds them); nullopt when there is no such entry
// or its value is not a positive number.
std::optional<int> xft_dpi_from_resources(std::string_view resources);

} // namespace tav::platform
