// Shrink-to-fit placement, and the resampler: overlap weights to shrink, bilinear to enlarge, row by row.
#include "gfx/scale.hpp"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tav {

Rect shrink_to_fit(Size client, Size image) {
    const int w = image.width, h = image.height;
    if (w <= 0 || h <= 0) return {};
    int x = 0, y = 0, aw = client.width, ah = client.height;
    if (w <= client.width) {
        x = (client.width - w) / 2;
        aw = w;
    }
    if (h <= client.height) {
        y = (client.height - h) / 2;
        ah = h;
    }
    if (w <= client.width && h <= client.height) return {x, y, w, h};
    const double f = std::min(double(aw) / w, double(ah) / h);
    const int dw = int(w * f), dh = int(h * f);
    x += (aw - dw) / 2;
    y += (ah - dh) / 2;
    return {x, y, dw, dh};
}

namespace {

// The source pixels one destination pixel reads along one axis, with their weights.
struct Taps {
    int first = 0;
    int count = 0;
    int weight_at = 0; // index of the first weight in the shared weight table
};

struct Axis {
    std::vector<Taps> taps; // one per destination pixel of the part
    std::vector<float> weights;
    int src_first = 0; // the source range every tap lies in
    int src_last = 0;
};

// Taps for destination pixels [from, to) of a `dst`-long axis scaled from `src` pixels.
Axis make_axis(int src, int dst, int from, int to) {
    Axis axis;
    axis.taps.reserve(std::size_t(to - from));
    axis.src_first = src;
    axis.src_last = -1;
    const double scale = double(src) / dst;
    for (int i = from; i < to; ++i) {
        Taps t;
        t.weight_at = int(axis.weights.size());
        if (dst <= src) {
            // Shrinking: the destination pixel covers source span [a, b); weight by overlap.
            const double a = i * scale, b = (i + 1) * scale;
            const int j0 = std::clamp(int(std::floor(a)), 0, src - 1);
            const int j1 = std::clamp(int(std::ceil(b)), j0 + 1, src);
            t.first = j0;
            for (int j = j0; j < j1; ++j) {
                const double overlap = std::min(b, double(j + 1)) - std::max(a, double(j));
                axis.weights.push_back(float(std::max(overlap, 0.0) / scale));
            }
            t.count = j1 - j0;
        } else {
            // Enlarging: bilinear between the two source pixel centres around ours.
            const double c = (i + 0.5) * scale - 0.5;
            const int j = int(std::floor(c));
            const float f = float(c - j);
            const int a = std::clamp(j, 0, src - 1), b = std::clamp(j + 1, 0, src - 1);
            t.first = a;
            if (a == b) {
                axis.weights.push_back(1.0f);
                t.count = 1;
            } else {
                axis.weights.push_back(1.0f - f);
                axis.weights.push_back(f);
                t.count = 2;
            }
        }
        axis.src_first = std::min(axis.src_first, t.first);
        axis.src_last = std::max(axis.src_last, t.first + t.count - 1);
        axis.taps.push_back(t);
    }
    return axis;
}

std::uint8_t to_byte(float v) { return std::uint8_t(std::clamp(int(v + 0.5f), 0, 255)); }

} // namespace

Bitmap resample_part(const Bitmap& src, Size size, const Rect& part) {
    const Rect want = part.intersected({0, 0, size.width, size.height});
    if (want.empty() || src.empty()) return {};
    Bitmap out(want.width, want.height, 0);
    const Axis ax = make_axis(src.width(), size.width, want.left(), want.right());
    const Axis ay = make_axis(src.height(), size.height, want.top(), want.bottom());
    const int sx0 = ax.src_first, sw = ax.src_last - ax.src_first + 1;

    // An opaque source (every JPEG) needs neither premultiplying nor dividing back.
    bool opaque = true;
    for (int y = ay.src_first; y <= ay.src_last && opaque; ++y) {
        const auto row = src.row(y).subspan(std::size_t(sx0), std::size_t(sw));
        opaque = std::all_of(row.begin(), row.end(), [](Argb c) { return alpha_of(c) == 255; });
    }

    // Each output row first blends the source rows it reads, premultiplied, into one line;
    // source rows are read where they lie rather than copied, so no image-sized buffer is made.
    std::vector<float> line(std::size_t(sw) * 4);
    for (int oy = 0; oy < want.height; ++oy) {
        const Taps& ty = ay.taps[std::size_t(oy)];
        std::fill(line.begin(), line.end(), 0.0f);
        for (int k = 0; k < ty.count; ++k) {
            const float w = ay.weights[std::size_t(ty.weight_at + k)];
            const auto row = src.row(ty.first + k).subspan(std::size_t(sx0), std::size_t(sw));
            float* l = line.data();
            if (opaque) {
                // The alpha share is exactly 1 here, so the sums are those of the general case.
                for (const Argb c : row) {
                    l[0] += float(red_of(c)) * w;
                    l[1] += float(green_of(c)) * w;
                    l[2] += float(blue_of(c)) * w;
                    l += 4;
                }
                continue;
            }
            for (const Argb c : row) {
                const float a = float(alpha_of(c));
                const float m = a / 255.0f;
                l[0] += float(red_of(c)) * m * w;
                l[1] += float(green_of(c)) * m * w;
                l[2] += float(blue_of(c)) * m * w;
                l[3] += a * w;
                l += 4;
            }
        }
        auto orow = out.row(oy);
        for (int ox = 0; ox < want.width; ++ox) {
            const Taps& tx = ax.taps[std::size_t(ox)];
            float r = 0, g = 0, b = 0, a = 0;
            for (int k = 0; k < tx.count; ++k) {
                const float w = ax.weights[std::size_t(tx.weight_at + k)];
                const float* s = line.data() + std::size_t(tx.first + k - sx0) * 4;
                r += s[0] * w;
                g += s[1] * w;
                b += s[2] * w;
                a += s[3] * w;
            }
            if (opaque) {
                orow[std::size_t(ox)] = 0xFF000000u | (Argb(to_byte(r)) << 16) | (Argb(to_byte(g)) << 8) | to_byte(b);
                continue;
            }
            const std::uint8_t alpha = to_byte(a);
            if (alpha == 0) {
                orow[std::size_t(ox)] = 0;
                continue;
            }
            const float k = 255.0f / a;
            orow[std::size_t(ox)] =
                (Argb(alpha) << 24) | (Argb(to_byte(r * k)) << 16) | (Argb(to_byte(g * k)) << 8) | to_byte(b * k);
        }
    }
    return out;
}

} // namespace tav
