// Shared pictures found by a hash of their bytes, decoded once under a lock, with their scaled copies kept.
#include "gfx/picture_cache.hpp"

#include <algorithm>
#include <iterator>
#include <string_view>
#include <utility>

#include "gfx/picture.hpp"
#include "gfx/scale.hpp"

namespace tav::ui {

bool same_bytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    return a.size() == b.size() && (a.data() == b.data() || std::equal(a.begin(), a.end(), b.begin()));
}

SharedPicture::SharedPicture(Value bytes) : bytes_(std::move(bytes)) {}

const Bitmap* SharedPicture::image() const {
    std::lock_guard lock(mutex_);
    if (!decoded_) {
        decoded_ = true;
        image_ = decode_picture(bytes_.bytes());
        if (image_ && image_->empty()) image_.reset();
    }
    return image_ ? &*image_ : nullptr;
}

std::shared_ptr<const Bitmap> SharedPicture::scaled(Size size) const {
    const Bitmap& source = *image();
    std::lock_guard lock(mutex_);
    const auto kept = std::find_if(scaled_.begin(), scaled_.end(), [&](const auto& s) { return s->size() == size; });
    if (kept != scaled_.end()) {
        std::rotate(scaled_.begin(), kept, kept + 1);
        return scaled_.front();
    }
    scaled_.insert(scaled_.begin(), std::make_shared<const Bitmap>(resample(source, size)));
    if (scaled_.size() > kKeptSizes) scaled_.pop_back();
    return scaled_.front();
}

std::shared_ptr<const SharedPicture> PictureCache::picture(const Value& value) {
    const std::span<const std::uint8_t> bytes = value.bytes();
    if (bytes.empty()) return nullptr;
    const std::size_t hash = std::hash<std::string_view>{}({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    std::lock_guard lock(mutex_);
    auto& bucket = by_hash_[hash];
    std::erase_if(bucket, [](const auto& held) { return held.expired(); });
    for (const auto& held : bucket) {
        auto picture = held.lock();
        if (picture && same_bytes(picture->bytes(), bytes)) return picture;
    }
    auto picture = std::make_shared<const SharedPicture>(value);
    bucket.push_back(picture);
    if (by_hash_.size() >= sweep_at_) sweep();
    return picture;
}

std::shared_ptr<const SharedPicture> PictureCache::adopt(const Value& bytes, Bitmap image, std::vector<Bitmap> scaled) {
    auto picture = this->picture(bytes);
    if (!picture || image.empty()) return picture;
    std::lock_guard lock(picture->mutex_);
    if (picture->decoded_) return picture;
    picture->decoded_ = true;
    picture->image_ = std::move(image);
    for (Bitmap& copy : scaled) {
        if (picture->scaled_.size() == SharedPicture::kKeptSizes) break;
        picture->scaled_.push_back(std::make_shared<const Bitmap>(std::move(copy)));
    }
    return picture;
}

void PictureCache::sweep() {
    for (auto it = by_hash_.begin(); it != by_hash_.end();) {
        std::erase_if(it->second, [](const auto& held) { return held.expired(); });
        it = it->second.empty() ? by_hash_.erase(it) : std::next(it);
    }
    sweep_at_ = std::max<std::size_t>(64, 2 * by_hash_.size());
}

} // namespace tav::ui
