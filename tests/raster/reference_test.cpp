// Many random polygons and lines, drawn by the rasteriser and by a slow reference
// that decides every pixel on its own from the drawing rules: closed formulas for
// the line steps and the edge positions instead of the rasteriser's running sums,
// and a per-pixel test instead of stepping. The seed is fixed.

#include "raster/draw_object.h"
#include "raster_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <random>
#include <sstream>

namespace {

int SaturatedInt(double v) {
    return v <= INT_MIN ? INT_MIN : v >= INT_MAX ? INT_MAX : static_cast<int>(v);
}

class TReferencePicture {
public:
    explicit TReferencePicture(TBitmap& b)
        : W(b.Width()), H(b.Height()), Pf(b.PixelFormat()), Left(1), Top(1), Right(W - 1), Bottom(H - 2) {
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                Pixels.push_back(RawPixel(b, x, y));
    }

    int W, H;
    TPixelFormat Pf;
    int Left, Top, Right, Bottom;
    std::vector<uint32_t> Pixels;
    bool Mixing = false;
    TPoint PenPos;

    uint32_t At(int x, int y) const { return Pixels[static_cast<size_t>(y * W + x)]; }

    void MoveTo(TPoint p) { PenPos = p; }
    void LineTo(TPoint p, TColor pen) {
        Segment(PenPos, p, pen);
        PenPos = p;
    }
    void Line(TPoint a, TPoint b, TColor pen) {
        TPoint end;
        Apply(LinePixels(a, b, end), PixelOf(Pf, pen));
        PenPos = end;
    }
    void Segment(TPoint a, TPoint b, TColor pen) {
        TPoint end;
        Apply(LinePixels(a, b, end), PixelOf(Pf, pen));
    }
    void Polyline(const std::vector<TPoint>& p, TColor pen, bool closed) {
        if (p.empty())
            return;
        for (size_t i = 0; i + 1 < p.size(); ++i)
            Segment(p[i], p[i + 1], pen);
        if (closed)
            Segment(p.back(), p.front(), pen);
        PenPos = closed ? p.front() : p.back();
    }
    void Polygon(const std::vector<TPoint>& p, TColor pen, TColor brush, TBrushStyle style) {
        Mixing = style == bsDiagCross;
        if (p.empty())
            return;
        if (p.size() >= 3 && style != bsClear)
            Apply(FillCounts(p), PixelOf(Pf, brush));
        Polyline(p, pen, true);
        PenPos = p.back();
    }

private:
    bool InBox(int64_t x, int64_t y) const { return x >= Left && x <= Right && y >= Top && y <= Bottom; }

    void Apply(const std::vector<int>& counts, uint32_t color) {
        for (size_t i = 0; i < counts.size(); ++i)
            for (int n = 0; n < counts[i]; ++n)
                Pixels[i] = Mixing ? MixOf(Pf, color, Pixels[i]) : color;
    }

    // Each end clipped on its own: across x, then across y, along the slope of
    // the whole line.
    void ClipEnd(double& x, double& y, unsigned& code, double x1, double y1, double dx, double dy) const {
        if (x < Left) {
            code |= 1;
            if (dx != 0) {
                y = std::floor(y1 + (dy / dx) * (Left - x1));
                x = Left;
            }
        } else if (x > Right) {
            code |= 2;
            if (dx != 0) {
                y = std::floor(y1 + (dy / dx) * (Right - x1));
                x = Right;
            }
        }
        if (y < Top) {
            code |= 4;
            if (dy != 0) {
                x = std::floor(x + (dx / dy) * (Top - y));
                y = Top;
            }
        } else if (y > Bottom) {
            code |= 8;
            if (dy != 0) {
                x = std::floor(x + (dx / dy) * (Bottom - y));
                y = Bottom;
            }
        }
    }

    // One count per pixel of the line: pixel k along the major axis lies
    // round-half-up(k * minor / major) steps along the minor axis; pixels run from
    // the clipped start to the clipped end (or on, when clipping put the end behind
    // the start) and only inside the box.
    std::vector<int> LinePixels(TPoint a, TPoint b, TPoint& end) const {
        std::vector<int> counts(Pixels.size(), 0);
        const double x1 = a.x, y1 = a.y;
        const double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
        double sx = a.x, sy = a.y, ex = b.x, ey = b.y;
        unsigned c1 = 0, c2 = 0;
        ClipEnd(sx, sy, c1, x1, y1, dx, dy);
        ClipEnd(ex, ey, c2, x1, y1, dx, dy);
        end = TPoint{SaturatedInt(ex), SaturatedInt(ey)};
        if ((c1 & c2) != 0 || !InBox(static_cast<int64_t>(sx), static_cast<int64_t>(sy)) ||
            sx != std::floor(sx))
            return counts;
        const int64_t adx = std::llabs(static_cast<int64_t>(b.x) - a.x);
        const int64_t ady = std::llabs(static_cast<int64_t>(b.y) - a.y);
        const bool xMajor = 2 * ady < 2 * adx;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                if (!InBox(x, y))
                    continue;
                const int dir = xMajor ? (dx > 0 ? 1 : -1) : (dy >= 0 ? 1 : -1);
                const double along = xMajor ? (x - sx) * dir : (y - sy) * dir;
                const double toEnd = xMajor ? (ex - sx) * dir : (ey - sy) * dir;
                if (along < 0 || (toEnd >= 0 && along > toEnd))
                    continue;
                const int64_t k = static_cast<int64_t>(along);
                const int64_t major = xMajor ? adx : ady, minor = xMajor ? ady : adx;
                const int64_t across = major == 0 ? 0 : (2 * minor * k + major) / (2 * major);
                if (xMajor ? y == sy + (dy > 0 ? 1 : -1) * across : x == sx + (dx >= 0 ? 1 : -1) * across)
                    ++counts[static_cast<size_t>(y * W + x)];
            }
        return counts;
    }

