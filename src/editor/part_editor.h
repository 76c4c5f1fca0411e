#pragma once
// The part editor's state and commands, without a window: the entry being
// edited, the stone built from it, the private working copy of a general
// stone's definition with the selected polygon and point, the dimensions as
// applied and as typed, what confirming hands back to the palette, and the
// undo and redo of every change made to the part since the entry was loaded.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "common/color.h"
#include "editor/part_edit_history.h"
#include "editor/shape_ops.h"
#include "model/block.h"
#include "partlib/draw_class.h"

class TPartEditor {
public:
    // Builds the stone a block string stands for (the palette's entry rules);
    // none when it names no stone. May raise the part library's errors.
    using TStoneBuilder = std::function<std::unique_ptr<TBlock>(const std::string& blockString)>;
    // The names a new definition is saved under, asked from the user with the
    // file name proposed; none when the user cancels. Replace: the user agreed
    // that a part of that name there already takes the new shape.
    struct TNames {
        std::string File, Part;
        bool Replace = false;
    };
    using TNameAsker = std::function<std::optional<TNames>(const std::string& proposedFile)>;

    // The kind list's letters, row by row; wheels (O) have no row.
    static constexpr const char* kKindLetters = "BTNCEIRWGO";
    static constexpr int kKindRows = 9;
    static constexpr int kGeneralRow = 8;
    // The dimension edits' limits, in units.
    static constexpr int32_t kSmallestDimension = 1, kLargestDimension = 1920;

    explicit TPartEditor(TStoneBuilder builder);
    ~TPartEditor();

    // --- opening and results ---
    void LoadEntry(const std::string& entry, bool asNew);
    // The block string, then "|" and the identity text when there is one.
    std::string GetEntry() const;
    // The height in pixels the stone needs in a palette row.
    int GetPictureHeight() const;
    // Commits the edit: a new definition is registered under names asked for
    // (where the names are taken, it replaces that part when the names say
    // so, else that part stays and the new shape goes); an edited one
    // replaces its source. False when the user cancelled the names.
    bool Confirm(const TNameAsker& askNames);

    // --- undo and redo of the part's changes since the entry was loaded ---
    bool CanUndo() const { return FHistory.CanUndo(); }
    bool CanRedo() const { return FHistory.CanRedo(); }
    // The part goes back to what it was before the last change, or forward
    // again to what the last undo took away; a typed, unapplied dimension is
    // dropped.
    void Undo();
    void Redo();
    // The label typed into the identity edit; a label typed in a row, letter
    // by letter, is undone as one change.
    void SetIdentity(const std::string& text);

    // --- kind and dimensions ---
    int KindRow() const;
    void ChangeKind(int row);
    // A key was typed into a dimension edit: the change waits, pending, until
    // it is applied or reverted.
    void TypeDimensions() { FDimensionsPending = true; }
    bool DimensionsPending() const { return FDimensionsPending; }
    // Both end a pending change.
    void ApplyDimensions();
    void RevertDimensions();
    // A spin arrow changed an edit by one step: simple kinds are rebuilt,
    // general stones stretched. While a typed change is pending, every edit
    // goes back to the stored dimensions instead, the arrow's step included.
    void SpinDimensions();

    // --- polygons and points of the working copy ---
    // Appends a 20 x 20 square, or with `copy` and a polygon selected a copy of
    // it, and selects the new polygon.
    void AddPolygon(bool copy);
    void SelectPolygon(int polygon);
    void SelectPoint(int point);
    // Inserts before the selected point: the point edits' values when copying,
    // else (0, 0, 0) (before point 0 when none is selected).
    void AddPoint(bool copy);
    // The point edits changed: the selected point moves there, or the selected
    // polygon moves so that its first point lands there.
    void MovePointEdits(const TPoint3D& edits);
    void DeletePolygon(int polygon);
    void DeletePoint();
    void ToggleTransparent();
    void ToggleBorder();
    void ToggleEdge(int row);
    void SetColor(int32_t color);
    void SetDetail(int32_t detail);
    // The stone drawn see-through (hatched) or solid in the editor's view.
    void ToggleStoneTransparent();

