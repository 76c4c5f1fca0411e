#include <gtest/gtest.h>

#include <fstream>

#include "files/view_settings.h"
#include "platform/ini_file.h"
#include "temp_program_folder.h"

TEST(ViewSettings, DefaultsWithoutAFile) {
    TViewSettings s = ReadViewSettings("/nonexistent/Stonemill.ini");
    EXPECT_FLOAT_EQ(s.EdgeFactor, 0.7f);
    EXPECT_FALSE(s.Shading);
    EXPECT_EQ(s.Details, 0);
    EXPECT_EQ(s.BitDepth, 4);
    EXPECT_EQ(s.DarkEdgeColor, RGB(50, 50, 50));
}

TEST(ViewSettings, ReadsKeysWithoutRegardToCase) {
    TTempProgramFolder folder;
    const auto path = folder.Path() / "s.ini";
    std::ofstream(path) << "[main]\r\nedgefactor=0.5\r\nFixedEdgeColors=1\r\nDarkEdgeColor=10,20,30\r\n"
                           "LightEdgeColor=1, 2, 3, 4\r\n[STATE]\r\nShading=1\r\nDetails=2\r\nBitDepth=x\r\n";
    TViewSettings s = ReadViewSettings(path);
    EXPECT_FLOAT_EQ(s.EdgeFactor, 0.5f);
    EXPECT_TRUE(s.FixedEdgeColors);
    EXPECT_EQ(s.DarkEdgeColor, RGB(10, 20, 30));
    EXPECT_EQ(s.LightEdgeColor, clBlack); // four numbers: black
    EXPECT_TRUE(s.Shading);
    EXPECT_EQ(s.Details, 2);
    EXPECT_EQ(s.BitDepth, 4); // not a number: the default
    EXPECT_EQ(EdgeColorFromText("1,2,3"), EdgeColorFromText("1, 2, 3"));
    EXPECT_EQ(EdgeColorFromText("1,2"), clBlack);
    EXPECT_EQ(EdgeColorFromText("1,x,3"), clBlack);
    // Numbers out of range take the defaults.
    std::ofstream(path) << "[Main]\r\nEdgeFactor=5\r\nDarkEdgeColor=300,0,0\r\nLightEdgeColor=-1,2,3\r\n";
    s = ReadViewSettings(path);
    EXPECT_FLOAT_EQ(s.EdgeFactor, 0.7f);
    EXPECT_EQ(s.DarkEdgeColor, clBlack);
    EXPECT_EQ(s.LightEdgeColor, clBlack);
}

TEST(IniFile, WritesRawValuesInOrderWithCrLf) {
    TTempProgramFolder folder;
    const auto path = folder.Path() / "w.ini";
    TIniFile ini(path);
    ini.WriteString("Main", "Title", "a=b \"c\"");
    ini.WriteInteger("Main", "Pages", 2);
    ini.WriteString("Page1", "Brick0", "B 2x4x3");
    ini.WriteString("main", "pages", "3");
    ini.Flush();
    EXPECT_EQ(folder.ReadFile(path),
              "[Main]\r\nTitle=a=b \"c\"\r\nPages=3\r\n\r\n[Page1]\r\nBrick0=B 2x4x3\r\n");
    TIniFile back(path);
    EXPECT_EQ(back.ReadString("MAIN", "title", ""), "a=b \"c\"");
    back.EraseSection("page1");
    EXPECT_FALSE(back.SectionExists("Page1"));
    EXPECT_EQ(back.ReadInteger("Main", "Pages", 0), 3);
}
