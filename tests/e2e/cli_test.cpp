// Runs the stonemill program itself, as a user would from a terminal.

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <spawn.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "common/error.h"
#include "files/model_file_reader.h"
#include "instructions/build_steps.h"
#include "model/block_list.h"
#include "temp_program_folder.h"

extern char** environ;
namespace fs = std::filesystem;

namespace {

struct TRun {
    int Status = -1;
    std::string Out, Err;
};

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    ssize_t n;
    while ((n = read(fd, buffer, sizeof buffer)) > 0)
        text.append(buffer, static_cast<size_t>(n));
    return text;
}

// The environment without any display or Qt platform named.
std::vector<char*> EnvironmentWithoutDisplay() {
    std::vector<char*> kept;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string text = *variable;
        if (!text.starts_with("DISPLAY=") && !text.starts_with("WAYLAND_DISPLAY=") &&
            !text.starts_with("QT_QPA_PLATFORM="))
            kept.push_back(*variable);
    }
    kept.push_back(nullptr);
    return kept;
}

// How RunStonemill starts the program.
struct TRunOptions {
    bool WithoutDisplay = false;
    // Given, the program gets no more address space than that.
    rlim_t AddressSpace = 0;
    // The program to run; the built one when empty.
    fs::path Program;
};

// Starts the program with the arguments (no shell) and waits for it.
TRun RunStonemill(const std::vector<std::string>& args, const TRunOptions& options = {}) {
    const bool withoutDisplay = options.WithoutDisplay;
    const rlim_t addressSpace = options.AddressSpace;
    const std::string program =
        (options.Program.empty() ? BuiltProgramFolder() / "stonemill" : options.Program).string();
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const fs::path outFile = fs::temp_directory_path() / ("stonemill-out-" + std::to_string(getpid()));
    const fs::path errFile = fs::temp_directory_path() / ("stonemill-err-" + std::to_string(getpid()));
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    TRun run;
    std::vector<char*> withoutDisplayEnvironment = EnvironmentWithoutDisplay();
    char** environment = withoutDisplay ? withoutDisplayEnvironment.data() : environ;
    // A limit of the address space is set in the child, before it becomes
    // the program: this process may already take more than the limit allows.
    int spawned = -1;
    if (addressSpace > 0) {
        pid = fork();
        if (pid == 0) {
            const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            rlimit limited{};
            getrlimit(RLIMIT_AS, &limited);
            limited.rlim_cur = addressSpace;
            if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0 ||
                setrlimit(RLIMIT_AS, &limited) != 0)
                _exit(125);
            execve(program.c_str(), argv.data(), environment);
            _exit(127);
        }
        spawned = pid > 0 ? 0 : -1;
    } else {
        spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environment);
    }
    if (spawned == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    for (auto [file, text] : {std::pair{outFile, &run.Out}, std::pair{errFile, &run.Err}}) {
        int fd = open(file.c_str(), O_RDONLY);
        *text = ReadAll(fd);
        close(fd);
        fs::remove(file);
    }
    return run;
}

class CommandLine : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& text) {
        const fs::path path = folder.Path() / name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    TTempProgramFolder folder;
    const std::string model = "= 70 330 20 0 0 0 1\r\n"
                              "B 0 0 0 80 20 20 255 1 0 0 0 2 wall 0\r\n"
                              "T 0 20 0 80 40 20 8421504 1 0 1 0 2  0\r\n"
                              "G 100 0 0 0 0 0 16777215 1 0 0 0 parts.dat arch 3  4\r\n";
};

} // namespace

