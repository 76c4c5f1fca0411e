#include <gtest/gtest.h>

#include <memory>

#include "app/view_controller.h"
#include "model/block_factory.h"
#include "model/block_list.h"
#include "view/render_state.h"

namespace {

struct TCountedView {
    TRenderState View;
    TViewController Control{View};
    int Redraws = 0;
    TCountedView() {
        Control.OnRedraw = [this] {
            if (!View.SuppressRedraw)
                ++Redraws;
        };
        Control.Resize(400, 300);
    }
};

} // namespace

TEST(ViewController, StartsFrontRightAtHalfZoom) {
    TCountedView v;
    EXPECT_EQ(v.Control.RotX().Position, 70);
    EXPECT_EQ(v.Control.RotZ().Position, 330);
    EXPECT_EQ(v.Control.ZoomText(), "50");
    EXPECT_EQ(v.View.Octant(), 3);
    EXPECT_EQ(v.Control.Recorded().RotX, 70);
    EXPECT_EQ(v.Control.Recorded().RotZ, 330);
    EXPECT_EQ(v.View.ViewOffsetX, 200.0f);
    EXPECT_EQ(v.View.ViewOffsetY, 150.0f);
}

TEST(ViewController, RotateButtonsWrapTheTurnAndClampTheTilt) {
    TCountedView v;
    v.Control.SetViewAngles(180, 0);
    v.Redraws = 0;
    v.Control.RotateLeft();
    EXPECT_EQ(v.Control.RotZ().Position, 355);
    v.Control.SetRotZ(360);
    v.Control.RotateRight();
    EXPECT_EQ(v.Control.RotZ().Position, 5);
    v.Control.RotateUp(); // at 180 already: nothing moves, nothing is drawn
    EXPECT_EQ(v.Control.RotX().Position, 180);
    EXPECT_EQ(v.Redraws, 3);
    v.Control.SetRotX(0);
    v.Control.RotateDown();
    EXPECT_EQ(v.Control.RotX().Position, 0);
    v.Control.SetRotX(500);
    EXPECT_EQ(v.Control.RotX().Position, 180);
    v.Control.SetOffsetX(9000);
    EXPECT_EQ(v.Control.OffsetX().Position, 5000);
}

TEST(ViewController, FixedViewsDrawOnceAndKeepTheOtherAngle) {
    TCountedView v;
    v.Control.SetViewAngles(45, 100);
    v.Redraws = 0;
    v.Control.FixedView(0); // Top view keeps the turn
    EXPECT_EQ(v.Control.RotX().Position, 0);
    EXPECT_EQ(v.Control.RotZ().Position, 100);
    EXPECT_EQ(v.Redraws, 1);
    v.Control.FixedView(1); // From front keeps the tilt
    EXPECT_EQ(v.Control.RotX().Position, 0);
    EXPECT_EQ(v.Control.RotZ().Position, 0);
    v.Control.FixedView(6); // Back right
    EXPECT_EQ(v.Control.RotX().Position, 70);
    EXPECT_EQ(v.Control.RotZ().Position, 210);
    EXPECT_EQ(v.Redraws, 3);
    EXPECT_FALSE(v.View.SuppressRedraw);
    EXPECT_FALSE(v.View.SkipPainting);
    v.Control.FixedView(9);
    EXPECT_EQ(v.Control.RotX().Position, 90);
    EXPECT_EQ(v.View.Octant(), 6); // a float 90 degrees lies just past the side view
}

TEST(ViewController, RestoreAndRecord) {
    TCountedView v;
    v.Control.SetZoom(2.0f);
    v.Control.SetViewAngles(10, 20);
    v.Control.SetOffsetX(30);
    v.Redraws = 0;
    v.Control.RestoreView();
    EXPECT_EQ(v.Redraws, 1);
    EXPECT_EQ(v.Control.RotX().Position, 70);
    EXPECT_EQ(v.Control.RotZ().Position, 330);
    EXPECT_EQ(v.Control.OffsetX().Position, 0);
    EXPECT_EQ(v.Control.Zoom(), 2.0f); // the zoom stays
    v.Control.SetViewAngles(15, 25);
    v.Control.RecordView();
    v.Control.SetViewAngles(0, 0);
    v.Control.RestoreView();
    EXPECT_EQ(v.Control.RotX().Position, 15);
}

