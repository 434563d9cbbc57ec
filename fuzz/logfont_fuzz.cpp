// The 60-byte font record: both readers of it, and the round trips through the writers.

#include <cstddef>
#include <cstdint>
#include <span>

#include "fuzz_check.hpp"
#include "platform/gfx/logfont.hpp"
#include "ui/font.hpp"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> record(data, size);
    const auto parsed = tav::ParseLogFont(record);
    const auto decoded = tav::ui::FontRecord::Decode(record);
    FUZZ_CHECK(parsed.has_value() == (size == tav::kLogFontSize));
    FUZZ_CHECK(decoded.has_value() == (size == tav::ui::kFontRecordSize));
    // Any other length stands for the stock font.
    if (!decoded) {
        FUZZ_CHECK(tav::ui::ResolveFont(record) == tav::ui::StockGuiFont());
        return 0;
    }

    // Writing what was read and reading it again changes nothing after the first trip (the face
    // is cut to its field once), and nothing at all when the face already fit.
    const auto encoded = tav::EncodeLogFont(*parsed);
    const auto reparsed = tav::ParseLogFont(encoded);
    FUZZ_CHECK(reparsed.has_value());
    FUZZ_CHECK(tav::EncodeLogFont(*reparsed) == encoded);
    FUZZ_CHECK(reparsed->face.size() < tav::kLogFontFaceSize);
    if (parsed->face.size() < tav::kLogFontFaceSize) FUZZ_CHECK(*reparsed == *parsed);

    const auto record_again = tav::ui::FontRecord::Decode(decoded->Encode());
    FUZZ_CHECK(record_again.has_value() && *record_again == *decoded);
    FUZZ_CHECK(tav::ui::ResolveFont(record) == *decoded);

    // The two readers agree on every field; the control's face is a prefix of the record's.
    FUZZ_CHECK(decoded->height == parsed->height && decoded->width == parsed->width);
    FUZZ_CHECK(decoded->escapement == parsed->escapement && decoded->orientation == parsed->orientation);
    FUZZ_CHECK(decoded->weight == parsed->weight);
    FUZZ_CHECK((decoded->italic != 0) == parsed->italic && (decoded->underline != 0) == parsed->underline);
    FUZZ_CHECK((decoded->strike_out != 0) == parsed->strikeout && decoded->charset == parsed->charset);
    FUZZ_CHECK(decoded->out_precision == parsed->out_precision);
    FUZZ_CHECK(decoded->clip_precision == parsed->clip_precision && decoded->quality == parsed->quality);
    FUZZ_CHECK(decoded->pitch_and_family == parsed->pitch_and_family);
    FUZZ_CHECK(parsed->face.starts_with(decoded->face_gbk));
    return 0;
}
