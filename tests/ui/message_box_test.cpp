// Message boxes: texts and captions, the buttons of each set and their results, Esc and the
// close box, the default button, task modality, timers running inside an open box, and long
// texts wrapped and cut to fit the screen.
#include <gtest/gtest.h>

#include "gfx/text.hpp"
#include "platform/input.hpp"
#include "test_window.hpp"
#include "ui/message_box.hpp"

namespace tav::test {
namespace {

namespace vk = platform::vk;

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override { p_.load(); }

    // Shows a box and lets `act` work it once it is open; returns the result.
    std::int32_t show(const Value& message, const Value& flags, const Value& caption,
                      std::function<void(const ui::MessageBoxInfo&)> act) {
        p_.runtime->services().message_box_opened = [this, act](const ui::MessageBoxInfo& box) {
            seen_ = box;
            main_enabled_while_open_ = p_.ws().is_enabled(p_.top());
            act(box);
        };
        return ui::show_message_box(p_.ws(), p_.runtime->services(), message, flags, caption);
    }
    // Presses the button labelled `label_utf8` with the mouse.
    std::function<void(const ui::MessageBoxInfo&)> press(std::string_view label_utf8) {
        return [this, label = gbk(label_utf8)](const ui::MessageBoxInfo& box) {
            for (const auto& b : box.buttons)
                if (b.label == label) p_.backend->click(box.window, {b.rect.x + 5, b.rect.y + 5});
        };
    }
    std::function<void(const ui::MessageBoxInfo&)> key(int vk_code) {
        return [this, vk_code](const ui::MessageBoxInfo& box) { p_.backend->press_key(box.window, vk_code); };
    }
    std::function<void(const ui::MessageBoxInfo&)> close() {
        return [this](const ui::MessageBoxInfo& box) { p_.backend->request_close(box.window); };
    }
    // Runs each action in turn on the open box.
    static std::function<void(const ui::MessageBoxInfo&)> then(std::function<void(const ui::MessageBoxInfo&)> a,
                                                               std::function<void(const ui::MessageBoxInfo&)> b) {
        return [a, b](const ui::MessageBoxInfo& box) {
            a(box);
            b(box);
        };
    }
    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (const auto& b : seen_.buttons) out.push_back(gbk_to_utf8(b.label.view()));
        return out;
    }

    TestProgram p_;
    ui::MessageBoxInfo seen_;
    bool main_enabled_while_open_ = true;
};

TEST_F(MessageBoxes, PlainBoxIsTaskModalWithOneOkButtonAndTheDefaultCaption) {
    EXPECT_EQ(show(Value::of_text(gbk("分数到顶了！")), {}, {}, press("确定")), 0);
    EXPECT_EQ(labels(), (std::vector<std::string>{"确定"}));
    EXPECT_EQ(seen_.caption, gbk("信息："));
    EXPECT_EQ(seen_.text, gbk("分数到顶了！"));
    EXPECT_EQ(seen_.style, 0x2000u);
    EXPECT_EQ(seen_.icon, 0u);
    EXPECT_FALSE(main_enabled_while_open_);
    EXPECT_TRUE(p_.ws().is_enabled(p_.top()));
    EXPECT_EQ(ui::current_message_box(p_.runtime->services()), nullptr);
    EXPECT_FALSE(p_.ws().exists(seen_.window));
    // A lone OK box also closes by Esc, with OK.
    EXPECT_EQ(show(Value::of_integer(1), Value::of_integer(0), {}, key(vk::kEscape)), 0);
}

