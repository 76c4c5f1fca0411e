// Where the program finds its shipped data and where it keeps the user's
// files, on fake layouts of a build folder and of an installed program.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>

#include "common/error.h"
#include "partlib/draw_class.h"
#include "partlib/part_registry.h"
#include "platform/data_folders.h"
#include "temp_program_folder.h"

namespace fs = std::filesystem;

namespace {

void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << text;
}

std::string Read(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The files under a folder, by their paths in it.
std::set<fs::path> Files(const fs::path& folder) {
    std::set<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files.insert(fs::relative(entry.path(), folder));
    return files;
}

const char* const kPart = "[arch]\r\nNP=1\r\nBB=20 20 20\r\nP1=3,1,0,0,0,20,0,0,0,20,0,0,255\r\n";

// A shipped folder with the files the user folder is seeded from and some it
// is not, and an empty place for the user folder beside it.
class DataFolders : public ::testing::Test {
protected:
    DataFolders() {
        Write(Shipped / "Stonemill.ini", "[Main]\r\nPages=0\r\n");
        Write(Shipped / "parts" / "userblks.dat", "");
        Write(Shipped / "parts" / "parts.dat", kPart);
        Write(Shipped / "parts" / "Door.PNG", "picture");
        Write(Shipped / "Render" / "smBlocks.inc", "#declare Gx = box { 0, 1 }\n");
        Write(Shipped / "Models" / "house.stm", "");
    }
    TTempProgramFolder Temp;
    const fs::path Shipped = Temp.Path() / "prefix" / "share" / "stonemill";
    const fs::path User = Temp.Path() / "home" / ".local" / "share" / "stonemill";
};

} // namespace

TEST_F(DataFolders, FoundBesideTheProgramOrInTheSharedDataFolder) {
    // A build folder: the data beside the program, written there when it may be.
    const fs::path build = Temp.Path();
    EXPECT_EQ(TDataFolders::Locate(build, true, User).User(), build);
    EXPECT_FALSE(TDataFolders::Locate(build, true, User).Separate());
    EXPECT_EQ(TDataFolders::Locate(build, false, User).Shipped(), build);
    EXPECT_EQ(TDataFolders::Locate(build, false, User).User(), User);
    // Installed: data in ../share/stonemill, always written to the user folder.
    const TDataFolders installed = TDataFolders::Locate(Temp.Path() / "prefix" / "bin", true, User);
    EXPECT_EQ(installed.Shipped(), Shipped);
    EXPECT_EQ(installed.User(), User);

    EXPECT_EQ(TDataFolders::UserFolderOf("/x/data", "/home/me"), fs::path("/x/data/stonemill"));
    EXPECT_EQ(TDataFolders::UserFolderOf(nullptr, "/home/me"), fs::path("/home/me/.local/share/stonemill"));
    EXPECT_EQ(TDataFolders::UserFolderOf("relative", "/home/me"),
              fs::path("/home/me/.local/share/stonemill"));
    EXPECT_EQ(TDataFolders::UserFolderOf("", nullptr), fs::path());
}

TEST_F(DataFolders, SeedingCopiesWhatIsMissingAndFollowsOnlyUnchangedCopies) {
    const TDataFolders folders(Shipped, User);
    Write(User / "Stonemill.ini", "mine");
    EXPECT_EQ(folders.Prepare(), "");
    EXPECT_EQ(Read(User / "Stonemill.ini"), "mine");
    EXPECT_TRUE(fs::exists(User / "parts" / "userblks.dat"));
    EXPECT_EQ(Read(User / "parts" / "Door.PNG"),
              "picture"); // POV-Ray reads pictures from the home folder only
    EXPECT_TRUE(fs::exists(User / "Render" / "smBlocks.inc"));
    EXPECT_FALSE(fs::exists(User / "parts" / "parts.dat")); // the library is read where it was shipped
    // The user's models and pictures are saved into folders of their own.
    EXPECT_TRUE(fs::is_directory(User / "Models") && fs::is_empty(User / "Models"));
    EXPECT_TRUE(fs::is_directory(User / "Pict"));

    // The user's files win; what they lack comes from the shipped data.
    Write(User / "Render" / "smBlocks.inc", "changed");
    EXPECT_EQ(folders.Prepare(), "");
    EXPECT_EQ(Read(User / "Render" / "smBlocks.inc"), "changed");
    EXPECT_EQ(folders.Find("Stonemill.ini"), User / "Stonemill.ini");
    EXPECT_EQ(folders.Find("parts/PARTS.DAT"), Shipped / "parts" / "parts.dat");
    EXPECT_EQ(folders.Find("parts/missing.dat"), std::nullopt);
    EXPECT_EQ(folders.WritePath("Render"), User / "Render");

    // A newer program ships other files: the copies the user never changed
    // follow them, the changed ones and the user's own stay.
    for (const char* file : {"Stonemill.ini", "parts/userblks.dat", "Render/smBlocks.inc"})
        Write(Shipped / file, "newer");
    EXPECT_EQ(folders.Prepare(), "");
    EXPECT_EQ(Read(User / "parts" / "userblks.dat"), "newer");
    EXPECT_EQ(Read(User / "Render" / "smBlocks.inc"), "changed");
    EXPECT_EQ(Read(User / "Stonemill.ini"), "mine");
    Write(User / "parts" / "userblks.dat", "[my part]");
    Write(Shipped / "parts" / "userblks.dat", "newest");
    EXPECT_EQ(folders.Prepare(), "");
    EXPECT_EQ(Read(User / "parts" / "userblks.dat"), "[my part]");
}

