#pragma once
// The open model as a document: its stones (which it owns), the dirty flag,
// the highest group number, the caption and the file names of the dialogs,
// the models loaded in this run and the folders the file dialogs start in.
// It knows nothing of the view; loading and saving with the view are
// TModelFiles' work.

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "files/model_file_writer.h"
#include "model/block_list.h"

class TDataFolders;

// The answers to the unsaved-changes question.
enum class TSaveAnswer { saYes, saNo, saCancel };

// What the save dialog starts with: the proposed file name and the folder.
struct TSaveProposal {
    std::string FileName;
    std::filesystem::path Folder;
};

// The proposed name of the save dialog loses its extension when its fourth
// character from the end is ".".
std::string DropProposedExtension(const std::string& name);

// Where the file dialogs start; each remembers the folder last used. Models
// are opened from where they are saved, the user's Models folder.
struct TDialogFolders {
    std::filesystem::path Open, Save, Subassembly, PartialSave;
    // Where models were last exported (OBJ, STL, ...).
    std::filesystem::path Export;
    // The models shipped with the program, one click away in the open dialog.
    std::filesystem::path Demos;
    // The set dialog's.
    std::filesystem::path Set;
};

class TModelDocument {
public:
    // Models are opened from and saved into the user folder, which the
    // shipped data may not be; sets are opened from the shipped data.
    explicit TModelDocument(const TDataFolders& folders);
    TModelDocument(const TModelDocument&) = delete;
    TModelDocument& operator=(const TModelDocument&) = delete;

    TOwnedBlockList& Model() { return FModel; }
    const TOwnedBlockList& Model() const { return FModel; }
    // Frees every stone and empties the undo and redo logs; the group and
    // Extra numbers start again.
    void Clear();
    // The undo and redo states changed.
    std::function<void(bool undoEnabled, bool redoEnabled)> OnUndoRedoState;

    bool Dirty() const { return FDirty; }
    void SetDirty(bool dirty) { FDirty = dirty; }
    int32_t HighestGroup() const { return FHighestGroup; }
    void SetHighestGroup(int32_t group) { FHighestGroup = group; }
    // A group number no stone has yet.
    int32_t NewGroup() { return ++FHighestGroup; }

    // --- names ---
    std::string Caption() const { return FCaption; }
    // The current model's path (empty for a new model), and the name the save
    // dialog proposes.
    std::string OpenFileName() const { return FOpenFileName; }
    std::string SaveFileName() const { return FSaveFileName; }
    // Sets the caption and the dialogs' file names from a model path.
    void SetCaptionAndFileNames(const std::string& fileName);
    // The save dialog's name and folder for a save in this mode: a complete
    // save proposes the current model (a shipped one under its name in the
    // save folder), a save of the selection proposes nothing, a save of the
    // displayed stones keeps the last name.
    TSaveProposal PrepareSave(TSaveMode mode);
    TDialogFolders& DialogFolders() { return FDialogFolders; }
    const TDialogFolders& DialogFolders() const { return FDialogFolders; }

    // --- the models loaded in this run ---
    // Full paths, most recent first.
    const std::deque<std::string>& RecentFiles() const { return FRecentFiles; }
    // The first of them, as many as the load menu lists.
    std::vector<std::string> RecentFilesForMenu() const;
    // A model loaded: it goes to the top of the list.
    void NoteRecentFile(const std::string& path);

    // Before unsaved work is discarded: with the dirty flag set, asks the user
    // (ask) and on Yes saves the complete model (saveComplete, false when the
    // save was cancelled or failed). Returns whether the caller may go on;
    // going on clears the dirty flag.
    bool MayDiscardChanges(const std::function<TSaveAnswer()>& ask,
                           const std::function<bool()>& saveComplete);

private:
    TOwnedBlockList FModel;
    bool FDirty = false;
    int32_t FHighestGroup = 0;
    std::string FCaption;
    std::string FOpenFileName;
    std::string FSaveFileName;
    std::deque<std::string> FRecentFiles;
    TDialogFolders FDialogFolders;
};
