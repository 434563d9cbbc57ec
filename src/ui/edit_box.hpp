#pragma once
// Kind `EditBox`: a single-line text box. Setting Content replaces the text and raises the
// box's own change notification (ContentChanged); so does every edit typed by the user.

#include "gfx/logfont.hpp"
#include "ui/control.hpp"
#include "ui/themed_drawing.hpp"

namespace tav::ui {

class EditBox : public Control {
public:
    enum Prop : int {
        kContent = 0,
        kBorder,
        kTextColor,
        kBackColor,
        kFont,
        kMultiLine,
        kMaxLength,
        kHideSelection,
        kScrollBars,
        kAlignment,
        kInputMode,
        kPasswordChar,
        kSelStart = 16,
        kSelLength,
        kSelText,
        kDataSource,
        kDataColumn,
    };
    enum Event : int { kContentChanged = 0 };
    static constexpr int kReadOnly = 1;
    static constexpr int kPassword = 2;
    // The length limit when MaxLength is 0.
    static constexpr std::int32_t kDefaultMaxLength = 30000;

    EditBox();
    static std::span<const PropertySpec> properties();

    const Text& content() const { return prop_text(kContent); }
    LogFont font() const { return resolve_log_font(prop_bytes(kFont)); }
    std::int32_t value(Prop p) const { return prop_int(p); }
    // The selection in bytes of the content.
    std::int32_t selection_start() const { return sel_start_; }
    std::int32_t selection_length() const { return sel_length_; }

    Value get_property(int local) const override;

    void on_mouse_down(platform::MouseButton b, Point p, std::uint32_t keys) override;
    bool on_key_down(int vk, std::uint32_t keys) override;
    void on_char(std::uint32_t character) override;
    void on_enabled_changed(bool) override { repaint(); }
    // Focus changes raise GotFocus/LostFocus and show or hide the caret.
    void on_focus_in() override;
    void on_focus_out() override;
    // Paints the box, with the themed frame when that look is on (drawing/standard_controls_painting.cpp).
    void on_paint(Painter& p) override;

protected:
    platform::WindowHandle create_window(const Rect& rect) override;
    bool apply_property(int local, const Value& old) override;

private:
    // Replaces the selection with `bytes` (limited to the length limit when `typed`).
    void replace_selection(std::string_view bytes, bool typed);
    // Stores new content, then does what every content change does (content_changed).
    void set_content(std::string text);
    // After the content changed: the selection kept inside it, a repaint, the notification.
    void content_changed();
    void clamp_selection();

    std::int32_t sel_start_ = 0;
    std::int32_t sel_length_ = 0;
    ThemeRegistration theme_{*this};
};

} // namespace tav::ui
