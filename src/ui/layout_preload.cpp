#include "ui/layout_preload.hpp"

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

#include "gfx/font.hpp"
#include "gfx/picture_cache.hpp"
#include "gfx/text.hpp"
#include "platform/helper_process.hpp"
#include "ui/control_kind.hpp"
#include "ui/preload_transfer.hpp"
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

std::vector<Wanted> wanted_by(const LayoutData& layout) {
    std::vector<Wanted> wanted;
    for (const auto& window : layout.windows) {
        for (const auto& c : window.controls) {
            const ControlKind* kind = find_kind(c.kind);
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

// The pictures of `wanted`, in one list whose order both processes make alike: a picture's
// place in it names the picture between them.
std::vector<Value> pictures_of(const std::vector<Wanted>& wanted) {
    std::vector<Value> pictures;
    for (const Wanted& w : wanted) pictures.insert(pictures.end(), w.pictures.begin(), w.pictures.end());
    return pictures;
}

// The parts the helper hands over, in the order they are handed over. The pictures of the
// controls are wanted as the controls are made, the fonts and a window's stretched picture
// (the largest to make) only as they paint.
constexpr std::size_t kPicturesPart = 0;
constexpr std::size_t kFontsPart = 1;
constexpr std::size_t kStretchedPart = 2;

} // namespace

struct LayoutPreload::State {
    State(const std::string& helper, std::function<LayoutData()> m) : make(std::move(m)) {
        if (!helper.empty()) process.emplace(helper, std::vector<std::string>(), kAreaSize);
    }

    const LayoutData& built() {
        std::lock_guard lock(mutex);
        if (!layout) layout.emplace(make());
        return *layout;
    }
    // The bytes of the helper's part `n`, once it has handed it over.
    std::span<const std::uint8_t> made(std::size_t n) {
        std::lock_guard lock(mutex);
        return process ? process->part(n) : std::span<const std::uint8_t>();
    }

    std::function<LayoutData()> make;
    std::mutex mutex;
    std::optional<LayoutData> layout;
    std::optional<platform::HelperProcess> process;
    // The pictures taken in, held so that they stay in the cache until the controls hold them.
    std::vector<std::shared_ptr<const SharedPicture>> pictures;
    TakenIn taken;
};

LayoutPreload::LayoutPreload(const std::string& helper, std::function<LayoutData()> make, FontCache& fonts,
                             PictureCache& pictures)
    : state_(std::make_shared<State>(helper, std::move(make))) {
    if (!state_->process || !state_->process->started()) return;
    // The fills hold the state, so a lookup after this is gone still finds the helper's bytes.
    fonts.fill_before_next_lookup([state = state_](FontCache& cache) {
        const std::size_t taken = take_in_preloaded_fonts(state->made(kFontsPart), cache);
        std::lock_guard lock(state->mutex);
        state->taken.fonts = taken;
    });
    pictures.fill_before_next_lookup([state = state_](PictureCache& cache) {
        const std::vector<Wanted> wanted = wanted_by(state->built());
        const auto values = std::make_shared<const std::vector<Value>>(pictures_of(wanted));
        const auto keeper = state->process->area_keeper();
        auto taken = take_in_preloaded_pictures(state->made(kPicturesPart), cache, *values, keeper);
        // The stretched pictures are taken when first painted, from the last part.
        std::size_t place = 0;
        for (const Wanted& w : wanted) {
            for (std::size_t k = 0; k < w.pictures.size(); ++k, ++place) {
                if (!w.stretched_to) continue;
                const auto from_helper = [state, values, keeper, place]() -> std::optional<MadePicture> {
                    for (auto& [places, made] : read_preloaded_pictures(state->made(kStretchedPart), *values, keeper)) {
                        if (std::find(places.begin(), places.end(), place) == places.end()) continue;
                        std::lock_guard lock(state->mutex);
                        ++state->taken.stretched;
                        return std::move(made);
                    }
                    return std::nullopt;
                };
                taken.push_back(cache.adopt_later((*values)[place], from_helper));
            }
        }
        std::lock_guard lock(state->mutex);
        state->taken.pictures = taken.size();
        state->pictures = std::move(taken);
    });
}

LayoutPreload::~LayoutPreload() { finish(); }

const LayoutData& LayoutPreload::layout() { return state_->built(); }

LayoutPreload::TakenIn LayoutPreload::taken_in() const {
    std::lock_guard lock(state_->mutex);
    return state_->taken;
}

void LayoutPreload::finish() {
    std::lock_guard lock(state_->mutex);
    if (state_->process) state_->process->stop();
}

void preload_layout(const LayoutData& layout, std::span<std::uint8_t> area,
                    const std::function<bool(std::size_t end)>& hand_over, FontCache& fonts, PictureCache& cache) {
    const std::vector<Wanted> wanted = wanted_by(layout);
    std::vector<PlacedPicture> pictures, stretched;
    std::vector<Size> stretched_to;
    std::size_t place = 0;
    for (const Wanted& w : wanted) {
        for (const Value& bytes : w.pictures) {
            auto picture = cache.picture(bytes);
            if (w.stretched_to) {
                stretched.push_back({place++, std::move(picture)});
                stretched_to.push_back(*w.stretched_to);
            } else {
                picture->image();
                pictures.push_back({place++, std::move(picture)});
            }
        }
    }
    std::size_t end = write_preloaded_pictures(area, pictures);
    if (!hand_over(end)) return;

    fonts.stock();
    for (const Wanted& w : wanted) {
        for (const Value& record : w.fonts) {
            const auto font = fonts.font(record.bytes());
            for (const Text& text : w.texts)
                for (const char32_t c : decode_gbk_text(text.view())) font->glyph(c);
        }
    }
    const std::size_t font_bytes = write_preloaded_fonts(area.subspan(end), fonts);
    if (font_bytes == 0 || !hand_over(end += font_bytes)) return;

    for (std::size_t i = 0; i < stretched.size(); ++i) {
        if (stretched[i].picture->image() != nullptr) stretched[i].picture->scaled(stretched_to[i]);
    }
    if (const std::size_t size = write_preloaded_pictures(area.subspan(end), stretched); size > 0)
        hand_over(end + size);
}

} // namespace tav::ui
