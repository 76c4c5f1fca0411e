#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <utility>

#include "view/render_state.h"

TEST(RenderState, OctantsFromTheAngles) {
    TRenderState view;
    view.SetRotation(70, 0, 330);
    EXPECT_EQ(view.Octant(), 3);
    view.SetRotation(0, 0, 359);
    EXPECT_EQ(view.Octant(), 3);
    view.SetRotation(91, 0, 0);
    EXPECT_EQ(view.Octant(), 4);
    // 90 degrees stored as a float lies just above a right angle: seen from below.
    view.SetRotation(90, 0, 100);
    EXPECT_EQ(view.Octant(), 5);
    view.SetRotation(89, 0, 180);
    EXPECT_EQ(view.Octant(), 2);
    view.SetRotation(180, 0, 270);
    EXPECT_EQ(view.Octant(), 7);
    view.SetRotation(45, 0, -10);
    EXPECT_EQ(view.Octant(), 3);
    view.SetRotation(45, 0, 360);
    EXPECT_EQ(view.Octant(), 0);
}

TEST(RenderState, ProjectionOfPlanAndElevation) {
    TRenderState view;
    view.ViewScale = 0.5f;
    view.ViewOffsetX = 400;
    view.ViewOffsetY = 300;
    view.SetRotation(0, 0, 0); // plan: heights do not move points
    EXPECT_EQ(view.ProjectPoint(0, 0, 0), (TPoint{400, 300}));
    EXPECT_EQ(view.ProjectPoint(40, 20, 0), (TPoint{420, 310}));
    EXPECT_EQ(view.ProjectPoint(40, 20, 60), (TPoint{420, 310}));
    // Quarter turn 1 uses rows turned by 90 degrees.
    EXPECT_EQ(view.ProjectPoint(40, 0, 0, 1), (TPoint{400, 280}));
    view.SetRotation(90, 0, 0); // elevation: y does not move points
    EXPECT_EQ(view.ProjectPoint(10, 80, 40), (TPoint{405, 280}));
    EXPECT_EQ(view.ProjectPoint(10, 0, 40), (TPoint{405, 280}));
    // Halves round to the even neighbour.
    view.SetRotation(0, 0, 0);
    view.ViewScale = 1.0f;
    view.ViewOffsetX = 0.5f;
    EXPECT_EQ(view.ProjectPoint(0, 0, 0).x, 0);
    EXPECT_EQ(view.ProjectPoint(1, 0, 0).x, 2);
}

TEST(RenderState, ProjectionRoundsTheScaledProductToSinglePrecision) {
    TRenderState view;
    view.ViewScale = 0.7f;
    view.ViewOffsetX = 512;
    view.ViewOffsetY = 384;
    view.SetRotation(70, 0, 330);
    // Reference computed the same way by hand: rows in float, products in
    // double rounded to float, sums rounded half to even.
    const double pi = 3.14159265358979323846;
    float ax = static_cast<float>(70 * pi / 180), az = static_cast<float>(330 * pi / 180);
    float r0 = static_cast<float>(std::cos(static_cast<double>(az)));
    float r1 = static_cast<float>(std::sin(static_cast<double>(az)));
    float r3 = static_cast<float>(std::sin(static_cast<double>(az)) * std::cos(static_cast<double>(ax)));
    float r4 = static_cast<float>(-std::cos(static_cast<double>(az)) * std::cos(static_cast<double>(ax)));
    float r5 = static_cast<float>(std::sin(static_cast<double>(ax)));
    for (int x = -200; x <= 200; x += 37)
        for (int y = -200; y <= 200; y += 41)
            for (int z = 0; z <= 120; z += 13) {
                float px =
                    static_cast<float>(0.7f * (static_cast<double>(r0) * x + static_cast<double>(r1) * y));
                float py =
                    static_cast<float>(0.7f * (static_cast<double>(r3) * x + static_cast<double>(r4) * y +
                                               static_cast<double>(r5) * z));
                TPoint expected{static_cast<int>(std::nearbyint(512.0 + px)),
                                static_cast<int>(std::nearbyint(384.0 - py))};
                ASSERT_EQ(view.ProjectPoint(x, y, z), expected) << x << "," << y << "," << z;
            }
}

