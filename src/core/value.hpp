#pragma once
// Tagged values: what every runtime operation takes and returns.

#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tav {

// The kind of a value, with the codes that travel with every argument.
enum class ValueKind : std::uint32_t {
    Absent = 0,
    Byte = 0x80000101,
    Short = 0x80000201,
    Integer = 0x80000301,
    Long = 0x80000401,
    Float = 0x80000501,
    Double = 0x80000601,
    Bool = 0x80000002,
    DateTime = 0x80000003,
    Text = 0x80000004,
    Bytes = 0x80000005,
    CodeRef = 0x80000006,
};

// Bit 29 of a kind code marks an array of the kind the other bits name.
inline constexpr std::uint32_t kArrayBit = 0x20000000;

// True for Byte, Short, Integer, Long, Float and Double: class 0x80000000, low byte 1.
constexpr bool is_numeric_kind(std::uint32_t code) {
    return (code & 0xC0000000u) == 0x80000000u && (code & 0xFFu) == 1u && (code & kArrayBit) == 0;
}

// Storage size in bytes of a numeric kind, 0 for any other code.
constexpr std::size_t numeric_kind_size(std::uint32_t code) {
    switch (static_cast<ValueKind>(code)) {
        case ValueKind::Byte: return 1;
        case ValueKind::Short: return 2;
        case ValueKind::Integer: return 4;
        case ValueKind::Long: return 8;
        case ValueKind::Float: return 4;
        case ValueKind::Double: return 8;
        default: return 0;
    }
}

// A GBK byte string owned by its holder. A missing text and the empty text are one value;
// a text stops at its first zero byte, as a zero-terminated string does.
class Text {
public:
    Text() = default;
    Text(std::string_view gbk) : bytes_(gbk.substr(0, gbk.find('\0'))) {}
    Text(const char* gbk) : Text(gbk ? std::string_view(gbk) : std::string_view()) {}

    // The bytes without the terminator.
    std::string_view view() const noexcept { return bytes_; }
    // Zero-terminated bytes; "" for a missing text.
    const char* c_str() const noexcept { return bytes_.c_str(); }
    std::size_t size() const noexcept { return bytes_.size(); }
    bool empty() const noexcept { return bytes_.empty(); }

    friend bool operator==(const Text&, const Text&) = default;

private:
    std::string bytes_;
};

// A counted byte block, as pictures and sounds travel.
using Bytes = std::vector<std::uint8_t>;

// The immutable byte block of a Bytes or array value: a copy of its own, or a view of bytes
// that outlive every value (the program's embedded pictures and sounds), which costs no copy.
class ByteBlock {
public:
    // A block holding a copy of `b`.
    explicit ByteBlock(std::span<const std::uint8_t> b) : owned_(b.begin(), b.end()), view_(owned_) {}
    // A block viewing `b` in place; `b` must live as long as the program.
    struct Lasting {};
    ByteBlock(Lasting, std::span<const std::uint8_t> b) : view_(b) {}
    // The view refers to owned_ itself, so a block is never copied or moved.
    ByteBlock(const ByteBlock&) = delete;
    ByteBlock& operator=(const ByteBlock&) = delete;

    std::span<const std::uint8_t> bytes() const noexcept { return view_; }

private:
    const Bytes owned_;
    const std::span<const std::uint8_t> view_;
};

// One tagged value: a kind code and its payload. Text, Bytes and arrays own their storage,
// so a value returned by an operation is a fresh copy that belongs to the caller. A block is
// never changed once made, so copies of a value share it: a picture copied from one control to
// another at every lamp step costs no byte copies.
class Value {
public:
    // An Absent value: an optional argument left out.
    Value() = default;

