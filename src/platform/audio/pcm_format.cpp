// Reads the "fmt " chunk body into a PcmFormat, refusing layouts the mixer cannot convert.
#include "platform/audio/pcm_format.hpp"

#include <algorithm>
#include <array>

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
constexpr std::uint16_t kFormatTagFloat = 3;
constexpr std::uint16_t kFormatTagExtensible = 0xFFFE;
constexpr std::uint16_t kExtensibleExtraBytes = 22;
// Bytes 2..15 of the sub-format GUID shared by every format tag carried in an extensible header.
constexpr std::array<std::uint8_t, 14> kSubFormatTail{0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::optional<SampleKind> kind_of(std::uint16_t tag, std::uint16_t bits) {
    if (tag == kFormatTagPcm) {
        switch (bits) {
            case 8: return SampleKind::U8;
            case 16: return SampleKind::S16;
            case 24: return SampleKind::S24;
            case 32: return SampleKind::S32;
            default: return std::nullopt;
        }
    }
    if (tag == kFormatTagFloat && bits == 32) return SampleKind::F32;
    return std::nullopt;
}

} // namespace

std::optional<PcmFormat> parse_pcm_format(std::span<const std::uint8_t> body) {
    if (body.size() < kPcmFormatBytes) return std::nullopt;
    std::uint16_t tag = le16(body, 0);
    PcmFormat f;
    f.channels = le16(body, 2);
    f.rate = le32(body, 4);
    f.block_align = le16(body, 12);
    f.bits = le16(body, 14);
    if (tag == kFormatTagExtensible) {
        if (body.size() < kExtensibleFormatBytes || le16(body, 16) < kExtensibleExtraBytes) return std::nullopt;
        const std::uint16_t valid_bits = le16(body, 18);
        if (valid_bits < 1 || valid_bits > f.bits) return std::nullopt;
        if (!std::equal(kSubFormatTail.begin(), kSubFormatTail.end(), body.begin() + 26)) return std::nullopt;
        tag = le16(body, 24); // the channel mask (20..23) says nothing we need for one or two channels
        if (tag != kFormatTagPcm && tag != kFormatTagFloat) return std::nullopt;
    }
    const auto kind = kind_of(tag, f.bits);
    if (!kind) return std::nullopt;
    f.kind = *kind;
    if (f.channels < 1 || f.channels > 2) return std::nullopt;
    if (f.rate == 0 || f.rate > kMaxSourceRate) return std::nullopt;
    if (f.block_align != f.channels * (f.bits / 8)) return std::nullopt;
    return f;
}

} // namespace tav
