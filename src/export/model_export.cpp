#include "export/model_export.h"

#include <cmath>
#include <set>

#include "common/error.h"
#include "common/strings.h"
#include "common/units.h"
#include "export/export_stream.h"
#include "export/gltf_writer.h"
#include "export/ldraw_writer.h"
#include "export/obj_writer.h"
#include "export/stl_writer.h"
#include "export/stone_label.h"
#include "export/threemf_writer.h"
#include "model/block_list.h"

namespace fs = std::filesystem;

namespace {

// One row per format: its extension, its name in the save dialog, its writer.
const TExportFormat kFormats[] = {
    {".obj", "Wavefront OBJ with materials", WriteObjFile},
    {".stl", "STL for printing", WriteStlFile},
    {".3mf", "3MF for printing in colour", Write3mfFile},
    {".glb", "glTF binary for 3D viewers and the web", WriteGltfFile},
    {".mpd", "LDraw model", WriteLdrawFile},
};

} // namespace

std::string ModuleSizeProblem(double millimetres) {
    if (std::isfinite(millimetres) && millimetres >= kSmallestModuleMillimetres &&
        millimetres <= kLargestModuleMillimetres)
        return {};
    return StrFormat("A grid module must be from %g to %g millimetres long.", kSmallestModuleMillimetres,
                     kLargestModuleMillimetres);
}

double TExportJob::MillimetresPerUnit() const {
    return Options.ModuleMillimetres / kModuleUnits;
}

std::span<const TExportFormat> ExportFormats() {
    return kFormats;
}

const TExportFormat* ExportFormatOf(const fs::path& path) {
    const std::string extension = LowerCase(path.extension().string());
    for (const TExportFormat& format : kFormats)
        if (extension == format.Extension)
            return &format;
    return nullptr;
}

std::string UnknownExportFormatMessage(const fs::path& path) {
    std::string known;
    for (size_t k = 0; k < std::size(kFormats); ++k)
        known += std::string(k == 0                         ? ""
                             : k + 1 == std::size(kFormats) ? " or "
                                                            : ", ") +
                 kFormats[k].Extension;
    return "Cannot export to \"" + path.string() + "\": the file's extension chooses the format, one of " +
           known + ".";
}

std::string ExportFilter() {
    std::string filter;
    for (const TExportFormat& format : kFormats) {
        if (!filter.empty())
            filter += '|';
        filter += std::string(format.Description) + " (*" + format.Extension + ")|*" + format.Extension;
    }
    return filter;
}

std::vector<const TBlock*> StonesToExport(TBlockList& model, TSaveMode mode) {
    std::vector<const TBlock*> stones;
    for (TBlock* stone : model.Stones())
        if (StoneIsSaved(*stone, mode))
            stones.push_back(stone);
    return stones;
}

std::vector<std::string> ExportStones(std::vector<const TBlock*> stones, const fs::path& path,
                                      const TExportOptions& options) {
    const TExportFormat* format = ExportFormatOf(path);
    if (format == nullptr)
        throw EError(UnknownExportFormatMessage(path));
    if (const std::string problem = ModuleSizeProblem(options.ModuleMillimetres); !problem.empty())
        throw EError(problem);
    if (stones.empty())
        throw EError("There are no stones to export.");
    TExportJob job;
    job.Stones = std::move(stones);
    job.Options = options;
    // A stone that cannot be built stops the export before any file is touched.
    std::vector<std::string> notes;
    std::set<int> open;
    for (const TBlock* stone : job.Stones)
        if (const TShapeCatalogue::TShape& shape = job.Shapes.ShapeOf(*stone);
            !shape.Mesh.Gaps.empty() && open.insert(shape.Index).second)
            notes.push_back("The stone \"" + OneLineText(StoneLabel(*stone)) + "\" has no closed surface (" +
                            shape.Mesh.Gaps + "); it is exported as far as it goes.");
    format->Write(job, path);
    return notes;
}
