#pragma once
// Helpers for the model-file tests: a block list that frees its stones, a
// collector of line errors, and a program folder with the shipped parts.dat.

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "files/model_file_reader.h"
#include "model/block_list.h"
#include "temp_program_folder.h"

// A block list that owns its stones, as the main window's model does.
struct TOwnedList {
    TOwnedBlockList List;
    void Free() { List.FreeAll(); }
    // Takes ownership of the stone and returns it.
    TBlock* Add(std::unique_ptr<TBlock> stone) { return List.InsertSorted(std::move(stone)); }
    int Count() const { return List.Count(); }
    TBlock& operator[](int index) const { return *List[index]; }
};

struct TLineErrors {
    std::vector<std::pair<int, std::string>> Items;
    TLineErrorHandler Handler() {
        return [this](int line, const std::string& message) { Items.emplace_back(line, message); };
    }
};

// A temporary program folder whose parts/ holds the shipped parts.dat.
class TShippedPartsFolder : public TTempProgramFolder {
public:
    TShippedPartsFolder() {
        std::filesystem::copy_file(SourceFolder() / "data" / "parts" / "parts.dat", Parts() / "parts.dat");
    }
};

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::string ReadText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
