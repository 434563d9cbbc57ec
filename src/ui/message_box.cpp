// Message boxes: text laid out within the screen, the box window and its buttons, task modality, the loop.
#include "ui/message_box.hpp"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/conversions.hpp"
#include "core/gbk.hpp"
#include "gfx/painter.hpp"
#include "gfx/system_colors.hpp"
#include "gfx/text.hpp"
#include "platform/backend.hpp"
#include "ui/message_box_painting.hpp"
#include "ui/services.hpp"
#include "ui/standard_looks.hpp"

namespace tav::ui {
namespace {

constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;
constexpr int kMargin = 12;
constexpr int kByteWidth = 7; // a GBK byte's advance in the box font: a Chinese character is two
constexpr int kLineHeight = 16;
constexpr int kMinTextWidth = 100;
// Lines are measured in bytes no further than this: wider than any screen.
constexpr std::size_t kLongestLine = 1 << 16;
// The screen assumed when the window system cannot tell its size.
constexpr Size kFallbackScreen{1024, 768};

std::vector<int> buttons_of(std::uint32_t style) {
    switch (style & mb::kButtonsMask) {
        case mb::kOkCancel: return {kIdOk, kIdCancel};
        case mb::kAbortRetryIgnore: return {kIdAbort, kIdRetry, kIdIgnore};
        case mb::kYesNoCancel: return {kIdYes, kIdNo, kIdCancel};
        case mb::kYesNo: return {kIdYes, kIdNo};
        case mb::kRetryCancel: return {kIdRetry, kIdCancel};
        default: return {kIdOk};
    }
}

Text label_of(int id) {
    switch (id) {
        case kIdCancel: return gbk("取消");
        case kIdAbort: return gbk("中止");
        case kIdRetry: return gbk("重试");
        case kIdIgnore: return gbk("忽略");
        case kIdYes: return gbk("是");
        case kIdNo: return gbk("否");
        default: return gbk("确定");
    }
}

// Calls `visit` with each line of the text (CR LF, LF or CR end a line; a break at the very
// end starts no line) until it returns false. A GBK trail byte is never CR or LF, so the
// bytes split safely.
template <typename Visit>
void for_each_line(std::string_view text, Visit visit) {
    std::size_t start = 0;
    bool any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        any = true;
        if (!visit(text.substr(start, i - start))) return;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size() || !any) visit(text.substr(start));
}

// The most text a box shows: its message area is at most three quarters of the screen wide, as
// a desktop's own boxes are, and the whole box, frame included, at most the screen's height.
struct TextBounds {
    int width = 0;
    int height = 0;
};

// The message as the box shows it and the room it takes.
struct MessageLayout {
    std::vector<std::u32string> lines;
    int width = 0;
    int height = 0;
};

constexpr char32_t kEllipsis = U'\u2026';

// Lays `text` out in `font` within `bounds`. A line is as wide as the wider of its bytes at
// kByteWidth and its glyphs; the text is as wide as its widest line, at least kMinTextWidth,
// and lines wider than the bounds wrap. A line of the text reserves kLineHeight, a line it
// wraps into the font's height. Past the bounds' height the text is cut and its last line
// ends in an ellipsis. Only the lines that can show are decoded and measured, so a text of
// any length costs little more than one pass over its bytes.
MessageLayout layout_message(std::string_view text, const Font& font, TextBounds bounds) {
    const int font_height = std::max(1, font.height());
    const std::size_t most_lines = static_cast<std::size_t>(std::max(1, bounds.height / font_height));

    // The lines of the text that can show: every one reserves at least a line.
    std::vector<std::u32string> text_lines;
    bool more = false;
    int natural_w = 0;
    for_each_line(text, [&](std::string_view line) {
        if (text_lines.size() == most_lines) {
            more = true;
            return false;
        }
        text_lines.push_back(decode_gbk_text(line));
        const int estimate = static_cast<int>(std::min<std::size_t>(line.size(), kLongestLine)) * kByteWidth;
        // A line the estimate already puts past the bounds wraps at them: its glyphs need no measuring.
        natural_w = std::max(
            natural_w, estimate < bounds.width ? std::max(estimate, line_width(text_lines.back(), font)) : estimate);
        return true;
    });

    MessageLayout out;
    out.width = std::min(std::max(natural_w, kMinTextWidth), bounds.width);
    int texts = 0;
    bool cut = false;
    const auto height_of = [&](int text_count, std::size_t shown) {
        return std::max(text_count * kLineHeight, static_cast<int>(shown) * font_height);
    };
    for (const std::u32string& line : text_lines) {
        // One line more than fits tells that the text goes on.
        auto pieces = layout_lines(line, font, out.width, true, most_lines - out.lines.size() + 1);
        for (std::size_t i = 0; i < pieces.size(); ++i) {
            const int count = texts + (i == 0 ? 1 : 0);
            if (height_of(count, out.lines.size() + 1) > bounds.height) {
                cut = true;
                break;
            }
            texts = count;
            out.lines.push_back(std::move(pieces[i]));
        }
        if (cut) break;
    }
    if (cut || more) {
        if (out.lines.empty()) out.lines.emplace_back();
        std::u32string& last = out.lines.back();
        int w = line_width(last, font) + font.advance(kEllipsis);
        while (!last.empty() && w > out.width) {
            w -= font.advance(last.back());
            last.pop_back();
        }
        last.push_back(kEllipsis);
    }
    out.height = height_of(texts, out.lines.size());
    return out;
}

class Box;

// One push button of a box.
class BoxButton final : public platform::WindowDelegate {
public:
    BoxButton(Box& box, platform::WindowSystem& ws, Services& services, int id)
        : box_(box), ws_(ws), services_(services), id_(id) {}
    void attach(platform::WindowHandle w) { window_ = w; }