TEST(RenderState, ScreenToModelInvertsTheGroundProjection) {
    TRenderState view;
    view.ViewScale = 1.0f;
    view.ViewOffsetX = 400;
    view.ViewOffsetY = 300;
    view.SetRotation(60, 0, 30);
    for (int x : {0, 40, 200, -160})
        for (int y : {0, 60, -100}) {
            TPoint p = view.ProjectPoint(x, y, 0);
            TGroundPoint g = view.ScreenToModel(p.x, p.y, grQuarter);
            EXPECT_NEAR(g.X, x, 20) << x << "," << y;
            EXPECT_NEAR(g.Y, y, 20) << x << "," << y;
        }
    // Plan view turned by 90 degrees: X0 is zero and the other branch is taken.
    view.SetRotation(0, 0, 90);
    TPoint p = view.ProjectPoint(100, 60, 0);
    TGroundPoint g = view.ScreenToModel(p.x, p.y, grFine);
    EXPECT_NEAR(g.X, 100, 1);
    EXPECT_NEAR(g.Y, 60, 1);
    // A pure side view gives no ground depth: y comes out 0.
    view.SetRotation(90, 0, 0);
    EXPECT_EQ(view.ScreenToModel(500, 200, grFine).Y, 0);
}

TEST(RenderState, GridSnapping) {
    EXPECT_EQ(SnapToGrid(179, grNormal), 160);
    EXPECT_EQ(SnapToGrid(-179, grNormal), -160);
    EXPECT_EQ(SnapToGrid(79, grHalf), 40);
    EXPECT_EQ(SnapToGrid(39, grQuarter), 20);
    EXPECT_EQ(SnapToGrid(-39, grQuarter), -20);
    EXPECT_EQ(SnapToGrid(19, grEighth), 10);
    EXPECT_EQ(SnapToGrid(19, grFine), 19);
    // Heights snap to steps of four, two, one and half a third of a module.
    EXPECT_EQ(SnapHeightToGrid(60, grNormal), 52);
    EXPECT_EQ(SnapHeightToGrid(20, grNormal), 0);
    EXPECT_EQ(SnapHeightToGrid(20, grHalf), 13);
    EXPECT_EQ(SnapHeightToGrid(10, grHalf), 0);
    EXPECT_EQ(SnapHeightToGrid(10, grQuarter), 6);
    EXPECT_EQ(SnapHeightToGrid(10, grEighth), 10);
    EXPECT_EQ(SnapHeightToGrid(27, grFine), 27);
}

TEST(RenderState, ShadesOfTheDefaultLight) {
    TRenderState view;
    EXPECT_FLOAT_EQ(view.FaceShade[foAlongY], 1.0f);
    EXPECT_FLOAT_EQ(view.FaceShade[foAlongX], 0.8f);
    EXPECT_NEAR(view.FaceShade[foFlat], 0.8928, 0.0001);
    EXPECT_NEAR(view.FaceShade[foSlopeY0], 1.0, 0.0001);
    EXPECT_NEAR(view.FaceShade[foSlopeY40], 0.8985, 0.0001); // turned away from the light
    EXPECT_FLOAT_EQ(view.FaceShade[foSlopeX0], view.FaceShade[foSlopeX40]);
    view.Light = {0, 0, 0};
    view.UpdateShades();
    for (float f : view.FaceShade)
        EXPECT_FLOAT_EQ(f, 0.8f);
    EXPECT_FLOAT_EQ(view.ShadeFactor(0, 0, 0), 0.8f);
}

TEST(RenderState, ColourRules) {
    // Red rounds, green and blue truncate.
    EXPECT_EQ(ShadeColor(RGB(255, 255, 255), 0.8f), RGB(204, 204, 204));
    EXPECT_EQ(ShadeColor(RGB(5, 5, 5), 0.5f), RGB(2, 2, 2));
    EXPECT_EQ(ShadeColor(RGB(7, 7, 7), 0.5f), RGB(4, 3, 3));
    EXPECT_EQ(ShadeColor(RGB(100, 150, 200), 1.0f), RGB(100, 150, 200));
    EXPECT_EQ(ShadeColor(RGB(200, 200, 200), 1.5f), RGB(255, 255, 255)); // no spill into the next channel
    EXPECT_EQ(ShadeColor(RGB(200, 200, 200), -1.0f), RGB(0, 0, 0));

    TRenderState view;
    const TColor black = view.BlackStoneColor;
    EXPECT_EQ(view.OutlineColor(black), view.LightEdgeColor);
    EXPECT_EQ(view.OutlineColor(clWhite), view.DarkEdgeColor);
    EXPECT_EQ(view.EdgeColor(RGB(100, 100, 100), clBlack, 0.5f), RGB(50, 50, 50));
    // A black stone darkens its pen instead of its fill.
    EXPECT_EQ(view.EdgeColor(black, RGB(150, 150, 150), 0.5f), RGB(75, 75, 75));
    view.FixedEdgeColors = true;
    EXPECT_EQ(view.EdgeColor(black, clWhite, 0.5f), view.LightEdgeColor);
    EXPECT_EQ(view.EdgeColor(clWhite, clWhite, 0.5f), view.DarkEdgeColor);
}

