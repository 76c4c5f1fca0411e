// Runs the stonemill program itself, as a user would from a terminal.

#include <gtest/gtest.h>

#include <QImage>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "temp_program_folder.h"

extern char** environ;
namespace fs = std::filesystem;

namespace {

struct TRun {
    int Status = -1;
    std::string Out, Err;
};

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

// Starts the program with the arguments (no shell) and waits for it.
TRun RunStonemill(const std::vector<std::string>& args) {
    const std::string program = (BuiltProgramFolder() / "stonemill").string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const fs::path outFile = fs::temp_directory_path() / ("stonemill-out-" + std::to_string(getpid()));
    const fs::path errFile = fs::temp_directory_path() / ("stonemill-err-" + std::to_string(getpid()));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    TRun run;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    for (auto [file, text] : {std::pair{outFile, &run.Out}, std::pair{errFile, &run.Err}}) {
        int fd = open(file.c_str(), O_RDONLY);
        *text = ReadAll(fd);
        close(fd);
        fs::remove(file);
    }
    return run;
}

class CommandLine : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path path = folder.Path() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    TTempProgramFolder folder;
    const std::string model = "= 70 330 20 0 0 0 1\r\n"
                              "B 0 0 0 80 20 20 255 1 0 0 0 2 wall 0\r\n"
                              "T 0 20 0 80 40 20 8421504 1 0 1 0 2  0\r\n"
                              "G 100 0 0 0 0 0 16777215 1 0 0 0 parts.dat arch 3  4\r\n";
};

} // namespace

