// Window background, picture boxes and picture buttons drawn through the real window system.
#include <gtest/gtest.h>

#include "drawing_window.hpp"
#include "gfx/system_colors.hpp"
#include "ui/pic_box.hpp"

namespace tav::test {
namespace {

constexpr std::uint32_t kBox = 0x16010001;
constexpr std::uint32_t kBox2 = 0x16010002;
constexpr std::uint32_t kLamp = 0x16010003;
constexpr int kPicture = 10; // PicBox Picture (global index)

// A PicBox: Border, BackColor, Picture, PictureMode.
ui::ControlTemplate pic_box(std::uint32_t id, Rect r, int border, std::int32_t back, const Bytes& picture, int mode) {
    return make(
        id, ui::kind_id::kPicBox, r,
        {Value::of_integer(border), Value::of_integer(back), Value::of_bytes(picture), Value::of_integer(mode)});
}

TEST(PicBoxDrawing, ShrinkToFitStretchAndBorderPlaceThePictureInTheClientArea) {
    const Argb blue = rgb(0, 0, 255), red = rgb(255, 0, 0);
    const std::int32_t green = color_ref(0, 200, 0);
    DrawingProgram p({pic_box(kBox, {10, 10, 65, 65}, 0, green, bmp24(gradient(65, 65)), 2),
                      pic_box(kBox2, {100, 10, 50, 50}, 0, green, solid_bmp(100, 50, blue), 2),
                      pic_box(0x16010004, {160, 10, 48, 48}, 1, green, solid_bmp(65, 65, red), 1)});

    // A picture the size of the client area is drawn unscaled at its corner.
    for (auto [x, y] : {std::pair{0, 0}, {64, 0}, {0, 64}, {64, 64}, {31, 17}})
        EXPECT_EQ(p.at(10 + x, 10 + y), rgb(std::uint8_t(x), std::uint8_t(y), 77)) << x << "," << y;

    // 100 x 50 in 50 x 50: 50 x 25 at (0, 12), the rest BackColor.
    EXPECT_EQ(p.at(100, 11 + 10), rgb(0, 200, 0));
    EXPECT_EQ(p.at(100, 12 + 10), blue);
    EXPECT_EQ(p.at(149, 36 + 10), blue);
    EXPECT_EQ(p.at(149, 37 + 10), rgb(0, 200, 0));

    // Border 1 is a 2-pixel sunken edge; the stretched picture fills the 44 x 44 inside it.
    EXPECT_EQ(p.at(160, 10), syscolor::kShadow);
    EXPECT_EQ(p.at(162, 12), red);
    EXPECT_EQ(p.at(205, 55), red);
    EXPECT_NE(p.at(206, 56), red);
}

TEST(PicBoxDrawing, ClearedPictureShowsOnlyTheBackColourAndRepaintsNeverDecodeAgain) {
    DrawingProgram p({pic_box(kBox, {10, 10, 65, 65}, 0, color_ref(0, 200, 0), solid_bmp(65, 65, rgb(255, 0, 0)), 0)});
    EXPECT_EQ(p.at(40, 40), rgb(255, 0, 0));

    // Many repaints: the picture was decoded once.
    const auto* box = dynamic_cast<ui::PicBox*>(p.control(kBox));
    ASSERT_NE(box, nullptr);
    for (int i = 0; i < 3; ++i) {
        p.ws().invalidate(p.top());
        p.paint();
    }
    EXPECT_EQ(box->picture_decodes(), 1);

    p.set(kBox, kPicture, Value::of_bytes({}));
    for (auto [x, y] : {std::pair{10, 10}, {40, 40}, {74, 74}}) EXPECT_EQ(p.at(x, y), rgb(0, 200, 0));

    // Bytes that are no picture leave the background too.
    p.set(kBox, kPicture, Value::of_bytes(Bytes{'n', 'o', 't', ' ', 'a', 'n', 'y'}));
    EXPECT_EQ(p.at(40, 40), rgb(0, 200, 0));
}

TEST(PicBtnDrawing, LampShowsThePictureThroughItsMiddleAndClicksThereReachTheBoxBeneath) {
    std::vector<std::string> events;
    auto box = pic_box(kBox, {12, 12, 65, 65}, 0, color_ref(0, 0, 0), solid_bmp(65, 65, rgb(0, 0, 255)), 2);
    box.events.push_back({-1, [&](auto) {
                              events.push_back("box:LeftDown");
                              return std::nullopt;
                          }});
    auto lamp = make(
        kLamp, ui::kind_id::kPicBtn, {10, 10, 69, 69},
        {Value::of_integer(0), Value::of_bool(false), Value::of_bytes(lamp_bmp()), {}, {}, {}, Value::of_integer(0)});
    lamp.events.push_back({0, [&](auto) {
                               events.push_back("lamp:Click");
                               return std::nullopt;
                           }});
    lamp.events.push_back({-1, [&](auto) {
                               events.push_back("lamp:LeftDown");
                               return std::nullopt;
                           }});
    DrawingProgram p({lamp, box});

    EXPECT_EQ(p.at(10, 10), rgb(255, 0, 0)); // the frame
    EXPECT_EQ(p.at(16, 40), rgb(255, 0, 0));
    EXPECT_EQ(p.at(17, 40), rgb(0, 0, 255)); // the picture through the black middle
    EXPECT_EQ(p.at(44, 44), rgb(0, 0, 255));

    p.backend->click(p.top(), {44, 44});
    p.ws().process_pending();
    EXPECT_EQ(events, std::vector<std::string>{"box:LeftDown"});

    events.clear();
    p.backend->click(p.top(), {12, 44});
    p.ws().process_pending();
    EXPECT_EQ(events, (std::vector<std::string>{"lamp:LeftDown", "lamp:Click"}));

    // Hidden, the lamp leaves no red behind; without the cut-out colour it is a full square.
    p.set(kLamp, 5, Value::of_bool(false));
    EXPECT_EQ(p.at(10, 10), syscolor::kFace);
    EXPECT_EQ(p.at(16, 40), rgb(0, 0, 255));
    p.set(kLamp, 5, Value::of_bool(true));
    p.set(kLamp, 14, Value::of_integer(static_cast<std::int32_t>(0xFF000000u)));
    EXPECT_EQ(p.at(44, 44), rgb(0, 0, 0));
}

TEST(PicBtnDrawing, StateChoosesTheImageAndRebuildsTheShapeFromIt) {
    // Normal: red with a black hole; hot: green, solid; pressed: blue; disabled: grey.
    Bitmap normal(30, 30, rgb(255, 0, 0));
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x) normal.set_pixel(x, y, rgb(0, 0, 0));
    auto button =
        make(kLamp, ui::kind_id::kPicBtn, {10, 10, 40, 40},
             {Value::of_integer(0), Value::of_bool(false), Value::of_bytes(bmp24(normal)),
              Value::of_bytes(solid_bmp(30, 30, rgb(0, 255, 0))), Value::of_bytes(solid_bmp(30, 30, rgb(0, 0, 255))),
              Value::of_bytes(solid_bmp(30, 30, rgb(90, 90, 90))), Value::of_integer(0)});
    DrawingProgram p({button});
    const auto btn = p.control(kLamp)->handle();
    EXPECT_EQ(p.at(10, 10), rgb(255, 0, 0));
    EXPECT_EQ(p.at(25, 25), syscolor::kFace); // the cut-out shows the window
    EXPECT_NE(p.ws().window_at(p.top(), {25, 25}), btn);
    EXPECT_NE(p.ws().window_at(p.top(), {45, 45}), btn); // beyond the image: not the button

