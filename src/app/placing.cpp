#include "app/placing.h"

#include <algorithm>
#include <optional>

#include "app/hand.h"
#include "app/model_document.h"
#include "app/model_files.h"
#include "app/scene_view.h"
#include "app/stone_supply.h"
#include "common/error.h"
#include "model/cut_state.h"
#include "raster/draw_object.h"

namespace fs = std::filesystem;

namespace {

TRect Intersection(const TRect& a, const TRect& b) {
    TRect r{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
            std::min(a.Bottom, b.Bottom)};
    return r.Width() > 0 && r.Height() > 0 ? r : TRect{};
}

TRect Union(const TRect& a, const TRect& b) {
    if (a.Width() <= 0 || a.Height() <= 0)
        return b;
    if (b.Width() <= 0 || b.Height() <= 0)
        return a;
    return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
            std::max(a.Bottom, b.Bottom)};
}

// A stone moved by keys far beyond the model's space is not placed, as one
// outside the cut is not: the model never holds what it cannot draw.
bool InRange(const TBlock& stone) {
    try {
        CheckStoneInRange(stone);
        return true;
    } catch (const EError&) {
        return false;
    }
}

void MoveInHand(TBlock& stone, TEditKey key, int32_t step, bool byGrid) {
    switch (key) {
    case TEditKey::ekPageUp:
        stone.Z += byGrid ? step : stone.Height;
        break;
    case TEditKey::ekPageDown:
        if (stone.Z > 0)
            stone.Z -= byGrid ? step : stone.Height;
        break;
    case TEditKey::ekLeft:
        stone.X -= byGrid ? step : stone.Length;
        break;
    case TEditKey::ekRight:
        stone.X += byGrid ? step : stone.Length;
        break;
    case TEditKey::ekUp:
        stone.Y -= byGrid ? step : stone.Width;
        break;
    case TEditKey::ekDown:
        stone.Y += byGrid ? step : stone.Width;
        break;
    default:
        break;
    }
}

} // namespace

TPlacing::TPlacing(THand& hand, TModelDocument& document, TModelFiles& files, TSceneView& scene,
                   TStoneSupply& supply)
    : FHand(hand), FDocument(document), FFiles(files), FScene(scene), FSupply(supply) {}

TBitmap& TPlacing::ShownPicture() {
    return FHand.Holding() && FShownValid ? FShown : FScene.Picture();
}

void TPlacing::SceneDrawn() {
    FShownValid = false;
    if (FHand.Holding())
        ComposeHand(true);
}

TRect TPlacing::ComposeHand(bool sceneChanged) {
    TBitmap& picture = FScene.Picture();
    const TRect whole = Rect(0, 0, picture.Width(), picture.Height());
    TRect changed;
    if (sceneChanged || !FShownValid || FShown.Width() != whole.Right || FShown.Height() != whole.Bottom ||
        FShown.PixelFormat() != picture.PixelFormat()) {
        FShown.SetPixelFormat(picture.PixelFormat());
        FShown.SetSize(whole.Right, whole.Bottom);
        changed = whole;
    } else {
        changed = Intersection(FHandRect, whole);
    }
    if (changed.Width() > 0)
        FShown.Canvas().CopyRect(changed, picture.Canvas(), changed);
    FShownValid = true;
    FHandRect = {};
    if (!FHand.Holding())
        return changed;
    // The stone in hand shows its own colour, also when it is marked.
    TRenderState& view = FScene.View();
    const bool marking = view.MarkMatching;
    view.MarkMatching = false;
    {
        TDrawObject d(FShown);
        FHand.Draw(d, view);
        d.Canvas().Refresh();
    }
    view.MarkMatching = marking;
    FHandRect = FHand.DrawnRect(view);
    return Union(changed, Intersection(FHandRect, whole));
}

void TPlacing::DrawHand() {
    if (FScene.Picture().Width() <= 0 || FScene.View().SuppressRedraw)
        return;
    const TRect changed = ComposeHand(false);
    if (OnHandChanged && changed.Width() > 0)
        OnHandChanged(changed);
}

void TPlacing::Take(std::unique_ptr<TBlock> stone) {
    // Taking another stone puts stones being moved back rather than losing them.
    CancelMove();
    FHand.Make(std::move(stone));
    const TBlock& held = *FHand.Stone();
    MovePointerTo(held.X, held.Y, held.Z);
    TellHandMoved();
    // Stones matching the new one are marked in the scene.
    if (FScene.MarkMatching())
        FScene.RedrawPicture();
    else
        DrawHand();
}

