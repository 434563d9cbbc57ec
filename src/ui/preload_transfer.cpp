#include "ui/preload_transfer.hpp"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>

namespace tav::ui {
namespace {

// Both ends are the same program on the same machine: numbers go in their own byte order.
// Each part opens with its mark, so that a reader knows it for what it expects.
constexpr std::uint32_t kPicturesMark = 0x50505654; // "TVPP"
constexpr std::uint32_t kFontsMark = 0x46505654;    // "TVPF"
// Pixels start at addresses that are multiples of this.
constexpr std::size_t kPixelAlignment = 16;

// The bytes from `at` to the next multiple of kPixelAlignment.
std::size_t padding_at(const std::uint8_t* at) {
    const auto address = reinterpret_cast<std::uintptr_t>(at);
    return (kPixelAlignment - address % kPixelAlignment) % kPixelAlignment;
}

class AreaWriter {
public:
    explicit AreaWriter(std::span<std::uint8_t> area) : area_(area) {}

    template <class T>
    requires std::is_arithmetic_v<T>
    void put(T value) { raw(&value, sizeof value); }
    void put_bytes(std::span<const std::uint8_t> bytes) {
        put(std::uint64_t(bytes.size()));
        raw(bytes.data(), bytes.size());
    }
    void put_text(std::string_view text) {
        put_bytes({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    void put_bitmap(const Bitmap& b) {
        put(std::int32_t(b.width()));
        put(std::int32_t(b.height()));
        align();
        raw(b.pixels().data(), b.pixels().size_bytes());
    }
    // Pads to an address that is a multiple of kPixelAlignment, so that pixels can be read in
    // place: the reader's copy of the area lies at the same offset from a page.
    void align() {
        const std::size_t padding = padding_at(area_.data() + at_);
        static constexpr std::uint8_t kZeros[kPixelAlignment] = {};
        raw(kZeros, padding);
    }
    // The size written, or 0 when something did not fit.
    std::size_t size() const { return full_ ? 0 : at_; }

private:
    void raw(const void* bytes, std::size_t count) {
        if (full_ || count > area_.size() - at_) {
            full_ = true;
            return;
        }
        if (count > 0) std::memcpy(area_.data() + at_, bytes, count);
        at_ += count;
    }

    std::span<std::uint8_t> area_;
    std::size_t at_ = 0;
    bool full_ = false;
};

class AreaReader {
public:
    explicit AreaReader(std::span<const std::uint8_t> bytes, std::shared_ptr<const void> keeper = nullptr)
        : bytes_(bytes), keeper_(std::move(keeper)) {}

    template <class T>
    requires std::is_arithmetic_v<T> std::optional<T> get() {
        T value;
        if (!raw(&value, sizeof value)) return std::nullopt;
        return value;
    }
    std::optional<std::span<const std::uint8_t>> get_bytes() {
        const auto size = get<std::uint64_t>();
        if (!size || *size > bytes_.size() - at_) return std::nullopt;
        const auto bytes = bytes_.subspan(at_, std::size_t(*size));
        at_ += std::size_t(*size);
        return bytes;
    }
    std::optional<std::string> get_text() {
        const auto bytes = get_bytes();
        if (!bytes) return std::nullopt;
        return std::string(bytes->begin(), bytes->end());
    }
    // The bytes not read yet.
    std::size_t left() const { return bytes_.size() - at_; }
    // A bitmap viewing its pixels in place, kept by the keeper.
    std::optional<Bitmap> get_bitmap() {
        const auto width = get<std::int32_t>(), height = get<std::int32_t>();
        if (!width || !height || *width < 0 || *height < 0 || !align()) return std::nullopt;
        const std::size_t count = std::size_t(*width) * std::size_t(*height);
        const std::uint8_t* pixels = bytes_.data() + at_;
        if (count > (bytes_.size() - at_) / sizeof(Argb) ||
            reinterpret_cast<std::uintptr_t>(pixels) % alignof(Argb) != 0)
            return std::nullopt;
        at_ += count * sizeof(Argb);
        return Bitmap::viewing(*width, *height, reinterpret_cast<const Argb*>(pixels), keeper_);
    }

private:
    bool raw(void* out, std::size_t count) {
        if (count > bytes_.size() - at_) return false;
        if (count > 0) std::memcpy(out, bytes_.data() + at_, count);
        at_ += count;
        return true;
    }

    // Skips the writer's padding; false past the end.
    bool align() {
        const std::size_t padding = padding_at(bytes_.data() + at_);
        if (padding > bytes_.size() - at_) return false;
        at_ += padding;
        return true;
    }

    std::span<const std::uint8_t> bytes_;
    std::shared_ptr<const void> keeper_;
    std::size_t at_ = 0;
};

std::uint64_t hash_of(std::span<const std::uint8_t> bytes) {
    return std::hash<std::string_view>{}({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
}

void put_font(AreaWriter& out, const FontState& f) {
    out.put(std::uint8_t(f.face.has_value()));
    if (f.face) {
        out.put_text(f.face->file);
        out.put(std::int32_t(f.face->index));
        out.put_text(f.face->family);
        out.put(std::uint8_t(f.face->bold));
        out.put(std::uint8_t(f.face->italic));
    }
    out.put(std::int32_t(f.height));
    out.put(std::int32_t(f.ascent));
    for (bool flag : {f.bold, f.synthetic_bold, f.synthetic_italic, f.underline, f.strikeout})
        out.put(std::uint8_t(flag));
    out.put_text(f.family);
    out.put(std::uint64_t(f.glyphs.size()));
    for (const auto& [c, g] : f.glyphs) {
        out.put(std::uint32_t(c));
        for (int v : {g.left, g.top, g.width, g.rows, g.advance}) out.put(std::int32_t(v));
        out.put_bytes(g.coverage);
    }
}

std::optional<bool> get_flag(AreaReader& in) {
    const auto flag = in.get<std::uint8_t>();
    if (!flag) return std::nullopt;
    return *flag != 0;
}

std::optional<FontState> get_font(AreaReader& in) {
    FontState f;
    const auto has_face = get_flag(in);
    if (!has_face) return std::nullopt;
    if (*has_face) {
        auto file = in.get_text();
        const auto index = in.get<std::int32_t>();
        auto family = in.get_text();
        const auto bold = get_flag(in), italic = get_flag(in);
        if (!file || !index || !family || !bold || !italic) return std::nullopt;
        f.face = FaceChoice{std::move(*file), *index, std::move(*family), *bold, *italic};
    }
    const auto height = in.get<std::int32_t>(), ascent = in.get<std::int32_t>();
    if (!height || !ascent) return std::nullopt;
    f.height = *height;
    f.ascent = *ascent;
    for (bool* flag : {&f.bold, &f.synthetic_bold, &f.synthetic_italic, &f.underline, &f.strikeout}) {
        const auto v = get_flag(in);
        if (!v) return std::nullopt;
        *flag = *v;
    }
    auto family = in.get_text();
    const auto count = in.get<std::uint64_t>();
    if (!family || !count) return std::nullopt;
    f.family = std::move(*family);
    for (std::uint64_t i = 0; i < *count; ++i) {
        const auto c = in.get<std::uint32_t>();
        Glyph g;
        for (int* v : {&g.left, &g.top, &g.width, &g.rows, &g.advance}) {
            const auto read = in.get<std::int32_t>();
            if (!read) return std::nullopt;
            *v = *read;
        }
        const auto coverage = in.get_bytes();
        if (!c || !coverage || g.width < 0 || g.rows < 0 ||
            coverage->size() != std::size_t(g.width) * std::size_t(g.rows))
            return std::nullopt;
        g.coverage.assign(coverage->begin(), coverage->end());
        f.glyphs.emplace_back(char32_t(*c), std::move(g));
    }
    return f;
}

} // namespace

std::size_t write_preloaded_pictures(std::span<std::uint8_t> area, std::span<const PlacedPicture> pictures) {
    // Each picture once, with every place that shows it (twenty lamps show one frame).
    std::vector<std::pair<const SharedPicture*, std::vector<std::size_t>>> distinct;
    for (const PlacedPicture& placed : pictures) {
        const SharedPicture* picture = placed.picture.get();
        auto it =
            std::find_if(distinct.begin(), distinct.end(), [picture](const auto& d) { return d.first == picture; });
        if (it == distinct.end()) it = distinct.insert(distinct.end(), {picture, {}});
        it->second.push_back(placed.index);
    }
    AreaWriter out(area);
    out.put(kPicturesMark);
    out.put(std::uint64_t(distinct.size()));
    for (const auto& [picture, places] : distinct) {
        out.put(std::uint64_t(places.size()));
        for (const std::size_t place : places) out.put(std::uint64_t(place));
        out.put(std::uint64_t(picture->bytes().size()));
        out.put(hash_of(picture->bytes()));
        const Bitmap* image = picture->image();
        out.put(std::uint8_t(image != nullptr));
        if (image == nullptr) continue;
        out.put_bitmap(*image);
        const auto scaled = picture->scaled_copies();
        out.put(std::uint64_t(scaled.size()));
        for (const auto& copy : scaled) out.put_bitmap(*copy);
    }
    return out.size();
}

std::vector<FoundPicture> read_preloaded_pictures(std::span<const std::uint8_t> bytes, std::span<const Value> values,
                                                  const std::shared_ptr<const void>& keeper) {
    std::vector<FoundPicture> found;
    // Values at many places share one block: each block is hashed once.
    std::unordered_map<const std::uint8_t*, std::uint64_t> hashes;
    const auto hash_at = [&](std::span<const std::uint8_t> own) {
        auto [it, added] = hashes.try_emplace(own.data(), 0);
        if (added) it->second = hash_of(own);
        return it->second;
    };
    AreaReader in(bytes, keeper);
    const auto count = in.get<std::uint32_t>() == kPicturesMark ? in.get<std::uint64_t>() : std::nullopt;
    if (!count) return {};
    for (std::uint64_t i = 0; i < *count; ++i) {
        const auto place_count = in.get<std::uint64_t>();
        if (!place_count || *place_count > in.left() / sizeof(std::uint64_t)) return {};
        std::vector<std::size_t> places;
        for (std::uint64_t k = 0; k < *place_count; ++k) places.push_back(std::size_t(*in.get<std::uint64_t>()));
        const auto size = in.get<std::uint64_t>(), hash = in.get<std::uint64_t>();
        const auto has_image = get_flag(in);
        if (!size || !hash || !has_image) return {};
        MadePicture made;
        if (*has_image) {
            made.image = in.get_bitmap();
            const auto copies = in.get<std::uint64_t>();
            if (!made.image || !copies) return {};
            for (std::uint64_t k = 0; k < *copies; ++k) {
                auto copy = in.get_bitmap();
                if (!copy) return {};
                made.scaled.push_back(std::move(*copy));
            }
        }
        // Only the places whose values have the same bytes take the picture made from them.
        std::erase_if(places, [&](std::size_t place) {
            if (place >= values.size()) return true;
            const auto own = values[place].bytes();
            return own.size() != *size || hash_at(own) != *hash;
        });
        if (!places.empty()) found.push_back({std::move(places), std::move(made)});
    }
    return found;
}

std::vector<std::shared_ptr<const SharedPicture>>
take_in_preloaded_pictures(std::span<const std::uint8_t> bytes, PictureCache& cache, std::span<const Value> values,
                           const std::shared_ptr<const void>& keeper) {
    std::vector<std::shared_ptr<const SharedPicture>> taken;
    for (auto& [places, made] : read_preloaded_pictures(bytes, values, keeper)) {
        if (auto picture = cache.adopt(values[places.front()], std::move(made))) taken.push_back(std::move(picture));
    }
    return taken;
}

std::size_t write_preloaded_fonts(std::span<std::uint8_t> area, FontCache& fonts) {
    AreaWriter out(area);
    out.put(kFontsMark);
    // Each font once, however many records name it (the stock font stands in for several).
    const auto loaded = fonts.loaded();
    std::map<const Font*, std::size_t> index_of;
    std::vector<const Font*> order;
    for (const auto& [record, font] : loaded) {
        if (index_of.emplace(font.get(), order.size()).second) order.push_back(font.get());
    }
    out.put(std::uint64_t(order.size()));
    for (const Font* font : order) put_font(out, font->state());
    out.put(std::uint64_t(loaded.size()));
    for (const auto& [record, font] : loaded) {
        out.put_bytes(record);
        out.put(std::uint64_t(index_of.at(font.get())));
    }
    return out.size();
}

std::size_t take_in_preloaded_fonts(std::span<const std::uint8_t> bytes, FontCache& fonts) {
    AreaReader in(bytes);
    const auto font_count = in.get<std::uint32_t>() == kFontsMark ? in.get<std::uint64_t>() : std::nullopt;
    if (!font_count) return 0;
    std::vector<FontState> states;
    for (std::uint64_t i = 0; i < *font_count; ++i) {
        auto font = get_font(in);
        if (!font) return 0;
        states.push_back(std::move(*font));
    }
    std::vector<std::pair<std::vector<std::uint8_t>, std::size_t>> records;
    const auto record_count = in.get<std::uint64_t>();
    if (!record_count) return 0;
    for (std::uint64_t i = 0; i < *record_count; ++i) {
        const auto record = in.get_bytes();
        const auto font = in.get<std::uint64_t>();
        if (!record || !font || *font >= states.size()) return 0;
        records.emplace_back(std::vector<std::uint8_t>(record->begin(), record->end()), std::size_t(*font));
    }
    std::vector<std::shared_ptr<const Font>> made;
    made.reserve(states.size());
    for (FontState& state : states) made.push_back(fonts.restore(std::move(state)));
    for (const auto& [record, font] : records) fonts.adopt(record, made[font]);
    return made.size();
}

} // namespace tav::ui
