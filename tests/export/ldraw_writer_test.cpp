// The LDraw writer: its lines read back to the same stones, places and
// colours, and LeoCAD draws the colours without the LDraw library.

#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "common/error.h"
#include "export/ldraw_writer.h"
#include "export/stone_mesh.h"
#include "export_samples.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

// What a small LDraw reader finds in a multi-part file.
struct TLDrawFile {
    struct TReference {
        std::string Colour;
        std::array<double, 3> Move{};
        std::array<double, 9> Turn{};
        std::string Shape;
    };
    struct TShape {
        std::vector<std::array<double, 9>> Triangles;
        std::set<std::string> FaceColours, EdgeColours;
        int Edges = 0;
        std::vector<std::string> Header;
    };
    std::vector<std::string> Files; // in order
    std::vector<std::string> MainHeader;
    std::vector<TReference> Stones;
    std::map<std::string, TShape> Shapes;
    std::vector<std::string> Faults;
};

TLDrawFile ReadLDraw(const fs::path& path) {
    TLDrawFile file;
    std::ifstream in(path);
    std::string current;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        int type = -1;
        fields >> type;
        if (type == 0) {
            std::string word;
            fields >> word;
            if (word == "FILE") {
                fields >> current;
                file.Files.push_back(current);
            } else if (word == "NOFILE") {
                current.clear();
            } else if (current == "main.ldr") {
                file.MainHeader.push_back(line);
            } else {
                file.Shapes[current].Header.push_back(line);
            }
        } else if (type == 1 && current == "main.ldr") {
            TLDrawFile::TReference stone;
            fields >> stone.Colour;
            for (double& v : stone.Move)
                fields >> v;
            for (double& v : stone.Turn)
                fields >> v;
            fields >> stone.Shape;
            if (!fields)
                file.Faults.push_back(line);
            file.Stones.push_back(stone);
        } else if (type == 3 && !current.empty()) {
            std::string colour;
            std::array<double, 9> t{};
            fields >> colour;
            for (double& v : t)
                fields >> v;
            if (!fields)
                file.Faults.push_back(line);
            file.Shapes[current].Triangles.push_back(t);
            file.Shapes[current].FaceColours.insert(colour);
        } else if (type == 2 && !current.empty()) {
            std::string colour;
            std::array<double, 6> e{};
            fields >> colour;
            for (double& v : e)
                fields >> v;
            if (!fields)
                file.Faults.push_back(line);
            file.Shapes[current].EdgeColours.insert(colour);
            ++file.Shapes[current].Edges;
        } else if (!line.empty()) {
            file.Faults.push_back(line);
        }
    }
    return file;
}

// The box a stone line's shape takes, back in our axes: LDraw (x, y, z) is
// our (x, -z, -y).
std::pair<std::array<double, 3>, std::array<double, 3>> ModelBox(const TLDrawFile& file,
                                                                 const TLDrawFile::TReference& stone) {
    std::array<double, 3> low = {1e9, 1e9, 1e9}, high = {-1e9, -1e9, -1e9};
    for (const auto& t : file.Shapes.at(stone.Shape).Triangles)
        for (int corner = 0; corner < 3; ++corner) {
            const double* p = &t[corner * 3];
            std::array<double, 3> q;
            for (int i = 0; i < 3; ++i)
                q[i] = stone.Turn[i * 3] * p[0] + stone.Turn[i * 3 + 1] * p[1] +
                       stone.Turn[i * 3 + 2] * p[2] + stone.Move[i];
            const std::array<double, 3> model = {q[0], -q[2], -q[1]};
            for (int i = 0; i < 3; ++i) {
                low[i] = std::min(low[i], model[i]);
                high[i] = std::max(high[i], model[i]);
            }
        }
    return {low, high};
}

// Six times the volume the triangles enclose: positive when they are wound
// counter-clockwise seen from outside, in LDraw's axes.
double WoundVolume(const TLDrawFile::TShape& shape) {
    double volume = 0;
    for (const auto& t : shape.Triangles)
        volume += t[0] * (t[4] * t[8] - t[5] * t[7]) - t[1] * (t[3] * t[8] - t[5] * t[6]) +
                  t[2] * (t[3] * t[7] - t[4] * t[6]);
    return volume;
}

// LDraw's direct colour of a stone's colour.
std::string DirectColour(TColor color, bool transparent) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%c%02X%02X%02X", transparent ? '3' : '2', GetRValue(color),
                  GetGValue(color), GetBValue(color));
    return text;
}

class LDrawWriterTest : public ::testing::Test {
protected:
    TTempProgramFolder FFolder;
    fs::path File(const std::string& name) const { return FFolder.Path() / name; }
};

} // namespace

