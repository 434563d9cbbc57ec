// Reads the "fmt " chunk body into a PcmFormat, refusing layouts the mixer cannot convert.
#include "platform/audio/pcm_format.hpp"

#include <algorithm>
#include <array>

#include "core/byte_reader.hpp"

namespace tav {
namespace {

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
    const ByteReader fields(body);
    const auto u16 = [&fields](std::uint64_t at) { return fields.u16(at).value_or(0); };
    std::uint16_t tag = u16(0);
    PcmFormat f;
    f.channels = u16(2);
    f.rate = fields.u32(4).value_or(0);
    f.block_align = u16(12);
    f.bits = u16(14);
    if (tag == kFormatTagExtensible) {
        if (body.size() < kExtensibleFormatBytes || u16(16) < kExtensibleExtraBytes) return std::nullopt;
        const std::uint16_t valid_bits = u16(18);
        if (valid_bits < 1 || valid_bits > f.bits) return std::nullopt;
        if (!std::equal(kSubFormatTail.begin(), kSubFormatTail.end(), body.begin() + 26)) return std::nullopt;
        tag = u16(24); // the channel mask (20..23) says nothing we need for one or two channels
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
