// The fill that walks down both sides of a polygon against the fill by the
// table of edges, span for span, on many random polygons of the kind the
// first one takes (every row crossing two edges), clipped on every side.

#include "raster/fast_draw.h"

#include <gtest/gtest.h>

#include <random>
#include <tuple>
#include <vector>

namespace {

using TSpans = std::vector<std::tuple<int, int, int>>;

class TSpanRecorder final : public TFastDraw {
public:
    explicit TSpanRecorder(TBitmap& bitmap) : TFastDraw(bitmap) { PrepareRows(); }
    void PrepareRows() override { PrepareRowsOf(4); }
    void Segment(const TPoint&, const TPoint&) override {}
    void Line(int, int, int, int) override {}
    void Polygon(const TPoint*, int) override {}
    void Polyline(const TPoint*, int) override {}
    void ClosedPolyline(const TPoint*, int) override {}

    TSpans ByTable(const std::vector<TPoint>& p) {
        TSpans spans;
        FillPolygon(p.data(), static_cast<int>(p.size()),
                    [&](int y, int a, int b) { spans.emplace_back(y, a, b); });
        return spans;
    }
    TSpans BySides(const std::vector<TPoint>& p) {
        TSpans spans;
        FillMonotone(p.data(), static_cast<int>(p.size()),
                     [&](int y, int a, int b) { spans.emplace_back(y, a, b); });
        return spans;
    }
    using TFastDraw::IsMonotone;
};

} // namespace

TEST(FillPaths, WalkingBothSidesGivesTheSpansOfTheEdgeTable) {
    TBitmap bitmap(40, 30, pf32bit);
    TSpanRecorder fill(bitmap);
    std::mt19937 random(4242);
    auto between = [&](int lo, int hi) {
        return lo + static_cast<int>(random() % static_cast<unsigned>(hi - lo + 1));
    };
    int monotone = 0;
    for (int round = 0; round < 20000; ++round) {
        std::vector<TPoint> p(static_cast<size_t>(between(3, 7)));
        const int spread = between(0, 3) == 0 ? 100000 : 60;
        for (TPoint& q : p)
            q = between(0, 5) == 0 ? TPoint{between(-spread, spread), between(-spread, spread)}
                                   : TPoint{between(-10, 50), between(-10, 40)};
        if (between(0, 3) == 0)
            p[1].y = p[0].y; // level edges
        if (p.size() >= 4 && between(0, 3) == 0) { // upright sides, as walls have
            p[2].x = p[1].x;
            p[3].x = p[0].x;
        }
        if (!fill.IsMonotone(p.data(), static_cast<int>(p.size())))
            continue;
        ++monotone;
        ASSERT_EQ(fill.BySides(p), fill.ByTable(p)) << "round " << round;
    }
    EXPECT_GT(monotone, 8000);
}
