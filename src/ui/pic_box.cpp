#include "ui/pic_box.hpp"

#include <array>

namespace tav::ui {
namespace {

constexpr auto kProperties = WithCommon(std::array<PropertySpec, 7>{
    PickProp(5),                                           // 8 Border
    TypedProp(PropertyType::ColorOrDefault, kColorMarker), // 9 BackColor
    TypedProp(PropertyType::Picture),                      // 10 Picture
    PickProp(2),                                           // 11 PictureMode
    BoolProp(true),                                        // 12 Animate
    TypedProp(PropertyType::DataSource),                   // 13
    TypedProp(PropertyType::DataColumn),                   // 14
});

} // namespace

PicBox::PicBox() : Control(*FindKind(kind_id::kPicBox)) {}

std::span<const PropertySpec> PicBox::Properties() { return kProperties; }

} // namespace tav::ui
