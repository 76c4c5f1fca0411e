#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>

#include "export/pov_scene.h"
#include "model/block_list.h"
#include "model/general_block.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

class PovSceneTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.CopyShippedParts();
        settings.Date = "08/12/2026";
        settings.AngleX = static_cast<float>(70 * M_PI / 180);
        settings.AngleZ = static_cast<float>(330 * M_PI / 180);
        settings.ViewScale = 0.5f;
    }
    TBlock* Add(std::unique_ptr<TBlock> stone, const std::string& name, int turn = 0) {
        stone->Name = name;
        stone->Turn = turn;
        return model.Add(std::move(stone));
    }
    TStringList Lines(const TDeclaredNames& declared) const {
        return PovSceneLines(model, settings, declared);
    }
    TTempProgramFolder folder;
    TOwnedBlockList model;
    TPovSettings settings;
};

std::vector<std::string> Tail(const TStringList& lines, size_t from) {
    return std::vector<std::string>(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.end());
}

} // namespace

TEST_F(PovSceneTest, ADeclaredModelLineByLine) {
    Add(StoneInUnits('B', 20, 40, 0, 80, 40, 20, RGB(232, 229, 178)), "wall");
    Add(StoneInUnits('B', 20, 40, 20, 80, 40, 20, RGB(207, 94, 75)), "wall", 1);
    Add(StoneInUnits('T', 100, 40, 0, 80, 40, 20, RGB(143, 146, 169)), "roof-2x4", 2);
    Add(StoneInUnits('B', 20, 80, 0, 40, 80, 20, clWhite), "wall", 3);
    Add(StoneInUnits('B', 0, 0, 0, 20, 20, 20, clWhite), ""); // no name: left out, but counts for the origin
    const TDeclaredNames declared = {{"gwall", "GWall"}, {"groof_2x4", "Groof_2x4"}};
    const TStringList lines = Lines(declared);
    ASSERT_GE(lines.size(), 90u);
    EXPECT_EQ(lines[4], "// Date: 08/12/2026");
    EXPECT_EQ(lines[9], "#include \"smBlocks.inc\"");
    const std::vector<std::string> expected = {
        "light_source {",
        "  <0,2000,5000>",
        "  color rgb 0.55*<1, 1, 1>",
        "}",
        "",
        "light_source { // At the same pos as the camera",
        "  <9396,6840,16275>",
        "  color rgb 0.35*<1, 1, 1>",
        "  shadowless",
        "}",
        "light_source { <0, 5000000, 0> color 0.5 shadowless }",
        "// ----------------------------------------",
        "",
        "plane {",
        "  y, -0.1",
        "#if (USE_RADIOSITY)",
        "  pigment { color rgb <0.7,0.5,0.3>*0.5 }",
        "#else",
        "  pigment { color rgb <0.7,0.5,0.3> }",
        "#end",
        "}",
        "",
        "camera {",
        "  location <9396,6840,16275>",
        "  direction 1.5*z",
        "  right     -x*image_width/image_height",
        "  look_at   <90, 20, 80>",
        "  angle 3",
        "#if (USE_RADIOSITY)",
        "  focal_point <150,-50,-150>",
        "  aperture 25",
        "  blur_samples 70",
        "  variance 1/1000 //even better: 0.0",
        "#end",
        "}",
        "",
        // Every part declared: no mock-ups, no SW.
        "#object { GWall rotate <0, 0, 0> translate <20 0 40> material {Color1} }",
        "#object { GWall rotate <0, 90, 0> translate <20 20 80> material {Color2} }",
        "#object { Groof_2x4 rotate <0, 180, 0> translate <180 0 80> material {Color3} }",
        "#object { GWall rotate <0, 270, 0> translate <60 0 80> material "
        "{ColorX(0.99609375,0.99609375,0.99609375)} }",
    };
    EXPECT_EQ(Tail(lines, lines.size() - expected.size()), expected);
}