    // How many spans cover each pixel. An edge covers the rows from its top to just
    // above its bottom; from the row it is entered on, its x is the rounded-down
    // position there plus the whole pixels its slope has run since.
    std::vector<int> FillCounts(const std::vector<TPoint>& p) const {
        std::vector<int> counts(Pixels.size(), 0);
        int minY = INT_MAX, maxY = INT_MIN;
        for (const TPoint& q : p) {
            minY = std::min(minY, q.y);
            maxY = std::max(maxY, q.y);
        }
        const int first = std::max(Top, minY), last = std::min(Bottom, maxY);
        for (int y = first; y <= last; ++y) {
            std::vector<int64_t> xs;
            for (size_t i = 0; i < p.size(); ++i) {
                const TPoint& u = p[i];
                const TPoint& v = p[(i + 1) % p.size()];
                if (u.y == v.y)
                    continue;
                const TPoint& top = u.y < v.y ? u : v;
                const TPoint& bottom = u.y < v.y ? v : u;
                if (y < top.y || y >= bottom.y)
                    continue;
                const int64_t entry = std::max(top.y, first);
                const int64_t x0 = static_cast<int64_t>(std::floor((static_cast<double>(bottom.x) - top.x) /
                                                                   (static_cast<double>(bottom.y) - top.y) *
                                                                   (static_cast<double>(entry) - top.y))) +
                                   top.x;
                const int64_t spanX = std::llabs(static_cast<int64_t>(bottom.x) - top.x);
                const int64_t spanY = static_cast<int64_t>(bottom.y) - top.y;
                const int64_t run = (y - entry) * spanX / spanY;
                xs.push_back(bottom.x >= top.x ? x0 + run : x0 - run);
            }
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2)
                for (int x = Left; x <= Right; ++x)
                    if (x >= xs[i] && x <= xs[i + 1])
                        ++counts[static_cast<size_t>(y * W + x)];
        }
        return counts;
    }
};

class TRandom {
public:
    explicit TRandom(uint32_t seed) : FEngine(seed) {}
    int Between(int lo, int hi) {
        return static_cast<int>(
            lo + static_cast<int64_t>(FEngine() % (static_cast<uint64_t>(int64_t{hi} - lo) + 1)));
    }
    uint32_t Bits() { return FEngine(); }
    // Mostly near the picture, sometimes far away, now and then at the ends of the int range.
    int Coordinate(int size) {
        const int kind = Between(0, 19);
        if (kind < 14)
            return Between(-12, size + 12);
        if (kind < 18)
            return Between(-3000, 3000);
        const int extremes[] = {INT_MIN, INT_MIN + 1, -(1 << 30), 1 << 30, INT_MAX - 1, INT_MAX};
        return kind == 18 ? extremes[Between(0, 5)] : Between(-2000000000, 2000000000);
    }
    TPoint Point(int w, int h) { return TPoint{Coordinate(w), Coordinate(h)}; }
    // A long, nearly level or nearly upright line from near the picture: clipping
    // its far end twice can leave that end outside the box or behind the start.
    std::pair<TPoint, TPoint> ShallowLine(int w, int h) {
        const TPoint a{Between(-2, w + 1), Between(-2, h + 1)};
        const int far = Between(20, 100000) * (Between(0, 1) ? 1 : -1);
        const int near = Between(-2, 2);
        if (Between(0, 1))
            return {a, TPoint{a.x + far, a.y + near}};
        return {a, TPoint{a.x + near, a.y + far}};
    }
    std::vector<TPoint> Points(int count, int w, int h) {
        std::vector<TPoint> p;
        for (int i = 0; i < count; ++i)
            p.push_back(Point(w, h));
        return p;
    }
    TColor Color() {
        if (Between(0, 15) == 0)
            return clBtnFace;
        return RGB(Between(0, 255), Between(0, 255), Between(0, 255));
    }

private:
    std::mt19937 FEngine;
};

