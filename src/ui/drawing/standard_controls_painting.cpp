// Button, Spin and EditBox: their state gathered for the classic or themed look.
#include <string>

#include "ui/button.hpp"
#include "ui/drawing/control_colors.hpp"
#include "ui/drawing/standard_looks.hpp"
#include "ui/edit_box.hpp"
#include "ui/spin.hpp"

namespace tav::ui {
namespace {

// One mask byte per character of a GBK text (a lead byte from 0x81 takes its trail byte along).
std::string Masked(std::string_view gbk, char mask) {
    std::string out;
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        if (static_cast<unsigned char>(gbk[i]) >= 0x81 && i + 1 < gbk.size()) ++i;
        out.push_back(mask);
    }
    return out;
}

} // namespace

void Button::on_paint(Painter& p) {
    if (!has_window()) return;
    PushButtonLook look;
    look.caption_gbk = caption().view();
    look.font = prop_bytes(kFont);
    look.halign = prop_int(kHAlign);
    look.valign = prop_int(kVAlign);
    look.enabled = system().is_enabled(handle());
    look.focused = system().focus() == handle();
    look.hot = hot_;
    look.pressed = pressed_;
    look.is_default = is_default();
    look.picture = picture_.sync(picture());
    PaintPushButton(p, system().client_size(handle()), look);
}

void Spin::on_paint(Painter& p) {
    if (!has_window()) return;
    UpDownLook look;
    look.vertical = vertical();
    look.enabled = system().is_enabled(handle());
    // The upper arrow of a vertical control and the right arrow of a horizontal one step up.
    const Arrow first = look.vertical ? Arrow::Increase : Arrow::Decrease;
    const Arrow second = look.vertical ? Arrow::Decrease : Arrow::Increase;
    look.first_pressed = pressed_arrow() == first;
    look.second_pressed = pressed_arrow() == second;
    look.first_hot = hot_arrow() == first;
    look.second_hot = hot_arrow() == second;
    PaintUpDown(p, system().client_size(handle()), look);
}

void EditBox::on_paint(Painter& p) {
    if (!has_window()) return;
    EditBoxLook look;
    const bool password = prop_int(kInputMode) == kPassword;
    std::string masked;
    if (password) {
        const auto mask = prop_text(kPasswordChar).view();
        masked = Masked(content().view(), mask.empty() ? '*' : mask.front());
        look.text_gbk = masked;
        look.sel_start = static_cast<int>(masked.size());
    } else {
        look.text_gbk = content().view();
        look.sel_start = sel_start_;
        look.sel_length = sel_length_;
    }
    look.font = prop_bytes(kFont);
    look.border = prop_int(kBorder);
    look.text_color = ResolveColor(static_cast<std::uint32_t>(prop_int(kTextColor)));
    look.back_color = ResolveColor(static_cast<std::uint32_t>(prop_int(kBackColor)));
    look.enabled = system().is_enabled(handle());
    look.read_only = prop_int(kInputMode) == kReadOnly;
    look.focused = system().focus() == handle();
    PaintEditBox(p, system().client_size(handle()), look);
}

} // namespace tav::ui
