#include "partlib/draw_class.h"

#include "common/error.h"

void TDrawClass::Assign(const TDrawClass& source) {
    if (&source == this)
        return;
    FileName = source.FileName;
    PartName = source.PartName;
    HighlightedPolygon = source.HighlightedPolygon;
    FBoundingBox = source.FBoundingBox;
    FPolygons = source.FPolygons;
    FDrawOrders = source.FDrawOrders;
    KindValue = source.KindValue;
    BitmapFileName = source.BitmapFileName;
    BitmapPolygon = source.BitmapPolygon;
    FTurnOffsets = source.FTurnOffsets;
    Modified = source.Modified;
}

TPartPolygon& TDrawClass::CheckedPolygon(int polygon) {
    if (polygon < 0 || polygon >= PolygonCount())
        throw EError("Illegal polygon index");
    return FPolygons[static_cast<size_t>(polygon)];
}

const TPartPolygon& TDrawClass::CheckedPolygon(int polygon) const {
    if (polygon < 0 || polygon >= PolygonCount())
        throw EError("Illegal polygon index");
    return FPolygons[static_cast<size_t>(polygon)];
}

const TPartPolygon& TDrawClass::Polygon(int polygon) const {
    return CheckedPolygon(polygon);
}

int TDrawClass::GetPointCount(int polygon) const {
    return static_cast<int>(CheckedPolygon(polygon).Points.size());
}

int32_t TDrawClass::GetEdgeFlags(int polygon) const {
    return CheckedPolygon(polygon).EdgeFlags;
}

void TDrawClass::SetEdgeFlags(int polygon, int32_t value) {
    CheckedPolygon(polygon).EdgeFlags = value;
    Modified = true;
}

int32_t TDrawClass::GetDetail(int polygon) const {
    return CheckedPolygon(polygon).Detail;
}

void TDrawClass::SetDetail(int polygon, int32_t value) {
    CheckedPolygon(polygon).Detail = value;
    Modified = true;
}

int32_t TDrawClass::GetColor(int polygon) const {
    return CheckedPolygon(polygon).Color;
}

void TDrawClass::SetColor(int polygon, int32_t value) {
    CheckedPolygon(polygon).Color = value;
    Modified = true;
}

TPoint3D TDrawClass::GetPoint(int polygon, int point) const {
    const auto& points = CheckedPolygon(polygon).Points;
    if (point < 0 || point >= static_cast<int>(points.size()))
        throw EError("Illegal point index");
    return points[static_cast<size_t>(point)];
}

void TDrawClass::SetPoint(int polygon, int point, const TPoint3D& value) {
    auto& points = CheckedPolygon(polygon).Points;
    if (point < 0 || point >= static_cast<int>(points.size()))
        throw EError("Illegal point index");
    points[static_cast<size_t>(point)] = value;
    Modified = true;
}

int TDrawClass::GetDrawCount(int octant) const {
    if (octant < 0 || octant >= kOctantCount)
        throw EError("Illegal octant for GetDrawCount");
    return FDrawOrders[static_cast<size_t>(octant)].Count();
}

void TDrawClass::SetDrawCount(int octant, int n) {
    if (octant < 0 || octant >= kOctantCount)
        throw EError("Illegal octant for SetDrawCount");
    auto& order = FDrawOrders[static_cast<size_t>(octant)];
    while (order.Count() > 0 && order.Count() > n)
        order.Delete(order.Count() - 1);
    Modified = true;
}

int TDrawClass::GetDrawOrder(int octant, int position) const {
    if (octant < 0 || octant >= kOctantCount)
        throw EError("Illegal octant for GetDrawOrder");
    const auto& order = FDrawOrders[static_cast<size_t>(octant)];
    if (position < 0 || position >= order.Count())
        throw EError("Illegal face index for GetDrawOrder");
    return order.Get(position);
}

void TDrawClass::SetDrawOrder(int octant, int position, int polygon) {
    if (octant < 0 || octant >= kOctantCount)
        throw EError("Illegal octant for SetDrawOrder");
    if (position < 0)
        throw EError("Illegal face index for SetDrawOrder");
    FDrawOrders[static_cast<size_t>(octant)].Put(position, polygon);
    Modified = true;
}

const TIntegerList& TDrawClass::DrawOrder(int octant) const {
    if (octant < 0 || octant >= kOctantCount)
        throw EError("Illegal octant for GetDrawOrder");
    return FDrawOrders[static_cast<size_t>(octant)];
}

int64_t TDrawClass::ShapeBytes() const {
    int64_t bytes = static_cast<int64_t>(FPolygons.size() * sizeof(TPartPolygon));
    for (const auto& polygon : FPolygons)
        bytes += static_cast<int64_t>(polygon.Points.size() * sizeof(TPoint3D));
    for (const auto& order : FDrawOrders)
        bytes += int64_t{order.Count()} * static_cast<int64_t>(sizeof(int32_t));
    return bytes;
}

void TDrawClass::SetBoundingBox(int32_t x, int32_t y, int32_t z) {
    FBoundingBox = {x, y, z};
    Modified = true;
}

TTurnOffset TDrawClass::GetTurnOffset(int turn) const {
    return FTurnOffsets[static_cast<size_t>(turn & 3)];
}

void TDrawClass::SetTurnOffset(int turn, const TTurnOffset& offset) {
    FTurnOffsets[static_cast<size_t>(turn & 3)] = offset;
    Modified = true;
}

void TDrawClass::AddPolygon(const std::vector<TPoint3D>& points) {
    TPartPolygon polygon;
    polygon.Points = points;
    FPolygons.push_back(std::move(polygon));
    for (auto& order : FDrawOrders)
        order.Add(PolygonCount() - 1);
    Modified = true;
}

void TDrawClass::DuplicatePolygon(int polygon) {
    TPartPolygon copy = CheckedPolygon(polygon);
    FPolygons.push_back(std::move(copy));
    for (auto& order : FDrawOrders)
        order.Add(PolygonCount() - 1);
    Modified = true;
}

void TDrawClass::DeletePolygon(int polygon) {
    CheckedPolygon(polygon);
    for (auto& order : FDrawOrders) {
        order.Remove(polygon);
        for (int i = 0; i < order.Count(); ++i) {
            if (order.Get(i) > polygon)
                order.Put(i, order.Get(i) - 1);
        }
    }
    FPolygons.erase(FPolygons.begin() + polygon);
    Modified = true;
}

void TDrawClass::InsertPoint(int polygon, int position, const TPoint3D& value) {
    auto& points = CheckedPolygon(polygon).Points;
    if (position < 0 || position >= static_cast<int>(points.size()))
        throw EError("Illegal point index");
    points.insert(points.begin() + position, value);
    Modified = true;
}

void TDrawClass::DeletePoint(int polygon, int position) {
    auto& points = CheckedPolygon(polygon).Points;
    if (position < 0 || position >= static_cast<int>(points.size()))
        throw EError("Illegal point index");
    points.erase(points.begin() + position);
    Modified = true;
}
