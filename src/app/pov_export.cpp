// The model as a POV-Ray scene, with the settings of the view and the palette.

#include "app/stonemill_app.h"

#include "common/error.h"

namespace fs = std::filesystem;

bool TStonemillApp::PovRayAvailable() const {
    std::error_code error;
    return fs::is_regular_file(PovRayProgram, error);
}

TPovSettings TStonemillApp::PovSettings() const {
    TPovSettings settings;
    settings.Light = View.Light;
    settings.AngleX = View.AngleX();
    settings.AngleZ = View.AngleZ();
    settings.ViewScale = View.ViewScale;
    // The materials Color1 .. Color3 are the palette's sixth to eighth swatches.
    for (size_t i = 0; i < settings.Materials.size(); ++i)
        settings.Materials[i] = Palette.Swatches[5 + i];
    settings.Date = ShortDateToday();
    // POV-Ray reads only from the home folder, /tmp and the current folder:
    // the part pictures are named where the user folder holds copies of them.
    settings.PartsFolder = FFolders.WritePath("parts");
    return settings;
}

fs::path TStonemillApp::PovIncludeFile() const {
    const fs::path name = fs::path("Render") / kPovIncludeFile;
    return FFolders.Find(name).value_or(FFolders.Shipped() / name);
}

void TStonemillApp::ExportPov(const fs::path& folder) {
    if (folder.empty())
        throw EError("There is no folder for your own files, so the POV-Ray scene cannot be written");
    std::error_code ignored;
    fs::create_directories(folder, ignored);
    View.UpdateView();
    WritePovScene(Model, PovSettings(), PovIncludeFile().parent_path(), folder);
}

std::vector<std::string> TStonemillApp::PovRayArguments(bool withoutDisplay) const {
    std::vector<std::string> arguments = {PovRayProgram};
    if (withoutDisplay)
        arguments.push_back("-D");
    arguments.push_back("test.pov");
    return arguments;
}
