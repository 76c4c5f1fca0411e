#include <gtest/gtest.h>

#include "editor/editor_view_state.h"

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
