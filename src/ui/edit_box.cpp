// The EditBox kind's model and painting: content and selection, typing, arrows and Delete, password mask.
#include "ui/edit_box.hpp"

#include <algorithm>
#include <array>
#include <string>

#include "platform/input.hpp"
#include "ui/control_colors.hpp"
#include "ui/services.hpp"
#include "ui/standard_looks.hpp"

namespace tav::ui {
namespace {

constexpr auto kProperties = with_common(std::array<PropertySpec, 21>{
    text_prop(),                                        // 8 Content
    pick_prop(5, 1),                                    // 9 Border
    typed_prop(PropertyType::Color, 0),                 // 10 TextColor
    typed_prop(PropertyType::ColorOrDefault, 0xFFFFFF), // 11 BackColor
    typed_prop(PropertyType::Font),                     // 12 Font
    bool_prop(false),                                   // 13 multi-line
    int_at_least(0, 0),                                 // 14 MaxLength
    bool_prop(true),                                    // 15 hide selection
    pick_prop(3),                                       // 16 scroll bars
    pick_prop(2),                                       // 17 alignment
    pick_prop(11),                                      // 18 InputMode
    text_prop("*"),                                     // 19 PasswordChar
    pick_prop(2),
    pick_prop(2), // 20, 21
    int_prop(),
    int_prop(),                           // 22, 23
    int_prop(0),                          // 24 SelStart
    int_prop(0),                          // 25 SelLength
    text_prop(),                          // 26 SelText
    typed_prop(PropertyType::DataSource), // 27
    typed_prop(PropertyType::DataColumn), // 28
});

std::int32_t length(const Text& t) { return static_cast<std::int32_t>(t.size()); }

} // namespace

EditBox::EditBox() : Control(*find_kind(kind_id::kEditBox)) {}

std::span<const PropertySpec> EditBox::properties() { return kProperties; }

platform::WindowHandle EditBox::create_window(const Rect& rect) {
    theme_.join(services().themes);
    sel_start_ = prop_int(kSelStart);
    sel_length_ = prop_int(kSelLength);
    clamp_selection();
    return Control::create_window(rect);
}

void EditBox::clamp_selection() {
    const std::int32_t len = length(content());
    sel_start_ = sel_start_ < 0 ? len : std::min(sel_start_, len);
    sel_length_ = sel_length_ < 0 ? len - sel_start_ : std::min(sel_length_, len - sel_start_);
}

Value EditBox::get_property(int local) const {
    switch (local) {
        case kSelStart: return Value::of_integer(sel_start_);
        case kSelLength: return Value::of_integer(sel_length_);
        case kSelText:
            return Value::of_text(
                content().view().substr(static_cast<std::size_t>(sel_start_), static_cast<std::size_t>(sel_length_)));
        default: return Control::get_property(local);
    }
}

void EditBox::set_content(std::string text) {
    store(kContent, Value::of_text(Text(text)));
    content_changed();
}

void EditBox::content_changed() {
    clamp_selection();
    repaint();
    raise(kContentChanged);
}

bool EditBox::apply_property(int local, const Value& old) {
    switch (local) {
        case kContent:
            // Stored already, as the new text of the property.
            sel_start_ = sel_length_ = 0;
            content_changed();
            return false;
        case kSelStart:
            sel_start_ = prop_int(kSelStart);
            sel_length_ = 0;
            clamp_selection();
            return false;
        case kSelLength:
            sel_length_ = prop_int(kSelLength);
            clamp_selection();
            return false;
        case kSelText: replace_selection(prop_text(kSelText).view(), false); return false;
        case kMultiLine:
        case kScrollBars:
        case kAlignment:
        case kHideSelection:
            // Styles of the native control: a change re-creates it.
            return !same_stored_value(old, prop(local));
        default: repaint(); return false;
    }
}

void EditBox::replace_selection(std::string_view bytes, bool typed) {
    std::string text(content().view());
    const auto start = static_cast<std::size_t>(sel_start_);
    const auto len = static_cast<std::size_t>(sel_length_);
    if (typed) {
        const std::int32_t limit = prop_int(kMaxLength) > 0 ? prop_int(kMaxLength) : kDefaultMaxLength;
        const std::size_t room =
            static_cast<std::size_t>(limit) - std::min<std::size_t>(text.size() - len, static_cast<std::size_t>(limit));
        bytes = bytes.substr(0, room);
        if (bytes.empty() && len == 0) return;
    }
    text.replace(start, len, bytes);
    sel_start_ = static_cast<std::int32_t>(start + bytes.size());
    sel_length_ = 0;
    set_content(std::move(text));
}

void EditBox::on_mouse_down(platform::MouseButton b, Point, std::uint32_t) {
    if (b == platform::MouseButton::Left && has_window() && system().is_enabled(handle())) system().set_focus(handle());
}

bool EditBox::on_key_down(int vk, std::uint32_t) {
    const std::int32_t len = length(content());
    switch (vk) {
        case platform::vk::kLeft:
            sel_start_ = std::max(0, sel_start_ - 1);
            sel_length_ = 0;
            break;
        case platform::vk::kRight:
            sel_start_ = std::min(len, sel_start_ + sel_length_ + (sel_length_ ? 0 : 1));
            sel_length_ = 0;
            break;
        case platform::vk::kDelete:
            if (prop_int(kInputMode) == kReadOnly) return true;
            if (sel_length_ == 0 && sel_start_ < len) sel_length_ = 1;
            if (sel_length_ > 0) replace_selection({}, false);
            break;
        default: return false;
    }
    repaint();
    return true;
}

void EditBox::on_char(std::uint32_t character) {
    if (prop_int(kInputMode) == kReadOnly || !has_window() || !system().is_enabled(handle())) return;
    if (character == platform::vk::kBack) {
        if (sel_length_ == 0 && sel_start_ > 0) {
            --sel_start_;
            sel_length_ = 1;
        }
        if (sel_length_ > 0) replace_selection({}, false);
        return;
    }
    if (character < 0x20 || character == 0x7F) return;
    std::string bytes;
    if (character > 0xFF) bytes.push_back(static_cast<char>(character >> 8)); // a GBK pair, lead byte first
    bytes.push_back(static_cast<char>(character & 0xFF));
    replace_selection(bytes, true);
}

void EditBox::on_focus_in() {
    Control::on_focus_in();
    repaint();
}

void EditBox::on_focus_out() {
    Control::on_focus_out();
    repaint();
}

// --- Painting: The edit box's state gathered for the classic or themed look.

namespace {

// One mask byte per character of a GBK text (a lead byte from 0x81 takes its trail byte along).
std::string masked_text(std::string_view gbk, char mask) {
    std::string out;
    for (std::size_t i = 0; i < gbk.size(); ++i) {
        if (static_cast<unsigned char>(gbk[i]) >= 0x81 && i + 1 < gbk.size()) ++i;
        out.push_back(mask);
    }
    return out;
}

} // namespace

void EditBox::on_paint(Painter& p) {
    if (!has_window()) return;
    EditBoxLook look;
    const bool password = prop_int(kInputMode) == kPassword;
    std::string masked;
    if (password) {
        const auto mask = prop_text(kPasswordChar).view();
        masked = masked_text(content().view(), mask.empty() ? '*' : mask.front());
        look.text_gbk = masked;
        look.sel_start = static_cast<int>(masked.size());
    } else {
        look.text_gbk = content().view();
        look.sel_start = sel_start_;
        look.sel_length = sel_length_;
    }
    look.font = prop_bytes(kFont);
    look.border = prop_int(kBorder);
    look.text_color = resolve_color(static_cast<std::uint32_t>(prop_int(kTextColor)));
    look.back_color = resolve_color(static_cast<std::uint32_t>(prop_int(kBackColor)));
    look.enabled = system().is_enabled(handle());
    look.read_only = prop_int(kInputMode) == kReadOnly;
    look.focused = system().focus() == handle();
    look.scheme = services().themes.scheme();
    look.fonts = services().fonts.get();
    paint_edit_box(p, system().client_size(handle()), look);
}

} // namespace tav::ui
