#pragma once
// Decoded pictures shared by every control that shows the same bytes: each picture is decoded
// once for the whole program however many controls show it (twenty lamps, one frame), and so
// is each scaled copy. Any thread may use it; a second caller waits for a decode under way.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "core/value.hpp"
#include "gfx/bitmap.hpp"
#include "gfx/geometry.hpp"

namespace tav::ui {

// True when `a` and `b` hold the same bytes; bytes of one block are known without reading them.
bool same_bytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b);

// One picture's file bytes and, once asked for, their image and scaled copies.
class SharedPicture {
public:
    // Keeps `bytes` (a Bytes value, whose block it shares rather than copies).
    explicit SharedPicture(Value bytes);
    SharedPicture(const SharedPicture&) = delete;
    SharedPicture& operator=(const SharedPicture&) = delete;

    std::span<const std::uint8_t> bytes() const { return bytes_.bytes(); }
    // The decoded image, decoded by the first caller; nullptr when the bytes are no picture.
    // The image never changes afterwards, so the pointer stays good while this lives.
    const Bitmap* image() const;
    // The image scaled to `size` with the area-averaging filter, made by the first caller;
    // the last few sizes are kept. Only for a picture whose image() is not null.
    std::shared_ptr<const Bitmap> scaled(Size size) const;

private:
    friend class PictureCache;
    static constexpr std::size_t kKeptSizes = 2;

    const Value bytes_;
    mutable std::mutex mutex_; // a second caller waits for the decode or scale under way
    mutable bool decoded_ = false;
    mutable std::optional<Bitmap> image_;
    mutable std::vector<std::shared_ptr<const Bitmap>> scaled_; // the most recent first
};

// The pictures in use, found by their bytes. An entry lasts while some holder keeps it.
class PictureCache {
public:
    // The shared picture of the bytes of `bytes`, added when no holder has it; nullptr for
    // no bytes.
    std::shared_ptr<const SharedPicture> picture(const Value& bytes);
    // The shared picture of `bytes` with `image` as its decoded image and `scaled` as its
    // scaled copies (at most two are kept), unless it was decoded already; nullptr for no
    // bytes. For pictures decoded when the program was built.
    std::shared_ptr<const SharedPicture> adopt(const Value& bytes, Bitmap image, std::vector<Bitmap> scaled);

private:
    // Drops the entries no holder keeps any more.
    void sweep();

    std::mutex mutex_;
    std::unordered_map<std::size_t, std::vector<std::weak_ptr<const SharedPicture>>> by_hash_;
    std::size_t sweep_at_ = 64; // the bucket count that calls for the next sweep
};

} // namespace tav::ui
