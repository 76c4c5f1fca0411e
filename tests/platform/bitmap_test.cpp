#include "common/error.h"
#include "platform/bitmap.h"

#include <QImage>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

uint32_t Pixel32(TBitmap& b, int x, int y) {
    return static_cast<uint32_t*>(b.ScanLine(y))[x] & 0xFFFFFF;
}
uint16_t Pixel16(TBitmap& b, int x, int y) {
    return static_cast<uint16_t*>(b.ScanLine(y))[x];
}
uint8_t Pixel8(TBitmap& b, int x, int y) {
    return static_cast<uint8_t*>(b.ScanLine(y))[x];
}

void Fill(TBitmap& b, TColor color) {
    b.Canvas().Brush.Color = color;
    b.Canvas().Brush.Style = bsSolid;
    b.Canvas().FillRect(Rect(0, 0, b.Width(), b.Height()));
}

} // namespace

TEST(Bitmap, NewBitmapIsEmptyDeviceFormat) {
    TBitmap b;
    EXPECT_EQ(b.Width(), 0);
    EXPECT_EQ(b.Height(), 0);
    EXPECT_EQ(b.PixelFormat(), pfDevice);
    EXPECT_THROW(b.ScanLine(0), EError);
    // Drawing on an empty picture does nothing.
    b.Canvas().Rectangle(0, 0, 5, 5);
    b.Canvas().LineTo(3, 3);
    EXPECT_EQ(b.Canvas().PenPos, Point(3, 3));
}

TEST(Bitmap, SizeAndFormatAreKeptAndPictureStartsBlack) {
    for (TPixelFormat pf : {pfDevice, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap b(7, 5, pf);
        EXPECT_EQ(b.Width(), 7);
        EXPECT_EQ(b.Height(), 5);
        EXPECT_EQ(b.PixelFormat(), pf);
        const QImage image = b.ToImage();
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, 0u) << "format " << pf;
    }
}

TEST(Bitmap, ScanLinesFollowThePixelLayouts) {
    const TColor c = RGB(255, 128, 8);
    {
        TBitmap b(4, 3, pf32bit);
        Fill(b, c);
        EXPECT_EQ(Pixel32(b, 2, 1), 0xFF8008u);
        const uint8_t* bytes = static_cast<uint8_t*>(b.ScanLine(1));
        EXPECT_EQ(bytes[0], 0x08); // B, G, R
        EXPECT_EQ(bytes[1], 0x80);
        EXPECT_EQ(bytes[2], 0xFF);
    }
    {
        TBitmap b(4, 3, pfDevice);
        Fill(b, c);
        EXPECT_EQ(Pixel32(b, 3, 2), 0xFF8008u);
    }
    {
        TBitmap b(4, 3, pf24bit);
        Fill(b, c);
        const uint8_t* bytes = static_cast<uint8_t*>(b.ScanLine(2));
        EXPECT_EQ(bytes[3 * 3 + 0], 0xFF); // R, G, B
        EXPECT_EQ(bytes[3 * 3 + 1], 0x80);
        EXPECT_EQ(bytes[3 * 3 + 2], 0x08);
    }
    {
        TBitmap b(4, 3, pf16bit);
        Fill(b, c);
        EXPECT_EQ(Pixel16(b, 1, 1), (31 << 11) | (32 << 5) | 1);
    }
    {
        TBitmap b(4, 3, pf15bit);
        Fill(b, c);
        EXPECT_EQ(Pixel16(b, 1, 1), (31 << 10) | (16 << 5) | 1);
    }
}

TEST(Bitmap, RowsRunTopDownAndOutOfRangeRowsRaise) {
    for (TPixelFormat pf : {pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap b(5, 4, pf);
        const auto* row0 = static_cast<uint8_t*>(b.ScanLine(0));
        const auto* row1 = static_cast<uint8_t*>(b.ScanLine(1));
        EXPECT_GT(row1 - row0, 0);
        EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(3)) - row0, 3 * (row1 - row0));
        EXPECT_THROW(b.ScanLine(-1), EError);
        EXPECT_THROW(b.ScanLine(4), EError);
    }
}

TEST(Bitmap, EightBitPicturesAreReducedToTheFixedPalette) {
    EXPECT_EQ(FixedPaletteColor(0), clBlack);
    EXPECT_EQ(FixedPaletteColor(15), clWhite);
    EXPECT_EQ(FixedPaletteColor(67), RGB(51, 102, 153));
    EXPECT_EQ(FixedPaletteColor(237), RGB(58, 58, 58));
    EXPECT_THROW(FixedPaletteColor(256), EError);

    TBitmap b(6, 4, pf8bit);
    Fill(b, RGB(51, 102, 153));
    EXPECT_EQ(Pixel8(b, 0, 0), 67);
    Fill(b, RGB(50, 100, 155)); // nearest entry
    EXPECT_EQ(Pixel8(b, 5, 3), 67);
    Fill(b, RGB(58, 58, 58));
    EXPECT_EQ(Pixel8(b, 2, 2), 237);
    b.Canvas().Brush.Color = clSilver;
    b.Canvas().FillRect(Rect(1, 1, 3, 2));
    EXPECT_EQ(FixedPaletteColor(Pixel8(b, 1, 1)), clSilver);
    EXPECT_EQ(FixedPaletteColor(Pixel8(b, 2, 1)), clSilver);
    EXPECT_EQ(Pixel8(b, 3, 1), 237);
    EXPECT_EQ(b.ToImage().format(), QImage::Format_Indexed8);
}

