// Message boxes: texts and captions, the buttons of each set and their results, Esc and the
// close box, the default button, task modality, and timers running inside an open box.
#include <gtest/gtest.h>

#include "platform/input.hpp"
#include "runtime/message_box.hpp"
#include "test_window.hpp"

namespace tav::test {
namespace {

namespace vk = platform::vk;

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override { p.load(); }
    void TearDown() override { SetMessageBoxOpenedHook({}); }

    // Shows a box and lets `act` work it once it is open; returns the result.
    std::int32_t show(const Value& message, const Value& flags, const Value& caption,
                      std::function<void(const MessageBoxInfo&)> act) {
        SetMessageBoxOpenedHook([this, act](const MessageBoxInfo& box) {
            seen = box;
            main_enabled_while_open = p.ws().is_enabled(p.top());
            act(box);
        });
        return ShowMessageBox(message, flags, caption);
    }
    // Presses the button labelled `label_utf8` with the mouse.
    std::function<void(const MessageBoxInfo&)> press(std::string_view label_utf8) {
        return [this, label = Gbk(label_utf8)](const MessageBoxInfo& box) {
            for (const auto& b : box.buttons)
                if (b.label == label) p.backend->click(box.window, {b.rect.x + 5, b.rect.y + 5});
        };
    }
    std::function<void(const MessageBoxInfo&)> key(int vk_code) {
        return [this, vk_code](const MessageBoxInfo& box) { p.backend->press_key(box.window, vk_code); };
    }
    std::function<void(const MessageBoxInfo&)> close() {
        return [this](const MessageBoxInfo& box) { p.backend->request_close(box.window); };
    }
    // Runs each action in turn on the open box.
    static std::function<void(const MessageBoxInfo&)> then(std::function<void(const MessageBoxInfo&)> a,
                                                           std::function<void(const MessageBoxInfo&)> b) {
        return [a, b](const MessageBoxInfo& box) { a(box); b(box); };
    }
    std::vector<std::string> labels() const {
        std::vector<std::string> out;
        for (const auto& b : seen.buttons) out.push_back(GbkToUtf8(b.label.view()));
        return out;
    }

    TestProgram p;
    MessageBoxInfo seen;
    bool main_enabled_while_open = true;
};

TEST_F(MessageBoxes, PlainBoxIsTaskModalWithOneOkButtonAndTheDefaultCaption) {
    EXPECT_EQ(show(Value::OfText(Gbk("分数到顶了！")), {}, {}, press("确定")), 0);
    EXPECT_EQ(labels(), (std::vector<std::string>{"确定"}));
    EXPECT_EQ(seen.caption, Gbk("信息："));
    EXPECT_EQ(seen.text, Gbk("分数到顶了！"));
    EXPECT_EQ(seen.style, 0x2000u);
    EXPECT_EQ(seen.icon, 0u);
    EXPECT_FALSE(main_enabled_while_open);
    EXPECT_TRUE(p.ws().is_enabled(p.top()));
    EXPECT_EQ(CurrentMessageBox(), nullptr);
    EXPECT_FALSE(p.ws().exists(seen.window));
    // A lone OK box also closes by Esc, with OK.
    EXPECT_EQ(show(Value::OfInteger(1), Value::OfInteger(0), {}, key(vk::kEscape)), 0);
}

TEST_F(MessageBoxes, EachButtonSetReturnsTheCodeOfThePressedButton) {
    const Value caption = Value::OfText(Gbk("信息提示！"));
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(1), caption, press("确定")), 0);
    EXPECT_EQ(seen.caption, Gbk("信息提示！"));
    EXPECT_EQ(labels(), (std::vector<std::string>{"确定", "取消"}));
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(1), caption, press("取消")), 1);
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(1), caption, key(vk::kEscape)), 1);
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(1), caption, close()), 1);

    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(2), caption, press("中止")), 2);
    EXPECT_EQ(labels(), (std::vector<std::string>{"中止", "重试", "忽略"}));
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(2), caption, press("重试")), 3);
    // Without a Cancel button Esc and the close box do nothing.
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(2), caption, then(key(vk::kEscape), then(close(), press("忽略")))), 4);

    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(3), caption, press("是")), 5);
    EXPECT_EQ(labels(), (std::vector<std::string>{"是", "否", "取消"}));
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(3), caption, press("否")), 6);
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(3), caption, key(vk::kEscape)), 1);

    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(4), caption, press("是")), 5);
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(4), caption, then(key(vk::kEscape), press("否"))), 6);

    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(5), caption, press("重试")), 3);
    EXPECT_EQ(labels(), (std::vector<std::string>{"重试", "取消"}));
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(5), caption, key(vk::kEscape)), 1);
}

