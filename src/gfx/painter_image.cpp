// Drawing pictures with the painter: natural size, stretched, fitted, tiled, keyed, copied.
#include <algorithm>

#include "gfx/painter.hpp"
#include "gfx/pixel.hpp"
#include "gfx/scale.hpp"

namespace tav {

namespace {

// Calls fn(dst row span, src row span, count) for the part of `src` of `image` placed at
// device point `at`, limited to `area`.
template <typename Fn>
void for_each_row(const Bitmap& image, const Rect& src, Point at, const Rect& area, Bitmap& target, Fn&& fn) {
    const Rect src_in = src.intersected(image.rect());
    if (src_in.empty()) return;
    const Rect placed{at.x + (src_in.x - src.x), at.y + (src_in.y - src.y), src_in.width, src_in.height};
    const Rect vis = placed.intersected(area);
    if (vis.empty()) return;
    const int sx = src_in.x + (vis.x - placed.x);
    for (int y = vis.top(); y < vis.bottom(); ++y) {
        const int sy = src_in.y + (y - placed.y);
        fn(target.row(y).subspan(std::size_t(vis.x), std::size_t(vis.width)),
           image.row(sy).subspan(std::size_t(sx), std::size_t(vis.width)));
    }
}

} // namespace

void Painter::draw_image(const Bitmap& image, Point at) { draw_image(image, image.rect(), at); }

void Painter::draw_device(const Bitmap& image, const Rect& src, Point d) {
    const Rect device{d.x, d.y, src.width, src.height};
    for_each_clipped(device, [&](const Rect& area) {
        for_each_row(image, src, d, area, target_, [](std::span<Argb> dst, std::span<const Argb> s) {
            // Most rows are opaque (every decoded photo is): one pass that the compiler can
            // vectorise finds out, and such a row is copied whole.
            Argb all = 0xFFFFFFFFu;
            for (const Argb c : s) all &= c;
            if ((all >> 24) == 0xFF) {
                std::copy(s.begin(), s.end(), dst.begin());
                return;
            }
            for (std::size_t i = 0; i < dst.size(); ++i) {
                const Argb c = s[i];
                if ((c >> 24) == 0xFF)
                    dst[i] = c;
                else
                    dst[i] = pixel::over(dst[i], c);
            }
        });
    });
}

void Painter::draw_image(const Bitmap& image, const Rect& src, Point at) {
    if (scale_ == 1) {
        draw_device(image, src, {at.x + state_.origin.x, at.y + state_.origin.y});
        return;
    }
    // The whole image resampled to the scaled size, only the part `src` let through.
    save();
    clip_rect({at.x, at.y, src.width, src.height});
    draw_stretched(image, {at.x - src.x, at.y - src.y, image.width(), image.height()});
    restore();
}

void Painter::draw_device_image(const Bitmap& image, Point at) {
    const Point o = device_origin();
    draw_device(image, image.rect(), {at.x * scale_ + o.x, at.y * scale_ + o.y});
}

void Painter::blit(const Bitmap& source, const Rect& src, Point at) {
    const Point o = device_origin();
    const Point d{at.x * scale_ + o.x, at.y * scale_ + o.y};
    const Rect device{d.x, d.y, src.width, src.height};
    for_each_clipped(device, [&](const Rect& area) {
        for_each_row(source, src, d, area, target_,
                     [](std::span<Argb> dst, std::span<const Argb> s) { std::copy(s.begin(), s.end(), dst.begin()); });
    });
}

void Painter::draw_keyed(const Bitmap& image, Point at, Argb key) {
    const Point o = device_origin();
    const Point d{at.x * scale_ + o.x, at.y * scale_ + o.y};
    // Keyed pixels must keep their exact colour, so a scaled copy repeats pixels, never blends.
    Bitmap grown;
    if (scale_ > 1) {
        grown = Bitmap(image.width() * scale_, image.height() * scale_);
        for (int y = 0; y < grown.height(); ++y) {
            auto row = grown.row(y);
            auto from = image.row(y / scale_);
            for (int x = 0; x < grown.width(); ++x) row[std::size_t(x)] = from[std::size_t(x / scale_)];
        }
    }
    const Bitmap& shown = scale_ > 1 ? grown : image;
    const Rect device{d.x, d.y, shown.width(), shown.height()};
    for_each_clipped(device, [&](const Rect& area) {
        for_each_row(shown, shown.rect(), d, area, target_, [key](std::span<Argb> dst, std::span<const Argb> s) {
            for (std::size_t i = 0; i < dst.size(); ++i) {
                if (!pixel::same_rgb(s[i], key)) dst[i] = pixel::over(dst[i], s[i]);
            }
        });
    });
}

void Painter::draw_stretched(const Bitmap& image, const Rect& dst) {
    if (image.empty() || dst.empty()) return;
    const Rect device = device_rect(dst);
    if (device.size() == image.size()) {
        draw_device(image, image.rect(), device.origin());
        return;
    }
    // Only the visible part is resampled: one pass over the clip's bounding box.
    const Rect vis = device.intersected(state_.clip.bounds());
    if (vis.empty()) return;
    const Bitmap part = resample_part(image, device.size(), vis.translated(-device.x, -device.y));
    draw_device(part, part.rect(), vis.origin());
}

Rect Painter::draw_fitted(const Bitmap& image, const Rect& area) {
    if (image.empty()) return {};
    const Rect fit = shrink_to_fit(area.size(), image.size()).translated(area.x, area.y);
    if (fit.size() == image.size())
        draw_image(image, fit.origin());
    else
        draw_stretched(image, fit);
    return fit;
}

void Painter::draw_tiled(const Bitmap& image, const Rect& area, Point anchor) {
    if (image.empty() || area.empty()) return;
    const int w = image.width(), h = image.height();
    save();
    clip_rect(area);
    const Rect vis = clip_bounds();
    if (!vis.empty()) {
        // First tile index at or before the visible edge, also for anchors right of it.
        auto first = [](int edge, int origin, int step) {
            const int d = edge - origin;
            return origin + (d >= 0 ? d / step : -((-d + step - 1) / step)) * step;
        };
        for (int y = first(vis.top(), anchor.y, h); y < vis.bottom(); y += h) {
            for (int x = first(vis.left(), anchor.x, w); x < vis.right(); x += w) draw_image(image, {x, y});
        }
    }
    restore();
}

Region keyed_region(const Bitmap& image, Argb key) {
    Region region;
    for (int y = 0; y < image.height(); ++y) {
        auto row = image.row(y);
        int x = 0;
        while (x < image.width()) {
            while (x < image.width() && pixel::same_rgb(row[std::size_t(x)], key)) ++x;
            const int start = x;
            while (x < image.width() && !pixel::same_rgb(row[std::size_t(x)], key)) ++x;
            if (x > start) region.add({start, y, x - start, 1});
        }
    }
    return region;
}

} // namespace tav
