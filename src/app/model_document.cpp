#include "app/model_document.h"

#include <algorithm>

#include "app/program_version.h"
#include "platform/data_folders.h"

namespace fs = std::filesystem;

namespace {

// The load menu lists this many of the models loaded in this run.
constexpr size_t kRecentFilesInMenu = 15;
// A model loaded again moves to the top; the list then keeps at most this many.
constexpr size_t kRecentFilesKeptOnMove = 12;

} // namespace

std::string DropProposedExtension(const std::string& name) {
    if (name.size() >= 4 && name[name.size() - 4] == '.')
        return name.substr(0, name.size() - 4);
    return name;
}

TModelDocument::TModelDocument(const TDataFolders& folders) : FCaption(kProgramCaption) {
    FModel.OnUndoEnabled = [this](bool) {
        if (OnUndoRedoState)
            OnUndoRedoState(FModel.UndoCount() > 0, FModel.RedoCount() > 0);
    };
    FModel.OnRedoEnabled = FModel.OnUndoEnabled;
    FDialogFolders.Demos = folders.Shipped() / "Models";
    FDialogFolders.Set = folders.Shipped() / "Sets";
    const fs::path mine = folders.User().empty() ? folders.Shipped() : folders.User();
    FDialogFolders.Open = FDialogFolders.Subassembly = FDialogFolders.Save = FDialogFolders.PartialSave =
        FDialogFolders.Export = mine / "Models";
}

void TModelDocument::Clear() {
    FModel.FreeAll();
    FModel.SortedOctant = 0;
    FModel.HighestExtraNumber = 0;
    FHighestGroup = 0;
    if (OnUndoRedoState)
        OnUndoRedoState(false, false);
}

void TModelDocument::SetCaptionAndFileNames(const std::string& fileName) {
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

TSaveProposal TModelDocument::PrepareSave(TSaveMode mode) {
    if (mode == TSaveMode::smComplete)
        FSaveFileName = FOpenFileName;
    else if (mode == TSaveMode::smSelected)
        FSaveFileName.clear();
    const fs::path& folder = mode == TSaveMode::smComplete ? FDialogFolders.Save : FDialogFolders.PartialSave;
    std::string name = DropProposedExtension(FSaveFileName);
    // A shipped model is saved as the user's own, beside the user's models.
    const fs::path from = fs::path(name).parent_path().lexically_normal();
    if (!from.empty() && from == FDialogFolders.Demos.lexically_normal() && from != folder.lexically_normal())
        name = fs::path(name).filename().string();
    return {name, folder};
}

std::vector<std::string> TModelDocument::RecentFilesForMenu() const {
    const size_t count = std::min(FRecentFiles.size(), kRecentFilesInMenu);
    return {FRecentFiles.begin(), FRecentFiles.begin() + static_cast<std::ptrdiff_t>(count)};
}

void TModelDocument::NoteRecentFile(const std::string& path) {
    auto it = std::find(FRecentFiles.begin(), FRecentFiles.end(), path);
    if (it == FRecentFiles.end()) {
        FRecentFiles.push_front(path);
        return;
    }
    FRecentFiles.erase(it);
    FRecentFiles.push_front(path);
    if (FRecentFiles.size() > kRecentFilesKeptOnMove)
        FRecentFiles.pop_back();
}

bool TModelDocument::MayDiscardChanges(const std::function<TSaveAnswer()>& ask,
                                       const std::function<bool()>& saveComplete) {
    if (!FDirty)
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
    FDirty = false;
    return true;
}
