#pragma once
// The mouse in the view and the editing keys, dispatched by what they do in
// the mode the view is in: with a stone in hand they place, turn, tip and
// move it; without one they select, colour, turn, tag and lift stones, turn
// the view, and work the palette.

#include <optional>
#include <string>

#include "app/edit_key.h"

class THand;
class TModelDocument;
class TPalette;
class TPaletteCommands;
class TPlacing;
class TSceneView;
class TSelectionEditor;

// A mouse button pressed in the view, with the keys held.
enum TMouseButton { mbLeft, mbRight, mbMiddle };
struct TMouseClick {
    int X = 0, Y = 0;
    TMouseButton Button = mbLeft;
    bool Shift = false, Ctrl = false, Alt = false;
};

class TViewInput {
public:
    TViewInput(TSceneView& scene, TPlacing& placing, TSelectionEditor& selection,
               TPaletteCommands& paletteCommands, TPalette& palette, const TModelDocument& document,
               const THand& hand);

    // "Wireframe on mouse rotate": the wireframe is on while the mouse turns the view.
    bool WireframeOnMouseRotate() const { return FWireframeOnMouseRotate; }
    void SetWireframeOnMouseRotate(bool on) { FWireframeOnMouseRotate = on; }

    // A button pressed in the view in either mode. Returns true when it starts
    // turning the view with the mouse.
    bool ViewMouseDown(const TMouseClick& click);
    // The button was released: the wireframe state from before the mouse turned the view returns.
    void ViewMouseUp();
    // How the displayed stone under the point names itself (see
    // DescribeStone), or none.
    std::optional<std::string> DescriptionAt(int x, int y) const;

    void EditKey(TEditKey key, bool shift, bool ctrl, bool alt);
    // After a command key with a stone in hand, the pointer goes to its ground point.
    void AfterCommandKey();

private:
    void PlacingMouseDown(const TMouseClick& click);
    bool PointerMouseDown(const TMouseClick& click);
    // The editing keys without a stone in hand.
    void PointerKey(TEditKey key, bool shift, bool ctrl, bool alt);

    TSceneView& FScene;
    TPlacing& FPlacing;
    TSelectionEditor& FSelection;
    TPaletteCommands& FPaletteCommands;
    TPalette& FPalette;
    const TModelDocument& FDocument;
    const THand& FHand;
    bool FWireframeOnMouseRotate = false;
    bool FWireframeBeforeRotation = false;
    bool FRotating = false;
};
