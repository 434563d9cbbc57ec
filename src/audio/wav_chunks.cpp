// Walking a WAV file's RIFF chunks for "fmt " and "data", a short last chunk cut to the bytes there are.
#include "audio/wav_chunks.hpp"

#include <algorithm>
#include <cstring>

#include "core/byte_reader.hpp"

namespace tav {
namespace {

constexpr std::uint64_t kChunksStart = 12;
constexpr std::uint64_t kChunkHeaderBytes = 8;

bool id_is(const std::uint8_t* p, const char (&id)[5]) { return std::memcmp(p, id, 4) == 0; }

} // namespace

bool looks_like_wav(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kChunksStart && id_is(bytes.data(), "RIFF") && id_is(bytes.data() + 8, "WAVE");
}

std::optional<WavChunks> walk_wav_chunks(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kMinWavBytes || !looks_like_wav(bytes)) return std::nullopt;
    const ByteReader reader(bytes);
    const std::uint64_t riff_size = reader.u32(4).value_or(0);
    const std::uint64_t size = bytes.size();
    std::optional<std::span<const std::uint8_t>> format;
    std::optional<std::span<const std::uint8_t>> data;
    // 64-bit offsets: a body size near 4 GiB cannot wrap the position around.
    std::uint64_t offset = kChunksStart;
    while (!(format && data)) {
        if (offset - kChunksStart >= riff_size) break;
        if (offset + kChunkHeaderBytes > size) break;
        const std::uint8_t* header = bytes.data() + offset;
        const std::uint64_t body_size = reader.u32(offset + 4).value_or(0);
        const std::uint64_t body_start = offset + kChunkHeaderBytes;
        const std::uint64_t present = std::min(body_size, size - body_start);
        const auto body = bytes.subspan(static_cast<std::size_t>(body_start), static_cast<std::size_t>(present));
        if (id_is(header, "fmt "))
            format = body;
        else if (id_is(header, "data"))
            data = body;
        offset = body_start + body_size;
    }
    if (!format || !data || data->empty()) return std::nullopt;
    return WavChunks{*format, *data};
}

} // namespace tav
