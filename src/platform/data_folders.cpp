#include "platform/data_folders.h"

#include <cstdlib>
#include <fstream>
#include <unistd.h>

#include "common/error.h"
#include "common/strings.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;

namespace {

const char* const kConsequence =
    " Stonemill goes on with its shipped settings and parts; it cannot save settings, new parts or "
    "POV-Ray scenes in this run.";

bool IsFolder(const fs::path& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

bool Writable(const fs::path& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

// Where the user folder keeps the shipped files as they were last copied.
const char* const kSeededFolder = ".shipped";

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWhole(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool IsPartPicture(const fs::path& file) {
    const std::string extension = LowerCase(file.extension().string());
    return extension == ".png" || extension == ".bmp" || extension == ".jpg" || extension == ".jpeg";
}

} // namespace

TDataFolders TDataFolders::Locate(const fs::path& exeFolder, bool exeFolderWritable,
                                  const fs::path& userFolder) {
    const fs::path share = (exeFolder / ".." / "share" / "stonemill").lexically_normal();
    if (!IsFolder(exeFolder / "parts") && IsFolder(share))
        return TDataFolders(share, userFolder);
    // The data beside the program (or nowhere to be found, which the program
    // reports when it misses a part): written there when the folder allows.
    return TDataFolders(exeFolder, exeFolderWritable ? exeFolder : userFolder);
}

fs::path TDataFolders::UserFolderOf(const char* dataHome, const char* home) {
    if (dataHome != nullptr && dataHome[0] == '/')
        return fs::path(dataHome) / "stonemill";
    if (home != nullptr && home[0] == '/')
        return fs::path(home) / ".local" / "share" / "stonemill";
    return {};
}

std::optional<fs::path> TDataFolders::Find(const fs::path& relative) const {
    if (!FUser.empty())
        if (auto found = FindFileNoCase(FUser / relative))
            return found;
    if (Separate())
        return FindFileNoCase(FShipped / relative);
    return std::nullopt;
}

fs::path TDataFolders::WritePath(const fs::path& relative) const {
    return FUser.empty() ? fs::path() : FUser / relative;
}

std::string TDataFolders::Prepare(const TFileOperations& operations) const {
    if (!Separate())
        return {};
    if (FUser.empty())
        return std::string("There is no folder for your own files: neither HOME nor XDG_DATA_HOME is set.") +
               kConsequence;
    // Models/ and Pict/ are where the save dialogs start for the user's
    // models and pictures.
    std::error_code error;
    for (const char* folder : {"parts", "Render", "Models", "Pict"})
        if (!error)
            fs::create_directories(FUser / folder, error);
    if (error || !IsFolder(FUser / "parts") || !IsFolder(FUser / "Render"))
        return "Cannot make the folder " + FUser.string() + " for your own files (" +
               (error ? error.message() : std::string("a file is in the way")) + ")." + kConsequence;

    std::vector<fs::path> seeds = {"Stonemill.ini", fs::path("parts") / "userblks.dat"};
    for (const fs::path folder : {"parts", "Render"}) {
        for (fs::directory_iterator it(FShipped / folder, error), end; !error && it != end;
             it.increment(error))
            if (folder == "Render" || IsPartPicture(it->path()))
                seeds.push_back(folder / it->path().filename());
    }
    std::string problems;
    for (const fs::path& relative : seeds) {
        const std::string problem = Seed(relative, operations);
        if (!problem.empty())
            problems += (problems.empty() ? "" : "\n") + problem;
    }
    return problems;
}

// The user gets a copy of a shipped file they do not have. A copy they never
// changed follows the shipped file when a newer program ships another: the
// file as last seeded is kept in .shipped/ to tell the two apart. A file the
// user changed is never touched.
//
// Each file is replaced whole, the user's copy before the record in
// .shipped/, so that a run stopped at any point leaves every file either as it
// was or as shipped, and the next start finishes the work: a copy equal to the
// shipped file is the shipped one, whatever the record says.
std::string TDataFolders::Seed(const fs::path& relative, const TFileOperations& operations) const {
    const fs::path shipped = FShipped / relative, mine = FUser / relative,
                   seeded = FUser / kSeededFolder / relative;
    std::error_code error;
    if (!fs::is_regular_file(shipped, error))
        return {};
    const std::optional<std::string> now = ReadWhole(shipped), last = ReadWhole(seeded);
    if (!now)
        return {};
    bool copyMine = !fs::exists(fs::symlink_status(mine, error));
    if (!copyMine) {
        const std::optional<std::string> current = ReadWhole(mine);
        if (!current)
            return {};
        if (*current == *now) {
            // Already as shipped; the record follows if it lags behind.
            if (last == now)
                return {};
        } else if (last && *current == *last) {
            // Unchanged since it was seeded, and the program ships another now.
            copyMine = true;
        } else {
            // Changed by the user, or seeded before .shipped/ was kept: left
            // alone. An equal copy is followed from now on.
            return {};
        }
    }
    std::vector<fs::path> targets;
    if (copyMine)
        targets.push_back(mine);
    targets.push_back(seeded);
    for (const fs::path& target : targets) {
        fs::create_directories(target.parent_path(), error);
        try {
            CopyFileAtomically(shipped, target, operations);
        } catch (const EError& e) {
            return "Cannot copy " + shipped.string() + " to " + target.string() + " (" + e.Message() + ").";
        }
    }
    return {};
}

namespace {
TDataFolders& Current() {
    static TDataFolders folders = [] {
        std::error_code error;
        const fs::path exe = fs::read_symlink("/proc/self/exe", error);
        const fs::path folder = error ? fs::current_path(error) : exe.parent_path();
        return TDataFolders::Locate(
            folder, Writable(folder),
            TDataFolders::UserFolderOf(std::getenv("XDG_DATA_HOME"), std::getenv("HOME")));
    }();
    return folders;
}
} // namespace

const TDataFolders& DataFolders() {
    return Current();
}

void SetDataFolders(const TDataFolders& folders) {
    Current() = folders;
}

void SetProgramFolder(const fs::path& folder) {
    Current() = TDataFolders(folder);
}
