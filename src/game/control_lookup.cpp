#include "game/control_names.hpp"

#include "game/main_window_layout.hpp"

namespace tav::game {

ControlId Control(std::string_view layoutName) {
    return ui::MainWindowControlId(layoutName);
}

namespace {

std::array<ControlId, 20> IdsOf(const std::array<std::string_view, 20>& names) {
    std::array<ControlId, 20> ids{};
    for (std::size_t k = 0; k < names.size(); ++k) ids[k] = Control(names[k]);
    return ids;
}

} // namespace

const std::array<ControlId, 20>& LampIds() {
    static const std::array<ControlId, 20> ids = IdsOf(kLamps);
    return ids;
}

const std::array<ControlId, 20>& RingPictureIds() {
    static const std::array<ControlId, 20> ids = IdsOf(kRingPictures);
    return ids;
}

} // namespace tav::game
