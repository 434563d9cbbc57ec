// Typed UTF-8 converted to GBK and cut into character codes, a two-byte character with its lead byte high.
#include "platform/sdl/text_input.hpp"

#include <string>

#include "core/gbk.hpp"

namespace tav::platform::sdl {
namespace {

constexpr unsigned kFirstLead = 0x81;
constexpr unsigned kLastLead = 0xFE;

} // namespace

std::vector<std::uint32_t> gbk_char_codes(std::string_view utf8) {
    const std::string gbk = utf8_to_gbk(utf8);
    std::vector<std::uint32_t> codes;
    codes.reserve(gbk.size());
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        const auto byte = static_cast<unsigned char>(gbk[i]);
        if (byte < 0x80) {
            codes.push_back(byte);
        } else if (byte >= kFirstLead && byte <= kLastLead && i + 1 < gbk.size()) {
            codes.push_back((std::uint32_t(byte) << 8) | static_cast<unsigned char>(gbk[++i]));
        } else {
            codes.push_back('?'); // the converter never leaves a lone lead byte; be safe anyway
        }
    }
    return codes;
}

} // namespace tav::platform::sdl
