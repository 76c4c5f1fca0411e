// Canvas drawing without a desktop application: shapes, bounds, brushes, copies.

#include "common/error.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/system_colors.h"

#include <QImage>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// The picture as text: one character per pixel by colour, '?' for others.
std::vector<std::string> Picture(const TBitmap& b, const std::map<TColor, char>& keys) {
    const QImage image = b.ToImage();
    std::vector<std::string> rows;
    for (int y = 0; y < image.height(); ++y) {
        std::string row;
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            const auto it = keys.find(RGB(qRed(p), qGreen(p), qBlue(p)));
            row += it == keys.end() ? '?' : it->second;
        }
        rows.push_back(row);
    }
    return rows;
}

// A white picture with a black pen and a red solid brush.
struct CanvasTest : ::testing::Test {
    TBitmap B{8, 7, pf32bit};
    TCanvas& C = B.Canvas();
    const std::map<TColor, char> Keys{{clWhite, '.'}, {clBlack, '#'}, {clRed, 'o'}, {clBlue, 'b'}};
    void SetUp() override {
        C.Brush.Color = clWhite;
        C.FillRect(Rect(0, 0, 8, 7));
        C.Pen.Color = clBlack;
        C.Brush.Color = clRed;
    }
    std::vector<std::string> Pic() const { return Picture(B, Keys); }
};

using Rows = std::vector<std::string>;

} // namespace

TEST_F(CanvasTest, RectangleLeavesOutRightAndBottomBounds) {
    C.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(Pic(),
              (Rows{"........", ".#####..", ".#ooo#..", ".#ooo#..", ".#####..", "........", "........"}));
    // Corners in either order give the same box.
    SetUp();
    C.Rectangle(6, 5, 1, 1);
    EXPECT_EQ(Pic()[2], ".#ooo#..");
}

TEST_F(CanvasTest, ClearBrushOnlyOutlines) {
    C.Brush.Style = bsClear;
    C.Rectangle(1, 1, 5, 4);
    C.FillRect(Rect(0, 5, 8, 7));
    EXPECT_EQ(Pic(),
              (Rows{"........", ".####...", ".#..#...", ".####...", "........", "........", "........"}));
}

TEST_F(CanvasTest, SmallRectanglesAreAllOutline) {
    C.Rectangle(1, 1, 3, 2);
    C.Rectangle(4, 1, 4, 5); // empty
    EXPECT_EQ(Pic()[1], ".##.....");
    EXPECT_EQ(Pic()[2], "........");
}

TEST_F(CanvasTest, FillRectAndFrameRectUseTheBrush) {
    C.FillRect(Rect(1, 1, 4, 3));
    C.Brush.Color = clBlue;
    C.FrameRect(Rect(4, 2, 8, 7));
    C.FillRect(Rect(3, 3, 2, 5)); // inverted: nothing
    EXPECT_EQ(Pic(),
              (Rows{"........", ".ooo....", ".ooobbbb", "....b..b", "....b..b", "....b..b", "....bbbb"}));
}

TEST_F(CanvasTest, LineToLeavesOutItsLastPixelAndMovesThePen) {
    C.MoveTo(1, 1);
    C.LineTo(6, 1);
    EXPECT_EQ(C.PenPos, Point(6, 1));
    C.LineTo(6, 5);
    C.MoveTo(1, 3);
    C.LineTo(1, 3); // nothing
    EXPECT_EQ(Pic(),
              (Rows{"........", ".######.", "......#.", "......#.", "......#.", "........", "........"}));
}

TEST_F(CanvasTest, PolylineDrawsTheOpenChainWithoutMovingThePen) {
    C.MoveTo(7, 6);
    const TPoint chain[] = {{1, 1}, {1, 4}, {5, 4}};
    C.Polyline(chain, 2);
    EXPECT_EQ(C.PenPos, Point(7, 6));
    EXPECT_EQ(Pic(),
              (Rows{"........", ".#......", ".#......", ".#......", ".####...", "........", "........"}));
}

TEST_F(CanvasTest, PolygonFillsWithTheOddEvenRule) {
    B.SetSize(13, 13);
    SetUp();
    C.FillRect(Rect(0, 0, 13, 13));
    C.Brush.Color = clWhite;
    C.FillRect(Rect(0, 0, 13, 13));
    C.Brush.Color = clRed;
    // Two overlapping squares as one polygon path: the overlap is crossed twice and stays empty.
    const TPoint path[] = {{1, 1}, {8, 1},  {8, 8},   {1, 8},  {1, 1},
                           {4, 4}, {11, 4}, {11, 11}, {4, 11}, {4, 4}};
    C.Pen.Color = clRed;
    C.Polygon(path, 9);
    const Rows pic = Picture(B, Keys);
    EXPECT_EQ(pic[2][2], 'o');
    EXPECT_EQ(pic[6][6], '.');
    EXPECT_EQ(pic[9][9], 'o');
    EXPECT_EQ(pic[12][12], '.');
}

