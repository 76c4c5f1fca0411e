// Writes a generated model as a model file, for timing the program itself on
// large models: write_model town|tower|mixed COUNT FILE
#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/error.h"
#include "files/model_file_writer.h"
#include "model/block_list.h"
#include "models.h"
#include "platform/data_folders.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "Usage: write_model town|tower|mixed COUNT FILE\n");
        return 2;
    }
    const std::string kind = argv[1];
    const int count = std::atoi(argv[2]);
    try {
        SetProgramFolder(STONEMILL_PROGRAM_DIR);
        TStones stones = kind == "town"    ? MakeTown(count)
                         : kind == "tower" ? MakeTower(count)
                                           : MakeMixedScene(count);
        TOwnedBlockList model;
        model.SortedOctant = 0;
        model.InsertAllSorted(std::move(stones));
        SaveModelFile(argv[3], model, TViewRecord{}, TSaveMode::smComplete);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
