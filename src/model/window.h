#pragma once
// Window, door and wheel: stones drawn from built-in pieces rather than a part
// definition. They share the data and string form of TBlock and differ only in
// how they draw themselves.
//
// A turned stone is drawn in its own frame: the box it would be unturned, whose
// points, projected with the rows of its quarter turn, land where the stone
// stands. The pieces are defined in that frame.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <utility>

#include "common/color.h"
#include "common/point3d.h"
#include "model/block.h"
#include "model/face_sink.h"
#include "platform/point.h"

class TCanvas;

// The stone's box in its own frame, in model units.
struct TWindowFrame {
    int32_t X0 = 0, X1 = 0, Y0 = 0, Y1 = 0, Z0 = 0, Z1 = 0;
    int32_t XExtent() const { return X1 - X0; }
    bool operator==(const TWindowFrame&) const = default;
};

// The colours of the pieces.
struct TPieceColors {
    TColor Side = 0;  // faces across the own x axis
    TColor Front = 0; // faces across the own y axis
    TColor Flat = 0;  // horizontal faces
    TColor Slope = 0; // the slanted sill face
    TColor Glass = 0; // the pane
};

// A point of a piece lying in an axis plane: the two coordinates that vary.
struct TPlanePoint {
    int32_t U = 0, V = 0;
};

// Draws the pieces of one stone: own-frame polygons projected with the rows of
// the stone's quarter turn, filled and outlined. Made with a face sink, it
// hands the pieces' polygons to the sink instead, unprojected.
class TWindowPainter {
public:
    TWindowPainter(TDrawObject& d, const TRenderState& view, const TWindowFrame& frame,
                   const TPieceColors& colors, bool shading, int turn)
        : FDraw(&d), FView(&view), FFrame(frame), FColors(colors), FShading(shading), FTurn(turn) {}
    TWindowPainter(TFaceSink& sink, const TWindowFrame& frame) : FFrame(frame), FSink(&sink) {}

    const TWindowFrame& Frame() const { return FFrame; }
    const TPieceColors& Colors() const { return FColors; }
    // Only while drawing.
    const TRenderState& View() const { return *FView; }
    TCanvas& Canvas() const;
    bool Shading() const { return FShading; }
    int Turn() const { return FTurn; }
    // The sink the polygons go to, or null while drawing.
    TFaceSink* Sink() const { return FSink; }

    // One polygon in the current brush and pen.
    void Polygon(const TPoint3D* points, int count) const;
    // The screen point of an own-frame point, and a polygon of screen points,
    // for pieces that share their corners.
    TPoint Project(const TPoint3D& point) const;
    void ScreenPolygon(const TPoint* points, int count) const;
    template <std::size_t N> void Polygon(const std::array<TPoint3D, N>& points) const {
        Polygon(points.data(), static_cast<int>(N));
    }
    // One polygon after setting the brush to `color` when shading is on; the
    // points are (x, z) in the plane y, (y, z) in the plane x, (x, y) in the plane z.
    void FaceAtY(TColor color, int32_t y, std::initializer_list<TPlanePoint> points) const;
    void FaceAtX(TColor color, int32_t x, std::initializer_list<TPlanePoint> points) const;
    void FaceAtZ(TColor color, int32_t z, std::initializer_list<TPlanePoint> points) const;
    void Face(TColor color, std::initializer_list<TPoint3D> points) const;
    void Face(TColor color, const TPoint3D* points, int count) const;
    template <std::size_t N> void Face(TColor color, const std::array<TPoint3D, N>& points) const {
        Face(color, points.data(), static_cast<int>(N));
    }

private:
    TDrawObject* FDraw = nullptr;
    const TRenderState* FView = nullptr;
    TWindowFrame FFrame;
    TPieceColors FColors;
    bool FShading = false;
    int FTurn = 0;
    TFaceSink* FSink = nullptr;
};

// A window: a frame open at the back, a sill with a groove at the front and a
// half-transparent glass pane.
class TWindow : public TBlock {
public:
    template <class... Args> explicit TWindow(Args&&... args) : TBlock(std::forward<Args>(args)...) {
        Kind = 'W';
    }
    void Draw(TDrawObject& d, const TRenderState& view) const override;
    // The pieces as a closed solid: where drawn pieces overlap (the inner
    // sides behind the sill), the part of them that shows; the pane as a
    // solid of its own, a unit thick about the plane it is drawn in. A stone
    // too small for its frame is its box.
    void ShapeFaces(TFaceSink& sink) const override;

    // The pieces, numbered as in the drawing orders.
    enum TPiece {
        wpFrameFaceY0 = 17,
        wpSideX0,
        wpInnerSideX0,
        wpBottomFace,
        wpSillSlope,
        wpExtraPiece,
        wpSillStepTop,
        wpSillTop,
        wpSillStepFace,
        wpSideX1,
        wpInnerSideX1,
        wpTopFace,
        wpLintelUnderside,
        wpLeafBacks,
        wpSillFace,
        wpFaceY1,
        wpGlassPane,
    };

