#include "export/stone_mesh.h"

#include "export/shell_builder.h"
#include "model/block.h"
#include "partlib/draw_class.h"

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
    TStonePlacement placement{stone.X, stone.Y, stone.Z, stone.OwnTurn()};
    placement.ShapeLength = stone.OwnLength();
    placement.ShapeWidth = stone.OwnWidth();
    return placement;
}

std::string ShapeKeyOf(const TBlock& stone) {
    // The kind and the extents in the stone's own axes decide every built-in
    // shape; a part's shape is its definition's.
    std::string key = std::string(1, stone.Kind) + ' ' + std::to_string(stone.OwnLength()) + ' ' +
                      std::to_string(stone.OwnWidth()) + ' ' + std::to_string(stone.Height);
    if (stone.Part)
        key += ' ' + std::to_string(stone.Part->FileName.size()) + ':' + stone.Part->FileName + ' ' +
               stone.Part->PartName;
    return key;
}

TStoneMesh BuildShapeMesh(const TBlock& stone) {
    TShellBuilder builder;
    stone.ShapeFaces(builder);
    return builder.Build();
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
