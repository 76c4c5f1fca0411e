#pragma once
// The pictures on the window's buttons, drawn in code.

#include <QIcon>

enum TGlyph {
    glNone,
    glExit,
    glNewModel,
    glOpen,
    glSave,
    glRotateUp,
    glRotateDown,
    glRotateLeft,
    glRotateRight,
    glWireframe,
    glRendering,
    glZoomIn,
    glZoomOut,
    glZoomToFit,
    glViews,
    glTopView,
    glFromFront,
    glFromRight,
    glFromLeft,
    glFromBack,
    glFrontLeft,
    glBackRight,
    glBackLeft,
    glFrontRight,
    glFrontView,
    glHome,
    glChooseColor,
    glOptions,
    glPointer,
    glUndo,
    glRedo,
    glCamera,
    glPrinter,
    glCut,
    glAbout
};

// The glyph as an icon; a null icon for glNone.
QIcon GlyphIcon(TGlyph glyph);
