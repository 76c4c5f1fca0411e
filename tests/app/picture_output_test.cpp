#include <gtest/gtest.h>

#include <QImage>

#include "app/stonemill_app.h"
#include "render/picture_writer.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

TEST(PictureFrame, TitlesShowTheSizeInItsUnit) {
    EXPECT_EQ(SavePictureTitle(0, Rect(0, 0, 400, 300)), "Save picture (.bmp size: 471 kByte)");
    EXPECT_EQ(SavePictureTitle(1, Rect(0, 0, 400, 300)), "Save anti-aliased picture (.bmp size: 471 kByte)");
    EXPECT_EQ(SavePictureTitle(8, Rect(0, 0, 400, 300)), "Save very large picture (.bmp size: 30175 kByte)");
    EXPECT_EQ(SavePictureTitle(0, Rect(0, 0, 49, 50)), "Save picture (.bmp size: 10200 Byte)");
    EXPECT_EQ(SavePictureTitle(2, Rect(0, 0, 63, 39)), "Save large picture (.bmp size: 40 kByte)");
    EXPECT_EQ(SavePictureTitle(0, Rect(0, 0, 63, 39)), "Save picture (.bmp size: 10 kByte)");
    EXPECT_EQ(SavePictureTitle(8, Rect(0, 0, 639, 639)), "Save very large picture (.bmp size: 100 MByte)");
    EXPECT_EQ(SavePictureTitle(8, Rect(0, 0, 639, 638)), "Save very large picture (.bmp size: 102240 kByte)");
    EXPECT_EQ(SavePictureTitle(4, Rect(0, 0, 99, 99)), "Save quite large picture (.bmp size: 625 kByte)");
}

TEST(PictureFrame, HotAreasDraggingAndSizes) {
    TPictureFrame frame;
    frame.PlaceInView(800, 600);
    EXPECT_EQ(frame.Rect, Rect(210, 150, 610, 450));
    const int bar = 150 - 6;
    EXPECT_EQ(frame.AreaAt(610 - 8, bar), TFrameArea::faClose);
    EXPECT_EQ(frame.AreaAt(610 - 22, bar), TFrameArea::faMaximise);
    EXPECT_EQ(frame.AreaAt(610 - 38, bar), TFrameArea::faPresets);
    EXPECT_EQ(frame.AreaAt(210 + 8, bar), TFrameArea::faSavePlain);
    EXPECT_EQ(frame.AreaAt(210 + 28, bar), TFrameArea::faSaveAntiAliased);
    EXPECT_EQ(frame.AreaAt(210 + 48, bar), TFrameArea::faSave2);
    EXPECT_EQ(frame.AreaAt(210 + 68, bar), TFrameArea::faSave4);
    EXPECT_EQ(frame.AreaAt(210 + 88, bar), TFrameArea::faSave8);
    EXPECT_EQ(frame.AreaAt(610 + 20, bar), TFrameArea::faSizeLabel);
    EXPECT_EQ(frame.AreaAt(400, bar), TFrameArea::faHandle);
    EXPECT_EQ(frame.AreaAt(211, 300), TFrameArea::faHandle);
    EXPECT_EQ(frame.AreaAt(300, 300), TFrameArea::faNone); // the inside is the view's
    EXPECT_EQ(frame.AreaAt(300, 500), TFrameArea::faNone);

    // Moving by the title bar, then edges that stop at the smallest size.
    frame.StartDrag(300, 300);
    EXPECT_FALSE(frame.Dragging());
    frame.StartDrag(400, bar);
    EXPECT_EQ(frame.CursorAt(400, bar), TFrameCursor::fcMove);
    frame.Drag(410, bar - 20);
    EXPECT_EQ(frame.Rect, Rect(220, 130, 620, 430));
    frame.StartDrag(400, 431); // the bottom edge
    frame.Drag(400, 10);
    EXPECT_EQ(frame.Rect.Bottom, 130 + kFrameMinHeight);
    frame.StartDrag(219, 150); // the left edge
    frame.Drag(900, 150);
    EXPECT_EQ(frame.Rect.Left, 620 - kFrameMinWidth);
    frame.EndDrag();
    EXPECT_EQ(frame.CursorAt(frame.Rect.Left, frame.Rect.Top), TFrameCursor::fcSizeDiagonal);
    EXPECT_EQ(frame.CursorAt(frame.Rect.Right, frame.Rect.Top + 20), TFrameCursor::fcSizeHorizontal);

    // " 8 " shows only on a frame wider than 134 pixels.
    frame.Rect = Rect(0, 20, 134, 100);
    EXPECT_FALSE(frame.ButtonShown(8));
    EXPECT_TRUE(frame.ButtonShown(4));
    EXPECT_EQ(frame.AreaAt(88, 14), TFrameArea::faHandle);
    frame.Rect.Right = 135;
    EXPECT_TRUE(frame.ButtonShown(8));

    frame.Preset(false, true, true);
    EXPECT_EQ(frame.Rect, Rect(0, 20, 150, 212));
    frame.Preset(true, false, false);
    EXPECT_EQ(frame.Rect, Rect(0, 20, 320, 260));
    frame.Preset(false, false, true);
    EXPECT_EQ(frame.Rect, Rect(0, 20, 640, 500));
    frame.Preset(false, false, false);
    EXPECT_EQ(frame.Rect, Rect(0, 20, 116, 136));
    frame.Resize(121, 100); // about the centre, halves toward zero
    EXPECT_EQ(frame.Rect, Rect(-2, 28, 119, 128));
    frame.Resize(116, 116);
    EXPECT_EQ(frame.Rect, Rect(0, 20, 116, 136));
    frame.Maximise(800, 600);
    EXPECT_EQ(frame.Rect, Rect(2, 14, 798, 598));
}