TEST_F(MessageBoxes, EachButtonSetReturnsTheCodeOfThePressedButton) {
    const Value caption = Value::of_text(gbk("信息提示！"));
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(1), caption, press("确定")), 0);
    EXPECT_EQ(seen_.caption, gbk("信息提示！"));
    EXPECT_EQ(labels(), (std::vector<std::string>{"确定", "取消"}));
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(1), caption, press("取消")), 1);
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(1), caption, key(vk::kEscape)), 1);
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(1), caption, close()), 1);

    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(2), caption, press("中止")), 2);
    EXPECT_EQ(labels(), (std::vector<std::string>{"中止", "重试", "忽略"}));
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(2), caption, press("重试")), 3);
    // Without a Cancel button Esc and the close box do nothing.
    EXPECT_EQ(
        show(Value::of_text("m"), Value::of_integer(2), caption, then(key(vk::kEscape), then(close(), press("忽略")))),
        4);

    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(3), caption, press("是")), 5);
    EXPECT_EQ(labels(), (std::vector<std::string>{"是", "否", "取消"}));
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(3), caption, press("否")), 6);
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(3), caption, key(vk::kEscape)), 1);

    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(4), caption, press("是")), 5);
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(4), caption, then(key(vk::kEscape), press("否"))), 6);

    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(5), caption, press("重试")), 3);
    EXPECT_EQ(labels(), (std::vector<std::string>{"重试", "取消"}));
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(5), caption, key(vk::kEscape)), 1);
}

TEST_F(MessageBoxes, EnterPressesTheDefaultButton) {
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(0), {}, key(vk::kReturn)), 0);
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(0x104), {}, key(vk::kReturn)), 6); // second of Yes, No
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(0x202), {}, key(vk::kReturn)), 4); // third of A, R, I
}

TEST_F(MessageBoxes, TheDisabledWindowCannotBeClosedUnderTheBox) {
    EXPECT_EQ(show(Value::of_text("m"), {}, {},
                   then([this](const ui::MessageBoxInfo&) { p_.backend->request_close(p_.top()); }, press("确定"))),
              0);
    EXPECT_TRUE(p_.runtime->is_loaded(kWindow));
    EXPECT_EQ(p_.log.count("window:CloseQuery"), 0u);
}

TEST_F(MessageBoxes, AHeldArrowStopsRepeatingOnceItsHandlerOpensABox) {
    for (std::int32_t flags : {0, 0x1000}) {
        int adjusts = 0;
        p_.log.actions["spin:Adjust"] = [&](auto) {
            if (++adjusts == 1)
                ui::show_message_box(p_.ws(), p_.runtime->services(), Value::of_text("m"), Value::of_integer(flags),
                                     {});
            return std::nullopt;
        };
        p_.runtime->services().message_box_opened = [&](const ui::MessageBoxInfo& box) {
            // The button is released over the box; the box closes a second later.
            const std::uint64_t now = p_.ws().now_ms();
            p_.backend->schedule(now + 50, [&, box] { p_.backend->mouse_up(box.window, {5, 5}); });
            p_.backend->schedule_key(box.window, vk::kReturn, true, now + 1000);
        };
        p_.backend->mouse_down(p_.top(), TestProgram::at(kSpinRect, 10, 5));
        p_.backend->run_for(2000);
        EXPECT_EQ(adjusts, 1) << flags;
    }
}

TEST_F(MessageBoxes, SystemModalBoxGetsNoTaskModalFlagAndDisablesNothing) {
    EXPECT_EQ(show(Value::of_text("m"), Value::of_integer(0x1030), {}, press("确定")), 0);
    EXPECT_EQ(seen_.style, 0x1030u);
    EXPECT_EQ(seen_.icon, 0x30u);
    EXPECT_TRUE(main_enabled_while_open_);
}

TEST_F(MessageBoxes, MessagesOfEveryKindShowAsTheirText) {
    const auto text_of = [&](const Value& v) {
        show(v, {}, {}, press("确定"));
        return std::string(seen_.text.view());
    };
    EXPECT_EQ(text_of(Value::of_integer(42)), "42");
    EXPECT_EQ(text_of(Value::of_double(2.5)), "2.5");
    EXPECT_EQ(text_of(Value::of_bool(true)), std::string(gbk("真").view()));
    EXPECT_EQ(text_of(Value::of_bytes(std::vector<std::uint8_t>{'a', 'b'})), "");
    EXPECT_EQ(text_of(Value()), "");
    EXPECT_EQ(text_of(Value::of_text("")), "");
}

