#include "app/stonemill_app.h"

#include <algorithm>
#include <cmath>

#include "common/error.h"
#include "files/palette_entry.h"
#include "model/block.h"
#include "model/cut_state.h"
#include "partlib/part_registry.h"

namespace fs = std::filesystem;

const char* const kProgramVersion = "1.42";
const char* const kProgramReleaseDate = "8 December 2026";
const char* const kProgramCaption = "Stonemill Ver 1.42";

TPixelFormat PixelFormatOf(TBitDepth depth) {
    switch (depth) {
    case bd8:
        return pf8bit;
    case bd16:
        return pf16bit;
    case bd24:
        return pf24bit;
    case bdDevice:
        return pfDevice;
    default:
        return pf32bit;
    }
}

std::string DropProposedExtension(const std::string& name) {
    if (name.size() >= 4 && name[name.size() - 4] == '.')
        return name.substr(0, name.size() - 4);
    return name;
}

TStonemillApp::TStonemillApp(const TDataFolders& folders)
    : ViewControl(View), PaletteRows(View, folders.Shipped()),
      PartEditor([](const std::string& blockString) { return CreateEntryStone(blockString); }),
      FFolders(folders), FPicture(0, 0, pf32bit), FCaption(kProgramCaption) {
    ViewControl.OnRedraw = [this] { RedrawPicture(); };
    Model.OnUndoEnabled = [this](bool) {
        if (OnUndoRedoState)
            OnUndoRedoState(Model.UndoCount() > 0, Model.RedoCount() > 0);
    };
    Model.OnRedoEnabled = Model.OnUndoEnabled;
    // Models and sets are opened from the shipped data; models and pictures
    // are saved into the user folder, which the shipped data may not be.
    OpenFolder = SubassemblyFolder = folders.Shipped() / "Models";
    SetFolder = folders.Shipped() / "Sets";
    const fs::path mine = folders.User().empty() ? folders.Shipped() : folders.User();
    SaveFolder = PartialSaveFolder = mine / "Models";
    PictureFolder = mine / "Pict";
}

TStonemillApp::~TStonemillApp() {
    FreeStones(Model);
}

void TStonemillApp::FreeStones(TBlockList& list) {
    for (TBlock* stone : list.Stones())
        delete stone;
    list.Clear();
}

void TStonemillApp::RedrawPicture() {
    if (View.SuppressRedraw)
        return;
    if (FBusy) // long work runs on the model; every long work ends in a redraw
        return;
    View.SkipPainting = false;
    if (FPicture.Width() <= 0 || FPicture.Height() <= 0)
        return;
    // While a stone is in hand, general stones of its caption (and colour)
    // are drawn in magenta.
    const TBlock* hand = Hand.Stone();
    View.MarkMatching = MarkMatching && hand != nullptr;
    View.MarkCaption = hand != nullptr ? hand->Caption : std::string();
    View.MarkColor = hand != nullptr && MarkWithColor ? static_cast<int64_t>(hand->Color) : -1;
    if (!View.SkipPainting && !View.Painting)
        SortModelForView(false);
    if (View.AntiAlias && (FPicture.PixelFormat() == pf32bit || FPicture.PixelFormat() == pfDevice)) {
        DrawSceneAntiAliased(FPicture, Rect(0, 0, FPicture.Width(), FPicture.Height()), FPicture.Width(),
                             FPicture.Height(), Model, View, Background);
    } else {
        DrawScenePlain(FPicture, Model, View, Background, SlowRendering ? OnStoneDrawn : nullptr);
    }
    ++FPassCount;
    FShownValid = false;
    if (Hand.Holding())
        ComposeHand(true);
    if (OnPictureChanged)
        OnPictureChanged();
}

void TStonemillApp::ResizeView(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    // The rasteriser needs two rows at least.
    FPicture.SetPixelFormat(PixelFormatOf(EffectiveBitDepth()));
    FPicture.SetSize(std::max(width, 2), std::max(height, 2));
    ViewControl.Resize(width, height);
    RedrawPicture();
}