TEST(PictureFrame, StaysInsideTheViewItsPicturesShow) {
    TPictureFrame frame;
    // The first size known places it in the middle.
    frame.SetViewSize(800, 600);
    EXPECT_EQ(frame.Rect, Rect(210, 150, 610, 450));
    // A size far beyond the view is held to the view, title bar included.
    frame.Resize(100000, 100000);
    EXPECT_EQ(frame.Rect, Rect(0, 13, 800, 600));
    frame.Resize(300, 200);
    EXPECT_EQ(frame.Rect, Rect(250, 206, 550, 406)); // about the centre
    // Moved against the view's edges it stops there; a dragged edge stops at them.
    frame.StartDrag(400, 200); // the title bar
    frame.Drag(-5000, -5000);
    EXPECT_EQ(frame.Rect, Rect(0, 13, 300, 213));
    frame.Drag(99999, 99999);
    EXPECT_EQ(frame.Rect, Rect(500, 400, 800, 600));
    frame.StartDrag(500, 500); // the left edge
    frame.Drag(-300, 500);
    EXPECT_EQ(frame.Rect, Rect(0, 400, 800, 600));
    frame.EndDrag();
    // The presets and a smaller view keep it inside too.
    frame.Rect = Rect(700, 500, 800, 600);
    frame.Preset(false, false, true);
    EXPECT_EQ(frame.Rect, Rect(160, 120, 800, 600));
    frame.SetViewSize(400, 300);
    EXPECT_EQ(frame.Rect, Rect(0, 13, 400, 300));
    // A view smaller than the smallest frame shows its top-left corner.
    frame.SetViewSize(100, 40);
    EXPECT_EQ(frame.Rect, Rect(0, 13, 128, 61));
}

TEST(PictureFrame, TheFilterChosenGivesTheExtension) {
    EXPECT_EQ(PictureExtensionOfFilter("PNG file (*.png)"), "png");
    EXPECT_EQ(PictureExtensionOfFilter("JPEG file (*.jpg)"), "jpg");
    EXPECT_EQ(PictureExtensionOfFilter("Bitmap file (*.bmp)"), "bmp");
    EXPECT_EQ(PictureExtensionOfFilter("All files (*)"), "");
    EXPECT_EQ(PictureExtensionOfFilter("Pictures (*.png *.jpg)"), "");
    EXPECT_EQ(std::string(kPictureFilter),
              "PNG file (*.png)|*.png|JPEG file (*.jpg)|*.jpg|Bitmap file (*.bmp)|*.bmp");
}

