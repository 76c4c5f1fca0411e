#include "export/stone_mesh.h"

#include "common/error.h"
#include "model/block.h"

namespace {

// The six faces of a box from the origin to (l, w, h), each wound
// counter-clockwise seen from outside.
void AddBox(TStoneMesh& mesh, double l, double w, double h) {
    uint32_t c[8];
    for (int k = 0; k < 8; ++k)
        c[k] = mesh.AddPoint({(k & 1) ? l : 0.0, (k & 2) ? w : 0.0, (k & 4) ? h : 0.0});
    auto quad = [&](int a, int b, int cc, int d) {
        mesh.AddTriangle(c[a], c[b], c[cc]);
        mesh.AddTriangle(c[a], c[cc], c[d]);
    };
    quad(0, 2, 3, 1); // bottom, seen from below
    quad(4, 5, 7, 6); // top
    quad(0, 1, 5, 4); // y = 0
    quad(2, 6, 7, 3); // y = w
    quad(0, 4, 6, 2); // x = 0
    quad(1, 3, 7, 5); // x = l
}

} // namespace

uint32_t TStoneMesh::AddPoint(const TMeshPoint& point) {
    Points.push_back(point);
    return static_cast<uint32_t>(Points.size() - 1);
}

TMeshPoint TStonePlacement::Apply(const TMeshPoint& p) const {
    // As the view turns a stone: each quarter turn takes the shape's (x, y)
    // to (y, length - x) about its minimum corner.
    TMeshPoint turned = p;
    switch (Turn & 3) {
    case 1:
        turned = {p.Y, ShapeLength - p.X, p.Z};
        break;
    case 2:
        turned = {ShapeLength - p.X, ShapeWidth - p.Y, p.Z};
        break;
    case 3:
        turned = {ShapeWidth - p.Y, p.X, p.Z};
        break;
    default:
        break;
    }
    return {turned.X + X, turned.Y + Y, turned.Z + Z};
}

TStonePlacement PlacementOf(const TBlock& stone) {
    TStonePlacement placement{stone.X, stone.Y, stone.Z, stone.Turn & 3};
    const bool across = (stone.Turn & 1) != 0;
    placement.ShapeLength = across ? stone.Width : stone.Length;
    placement.ShapeWidth = across ? stone.Length : stone.Width;
    return placement;
}

std::string ShapeKeyOf(const TBlock& stone) {
    const TStonePlacement placement = PlacementOf(stone);
    return std::string(1, stone.Kind) + ' ' + std::to_string(placement.ShapeLength) + ' ' +
           std::to_string(placement.ShapeWidth) + ' ' + std::to_string(stone.Height);
}

TStoneMesh BuildShapeMesh(const TBlock& stone) {
    const TStonePlacement placement = PlacementOf(stone);
    TStoneMesh mesh;
    switch (stone.Kind) {
    case 'B':
        AddBox(mesh, placement.ShapeLength, placement.ShapeWidth, stone.Height);
        break;
    default:
        throw EError(std::string("Stones of kind ") + stone.Kind + " cannot be exported yet.");
    }
    return mesh;
}

TStoneMesh BuildStoneMesh(const TBlock& stone) {
    TStoneMesh mesh = BuildShapeMesh(stone);
    const TStonePlacement placement = PlacementOf(stone);
    for (TMeshPoint& point : mesh.Points)
        point = placement.Apply(point);
    return mesh;
}

const TShapeCatalogue::TShape& TShapeCatalogue::ShapeOf(const TBlock& stone) {
    std::string key = ShapeKeyOf(stone);
    if (auto found = FByKey.find(key); found != FByKey.end())
        return *found->second;
    auto shape = std::make_unique<TShape>();
    shape->Mesh = BuildShapeMesh(stone);
    shape->Key = key;
    shape->Index = static_cast<int>(FShapes.size());
    FShapes.push_back(std::move(shape));
    FByKey.emplace(std::move(key), FShapes.back().get());
    return *FShapes.back();
}
