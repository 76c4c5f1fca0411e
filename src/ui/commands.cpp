#include "ui/commands.h"

#include <Qt>

namespace {

constexpr int kKeypad = Qt::KeypadModifier;

// clang-format off
const TCommand kCommands[] = {
    // Columns: id, control name, caption, hint, keys, style, tag, glyph, repeats while held.
    {TCommandId::cmExit,              "ExitButton",           "Exit",                             "Exit",                              {},                                                    csPlain, 0, glExit,        false},
    {TCommandId::cmNewModel,          "btnClear",             "New model",                        "New model",                         {Qt::Key_E},                                           csPlain, 0, glNewModel,    false},
    {TCommandId::cmLoadMenu,          "btnOpen",              "Load",                             "Load a model or sub-assembly",      {},                                                    csMenu,  0, glOpen,        false},
    {TCommandId::cmLoadComplete,      "mNewmodel",            "&Complete model...",               "",                                  {Qt::Key_F, Qt::Key_G, Qt::Key_H},                     csPlain, 0, glNone,        false},
    {TCommandId::cmLoadSubassembly,   "mSubassembly",         "&Subassembly...",                  "",                                  {Qt::Key_M},                                           csPlain, 0, glNone,        false},
    {TCommandId::cmBreakUpScene,      "Breakupascene1",       "Break up a scene...",              "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmLoadSet,           "Loadaset1",            "Load a &set...",                   "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmInfiniteSupply,    "Infinitesupply1",      "Infinite supply",                  "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmSaveMenu,          "btnSave",              "Save",                             "Save model (or selection)",         {},                                                    csMenu,  0, glSave,        false},
    {TCommandId::cmSaveComplete,      "mSaveModel",           "&Complete model...",               "",                                  {Qt::Key_S},                                           csPlain, 0, glNone,        false},
    {TCommandId::cmSaveSelected,      "mSaveSelected",        "&Selected stones only...",         "",                                  {Qt::Key_P},                                           csPlain, 0, glNone,        false},
    {TCommandId::cmSaveDisplayed,     "Displayedstonesonly1", "&Displayed stones only...",        "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmSavePicture,       "btnSavePic",           "Save picture",                     "Save picture",                      {},                                                    csCheck, 0, glCamera,      false},
    {TCommandId::cmPrint,             "btnPrint",             "Print",                            "Print",                             {},                                                    csPlain, 0, glPrinter,     false},
    {TCommandId::cmOptionsMenu,       "btnOptions",           "Options",                          "Options",                           {},                                                    csMenu,  0, glOptions,     false},
    {TCommandId::cmPov,               "POV1",                 "&POV",                             "Picture with POV-Ray",              {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmSafePositioning,   "miSafe",               "&Safe positioning",                "ON to snap on top of other blocks", {Qt::Key_F12},                                         csCheck, 0, glNone,        false},
    {TCommandId::cmMakeGroup,         "miGroup",              "&Make group",                      "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmBreakGroups,       "miBreak",              "&Break group(s)",                  "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmSelectAll,         "miSelectAll",          "&Select all",                      "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmDeselectAll,       "miDeselectAll",        "Deselect &all",                    "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmSlowRendering,     "miSlow",               "S&low rendering (piece by piece)", "",                                  {},                                                    csCheck, 0, glNone,        false},
    {TCommandId::cmWireframeOnRotate, "miWireOnRotate",       "Wireframe on mouse rotate",        "",                                  {},                                                    csCheck, 0, glNone,        false},
    {TCommandId::cmHints,             "Hints1",               "&Hints",                           "",                                  {},                                                    csCheck, 0, glNone,        false},
    {TCommandId::cmAdvancedToolbox,   "Advancedtoolbox1",     "Advanced &toolbox",                "",                                  {},                                                    csCheck, 0, glNone,        false},
    {TCommandId::cmPointer,           "btnPointer",           "Select pointer mode",              "Select pointer mode",               {},                                                    csCheck, 0, glPointer,     false},
    {TCommandId::cmTransparent,       "btnTransparent",       "Transparent blocks",               "Transparent blocks",                {},                                                    csCheck, 0, glRendering,   false},
    {TCommandId::cmChooseColor,       "btnColorDlg",          "Choose color",                     "Choose color",                      {},                                                    csPlain, 0, glChooseColor, false},
    {TCommandId::cmAbout,             "btnAbout",             "About",                            "About Stonemill",                   {},                                                    csPlain, 0, glAbout,       false},
    {TCommandId::cmUndo,              "btnUndo",              "Undo",                             "Undo",                              {},                                                    csPlain, 0, glUndo,        false},
    {TCommandId::cmRedo,              "btnRedo",              "Redo",                             "Redo",                              {},                                                    csPlain, 0, glRedo,        false},
    {TCommandId::cmCuttingDialog,     "btnCut",               "Cutting dialog",                   "Cutting dialog",                    {},                                                    csCheck, 0, glCut,         false},
    {TCommandId::cmRotateUp,          "btnRotUp",             "Rotate up",                        "Rotate up",                         {},                                                    csPlain, 0, glRotateUp,    true},
    {TCommandId::cmRotateDown,        "btnRotDown",           "Rotate down",                      "Rotate down",                       {},                                                    csPlain, 0, glRotateDown,  true},
    {TCommandId::cmRotateLeft,        "btnRotLeft",           "Rotate left",                      "Rotate left",                       {},                                                    csPlain, 0, glRotateLeft,  true},
    {TCommandId::cmRotateRight,       "btnRotRight",          "Rotate right",                     "Rotate right",                      {},                                                    csPlain, 0, glRotateRight, true},
    {TCommandId::cmWireframe,         "btnWireFrame",         "Wireframe",                        "Wireframe",                         {Qt::Key_W, Qt::Key_Asterisk | kKeypad},               csCheck, 0, glWireframe,   false},
    {TCommandId::cmRenderingOptions,  "btnWireBase",          "Rendering options",                "Rendering options",                 {Qt::Key_B},                                           csMenu,  0, glRendering,   false},
    {TCommandId::cmNoDetails,         "miNoDetails",          "No details",                       "",                                  {},                                                    csRadio, 0, glNone,        false},
    {TCommandId::cmMoreDetail,        "miMoreDetail",         "More detail (decorations)",        "",                                  {},                                                    csRadio, 1, glNone,        false},
    {TCommandId::cmEvenMoreDetail,    "miEvenMoreDetail",     "Even more detail (bitmaps)",       "",                                  {},                                                    csRadio, 2, glNone,        false},
    {TCommandId::cmShading,           "miShading",            "Shading",                          "",                                  {},                                                    csCheck, 0, glNone,        false},
    {TCommandId::cmAntiAlias,         "miAntiAlias",          "AntiAlias (slow)",                 "",                                  {},                                                    csCheck, 0, glNone,        false},
    {TCommandId::cmBitDepth8,         "mi8bit",               "&8",                               "",                                  {},                                                    csRadio, 1, glNone,        false},
    {TCommandId::cmBitDepth16,        "mi16bit",              "&16",                              "",                                  {},                                                    csRadio, 2, glNone,        false},
    {TCommandId::cmBitDepth24,        "mi24bit",              "&24",                              "",                                  {},                                                    csRadio, 3, glNone,        false},
    {TCommandId::cmBitDepth32,        "mi32bit",              "&32",                              "",                                  {},                                                    csRadio, 4, glNone,        false},
    {TCommandId::cmBitDepthDevice,    "miDevice",             "&Device",                          "",                                  {},                                                    csRadio, 5, glNone,        false},
    {TCommandId::cmRefreshDisplay,    "miRefresh",            "Refresh display",                  "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmAdjustLight,       "miLight",              "Adjust light direction...",        "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmEdgeDarkening,     "miEdgeFactor",         "Edge darkening...",                "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmBackgroundPicture, "miBackgroundPicture",  "Background &picture...",           "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmRestoreBackground, "miBackgroundColor",    "Restore background &color",        "",                                  {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmMarkMatching,      "miMark",               "Mark matching blocks",             "",                                  {},                                                    csCheck, 0, glNone,        false},
    {TCommandId::cmMarkColor,         "miMarkColor",          "Mark matching blocks (AND color)", "",                                  {},                                                    csCheck, 0, glNone,        false},
    {TCommandId::cmZoomIn,            "btnZoomIn",            "Zoom in",                          "Zoom in",                           {},                                                    csPlain, 0, glZoomIn,      true},
    {TCommandId::cmZoomOut,           "btnZoomOut",           "Zoom out",                         "Zoom out",                          {},                                                    csPlain, 0, glZoomOut,     true},
    {TCommandId::cmZoomStepIn,        "ZoomStepIn",           "Zoom in a little",                 "",                                  {Qt::Key_Plus | kKeypad, Qt::Key_Plus, Qt::Key_Equal}, csPlain, 0, glNone,        false},
    {TCommandId::cmZoomStepOut,       "ZoomStepOut",          "Zoom out a little",                "",                                  {Qt::Key_Minus | kKeypad, Qt::Key_Minus},              csPlain, 0, glNone,        false},
    {TCommandId::cmFitFromAbove,      "FitFromAbove",         "Fit the model seen from above",    "",                                  {Qt::Key_T},                                           csPlain, 0, glNone,        false},
    {TCommandId::cmTopView,           "btnTopView",           "Top view",                         "Top view",                          {Qt::Key_End, Qt::Key_F1},                             csPlain, 0, glTopView,     false},
    {TCommandId::cmFromFront,         "btnFromFront",         "From front",                       "From front",                        {Qt::Key_F2},                                          csPlain, 1, glFromFront,   false},
    {TCommandId::cmFromRight,         "btnFromRight",         "From right",                       "From right",                        {Qt::Key_F3},                                          csPlain, 2, glFromRight,   false},
    {TCommandId::cmFromLeft,          "btnFromLeft",          "From left",                        "From left",                         {Qt::Key_F4},                                          csPlain, 3, glFromLeft,    false},
    {TCommandId::cmFromBack,          "btnFromBack",          "From back",                        "From back",                         {Qt::Key_F5},                                          csPlain, 4, glFromBack,    false},
    {TCommandId::cmFrontLeft,         "btnFrontLeft",         "Front left",                       "Front left",                        {Qt::Key_F6},                                          csPlain, 5, glFrontLeft,   false},
    {TCommandId::cmBackRight,         "btnBackRight",         "Back right",                       "Back right",                        {Qt::Key_F8},                                          csPlain, 6, glBackRight,   false},
    {TCommandId::cmBackLeft,          "btnBackLeft",          "Back left",                        "Back left",                         {Qt::Key_F7},                                          csPlain, 7, glBackLeft,    false},
    {TCommandId::cmFrontRight,        "btnFrontRight",        "Front right",                      "Front right",                       {Qt::Key_F9},                                          csPlain, 8, glFrontRight,  false},
    {TCommandId::cmFrontView,         "btnFrontView",         "Front view",                       "Front view",                        {Qt::Key_F10},                                         csPlain, 9, glFrontView,   false},
    {TCommandId::cmRestoreView,       "btnRestoreView",       "R",                                "Restore original view",             {},                                                    csPlain, 0, glNone,        false},
    {TCommandId::cmHome,              "btnHome",              "Restore standard view",            "Restore standard view",             {Qt::Key_Home, Qt::Key_C},                             csPlain, 0, glHome,        false},
};
// clang-format on

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

const TCommand* CommandOfKey(int key, bool keypad) {
    if (key == 0)
        return nullptr;
    // Navigation keys of the keypad count as the keys they stand for; keypad
    // characters (such as its "*") are keys of their own.
    if (key >= Qt::Key_Escape)
        keypad = false;
    const int code = key | (keypad ? kKeypad : 0);
    for (const TCommand& command : kCommands)
        for (int k : command.Keys)
            if (k == code)
                return &command;
    return nullptr;
}
