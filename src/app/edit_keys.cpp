// The editing keys of the main window: in placing mode they move, turn, place
// or drop the stone in hand; in pointer mode they work the palette, the
// selection and the view.

#include "app/stonemill_app.h"

namespace {

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

void TStonemillApp::EditKey(TEditKey key, bool shift, bool ctrl, bool alt) {
    using enum TEditKey;
    if (Hand.Holding()) {
        switch (key) {
        case ekBackspace:
        case ekEscape:
        case ekDelete:
            PointerMode();
            return;
        case ekEnter:
            PlaceHand();
            break;
        case ekInsert:
            Hand.Turn();
            Dirty = true;
            break;
        default:
            MoveInHand(*Hand.Stone(), key, Hand.GridStep(), shift);
            break;
        }
        if (Hand.Holding()) {
            Hand.Settle(Model);
            DrawHand();
        }
        return;
    }

    TViewController& view = ViewControl;
    switch (key) {
    case ekEnter:
        if (Palette.SelectedRow >= 0) {
            TakePaletteEntry(Palette.SelectedRow);
            if (Hand.Holding()) {
                MovePointerTo(Hand.Stone()->X, Hand.Stone()->Y, 0);
                DrawHand();
            }
        }
        break;
    case ekEscape:
        DeselectAll();
        break;
    case ekPageUp:
        CycleSwatch(-1);
        break;
    case ekPageDown:
        CycleSwatch(1);
        break;
    case ekLeft:
    case ekRight: {
        const int sign = key == ekLeft ? -1 : 1;
        if (shift) {
            view.SetOffsetX(view.OffsetX().Position + sign * view.OffsetX().SmallChange);
        } else if (ctrl) {
            // The turn wraps around past either end.
            const TScrollValue& turn = view.RotZ();
            const int next = turn.Position + sign * turn.SmallChange;
            view.SetRotZ(next < turn.Min ? turn.Max : next > turn.Max ? turn.Min : next);
        } else if (!alt) {
            if (sign < 0)
                Palette.PrevPage();
            else
                Palette.NextPage();
        }
        break;
    }
    case ekUp:
    case ekDown: {
        const int sign = key == ekUp ? -1 : 1;
        if (shift) {
            view.SetOffsetY(view.OffsetY().Position + sign * view.OffsetY().SmallChange);
        } else if (ctrl) {
            view.SetRotX(view.RotX().Position - sign * view.RotX().SmallChange);
        } else {
            const int count = static_cast<int>(Palette.ShownEntries().size());
            if (count > 0)
                Palette.SelectedRow = std::clamp(Palette.SelectedRow + sign, 0, count - 1);
        }
        break;
    }
    case ekDelete:
        DeleteSelection();
        break;
    default:
        break;
    }
}

void TStonemillApp::AfterCommandKey() {
    if (!Hand.Holding())
        return;
    MovePointerTo(Hand.Stone()->X, Hand.Stone()->Y, 0);
    DrawHand();
}

void TStonemillApp::CycleSwatch(int direction) {
    const auto& swatches = Palette.Swatches;
    const auto found = std::find(swatches.begin(), swatches.end(), Palette.CurrentColor);
    if (found == swatches.end())
        return;
    const int count = static_cast<int>(swatches.size());
    const int index = static_cast<int>(found - swatches.begin());
    Palette.CurrentColor = swatches[static_cast<size_t>((index + direction + count) % count)];
}