TEST_F(MessageBoxes, TimersKeepTickingAndTheirHandlersRunInsideAnOpenBox) {
    std::vector<bool> main_enabled_in_ticks;
    std::int32_t result = -1;
    p_.log.actions["timer:Tick"] = [&](auto) {
        main_enabled_in_ticks.push_back(p_.ws().is_enabled(p_.top()));
        return std::nullopt;
    };
    p_.log.actions["button:Click"] = [&](auto) {
        result = ui::show_message_box(p_.ws(), p_.runtime->services(), Value::of_text(gbk("分数不够！请先上分！")),
                                      Value::of_integer(0), Value::of_text(gbk("信息提示！")));
        p_.log.entries.push_back("after box");
        return std::nullopt;
    };
    p_.runtime->services().message_box_opened = [&](const ui::MessageBoxInfo& box) {
        p_.backend->schedule_key(box.window, vk::kReturn, true, p_.ws().now_ms() + 175);
    };
    p_.set(kTimer, 8, Value::of_integer(50));
    p_.backend->click(p_.top(), TestProgram::at(kButtonRect, 5, 5));
    p_.backend->schedule_click(p_.top(), TestProgram::at(kButtonRect, 5, 5), platform::MouseButton::Left,
                               p_.ws().now_ms() + 120);
    p_.backend->run_for(100);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(main_enabled_in_ticks, (std::vector<bool>{false, false, false}));
    const auto& e = p_.log.entries;
    const auto after = std::find(e.begin(), e.end(), "after box");
    ASSERT_NE(after, e.end());
    EXPECT_EQ(std::count(e.begin(), after, "timer:Tick"), 3);
    EXPECT_TRUE(p_.ws().is_enabled(p_.top()));
    // While the box was up the window took no clicks: only the one that opened it.
    EXPECT_EQ(p_.log.count("button:Click"), 1u);
}

// On the desktop a box is a modal dialog of the window it disables, centred on that window's
// frame, and it wears the program icon like every other top-level window.
TEST_F(MessageBoxes, BoxIsAModalDialogOfTheMainWindowCentredOnIt) {
    p_.ws().set_program_icon(Bitmap(32, 32, 0xFF102030u));
    EXPECT_EQ(p_.backend->native(p_.top())->icon, (Size{32, 32}));
    platform::HeadlessBackend::Native box;
    show(Value::of_text("m"), {}, {}, [&](const ui::MessageBoxInfo& info) {
        box = *p_.backend->native(info.window);
        p_.backend->press_key(info.window, vk::kEscape);
    });
    EXPECT_TRUE(box.style.modal_dialog);
    EXPECT_EQ(box.style.owner, p_.top());
    EXPECT_EQ(box.icon, (Size{32, 32}));
    const Rect main = p_.ws().rect(p_.top());
    EXPECT_NEAR(box.position.x + box.client.width / 2, main.x + main.width / 2, 1);
    EXPECT_NEAR(box.position.y + box.client.height / 2, main.y + main.height / 2, 1);
    // With the main window hidden there is no owner: the box is centred on the screen.
    p_.ws().show(p_.top(), false);
    show(Value::of_text("m"), {}, {}, [&](const ui::MessageBoxInfo& info) {
        box = *p_.backend->native(info.window);
        p_.backend->press_key(info.window, vk::kEscape);
    });
    EXPECT_EQ(box.style.owner, platform::kNoWindow);
    EXPECT_NEAR(box.position.x + box.client.width / 2, platform::HeadlessBackend::kScreenSize.width / 2, 1);
}

