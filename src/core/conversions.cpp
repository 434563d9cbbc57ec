// Values to integers and texts: full-width digits folded, 32-bit wrapping, dates and booleans in Chinese.
#include "core/conversions.hpp"

#include <charconv>
#include <string>
#include <string_view>

#include "core/calendar.hpp"
#include "core/number_format.hpp"

namespace tav {
namespace {

// GBK bytes of the words the conversions write.
constexpr std::string_view kTrueText = "\xD5\xE6";   // 真
constexpr std::string_view kFalseText = "\xBC\xD9";  // 假
constexpr std::string_view kYearText = "\xC4\xEA";   // 年
constexpr std::string_view kMonthText = "\xD4\xC2";  // 月
constexpr std::string_view kDayText = "\xC8\xD5";    // 日
constexpr std::string_view kHourText = "\xCA\xB1";   // 时
constexpr std::string_view kMinuteText = "\xB7\xD6"; // 分
constexpr std::string_view kSecondText = "\xC3\xEB"; // 秒

constexpr int kDoubleDigits = 13;
constexpr int kFloatDigits = 6;
// Room for the decimal text of any 64-bit integer.
constexpr std::size_t kIntegerTextCapacity = 24;

constexpr unsigned char kLeadBit = 0x80;
constexpr unsigned char kFullWidthLead = 0xA3;
constexpr unsigned char kSymbolLead = 0xA1;
// Reported by the fold for a pair that stays two bytes: no digit, sign or blank can follow it.
constexpr int kEndOfNumber = -1;

// Folds the GBK character at `pos` to its half-width byte, advancing `pos` past it.
// Returns kEndOfNumber at the end, for a lone trailing lead byte and for any pair copied unchanged
// (its lead byte is neither blank, sign nor digit, so the number would end there anyway).
int next_folded(std::string_view s, std::size_t& pos) {
    if (pos >= s.size()) {
        return kEndOfNumber;
    }
    const auto lead = static_cast<unsigned char>(s[pos]);
    if ((lead & kLeadBit) == 0) {
        ++pos;
        return lead;
    }
    if (pos + 1 >= s.size()) {
        pos = s.size(); // a lone lead byte at the end is dropped
        return kEndOfNumber;
    }
    const auto trail = static_cast<unsigned char>(s[pos + 1]);
    pos += 2;
    if (lead == kFullWidthLead && trail >= 0xA1 && trail <= 0xFE) {
        return trail & 0x7F;
    }
    if (lead == kSymbolLead) {
        switch (trail) {
            case 0xA1: return ' ';
            case 0xAB: return '~';
            case 0xEE:
            case 0xEF: return '*';
            default: break;
        }
    }
    return kEndOfNumber;
}

constexpr bool is_blank(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

constexpr bool is_digit(int c) { return c >= '0' && c <= '9'; }

template <typename Int>
void append_decimal(std::string& out, Int value) {
    char buffer[kIntegerTextCapacity];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

template <typename Int>
Text decimal_text(Int value) {
    char buffer[kIntegerTextCapacity];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return Text(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
}

// "Y年M月D日", then "h时m分s秒", "h时m分" or "h时" down to the last field that is not zero.
Text date_time_text(double date_time) {
    const LocalTime t = fields_from_date_time(date_time);
    std::string out;
    append_decimal(out, t.year);
    out += kYearText;
    append_decimal(out, t.month);
    out += kMonthText;
    append_decimal(out, t.day);
    out += kDayText;
    if (t.second != 0 || t.minute != 0 || t.hour != 0) {
        append_decimal(out, t.hour);
        out += kHourText;
    }
    if (t.second != 0 || t.minute != 0) {
        append_decimal(out, t.minute);
        out += kMinuteText;
    }
    if (t.second != 0) {
        append_decimal(out, t.second);
        out += kSecondText;
    }
    return Text(out);
}

// Bytes up to the first zero; Text's constructor stops there.
Text bytes_text(std::span<const std::uint8_t> bytes) {
    return Text(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

} // namespace

DecimalDigits read_decimal_digits(const Text& text) {
    const std::string_view s = text.view();
    std::size_t pos = 0;
    int c = next_folded(s, pos);
    while (is_blank(c)) {
        c = next_folded(s, pos);
    }
    DecimalDigits out;
    out.negative = c == '-';
    if (c == '-' || c == '+') {
        c = next_folded(s, pos);
    }
    while (is_digit(c)) {
        out.digits.push_back(static_cast<char>(c));
        c = next_folded(s, pos);
    }
    return out;
}

std::int32_t to_integer(const Text& text) {
    const DecimalDigits number = read_decimal_digits(text);
    // Unsigned arithmetic wraps modulo 2^32 without overflow.
    std::uint32_t value = 0;
    for (const char c : number.digits) {
        value = value * 10u + static_cast<std::uint32_t>(c - '0');
    }
    if (number.negative) {
        value = 0u - value;
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t to_integer(const Value& value) {
    switch (value.kind()) {
        case ValueKind::Byte: return value.as_byte();
        case ValueKind::Short: return value.as_short();
        case ValueKind::Integer:
        case ValueKind::Bool:
        case ValueKind::CodeRef: return value.as_integer();
        case ValueKind::Long: return static_cast<std::int32_t>(value.low_word());
        case ValueKind::Float: return truncate_to_integer(value.as_float());
        case ValueKind::Double: return truncate_to_integer(value.as_double());
        case ValueKind::Text: return to_integer(value.text());
        default: return 0;
    }
}

Text to_text(double value) { return Text(format_general(value, kDoubleDigits).view()); }

Text to_text(std::int32_t value) { return decimal_text(value); }

Text to_text(const Value& value) {
    if (value.is_array()) {
        const auto element = static_cast<std::uint32_t>(value.element_kind());
        return is_numeric_kind(element) ? bytes_text(value.bytes()) : Text();
    }
    switch (value.kind()) {
        case ValueKind::Byte: return decimal_text(static_cast<unsigned>(value.as_byte()));
        case ValueKind::Short: return decimal_text(static_cast<int>(value.as_short()));
        case ValueKind::Integer: return decimal_text(value.as_integer());
        case ValueKind::Long: return decimal_text(value.as_long());
        case ValueKind::Float: return Text(format_general(value.as_float(), kFloatDigits).view());
        case ValueKind::Double: return to_text(value.as_double());
        case ValueKind::Bool: return Text(value.as_bool() ? kTrueText : kFalseText);
        case ValueKind::DateTime: return date_time_text(value.as_double());
        case ValueKind::Text: return value.text();
        case ValueKind::Bytes: return bytes_text(value.bytes());
        default: return Text();
    }
}

std::int32_t truncate_to_integer(double value) {
    // Converting a double outside the int64 range is undefined in C++; the processor gives
    // 0x8000000000000000 there, whose low word is 0, so check first. NaN fails both tests.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (!(value >= -kTwoTo63 && value < kTwoTo63)) {
        return 0;
    }
    const auto whole = static_cast<std::int64_t>(value); // truncates toward zero
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole)));
}

int compare_text(const Text& a, const Text& b) {
    // char_traits<char> compares as unsigned char, like memcmp.
    const int order = a.view().compare(b.view());
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

} // namespace tav
