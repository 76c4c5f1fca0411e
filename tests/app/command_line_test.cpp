#include <gtest/gtest.h>

#include "app/command_line.h"

#include <fstream>
#include <sstream>

#include "temp_program_folder.h"

TEST(StartArguments, ModelNameAndSettingsFile) {
    const std::filesystem::path folder = "/opt/stonemill";
    auto parse = [&](std::vector<std::string> args) {
        return ParseStartArguments(args, TDataFolders(folder));
    };
    EXPECT_EQ(parse({}).SettingsFile, folder / "Stonemill.ini");
    EXPECT_EQ(parse({}).ModelFile, "");
    // Plain arguments are joined with single spaces.
    EXPECT_EQ(parse({"My", "house.stm"}).ModelFile, "My house.stm");
    EXPECT_EQ(parse({"/home/me/a.stm"}).ModelFile, "/home/me/a.stm");
    // A lone option and a bare name: the name is read from the program folder.
    EXPECT_EQ(parse({"-I", "my.ini", "m.stm"}).SettingsFile, folder / "my.ini");
    EXPECT_EQ(parse({"-I", "my.ini", "m.stm"}).ModelFile, "m.stm");
    EXPECT_EQ(parse({"/i", "my.ini"}).SettingsFile, folder / "my.ini");
    EXPECT_EQ(parse({"-i", "/etc/s.ini"}).SettingsFile, "/etc/s.ini");
    // Joined to the option the path is taken as it stands.
    EXPECT_EQ(parse({"-I/etc/s.ini"}).SettingsFile, "/etc/s.ini");
    EXPECT_EQ(parse({"-irel.ini"}).SettingsFile, "rel.ini");
    // Other options are ignored; "/I" joined to text is a path, not an option.
    EXPECT_EQ(parse({"-x", "a.stm"}).ModelFile, "a.stm");
    EXPECT_EQ(parse({"/Imodels/a.stm"}).ModelFile, "/Imodels/a.stm");
    EXPECT_TRUE(IsHeadlessCommand({"--render", "a.stm"}));
    EXPECT_FALSE(IsHeadlessCommand({"a.stm", "-I", "x.ini"}));
    EXPECT_TRUE(IsHeadlessCommand({"a.stm", "--bogus"})); // reported, not a window
}

TEST(StartArguments, SettingsOfAnInstalledProgramAreWrittenToTheUserFolder) {
    const TDataFolders installed("/usr/share/stonemill", "/nonexistent/home/stonemill");
    auto parse = [&](std::vector<std::string> args) { return ParseStartArguments(args, installed); };
    // Until the user has settings of their own, the shipped ones are read.
    EXPECT_EQ(parse({}).SettingsFile, "/nonexistent/home/stonemill/Stonemill.ini");
    EXPECT_EQ(parse({}).SettingsSource, "/usr/share/stonemill/Stonemill.ini");
    EXPECT_EQ(parse({"-I", "my.ini"}).SettingsFile, "/nonexistent/home/stonemill/my.ini");
    EXPECT_EQ(parse({"-I", "my.ini"}).SettingsSource, "");
    // Without a user folder nothing is written, and the shipped settings are read.
    const TDataFolders homeless("/usr/share/stonemill", "");
    EXPECT_EQ(ParseStartArguments({}, homeless).SettingsFile, "");
    EXPECT_EQ(ParseStartArguments({}, homeless).SettingsSource, "/usr/share/stonemill/Stonemill.ini");
}

TEST(PovCommand, AMissingRendererOrIncludeFileFailsWithAMessage) {
    namespace fs = std::filesystem;
    TTempProgramFolder folder;
    fs::create_directories(folder.Path() / "Render");
    std::ofstream(folder.Path() / "Stonemill.ini") << "[Main]\r\nPovRayEng=/nonexistent/povray\r\n";
    std::ofstream(folder.Path() / "m.stm") << "B 0 0 0 2 1 3 255 1 0 0 0 0 wall 0\r\n";
    std::ostringstream out, err;
    const std::vector<std::string> args = {"--pov", (folder.Path() / "m.stm").string(), "--output",
                                           (folder.Path() / "scene").string(), "--run"};
    EXPECT_EQ(RunHeadlessCommand(args, TDataFolders(folder.Path()), out, err), 1);
    EXPECT_NE(err.str().find("smBlocks.inc"), std::string::npos) << err.str(); // no include file
    EXPECT_FALSE(fs::exists(folder.Path() / "scene" / "test.pov"));

    std::ofstream(folder.Path() / "Render" / "smBlocks.inc") << "#declare Gwall = object { box { 0, 1 } }\n";
    err.str("");
    EXPECT_EQ(RunHeadlessCommand(args, TDataFolders(folder.Path()), out, err), 1);
    EXPECT_NE(err.str().find("POV-Ray was not found at /nonexistent/povray"), std::string::npos) << err.str();
    EXPECT_TRUE(fs::exists(folder.Path() / "scene" / "test.pov")); // the scene is written all the same
    EXPECT_TRUE(fs::exists(folder.Path() / "scene" / "smBlocks.inc"));
}
