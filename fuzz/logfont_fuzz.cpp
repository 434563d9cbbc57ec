// The 60-byte font record: its reader, the stock font for any other length, and the round
// trips through the writer.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.hpp"
#include "gfx/logfont.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> record(data, size);
    const auto parsed = tav::parse_log_font(record);
    FUZZ_CHECK(parsed.has_value() == (size == tav::kLogFontSize));
    // Any other length stands for the stock font.
    if (!parsed) {
        FUZZ_CHECK(tav::resolve_log_font(record) == tav::stock_gui_font());
        return 0;
    }
    FUZZ_CHECK(tav::resolve_log_font(record) == *parsed);

    // Writing what was read and reading it again changes nothing after the first trip (the face
    // is cut to its field once), and nothing at all when the face already fit.
    const auto encoded = tav::encode_log_font(*parsed);
    const auto reparsed = tav::parse_log_font(encoded);
    FUZZ_CHECK(reparsed.has_value());
    FUZZ_CHECK(tav::encode_log_font(*reparsed) == encoded);
    FUZZ_CHECK(reparsed->face.size() < tav::kLogFontFaceSize);
    if (parsed->face.size() < tav::kLogFontFaceSize) FUZZ_CHECK(*reparsed == *parsed);
    return 0;
}
