#include "ui/drawing/font_preload.hpp"

#include <vector>

#include "platform/gfx/font.hpp"
#include "ui/control_kind.hpp"

namespace tav::ui {
namespace {

// The font values of every control of every window, in layout order. Copies share their
// blocks, and the font cache loads a record named twice only once.
std::vector<Value> FontValues(const LayoutData& layout) {
    std::vector<Value> fonts;
    for (const auto& window : layout.windows) {
        for (const auto& c : window.controls) {
            const ControlKind* kind = FindKind(c.kind);
            if (kind == nullptr) continue;
            for (std::size_t local = 0; local < c.properties.size(); ++local) {
                const PropertySpec* property = kind->own_property(static_cast<int>(local));
                if (property != nullptr && property->type == PropertyType::Font) fonts.push_back(c.properties[local]);
            }
        }
    }
    return fonts;
}

} // namespace

FontPreload::FontPreload(const LayoutData& layout)
    : worker_([fonts = FontValues(layout)] {
          SharedFonts().stock();
          for (const Value& font : fonts) SharedFonts().font(font.bytes());
      }) {}

FontPreload::~FontPreload() = default;

void FontPreload::finish() {
    if (worker_.joinable()) worker_.join();
}

} // namespace tav::ui
