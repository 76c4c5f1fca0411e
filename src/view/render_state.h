#pragma once
// The render state: the view transform (an orthographic projection set by a
// tilt, a turn, a scale and two offsets), the viewing octant, the shading and
// colour rules every stone applies before it draws, and the per-pass sizes.
//
// Angles, scale and offsets are single precision as the view holds them;
// arithmetic on them runs in double and is rounded to float only where a value
// is stored, so projected points come out the same on every machine.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>

#include "common/color.h"
#include "common/point3d.h"
#include "common/units.h"
#include "view/picture_cache.h"
#include "view/projector.h"

// The seven fixed face orientations whose shade factors FaceShade holds.
enum TFaceOrientation {
    foAlongY = 0,   // vertical faces facing along y
    foAlongX = 1,   // vertical faces facing along x
    foFlat = 2,     // top and bottom
    foSlopeY0 = 3,  // slope rising from the y = 0 side
    foSlopeY40 = 4, // slope rising from the y = 40 side
    foSlopeX0 = 5,  // slope rising from the x = 0 side
    foSlopeX40 = 6, // slope rising from the x = 40 side
};

struct TGroundPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

// Projected points lie within this many pixels of the picture's origin: a
// point beyond (a stone tens of millions of units across seen at a zoom in the
// thousands) is held at the limit rather than wrapped round, and every sum and
// difference of two screen coordinates fits an int.
constexpr int kLargestScreenCoordinate = 1'000'000'000;

class TRenderState final : public TProjector {
public:
    TRenderState();

    // Takes the other view's look: its angles, drawing options, edge colours,
    // light and shading, but not its scale, offsets, anchor, marks or repaint
    // state, so that pictures drawn apart from a view look as the view does.
    void TakeLookOf(const TRenderState& other);

    // --- view transform ---
    float ViewScale = 0.5f;
    // The screen position of the anchor.
    float ViewOffsetX = 0.0f;
    float ViewOffsetY = 0.0f;
    // The model point the view is laid out from, (0, 0, 0) unless a model far
    // from the origin is centred: points are projected relative to it, so such
    // a model is drawn as precisely as one near the origin.
    TPoint3D ViewAnchor{0, 0, 0};
    // Sets the three view angles from scroll positions in degrees and updates
    // the projection and octant.
    void SetRotation(int rotX, int rotY, int rotZ);
    // Sets the angles in radians as they are (a view that steps its angles
    // itself), the scroll positions to the nearest degrees, and updates.
    void SetAngles(float angleX, float angleY, float angleZ);
    int RotX() const { return FRotX; }
    int RotY() const { return FRotY; }
    int RotZ() const { return FRotZ; }
    float AngleX() const { return FAngleX; }
    float AngleY() const { return FAngleY; }
    float AngleZ() const { return FAngleZ; }
    // Recomputes the projection rows and the octant from the angles.
    void UpdateView();
    int Octant() const { return FOctant; }

    TPoint ProjectPoint(int x, int y, int z, int quarterTurn = 0) const override {
        return Project(x, y, z, quarterTurn);
    }
    // The same without a virtual call, for the drawing code's inner loops.
    TPoint Project(int x, int y, int z, int quarterTurn) const {
        const auto [px, py] = Offsets(x, y, z, quarterTurn);
        // Rounds to nearest with halves to the even neighbour.
        constexpr double kLimit = kLargestScreenCoordinate;
        return {
            static_cast<int>(std::lrint(std::clamp(static_cast<double>(ViewOffsetX) + px, -kLimit, kLimit))),
            static_cast<int>(std::lrint(std::clamp(static_cast<double>(ViewOffsetY) - py, -kLimit, kLimit)))};
    }
    // The same without the screen limit, in 64 bits (held within a million
    // billion pixels), for shapes that are worked out from one point.
    std::array<int64_t, 2> ProjectWide(int x, int y, int z) const {
        const auto [px, py] = Offsets(x, y, z, 0);
        constexpr double kLimit = 1e15;
        return {std::llrint(std::clamp(static_cast<double>(ViewOffsetX) + px, -kLimit, kLimit)),
                std::llrint(std::clamp(static_cast<double>(ViewOffsetY) - py, -kLimit, kLimit))};
    }
    // The screen displacement, unrounded, of `height` units straight up.
    double HeightDisplacementY(double height) const {
        return -static_cast<double>(ViewScale) * FRowsD[0][5] * height;
    }
    void ProjectPoints(const TPoint3D* points, int count, int quarterTurn, TPoint* out) const;
    int ViewOctant() const override { return FOctant; }