// A text wider than the box may be wraps at spaces, else between characters (never inside a
// Chinese character); one taller than the screen is cut with an ellipsis; short texts keep
// their boxes.
TEST_F(MessageBoxes, LongTextsWrapAndAreCutToFitTheScreen) {
    const Size screen = platform::HeadlessBackend::kScreenSize;
    const auto font = p_.runtime->services().fonts->stock();
    Rect frame;
    const auto open = [&](const std::string& text_gbk) {
        show(Value::of_text(Text(text_gbk)), {}, {}, [&](const ui::MessageBoxInfo& box) {
            frame = p_.ws().rect(box.window);
            p_.backend->press_key(box.window, vk::kEscape);
        });
        EXPECT_GE(frame.x, 0);
        EXPECT_GE(frame.y, 0);
        EXPECT_LE(frame.right(), screen.width);
        EXPECT_LE(frame.bottom(), screen.height);
        for (const auto& line : seen_.lines) EXPECT_LE(line_width(line, *font), seen_.text_rect.width);
    };
    const auto joined = [&](std::u32string_view between) {
        std::u32string all;
        for (std::size_t i = 0; i < seen_.lines.size(); ++i) {
            if (i > 0) all += between;
            all += seen_.lines[i];
        }
        return all;
    };

    // Short texts: the boxes they always had.
    open(std::string(gbk("分数不够！请先上分！").view()));
    EXPECT_EQ(frame.size(), (Size{164, 75}));
    EXPECT_EQ(seen_.text_rect, (Rect{12, 12, 140, 16}));
    EXPECT_EQ(seen_.lines, std::vector<std::u32string>{U"分数不够！请先上分！"});
    open(std::string(gbk("ab\r\n请选择下面图标进行押注！\nc").view()));
    EXPECT_EQ(frame.size(), (Size{192, 107}));
    EXPECT_EQ(seen_.lines, (std::vector<std::u32string>{U"ab", U"请选择下面图标进行押注！", U"c"}));

    // One long line of words wraps at its spaces into lines no wider than 3/4 of the screen.
    std::string words;
    for (int i = 0; i < 400; ++i) words += (i ? " w" : "w") + std::to_string(1000 + i);
    open(words);
    EXPECT_GT(seen_.lines.size(), 3u);
    EXPECT_LE(frame.width, screen.width * 3 / 4);
    EXPECT_GE(seen_.text_rect.height, static_cast<int>(seen_.lines.size()) * font->height());
    EXPECT_TRUE(joined(U" ") == decode_gbk_text(words)); // the wrap points are the spaces

    // Without spaces a line wraps between characters: Chinese ones whole, at odd byte offsets too.
    std::string dense = "a";
    for (int i = 0; i < 300; ++i) dense += std::string(gbk("分数不够").view()) + "xyz";
    open(dense);
    EXPECT_GT(seen_.lines.size(), 3u);
    EXPECT_TRUE(joined(U"") == decode_gbk_text(dense));
    open(std::string(3000, 'x'));
    EXPECT_GT(seen_.lines.size(), 3u);
    EXPECT_TRUE(joined(U"") == std::u32string(3000, U'x'));

    // A megabyte, in one line or in many, is cut to the screen and ends in an ellipsis; what
    // shows is the text's beginning.
    std::string huge;
    while (huge.size() < 1'000'000) huge += std::string(gbk("中文abc def ").view());
    open(huge);
    EXPECT_EQ(frame.width, screen.width * 3 / 4);
    EXPECT_GT(frame.height, screen.height * 3 / 4);
    ASSERT_FALSE(seen_.lines.empty());
    EXPECT_EQ(seen_.lines.back().back(), U'…');
    const auto without_spaces = [](std::u32string s) {
        std::erase(s, U' ');
        return s;
    };
    std::u32string shown = without_spaces(joined(U""));
    shown.pop_back();
    EXPECT_TRUE(without_spaces(decode_gbk_text(huge)).starts_with(shown));
    std::string many;
    while (many.size() < 1'000'000) many += "line\n";
    open(many);
    EXPECT_LE(seen_.lines.size() * 16, static_cast<std::size_t>(screen.height));
    EXPECT_EQ(seen_.lines.back(), U"line…");
}

} // namespace
} // namespace tav::test