TEST_F(CanvasTest, EllipseStaysInsideItsBox) {
    C.Ellipse(1, 1, 7, 6);
    const Rows pic = Pic();
    EXPECT_EQ(pic[0], "........");
    EXPECT_EQ(pic[6], "........");
    for (const std::string& row : pic)
        EXPECT_EQ(row[7], '.');
    EXPECT_EQ(pic[3][1], '#');
    EXPECT_EQ(pic[3][6], '#');
    EXPECT_EQ(pic[3][3], 'o');
    EXPECT_EQ(pic[1][1], '.');
}

TEST_F(CanvasTest, BoxesFarBeyondThePainterRangeArePaintedWhereTheyShow) {
    // A rectangle reaching a billion pixels out: its visible corner as any other.
    C.Rectangle(-1000000000, 2, 5, 1000000000);
    EXPECT_EQ(Pic(),
              (Rows{"........", "........", "#####...", "oooo#...", "oooo#...", "oooo#...", "oooo#..."}));
    // An ellipse a billion pixels across: its left edge runs down column 1,
    // one outline pixel wide with the brush inside, nothing left of it.
    SetUp();
    C.Ellipse(1, -500000000, 2000000001, 500000000);
    EXPECT_EQ(Pic(),
              (Rows{".#oooooo", ".#oooooo", ".#oooooo", ".#oooooo", ".#oooooo", ".#oooooo", ".#oooooo"}));
    // Its top: an outline along row 1 over the brush.
    SetUp();
    C.Ellipse(-1000000000, 1, 1000000000, 2000000001);
    EXPECT_EQ(Pic(),
              (Rows{"........", "########", "oooooooo", "oooooooo", "oooooooo", "oooooooo", "oooooooo"}));
    // One that passes the picture by paints nothing.
    SetUp();
    C.Ellipse(-2000000000, -2000000000, -10, -10);
    EXPECT_EQ(Pic(), (Rows(7, "........")));
}

TEST_F(CanvasTest, DiagonalCrossBrushHatchesAndLeavesGapsAlone) {
    C.Brush.Style = bsDiagCross;
    C.FillRect(Rect(0, 0, 8, 7));
    int hatched = 0, untouched = 0;
    for (const std::string& row : Pic())
        for (char c : row)
            (c == 'o' ? hatched : untouched) += (c == 'o' || c == '.') ? 1 : 0;
    EXPECT_GT(hatched, 0);
    EXPECT_GT(untouched, 0);
    EXPECT_EQ(hatched + untouched, 56);
}

TEST_F(CanvasTest, DrawAndStretchDrawCopyBitmaps) {
    for (TPixelFormat pf : {pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        SetUp();
        TBitmap small(2, 2, pf);
        small.Canvas().Brush.Color = clBlue;
        small.Canvas().FillRect(Rect(0, 0, 2, 2));
        small.Canvas().Brush.Color = clBlack;
        small.Canvas().FillRect(Rect(1, 1, 2, 2));
        C.Draw(5, 0, small);
        C.StretchDraw(Rect(0, 2, 4, 6), small);
        EXPECT_EQ(Pic(),
                  (Rows{".....bb.", ".....b#.", "bbbb....", "bbbb....", "bb##....", "bb##....", "........"}))
            << "format " << pf;
    }
}

TEST_F(CanvasTest, CopyRectStretchesFromAnotherCanvasOrItself) {
    TBitmap source(3, 1, pf16bit);
    source.Canvas().Brush.Color = clBlack;
    source.Canvas().FillRect(Rect(0, 0, 3, 1));
    source.Canvas().Brush.Color = clBlue;
    source.Canvas().FillRect(Rect(2, 0, 3, 1));
    C.CopyRect(Rect(0, 0, 6, 2), source.Canvas(), Rect(1, 0, 3, 1));
    C.CopyRect(Rect(4, 4, 8, 6), C, Rect(2, 0, 6, 2));
    EXPECT_EQ(Pic(),
              (Rows{"###bbb..", "###bbb..", "........", "........", "....#bbb", "....#bbb", "........"}));
}

TEST_F(CanvasTest, DrawingABitmapOntoItselfUsesACopy) {
    C.Brush.Color = clBlue;
    C.FillRect(Rect(0, 0, 2, 1));
    C.Draw(1, 0, B);
    // Without a copy the overlapping copy would smear blue to the right.
    EXPECT_EQ(Pic()[0], "bbb.....");
}

TEST(CanvasImage, CanvasOnAnImageDrawsThroughOnePainterUntilRefresh) {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        TCanvas canvas(&image);
        canvas.Brush.Color = clBlue;
        canvas.Pen.Color = clBlue;
        canvas.FillRect(Rect(0, 0, 2, 3));
        canvas.Rectangle(2, 0, 4, 1);
        canvas.Refresh();
        EXPECT_EQ(image.pixel(1, 2) & 0xFFFFFF, 0x0000FFu);
        EXPECT_EQ(image.pixel(3, 0) & 0xFFFFFF, 0x0000FFu);
        EXPECT_EQ(image.pixel(3, 1) & 0xFFFFFF, 0xFFFFFFu);
        TBitmap copy(4, 3, pf32bit);
        copy.Canvas().CopyRect(Rect(0, 0, 4, 3), canvas, Rect(0, 0, 4, 3));
        EXPECT_EQ(copy.ToImage().pixel(0, 0) & 0xFFFFFF, 0x0000FFu);
    }
}

