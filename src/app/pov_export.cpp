// The model as a POV-Ray scene, with the settings of the view and the palette.

#include "app/stonemill_app.h"

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
    settings.PartsFolder = FProgramFolder / "parts";
    return settings;
}

void TStonemillApp::ExportPov(const fs::path& folder) {
    View.UpdateView();
    WritePovScene(Model, PovSettings(), RenderFolder(), folder);
}

std::vector<std::string> TStonemillApp::PovRayArguments(bool withoutDisplay) const {
    std::vector<std::string> arguments = {PovRayProgram};
    if (withoutDisplay)
        arguments.push_back("-D");
    arguments.push_back("test.pov");
    return arguments;
}
