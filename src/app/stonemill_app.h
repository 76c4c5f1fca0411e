#pragma once
// The application core behind the main window, without widgets. It owns the
// parts of the program, each a class with its own state, and wires them
// together; the window and the command line call the parts' methods. From
// the model to the pixels:
//
//   Document         the stones, dirty flag, names, recent files  (model_document.h)
//   Scene            render state, view controls, picture, drawing options  (scene_view.h)
//   Files            new model, load, save, break up  (model_files.h)
//   Placing          the stone in hand  (placing.h)
//   Selection        selecting, groups, undo, the toolbox's commands  (selection_editor.h)
//   PaletteCommands  taking entries, colours, the stone supply  (palette_commands.h)
//   Pictures         the picture frame, picture files, printing  (picture_output.h)
//   Pov              POV-Ray scenes and running POV-Ray  (pov_export.h)
//   Parts            the parts list and its files  (parts_list_output.h)
//   Instructions     the building instructions booklet  (building_instructions.h)
//   Input            the mouse in the view and the editing keys  (view_input.h)
//
// This class itself reads and writes the settings file and holds the few
// options no part owns.

#include <filesystem>
#include <functional>
#include <string>

#include "app/building_instructions.h"
#include "app/cut_dialog_state.h"
#include "app/hand.h"
#include "app/long_work_gate.h"
#include "app/model_document.h"
#include "app/model_files.h"
#include "app/palette.h"
#include "app/palette_commands.h"
#include "app/parts_list_output.h"
#include "app/picture_output.h"
#include "app/placing.h"
#include "app/pov_export.h"
#include "app/scene_view.h"
#include "app/selection_editor.h"
#include "app/settings.h"
#include "app/stone_supply.h"
#include "app/view_input.h"
#include "editor/part_editor.h"
#include "platform/data_folders.h"

// What the core tells the window; any hook may be empty.
struct TWindowHooks {
    // A new picture is in Scene.Picture(): show it.
    std::function<void()> PictureChanged;
    // The stone in hand was drawn anew in this part of the shown picture.
    std::function<void(const TRect& changed)> HandChanged;
    // The mouse pointer is to go to this point of the view.
    std::function<void(TPoint point)> MovePointer;
    // With piece-by-piece drawing, a stone of the pass was drawn.
    TPassProgress StoneDrawn;
    // A line of a model file could not be read: show the message, then go on.
    std::function<void(int lineNumber, const std::string& message)> LineError;
    // Runs long work on a thread of the window's (see TLongWorkGate).
    TLongWorkGate::TRunner LongWork;
};

class TStonemillApp {
    // Where the shipped data lies and where the user's files go; made first,
    // since the parts keep it.
    TDataFolders FFolders;

public:
    explicit TStonemillApp(const TDataFolders& folders);
    // Data and user files in one folder.
    explicit TStonemillApp(const std::filesystem::path& programFolder)
        : TStonemillApp(TDataFolders(programFolder)) {}
    TStonemillApp(const TStonemillApp&) = delete;
    TStonemillApp& operator=(const TStonemillApp&) = delete;

    const TDataFolders& Folders() const { return FFolders; }

    // --- state several parts share ---
    TLongWorkGate Work;
    TPalette Palette;
    TStoneSupply Supply;
    THand Hand;

    // --- the parts, in the order they are made; each keeps those before it ---
    TModelDocument Document;
    TSceneView Scene;
    TModelFiles Files;
    TPlacing Placing;
    TSelectionEditor Selection;
    TPaletteCommands PaletteCommands;
    TPictureOutput Pictures;
    TPovExport Pov;
    TPartsListOutput Parts{Document, Palette, Scene};
    TBuildingInstructions Instructions{Document, Parts, Scene};
    TViewInput Input;
    // The cutting dialog's box, kept while the dialog is hidden.
    TCutDialogState CutDialog{CutState()};
    // The part editor's state, kept from one opening to the next.
    TPartEditor PartEditor;

    // The window's hooks; empty hooks leave the core on its own again.
    void ConnectWindow(const TWindowHooks& hooks);

    // --- options no part owns ---
    // Tool tips are shown ("&Hints").
    bool Hints() const { return FHints; }
    void SetHints(bool on) { FHints = on; }
    // The positioning grid: the stone in hand snaps to it, and the cutting
    // dialog's spin buttons step by it.
    void SetGrid(TGridResolution grid);

    // --- the settings file ---
    // Reads the settings file into the palette, the swatches and the drawing
    // options; a message when the file could not be used (defaults are taken).
    // The file is written back at the end; the source, when given, is read
    // instead of it.
    std::string LoadSettings(const std::filesystem::path& file, const std::filesystem::path& source = {});
    // When the program ends: the settings file (if the palette changed), then
    // every changed part definition. Raises EError after trying both.
    void WriteBackOnExit();

private:
    TSettingsParts SettingsParts() { return {Palette, Scene, Pov, FHints}; }

    TSettings FSettings;
    bool FHints = false;
};