std::string Describe(const std::vector<TPoint>& p) {
    std::ostringstream s;
    for (const TPoint& q : p)
        s << "(" << q.x << "," << q.y << ")";
    return s.str();
}

// Where the bitmap and the reference differ: the first such pixel and a map of
// all of them ('X'), or "" when they agree.
std::string Difference(TBitmap& b, const TReferencePicture& ref) {
    std::ostringstream first, map;
    bool differs = false;
    for (int y = 0; y < ref.H; ++y) {
        for (int x = 0; x < ref.W; ++x) {
            const bool same = RawPixel(b, x, y) == ref.At(x, y);
            if (!same && !differs)
                first << "pixel " << x << "," << y << " is " << std::hex << RawPixel(b, x, y) << ", expected "
                      << ref.At(x, y) << std::dec << "\n";
            differs = differs || !same;
            map << (same ? '.' : 'X');
        }
        map << "\n";
    }
    return differs ? first.str() + map.str() : "";
}

} // namespace

TEST(RasteriserReference, RandomPolygonsAndLinesMatchTheReferencePixelForPixel) {
    TRandom random(20240611);
    const TPixelFormat formats[] = {pf15bit, pf16bit, pf32bit};
    for (int round = 0; round < 240; ++round) {
        const TPixelFormat pf = formats[round % 3];
        const bool tiny = random.Between(0, 9) == 0;
        const int w = tiny ? random.Between(1, 4) : random.Between(5, 40);
        const int h = tiny ? random.Between(1, 4) : random.Between(5, 30);
        TBitmap b(w, h, pf);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                SetRawPixel(b, x, y, pf == pf32bit ? random.Bits() : random.Bits() & 0xFFFF);
        TDrawObject d(b);
        TCanvas& c = d.Canvas();
        TReferencePicture ref(b);
        c.PenPos = ref.PenPos;
        for (int step = 0; step < 40; ++step) {
            const TColor pen = random.Color(), brush = random.Color();
            const TBrushStyle styles[] = {bsSolid, bsClear, bsDiagCross};
            const TBrushStyle style = styles[random.Between(0, 2)];
            c.Pen.Color = pen;
            c.Brush.Color = brush;
            c.Brush.Style = style;
            std::ostringstream what;
            what << FormatName(pf) << " " << w << "x" << h << " round " << round << " step " << step << ": ";
            switch (random.Between(0, 7)) {
            case 0: {
                const std::vector<TPoint> p = random.Points(random.Between(0, 8), w, h);
                what << "Polygon " << Describe(p) << " style " << style;
                d.Polygon(p.data(), static_cast<int>(p.size()) - 1);
                ref.Polygon(p, pen, brush, style);
                break;
            }
            case 1: {
                const TPoint a = random.Point(w, h), e = random.Point(w, h);
                what << "Rectangle " << Describe({a, e}) << " style " << style;
                d.Rectangle(a.x, a.y, e.x, e.y);
                ref.Polygon({{a.x, a.y}, {a.x, e.y}, {e.x, e.y}, {e.x, a.y}}, pen, brush, style);
                break;
            }
            case 2: {
                const TPoint a = random.Point(w, h), e = random.Point(w, h);
                what << "Line " << Describe({a, e});
                d.Line(a.x, a.y, e.x, e.y);
                ref.Line(a, e, pen);
                break;
            }
            case 3: {
                const TPoint a = random.Point(w, h), e = random.Point(w, h);
                what << "MoveTo, LineTo " << Describe({a, e});
                d.MoveTo(a.x, a.y);
                d.LineTo(e.x, e.y);
                ref.MoveTo(a);
                ref.LineTo(e, pen);
                break;
            }
            case 4: {
                const std::vector<TPoint> p = random.Points(random.Between(1, 6), w, h);
                what << "Polyline " << Describe(p);
                d.Polyline(p.data(), static_cast<int>(p.size()) - 1);
                ref.Polyline(p, pen, false);
                break;
            }
            case 7: {
                const auto [a, e] = random.ShallowLine(w, h);
                what << "Line " << Describe({a, e});
                d.Line(a.x, a.y, e.x, e.y);
                ref.Line(a, e, pen);
                break;
            }
            case 5: {
                const TPoint a = random.Point(w, h), e = random.Point(w, h);
                what << "Segment " << Describe({a, e});
                d.FastDraw()->Segment(a, e);
                ref.Segment(a, e, pen);
                break;
            }
            default: {
                const std::vector<TPoint> p = random.Points(random.Between(1, 6), w, h);
                what << "ClosedPolyline " << Describe(p);
                d.FastDraw()->ClosedPolyline(p.data(), static_cast<int>(p.size()) - 1);
                ref.Polyline(p, pen, true);
                break;
            }
            }
            ASSERT_EQ(Difference(b, ref), "") << what.str();
            ASSERT_EQ(c.PenPos, ref.PenPos) << what.str();
        }
    }
}
