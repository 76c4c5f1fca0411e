#include <gtest/gtest.h>

#include <QImage>

#include <cmath>
#include <cstring>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "common/units.h"
#include "export/model_export.h"
#include "model/block_list.h"
#include "model/general_block.h"
#include "temp_program_folder.h"
#include "test_stones.h"
#include "zip_part.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::array<double, 3>> ObjVertices(const std::string& text) {
    std::vector<std::array<double, 3>> points;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with("v "))
            continue;
        std::istringstream fields(line.substr(2));
        std::array<double, 3> p{};
        fields >> p[0] >> p[1] >> p[2];
        points.push_back(p);
    }
    return points;
}

// The lowest and highest value along each axis.
std::pair<std::array<double, 3>, std::array<double, 3>>
Bounds(const std::vector<std::array<double, 3>>& points) {
    std::array<double, 3> low = points.at(0), high = low;
    for (const auto& p : points)
        for (int k = 0; k < 3; ++k) {
            low[k] = std::min(low[k], p[k]);
            high[k] = std::max(high[k], p[k]);
        }
    return {low, high};
}

size_t Count(const std::string& text, const std::string& what) {
    size_t count = 0;
    for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

// Every face of an OBJ file names vertices that exist, counted from 1, and
// the vertices of each object's faces lie in that object's own box.
void ExpectFacesNameTheirObjectsVertices(const std::string& text) {
    std::vector<std::array<double, 3>> points;
    std::array<double, 3> low{}, high{};
    size_t firstOfObject = 0, faces = 0;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("o ")) {
            firstOfObject = points.size();
        } else if (line.starts_with("v ")) {
            std::istringstream fields(line.substr(2));
            std::array<double, 3> p{};
            fields >> p[0] >> p[1] >> p[2];
            if (points.size() == firstOfObject)
                low = high = p;
            for (int k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], p[k]);
                high[k] = std::max(high[k], p[k]);
            }
            points.push_back(p);
        } else if (line.starts_with("f ")) {
            ++faces;
            std::istringstream fields(line.substr(2));
            for (std::string corner; fields >> corner;) {
                const long index = std::stol(corner.substr(0, corner.find('/')));
                ASSERT_GT(index, static_cast<long>(firstOfObject)) << line;
                ASSERT_LE(index, static_cast<long>(points.size())) << line;
                const auto& p = points[static_cast<size_t>(index - 1)];
                for (int k = 0; k < 3; ++k)
                    EXPECT_TRUE(p[k] >= low[k] && p[k] <= high[k]) << line;
            }
        }
    }
    EXPECT_GT(faces, 0u);
}

class ModelExport : public ::testing::Test {
protected:
    ModelExport() {
        // 40 x 20 x 20 units at (20, 40, 0): 16 x 8 x 8 mm at (8, 16, 0) with 8 mm modules.
        Add(StoneInUnits('B', 20, 40, 0, 40, 20, 20, clRed));
        Stones.back()->Caption = "front wall";
        Add(StoneInUnits('B', 100, 0, 20, 20, 20, 6, clBlue));
        Stones.back()->Transparent = true;
        Add(StoneInUnits('B', 200, 0, 0, 20, 40, 20, clRed));
    }
    void Add(std::unique_ptr<TBlock> stone) { Stones.push_back(std::move(stone)); }
    std::vector<const TBlock*> All() const {
        std::vector<const TBlock*> all;
        for (const auto& stone : Stones)
            all.push_back(stone.get());
        return all;
    }
    TTempProgramFolder Folder;
    std::vector<std::unique_ptr<TBlock>> Stones;
};

} // namespace

TEST_F(ModelExport, ObjIsInMillimetresWithYUpAndAMaterialPerColour) {
    const fs::path path = Folder.Path() / "m.OBJ";
    ExportStones({Stones[0].get()}, path, {});
    const std::string obj = ReadText(path);
    EXPECT_NE(obj.find("mtllib m.mtl\n"), std::string::npos);
    EXPECT_NE(obj.find("o front wall\n"), std::string::npos);
    EXPECT_EQ(Count(obj, "\nf "), 12u);
    // Model (x, y, z) becomes (x, z, y).
    auto [low, high] = Bounds(ObjVertices(obj));
    EXPECT_EQ(low, (std::array<double, 3>{8, 0, 16}));
    EXPECT_EQ(high, (std::array<double, 3>{24, 8, 24}));

    // A module of 10 mm scales every length.
    TExportOptions options;
    options.ModuleMillimetres = 10;
    ExportStones(All(), path, options);
    const std::string all = ReadText(path);
    std::tie(low, high) = Bounds(ObjVertices(all));
    EXPECT_EQ(low, (std::array<double, 3>{10, 0, 0}));
    EXPECT_EQ(high, (std::array<double, 3>{110, 13, 30}));
    // Stones without a label go by kind and size: length and width in modules, height in thirds.
    EXPECT_NE(all.find("o 1x1x1\n"), std::string::npos);
    ExpectFacesNameTheirObjectsVertices(all);
    EXPECT_NE(all.find("o 1x2x3\n"), std::string::npos);
    const std::string mtl = ReadText(Folder.Path() / "m.mtl");
    EXPECT_EQ(Count(mtl, "newmtl "), 2u);
    EXPECT_NE(mtl.find("newmtl color_FF0000\nKd 1 0 0\n"), std::string::npos);
    EXPECT_NE(mtl.find("newmtl color_0000FF_clear\nKd 0 0 1\nKa 0 0 0\nKs 0 0 0\nillum 1\nd 0.5\n"),
              std::string::npos);
}

