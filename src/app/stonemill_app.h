#pragma once
// The application core behind the main window, without widgets: the open
// model, the render state and the view controls, the off-screen picture and
// its drawing options, the model files with caption, dirty flag, remembered
// folders and recent files. Every command of the window is a method here, so
// tests and the command line run the same code the window does.

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/cut_dialog_state.h"
#include "app/hand.h"
#include "app/palette.h"
#include "app/palette_row.h"
#include "app/picture_frame.h"
#include "app/settings.h"
#include "app/stone_supply.h"
#include "app/view_controller.h"
#include "editor/part_editor.h"
#include "export/pov_scene.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "files/scene_break_up.h"
#include "files/view_settings.h"
#include "model/block_list.h"
#include "platform/bitmap.h"
#include "platform/data_folders.h"
#include "render/scene_pass.h"
#include "view/render_state.h"

// The off-screen picture's depth as the rendering-options menu offers it.
enum TBitDepth { bd8 = 1, bd16 = 2, bd24 = 3, bd32 = 4, bdDevice = 5 };

TPixelFormat PixelFormatOf(TBitDepth depth);

extern const char* const kProgramVersion;     // "1.42"
extern const char* const kProgramReleaseDate; // as the about box shows it
extern const char* const kProgramCaption;     // "Stonemill Ver 1.42"

// A mouse button pressed in the view, with the keys held.
enum TMouseButton { mbLeft, mbRight, mbMiddle };
struct TMouseClick {
    int X = 0, Y = 0;
    TMouseButton Button = mbLeft;
    bool Shift = false, Ctrl = false, Alt = false;
};

// The editing keys, whose meaning depends on whether a stone is in hand.
enum class TEditKey {
    ekBackspace,
    ekEnter,
    ekEscape,
    ekPageUp,
    ekPageDown,
    ekLeft,
    ekUp,
    ekRight,
    ekDown,
    ekInsert,
    ekDelete
};

// The answers to the unsaved-changes question.
enum class TSaveAnswer { saYes, saNo, saCancel };

// What the save dialog starts with: the proposed file name and the folder.
struct TSaveProposal {
    std::string FileName;
    std::filesystem::path Folder;
};

// The proposed name of the save dialog loses its extension when its fourth
// character from the end is ".".
std::string DropProposedExtension(const std::string& name);

class TStonemillApp {
public:
    // The shipped data is read from the folders, and what the program writes
    // goes to their user folder.
    explicit TStonemillApp(const TDataFolders& folders);
    // Data and user files in one folder.
    explicit TStonemillApp(const std::filesystem::path& programFolder)
        : TStonemillApp(TDataFolders(programFolder)) {}
    ~TStonemillApp();
    TStonemillApp(const TStonemillApp&) = delete;
    TStonemillApp& operator=(const TStonemillApp&) = delete;

    TBlockList Model;
    TRenderState View;
    TViewController ViewControl;
    TBackground Background;
    TPalette Palette;
    TStoneSupply Supply;
    THand Hand;
    TPaletteRowPainter PaletteRows;
    // The cutting dialog's box, kept while the dialog is hidden.
    TCutDialogState CutDialog{CutState()};
    // The part editor's state, kept from one opening to the next.
    TPartEditor PartEditor;
    TSettings Settings;
    // Tool tips are shown ("&Hints").
    bool Hints = false;
    // The POV-Ray program that renders exported scenes.
    std::string PovRayProgram = kDefaultPovRayProgram;

    // --- notifications to the window ---
    // A new picture is in Picture(): show it.
    std::function<void()> OnPictureChanged;
    // A line of a model file could not be read: show the message, then go on.
    std::function<void(int lineNumber, const std::string& message)> OnLineError;
    // The undo and redo states changed.
    std::function<void(bool undoEnabled, bool redoEnabled)> OnUndoRedoState;
    // Runs long work (reading a model file, sorting the stones for a new view
    // octant) and returns when it is done, raising what the work raised. The
    // window runs it on a thread of its own, showing its progress, and keeps
    // the model from being edited meanwhile; the work touches no state of the
    // window. Without it the work runs directly.
    using TLongWork = std::function<void(const TShareProgress& progress)>;
    std::function<void(const std::string& what, const TLongWork& work)> OnLongWork;
    // Long work is running: pictures are drawn when it ends, by the command
    // that started it.
    bool Busy() const { return FBusy; }

    // --- the picture ---
    TBitmap& Picture() { return FPicture; }
    // Draws the scene anew into the picture (unless redraws are suppressed).
    void RedrawPicture();
    // The number of drawing passes so far: one per visible change.
    int PassCount() const { return FPassCount; }
    // The view's client size changed: the picture follows, and it is drawn anew.
    void ResizeView(int width, int height);

