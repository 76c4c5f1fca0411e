// The include file's declared names: whatever the file holds, each name is
// found as the file writes it, and its spelling is the name in the file's
// own letter case (the scene writes the spelling where a stone's name is
// looked up by the lower-case name).

#include "common/error.h"
#include "common/strings.h"
#include "export/pov_scene.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text = TextOf(data, size);
    TDeclaredNames names;
    try {
        names = ReadDeclaredNames(WriteFuzzFile("smBlocks.inc", text));
    } catch (const EError&) {
        Require(false, "an include file that is there is read");
    }
    for (const auto& [name, spelling] : names) {
        Require(!name.empty() && name.find(' ') == std::string::npos, "a declared name is one word");
        Require(LowerCase(name) == name, "names are found by their lower case");
        Require(LowerCase(spelling) == name, "the spelling is the name in the file's letter case");
        Require(text.find(spelling) != std::string_view::npos, "the spelling is the file's own");
    }
    return 0;
}
