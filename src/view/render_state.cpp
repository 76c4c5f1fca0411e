#include "view/render_state.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// Round half to even, as the view rounds.
int Round(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// The seven fixed face orientations as planes through three points.
constexpr int32_t kOrientationPoints[7][3][3] = {
    {{0, 0, 0}, {0, 0, 10}, {10, 0, 10}},    {{0, 0, 0}, {0, 10, 0}, {0, 10, 10}},
    {{0, 0, 0}, {10, 0, 0}, {0, 10, 0}},     {{0, 0, 4}, {20, 20, 24}, {40, 0, 4}},
    {{0, 40, 4}, {20, 20, 24}, {40, 40, 4}}, {{0, 0, 4}, {0, 40, 4}, {20, 20, 24}},
    {{40, 0, 4}, {40, 40, 4}, {20, 20, 24}},
};

} // namespace

TRenderState::TRenderState() {
    UpdateView();
    UpdateShades();
}

void TRenderState::TakeLookOf(const TRenderState& other) {
    DetailLevel = other.DetailLevel;
    Shading = other.Shading;
    Wireframe = other.Wireframe;
    AntiAlias = other.AntiAlias;
    EdgeFactor = other.EdgeFactor;
    FixedEdgeColors = other.FixedEdgeColors;
    DarkEdgeColor = other.DarkEdgeColor;
    LightEdgeColor = other.LightEdgeColor;
    BlackStoneColor = other.BlackStoneColor;
    SelectionColor = other.SelectionColor;
    Light = other.Light;
    Ambient = other.Ambient;
    FaceShade = other.FaceShade;
    FRotX = other.FRotX;
    FRotY = other.FRotY;
    FRotZ = other.FRotZ;
    FAngleX = other.FAngleX;
    FAngleY = other.FAngleY;
    FAngleZ = other.FAngleZ;
    UpdateView();
}

void TRenderState::SetRotation(int rotX, int rotY, int rotZ) {
    FRotX = rotX;
    FRotY = rotY;
    FRotZ = rotZ;
    FAngleX = static_cast<float>(rotX * kPi / 180.0);
    FAngleY = static_cast<float>(rotY * kPi / 180.0);
    FAngleZ = static_cast<float>(rotZ * kPi / 180.0);
    UpdateView();
}

void TRenderState::SetAngles(float angleX, float angleY, float angleZ) {
    auto degrees = [](float angle) { return static_cast<int>(std::lround(angle * 180.0 / kPi)); };
    FRotX = degrees(angleX);
    FRotY = degrees(angleY);
    FRotZ = degrees(angleZ);
    FAngleX = angleX;
    FAngleY = angleY;
    FAngleZ = angleZ;
    UpdateView();
}

void TRenderState::UpdateView() {
    const double cx = std::cos(static_cast<double>(FAngleX));
    const double sx = std::sin(static_cast<double>(FAngleX));
    for (int i = 0; i < 4; ++i) {
        const double t = static_cast<double>(FAngleZ) + i * kPi / 2;
        FRows[0][i] = static_cast<float>(std::cos(t));
        FRows[1][i] = static_cast<float>(std::sin(t));
        FRows[2][i] = 0.0f;
        FRows[3][i] = static_cast<float>(std::sin(t) * cx);
        FRows[4][i] = static_cast<float>(-std::cos(t) * cx);
        FRows[5][i] = static_cast<float>(sx);
        for (size_t k = 0; k < 6; ++k)
            FRowsD[static_cast<size_t>(i)][k] = FRows[k][static_cast<size_t>(i)];
    }
    int quadrant = static_cast<int>(std::floor(static_cast<double>(FAngleZ) / (kPi / 2)));
    quadrant = ((quadrant % 4) + 4) % 4;
    FOctant = quadrant + (static_cast<double>(FAngleX) > kPi / 2 ? 4 : 0);
}

void TRenderState::ProjectPoints(const TPoint3D* points, int count, int quarterTurn, TPoint* out) const {
    for (int k = 0; k < count; ++k)
        out[k] = Project(points[k].X, points[k].Y, points[k].Z, quarterTurn);
}

TGroundPoint TRenderState::ScreenToModel(int sx, int sy, TGridResolution grid) const {
    const double x0 = FRows[0][0], x1 = FRows[1][0];
    const double y0 = FRows[3][0], y1 = FRows[4][0];
    const double s = ViewScale;
    // Where the ground plane passes under the anchor.
    const double ox = ViewOffsetX, oy = ViewOffsetY + s * FRows[5][0] * ViewAnchor.Z;
    double x = 0, y = 0;
    if (std::fabs(x0) <= 0.00001) {
        x = std::fabs(y0) < 0.00001 ? 0.0 : (oy - sy) / s / y0;
        y = std::fabs(x1) < 0.00001 ? 0.0 : (sx - ox) / s / x1;
    } else {
        const double d = static_cast<float>(s * (y0 * x1 - x0 * y1));
        y = std::fabs(d) < 0.00001 ? 0.0 : (y0 * (sx - ox) + x0 * (sy - oy)) / d;
        x = ((sx - ox) / s - x1 * y) / x0;
    }
    // A view along the ground finds its points very far out: they are held to the number range.
    auto whole = [](double v) {
        return static_cast<int32_t>(std::clamp(std::floor(v), -2147483648.0, 2147483647.0));
    };
    const int32_t fx = whole(x + ViewAnchor.X);
    const int32_t fy = whole(y + ViewAnchor.Y);
    return {SnapToGrid(fx, grid), SnapToGrid(fy, grid)};
}

