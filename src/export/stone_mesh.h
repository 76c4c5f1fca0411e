#pragma once
// The closed surface of a stone as triangles, for the files that carry a model
// out of the program (OBJ, glTF, STL, 3MF, LDraw). Every face of the stone is
// there, also those the view's octant hides, each triangle wound
// counter-clockwise seen from outside, so its normal points out.
//
// A stone is built as a shape in its own axes (unturned, its minimum corner at
// the origin) and a placement (a quarter turn and a move), so stones of the
// same shape share one mesh: a file can define it once and place it often.

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "common/color.h"

class TBlock;

// Model units: 20 across a grid module, x and y across the ground, z up.
struct TMeshPoint {
    double X = 0, Y = 0, Z = 0;
    bool operator==(const TMeshPoint&) const = default;
};

// Three corners, indices into the mesh's points.
using TMeshTriangle = std::array<uint32_t, 3>;

// Triangles that show a part's picture: the mesh's texture coordinates (U to
// the right, V down the picture, 0..1) say where.
struct TMeshPictureFaces {
    std::string Picture; // the picture's file name as the part names it
    uint32_t FirstTriangle = 0, TriangleCount = 0;
};

struct TStoneMesh {
    std::vector<TMeshPoint> Points;
    std::vector<TMeshTriangle> Triangles;
    // Per point when the stone shows a picture, else empty.
    std::vector<std::array<float, 2>> TextureCoordinates;
    std::vector<TMeshPictureFaces> Pictures;
    // Empty when the surface is closed; else what leaves it open, in words
    // (a part whose polygons leave a gap), and the triangles are what could be built.
    std::string Gaps;

    // Adds a point and returns its index.
    uint32_t AddPoint(const TMeshPoint& point);
    void AddTriangle(uint32_t a, uint32_t b, uint32_t c) { Triangles.push_back({a, b, c}); }
};

// Where a shape lies in the model: turned by Turn quarter turns as the view
// turns a stone (each takes the shape's (x, y) to (y, length - x)), then
// moved so its minimum corner is at (X, Y, Z).
struct TStonePlacement {
    int32_t X = 0, Y = 0, Z = 0;
    int Turn = 0; // 0..3
    // The model point of a point of the shape.
    TMeshPoint Apply(const TMeshPoint& shapePoint) const;
    // The shape's extent along its own x and y: what turns into the stone's
    // Length and Width.
    int32_t ShapeLength = 0, ShapeWidth = 0;
};

// What decides a stone's shape: stones with the same key have the same mesh
// in their own axes (kind, extents in their own axes, part).
std::string ShapeKeyOf(const TBlock& stone);
// The stone's shape in its own axes.
TStoneMesh BuildShapeMesh(const TBlock& stone);
TStonePlacement PlacementOf(const TBlock& stone);
// The stone's surface where it lies in the model: its shape, placed.
TStoneMesh BuildStoneMesh(const TBlock& stone);

// Builds each distinct shape once, for writers that define shapes once and
// place them per stone.
class TShapeCatalogue {
public:
    struct TShape {
        std::string Key;
        int Index = 0; // in the order the shapes were first met
        TStoneMesh Mesh;
    };
    const TShape& ShapeOf(const TBlock& stone);
    size_t Count() const { return FShapes.size(); }
    // In the order they were first met.
    const std::vector<std::unique_ptr<TShape>>& Shapes() const { return FShapes; }

private:
    std::map<std::string, TShape*> FByKey;
    std::vector<std::unique_ptr<TShape>> FShapes;
};
