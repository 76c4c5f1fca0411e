// The mouse in the view and the edits of the model it makes: placing-mode
// turns, the pointer-mode clicks that recolour, turn, tag and select stones,
// lifting and copying stones into the hand, groups, deleting, undo and redo.

#include "app/stonemill_app.h"

#include <algorithm>

#include "model/cut_state.h"

bool TStonemillApp::ViewMouseDown(const TMouseClick& click) {
    if (Hand.Holding()) {
        if (click.Button == mbLeft && !click.Shift && !click.Ctrl && !click.Alt) {
            Hand.PositionAt(View, Model, click.X, click.Y);
            PlaceHand();
        } else if (click.Button == mbRight && !click.Shift && !click.Ctrl && !click.Alt) {
            TurnHand();
        } else if (click.Button == mbRight && click.Ctrl && !click.Shift && !click.Alt) {
            TiltHand();
        } else if (click.Button == mbRight && click.Alt && !click.Shift && !click.Ctrl) {
            MirrorHand();
        }
        return false;
    }

    if (click.Shift) {
        if (click.Button == mbRight) {
            // The view turns with the mouse; with "Wireframe on mouse rotate"
            // it is drawn as a wireframe meanwhile.
            FRotating = true;
            FWireframeBeforeRotation = Wireframe();
            if (WireframeOnMouseRotate && !Wireframe())
                SetWireframe(true);
            return true;
        }
        if (click.Button != mbLeft)
            return false;
        const int index = Model.StoneAt(View, click.X, click.Y);
        if (index < 0)
            return false;
        TBlock& stone = *Model[index];
        if (stone.Selected || click.Alt)
            LiftStones([](const TBlock& s) { return s.Selected; }, click.Alt, true);
        else if (stone.BasePlate)
            return false;
        else if (stone.Group < 1)
            LiftStone(index);
        else
            LiftStones([group = stone.Group](const TBlock& s) { return s.Group == group; }, false, false);
        return false;
    }

    const int index = Model.StoneAt(View, click.X, click.Y);
    if (index < 0)
        return false;
    TBlock& stone = *Model[index];
    if (click.Button == mbRight) {
        if (click.Alt) {
            ChangeStone(stone, [](TBlock& s) { s.Tag = !s.Tag; });
        } else if (click.Ctrl) {
            // Turning in place: the stone, or every stone of its group.
            std::vector<TBlock*> turning;
            for (TBlock* s : Model.Stones())
                if (s == &stone || (stone.Group >= 1 && s->Group == stone.Group))
                    turning.push_back(s);
            for (TBlock* s : turning)
                ChangeStone(*s, [](TBlock& t) { t.TurnQuarter(); });
        } else {
            ChangeStone(stone, [this](TBlock& s) {
                s.Color = Palette.CurrentColor;
                s.Transparent = Palette.Transparent;
            });
        }
        Dirty = true;
    } else {
        if (stone.BasePlate)
            return false;
        if (click.Ctrl || stone.Group < 1) {
            stone.Selected = !stone.Selected;
        } else {
            const bool select = !stone.Selected;
            for (TBlock* s : Model.Stones())
                if (s->Group == stone.Group)
                    s->Selected = select;
        }
    }
    RedrawPicture();
    return false;
}

void TStonemillApp::ViewMouseUp() {
    if (FRotating && Wireframe() != FWireframeBeforeRotation)
        SetWireframe(FWireframeBeforeRotation);
    FRotating = false;
}

std::optional<std::string> TStonemillApp::CaptionAt(int x, int y) const {
    const int index = Model.StoneAt(View, x, y);
    if (index < 0)
        return std::nullopt;
    return Model[index]->Caption;
}

void TStonemillApp::ChangeStone(TBlock& stone, const std::function<void(TBlock&)>& change) {
    Model.RecordUndo('[', stone);
    const int index = Model.IndexOf(&stone);
    const int32_t x = stone.X, y = stone.Y, z = stone.Z, l = stone.Length, w = stone.Width, h = stone.Height;
    change(stone);
    Model.RecordUndo(']', stone);
    // A stone whose box changed takes its painter's-order place anew.
    if (index >= 0 && (x != stone.X || y != stone.Y || z != stone.Z || l != stone.Length ||
                       w != stone.Width || h != stone.Height)) {
        Model.Delete(index);
        Model.InsertSorted(&stone);
    }
}

