#include "temp_program_folder.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "partlib/part_registry.h"
#include "platform/data_folders.h"

namespace fs = std::filesystem;

TTempProgramFolder::TTempProgramFolder() : FOldFolders(DataFolders()) {
    std::string pattern = (fs::temp_directory_path() / "stonemill-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary folder");
    FPath = pattern;
    fs::create_directories(Parts());
    SetProgramFolder(FPath);
    TPartRegistry::Instance().Clear();
}

TTempProgramFolder::~TTempProgramFolder() {
    TPartRegistry::Instance().Clear();
    SetDataFolders(FOldFolders);
    std::error_code ignored;
    fs::remove_all(FPath, ignored);
}

void TTempProgramFolder::CopyShippedParts() const {
    fs::copy(BuiltProgramFolder() / "parts", Parts(),
             fs::copy_options::overwrite_existing | fs::copy_options::recursive);
}

void TTempProgramFolder::WritePartFile(const std::string& name, const std::string& text) const {
    std::ofstream out(Parts() / name, std::ios::binary);
    out << text;
}

std::string TTempProgramFolder::ReadFile(const fs::path& path) const {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

fs::path SourceFolder() {
    return STONEMILL_SOURCE_DIR;
}

fs::path BuiltProgramFolder() {
    return STONEMILL_PROGRAM_DIR;
}