float TRenderState::ShadeFactor(double nx, double ny, double nz) const {
    const double lx = Light[0], ly = Light[1], lz = Light[2];
    const double lengths = std::sqrt(nx * nx + ny * ny + nz * nz) * std::sqrt(lx * lx + ly * ly + lz * lz);
    if (lengths == 0)
        return Ambient;
    const double f = static_cast<double>(Ambient) + std::fabs(nx * lx + ny * ly - nz * lz) / lengths / 4;
    return static_cast<float>(f > 1 ? 1.0 : f);
}

void TRenderState::UpdateShades() {
    for (size_t k = 0; k < 7; ++k) {
        const auto& p = kOrientationPoints[k];
        const double ax = p[1][0] - p[0][0], ay = p[1][1] - p[0][1], az = p[1][2] - p[0][2];
        const double bx = p[2][0] - p[0][0], by = p[2][1] - p[0][1], bz = p[2][2] - p[0][2];
        FaceShade[k] = ShadeFactor(ay * bz - az * by, az * bx - ax * bz, ax * by - ay * bx);
    }
}

TColor TRenderState::OutlineColor(TColor color) const {
    return color == BlackStoneColor ? LightEdgeColor : DarkEdgeColor;
}

TColor TRenderState::EdgeColor(TColor fill, TColor pen, float factor) const {
    if (FixedEdgeColors)
        return fill == BlackStoneColor ? LightEdgeColor : DarkEdgeColor;
    return fill == BlackStoneColor ? ShadeColor(pen, factor) : ShadeColor(fill, factor);
}

void TRenderState::ComputePassValues() {
    const TPoint origin = ProjectPoint(ViewAnchor.X, ViewAnchor.Y, ViewAnchor.Z, 0);
    const TPoint p3 = ProjectPoint(ViewAnchor.X, ViewAnchor.Y, ViewAnchor.Z + 3, 0);
    const TPoint p20 = ProjectPoint(ViewAnchor.X, ViewAnchor.Y, ViewAnchor.Z + 20, 0);
    Height3 = {p3.x - origin.x, p3.y - origin.y};
    Height20 = {p20.x - origin.x, p20.y - origin.y};
    EllipseR = Round(5.0 * ViewScale);
    EllipseH = Round(5.0 * ViewScale * std::cos(static_cast<double>(FAngleX)));
    EllipseR2 = EllipseR / 2;
    EllipseH2 = EllipseH / 2;
}

namespace {

TColor ComputeShade(TColor color, float factor) {
    const TColor c = ColorToRGB(color);
    const double f = factor;
    // Red is rounded on its own; green and blue are scaled in place on their
    // channel bits and masked, which truncates them. A factor outside 0..1 (an
    // edge factor from a hand-edited settings file) stops each channel at black
    // or full brightness instead of letting it spill into the next one.
    if (f > 1.0 || f < 0.0) {
        auto clamp = [](double v) {
            return v > 255.0 ? 255 : v < 0.0 ? 0 : static_cast<int>(std::nearbyint(v));
        };
        return RGB(clamp(GetRValue(c) * f), clamp(GetGValue(c) * f), clamp(GetBValue(c) * f));
    }
    const int64_t r = static_cast<int64_t>(std::nearbyint(GetRValue(c) * f));
    const int64_t g = static_cast<int64_t>(std::nearbyint(GetGValue(c) * 256.0 * f)) & 0xFF00;
    const int64_t b = static_cast<int64_t>(std::nearbyint(GetBValue(c) * 65536.0 * f)) & 0xFF0000;
    return static_cast<TColor>(r | g | b);
}

} // namespace

TColor ShadeColor(TColor color, float factor) {
    // A picture shades the same few colours by the same few factors over and
    // over: the shades found last are kept per drawing thread. System colours
    // can change their value, so they are worked out every time.
    if (color & clSystemColor)
        return ComputeShade(color, factor);
    struct TEntry {
        TColor Color;
        uint32_t Factor;
        TColor Shade;
    };
    // All zero at first: black by a factor of zero is black.
    thread_local std::array<TEntry, 64> recent{};
    const uint32_t bits = std::bit_cast<uint32_t>(factor);
    TEntry& entry = recent[((color * 0x9E3779B1u) ^ (bits * 0x85EBCA6Bu)) >> 26];
    if (entry.Color != color || entry.Factor != bits)
        entry = {color, bits, ComputeShade(color, factor)};
    return entry.Shade;
}
