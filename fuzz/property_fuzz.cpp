// Sets random properties of a window holding one control of every kind to random values and
// paints after each: sizes, border widths, texts, pictures, fonts. A paint that runs away in
// time (-timeout) or memory (-rss_limit_mb, -malloc_limit_mb) or faults is a finding.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/gbk.hpp"
#include "core/value.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/logfont.hpp"
#include "platform/headless/headless_backend.hpp"
#include "runtime/runtime.hpp"
#include "ui/control_kind.hpp"
#include "ui/layout_data.hpp"
#include "ui/property_type.hpp"

namespace {

using namespace tav;

constexpr std::uint32_t kWindow = 0x52010001;
constexpr std::uint32_t kFirstControl = 0x16010001;
// The top-level window stays at most this big: a window of 32627 x 32627 is meant to end the
// program for want of memory (the runtime's tests cover that), not to be found here.
constexpr int kMaxWindowExtent = 1200;
constexpr std::size_t kMaxSteps = 48;

constexpr std::array<std::uint32_t, 8> kKinds = {
    ui::kind_id::kEditBox, ui::kind_id::kPicBox, ui::kind_id::kLabel,  ui::kind_id::kButton,
    ui::kind_id::kSpin,    ui::kind_id::kTimer,  ui::kind_id::kPicBtn, ui::kind_id::kTransLabel,
};

// Reads the fuzz input front to back; past its end everything reads as zero.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    std::int32_t word() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(byte()) << (8 * i);
        return std::int32_t(v);
    }
    // An integer drawn mostly from the values that bite: limits, clamps, huge and negative.
    std::int32_t number() {
        static constexpr std::array<std::int32_t, 16> kTelling = {
            0, 1, -1, 2, 3, 4, 5, 6, 8, 255, 32627, 40000, -40000, 2'000'000'000, INT32_MIN, INT32_MAX};
        const std::uint8_t how = byte();
        if (how < 96) return kTelling[how % kTelling.size()];
        if (how < 192) return std::int32_t(byte()) - 64;
        return word();
    }
    std::vector<std::uint8_t> bytes(std::size_t most) {
        const std::size_t n = std::min<std::size_t>(byte() | std::size_t(byte()) << 8, most);
        std::vector<std::uint8_t> out;
        while (out.size() < n && !done()) out.push_back(byte());
        return out;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A 24-bit BMP of `w` x `h` whose pixels come from `seed`.
Bytes bmp(int w, int h, std::uint8_t seed) {
    const std::size_t stride = (std::size_t(w) * 3 + 3) / 4 * 4;
    Bytes b(54 + stride * std::size_t(h), 0);
    const auto put = [&b](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + std::size_t(i)] = std::uint8_t(v >> (8 * i));
    };
    b[0] = 'B', b[1] = 'M';
    put(2, std::uint32_t(b.size())), put(10, 54), put(14, 40), put(18, std::uint32_t(w)), put(22, std::uint32_t(h));
    b[26] = 1, b[28] = 24;
    for (std::size_t i = 54; i < b.size(); ++i) b[i] = std::uint8_t(i * 37 + seed);
    return b;
}

Value picture(Input& in) {
    switch (in.byte() % 4) {
        case 0: return Value(); // clears it
        case 1: return Value::of_bytes(bmp(1 + in.byte() % 64, 1 + in.byte() % 64, in.byte()));
        case 2: return Value::of_bytes(bmp(1 + in.byte() % 4, 1 + in.byte() % 4, in.byte()));
        default: return Value::of_bytes(in.bytes(4096)); // whatever bytes: mostly no picture
    }
}

Value font(Input& in) {
    static constexpr std::array<std::string_view, 6> kFaces = {"宋体", "黑体", "楷体", "微软雅黑", "Nowhere Sans", ""};
    const std::uint8_t how = in.byte();
    if (how < 32) return Value::of_bytes(in.bytes(80)); // any length: the stock font unless 60
    const std::string face(gbk(kFaces[how % kFaces.size()]).view());
    auto record = make_log_font(face, in.number(), in.byte() % 2 ? kWeightBold : kWeightNormal, in.byte() % 2,
                                in.byte() % 2, in.byte() % 2);
    return Value::of_bytes(record);
}

Value text(Input& in) {
    static constexpr std::array<std::string_view, 4> kTexts = {"开始", "12345", "透明标签 上分 0",
                                                               "一二三四五六七八九十"};
    const std::uint8_t how = in.byte();
    if (how < 128) return Value::of_text(gbk(kTexts[how % kTexts.size()]));
    std::vector<std::uint8_t> raw = in.bytes(512);
    return Value::of_text(Text(std::string_view(reinterpret_cast<const char*>(raw.data()), raw.size())));
}

// A value of the type of `spec`.
Value value_for(const ui::PropertySpec& spec, Input& in) {
    using ui::PropertyType;
    switch (spec.type) {
        case PropertyType::Bool: return Value::of_integer(in.byte() % 3);
        case PropertyType::Double:
        case PropertyType::DateTime: return Value::of_double(double(in.number()) / 7.0);
        case PropertyType::Text:
        case PropertyType::FileName:
        case PropertyType::DataSource:
        case PropertyType::DataColumn: return text(in);
        case PropertyType::Picture:
        case PropertyType::Icon: return picture(in);
        case PropertyType::Font: return font(in);
        case PropertyType::Music: return Value(); // sounds are the sound fuzzer's
        case PropertyType::Cursor: return Value::of_integer(in.number());
        default: return Value::of_integer(in.number());
    }
}

ui::ControlTemplate make(std::uint32_t id, std::uint32_t kind, Rect rect) {
    ui::ControlTemplate c;
    c.id = id;
    c.kind = kind;
    c.name = "c" + std::to_string(id & 0xFFFF);
    c.rect = rect;
    c.visible = true;
    return c;
}

ui::LayoutData layout() {
    ui::WindowTemplate w;
    w.id = kWindow;
    auto self = make(ui::kWindowSelfControlId, ui::kind_id::kWindow, {10, 10, 320, 240});
    self.properties.push_back(Value::of_text("F"));
    w.controls.push_back(std::move(self));
    for (std::size_t i = 0; i < kKinds.size(); ++i) {
        const std::uint32_t id = kFirstControl + std::uint32_t(i);
        w.stacking.push_back(id);
        w.controls.push_back(make(id, kKinds[i], {int(i % 4) * 70, int(i / 4) * 90, 64, 80}));
    }
    ui::LayoutData l;
    l.windows.push_back(std::move(w));
    l.startup_window = kWindow;
    return l;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const ui::LayoutData kLayout = layout();
    Input in(data, size);
    Runtime runtime(kLayout, std::make_unique<platform::HeadlessBackend>());
    runtime.load_window(kWindow);
    platform::WindowSystem& ws = runtime.windows();
    const platform::WindowHandle top = runtime.window_handle_of(kWindow);
    ws.update(top);
    for (std::size_t step = 0; step < kMaxSteps && !in.done(); ++step) {
        const std::uint8_t which = in.byte() % (kKinds.size() + 1);
        const std::uint32_t id = which == kKinds.size() ? ui::kWindowSelfControlId : kFirstControl + which;
        ui::Control* control = runtime.find_control(kWindow, id);
        if (control == nullptr) break;
        const int index = in.byte() % control->kind().property_count();
        const ui::PropertySpec* spec = control->kind().property(index);
        if (spec == nullptr) continue;
        Value value = value_for(*spec, in);
        if (id == ui::kWindowSelfControlId && (index == 2 || index == 3))
            value = Value::of_integer(std::clamp(value.as_integer(), 0, kMaxWindowExtent));
        runtime.set_property(kWindow, id, index, -1, value);
        if (runtime.find_control(kWindow, id) == nullptr || !runtime.is_loaded(kWindow)) break;
        runtime.get_property(kWindow, id, index);
        ws.update(top);
    }
    return 0;
}
