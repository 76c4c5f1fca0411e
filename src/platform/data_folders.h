#pragma once
// Where the program reads and writes its files. The shipped data (parts/,
// Models/, Combos/, Sets/, Render/, the guide and Stonemill.ini) lies beside
// the executable in a build folder, or in ../share/stonemill when installed.
// What the program writes (the settings file, parts saved by the part
// editor, the render folder) goes to the user folder: the shipped folder
// itself when the data lies beside the executable and that folder can be
// written, else $XDG_DATA_HOME/stonemill ($HOME/.local/share/stonemill). The
// files a user may have changed are looked for in the user folder first.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/atomic_file.h"

class TDataFolders {
public:
    TDataFolders() = default;
    // The data lies in this folder and is written there too (a build folder,
    // or a test's temporary copy).
    explicit TDataFolders(const std::filesystem::path& folder) : FShipped(folder), FUser(folder) {}
    TDataFolders(std::filesystem::path shipped, std::filesystem::path user)
        : FShipped(std::move(shipped)), FUser(std::move(user)) {}

    // The folders of a program whose executable lies in exeFolder (which the
    // program may write or not), with the user folder it writes to when it
    // cannot write beside its data or its data lies in ../share/stonemill.
    static TDataFolders Locate(const std::filesystem::path& exeFolder, bool exeFolderWritable,
                               const std::filesystem::path& userFolder);
    // The user folder by the values of XDG_DATA_HOME and HOME (null when not
    // set): $XDG_DATA_HOME/stonemill, else $HOME/.local/share/stonemill, else
    // none. Relative values are passed over.
    static std::filesystem::path UserFolderOf(const char* dataHome, const char* home);

    // The shipped data, read only.
    const std::filesystem::path& Shipped() const { return FShipped; }
    // The user's own files; empty when there is no home folder to put them in.
    const std::filesystem::path& User() const { return FUser; }
    // The user's files live apart from the shipped data.
    bool Separate() const { return FUser != FShipped; }

    // A file of the data that the user may have a copy of (the settings file,
    // part files, part pictures, the render folder's include file): the user
    // folder's, else the shipped one, each matched without regard to letter
    // case; nothing when neither exists.
    std::optional<std::filesystem::path> Find(const std::filesystem::path& relative) const;
    // Where the program writes a file of the data: in the user folder; empty
    // when there is no user folder.
    std::filesystem::path WritePath(const std::filesystem::path& relative) const;

    // Makes the user folder and copies into it what is missing of the shipped
    // settings file, parts/userblks.dat, the part pictures and the render
    // folder's files. A copy the user never changed is brought up to date when
    // the shipped file changes; a changed one is never overwritten. Returns
    // what went wrong, in the user's words, or nothing when all went well
    // (also when the user folder is the shipped one).
    // Every file is written with WriteFileAtomically through operations.
    std::string Prepare(const TFileOperations& operations = TFileOperations::System()) const;

private:
    std::string Seed(const std::filesystem::path& relative, const TFileOperations& operations) const;

    std::filesystem::path FShipped;
    std::filesystem::path FUser;
};

// The folders of this run, found from the executable and the environment on
// first use.
const TDataFolders& DataFolders();
void SetDataFolders(const TDataFolders& folders);
// Data and user files in one folder, as in a build folder; tests point it at
// a temporary copy.
void SetProgramFolder(const std::filesystem::path& folder);
