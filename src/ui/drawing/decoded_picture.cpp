#include "ui/drawing/decoded_picture.hpp"

#include <algorithm>

#include "platform/gfx/picture.hpp"
#include "platform/gfx/scale.hpp"

namespace tav::ui {

const Bitmap* DecodedPicture::sync(std::span<const std::uint8_t> bytes) {
    const bool same = bytes.size() == bytes_.size() && std::equal(bytes.begin(), bytes.end(), bytes_.begin());
    if (!same) {
        bytes_.assign(bytes.begin(), bytes.end());
        scaled_.reset();
        image_.reset();
        if (!bytes_.empty()) {
            ++decode_count_;
            image_ = DecodePicture(bytes_);
            if (image_ && image_->empty()) image_.reset();
        }
    }
    return image();
}

const Bitmap& DecodedPicture::scaled(Size size) {
    if (!image_ || image_->size() == size) return *image_;
    if (!scaled_ || scaled_->size() != size) scaled_ = Resample(*image_, size);
    return *scaled_;
}

} // namespace tav::ui
