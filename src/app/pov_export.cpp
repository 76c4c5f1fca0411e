#include "app/pov_export.h"

#include <cstring>

#include "app/model_document.h"
#include "app/palette.h"
#include "app/scene_view.h"
#include "common/error.h"
#include "common/process.h"
#include "platform/atomic_file.h"
#include "platform/data_folders.h"

namespace fs = std::filesystem;

bool TPovRayRun::Running() {
    int status = 0;
    const TProgramState state = PollProgram(FProcess, status);
    if (state == TProgramState::psRunning)
        return true;
    Ended(state == TProgramState::psEnded, status);
    return false;
}

void TPovRayRun::Wait() {
    const int status = WaitProgram(FProcess);
    Ended(status != -1, status);
}

void TPovRayRun::Ended(bool normally, int status) const {
    if (!normally)
        throw EError("POV-Ray did not finish the picture; what it said is in " + Log().string());
    if (status != 0)
        throw EError(StrFormat("POV-Ray failed with exit status %d; what it said is in %s", status,
                               Log().string().c_str()));
}

TPovExport::TPovExport(TSceneView& scene, TModelDocument& document, const TPalette& palette,
                       const TDataFolders& folders)
    : FScene(scene), FDocument(document), FPalette(palette), FFolders(folders) {}

bool TPovExport::Available() const {
    std::error_code error;
    return fs::is_regular_file(FProgram, error);
}

fs::path TPovExport::RenderFolder() const {
    return FFolders.WritePath("Render");
}

fs::path TPovExport::IncludeFile() const {
    const fs::path name = fs::path("Render") / kPovIncludeFile;
    return FFolders.Find(name).value_or(FFolders.Shipped() / name);
}

TPovSettings TPovExport::Settings() const {
    const TRenderState& view = FScene.View();
    TPovSettings settings;
    settings.Light = view.Light;
    settings.AngleX = view.AngleX();
    settings.AngleZ = view.AngleZ();
    settings.ViewScale = view.ViewScale;
    // The materials Color1 .. Color3 are the palette's sixth to eighth swatches.
    for (size_t i = 0; i < settings.Materials.size(); ++i)
        settings.Materials[i] = FPalette.Swatches[5 + i];
    settings.Date = ShortDateToday();
    // POV-Ray reads only from the home folder, /tmp and the current folder:
    // the part pictures are named where the user folder holds copies of them.
    settings.PartsFolder = FFolders.WritePath("parts");
    return settings;
}

void TPovExport::Export(const fs::path& folder) {
    if (folder.empty())
        throw EError("There is no folder for your own files, so the POV-Ray scene cannot be written");
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    FScene.View().UpdateView();
    WritePovScene(FDocument.Model(), Settings(), IncludeFile().parent_path(), folder);
}

void TPovExport::ExportWithInclude(const fs::path& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    if (!fs::is_directory(folder, error))
        throw EError("Cannot make the folder " + folder.string());
    Export(folder);
    const fs::path include = IncludeFile();
    if (fs::equivalent(include.parent_path(), folder, error))
        return;
    try {
        CopyFileAtomically(include, folder / kPovIncludeFile);
    } catch (const EError& e) {
        throw EError("Cannot copy " + include.string() + " into " + folder.string() + ": " + e.Message());
    }
}

std::vector<std::string> TPovExport::Arguments(bool withoutDisplay) const {
    std::vector<std::string> arguments = {FProgram};
    if (withoutDisplay)
        arguments.push_back("-D");
    arguments.push_back("test.pov");
    return arguments;
}

TPovRayRun TPovExport::Start(const fs::path& folder, bool withoutDisplay) const {
    if (!Available())
        throw EError("POV-Ray was not found at " + FProgram +
                     " (install the povray package, or name the program as PovRayEng in Stonemill.ini)");
    // A scene can write files (#fopen). POV-Ray 3.7 on Linux reads the file
    // restrictions of its povray.conf but never applies them, so the system
    // keeps POV-Ray's writing to the folder.
    const TLaunch launch = LaunchProgram(Arguments(withoutDisplay), folder, folder / "povray.log", folder);
    if (launch.Process == -1)
        throw EError(StrFormat("POV-Ray could not be started (error %d: %s)", launch.Error,
                               std::strerror(launch.Error)));
    return TPovRayRun(launch.Process, folder);
}
