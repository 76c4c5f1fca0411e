#include "export_samples.h"

#include <algorithm>
#include <cstdio>
#include <sys/wait.h>

#include "export/gltf_writer.h"
#include "export/ldraw_writer.h"
#include "export/model_export.h"
#include "files/model_file_reader.h"
#include "platform/data_folders.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

TSampleModel::TSampleModel() {
    auto add = [&](std::unique_ptr<TBlock> stone, int turns) {
        for (int k = 0; k < turns; ++k)
            stone->TurnQuarter();
        Stones.push_back(stone.get());
        Owned.push_back(std::move(stone));
    };
    add(StoneInUnits('B', 0, 0, 0, 40, 20, 20, clRed), 0);
    add(StoneInUnits('B', 60, 0, 0, 40, 20, 20, clBlue), 1);
    add(StoneInUnits('B', 0, 40, 20, 60, 20, 13, RGB(128, 128, 128)), 2);
    add(StoneInUnits('B', -100, -60, 40, 80, 40, 7, clRed), 3);
    auto clear = StoneInUnits('B', 20, 100, 0, 40, 20, 20, clRed);
    clear->Transparent = true;
    add(std::move(clear), 1);
    add(StoneInUnits('B', 200, 20, 0, 20, 20, 60, clBlue), 0);
}

std::vector<fs::path> DemoModelFiles() {
    std::vector<fs::path> files;
    for (const auto& file : fs::directory_iterator(SourceFolder() / "data" / "Models"))
        if (file.path().extension() == ".stm")
            files.push_back(file.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<const TBlock*> DemoModelStones(const fs::path& file, TOwnedBlockList& model) {
    LoadModelFile(file, model, {}, [](int, const std::string&) {});
    return {model.Stones().begin(), model.Stones().end()};
}

std::string RunCommand(const std::string& command, int& exitCode) {
    std::string output;
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) {
        exitCode = -1;
        return output;
    }
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return output;
}

bool HaveProgram(const std::string& name) {
    int exitCode = 0;
    RunCommand("command -v " + name + " >/dev/null 2>&1", exitCode);
    return exitCode == 0;
}

std::string ShellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

namespace {

TExportJob JobOf(const std::vector<const TBlock*>& stones, double moduleMillimetres) {
    TExportJob job;
    job.Stones = stones;
    job.Options.ModuleMillimetres = moduleMillimetres;
    job.Options.FindPicture = [](const std::string& picture) {
        return DataFolders().Find(std::filesystem::path("parts") / picture);
    };
    return job;
}

} // namespace

void WriteGltfBinary(const std::vector<const TBlock*>& stones, const std::filesystem::path& file,
                     double moduleMillimetres) {
    TExportJob job = JobOf(stones, moduleMillimetres);
    WriteGltfFile(job, file);
}

void WriteLdrawModel(const std::vector<const TBlock*>& stones, const std::filesystem::path& file) {
    TExportJob job = JobOf(stones, kDefaultModuleMillimetres);
    WriteLdrawFile(job, file);
}