    void on_paint(Painter& p) override {
        const Text caption = label_of(id_);
        PushButtonLook look;
        look.caption_gbk = caption.view();
        look.pressed = pressed_;
        look.focused = ws_.focus() == window_;
        look.scheme = services_.themes.scheme();
        look.fonts = services_.fonts.get();
        paint_push_button(p, ws_.client_size(window_), look);
    }
    void on_focus_in() override { ws_.invalidate(window_); }
    void on_focus_out() override { ws_.invalidate(window_); }
    void on_mouse_down(platform::MouseButton b, Point, std::uint32_t) override {
        if (b != platform::MouseButton::Left) return;
        ws_.set_focus(window_);
        ws_.set_capture(window_);
        tracking_ = pressed_ = true;
        ws_.invalidate(window_);
    }
    void on_mouse_move(Point p, std::uint32_t) override {
        if (!tracking_ || pressed_ == inside(p)) return;
        pressed_ = !pressed_;
        ws_.invalidate(window_);
    }
    void on_mouse_up(platform::MouseButton b, Point p, std::uint32_t) override;
    void on_capture_lost() override { tracking_ = pressed_ = false; }
    bool on_key_down(int vk, std::uint32_t) override;
    void on_activate_key() override;

private:
    bool inside(Point p) const {
        const Size s = ws_.client_size(window_);
        return Rect{0, 0, s.width, s.height}.contains(p);
    }

    Box& box_;
    platform::WindowSystem& ws_;
    Services& services_;
    int id_;
    platform::WindowHandle window_ = platform::kNoWindow;
    bool tracking_ = false;
    bool pressed_ = false;
};

// The box window: lays out its text and buttons, ends on a button, Esc or the close box.
class Box final : public platform::WindowDelegate {
public:
    Box(platform::WindowSystem& ws, Services& services, const Text& text, const Text& caption, std::uint32_t style)
        : ws_(ws), services_(services) {
        info_.text = text;
        info_.caption = caption;
        info_.style = style;
        info_.icon = style & mb::kIconMask;
        const std::vector<int> ids = buttons_of(style);
        if (std::find(ids.begin(), ids.end(), kIdCancel) != ids.end())
            cancel_id_ = kIdCancel;
        else if (ids.size() == 1)
            cancel_id_ = kIdOk; // a lone OK box also closes by Esc
        const int wanted_default = static_cast<int>((style & mb::kDefaultButtonMask) >> 8);
        info_.default_button = wanted_default < static_cast<int>(ids.size()) ? wanted_default : 0;

        const int icon_w = info_.icon != 0 ? kBoxIconSize + kMargin : 0;
        const int count = static_cast<int>(ids.size());
        const int buttons_w = count * kButtonWidth + (count - 1) * kButtonGap;
        MessageLayout layout = layout_message(text.view(), *services_.fonts->stock(), text_bounds(icon_w));
        info_.lines = std::move(layout.lines);
        const int text_w = layout.width;
        const int text_h = layout.height;
        const int content_h = std::max(text_h, info_.icon != 0 ? kBoxIconSize : 0);
        client_.width = std::max(2 * kMargin + icon_w + text_w, 2 * kMargin + buttons_w);
        client_.height = 3 * kMargin + content_h + kButtonHeight;
        info_.text_rect = {kMargin + icon_w, kMargin + (content_h - text_h) / 2, text_w, text_h};
        int x = (client_.width - buttons_w) / 2;
        const int y = 2 * kMargin + content_h;
        for (int id : ids) {
            info_.buttons.push_back({id, label_of(id), {x, y, kButtonWidth, kButtonHeight}, platform::kNoWindow});
            x += kButtonWidth + kButtonGap;
        }
    }

