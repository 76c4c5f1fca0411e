#pragma once
// Where a window opens: wherever it was told to go (a place worked out beside
// something that lies far off the screen, or one remembered from a larger
// screen), it opens where the user can see and reach it.

#include "platform/point.h"

// The window's rectangle moved, keeping its size, so that it lies on the
// screen's rectangle (the part of the screen windows may take). A window
// larger than the screen keeps its top-left corner, with its title bar, on
// the screen.
TRect KeepOnScreen(const TRect& window, const TRect& screen);
