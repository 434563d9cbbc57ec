// Loading a layout's fonts and glyphs on a thread of its own.
#include "ui/font_warm_up.hpp"

#include <utility>
#include <vector>

#include "gfx/font.hpp"
#include "gfx/text.hpp"
#include "ui/control_kind.hpp"

namespace tav::ui {
namespace {

void warm_up(const LayoutData& layout, FontCache& cache) {
    cache.stock();
    for (const auto& window : layout.windows) {
        for (const auto& c : window.controls) {
            const ControlKind* kind = find_kind(c.kind);
            if (kind == nullptr) continue;
            std::vector<Value> fonts;
            std::vector<Text> texts;
            for (int local = 0; local < kind->own_property_count(); ++local) {
                const PropertySpec* property = kind->own_property(local);
                if (property == nullptr) continue;
                const auto at = static_cast<std::size_t>(local);
                const Value value = at < c.properties.size() ? c.properties[at] : Value();
                // A font left out is the stock font, which the cache gives for no record.
                if (property->type == PropertyType::Font) fonts.push_back(value);
                if (property->type == PropertyType::Text && !value.text().empty()) texts.push_back(value.text());
            }
            for (const Value& record : fonts) {
                const auto font = cache.font(record.bytes());
                for (const Text& text : texts)
                    for (const char32_t ch : decode_gbk_text(text.view())) font->glyph(ch);
            }
        }
    }
}

} // namespace

FontWarmUp::FontWarmUp(const LayoutData& layout, FontCache& fonts) {
    std::promise<bool> found;
    face_found_ = found.get_future().share();
    thread_ = std::jthread([&layout, &fonts, found = std::move(found)]() mutable {
        const bool any = tav::chinese_face_installed();
        found.set_value(any);
        if (any) warm_up(layout, fonts);
    });
}

} // namespace tav::ui
