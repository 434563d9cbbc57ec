// Loading a window of every kind: order of the first events, flags, stacking and focus.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <vector>

#include "test_window.hpp"
#include "ui/window_control.hpp"

namespace tav::test {
namespace {

TEST(LoadWindow, BuildsEveryKindSilentlyThenRaisesCreatedMovedResizedThenShows) {
    bool visible_in_created = true;
    TestProgram p;
    p.log.actions["window:Created"] = [&](auto) {
        visible_in_created = p.ws().is_visible(p.top());
        // Properties are readable from the first handler on.
        EXPECT_EQ(to_text(p.get(kLabel, 8)), Text("0"));
        return std::nullopt;
    };
    p.load();

    ASSERT_GE(p.log.entries.size(), 4u);
    EXPECT_EQ(p.log.entries[0], "window:Created");
    EXPECT_EQ(p.log.entries[1], "window:Moved");
    EXPECT_EQ(p.log.entries[2], "window:Resized");
    EXPECT_EQ(p.log.entries[3], "window:Shown");
    EXPECT_FALSE(visible_in_created);
    EXPECT_TRUE(p.ws().is_visible(p.top()));

    // Every kind is there with its flags: the edit box hidden, the timer's window never shown.
    for (std::uint32_t id : {kLabel, kButton, kSpin, kPicBtn, kPicBox, kTransLabel, kButton2})
        EXPECT_TRUE(p.ws().is_visible(p.handle(id))) << std::hex << id;
    EXPECT_FALSE(p.ws().is_visible(p.handle(kEditBox)));
    EXPECT_FALSE(p.ws().is_visible(p.handle(kTimer)));
    EXPECT_EQ(p.get_int(kEditBox, 5), 0);
    EXPECT_EQ(p.get_int(kTimer, 5), 1); // stored flag of the never-drawn timer
    EXPECT_EQ(p.runtime->find_control_by_name(kWindow, "调节器1")->kind().english_name, "Spin");

    // The stacking list: the picture button directly above the picture box.
    const auto order = p.ws().children(p.top());
    const auto pos = [&](std::uint32_t id) {
        return std::find(order.begin(), order.end(), p.handle(id)) - order.begin();
    };
    EXPECT_EQ(pos(kLabel), 0);
    EXPECT_EQ(pos(kPicBtn) + 1, pos(kPicBox));
    EXPECT_LT(pos(kPicBox), pos(kButton));

    // The window's geometry and caption as stored.
    EXPECT_EQ(p.get_int(kSelf, 2), 400);
    EXPECT_EQ(p.get_int(kSelf, 3), 300);
    EXPECT_EQ(p.backend->native(p.top())->caption, "测试");
}

TEST(LoadWindow, ACentredWindowStandsInTheMiddleOfTheScreenFromItsCreation) {
    TestProgram p([](ui::LayoutData& layout) {
        auto& self = layout.windows[0].controls[0];
        self.properties.resize(11);
        self.properties[10] = Value::of_integer(1); // StartPosition: centred
    });
    Point in_created;
    p.log.actions["window:Created"] = [&](auto) {
        in_created = {p.get_int(kSelf, 0), p.get_int(kSelf, 1)};
        return std::nullopt;
    };
    p.load();
    const Size screen = platform::HeadlessBackend::kScreenSize;
    const Point centred{(screen.width - 400) / 2, (screen.height - 300) / 2};
    EXPECT_EQ(in_created, centred);
    EXPECT_EQ((Point{p.get_int(kSelf, 0), p.get_int(kSelf, 1)}), centred);
    EXPECT_EQ(p.backend->native(p.top())->position, centred);
}

// The window's own properties from index 8 on, set in its layout entry.
std::function<void(ui::LayoutData&)> window_properties(std::vector<std::pair<int, Value>> values) {
    return [values](ui::LayoutData& layout) {
        auto& self = layout.windows[0].controls[0];
        self.properties.resize(22);
        for (const auto& [index, v] : values) self.properties[std::size_t(index - 8)] = v;
    };
}

TEST(LoadWindow, BorderStartPositionMovableAndTopMostShapeTheNativeWindow) {
    // Border 4: a fixed tool window; not movable, top-most, opened minimised.
    TestProgram tool(window_properties({{9, Value::of_integer(4)},
                                        {18, Value::of_integer(2)},
                                        {19, Value::of_bool(false)},
                                        {29, Value::of_bool(true)}}));
    tool.load();
    const auto* n = tool.backend->native(tool.top());
    ASSERT_NE(n, nullptr);
    EXPECT_TRUE(n->style.tool_window);
    EXPECT_FALSE(n->style.resizable);
    EXPECT_FALSE(n->style.client_edge);
    EXPECT_FALSE(n->style.movable);
    EXPECT_TRUE(n->style.top_most);
    EXPECT_TRUE(n->minimised);

    // Border 5: sizable with a sunken client edge; opened maximised, it takes the screen and
    // the handlers hear the new size.
    TestProgram sizable(window_properties({{9, Value::of_integer(5)}, {18, Value::of_integer(3)}}));
    sizable.load();
    sizable.backend->run_for(10);
    n = sizable.backend->native(sizable.top());
    EXPECT_TRUE(n->style.client_edge);
    EXPECT_TRUE(n->style.resizable);
    EXPECT_FALSE(n->style.tool_window);
    EXPECT_TRUE(n->style.movable);
    EXPECT_FALSE(n->style.top_most);
    EXPECT_EQ(sizable.get_int(kSelf, 2), platform::HeadlessBackend::kScreenSize.width);
    EXPECT_EQ(sizable.get_int(kSelf, 3), platform::HeadlessBackend::kScreenSize.height);
    EXPECT_EQ(sizable.log.entries.back(), "window:Resized");

    // Border 6: fixed with the edge; without a sizing frame StartPosition 3 changes nothing.
    TestProgram fixed(window_properties({{9, Value::of_integer(6)}, {18, Value::of_integer(3)}}));
    fixed.load();
    fixed.backend->run_for(10);
    n = fixed.backend->native(fixed.top());
    EXPECT_TRUE(n->style.client_edge);
    EXPECT_FALSE(n->style.resizable);
    EXPECT_EQ(n->style.start_state, platform::StartState::Normal);
    EXPECT_EQ(fixed.get_int(kSelf, 2), 400);
    EXPECT_FALSE(n->minimised);
}

TEST(LoadWindow, LoadingAgainBringsTheWindowForwardInsteadOfBuildingIt) {
    TestProgram p;
    p.load();
    const auto first = p.top();
    p.log.entries.clear();
    p.runtime->load_window(kWindow);
    EXPECT_EQ(p.top(), first);
    EXPECT_EQ(p.log.count("window:Created"), 0u);
}

} // namespace
} // namespace tav::test
