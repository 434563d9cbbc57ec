// A control's last few pictures, the one shown brought to the front, drawn natural or at a kept scaled size.
#include "gfx/decoded_picture.hpp"

#include <algorithm>

namespace tav::ui {
namespace {

bool holds(const std::shared_ptr<const SharedPicture>& picture, std::span<const std::uint8_t> bytes) {
    return picture ? same_bytes(picture->bytes(), bytes) : bytes.empty();
}

} // namespace

const Bitmap* DecodedPicture::sync(PictureCache& cache, const Value& value) {
    const std::span<const std::uint8_t> bytes = value.bytes();
    if (!kept_.empty() && holds(kept_.front().picture, bytes)) return image();
    const auto found =
        std::find_if(kept_.begin(), kept_.end(), [&](const Entry& e) { return holds(e.picture, bytes); });
    if (found != kept_.end()) {
        std::rotate(kept_.begin(), found, found + 1);
        return image();
    }
    Entry e;
    e.picture = cache.picture(value);
    if (e.picture) {
        ++decode_count_;
        e.image = e.picture->image();
    }
    kept_.insert(kept_.begin(), std::move(e));
    if (kept_.size() > kKeptPictures) kept_.pop_back();
    return image();
}

const Bitmap* DecodedPicture::image() const { return kept_.empty() ? nullptr : kept_.front().image; }

const Bitmap& DecodedPicture::scaled(Size size) {
    Entry& e = kept_.front();
    if (e.image->size() == size) return *e.image;
    if (!e.scaled || e.scaled->size() != size) e.scaled = e.picture->scaled(size);
    return *e.scaled;
}

void DecodedPicture::draw_scaled(Painter& p, const Rect& dst) {
    const Bitmap& source = *kept_.front().image;
    if (dst.empty()) return;
    const Size device{dst.width * p.scale(), dst.height * p.scale()};
    if (std::int64_t(device.width) * device.height <= kMaxKeptScaledPixels || device == source.size())
        p.draw_device_image(scaled(device), dst.origin());
    else
        p.draw_stretched(source, dst);
}

void DecodedPicture::draw_natural(Painter& p, Point at) {
    const Bitmap& source = *kept_.front().image;
    if (p.scale() == 1)
        p.draw_image(source, at);
    else
        draw_scaled(p, {at.x, at.y, source.width(), source.height()});
}

} // namespace tav::ui
