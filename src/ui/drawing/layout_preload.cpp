#include "ui/drawing/layout_preload.hpp"

#include <optional>

#include "platform/gfx/font.hpp"
#include "platform/gfx/text.hpp"
#include "ui/control_kind.hpp"
#include "ui/window_control.hpp"

namespace tav::ui {
namespace {

// What one control's first paint reads: its fonts, its texts and its pictures. Values share
// their blocks, so the copies cost no bytes.
struct Wanted {
    std::vector<Value> fonts;
    std::vector<Text> texts;
    std::vector<Value> pictures;
    std::optional<Size> stretched_to; // the size a window's stretched picture is drawn at
};

std::vector<Wanted> WantedBy(const LayoutData& layout) {
    std::vector<Wanted> wanted;
    for (const auto& window : layout.windows) {
        for (const auto& c : window.controls) {
            const ControlKind* kind = FindKind(c.kind);
            if (kind == nullptr) continue;
            Wanted w;
            for (int local = 0; local < kind->own_property_count(); ++local) {
                const PropertySpec* property = kind->own_property(local);
                if (property == nullptr) continue;
                const auto at = static_cast<std::size_t>(local);
                const Value value = at < c.properties.size() ? c.properties[at] : Value();
                // A font left out is the stock font, which the font cache gives for no record.
                if (property->type == PropertyType::Font) w.fonts.push_back(value);
                if (property->type == PropertyType::Text && !value.text().empty()) w.texts.push_back(value.text());
                if (property->type == PropertyType::Picture && !value.bytes().empty()) w.pictures.push_back(value);
            }
            // A window's stretched picture is drawn scaled to its client area; on our desktops
            // that is the stored size.
            const auto mode = static_cast<std::size_t>(WindowControl::kBackPictureMode);
            if (c.kind == kind_id::kWindow && mode < c.properties.size() &&
                c.properties[mode].as_integer() == WindowControl::kStretchedPicture)
                w.stretched_to = c.rect.size();
            wanted.push_back(std::move(w));
        }
    }
    return wanted;
}

} // namespace

LayoutPreload::LayoutPreload(std::function<LayoutData()> make)
    : worker_([this, make = std::move(make)] {
          layout_.emplace(make());
          built_.count_down();
          const std::vector<Wanted> wanted = WantedBy(*layout_);
          SharedFonts().stock();
          for (const Wanted& w : wanted) {
              for (const Value& record : w.fonts) {
                  const auto font = SharedFonts().font(record.bytes());
                  for (const Text& text : w.texts)
                      for (const char32_t c : DecodeGbkText(text.view())) font->glyph(c);
              }
          }
          for (const Wanted& w : wanted) {
              for (const Value& bytes : w.pictures) {
                  auto picture = SharedPictures().picture(bytes);
                  if (picture->image() != nullptr && w.stretched_to) picture->scaled(*w.stretched_to);
                  pictures_.push_back(std::move(picture));
              }
          }
      }) {}

LayoutPreload::~LayoutPreload() = default;

const LayoutData& LayoutPreload::layout() {
    built_.wait();
    return *layout_;
}

void LayoutPreload::finish() {
    if (worker_.joinable()) worker_.join();
}

} // namespace tav::ui