TEST_F(PovSceneTest, MissingPartsBecomeMockUpsAndViewsMoveTheCamera) {
    Add(std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, RGB(10, 20, 30), true, false, false, "parts.dat",
                                        "slope45", ""),
        "my-slope");
    Add(StoneInUnits('R', 40, 0, 0, 40, 20, 13, RGB(0, 0, 0)), "drum", 1);
    Add(std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, clWhite, true, false, false, "parts.dat", "slope45",
                                        ""),
        "my-slope");
    const TStringList lines = Lines({});
    const auto section = std::find(lines.begin(), lines.end(), "#declare SW=0.02;");
    ASSERT_NE(section, lines.end());
    EXPECT_EQ(*(section - 2), "/* Parts missing from the library - mockups created by Stonemill */");
    const std::vector<std::string> mockUps(section + 2, section + 15);
    EXPECT_EQ(mockUps, (std::vector<std::string>{
                           "#declare Gdrum = object {",
                           "  box { <0, 0, 0>, <20, 13, 40> }", // as it stands unturned
                           "  scale <1-SW*80/20, 1-SW*80/13, 1-SW*80/40>",
                           "  translate SW*80/2",
                           "}",
                           "#declare Gmy_slope = object {",
                           "  union {",
                           "    polygon {   4, <0, 0, 0>, <0, 0, 40>, <0, 20, 40>, <0, 20, 20>}",
                           "    polygon {   4, <40, 0, 0>, <40, 0, 40>, <40, 20, 40>, <40, 20, 20>}",
                           "    polygon {   4, <0, 0, 0>, <0, 0, 40>, <40, 0, 40>, <40, 0, 0>}",
                           "    polygon {   4, <0, 0, 40>, <0, 20, 40>, <40, 20, 40>, <40, 0, 40>}",
                           "    polygon {   4, <0, 20, 40>, <0, 20, 20>, <40, 20, 20>, <40, 20, 40>}",
                           "    polygon {   4, <0, 20, 20>, <0, 0, 0>, <40, 0, 0>, <40, 20, 20>}",
                       }));
    EXPECT_EQ(*(section + 15), "  }");
    EXPECT_EQ(*(section + 16), "  scale <1-SW*80/40, 1-SW*80/20, 1-SW*80/40>");
    EXPECT_EQ(lines.back(), "#object { Gmy_slope rotate <0, 0, 0> translate <0 0 0> material "
                            "{ColorX(0.99609375,0.99609375,0.99609375)} }");
    EXPECT_EQ(lines[lines.size() - 2],
              "#object { Gdrum rotate <0, 90, 0> translate <40 0 20> material {ColorX(0,0,0)} }");
    EXPECT_EQ(lines[lines.size() - 3], "#object { Gmy_slope rotate <0, 0, 0> translate <0 0 0> material "
                                       "{ColorX(0.0390625,0.078125,0.1171875)} }");

    // The camera on the line of sight, 10000 / scale away, truncated: from the
    // front (a tilt of 90 degrees held as a float lies just past it), and from
    // straight above (never "-0").
    settings.AngleX = static_cast<float>(90 * M_PI / 180);
    settings.AngleZ = 0;
    settings.ViewScale = 1;
    TStringList front = Lines({});
    EXPECT_NE(std::find(front.begin(), front.end(), "  location <0,0,9999>"), front.end());
    settings.AngleX = 0;
    settings.ViewScale = 4;
    front = Lines({});
    EXPECT_NE(std::find(front.begin(), front.end(), "  location <0,2500,0>"), front.end());
    settings.Light = {1, 2, 3};
    front = Lines({});
    EXPECT_NE(std::find(front.begin(), front.end(), "  <-1000,3000,2000>"), front.end());
}

