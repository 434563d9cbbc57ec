// Control ids of the main window by name, and the ring's controls looked up once.

#include "game/control_names.hpp"

#include "game/main_window_layout.hpp"

namespace tav::game {

ControlId control(std::string_view layout_name) { return ui::main_window_control_id(layout_name); }

namespace {

// The ids of one control of every ring position, in ring order.
RingIds ring_ids(std::string_view board::RingPosition::*which) {
    RingIds ids{};
    for (std::size_t k = 0; k < ids.size(); ++k) ids[k] = control(board::kRing[k].*which);
    return ids;
}

} // namespace

const RingIds& lamp_ids() {
    static const RingIds kIds = ring_ids(&board::RingPosition::lamp);
    return kIds;
}

const RingIds& ring_picture_ids() {
    static const RingIds kIds = ring_ids(&board::RingPosition::picture);
    return kIds;
}

} // namespace tav::game
