// Stone strings, the form of the undo and redo logs: read, written back to
// the same text, found in a list, and undone and redone there.

#include <memory>

#include "common/error.h"
#include "fuzz_support.h"
#include "model/block_factory.h"
#include "model/block_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzProgramFolder();
    const std::string text(TextOf(data, size));
    TOwnedBlockList list;
    list.IndexOfString(text);
    std::unique_ptr<TBlock> stone;
    try {
        stone = CreateFromString(text);
    } catch (const EError&) {
        return 0;
    }
    const std::string written = stone->ToString();
    std::unique_ptr<TBlock> again = CreateFromString(written);
    Require(again->ToString() == written, "a stone's string reads back to the same string");

    // Placed and taken away through the logs.
    list.SortedOctant = static_cast<int>(size % 9) - 1;
    list.RecordUndo('+', *stone);
    list.InsertSorted(std::move(stone));
    Require(list.IndexOfString(written) == 0, "the stone is found by its string");
    list.Undo();
    Require(list.Count() == 0, "undoing the placement takes it away");
    list.Redo();
    Require(list.Count() == 1 && list[0]->ToString() == written, "redoing puts it back");
    return 0;
}
