#include "game/control_names.hpp"

#include "ui/main_window_layout.hpp"

namespace tav::game {

ControlId Control(std::string_view layoutName) {
    return ui::MainWindowControlId(layoutName);
}

} // namespace tav::game
