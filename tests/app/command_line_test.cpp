#include <gtest/gtest.h>

#include "app/command_line.h"

TEST(StartArguments, ModelNameAndSettingsFile) {
    const std::filesystem::path folder = "/opt/stonemill";
    auto parse = [&](std::vector<std::string> args) { return ParseStartArguments(args, folder); };
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
}
