#pragma once
// Carrying a model out of the program as a file other programs read: which
// stones go (the complete model, the selected or the displayed ones, chosen
// as a model save chooses them), the format (by the file's extension), and
// the size of a grid module in millimetres. Every format is one row of the
// table in model_export.cpp.

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "export/stone_mesh.h"
#include "files/model_file_writer.h"

class TBlock;
class TBlockList;

constexpr double kDefaultModuleMillimetres = 8;
constexpr double kSmallestModuleMillimetres = 0.1;
constexpr double kLargestModuleMillimetres = 1000;

// Where the picture a part names lies; nothing when it cannot be found.
using TPictureFinder = std::function<std::optional<std::filesystem::path>(const std::string& picture)>;

struct TExportOptions {
    // How long a grid module (20 model units) is in the file.
    double ModuleMillimetres = kDefaultModuleMillimetres;
    // Where the picture a part names lies; nothing when it cannot be found
    // (its faces then show the stone's colour only).
    TPictureFinder FindPicture;
};

// Why a module size cannot be used, or "" when it can.
std::string ModuleSizeProblem(double millimetres);

// What a writer is given: the stones, each distinct shape built once, and
// the options.
struct TExportJob {
    std::vector<const TBlock*> Stones;
    TShapeCatalogue Shapes;
    TExportOptions Options;
    // Millimetres per model unit.
    double MillimetresPerUnit() const;
};

struct TExportFormat {
    const char* Extension; // lower case, with its dot
    const char* Description;
    void (*Write)(TExportJob& job, const std::filesystem::path& path);
};

// Every format, in the order the save dialog offers them.
std::span<const TExportFormat> ExportFormats();
// The format of a file by its extension, in any letter case; null when none.
const TExportFormat* ExportFormatOf(const std::filesystem::path& path);
// The message for a file whose extension names no format, listing those that do.
std::string UnknownExportFormatMessage(const std::filesystem::path& path);
// The save dialog's filter in the pipe form "Description (*.ext)|*.ext|...".
std::string ExportFilter();

// The stones a mode takes, in list order. The displayed mode runs the cut
// test on every stone, which updates the stones' Cut flags.
std::vector<const TBlock*> StonesToExport(TBlockList& model, TSaveMode mode);

// Writes the stones into the file in the format its extension names. Every
// shape is built before the file is opened; the file (and any file beside it)
// is written atomically, so a failure leaves an existing file as it was.
// Raises EError for an unknown extension, a bad module size, no stones, a
// stone that cannot be built, or a file that cannot be written. Returns what
// the user should know of the file written: stones whose faces do not close
// (parts of the user's own), which go into the file as far as they go.
std::vector<std::string> ExportStones(std::vector<const TBlock*> stones, const std::filesystem::path& path,
                                      const TExportOptions& options);
