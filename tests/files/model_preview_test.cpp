#include <gtest/gtest.h>

#include <fstream>

#include "files/model_preview.h"
#include "temp_program_folder.h"

namespace fs = std::filesystem;

TEST(ModelPreview, TheJpegComesFirstAndThePictureFitsItsBox) {
    TTempProgramFolder folder;
    auto touch = [&](const char* name) { std::ofstream(folder.Path() / name) << "x"; };
    touch("castle.jpg");
    touch("castle.bmp");
    touch("mill.bmp");
    fs::create_directory(folder.Path() / "bridge.jpg"); // a folder is no picture
    EXPECT_EQ(ModelPictureFile(folder.Path() / "castle.stm"), folder.Path() / "castle.jpg");
    EXPECT_EQ(ModelPictureFile(folder.Path() / "mill.STM"), folder.Path() / "mill.bmp");
    EXPECT_EQ(ModelPictureFile(folder.Path() / "bridge.stm"), std::nullopt);
    EXPECT_EQ(ModelPictureFile(folder.Path() / "castle"), folder.Path() / "castle.jpg"); // no extension

    auto place = [](int w, int h, int bw, int bh) {
        const TPreviewPlace p = PreviewPlace(w, h, bw, bh);
        return std::vector<int>{p.Left, p.Top, p.Width, p.Height};
    };
    EXPECT_EQ(place(100, 50, 141, 153), (std::vector<int>{20, 51, 100, 50})); // unscaled, centred
    EXPECT_EQ(place(400, 200, 141, 153), (std::vector<int>{0, 0, 141, 71}));  // 70.5 rounded up
    EXPECT_EQ(place(200, 400, 141, 153), (std::vector<int>{0, 0, 77, 153}));  // 76.5 rounded up
    // Nearly square, a little too tall for the box: scaled to its width, which it would overrun.
    EXPECT_EQ(place(150, 152, 141, 153), (std::vector<int>{0, 0, 141, 143}));
    EXPECT_EQ(place(4001, 3999, 4000, 3000), (std::vector<int>{0, 0, 3002, 3000}));
}

TEST(ModelPreview, OurPreviewIsReplacedAndTheUsersPictureStays) {
    TTempProgramFolder folder;
    auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream(folder.Path() / name, std::ios::binary) << bytes;
    };
    const std::string start = "\xFF\xD8";
    const std::string jfif = std::string("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);
    const std::string comment = "\xFF\xFE" + std::string("\x00\x19", 2) + "Stonemill model preview";
    const std::string scan = std::string("\xFF\xDA\x00\x02", 4);
    write("ours.jpg", start + jfif + comment + scan);
    write("camera.jpg", start + jfif + scan + comment); // the text after the scan is picture data
    write("other.jpg", start + jfif + "\xFF\xFE" + std::string("\x00\x07", 2) + "Camera" + scan);
    write("short.jpg", start + "\xFF\xFE");
    write("text.jpg", "Stonemill model preview");
    EXPECT_TRUE(IsOwnPreview(folder.Path() / "ours.jpg"));
    for (const char* name : {"camera.jpg", "other.jpg", "short.jpg", "text.jpg", "missing.jpg"})
        EXPECT_FALSE(IsOwnPreview(folder.Path() / name)) << name;

    // Beside a new model the ".jpg" is made; our own is replaced; a picture
    // of the user's, a ".jpg" or a ".bmp" the open dialog shows, stays.
    EXPECT_EQ(PreviewFileToWrite(folder.Path() / "new.STM"), folder.Path() / "new.jpg");
    EXPECT_EQ(PreviewFileToWrite(folder.Path() / "ours.STM"), folder.Path() / "ours.jpg");
    EXPECT_EQ(PreviewFileToWrite(folder.Path() / "camera.stm"), std::nullopt);
    write("drawn.bmp", "BM");
    EXPECT_EQ(PreviewFileToWrite(folder.Path() / "drawn.stm"), std::nullopt);
    // A model saved under a ".jpg" name is never its own preview.
    EXPECT_EQ(PreviewFileToWrite(folder.Path() / "text.jpg"), std::nullopt);
}
