#include "ui/property_type.hpp"

#include <algorithm>

#include "gfx/logfont.hpp"
#include "core/conversions.hpp"
#include "core/gbk.hpp"

namespace tav::ui {
namespace {

std::int32_t Clamp(const PropertySpec& spec, std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, spec.low, spec.high));
}

double Real(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Float: return v.as_float();
    case ValueKind::Double:
    case ValueKind::DateTime: return v.as_double();
    case ValueKind::Long: return static_cast<double>(v.as_long());
    default: return ToInteger(v);
    }
}

std::int64_t Integer64(const Value& v) {
    if (v.is(ValueKind::Long)) return v.as_long();
    return ToInteger(v);
}

bool IsTextType(PropertyType t) {
    return t == PropertyType::Text || t == PropertyType::FileName || t == PropertyType::DataSource ||
           t == PropertyType::DataColumn;
}

bool IsBlockType(PropertyType t) {
    return t == PropertyType::Picture || t == PropertyType::Icon || t == PropertyType::Music ||
           t == PropertyType::Font;
}

} // namespace

// Bool by its payload, numbers by being non-zero.
bool TruthOf(const Value& v) {
    switch (v.kind()) {
    case ValueKind::Bool: return v.as_bool();
    case ValueKind::Float: return v.as_float() != 0.0f;
    case ValueKind::Double:
    case ValueKind::DateTime: return v.as_double() != 0.0;
    case ValueKind::Long: return v.as_long() != 0;
    default: return ToInteger(v) != 0;
    }
}

Value NormalizeProperty(const PropertySpec& spec, const Value& value) {
    switch (spec.type) {
    case PropertyType::Int:
    case PropertyType::PickInt: return Value::OfInteger(Clamp(spec, Integer64(value)));
    case PropertyType::Color:
    case PropertyType::ColorOrNone:
    case PropertyType::ColorOrDefault: return Value::OfInteger(ToInteger(value));
    case PropertyType::Bool: return Value::OfBool(TruthOf(value));
    case PropertyType::Double: return Value::OfDouble(Real(value));
    case PropertyType::DateTime: return Value::OfDateTime(Real(value));
    case PropertyType::Cursor:
        if (value.is(ValueKind::Bytes)) return Value::OfBytes(value.bytes());
        return Value::OfInteger(ToInteger(value));
    case PropertyType::Font:
        if (value.is(ValueKind::Bytes) && value.bytes().size() == kLogFontSize) return Value::OfBytes(value.bytes());
        return Value::OfBytes({});
    default: break;
    }
    if (IsTextType(spec.type)) {
        if (value.is(ValueKind::Text)) return value;
        if (value.absent()) return Value::OfText({});
        return Value::OfText(ToText(value));
    }
    if (IsBlockType(spec.type)) {
        if (value.is(ValueKind::Bytes)) return value;
        return Value::OfBytes({});
    }
    return Value::OfInteger(ToInteger(value));
}

Value DefaultProperty(const PropertySpec& spec) {
    if (IsTextType(spec.type)) return Value::OfText(Gbk(spec.default_text_utf8));
    if (IsBlockType(spec.type)) return Value::OfBytes({});
    switch (spec.type) {
    case PropertyType::Bool: return Value::OfBool(spec.default_number != 0);
    case PropertyType::Double: return Value::OfDouble(static_cast<double>(spec.default_number));
    case PropertyType::DateTime: return Value::OfDateTime(static_cast<double>(spec.default_number));
    default: return Value::OfInteger(static_cast<std::int32_t>(spec.default_number));
    }
}

Value ExportProperty(const PropertySpec& spec, const Value& stored) {
    if (spec.type == PropertyType::Font) {
        if (stored.bytes().size() == kLogFontSize) return stored;
        const auto record = EncodeLogFont(StockGuiFont());
        return Value::OfBytes(record);
    }
    if (stored.is(ValueKind::Text) && stored.text().empty()) return Value();
    if (stored.is(ValueKind::Bytes) && stored.bytes().empty()) return Value();
    return stored;
}

bool SameStoredValue(const Value& a, const Value& b) {
    if (a.code() != b.code()) return false;
    if (a.is(ValueKind::Text)) return a.text() == b.text();
    if (a.is(ValueKind::Bytes)) return std::ranges::equal(a.bytes(), b.bytes());
    return a.payload() == b.payload();
}

} // namespace tav::ui