void TStonemillApp::LiftStones(const std::function<bool(const TBlock&)>& take, bool copy,
                               bool clearSelection) {
    TBlockList& pending = Hand.Pending();
    TSubassemblyBox box;
    int32_t copyGroup = 0;
    if (copy)
        copyGroup = ++HighestGroup;
    for (int i = 0; i < Model.Count();) {
        TBlock* stone = Model[i];
        if (!take(*stone)) {
            ++i;
            continue;
        }
        if (clearSelection)
            stone->Selected = false;
        box.Widen(*stone);
        if (copy) {
            TBlock* twin = CreateCopy(*stone);
            twin->Group = copyGroup;
            pending.Add(twin);
            ++i;
        } else {
            Model.Delete(i);
            pending.Add(stone);
            Supply.GiveBack(stone->Caption);
            Model.RecordUndo('-', *stone);
        }
    }
    pending.SortedOctant = -1;
    if (pending.Count() == 0)
        return;
    Hand.MakeProxy(box);
    Hand.Mode = copy ? THandMode::hmRepeat : THandMode::hmMove;
    if (!copy)
        Dirty = true;
    MovePointerTo(Hand.Stone()->X, Hand.Stone()->Y, Hand.Stone()->Z);
    RedrawPicture();
}

void TStonemillApp::LiftStone(int index) {
    TBlock* stone = Model[index];
    Supply.GiveBack(stone->Caption);
    Model.RecordUndo('-', *stone);
    Model.Delete(index);
    Hand.Make(std::unique_ptr<TBlock>(stone));
    Hand.Mode = THandMode::hmMove;
    Dirty = true;
    MovePointerTo(stone->X, stone->Y, stone->Z);
    RedrawPicture();
}

int TStonemillApp::SelectedCount() const {
    return static_cast<int>(std::count_if(Model.Stones().begin(), Model.Stones().end(),
                                          [](const TBlock* s) { return s->Selected; }));
}

void TStonemillApp::SelectAll() {
    for (TBlock* stone : Model.Stones())
        stone->Selected = true;
    RedrawPicture();
}

void TStonemillApp::DeselectAll() {
    for (TBlock* stone : Model.Stones())
        stone->Selected = false;
    RedrawPicture();
}

bool TStonemillApp::CanMakeGroup() const {
    return SelectedCount() >= 2;
}

bool TStonemillApp::CanBreakGroups() const {
    auto first = std::find_if(Model.Stones().begin(), Model.Stones().end(),
                              [](const TBlock* s) { return s->Selected; });
    return first != Model.Stones().end() && (*first)->Group >= 1;
}

void TStonemillApp::MakeGroup() {
    if (!CanMakeGroup())
        return;
    ++HighestGroup;
    // Group changes are recorded like every other change of a stone, so that
    // undoing an earlier placement still finds the stone it placed.
    for (TBlock* stone : Model.Stones()) {
        if (!stone->Selected)
            continue;
        if (stone->Group != HighestGroup)
            ChangeStone(*stone, [this](TBlock& s) { s.Group = HighestGroup; });
        stone->Selected = false;
    }
    RedrawPicture();
}

void TStonemillApp::BreakGroups() {
    for (TBlock* stone : Model.Stones()) {
        if (!stone->Selected)
            continue;
        if (stone->Group != 0)
            ChangeStone(*stone, [](TBlock& s) { s.Group = 0; });
        stone->Selected = false;
    }
    RedrawPicture();
}

void TStonemillApp::DeleteSelection() {
    for (int i = Model.Count() - 1; i >= 0; --i) {
        TBlock* stone = Model[i];
        if (!stone->Selected)
            continue;
        Supply.GiveBack(stone->Caption);
        Model.RecordUndo('-', *stone);
        Model.Delete(i);
        delete stone;
        Dirty = true;
    }
    RedrawPicture();
}

// Undo and redo put stones back at their painter's-order places, so the
// order holds without sorting everything again.
void TStonemillApp::UndoStep() {
    if (Model.UndoCount() == 0)
        return;
    Model.Undo();
    Dirty = true;
    RedrawPicture();
}

void TStonemillApp::RedoStep() {
    if (Model.RedoCount() == 0)
        return;
    Model.Redo();
    Dirty = true;
    RedrawPicture();
}