TEST_F(CommandLine, InfoDescribesTheModel) {
    const fs::path path = Write("m.stm", model);
    TRun run = RunStonemill({"--info", path.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Out, "stones: 3\ngroups: 2\nextents: 0 0 0 180 60 60\nkinds: B=1 G=1 T=1\n");
    EXPECT_EQ(run.Err, "");
}

TEST_F(CommandLine, ConvertWritesTheCompleteSave) {
    const fs::path path = Write("old.stm", "B 1 2 3 2 4 3 255 1 0 0 0 0 w 0\n");
    const fs::path out = folder.Path() / "new.stm";
    TRun run = RunStonemill({"--convert", path.string(), "--output", out.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    // Grid modules and thirds of a file without a view line become units.
    EXPECT_EQ(folder.ReadFile(out), "= 70 330 20 0 0 0 1\r\nB 20 40 20 40 80 20 255 1 0 0 0 0 w 0\r\n");
}

TEST_F(CommandLine, ConvertOntoAFullDeviceFails) {
    const fs::path path = Write("m.stm", model);
    // Our own node of the full device where we may make one (as the
    // superuser, who could otherwise lose the system's to a faulty save).
    fs::path full = folder.Path() / "full";
    if (mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        full = "/dev/full";
    if (!fs::is_character_file(full))
        GTEST_SKIP() << "no /dev/full";
    TRun run = RunStonemill({"--convert", path.string(), "--output", full.string()});
    EXPECT_EQ(run.Status, 1);
    EXPECT_EQ(run.Err, "stonemill: Cannot write file \"" + full.string() + "\". No space left on device\n");
    EXPECT_TRUE(fs::is_character_file(full));
}

// What a program prints on its output, run through the shell.
std::string OutputOf(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            text.append(buffer, n);
        pclose(pipe);
    }
    return text;
}

TEST_F(CommandLine, InstructionsAreABookletPdfToolsReadWithEveryStepAndItsParts) {
    const fs::path model = BuiltProgramFolder() / "Models" / "station.stm";
    const fs::path book = folder.Path() / "station.pdf";
    const TRun run = RunStonemill({"--instructions", model.string(), "--output", book.string()});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    const std::string info = OutputOf("pdfinfo '" + book.string() + "'");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(info, match, std::regex("Pages: +([0-9]+)"))) << info;
    const int pages = std::stoi(match[1]);
    EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;
    EXPECT_NE(OutputOf("pdftotext -f " + std::to_string(pages) + " -l " + std::to_string(pages) + " '" +
                       book.string() + "' -")
                  .find("\n" + std::to_string(pages) + "\n"),
              std::string::npos)
        << "the last page carries its number";

    // The steps as the text of the booklet gives them, with the counts of
    // their parts boxes, against the steps planned for the model.
    folder.CopyShippedParts();
    TOwnedBlockList stones;
    LoadModelFile(model, stones, {}, [](int, const std::string& message) { ADD_FAILURE() << message; });
    const std::vector<const TBlock*> pointers(stones.Stones().begin(), stones.Stones().end());
    const TBuildPlan plan = PlanBuildSteps(pointers, 6);
    ASSERT_FALSE(plan.Callouts.empty()) << "the station's trains are groups built aside";
    std::vector<std::pair<std::string, int64_t>> expected;
    for (size_t k = 0; k < plan.Steps.size(); ++k) {
        const TBuildStep& step = plan.Steps[k];
        if (step.CalloutIndex >= 0) {
            const auto& inner = plan.Callouts[static_cast<size_t>(step.CalloutIndex)].Steps;
            for (size_t j = 0; j < inner.size(); ++j)
                expected.emplace_back(StrFormat("Step %zu.%zu", k + 1, j + 1),
                                      static_cast<int64_t>(inner[j].Stones.size()));
        }
        expected.emplace_back(StrFormat("Step %zu", k + 1),
                              step.CalloutIndex >= 0 ? 1 : static_cast<int64_t>(step.Stones.size()));
    }
    std::vector<std::pair<std::string, int64_t>> shown;
    int64_t listed = 0;
    bool partsList = false;
    std::istringstream text(OutputOf("pdftotext -raw '" + book.string() + "' -"));
    const std::regex label("Step [0-9]+(\\.[0-9]+)?"), count("([0-9]+)×");
    for (std::string line; std::getline(text, line);) {
        if (line.starts_with('\f')) // a new page
            line.erase(0, 1);
        if (line == "Parts list")
            partsList = true;
        else if (!partsList && std::regex_match(line, label))
            shown.emplace_back(line, 0);
        for (std::sregex_iterator it(line.begin(), line.end(), count), end; it != end; ++it) {
            ASSERT_TRUE(partsList || !shown.empty()) << line;
            (partsList ? listed : shown.back().second) += std::stoll((*it)[1]);
        }
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(listed, stones.Count());

    // Letter paper, a web page in a folder, and what cannot be done.
    const fs::path letter = folder.Path() / "letter.pdf";
    ASSERT_EQ(RunStonemill({"--instructions", model.string(), "--output", letter.string(), "--paper",
                            "letter", "--per-step", "3", "--view", "Front left"})
                  .Status,
              0);
    EXPECT_NE(OutputOf("pdfinfo '" + letter.string() + "'").find("612 x 792 pts (letter)"),
              std::string::npos);
    const fs::path web = folder.Path() / "web";
    ASSERT_EQ(RunStonemill({"--instructions", model.string(), "--output", web.string()}).Status, 0);
    EXPECT_NE(folder.ReadFile(web / "index.html").find("<span>Step 1</span>"), std::string::npos);
    EXPECT_TRUE(QImage(QString::fromStdString((web / "pictures" / "cover.png").string())).width() > 100);
    for (const auto& [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--per-step", "0"}, "--per-step 0: A step holds from 1 to 30 stones."},
             {{"--paper", "A3"}, "--paper takes A4 or Letter, not \"A3\""},
             {{"--tilt", "40"}, "--tilt and --turn go together"}}) {
        std::vector<std::string> all = {"--instructions", model.string(), "--output", book.string()};
        all.insert(all.end(), args.begin(), args.end());
        const TRun refused = RunStonemill(all);
        EXPECT_EQ(refused.Status, 2);
        EXPECT_NE(refused.Err.find(message), std::string::npos) << refused.Err;
    }
    const TRun text1 =
        RunStonemill({"--instructions", model.string(), "--output", (folder.Path() / "b.txt").string()});
    EXPECT_EQ(text1.Status, 2);
    const fs::path empty = Write("empty.stm", "= 70 330 20 0 0 0 1\r\n");
    const TRun nothing = RunStonemill({"--instructions", empty.string(), "--output", book.string()});
    EXPECT_EQ(nothing.Status, 1);
    EXPECT_EQ(nothing.Err, "stonemill: The model has no stones, so there is nothing to build.\n");
    const TRun nowhere = RunStonemill(
        {"--instructions", model.string(), "--output", (folder.Path() / "no" / "such" / "b.pdf").string()});
    EXPECT_EQ(nowhere.Status, 1);
    // The reason is given.
    EXPECT_EQ(nowhere.Err, "stonemill: Cannot create file \"" +
                               (folder.Path() / "no" / "such" / "b.pdf").string() +
                               "\". No such file or directory\n");
}

// Starts the program with the arguments (no shell) and returns at once.
pid_t StartStonemill(const std::vector<std::string>& args) {
    const std::string program = (BuiltProgramFolder() / "stonemill").string();
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

std::set<std::string> Names(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

TEST_F(CommandLine, BookletsReplaceOnlyWhatIsNamedAndAStoppedOneLeavesNothing) {
    const std::string house = (BuiltProgramFolder() / "Models" / "house.stm").string();
    const fs::path& root = folder.Path();
    auto booklet = [&](const fs::path& output, const TRunOptions& options = {}) {
        return RunStonemill({"--instructions", house, "--output", output.string()}, options);
    };
    auto startsAsPdf = [&](const fs::path& file) { return folder.ReadFile(file).rfind("%PDF", 0) == 0; };

    // Through a link, the file the link names is replaced; the link stays.
    fs::create_directories(root / "other");
    std::ofstream(root / "other" / "book.pdf") << "old";
    fs::create_symlink("other/book.pdf", root / "link.pdf");
    EXPECT_EQ(booklet(root / "link.pdf").Status, 0);
    EXPECT_TRUE(fs::is_symlink(root / "link.pdf"));
    EXPECT_TRUE(startsAsPdf(root / "other" / "book.pdf"));
    // A link planted where an unfinished booklet was once written is not followed.
    std::ofstream(root / "victim.txt") << "victim";
    fs::create_symlink("victim.txt", root / ".b.pdf.partial");
    EXPECT_EQ(booklet(root / "b.pdf").Status, 0);
    EXPECT_EQ(folder.ReadFile(root / "victim.txt"), "victim");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(root / "b.pdf")));

    // A file named as the booklet's folder is told as such, and kept.
    std::ofstream(root / "notes") << "mine";
    const TRun onFile = booklet(root / "notes");
    EXPECT_EQ(onFile.Status, 1);
    EXPECT_EQ(onFile.Err, "stonemill: Cannot write the building instructions into \"" +
                              (root / "notes").string() + "\": it is a file, not a folder.\n");
    EXPECT_EQ(folder.ReadFile(root / "notes"), "mine");

    // A FIFO is written into when a program reads it, refused when none does.
    const fs::path fifo = root / "fifo.pdf";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    TRun unread = booklet(fifo);
    EXPECT_EQ(unread.Status, 1);
    EXPECT_EQ(unread.Err, "stonemill: Cannot write file \"" + fifo.string() +
                              "\". It is a pipe that no program reads from.\n");
    std::string received;
    std::thread reader([&] {
        const int fd = open(fifo.c_str(), O_RDONLY);
        received = ReadAll(fd);
        close(fd);
    });
    EXPECT_EQ(booklet(fifo).Status, 0);
    reader.join();
    EXPECT_EQ(received.rfind("%PDF", 0), 0u);
    EXPECT_TRUE(fs::is_fifo(fifo));
    // A full device is told, and kept.
    fs::path full = root / "full";
    if (mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        full = "/dev/full";
    if (fs::is_character_file(full)) {
        fs::create_symlink(full, root / "full.pdf");
        const TRun run = booklet(root / "full.pdf");
        EXPECT_EQ(run.Status, 1);
        EXPECT_NE(run.Err.find("No space left on device"), std::string::npos) << run.Err;
        EXPECT_TRUE(fs::is_symlink(root / "full.pdf"));
    }

#if !defined(__SANITIZE_ADDRESS__)
    // Out of memory, the booklet fails in the program's words and leaves nothing.
    fs::create_directories(root / "small");
    TRunOptions small;
    small.AddressSpace = rlim_t{130} << 20;
    const TRun starved =
        RunStonemill({"--instructions", (BuiltProgramFolder() / "Models" / "castle.stm").string(), "--output",
                      (root / "small" / "b.pdf").string()},
                     small);
    EXPECT_EQ(starved.Status, 1) << starved.Err;
    EXPECT_NE(starved.Err.find("There is not enough memory for it."), std::string::npos) << starved.Err;
    EXPECT_TRUE(Names(root / "small").empty());
#endif

    // Stopped by a signal while its pictures are written, a booklet leaves nothing.
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        const fs::path stop = root / ("stop" + std::to_string(signal));
        fs::create_directories(stop);
        const pid_t child =
            StartStonemill({"--instructions", (BuiltProgramFolder() / "Models" / "castle.stm").string(),
                            "--output", (stop / "book.html").string()});
        ASSERT_GT(child, 0);
        bool started = false;
        for (int wait = 0; wait < 20000 && !started; ++wait) {
            for (const std::string& name : Names(stop))
                started = started || name.rfind(".stonemill-save.", 0) == 0;
            if (!started)
                usleep(500);
        }
        EXPECT_TRUE(started) << signal;
        kill(child, signal);
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal << " " << status;
        EXPECT_TRUE(Names(stop).empty()) << signal;
    }
}

TEST_F(CommandLine, PartsListIsSavedAsCsvWebPageOrSetAndBadOutputsAreRefused) {
    const fs::path path = Write("m.stm", model + "B 0 0 20 80 20 20 255 1 0 0 0 2 wall 0\r\n");
    const fs::path csv = folder.Path() / "parts.CSV";
    TRun run = RunStonemill({"--parts", path.string(), "--output", csv.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(folder.ReadFile(csv), "Name,Part,Colour,Count\r\n"
                                    "Arch,arch,White,1\r\n"
                                    "Brick 1x4,1x4x3,#FF0000,2\r\n"
                                    "T2x4x3,T2x4x3,Grey,1\r\n"
                                    "Total: 4 stones in 3 kinds,,,4\r\n");
    const fs::path html = folder.Path() / "parts.html";
    EXPECT_EQ(RunStonemill({"--parts", path.string(), "--output", html.string()}).Status, 0);
    const std::string page = folder.ReadFile(html);
    EXPECT_EQ(page.rfind("<!DOCTYPE html>", 0), 0u);
    size_t pictures = 0;
    for (size_t at = page.find("data:image/png;base64,"); at != std::string::npos;
         at = page.find("data:image/png;base64,", at + 1))
        ++pictures;
    EXPECT_EQ(pictures, 3u);
    const fs::path set = folder.Path() / "parts.set";
    EXPECT_EQ(RunStonemill({"--parts", path.string(), "--output", set.string()}).Status, 0);
    EXPECT_EQ(folder.ReadFile(set), "4x1x3, 2\narch, 1\nT2x4x3, 1\n");

    // A name of another kind, a folder, no output and no model: an exit
    // status and the program's own words, and no file.
    const TRun text =
        RunStonemill({"--parts", path.string(), "--output", (folder.Path() / "p.txt").string()});
    EXPECT_EQ(text.Status, 2);
    EXPECT_NE(
        text.Err.find("stonemill: --output names a parts list ending in .csv (a table), .html (a web page "
                      "with pictures) or .set (a set file), not"),
        std::string::npos)
        << text.Err;
    EXPECT_FALSE(fs::exists(folder.Path() / "p.txt"));
    const TRun intoFolder = RunStonemill({"--parts", path.string(), "--output", folder.Path().string()});
    EXPECT_EQ(intoFolder.Status, 2);
    EXPECT_NE(intoFolder.Err.find("--output names a folder"), std::string::npos) << intoFolder.Err;
    EXPECT_EQ(RunStonemill({"--parts", path.string()}).Status, 2);
    const fs::path none = folder.Path() / "none.stm";
    const TRun missing = RunStonemill({"--parts", none.string(), "--output", csv.string()});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("none.stm"), std::string::npos) << missing.Err;
    EXPECT_EQ(folder.ReadFile(csv).substr(0, 22), "Name,Part,Colour,Count"); // the old list stays
    const TRun unwritable =
        RunStonemill({"--parts", path.string(), "--output", (folder.Path() / "no/dir/p.csv").string()});
    EXPECT_EQ(unwritable.Status, 1);
    EXPECT_NE(unwritable.Err.find("p.csv"), std::string::npos) << unwritable.Err;
}

TEST_F(CommandLine, RenderSavesThePictureAsNamed) {
    const fs::path path = Write("m.stm", model);
    for (const char* name : {"p.png", "p.jpg", "p.bmp"}) {
        const fs::path out = folder.Path() / name;
        TRun run =
            RunStonemill({"--render", path.string(), "--output", out.string(), "--size", "160x120", "--fit"});
        ASSERT_EQ(run.Status, 0) << run.Err;
        QImage picture(QString::fromStdString(out.string()));
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(picture.size(), QSize(160, 120));
        EXPECT_EQ(picture.pixel(0, 0) & 0xFFFFFF,
                  name == std::string("p.jpg") ? picture.pixel(0, 0) & 0xFFFFFF : 0xFFFFFFu);
        int coloured = 0;
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                coloured += (picture.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
        EXPECT_GT(coloured, 2000) << name; // the stones fill a good part of it
    }
    // Options change the picture: a red background shows in the corner.
    const fs::path red = folder.Path() / "red.png";
    TRun run =
        RunStonemill({"--render", path.string(), "--output", red.string(), "--size", "64x48", "--view",
                      "Top view", "--background", "FF0000", "--bits", "16", "--no-shading", "--detail", "2"});
    ASSERT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(QImage(QString::fromStdString(red.string())).pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(CommandLine, RenderFitsStonesUpToTheLargestTheModelHolds) {
    // One stone each: as large as a stone may be, and a small one as far out
    // as one may lie, in either direction.
    const std::vector<std::pair<std::string, std::string>> models = {
        {"largest.stm", "B 0 0 0 10000000 10000000 10000000 255 1 0 0 0 0 x 0"},
        {"corner.stm", "B 10000000 10000000 10000000 10000000 10000000 10000000 255 1 0 0 0 0 x 0"},
        {"round.stm", "R -10000000 0 0 10000000 10000000 10000000 255 1 0 0 0 0 x 0"},
        {"far.stm", "B 10000000 10000000 10000000 20 20 20 255 1 0 0 0 0 x 0"},
        {"below.stm", "G -10000000 -10000000 -10000000 0 0 0 255 1 0 0 0 parts.dat arch 0 x 0"},
    };
    for (const auto& [name, line] : models) {
        const fs::path path = Write(name, "= 70 330 20 0 0 0 1\n" + line + "\n");
        const fs::path out = folder.Path() / (name + ".png");
        TRun run = RunStonemill({"--render", path.string(), "--output", out.string(), "--size", "120x90",
                                 "--fit", "--no-shading"});
        EXPECT_EQ(run.Status, 0) << name << ": " << run.Err;
        const QImage picture(QString::fromStdString(out.string()));
        int red = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                red += (picture.pixel(x, y) & 0xFFFFFF) == 0xFF0000;
        EXPECT_GT(red, 120 * 90 / 10) << name;
    }
    const TRun info = RunStonemill({"--info", (folder.Path() / "far.stm").string()});
    EXPECT_EQ(info.Out,
              "stones: 1\ngroups: 0\nextents: 10000000 10000000 10000000 10000020 10000020 10000020\n"
              "kinds: B=1\n");
}

TEST_F(CommandLine, RenderAtAScaleDrawsTheViewAnewLarger) {
    const fs::path path = Write("m.stm", model);
    const fs::path one = folder.Path() / "one.png", four = folder.Path() / "four.png";
    for (const auto& [out, scale] : {std::pair{one, "1"}, std::pair{four, "4"}})
        ASSERT_EQ(RunStonemill({"--render", path.string(), "--output", out.string(), "--size", "100x80",
                                "--view", "Top view", "--fit", "--scale", scale})
                      .Status,
                  0);
    const QImage small(QString::fromStdString(one.string())), large(QString::fromStdString(four.string()));
    ASSERT_EQ(large.size(), QSize(400, 320));
    int same = 0, compared = 0;
    for (int y = 5; y < 75; y += 5)
        for (int x = 5; x < 95; x += 5, ++compared)
            same += small.pixel(x, y) == large.pixel(4 * x + 2, 4 * y + 2);
    EXPECT_GT(same, compared * 9 / 10); // flat faces seen from above match
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--scale", "3"}, std::vector<std::string>{"--scale", "2", "--antialias"},
          std::vector<std::string>{"--size", "10000x10000", "--scale", "8"}}) {
        std::vector<std::string> args = {"--render", path.string(), "--output", four.string()};
        args.insert(args.end(), bad.begin(), bad.end());
        const TRun run = RunStonemill(args);
        EXPECT_NE(run.Status, 0) << bad[1];
        EXPECT_NE(run.Err.find("stonemill: "), std::string::npos) << run.Err;
    }
}

// Pictures far larger than the memory they are made in are drawn and written
// a band of rows at a time: each of these would take more than the program
// may have here if it were held whole.
TEST_F(CommandLine, LargePicturesAreMadeInBandsWithinLittleMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a program built with AddressSanitizer needs far more address space than it uses";
#endif
    const fs::path path = Write("m.stm", model);
    const fs::path smooth = folder.Path() / "smooth.png", large = folder.Path() / "large.jpg";
    TRunOptions limited;
    limited.AddressSpace = rlim_t{512} << 20;
    TRun run = RunStonemill({"--render", path.string(), "--output", smooth.string(), "--size", "6000x6000",
                             "--view", "Top view", "--fit", "--antialias"},
                            limited);
    ASSERT_EQ(run.Status, 0) << run.Err;
    run = RunStonemill({"--render", path.string(), "--output", large.string(), "--size", "1500x1500",
                        "--view", "Top view", "--fit", "--scale", "8"},
                       limited);
    ASSERT_EQ(run.Status, 0) << run.Err;
    // Whole pictures, with the stones over a good part of them.
    for (const auto& [file, side] : {std::pair{smooth, 6000}, std::pair{large, 12000}}) {
        QImageReader reader(QString::fromStdString(file.string()));
        EXPECT_EQ(reader.size(), QSize(side, side));
        reader.setScaledSize(QSize(side / 8, side / 8));
        const QImage picture = reader.read();
        ASSERT_FALSE(picture.isNull()) << file << ": " << reader.errorString().toStdString();
        int coloured = 0;
        for (int y = 0; y < picture.height(); y += 5)
            for (int x = 0; x < picture.width(); x += 5)
                coloured += (picture.pixel(x, y) & 0xFFFFFF) != (picture.pixel(0, 0) & 0xFFFFFF);
        EXPECT_GT(coloured, 1000) << file;
    }
}

// Pictures the options ask for that cannot be made are refused before the
// model is read (here it does not even exist), as bad arguments, with no file.
TEST_F(CommandLine, PicturesThatCannotBeMadeAreRefusedBeforeAnyWork) {
    const fs::path missing = folder.Path() / "none.stm", out = folder.Path() / "x.png";
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{"--size", "20000x20000", "--bits", "24"},
          std::vector<std::string>{"--size", "15000x15000", "--bits", "8"},
          std::vector<std::string>{"--size", "5000x5000", "--scale", "8"}}) {
        std::vector<std::string> args = {"--render", missing.string(), "--output", out.string()};
        args.insert(args.end(), bad.begin(), bad.end());
        const TRun run = RunStonemill(args);
        EXPECT_EQ(run.Status, 2) << bad[3];
        EXPECT_NE(run.Err.find("pixels"), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("more than"), std::string::npos) << run.Err;
        EXPECT_FALSE(fs::exists(out));
    }
}

TEST_F(CommandLine, BrokenFilesAndBadArguments) {
    const fs::path path = Write("broken.stm", "= 70 330 20 0 0 0 1\nB 0 0 0 40 20 20 255 1 0 0 0 0  0\n"
                                              "G 0 0 0 0 0 0 0 1 0 0 0 parts.dat nosuch 0  0\n"
                                              "B 0 0 0 4x 20 20 255 1 0 0 0 0  0\n");
    TRun run = RunStonemill({"--info", path.string()});
    EXPECT_EQ(run.Status, 3); // done, but with lines left out
    EXPECT_EQ(run.Err, path.string() + ":3: Could not find part nosuch in file parts.dat\n" + path.string() +
                           ":4: '4x' is not a valid integer value\n");
    EXPECT_EQ(run.Out.substr(0, 10), "stones: 1\n");

    TRun missing = RunStonemill({"--info", (folder.Path() / "none.stm").string()});
    EXPECT_EQ(missing.Status, 1);
    EXPECT_NE(missing.Err.find("none.stm"), std::string::npos);
    // A folder where a model belongs is reported in the program's words.
    for (const char* command : {"--info", "--convert", "--render"}) {
        std::vector<std::string> args = {command, folder.Path().string()};
        if (std::string(command) != "--info")
            args.insert(args.end(), {"--output", (folder.Path() / "out.png").string()});
        TRun folderRun = RunStonemill(args);
        EXPECT_EQ(folderRun.Status, 1) << command;
        EXPECT_EQ(folderRun.Err,
                  "stonemill: Cannot open file \"" + folder.Path().string() + "\". Is a directory\n")
            << command;
    }
    // Any number of degrees of turn is taken round.
    EXPECT_EQ(RunStonemill({"--render", path.string(), "--output", (folder.Path() / "t.png").string(),
                            "--tilt", "30", "--turn", "-30"})
                  .Status,
              3);

    TRun unwritable =
        RunStonemill({"--convert", path.string(), "--output", (folder.Path() / "no/dir/x.stm").string()});
    EXPECT_EQ(unwritable.Status, 1);

    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"--render", path.string()},
             {"--render", path.string(), "--output", "x.png", "--size", "big"},
             {"--render", path.string(), "--output", "x.png", "--view", "Sideways"},
             {"--render", path.string(), "--output", "x.png", "--bits", "12"},
             {"--render", path.string(), "--output", "x.png", "--tilt", "10"},
             {"--render", path.string(), "--output", "x.png", "--tilt", "200", "--turn", "0"},
             {"--render", path.string(), "--output", "x.png", "--light", "0,0,0"},
             {"--render", path.string(), "--output", "x.gif"},
             {"--render", path.string(), "--output", "x"},
             {"--render", path.string(), "--output", folder.Path().string() + "/"},
             {"--convert", path.string(), "--output", folder.Path().string()},
             {"--info"},
             {"--info", path.string(), "--extra"},
             {"--convert", path.string()}}) {
        TRun r = RunStonemill(bad);
        EXPECT_EQ(r.Status, 2) << bad.back();
        EXPECT_NE(r.Err.find("Usage:"), std::string::npos);
    }
}

