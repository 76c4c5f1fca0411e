#include <array>
#include <cmath>

#include "model/window.h"
#include "platform/canvas.h"
#include "view/render_state.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// The wheel is drawn as twelve sectors of 30 degrees.
constexpr int kSectors = 12;
constexpr int kSectorDegrees = 30;
// The hub's radius as a share of the tyre's.
constexpr double kHub = 0.65;
constexpr TColor kTyreColor = RGB(128, 128, 128);
constexpr TColor kTreadColor = RGB(96, 96, 96);

// Rounded to nearest, halves to even as the view rounds.
int32_t Round(double v) {
    return static_cast<int32_t>(std::nearbyint(v));
}

} // namespace

TPoint3D TWheel::Centre(const TWindowFrame& f, int32_t y) {
    return {f.X0 + f.XExtent() / 2, y, f.Z0 + kCentreHeight};
}

TPoint3D TWheel::RimPoint(const TWindowFrame& f, int degrees, double k, int32_t y) {
    const TPoint3D c = Centre(f, y);
    const double r = (f.XExtent() * 3) / 4;
    const double a = degrees * kPi / 180.0;
    return {c.X + Round(r * std::cos(a) / 2 * k), y, c.Z + Round(r * std::sin(a) / 2 * k)};
}

void TWheel::ApplyWheelStyle(const TWindowPainter& p) const {
    TCanvas& canvas = p.Canvas();
    if (p.View().Wireframe) {
        canvas.Brush.Style = bsClear;
        canvas.Pen.Color = Color;
    } else if (Color == clAqua || Transparent) {
        canvas.Brush.Style = bsDiagCross;
    }
}

void TWheel::WheelFace(const TWindowPainter& p, int32_t y) const {
    ApplyWheelStyle(p);
    const TWindowFrame& f = p.Frame();
    TCanvas& canvas = p.Canvas();
    const TColor pen = canvas.Pen.Color;
    const TColor brush = canvas.Brush.Color;
    const TPoint3D centre = Centre(f, y);
    for (int i = 1; i <= kSectors; ++i) {
        const int a1 = kSectorDegrees * i, a0 = kSectorDegrees * (i - 1);
        const std::array<TPoint3D, 3> hub = {{centre, RimPoint(f, a1, kHub, y), RimPoint(f, a0, kHub, y)}};
        p.Polygon(hub);
        canvas.Brush.Color = kTyreColor;
        canvas.Pen.Color = kTyreColor;
        const std::array<TPoint3D, 4> tyre = {{RimPoint(f, a1, kHub, y), RimPoint(f, a1, 1, y),
                                               RimPoint(f, a0, 1, y), RimPoint(f, a0, kHub, y)}};
        p.Polygon(tyre);
        canvas.Brush.Color = brush;
        canvas.Pen.Color = pen;
    }
}

void TWheel::WheelTread(const TWindowPainter& p) const {
    ApplyWheelStyle(p);
    const TWindowFrame& f = p.Frame();
    TCanvas& canvas = p.Canvas();
    const TColor pen = canvas.Pen.Color;
    const TColor brush = canvas.Brush.Color;
    canvas.Brush.Color = kTreadColor;
    canvas.Pen.Color = kTreadColor;
    for (int i = 1; i <= kSectors; ++i) {
        const int a1 = kSectorDegrees * i, a0 = kSectorDegrees * (i - 1);
        const std::array<TPoint3D, 4> band = {{RimPoint(f, a1, 1, f.Y0 + 1), RimPoint(f, a0, 1, f.Y0 + 1),
                                               RimPoint(f, a0, 1, f.Y1 - 1), RimPoint(f, a1, 1, f.Y1 - 1)}};
        p.Polygon(band);
    }
    canvas.Brush.Color = brush;
    canvas.Pen.Color = pen;
}

void TWheel::DrawOctant(int octant, const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    // The face farther from the viewer first, the nearer one last.
    const bool nearHighY = octant == 0 || octant == 3 || octant == 4 || octant == 7;
    WheelFace(p, nearHighY ? f.Y0 + 2 : f.Y1 - 2);
    WheelTread(p);
    WheelFace(p, nearHighY ? f.Y1 - 2 : f.Y0 + 2);
}
