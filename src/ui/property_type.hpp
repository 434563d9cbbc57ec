#pragma once
// Property value types, the description of one numbered property, and how values are
// brought into a property's stored form and handed back out.

#include <array>
#include <cstdint>
#include <limits>
#include <span>
#include <string_view>

#include "core/value.hpp"

namespace tav::ui {

// The value type of a property, with the code the kind tables store.
enum class PropertyType : std::uint16_t {
    Int = 1001,
    Double = 1002,
    Bool = 1003,
    DateTime = 1004,
    Text = 1005,
    PickInt = 1006,
    Picture = 1009,
    Icon = 1010,
    Cursor = 1011,
    Music = 1012,
    Font = 1013,
    Color = 1014,
    ColorOrNone = 1015,
    FileName = 1016,
    ColorOrDefault = 1017,
    DataSource = 1018,
    DataColumn = 1020,
};

// The colour marker for "no colour" (ColorOrNone) or "the button-face colour" (ColorOrDefault).
inline constexpr std::uint32_t kColorMarker = 0xFF000000u;

// One property of a kind: its type, the default an instance starts with and, for integer
// types, the range a set clamps into.
struct PropertySpec {
    PropertyType type = PropertyType::Int;
    std::int64_t default_number = 0;         // integers, colours, Bool (0/1)
    std::string_view default_text_utf8 = {}; // Text types (converted to GBK on use)
    std::int32_t low = std::numeric_limits<std::int32_t>::min();
    std::int32_t high = std::numeric_limits<std::int32_t>::max();
};

// Shorthands for the kind tables.
constexpr PropertySpec int_prop(std::int64_t def = 0) { return {PropertyType::Int, def}; }
constexpr PropertySpec int_at_least(std::int32_t low, std::int64_t def) { return {PropertyType::Int, def, {}, low}; }
constexpr PropertySpec pick_prop(std::int32_t top, std::int64_t def = 0) {
    return {PropertyType::PickInt, def, {}, 0, top};
}
constexpr PropertySpec bool_prop(bool def = false) { return {PropertyType::Bool, def ? 1 : 0}; }
constexpr PropertySpec text_prop(std::string_view def_utf8 = {}) { return {PropertyType::Text, 0, def_utf8}; }
constexpr PropertySpec typed_prop(PropertyType type, std::int64_t def = 0) { return {type, def}; }

// The common properties 0..7 of every kind.
inline constexpr int kCommonPropertyCount = 8;
enum CommonProperty : int {
    kLeft = 0,
    kTop = 1,
    kWidth = 2,
    kHeight = 3,
    kTag = 4,
    kVisible = 5,
    kDisabled = 6,
    kMousePointer = 7,
};
inline constexpr std::array<PropertySpec, kCommonPropertyCount> kCommonProperties = {
    int_prop(),  int_prop(),      int_prop(),       int_prop(),
    text_prop(), bool_prop(true), bool_prop(false), typed_prop(PropertyType::Cursor),
};

// A kind's full property table: the common properties followed by its own.
template <std::size_t N>
constexpr std::array<PropertySpec, kCommonPropertyCount + N> with_common(const std::array<PropertySpec, N>& own) {
    std::array<PropertySpec, kCommonPropertyCount + N> all{};
    for (std::size_t i = 0; i < kCommonPropertyCount; ++i) all[i] = kCommonProperties[i];
    for (std::size_t i = 0; i < N; ++i) all[kCommonPropertyCount + i] = own[i];
    return all;
}

// Common geometry limits: Left/Top are clamped into ±kGeometryLimit, Width/Height into 0..kGeometryLimit.
inline constexpr std::int32_t kGeometryLimit = 32627;

// The stored form of `value` for a property so described: integers clamped into its range,
// Bool as 0/1, texts as Text (missing → empty), byte blocks as Bytes (not a block → empty),
// fonts as 60-byte records or empty for the stock font. Never fails.
Value normalize_property(const PropertySpec& spec, const Value& value);
// What a Bool property stores for `value`, as a bool: normalize_property(bool_prop(), value)
// without the value around it (the lamp step sets twenty visibilities).
bool truth_of(const Value& value);

// The value an instance starts with.
Value default_property(const PropertySpec& spec);

// The value a get hands to the caller: empty texts and byte blocks become none (Absent),
// an empty font becomes the stock GUI font record; everything else is copied.
Value export_property(const PropertySpec& spec, const Value& stored);

// True when two stored values are the same (same kind and contents).
bool same_stored_value(const Value& a, const Value& b);

} // namespace tav::ui
