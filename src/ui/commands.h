#pragma once
// The main window's commands as data: one row per command with the name of
// its control, its caption (with the "&" of its accelerator), its hint, its
// keys, where its control sits, when it is enabled and which radio group it
// belongs to. Toolbars and menus are made from these rows, and the window
// runs a command by its id in one place.

#include <array>
#include <functional>
#include <span>

#include <QString>

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
    cmExportMenu,
    cmExportComplete,
    cmExportSelected,
    cmExportDisplayed,
    cmSavePicture,
    cmPrint,
    cmOptionsMenu,
    cmPov,
    cmPartsList,
    cmInstructions,
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
    cmBitDepthMenu,
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
    cmZoomToFit,
    cmViewKeysMenu,
    cmSave,
    cmPictureSize,
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
    csPlain,  // a button or menu item that runs once per click
    csCheck,  // a toggle: a button that stays down, a menu item with a check mark
    csRadio,  // one of a radio group's menu items, of which one is checked
    csMenu,   // a button that drops down its menu
    csSubmenu // a menu item that opens its menu
};

// Where a command's control sits: a toolbar, a menu, or nowhere (keys only).
// Controls of one place follow the order of the table.
enum TCommandPlace {
    cpKeysOnly,
    cpMainBar,
    cpBrickBar,
    cpViewBar,
    cpFixedViewsBar,
    cpMiscBar,
    cpViewCorner, // where the view's two scroll bars meet
    cpLoadMenu,
    cpSaveMenu,
    cpOptionsMenu,
    cpRenderingMenu,
    cpBitDepthMenu,
    cpViewKeysMenu,
    cpExportMenu,
};

// When a command is offered. A button or menu item is enabled only while its
// command's rule holds (a button at all times, a menu item when its menu
// opens); a key bound with a rule works only while the rule holds.
enum TCommandRule {
    crAlways,
    crCanUndo,
    crCanRedo,
    crHasSelection,
    crCanMakeGroup,
    crCanBreakGroups,
    crPovRayFound,
    crFrameShown,
};

// The radio group a csRadio command belongs to.
enum TRadioGroup { rgNone, rgDetailLevel, rgBitDepth };

// A key that runs a command: the Qt key code (with Qt::KeypadModifier added
// for a key of the keypad), the modifiers that must be held and those that
// must not (others are ignored), and the rule under which the key works.
struct TCommandKey {
    int Key = 0;
    int Held = 0;
    int NotHeld = 0;
    TCommandRule When = crAlways;
};

struct TCommand {
    TCommandId Id;
    const char* Name;    // the control's name
    const char* Caption; // with its "&"
    const char* Hint;
    std::array<TCommandKey, 4> Keys;
    TCommandStyle Style;
    TCommandPlace Place;
    // A separator comes before it in its menu.
    bool GroupStart;
    // The menu a csMenu or csSubmenu command opens.
    TCommandPlace Opens;
    TCommandRule Enabled;
    TRadioGroup Group;
    // The fixed view's tag, the detail level or the bit depth.
    int Tag;
    TGlyph Glyph;
    // A button that repeats while held: first after 400 ms, then every 200 ms.
    bool Repeats;
};

std::span<const TCommand> Commands();
const TCommand& CommandOf(TCommandId id);
// The command a key runs, or null. A key bound under a rule comes before the
// same key bound without one while the rule holds (ruleHolds tells; without
// it no rule holds); otherwise a key bound with modifiers held (Ctrl + S)
// comes before the same key bound with fewer (S, whatever is held).
const TCommand* CommandOfKey(int key, bool keypad, int modifiers = 0,
                             const std::function<bool(TCommandRule)>& ruleHolds = nullptr);

// The command's keys as the desktop names them ("Ctrl+N, E"), for its menu
// item and tool tip; empty for a command without keys.
QString KeysText(const TCommand& command);
// Whether the place is a menu (its items show their keys beside the caption).
bool IsMenu(TCommandPlace place);
