#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "gfx/bitmap.hpp"
#include "gfx/painter.hpp"

namespace tav {
namespace {

// A bitmap viewing pixels kept elsewhere reads them in place and keeps them alive, copies
// share them, and the first change to one copy makes that copy its own: the kept pixels and
// the other copies stay as they were.
TEST(Bitmap, AViewReadsInPlaceUntilItIsChanged) {
    auto kept = std::make_shared<std::vector<Argb>>(
        std::vector<Argb>{rgb(1, 0, 0), rgb(2, 0, 0), rgb(3, 0, 0), rgb(4, 0, 0), rgb(5, 0, 0), rgb(6, 0, 0)});
    const Argb* at = kept->data();
    Bitmap view = Bitmap::viewing(3, 2, at, kept);
    std::weak_ptr<std::vector<Argb>> watch = kept;
    kept.reset(); // the view alone keeps the pixels now

    const Bitmap& read = view;
    EXPECT_EQ(read.pixels().data(), at);
    EXPECT_EQ(read.pixel(2, 1), rgb(6, 0, 0));
    EXPECT_EQ(read.row(1)[0], rgb(4, 0, 0));
    EXPECT_FALSE(read.empty());

    Bitmap copy = view;
    Painter(copy).fill_rect({0, 0, 1, 1}, rgb(9, 9, 9));
    EXPECT_EQ(copy.pixel(0, 0), rgb(9, 9, 9));
    EXPECT_EQ(copy.pixel(1, 0), rgb(2, 0, 0));
    EXPECT_EQ(read.pixel(0, 0), rgb(1, 0, 0));
    EXPECT_EQ(at[0], rgb(1, 0, 0));
    EXPECT_FALSE(watch.expired());

    view.set_pixel(1, 1, rgb(7, 7, 7));
    EXPECT_NE(std::as_const(view).pixels().data(), at);
    EXPECT_EQ(view.pixel(1, 1), rgb(7, 7, 7));
    EXPECT_EQ(view.pixel(2, 1), rgb(6, 0, 0));
    EXPECT_TRUE(watch.expired()); // neither bitmap views the kept pixels any more

    EXPECT_TRUE(Bitmap::viewing(0, 5, at, nullptr).empty());
}

} // namespace
} // namespace tav
