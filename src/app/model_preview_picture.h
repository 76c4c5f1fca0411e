#pragma once
// The preview picture saved beside a model file, which the open dialog shows
// so that a model is known before it is opened: the stones seen from the
// view's angles, fitted into 400 x 300 pixels as the shipped models' pictures
// are, anti-aliased, over the view's background colour.

#include "common/color.h"

class TBitmap;
class TBlockList;
class TRenderState;

constexpr int kModelPreviewWidth = 400;
constexpr int kModelPreviewHeight = 300;

// Draws the stones fitted into the picture (32 bits, at its size) without
// their selection and matching marks. The view and the stones are left as
// they were, also when drawing fails.
void DrawModelPreview(TBitmap& picture, TBlockList& stones, TRenderState& view, TColor background);
