#pragma once
// Conversion between UTF-8 (source files, the platform) and GBK (every Text).

#include <string>
#include <string_view>

#include "core/value.hpp"

namespace tav {

// GBK bytes of a UTF-8 string. A malformed sequence or a character GBK cannot hold becomes one
// "?" and the conversion goes on after it; an incomplete character at the end becomes one "?".
std::string utf8_to_gbk(std::string_view utf8);

// UTF-8 of a GBK byte string. A pair with no character, or a byte that starts none, becomes one
// "?" and the conversion goes on after it; a lone lead byte at the end becomes one "?".
std::string gbk_to_utf8(std::string_view gbk);

// The GBK Text of a UTF-8 literal: write Gbk("开始") where a Text must match the window's texts.
// Results are remembered per literal, so hot paths pay the conversion once.
Text gbk(std::string_view utf8);

} // namespace tav