TEST_F(PovSceneTest, TheIncludeFileNamesTheDeclaredObjectsAndTheFilesAreWritten) {
    const fs::path include = folder.Path() / "smBlocks.inc";
    std::ofstream(include) << "// stones\n#declare GWall = object { box {0, 1} }\n  #DECLARE   Gx = 1\n"
                              "#declare Gdraft = object { } // unfinished\n#declare Color1 = material {}\n";
    const TDeclaredNames names = ReadDeclaredNames(include);
    EXPECT_EQ(names, (TDeclaredNames{{"gwall", "GWall"}, {"color1", "Color1"}}));
    EXPECT_EQ(PovName("a-b c"), "Ga_b_c");

    Add(StoneInUnits(' ', 0, 0, 0, 20, 20, 20), "Wall");
    WritePovScene(model, settings, folder.Path(), folder.Path());
    EXPECT_EQ(model[0]->Kind, 'B');
    EXPECT_EQ(folder.ReadFile(folder.Path() / "povray.ini"), "-V +W320 +H240\r\n");
    const std::string scene = folder.ReadFile(folder.Path() / "test.pov");
    EXPECT_NE(scene.find("#object { GWall rotate"), std::string::npos);
    EXPECT_EQ(scene.find("SW="), std::string::npos);
    EXPECT_NE(ErrorOf([&] { WritePovScene(model, settings, folder.Path() / "none", folder.Path()); }), "");
    EXPECT_NE(ErrorOf([&] { WritePovScene(model, settings, folder.Path(), folder.Path() / "none"); }), "");
}

TEST_F(PovSceneTest, PicturesLieOnTheirPolygonsAndOnlyPalettePicturesGetASeeThroughColour) {
    // An upright sign facing -y with a true-colour PNG, a floor tile whose GIF
    // picture lies flat, and a shipped sign facing +y with a palette PNG.
    folder.WritePartFile("board.bcp", "[board]\r\nNP=1\r\nBB=80,4,20\r\n"
                                      "P1=4, 1, 80,0,20, 80,0,0, 0,0,0, 0,0,20\r\nBM=1, board.png\r\n"
                                      "Q1=1 ,1\r\n");
    folder.WritePartFile("board.png",
                         std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x02", 26));
    folder.WritePartFile("tile.bcp",
                         "[tile]\r\nNP=1\r\nBB=40,40,6\r\n"
                         "P1=4, 1, 0,0,6, 40,0,6, 40,40,6, 0,40,6\r\nBM=1, tile.gif\r\nQ1=1 ,1\r\n");
    folder.WritePartFile("tile.gif", "GIF89a");
    settings.PartsFolder = folder.Parts();
    Add(std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, clWhite, true, false, false, "parts.dat", "board",
                                        ""),
        "board", 2);
    Add(std::make_unique<TGeneralBlock>(0, 2, 0, 0, 0, 0, clWhite, true, false, false, "parts.dat", "tile",
                                        ""),
        "tile");
    Add(std::make_unique<TGeneralBlock>(5, 0, 0, 0, 0, 0, clWhite, true, false, false, "parts.dat",
                                        "stationsign", ""),
        "stationsign");
    const TStringList lines =
        Lines({{"gboard", "Gboard"}, {"gtile", "Gtile"}, {"gstationsign", "Gstationsign"}});
    auto planeOf = [&](const std::string& object) {
        auto at = std::find_if(lines.begin(), lines.end(),
                               [&](const std::string& l) { return l.rfind("#object { " + object, 0) == 0; });
        EXPECT_NE(at, lines.end()) << object;
        return std::vector<std::string>(at + 1, std::min(at + 9, lines.end()));
    };
    const std::string board = (folder.Parts() / "board.png").string();
    EXPECT_EQ(
        planeOf("Gboard"),
        (std::vector<std::string>{"#object {polygon {   4, <80, 20, 0>, <80, 0, 0>, <0, 0, 0>, <0, 20, 0>  }",
                                  "    pigment {", "      image_map {", "        png \"" + board + "\"",
                                  "      }", "      scale <-80,20,1> translate <80,0,0>", "    }",
                                  "  rotate <0, 180, 0> translate <80 0 4>}"}));
    const std::vector<std::string> sign = planeOf("Gstationsign"); // facing +y, where x grows to the right
    EXPECT_EQ(sign[4], "        transmit 1 1.0");
    EXPECT_EQ(sign[6], "      scale <80,20,1> translate <0,0,0>");
    const std::vector<std::string> tile = planeOf("Gtile");
    EXPECT_EQ(tile[3], "        gif \"" + (folder.Parts() / "tile.gif").string() + "\"");
    EXPECT_EQ(tile[4], "        transmit 1 1.0");
    EXPECT_EQ(tile[6], "      rotate <-90,0,0> scale <40,1,40>");
}