    // The point of the ground plane z = 0 under a screen point, snapped to the grid.
    TGroundPoint ScreenToModel(int sx, int sy, TGridResolution grid) const;

    // --- drawing options ---
    int DetailLevel = 0; // 0 no details, 1 decorations, 2 bitmaps
    bool Shading = true;
    bool Wireframe = false;
    bool AntiAlias = false;
    float EdgeFactor = 0.7f;
    bool FixedEdgeColors = false;
    TColor DarkEdgeColor = RGB(50, 50, 50);
    TColor LightEdgeColor = RGB(150, 150, 150);
    // The palette's black stone colour, whose edges are drawn light.
    TColor BlackStoneColor = RGB(51, 51, 51);
    // The outline colour of selected stones.
    TColor SelectionColor = RGB(244, 0, 0);
    // "Mark matching blocks": general stones with this caption are drawn in
    // magenta; MarkColor -1 means any colour, otherwise only stones of it.
    bool MarkMatching = false;
    std::string MarkCaption;
    int64_t MarkColor = -1;

    // --- light and shading ---
    std::array<int32_t, 3> Light = {0, 5, 2};
    float Ambient = 0.8f;
    std::array<float, 7> FaceShade{};
    // Recomputes FaceShade from the light direction.
    void UpdateShades();
    // The shade factor of a face with the given normal, at most 1.
    float ShadeFactor(double nx, double ny, double nz) const;

    TColor OutlineColor(TColor color) const;
    TColor EdgeColor(TColor fill, TColor pen, float factor) const;

    // Pictures of the parts' bitmap faces, read once for all passes.
    mutable TPictureCache Pictures;

    // --- repaint control ---
    // Set while a drawing pass runs, so that a pass never runs nested.
    bool Painting = false;
    // While set, the paint handler returns at once.
    bool SkipPainting = false;
    // While set, requests for a new picture do nothing.
    bool SuppressRedraw = false;

    // --- per-pass values, computed before every drawing pass ---
    void ComputePassValues();
    TPoint Height3;  // screen displacement of 3 units of height
    TPoint Height20; // screen displacement of 20 units of height
    int EllipseR = 0, EllipseH = 0, EllipseR2 = 0, EllipseH2 = 0;

private:
    // How far the point lies right of and above the view's origin, in pixels,
    // at a quarter turn.
    std::array<float, 2> Offsets(int x, int y, int z, int quarterTurn) const {
        const auto& r = FRowsD[static_cast<size_t>(quarterTurn & 3)];
        const double s = ViewScale;
        // A turned stone gives its points in its own turned axes, so the
        // anchor is turned into them too: a quarter turn takes (x, y) to (-y, x).
        int64_t anchorX = ViewAnchor.X, anchorY = ViewAnchor.Y;
        for (int turn = quarterTurn & 3; turn > 0; --turn)
            anchorX = -std::exchange(anchorY, anchorX);
        const double ax = static_cast<double>(int64_t{x} - anchorX);
        const double ay = static_cast<double>(int64_t{y} - anchorY);
        const double az = static_cast<double>(int64_t{z} - ViewAnchor.Z);
        return {static_cast<float>(s * (r[0] * ax + r[1] * ay)),
                static_cast<float>(s * (r[3] * ax + r[4] * ay + r[5] * az))};
    }

    int FRotX = 0, FRotY = 0, FRotZ = 0;
    float FAngleX = 0, FAngleY = 0, FAngleZ = 0;
    // Projection rows per quarter turn: the X row (x, y; its z part is 0) and the Y row.
    std::array<std::array<float, 4>, 6> FRows{};
    // The same rows per quarter turn, widened to double once for projecting.
    std::array<std::array<double, 6>, 4> FRowsD{};
    int FOctant = 0;
};

// Puts back the view's scale and offsets, and its per-pass values, however
// the work that changed them for a while ends.
class TViewScaleRestore {
public:
    explicit TViewScaleRestore(TRenderState& view)
        : FView(view), FScale(view.ViewScale), FOffsetX(view.ViewOffsetX), FOffsetY(view.ViewOffsetY) {}
    ~TViewScaleRestore() {
        FView.ViewScale = FScale;
        FView.ViewOffsetX = FOffsetX;
        FView.ViewOffsetY = FOffsetY;
        FView.ComputePassValues();
    }
    TViewScaleRestore(const TViewScaleRestore&) = delete;
    TViewScaleRestore& operator=(const TViewScaleRestore&) = delete;

private:
    TRenderState& FView;
    float FScale, FOffsetX, FOffsetY;
};

// A colour darkened (or lightened) by a factor, channel by channel.
TColor ShadeColor(TColor color, float factor);