// Arguments the program does not know, numbers no command can use, and a
// window asked for where there is no display: a message and an exit status,
// never a window and never an abort.
TEST_F(CommandLine, UnknownOptionsUnusableNumbersAndNoDisplay) {
    const fs::path path = Write("m.stm", model);
    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"--bogus"},
             {"--rendr", path.string(), "--output", "x.png"},
             {path.string(), "--fast"},
             {"--render", path.string(), "--output", "x.png", "--edge-factor", "nan"},
             {"--render", path.string(), "--output", "x.png", "--zoom", "inf"}}) {
        TRun r = RunStonemill(bad);
        EXPECT_EQ(r.Status, 2) << bad.front();
        EXPECT_NE(r.Err.find("Usage:"), std::string::npos) << bad.front();
    }
    EXPECT_NE(RunStonemill({"--bogus"}).Err.find("unknown command \"--bogus\""), std::string::npos);

    for (std::vector<std::string> window : std::vector<std::vector<std::string>>{{}, {path.string()}}) {
        TRunOptions noDisplay;
        noDisplay.WithoutDisplay = true;
        TRun r = RunStonemill(window, noDisplay);
        EXPECT_EQ(r.Status, 1);
        EXPECT_NE(r.Err.find("there is no display to show it on"), std::string::npos) << r.Err;
    }
}

