#pragma once
// The main window's commands as data: one row per command with the name of
// its control, its caption (with the "&" of its accelerator), its hint and its
// keys. Buttons and menu items are made from these rows, and the window runs a
// command by its id in one place.

#include <array>
#include <span>

#include "ui/icons.h"

enum class TCommandId {
    cmExit,
    cmNewModel,
    cmLoadMenu,
    cmLoadComplete,
    cmLoadSubassembly,
    cmBreakUpScene,
    cmLoadSet,
    cmInfiniteSupply,
    cmSaveMenu,
    cmSaveComplete,
    cmSaveSelected,
    cmSaveDisplayed,
    cmSavePicture,
    cmPrint,
    cmOptionsMenu,
    cmPov,
    cmSafePositioning,
    cmMakeGroup,
    cmBreakGroups,
    cmSelectAll,
    cmDeselectAll,
    cmSlowRendering,
    cmWireframeOnRotate,
    cmHints,
    cmAdvancedToolbox,
    cmPointer,
    cmTransparent,
    cmChooseColor,
    cmAbout,
    cmUndo,
    cmRedo,
    cmCuttingDialog,
    cmRotateUp,
    cmRotateDown,
    cmRotateLeft,
    cmRotateRight,
    cmWireframe,
    cmRenderingOptions,
    cmNoDetails,
    cmMoreDetail,
    cmEvenMoreDetail,
    cmShading,
    cmAntiAlias,
    cmBitDepth8,
    cmBitDepth16,
    cmBitDepth24,
    cmBitDepth32,
    cmBitDepthDevice,
    cmRefreshDisplay,
    cmAdjustLight,
    cmEdgeDarkening,
    cmBackgroundPicture,
    cmRestoreBackground,
    cmMarkMatching,
    cmMarkColor,
    cmZoomIn,
    cmZoomOut,
    cmZoomStepIn,
    cmZoomStepOut,
    cmFitFromAbove,
    cmTopView,
    cmFromFront,
    cmFromRight,
    cmFromLeft,
    cmFromBack,
    cmFrontLeft,
    cmBackRight,
    cmBackLeft,
    cmFrontRight,
    cmFrontView,
    cmRestoreView,
    cmHome,
};

// How a command's control behaves.
enum TCommandStyle {
    csPlain, // a button or menu item that runs once per click
    csCheck, // a toggle: a button that stays down, a menu item with a check mark
    csRadio, // one of a group of menu items of which one is checked
    csMenu   // a button that drops down its menu
};

struct TCommand {
    TCommandId Id;
    const char* Name;    // the control's name
    const char* Caption; // with its "&"
    const char* Hint;
    // Keys that run the command in the main window whatever the modifiers:
    // Qt key codes, keypad keys with Qt::KeypadModifier added; 0 = none.
    std::array<int, 3> Keys;
    TCommandStyle Style;
    // The fixed view's tag, the detail level or the bit depth.
    int Tag;
    TGlyph Glyph;
    // A button that repeats while held: first after 400 ms, then every 200 ms.
    bool Repeats;
};

std::span<const TCommand> Commands();
const TCommand& CommandOf(TCommandId id);
// The command a key runs (modifiers other than the keypad's ignored), or null.
const TCommand* CommandOfKey(int key, bool keypad);
