#include "ui/drawing/decoded_picture.hpp"

#include <algorithm>

#include "platform/gfx/picture.hpp"
#include "platform/gfx/scale.hpp"

namespace tav::ui {
namespace {

bool Same(std::span<const std::uint8_t> a, const std::vector<std::uint8_t>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

} // namespace

const Bitmap* DecodedPicture::sync(std::span<const std::uint8_t> bytes) {
    if (!kept_.empty() && Same(bytes, kept_.front().bytes)) return image();
    const auto found = std::find_if(kept_.begin(), kept_.end(), [&](const Entry& e) { return Same(bytes, e.bytes); });
    if (found != kept_.end()) {
        std::rotate(kept_.begin(), found, found + 1);
        return image();
    }
    Entry e;
    e.bytes.assign(bytes.begin(), bytes.end());
    if (!e.bytes.empty()) {
        ++decode_count_;
        e.image = DecodePicture(e.bytes);
        if (e.image && e.image->empty()) e.image.reset();
    }
    kept_.insert(kept_.begin(), std::move(e));
    if (kept_.size() > kKeptPictures) kept_.pop_back();
    return image();
}

const Bitmap* DecodedPicture::image() const {
    if (kept_.empty() || !kept_.front().image) return nullptr;
    return &*kept_.front().image;
}

const Bitmap& DecodedPicture::scaled(Size size) {
    Entry& e = kept_.front();
    if (e.image->size() == size) return *e.image;
    if (!e.scaled || e.scaled->size() != size) e.scaled = Resample(*e.image, size);
    return *e.scaled;
}

} // namespace tav::ui