void TStonemillApp::SetDetailLevel(int level) {
    View.DetailLevel = level;
    if (View.Wireframe) {
        View.Wireframe = false; // choosing a level releases the wireframe button
        View.Shading = FSavedShading;
    }
    RedrawPicture();
}

void TStonemillApp::SetShading(bool on) {
    View.Shading = on;
    RedrawPicture();
}

void TStonemillApp::SetAntiAlias(bool on) {
    FBitDepth = bd32;
    FPicture.SetPixelFormat(pf32bit);
    View.AntiAlias = on;
    RedrawPicture();
}

void TStonemillApp::SetBitDepth(TBitDepth depth) {
    FBitDepth = depth;
    FPicture.SetPixelFormat(PixelFormatOf(depth));
    RedrawPicture();
}

TBitDepth TStonemillApp::EffectiveBitDepth() const {
    return FBitDepth >= bd8 && FBitDepth <= bdDevice ? static_cast<TBitDepth>(FBitDepth) : bd32;
}

void TStonemillApp::SetWireframe(bool down) {
    if (down == View.Wireframe)
        return;
    if (down) {
        FSavedDetail = View.DetailLevel;
        FSavedShading = View.Shading;
        View.DetailLevel = 0;
        View.Shading = false;
    } else {
        View.DetailLevel = FSavedDetail;
        View.Shading = FSavedShading;
    }
    View.Wireframe = down;
    RedrawPicture();
}

void TStonemillApp::RefreshDisplay() {
    View.Pictures.Clear(); // pictures changed on disk show again
    SortModelForView(true);
    RedrawPicture();
}

void TStonemillApp::ApplyViewSettings(const TViewSettings& settings) {
    View.EdgeFactor = settings.EdgeFactor;
    View.FixedEdgeColors = settings.FixedEdgeColors;
    View.DarkEdgeColor = settings.DarkEdgeColor;
    View.LightEdgeColor = settings.LightEdgeColor;
    View.DetailLevel = settings.Details;
    View.Shading = settings.Shading;
    FBitDepth = settings.BitDepth;
    FPicture.SetPixelFormat(PixelFormatOf(EffectiveBitDepth()));
}

TViewSettings TStonemillApp::CurrentViewSettings() const {
    TViewSettings settings;
    settings.EdgeFactor = View.EdgeFactor;
    settings.FixedEdgeColors = View.FixedEdgeColors;
    settings.DarkEdgeColor = View.DarkEdgeColor;
    settings.LightEdgeColor = View.LightEdgeColor;
    // While the wireframe button is down the chosen level and shading wait.
    settings.Details = View.Wireframe ? FSavedDetail : View.DetailLevel;
    settings.Shading = View.Wireframe ? FSavedShading : View.Shading;
    settings.BitDepth = EffectiveBitDepth();
    return settings;
}

void TStonemillApp::SetCaptionAndFileNames(const std::string& fileName) {
    const size_t dash = FCaption.find('-');
    if (dash != std::string::npos) {
        const size_t space = FCaption.rfind(' ', dash);
        FCaption.resize(space == std::string::npos ? dash : space);
    }
    if (!fileName.empty())
        FCaption += " - " + fileName;
    FOpenFileName = fileName;
    FSaveFileName = fs::path(fileName).filename().string();
}

void TStonemillApp::NewModel() {
    SetCaptionAndFileNames("");
    Hand.Drop();
    FreeStones(Model);
    Model.SortedOctant = 0;
    Model.HighestExtraNumber = 0;
    HighestGroup = 0;
    if (OnUndoRedoState)
        OnUndoRedoState(false, false);
    RedrawPicture();
    Palette.ClearRecent();
    Supply.Clear();
    Dirty = false;
}