TEST_F(DataFolders, AUserFolderThatCannotBeMadeIsReportedAndTheShippedDataIsRead) {
    Write(Temp.Path() / "home" / ".local", "a file where a folder belongs");
    const TDataFolders blocked(Shipped, User);
    const std::string problem = blocked.Prepare();
    EXPECT_NE(problem.find("Cannot make the folder " + User.string()), std::string::npos) << problem;
    EXPECT_EQ(blocked.Find("Stonemill.ini"), Shipped / "Stonemill.ini");

    const TDataFolders homeless(Shipped, fs::path());
    EXPECT_NE(homeless.Prepare().find("neither HOME nor XDG_DATA_HOME"), std::string::npos);
    EXPECT_EQ(homeless.Find("parts/parts.dat"), Shipped / "parts" / "parts.dat");
    EXPECT_EQ(homeless.WritePath("Stonemill.ini"), fs::path());
    // Nothing to seed when the data is written where it lies.
    EXPECT_EQ(TDataFolders(Shipped).Prepare(), "");
}

TEST_F(DataFolders, ChangedPartsAreSavedToTheUserFolderAndReadFromThereFirst) {
    SetDataFolders(TDataFolders(Shipped, User));
    TPartRegistry& registry = TPartRegistry::Instance();
    TDrawClass* arch = registry.FindPart("parts.dat", "arch");
    arch->SetColor(0, 65280);
    registry.SaveModifiedParts();
    EXPECT_TRUE(fs::exists(User / "parts" / "arch.bcp"));
    EXPECT_FALSE(fs::exists(Shipped / "parts" / "arch.bcp"));

    registry.Clear();
    EXPECT_EQ(registry.FindPart("parts.dat", "arch")->GetColor(0), 65280);

    // Without a user folder the part cannot be saved, and the message says why.
    SetDataFolders(TDataFolders(Shipped, fs::path()));
    registry.FindPart("parts.dat", "arch")->SetColor(0, 255);
    try {
        registry.SaveModifiedParts();
        FAIL() << "saved without a folder";
    } catch (const EError& e) {
        EXPECT_NE(e.Message().find("no folder for your own files"), std::string::npos) << e.Message();
    }
}

TEST_F(DataFolders, ARefreshStoppedAtAnyStepLeavesWholeFilesAndIsFinishedOnTheNextStart) {
    const TDataFolders folders(Shipped, User);
    EXPECT_EQ(folders.Prepare(), "");
    Write(User / "Render" / "smBlocks.inc", "changed");
    const fs::path snapshot = Temp.Path() / "snapshot";
    fs::copy(User, snapshot, fs::copy_options::recursive);
    const std::vector<fs::path> refreshed = {"Stonemill.ini", "parts/userblks.dat"};
    std::map<fs::path, std::string> old;
    for (const fs::path& file : refreshed) {
        old[file] = Read(Shipped / file);
        Write(Shipped / file, "newer " + file.string() + std::string(100000, '.'));
    }
    Write(Shipped / "Render" / "smBlocks.inc", "newer include");

    // The program is stopped after the first `step` files are in place; no
    // file is ever written after that.
    for (int step = 0;; ++step) {
        SCOPED_TRACE(step);
        fs::remove_all(User);
        fs::copy(snapshot, User, fs::copy_options::recursive);
        int renames = 0;
        const TFileOperations stopping{.Rename = [&](const char* from, const char* to) {
            if (renames++ >= step) {
                errno = EIO;
                return -1;
            }
            return std::rename(from, to);
        }};
        const bool stopped = folders.Prepare(stopping) != "";
        for (const fs::path& file : refreshed)
            for (const fs::path& copy : {User / file, User / ".shipped" / file}) {
                const std::string text = Read(copy);
                EXPECT_TRUE(text == old[file] || text == Read(Shipped / file)) << copy << ": " << text.size();
            }
        // The next start brings the copies up to date, and follows the next
        // shipped files too; the user's changed file stays.
        EXPECT_EQ(folders.Prepare(), "");
        for (const fs::path& file : refreshed) {
            EXPECT_EQ(Read(User / file), Read(Shipped / file)) << file;
            Write(Shipped / file, "newest");
        }
        EXPECT_EQ(folders.Prepare(), "");
        for (const fs::path& file : refreshed) {
            EXPECT_EQ(Read(User / file), "newest") << file;
            Write(Shipped / file, "newer " + file.string() + std::string(100000, '.'));
        }
        EXPECT_EQ(Read(User / "Render" / "smBlocks.inc"), "changed");
        EXPECT_EQ(Files(User), Files(snapshot)); // and nothing else
        if (!stopped)
            break;
        ASSERT_LT(step, 10) << "the refresh is never done";
    }
}
