#pragma once
// Placing stones: the stone in hand shown over the scene and following the
// mouse and the keys, turned, tipped and mirrored, placed into the model;
// models inserted as subassemblies; stones, groups and the selection lifted
// (or copied) out of the model into the hand; pointer mode, which empties it.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/edit_key.h"
#include "common/units.h"
#include "platform/bitmap.h"
#include "platform/point.h"

class TBlock;
class THand;
class TModelDocument;
class TModelFiles;
class TSceneView;
class TStoneSupply;

class TPlacing {
public:
    TPlacing(THand& hand, TModelDocument& document, TModelFiles& files, TSceneView& scene,
             TStoneSupply& supply);
    TPlacing(const TPlacing&) = delete;
    TPlacing& operator=(const TPlacing&) = delete;

    // The stone in hand was drawn anew in this part of the shown picture.
    std::function<void(const TRect& changed)> OnHandChanged;
    // The mouse pointer is to go to this point of the view.
    std::function<void(TPoint point)> OnMovePointer;
    // The stone in hand was taken, lifted or moved, or (null) the hand was emptied.
    std::function<void(const TBlock* held)> OnHandMoved;

    // What the view shows: the scene picture, with the stone in hand over it.
    TBitmap& ShownPicture();
    // The scene was drawn anew: the stone in hand is drawn over it again.
    void SceneDrawn();
    // The stone in hand changed: it is drawn anew over the scene.
    void DrawHand();

    // --- taking and dropping ---
    // The stone becomes the stone in hand, shown with the mouse pointer on it;
    // the scene is drawn anew when it marks stones like it.
    void Take(std::unique_ptr<TBlock> stone);
    // Pointer mode: the hand is emptied and the scene shown without it.
    void PointerMode();
    // Loads a model file to insert: its stones go into the hand as a
    // subassembly; the caption stays the model's, and with keepFolder the
    // subassembly folder stays too. Raises EError when the file cannot be read
    // or holds no stone to insert.
    void InsertSubassembly(const std::filesystem::path& path, bool keepFolder);
    // Shift + click: the stone (index into the model) is lifted into the hand
    // to be moved; a stone of a group brings its group, a selected stone (or
    // any stone with copy) the whole selection, copied with copy. A base
    // plate stays unless it is selected.
    void Lift(int index, bool copy);
    // Stones lifted to be moved go back where they were, as they were, with
    // nothing left in the undo log; the hand is empty. False when no stones
    // are being moved.
    bool CancelMove();

    // --- moving and placing ---
    // The mouse moved over the view: the stone in hand follows it.
    void HandFollows(int x, int y);
    // The stone in hand goes to the ground point under the screen point and is placed.
    void PlaceAt(int x, int y);
    // Puts the stone in hand into the model; a stone outside the cut is refused.
    void PlaceHand();
    void TurnHand();
    void TiltHand();
    void MirrorHand();
    // An editing key while a stone is in hand: the arrows and Page Up/Down
    // move it by its size (by the grid with byGrid), Insert turns it, Enter
    // places it, Backspace and Delete drop it, Escape puts lifted stones back
    // (see CancelMove) or drops the stone in hand.
    void HandKey(TEditKey key, bool byGrid);
    // After a command key: the pointer goes to the ground point of the stone in hand.
    void ShowHandAtGround();
    void SetSafePositioning(bool on);
    void SetGrid(TGridResolution grid);

private:
    // Draws the stone in hand over the scene picture into the shown picture:
    // the whole picture is copied after a new scene, else only where the hand
    // was drawn before. Returns the part of the shown picture that changed.
    TRect ComposeHand(bool sceneChanged);
    // Lifts (or with copy, copies) the stones for which take is true into the
    // hand as a subassembly.
    void LiftStones(const std::function<bool(const TBlock&)>& take, bool copy, bool clearSelection);
    void LiftStone(int index);
    // Lifting stones to move them opens an undo step that their placing
    // closes, so that the move is undone as one.
    void BeginMove();
    void EndMove();
    void MovePointerTo(int32_t x, int32_t y, int32_t z);
    void TellHandMoved();

    THand& FHand;
    TModelDocument& FDocument;
    TModelFiles& FFiles;
    TSceneView& FScene;
    TStoneSupply& FSupply;
    TBitmap FShown;
    bool FShownValid = false;
    TRect FHandRect;
    // The undo step of the stones being moved (0 when none are), and whether
    // the model had unsaved changes before they were lifted.
    uint64_t FMoveStep = 0;
    bool FDirtyBeforeMove = false;
};