    p.backend->mouse_move(p.top(), {12, 12});
    p.ws().process_pending();
    EXPECT_EQ(p.at(25, 25), rgb(0, 255, 0)); // hot image, its own solid shape
    p.backend->mouse_down(p.top(), {12, 12});
    p.ws().process_pending();
    EXPECT_EQ(p.at(25, 25), rgb(0, 0, 255));
    p.backend->mouse_up(p.top(), {12, 12});
    p.backend->mouse_move(p.top(), {200, 200});
    p.ws().process_pending();
    EXPECT_EQ(p.at(12, 12), rgb(255, 0, 0));

    p.set(kLamp, 6, Value::of_bool(true));
    EXPECT_EQ(p.at(25, 25), rgb(90, 90, 90));
}

TEST(PicBtnDrawing, ButtonWithoutDrawableImagePaintsBlackAndIsNotCutOut) {
    auto lamp = make(kLamp, ui::kind_id::kPicBtn, {10, 10, 40, 40},
                     {Value::of_integer(0),
                      Value::of_bool(false),
                      Value::of_bytes(Bytes{'x', 'x', 'x', 'x', 'x', 'x', 'x'}),
                      {},
                      {},
                      {},
                      Value::of_integer(0)});
    DrawingProgram p({lamp});
    EXPECT_EQ(p.at(10, 10), rgb(0, 0, 0));
    EXPECT_EQ(p.at(49, 49), rgb(0, 0, 0));
    EXPECT_EQ(p.ws().window_at(p.top(), {30, 30}), p.control(kLamp)->handle());
}

TEST(WindowBackground, ModesLayThePictureOutOverTheClipBox) {
    const Argb red = rgb(255, 0, 0);
    const std::int32_t grey = color_ref(50, 50, 50);
    auto window = [&](int mode, const Bytes& pic) {
        return std::vector<Value>{Value::of_text("T"), Value::of_integer(2), Value::of_integer(grey),
                                  Value::of_bytes(pic), Value::of_integer(mode)};
    };
    {
        // 3: stretched over the whole client area, whatever the picture's size.
        DrawingProgram p({}, window(3, solid_bmp(7, 5, red)));
        const Size c = p.ws().client_size(p.top());
        for (auto [x, y] : {std::pair{0, 0}, {c.width - 1, c.height - 1}, {c.width / 2, 3}}) EXPECT_EQ(p.at(x, y), red);
    }
    {
        // 0: natural size at the corner, BackColor around it.
        DrawingProgram p({}, window(0, solid_bmp(20, 10, red)));
        EXPECT_EQ(p.at(19, 9), red);
        EXPECT_EQ(p.at(20, 9), rgb(50, 50, 50));
        EXPECT_EQ(p.at(19, 10), rgb(50, 50, 50));
    }
    {
        // 1: tiled from the corner.
        Bitmap tile(4, 4, red);
        tile.set_pixel(0, 0, rgb(0, 0, 255));
        DrawingProgram p({}, window(1, bmp24(tile)));
        EXPECT_EQ(p.at(8, 12), rgb(0, 0, 255));
        EXPECT_EQ(p.at(9, 12), red);
    }
    {
        // 2: shrunk to fit and centred: 600 x 100 in 300 x 240 is 300 x 50 at y = 95.
        DrawingProgram p({}, window(2, solid_bmp(600, 100, red)));
        ASSERT_EQ(p.ws().client_size(p.top()), (Size{300, 240}));
        EXPECT_EQ(p.at(150, 94), rgb(50, 50, 50));
        EXPECT_EQ(p.at(150, 95), red);
        EXPECT_EQ(p.at(150, 144), red);
        EXPECT_EQ(p.at(150, 145), rgb(50, 50, 50));
        // Changing BackPictureMode repaints at once.
        p.set(kSelf, 12, Value::of_integer(3));
        EXPECT_EQ(p.at(150, 10), red);
    }
}

} // namespace
} // namespace tav::test
