#pragma once
// The model as a POV-Ray scene with the settings of the view and the
// palette, and POV-Ray run on it: the one runner the window and the command
// line both use.

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

#include "export/pov_scene.h"
#include "files/settings_file.h"

class TDataFolders;
class TModelDocument;
class TPalette;
class TSceneView;

// POV-Ray drawing an exported scene in its folder, its messages going to
// povray.log there.
class TPovRayRun {
public:
    TPovRayRun(pid_t process, std::filesystem::path folder) : FProcess(process), FFolder(std::move(folder)) {}

    // Whether POV-Ray still runs. Once it has ended, raises EError unless it
    // drew the picture.
    bool Running();
    // Waits for POV-Ray to end; raises EError unless it drew the picture.
    void Wait();
    // The picture POV-Ray draws.
    std::filesystem::path Picture() const { return FFolder / "test.png"; }
    std::filesystem::path Log() const { return FFolder / "povray.log"; }

private:
    // POV-Ray ended, normally with this exit status or else not.
    void Ended(bool normally, int status) const;
    pid_t FProcess;
    std::filesystem::path FFolder;
};

class TPovExport {
public:
    TPovExport(TSceneView& scene, TModelDocument& document, const TPalette& palette,
               const TDataFolders& folders);

    // The POV-Ray program that renders exported scenes.
    const std::string& Program() const { return FProgram; }
    void SetProgram(std::string program) { FProgram = std::move(program); }
    // Whether the program is there ("&POV" is offered then).
    bool Available() const;

    // Where the window writes the scene: Render/ in the user folder (empty when there is none).
    std::filesystem::path RenderFolder() const;
    // The include file the scene names: the user's copy, else the shipped one.
    std::filesystem::path IncludeFile() const;
    // The scene's settings: the view, the light and the materials' swatches.
    TPovSettings Settings() const;
    // Writes test.pov and povray.ini into the folder (made when missing) for
    // the include file. Raises EError when that file is missing or the folder
    // cannot be written.
    void Export(const std::filesystem::path& folder);
    // Export, with the include file copied into the folder when it lies
    // elsewhere, so that the folder renders on its own.
    void ExportWithInclude(const std::filesystem::path& folder);
    // The program's arguments that render the exported scene in its folder;
    // without a display POV-Ray must not show the picture as it draws.
    std::vector<std::string> Arguments(bool withoutDisplay) const;
    // Starts POV-Ray on the scene exported into the folder; it may write files
    // in that folder only, where the system can hold it to that. Raises EError
    // when the program is missing or cannot be started.
    TPovRayRun Start(const std::filesystem::path& folder, bool withoutDisplay) const;

private:
    TSceneView& FScene;
    TModelDocument& FDocument;
    const TPalette& FPalette;
    const TDataFolders& FFolders;
    std::string FProgram = kDefaultPovRayProgram;
};
