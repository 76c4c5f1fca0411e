#include "app/view_input.h"

#include "app/hand.h"
#include "app/model_document.h"
#include "app/palette.h"
#include "app/palette_commands.h"
#include "app/placing.h"
#include "app/scene_view.h"
#include "app/selection_editor.h"
#include "app/status_report.h"

TViewInput::TViewInput(TSceneView& scene, TPlacing& placing, TSelectionEditor& selection,
                       TPaletteCommands& paletteCommands, TPalette& palette, const TModelDocument& document,
                       const THand& hand)
    : FScene(scene), FPlacing(placing), FSelection(selection), FPaletteCommands(paletteCommands),
      FPalette(palette), FDocument(document), FHand(hand) {}

bool TViewInput::ViewMouseDown(const TMouseClick& click) {
    if (FHand.Holding()) {
        PlacingMouseDown(click);
        return false;
    }
    return PointerMouseDown(click);
}

void TViewInput::PlacingMouseDown(const TMouseClick& click) {
    const bool plain = !click.Shift && !click.Ctrl && !click.Alt;
    if (click.Button == mbLeft && plain)
        FPlacing.PlaceAt(click.X, click.Y);
    else if (click.Button == mbRight && plain)
        FPlacing.TurnHand();
    else if (click.Button == mbRight && click.Ctrl && !click.Shift && !click.Alt)
        FPlacing.TiltHand();
    else if (click.Button == mbRight && click.Alt && !click.Shift && !click.Ctrl)
        FPlacing.MirrorHand();
}

bool TViewInput::PointerMouseDown(const TMouseClick& click) {
    if (click.Shift && click.Button == mbRight) {
        // The view turns with the mouse; with "Wireframe on mouse rotate" it
        // is drawn as a wireframe meanwhile.
        FRotating = true;
        FWireframeBeforeRotation = FScene.View().Wireframe;
        if (FWireframeOnMouseRotate && !FScene.View().Wireframe)
            FScene.SetWireframe(true);
        return true;
    }
    if (click.Shift && click.Button != mbLeft)
        return false;
    const int index = FDocument.Model().StoneAt(FScene.View(), click.X, click.Y);
    if (index < 0)
        return false;
    if (click.Shift)
        FPlacing.Lift(index, click.Alt);
    else if (click.Button != mbRight)
        FSelection.ClickSelect(index, click.Ctrl);
    else if (click.Alt)
        FSelection.ToggleTag(index);
    else if (click.Ctrl)
        FSelection.TurnInPlace(index);
    else
        FSelection.PaintStone(index);
    return false;
}

void TViewInput::ViewMouseUp() {
    if (FRotating && FScene.View().Wireframe != FWireframeBeforeRotation)
        FScene.SetWireframe(FWireframeBeforeRotation);
    FRotating = false;
}

std::optional<std::string> TViewInput::DescriptionAt(int x, int y) const {
    const int index = FDocument.Model().StoneAt(FScene.View(), x, y);
    if (index < 0)
        return std::nullopt;
    return DescribeStone(*FDocument.Model()[index]);
}

void TViewInput::EditKey(TEditKey key, bool shift, bool ctrl, bool alt) {
    if (FHand.Holding())
        FPlacing.HandKey(key, shift);
    else
        PointerKey(key, shift, ctrl, alt);
}

void TViewInput::PointerKey(TEditKey key, bool shift, bool ctrl, bool alt) {
    using enum TEditKey;
    TViewController& view = FScene.Control();
    switch (key) {
    case ekEnter:
        FPaletteCommands.TakeSelectedEntry();
        break;
    case ekEscape:
        FSelection.DeselectAll();
        break;
    case ekPageUp:
        FPaletteCommands.CycleSwatch(-1);
        break;
    case ekPageDown:
        FPaletteCommands.CycleSwatch(1);
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
                FPalette.PrevPage();
            else
                FPalette.NextPage();
        }
        break;
    }
    case ekUp:
    case ekDown: {
        const int sign = key == ekUp ? -1 : 1;
        if (shift)
            view.SetOffsetY(view.OffsetY().Position + sign * view.OffsetY().SmallChange);
        else if (ctrl)
            view.SetRotX(view.RotX().Position - sign * view.RotX().SmallChange);
        else
            FPaletteCommands.MoveSelectedRow(sign);
        break;
    }
    case ekDelete:
        FSelection.DeleteSelection();
        break;
    default:
        break;
    }
}

void TViewInput::AfterCommandKey() {
    FPlacing.ShowHandAtGround();
}