TEST_F(CommandLine, LongLinesAreConvertedWhole) {
    const std::string view = "= 70 330 20 0 0 0 1\r\n";
    const std::string line = "B 0 0 0 40 20 20 255 1 0 0 0 0 " + std::string(300, 'n') + " 5\r\n";
    const fs::path path = Write("long.stm", view + line);
    const fs::path out = folder.Path() / "out.stm";
    const TRun run = RunStonemill({"--convert", path.string(), "--output", out.string()});
    EXPECT_EQ(run.Status, 0) << run.Err;
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(folder.ReadFile(out), view + line);
}

TEST_F(CommandLine, TextThatIsNotAModelIsRefused) {
    std::string bytes;
    uint32_t seed = 7;
    for (int i = 0; i < 1000000; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes += static_cast<char>(seed >> 16);
    }
    const fs::path out = folder.Path() / "out.stm";
    for (const auto& [name, text] : {std::pair<std::string, std::string>{"noise.stm", bytes},
                                     {"letter.stm", "Dear builder,\nthis is a letter.\n"}}) {
        const fs::path path = Write(name, text);
        const TRun info = RunStonemill({"--info", path.string()});
        EXPECT_EQ(info.Status, 1) << name;
        EXPECT_EQ(info.Err, "stonemill: File \"" + path.string() +
                                "\" is not a Stonemill model: none of its lines is a view line or a stone\n");
        EXPECT_EQ(info.Out, "");
        EXPECT_EQ(RunStonemill({"--convert", path.string(), "--output", out.string()}).Status, 1) << name;
        EXPECT_FALSE(fs::exists(out)) << name;
    }

    // In a model, a line without the numbers of a stone is a line left out.
    const fs::path model = Write("m.stm", "= 70 330 20 0 0 0 1\nB 0 0 0 40 20 20\nHello world\nB 1 2\n");
    const TRun lines = RunStonemill({"--info", model.string()});
    EXPECT_EQ(lines.Status, 3);
    const std::string notAStone = ": The line is not a stone: a stone needs its kind letter and then six "
                                  "numbers, its place and its size\n";
    EXPECT_EQ(lines.Err, model.string() + ":3" + notAStone + model.string() + ":4" + notAStone);
    EXPECT_EQ(lines.Out.substr(0, 10), "stones: 1\n");

    // An empty file is an empty model.
    const TRun empty = RunStonemill({"--info", Write("empty.stm", "").string()});
    EXPECT_EQ(empty.Status, 0) << empty.Err;
    EXPECT_EQ(empty.Out.substr(0, 10), "stones: 0\n");
}