void TPlacing::PointerMode() {
    const bool holding = FHand.Holding();
    FHand.Drop();
    TellHandMoved();
    // Stones being moved that are dropped stay removed, as one undo step.
    EndMove();
    FShownValid = false;
    // The scene picture itself never held the hand: showing it is enough,
    // unless matching stones were marked for the hand.
    if (FScene.MarkMatching() && holding)
        FScene.RedrawPicture();
    else if (holding)
        FScene.ShowPicture();
}

void TPlacing::MovePointerTo(int32_t x, int32_t y, int32_t z) {
    if (OnMovePointer)
        OnMovePointer(FScene.View().Project(x, y, z, 0));
}

void TPlacing::TellHandMoved() {
    if (OnHandMoved)
        OnHandMoved(FHand.Stone());
}

void TPlacing::HandFollows(int x, int y) {
    if (FHand.PositionAt(FScene.View(), FDocument.Model(), x, y))
        DrawHand();
    TellHandMoved();
}

void TPlacing::PlaceAt(int x, int y) {
    FHand.PositionAt(FScene.View(), FDocument.Model(), x, y);
    TellHandMoved();
    PlaceHand();
}

void TPlacing::PlaceHand() {
    TBlock* inHand = FHand.Stone();
    if (inHand == nullptr || !InCut(*inHand) || !InRange(*inHand))
        return;
    FHand.LastX = inHand->X;
    FHand.LastY = inHand->Y;
    FHand.LastZ = inHand->Z;
    TOwnedBlockList& model = FDocument.Model();
    TUndoAction action(model);
    if (FHand.HoldsSubassembly()) {
        TOwnedBlockList& pending = FHand.Pending();
        model.Merge(pending, inHand->X, inHand->Y, inHand->Z);
        int32_t lowestGroup = 0;
        for (TBlock* stone : pending.Stones()) {
            model.RecordUndo('+', *stone);
            FSupply.Take(stone->Caption);
            if (stone->Group > 0 && (lowestGroup == 0 || stone->Group < lowestGroup))
                lowestGroup = stone->Group;
        }
        // The next placement of the same stones forms new groups.
        if (lowestGroup > 0) {
            const int32_t group = FDocument.NewGroup();
            for (TBlock* stone : pending.Stones())
                stone->Group += group - lowestGroup;
        }
    } else {
        FSupply.Take(inHand->Caption);
        model.RecordUndo('+', *inHand);
        const TBlock& stone = *model.InsertSorted(FHand.Release());
        if (FHand.Mode == THandMode::hmRepeat)
            FHand.Keep(CreateCopy(stone));
    }
    FDocument.SetDirty(true);
    if (FHand.Mode == THandMode::hmMove) {
        FHand.Drop();
        EndMove();
    }
    FScene.SortModelForView(false);
    FScene.RedrawPicture();
}

void TPlacing::TurnHand() {
    if (!FHand.Holding())
        return;
    FHand.Turn();
    FDocument.SetDirty(true);
    DrawHand();
}

void TPlacing::TiltHand() {
    if (!FHand.Holding() || FHand.HoldsSubassembly() || FHand.Stone()->Kind != 'B')
        return;
    FHand.Tilt();
    FDocument.SetDirty(true);
    DrawHand();
}

void TPlacing::MirrorHand() {
    if (!FHand.HoldsSubassembly())
        return;
    FHand.Mirror();
    DrawHand();
}

void TPlacing::HandKey(TEditKey key, bool byGrid) {
    using enum TEditKey;
    switch (key) {
    case ekEscape:
        if (CancelMove())
            return;
        PointerMode();
        return;
    case ekBackspace:
    case ekDelete:
        PointerMode();
        return;
    case ekEnter:
        PlaceHand();
        break;
    case ekInsert:
        FHand.Turn();
        FDocument.SetDirty(true);
        break;
    default:
        MoveInHand(*FHand.Stone(), key, FHand.GridStep(), byGrid);
        break;
    }
    if (FHand.Holding()) {
        FHand.Settle(FDocument.Model());
        DrawHand();
    }
    TellHandMoved();
}

void TPlacing::ShowHandAtGround() {
    if (!FHand.Holding())
        return;
    MovePointerTo(FHand.Stone()->X, FHand.Stone()->Y, 0);
    DrawHand();
}

void TPlacing::SetSafePositioning(bool on) {
    FHand.SafePositioning = on;
}

