#include "ui/label.hpp"

#include <array>

namespace tav::ui {
namespace {

constexpr PropertySpec kGrey = TypedProp(PropertyType::ColorOrNone, 0x808080);
constexpr PropertySpec kWhite = TypedProp(PropertyType::ColorOrNone, 0xFFFFFF);

constexpr auto kProperties = WithCommon(std::array<PropertySpec, 21>{
    TextProp(),                                           // 8 Caption
    PickProp(3),                                          // 9 TextEffect
    PickProp(6),                                          // 10 Border
    IntAtLeast(Label::kMinGradientBorderWidth, 8),        // 11 GradientBorderWidth
    kGrey, kWhite, kGrey,                                 // 12-14 GradientBorderColor1..3
    TypedProp(PropertyType::Font),                        // 15 Font
    TypedProp(PropertyType::Color, 0),                    // 16 TextColor
    TypedProp(PropertyType::ColorOrDefault, kColorMarker), // 17 BackColor
    TypedProp(PropertyType::Picture),                     // 18 BackPicture
    PickProp(2, 1),                                       // 19 BackPictureMode
    PickProp(8),                                          // 20 GradientBackMode
    kGrey, kWhite, kGrey,                                 // 21-23 GradientBackColor1..3
    PickProp(2),                                          // 24 HAlign
    BoolProp(false),                                      // 25 WordWrap
    PickProp(2, 1),                                       // 26 VAlign
    TypedProp(PropertyType::DataSource),                  // 27
    TypedProp(PropertyType::DataColumn),                  // 28
});

} // namespace

Label::Label() : Control(*FindKind(kind_id::kLabel)) {}

std::span<const PropertySpec> Label::Properties() { return kProperties; }

} // namespace tav::ui