// A model of boxes exported to every format; what cannot be exported is
// refused with a message and an exit status, leaving no file.
TEST_F(CommandLine, ExportWritesEveryFormatAndRefusesWhatItCannot) {
    const fs::path path = Write("boxes.stm", "= 70 330 20 0 0 0 1\r\n"
                                             "B 0 0 0 80 20 20 255 1 0 0 0 0 wall 0\r\n"
                                             "B 100 0 0 40 40 20 16711680 1 0 0 1 0  0\r\n");
    for (const char* name : {"m.obj", "m.STL", "m.3mf"}) {
        const fs::path out = folder.Path() / name;
        const TRun run = RunStonemill({"--export", path.string(), "--output", out.string()});
        EXPECT_EQ(run.Status, 0) << name << ": " << run.Err;
        EXPECT_EQ(run.Err, "") << name;
        EXPECT_GT(fs::file_size(out), 100u) << name;
    }
    EXPECT_TRUE(fs::exists(folder.Path() / "m.mtl"));
    // 80 x 20 x 20 units from the origin; with 10 mm modules its far corner
    // is 40 mm along, 10 mm up and 10 mm toward the viewer (OBJ's z, as the
    // model's y, points to the viewer).
    const fs::path scaled = folder.Path() / "scaled.obj";
    EXPECT_EQ(
        RunStonemill({"--export", path.string(), "--output", scaled.string(), "--module-mm", "10"}).Status,
        0);
    EXPECT_NE(folder.ReadFile(scaled).find("\nv 40 10 10\n"), std::string::npos);

    const std::string out = (folder.Path() / "x.obj").string();
    for (auto [args, message] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--export", path.string(), "--output", (folder.Path() / "x.dxf").string()},
              "the file's extension chooses the format, one of .obj, .stl, .3mf, .glb or .mpd."},
             {{"--export", path.string(), "--output", out, "--module-mm", "0"},
              "--module-mm 0: A grid module must be from 0.1 to 1000 millimetres long."},
             {{"--export", path.string(), "--output", out, "--module-mm", "5000"},
              "from 0.1 to 1000 millimetres"},
             {{"--export", path.string(), "--output", out, "--module-mm", "nan"},
              "--module-mm takes a number"},
             {{"--export", path.string(), "--output", out, "--module-mm", "8mm"},
              "--module-mm takes a number"},
             {{"--export", path.string(), "--output", out, "--module-mm"}, "--module-mm needs a value"},
             {{"--export", path.string(), "--output", folder.Path().string()}, "--output names a folder"},
             {{"--export", path.string()}, "--export needs --output FILE"}}) {
        const TRun run = RunStonemill(args);
        EXPECT_EQ(run.Status, 2) << message;
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("Usage:"), std::string::npos);
    }
    EXPECT_FALSE(fs::exists(out));

    const fs::path unwritable = folder.Path() / "no" / "dir" / "x.stl";
    const TRun cannot = RunStonemill({"--export", path.string(), "--output", unwritable.string()});
    EXPECT_EQ(cannot.Status, 1);
    EXPECT_EQ(cannot.Err.find("stonemill: Cannot create file \"" + unwritable.string() + "\"."), 0u)
        << cannot.Err;
    const TRun empty = RunStonemill({"--export", Write("empty.stm", "").string(), "--output", out});
    EXPECT_EQ(empty.Status, 1);
    EXPECT_EQ(empty.Err, "stonemill: There are no stones to export.\n");
    EXPECT_FALSE(fs::exists(out));

    // A part of the user's whose faces enclose nothing is written as far as
    // it goes, and the user is told so.
    const fs::path program = folder.Path() / "program";
    fs::create_directories(program);
    fs::copy_file(BuiltProgramFolder() / "stonemill", program / "stonemill");
    fs::copy(BuiltProgramFolder() / "parts", program / "parts", fs::copy_options::recursive);
    fs::copy_file(BuiltProgramFolder() / "Stonemill.ini", program / "Stonemill.ini");
    std::ofstream(program / "parts" / "mine.dat", std::ios::binary)
        << "[sheet]\r\nNP=1\r\nBB=20,20,20\r\nP1=3, 1, 0,0,0, 20,0,0, 0,20,20\r\n";
    const fs::path sheet = Write("sheet.stm", "= 70 330 20 0 0 0 1\r\n"
                                              "G 0 0 0 20 20 20 255 1 0 0 0 mine.dat sheet 0 sheet 0\r\n");
    const TRun open =
        RunStonemill({"--export", sheet.string(), "--output", out}, {.Program = program / "stonemill"});
    EXPECT_EQ(open.Status, 0) << open.Err;
    EXPECT_EQ(
        open.Err,
        "stonemill: The stone \"sheet\" has no closed surface (the faces enclose no room); it is exported "
        "as far as it goes.\n");
    EXPECT_TRUE(fs::exists(out));
}

