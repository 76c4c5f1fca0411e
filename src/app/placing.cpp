// The stone in hand of the application core: showing it over the scene,
// following the mouse, turning it, and placing it into the model.

#include "app/stonemill_app.h"

#include <algorithm>

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

} // namespace

TBitmap& TStonemillApp::ShownPicture() {
    return Hand.Holding() && FShownValid ? FShown : FPicture;
}

TRect TStonemillApp::ComposeHand(bool sceneChanged) {
    const TRect whole = Rect(0, 0, FPicture.Width(), FPicture.Height());
    TRect changed;
    if (sceneChanged || !FShownValid || FShown.Width() != whole.Right || FShown.Height() != whole.Bottom ||
        FShown.PixelFormat() != FPicture.PixelFormat()) {
        FShown.SetPixelFormat(FPicture.PixelFormat());
        FShown.SetSize(whole.Right, whole.Bottom);
        changed = whole;
    } else {
        changed = Intersection(FHandRect, whole);
    }
    if (changed.Width() > 0)
        FShown.Canvas().CopyRect(changed, FPicture.Canvas(), changed);
    FShownValid = true;
    FHandRect = {};
    if (!Hand.Holding())
        return changed;
    // The stone in hand shows its own colour, also when it is marked.
    const bool marking = View.MarkMatching;
    View.MarkMatching = false;
    {
        TDrawObject d(FShown);
        Hand.Draw(d, View);
        d.Canvas().Refresh();
    }
    View.MarkMatching = marking;
    FHandRect = Hand.DrawnRect(View);
    return Union(changed, Intersection(FHandRect, whole));
}

void TStonemillApp::DrawHand() {
    if (FPicture.Width() <= 0 || View.SuppressRedraw)
        return;
    const TRect changed = ComposeHand(false);
    if (OnHandChanged && changed.Width() > 0)
        OnHandChanged(changed);
}

void TStonemillApp::PointerMode() {
    const bool holding = Hand.Holding();
    Hand.Drop();
    FShownValid = false;
    // The scene picture itself never held the hand: showing it is enough,
    // unless matching stones were marked for the hand.
    if (MarkMatching && holding)
        RedrawPicture();
    else if (holding && OnPictureChanged)
        OnPictureChanged();
}

void TStonemillApp::MovePointerTo(int32_t x, int32_t y, int32_t z) {
    if (OnMovePointer)
        OnMovePointer(View.Project(x, y, z, 0));
}

void TStonemillApp::HandFollows(int x, int y) {
    if (Hand.PositionAt(View, Model, x, y))
        DrawHand();
}

void TStonemillApp::PlaceHand() {
    TBlock* inHand = Hand.Stone();
    if (inHand == nullptr || !InCut(*inHand) || !InRange(*inHand))
        return;
    Hand.LastX = inHand->X;
    Hand.LastY = inHand->Y;
    Hand.LastZ = inHand->Z;
    if (Hand.HoldsSubassembly()) {
        TBlockList& pending = Hand.Pending();
        Model.Merge(pending, inHand->X, inHand->Y, inHand->Z);
        int32_t lowestGroup = 0;
        for (TBlock* stone : pending.Stones()) {
            Model.RecordUndo('+', *stone);
            Supply.Take(stone->Caption);
            if (stone->Group > 0 && (lowestGroup == 0 || stone->Group < lowestGroup))
                lowestGroup = stone->Group;
        }
        // The next placement of the same stones forms new groups.
        if (lowestGroup > 0) {
            ++HighestGroup;
            for (TBlock* stone : pending.Stones())
                stone->Group += HighestGroup - lowestGroup;
        }
    } else {
        Supply.Take(inHand->Caption);
        Model.RecordUndo('+', *inHand);
        std::unique_ptr<TBlock> placed = Hand.Release();
        Model.InsertSorted(placed.get());
        TBlock* stone = placed.release();
        if (Hand.Mode == THandMode::hmRepeat)
            Hand.Keep(std::unique_ptr<TBlock>(CreateCopy(*stone)));
    }
    Dirty = true;
    if (Hand.Mode == THandMode::hmMove)
        Hand.Drop();
    SortModelForView(false);
    RedrawPicture();
}

void TStonemillApp::TurnHand() {
    if (!Hand.Holding())
        return;
    Hand.Turn();
    Dirty = true;
    DrawHand();
}

void TStonemillApp::TiltHand() {
    if (!Hand.Holding() || Hand.HoldsSubassembly() || Hand.Stone()->Kind != 'B')
        return;
    Hand.Tilt();
    Dirty = true;
    DrawHand();
}

void TStonemillApp::MirrorHand() {
    if (!Hand.HoldsSubassembly())
        return;
    Hand.Mirror();
    DrawHand();
}

void TStonemillApp::InsertSubassembly(const fs::path& path, bool keepFolder) {
    // The caption and the dialogs' file names stay those of the model being
    // built, so that saving it never proposes the inserted file.
    const std::string openFile = FOpenFileName;
    const fs::path folder = SubassemblyFolder;
    struct TRestore {
        TStonemillApp& App;
        const std::string& OpenFile;
        const fs::path* Folder;
        ~TRestore() {
            App.SetCaptionAndFileNames(OpenFile);
            if (Folder != nullptr)
                App.SubassemblyFolder = *Folder;
        }
    } restore{*this, openFile, keepFolder ? &folder : nullptr};
    LoadModel(path, TLoadMode::lmSubassembly);
    if (!Hand.Holding())
        throw EError("The model " + path.string() + " holds no stone that can be inserted");
    DrawHand();
}
