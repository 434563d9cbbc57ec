// The painter's save, restore, translation and clips; its fills, frames, gradients, focus dots and masks.
#include "gfx/painter.hpp"

#include <algorithm>

#include "gfx/pixel.hpp"

namespace tav {

namespace {

int floor_div(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int ceil_div(int a, int b) { return -floor_div(-a, b); }

// The smallest logical rectangle covering target pixels `r` at `scale`.
Rect logical_cover(const Rect& r, int scale) {
    if (r.empty()) return {};
    const int l = floor_div(r.left(), scale), t = floor_div(r.top(), scale);
    return {l, t, ceil_div(r.right(), scale) - l, ceil_div(r.bottom(), scale) - t};
}

} // namespace

Painter::Painter(Bitmap& target, int scale) : target_(target), scale_(std::max(1, scale)) {
    state_.clip = Region(target.rect());
}

void Painter::save() { stack_.push_back(state_); }

void Painter::restore() {
    if (stack_.empty()) return;
    state_ = std::move(stack_.back());
    stack_.pop_back();
}

void Painter::translate(int dx, int dy) {
    state_.origin.x += dx;
    state_.origin.y += dy;
}

void Painter::clip_rect(const Rect& r) { state_.clip = state_.clip.intersected(device_rect(r)); }

void Painter::clip_region(const Region& region) {
    state_.clip = state_.clip.intersected(region.translated(state_.origin.x, state_.origin.y).scaled(scale_));
}

Rect Painter::clip_bounds() const {
    return logical_cover(state_.clip.bounds(), scale_).translated(-state_.origin.x, -state_.origin.y);
}

Region Painter::clip() const {
    Region out;
    for (const Rect& r : state_.clip.rects())
        out.add(logical_cover(r, scale_).translated(-state_.origin.x, -state_.origin.y));
    return out;
}

void Painter::fill_rect(const Rect& r, Argb color) {
    color |= 0xFF000000u;
    for_each_clipped(device_rect(r), [&](const Rect& area) {
        for (int y = area.top(); y < area.bottom(); ++y) {
            auto row = target_.row(y);
            std::fill(row.begin() + area.left(), row.begin() + area.right(), color);
        }
    });
}

void Painter::frame_rect(const Rect& r, Argb color) {
    if (r.empty()) return;
    fill_rect({r.x, r.y, r.width, 1}, color);
    if (r.height > 1) fill_rect({r.x, r.bottom() - 1, r.width, 1}, color);
    fill_rect({r.x, r.y + 1, 1, r.height - 2}, color);
    if (r.width > 1) fill_rect({r.right() - 1, r.y + 1, 1, r.height - 2}, color);
}

void Painter::gradient_fill_vertical(const Rect& r, Argb top, Argb bottom) {
    gradient_fill(r, {top, top, bottom, bottom});
}

void Painter::gradient_fill(const Rect& r, const GradientCorners& c) {
    if (r.empty()) return;
    const Rect device = device_rect(r);
    // Corner pixels carry exactly the corner colours: u and v run from 0 to 1 across the rect.
    const float du = device.width > 1 ? 1.0f / float(device.width - 1) : 0.0f;
    const float dv = device.height > 1 ? 1.0f / float(device.height - 1) : 0.0f;
    auto channel = [](Argb col, int shift) { return float((col >> shift) & 0xFF); };
    if (c.top_left == c.top_right && c.bottom_left == c.bottom_right) {
        // Top to bottom only (every themed face): each row has one colour per triangle, the
        // terms in u being exactly zero, so a row costs a comparison per pixel.
        const auto blend = [&](float v, bool upper) {
            Argb out = 0xFF000000u;
            for (int shift = 0; shift <= 16; shift += 8) {
                const float top = channel(c.top_left, shift), bottom = channel(c.bottom_left, shift);
                const float val = upper ? top + v * (bottom - top) : bottom + (1.0f - v) * (top - bottom);
                out |= Argb(std::clamp(int(val + 0.5f), 0, 255)) << shift;
            }
            return out;
        };
        for_each_clipped(device, [&](const Rect& area) {
            for (int y = area.top(); y < area.bottom(); ++y) {
                const float v = float(y - device.y) * dv;
                const Argb upper = blend(v, true), lower = blend(v, false);
                auto row = target_.row(y);
                for (int x = area.left(); x < area.right(); ++x) {
                    row[std::size_t(x)] = float(x - device.x) * du + v <= 1.0f ? upper : lower;
                }
            }
        });
        return;
    }
    for_each_clipped(device, [&](const Rect& area) {
        for (int y = area.top(); y < area.bottom(); ++y) {
            const float v = float(y - device.y) * dv;
            auto row = target_.row(y);
            for (int x = area.left(); x < area.right(); ++x) {
                const float u = float(x - device.x) * du;
                Argb out = 0xFF000000u;
                for (int shift = 0; shift <= 16; shift += 8) {
                    float val;
                    if (u + v <= 1.0f) {
                        const float tl = channel(c.top_left, shift);
                        val = tl + u * (channel(c.top_right, shift) - tl) + v * (channel(c.bottom_left, shift) - tl);
                    } else {
                        const float br = channel(c.bottom_right, shift);
                        val = br + (1.0f - u) * (channel(c.bottom_left, shift) - br) +
                              (1.0f - v) * (channel(c.top_right, shift) - br);
                    }
                    out |= Argb(std::clamp(int(val + 0.5f), 0, 255)) << shift;
                }
                row[std::size_t(x)] = out;
            }
        }
    });
}

void Painter::draw_focus_rect(const Rect& r) {
    if (r.empty()) return;
    const Rect d = r.translated(state_.origin.x, state_.origin.y);
    // Every other logical pixel of the border, counted from the corner, each inverted exactly
    // once; at scale s a dot is s x s target pixels.
    auto dot = [&](int x, int y) {
        if ((x - d.x + y - d.y) % 2 != 0) return;
        for (int ty = y * scale_; ty < (y + 1) * scale_; ++ty) {
            for (int tx = x * scale_; tx < (x + 1) * scale_; ++tx) {
                if (state_.clip.contains({tx, ty})) target_.set_pixel(tx, ty, target_.pixel(tx, ty) ^ 0x00FFFFFFu);
            }
        }
    };
    for (int x = d.left(); x < d.right(); ++x) {
        dot(x, d.top());
        if (d.height > 1) dot(x, d.bottom() - 1);
    }
    for (int y = d.top() + 1; y < d.bottom() - 1; ++y) {
        dot(d.left(), y);
        if (d.width > 1) dot(d.right() - 1, y);
    }
}

void Painter::blend_mask(Point at, Size size, std::span<const std::uint8_t> mask, int pitch, Argb color) {
    if (size.width <= 0 || size.height <= 0 || pitch < size.width) return;
    if (mask.size() < std::size_t(pitch) * std::size_t(size.height - 1) + std::size_t(size.width)) return;
    if (scale_ == 1) {
        blend_device_mask(at, size, mask, pitch, color);
        return;
    }
    // Each mask value repeated over its s x s target pixels.
    const Size big{size.width * scale_, size.height * scale_};
    std::vector<std::uint8_t> grown(std::size_t(big.width) * std::size_t(big.height));
    for (int y = 0; y < big.height; ++y) {
        for (int x = 0; x < big.width; ++x)
            grown[std::size_t(y) * std::size_t(big.width) + std::size_t(x)] =
                mask[std::size_t(y / scale_) * std::size_t(pitch) + std::size_t(x / scale_)];
    }
    blend_device_mask({at.x * scale_, at.y * scale_}, big, grown, big.width, color);
}

void Painter::blend_device_mask(Point at, Size size, std::span<const std::uint8_t> mask, int pitch, Argb color) {
    if (size.width <= 0 || size.height <= 0 || pitch < size.width) return;
    if (mask.size() < std::size_t(pitch) * std::size_t(size.height - 1) + std::size_t(size.width)) return;
    const Point o = device_origin();
    const Rect device{at.x + o.x, at.y + o.y, size.width, size.height};
    for_each_clipped(device, [&](const Rect& area) {
        for (int y = area.top(); y < area.bottom(); ++y) {
            const std::uint8_t* m = mask.data() + std::size_t(y - device.y) * std::size_t(pitch);
            auto row = target_.row(y);
            for (int x = area.left(); x < area.right(); ++x) {
                const std::uint32_t cov = m[x - device.x];
                if (cov == 0) continue;
                row[std::size_t(x)] = pixel::mix(row[std::size_t(x)], color, cov);
            }
        }
    });
}

} // namespace tav
