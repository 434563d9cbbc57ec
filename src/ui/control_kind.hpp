#pragma once
// The control kinds: how each is described to the runtime (names, property types in index
// order, and how to make an instance that answers the four kind operations).

#include <cstdint>
#include <memory>
#include <span>
#include <string_view>

#include "ui/property_type.hpp"

namespace tav::ui {

class Control;

// Kind ids as the layout stores them: library in the high 16 bits, place in its table below.
namespace kind_id {
inline constexpr std::uint32_t kWindow = 0x00010001;
inline constexpr std::uint32_t kEditBox = 0x00010005;
inline constexpr std::uint32_t kPicBox = 0x00010006;
inline constexpr std::uint32_t kLabel = 0x0001000A;
inline constexpr std::uint32_t kButton = 0x0001000B;
inline constexpr std::uint32_t kSpin = 0x0001001E;
inline constexpr std::uint32_t kTimer = 0x00010020;
inline constexpr std::uint32_t kPicBtn = 0x0001002D;
inline constexpr std::uint32_t kTransLabel = 0x00020005;
} // namespace kind_id

// One control kind. The first kCommonPropertyCount entries of `properties` are the common
// properties; the kind's own follow from global index 8 (local index 0).
struct ControlKind {
    std::uint32_t id = 0;
    std::string_view chinese_name; // UTF-8 (the GBK form comes from Gbk())
    std::string_view english_name;
    std::span<const PropertySpec> properties;
    std::unique_ptr<Control> (*make)() = nullptr; // a new instance, not yet created

    int property_count() const { return static_cast<int>(properties.size()); }
    int own_property_count() const { return property_count() - kCommonPropertyCount; }
    // The property description of a global index; nullptr when the kind has no such property.
    const PropertySpec* property(int global_index) const {
        if (global_index < 0 || global_index >= property_count()) return nullptr;
        return &properties[static_cast<std::size_t>(global_index)];
    }
    const PropertySpec* own_property(int local_index) const { return property(local_index + kCommonPropertyCount); }
};

// The kind of a kind id; nullptr when no such kind is available.
const ControlKind* find_kind(std::uint32_t id);

// Every available kind, in kind-id order.
std::span<const ControlKind> all_kinds();

} // namespace tav::ui
