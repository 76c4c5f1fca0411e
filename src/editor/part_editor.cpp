#include "editor/part_editor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include "editor/shape_sort.h"
#include "partlib/part_registry.h"
#include "view/render_state.h"

namespace {

constexpr size_t kLongestLabel = 255;

int32_t DimensionEdit(int32_t units) {
    return std::clamp(units, TPartEditor::kSmallestDimension, TPartEditor::kLargestDimension);
}

std::string GeneralBlockString(const std::string& file, const std::string& part) {
    return "G " + file + ", " + part;
}

} // namespace

TPartEditor::TPartEditor(TStoneBuilder builder) : FBuild(std::move(builder)) {}

TPartEditor::~TPartEditor() = default;

// --- opening and results ---

void TPartEditor::LoadEntry(const std::string& entry, bool asNew) {
    const size_t bar = entry.find('|');
    BlockString = entry.substr(0, bar);
    Identity = bar == std::string::npos ? std::string() : entry.substr(bar + 1, kLongestLabel);
    BuildStone(asNew);
    SelectedPolygon = -1;
    SelectedPoint = -1;
    TakeStoneExtents();
}

void TPartEditor::BuildStone(bool asNew) {
    FStone.reset();
    FWorkingCopy.reset();
    FSource = nullptr;
    try {
        FStone = FBuild(BlockString);
    } catch (const std::exception&) {
        // A part that cannot be read leaves the editor without a stone, quietly.
        FStone.reset();
    }
    if (!FStone)
        return;
    FStone->Color = StoneColor;
    if (FStone->Kind != 'G' || FStone->Part == nullptr)
        return;
    FWorkingCopy = std::make_unique<TDrawClass>(*FStone->Part);
    if (asNew)
        FWorkingCopy->PartName = "template";
    else
        FSource = FStone->Part;
    FStone->Part = FWorkingCopy.get();
    FileName = FWorkingCopy->FileName;
    PartName = FWorkingCopy->PartName;
}

void TPartEditor::TakeStoneExtents() {
    if (!FStone)
        return;
    DimensionEdits = {DimensionEdit(FStone->Length), DimensionEdit(FStone->Width), DimensionEdit(FStone->Height)};
    StoredDimensions = DimensionEdits;
}

std::string TPartEditor::GetEntry() const {
    return Identity.empty() ? BlockString : BlockString + "|" + Identity;
}

int TPartEditor::GetPictureHeight() const {
    if (!FStone)
        return 10;
    // The palette's own view of its stones, whatever the editor's view shows.
    TRenderState view;
    view.ViewScale = 0.5f;
    view.ViewOffsetX = 0;
    view.ViewOffsetY = 0;
    view.SetRotation(60, 0, 30);
    const TBlock& s = *FStone;
    const TPoint a = view.Project(s.X, s.Y + s.Width, s.Z, 0);
    const TPoint b = view.Project(s.X + s.Length, s.Y, s.Z + s.Height, 0);
    return std::abs(a.y - b.y) + 10;
}

bool TPartEditor::Confirm(const TNameAsker& askNames) {
    if (!FWorkingCopy)
        return true;
    FWorkingCopy->HighlightedPolygon = -1;
    if (FWorkingCopy->FileName == "template.dat" || FWorkingCopy->PartName == "template") {
        const std::optional<TNames> names = askNames(LastNameFile.empty() ? "userblks.dat" : LastNameFile);
        if (!names)
            return false;
        LastNameFile = names->File;
        const std::string part = names->Part.substr(0, names->Part.find('|'));
        FWorkingCopy->FileName = names->File;
        FWorkingCopy->PartName = part;
        // A new shape is written to its library when the program ends.
        FWorkingCopy->Modified = true;
        TDrawClass* const copy = FWorkingCopy.get();
        if (TPartRegistry::Instance().Register(FWorkingCopy)) {
            FStone->Part = copy; // now the registry's
        } else {
            // The name is taken: that definition stays as it is, the copy goes.
            FStone->Part = TPartRegistry::Instance().FindPart(names->File, part);
            FWorkingCopy.reset();
        }
        FileName = names->File;
        PartName = names->Part;
        BlockString = GeneralBlockString(names->File, names->Part);
    } else if (FSource != nullptr) {
        FSource->Assign(*FWorkingCopy);
        FStone->Part = FSource;
    }
    FWorkingCopy.reset();
    FSource = nullptr;
    return true;
}

