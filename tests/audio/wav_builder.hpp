#pragma once
// Builds WAV file images for the audio tests.

#include <cstdint>
#include <string_view>
#include <vector>

#include "core/value.hpp"

namespace tav::test {

inline void put_le16(Bytes& b, std::uint16_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}

inline void put_le32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// A chunk: id, the size field (normally the body's length) and the body.
inline void put_chunk(Bytes& b, std::string_view id, std::uint32_t size_field, const Bytes& body) {
    b.insert(b.end(), id.begin(), id.end());
    put_le32(b, size_field);
    b.insert(b.end(), body.begin(), body.end());
}

inline void put_chunk(Bytes& b, std::string_view id, const Bytes& body) {
    put_chunk(b, id, static_cast<std::uint32_t>(body.size()), body);
}

// The 16-byte body of a PCM "fmt " chunk.
inline Bytes format_body(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    Bytes f;
    const auto align = static_cast<std::uint16_t>(channels * bits / 8);
    put_le16(f, 1);
    put_le16(f, channels);
    put_le32(f, rate);
    put_le32(f, rate * align);
    put_le16(f, align);
    put_le16(f, bits);
    return f;
}

// A 16-byte "fmt " body with any format tag.
inline Bytes tagged_format_body(std::uint16_t tag, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits) {
    Bytes f = format_body(channels, rate, bits);
    f[0] = static_cast<std::uint8_t>(tag);
    f[1] = static_cast<std::uint8_t>(tag >> 8);
    return f;
}

// A 40-byte extensible "fmt " body whose sub-format GUID carries `code` (1 integer, 3 float).
inline Bytes extensible_format_body(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits,
                                    std::uint16_t valid_bits, std::uint16_t code, std::uint16_t extra_size = 22) {
    Bytes f = tagged_format_body(0xFFFE, channels, rate, bits);
    put_le16(f, extra_size);
    put_le16(f, valid_bits);
    put_le32(f, channels == 1 ? 0x4 : 0x3); // front centre, or front left and right
    put_le16(f, code);
    f.insert(f.end(), {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71});
    return f;
}

// "RIFF" <size> "WAVE" followed by `chunks`; the RIFF size is the true one unless given.
inline Bytes riff(const Bytes& chunks, std::int64_t riff_size = -1) {
    Bytes b{'R', 'I', 'F', 'F'};
    put_le32(b, riff_size < 0 ? static_cast<std::uint32_t>(chunks.size() + 4) : static_cast<std::uint32_t>(riff_size));
    b.insert(b.end(), {'W', 'A', 'V', 'E'});
    b.insert(b.end(), chunks.begin(), chunks.end());
    return b;
}

// A WAV with a "fmt " chunk of the given body and a data chunk.
inline Bytes wav_with_format(const Bytes& format, const Bytes& pcm) {
    Bytes chunks;
    put_chunk(chunks, "fmt ", format);
    put_chunk(chunks, "data", pcm);
    return riff(chunks);
}

// A plain WAV: a format chunk followed by the data chunk.
inline Bytes make_wav(std::uint16_t channels, std::uint32_t rate, std::uint16_t bits, const Bytes& pcm) {
    Bytes chunks;
    put_chunk(chunks, "fmt ", format_body(channels, rate, bits));
    put_chunk(chunks, "data", pcm);
    return riff(chunks);
}

// 16-bit PCM holding every sample equal to `level`.
inline Bytes constant_pcm16(std::size_t samples, std::int16_t level) {
    Bytes pcm;
    for (std::size_t i = 0; i < samples; ++i) put_le16(pcm, static_cast<std::uint16_t>(level));
    return pcm;
}

// A sound shaped like the game's step sound: 8 424 data bytes, stereo, 44.1 kHz, 16 bits.
inline Bytes step_sound_wav() { return make_wav(2, 44100, 16, constant_pcm16(8424 / 2, 3000)); }

} // namespace tav::test