void TPlacing::SetGrid(TGridResolution grid) {
    FHand.Grid = grid;
}

void TPlacing::InsertSubassembly(const fs::path& path, bool keepFolder) {
    // The caption and the dialogs' file names stay those of the model being
    // built, so that saving it never proposes the inserted file.
    struct TRestore {
        TModelDocument& Document;
        const std::string OpenFile;
        const std::optional<fs::path> Folder;
        ~TRestore() {
            Document.SetCaptionAndFileNames(OpenFile);
            if (Folder)
                Document.DialogFolders().Subassembly = *Folder;
        }
    } restore{FDocument, FDocument.OpenFileName(),
              keepFolder ? std::optional<fs::path>(FDocument.DialogFolders().Subassembly) : std::nullopt};
    CancelMove();
    FFiles.LoadModel(path, TLoadMode::lmSubassembly);
    if (!FHand.Holding())
        throw EError("The model " + path.string() + " holds no stone that can be inserted");
    TellHandMoved();
    DrawHand();
}

void TPlacing::Lift(int index, bool copy) {
    TOwnedBlockList& model = FDocument.Model();
    const TBlock& stone = *model[index];
    if (stone.Selected || copy)
        LiftStones([](const TBlock& s) { return s.Selected; }, copy, true);
    else if (stone.BasePlate)
        return;
    else if (stone.Group < 1)
        LiftStone(index);
    else
        LiftStones([group = stone.Group](const TBlock& s) { return s.Group == group; }, false, false);
}

void TPlacing::LiftStones(const std::function<bool(const TBlock&)>& take, bool copy, bool clearSelection) {
    TOwnedBlockList& model = FDocument.Model();
    TOwnedBlockList& pending = FHand.Pending();
    TSubassemblyBox box;
    int32_t copyGroup = 0;
    if (copy)
        copyGroup = FDocument.NewGroup();
    for (int i = 0; i < model.Count();) {
        TBlock* stone = model[i];
        if (!take(*stone)) {
            ++i;
            continue;
        }
        if (clearSelection)
            stone->Selected = false;
        box.Widen(*stone);
        if (copy) {
            std::unique_ptr<TBlock> twin = CreateCopy(*stone);
            twin->Group = copyGroup;
            pending.Add(std::move(twin));
            ++i;
        } else {
            if (pending.Count() == 0)
                BeginMove();
            pending.Add(model.Release(i));
            FSupply.GiveBack(stone->Caption);
            model.RecordUndo('-', *stone);
        }
    }
    pending.SortedOctant = -1;
    if (pending.Count() == 0)
        return;
    FHand.MakeProxy(box);
    FHand.Mode = copy ? THandMode::hmRepeat : THandMode::hmMove;
    if (!copy)
        FDocument.SetDirty(true);
    MovePointerTo(FHand.Stone()->X, FHand.Stone()->Y, FHand.Stone()->Z);
    TellHandMoved();
    FScene.RedrawPicture();
}

void TPlacing::LiftStone(int index) {
    TOwnedBlockList& model = FDocument.Model();
    TBlock* stone = model[index];
    BeginMove();
    FSupply.GiveBack(stone->Caption);
    model.RecordUndo('-', *stone);
    FHand.Make(model.Release(index));
    FHand.Mode = THandMode::hmMove;
    FDocument.SetDirty(true);
    MovePointerTo(stone->X, stone->Y, stone->Z);
    TellHandMoved();
    FScene.RedrawPicture();
}

void TPlacing::BeginMove() {
    EndMove();
    FDirtyBeforeMove = FDocument.Dirty();
    FMoveStep = FDocument.Model().OpenUndoStep();
}

void TPlacing::EndMove() {
    FDocument.Model().CloseUndoStep(FMoveStep);
    FMoveStep = 0;
}

bool TPlacing::CancelMove() {
    const uint64_t step = FMoveStep;
    FMoveStep = 0;
    if (step == 0 || !FHand.Holding() || FHand.Mode != THandMode::hmMove)
        return false;
    if (FHand.HoldsSubassembly())
        for (const TBlock* stone : FHand.Pending().Stones())
            FSupply.Take(stone->Caption);
    else
        FSupply.Take(FHand.Stone()->Caption);
    FHand.Drop();
    TellHandMoved();
    FShownValid = false;
    FDocument.Model().CancelUndoStep(step);
    FDocument.SetDirty(FDirtyBeforeMove);
    FScene.RedrawPicture();
    return true;
}
