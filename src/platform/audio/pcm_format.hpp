#pragma once
// The PCM formats the wave output plays, read from the body of a WAV "fmt " chunk.

#include <cstdint>
#include <optional>
#include <span>

namespace tav {

// A PCM stream layout that the mixer can convert: 8 or 16 bits, one or two channels.
struct PcmFormat {
    std::uint16_t channels = 0;    // 1 or 2
    std::uint32_t rate = 0;        // frames per second
    std::uint16_t bits = 0;        // 8 (unsigned) or 16 (signed little-endian)
    std::uint16_t block_align = 0; // bytes per frame: channels * bits / 8
};

// Smallest body of a "fmt " chunk that holds a complete PCM description.
inline constexpr std::size_t kPcmFormatBytes = 16;
// Highest source rate the resampler accepts.
inline constexpr std::uint32_t kMaxSourceRate = 384000;

// Reads a "fmt " body; nullopt when it is shorter than 16 bytes or not a PCM layout we play.
// Never reads beyond `body`.
std::optional<PcmFormat> parse_pcm_format(std::span<const std::uint8_t> body);

} // namespace tav
