#include "model/round_block.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/block_paint.h"
#include "model/face_sink.h"
#include "platform/canvas.h"
#include "raster/draw_object.h"
#include "view/render_state.h"

namespace {

// A screen coordinate or extent worked out in 64 bits, held within the
// projection's limits.
int OnScreen(int64_t v) {
    return static_cast<int>(std::clamp<int64_t>(v, -kLargestScreenCoordinate, kLargestScreenCoordinate));
}

// Pixels rounded to nearest with halves to even, held within a million billion.
int64_t Pixels(double v) {
    constexpr double kLimit = 1e15;
    return static_cast<int64_t>(std::nearbyint(std::clamp(v, -kLimit, kLimit)));
}

} // namespace

void TRoundBlock::Draw(TDrawObject& d, const TRenderState& view) const {
    bool shading = false;
    TCanvas& canvas = d.Canvas();
    if (!BeginBlockPaint(*this, canvas, view, shading))
        return;
    // The centre as far out as it lies: the shapes around it are held to the
    // screen's limits only once worked out.
    const auto [cx, cy] = view.ProjectWide(X + Length / 2, Y + Width / 2, Z);
    const int64_t s = Pixels(Length / 2.0 * static_cast<double>(view.ViewScale));
    const int64_t t = Pixels(std::fabs(std::cos(static_cast<double>(view.AngleX()))) * Width / 2.0 *
                             static_cast<double>(view.ViewScale));
    // The top lies Height units up: the displacement of 20 units, scaled, while
    // the rounding of that step adds up to at most two pixels over the height
    // (every stone of an ordinary height). A tall stone seen from far, where 20
    // units shrink to a pixel or none, takes the exact displacement.
    const int64_t q = int64_t{Height} * view.Height20.x / 20;
    int64_t r = int64_t{Height} * view.Height20.y / 20;
    if (std::fabs(view.Height20.y - view.HeightDisplacementY(20)) * Height / 20 > 2)
        r = Pixels(view.HeightDisplacementY(Height));
    const bool above = view.Octant() < 4;
    auto rectangle = [&](int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
        d.Rectangle(OnScreen(x1), OnScreen(y1), OnScreen(x2), OnScreen(y2));
    };
    auto ellipse = [&](int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
        d.Ellipse(OnScreen(x1), OnScreen(y1), OnScreen(x2), OnScreen(y2));
    };

    rectangle(cx + q - s, cy + r, cx + s + 1, cy);
    if (above)
        ellipse(cx - s, cy - t, cx + s + 1, cy + t + 1);
    else
        ellipse(cx + q - s, cy + r - t, cx + q + s + 1, cy + r + t + 1);
    // A rectangle one pixel narrower in the fill colour hides the inner lines.
    const TColor pen = canvas.Pen.Color;
    canvas.Pen.Color = canvas.Brush.Color;
    rectangle(cx + q - s + 1, cy + r, cx + s, cy);
    canvas.Pen.Color = pen;
    if (above) {
        ellipse(cx + q - s, cy + r - t, cx + q + s + 1, cy + r + t + 1);
    } else {
        ellipse(cx - s, cy - t, cx + s + 1, cy + t + 1);
        // An eight-sided outline around the centre of the base.
        const int x = OnScreen(cx), y = OnScreen(cy);
        const int R = view.EllipseR, H = view.EllipseH, R2 = view.EllipseR2, H2 = view.EllipseH2;
        const TPoint outline[9] = {{x - R, y + H2}, {x - R, y - H2}, {x - R2, y - H},
                                   {x + R2, y - H}, {x + R, y - H2}, {x + R, y + H2},
                                   {x + R2, y + H}, {x - R2, y + H}, {x - R, y + H2}};
        d.Polyline(outline, 8);
    }
    EndBlockPaint(canvas, view);
}

int TRoundBlock::Sides(double rx, double ry) {
    // A side of a circle of radius r spanning 2 pi / n strays r (1 - cos(pi / n))
    // from the circle; at most a tenth of a unit.
    constexpr double kPi = 3.14159265358979323846, kStray = 0.1;
    const double r = std::max(rx, ry);
    int sides = 12;
    while (sides < 360 && r * (1 - std::cos(kPi / sides)) > kStray)
        sides += 4;
    return sides;
}

void TRoundBlock::ShapeFaces(TFaceSink& sink) const {
    const double rx = Length / 2.0, ry = Width / 2.0, h = Height;
    const int sides = Sides(rx, ry);
    std::vector<TFacePoint> bottom, top;
    for (int k = 0; k < sides; ++k) {
        // Quarter points exact, so the prism touches its box.
        const double a = 2 * 3.14159265358979323846 * k / sides;
        const double c = k * 4 % sides == 0 ? std::round(std::cos(a)) : std::cos(a);
        const double s = k * 4 % sides == 0 ? std::round(std::sin(a)) : std::sin(a);
        bottom.push_back({rx + rx * c, ry + ry * s, 0});
        top.push_back({rx + rx * c, ry + ry * s, h});
    }
    sink.Face(bottom);
    sink.Face(top);
    for (size_t k = 0; k < bottom.size(); ++k) {
        const size_t next = (k + 1) % bottom.size();
        const TFacePoint side[4] = {bottom[k], bottom[next], top[next], top[k]};
        sink.Face(side);
    }
}
