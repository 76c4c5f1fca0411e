// Exported files read back by the programs people open them with: assimp
// (the reader behind many 3D programs) and admesh (an STL checker used
// before printing). Installed by scripts/install-deps.sh test.

#include <gtest/gtest.h>

#include <cstdio>
#include <regex>
#include <sys/wait.h>

#include "export/model_export.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

struct TOutput {
    int Status = -1;
    std::string Text;
};

// Runs a command line (its arguments are our own file names) and gathers
// what it prints.
TOutput RunCommand(const std::string& command) {
    TOutput result;
    std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        result.Text.append(buffer, n);
    const int status = pclose(pipe);
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool Installed(const char* program) {
    return RunCommand(std::string("command -v ") + program).Status == 0;
}

// The number after "label" at the start of a line of the text, or -1.
double NumberAfter(const std::string& text, const std::string& label) {
    std::smatch match;
    if (!std::regex_search(text, match, std::regex("(^|\n|\\s\\s)" + label + "\\s*:?\\s*([-0-9.e+]+)")))
        return -1;
    return std::stod(match[2]);
}

std::string Quoted(const fs::path& path) {
    return "'" + path.string() + "'";
}

} // namespace

TEST(OutsideReaders, BoxesReadBackWithTheirMeshesFacesAndVolume) {
    if (!Installed("assimp") || !Installed("admesh"))
        GTEST_SKIP() << "assimp or admesh is missing: scripts/install-deps.sh test installs them";
    TTempProgramFolder folder;
    // Six boxes apart from each other in three colours, one of them see-through.
    std::vector<std::unique_ptr<TBlock>> stones;
    stones.push_back(StoneInUnits('B', 0, 0, 0, 40, 20, 20, clRed));
    stones.push_back(StoneInUnits('B', 100, 0, 0, 80, 40, 6, clRed));
    stones.push_back(StoneInUnits('B', 0, 100, 40, 20, 20, 13, clRed));
    stones.push_back(StoneInUnits('B', 200, 0, 0, 20, 80, 20, clGreen));
    stones.push_back(StoneInUnits('B', 200, 200, 0, 40, 40, 40, clGreen));
    stones.push_back(StoneInUnits('B', 400, 0, 0, 20, 20, 20, clBlue));
    stones.back()->Transparent = true;
    stones[3]->TurnQuarter();
    std::vector<const TBlock*> all;
    double volume = 0;
    for (const auto& stone : stones) {
        all.push_back(stone.get());
        volume += stone->Length * stone->Width * stone->Height * 0.4 * 0.4 * 0.4; // 8 mm modules
    }

    const fs::path obj = folder.Path() / "boxes.obj", stl = folder.Path() / "boxes.stl",
                   package = folder.Path() / "boxes.3mf";
    for (const fs::path& path : {obj, stl, package})
        ExportStones(all, path, {});

    // One mesh per stone in OBJ, one for everything in STL, one per colour in 3MF.
    for (auto [path, meshes] : {std::pair{obj, 6}, std::pair{stl, 1}, std::pair{package, 3}}) {
        const TOutput info = RunCommand("assimp info " + Quoted(path));
        ASSERT_EQ(info.Status, 0) << path << "\n" << info.Text;
        EXPECT_EQ(NumberAfter(info.Text, "Meshes"), meshes) << path << "\n" << info.Text;
        EXPECT_EQ(NumberAfter(info.Text, "Faces"), 6 * 12) << path;
    }

    const TOutput check = RunCommand("admesh " + Quoted(stl));
    ASSERT_EQ(check.Status, 0) << check.Text;
    EXPECT_EQ(NumberAfter(check.Text, "Number of parts"), 6) << check.Text;
    EXPECT_NEAR(NumberAfter(check.Text, "Volume"), volume, 0.01) << check.Text;
    for (const char* repair : {"Edges fixed", "Facets removed", "Facets added", "Facets reversed",
                               "Backwards edges", "Normals fixed"})
        EXPECT_EQ(NumberAfter(check.Text, repair), 0) << repair << "\n" << check.Text;
}

// One stone of every kind, alone in an STL file: admesh finds its shell
// closed and facing out, and the volume its mesh encloses.
TEST(OutsideReaders, EveryKindIsOneClosedShellOfItsVolumeForAdmesh) {
    if (!Installed("admesh"))
        GTEST_SKIP() << "admesh is missing: scripts/install-deps.sh test installs it";
    TTempProgramFolder folder;
    for (const auto& [kind, l, w, h] : std::vector<std::tuple<char, int, int, int>>{{'B', 40, 20, 13},
                                                                                    {'R', 40, 40, 20},
                                                                                    {'T', 80, 40, 20},
                                                                                    {'N', 80, 40, 20},
                                                                                    {'C', 40, 40, 20},
                                                                                    {'E', 40, 40, 20},
                                                                                    {'I', 40, 40, 20},
                                                                                    {'W', 40, 20, 40},
                                                                                    {'D', 40, 20, 60},
                                                                                    {'O', 40, 20, 40}}) {
        auto stone = StoneInUnits(kind, 20, 40, 0, l, w, h, clRed);
        stone->TurnQuarter();
        double volume = 0; // of the mesh itself, in cubic millimetres with 8 mm modules
        const TStoneMesh mesh = BuildStoneMesh(*stone);
        for (const TMeshTriangle& t : mesh.Triangles) {
            const TMeshPoint &a = mesh.Points[t[0]], &b = mesh.Points[t[1]], &c = mesh.Points[t[2]];
            volume += (a.X * (b.Y * c.Z - b.Z * c.Y) - a.Y * (b.X * c.Z - b.Z * c.X) +
                       a.Z * (b.X * c.Y - b.Y * c.X)) /
                      6 * 0.4 * 0.4 * 0.4;
        }
        const fs::path stl = folder.Path() / (std::string("kind_") + kind + ".stl");
        ExportStones({stone.get()}, stl, {});
        const TOutput check = RunCommand("admesh " + Quoted(stl));
        ASSERT_EQ(check.Status, 0) << check.Text;
        EXPECT_GT(volume, 0) << kind;
        EXPECT_NEAR(NumberAfter(check.Text, "Volume"), volume, 0.01 * volume) << kind << "\n" << check.Text;
        for (const char* repair : {"Edges fixed", "Facets removed", "Facets added", "Facets reversed",
                                   "Backwards edges", "Normals fixed"})
            EXPECT_EQ(NumberAfter(check.Text, repair), 0) << kind << ": " << repair << "\n" << check.Text;
    }
}
