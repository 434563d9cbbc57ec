// Coercing values to each property type (clamped, converted or emptied), the defaults, the values read back.
#include "ui/property_type.hpp"

#include <algorithm>

#include "core/conversions.hpp"
#include "core/gbk.hpp"
#include "gfx/logfont.hpp"

namespace tav::ui {
namespace {

std::int32_t clamp(const PropertySpec& spec, std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, spec.low, spec.high));
}

double real(const Value& v) {
    switch (v.kind()) {
        case ValueKind::Float: return v.as_float();
        case ValueKind::Double:
        case ValueKind::DateTime: return v.as_double();
        case ValueKind::Long: return static_cast<double>(v.as_long());
        default: return to_integer(v);
    }
}

std::int64_t integer64(const Value& v) {
    if (v.is(ValueKind::Long)) return v.as_long();
    return to_integer(v);
}

bool is_text_type(PropertyType t) {
    return t == PropertyType::Text || t == PropertyType::FileName || t == PropertyType::DataSource ||
           t == PropertyType::DataColumn;
}

bool is_block_type(PropertyType t) {
    return t == PropertyType::Picture || t == PropertyType::Icon || t == PropertyType::Music || t == PropertyType::Font;
}

} // namespace

// Bool by its payload, numbers by being non-zero.
bool truth_of(const Value& v) {
    switch (v.kind()) {
        case ValueKind::Bool: return v.as_bool();
        case ValueKind::Float: return v.as_float() != 0.0f;
        case ValueKind::Double:
        case ValueKind::DateTime: return v.as_double() != 0.0;
        case ValueKind::Long: return v.as_long() != 0;
        default: return to_integer(v) != 0;
    }
}

Value normalize_property(const PropertySpec& spec, const Value& value) {
    switch (spec.type) {
        case PropertyType::Int:
        case PropertyType::PickInt: return Value::of_integer(clamp(spec, integer64(value)));
        case PropertyType::Color:
        case PropertyType::ColorOrNone:
        case PropertyType::ColorOrDefault: return Value::of_integer(to_integer(value));
        case PropertyType::Bool: return Value::of_bool(truth_of(value));
        case PropertyType::Double: return Value::of_double(real(value));
        case PropertyType::DateTime: return Value::of_date_time(real(value));
        case PropertyType::Cursor:
            if (value.is(ValueKind::Bytes)) return Value::of_bytes(value.bytes());
            return Value::of_integer(to_integer(value));
        case PropertyType::Font:
            if (value.is(ValueKind::Bytes) && value.bytes().size() == kLogFontSize)
                return Value::of_bytes(value.bytes());
            return Value::of_bytes({});
        default: break;
    }
    if (is_text_type(spec.type)) {
        if (value.is(ValueKind::Text)) return value;
        if (value.absent()) return Value::of_text({});
        return Value::of_text(to_text(value));
    }
    if (is_block_type(spec.type)) {
        if (value.is(ValueKind::Bytes)) return value;
        return Value::of_bytes({});
    }
    return Value::of_integer(to_integer(value));
}

Value default_property(const PropertySpec& spec) {
    if (is_text_type(spec.type)) return Value::of_text(gbk(spec.default_text_utf8));
    if (is_block_type(spec.type)) return Value::of_bytes({});
    switch (spec.type) {
        case PropertyType::Bool: return Value::of_bool(spec.default_number != 0);
        case PropertyType::Double: return Value::of_double(static_cast<double>(spec.default_number));
        case PropertyType::DateTime: return Value::of_date_time(static_cast<double>(spec.default_number));
        default: return Value::of_integer(static_cast<std::int32_t>(spec.default_number));
    }
}

Value export_property(const PropertySpec& spec, const Value& stored) {
    if (spec.type == PropertyType::Font) {
        if (stored.bytes().size() == kLogFontSize) return stored;
        const auto record = encode_log_font(stock_gui_font());
        return Value::of_bytes(record);
    }
    if (stored.is(ValueKind::Text) && stored.text().empty()) return Value();
    if (stored.is(ValueKind::Bytes) && stored.bytes().empty()) return Value();
    return stored;
}

bool same_stored_value(const Value& a, const Value& b) {
    if (a.code() != b.code()) return false;
    if (a.is(ValueKind::Text)) return a.text() == b.text();
    if (a.is(ValueKind::Bytes)) return std::ranges::equal(a.bytes(), b.bytes());
    return a.payload() == b.payload();
}

} // namespace tav::ui
