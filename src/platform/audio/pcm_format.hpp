#pragma once
// The PCM formats the wave output plays, read from the body of a WAV "fmt " chunk.

#include <cstdint>
#include <optional>
#include <span>

namespace tav {

// How one sample is stored.
enum class SampleKind : std::uint8_t {
    U8,  // 8-bit unsigned, 128 is silence
    S16, // 16-bit signed little-endian
    S24, // 24-bit signed little-endian, three bytes
    S32, // 32-bit signed little-endian
    F32, // 32-bit IEEE float little-endian, full scale at +-1.0
};

// A PCM stream layout that the mixer can convert: one or two channels of any SampleKind.
struct PcmFormat {
    std::uint16_t channels = 0;    // 1 or 2
    std::uint32_t rate = 0;        // frames per second
    std::uint16_t bits = 0;        // container bits per sample: 8, 16, 24 or 32
    std::uint16_t block_align = 0; // bytes per frame: channels * bits / 8
    SampleKind kind = SampleKind::S16;
};

// Smallest body of a "fmt " chunk that holds a complete PCM description.
inline constexpr std::size_t kPcmFormatBytes = 16;
// Smallest body of a "fmt " chunk with the extensible header (cbSize 22 and its fields).
inline constexpr std::size_t kExtensibleFormatBytes = 40;
// Highest source rate the resampler accepts.
inline constexpr std::uint32_t kMaxSourceRate = 384000;
// Largest frame of any format we play: two channels of 32 bits.
inline constexpr std::size_t kMaxBlockAlign = 8;

// Reads a "fmt " body; nullopt when it is shorter than 16 bytes or not a layout we play.
// Played: format tag 1 (integer PCM of 8, 16, 24 or 32 bits), tag 3 (32-bit float), and tag
// 0xFFFE (extensible) whose sub-format is integer PCM or float under the same rules, with
// valid bits between 1 and the container size. One or two channels, block align exactly
// channels * bits / 8, rate 1..kMaxSourceRate. Never reads beyond `body`.
std::optional<PcmFormat> parse_pcm_format(std::span<const std::uint8_t> body);

} // namespace tav
