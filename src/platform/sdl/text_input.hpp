#pragma once
// Typed text from the desktop (UTF-8) as the character codes our window system delivers.

#include <cstdint>
#include <string_view>
#include <vector>

namespace tav::platform::sdl {

// The GBK character codes of typed UTF-8 text, one per character: a single-byte character as
// its byte (0x00..0x7F), a double-byte character as (lead << 8) | trail, e.g. "中" as 0xD6D0.
// A character GBK cannot hold, or a malformed sequence, becomes '?' as the conversion does.
std::vector<std::uint32_t> gbk_char_codes(std::string_view utf8);

} // namespace tav::platform::sdl
