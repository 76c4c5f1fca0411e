#include <gtest/gtest.h>

#include <fstream>

#include "files/set_file.h"
#include "files/settings_file.h"
#include "partlib/draw_class.h"
#include "partlib/part_file.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

fs::path Write(const TTempProgramFolder& folder, const std::string& name, const std::string& text) {
    const fs::path path = folder.Path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace

TEST(SettingsFile, ReadsTheFirstLayoutsPlainPageLines) {
    TTempProgramFolder folder;
    const fs::path path = Write(folder, "v1.ini",
                                "[Main]\r\nEdgeFactor=0.5\r\nStartColor=2\r\nColor2=255\r\nPages=4\r\n"
                                "Title1=Bricks\r\nTitle3=Odd\r\n"
                                "[page1]\r\n50 0.75\r\n2x4x3\r\nR1x1x3|Column\r\n\r\nnot an entry\r\n"
                                "[Page2]\r\n90\r\nG parts.dat, arch\r\n[Page3]\r\nabc x\r\n"
                                "[State]\r\nHints=1\r\nDetails=2\r\n");
    const TSettingsData data = ReadSettingsFile(path);
    EXPECT_EQ(data.Version, 1);
    EXPECT_FLOAT_EQ(data.View.EdgeFactor, 0.5f);
    EXPECT_EQ(data.StartColor, 2);
    EXPECT_EQ(data.Swatches[2], 255u);
    EXPECT_EQ(data.Swatches[3], kDefaultSwatchColors[3]);
    EXPECT_EQ(data.PovRayEng, "/usr/bin/povray");
    EXPECT_TRUE(data.Hints);
    EXPECT_EQ(data.View.Details, 2);
    ASSERT_EQ(data.Pages.size(), 4u);
    EXPECT_EQ(data.Pages[0].Title, "Bricks");
    EXPECT_EQ(data.Pages[0].Height, 50);
    EXPECT_FLOAT_EQ(data.Pages[0].Scale, 0.75f);
    EXPECT_EQ(data.Pages[0].Entries, (std::vector<std::string>{"2x4x3", "R1x1x3|Column"}));
    EXPECT_EQ(data.Pages[1].Title, "Page2");
    EXPECT_EQ(data.Pages[1].Height, 90); // no space: all of it is the height
    EXPECT_FLOAT_EQ(data.Pages[1].Scale, 0.5f);
    EXPECT_EQ(data.Pages[1].Entries, (std::vector<std::string>{"G parts.dat, arch"}));
    EXPECT_EQ(data.Pages[2].Height, 65); // unreadable height and scale
    EXPECT_FLOAT_EQ(data.Pages[2].Scale, 0.5f);
    EXPECT_TRUE(data.Pages[3].Entries.empty()); // no such section
}

TEST(SettingsFile, WritesTheKeyLayoutAndReadsItBack) {
    TTempProgramFolder folder;
    const fs::path path =
        Write(folder, "s.ini",
              "[Main]\r\nVersion=2\r\nMine=kept\r\nPages=3\r\n\r\n[State]\r\nHints=0\r\n\r\n"
              "[Page1]\r\nTitle=old\r\n\r\n[Page3]\r\nTitle=stale\r\n");
    TSettingsData data;
    data.View.EdgeFactor = 0.75f;
    data.View.DarkEdgeColor = RGB(1, 2, 3);
    data.View.Details = 1;
    data.View.BitDepth = 2;
    data.StartColor = 7;
    data.Hints = true;
    data.Pages = {{"Bricks", 50, 1.25f, {"2x4x3", "R1x1x3|Column"}}, {"Empty", 40, 0.5f, {}}};
    WriteSettingsFile(path, data, false);
    std::string expected =
        "[Main]\r\nVersion=2\r\nMine=kept\r\nPages=2\r\nEdgeFactor=0.75\r\nFixedEdgeColors=0\r\n"
        "DarkEdgeColor=1,2,3\r\nLightEdgeColor=150,150,150\r\nStartColor=7\r\n"
        "PovRayEng=/usr/bin/povray\r\n";
    for (int i = 0; i < kSwatchCount; ++i)
        expected +=
            "Color" + std::to_string(i) + "=" + std::to_string(kDefaultSwatchColors[size_t(i)]) + "\r\n";
    expected += "\r\n[Page3]\r\nTitle=stale\r\n"
                "\r\n[Page1]\r\nTitle=Bricks\r\nHeight=50\r\nScale= 1.25\r\nCount=2\r\nBrick0=2x4x3\r\n"
                "Brick1=R1x1x3|Column\r\n"
                "\r\n[Page2]\r\nTitle=Empty\r\nHeight=40\r\nScale= 0.50\r\nCount=0\r\n"
                "\r\n[State]\r\nHints=1\r\nDetails=1\r\nShading=0\r\nBitDepth=2\r\n";
    EXPECT_EQ(folder.ReadFile(path), expected);

    const TSettingsData back = ReadSettingsFile(path);
    EXPECT_EQ(back.Version, 2);
    ASSERT_EQ(back.Pages.size(), 2u);
    EXPECT_EQ(back.Pages[0].Title, "Bricks");
    EXPECT_FLOAT_EQ(back.Pages[0].Scale, 1.25f);
    EXPECT_EQ(back.Pages[0].Entries, data.Pages[0].Entries);
    EXPECT_EQ(back.View.DarkEdgeColor, RGB(1, 2, 3));
    EXPECT_EQ(back.StartColor, 7);

    // Converting a file of the first layout drops its old sections first.
    const fs::path old =
        Write(folder, "old.ini", "[Main]\r\nPages=1\r\nTitle1=A\r\n[Page1]\r\n40 0.5\r\n1x1x3\r\n");
    TSettingsData converted = ReadSettingsFile(old);
    WriteSettingsFile(old, converted, true);
    const std::string text = folder.ReadFile(old);
    EXPECT_EQ(text.find("Title1"), std::string::npos);
    EXPECT_EQ(text.find("40 0.5"), std::string::npos);
    EXPECT_NE(text.find("[Page1]\r\nTitle=A\r\nHeight=40\r\nScale= 0.50\r\nCount=1\r\nBrick0=1x1x3\r\n"),
              std::string::npos);
}

TEST(SettingsFile, DamagedValuesTakeTheirDefaults) {
    TTempProgramFolder folder;
    const fs::path path = Write(folder, "bad.ini",
                                "[Main]\r\nVersion=banana\r\nEdgeFactor=nan\r\nStartColor=99\r\nColor0=-5\r\n"
                                "Color1=16777216\r\nColor2=99999999999\r\nPages=2\r\n"
                                "[Page1]\r\nHeight=-3\r\nScale=inf\r\nCount=-1\r\n"
                                "[Page2]\r\nHeight=x\r\nScale=1e300\r\nCount=4000000000\r\n"
                                "[State]\r\nDetails=7\r\nBitDepth=9\r\nShading=abc\r\n");
    const TSettingsData data = ReadSettingsFile(path);
    EXPECT_EQ(data.Version, 2); // an unknown version is taken for the key layout
    EXPECT_FLOAT_EQ(data.View.EdgeFactor, 0.7f);
    EXPECT_EQ(data.StartColor, 5);
    EXPECT_EQ(data.Swatches, kDefaultSwatchColors);
    ASSERT_EQ(data.Pages.size(), 2u);
    for (const TPageSettings& page : data.Pages) {
        EXPECT_EQ(page.Height, 65);
        EXPECT_FLOAT_EQ(page.Scale, 0.5f);
        EXPECT_TRUE(page.Entries.empty());
    }
    EXPECT_EQ(data.View.Details, 0);
    EXPECT_EQ(data.View.BitDepth, 9); // kept: no depth is checked, 32 bits are drawn
    EXPECT_FALSE(data.View.Shading);

    EXPECT_EQ(ReadSettingsFile(Write(folder, "huge.ini", "[Main]\r\nPages=2000000000\r\n")).Pages.size(), 0u);
    EXPECT_EQ(ReadSettingsFile(Write(folder, "binary.ini", std::string("\0\x01\xff[\n=\r", 7))).Pages.size(),
              0u);
    fs::create_directories(folder.Path() / "dir.ini");
    EXPECT_EQ(ReadSettingsFile(folder.Path() / "dir.ini").Pages.size(), 0u);
    EXPECT_EQ(ReadSettingsFile(folder.Path() / "missing.ini").Version, 1);
}

TEST(SettingsFile, TheLargestPalettesAreWrittenAndReadBack) {
    // 10,000 pages and 100,000 entries: every section and key is found through
    // an index, so this takes well under a second (it took minutes when each
    // write searched the whole file).
    TTempProgramFolder folder;
    const fs::path path = folder.Path() / "big.ini";
    TSettingsData data;
    data.Pages.resize(10000);
    for (size_t page = 0; page < data.Pages.size(); ++page) {
        data.Pages[page].Title = "Page " + std::to_string(page);
        data.Pages[page].Entries.assign(page % 20, "2x4x3|p" + std::to_string(page));
    }
    WriteSettingsFile(path, data, false);
    WriteSettingsFile(path, data, false); // over the pages written before
    const TSettingsData back = ReadSettingsFile(path);
    ASSERT_EQ(back.Pages.size(), 10000u);
    size_t entries = 0;
    for (const TPageSettings& page : back.Pages)
        entries += page.Entries.size();
    EXPECT_EQ(entries, 95000u);
    EXPECT_EQ(back.Pages[9999].Title, "Page 9999");
    EXPECT_EQ(back.Pages[9999].Entries.back(), "2x4x3|p9999");
}

TEST(SetFile, ReadsCaptionsAndCounts) {
    TTempProgramFolder folder;
    // A size written as an entry may write it counts as the stones are counted.
    const TSetList set =
        ReadSetFile(Write(folder, "a.set", "arch, 2\r\n2x4x3,8\r\nB2x2x3\r\n\r\nARCH,1\nB 2x4x3, 1\r\n"));
    EXPECT_EQ(set, (TSetList{{"2x2x3", 0}, {"2x4x3", 9}, {"arch", 3}}));
    EXPECT_EQ(ErrorOf([&] { ReadSetFile(Write(folder, "b.set", "arch, 2\r\ncone, many\r\n")); }),
              "Line 2 of b.set: 'many' is not a valid integer value");
    EXPECT_NE(ErrorOf([&] { ReadSetFile(folder.Path()); }), "");
    // Counts of one caption that add up beyond the int range stay at its ends.
    EXPECT_EQ(
        ReadSetFile(Write(folder, "c.set", "arch,2147483647\r\narch,24\r\ncone,-2147483648\r\ncone,-1\r\n")),
        (TSetList{{"arch", 2147483647}, {"cone", -2147483647 - 1}}));
}

// The settings, set and part files are read through the same line reading as
// model files: a line of any length comes whole.
TEST(LongLines, SettingsSetAndPartFilesAreReadWhole) {
    TTempProgramFolder folder;
    const std::string program = "/opt/" + std::string(600, 'p') + "/povray";
    const std::string label(500, 'l');
    const TSettingsData settings = ReadSettingsFile(
        Write(folder, "long.ini",
              "[Main]\r\nPovRayEng=" + program + "\r\nPages=1\r\nTitle1=T\r\n[page1]\r\n50 0.5\r\n2x4x3|" +
                  label + "\r\n"));
    EXPECT_EQ(settings.PovRayEng, program);
    ASSERT_EQ(settings.Pages.size(), 1u);
    EXPECT_EQ(settings.Pages[0].Entries, (std::vector<std::string>{"2x4x3|" + label}));

    const std::string caption(400, 'c');
    EXPECT_EQ(ReadSetFile(Write(folder, "long.set", caption + ",12\r\n")), (TSetList{{caption, 12}}));

    std::string points;
    for (int i = 0; i < 60; ++i)
        points += ", " + std::to_string(i) + ",0," + std::to_string(60 - i);
    folder.WritePartFile("long.dat", "[fan]\r\nNP=1\r\nBB=60,1,60\r\nP1=60, 1" + points + "\r\n");
    TDrawClass part;
    TPartReader::Load(part, "long.dat", "fan");
    ASSERT_EQ(part.GetPointCount(0), 60);
    EXPECT_EQ(part.GetPoint(0, 59), (TPoint3D{59, 0, 1}));
}