    // --- drawing options ---
    int DetailLevel() const { return View.DetailLevel; }
    void SetDetailLevel(int level);
    bool Shading() const { return View.Shading; }
    void SetShading(bool on);
    bool AntiAlias() const { return View.AntiAlias; }
    void SetAntiAlias(bool on);
    // 1 .. 5 as TBitDepth; any other value (from a damaged settings file)
    // draws at 32 bits with no depth chosen.
    int BitDepth() const { return FBitDepth; }
    void SetBitDepth(TBitDepth depth);
    // The depth the picture is drawn at, as the settings file stores it.
    TBitDepth EffectiveBitDepth() const;
    bool Wireframe() const { return View.Wireframe; }
    // Pressing the wireframe button keeps the detail level and shading and
    // draws bare outlines; releasing it brings both back.
    void SetWireframe(bool down);
    // Forgets the sorted octant, sorts and draws anew.
    void RefreshDisplay();
    // Takes the drawing settings of the settings file (edge factor and colours,
    // detail level, shading, bit depth) without drawing.
    void ApplyViewSettings(const TViewSettings& settings);
    // The drawing settings as the settings file stores them.
    TViewSettings CurrentViewSettings() const;

    // --- the settings file ---
    // Reads the settings file into the palette, the swatches and the drawing
    // options; a message when the file could not be used (defaults are taken).
    // The file is written back at the end; the source, when given, is read
    // instead of it.
    std::string LoadSettings(const std::filesystem::path& file, const std::filesystem::path& source = {});
    // When the program ends: the settings file (if the palette changed), then
    // every changed part definition. Raises EError after trying both.
    void WriteBackOnExit();

    // --- the palette ---
    // Takes a row of the shown list: a stone entry puts its stone in hand and
    // is recorded as recently used; a model entry loads that model as a
    // subassembly. Raises EError when the part or model cannot be read.
    void TakePaletteEntry(int row);
    // A click on swatch 0 .. 13: the left button makes its colour the current
    // colour (and the stone in hand's), the right one the view's background.
    void SwatchClick(int index, bool leftButton);
    // The view's background back to the button face colour.
    void RestoreBackgroundColor();
    // The colour dialog's choice becomes the current colour and the stone in hand's.
    void SetCurrentColor(TColor color);
    void ToggleTransparent();
    // Limits the supply to a set file's stones, less those in the model.
    // Raises EError for a file that cannot be read; the supply stays as it was.
    void LoadSet(const std::filesystem::path& file);
    void InfiniteSupply() { Supply.Clear(); }
    // What a loaded set still holds of a palette entry's stone, or -1.
    int EntrySupply(const std::string& entry) const;
    // Adds a model file to the shown page as a combo entry.
    void AddCombo(const std::string& modelFile);
    // What a row of a palette list shows: the entry with the current colour
    // (or its remembered one), the transparent state, the scale and the supply.
    TPaletteRow PaletteRowOf(const std::string& entry, TColor color, float scale, bool selected) const;
    // A row of the shown list.
    TPaletteRow ShownRow(int row) const;
    // Everything besides its entry that a palette row's picture depends on;
    // the list is drawn anew only when it changed.
    struct TPreviewLook {
        TColor CurrentColor = 0;
        bool Transparent = false;
        TBitDepth Depth = bd32;
        bool Shading = false;
        float EdgeFactor = 0;
        bool FixedEdgeColors = false;
        TColor DarkEdgeColor = 0, LightEdgeColor = 0, BlackStoneColor = 0;
        std::array<int32_t, 3> Light{};
        std::vector<TColor> RecentColors;
        TSetList Supply;
        bool operator==(const TPreviewLook&) const = default;
    };
    TPreviewLook PreviewLook() const;

    // --- the stone in hand ---
    // What the view shows: the scene picture, with the stone in hand over it.
    TBitmap& ShownPicture();
    // The stone in hand was drawn anew in this part of the shown picture.
    std::function<void(const TRect& changed)> OnHandChanged;
    // The mouse pointer is to go to this point of the view.
    std::function<void(TPoint point)> OnMovePointer;
    // Pointer mode: the hand is emptied and the scene shown without it.
    void PointerMode();
    // The mouse moved over the view: the stone in hand follows it.
    void HandFollows(int x, int y);
    // Puts the stone in hand into the model; a stone outside the cut is refused.
    void PlaceHand();
    void TurnHand();
    void TiltHand();
    void MirrorHand();
    // Loads a model file to insert: its stones go into the hand as a
    // subassembly; the caption stays the model's, and with keepFolder the
    // subassembly folder stays too. Raises EError when the file cannot be read
    // or holds no stone to insert.
    void InsertSubassembly(const std::filesystem::path& path, bool keepFolder);
    // "Mark matching blocks" and its "(AND color)".
    bool MarkMatching = false;
    bool MarkWithColor = false;
    // "S&low rendering (piece by piece)": every drawing pass shows the
    // picture after each stone (OnStoneDrawn).
    bool SlowRendering = false;
    TPassProgress OnStoneDrawn;

