#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

#include "common/error.h"
#include "platform/bitmap.h"
#include "platform/canvas.h"
#include "render/picture_rows.h"
#include "render/picture_writer.h"
#include "temp_program_folder.h"
#include "test_stones.h"

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

TEST(PictureWriter, PicturesMadeRowByRowAreWrittenAsTheirBitmaps) {
    // Each row is asked for once, in the writer's order (BMP bottom up); a row
    // that cannot be made fails the save with its message and keeps the old file.
    class TAskedRows final : public TPictureRows {
    public:
        explicit TAskedRows(TBitmap& picture) : FRows(picture) {}
        int Width() const override { return FRows.Width(); }
        int Height() const override { return FRows.Height(); }
        const uint32_t* Row(int y) override {
            Asked.push_back(y);
            if (y == FailAt)
                throw EError("This row cannot be made");
            return FRows.Row(y);
        }
        std::vector<int> Asked;
        int FailAt = -1;

    private:
        TBitmapRows FRows;
    };
    TTempProgramFolder folder;
    TBitmap picture(7, 5, pf32bit);
    Paint(picture);
    for (const char* name : {"p.bmp", "p.png", "p.jpg"}) {
        TAskedRows rows(picture);
        SavePictureFile(rows, folder.Path() / (std::string("rows-") + name));
        SavePictureFile(picture, folder.Path() / name);
        EXPECT_EQ(folder.ReadFile(folder.Path() / (std::string("rows-") + name)),
                  folder.ReadFile(folder.Path() / name))
            << name;
        const std::vector<int> down{0, 1, 2, 3, 4}, up{4, 3, 2, 1, 0};
        EXPECT_EQ(rows.Asked, name == std::string("p.bmp") ? up : down) << name;
        rows.FailAt = 2;
        EXPECT_EQ(ErrorOf([&] { SavePictureFile(rows, folder.Path() / name); }),
                  "Cannot write file \"" + (folder.Path() / name).string() + "\". This row cannot be made");
        EXPECT_EQ(folder.ReadFile(folder.Path() / (std::string("rows-") + name)),
                  folder.ReadFile(folder.Path() / name))
            << name;
    }
}

TEST(PictureWriter, RowsOfEveryPixelFormatAndOfRectanglesAreThoseOfTheirCopies) {
    // 8, 16 and 24 bits converted as drawing them on a 32-bit bitmap does, in
    // bands; a rectangle partly off the bitmap as copying it, black outside.
    for (TPixelFormat format : {pf8bit, pf16bit, pf24bit, pf32bit}) {
        // Rows of 8000 bytes: two bands.
        TBitmap picture(2000, 3000, format);
        for (int i = 0; i < 200; ++i) {
            picture.Canvas().Brush.Color = RGB(i * 37 % 256, i * 11 % 256, i * 3 % 256);
            picture.Canvas().FillRect(Rect(i * 9, i * 15, i * 9 + 400, i * 15 + 60));
        }
        TBitmap copy(2000, 3000, pf32bit);
        copy.Canvas().Draw(0, 0, picture);
        TBitmapRows rows(picture);
        const TRect rect = Rect(-20, -100, 1990, 3100);
        TBitmap part(rect.Width(), rect.Height(), pf32bit);
        part.Canvas().CopyRect(Rect(0, 0, rect.Width(), rect.Height()), picture.Canvas(), rect);
        TBitmapRows partRows(picture, rect);
        for (int y = 2999; y >= 0; y -= 13)
            ASSERT_EQ(std::memcmp(rows.Row(y), copy.ScanLine(y), 2000 * 4), 0) << format << " row " << y;
        for (int y = 0; y < rect.Height(); y += 11)
            ASSERT_EQ(std::memcmp(partRows.Row(y), part.ScanLine(y), rect.Width() * 4), 0)
                << format << " row " << y;
    }
}
