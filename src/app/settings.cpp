#include "app/settings.h"

#include "app/stonemill_app.h"
#include "common/error.h"
#include "files/settings_file.h"

namespace {

TSettingsData Collect(const TStonemillApp& app) {
    TSettingsData data;
    data.Version = 2;
    data.View = app.CurrentViewSettings();
    data.PovRayEng = app.PovRayProgram;
    data.Hints = app.Hints;
    app.Palette.Store(data);
    return data;
}

} // namespace

std::string TSettings::Load(TStonemillApp& app) {
    const std::filesystem::path& read = FSource.empty() ? FFile : FSource;
    if (read.empty())
        return {};
    const TSettingsData data = ReadSettingsFile(read);
    app.ApplyViewSettings(data.View);
    app.PovRayProgram = data.PovRayEng;
    app.Hints = data.Hints;
    app.Palette.Load(data);
    // Selected stones are outlined in the first swatch's colour, and stones of
    // the black swatch's colour get light edges.
    app.View.SelectionColor = app.Palette.Swatches[0];
    app.View.BlackStoneColor = app.Palette.Swatches[4];
    app.Palette.Changed = false;
    if (!data.ReadError.empty())
        return data.ReadError;
    std::error_code error;
    if (data.Version == 1 && !FFile.empty() && std::filesystem::is_regular_file(read, error)) {
        try {
            WriteSettingsFile(FFile, Collect(app), true);
        } catch (const EError& failure) {
            return failure.what();
        }
    }
    return {};
}

void TSettings::Save(TStonemillApp& app) {
    if (FFile.empty() || !app.Palette.Changed)
        return;
    app.Palette.Changed = false;
    WriteSettingsFile(FFile, Collect(app), false);
}
