// Property access by number: clamping, read-back forms, fresh copies, unknown indices.
#include <gtest/gtest.h>

#include "gfx/font.hpp"
#include "gfx/logfont.hpp"
#include "test_window.hpp"
#include "ui/label.hpp"

namespace tav::test {
namespace {

class Properties : public ::testing::Test {
protected:
    void SetUp() override { p_.load(); }
    TestProgram p_;
};

TEST_F(Properties, CommonGeometryIsClampedAndReadFromTheWindow) {
    p_.set(kLabel, 0, Value::of_integer(40000));
    EXPECT_EQ(p_.get_int(kLabel, 0), 32627);
    p_.set(kLabel, 1, Value::of_integer(-40000));
    EXPECT_EQ(p_.get_int(kLabel, 1), -32627);
    p_.set(kLabel, 2, Value::of_integer(-3));
    EXPECT_EQ(p_.get_int(kLabel, 2), 0);
    p_.set(kLabel, 3, Value::of_integer(99999));
    EXPECT_EQ(p_.get_int(kLabel, 3), 32627);

    // A move keeps the size, a resize keeps the position; both reach the platform window.
    p_.set(kButton, 0, Value::of_integer(20));
    p_.set(kButton, 3, Value::of_text("44"));
    EXPECT_EQ(p_.ws().rect(p_.handle(kButton)), (Rect{20, kButtonRect.y, kButtonRect.width, 44}));
}

TEST_F(Properties, VisibleAndDisabledActAtOnceAndReadBackAsOneOrZero) {
    p_.set(kButton, 5, Value::of_integer(0));
    EXPECT_FALSE(p_.ws().is_visible(p_.handle(kButton)));
    EXPECT_TRUE(p_.get(kButton, 5).is(ValueKind::Bool));
    EXPECT_EQ(p_.get_int(kButton, 5), 0);
    p_.set(kButton, 5, Value::of_integer(7));
    EXPECT_TRUE(p_.ws().is_visible(p_.handle(kButton)));
    EXPECT_EQ(p_.get_int(kButton, 5), 1);

    p_.set(kButton, 6, Value::of_bool(true));
    EXPECT_FALSE(p_.ws().is_enabled(p_.handle(kButton)));
    EXPECT_EQ(p_.get_int(kButton, 6), 1);

    // A Bool own property set to 7 reads back 1.
    p_.set(kPicBox, 12, Value::of_integer(7));
    EXPECT_EQ(p_.get(kPicBox, 12).low_word(), 1u);
}

TEST_F(Properties, OwnValuesAreClampedAsTheKindsSay) {
    p_.set(kLabel, 11, Value::of_integer(3)); // GradientBorderWidth
    EXPECT_EQ(p_.get_int(kLabel, 11), 5);
    p_.set(kLabel, 11, Value::of_integer(12));
    EXPECT_EQ(p_.get_int(kLabel, 11), 12);
    p_.set(kLabel, 9, Value::of_integer(9)); // TextEffect 0..3
    EXPECT_EQ(p_.get_int(kLabel, 9), 3);
    p_.set(kLabel, 24, Value::of_integer(-2)); // HAlign
    EXPECT_EQ(p_.get_int(kLabel, 24), 0);
    p_.set(kButton, 9, Value::of_integer(2)); // ButtonType 0..1
    EXPECT_EQ(p_.get_int(kButton, 9), 1);
    p_.set(kPicBtn, 8, Value::of_integer(-1)); // ButtonKind
    EXPECT_EQ(p_.get_int(kPicBtn, 8), 0);
    p_.set(kSelf, 9, Value::of_integer(100)); // window Border 0..6
    EXPECT_EQ(p_.get_int(kSelf, 9), 6);
    p_.set(kEditBox, 14, Value::of_integer(-4)); // MaxLength
    EXPECT_EQ(p_.get_int(kEditBox, 14), 0);
    p_.set(kTimer, 8, Value::of_integer(-5));
    EXPECT_EQ(p_.get_int(kTimer, 8), 0);

    // Defaults of the tables.
    EXPECT_EQ(p_.get_int(kLabel, 11 + 1), 0x808080);
    EXPECT_EQ(p_.get_int(kSpin, 8), 1);
    EXPECT_EQ(p_.get_int(kPicBtn, 14), static_cast<std::int32_t>(0xFF000000u));
    EXPECT_EQ(to_text(p_.get(kTransLabel, 8)), gbk("透明标签"));
    EXPECT_EQ(p_.get_int(kSelf, 12), 1);
}

TEST_F(Properties, EmptyTextsAndBlocksReadBackAsNoneAndCopiesAreFresh) {
    p_.set(kLabel, 8, Value::of_text(""));
    Value caption = p_.get(kLabel, 8);
    EXPECT_TRUE(caption.absent());
    free_value(caption); // none is allowed
    EXPECT_TRUE(caption.absent());
    EXPECT_TRUE(p_.get(kPicBox, 10).absent());
    EXPECT_TRUE(p_.get(kLabel, 4).absent()); // Tag

    // Absent on set: the empty text; Text written back is the caller's, the control keeps a copy.
    Value text = Value::of_text(gbk("得分"));
    p_.set(kLabel, 8, text);
    text = Value::of_text("changed");
    EXPECT_EQ(p_.get(kLabel, 8).text(), gbk("得分"));
    p_.set(kLabel, 8, Value());
    EXPECT_TRUE(p_.get(kLabel, 8).absent());

    const std::vector<std::uint8_t> picture = {'B', 'M', 1, 2, 3, 4, 5, 6};
    p_.set(kPicBox, 10, Value::of_bytes(picture));
    Value read = p_.get(kPicBox, 10);
    ASSERT_TRUE(read.is(ValueKind::Bytes));
    EXPECT_TRUE(std::ranges::equal(read.bytes(), picture));
    p_.set(kPicBox, 10, Value()); // none clears
    EXPECT_TRUE(p_.get(kPicBox, 10).absent());

    // Numbers written to a text property arrive as their text.
    p_.set(kLabel, 8, Value::of_double(2.5));
    EXPECT_EQ(p_.get(kLabel, 8).text(), Text("2.5"));
}

TEST_F(Properties, FontsOfAnyOtherLengthThanSixtyBytesAreTheStockFont) {
    const auto stock = encode_log_font(stock_gui_font());
    Value f = p_.get(kLabel, 15);
    EXPECT_TRUE(std::ranges::equal(f.bytes(), stock));
    // The record read back describes the very font the control draws with.
    const auto drawn = p_.runtime->services().fonts->stock();
    const auto described = p_.runtime->services().fonts->font(f.bytes());
    EXPECT_EQ(described->family(), drawn->family());
    EXPECT_EQ(described->height(), drawn->height());
    EXPECT_EQ(described->synthetic_bold(), drawn->synthetic_bold());

    const auto bold = make_log_font(gbk("黑体").view(), 24, kWeightBold);
    p_.set(kLabel, 15, Value::of_bytes(bold));
    EXPECT_TRUE(std::ranges::equal(p_.get(kLabel, 15).bytes(), bold));
    auto* label = static_cast<ui::Label*>(p_.runtime->find_control(kWindow, kLabel));
    EXPECT_EQ(label->font().height, -24);
    EXPECT_EQ(label->font().weight, 700);

    const std::vector<std::uint8_t> short_record(59, 1);
    p_.set(kLabel, 15, Value::of_bytes(short_record));
    EXPECT_TRUE(std::ranges::equal(p_.get(kLabel, 15).bytes(), stock));
    EXPECT_EQ(label->font(), stock_gui_font());
}

TEST_F(Properties, IndicesAKindLacksReadNoneAndIgnoreWrites) {
    for (int index : {-1, 10, 99, 1 << 20}) {
        p_.set(kTimer, index, Value::of_integer(5));
        EXPECT_TRUE(p_.get(kTimer, index).absent()) << index;
    }
    EXPECT_EQ(p_.get_int(kTimer, 8), 0);
    // The last window property (31, Text) exists; 32 does not.
    p_.set(kSelf, 31, Value::of_text("x"));
    EXPECT_EQ(p_.get(kSelf, 31).text(), Text("x"));
    p_.set(kSelf, 32, Value::of_text("x"));
    EXPECT_TRUE(p_.get(kSelf, 32).absent());
}

TEST_F(Properties, WindowCaptionChangesTheTitleAtOnce) {
    p_.set(kSelf, 8, Value::of_text(gbk("新标题")));
    EXPECT_EQ(p_.backend->native(p_.top())->caption, "新标题");
    EXPECT_EQ(p_.get(kSelf, 8).text(), gbk("新标题"));
    // Control id 0 also names the window.
    EXPECT_EQ(p_.runtime->get_property(kWindow, 0, 8).text(), gbk("新标题"));
}

TEST_F(Properties, InvisibleWindowAndEditBoxPropertiesAreKept) {
    for (int index : {21, 22, 23, 26, 27, 30}) {
        p_.set(kSelf, index, Value::of_integer(3));
        EXPECT_EQ(p_.get_int(kSelf, index), 1) << index;
    }
    p_.set(kSelf, 24, Value::of_text("a.wav"));
    EXPECT_EQ(p_.get(kSelf, 24).text(), Text("a.wav"));
    p_.set(kSelf, 25, Value::of_integer(-77));
    EXPECT_EQ(p_.get_int(kSelf, 25), -77);
    p_.set(kEditBox, 22, Value::of_integer(123));
    EXPECT_EQ(p_.get_int(kEditBox, 22), 123);
    p_.set(kEditBox, 13, Value::of_integer(2));
    EXPECT_EQ(p_.get_int(kEditBox, 13), 1);
    p_.set(kEditBox, 17, Value::of_integer(5)); // PickInt 0..2
    EXPECT_EQ(p_.get_int(kEditBox, 17), 2);
}

TEST_F(Properties, EditBoxContentRaisesItsChangeNotificationAndEditsBySelection) {
    p_.set(kEditBox, 8, Value::of_text("12"));
    EXPECT_EQ(p_.log.count("edit:ContentChanged"), 1u);
    EXPECT_EQ(p_.get(kEditBox, 8).text(), Text("12"));
    p_.set(kEditBox, 24, Value::of_integer(-1)); // caret at the end
    p_.set(kEditBox, 26, Value::of_text("34"));  // SelText replaces the (empty) selection
    EXPECT_EQ(p_.get(kEditBox, 8).text(), Text("1234"));
    p_.set(kEditBox, 24, Value::of_integer(1));
    p_.set(kEditBox, 25, Value::of_integer(-1)); // to the end
    EXPECT_EQ(p_.get(kEditBox, 26).text(), Text("234"));
}

} // namespace
} // namespace tav::test