    // The stone brought into its own frame by its turn.
    static TWindowFrame OwnFrame(const TBlock& stone);
    // The piece colours for a brush colour and turn; with shading off every
    // colour is the brush colour and the glass white.
    static TPieceColors PieceColors(TColor brush, int turn, bool shading, const TRenderState& view);
    // The octant routine that draws a stone of this turn seen from a view octant.
    static int OctantRoutine(int viewOctant, int turn);
    // The pieces of an octant routine of windows and doors, first drawn first.
    static std::span<const int> PieceOrder(int octant);

protected:
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TWindow>(); }

    // Draws the stone as its octant routine `octant` (0 .. 7 in the own frame).
    virtual void DrawOctant(int octant, const TWindowPainter& p) const;
    // Draws one piece by its number.
    void DrawPiece(int piece, const TWindowPainter& p) const;
    // Whether the stone's pieces fit its frame, and its closed surface when they do.
    virtual bool PiecesFit(const TWindowFrame& f) const;
    virtual void SolidFaces(const TWindowPainter& p) const;

    // The pieces. Each draws its polygons; a piece a kind lacks draws nothing.
    virtual void FrameFaceY0(const TWindowPainter& p) const;
    virtual void SideX0(const TWindowPainter& p) const;
    virtual void InnerSideX0(const TWindowPainter& p) const;
    virtual void BottomFace(const TWindowPainter& p) const;
    virtual void SillSlope(const TWindowPainter& p) const;
    virtual void ExtraPiece(const TWindowPainter& p) const;
    virtual void SillStepTop(const TWindowPainter& p) const;
    virtual void SillTop(const TWindowPainter& p) const;
    virtual void SillStepFace(const TWindowPainter& p) const;
    virtual void SideX1(const TWindowPainter& p) const;
    virtual void InnerSideX1(const TWindowPainter& p) const;
    virtual void TopFace(const TWindowPainter& p) const;
    virtual void LintelUnderside(const TWindowPainter& p) const;
    virtual void LeafBacks(const TWindowPainter& p) const;
    virtual void SillFace(const TWindowPainter& p) const;
    virtual void FaceY1(const TWindowPainter& p) const;
    virtual void GlassPane(const TWindowPainter& p) const;

private:
    // The side profile shared by both outer and both inner sides: full depth
    // with the sill groove cut into the front.
    static void SideProfile(const TWindowPainter& p, int32_t x, int32_t top);
};

// A door: the window frame with two leaves and a threshold instead of sill and glass.
class TDoor : public TWindow {
public:
    template <class... Args> explicit TDoor(Args&&... args) : TWindow(std::forward<Args>(args)...) {
        Kind = 'D';
    }

    // The outline of the left or right leaf in the plane y: from the side of
    // the opening to the middle, with a pointed cut-out reaching 12 units into
    // the leaf between 8 and 28 units below the top.
    static std::array<TPoint3D, 7> LeafOutline(const TWindowFrame& f, bool right, int32_t y);

protected:
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TDoor>(); }
    // The frame, the threshold and the leaves with the opening between them.
    bool PiecesFit(const TWindowFrame& f) const override;
    void SolidFaces(const TWindowPainter& p) const override;

    void SideX0(const TWindowPainter& p) const override;
    void InnerSideX0(const TWindowPainter& p) const override;
    void SillSlope(const TWindowPainter& p) const override;
    void SillStepTop(const TWindowPainter& p) const override;
    void SillTop(const TWindowPainter& p) const override;
    void SillStepFace(const TWindowPainter& p) const override;
    void SideX1(const TWindowPainter& p) const override;
    void InnerSideX1(const TWindowPainter& p) const override;
    void LeafBacks(const TWindowPainter& p) const override;
    void SillFace(const TWindowPainter& p) const override;
    void FaceY1(const TWindowPainter& p) const override;
    void GlassPane(const TWindowPainter& p) const override;
};

// A wheel: its axle along the own y axis, a hub and a tyre on both faces and
// the tread between them. Its size comes from the x extent alone.
class TWheel : public TWindow {
public:
    template <class... Args> explicit TWheel(Args&&... args) : TWindow(std::forward<Args>(args)...) {
        Kind = 'O';
    }

    // Height of the wheel's centre above the stone's base.
    static constexpr int32_t kCentreHeight = 28;
    // The centre of the face in the plane y.
    static TPoint3D Centre(const TWindowFrame& f, int32_t y);
    // The point at `degrees` on the circle of radius k / 2 x (x extent x 3 div 4)
    // about the centre, in the plane y, each offset rounded to the nearest unit.
    static TPoint3D RimPoint(const TWindowFrame& f, int degrees, double k, int32_t y);

protected:
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TWheel>(); }
    // The tyre's twelve-sided prism across the tread's width.
    bool PiecesFit(const TWindowFrame& f) const override;
    void SolidFaces(const TWindowPainter& p) const override;

    void DrawOctant(int octant, const TWindowPainter& p) const override;

private:
    // The rim points' offsets from the centre, of the hub and of the tyre.
    struct TRims;
    // One face in the plane y: the hub in the current brush and pen, the tyre in grey.
    void WheelFace(const TWindowPainter& p, int32_t y, const TRims& rims) const;
    // The tread around the tyre, in a darker grey.
    void WheelTread(const TWindowPainter& p, const TRims& rims) const;

    // The wireframe and see-through brush rules of the stone.
    void ApplyWheelStyle(const TWindowPainter& p) const;
};
