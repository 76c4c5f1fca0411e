#pragma once
// The five roof stones: a sloped roof, the ridge, the corner, the ridge corner
// and the ridge end. Each defines its faces in a local frame in which the stone
// is unturned; the frame's points are projected with the rows of the stone's
// turn, which places them where the stone stands.

#include <initializer_list>
#include <memory>
#include <utility>

#include "model/block.h"
#include "model/block_paint.h"
#include "model/face_sink.h"

// The local frame: origin (A, B), local extents E (x) and D (y), height C and
// base height F.
struct TRoofFrame {
    int32_t A, B, C, E, D, F;
    int32_t Top() const { return F + C; }
    int32_t MidX() const { return A + E / 2; }
    int32_t MidY() const { return B + D / 2; }
};

// Draws the faces of one roof stone: each face takes its slot's colour when
// shading is on and is filled and outlined. Made with a face sink, it hands
// the faces to the sink instead, unprojected.
class TRoofPainter {
public:
    TRoofPainter(TDrawObject& d, const TRenderState& view, const TFaceColors& colors, bool shading, int turn)
        : FDraw(&d), FView(&view), FColors(&colors), FShading(shading), FTurn(turn) {}
    explicit TRoofPainter(TFaceSink& sink) : FSink(&sink) {}
    void Face(TFaceSlot slot, std::initializer_list<TPoint3D> points) const;
    // Only while drawing.
    const TRenderState& View() const { return *FView; }
    int Turn() const { return FTurn; }

private:
    TDrawObject* FDraw = nullptr;
    const TRenderState* FView = nullptr;
    const TFaceColors* FColors = nullptr;
    bool FShading = false;
    int FTurn = 0;
    TFaceSink* FSink = nullptr;
};

// A roof stone sloping down across its width: a wedge rising from the local
// y-max edge to full height at the local y-min side.
class TRoof : public TBlock {
public:
    template <class... Args> explicit TRoof(Args&&... args) : TBlock(std::forward<Args>(args)...) {
        Kind = 'T';
    }
    void Draw(TDrawObject& d, const TRenderState& view) const override;
    // The faces the view draws, every one once.
    void ShapeFaces(TFaceSink& sink) const override;

protected:
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TRoof>(); }
    // The faces: the local y-max side, the y-min side, the roof surface seen
    // from above, the underside, the x-min side and the x-max side.
    virtual void FrontFace(const TRoofFrame& f, const TRoofPainter& p) const;
    virtual void BackFace(const TRoofFrame& f, const TRoofPainter& p) const;
    virtual void TopFaces(const TRoofFrame& f, const TRoofPainter& p) const;
    virtual void BottomFace(const TRoofFrame& f, const TRoofPainter& p) const;
    virtual void LeftFace(const TRoofFrame& f, const TRoofPainter& p) const;
    virtual void RightFace(const TRoofFrame& f, const TRoofPainter& p) const;

private:
    enum TLocalSide { lsFront, lsBack, lsLeft, lsRight };
    void DrawSide(TLocalSide side, const TRoofFrame& f, const TRoofPainter& p) const;
};

// The ridge: two slopes meeting at the top along local x.
class TRoofTop : public TRoof {
public:
    template <class... Args> explicit TRoofTop(Args&&... args) : TRoof(std::forward<Args>(args)...) {
        Kind = 'N';
    }

protected:
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TRoofTop>(); }
    void FrontFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void BackFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void TopFaces(const TRoofFrame& f, const TRoofPainter& p) const override;
    void LeftFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void RightFace(const TRoofFrame& f, const TRoofPainter& p) const override;
};

// An outer roof corner with its apex over the local (x-max, y-min) corner.
class TRoofCorner : public TRoof {
public:
    template <class... Args> explicit TRoofCorner(Args&&... args) : TRoof(std::forward<Args>(args)...) {
        Kind = 'C';
    }

protected:
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TRoofCorner>(); }
    void FrontFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void BackFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void TopFaces(const TRoofFrame& f, const TRoofPainter& p) const override;
    void LeftFace(const TRoofFrame& f, const TRoofPainter& p) const override;
};

// The corner where two ridges meet: a ridge from the centre to the local x-max side.
class TRoofTopCorner : public TRoofCorner {
public:
    template <class... Args>
    explicit TRoofTopCorner(Args&&... args) : TRoofCorner(std::forward<Args>(args)...) {
        Kind = 'I';
    }

protected:
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TRoofTopCorner>(); }
    void FrontFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void BackFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void TopFaces(const TRoofFrame& f, const TRoofPainter& p) const override;
    void LeftFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void RightFace(const TRoofFrame& f, const TRoofPainter& p) const override;
};

// The end of a ridge, sloping on three sides to its apex.
class TRoofTopEnd : public TRoofTop {
public:
    template <class... Args> explicit TRoofTopEnd(Args&&... args) : TRoofTop(std::forward<Args>(args)...) {
        Kind = 'E';
    }

protected:
    std::unique_ptr<TBlock> NewOfSameClass() const override { return std::make_unique<TRoofTopEnd>(); }
    void FrontFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void BackFace(const TRoofFrame& f, const TRoofPainter& p) const override;
    void TopFaces(const TRoofFrame& f, const TRoofPainter& p) const override;
    void LeftFace(const TRoofFrame& f, const TRoofPainter& p) const override;
};
