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

namespace {

// The cosine and sine of the sector boundaries 0, 30, ..., 360 degrees,
// computed once as the rim points always computed them.
struct TSectorAngles {
    std::array<double, 13> Cos, Sin;
    TSectorAngles() {
        for (int i = 0; i <= kSectors; ++i) {
            const double a = kSectorDegrees * i * kPi / 180.0;
            Cos[static_cast<size_t>(i)] = std::cos(a);
            Sin[static_cast<size_t>(i)] = std::sin(a);
        }
    }
};

const TSectorAngles& SectorAngles() {
    static const TSectorAngles angles;
    return angles;
}

TPoint3D RimPointAt(const TWindowFrame& f, size_t boundary, double k, int32_t y) {
    const TPoint3D c = TWheel::Centre(f, y);
    const double r = (f.XExtent() * 3) / 4;
    const TSectorAngles& angles = SectorAngles();
    return {c.X + Round(r * angles.Cos[boundary] / 2 * k), y, c.Z + Round(r * angles.Sin[boundary] / 2 * k)};
}

// The offsets from the centre of the rim points at every sector boundary, at
// radius share k: the same in every plane, so reckoned once per stone.
struct TRimOffsets {
    std::array<int32_t, 13> DX, DZ;
};

TRimOffsets RimOffsets(const TWindowFrame& f, double k) {
    const TPoint3D c = TWheel::Centre(f, 0);
    TRimOffsets offsets;
    for (size_t i = 0; i <= kSectors; ++i) {
        const TPoint3D rim = RimPointAt(f, i, k, 0);
        offsets.DX[i] = rim.X - c.X;
        offsets.DZ[i] = rim.Z - c.Z;
    }
    return offsets;
}

// The screen points of the rim with these offsets in the plane y.
std::array<TPoint, 13> ProjectedRim(const TWindowPainter& p, const TRimOffsets& offsets, int32_t y) {
    const TPoint3D c = TWheel::Centre(p.Frame(), y);
    std::array<TPoint, 13> rim;
    for (size_t i = 0; i <= kSectors; ++i)
        rim[i] = p.Project({c.X + offsets.DX[i], y, c.Z + offsets.DZ[i]});
    return rim;
}

} // namespace

struct TWheel::TRims {
    TRimOffsets Hub, Tyre;
};

TPoint3D TWheel::RimPoint(const TWindowFrame& f, int degrees, double k, int32_t y) {
    if (degrees % kSectorDegrees == 0 && degrees >= 0 && degrees <= 360)
        return RimPointAt(f, static_cast<size_t>(degrees / kSectorDegrees), k, y);
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

void TWheel::WheelFace(const TWindowPainter& p, int32_t y, const TRims& rims) const {
    ApplyWheelStyle(p);
    TCanvas& canvas = p.Canvas();
    const TColor pen = canvas.Pen.Color;
    const TColor brush = canvas.Brush.Color;
    // Every corner is shared by two sectors: project each once.
    const TPoint centre = p.Project(Centre(p.Frame(), y));
    const std::array<TPoint, 13> hub = ProjectedRim(p, rims.Hub, y);
    const std::array<TPoint, 13> tyre = ProjectedRim(p, rims.Tyre, y);
    for (size_t i = 1; i <= kSectors; ++i) {
        const TPoint hubSector[3] = {centre, hub[i], hub[i - 1]};
        p.ScreenPolygon(hubSector, 3);
        canvas.Brush.Color = kTyreColor;
        canvas.Pen.Color = kTyreColor;
        const TPoint tyreSector[4] = {hub[i], tyre[i], tyre[i - 1], hub[i - 1]};
        p.ScreenPolygon(tyreSector, 4);
        canvas.Brush.Color = brush;
        canvas.Pen.Color = pen;
    }
}

void TWheel::WheelTread(const TWindowPainter& p, const TRims& rims) const {
    ApplyWheelStyle(p);
    const TWindowFrame& f = p.Frame();
    TCanvas& canvas = p.Canvas();
    const TColor pen = canvas.Pen.Color;
    const TColor brush = canvas.Brush.Color;
    canvas.Brush.Color = kTreadColor;
    canvas.Pen.Color = kTreadColor;
    const std::array<TPoint, 13> back = ProjectedRim(p, rims.Tyre, f.Y0 + 1);
    const std::array<TPoint, 13> front = ProjectedRim(p, rims.Tyre, f.Y1 - 1);
    for (size_t i = 1; i <= kSectors; ++i) {
        const TPoint band[4] = {back[i], back[i - 1], front[i - 1], front[i]};
        p.ScreenPolygon(band, 4);
    }
    canvas.Brush.Color = brush;
    canvas.Pen.Color = pen;
}

void TWheel::DrawOctant(int octant, const TWindowPainter& p) const {
    const TWindowFrame& f = p.Frame();
    // The face farther from the viewer first, the nearer one last.
    const bool nearHighY = octant == 0 || octant == 3 || octant == 4 || octant == 7;
    const TRims rims{RimOffsets(f, kHub), RimOffsets(f, 1)};
    WheelFace(p, nearHighY ? f.Y0 + 2 : f.Y1 - 2, rims);
    WheelTread(p, rims);
    WheelFace(p, nearHighY ? f.Y1 - 2 : f.Y0 + 2, rims);
}

bool TWheel::PiecesFit(const TWindowFrame& f) const {
    return f.Y1 - f.Y0 > 2 && f.XExtent() > 0;
}

void TWheel::SolidFaces(const TWindowPainter& p) const {
    // The tyre's rim points, as the tread is drawn between them.
    const TWindowFrame& f = p.Frame();
    std::array<TPoint3D, kSectors> back, front;
    for (size_t i = 0; i < kSectors; ++i) {
        back[i] = RimPoint(f, static_cast<int>(i) * kSectorDegrees, 1, f.Y0 + 1);
        front[i] = RimPoint(f, static_cast<int>(i) * kSectorDegrees, 1, f.Y1 - 1);
    }
    p.Polygon(back);
    p.Polygon(front);
    for (size_t i = 0; i < kSectors; ++i) {
        const size_t next = (i + 1) % kSectors;
        const std::array<TPoint3D, 4> band = {back[i], back[next], front[next], front[i]};
        p.Polygon(band);
    }
}
