#pragma once
// Little- and big-endian field reads over a byte span, for checking file headers by hand.

#include <cstdint>
#include <span>
#include <string>

namespace tav::assets::testing {

// Unsigned 16-bit little-endian value at `at`.
inline std::uint32_t u16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at] | (b[at + 1] << 8));
}

// Unsigned 32-bit little-endian value at `at`.
inline std::uint32_t u32(std::span<const std::uint8_t> b, std::size_t at) {
    return u16(b, at) | (u16(b, at + 2) << 16);
}

// Signed 16-bit little-endian value at `at`.
inline int s16(std::span<const std::uint8_t> b, std::size_t at) { return static_cast<std::int16_t>(u16(b, at)); }

// Unsigned 16-bit big-endian value at `at` (JPEG marker fields).
inline std::uint32_t b_e16(std::span<const std::uint8_t> b, std::size_t at) {
    return static_cast<std::uint32_t>((b[at] << 8) | b[at + 1]);
}

// `n` bytes at `at` as text, for four-character codes.
inline std::string tag(std::span<const std::uint8_t> b, std::size_t at, std::size_t n) {
    return std::string(reinterpret_cast<const char*>(b.data() + at), n);
}

} // namespace tav::assets::testing
