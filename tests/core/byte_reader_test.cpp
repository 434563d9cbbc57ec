// Bounded reads of either byte order, at the block's end and at offsets that would wrap.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <limits>

#include "core/byte_reader.hpp"

namespace tav {
namespace {

TEST(ByteReader, ReadsBothByteOrdersAndNothingPastTheEnd) {
    const std::array<std::uint8_t, 6> bytes{0x4F, 0x54, 0x54, 0x4F, 0xFE, 0xFF};
    const ByteReader r(bytes);
    EXPECT_EQ(r.u32_big_endian(0), 0x4F54544Fu); // 'OTTO'
    EXPECT_EQ(r.u32(0), 0x4F54544Fu);
    EXPECT_EQ(r.u32_big_endian(2), 0x544FFEFFu);
    EXPECT_EQ(r.u32(2), 0xFFFE4F54u);
    EXPECT_EQ(r.i32(2), std::int32_t(0xFFFE4F54u));
    EXPECT_EQ(r.u16(4), 0xFFFEu);
    // The last whole value ends at the last byte; one byte further is nothing.
    EXPECT_EQ(r.u8(5), 0xFFu);
    EXPECT_FALSE(r.u8(6));
    EXPECT_FALSE(r.u16(5));
    EXPECT_FALSE(r.u32(3));
    EXPECT_FALSE(r.u32_big_endian(3));
    EXPECT_EQ(r.slice(4, 2).size(), 2u);
    EXPECT_TRUE(r.slice(4, 3).empty());
    // Offsets and counts whose sum wraps around 64 bits are past the end, not back at the start.
    constexpr std::uint64_t kHuge = std::numeric_limits<std::uint64_t>::max();
    EXPECT_FALSE(r.has(kHuge, 4));
    EXPECT_FALSE(r.has(2, kHuge));
    EXPECT_FALSE(r.u32_big_endian(kHuge - 1));
    EXPECT_TRUE(r.slice(1, kHuge).empty());
}

} // namespace
} // namespace tav
