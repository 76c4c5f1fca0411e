#include "editor/part_editor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "editor/shape_sort.h"
#include "partlib/part_file.h"
#include "partlib/part_registry.h"
#include "view/render_state.h"

namespace {

constexpr size_t kLongestLabel = 255;
// The run of changes a label typed letter by letter makes.
constexpr int kIdentityRun = 1;

int32_t DimensionEdit(int32_t units) {
    return std::clamp(units, TPartEditor::kSmallestDimension, TPartEditor::kLargestDimension);
}

std::string GeneralBlockString(const std::string& file, const std::string& part) {
    return "G " + file + ", " + part;
}

} // namespace

TPartEditor::TPartEditor(TStoneBuilder builder) : FBuild(std::move(builder)) {}

TPartEditor::~TPartEditor() = default;

// --- undo and redo ---

template <class TChange> void TPartEditor::Changing(TChange&& change, int run) {
    if (FChanging > 0) {
        change();
        return;
    }
    TPartEditState before = Capture();
    ++FChanging;
    try {
        change();
    } catch (...) {
        --FChanging;
        Restore(std::move(before)); // a failed step leaves the part as it was
        throw;
    }
    --FChanging;
    if (!before.SamePart(Capture()))
        FHistory.Record(std::move(before), run);
}

TPartEditState TPartEditor::Capture() const {
    TPartEditState state;
    state.BlockString = BlockString;
    state.Identity = Identity;
    state.FileName = FileName;
    state.PartName = PartName;
    if (FStone)
        state.Stone = CreateCopy(*FStone);
    if (FWorkingCopy)
        state.WorkingCopy = std::make_unique<TDrawClass>(*FWorkingCopy);
    state.Source = FSource;
    state.SelectedPolygon = SelectedPolygon;
    state.SelectedPoint = SelectedPoint;
    state.ReferencePoint = ReferencePoint;
    state.PointEdits = PointEdits;
    state.DimensionEdits = DimensionEdits;
    state.StoredDimensions = StoredDimensions;
    return state;
}

void TPartEditor::Restore(TPartEditState state) {
    // Seeing the stone through is a way of looking at it, not a change of it.
    const bool seeThrough = FStone && FStone->Transparent;
    BlockString = std::move(state.BlockString);
    Identity = std::move(state.Identity);
    FileName = std::move(state.FileName);
    PartName = std::move(state.PartName);
    FStone = std::move(state.Stone);
    FWorkingCopy = std::move(state.WorkingCopy);
    FSource = state.Source;
    if (FStone) {
        FStone->Transparent = seeThrough;
        if (FWorkingCopy)
            FStone->Part = FWorkingCopy.get();
    }
    SelectedPolygon = state.SelectedPolygon;
    SelectedPoint = state.SelectedPoint;
    if (FWorkingCopy)
        FWorkingCopy->HighlightedPolygon = HasPolygon() ? SelectedPolygon : -1;
    ReferencePoint = state.ReferencePoint;
    PointEdits = state.PointEdits;
    DimensionEdits = state.DimensionEdits;
    StoredDimensions = state.StoredDimensions;
}

void TPartEditor::ShowStoneDimensions() {
    FDimensionsPending = false;
    DimensionEdits = StoredDimensions;
    if (FStone)
        DimensionEdits = {DimensionEdit(FStone->Length), DimensionEdit(FStone->Width),
                          DimensionEdit(FStone->Height)};
}

void TPartEditor::Undo() {
    if (!FHistory.CanUndo())
        return;
    Restore(FHistory.Undo(Capture()));
    ShowStoneDimensions();
}

void TPartEditor::Redo() {
    if (!FHistory.CanRedo())
        return;
    Restore(FHistory.Redo(Capture()));
    ShowStoneDimensions();
}

void TPartEditor::SetIdentity(const std::string& text) {
    Changing([&] { Identity = text.substr(0, kLongestLabel); }, kIdentityRun);
}

