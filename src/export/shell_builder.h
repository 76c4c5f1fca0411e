#pragma once
// Builds closed triangle shells from the faces a stone tells (TBlock::
// ShapeFaces): points at the same place are welded into one, faces without
// area and repeated faces dropped, every side split where another face's
// corner lies on it (so no corner of one triangle lies on the side of
// another), each face cut into triangles, and the triangles turned so that
// each solid is wound the same way throughout, outward.

#include <string>
#include <vector>

#include "export/stone_mesh.h"
#include "model/face_sink.h"

class TShellBuilder final : public TFaceSink {
public:
    void Face(std::span<const TFacePoint> points) override;
    void PictureFace(std::span<const TFacePoint> points, const std::string& picture) override;
    void NextSolid() override;

    // The shells of every solid told. A solid whose faces leave a gap, or meet
    // more than two at a side, is given as far as it goes, and Gaps says so.
    TStoneMesh Build();

private:
    struct TPolygon {
        std::vector<TFacePoint> Corners;
        std::string Picture; // the picture it shows, if any
    };
    struct TSolid {
        std::vector<TPolygon> Polygons;
    };
    void AddPolygon(std::span<const TFacePoint> points, const std::string& picture);
    void BuildSolid(const TSolid& solid, TStoneMesh& mesh);

    std::vector<TSolid> FSolids{1};
};