// Every demo model exports to every format, and assimp reads each file back.
TEST(DemoModels, ExportToEveryFormat) {
    TTempProgramFolder out;
    const bool assimp = fs::exists("/usr/bin/assimp");
    for (const auto& file : fs::directory_iterator(BuiltProgramFolder() / "Models")) {
        if (file.path().extension() != ".stm")
            continue;
        const std::string name = file.path().stem().string();
        for (const char* extension : {".obj", ".stl", ".3mf", ".glb"}) {
            const fs::path exported = out.Path() / (name + extension);
            const TRun run = RunStonemill({"--export", file.path().string(), "--output", exported.string()});
            EXPECT_EQ(run.Status, 0) << name << extension << ": " << run.Err;
            // The pictures the materials show lie beside the OBJ file.
            if (std::string(extension) == ".obj") {
                std::istringstream materials(out.ReadFile(out.Path() / (name + ".mtl")));
                for (std::string line; std::getline(materials, line);) {
                    if (line.starts_with("map_Kd ")) {
                        EXPECT_TRUE(fs::exists(out.Path() / line.substr(7))) << name << ": " << line;
                    }
                }
            }
            if (!assimp)
                continue;
            const TRun info = RunStonemill({"info", exported.string()}, {.Program = "/usr/bin/assimp"});
            EXPECT_EQ(info.Status, 0) << exported << info.Out;
            EXPECT_EQ(info.Out.find("Faces:              0\n"), std::string::npos) << exported;
        }
    }
    if (!assimp)
        GTEST_SKIP()
            << "assimp is missing (scripts/install-deps.sh test installs it): files were not read back";
}

