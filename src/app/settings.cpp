#include "app/settings.h"

#include "app/palette.h"
#include "app/pov_export.h"
#include "app/scene_view.h"
#include "common/error.h"
#include "files/settings_file.h"

namespace {

TSettingsData Collect(const TSettingsParts& parts) {
    TSettingsData data;
    data.Version = 2;
    data.View = parts.Scene.CurrentViewSettings();
    data.PovRayEng = parts.Pov.Program();
    data.Hints = parts.Hints;
    parts.Palette.Store(data);
    return data;
}

} // namespace

std::string TSettings::Load(const TSettingsParts& parts) const {
    const std::filesystem::path& read = FSource.empty() ? FFile : FSource;
    if (read.empty())
        return {};
    const TSettingsData data = ReadSettingsFile(read);
    parts.Scene.ApplyViewSettings(data.View);
    parts.Pov.SetProgram(data.PovRayEng);
    parts.Hints = data.Hints;
    parts.Palette.Load(data);
    // Selected stones are outlined in the first swatch's colour, and stones of
    // the black swatch's colour get light edges.
    parts.Scene.View().SelectionColor = parts.Palette.Swatches[0];
    parts.Scene.View().BlackStoneColor = parts.Palette.Swatches[4];
    parts.Palette.Changed = false;
    if (!data.ReadError.empty())
        return data.ReadError;
    std::error_code error;
    if (data.Version == 1 && !FFile.empty() && std::filesystem::is_regular_file(read, error)) {
        try {
            WriteSettingsFile(FFile, Collect(parts), true);
        } catch (const EError& failure) {
            return failure.what();
        }
    }
    return {};
}

void TSettings::Save(const TSettingsParts& parts) const {
    if (FFile.empty() || !parts.Palette.Changed)
        return;
    parts.Palette.Changed = false;
    WriteSettingsFile(FFile, Collect(parts), false);
}
