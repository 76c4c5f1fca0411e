// Running out of memory, made to happen on purpose: this program's operator
// new fails once, at the first request of at least a given size after it is
// armed. The failure reaches the user in the program's own words, wherever
// it happens.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <new>
#include <sstream>
#include <utility>
#include <vector>

#include "app/command_line.h"
#include "common/error.h"
#include "files/model_file_reader.h"
#include "model/block_list.h"
#include "partlib/part_registry.h"
#include "temp_program_folder.h"

namespace {

constexpr std::size_t kNever = std::numeric_limits<std::size_t>::max();
std::atomic<std::size_t> gFailFrom{kNever};

// The next request of at least `size` bytes fails.
void FailNextAllocation(std::size_t size) {
    gFailFrom = size;
}

void* Allocate(std::size_t size) {
    if (size >= gFailFrom.load()) {
        gFailFrom = kNever;
        throw std::bad_alloc();
    }
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) {
    return Allocate(size);
}
void* operator new[](std::size_t size) {
    return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return Allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

TEST(OutOfMemory, TheFailureIsToldInThePlainWordsOfWhereItHappened) {
    TTempProgramFolder folder;
    // A part of 5000 points (60 KB) in a file of some 10 KB: their missing
    // numbers read as 0.
    std::string big = "[big]\nNP=1\nBB=20,20,20\nP1=5000, 1";
    for (int i = 0; i < 5000; ++i)
        big += ",0";
    folder.WritePartFile("mem.dat", big + "\n");
    const std::filesystem::path model = folder.Path() / "m.stm";
    std::ofstream(model) << "= 70 330 20 0 0 0 1\nB 0 0 0 20 20 20 255 1 0 0 0 0 wall 0\n";

    // The part library: the load fails, nothing is registered.
    FailNextAllocation(40000);
    try {
        FindPart("mem.dat", "big");
        ADD_FAILURE() << "the load did not fail";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(), "There is not enough memory to load part big from file mem.dat");
    }
    EXPECT_EQ(TPartRegistry::Instance().Count(), 0);
    EXPECT_NE(FindPart("mem.dat", "big"), nullptr); // with memory enough it loads

    // A model line: reported as the line's error, the other lines read on.
    TPartRegistry::Instance().Clear();
    std::vector<std::pair<int, std::string>> errors;
    const TLineErrorHandler onError = [&](int line, const std::string& message) {
        errors.emplace_back(line, message);
    };
    TOwnedBlockList stones;
    const TStringList lines = {"B 0 0 0 20 20 20 255 1 0 0 0 0 wall_of_a_long_name 0",
                               "G 0 0 0 0 0 0 255 1 0 0 0 mem.dat big 0 x 0",
                               "B 40 0 0 20 20 20 255 1 0 0 0 0 wall 0"};
    FailNextAllocation(1);
    TModelReadResult read = ReadModelLines(lines, stones, TModelReadSettings{}, onError);
    EXPECT_EQ(read.LinesFailed, 1);
    EXPECT_EQ(read.StonesAdded, 2);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], (std::pair<int, std::string>{1, "There is not enough memory to read the line"}));
    errors.clear();
    TOwnedBlockList more;
    TPartRegistry::Instance().Clear();
    const TStringList partLine = {"G 0 0 0 0 0 0 255 1 0 0 0 mem.dat big 0 x 0"};
    FailNextAllocation(40000);
    read = ReadModelLines(partLine, more, TModelReadSettings{}, onError);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].second, "There is not enough memory to load part big from file mem.dat");

    // A command: a plain message and the status of a file that could not be read.
    std::ostringstream out, err;
    const std::vector<std::string> args = {"--info", model.string()};
    const TDataFolders folders(folder.Path());
    FailNextAllocation(1);
    const int status = RunHeadlessCommand(args, folders, out, err);
    EXPECT_EQ(status, 1);
    EXPECT_EQ(err.str(),
              "stonemill: The command could not be carried out. There is not enough memory for it.\n");
    EXPECT_EQ(out.str(), "");
    gFailFrom = kNever;
}