    // --- the draw order of one octant, as its list edits it ---
    // Inserts the polygon at the row (at most the row count); false when the
    // order lists it already.
    bool InsertDrawEntry(int octant, int row, int polygon);
    // Moves the entry at row `from` to row `to`, both within the order.
    void MoveDrawEntry(int octant, int from, int to);
    void RemoveDrawEntry(int octant, int row);

    // --- which polygon a list row stands for; -1 for no such row ---
    // The polygon list shows every polygon in order.
    int PolygonAtRow(int row) const;
    // The draw-order list of an octant shows its order.
    int DrawEntryPolygon(int octant, int row) const;

    // --- the lists' texts ---
    // A polygon row: its number from 1, negative unless every edge is outlined.
    std::string PolygonRowText(int polygon) const;
    // A point row: x, y and z right-aligned in four characters each.
    static std::string PointRowText(const TPoint3D& point);
    // Whether point row `row` of the selected polygon starts an outlined edge.
    bool PointRowOutlined(int row) const;
    // A key typed into the point list: A/Z, S/X and D/C step the x, y and z
    // edits up and down; after any key the edits are applied as a move.
    void PointKey(char key);

    // What is wrong with the names typed for a new part, in the user's words;
    // empty when they can be used.
    static std::string NamesProblem(const TNames& names);
    // Whether a part of the typed part name is there already, in whatever
    // file: registered, or in the part library. A new part is saved alone
    // under its part name and would replace it, so the user is asked first.
    static bool PartNameTaken(const TNames& names);

    // --- shape operations on the working copy ---
    void Extrude();
    void Mirror(int tag);
    void Rotate(int tag);
    void Sort(int firstOctant, int lastOctant);

    // --- state, read by the window and by tests ---
    const TBlock* Stone() const { return FStone.get(); }
    TDrawClass* WorkingCopy() const { return FWorkingCopy.get(); }
    const TDrawClass* SourceDefinition() const { return FSource; }
    std::string BlockString;
    std::string FileName = "template.dat";
    std::string PartName = "template";
    std::string Identity; // the label shown in the identity edit
    TColor StoneColor = clWhite;
    int SelectedPolygon = -1;
    int SelectedPoint = -1;
    TPoint3D ReferencePoint{0, 0, 0};
    TPoint3D PointEdits{0, 0, 0};
    TPartExtents DimensionEdits{2, 2, 3};
    TPartExtents StoredDimensions{2, 2, 3};
    int32_t ExtrudeDistance = 80;
    // The names last typed, proposed the next time they are asked for.
    std::string LastNameFile;

private:
    // Runs a change of the part: when the part changed, the state before it
    // can be undone; when the change fails, that state is put back. Changes
    // made within a change are part of it.
    template <class TChange> void Changing(TChange&& change, int run = 0);
    TPartEditState Capture() const;
    void Restore(TPartEditState state);
    // After an undo or redo the dimension edits show the stone as it is.
    void ShowStoneDimensions();

    void BuildStone(bool asNew);
    void RebuildSimple();
    std::string SimpleBlockString(char letter) const;
    void TakeStoneExtents();
    void SetExtents(const TPartExtents& extents);
    // Simple kinds are rebuilt at the edited dimensions; general ones reshaped
    // from the stored dimensions to them.
    void ResizeTo(void (*reshape)(TDrawClass&, const TPartExtents&, const TPartExtents&));
    bool HasPolygon() const;

    TStoneBuilder FBuild;
    std::unique_ptr<TBlock> FStone;
    std::unique_ptr<TDrawClass> FWorkingCopy;
    TDrawClass* FSource = nullptr;
    bool FDimensionsPending = false;
    TPartEditHistory FHistory;
    int FChanging = 0;
};
