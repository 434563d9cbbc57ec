#include "platform/audio/pcm_format.hpp"

namespace tav {
namespace {

std::uint16_t le16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

std::uint32_t le32(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | (static_cast<std::uint32_t>(b[at + 1]) << 8) |
           (static_cast<std::uint32_t>(b[at + 2]) << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

constexpr std::uint16_t kFormatTagPcm = 1;

} // namespace

std::optional<PcmFormat> parse_pcm_format(std::span<const std::uint8_t> body) {
    if (body.size() < kPcmFormatBytes) return std::nullopt;
    if (le16(body, 0) != kFormatTagPcm) return std::nullopt;
    PcmFormat f;
    f.channels = le16(body, 2);
    f.rate = le32(body, 4);
    f.block_align = le16(body, 12);
    f.bits = le16(body, 14);
    if (f.channels < 1 || f.channels > 2) return std::nullopt;
    if (f.rate == 0 || f.rate > kMaxSourceRate) return std::nullopt;
    if (f.bits != 8 && f.bits != 16) return std::nullopt;
    if (f.block_align != f.channels * (f.bits / 8)) return std::nullopt;
    return f;
}

} // namespace tav
