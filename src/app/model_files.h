#pragma once
// The model's file commands: a new model, loading a model file as the
// complete model or as a subassembly into the hand, saving the complete
// model, the selected or the displayed stones, and breaking up a scene. A
// model file records the view, so loading and saving take it from and give
// it to the scene.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "export/model_export.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "files/scene_break_up.h"
#include "platform/atomic_file.h"

class TDataFolders;
class THand;
class TLongWorkGate;
class TModelDocument;
class TPalette;
class TSceneView;
class TStoneSupply;

class TModelFiles {
public:
    TModelFiles(TModelDocument& document, TSceneView& scene, THand& hand, TPalette& palette,
                TStoneSupply& supply, TLongWorkGate& work, const TDataFolders& folders);

    // A line of a model file could not be read: show the message, then go on.
    std::function<void(int lineNumber, const std::string& message)> OnLineError;

    // Frees every stone, empties the undo and redo logs, the hand, the
    // recently used entries and the set, and draws anew. The unsaved-changes
    // question is the window's, asked before.
    void NewModel();
    // Loads a model file as the complete model or as a subassembly (held in
    // the hand, its stones pending). Lines that cannot be read go to
    // OnLineError. Raises EError when the file cannot be read or is not a
    // model; the model, its name and the hand then stay as they were. The load
    // ends in one picture.
    TModelReadResult LoadModel(const std::filesystem::path& path, TLoadMode mode);
    // Writes the model file with the current view and takes its name; a
    // complete save clears the dirty flag. Raises EError when writing fails
    // (the old file stays).
    void SaveModel(const std::filesystem::path& path, TSaveMode mode);
    // Writes the complete model, the selected or the displayed stones into a
    // file other programs read, in the format its extension names (see
    // export/model_export.h); part pictures are found in the data folders.
    // Raises EError when it cannot (an existing file then stays as it was).
    // Returns what the user should know of the file written (see ExportStones).
    std::vector<std::string> ExportModel(const std::filesystem::path& path, TSaveMode mode,
                                         TExportOptions options = {});
    // The name the export dialog proposes: the model's, without extension.
    std::string ExportProposal() const;

    // The file the model is saved into without a question (Ctrl + S): its own
    // file, unless it has none or it is one of the models shipped with the
    // program, which a save never changes unasked.
    std::optional<std::filesystem::path> OwnFile() const;

    // After a save: the preview picture the open dialog shows beside the model
    // file (see PreviewFileToWrite and DrawModelPreview) of the stones the
    // mode wrote. A picture of the user's own there stays. Returns what went
    // wrong in the user's words, or "": a preview that cannot be written
    // leaves the saved model as it is.
    std::string SavePreview(const std::filesystem::path& model, TSaveMode mode,
                            const TFileOperations& operations = TFileOperations::System());
    // Splits a scene file into one numbered file per group, as long work;
    // nothing when the path holds no ".STM".
    std::optional<TBreakUpResult> BreakUpScene(const std::filesystem::path& path);

    // The view as a model file's view line records it.
    TViewRecord CurrentViewRecord() const;

private:
    // Shows the view a loaded file recorded, which "Restore original view" returns to.
    void ApplyView(const TViewRecord& record);

    TModelDocument& FDocument;
    TSceneView& FScene;
    THand& FHand;
    TPalette& FPalette;
    TStoneSupply& FSupply;
    TLongWorkGate& FWork;
    const TDataFolders& FFolders;
};
