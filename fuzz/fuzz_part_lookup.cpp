// Looking parts up by file name and part name through the registry, as model
// lines name them: each input line "FILE<tab>PART" is looked up in a parts
// folder holding the shipped library and a few files of odd names. Lines
// after a line "----" become parts/fuzz.dat, lines after "==== NAME" become
// parts/NAME.bcp. Every lookup finds a definition under exactly the names
// asked for, or fails with the program's message; letter case and a ".dat"
// after the part name change nothing; nothing is read from outside parts/.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/error.h"
#include "common/strings.h"
#include "fuzz_support.h"
#include "partlib/part_registry.h"

namespace fs = std::filesystem;

namespace {

// A part no lookup may reach, in files beside and above the parts folder.
constexpr int32_t kTrap = 31337;

void MakeFolder() {
    static const bool made = [] {
        const fs::path root = FuzzProgramFolder();
        const std::string trap = "[trap]\nNP=0\nBB=" + std::to_string(kTrap) +
                                 ",1,1\n\n[arch]\nNP=0\nBB=" + std::to_string(kTrap) + ",2,2\n";
        for (const char* name : {"outside.dat", "trap.bcp", "arch.bcp", "parts.dat"})
            std::ofstream(root / name, std::ios::binary) << trap;
        std::ofstream(root.parent_path() / "above.dat", std::ios::binary) << trap;
        fs::create_directories(root / "parts" / "sub");
        std::ofstream(root / "parts" / "sub" / "inner.dat", std::ios::binary) << trap;
        std::ofstream(root / "parts" / "Odd Name;1.DAT", std::ios::binary)
            << "[Wide]\nNP=1\nBB=40,20,20\nP1=3, 1, 0,0,0, 40,0,0, 0,20,0\n";
        std::ofstream(root / "parts" / "tilde~.bcp", std::ios::binary) << "[tilde~]\nNP=0\nBB=3,3,3\n";
        return true;
    }();
    (void)made;
}

bool Inside(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MakeFolder();
    static std::string lastBcp;
    if (!lastBcp.empty()) {
        std::error_code ignored;
        fs::remove(FuzzProgramFolder() / "parts" / lastBcp, ignored);
        lastBcp.clear();
    }
    const TStringList lines = SplitLines(TextOf(data, size));
    std::vector<std::pair<std::string, std::string>> lookups;
    std::string library, bcp, bcpName;
    enum { kLookups, kLibrary, kBcp } part = kLookups;
    for (const std::string& line : lines) {
        if (line == "----") {
            part = kLibrary;
        } else if (line.rfind("==== ", 0) == 0) {
            part = kBcp;
            bcpName = line.substr(5);
        } else if (part == kLibrary) {
            library += line + "\n";
        } else if (part == kBcp) {
            bcp += line + "\n";
        } else if (lookups.size() < 8) {
            const size_t tab = line.find('\t');
            lookups.emplace_back(line.substr(0, tab), tab == std::string::npos ? "" : line.substr(tab + 1));
        }
    }
    WriteFuzzFile("parts/fuzz.dat", library);
    if (Inside(bcpName) && bcpName.size() < 64 && !SameText(bcpName, "tilde~")) {
        lastBcp = bcpName + ".bcp";
        WriteFuzzFile("parts/" + lastBcp, bcp);
    }

    TPartRegistry& registry = TPartRegistry::Instance();
    for (const auto& [file, name] : lookups) {
        const int before = registry.Count();
        TDrawClass* found = nullptr;
        try {
            found = FindPart(file, name);
        } catch (const EError& error) {
            Require(!error.Message().empty(), "a failed lookup says why");
            Require(registry.Count() == before, "a failed lookup registers nothing");
            continue;
        }
        Require(found != nullptr, "a lookup finds a definition or fails");
        Require(SameText(found->FileName, file) && SameText(found->PartName, name),
                "a definition is registered under the names it was looked up by");
        Require(found->BoundingX() != kTrap, "no part is read from outside the parts folder");
        Require(FindPart(UpperCase(file), LowerCase(name)) == found,
                "names are looked up without regard to case");
        Require(registry.Count() <= before + 1, "one lookup registers at most one definition");
        if (!EndsWithText(name, ".dat") && Inside(name + ".dat")) {
            try {
                const TDrawClass* same = FindPart(file, name + ".dat");
                Require(same->PolygonCount() == found->PolygonCount() &&
                            same->BoundingX() == found->BoundingX(),
                        "a part name with .dat after it names the same part");
            } catch (const EError& error) {
                // A second copy under the longer name may pass what its file's size allows.
                Require(error.Message().find("would take more than") != std::string::npos,
                        "a part found is found with .dat after its name");
            }
        }
    }
    registry.Clear();
    return 0;
}
