#include "ui/drawing/layout_preload.hpp"

#include <mutex>
#include <optional>
#include <vector>

#include "platform/helper_process.hpp"
#include "platform/gfx/font.hpp"
#include "platform/gfx/text.hpp"
#include "ui/control_kind.hpp"
#include "ui/drawing/picture_cache.hpp"
#include "ui/drawing/preload_transfer.hpp"
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

// The pictures of `wanted`, in the order the helper hands them back.
std::vector<Value> PicturesOf(const std::vector<Wanted>& wanted) {
    std::vector<Value> pictures;
    for (const Wanted& w : wanted) pictures.insert(pictures.end(), w.pictures.begin(), w.pictures.end());
    return pictures;
}

// The parts the helper hands over. The pictures are wanted as the controls are made and the
// fonts only as they paint, yet fonts first brings the first frame sooner: they take the
// helper longer to make.
constexpr std::size_t kFontsPart = 0;
constexpr std::size_t kPicturesPart = 1;

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

LayoutPreload::LayoutPreload(const std::string& helper, std::function<LayoutData()> make)
    : state_(std::make_shared<State>(helper, std::move(make))) {
    if (!state_->process || !state_->process->started()) return;
    // The fills hold the state, so a lookup after this is gone still finds the helper's bytes.
    SharedFonts().fill_before_next_lookup([state = state_](FontCache& fonts) {
        const std::size_t taken = TakeInPreloadedFonts(state->made(kFontsPart), fonts);
        std::lock_guard lock(state->mutex);
        state->taken.fonts = taken;
    });
    SharedPictures().fill_before_next_lookup([state = state_](PictureCache& cache) {
        const std::vector<Value> values = PicturesOf(WantedBy(state->built()));
        auto taken =
            TakeInPreloadedPictures(state->made(kPicturesPart), cache, values, state->process->area_keeper());
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

void PreloadLayout(const LayoutData& layout, std::span<std::uint8_t> area,
                   const std::function<bool(std::size_t end)>& hand_over) {
    const std::vector<Wanted> wanted = WantedBy(layout);
    SharedFonts().stock();
    for (const Wanted& w : wanted) {
        for (const Value& record : w.fonts) {
            const auto font = SharedFonts().font(record.bytes());
            for (const Text& text : w.texts)
                for (const char32_t c : DecodeGbkText(text.view())) font->glyph(c);
        }
    }
    const std::size_t end = WritePreloadedFonts(area, SharedFonts());
    if (!hand_over(end)) return;

    std::vector<std::shared_ptr<const SharedPicture>> pictures;
    for (const Wanted& w : wanted) {
        for (const Value& bytes : w.pictures) {
            auto picture = SharedPictures().picture(bytes);
            if (picture->image() != nullptr && w.stretched_to) picture->scaled(*w.stretched_to);
            pictures.push_back(std::move(picture));
        }
    }
    if (const std::size_t size = WritePreloadedPictures(area.subspan(end), pictures); size > 0) hand_over(end + size);
}

} // namespace tav::ui