// --- opening and results ---

void TPartEditor::LoadEntry(const std::string& entry, bool asNew) {
    FHistory.Clear();
    FDimensionsPending = false;
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
    if (!FWorkingCopy) {
        FHistory.Clear();
        return true;
    }
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
            // The name is taken: that definition takes the new shape when the
            // user chose to replace it (every stone of it shows the new
            // shape), else it stays as it is; the copy goes.
            TDrawClass* taken = TPartRegistry::Instance().FindPart(names->File, part);
            if (names->Replace)
                taken->Assign(*FWorkingCopy);
            FStone->Part = taken;
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
    // What was confirmed is the palette's now; the next changes start afresh.
    FHistory.Clear();
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
    Changing([&] {
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
    });
}

void TPartEditor::RebuildSimple() {
    // A wheel has no row: it stays a wheel.
    const int row = KindRow();
    BlockString = SimpleBlockString(row >= 0 ? kKindLetters[row] : FStone->Kind);
    BuildStone(false);
    Identity.clear();
}

void TPartEditor::SetExtents(const TPartExtents& extents) {
    StoredDimensions = extents;
    DimensionEdits = extents;
    FStone->Length = extents.X;
    FStone->Width = extents.Y;
    FStone->Height = extents.Z;
    FWorkingCopy->SetBoundingBox(extents.X, extents.Y, extents.Z);
}

void TPartEditor::ResizeTo(void (*reshape)(TDrawClass&, const TPartExtents&, const TPartExtents&)) {
    if (!FStone)
        return;
    DimensionEdits = {DimensionEdit(DimensionEdits.X), DimensionEdit(DimensionEdits.Y),
                      DimensionEdit(DimensionEdits.Z)};
    if (!FWorkingCopy) {
        RebuildSimple();
        StoredDimensions = DimensionEdits;
        return;
    }
    reshape(*FWorkingCopy, StoredDimensions, DimensionEdits);
    SetExtents(DimensionEdits);
}

void TPartEditor::ApplyDimensions() {
    Changing([&] {
        FDimensionsPending = false;
        ResizeTo(&ScalePart);
    });
}

void TPartEditor::RevertDimensions() {
    FDimensionsPending = false;
    DimensionEdits = StoredDimensions;
}

void TPartEditor::SpinDimensions() {
    Changing([&] {
        if (FDimensionsPending)
            RevertDimensions();
        else
            ResizeTo(&StretchPart);
    });
}

// --- polygons and points ---

bool TPartEditor::HasPolygon() const {
    return FWorkingCopy && SelectedPolygon >= 0 && SelectedPolygon < FWorkingCopy->PolygonCount();
}

void TPartEditor::AddPolygon(bool copy) {
    Changing([&] {
        if (!FWorkingCopy)
            return;
        if (copy && HasPolygon())
            FWorkingCopy->DuplicatePolygon(SelectedPolygon);
        else
            FWorkingCopy->AddPolygon({{0, 0, 0}, {0, 20, 0}, {20, 20, 0}, {20, 0, 0}});
        SelectPolygon(FWorkingCopy->PolygonCount() - 1);
    });
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
    Changing([&] {
        if (!HasPolygon())
            return;
        if (SelectedPoint >= 0 && copy) {
            FWorkingCopy->InsertPoint(SelectedPolygon, SelectedPoint, PointEdits);
            return;
        }
        if (SelectedPoint < 0)
            SelectedPoint = 0;
        FWorkingCopy->InsertPoint(SelectedPolygon, SelectedPoint, {0, 0, 0});
    });
}

void TPartEditor::MovePointEdits(const TPoint3D& edits) {
    Changing([&] {
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
    });
}

void TPartEditor::DeletePolygon(int polygon) {
    Changing([&] {
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
    });
}

void TPartEditor::DeletePoint() {
    Changing([&] {
        if (!HasPolygon() || SelectedPoint < 0)
            return;
        FWorkingCopy->DeletePoint(SelectedPolygon, SelectedPoint);
        SelectedPoint = -1;
    });
}

