#pragma once
// The part editor's picture of its stone: the stone alone, centred in the
// picture, seen with the editor's own zoom, tilt, turn and detail level. The
// shared view lends its colours and shading and is left as it was.

#include "common/color.h"
#include "editor/editor_view_state.h"

class TBitmap;
class TBlock;
class TRenderState;

// Fills the picture with the background and draws the stone; false, with only
// the background, when there is no stone. `octant` gets the octant seen.
bool DrawEditorView(TBitmap& picture, const TBlock* stone, const TEditorViewState& state, TRenderState& shared,
                    TColor background, int& octant);
