#include "ui/pic_btn.hpp"

namespace tav::ui {

// Until pictures can be decoded here every picture button is rectangular.
std::optional<Region> PicBtn::build_shape() const { return std::nullopt; }

} // namespace tav::ui