void TPartEditor::ToggleTransparent() {
    Changing([&] {
        if (HasPolygon())
            FWorkingCopy->SetColor(SelectedPolygon,
                                   ToggledTransparency(FWorkingCopy->GetColor(SelectedPolygon)));
    });
}

void TPartEditor::ToggleBorder() {
    Changing([&] {
        if (HasPolygon())
            FWorkingCopy->SetEdgeFlags(SelectedPolygon,
                                       ToggledBorder(FWorkingCopy->GetEdgeFlags(SelectedPolygon)));
    });
}

void TPartEditor::ToggleEdge(int row) {
    Changing([&] {
        if (HasPolygon())
            FWorkingCopy->SetEdgeFlags(SelectedPolygon,
                                       ToggledEdge(FWorkingCopy->GetEdgeFlags(SelectedPolygon), row));
    });
}

void TPartEditor::SetColor(int32_t color) {
    Changing([&] {
        if (HasPolygon())
            FWorkingCopy->SetColor(SelectedPolygon, color); // black is 0: the stone's own colour
    });
}

void TPartEditor::SetDetail(int32_t detail) {
    Changing([&] {
        if (HasPolygon())
            FWorkingCopy->SetDetail(SelectedPolygon, detail);
    });
}

void TPartEditor::ToggleStoneTransparent() {
    if (FStone)
        FStone->Transparent = !FStone->Transparent;
}

// --- shape operations ---

void TPartEditor::Extrude() {
    Changing([&] {
        if (FStone && HasPolygon())
            ExtrudePolygon(*FWorkingCopy, SelectedPolygon, ExtrudeDistance);
    });
}

void TPartEditor::Mirror(int tag) {
    Changing([&] {
        if (FWorkingCopy)
            MirrorPart(*FWorkingCopy, tag, SelectedPolygon);
    });
}

void TPartEditor::Rotate(int tag) {
    Changing([&] {
        if (!FWorkingCopy)
            return;
        TPartExtents extents{FStone->Length, FStone->Width, FStone->Height};
        if (RotatePart(*FWorkingCopy, tag, SelectedPolygon, extents) && tag >= 3)
            SetExtents(extents);
    });
}

void TPartEditor::Sort(int firstOctant, int lastOctant) {
    Changing([&] {
        if (FWorkingCopy)
            SortDrawOrders(*FWorkingCopy, firstOctant, lastOctant);
    });
}

// --- draw orders ---

namespace {

std::vector<int32_t> OrderOf(const TDrawClass& definition, int octant) {
    std::vector<int32_t> order;
    for (int k = 0; k < definition.GetDrawCount(octant); ++k)
        order.push_back(definition.GetDrawOrder(octant, k));
    return order;
}

void WriteOrder(TDrawClass& definition, int octant, const std::vector<int32_t>& order) {
    definition.SetDrawCount(octant, static_cast<int>(order.size()));
    for (size_t k = 0; k < order.size(); ++k)
        definition.SetDrawOrder(octant, static_cast<int>(k), order[k]);
}

bool ValidOctant(int octant) {
    return octant >= 0 && octant < kOctantCount;
}

} // namespace

bool TPartEditor::InsertDrawEntry(int octant, int row, int polygon) {
    if (!FWorkingCopy || !ValidOctant(octant) || row < 0)
        return false;
    std::vector<int32_t> order = OrderOf(*FWorkingCopy, octant);
    if (std::find(order.begin(), order.end(), polygon) != order.end())
        return false;
    order.insert(order.begin() + std::min<std::ptrdiff_t>(row, static_cast<std::ptrdiff_t>(order.size())), polygon);
    Changing([&] { WriteOrder(*FWorkingCopy, octant, order); });
    return true;
}

