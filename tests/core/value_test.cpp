// Byte blocks of values: what is copied, what is shared and what is viewed in place.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "core/value.hpp"

namespace tav {
namespace {

constexpr std::array<std::uint8_t, 4> kEmbedded{'R', 'I', 'F', 'F'};

TEST(BytesValue, CopiesTheCallersBytesButViewsLastingOnesInPlace) {
    std::array<std::uint8_t, 3> callers{1, 2, 3};
    const Value copied = Value::of_bytes(callers);
    callers = {9, 9, 9};
    ASSERT_EQ(copied.bytes().size(), 3u);
    EXPECT_EQ(copied.bytes()[0], 1);
    EXPECT_NE(copied.bytes().data(), callers.data());

    const Value lasting = Value::of_lasting_bytes(kEmbedded);
    EXPECT_TRUE(lasting.is(ValueKind::Bytes));
    EXPECT_EQ(lasting.bytes().data(), kEmbedded.data());
    EXPECT_EQ(lasting.bytes().size(), kEmbedded.size());

    // A copy of either shares the block rather than the caller's bytes.
    const Value again = copied;
    EXPECT_EQ(again.bytes().data(), copied.bytes().data());
    const Value lasting_again = lasting;
    EXPECT_EQ(lasting_again.bytes().data(), kEmbedded.data());

    EXPECT_TRUE(Value::of_lasting_bytes({}).bytes().empty());
    EXPECT_TRUE(Value::of_lasting_bytes({}).is(ValueKind::Bytes));
}

} // namespace
} // namespace tav
