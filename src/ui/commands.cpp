#include "ui/commands.h"

#include <QKeySequence>
#include <QStringList>
#include <Qt>
#include <bit>

namespace {

constexpr int kKeypad = Qt::KeypadModifier;
constexpr int kCtrl = Qt::ControlModifier;
constexpr int kShift = Qt::ShiftModifier;

using TKeys = std::array<TCommandKey, 4>;
// Keys that work whatever the modifiers.
constexpr TKeys Keys(int a = 0, int b = 0, int c = 0) {
    return {TCommandKey{a}, TCommandKey{b}, TCommandKey{c}, TCommandKey{}};
}
// The desktop's Ctrl combination first, then the keys that work whatever the modifiers.
constexpr TKeys CtrlAnd(int ctrlKey, int a = 0, int b = 0, int c = 0) {
    return {TCommandKey{ctrlKey, Qt::ControlModifier, Qt::ShiftModifier}, TCommandKey{a}, TCommandKey{b},
            TCommandKey{c}};
}

// clang-format off
const TCommand kCommands[] = {
    // Columns: id, control name, caption, hint, keys, style, place, separator before it, the menu it opens,
    // enabling rule, radio group, tag, glyph, repeats while held.
    // The main toolbar and its menus.
    {TCommandId::cmExit,              "ExitButton",           "Exit",                             "Exit",                              Keys(),                                   csPlain,   cpMainBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glExit,        false},
    {TCommandId::cmNewModel,          "btnClear",             "New model",                        "New model",                         CtrlAnd(Qt::Key_N, Qt::Key_E),            csPlain,   cpMainBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glNewModel,    false},
    {TCommandId::cmLoadMenu,          "btnOpen",              "Load",                             "Load a model or sub-assembly",      Keys(),                                   csMenu,    cpMainBar,       false, cpLoadMenu,      crAlways,         rgNone,        0, glOpen,        false},
    {TCommandId::cmSaveMenu,          "btnSave",              "Save",                             "Save model (or selection)",         Keys(),                                   csMenu,    cpMainBar,       false, cpSaveMenu,      crAlways,         rgNone,        0, glSave,        false},
    {TCommandId::cmSavePicture,       "btnSavePic",           "Save picture",                     "Save picture",                      Keys(),                                   csCheck,   cpMainBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glCamera,      false},
    {TCommandId::cmPrint,             "btnPrint",             "Print",                            "Print",                             CtrlAnd(Qt::Key_P),                       csPlain,   cpMainBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glPrinter,     false},
    {TCommandId::cmOptionsMenu,       "btnOptions",           "Options",                          "Options",                           Keys(),                                   csMenu,    cpMainBar,       false, cpOptionsMenu,   crAlways,         rgNone,        0, glOptions,     false},
    {TCommandId::cmLoadComplete,      "mNewmodel",            "&Complete model...",               "",                                  CtrlAnd(Qt::Key_O, Qt::Key_F, Qt::Key_G, Qt::Key_H), csPlain,   cpLoadMenu,      false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmLoadSubassembly,   "mSubassembly",         "&Subassembly...",                  "",                                  Keys(Qt::Key_M),                          csPlain,   cpLoadMenu,      false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmBreakUpScene,      "Breakupascene1",       "Break up a scene...",              "",                                  Keys(),                                   csPlain,   cpLoadMenu,      true,  cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmLoadSet,           "Loadaset1",            "Load a &set...",                   "",                                  Keys(),                                   csPlain,   cpLoadMenu,      true,  cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmInfiniteSupply,    "Infinitesupply1",      "Infinite supply",                  "",                                  Keys(),                                   csPlain,   cpLoadMenu,      false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmSaveComplete,      "mSaveModel",           "&Complete model...",               "",                                  {TCommandKey{Qt::Key_S, kCtrl | kShift}, TCommandKey{Qt::Key_S}}, csPlain, cpSaveMenu,      false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmSaveSelected,      "mSaveSelected",        "&Selected stones only...",         "",                                  Keys(Qt::Key_P),                          csPlain,   cpSaveMenu,      false, cpKeysOnly,      crHasSelection,   rgNone,        0, glNone,        false},
    {TCommandId::cmSaveDisplayed,     "Displayedstonesonly1", "&Displayed stones only...",        "",                                  Keys(),                                   csPlain,   cpSaveMenu,      false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmExportMenu,        "miExport",             "&Export",                          "",                                  Keys(),                                   csSubmenu, cpSaveMenu,      true,  cpExportMenu,    crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmExportComplete,    "miExportModel",        "&Complete model...",               "",                                  Keys(),                                   csPlain,   cpExportMenu,    false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmExportSelected,    "miExportSelected",     "&Selected stones only...",         "",                                  Keys(),                                   csPlain,   cpExportMenu,    false, cpKeysOnly,      crHasSelection,   rgNone,        0, glNone,        false},
    {TCommandId::cmExportDisplayed,   "miExportDisplayed",    "&Displayed stones only...",        "",                                  Keys(),                                   csPlain,   cpExportMenu,    false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmPov,               "POV1",                 "&POV",                             "Picture with POV-Ray",              Keys(),                                   csPlain,   cpOptionsMenu,   false, cpKeysOnly,      crPovRayFound,    rgNone,        0, glNone,        false},
    {TCommandId::cmPartsList,         "Partslist1",           "Pa&rts list...",                   "The stones of the model, counted",   Keys(),                                   csPlain,   cpOptionsMenu,   false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmInstructions,      "Buildinginstructions1", "Building &instructions...",        "A step-by-step booklet of the model", Keys(),                                   csPlain,   cpOptionsMenu,   false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmSafePositioning,   "miSafe",               "&Safe positioning",                "ON to snap on top of other blocks", Keys(Qt::Key_F12),                        csCheck,   cpOptionsMenu,   true,  cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmMakeGroup,         "miGroup",              "&Make group",                      "",                                  Keys(),                                   csPlain,   cpOptionsMenu,   true,  cpKeysOnly,      crCanMakeGroup,   rgNone,        0, glNone,        false},
    {TCommandId::cmBreakGroups,       "miBreak",              "&Break group(s)",                  "",                                  Keys(),                                   csPlain,   cpOptionsMenu,   false, cpKeysOnly,      crCanBreakGroups, rgNone,        0, glNone,        false},
    {TCommandId::cmSelectAll,         "miSelectAll",          "&Select all",                      "",                                  CtrlAnd(Qt::Key_A),                                   csPlain,   cpOptionsMenu,   false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmDeselectAll,       "miDeselectAll",        "Deselect &all",                    "",                                  Keys(),                                   csPlain,   cpOptionsMenu,   false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmSlowRendering,     "miSlow",               "S&low rendering (piece by piece)", "",                                  Keys(),                                   csCheck,   cpOptionsMenu,   true,  cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmWireframeOnRotate, "miWireOnRotate",       "Wireframe on mouse rotate",        "",                                  Keys(),                                   csCheck,   cpOptionsMenu,   false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmHints,             "Hints1",               "&Hints",                           "",                                  Keys(),                                   csCheck,   cpOptionsMenu,   false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmAdvancedToolbox,   "Advancedtoolbox1",     "Advanced &toolbox",                "",                                  Keys(),                                   csCheck,   cpOptionsMenu,   true,  cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    // The stone toolbar.
    {TCommandId::cmPointer,           "btnPointer",           "Select pointer mode",              "Select pointer mode",               Keys(),                                   csCheck,   cpBrickBar,      false, cpKeysOnly,      crAlways,         rgNone,        0, glPointer,     false},
    {TCommandId::cmTransparent,       "btnTransparent",       "Transparent blocks",               "Transparent blocks",                Keys(),                                   csCheck,   cpBrickBar,      false, cpKeysOnly,      crAlways,         rgNone,        0, glRendering,   false},
    {TCommandId::cmChooseColor,       "btnColorDlg",          "Choose color",                     "Choose color",                      Keys(),                                   csPlain,   cpBrickBar,      false, cpKeysOnly,      crAlways,         rgNone,        0, glChooseColor, false},
    {TCommandId::cmAbout,             "btnAbout",             "About",                            "About Stonemill",                   Keys(),                                   csPlain,   cpBrickBar,      false, cpKeysOnly,      crAlways,         rgNone,        0, glAbout,       false},
    // The view toolbar and its rendering menu.
    {TCommandId::cmRotateUp,          "btnRotUp",             "Rotate up",                        "Rotate up",                         Keys(),                                   csPlain,   cpViewBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glRotateUp,    true},
    {TCommandId::cmRotateDown,        "btnRotDown",           "Rotate down",                      "Rotate down",                       Keys(),                                   csPlain,   cpViewBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glRotateDown,  true},
    {TCommandId::cmRotateLeft,        "btnRotLeft",           "Rotate left",                      "Rotate left",                       Keys(),                                   csPlain,   cpViewBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glRotateLeft,  true},
    {TCommandId::cmRotateRight,       "btnRotRight",          "Rotate right",                     "Rotate right",                      Keys(),                                   csPlain,   cpViewBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glRotateRight, true},
    {TCommandId::cmWireframe,         "btnWireFrame",         "Wireframe",                        "Wireframe",                         Keys(Qt::Key_W, Qt::Key_Asterisk | kKeypad), csCheck, cpViewBar,     false, cpKeysOnly,      crAlways,         rgNone,        0, glWireframe,   false},
    {TCommandId::cmRenderingOptions,  "btnWireBase",          "Rendering options",                "Rendering options",                 Keys(Qt::Key_B),                          csMenu,    cpViewBar,       false, cpRenderingMenu, crAlways,         rgNone,        0, glRendering,   false},
    {TCommandId::cmZoomIn,            "btnZoomIn",            "Zoom in",                          "Zoom in",                           Keys(),                                   csPlain,   cpViewBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glZoomIn,      true},
    {TCommandId::cmZoomOut,           "btnZoomOut",           "Zoom out",                         "Zoom out",                          Keys(),                                   csPlain,   cpViewBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glZoomOut,     true},
    {TCommandId::cmZoomToFit,         "btnZoomToFit",         "Zoom to fit",                      "Zoom to fit the whole model",       CtrlAnd(Qt::Key_0),                       csPlain,   cpViewBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glZoomToFit,   false},
    {TCommandId::cmViewKeysMenu,      "btnViewKeys",          "Views",                            "More views, with their keys",       Keys(),                                   csMenu,    cpViewBar,       false, cpViewKeysMenu,  crAlways,         rgNone,        0, glViews,       false},
    {TCommandId::cmNoDetails,         "miNoDetails",          "No details",                       "",                                  Keys(),                                   csRadio,   cpRenderingMenu, false, cpKeysOnly,      crAlways,         rgDetailLevel, 0, glNone,        false},
    {TCommandId::cmMoreDetail,        "miMoreDetail",         "More detail (decorations)",        "",                                  Keys(),                                   csRadio,   cpRenderingMenu, false, cpKeysOnly,      crAlways,         rgDetailLevel, 1, glNone,        false},
    {TCommandId::cmEvenMoreDetail,    "miEvenMoreDetail",     "Even more detail (bitmaps)",       "",                                  Keys(),                                   csRadio,   cpRenderingMenu, false, cpKeysOnly,      crAlways,         rgDetailLevel, 2, glNone,        false},
    {TCommandId::cmShading,           "miShading",            "Shading",                          "",                                  Keys(),                                   csCheck,   cpRenderingMenu, true,  cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmAntiAlias,         "miAntiAlias",          "AntiAlias (slow)",                 "",                                  Keys(),                                   csCheck,   cpRenderingMenu, false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmBitDepthMenu,      "miBitDepth",           "BitDepth",                         "",                                  Keys(),                                   csSubmenu, cpRenderingMenu, false, cpBitDepthMenu,  crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmAdjustLight,       "miLight",              "Adjust light direction...",        "",                                  Keys(),                                   csPlain,   cpRenderingMenu, true,  cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmEdgeDarkening,     "miEdgeFactor",         "Edge darkening...",                "",                                  Keys(),                                   csPlain,   cpRenderingMenu, false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmBackgroundPicture, "miBackgroundPicture",  "Background &picture...",           "",                                  Keys(),                                   csPlain,   cpRenderingMenu, false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmRestoreBackground, "miBackgroundColor",    "Restore background &color",        "",                                  Keys(),                                   csPlain,   cpRenderingMenu, false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmMarkMatching,      "miMark",               "Mark matching blocks",             "",                                  Keys(),                                   csCheck,   cpRenderingMenu, true,  cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmMarkColor,         "miMarkColor",          "Mark matching blocks (AND color)", "",                                  Keys(),                                   csCheck,   cpRenderingMenu, false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmRefreshDisplay,    "miRefresh",            "Refresh display",                  "",                                  Keys(),                                   csPlain,   cpRenderingMenu, true,  cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmBitDepth8,         "mi8bit",               "&8",                               "",                                  Keys(),                                   csRadio,   cpBitDepthMenu,  false, cpKeysOnly,      crAlways,         rgBitDepth,    1, glNone,        false},
    {TCommandId::cmBitDepth16,        "mi16bit",              "&16",                              "",                                  Keys(),                                   csRadio,   cpBitDepthMenu,  false, cpKeysOnly,      crAlways,         rgBitDepth,    2, glNone,        false},
    {TCommandId::cmBitDepth24,        "mi24bit",              "&24",                              "",                                  Keys(),                                   csRadio,   cpBitDepthMenu,  false, cpKeysOnly,      crAlways,         rgBitDepth,    3, glNone,        false},
    {TCommandId::cmBitDepth32,        "mi32bit",              "&32",                              "",                                  Keys(),                                   csRadio,   cpBitDepthMenu,  false, cpKeysOnly,      crAlways,         rgBitDepth,    4, glNone,        false},
    {TCommandId::cmBitDepthDevice,    "miDevice",             "&Device",                          "",                                  Keys(),                                   csRadio,   cpBitDepthMenu,  false, cpKeysOnly,      crAlways,         rgBitDepth,    5, glNone,        false},
    // Keys without a control.
    {TCommandId::cmZoomStepIn,        "ZoomStepIn",           "Zoom in a little",                 "",                                  Keys(Qt::Key_Plus | kKeypad, Qt::Key_Plus, Qt::Key_Equal), csPlain, cpViewKeysMenu, false, cpKeysOnly, crAlways,     rgNone,        0, glNone,        false},
    {TCommandId::cmZoomStepOut,       "ZoomStepOut",          "Zoom out a little",                "",                                  Keys(Qt::Key_Minus | kKeypad, Qt::Key_Minus), csPlain, cpViewKeysMenu, false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    {TCommandId::cmFitFromAbove,      "FitFromAbove",         "Fit the model seen from above",    "",                                  Keys(Qt::Key_T),                          csPlain,   cpViewKeysMenu,      false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    // Ctrl + S saves under the model's own name without asking, where it has one.
    {TCommandId::cmSave,              "SaveModel",            "Save",                             "",                                  CtrlAnd(Qt::Key_S),                       csPlain,   cpKeysOnly,      false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    // While the picture frame is shown, F2 sizes it instead of turning the view.
    {TCommandId::cmPictureSize,       "PictureSize",          "Picture size...",                  "",                                  {TCommandKey{Qt::Key_F2, 0, 0, crFrameShown}}, csPlain, cpKeysOnly,   false, cpKeysOnly,      crFrameShown,     rgNone,        0, glNone,        false},
    // The fixed views' toolbar.
    {TCommandId::cmTopView,           "btnTopView",           "Top view",                         "Top view",                          Keys(Qt::Key_End, Qt::Key_F1),            csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        0, glTopView,     false},
    {TCommandId::cmFromFront,         "btnFromFront",         "From front",                       "From front",                        Keys(Qt::Key_F2),                         csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        1, glFromFront,   false},
    {TCommandId::cmFromRight,         "btnFromRight",         "From right",                       "From right",                        Keys(Qt::Key_F3),                         csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        2, glFromRight,   false},
    {TCommandId::cmFromLeft,          "btnFromLeft",          "From left",                        "From left",                         Keys(Qt::Key_F4),                         csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        3, glFromLeft,    false},
    {TCommandId::cmFromBack,          "btnFromBack",          "From back",                        "From back",                         Keys(Qt::Key_F5),                         csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        4, glFromBack,    false},
    {TCommandId::cmFrontLeft,         "btnFrontLeft",         "Front left",                       "Front left",                        Keys(Qt::Key_F6),                         csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        5, glFrontLeft,   false},
    {TCommandId::cmBackRight,         "btnBackRight",         "Back right",                       "Back right",                        Keys(Qt::Key_F8),                         csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        6, glBackRight,   false},
    {TCommandId::cmBackLeft,          "btnBackLeft",          "Back left",                        "Back left",                         Keys(Qt::Key_F7),                         csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        7, glBackLeft,    false},
    {TCommandId::cmFrontRight,        "btnFrontRight",        "Front right",                      "Front right",                       Keys(Qt::Key_F9),                         csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        8, glFrontRight,  false},
    {TCommandId::cmFrontView,         "btnFrontView",         "Front view",                       "Front view",                        Keys(Qt::Key_F10),                        csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        9, glFrontView,   false},
    {TCommandId::cmRestoreView,       "btnRestoreView",       "R",                                "Restore original view",             Keys(),                                   csPlain,   cpFixedViewsBar, false, cpKeysOnly,      crAlways,         rgNone,        0, glNone,        false},
    // The bottom toolbar and the corner of the view.
    {TCommandId::cmUndo,              "btnUndo",              "Undo",                             "Undo",                              {TCommandKey{Qt::Key_Z, kCtrl, kShift}},  csPlain,   cpMiscBar,       false, cpKeysOnly,      crCanUndo,        rgNone,        0, glUndo,        false},
    {TCommandId::cmRedo,              "btnRedo",              "Redo",                             "Redo",                              {TCommandKey{Qt::Key_Y, kCtrl}, TCommandKey{Qt::Key_Z, kCtrl | kShift}}, csPlain, cpMiscBar, false, cpKeysOnly, crCanRedo, rgNone, 0, glRedo,        false},
    {TCommandId::cmCuttingDialog,     "btnCut",               "Cutting dialog",                   "Cutting dialog",                    Keys(),                                   csCheck,   cpMiscBar,       false, cpKeysOnly,      crAlways,         rgNone,        0, glCut,         false},
    {TCommandId::cmHome,              "btnHome",              "Restore standard view",            "Restore standard view",             Keys(Qt::Key_Home, Qt::Key_C),            csPlain,   cpViewCorner,    false, cpKeysOnly,      crAlways,         rgNone,        0, glHome,        false},
};
// clang-format on

bool Matches(const TCommandKey& binding, int code, int modifiers) {
    return binding.Key == code && (modifiers & binding.Held) == binding.Held &&
           (modifiers & binding.NotHeld) == 0;
}

} // namespace

std::span<const TCommand> Commands() {
    return kCommands;
}

const TCommand& CommandOf(TCommandId id) {
    for (const TCommand& command : kCommands)
        if (command.Id == id)
            return command;
    return kCommands[0]; // every id has a row; not reached
}

const TCommand* CommandOfKey(int key, bool keypad, int modifiers,
                             const std::function<bool(TCommandRule)>& ruleHolds) {
    if (key == 0)
        return nullptr;
    // Navigation keys of the keypad count as the keys they stand for; keypad
    // characters (such as its "*") are keys of their own.
    if (key >= Qt::Key_Escape)
        keypad = false;
    const int code = key | (keypad ? kKeypad : 0);
    modifiers &= ~kKeypad;
    const TCommand* plain = nullptr;
    int plainHeld = -1;
    for (const TCommand& command : kCommands)
        for (const TCommandKey& binding : command.Keys) {
            if (!Matches(binding, code, modifiers))
                continue;
            if (binding.When == crAlways) {
                const int held = std::popcount(static_cast<unsigned>(binding.Held));
                if (held > plainHeld) {
                    plain = &command;
                    plainHeld = held;
                }
            } else if (ruleHolds && ruleHolds(binding.When)) {
                return &command;
            }
        }
    return plain;
}

QString KeysText(const TCommand& command) {
    QStringList names;
    for (const TCommandKey& binding : command.Keys)
        if (binding.Key != 0 && binding.When == crAlways) {
            const QString key =
                QKeySequence((binding.Key & ~kKeypad) | binding.Held).toString(QKeySequence::NativeText);
            names << ((binding.Key & kKeypad) ? "Keypad " + key : key);
        }
    return names.join(", ");
}

bool IsMenu(TCommandPlace place) {
    return place >= cpLoadMenu;
}