TEST_F(ModelExport, StlHoldsOutwardFacetsInMillimetresWithZUp) {
    const fs::path path = Folder.Path() / "m.stl";
    ExportStones(All(), path, {});
    const std::string stl = ReadText(path);
    uint32_t facets = 0;
    ASSERT_GE(stl.size(), 84u);
    std::memcpy(&facets, stl.data() + 80, 4);
    EXPECT_EQ(facets, 36u);
    EXPECT_EQ(stl.size(), 84u + 50u * facets);
    double volume = 0;
    float low[3] = {1e9f, 1e9f, 1e9f}, high[3] = {-1e9f, -1e9f, -1e9f};
    for (uint32_t k = 0; k < facets; ++k) {
        float f[12];
        std::memcpy(f, stl.data() + 84 + 50 * k, sizeof f);
        const float* n = f;
        const float *a = f + 3, *b = f + 6, *c = f + 9;
        EXPECT_NEAR(n[0] * n[0] + n[1] * n[1] + n[2] * n[2], 1.0, 1e-6);
        // The normal agrees with the winding.
        const double cx = (b[1] - a[1]) * (c[2] - a[2]) - (b[2] - a[2]) * (c[1] - a[1]);
        const double cy = (b[2] - a[2]) * (c[0] - a[0]) - (b[0] - a[0]) * (c[2] - a[2]);
        const double cz = (b[0] - a[0]) * (c[1] - a[1]) - (b[1] - a[1]) * (c[0] - a[0]);
        EXPECT_GT(cx * n[0] + cy * n[1] + cz * n[2], 0);
        volume += (a[0] * (b[1] * c[2] - b[2] * c[1]) - a[1] * (b[0] * c[2] - b[2] * c[0]) +
                   a[2] * (b[0] * c[1] - b[1] * c[0])) /
                  6;
        for (const float* p : {a, b, c})
            for (int i = 0; i < 3; ++i) {
                low[i] = std::min(low[i], p[i]);
                high[i] = std::max(high[i], p[i]);
            }
    }
    // 16 x 8 x 8 + 8 x 8 x 2.4 + 8 x 16 x 8 mm.
    EXPECT_NEAR(volume, 1024 + 153.6 + 1024, 1e-3);
    EXPECT_FLOAT_EQ(low[0], 8);
    EXPECT_FLOAT_EQ(low[1], -24); // the model's y mirrored
    EXPECT_FLOAT_EQ(low[2], 0);
    EXPECT_FLOAT_EQ(high[0], 88);
    EXPECT_FLOAT_EQ(high[1], 0);
    EXPECT_FLOAT_EQ(high[2], 10.4f); // the thin stone: 8 mm up, 6 units (2.4 mm) high
}