TEST(PictureOutput, LargerPicturesAreDrawnAnewAndFailuresRestoreTheView) {
    TTempProgramFolder folder;
    TStonemillApp app(folder.Path());
    app.Document.Model().InsertSorted(StoneInUnits('B', 0, 0, 0, 200, 160, 20, RGB(200, 40, 40)));
    app.Scene.ResizeView(200, 160);
    app.Scene.Control().SetViewAngles(0, 0); // flat faces only
    app.Scene.Control().FitModel(app.Document.Model());
    const float scale = app.Scene.View().ViewScale, offsetX = app.Scene.View().ViewOffsetX;

    app.Pictures.Frame().Rect = Rect(40, 30, 168, 130);
    TBitmap plain, large, smooth;
    app.Pictures.RenderFramePicture(plain, 0, app.Pictures.Frame().Rect);
    app.Pictures.RenderFramePicture(large, 4, app.Pictures.Frame().Rect);
    app.Pictures.RenderFramePicture(smooth, 1, app.Pictures.Frame().Rect);
    ASSERT_EQ(plain.Width(), 128);
    ASSERT_EQ(large.Width(), 512);
    ASSERT_EQ(large.Height(), 400);
    ASSERT_EQ(smooth.Width(), 128);
    const QImage one = plain.ToImage(), four = large.ToImage();
    for (int y = 10; y < 90; y += 7)
        for (int x = 10; x < 118; x += 9)
            ASSERT_EQ(one.pixel(x, y), four.pixel(4 * x + 2, 4 * y + 2)) << x << "," << y;
    EXPECT_EQ(app.Scene.View().ViewScale, scale);
    EXPECT_EQ(app.Scene.View().ViewOffsetX, offsetX);

    app.Pictures.SavePicture(2, folder.Path() / "big.PNG");
    QImage saved(QString::fromStdString((folder.Path() / "big.PNG").string()));
    EXPECT_EQ(saved.size(), QSize(256, 200));
    EXPECT_EQ(app.Pictures.PictureFolder(), folder.Path());
    EXPECT_NE(ErrorOf([&] { app.Pictures.SavePicture(8, folder.Path() / "missing" / "x.bmp"); }), "");
    EXPECT_EQ(app.Scene.View().ViewScale, scale);
    EXPECT_EQ(app.Scene.View().ViewOffsetX, offsetX);
    EXPECT_EQ(app.Pictures.PictureFolder(), folder.Path());

    app.Pictures.Frame().Rect = Rect(0, 0, 20000, 20000);
    EXPECT_EQ(ErrorOf([&] { app.Pictures.SavePicture(8, folder.Path() / "huge.bmp"); }),
              "The picture would be 160000 x 160000 pixels, more than can be made");
}

