#pragma once
// Receives the closed surface of a stone as flat faces in the stone's own
// frame (unturned, its minimum corner at the origin), for the builders that
// carry a stone out of the program as triangles. Faces may come in either
// winding; the receiver orients them.

#include <span>
#include <string>

#include "common/point3d.h"

struct TFacePoint {
    double X = 0, Y = 0, Z = 0;
    bool operator==(const TFacePoint&) const = default;
};

inline TFacePoint FacePoint(const TPoint3D& p) {
    return {static_cast<double>(p.X), static_cast<double>(p.Y), static_cast<double>(p.Z)};
}

class TFaceSink {
public:
    virtual ~TFaceSink() = default;
    // One flat, simple polygon of the surface.
    virtual void Face(std::span<const TFacePoint> points) = 0;
    // The polygon that shows a picture: its first point is the picture's
    // top-left corner, the second its bottom-left, the fourth its top-right.
    virtual void PictureFace(std::span<const TFacePoint> points, const std::string& picture) = 0;
    // The faces that follow close a solid of their own (a window's pane):
    // touching the ones before, but not joined to them.
    virtual void NextSolid() = 0;
};

// The six faces of the box from `low` to `high`.
void BoxFaces(TFaceSink& sink, const TFacePoint& low, const TFacePoint& high);