// --- kind and dimensions ---

int TPartEditor::KindRow() const {
    if (!FStone)
        return 0;
    const std::string letters = kKindLetters;
    const size_t at = letters.find(FStone->Kind);
    if (at == std::string::npos)
        return 0; // doors show as blocks
    return at < kKindRows ? static_cast<int>(at) : -1;
}

std::string TPartEditor::SimpleBlockString(char letter) const {
    char text[64];
    std::snprintf(text, sizeof text, "%c %dx%dx%d", letter, DimensionEdits.X / 20, DimensionEdits.Y / 20,
                  DimensionEdits.Z * 3 / 20);
    return text;
}

void TPartEditor::ChangeKind(int row) {
    if (row < 0 || row >= kKindRows)
        return;
    if (row == kGeneralRow)
        BlockString = GeneralBlockString(FileName, PartName);
    else
        BlockString = SimpleBlockString(kKindLetters[row]);
    BuildStone(false);
    Identity.clear();
    if (row == kGeneralRow)
        TakeStoneExtents();
}

void TPartEditor::RebuildSimple() {
    // A wheel has no row: it stays a wheel.
    const int row = KindRow();
    BlockString = SimpleBlockString(row >= 0 ? kKindLetters[row] : FStone->Kind);
    BuildStone(false);
    Identity.clear();
}

void TPartEditor::SetExtents(const TExtents& extents) {
    StoredDimensions = extents;
    DimensionEdits = extents;
    FStone->Length = extents.X;
    FStone->Width = extents.Y;
    FStone->Height = extents.Z;
    FWorkingCopy->SetBoundingBox(extents.X, extents.Y, extents.Z);
}

void TPartEditor::ApplyDimensions() {
    if (!FStone)
        return;
    DimensionEdits = {DimensionEdit(DimensionEdits.X), DimensionEdit(DimensionEdits.Y),
                      DimensionEdit(DimensionEdits.Z)};
    if (!FWorkingCopy) {
        RebuildSimple();
        return;
    }
    ScalePart(*FWorkingCopy, StoredDimensions, DimensionEdits);
    SetExtents(DimensionEdits);
}

void TPartEditor::RevertDimensions() {
    DimensionEdits = StoredDimensions;
}

void TPartEditor::SpinDimensions() {
    if (!FStone)
        return;
    DimensionEdits = {DimensionEdit(DimensionEdits.X), DimensionEdit(DimensionEdits.Y),
                      DimensionEdit(DimensionEdits.Z)};
    if (!FWorkingCopy) {
        RebuildSimple();
        return;
    }
    StretchPart(*FWorkingCopy, StoredDimensions, DimensionEdits);
    SetExtents(DimensionEdits);
}

// --- polygons and points ---

bool TPartEditor::HasPolygon() const {
    return FWorkingCopy && SelectedPolygon >= 0 && SelectedPolygon < FWorkingCopy->PolygonCount();
}

void TPartEditor::AddPolygon(bool copy) {
    if (!FWorkingCopy)
        return;
    if (copy && HasPolygon())
        FWorkingCopy->DuplicatePolygon(SelectedPolygon);
    else
        FWorkingCopy->AddPolygon({{0, 0, 0}, {0, 20, 0}, {20, 20, 0}, {20, 0, 0}});
    SelectPolygon(FWorkingCopy->PolygonCount() - 1);
}

void TPartEditor::SelectPolygon(int polygon) {
    if (!FWorkingCopy || polygon < 0 || polygon >= FWorkingCopy->PolygonCount())
        return;
    SelectedPolygon = polygon;
    SelectedPoint = -1;
    FWorkingCopy->HighlightedPolygon = polygon;
    if (FWorkingCopy->GetPointCount(polygon) > 0) {
        ReferencePoint = FWorkingCopy->GetPoint(polygon, 0);
        PointEdits = ReferencePoint;
    }
}

void TPartEditor::SelectPoint(int point) {
    if (!HasPolygon() || point < 0 || point >= FWorkingCopy->GetPointCount(SelectedPolygon))
        return;
    SelectedPoint = point;
    PointEdits = FWorkingCopy->GetPoint(SelectedPolygon, point);
}

