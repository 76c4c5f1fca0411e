// The part library: every section of the input read as a part, written, read
// back, and written again to the same text.

#include "common/error.h"
#include "common/strings.h"
#include "fuzz_support.h"
#include "partlib/part_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzProgramFolder();
    const TStringList lines = SplitLines(TextOf(data, size));
    int sections = 0;
    for (const std::string& line : lines) {
        if (line.size() < 3 || line.front() != '[' || line.back() != ']' || ++sections > 8)
            continue;
        const std::string name = line.substr(1, line.size() - 2);
        TDrawClass part;
        try {
            TPartReader::LoadFromLines(part, lines, "fuzz.dat", name);
        } catch (const EError&) {
            continue;
        }
        TStringList written;
        part.PartName = name;
        WritePart(part, written);
        TDrawClass back;
        try {
            TPartReader::LoadFromLines(back, written, "fuzz.dat", name);
        } catch (const EError& error) {
            Require(false, "a written part reads back");
        }
        TStringList again;
        WritePart(back, again);
        Require(again == written, "a part read back is written as before");
    }
    return 0;
}
