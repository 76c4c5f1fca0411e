#include "app/stonemill_app.h"

#include "common/error.h"
#include "files/palette_entry.h"
#include "partlib/part_registry.h"

TStonemillApp::TStonemillApp(const TDataFolders& folders)
    : FFolders(folders), Document(FFolders), Scene(Document.Model(), Hand, Work),
      Files(Document, Scene, Hand, Palette, Supply, Work, FFolders),
      Placing(Hand, Document, Files, Scene, Supply), Selection(Document, Scene, Supply, Palette, Hand, Placing),
      PaletteCommands(Palette, Supply, Hand, Placing, Scene, Document, FFolders),
      Pictures(Scene, Document, FFolders), Pov(Scene, Document, Palette, FFolders),
      Input(Scene, Placing, Selection, PaletteCommands, Palette, Document, Hand),
      PartEditor([](const std::string& blockString) { return CreateEntryStone(blockString); }) {
    // The stone in hand is drawn over every new scene.
    Scene.OnSceneDrawn = [this] { Placing.SceneDrawn(); };
    // The toolbox's position display follows the stone in hand.
    Placing.OnHandMoved = [this](const TBlock* held) { Selection.ShowHandPosition(held); };
    // The picture frame stays inside the view.
    Scene.OnResized = [this](int width, int height) { Pictures.Frame().SetViewSize(width, height); };
}

void TStonemillApp::ConnectWindow(const TWindowHooks& hooks) {
    Scene.OnPictureChanged = hooks.PictureChanged;
    Scene.OnStoneDrawn = hooks.StoneDrawn;
    Placing.OnHandChanged = hooks.HandChanged;
    Placing.OnMovePointer = hooks.MovePointer;
    Files.OnLineError = hooks.LineError;
    Work.OnLongWork = hooks.LongWork;
}

void TStonemillApp::SetGrid(TGridResolution grid) {
    Placing.SetGrid(grid);
    CutDialog.SetSteps(Hand.GridStep(), Hand.GridStep());
}

std::string TStonemillApp::LoadSettings(const std::filesystem::path& file,
                                        const std::filesystem::path& source) {
    FSettings = TSettings(file, source);
    return FSettings.Load(SettingsParts());
}

void TStonemillApp::WriteBackOnExit() {
    std::string failures;
    try {
        FSettings.Save(SettingsParts());
    } catch (const EError& failure) {
        failures = failure.what();
    }
    try {
        TPartRegistry::Instance().SaveModifiedParts();
    } catch (const EError& failure) {
        failures += (failures.empty() ? "" : "\n") + std::string(failure.what());
    }
    if (!failures.empty())
        throw EError(failures);
}