TEST(Bitmap, EightBitRowsWrittenDirectlySurviveCanvasDrawing) {
    TBitmap b(6, 4, pf8bit);
    Fill(b, clWhite);
    static_cast<uint8_t*>(b.ScanLine(0))[0] = 67;
    b.Canvas().Brush.Color = clBlack;
    b.Canvas().FillRect(Rect(3, 0, 6, 4));
    EXPECT_EQ(Pixel8(b, 0, 0), 67);
    EXPECT_EQ(Pixel8(b, 1, 0), 15);
    EXPECT_EQ(Pixel8(b, 4, 0), 0);
    // Copied out, the written index shows its palette colour.
    TBitmap target(6, 4, pf32bit);
    target.Canvas().Draw(0, 0, b);
    EXPECT_EQ(Pixel32(target, 0, 0), 0x336699u);
}

TEST(Bitmap, ResizingKeepsTheTopLeftAndBlackensTheRest) {
    for (TPixelFormat pf : {pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        TBitmap b(4, 4, pf);
        Fill(b, clWhite);
        b.SetSize(6, 3);
        EXPECT_EQ(b.Width(), 6);
        EXPECT_EQ(b.Height(), 3);
        const QImage image = b.ToImage();
        EXPECT_EQ(image.pixel(3, 2) & 0xFFFFFF, 0xFFFFFFu) << pf;
        EXPECT_EQ(image.pixel(4, 0) & 0xFFFFFF, 0u) << pf;
        b.SetWidth(2);
        b.SetHeight(5);
        EXPECT_EQ(b.ToImage().pixel(1, 2) & 0xFFFFFF, 0xFFFFFFu) << pf;
        EXPECT_EQ(b.ToImage().pixel(1, 3) & 0xFFFFFF, 0u) << pf;
    }
}

TEST(Bitmap, ChangingTheFormatConvertsThePicture) {
    TBitmap b(3, 3, pf32bit);
    Fill(b, RGB(255, 0, 255));
    b.SetPixelFormat(pf16bit);
    EXPECT_EQ(Pixel16(b, 1, 1), 0xF81F);
    b.SetPixelFormat(pf8bit);
    EXPECT_EQ(FixedPaletteColor(Pixel8(b, 2, 2)), clFuchsia);
    b.SetPixelFormat(pf24bit);
    EXPECT_EQ(b.ToImage().pixel(0, 0) & 0xFFFFFF, 0xFF00FFu);
}

TEST(Bitmap, DirectWritesAndCanvasDrawingInterleave) {
    TBitmap b(8, 6, pf32bit);
    Fill(b, clWhite);
    uint32_t* row2 = static_cast<uint32_t*>(b.ScanLine(2));
    row2[1] = 0x123456;
    // The canvas draws around the directly written pixel and keeps it.
    b.Canvas().Brush.Color = clBlack;
    b.Canvas().FillRect(Rect(4, 0, 8, 6));
    b.Canvas().Pen.Color = clRed;
    b.Canvas().MoveTo(0, 4);
    b.Canvas().LineTo(3, 4);
    EXPECT_EQ(static_cast<uint32_t*>(b.ScanLine(2)), row2);
    EXPECT_EQ(row2[1] & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(row2[5] & 0xFFFFFF, 0u);
    EXPECT_EQ(Pixel32(b, 2, 4), 0xFF0000u);
    // A direct write after canvas drawing shows in what the canvas copies.
    row2[0] = 0x00ABCDEF;
    TBitmap copy(8, 6, pf32bit);
    copy.Canvas().Draw(0, 0, b);
    EXPECT_EQ(Pixel32(copy, 0, 2), 0xABCDEFu);
    EXPECT_EQ(Pixel32(copy, 1, 2), 0x123456u);
}

TEST(Bitmap, LoadFromImageTakesSizeAndKeepsFormat) {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.fill(qRgb(10, 20, 30));
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.LoadFromImage(image);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.Height(), 2);
    EXPECT_EQ(b.PixelFormat(), pf24bit);
    EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(1))[0], 10);
}

TEST(Bitmap, TallEightBitPicturesTakeTheNearestEntryOfEveryPixel) {
    // Reduced a band of rows at a time: as reducing the whole picture at once.
    TBitmap drawn(37, 700, pf32bit), reduced(37, 700, pf8bit);
    for (TBitmap* b : {&drawn, &reduced})
        for (int i = 0; i < 300; ++i) {
            b->Canvas().Brush.Color = RGB(i * 7 % 256, i * 13 % 256, i * 29 % 256);
            b->Canvas().FillRect(Rect(i % 31, i * 7 % 690, i % 31 + 6, i * 7 % 690 + 11));
        }
    QList<QRgb> palette;
    for (int i = 0; i < 256; ++i) {
        const TColor c = FixedPaletteColor(i);
        palette.append(qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
    }
    const QImage whole = drawn.ToImage().convertToFormat(QImage::Format_Indexed8, palette);
    for (int y = 0; y < 700; ++y)
        ASSERT_EQ(std::memcmp(reduced.ScanLine(y), whole.constScanLine(y), 37), 0) << "row " << y;
}
