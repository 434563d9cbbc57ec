#include "ui/drawing/font_preload.hpp"

#include <algorithm>
#include <vector>

#include "platform/gfx/font.hpp"
#include "ui/control_kind.hpp"

namespace tav::ui {
namespace {

// The distinct font records of every control of every window, in layout order.
std::vector<Bytes> FontRecords(const LayoutData& layout) {
    std::vector<Bytes> records;
    for (const auto& window : layout.windows) {
        for (const auto& c : window.controls) {
            const ControlKind* kind = FindKind(c.kind);
            if (kind == nullptr) continue;
            for (std::size_t local = 0; local < c.properties.size(); ++local) {
                const PropertySpec* property = kind->own_property(static_cast<int>(local));
                if (property == nullptr || property->type != PropertyType::Font) continue;
                const auto bytes = c.properties[local].bytes();
                Bytes record(bytes.begin(), bytes.end());
                if (std::ranges::find(records, record) == records.end()) records.push_back(std::move(record));
            }
        }
    }
    return records;
}

} // namespace

FontPreload::FontPreload(const LayoutData& layout)
    : worker_([records = FontRecords(layout)] {
          SharedFonts().stock();
          for (const Bytes& record : records) SharedFonts().font(record);
      }) {}

FontPreload::~FontPreload() = default;

void FontPreload::finish() {
    if (worker_.joinable()) worker_.join();
}

} // namespace tav::ui
