#include <gtest/gtest.h>

#include <fstream>

#include "app/stonemill_app.h"
#include "common/write_confinement.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

// A scene may open files for writing (#fopen): POV-Ray, as the program
// starts it, writes in the scene's folder and nowhere else.
TEST(PovExport, PovRayWritesOnlyInTheSceneFolder) {
    if (!fs::exists("/usr/bin/povray"))
        GTEST_SKIP() << "POV-Ray is not installed (/usr/bin/povray); scripts/install-deps.sh installs it";
    if (!CanConfineWriting())
        GTEST_SKIP() << "this system cannot keep a program's writing to a folder (Landlock is off)";
    TTempProgramFolder folder;
    TStonemillApp app(folder.Path());
    const fs::path scene = folder.Path() / "scene";
    fs::create_directories(scene);
    std::ofstream(scene / "povray.ini") << "-V +W32 +H24\n";
    std::ofstream(scene / "test.pov") << "#version 3.7;\n"
                                         "global_settings { assumed_gamma 1 }\n"
                                         "#fopen Inside \"inside.txt\" write\n"
                                         "#fclose Inside\n"
                                         "#fopen Outside \""
                                      << (folder.Path() / "outside.txt").string()
                                      << "\" write\n"
                                         "#fclose Outside\n"
                                         "camera { location <0, 0, -5> look_at 0 }\n";
    TPovRayRun run = app.Pov.Start(scene, true);
    EXPECT_NE(ErrorOf([&] { run.Wait(); }).find("POV-Ray failed"), std::string::npos);
    EXPECT_TRUE(fs::exists(scene / "inside.txt"));
    EXPECT_FALSE(fs::exists(folder.Path() / "outside.txt"));
    EXPECT_NE(folder.ReadFile(run.Log()).find("outside.txt"), std::string::npos);
}