namespace {

// The file's pixels against the bitmap's, channels only.
::testing::AssertionResult SamePixels(const fs::path& file, const TBitmap& picture) {
    const QImage saved(QString::fromStdString(file.string())), drawn = picture.ToImage();
    if (saved.size() != drawn.size())
        return ::testing::AssertionFailure() << "the sizes differ";
    for (int y = 0; y < saved.height(); ++y)
        for (int x = 0; x < saved.width(); ++x)
            if ((saved.pixel(x, y) & 0xFFFFFF) != (drawn.pixel(x, y) & 0xFFFFFF))
                return ::testing::AssertionFailure() << "pixel " << x << "," << y << " differs";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(PictureOutput, SavedPicturesHaveThePixelsOfThePicturesDrawnWhole) {
    TTempProgramFolder folder;
    fs::copy(BuiltProgramFolder() / "Models" / "village.stm", folder.Path() / "village.stm");
    fs::copy(BuiltProgramFolder() / "parts", folder.Parts(),
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
    TStonemillApp app(folder.Path());
    app.Files.LoadModel((folder.Path() / "village.stm").string(), TLoadMode::lmComplete);
    app.Scene.ResizeView(180, 130);
    app.Scene.SetDetailLevel(2);
    app.Scene.Control().FitModel(app.Document.Model());
    const fs::path file = folder.Path() / "p.bmp";

    // The frame's pictures, partly off the view, over the background colour
    // and over a background picture.
    app.Pictures.Frame().Rect = Rect(-10, 30, 150, 140);
    TBitmap backdrop(9, 5, pf32bit);
    backdrop.Canvas().Brush.Color = RGB(30, 90, 160);
    backdrop.Canvas().FillRect(Rect(2, 1, 7, 4));
    SavePictureFile(backdrop, folder.Path() / "backdrop.bmp");
    for (bool overPicture : {false, true}) {
        if (overPicture)
            app.Scene.ChooseBackgroundPicture(folder.Path() / "backdrop.bmp");
        for (int factor : {0, 1, 2, 8}) {
            TBitmap whole;
            app.Pictures.RenderFramePicture(whole, factor, app.Pictures.Frame().Rect);
            app.Pictures.SavePicture(factor, file);
            EXPECT_TRUE(SamePixels(file, whole))
                << "factor " << factor << (overPicture ? " over a picture" : "");
        }
    }
    app.Scene.DropBackgroundPicture();

    // The command line's: as the view draws it at every depth, and larger.
    for (TBitDepth depth : {bd8, bd16, bd24, bdDevice, bd32}) {
        app.Scene.SetBitDepth(depth);
        TBitmap shown(180, 130, pf32bit);
        shown.Canvas().Draw(0, 0, app.Scene.Picture());
        app.Pictures.SaveViewPicture(0, file);
        EXPECT_TRUE(SamePixels(file, shown)) << "depth " << depth;
    }
    app.Scene.SetAntiAlias(true);
    TBitmap smooth(180, 130, pf32bit);
    smooth.Canvas().Draw(0, 0, app.Scene.Picture());
    app.Pictures.SaveViewPicture(0, file);
    EXPECT_TRUE(SamePixels(file, smooth));
    TBitmap large;
    app.Pictures.RenderFramePicture(large, 4, Rect(0, 0, 180, 130));
    app.Pictures.SaveViewPicture(4, file);
    EXPECT_TRUE(SamePixels(file, large));

    // Beyond what can be made: said before anything is drawn.
    EXPECT_EQ(FramePictureProblem(8, Rect(0, 0, 5000, 5000)),
              "The picture would be 40000 x 40000 pixels, more than can be made");
    EXPECT_EQ(FramePictureProblem(8, Rect(0, 0, 2048, 2048)), "");
    EXPECT_EQ(WholePictureProblem(bd16, 20000, 20000), "");
    EXPECT_EQ(WholePictureProblem(bd32, 20000, 20000), "");
    const std::string tooLarge = "A picture of 20000 x 20000 pixels at 24 bits is drawn whole and would take "
                                 "1144 MB, more than the 900 MB it may; at 32 bits it is drawn in bands";
    EXPECT_EQ(WholePictureProblem(bd24, 20000, 20000), tooLarge);
    app.Scene.SizeViewWithoutPicture(20000, 20000);
    app.Scene.SetBitDepth(bd24);
    EXPECT_EQ(app.Scene.Picture().Width(), 0);
    EXPECT_EQ(app.Pictures.ViewPictureProblem(0), tooLarge);
    EXPECT_EQ(ErrorOf([&] { app.Pictures.SaveViewPicture(0, file); }), tooLarge);
    EXPECT_EQ(app.Scene.Picture().Width(), 0);
    EXPECT_EQ(app.Pictures.ViewPictureProblem(2),
              "The picture would be 40000 x 40000 pixels, more than can be made");
    // Anti-aliased, and at 32 bits, it is drawn in bands, also over a
    // background picture, but plainly over one it is drawn whole.
    app.Scene.SetAntiAlias(true);
    EXPECT_EQ(app.Pictures.ViewPictureProblem(0), "");
    app.Scene.ChooseBackgroundPicture(folder.Path() / "backdrop.bmp");
    EXPECT_EQ(app.Pictures.ViewPictureProblem(0), "");
    app.Scene.SetAntiAlias(false);
    EXPECT_EQ(
        app.Pictures.ViewPictureProblem(0),
        "A picture of 20000 x 20000 pixels over a background picture is drawn whole and would take 1525 MB, "
        "more than the 900 MB it may");
    app.Scene.DropBackgroundPicture();
    EXPECT_EQ(app.Pictures.ViewPictureProblem(0), "");
}