void TPartEditor::MoveDrawEntry(int octant, int from, int to) {
    Changing([&] {
        if (!FWorkingCopy || !ValidOctant(octant))
            return;
        std::vector<int32_t> order = OrderOf(*FWorkingCopy, octant);
        const int count = static_cast<int>(order.size());
        if (from < 0 || from >= count || to < 0 || to >= count)
            return;
        const int32_t entry = order[static_cast<size_t>(from)];
        order.erase(order.begin() + from);
        order.insert(order.begin() + to, entry);
        WriteOrder(*FWorkingCopy, octant, order);
    });
}

void TPartEditor::RemoveDrawEntry(int octant, int row) {
    Changing([&] {
        if (!FWorkingCopy || !ValidOctant(octant))
            return;
        std::vector<int32_t> order = OrderOf(*FWorkingCopy, octant);
        if (row < 0 || row >= static_cast<int>(order.size()))
            return;
        order.erase(order.begin() + row);
        WriteOrder(*FWorkingCopy, octant, order);
    });
}

int TPartEditor::PolygonAtRow(int row) const {
    return FWorkingCopy && row >= 0 && row < FWorkingCopy->PolygonCount() ? row : -1;
}

int TPartEditor::DrawEntryPolygon(int octant, int row) const {
    if (!FWorkingCopy || !ValidOctant(octant) || row < 0 || row >= FWorkingCopy->GetDrawCount(octant))
        return -1;
    return FWorkingCopy->GetDrawOrder(octant, row);
}

// --- lists ---

std::string TPartEditor::PolygonRowText(int polygon) const {
    const int number = polygon + 1;
    return std::to_string((FWorkingCopy->GetEdgeFlags(polygon) & 1) != 0 ? number : -number);
}

std::string TPartEditor::PointRowText(const TPoint3D& point) {
    char text[48];
    std::snprintf(text, sizeof text, "%4d%4d%4d", point.X, point.Y, point.Z);
    return text;
}

bool TPartEditor::PointRowOutlined(int row) const {
    if (!FStone || !HasPolygon() || row < 0)
        return false;
    const uint32_t flags = static_cast<uint32_t>(FWorkingCopy->GetEdgeFlags(SelectedPolygon));
    return (flags & 1) != 0 || row + 1 >= 32 || (flags & (1u << (row + 1))) == 0;
}

void TPartEditor::PointKey(char key) {
    auto step = [](int32_t& edit, int by) { edit = std::clamp(edit + by, -9999, 9999); };
    TPoint3D edits = PointEdits;
    switch (key) {
    case 'A': case 'a': step(edits.X, 1); break;
    case 'Z': case 'z': step(edits.X, -1); break;
    case 'S': case 's': step(edits.Y, 1); break;
    case 'X': case 'x': step(edits.Y, -1); break;
    case 'D': case 'd': step(edits.Z, 1); break;
    case 'C': case 'c': step(edits.Z, -1); break;
    default: break;
    }
    MovePointEdits(edits);
}

bool TPartEditor::PartNameTaken(const TNames& names) {
    const std::string part = names.Part.substr(0, names.Part.find('|'));
    return TPartRegistry::Instance().HoldsPartName(part) || PartNameInLibrary(part);
}

std::string TPartEditor::NamesProblem(const TNames& names) {
    if (names.File.empty() || names.Part.empty())
        return "Filename and Partname must be entered";
    const std::string part = names.Part.substr(0, names.Part.find('|'));
    if (part.empty())
        return "Filename and Partname must be entered";
    if (names.File.find_first_of("/\\") != std::string::npos || names.File == "." || names.File == "..")
        return "The file name must name a file in the parts folder, without a folder of its own.";
    auto blank = [](const std::string& text) {
        return std::any_of(text.begin(), text.end(), [](unsigned char c) { return c <= ' '; });
    };
    if (blank(names.File) || blank(part))
        return "File and part names cannot hold spaces: a model could not name the part.";
    if (names.File.find(',') != std::string::npos)
        return "The file name cannot hold a comma: a model could not name the part.";
    return {};
}