    ~Box() override {
        if (info_.window != platform::kNoWindow && ws_.exists(info_.window)) ws_.destroy(info_.window);
    }

    // Shows the box, a dialog of `owner` when there is one (kNoWindow: centred on the screen).
    bool open(platform::WindowHandle owner) {
        platform::TopLevelStyle style = frame_style();
        style.owner = owner;
        info_.window = ws_.create_top_level(*this, client_, style, gbk_to_utf8(info_.caption.view()));
        if (info_.window == platform::kNoWindow) return false;
        for (auto& b : info_.buttons) {
            buttons_.push_back(std::make_unique<BoxButton>(*this, ws_, services_, b.id));
            b.window = ws_.create_child(info_.window, *buttons_.back(), b.rect);
            if (b.window == platform::kNoWindow) return false;
            buttons_.back()->attach(b.window);
            ws_.set_push_button(b.window, true);
            ws_.set_tab_stop(b.window, true);
            ws_.show(b.window, true);
        }
        ws_.show(info_.window, true);
        ws_.set_focus(info_.buttons[static_cast<std::size_t>(info_.default_button)].window);
        return true;
    }

    void finish(int id) {
        if (result_ == 0) result_ = id;
    }
    void escape() {
        if (cancel_id_ != 0) finish(cancel_id_);
    }
    bool done() const { return result_ != 0; }
    int result() const { return result_; }
    const MessageBoxInfo& info() const { return info_; }

    void on_paint(Painter& p) override {
        MessageBoxFace face;
        face.client = client_;
        face.icon = info_.icon;
        const int content_h = std::max(info_.text_rect.height, info_.icon != 0 ? kBoxIconSize : 0);
        face.icon_rect = {kMargin, kMargin + (content_h - kBoxIconSize) / 2, kBoxIconSize, kBoxIconSize};
        face.text_rect = info_.text_rect;
        face.lines = &info_.lines;
        face.button_top = info_.buttons.empty() ? client_.height : info_.buttons.front().rect.y;
        face.fonts = services_.fonts.get();
        paint_message_box(p, face);
    }
    void on_close_request() override { escape(); }
    bool on_key_down(int vk, std::uint32_t) override {
        if (vk != platform::vk::kEscape) return false;
        escape();
        return true;
    }

private:
    static platform::TopLevelStyle frame_style() {
        platform::TopLevelStyle style;
        style.title_bar = true;
        style.close_box = true;
        style.centred = true;
        style.modal_dialog = true;
        return style;
    }

    // The most room the message may take on the screen the window system reports.
    TextBounds text_bounds(int icon_w) {
        Size screen = ws_.backend().screen_size();
        if (screen.width <= 0 || screen.height <= 0) screen = kFallbackScreen;
        const Size frame = ws_.backend().frame_size(frame_style());
        const int client_w = screen.width * 3 / 4 - frame.width;
        const int client_h = screen.height - frame.height;
        return {std::max(kMinTextWidth, client_w - 2 * kMargin - icon_w),
                std::max(kLineHeight, client_h - 3 * kMargin - kButtonHeight)};
    }

