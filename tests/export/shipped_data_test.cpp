// The data shipped beside the program fits together: the palette names parts
// and models that exist, the set files count stones the palette offers, and
// the POV-Ray include declares an object for every stone of the demo models.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "common/strings.h"
#include "export/pov_scene.h"
#include "files/palette_entry.h"
#include "files/set_file.h"
#include "files/settings_file.h"
#include "partlib/part_file.h"
#include "platform/text_file.h"
#include "temp_program_folder.h"

namespace fs = std::filesystem;

namespace {

fs::path Data() {
    return SourceFolder() / "data";
}

std::vector<std::string> Fields(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> fields;
    for (std::string field; in >> field;)
        fields.push_back(field);
    return fields;
}

std::vector<fs::path> ModelFiles() {
    std::vector<fs::path> files;
    for (const char* folder : {"Models", "Combos"})
        for (const auto& file : fs::directory_iterator(Data() / folder))
            if (file.path().extension() == ".stm")
                files.push_back(file.path());
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

TEST(ShippedData, EveryPaletteEntryNamesAnExistingPartOrModelAndEverySetCountsPaletteStones) {
    const TSettingsData settings = ReadSettingsFile(Data() / "Stonemill.ini");
    ASSERT_GE(settings.Pages.size(), 10u);
    std::set<std::string> captions;
    for (const auto& page : settings.Pages) {
        EXPECT_FALSE(page.Entries.empty()) << page.Title;
        for (const auto& text : page.Entries) {
            const TPaletteEntry entry = ParseEntry(text);
            if (entry.IsModel) {
                EXPECT_TRUE(fs::exists(Data() / (entry.ModelPath + ".stm"))) << text;
                EXPECT_TRUE(fs::exists(Data() / (entry.ModelPath + ".png"))) << text;
                continue;
            }
            ASSERT_TRUE(entry.MakesStone) << text;
            captions.insert(LowerCase(EntryStoneCaption(text)));
            if (entry.Kind != 'G')
                continue;
            TDrawClass part;
            EXPECT_NO_THROW(TPartReader::LoadFromLines(part, LoadLines(Data() / "parts" / entry.PartFile),
                                                       entry.PartFile, entry.PartName))
                << text;
        }
    }
    int sets = 0;
    for (const auto& file : fs::directory_iterator(Data() / "Sets")) {
        ++sets;
        for (const auto& [caption, count] : ReadSetFile(file.path())) {
            EXPECT_TRUE(captions.count(LowerCase(caption))) << file.path().filename() << ": " << caption;
            EXPECT_GT(count, 0) << caption;
        }
    }
    EXPECT_GE(sets, 3);
}

TEST(ShippedData, TheIncludeDeclaresEveryStoneOfTheDemoModelsAndEveryPartTheyUse) {
    const TDeclaredNames declared = ReadDeclaredNames(Data() / "Render" / "smBlocks.inc");
    auto isDeclared = [&](const std::string& povName) { return declared.count(LowerCase(povName)) > 0; };
    int models = 0;
    for (const auto& file : ModelFiles()) {
        models += file.parent_path().filename() == "Models";
        for (const auto& line : LoadLines(file)) {
            const std::vector<std::string> f = Fields(line);
            if (f.empty() || f[0] == "=")
                continue;
            // A general stone names its part file and part before its group
            // and name; the other kinds name only themselves. A stone without
            // a name is not exported.
            const size_t nameField = f[0] == "G" ? 15 : 13;
            ASSERT_TRUE(f.size() == nameField + 1 || f.size() == nameField + 2) << file.filename() << ": " << line;
            if (f[0] == "G") {
                EXPECT_TRUE(isDeclared("G" + f[13])) << file.filename() << ": part " << f[13];
            }
            if (f.size() == nameField + 2) {
                EXPECT_TRUE(isDeclared(PovName(f[nameField]))) << file.filename() << ": " << line;
            }
        }
    }
    EXPECT_GE(models, 10);
}
