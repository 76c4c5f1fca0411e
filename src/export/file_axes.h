#pragma once
// The axes of exported files. The model is laid out left-handed: as the view
// shows it, x runs to the right, z up and y toward the viewer. The files
// other programs read are right-handed, so one axis is mirrored on the way
// out, and every triangle is listed the other way round so that it still
// faces outward.

#include "export/stone_mesh.h"

// Z up (STL, 3MF): the model's (x, y, z) become (x, -y, z).
inline TMeshPoint ZUpFilePoint(const TMeshPoint& p, double scale) {
    return {p.X * scale, -p.Y * scale, p.Z * scale};
}

// Y up (OBJ, glTF): the model's (x, y, z) become (x, z, y).
inline TMeshPoint YUpFilePoint(const TMeshPoint& p, double scale) {
    return {p.X * scale, p.Z * scale, p.Y * scale};
}

// A triangle's corners in the order that keeps it facing outward after the mirroring.
inline TMeshTriangle FileTriangle(const TMeshTriangle& t) {
    return {t[0], t[2], t[1]};
}
