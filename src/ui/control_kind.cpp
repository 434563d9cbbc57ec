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
std::unique_ptr<Control> Make() {
    return std::make_unique<Kind>();
}

const std::array<ControlKind, 9>& Table() {
    static const std::array<ControlKind, 9> table = {{
        {kind_id::kWindow, "窗口", "window", WindowControl::Properties(), &Make<WindowControl>},
        {kind_id::kEditBox, "编辑框", "EditBox", EditBox::Properties(), &Make<EditBox>},
        {kind_id::kPicBox, "图片框", "PicBox", PicBox::Properties(), &Make<PicBox>},
        {kind_id::kLabel, "标签", "Label", Label::Properties(), &Make<Label>},
        {kind_id::kButton, "按钮", "Button", Button::Properties(), &Make<Button>},
        {kind_id::kSpin, "调节器", "Spin", Spin::Properties(), &Make<Spin>},
        {kind_id::kTimer, "时钟", "Timer", Timer::Properties(), &Make<Timer>},
        {kind_id::kPicBtn, "图形按钮", "PicBtn", PicBtn::Properties(), &Make<PicBtn>},
        {kind_id::kTransLabel, "透明标签", "TransLabel", TransLabel::Properties(), &Make<TransLabel>},
    }};
    return table;
}

} // namespace

const ControlKind* FindKind(std::uint32_t id) {
    const auto& table = Table();
    const auto it = std::find_if(table.begin(), table.end(), [id](const ControlKind& k) { return k.id == id; });
    return it == table.end() ? nullptr : &*it;
}

std::span<const ControlKind> AllKinds() { return Table(); }

} // namespace tav::ui
