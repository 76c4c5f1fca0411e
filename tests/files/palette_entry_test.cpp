#include <gtest/gtest.h>

#include <fstream>

#include "files/palette_entry.h"
#include "model/block.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

TEST(PaletteEntry, EveryFormBuildsItsStone) {
    TTempProgramFolder folder;
    folder.CopyShippedParts();

    auto brick = CreateEntryStone("2x4x3");
    ASSERT_TRUE(brick);
    EXPECT_EQ(brick->Kind, 'B');
    EXPECT_EQ(brick->Length, 40);
    EXPECT_EQ(brick->Width, 80);
    EXPECT_EQ(brick->Height, 20);
    EXPECT_EQ(brick->Color, clWhite);
    EXPECT_TRUE(brick->Tag);
    EXPECT_FALSE(brick->Transparent || brick->BasePlate || brick->Selected);
    EXPECT_EQ(brick->X + brick->Y + brick->Z + brick->Turn + brick->Group, 0);
    EXPECT_EQ(brick->Name, "");

    auto column = CreateEntryStone("R1x1x3|Column");
    ASSERT_TRUE(column);
    EXPECT_EQ(column->Kind, 'R');
    EXPECT_EQ(column->Name, "Column");
    EXPECT_EQ(CreateEntryStone("B 2x 1x 2")->Height, 13); // leading spaces; thirds truncate

    auto arch = CreateEntryStone("G parts.dat , arch ");
    ASSERT_TRUE(arch);
    EXPECT_EQ(arch->Kind, 'G');
    EXPECT_EQ(arch->Name, "arch"); // no label: the part name
    EXPECT_GT(arch->Length, 0);
    EXPECT_EQ(CreateEntryStone("G parts.dat, arch|Gate")->Name, "Gate");

    // Entries that make no stone.
    for (const char* bad : {"X2x2x3", "M Models/house", "2x2", "2x2x3x1", "2xax3", "2x2x3 ", "-1x2x3",
                            "2x999999x3", "99999999999x1x1", "G parts.dat", "", "|label"})
        EXPECT_FALSE(CreateEntryStone(bad)) << bad;
    EXPECT_EQ(ErrorOf([] { CreateEntryStone("G parts.dat, nothere"); }),
              "Could not find part nothere in file parts.dat");
}

TEST(PaletteEntry, LabelsCaptionsAndModelFiles) {
    EXPECT_EQ(EntryCaption(" 2x4x3 ").Text, "2x4x3");
    EXPECT_EQ(EntryCaption("2x4x3").Color, clMaroon);
    EXPECT_EQ(EntryCaption("R1x1x3|Column").Text, "Column");
    EXPECT_EQ(EntryCaption("R1x1x3|Column").Color, clBlack);
    EXPECT_EQ(EntryCaption("G parts.dat, arch").Text, "G parts.dat, arch");

    // The caption a stone is counted under ignores the label.
    EXPECT_EQ(EntryStoneCaption("G parts.dat, 17-arch|Arch"), "17");
    EXPECT_EQ(EntryStoneCaption("G parts.dat, arch|Arch, big"), "arch");
    EXPECT_EQ(EntryStoneCaption("2x4x3|Brick 2x4"), "2x4x3");

    TTempProgramFolder folder;
    fs::create_directories(folder.Path() / "Combos");
    std::ofstream(folder.Path() / "Combos" / "Wall.STM") << "";
    std::ofstream(folder.Path() / "Combos" / "wall.BMP") << "";
    const TPaletteEntry wall = ParseEntry("M  Combos\\wall |Wall");
    EXPECT_TRUE(wall.IsModel);
    EXPECT_FALSE(wall.MakesStone);
    EXPECT_EQ(wall.Label, "Wall");
    TModelEntryFiles files = ModelEntryFiles(wall, folder.Path());
    EXPECT_EQ(files.Model, folder.Path() / "Combos" / "Wall.STM");
    ASSERT_TRUE(files.Picture);
    EXPECT_EQ(*files.Picture, folder.Path() / "Combos" / "wall.BMP");
    std::ofstream(folder.Path() / "Combos" / "wall.png") << "";
    EXPECT_EQ(*ModelEntryFiles(wall, folder.Path()).Picture, folder.Path() / "Combos" / "wall.png");
    EXPECT_FALSE(ModelEntryFiles(ParseEntry("M Combos/none"), folder.Path()).Picture);

    EXPECT_EQ(ModelEntryFor((folder.Path() / "Combos" / "Tree.stm").string(), folder.Path()),
              "M Combos/Tree");
    EXPECT_EQ(ModelEntryFor("/elsewhere/gate.STM", folder.Path()), "M /elsewhere/gate");
    EXPECT_FALSE(ModelEntryFor("/elsewhere/gate.txt", folder.Path()));
}
