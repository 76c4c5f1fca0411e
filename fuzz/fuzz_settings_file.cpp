// The settings file: read in either layout, written in the key layout, and
// read back with every page, title and entry as before; the drawing settings
// read from it.

#include "common/error.h"
#include "files/settings_file.h"
#include "files/view_settings.h"
#include "fuzz_support.h"
#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::filesystem::path path = WriteFuzzFile("Stonemill.ini", TextOf(data, size));
    ReadViewSettings(path);
    const TSettingsData read = ReadSettingsFile(path);
    try {
        WriteSettingsFile(path, read, read.Version == 1);
    } catch (const EError&) {
        return 0;
    }
    const TSettingsData back = ReadSettingsFile(path);
    Require(back.Version == 2, "the file is written in the key layout");
    Require(back.Pages.size() == read.Pages.size(), "every page is written");
    for (size_t i = 0; i < read.Pages.size(); ++i) {
        Require(back.Pages[i].Title == read.Pages[i].Title, "titles are written as they were");
        Require(back.Pages[i].Entries == read.Pages[i].Entries, "entries are written as they were");
        Require(back.Pages[i].Height == read.Pages[i].Height, "heights are written as they were");
    }
    Require(back.Swatches == read.Swatches, "the swatches are written as they were");
    Require(back.StartColor == read.StartColor, "the start colour is written as it was");
    return 0;
}
