#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "editor/editor_view.h"
#include "editor/editor_view_state.h"
#include "model/block_factory.h"
#include "platform/bitmap.h"
#include "view/render_state.h"

TEST(EditorViewState, StepsStopAtTheLimitsWrapAndFollowDrags) {
    TEditorViewState view;
    EXPECT_FLOAT_EQ(view.Tilt, 1.0471976f);
    EXPECT_FLOAT_EQ(view.TurnAngle, 0.5235988f);
    view.ShowOctant(7);
    EXPECT_FLOAT_EQ(view.Tilt, 2.0943952f);
    EXPECT_FLOAT_EQ(view.TurnAngle, 5.7595863f);
    view.Tilt = TEditorViewState::kHighestTilt;
    view.TiltBy(1);
    EXPECT_EQ(view.Tilt, TEditorViewState::kHighestTilt);
    view.Tilt = 0;
    view.TiltBy(-1);
    EXPECT_EQ(view.Tilt, 0.0f);
    view.TurnAngle = 0;
    view.TurnBy(-1); // wraps to a full turn, then steps back from there
    EXPECT_EQ(view.TurnAngle, TEditorViewState::kFullTurn);
    view.TurnBy(-1);
    EXPECT_NEAR(view.TurnAngle, 6.1086524f, 1e-6);
    for (int i = 0; i < 10; ++i)
        view.ZoomBy(-1);
    EXPECT_NEAR(view.Zoom, 0.0f, 1e-6);

    view.Reset();
    const float tilt = view.Tilt, turn = view.TurnAngle;
    view.StartDrag(100, 100);
    EXPECT_FALSE(view.DragTo(110, 90)); // ten pixels: nothing
    EXPECT_TRUE(view.DragTo(111, 89));  // right and up: one step each
    EXPECT_FLOAT_EQ(view.TurnAngle, turn + TEditorViewState::kStep);
    EXPECT_FLOAT_EQ(view.Tilt, tilt + TEditorViewState::kStep);
    EXPECT_FALSE(view.DragTo(121, 89)); // measured from the new point
}

TEST(EditorView, TheStoneIsCentredAndTheSharedViewLeftAsItWas) {
    TRenderState shared;
    shared.SetRotation(30, 0, 200);
    shared.ViewScale = 0.25f;
    shared.ViewOffsetX = 12;
    shared.ComputePassValues();
    const TPoint height20 = shared.Height20;
    TBitmap picture(120, 100, pf32bit);
    TEditorViewState state;
    int octant = -1;
    EXPECT_FALSE(DrawEditorView(picture, nullptr, state, shared, clWhite, octant));
    std::unique_ptr<TBlock> stone(TBlockFactory::Create('B', 0, 0, 0, 2, 1, 3, RGB(200, 0, 0), true, false,
                                                         false, ""));
    ASSERT_TRUE(DrawEditorView(picture, stone.get(), state, shared, clWhite, octant));
    EXPECT_EQ(octant, 0); // tilt 60, turn 30
    // The stone's pixels are spread evenly about the middle.
    int left = picture.Width(), right = -1, top = picture.Height(), bottom = -1;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if ((static_cast<uint32_t*>(picture.ScanLine(y))[x] & 0xFFFFFF) != 0xFFFFFF) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0);
    EXPECT_NEAR((left + right) / 2.0, 60, 3);
    EXPECT_NEAR((top + bottom) / 2.0, 50, 3);
    EXPECT_EQ(shared.RotX(), 30);
    EXPECT_EQ(shared.RotZ(), 200);
    EXPECT_EQ(shared.ViewScale, 0.25f);
    EXPECT_EQ(shared.ViewOffsetX, 12);
    EXPECT_EQ(shared.Height20.y, height20.y);
}
