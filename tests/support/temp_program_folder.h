#pragma once
// A temporary program folder with an empty parts/ folder for one test: the
// program folder points at it, the part registry starts empty, and both are
// put back afterwards.

#include <filesystem>
#include <string>

#include "platform/data_folders.h"
#include "platform/text_file.h"

class TTempProgramFolder {
public:
    TTempProgramFolder();
    ~TTempProgramFolder();
    TTempProgramFolder(const TTempProgramFolder&) = delete;
    TTempProgramFolder& operator=(const TTempProgramFolder&) = delete;

    const std::filesystem::path& Path() const { return FPath; }
    std::filesystem::path Parts() const { return FPath / "parts"; }
    // Copies the shipped part library into parts/.
    void CopyShippedParts() const;
    // Writes a file under parts/ with the given raw text.
    void WritePartFile(const std::string& name, const std::string& text) const;
    std::string ReadFile(const std::filesystem::path& path) const;

private:
    std::filesystem::path FPath;
    TDataFolders FOldFolders;
};

// The source tree's folder, for tests that read the shipped data.
std::filesystem::path SourceFolder();
// The built program's folder, with the shipped data copied beside it.
std::filesystem::path BuiltProgramFolder();