TEST_F(PovSceneTest, HostileNamesStayInsideTheirStringsAndNames) {
    const std::string png = std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10\0\0\0\x10\x08\x02", 26);
    const std::string hostile = "x\" } } } #fopen F \"pwned.txt\" write \\ \t.png";
    folder.WritePartFile(hostile, png);
    std::ofstream(folder.Path() / "outside.png", std::ios::binary) << png;
    settings.PartsFolder = folder.Parts();
    settings.Date = "8.12.2026\n#fopen D \"date.txt\" write";
    // A picture name full of POV-Ray's own signs, and one leading out of the parts folder.
    const std::vector<std::string> pictures = {hostile, "../outside.png"};
    for (size_t i = 0; i < pictures.size(); ++i) {
        const std::string part = "sign" + std::to_string(i);
        folder.WritePartFile(part + ".bcp", "[" + part + "]\r\nNP=1\r\nBB=80,4,20\r\n" +
                                                "P1=4, 1, 80,0,20, 80,0,0, 0,0,0, 0,0,20\r\nBM=1, " +
                                                pictures[i] + "\r\nQ1=1 ,1\r\n");
        Add(std::make_unique<TGeneralBlock>(0, 0, 0, 0, 0, 0, clWhite, true, false, false, "parts.dat", part,
                                            ""),
            part);
    }
    const std::string longName(300, 'a');
    for (const std::string& name : {std::string("Tower"), std::string("TOWER"), std::string("wall\"}#fopen"),
                                    std::string("\xc3\xa9"), longName + "1", longName + "2"})
        Add(StoneInUnits('B', 0, 0, 0, 20, 20, 20), name);

    const TStringList lines = Lines({});
    EXPECT_EQ(lines[4], "// Date: 8.12.2026 #fopen D \"date.txt\" write");
    const std::string parts = folder.Parts().string();
    std::vector<std::string> images;
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i] == "      image_map {")
            images.push_back(lines[i + 1]);
    EXPECT_EQ(images,
              (std::vector<std::string>{"        png concat(\"" + parts +
                                        "/x\", chr(34), \" } } } #fopen F \", chr(34), \"pwned.txt\", "
                                        "chr(34), \" write \", chr(92), \" \", chr(9), \".png\")"}));

    // Names that differ only in letter case are one object to the include
    // file, and so to the scene: declared once, named alike.
    auto count = [&](const std::string& line) { return std::count(lines.begin(), lines.end(), line); };
    EXPECT_EQ(count("#declare GTower = object {"), 1);
    EXPECT_EQ(
        count("#object { GTower rotate <0, 0, 0> translate <0 0 0> material {ColorX(0.99609375,0.99609375,"
              "0.99609375)} }"),
        2);
    EXPECT_EQ(count("#declare Gwall___fopen = object {"), 1);
    EXPECT_EQ(PovName("\xc3\xa9"), "G__");
    // POV-Ray reads names of up to 255 characters; long ones stay apart.
    const std::string long1 = PovName(longName + "1"), long2 = PovName(longName + "2");
    EXPECT_EQ(long1.size(), 255u);
    EXPECT_NE(long1, long2);
    EXPECT_EQ(count("#declare " + long1 + " = object {"), 1);
    EXPECT_EQ(PovName(std::string(254, 'b')), "G" + std::string(254, 'b'));

    // POV-Ray opens no file whose name goes beyond ASCII, and reads no
    // string longer than 255 characters.
    EXPECT_EQ(PovFileName("/p/affich\xc3\xa9.png"), std::nullopt);
    EXPECT_EQ(PovFileName(std::string(450, 'c')), "concat(\"" + std::string(200, 'c') + "\", \"" +
                                                      std::string(200, 'c') + "\", \"" +
                                                      std::string(50, 'c') + "\")");
}