namespace tav::test {
namespace {

// Controls are found by id however a layout numbers them: densely (the usual way), with a gap,
// with an id far from the others, or twice (the first of equal ids is the one found).
TEST(ControlIds, AreFoundWhateverTheNumbering) {
    constexpr std::uint32_t kAfterGap = 0x1601000C, kInGap = 0x1601000A, kFar = 0x7E000001;
    for (const bool far : {false, true}) {
        SCOPED_TRACE(far ? "with a far id" : "dense with a gap");
        TestProgram p([&](ui::LayoutData& layout) {
            auto& controls = layout.windows[0].controls;
            controls.push_back(
                control(kAfterGap, ui::kind_id::kLabel, "after the gap", {0, 0, 20, 20}, {Value::of_text(Text("c"))}));
            controls.push_back(
                control(kLabel, ui::kind_id::kLabel, "twice", {0, 0, 20, 20}, {Value::of_text(Text("dup"))}));
            if (far)
                controls.push_back(
                    control(kFar, ui::kind_id::kLabel, "far", {0, 0, 20, 20}, {Value::of_text(Text("f"))}));
        });
        p.load();
        EXPECT_EQ(p.get(kAfterGap, 8).text(), Text("c"));
        EXPECT_EQ(p.get(kLabel, 8).text(), Text("0"));
        EXPECT_EQ(p.runtime->find_control(kWindow, kInGap), nullptr);
        EXPECT_EQ(p.runtime->find_control(kWindow, kAfterGap + 1), nullptr);
        EXPECT_EQ(p.runtime->find_control(kWindow, kFar) != nullptr, far);
        if (far) {
            EXPECT_EQ(p.get(kFar, 8).text(), Text("f"));
        }
        // The window itself, by its own id or by 0.
        EXPECT_EQ(p.get(kSelf, 8).text(), gbk("测试"));
        EXPECT_EQ(p.get(0, 8).text(), gbk("测试"));
    }
}

} // namespace
} // namespace tav::test
