#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "common/error.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "render/picture_writer.h"
#include "temp_program_folder.h"

namespace fs = std::filesystem;

namespace {

// A 7 x 5 picture with distinct colours in its corners.
void Paint(TBitmap& picture) {
    picture.Canvas().Brush.Color = RGB(10, 20, 30);
    picture.Canvas().FillRect(Rect(0, 0, 7, 5));
    picture.Canvas().Brush.Color = RGB(250, 0, 0);
    picture.Canvas().FillRect(Rect(0, 0, 1, 1));
    picture.Canvas().Brush.Color = RGB(0, 0, 250);
    picture.Canvas().FillRect(Rect(6, 4, 7, 5));
    picture.Canvas().Refresh();
}

} // namespace

TEST(PictureWriter, FormatFollowsTheName) {
    EXPECT_EQ(PictureFormatOfName("model.JPG.bmp"), ffJpeg);
    EXPECT_EQ(PictureFormatOfName("a.png"), ffPng);
    EXPECT_EQ(PictureFormatOfName("a.PNG"), ffPng);
    EXPECT_EQ(PictureFormatOfName("a.jpeg"), ffBmp); // only ".jpg" asks for JPEG
    EXPECT_EQ(PictureFormatOfName("picture"), ffBmp);
}

TEST(PictureWriter, BmpAndPngKeepEveryPixel) {
    TTempProgramFolder folder;
    TBitmap picture(7, 5, pf32bit);
    Paint(picture);
    for (const char* name : {"p.bmp", "p.png"}) {
        const fs::path path = folder.Path() / name;
        SavePictureFile(picture, path);
        QImage back(QString::fromStdString(path.string()));
        ASSERT_FALSE(back.isNull()) << name;
        EXPECT_EQ(back.size(), QSize(7, 5));
        EXPECT_EQ(back.pixel(0, 0) & 0xFFFFFF, 0xFA0000u) << name;
        EXPECT_EQ(back.pixel(6, 4) & 0xFFFFFF, 0x0000FAu) << name;
        EXPECT_EQ(back.pixel(3, 2) & 0xFFFFFF, 0x0A141Eu) << name;
    }
    // The BMP is 32 bits per pixel, bottom-up: header, then 7 x 5 x 4 bytes.
    EXPECT_EQ(fs::file_size(folder.Path() / "p.bmp"), 54u + 7 * 5 * 4);
    std::ifstream bmp(folder.Path() / "p.bmp", std::ios::binary);
    char header[54];
    bmp.read(header, 54);
    EXPECT_EQ(header[28], 32);
}

TEST(PictureWriter, JpegIsReadableAndClose) {
    TTempProgramFolder folder;
    TBitmap picture(64, 48, pf32bit);
    picture.Canvas().Brush.Color = RGB(200, 100, 50);
    picture.Canvas().FillRect(Rect(0, 0, 64, 48));
    picture.Canvas().Refresh();
    const fs::path path = folder.Path() / "p.JPG";
    SavePictureFile(picture, path);
    QImage back(QString::fromStdString(path.string()));
    ASSERT_FALSE(back.isNull());
    EXPECT_EQ(back.format() == QImage::Format_Grayscale8, false);
    const QRgb c = back.pixel(32, 24);
    EXPECT_NEAR(qRed(c), 200, 3);
    EXPECT_NEAR(qGreen(c), 100, 3);
    EXPECT_NEAR(qBlue(c), 50, 3);
}

TEST(PictureWriter, FailuresKeepTheOldFile) {
    TTempProgramFolder folder;
    TBitmap picture(4, 4, pf32bit);
    Paint(picture);
    EXPECT_THROW(SavePictureFile(picture, folder.Path() / "missing" / "p.png"), EError);
    const fs::path path = folder.Path() / "old.png";
    { std::ofstream(path) << "old"; }
    TBitmap sixteen(4, 4, pf16bit);
    EXPECT_THROW(SavePictureFile(sixteen, path), EError);
    TBitmap empty;
    EXPECT_THROW(SavePictureFile(empty, path), EError);
    EXPECT_EQ(folder.ReadFile(path), "old");
}