TEST_F(MessageBoxes, EnterPressesTheDefaultButton) {
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(0), {}, key(vk::kReturn)), 0);
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(0x104), {}, key(vk::kReturn)), 6); // second of Yes, No
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(0x202), {}, key(vk::kReturn)), 4); // third of A, R, I
}

TEST_F(MessageBoxes, TheDisabledWindowCannotBeClosedUnderTheBox) {
    EXPECT_EQ(show(Value::OfText("m"), {}, {}, then([this](const MessageBoxInfo&) { p.backend->request_close(p.top()); },
                                                 press("确定"))),
              0);
    EXPECT_TRUE(p.runtime->IsLoaded(kWindow));
    EXPECT_EQ(p.log.count("window:CloseQuery"), 0u);
}

TEST_F(MessageBoxes, AHeldArrowStopsRepeatingOnceItsHandlerOpensABox) {
    for (std::int32_t flags : {0, 0x1000}) {
        int adjusts = 0;
        p.log.actions["spin:Adjust"] = [&](auto) {
            if (++adjusts == 1) ShowMessageBox(Value::OfText("m"), Value::OfInteger(flags), {});
            return std::nullopt;
        };
        SetMessageBoxOpenedHook([&](const MessageBoxInfo& box) {
            // The button is released over the box; the box closes a second later.
            const std::uint64_t now = p.ws().now_ms();
            p.backend->schedule(now + 50, [&, box] { p.backend->mouse_up(box.window, {5, 5}); });
            p.backend->schedule_key(box.window, vk::kReturn, true, now + 1000);
        });
        p.backend->mouse_down(p.top(), TestProgram::at(kSpinRect, 10, 5));
        p.backend->run_for(2000);
        EXPECT_EQ(adjusts, 1) << flags;
    }
}

TEST_F(MessageBoxes, SystemModalBoxGetsNoTaskModalFlagAndDisablesNothing) {
    EXPECT_EQ(show(Value::OfText("m"), Value::OfInteger(0x1030), {}, press("确定")), 0);
    EXPECT_EQ(seen.style, 0x1030u);
    EXPECT_EQ(seen.icon, 0x30u);
    EXPECT_TRUE(main_enabled_while_open);
}

TEST_F(MessageBoxes, MessagesOfEveryKindShowAsTheirText) {
    const auto text_of = [&](const Value& v) {
        show(v, {}, {}, press("确定"));
        return std::string(seen.text.view());
    };
    EXPECT_EQ(text_of(Value::OfInteger(42)), "42");
    EXPECT_EQ(text_of(Value::OfDouble(2.5)), "2.5");
    EXPECT_EQ(text_of(Value::OfBool(true)), std::string(Gbk("真").view()));
    EXPECT_EQ(text_of(Value::OfBytes(std::vector<std::uint8_t>{'a', 'b'})), "");
    EXPECT_EQ(text_of(Value()), "");
    EXPECT_EQ(text_of(Value::OfText("")), "");
}

TEST_F(MessageBoxes, TimersKeepTickingAndTheirHandlersRunInsideAnOpenBox) {
    std::vector<bool> main_enabled_in_ticks;
    std::int32_t result = -1;
    p.log.actions["timer:Tick"] = [&](auto) {
        main_enabled_in_ticks.push_back(p.ws().is_enabled(p.top()));
        return std::nullopt;
    };
    p.log.actions["button:Click"] = [&](auto) {
        result = ShowMessageBox(Value::OfText(Gbk("分数不够！请先上分！")), Value::OfInteger(0), Value::OfText(Gbk("信息提示！")));
        p.log.entries.push_back("after box");
        return std::nullopt;
    };
    SetMessageBoxOpenedHook([&](const MessageBoxInfo& box) {
        p.backend->schedule_key(box.window, vk::kReturn, true, p.ws().now_ms() + 175);
    });
    p.set(kTimer, 8, Value::OfInteger(50));
    p.backend->click(p.top(), TestProgram::at(kButtonRect, 5, 5));
    p.backend->schedule_click(p.top(), TestProgram::at(kButtonRect, 5, 5), platform::MouseButton::Left,
                              p.ws().now_ms() + 120);
    p.backend->run_for(100);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(main_enabled_in_ticks, (std::vector<bool>{false, false, false}));
    const auto& e = p.log.entries;
    const auto after = std::find(e.begin(), e.end(), "after box");
    ASSERT_NE(after, e.end());
    EXPECT_EQ(std::count(e.begin(), after, "timer:Tick"), 3);
    EXPECT_TRUE(p.ws().is_enabled(p.top()));
    // While the box was up the window took no clicks: only the one that opened it.
    EXPECT_EQ(p.log.count("button:Click"), 1u);
}

} // namespace
} // namespace tav::test