void TStonemillApp::NoteRecentFile(const std::string& path) {
    auto it = std::find(FRecentFiles.begin(), FRecentFiles.end(), path);
    if (it == FRecentFiles.end()) {
        FRecentFiles.push_front(path);
        return;
    }
    FRecentFiles.erase(it);
    FRecentFiles.push_front(path);
    if (FRecentFiles.size() > 12)
        FRecentFiles.pop_back();
}

void TStonemillApp::ApplyView(const TViewRecord& record) {
    ViewControl.Batch([&] {
        ViewControl.SetRotX(record.RotX);
        ViewControl.SetRotZ(record.RotZ);
        if (record.HasZoomAndOffsets) {
            View.ViewScale = record.ZoomFactor;
            ViewControl.SetOffsetX(record.OffsetX);
            ViewControl.SetOffsetY(record.OffsetY);
        }
    });
    TRecordedView recorded = ViewControl.Recorded();
    recorded.RotX = record.RotX;
    recorded.RotZ = record.RotZ;
    if (record.HasZoomAndOffsets) {
        recorded.OffsetX = record.OffsetX;
        recorded.OffsetY = record.OffsetY;
    }
    ViewControl.SetRecorded(recorded);
}

TModelReadResult TStonemillApp::ReadStones(const TStringList& lines, TBlockList& target,
                                           const TModelReadSettings& settings, const std::string& fileName) {
    // The stones are read into a list of their own, which the work may fill on
    // another thread while the window still shows the lists as they are; the
    // target, emptied before, then takes them in their order.
    TBlockList read;
    read.SortedOctant = target.SortedOctant;
    struct TFreeUnused {
        TBlockList& List;
        ~TFreeUnused() { FreeStones(List); }
    } freeUnused{read};
    std::vector<std::pair<int, std::string>> lineErrors;
    TModelReadResult result;
    RunLongWork("Reading " + fileName, [&](const TShareProgress& progress) {
        result = ReadModelLines(
            lines, read, settings,
            [&](int line, const std::string& message) { lineErrors.emplace_back(line, message); }, progress);
    });
    if (target.Count() == 0) {
        target.TakeStones(read);
    } else {
        target.InsertAllSorted(read.Stones());
        read.Clear();
    }
    target.HighestExtraNumber = read.HighestExtraNumber;
    for (const auto& [line, message] : lineErrors)
        if (OnLineError)
            OnLineError(line, message);
    return result;
}

void TStonemillApp::RunLongWork(const std::string& what, const TLongWork& work) {
    if (!OnLongWork || FBusy) {
        work(nullptr);
        return;
    }
    struct TBusy {
        TStonemillApp& App;
        ~TBusy() { App.FBusy = false; }
    } busy{*this};
    FBusy = true;
    OnLongWork(what, work);
}

void TStonemillApp::SortModelForView(bool force) {
    const int octant = View.Octant();
    if (!Model.NeedsSort(octant, force))
        return;
    if (Model.Count() < 2) {
        Model.Sort(octant, force);
        return;
    }
    std::vector<TBlock*> order;
    RunLongWork("Sorting the stones",
                [&](const TShareProgress& progress) { order = Model.SortedOrder(octant, progress); });
    Model.TakeOrder(std::move(order), octant);
}