// Every model and combo shipped beside the program loads without a line
// error, draws, and has the picture the open dialog or the palette shows;
// together the demo models use every kind of stone.
TEST(DemoModels, LoadDrawAndUseEveryKind) {
    TTempProgramFolder out;
    std::set<char> kinds;
    int models = 0;
    for (const char* folder : {"Models", "Combos"}) {
        for (const auto& file : fs::directory_iterator(BuiltProgramFolder() / folder)) {
            if (file.path().extension() != ".stm")
                continue;
            const std::string name = file.path().stem().string();
            const TRun info = RunStonemill({"--info", file.path().string()});
            EXPECT_EQ(info.Status, 0) << name;
            EXPECT_EQ(info.Err, "") << name;
            for (size_t i = info.Out.find("kinds:"); i + 1 < info.Out.size(); ++i)
                if (info.Out[i + 1] == '=')
                    kinds.insert(info.Out[i]);
            const bool demo = std::string(folder) == "Models";
            models += demo;
            fs::path picture = file.path();
            picture.replace_extension(demo ? ".jpg" : ".png");
            EXPECT_FALSE(QImage(QString::fromStdString(picture.string())).isNull()) << picture;

            const fs::path drawn = out.Path() / (name + ".png");
            const TRun render = RunStonemill({"--render", file.path().string(), "--output", drawn.string(),
                                              "--size", "160x120", "--fit", "--detail", "2"});
            EXPECT_EQ(render.Status, 0) << name << ": " << render.Err;
            const QImage image(QString::fromStdString(drawn.string()));
            int stonePixels = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    stonePixels += image.pixel(x, y) != image.pixel(0, 0);
            EXPECT_GT(stonePixels, image.width() * image.height() / 10) << name;
        }
    }
    EXPECT_GE(models, 10);
    EXPECT_EQ(kinds, (std::set<char>{'B', 'R', 'T', 'N', 'C', 'I', 'E', 'G', 'W', 'D', 'O'}));
}