void TPartEditor::AddPoint(bool copy) {
    if (!HasPolygon())
        return;
    if (SelectedPoint >= 0 && copy) {
        FWorkingCopy->InsertPoint(SelectedPolygon, SelectedPoint, PointEdits);
        return;
    }
    if (SelectedPoint < 0)
        SelectedPoint = 0;
    FWorkingCopy->InsertPoint(SelectedPolygon, SelectedPoint, {0, 0, 0});
}

void TPartEditor::MovePointEdits(const TPoint3D& edits) {
    PointEdits = edits;
    if (!HasPolygon())
        return;
    if (SelectedPoint >= 0) {
        FWorkingCopy->SetPoint(SelectedPolygon, SelectedPoint, edits);
        return;
    }
    const int count = FWorkingCopy->GetPointCount(SelectedPolygon);
    const int64_t dx = static_cast<int64_t>(edits.X) - ReferencePoint.X;
    const int64_t dy = static_cast<int64_t>(edits.Y) - ReferencePoint.Y;
    const int64_t dz = static_cast<int64_t>(edits.Z) - ReferencePoint.Z;
    for (int i = 0; i < count; ++i) {
        const TPoint3D p = FWorkingCopy->GetPoint(SelectedPolygon, i);
        auto moved = [](int32_t v, int64_t by) {
            return static_cast<int32_t>(std::clamp<int64_t>(v + by, INT32_MIN, INT32_MAX));
        };
        FWorkingCopy->SetPoint(SelectedPolygon, i, {moved(p.X, dx), moved(p.Y, dy), moved(p.Z, dz)});
    }
    if (count > 0)
        ReferencePoint = FWorkingCopy->GetPoint(SelectedPolygon, 0);
}

void TPartEditor::DeletePolygon(int polygon) {
    if (!FWorkingCopy)
        return;
    FWorkingCopy->DeletePolygon(polygon);
    if (polygon == SelectedPolygon) {
        SelectedPolygon = -1;
        SelectedPoint = -1;
    } else if (polygon < SelectedPolygon) {
        --SelectedPolygon; // the same polygon, numbered one lower now
    }
    FWorkingCopy->HighlightedPolygon = SelectedPolygon;
}

void TPartEditor::DeletePoint() {
    if (!HasPolygon() || SelectedPoint < 0)
        return;
    FWorkingCopy->DeletePoint(SelectedPolygon, SelectedPoint);
    SelectedPoint = -1;
}

void TPartEditor::ToggleTransparent() {
    if (HasPolygon())
        FWorkingCopy->SetColor(SelectedPolygon, ToggledTransparency(FWorkingCopy->GetColor(SelectedPolygon)));
}

void TPartEditor::ToggleBorder() {
    if (HasPolygon())
        FWorkingCopy->SetEdgeFlags(SelectedPolygon, ToggledBorder(FWorkingCopy->GetEdgeFlags(SelectedPolygon)));
}

void TPartEditor::ToggleEdge(int row) {
    if (HasPolygon())
        FWorkingCopy->SetEdgeFlags(SelectedPolygon, ToggledEdge(FWorkingCopy->GetEdgeFlags(SelectedPolygon), row));
}

void TPartEditor::SetColor(int32_t color) {
    if (HasPolygon())
        FWorkingCopy->SetColor(SelectedPolygon, color); // black is 0: the stone's own colour
}

void TPartEditor::SetDetail(int32_t detail) {
    if (HasPolygon())
        FWorkingCopy->SetDetail(SelectedPolygon, detail);
}

// --- shape operations ---

void TPartEditor::Extrude() {
    if (FStone && HasPolygon())
        ExtrudePolygon(*FWorkingCopy, SelectedPolygon, ExtrudeDistance);
}

void TPartEditor::Mirror(int tag) {
    if (FWorkingCopy)
        MirrorPart(*FWorkingCopy, tag, SelectedPolygon);
}

void TPartEditor::Rotate(int tag) {
    if (!FWorkingCopy)
        return;
    TExtents extents{FStone->Length, FStone->Width, FStone->Height};
    if (RotatePart(*FWorkingCopy, tag, SelectedPolygon, extents) && tag >= 3)
        SetExtents(extents);
}

void TPartEditor::Sort(int firstOctant, int lastOctant) {
    if (FWorkingCopy)
        SortDrawOrders(*FWorkingCopy, firstOctant, lastOctant);
}
