#include "app/model_files.h"

#include "app/hand.h"
#include "app/long_work_gate.h"
#include "app/model_document.h"
#include "app/model_preview_picture.h"
#include "app/palette.h"
#include "app/scene_view.h"
#include "app/stone_supply.h"
#include "common/error.h"
#include "files/model_preview.h"
#include "platform/bitmap.h"
#include "platform/data_folders.h"
#include "render/picture_writer.h"

#include <new>

namespace fs = std::filesystem;

namespace {

std::string PreviewProblem(const fs::path& preview, const std::string& why) {
    return "The model is saved, but its preview picture " + preview.string() + " could not be written.\n" +
           why;
}

} // namespace

TModelFiles::TModelFiles(TModelDocument& document, TSceneView& scene, THand& hand, TPalette& palette,
                         TStoneSupply& supply, TLongWorkGate& work, const TDataFolders& folders)
    : FDocument(document), FScene(scene), FHand(hand), FPalette(palette), FSupply(supply), FWork(work),
      FFolders(folders) {}

void TModelFiles::NewModel() {
    FDocument.SetCaptionAndFileNames("");
    FHand.Drop();
    FDocument.Clear();
    FScene.RedrawPicture();
    FPalette.ClearRecent();
    FSupply.Clear();
    FDocument.SetDirty(false);
}

void TModelFiles::ApplyView(const TViewRecord& record) {
    TViewController& control = FScene.Control();
    control.Batch([&] {
        FScene.View().ViewAnchor = {};
        control.SetRotX(record.RotX);
        control.SetRotZ(record.RotZ);
        if (record.HasZoomAndOffsets) {
            FScene.View().ViewScale = record.ZoomFactor;
            control.SetOffsetX(record.OffsetX);
            control.SetOffsetY(record.OffsetY);
        }
    });
    TRecordedView recorded = control.Recorded();
    recorded.RotX = record.RotX;
    recorded.RotZ = record.RotZ;
    if (record.HasZoomAndOffsets) {
        recorded.OffsetX = record.OffsetX;
        recorded.OffsetY = record.OffsetY;
    }
    control.SetRecorded(recorded);
}

TModelReadResult TModelFiles::LoadModel(const fs::path& path, TLoadMode mode) {
    // The file and its stones are read before anything changes: a file that
    // cannot be read, or is not a model, leaves the model, its name and the
    // hand as they were.
    const std::string name = path.string();
    const std::string what = "Reading " + fs::path(name).filename().string();
    TStringList lines;
    FWork.Run(what, [&](const TShareProgress&) { lines = LoadLines(FindFileNoCase(path).value_or(path)); });

    const bool complete = mode == TLoadMode::lmComplete;
    TOwnedBlockList& model = FDocument.Model();
    TModelReadSettings settings;
    settings.Mode = mode;
    settings.HighestGroup = complete ? 0 : FDocument.HighestGroup(); // a complete load empties the model
    settings.ExtraNumber = model.HighestExtraNumber;
    settings.CurrentColor = FPalette.CurrentColor;
    settings.FileName = name;
    // The stones are read into a list of their own, which the work may fill on
    // another thread while the window still shows the lists as they are. It is
    // sorted as the list they go to: the emptied model (octant 0) or the hand.
    TOwnedBlockList read;
    read.SortedOctant = complete ? 0 : FHand.Pending().SortedOctant;
    std::vector<std::pair<int, std::string>> lineErrors;
    TModelReadResult result;
    FWork.Run(what, [&](const TShareProgress& progress) {
        result = ReadModelLines(
            lines, read, settings,
            [&](int line, const std::string& message) { lineErrors.emplace_back(line, message); }, progress);
    });

    FHand.Drop();
    FDocument.NoteRecentFile(name);
    fs::path folder = path.parent_path();
    std::error_code error;
    if (!fs::is_directory(folder, error))
        folder = FFolders.Shipped() / folder;
    TDialogFolders& folders = FDocument.DialogFolders();
    (complete ? folders.Open : folders.Subassembly) = folder;

    // The whole load ends in one picture, also when it fails.
    TRenderState& view = FScene.View();
    struct TSuppress {
        TRenderState& View;
        bool Was;
        ~TSuppress() { View.SuppressRedraw = Was; }
    };
    {
        TSuppress suppress{view, view.SuppressRedraw};
        view.SuppressRedraw = true;
        try {
            if (complete) {
                FDocument.SetDirty(false);
                NewModel();
            }
            FDocument.SetCaptionAndFileNames(name);
            TOwnedBlockList& target = complete ? model : FHand.Pending();
            if (target.Count() == 0 && target.SortedOctant == read.SortedOctant)
                target.TakeStones(read);
            else
                target.InsertAllSorted(read.ReleaseAll());
            target.HighestExtraNumber = read.HighestExtraNumber;
            for (const auto& [line, message] : lineErrors)
                if (OnLineError)
                    OnLineError(line, message);
            FDocument.SetHighestGroup(result.HighestGroup);
            if (complete) {
                model.HighestExtraNumber = result.HighestExtraNumber;
                if (result.View)
                    ApplyView(*result.View);
                model.SortedOctant = -1; // a full view update sorts anew
            } else {
                FHand.Pending().HighestExtraNumber = model.HighestExtraNumber;
                FHand.MakeProxy(result.Box);
            }
        } catch (...) {
            view.SuppressRedraw = suppress.Was;
            FScene.RedrawPicture();
            throw;
        }
    }
    FScene.RedrawPicture();
    return result;
}