TEST_F(CommandLine, InfoDescribesTheModel) {
    const fs::path path = Write("m.stm", model);
    TRun run = RunStonemill({"--info", path.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "stones: 3\ngroups: 2\nextents: 0 0 0 180 60 60\nkinds: B=1 G=1 T=1\n");
    EXPECT_EQ(run.Err, "");
}

TEST_F(CommandLine, ConvertWritesTheCompleteSave) {
    const fs::path path = Write("old.stm", "B 1 2 3 2 4 3 255 1 0 0 0 0 w 0\n");
    const fs::path out = folder.Path() / "new.stm";
    TRun run = RunStonemill({"--convert", path.string(), "--output", out.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    // Grid modules and thirds of a file without a view line become units.
    EXPECT_EQ(folder.ReadFile(out), "= 70 330 20 0 0 0 1\r\nB 20 40 20 40 80 20 255 1 0 0 0 0 w 0\r\n");
}

TEST_F(CommandLine, RenderSavesThePictureAsNamed) {
    const fs::path path = Write("m.stm", model);
    for (const char* name : {"p.png", "p.jpg", "p.bmp"}) {
        const fs::path out = folder.Path() / name;
        TRun run =
            RunStonemill({"--render", path.string(), "--output", out.string(), "--size", "160x120", "--fit"});
        ASSERT_EQ(run.Status, 0) << run.Err;
        QImage picture(QString::fromStdString(out.string()));
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(picture.size(), QSize(160, 120));
        EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF,
                  name == std::string("p.jpg") ? picture.pixel(0, 0) & 0xFFFFFF : 0xFFFFFFu);
        int coloured = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                coloured += (picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(coloured, 2000) << name; // the stones fill a good part of it
    }
    // Options change the picture: a red background shows in the corner.
    const fs::path red = folder.Path() / "red.png";
    TRun run =
        RunStonemill({"--render", path.string(), "--output", red.string(), "--size", "64x48", "--view",
                      "Top view", "--background", "FF0000", "--bits", "16", "--no-shading", "--detail", "2"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(QImage(QString::fromStdString(red.string())).pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(CommandLine, RenderFitsStonesUpToTheLargestTheModelHolds) {
    // One stone each: as large as a stone may be, and a small one as far out
    // as one may lie, in either direction.
    const std::vector<std::pair<std::string, std::string>> models = {
        {"largest.stm", "B 0 0 0 10000000 10000000 10000000 255 1 0 0 0 0 x 0"},
        {"corner.stm", "B 10000000 10000000 10000000 10000000 10000000 10000000 255 1 0 0 0 0 x 0"},
        {"round.stm", "R -10000000 0 0 10000000 10000000 10000000 255 1 0 0 0 0 x 0"},
        {"far.stm", "B 10000000 10000000 10000000 20 20 20 255 1 0 0 0 0 x 0"},
        {"below.stm", "G -10000000 -10000000 -10000000 0 0 0 255 1 0 0 0 parts.dat arch 0 x 0"},
    };
    for (const auto& [name, line] : models) {
        const fs::path path = Write(name, "= 70 330 20 0 0 0 1\n" + line + "\n");
        const fs::path out = folder.Path() / (name + ".png");
        TRun run = RunStonemill({"--render", path.string(), "--output", out.string(), "--size", "120x90",
                                 "--fit", "--no-shading"});
        EXPECT_EQ(run.Status, 0) << name << ": " << run.Err;
        const QImage picture(QString::fromStdString(out.string()));
        int red = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                red += (picture.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
        EXPECT_GT(red, 120 * 90 / 10) << name;
    }
    const TRun info = RunStonemill({"--info", (folder.Path() / "far.stm").string()});
    EXPECT_EQ(info.Out,
              "stones: 1\ngroups: 0\nextents: 10000000 10000000 10000000 10000020 10000020 10000020\n"
              "kinds: B=1\n");
}

TEST_F(CommandLine, RenderAtAScaleDrawsTheViewAnewLarger) {
    const fs::path path = Write("m.stm", model);
    const fs::path one = folder.Path() / "one.png", four = folder.Path() / "four.png";
    for (const auto& [out, scale] : {std::pair{one, "1"}, std::pair{four, "4"}})
        ASSERT_EQ(RunStonemill({"--render", path.string(), "--output", out.string(), "--size", "100x80", "--view",
                                "Top view", "--fit", "--scale", scale})
                      .Status,
                  0);
    const QImage small(QString::fromStdString(one.string())), large(QString::fromStdString(four.string()));
    ASSERT_EQ(large.size(), QSize(400, 320));
    int same = 0, compared = 0;
    for (int y = 5; y < 75; y += 5)
        for (int x = 5; x < 95; x += 5, ++compared)
            same += small.pixel(x, y) == large.pixel(4 * x + 2, 4 * y + 2);
    EXPECT_GT(same, compared * 9 / 10); // flat faces seen from above match
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--scale", "3"}, std::vector<std::string>{"--scale", "2", "--antialias"},
          std::vector<std::string>{"--size", "10000x10000", "--scale", "8"}}) {
        std::vector<std::string> args = {"--render", path.string(), "--output", four.string()};
        args.insert(args.end(), bad.begin(), bad.end());
        const TRun run = RunStonemill(args);
        EXPECT_NE(run.Status, 0) << bad[1];
        EXPECT_NE(run.Err.find("stonemill: "), std::string::npos) << run.Err;
    }
}

TEST_F(CommandLine, BrokenFilesAndBadArguments) {
    const fs::path path = Write("broken.stm", "= 70 330 20 0 0 0 1\nB 0 0 0 40 20 20 255 1 0 0 0 0  0\n"
                                              "G 0 0 0 0 0 0 0 1 0 0 0 parts.dat nosuch 0  0\n"
                                              "B 0 0 0 4x 20 20 255 1 0 0 0 0  0\n");
    TRun run = RunStonemill({"--info", path.string()});
    EXPECT_EQ(run.Status, 3); // done, but with lines left out
    EXPECT_EQ(run.Err, path.string() + ":3: Could not find part nosuch in file parts.dat\n" + path.string() +
                           ":4: '4x' is not a valid integer value\n");
    EXPECT_EQ(run.Out.substr(0, 10), "stones: 1\n");

    TRun missing = RunStonemill({"--info", (folder.Path() / "none.stm").string()});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("none.stm"), std::string::npos);
    // A folder where a model belongs is reported in the program's words.
    for (const char* command : {"--info", "--convert", "--render"}) {
        std::vector<std::string> args = {command, folder.Path().string()};
        if (std::string(command) != "--info")
            args.insert(args.end(), {"--output", (folder.Path() / "out.png").string()});
        TRun folderRun = RunStonemill(args);
        EXPECT_EQ(folderRun.Status, 1) << command;
        EXPECT_EQ(folderRun.Err, "stonemill: Cannot open file \"" + folder.Path().string() + "\". Is a directory\n")
            << command;
    }
    // Any number of degrees of turn is taken round.
    EXPECT_EQ(RunStonemill({"--render", path.string(), "--output", (folder.Path() / "t.png").string(), "--tilt",
                            "30", "--turn", "-30"})
                  .Status,
              3);

    TRun unwritable =
        RunStonemill({"--convert", path.string(), "--output", (folder.Path() / "no/dir/x.stm").string()});
    EXPECT_EQ(unwritable.Status, 1);

    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"--render", path.string()},
             {"--render", path.string(), "--output", "x.png", "--size", "big"},
             {"--render", path.string(), "--output", "x.png", "--view", "Sideways"},
             {"--render", path.string(), "--output", "x.png", "--bits", "12"},
             {"--render", path.string(), "--output", "x.png", "--tilt", "10"},
             {"--render", path.string(), "--output", "x.png", "--tilt", "200", "--turn", "0"},
             {"--render", path.string(), "--output", "x.png", "--light", "0,0,0"},
             {"--render", path.string(), "--output", "x.gif"},
             {"--render", path.string(), "--output", "x"},
             {"--render", path.string(), "--output", folder.Path().string() + "/"},
             {"--convert", path.string(), "--output", folder.Path().string()},
             {"--info"},
             {"--info", path.string(), "--extra"},
             {"--convert", path.string()}}) {
        TRun r = RunStonemill(bad);
        EXPECT_EQ(r.Status, 2) << bad.back();
        EXPECT_NE(r.Err.find("Usage:"), std::string::npos);
    }
}

// Every model and combo shipped beside the program loads without a line
// error, draws, and has the picture the open dialog or the palette shows;
// together the demo models use every kind of stone.
TEST(DemoModels, LoadDrawAndUseEveryKind) {
    TTempProgramFolder out;
    std::set<char> kinds;
    int models = 0;
    for (const char* folder : {"Models", "Combos"}) {
        for (const auto& file : fs::directory_iterator(BuiltProgramFolder() / folder)) {
            if (file.path().extension() != ".stm")
                continue;
            const std::string name = file.path().stem().string();
            const TRun info = RunStonemill({"--info", file.path().string()});
            EXPECT_EQ(info.Status, 0) << name;
            EXPECT_EQ(info.Err, "") << name;
            for (size_t i = info.Out.find("kinds:"); i + 1 < info.Out.size(); ++i)
                if (info.Out[i + 1] == '=')
                    kinds.insert(info.Out[i]);
            const bool demo = std::string(folder) == "Models";
            models += demo;
            fs::path picture = file.path();
            picture.replace_extension(demo ? ".jpg" : ".png");
            EXPECT_FALSE(QImage(QString::fromStdString(picture.string())).isNull()) << picture;

            const fs::path drawn = out.Path() / (name + ".png");
            const TRun render = RunStonemill({"--render", file.path().string(), "--output", drawn.string(), "--size",
                                             "160x120", "--fit", "--detail", "2"});
            EXPECT_EQ(render.Status, 0) << name << ": " << render.Err;
            const QImage image(QString::fromStdString(drawn.string()));
            int stonePixels = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    stonePixels += image.pixel(x, y) != image.pixel(0, 0);
            EXPECT_GT(stonePixels, image.width() * image.height() / 10) << name;
        }
    }
    EXPECT_GE(models, 10);
    EXPECT_EQ(kinds, (std::set<char>{'B', 'R', 'T', 'N', 'C', 'I', 'E', 'G', 'W', 'D', 'O'}));
}

TEST(PovRay, DemoModelsRenderAsMoreThanSkyAndGround) {
    if (!fs::exists("/usr/bin/povray"))
        GTEST_SKIP() << "POV-Ray is not installed (/usr/bin/povray); scripts/install-deps.sh installs it";
    TTempProgramFolder folder;
    auto render = [&](const fs::path& model, const std::string& name) {
        const fs::path out = folder.Path() / name;
        const TRun run = RunStonemill({"--pov", model.string(), "--output", out.string(), "--run"});
        EXPECT_EQ(run.Status, 0) << name << ": " << run.Err;
        EXPECT_TRUE(fs::exists(out / "smBlocks.inc"));
        return QImage(QString::fromStdString((out / "test.png").string()));
    };
    const fs::path empty = folder.Path() / "empty.stm";
    std::ofstream(empty) << "= 70 330 20 0 0 0 1\r\n";
    const QImage nothing = render(empty, "empty");
    ASSERT_EQ(nothing.size(), QSize(320, 240));
    for (const char* demo : {"house", "vehicle", "tower", "castle", "station"}) {
        const QImage picture = render(BuiltProgramFolder() / "Models" / (std::string(demo) + ".stm"), demo);
        ASSERT_EQ(picture.size(), nothing.size()) << demo;
        int differing = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                differing += picture.pixel(x, y) != nothing.pixel(x, y);
        EXPECT_GT(differing, picture.width() * picture.height() / 5) << demo;
    }

}