    static Value of_byte(std::uint8_t v) { return Value(ValueKind::Byte, v); }
    static Value of_short(std::int16_t v) { return Value(ValueKind::Short, static_cast<std::uint16_t>(v)); }
    static Value of_integer(std::int32_t v) { return Value(ValueKind::Integer, static_cast<std::uint32_t>(v)); }
    static Value of_long(std::int64_t v) { return Value(ValueKind::Long, static_cast<std::uint64_t>(v)); }
    static Value of_float(float v) { return Value(ValueKind::Float, std::bit_cast<std::uint32_t>(v)); }
    static Value of_double(double v) { return Value(ValueKind::Double, std::bit_cast<std::uint64_t>(v)); }
    static Value of_bool(bool v) { return Value(ValueKind::Bool, v ? 1u : 0u); }
    // A Bool carrying its raw 32-bit payload: 0 is false, anything else true.
    static Value of_bool_bits(std::uint32_t v) { return Value(ValueKind::Bool, v); }
    static Value of_date_time(double days) { return Value(ValueKind::DateTime, std::bit_cast<std::uint64_t>(days)); }
    static Value of_code_ref(std::uint32_t v) { return Value(ValueKind::CodeRef, v); }
    static Value of_text(Text t) {
        Value v(ValueKind::Text, 0);
        v.text_ = std::move(t);
        return v;
    }
    static Value of_bytes(std::span<const std::uint8_t> b) {
        Value v(ValueKind::Bytes, 0);
        v.bytes_ = share(b);
        return v;
    }
    // A Bytes value over bytes that live as long as the program, such as an embedded asset:
    // the bytes are not copied.
    static Value of_lasting_bytes(std::span<const std::uint8_t> b) {
        Value v(ValueKind::Bytes, 0);
        if (!b.empty()) v.bytes_ = std::make_shared<const ByteBlock>(ByteBlock::Lasting{}, b);
        return v;
    }
    // An array of `element` kind; `storage` holds the elements' bytes back to back.
    static Value of_array(ValueKind element, std::span<const std::uint8_t> storage) {
        Value v;
        v.code_ = static_cast<std::uint32_t>(element) | kArrayBit;
        v.bytes_ = share(storage);
        return v;
    }
    // Any code with a raw payload, as a caller outside the known kinds may pass it.
    static Value of_raw(std::uint32_t code, std::uint64_t payload) {
        Value v;
        v.code_ = code;
        v.payload_ = payload;
        return v;
    }

    std::uint32_t code() const noexcept { return code_; }
    ValueKind kind() const noexcept { return static_cast<ValueKind>(code_); }
    bool is(ValueKind k) const noexcept { return code_ == static_cast<std::uint32_t>(k); }
    bool absent() const noexcept { return code_ == 0; }
    bool is_array() const noexcept { return (code_ & kArrayBit) != 0; }
    // The element kind of an array value.
    ValueKind element_kind() const noexcept { return static_cast<ValueKind>(code_ & ~kArrayBit); }

    // The 64-bit payload as stored (low and high words).
    std::uint64_t payload() const noexcept { return payload_; }
    std::uint32_t low_word() const noexcept { return static_cast<std::uint32_t>(payload_); }
    std::uint8_t as_byte() const noexcept { return static_cast<std::uint8_t>(payload_); }
    std::int16_t as_short() const noexcept { return static_cast<std::int16_t>(payload_); }
    std::int32_t as_integer() const noexcept { return static_cast<std::int32_t>(low_word()); }
    std::int64_t as_long() const noexcept { return static_cast<std::int64_t>(payload_); }
    float as_float() const noexcept { return std::bit_cast<float>(low_word()); }
    double as_double() const noexcept { return std::bit_cast<double>(payload_); }
    bool as_bool() const noexcept { return low_word() != 0; }
    // The text of a Text value; the empty text for every other kind.
    const Text& text() const noexcept { return text_; }
    // The block of a Bytes value or the storage of an array; empty otherwise.
    std::span<const std::uint8_t> bytes() const noexcept {
        return bytes_ ? bytes_->bytes() : std::span<const std::uint8_t>();
    }

private:
    Value(ValueKind k, std::uint64_t payload) : code_(static_cast<std::uint32_t>(k)), payload_(payload) {}

    // An immutable copy of `b`; none for an empty block.
    static std::shared_ptr<const ByteBlock> share(std::span<const std::uint8_t> b) {
        if (b.empty()) return nullptr;
        return std::make_shared<const ByteBlock>(b);
    }

    std::uint32_t code_ = 0;
    std::uint64_t payload_ = 0;
    Text text_;
    std::shared_ptr<const ByteBlock> bytes_;
};

} // namespace tav
