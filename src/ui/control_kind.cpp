// The table of the nine control kinds: Chinese and English names, property lists and makers.
#include "ui/control_kind.hpp"

#include <algorithm>
#include <array>

#include "ui/button.hpp"
#include "ui/edit_box.hpp"
#include "ui/label.hpp"
#include "ui/pic_box.hpp"
#include "ui/pic_btn.hpp"
#include "ui/spin.hpp"
#include "ui/timer.hpp"
#include "ui/trans_label.hpp"
#include "ui/window_control.hpp"

namespace tav::ui {
namespace {

template <typename Kind>
std::unique_ptr<Control> make() {
    return std::make_unique<Kind>();
}

const std::array<ControlKind, 9>& kind_table() {
    static const std::array<ControlKind, 9> kTable = {{
        {kind_id::kWindow, "窗口", "window", WindowControl::properties(), &make<WindowControl>},
        {kind_id::kEditBox, "编辑框", "EditBox", EditBox::properties(), &make<EditBox>},
        {kind_id::kPicBox, "图片框", "PicBox", PicBox::properties(), &make<PicBox>},
        {kind_id::kLabel, "标签", "Label", Label::properties(), &make<Label>},
        {kind_id::kButton, "按钮", "Button", Button::properties(), &make<Button>},
        {kind_id::kSpin, "调节器", "Spin", Spin::properties(), &make<Spin>},
        {kind_id::kTimer, "时钟", "Timer", Timer::properties(), &make<Timer>},
        {kind_id::kPicBtn, "图形按钮", "PicBtn", PicBtn::properties(), &make<PicBtn>},
        {kind_id::kTransLabel, "透明标签", "TransLabel", TransLabel::properties(), &make<TransLabel>},
    }};
    return kTable;
}

} // namespace

const ControlKind* find_kind(std::uint32_t id) {
    const auto& table = kind_table();
    const auto it = std::find_if(table.begin(), table.end(), [id](const ControlKind& k) { return k.id == id; });
    return it == table.end() ? nullptr : &*it;
}

std::span<const ControlKind> all_kinds() { return kind_table(); }

} // namespace tav::ui
