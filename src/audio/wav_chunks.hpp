#pragma once
// Finding the format and the sample data of a RIFF WAVE file held in memory.

#include <cstdint>
#include <optional>
#include <span>

namespace tav {

// Fewer bytes than this cannot hold a RIFF header, a format chunk and a data chunk header.
inline constexpr std::size_t kMinWavBytes = 36;

// The chunks a player needs, as views into the file image.
struct WavChunks {
    std::span<const std::uint8_t> format; // body of the last "fmt " chunk, clipped to the data
    std::span<const std::uint8_t> data;   // body of the last "data" chunk, clipped to the data
};

// True when `bytes` starts like a WAV file: "RIFF", four size bytes, "WAVE".
bool looks_like_wav(std::span<const std::uint8_t> bytes);

// Walks the chunks from byte 12 with no padding after odd sizes, stopping once both a
// "fmt " and a "data" chunk are seen, once the next chunk would start at or past the RIFF
// size, or once its header would not fit in `bytes`. nullopt for fewer than 36 bytes, a bad
// header, a missing chunk or empty sample data. Pure; reads nothing outside `bytes`.
std::optional<WavChunks> walk_wav_chunks(std::span<const std::uint8_t> bytes);

} // namespace tav
