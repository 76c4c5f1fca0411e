#include "fuzz_support.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

#include "platform/data_folders.h"

namespace fs = std::filesystem;

const fs::path& FuzzProgramFolder() {
    static const fs::path folder = [] {
        // Files written on every run go to memory where the system offers it.
        std::error_code error;
        const fs::path base = fs::is_directory("/dev/shm", error) ? fs::path("/dev/shm") : fs::temp_directory_path();
        std::string pattern = (base / "stonemill-fuzz-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("no temporary folder");
        const fs::path made = pattern;
        fs::copy(fs::path(STONEMILL_SOURCE_DIR) / "data" / "parts", made / "parts", fs::copy_options::recursive);
        SetProgramFolder(made);
        return made;
    }();
    return folder;
}

fs::path WriteFuzzFile(const std::string& name, std::string_view bytes) {
    const fs::path path = FuzzProgramFolder() / name;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}