TEST_F(ModelExport, ThreeMfPackageHoldsAnObjectPerColour) {
    const fs::path path = Folder.Path() / "m.3mf";
    ExportStones(All(), path, {});
    EXPECT_NE(ZipPart(path, "[Content_Types].xml").find("3dmanufacturing-3dmodel+xml"), std::string::npos);
    EXPECT_NE(ZipPart(path, "_rels/.rels").find("Target=\"/3D/3dmodel.model\""), std::string::npos);
    const std::string model = ZipPart(path, "3D/3dmodel.model");
    EXPECT_NE(model.find("<model unit=\"millimeter\""), std::string::npos);
    EXPECT_EQ(Count(model, "<base "), 2u);
    EXPECT_NE(model.find("displaycolor=\"#FF0000\""), std::string::npos);
    EXPECT_NE(model.find("displaycolor=\"#0000FF80\""), std::string::npos);
    EXPECT_EQ(Count(model, "<object "), 2u);
    EXPECT_EQ(Count(model, "<item "), 2u);
    // Each object has an id of its own, and the build places each once.
    std::multiset<std::string> objects, items;
    const std::regex object("<object id=\"([0-9]+)\""), item("<item objectid=\"([0-9]+)\"");
    for (std::sregex_iterator it(model.begin(), model.end(), object), end; it != end; ++it)
        objects.insert((*it)[1]);
    for (std::sregex_iterator it(model.begin(), model.end(), item), end; it != end; ++it)
        items.insert((*it)[1]);
    EXPECT_EQ(objects.size(), 2u);
    EXPECT_EQ(std::set<std::string>(objects.begin(), objects.end()).size(), 2u);
    EXPECT_EQ(items, objects);
    std::vector<std::string> resources;
    const std::regex id("\\bid=\"([0-9]+)\"");
    for (std::sregex_iterator it(model.begin(), model.end(), id), end; it != end; ++it)
        resources.push_back((*it)[1]);
    EXPECT_EQ(resources.size(), 3u); // the colours and the two objects
    EXPECT_EQ(std::set<std::string>(resources.begin(), resources.end()).size(), resources.size());
    EXPECT_EQ(Count(model, "<triangle "), 36u);
    // The red object holds both red stones, Z up with the model's y mirrored:
    // the first corner of the first stone.
    EXPECT_NE(model.find("<vertex x=\"8\" y=\"-16\" z=\"0\"/>"), std::string::npos);
    EXPECT_NE(model.find("<vertex x=\"40\" y=\"0\" z=\"10.4\"/>"), std::string::npos);
}

TEST_F(ModelExport, FormatsStonesAndMistakes) {
    // The extension chooses the format, in any letter case.
    EXPECT_STREQ(ExportFormatOf("a/b.StL")->Extension, ".stl");
    EXPECT_EQ(ExportFormatOf("a/b.txt"), nullptr);
    EXPECT_EQ(ExportFormatOf("a/obj"), nullptr);
    EXPECT_EQ(ErrorOf([&] { ExportStones(All(), Folder.Path() / "m.dxf", {}); }),
              "Cannot export to \"" + (Folder.Path() / "m.dxf").string() +
                  "\": the file's extension chooses the format, one of .obj, .stl, .3mf, .glb or .mpd.");
    EXPECT_NE(ExportFilter().find("(*.3mf)|*.3mf"), std::string::npos);
    // Module sizes.
    EXPECT_EQ(ModuleSizeProblem(8), "");
    for (double bad : {0.0, -8.0, 0.01, 5000.0, std::nan(""), double(INFINITY)})
        EXPECT_EQ(ModuleSizeProblem(bad), "A grid module must be from 0.1 to 1000 millimetres long.") << bad;
    TExportOptions tiny;
    tiny.ModuleMillimetres = 0;
    EXPECT_NE(ErrorOf([&] { ExportStones(All(), Folder.Path() / "m.obj", tiny); }), "");
    EXPECT_EQ(ErrorOf([&] { ExportStones({}, Folder.Path() / "m.obj", {}); }),
              "There are no stones to export.");
    // A failed export leaves no file.
    const std::string cannot = ErrorOf([&] { ExportStones(All(), Folder.Path() / "none" / "m.stl", {}); });
    EXPECT_EQ(cannot.find("Cannot create file"), 0u) << cannot;
    EXPECT_FALSE(fs::exists(Folder.Path() / "none"));

    // The stones a mode takes, as a model save takes them.
    TOwnedBlockList model;
    std::vector<std::unique_ptr<TBlock>> stones;
    stones.push_back(StoneInUnits('B', 0, 0, 0, 20, 20, 20));
    stones.push_back(StoneInUnits('B', 40, 0, 0, 20, 20, 20));
    stones[1]->Selected = true;
    const TBlock* selected = stones[1].get();
    for (auto& stone : stones)
        model.Add(std::move(stone));
    EXPECT_EQ(StonesToExport(model, TSaveMode::smComplete).size(), 2u);
    EXPECT_EQ(StonesToExport(model, TSaveMode::smSelected), std::vector<const TBlock*>{selected});
    EXPECT_EQ(StonesToExport(model, TSaveMode::smDisplayed).size(), 2u);
}

