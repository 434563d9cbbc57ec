#pragma once
// Bounds-checked reads from a byte block, little-endian unless named otherwise: out-of-range
// reads give nothing.

#include <cstdint>
#include <optional>
#include <span>

namespace tav {

class ByteReader {
public:
    // Reads from `bytes`, which must outlive the reader.
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    // True when `count` bytes exist at `offset`.
    bool has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= bytes_.size() && count <= bytes_.size() - offset;
    }
    // The byte, 16-bit or 32-bit value at `at`; nothing past the end.
    std::optional<std::uint8_t> u8(std::uint64_t at) const {
        if (!has(at, 1)) return std::nullopt;
        return bytes_[at];
    }
    std::optional<std::uint16_t> u16(std::uint64_t at) const {
        if (!has(at, 2)) return std::nullopt;
        return std::uint16_t(bytes_[at] | (bytes_[at + 1] << 8));
    }
    std::optional<std::uint32_t> u32(std::uint64_t at) const {
        if (!has(at, 4)) return std::nullopt;
        return std::uint32_t(bytes_[at]) | (std::uint32_t(bytes_[at + 1]) << 8) |
               (std::uint32_t(bytes_[at + 2]) << 16) | (std::uint32_t(bytes_[at + 3]) << 24);
    }
    // The 32-bit value at `at` stored most significant byte first (font and PNG headers).
    std::optional<std::uint32_t> u32_big_endian(std::uint64_t at) const {
        if (!has(at, 4)) return std::nullopt;
        return (std::uint32_t(bytes_[at]) << 24) | (std::uint32_t(bytes_[at + 1]) << 16) |
               (std::uint32_t(bytes_[at + 2]) << 8) | std::uint32_t(bytes_[at + 3]);
    }
    std::optional<std::int32_t> i32(std::uint64_t at) const {
        auto v = u32(at);
        if (!v) return std::nullopt;
        return static_cast<std::int32_t>(*v);
    }
    // The `count` bytes at `offset`, or an empty span when they are not all there.
    std::span<const std::uint8_t> slice(std::uint64_t offset, std::uint64_t count) const {
        if (!has(offset, count)) return {};
        return bytes_.subspan(std::size_t(offset), std::size_t(count));
    }
    // The whole block.
    std::size_t size() const { return bytes_.size(); }
    std::span<const std::uint8_t> bytes() const { return bytes_; }

private:
    std::span<const std::uint8_t> bytes_;
};

} // namespace tav