TEST(ViewController, ZoomAndWheel) {
    TCountedView v;
    v.Control.ZoomIn();
    EXPECT_EQ(v.Control.ZoomText(), "55");
    v.Control.ZoomOut();
    EXPECT_NEAR(v.Control.Zoom(), 0.5f, 1e-6);
    EXPECT_EQ(v.Control.ZoomText(), "50");
    v.Redraws = 0;
    v.Control.Wheel(-120); // rolling down zooms in
    EXPECT_GT(v.Control.Zoom(), 0.5f);
    v.Control.Wheel(120);
    v.Control.Wheel(120);
    EXPECT_LT(v.Control.Zoom(), 0.5f);
    EXPECT_EQ(v.Redraws, 3);
    v.Control.MouseRotate(0, 0);
    EXPECT_EQ(v.Redraws, 3);
    v.Control.SetViewAngles(170, 355);
    v.Control.MouseRotate(10, -20); // turn wraps past 360 to 0, tilt clamps at 180
    EXPECT_EQ(v.Control.RotZ().Position, 0);
    EXPECT_EQ(v.Control.RotX().Position, 180);
}

TEST(ViewController, CenterModelMovesOnlyTheOffsets) {
    TCountedView v;
    // The list does not own its stone: it lives as long as the test.
    std::unique_ptr<TBlock> stone =
        TBlockFactory::Create('B', 10, 10, 0, 2, 2, 3, 0, false, false, false, "");
    TBlockList model;
    model.Add(stone.get());
    v.Control.SetViewAngles(60, 30);
    v.Redraws = 0;
    v.Control.CenterModel(model, false);
    EXPECT_EQ(v.Redraws, 1);
    EXPECT_EQ(v.Control.RotX().Position, 60);
    EXPECT_EQ(v.Control.Zoom(), 0.5f);
    const TPoint centre = v.View.ProjectPoint(220, 220, 10);
    EXPECT_NEAR(centre.x, 200, 1);
    EXPECT_NEAR(centre.y, 150, 1);

    // Fit from straight above: the model fills nine tenths of the narrower side.
    v.Control.SetViewAngles(0, 0);
    v.Control.CenterModel(model, true);
    EXPECT_NEAR(v.Control.Zoom(), 0.9f * 300 / 40, 0.01);
    v.Control.FitModel(model);
    EXPECT_NEAR(v.Control.Zoom(), 0.9f * 300 / 40, 0.01);

    TBlockList empty;
    v.Control.CenterModel(empty, false);
    EXPECT_EQ(v.Control.Zoom(), 0.5f);
}

TEST(ViewController, AModelBeyondTheOffsetsReachIsCentredFromItsOwnCentre) {
    TCountedView v;
    std::unique_ptr<TBlock> stone = TBlockFactory::Create('B', 0, 0, 0, 1, 1, 3, 0, false, false, false, "");
    TBlockList model;
    model.Add(stone.get());
    // Near the origin the view is laid out from the origin, as always.
    v.Control.FitModel(model);
    EXPECT_EQ(v.View.ViewAnchor, (TPoint3D{0, 0, 0}));
    const float nearZoom = v.Control.Zoom();

    // Ten million units out, and at every distance between, the stone is
    // fitted and centred, its offsets within their scroll range.
    for (int32_t far : {5000, 1'000'000, 10'000'000, -10'000'000}) {
        stone->X = stone->Y = stone->Z = far;
        v.Control.FitModel(model);
        EXPECT_NEAR(v.Control.Zoom(), nearZoom, nearZoom / 10) << far;
        const TPoint centre = v.View.ProjectPoint(far + 10, far + 10, far + 10);
        EXPECT_NEAR(centre.x, 200, 1) << far;
        EXPECT_NEAR(centre.y, 150, 1) << far;
        EXPECT_LE(std::abs(v.Control.OffsetX().Position), 5000);
        EXPECT_EQ(v.View.ViewAnchor, (TPoint3D{far + 10, far + 10, far + 10})) << far;
    }
    // Restoring the view, or taking one from a model file, starts from the origin again.
    v.Control.RestoreView();
    EXPECT_EQ(v.View.ViewAnchor, (TPoint3D{0, 0, 0}));
    stone->X = stone->Y = stone->Z = 0;
    v.Control.CenterModel(model, true);
    EXPECT_EQ(v.View.ViewAnchor, (TPoint3D{0, 0, 0}));
}
