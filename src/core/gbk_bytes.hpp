#pragma once
// The length of the character a GBK conversion could not convert, in either direction: both
// conversion twins (iconv on Linux, code page 936 on Windows) skip the same bytes, so a bad
// character becomes the same one "?" on every system.

#include <cstddef>
#include <string_view>

namespace tav {

// Bytes of the UTF-8 character at the start of the non-empty `rest`: its lead byte and the
// continuation bytes that belong to it, or one byte when it is malformed.
std::size_t utf8_character_length(std::string_view rest);

// Bytes of the GBK character at the start of the non-empty `rest`: a lead byte with a byte in
// the trail range after it is a pair (even one that has no character); anything else is one byte.
std::size_t gbk_character_length(std::string_view rest);

} // namespace tav