TEST(PovRay, DemoModelsRenderAsMoreThanSkyAndGround) {
    if (!fs::exists("/usr/bin/povray"))
        GTEST_SKIP() << "POV-Ray is not installed (/usr/bin/povray); scripts/install-deps.sh installs it";
    TTempProgramFolder folder;
    auto render = [&](const fs::path& model, const std::string& name) {
        const fs::path out = folder.Path() / name;
        const TRun run = RunStonemill({"--pov", model.string(), "--output", out.string(), "--run"});
        EXPECT_EQ(run.Status, 0) << name << ": " << run.Err;
        EXPECT_TRUE(fs::exists(out / "smBlocks.inc"));
        return QImage(QString::fromStdString((out / "test.png").string()));
    };
    const fs::path empty = folder.Path() / "empty.stm";
    std::ofstream(empty) << "= 70 330 20 0 0 0 1\r\n";
    const QImage nothing = render(empty, "empty");
    ASSERT_EQ(nothing.size(), QSize(320, 240));
    for (const char* demo : {"house", "vehicle", "tower", "castle", "station"}) {
        const QImage picture = render(BuiltProgramFolder() / "Models" / (std::string(demo) + ".stm"), demo);
        ASSERT_EQ(picture.size(), nothing.size()) << demo;
        int differing = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x)
                differing += picture.pixel(x, y) != nothing.pixel(x, y);
        EXPECT_GT(differing, picture.width() * picture.height() / 5) << demo;
    }
}

namespace {

// Every file below the folder, except those below one of its folders.
std::set<fs::path> FilesBelow(const fs::path& folder, const fs::path& except) {
    std::set<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(folder); it != fs::recursive_directory_iterator(); ++it) {
        if (it->path() == except)
            it.disable_recursion_pending();
        else
            files.insert(it->path());
    }
    return files;
}

} // namespace

// Names of every kind that reach the scene, made to break out of their
// strings, from a model file and part files in a program folder of their
// own, plain and with POV-Ray's signs in the folders' names: POV-Ray draws
// the scene, and nothing is written outside its folder.
TEST(PovRay, HostileNamesRenderAndWriteNothingOutsideTheSceneFolder) {
    if (!fs::exists("/usr/bin/povray"))
        GTEST_SKIP() << "POV-Ray is not installed (/usr/bin/povray); scripts/install-deps.sh installs it";
    for (const auto& [programName, outName] :
         {std::pair<std::string, std::string>{"program", "out"}, {"pro\"g #{\\ ;ram", "out \xc3\xa9 \"#1"}}) {
        SCOPED_TRACE(programName);
        TTempProgramFolder root;
        const std::string top = root.Path().string();
        const fs::path program = root.Path() / programName;
        fs::create_directories(program);
        fs::copy_file(BuiltProgramFolder() / "stonemill", program / "stonemill");
        for (const char* data : {"parts", "Render"})
            fs::copy(BuiltProgramFolder() / data, program / data, fs::copy_options::recursive);
        fs::copy_file(BuiltProgramFolder() / "Stonemill.ini", program / "Stonemill.ini");
        const fs::path poster = program / "parts" / "poster.png";
        fs::copy_file(poster, root.Path() / "poster.png");

        // Picture names: one that closes its string and writes a file (its
        // folders made, so that the picture is there), one full of POV-Ray's
        // signs, and ones that lead out of the parts folder, are missing, of
        // an unknown format or beyond ASCII.
        const std::string breakOut = "poster.png\" } } } #fopen F \"" + top +
                                     "/pwned.txt\" write #declare Q = object { polygon { 4 <0 0 0> <1 0 0> "
                                     "<1 1 0> <0 1 0> } pigment { image_map { png \"" +
                                     top + "/poster.png";
        const std::vector<std::string> pictures = {breakOut,        "q\" #declare {\\ ;%HOME%\t/*.png",
                                                   "../poster.png", "missing.png",
                                                   "sign.xyz",      "affich\xc3\xa9.png"};
        std::string parts;
        for (size_t i = 0; i < pictures.size(); ++i) {
            const fs::path file = program / "parts" / pictures[i];
            if (pictures[i] != "missing.png") {
                fs::create_directories(file.parent_path());
                fs::copy_file(poster, file, fs::copy_options::skip_existing);
            }
            parts += "[si\"gn{" + std::to_string(i) +
                     "]\r\nNP=1\r\nBB=80,4,20\r\nP1=4, 1, 80,0,20, 80,0,0, 0,0,0, 0,0,20\r\nBM=1, " +
                     pictures[i] + "\r\nQ1=1 ,1\r\n";
        }
        std::ofstream(program / "parts" / "e\"vil#.dat", std::ios::binary) << parts;
        // The scene writes the signs from the largest x down: the one that
        // breaks out comes first, so that no other name stops POV-Ray before it.
        std::string model = "= 70 330 20 0 0 0 1\r\n";
        for (size_t i = 0; i < pictures.size(); ++i)
            model += "G " + std::to_string(100 * (pictures.size() - i)) +
                     " 0 0 0 0 0 16777215 1 0 0 0 e\"vil#.dat si\"gn{" + std::to_string(i) + " 0 sign\"}" +
                     std::to_string(i) + "#fopen 0\r\n";
        // Stone names: letter case alone apart, POV-Ray's signs, beyond ASCII,
        // a control character, and as long as a model line allows.
        for (const std::string& name :
             {std::string("Tower"), std::string("TOWER"), std::string("wall\"}#fopen"),
              std::string("\xc3\xa9{"), std::string("%HOME%\x01x"), std::string(200, 'n')})
            model += "B 0 40 0 40 40 20 255 1 0 0 0 0 " + name + " 0\r\n";
        const fs::path modelFile = root.Path() / "m.stm";
        std::ofstream(modelFile, std::ios::binary) << model;

        const fs::path out = root.Path() / outName;
        const std::set<fs::path> before = FilesBelow(root.Path(), out);
        const TRun run = RunStonemill({"--pov", modelFile.string(), "--output", out.string(), "--run"},
                                      {.Program = program / "stonemill"});
        EXPECT_EQ(run.Status, 0) << run.Err;
        EXPECT_EQ(run.Err, "");
        EXPECT_EQ(QImage(QString::fromStdString((out / "test.png").string())).size(), QSize(320, 240));
        EXPECT_EQ(FilesBelow(root.Path(), out), before);
        EXPECT_FALSE(fs::exists(root.Path() / "pwned.txt"));
        // The two pictures that are there lie on their signs.
        std::ifstream scene(out / "test.pov");
        int images = 0;
        for (std::string line; std::getline(scene, line);)
            images += line == "      image_map {\r";
        EXPECT_EQ(images, 2);
    }
}
