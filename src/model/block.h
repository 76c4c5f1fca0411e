#pragma once
// TBlock: one stone placed in the model, an axis-aligned box on the grid with a
// kind, a colour, a quarter-turn orientation and a few flags. Every kind shares
// these fields; the kind decides the shape and how the stone is drawn.

#include <cstdint>
#include <memory>
#include <string>

#include "common/color.h"

class TDrawClass;
class TDrawObject;
class TFaceSink;
class TProjector;
class TRenderState;

class TBlock {
public:
    // The shared constructor of every kind: x, y, length and width in grid
    // modules, z and height in thirds of a module.
    TBlock(int32_t x, int32_t y, int32_t z, int32_t length, int32_t width, int32_t height, TColor color,
           bool tag, bool basePlate, bool transparent, const std::string& name);
    virtual ~TBlock() = default;
    TBlock(const TBlock&) = delete;
    TBlock& operator=(const TBlock&) = delete;

    // True when the screen point lies inside the stone's projected outline.
    virtual bool HitTest(const TProjector& view, int x, int y) const;
    // Takes the shape of a part definition; only general stones have one.
    virtual void SetPart(const std::string& fileName, const std::string& partName);
    // A quarter turn about the minimum corner: Length and Width are exchanged.
    virtual void TurnQuarter();
    // The one-line string form, rebuilt by CreateFromString.
    virtual std::string ToString() const;
    // Draws the stone as seen in the view's octant, with its kind's shape.
    virtual void Draw(TDrawObject& d, const TRenderState& view) const;
    // Whether Draw uses the canvas itself (ellipses, pictures read back from
    // the picture), beyond the polygons and lines of the rasteriser.
    virtual bool DrawsOnCanvas(const TRenderState&) const { return false; }
    // Tells the stone's closed surface as faces in its own frame: the stone
    // unturned, its minimum corner at the origin, OwnLength() along x and
    // OwnWidth() along y. Turned by OwnTurn() quarter turns (each takes
    // (x, y) to (y, OwnLength() - x)) and moved to (X, Y, Z), the faces lie
    // where Draw draws them.
    virtual void ShapeFaces(TFaceSink& sink) const;
    // The quarter turns that take the own frame to the model (0 .. 3).
    virtual int OwnTurn() const { return Turn & 3; }
    int32_t OwnLength() const { return OwnTurn() % 2 != 0 ? Width : Length; }
    int32_t OwnWidth() const { return OwnTurn() % 2 != 0 ? Length : Width; }

    void GetPosition(int32_t& x, int32_t& y, int32_t& z) const {
        x = X;
        y = Y;
        z = Z;
    }
    // Z + Height when the rectangle x..x+xs, y..y+ys overlaps the footprint
    // (touching edges do not), else 0.
    int32_t HeightAt(int32_t x, int32_t y, int32_t xs, int32_t ys) const;

    TDrawClass* Part = nullptr; // not owned
    bool Selected = false;
    int32_t X = 0, Y = 0, Z = 0;
    int32_t Length = 0, Width = 0, Height = 0;
    int32_t Turn = 0;
    bool Tag = false;
    TColor Color = 0;
    bool Transparent = false;
    bool BasePlate = false;
    char Kind = 'B';
    std::string Name;
    int32_t Group = 0;
    int32_t ExtraNumber = 0;
    std::string Caption;
    bool Cut = false;

protected:
    // Draws the box's three visible faces for a view octant, shaded or as one
    // outline with its inner edges.
    void DrawBox(int octant, TDrawObject& d, const TRenderState& view, bool shading) const;

    friend std::unique_ptr<TBlock> CreateCopy(const TBlock& stone);
    friend class TBlockFactory;
    // A blank stone of the same class, for copies.
    virtual std::unique_ptr<TBlock> NewOfSameClass() const;
    TBlock() = default;
};

// Stones must lie within this many units of the origin in every direction,
// and no size may exceed it: far beyond any real model, and well inside what
// drawing and sorting can handle.
constexpr int32_t kLargestCoordinate = 10'000'000;

// Raises EError when the stone's place or size lies outside what the program
// can draw and sort (sizes below 0 included).
void CheckStoneInRange(const TBlock& stone);

// The plain string form
// "kind:X:Y:Z:Length:Width:Height:Color:Tag:BasePlate:Turn:Transparent:Group:Name:Extra:Caption".
std::string PlainBlockString(const TBlock& stone);

// A new stone of the same class with the same kind, place, extents, colour,
// flags, turn, part, name, extra number and caption; in no group, not selected, not cut.
std::unique_ptr<TBlock> CreateCopy(const TBlock& stone);
