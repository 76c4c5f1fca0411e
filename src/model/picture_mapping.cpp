#include "model/picture_mapping.h"

#include <algorithm>
#include <cmath>

namespace {

uint32_t Blend(uint32_t a, uint32_t b, double t) {
    auto channel = [&](int shift) {
        const double ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        return static_cast<uint32_t>(std::nearbyint((1 - t) * ca + t * cb)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
}

} // namespace

void MapPicture(const TPixels32& target, TPoint origin, const TPixels32& picture, TPoint p0, TPoint p1,
                TPoint p3) {
    const int w = picture.Width, h = picture.Height;
    if (w <= 0 || h <= 0 || target.Width <= 0 || target.Height <= 0)
        return;
    double dx = p3.x - p0.x, dy = p1.y - p0.y;
    if (dx == 0)
        dx = 1;
    if (dy == 0)
        dy = 1;
    const double sx = dx / w, sy = dy / h;
    const double gx = (p3.y - p0.y) / dx, gy = (p1.x - p0.x) / dy;
    const double kx = 1 / (sx - sx * gx * gy), ky = 1 / (sy - sy * gx * gy);
    if (!std::isfinite(kx) || !std::isfinite(ky))
        return; // a parallelogram without area shows nothing
    // The fourth corner in 64 bits: the others may lie a billion pixels out.
    const int64_t p2x = int64_t{p1.x} + p3.x - p0.x, p2y = int64_t{p1.y} + p3.y - p0.y;
    const int left = static_cast<int>(std::max<int64_t>(origin.x, std::min<int64_t>({p0.x, p1.x, p2x, p3.x})));
    const int right = static_cast<int>(
        std::min<int64_t>(int64_t{origin.x} + target.Width - 1, std::max<int64_t>({p0.x, p1.x, p2x, p3.x})));
    const int top = static_cast<int>(std::max<int64_t>(origin.y, std::min<int64_t>({p0.y, p1.y, p2y, p3.y})));
    const int bottom = static_cast<int>(
        std::min<int64_t>(int64_t{origin.y} + target.Height - 1, std::max<int64_t>({p0.y, p1.y, p2y, p3.y})));
    const uint32_t transparent = picture.At(0, 0) & 0xFFFFFF;
    for (int y = top; y <= bottom; ++y) {
        for (int x = left; x <= right; ++x) {
            const double u = ((x - p0.x) - (y - p0.y) * gy) * kx;
            const double v = ((y - p0.y) - (x - p0.x) * gx) * ky;
            const double roundedU = std::nearbyint(u), roundedV = std::nearbyint(v);
            if (!(roundedU > 0 && roundedU < w - 1 && roundedV > 0 && roundedV < h - 1))
                continue;
            const int U = static_cast<int>(roundedU), V = static_cast<int>(roundedV);
            const uint32_t pixel = picture.At(U, V) & 0xFFFFFF;
            if (pixel == transparent)
                continue;
            const double fu = u - U, fv = v - V;
            uint32_t result = pixel;
            if (fv < 0)
                result = Blend(pixel, picture.At(U, V - 1) & 0xFFFFFF, -fv);
            else if (fv > 0)
                result = Blend(pixel, picture.At(U, V + 1) & 0xFFFFFF, fv);
            else if (fu < 0)
                result = Blend(pixel, picture.At(U - 1, V) & 0xFFFFFF, -fu);
            else if (fu > 0)
                result = Blend(pixel, picture.At(U + 1, V) & 0xFFFFFF, fu);
            target.At(x - origin.x, y - origin.y) = result;
        }
    }
}