TEST_F(ModelExport, ObjPicturesComeOnlyFromThePartLibraryIntoAFolderOfTheirOwn) {
    const fs::path& root = Folder.Path();
    QImage picture(2, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString((Folder.Parts() / "sign.png").string())));
    fs::create_directories(Folder.Parts() / "sub");
    std::ofstream(Folder.Parts() / "sub" / ".bashrc") << "the part's";
    std::ofstream(root / "secret.png") << "not a picture of the library";
    std::ofstream(Folder.Parts() / "fake.png") << "no picture at all";
    // One part per picture name, each a single square that shows it.
    std::string parts;
    for (const char* name : {"sign.png", "../secret.png", "/etc/passwd", "sub/.bashrc", "fake.png", "sign\\"})
        parts += std::string("[p") + std::to_string(parts.size()) +
                 "]\nNP=1\nBB=20,20,20\n"
                 "P1=4, 1, 0,0,0, 20,0,0, 20,20,0, 0,20,0\nBM=1, " +
                 name + "\n\n";
    // Names that would reach past their line in an OBJ file.
    parts += "[x\\]\nNP=1\nBB=20,20,20\nP1=4, 1, 0,0,0, 20,0,0, 20,20,0, 0,20,0\n\n";
    parts += "[a#b]\nNP=1\nBB=20,20,20\nP1=4, 1, 0,0,0, 20,0,0, 20,20,0, 0,20,0\n\n";
    Folder.WritePartFile("pictured.dat", parts);
    std::vector<std::unique_ptr<TBlock>> owned;
    std::vector<const TBlock*> stones;
    for (size_t at = parts.find('['); at != std::string::npos; at = parts.find('[', at + 1)) {
        const std::string part = parts.substr(at + 1, parts.find(']', at) - at - 1);
        owned.push_back(std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, clRed, false, false, false,
                                                        "pictured.dat", part, ""));
        owned.back()->X = static_cast<int32_t>(40 * owned.size());
        stones.push_back(owned.back().get());
    }
    TExportOptions options;
    options.FindPicture = [&](const std::string& name) -> std::optional<fs::path> {
        // As the program looks: under parts/, whatever the name says.
        const fs::path file = Folder.Parts() / name;
        return fs::exists(file) ? std::optional(file) : std::nullopt;
    };

    // The user's own files beside the export stay as they are.
    const fs::path out = root / "out";
    fs::create_directories(out);
    std::ofstream(out / "sign.png") << "my holiday photo";
    ExportStones(stones, out / "m.obj", options);
    EXPECT_EQ(Folder.ReadFile(out / "sign.png"), "my holiday photo");
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(out))
        names.insert(fs::relative(entry.path(), out).string());
    EXPECT_EQ(names,
              (std::set<std::string>{"m.obj", "m.mtl", "sign.png", "m_textures", "m_textures/sign.png"}));
    const std::string mtl = ReadText(out / "m.mtl");
    EXPECT_EQ(Count(mtl, "map_Kd "), 1u);
    EXPECT_NE(mtl.find("map_Kd m_textures/sign.png\n"), std::string::npos);
    // No name reaches past its line: no "#" and no backslash at a line's end.
    const std::string obj = ReadText(out / "m.obj");
    for (const std::string& text : {obj, mtl}) {
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);)
            EXPECT_TRUE(line.empty() || line[0] == '#' ||
                        (line.find('#') == std::string::npos && line.back() != '\\'))
                << line;
    }
    EXPECT_NE(obj.find("o x_\n"), std::string::npos);
    EXPECT_NE(obj.find("o a_b\n"), std::string::npos);
    ExpectFacesNameTheirObjectsVertices(obj);

    // A library or textures folder the user made is refused, not replaced.
    std::ofstream(root / "mine.mtl") << "newmtl mine\n";
    EXPECT_NE(ErrorOf([&] { ExportStones(stones, root / "mine.obj", options); }).find("mine.mtl"),
              std::string::npos);
    EXPECT_EQ(Folder.ReadFile(root / "mine.mtl"), "newmtl mine\n");
    EXPECT_FALSE(fs::exists(root / "mine.obj"));
    fs::create_directories(out / "m_textures");
    std::ofstream(out / "m_textures" / "holiday.jpg") << "photo";
    EXPECT_NE(ErrorOf([&] { ExportStones(stones, out / "m.obj", options); }).find("m_textures"),
              std::string::npos);
    EXPECT_EQ(Folder.ReadFile(out / "m_textures" / "holiday.jpg"), "photo");
    fs::remove(out / "m_textures" / "holiday.jpg");
    ExportStones(stones, out / "m.obj", options); // an earlier export's folder is replaced

    // Through a link, the companions go beside the file the link names.
    fs::create_directories(root / "other");
    fs::create_symlink("other/real.obj", root / "link.obj");
    ExportStones(stones, root / "link.obj", options);
    EXPECT_TRUE(fs::is_symlink(root / "link.obj"));
    EXPECT_NE(ReadText(root / "other" / "real.obj").find("mtllib real.mtl\n"), std::string::npos);
    EXPECT_TRUE(fs::is_regular_file(root / "other" / "real.mtl"));
    EXPECT_TRUE(fs::is_regular_file(root / "other" / "real_textures" / "sign.png"));
    EXPECT_FALSE(fs::exists(root / "link.mtl"));
}
