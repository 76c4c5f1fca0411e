#pragma once
// Models and outside programs shared by the tests of the export writers.

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "model/block.h"
#include "model/block_list.h"

// Boxes in three colours, one of them see-through, turned every way, of
// four distinct shapes.
struct TSampleModel {
    TSampleModel();
    std::vector<std::unique_ptr<TBlock>> Owned;
    std::vector<const TBlock*> Stones;
};

// The stones of a shipped demo model in data/Models, read with the shipped
// parts (the caller keeps a TTempProgramFolder with them for the registry).
std::vector<const TBlock*> DemoModelStones(const std::filesystem::path& file, TOwnedBlockList& model);
std::vector<std::filesystem::path> DemoModelFiles();

// Runs a shell command; its standard output, and its exit code in exitCode.
std::string RunCommand(const std::string& command, int& exitCode);
// Whether a program of that name is on the PATH.
bool HaveProgram(const std::string& name);
// A path in single quotes for the shell.
std::string ShellQuoted(const std::string& text);

// Writes the stones as the program's export does, with a module of the given
// millimetres and the part pictures of the data folders.
void WriteGltfBinary(const std::vector<const TBlock*>& stones, const std::filesystem::path& file,
                     double moduleMillimetres = 8);
void WriteLdrawModel(const std::vector<const TBlock*>& stones, const std::filesystem::path& file);
