// Canvas text and system colours, which need the desktop application.

#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "platform/system_colors.h"

#include <QGuiApplication>
#include <QImage>
#include <QPalette>
#include <gtest/gtest.h>

namespace {

struct TextTest : ::testing::Test {
    TBitmap B{120, 40, pf32bit};
    TCanvas& C = B.Canvas();
    void SetUp() override {
        C.Brush.Color = clWhite;
        C.Brush.Style = bsSolid;
        C.FillRect(Rect(0, 0, 120, 40));
        C.Font.Color = clBlack;
    }
    // The box of pixels that are not white, as Left, Top, Right, Bottom (exclusive), or empty.
    TRect InkBox(TColor background = clWhite) const {
        const QImage image = B.ToImage();
        TRect box{image.width(), image.height(), 0, 0};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                if (RGB(qRed(p), qGreen(p), qBlue(p)) != background) {
                    box.Left = std::min(box.Left, x);
                    box.Top = std::min(box.Top, y);
                    box.Right = std::max(box.Right, x + 1);
                    box.Bottom = std::max(box.Bottom, y + 1);
                }
            }
        return box;
    }
};

} // namespace

TEST_F(TextTest, MeasuresText) {
    const int one = C.TextWidth("W");
    EXPECT_GT(one, 0);
    EXPECT_GT(C.TextWidth("WWW"), 2 * one);
    EXPECT_EQ(C.TextWidth(""), 0);
    EXPECT_GT(C.TextHeight("x"), 5);
    const int small = C.TextHeight("x");
    C.Font.Size = 16;
    EXPECT_GT(C.TextHeight("x"), small);
    C.Font.Name = "Courier New";
    EXPECT_EQ(C.TextWidth("iii"), C.TextWidth("WWW"));
}

TEST_F(TextTest, TextOutWritesInsideItsCellAndMovesThePen) {
    C.Brush.Style = bsClear;
    C.TextOut(10, 5, "Hello");
    const int w = C.TextWidth("Hello"), h = C.TextHeight("Hello");
    EXPECT_EQ(C.PenPos, Point(10 + w, 5));
    const TRect ink = InkBox();
    EXPECT_GE(ink.Left, 10);
    EXPECT_GE(ink.Top, 5);
    EXPECT_LE(ink.Right, 10 + w);
    EXPECT_LE(ink.Bottom, 5 + h);
    EXPECT_GT(ink.Width(), 0);
}

TEST_F(TextTest, SolidBrushFillsTheTextBackground) {
    C.Brush.Color = clAqua;
    C.TextOut(10, 5, "Hi");
    const int w = C.TextWidth("Hi"), h = C.TextHeight("Hi");
    const QImage image = B.ToImage();
    EXPECT_EQ(image.pixel(10, 5) & 0xFFFFFF, 0x00FFFFu);
    EXPECT_EQ(image.pixel(10 + w - 1, 5 + h - 1) & 0xFFFFFF, 0x00FFFFu);
    EXPECT_EQ(image.pixel(10 + w, 5) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(9, 5) & 0xFFFFFF, 0xFFFFFFu);
}

TEST_F(TextTest, TextRectClipsToItsRectangle) {
    C.Brush.Style = bsClear;
    C.TextRect(Rect(12, 0, 20, 40), 10, 5, "WWWWWW");
    const TRect ink = InkBox();
    EXPECT_GE(ink.Left, 12);
    EXPECT_LE(ink.Right, 20);
    EXPECT_GT(ink.Width(), 0);
    SetUp();
    C.Brush.Color = clAqua;
    C.TextRect(Rect(12, 3, 20, 30), 10, 5, "W");
    EXPECT_EQ(B.ToImage().pixel(19, 29) & 0xFFFFFF, 0x00FFFFu);
    EXPECT_EQ(B.ToImage().pixel(20, 29) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(SystemColors, FollowTheApplicationPalette) {
    QPalette palette = QGuiApplication::palette();
    palette.setColor(QPalette::Button, QColor(11, 22, 33));
    palette.setColor(QPalette::Dark, QColor(44, 55, 66));
    QGuiApplication::setPalette(palette);
    EXPECT_TRUE(UpdateSystemColors());
    EXPECT_EQ(ColorToRGB(clBtnFace), RGB(11, 22, 33));
    EXPECT_EQ(ColorToRGB(clBtnShadow), RGB(44, 55, 66));
}

int main(int argc, char** argv) {
    // CTest sets the offscreen platform; test discovery at build time runs without it.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