TEST(RenderState, PassValues) {
    TRenderState view;
    view.ViewScale = 2.0f;
    view.ViewOffsetX = 100;
    view.ViewOffsetY = 100;
    view.SetRotation(60, 0, 0);
    view.ComputePassValues();
    EXPECT_EQ(view.Height20, (TPoint{0, -35}));
    EXPECT_EQ(view.Height3, (TPoint{0, -5}));
    EXPECT_EQ(view.EllipseR, 10);
    EXPECT_EQ(view.EllipseH, 5);
    EXPECT_EQ(view.EllipseR2, 5);
    EXPECT_EQ(view.EllipseH2, 2);
}

TEST(RenderState, AFarModelIsProjectedFromItsAnchorAsPreciselyAsOneNearTheOrigin) {
    // The same stone near the origin and ten million units out, each seen from
    // an anchor at its corner: the same pixels.
    TRenderState near, far;
    for (TRenderState* view : {&near, &far}) {
        view->ViewScale = 3.7f;
        view->ViewOffsetX = 60;
        view->ViewOffsetY = 45;
        view->SetRotation(70, 0, 330);
    }
    constexpr int32_t kFar = 10'000'000;
    far.ViewAnchor = {kFar, -kFar, kFar};
    for (int32_t x : {0, 20})
        for (int32_t y : {0, 20})
            for (int32_t z : {0, 13})
                EXPECT_EQ(far.ProjectPoint(kFar + x, -kFar + y, kFar + z), near.ProjectPoint(x, y, z));
    // A turned stone gives its points in its turned axes, (x, y) -> (-y, x)
    // per quarter turn: the anchor turns with them.
    auto turned = [](int64_t x, int64_t y, int turns) {
        for (; turns > 0; --turns)
            x = -std::exchange(y, x);
        return std::array<int32_t, 2>{static_cast<int32_t>(x), static_cast<int32_t>(y)};
    };
    for (int turn = 1; turn < 4; ++turn)
        for (int32_t x : {0, 20}) {
            const auto [fx, fy] = turned(kFar + x, -kFar + 7, turn);
            const auto [nx, ny] = turned(x, 7, turn);
            EXPECT_EQ(far.ProjectPoint(fx, fy, kFar, turn), near.ProjectPoint(nx, ny, 0, turn)) << turn;
            EXPECT_EQ(near.ProjectPoint(nx, ny, 0, turn), near.ProjectPoint(x, 7, 0)) << turn;
        }
    near.ComputePassValues();
    far.ComputePassValues();
    EXPECT_EQ(far.Height20, near.Height20);
    EXPECT_EQ(far.Height3, near.Height3);
    // Without the anchor, single precision at 37 million pixels loses them.
    TRenderState& plain = near;
    int differ = 0;
    for (int32_t x = 0; x < 20; ++x)
        differ += plain.ProjectPoint(kFar + x, -kFar, kFar).x - plain.ProjectPoint(kFar, -kFar, kFar).x !=
                  near.ProjectPoint(x, 0, 0).x - near.ProjectPoint(0, 0, 0).x;
    EXPECT_GT(differ, 0);

    // The ground point under a screen point is found from the anchor too,
    // with the ground as far below it as the anchor is high.
    far.ViewAnchor = {kFar, -kFar, 0};
    for (int sx : {10, 60, 97})
        for (int sy : {5, 45, 80}) {
            const TGroundPoint n = near.ScreenToModel(sx, sy, grFine);
            const TGroundPoint g = far.ScreenToModel(sx, sy, grFine);
            EXPECT_EQ(g.X, n.X + kFar);
            EXPECT_EQ(g.Y, n.Y - kFar);
        }
    far.ViewAnchor = {0, 0, 20};
    const TPoint ground = far.ProjectPoint(40, 60, 0);
    const TGroundPoint under = far.ScreenToModel(ground.x, ground.y, grQuarter);
    EXPECT_NEAR(under.X, 40, 20);
    EXPECT_NEAR(under.Y, 60, 20);
}

TEST(RenderState, PointsBeyondTheScreenLimitAreHeldThereNotWrapped) {
    TRenderState view;
    view.SetRotation(0, 0, 0);
    view.ViewScale = 1000.0f;
    view.ViewOffsetX = 100;
    view.ViewOffsetY = 100;
    const TPoint far = view.ProjectPoint(20'000'000, -20'000'000, 0);
    EXPECT_EQ(far.x, kLargestScreenCoordinate);
    EXPECT_EQ(far.y, -kLargestScreenCoordinate);
    const TPoint back = view.ProjectPoint(-20'000'000, 20'000'000, 0);
    EXPECT_EQ(back.x, -kLargestScreenCoordinate);
    EXPECT_EQ(back.y, kLargestScreenCoordinate);
    EXPECT_EQ(view.ProjectPoint(1000, 0, 0).x, 1'000'100);
}