    platform::WindowSystem& ws_;
    Services& services_;
    MessageBoxInfo info_;
    Size client_;
    int cancel_id_ = 0;
    int result_ = 0;
    std::vector<std::unique_ptr<BoxButton>> buttons_;
};

void BoxButton::on_mouse_up(platform::MouseButton b, Point p, std::uint32_t) {
    if (b != platform::MouseButton::Left || !tracking_) return;
    tracking_ = pressed_ = false;
    if (ws_.capture() == window_) ws_.release_capture();
    ws_.invalidate(window_);
    if (inside(p)) box_.finish(id_);
}

bool BoxButton::on_key_down(int vk, std::uint32_t keys) { return box_.on_key_down(vk, keys); }

void BoxButton::on_activate_key() { box_.finish(id_); }

// Keeps the box listed as open while it is shown.
class OpenBoxEntry {
public:
    OpenBoxEntry(Services& services, const MessageBoxInfo& info) : services_(services) {
        services_.open_message_boxes.push_back(&info);
    }
    ~OpenBoxEntry() { services_.open_message_boxes.pop_back(); }
    OpenBoxEntry(const OpenBoxEntry&) = delete;
    OpenBoxEntry& operator=(const OpenBoxEntry&) = delete;

private:
    Services& services_;
};

// The window a box belongs to on the desktop: the program's first shown, enabled top-level
// window (the one a task-modal box disables), kNoWindow when there is none.
platform::WindowHandle box_owner(platform::WindowSystem& ws) {
    for (platform::WindowHandle w : ws.top_levels()) {
        if (ws.is_visible(w) && ws.is_enabled(w)) return w;
    }
    return platform::kNoWindow;
}

// Disables the other top-level windows of the program for its lifetime (task modality).
class TaskModality {
public:
    TaskModality(platform::WindowSystem& ws, platform::WindowHandle box) : ws_(ws) {
        for (platform::WindowHandle w : ws_.top_levels()) {
            if (w == box || !ws_.is_enabled(w)) continue;
            ws_.enable(w, false);
            disabled_.push_back(w);
        }
    }
    ~TaskModality() {
        for (platform::WindowHandle w : disabled_)
            if (ws_.exists(w)) ws_.enable(w, true);
    }
    TaskModality(const TaskModality&) = delete;
    TaskModality& operator=(const TaskModality&) = delete;

private:
    platform::WindowSystem& ws_;
    std::vector<platform::WindowHandle> disabled_;
};

} // namespace

Text message_box_text(const Value& message) {
    if (is_numeric_kind(message.code()) || message.is(ValueKind::Bool) || message.is(ValueKind::DateTime) ||
        message.is(ValueKind::Text))
        return to_text(message);
    return Text();
}

int run_message_box(platform::WindowSystem& windows, Services& services, const Text& text, const Text& caption,
                    std::uint32_t style) {
    platform::WindowSystem& ws = windows;
    const platform::WindowHandle focus = ws.focus();
    Box box(ws, services, text, caption, style);
    if (!box.open(box_owner(ws))) return 0;
    OpenBoxEntry entry(services, box.info());
    std::optional<TaskModality> modality;
    if ((style & mb::kTaskModal) != 0 && (style & mb::kSystemModal) == 0) modality.emplace(ws, box.info().window);
    if (services.message_box_opened) services.message_box_opened(box.info());
    ws.run([&box] { return box.done(); });
    modality.reset();
    if (focus != platform::kNoWindow && ws.exists(focus)) ws.set_focus(focus);
    return box.result();
}

std::int32_t show_message_box(platform::WindowSystem& windows, Services& services, const Value& message,
                              const Value& flags, const Value& caption) {
    const Text text = message_box_text(message);
    const Text title = caption.absent() ? gbk("信息：") : to_text(caption);
    auto style = static_cast<std::uint32_t>(flags.absent() ? 0 : to_integer(flags));
    if ((style & mb::kSystemModal) == 0) style |= mb::kTaskModal;
    const int id = run_message_box(windows, services, text, title, style);
    return id >= kIdOk && id <= kIdNo ? id - kIdOk : 0;
}

const MessageBoxInfo* current_message_box(const Services& services) {
    return services.open_message_boxes.empty() ? nullptr : services.open_message_boxes.back();
}

} // namespace tav::ui
