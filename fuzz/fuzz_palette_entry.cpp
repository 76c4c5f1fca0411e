// Palette entries and set files: an entry parsed, its stone made and named,
// its label and caption taken; and the input read as a set file.

#include <memory>

#include "common/error.h"
#include "common/strings.h"
#include "files/palette_entry.h"
#include "files/set_file.h"
#include "fuzz_support.h"
#include "model/block.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = TextOf(data, size);
    const TPaletteEntry entry = ParseEntry(text);
    EntryCaption(text);
    EntryStoneCaption(text);
    if (entry.IsModel)
        ModelEntryFiles(entry, FuzzProgramFolder());
    try {
        std::unique_ptr<TBlock> stone = CreateEntryStone(text);
        Require(!stone == !entry.MakesStone, "an entry makes a stone exactly when it can be read");
        if (stone)
            CheckStoneInRange(*stone);
    } catch (const EError&) {
    }
    try {
        const TSetList set = ReadSetFile(WriteFuzzFile("fuzz.set", text));
        for (size_t i = 1; i < set.size(); ++i)
            Require(CompareText(set[i - 1].first, set[i].first) < 0, "the set is sorted by caption, each once");
    } catch (const EError&) {
    }
    return 0;
}