TEST(CanvasText, TextNeedsTheDesktopApplication) {
    TBitmap b(10, 10, pf32bit);
    EXPECT_THROW(b.Canvas().TextWidth("x"), EError);
    EXPECT_THROW(b.Canvas().TextOut(0, 0, "x"), EError);
    EXPECT_FALSE(UpdateSystemColors());
}

TEST(CanvasColors, NamedAndSystemColours) {
    EXPECT_EQ(clAqua, RGB(0, 255, 255));
    EXPECT_EQ(clFuchsia, RGB(255, 0, 255));
    EXPECT_EQ(clSilver, RGB(192, 192, 192));
    SetSystemColor(clBtnShadow, RGB(1, 2, 3));
    EXPECT_EQ(ColorToRGB(clBtnShadow), RGB(1, 2, 3));
    // A system colour draws as the colour it stands for.
    TBitmap b(2, 2, pf24bit);
    b.Canvas().Brush.Color = clBtnShadow;
    b.Canvas().FillRect(Rect(0, 0, 2, 2));
    EXPECT_EQ(b.ToImage().pixel(1, 1) & 0xFFFFFF, 0x010203u);
}

TEST(CanvasOrigin, ABandOfAPictureIsDrawnOnAndCopiedInThePicturesCoordinates) {
    // Fills, hatched ellipses and copies to and from the band land on the
    // pixels they have in the whole picture.
    auto draw = [](TBitmap& b, TBitmap& source) {
        TCanvas& c = b.Canvas();
        c.Brush = TBrush{RGB(10, 200, 30), bsSolid};
        c.FillRect(Rect(0, 0, 40, 30));
        c.Pen.Color = RGB(200, 0, 0);
        c.Brush = TBrush{RGB(0, 0, 250), bsDiagCross};
        c.Ellipse(-6, 3, 33, 27);
        c.CopyRect(Rect(20, 2, 36, 26), source.Canvas(), Rect(0, 0, 16, 24));
        c.Refresh();
    };
    TBitmap source(16, 24, pf32bit);
    source.Canvas().Brush.Color = RGB(90, 80, 70);
    source.Canvas().FillRect(Rect(3, 5, 12, 19));
    TBitmap whole(40, 30, pf32bit);
    draw(whole, source);
    const QImage expected = whole.ToImage();
    for (int top = 0; top < 30; top += 6) {
        TBitmap band(40, 6, pf32bit);
        band.Canvas().SetOrigin(TPoint{0, top});
        EXPECT_EQ(band.Canvas().Origin(), (TPoint{0, top}));
        draw(band, source);
        EXPECT_EQ(band.ToImage(), expected.copy(0, top, 40, 6)) << "band from " << top;
        // Copied out of the band: the picture's rectangle, black off the band.
        TBitmap out(40, 8, pf32bit);
        out.Canvas().CopyRect(Rect(0, 0, 40, 8), band.Canvas(), Rect(0, top - 1, 40, top + 7));
        const QImage copied = out.ToImage();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 40; x += 3) {
                const QRgb want = y >= 1 && y <= 6 ? expected.pixel(x, top + y - 1) & 0xFFFFFF : 0u;
                EXPECT_EQ(copied.pixel(x, y) & 0xFFFFFF, want) << x << "," << y << " band from " << top;
            }
    }
}