    // --- pictures and printing ---
    TPictureFrame Frame;
    // Where the picture save dialog starts: "Pict", then the folder of the last picture saved.
    std::filesystem::path PictureFolder;
    // A 32-bit picture of the frame's part of the view: factor 0 copies the
    // picture shown, 1 draws it anti-aliased, 2, 4 and 8 draw it anew at that
    // many times its size. The view is restored also on failure.
    void RenderFramePicture(TBitmap& target, int factor, const TRect& frame,
                            const TPassProgress& progress = nullptr);
    // Saves the frame's picture in the format its name asks for; told the
    // share of the work done. Raises EError on failure.
    void SavePicture(int factor, const std::filesystem::path& path,
                     const std::function<void(double done)>& progress = nullptr);
    // Prints the page, of the size in device pixels, on the canvas.
    void PrintOn(TCanvas& canvas, int pageWidth, int pageHeight);
    // A picture stretched behind the scene; false when the file holds none
    // (the view then has no background picture).
    bool LoadBackgroundPicture(const std::filesystem::path& path);
    std::filesystem::path BackgroundFile;
    // "Restore background &color": no picture, the button face colour.
    void DropBackgroundPicture();
    void SetLight(int32_t x, int32_t y, int32_t z);
    void SetEdgeFactor(float factor);

    // --- POV-Ray ---
    // Where the scene is written: Render/ in the user folder (empty when there is none).
    std::filesystem::path RenderFolder() const { return FFolders.WritePath("Render"); }
    // The include file the scene names: the user's copy, else the shipped one.
    std::filesystem::path PovIncludeFile() const;
    // Whether the POV-Ray program of the settings is there ("&POV" is offered then).
    bool PovRayAvailable() const;
    // The scene's settings: the view, the light and the materials' swatches.
    TPovSettings PovSettings() const;
    // Writes test.pov and povray.ini into the folder (made when missing) for
    // the include file. Raises EError when that file is missing or the folder
    // cannot be written.
    void ExportPov(const std::filesystem::path& folder);
    // The POV-Ray program's arguments that render the exported scene in its folder.
    std::vector<std::string> PovRayArguments(bool withoutDisplay) const;

    // --- the mouse in the view and the editing keys ---
    // A button pressed in the view in either mode. Returns true when it starts
    // turning the view with the mouse.
    bool ViewMouseDown(const TMouseClick& click);
    // "Wireframe on mouse rotate": the wireframe is on while the mouse turns the view.
    bool WireframeOnMouseRotate = false;
    // The button was released: the wireframe state from before the mouse turned the view returns.
    void ViewMouseUp();
    // The caption of the displayed stone under the point, or none.
    std::optional<std::string> CaptionAt(int x, int y) const;
    void EditKey(TEditKey key, bool shift, bool ctrl, bool alt);
    // After a command key with a stone in hand, the pointer goes to its ground point.
    void AfterCommandKey();
    // The current colour becomes the previous or next swatch's.
    void CycleSwatch(int direction);

    // --- the advanced toolbox: commands on every selected stone ---
    // Each changed stone is logged before and after its change; the view is
    // drawn anew afterwards.
    void ColorSelection();
    void ToggleSelectionTransparent();
    void TurnSelection();
    // Moves the selection by `steps` grid steps along x (0), y (1) or z (2),
    // each step a pass of its own.
    void MoveSelection(int axis, int steps);
    // Every stone of the first selected stone's colour takes the current colour.
    void ReplaceColor();
    // The first selected stone's colour becomes the current colour.
    void UseThisColor();
    // The smallest X, Y and Z of the stones the last pass changed (99999 when
    // it changed none), for the toolbox's position display.
    TPoint3D ToolboxPosition{99999, 99999, 99999};

    // --- selection, groups and undo ---
    int SelectedCount() const;
    void SelectAll();
    void DeselectAll();
    // The options menu's rules: two selected stones make a group; the first
    // selected stone in a group can break groups.
    bool CanMakeGroup() const;
    bool CanBreakGroups() const;
    void MakeGroup();
    void BreakGroups();
    void DeleteSelection();
    void UndoStep();
    void RedoStep();

