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
