#pragma once
// The process-wide registry of part definitions, keyed "file:part" without
// regard to letter case. It owns every definition until it is cleared at exit;
// stones refer to definitions without owning them.

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "common/strings.h"
#include "partlib/draw_class.h"

// The most the registered definitions may take together, in bytes of their
// polygons, points and draw orders: far beyond any real library, and far below
// what loading parts under ever new names could otherwise make.
constexpr int64_t kMaxLibraryShapeBytes = int64_t{256} << 20;
// The most the definitions read from one file may take together, in bytes for
// each byte of the file. One section never makes more than some 42 (a polygon,
// a point and eight draw order entries for every number, and a number takes at
// least two bytes), so each part of a file loads; the same file read under
// ever new names makes no more than this.
constexpr int64_t kMaxShapeBytesPerFileByte = 64;

class TPartRegistry {
public:
    static TPartRegistry& Instance();

    static std::string Key(const std::string& file, const std::string& part) { return file + ":" + part; }

    // The registered definition; on a miss it is loaded from the part library
    // and registered. Load errors propagate and nothing is registered; so does
    // a part that would take the registry beyond its shape limit or its file
    // beyond what its size allows, and a load that runs out of memory, each as
    // an EError.
    TDrawClass* FindPart(const std::string& file, const std::string& part);
    // Takes the definition under its key unless the key is present already, in
    // which case nothing happens and the caller keeps it. Returns whether it was taken.
    bool Register(std::unique_ptr<TDrawClass>& definition);
    // Writes every modified definition alone to parts/PART.bcp. Every definition
    // is tried; a failure is raised after the others were written.
    void SaveModifiedParts();
    int Count() const { return static_cast<int>(FParts.size()); }
    // Whether a definition of this part name (without regard to letter case)
    // is registered, from any file: each is saved alone under its part name.
    bool HoldsPartName(const std::string& part) const;
    // What the definitions took when they were registered (later edits aside),
    // and the most they may take, kMaxLibraryShapeBytes unless lowered.
    int64_t ShapeBytes() const { return FShapeBytes; }
    void SetShapeLimit(int64_t bytes) { FShapeLimit = bytes; }
    // Frees every definition (stones that refer to them must be gone).
    void Clear() {
        FParts.clear();
        FShapeBytes = 0;
        FShapeBytesByFile.clear();
    }

private:
    std::map<std::string, std::unique_ptr<TDrawClass>, TextLess> FParts;
    int64_t FShapeBytes = 0;
    int64_t FShapeLimit = kMaxLibraryShapeBytes;
    // What the definitions read from each file take, by the file's path.
    std::map<std::filesystem::path, int64_t> FShapeBytesByFile;
};

inline TDrawClass* FindPart(const std::string& file, const std::string& part) {
    return TPartRegistry::Instance().FindPart(file, part);
}