TEST_F(LDrawWriterTest, TheLinesReadBackToTheSameStonesPlacesAndColours) {
    const TSampleModel sample;
    const fs::path path = File("boxes.mpd");
    WriteLdrawModel(sample.Stones, path);
    const TLDrawFile file = ReadLDraw(path);
    EXPECT_TRUE(file.Faults.empty()) << file.Faults.front();

    // The main model first, with its title and name; every shape once.
    ASSERT_FALSE(file.Files.empty());
    EXPECT_EQ(file.Files[0], "main.ldr");
    ASSERT_GE(file.MainHeader.size(), 2u);
    EXPECT_EQ(file.MainHeader[0], "0 boxes");
    EXPECT_EQ(file.MainHeader[1], "0 Name: main.ldr");
    // A subfile per shape and colour: four shapes, six pairs.
    EXPECT_EQ(file.Files.size(), 1 + 6u);
    EXPECT_EQ(file.Shapes.size(), 6u);
    std::set<std::string> shapes;
    for (const auto& [name, shape] : file.Shapes) {
        shapes.insert(name.substr(0, name.find('-', 6)));
        EXPECT_EQ(shape.Triangles.size(), 12u) << name;
        EXPECT_EQ(shape.Edges, 12) << name; // a box's twelve edges, none across a face
        EXPECT_GT(WoundVolume(shape), 0) << name;
        EXPECT_NE(std::find(shape.Header.begin(), shape.Header.end(), "0 BFC CERTIFY CCW"),
                  shape.Header.end());
        EXPECT_EQ(shape.FaceColours.size(), 1u) << name;
        EXPECT_EQ(shape.EdgeColours.size(), 1u) << name;
    }
    EXPECT_EQ(shapes.size(), 4u);

    ASSERT_EQ(file.Stones.size(), sample.Stones.size());
    std::map<std::string, std::string> shapeFiles;
    for (size_t n = 0; n < sample.Stones.size(); ++n) {
        const TBlock& stone = *sample.Stones[n];
        const TLDrawFile::TReference& line = file.Stones[n];
        EXPECT_EQ(line.Colour, "16") << n;
        ASSERT_TRUE(file.Shapes.count(line.Shape)) << line.Shape;
        EXPECT_EQ(*file.Shapes.at(line.Shape).FaceColours.begin(),
                  DirectColour(stone.Color, stone.Transparent))
            << n;
        // Stones of one shape and colour use one subfile.
        auto [known, added] =
            shapeFiles.emplace(ShapeKeyOf(stone) + DirectColour(stone.Color, stone.Transparent), line.Shape);
        EXPECT_EQ(known->second, line.Shape) << n;

        const auto [low, high] = ModelBox(file, line);
        const std::array<double, 3> wantLow = {double(stone.X), double(stone.Y), double(stone.Z)};
        const std::array<double, 3> wantHigh = {double(stone.X + stone.Length), double(stone.Y + stone.Width),
                                                double(stone.Z + stone.Height)};
        for (int i = 0; i < 3; ++i) {
            EXPECT_DOUBLE_EQ(low[i], wantLow[i]) << "stone " << n << " axis " << i;
            EXPECT_DOUBLE_EQ(high[i], wantHigh[i]) << "stone " << n << " axis " << i;
        }
    }
}

TEST_F(LDrawWriterTest, EveryDemoModelReadsBackStoneForStone) {
    FFolder.CopyShippedParts();
    for (const fs::path& model : DemoModelFiles()) {
        TOwnedBlockList stones;
        const fs::path path = File(model.stem().string() + ".mpd");
        WriteLdrawModel(DemoModelStones(model, stones), path);
        const TLDrawFile file = ReadLDraw(path);
        EXPECT_TRUE(file.Faults.empty()) << model.filename() << ": " << file.Faults.front();
        EXPECT_EQ(file.Stones.size(), static_cast<size_t>(stones.Count())) << model.filename();
        for (const auto& stone : file.Stones)
            EXPECT_TRUE(file.Shapes.count(stone.Shape)) << stone.Shape;
    }
}

TEST_F(LDrawWriterTest, LeoCadDrawsTheColourOfTheFileWithoutTheLDrawLibrary) {
    if (!HaveProgram("leocad") || !HaveProgram("xvfb-run"))
        GTEST_SKIP() << "leocad or xvfb-run is missing: scripts/install-deps.sh test installs them";
    const TColor colour = RGB(40, 170, 60);
    auto stone = StoneInUnits('B', 0, 0, 0, 80, 80, 60, colour);
    const fs::path path = File("green.mpd"), picture = File("green.png");
    WriteLdrawModel({stone.get()}, path);
    // Looking down at the box from above its middle, in LDraw's axes.
    int exitCode = 0;
    const std::string output = RunCommand(
        "cd " + ShellQuoted(FFolder.Path().string()) + " && HOME=" + ShellQuoted(FFolder.Path().string()) +
            " timeout 60 xvfb-run -a -s '-screen 0 640x480x24' leocad -i green.png -w 160 -h 120 "
            "--orthographic "
            "--camera-position-ldraw 40 -500 -40 40 0 -40 0 0 -1 --fov 30 --zplanes 1 2000 green.mpd 2>&1",
        exitCode);
    QImage image(QString::fromStdString(picture.string()));
    ASSERT_FALSE(image.isNull()) << "exit code " << exitCode << ": " << output;
    // The top face fills the middle, lit but still green, not grey.
    const QColor middle = image.pixelColor(image.width() / 2, image.height() / 2);
    EXPECT_GT(middle.green(), middle.red() + 40) << middle.name().toStdString();
    EXPECT_GT(middle.green(), middle.blue() + 40) << middle.name().toStdString();
}