TViewRecord TModelFiles::CurrentViewRecord() const {
    const TViewController& control = FScene.Control();
    TViewRecord record;
    record.RotX = control.RotX().Position;
    record.RotZ = control.RotZ().Position;
    record.ZoomFactor = FScene.View().ViewScale;
    record.OffsetX = control.OffsetX().Position;
    record.OffsetY = control.OffsetY().Position;
    return record;
}

void TModelFiles::SaveModel(const fs::path& path, TSaveMode mode) {
    TDialogFolders& folders = FDocument.DialogFolders();
    (mode == TSaveMode::smComplete ? folders.Save : folders.PartialSave) = path.parent_path();
    // The model now lives there, so the next open starts beside it.
    if (mode == TSaveMode::smComplete)
        folders.Open = path.parent_path();
    FDocument.SetCaptionAndFileNames(path.string());
    SaveModelFile(path, FDocument.Model(), CurrentViewRecord(), mode);
    if (mode == TSaveMode::smComplete)
        FDocument.SetDirty(false);
    // "Restore original view" returns to the view the file now records.
    FScene.Control().RecordView();
}

std::vector<std::string> TModelFiles::ExportModel(const fs::path& path, TSaveMode mode,
                                                  TExportOptions options) {
    if (!options.FindPicture)
        options.FindPicture = [this](const std::string& picture) {
            return FFolders.Find(fs::path("parts") / picture);
        };
    std::vector<std::string> notes = ExportStones(StonesToExport(FDocument.Model(), mode), path, options);
    FDocument.DialogFolders().Export = path.parent_path();
    return notes;
}

std::string TModelFiles::ExportProposal() const {
    return fs::path(FDocument.OpenFileName()).stem().string();
}

std::string TModelFiles::SavePreview(const fs::path& model, TSaveMode mode,
                                     const TFileOperations& operations) {
    const std::optional<fs::path> preview = PreviewFileToWrite(model);
    if (!preview)
        return {};
    try {
        TBlockList* stones = &FDocument.Model();
        // The selected stones are drawn from copies of their own; the
        // displayed ones are those the drawing's cut test lets through.
        TOwnedBlockList selected;
        if (mode == TSaveMode::smSelected) {
            selected.SortedOctant = stones->SortedOctant;
            std::vector<std::unique_ptr<TBlock>> copies;
            for (const TBlock* stone : stones->Stones())
                if (stone->Selected)
                    copies.push_back(CreateCopy(*stone));
            selected.InsertAllSorted(std::move(copies));
            stones = &selected;
        }
        TBitmap picture(kModelPreviewWidth, kModelPreviewHeight, pf32bit);
        DrawModelPreview(picture, *stones, FScene.View(), FScene.Background().Color);
        SaveJpegFile(picture, *preview, kOwnPreviewComment, operations);
        return {};
    } catch (const EError& failure) {
        return PreviewProblem(*preview, failure.what());
    } catch (const std::bad_alloc&) {
        return PreviewProblem(*preview, "There is not enough memory for it.");
    }
}

std::optional<TBreakUpResult> TModelFiles::BreakUpScene(const fs::path& path) {
    // A scene of many groups is written as many files: long work that leaves the model alone.
    std::optional<TBreakUpResult> result;
    FWork.Run("Breaking up " + path.filename().string(),
              [&](const TShareProgress& progress) { result = ::BreakUpScene(path.string(), progress); });
    return result;
}

std::optional<fs::path> TModelFiles::OwnFile() const {
    const std::string open = FDocument.OpenFileName();
    if (open.empty())
        return std::nullopt;
    std::error_code error;
    const fs::path file = fs::weakly_canonical(open, error);
    const fs::path shipped = fs::weakly_canonical(FFolders.Shipped(), error);
    if (error || file.empty())
        return std::nullopt;
    // Inside the shipped folder unless the user's own folder lies inside it.
    const fs::path user = fs::weakly_canonical(FFolders.User(), error);
    auto within = [](const fs::path& path, const fs::path& folder) {
        const fs::path relative = path.lexically_relative(folder);
        return !folder.empty() && !relative.empty() && *relative.begin() != "..";
    };
    if (within(file, shipped) && !(within(user, shipped) && within(file, user)))
        return std::nullopt;
    return file;
}
