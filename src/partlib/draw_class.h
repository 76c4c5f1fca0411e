#pragma once
// TDrawClass: the shape of one kind of stone as a set of flat polygons in the
// stone's own frame, with a painting order per part octant, per-polygon
// decorations and an optional bitmap laid onto one polygon.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "common/integer_list.h"
#include "common/point3d.h"

struct TPartPolygon {
    std::vector<TPoint3D> Points;
    // 0: no outline; 1: every edge outlined; otherwise bit k+1 set hides edge k.
    int32_t EdgeFlags = 1;
    // Drawn only when the current detail level is at least this.
    int32_t Detail = 0;
    // 0: the stone's colour; > 0: fixed colour; < 0: colour -value, hatched.
    int32_t Color = 0;
    bool operator==(const TPartPolygon&) const = default;
};

struct TTurnOffset {
    int32_t DX = 0; // grid modules
    int32_t DY = 0;
    bool operator==(const TTurnOffset&) const = default;
};

constexpr int kOctantCount = 8;

// The part octant whose painting order draws a stone with the given turn seen
// from the given view octant.
constexpr int PartOctant(int viewOctant, int turn) {
    return ((viewOctant % 4) + turn) % 4 + (viewOctant >= 4 ? 4 : 0);
}

// Where a part point lands for a turn of 0..3 quarter turns, relative to the
// stone's minimum corner, given the definition's bounding box.
// Inline: drawing turns every point of every part polygon.
inline TPoint3D TurnPartPoint(const TPoint3D& p, int turn, int32_t bbX, int32_t bbY) {
    switch (turn & 3) {
    case 1:
        return {p.Y, bbX - p.X, p.Z};
    case 2:
        return {bbX - p.X, bbY - p.Y, p.Z};
    case 3:
        return {bbY - p.Y, p.X, p.Z};
    default:
        return p;
    }
}

class TDrawClass {
public:
    TDrawClass() = default;
    TDrawClass(const TDrawClass& source) { Assign(source); }
    TDrawClass& operator=(const TDrawClass& source) {
        Assign(source);
        return *this;
    }

    // Deep copy of everything, the modified flag included.
    void Assign(const TDrawClass& source);

    int PolygonCount() const { return static_cast<int>(FPolygons.size()); }
    const TPartPolygon& Polygon(int polygon) const;

    int GetPointCount(int polygon) const;
    int32_t GetEdgeFlags(int polygon) const;
    void SetEdgeFlags(int polygon, int32_t value);
    int32_t GetDetail(int polygon) const;
    void SetDetail(int polygon, int32_t value);
    int32_t GetColor(int polygon) const;
    void SetColor(int polygon, int32_t value);
    TPoint3D GetPoint(int polygon, int point) const;
    void SetPoint(int polygon, int point, const TPoint3D& value);

    int GetDrawCount(int octant) const;
    // Removes entries from the end until at most n remain; never adds.
    void SetDrawCount(int octant, int n);
    int GetDrawOrder(int octant, int position) const;
    // Stores the polygon index at the position, appending zeros first if needed.
    void SetDrawOrder(int octant, int position, int polygon);
    const TIntegerList& DrawOrder(int octant) const;
    // The bytes its polygons, points and draw orders take, about.
    int64_t ShapeBytes() const;

    int32_t BoundingX() const { return FBoundingBox[0]; }
    int32_t BoundingY() const { return FBoundingBox[1]; }
    int32_t BoundingZ() const { return FBoundingBox[2]; }
    void SetBoundingBox(int32_t x, int32_t y, int32_t z);

    TTurnOffset GetTurnOffset(int turn) const;
    void SetTurnOffset(int turn, const TTurnOffset& offset);

    // Appends a polygon (edge flags 1, detail 0, colour 0) painted last in every octant.
    void AddPolygon(const std::vector<TPoint3D>& points);
    // Appends a copy of the polygon, painted last in every octant.
    void DuplicatePolygon(int polygon);
    // Removes the polygon and its first entry in each octant's order, renumbering the rest.
    void DeletePolygon(int polygon);
    // Inserts a point before the point at position (0 <= position < point count).
    void InsertPoint(int polygon, int position, const TPoint3D& value);
    void DeletePoint(int polygon, int position);

    // Identity in the registry: library file name and part name.
    std::string FileName;
    std::string PartName;
    int32_t HighlightedPolygon = -1;
    // Written to library files when non-zero; kept by Assign and not read back.
    int32_t KindValue = 0;
    int32_t BitmapPolygon = -1;
    std::string BitmapFileName;
    bool Modified = false;

private:
    friend class TPartReader;

    TPartPolygon& CheckedPolygon(int polygon);
    const TPartPolygon& CheckedPolygon(int polygon) const;

    std::array<int32_t, 3> FBoundingBox{};
    std::vector<TPartPolygon> FPolygons;
    std::array<TIntegerList, kOctantCount> FDrawOrders;
    std::array<TTurnOffset, 4> FTurnOffsets{};
};