TModelReadResult TStonemillApp::LoadModel(const fs::path& path, TLoadMode mode) {
    // The file is read before anything changes: one that cannot be read
    // leaves the model, its name and the hand as they were.
    const std::string name = path.string();
    TStringList lines;
    RunLongWork("Reading " + fs::path(name).filename().string(),
                [&](const TShareProgress&) { lines = LoadLines(FindFileNoCase(path).value_or(path)); });
    Hand.Drop();
    NoteRecentFile(name);
    fs::path folder = path.parent_path();
    std::error_code error;
    if (!fs::is_directory(folder, error))
        folder = FFolders.Shipped() / folder;
    (mode == TLoadMode::lmComplete ? OpenFolder : SubassemblyFolder) = folder;

    // The whole load ends in one picture, also when it fails.
    struct TSuppress {
        TRenderState& View;
        bool Was;
        ~TSuppress() { View.SuppressRedraw = Was; }
    };
    TModelReadResult result;
    {
        TSuppress suppress{View, View.SuppressRedraw};
        View.SuppressRedraw = true;
        try {
            if (mode == TLoadMode::lmComplete) {
                Dirty = false;
                NewModel();
            }
            SetCaptionAndFileNames(name);
            TModelReadSettings settings;
            settings.Mode = mode;
            settings.HighestGroup = HighestGroup;
            settings.ExtraNumber = Model.HighestExtraNumber;
            settings.CurrentColor = Palette.CurrentColor;
            TBlockList& target = mode == TLoadMode::lmComplete ? Model : Hand.Pending();
            result = ReadStones(lines, target, settings, fs::path(name).filename().string());
            HighestGroup = result.HighestGroup;
            if (mode == TLoadMode::lmComplete) {
                Model.HighestExtraNumber = result.HighestExtraNumber;
                if (result.View)
                    ApplyView(*result.View);
                Model.SortedOctant = -1; // a full view update sorts anew
            } else {
                Hand.Pending().HighestExtraNumber = Model.HighestExtraNumber;
                Hand.MakeProxy(result.Box);
            }
        } catch (...) {
            View.SuppressRedraw = suppress.Was;
            RedrawPicture();
            throw;
        }
    }
    RedrawPicture();
    return result;
}

TViewRecord TStonemillApp::CurrentViewRecord() const {
    TViewRecord record;
    record.RotX = ViewControl.RotX().Position;
    record.RotZ = ViewControl.RotZ().Position;
    record.ZoomFactor = View.ViewScale;
    record.OffsetX = ViewControl.OffsetX().Position;
    record.OffsetY = ViewControl.OffsetY().Position;
    return record;
}

void TStonemillApp::SaveModel(const fs::path& path, TSaveMode mode) {
    (mode == TSaveMode::smComplete ? SaveFolder : PartialSaveFolder) = path.parent_path();
    SetCaptionAndFileNames(path.string());
    SaveModelFile(path, Model, CurrentViewRecord(), mode);
    if (mode == TSaveMode::smComplete)
        Dirty = false;
    TRecordedView recorded = ViewControl.Recorded();
    recorded.RotX = ViewControl.RotX().Position;
    recorded.RotZ = ViewControl.RotZ().Position;
    recorded.OffsetX = ViewControl.OffsetX().Position;
    recorded.OffsetY = ViewControl.OffsetY().Position;
    ViewControl.SetRecorded(recorded);
}

std::optional<TBreakUpResult> TStonemillApp::BreakUpScene(const fs::path& path) {
    return ::BreakUpScene(path.string());
}

bool TStonemillApp::HasSelection() const {
    return std::any_of(Model.Stones().begin(), Model.Stones().end(),
                       [](const TBlock* s) { return s->Selected; });
}

bool TStonemillApp::MayDiscardChanges(const std::function<TSaveAnswer()>& ask,
                                      const std::function<bool()>& saveComplete) {
    if (!Dirty)
        return true;
    switch (ask()) {
    case TSaveAnswer::saCancel:
        return false;
    case TSaveAnswer::saYes:
        if (!saveComplete())
            return false;
        break;
    case TSaveAnswer::saNo:
        break;
    }
    Dirty = false;
    return true;
}

TSaveProposal TStonemillApp::PrepareSave(TSaveMode mode) {
    if (mode == TSaveMode::smComplete)
        FSaveFileName = FOpenFileName;
    else if (mode == TSaveMode::smSelected)
        FSaveFileName.clear();
    return {DropProposedExtension(FSaveFileName),
            mode == TSaveMode::smComplete ? SaveFolder : PartialSaveFolder};
}

std::string TStonemillApp::LoadSettings(const fs::path& file, const fs::path& source) {
    Settings = TSettings(file, source);
    return Settings.Load(*this);
}

void TStonemillApp::WriteBackOnExit() {
    std::string failures;
    try {
        Settings.Save(*this);
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
