#include "game/control_names.hpp"

#include "game/main_window_layout.hpp"

namespace tav::game {

ControlId control(std::string_view layout_name) { return ui::main_window_control_id(layout_name); }

namespace {

std::array<ControlId, 20> ids_of(const std::array<std::string_view, 20>& names) {
    std::array<ControlId, 20> ids{};
    for (std::size_t k = 0; k < names.size(); ++k) ids[k] = control(names[k]);
    return ids;
}

} // namespace

const std::array<ControlId, 20>& lamp_ids() {
    static const std::array<ControlId, 20> kIds = ids_of(kLamps);
    return kIds;
}

const std::array<ControlId, 20>& ring_picture_ids() {
    static const std::array<ControlId, 20> kIds = ids_of(kRingPictures);
    return kIds;
}

} // namespace tav::game
