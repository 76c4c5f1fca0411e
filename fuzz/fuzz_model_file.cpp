// Model files: the whole file read as a complete model and as a subassembly,
// each line alone as a block line and as a view line, and the model written
// and read back to the same stones.

#include <memory>

#include "common/error.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "files/view_line.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzProgramFolder();
    const TStringList lines = SplitLines(TextOf(data, size));
    for (const std::string& line : lines) {
        try {
            ReadBlockLine(line, 1);
        } catch (const EError&) {
        }
        try {
            ReadBlockLine(line, 0);
        } catch (const EError&) {
        }
        try {
            ReadViewLineNumbers(line);
        } catch (const EError&) {
        }
    }
    for (TLoadMode mode : {TLoadMode::lmComplete, TLoadMode::lmSubassembly}) {
        TOwnedBlockList model;
        TModelReadSettings settings;
        settings.Mode = mode;
        settings.HighestGroup = 3;
        settings.ExtraNumber = 2;
        try {
            const TModelReadResult result = ReadModelLines(lines, model, settings, nullptr);
            Require(result.StonesAdded == model.Count(), "every stone added is in the list");
            if (mode == TLoadMode::lmComplete) {
                // What was read is written, and reads back as the same stones.
                const TStringList written = ModelFileLines(model, TViewRecord{}, TSaveMode::smComplete);
                TOwnedBlockList back;
                TModelReadSettings again;
                ReadModelLines(written, back, again, [](int, const std::string&) { Require(false, "a written line reads back"); });
                Require(back.Count() == model.Count(), "the written model reads back whole");
            }
        } catch (const EError&) {
        }
    }
    return 0;
}