    // --- model files ---
    std::string Caption() const { return FCaption; }
    // The current model's path (empty for a new model), and the name the save
    // dialog proposes.
    std::string OpenFileName() const { return FOpenFileName; }
    std::string SaveFileName() const { return FSaveFileName; }
    bool Dirty = false;
    // Frees every stone, empties the undo and redo logs and draws anew. The
    // unsaved-changes question is the window's, asked before.
    void NewModel();
    // Loads a model file as the complete model or as a subassembly (held as
    // the pending subassembly). Lines that cannot be read go to OnLineError.
    // Raises EError when the file cannot be read.
    TModelReadResult LoadModel(const std::filesystem::path& path, TLoadMode mode);
    // Writes the model file and takes its name; a complete save clears the
    // dirty flag. Raises EError when writing fails (the old file stays).
    void SaveModel(const std::filesystem::path& path, TSaveMode mode);
    // Splits a scene file into one numbered file per group; nothing when the
    // path holds no ".STM".
    std::optional<TBreakUpResult> BreakUpScene(const std::filesystem::path& path);
    bool HasSelection() const;
    // The view as a model file's view line records it.
    TViewRecord CurrentViewRecord() const;

    // Before unsaved work is discarded: with the dirty flag set, asks the user
    // (ask) and on Yes saves the complete model (saveComplete, false when the
    // save was cancelled or failed). Returns whether the caller may go on;
    // going on clears the dirty flag.
    bool MayDiscardChanges(const std::function<TSaveAnswer()>& ask,
                           const std::function<bool()>& saveComplete);
    // The save dialog's name and folder for a save in this mode: a complete
    // save proposes the current model, a save of the selection proposes
    // nothing, a save of the displayed stones keeps the last name.
    TSaveProposal PrepareSave(TSaveMode mode);

    // Sets the caption and the dialogs' file names from a model path.
    void SetCaptionAndFileNames(const std::string& fileName);

    // Full paths of the models loaded in this run, most recent first.
    const std::deque<std::string>& RecentFiles() const { return FRecentFiles; }
    // The remembered folders of the open and save dialogs.
    std::filesystem::path OpenFolder, SaveFolder, SubassemblyFolder, PartialSaveFolder;
    // Where the set dialog starts.
    std::filesystem::path SetFolder;
    // Where the shipped data lies and where the user's files go.
    const TDataFolders& Folders() const { return FFolders; }

    // The pending subassembly: loaded, not yet placed.
    TBlockList& Pending() { return Hand.Pending(); }

    int32_t HighestGroup = 0;

private:
    static void FreeStones(TBlockList& list);
    // Draws the stone in hand over the scene picture into the shown picture:
    // the whole picture is copied after a new scene, else only where the hand
    // was drawn before. Returns the part of the shown picture that changed.
    TRect ComposeHand(bool sceneChanged);
    // Composes and tells the window what changed.
    void DrawHand();
    // Lifts (or with copy, copies) the stones for which take is true into the
    // hand as a subassembly.
    void LiftStones(const std::function<bool(const TBlock&)>& take, bool copy, bool clearSelection);
    void LiftStone(int index);
    // Records a change of the stone for undo around the change.
    void ChangeStone(TBlock& stone, const std::function<void(TBlock&)>& change);
    // ChangeStone on every selected stone, noting the lowest corner for the toolbox.
    void ChangeSelection(const std::function<void(TBlock&)>& change);
    void MovePointerTo(int32_t x, int32_t y, int32_t z);
    bool FWireframeBeforeRotation = false;
    bool FRotating = false;
    void NoteRecentFile(const std::string& path);
    void ApplyView(const TViewRecord& record);
    // Runs the work through OnLongWork, or directly without it or inside other
    // long work. Redraws asked for meanwhile are left out: the caller redraws.
    void RunLongWork(const std::string& what, const TLongWork& work);
    // Sorts the model for the view's octant (when that changed, or always when
    // forced) as long work.
    void SortModelForView(bool force);
    // Reads the stones of model lines into the emptied target as long work;
    // line errors go to OnLineError afterwards, in their order.
    TModelReadResult ReadStones(const TStringList& lines, TBlockList& target,
                                const TModelReadSettings& settings, const std::string& fileName);

    TDataFolders FFolders;
    TBitmap FPicture;
    int FBitDepth = bd32;
    int FPassCount = 0;
    bool FBusy = false;
    bool FSavedShading = false;
    int FSavedDetail = 0;
    std::string FCaption;
    std::string FOpenFileName;
    std::string FSaveFileName;
    std::deque<std::string> FRecentFiles;
    std::unique_ptr<TBitmap> FBackgroundPicture;
    TBitmap FShown;
    bool FShownValid = false;
    TRect FHandRect;
};
