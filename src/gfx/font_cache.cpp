// Fonts by record, loaded on first use and shared by every control that names them.
#include <cstdlib>

#include "gfx/font.hpp"
#include "gfx/freetype_library.hpp"

namespace tav {

namespace {

// Weights from this value up are drawn bold.
constexpr int kBoldFrom = 600;

} // namespace

FontCache::FontCache() : lib_(FreeTypeLibrary::create()) {}
FontCache::~FontCache() = default;

std::shared_ptr<const Font> FontCache::load(const LogFont& f) {
    // Record heights are character heights when negative and cell heights when positive; both
    // are taken as the character height, which is what the layout's fonts mean.
    const int height = f.height == 0 ? kStockGuiFontHeight : std::abs(f.height);
    const bool bold = f.weight >= kBoldFrom;
    const auto choice = choose_face(f.face, bold ? kWeightBold : kWeightNormal, f.italic);
    if (!choice) return nullptr;
    return Font::open(lib_, *choice, height, bold, f.italic, f.underline, f.strikeout);
}

std::shared_ptr<const Font> FontCache::stock() {
    std::lock_guard lock(mutex_);
    return stock_locked();
}

std::shared_ptr<const Font> FontCache::stock_locked() {
    if (!stock_) {
        stock_ = load(stock_gui_font());
        // Without any face at all the font still measures and draws nothing.
        if (!stock_) stock_ = Font::blank(kStockGuiFontHeight);
    }
    return stock_;
}

std::shared_ptr<const Font> FontCache::font(std::span<const std::uint8_t> record) {
    const auto parsed = parse_log_font(record);
    // Heights beyond any screen are refused rather than rasterised.
    constexpr int kLargestHeight = 2048;
    std::lock_guard lock(mutex_);
    if (!parsed || std::abs(static_cast<long>(parsed->height)) > kLargestHeight) return stock_locked();
    std::vector<std::uint8_t> key(record.begin(), record.end());
    auto it = fonts_.find(key);
    if (it != fonts_.end()) return it->second;
    auto loaded = load(*parsed);
    if (!loaded) loaded = stock_locked();
    fonts_.emplace(std::move(key), loaded);
    return loaded;
}

} // namespace tav
