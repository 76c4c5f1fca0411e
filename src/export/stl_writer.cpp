#include "export/stl_writer.h"

#include <array>
#include <cmath>
#include <cstring>
#include <limits>

#include "common/error.h"
#include "export/export_stream.h"
#include "export/file_axes.h"
#include "export/model_export.h"
#include "model/block.h"
#include "platform/atomic_file.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kHeaderSize = 80;

std::array<float, 3> UnitNormal(const TMeshPoint& a, const TMeshPoint& b, const TMeshPoint& c) {
    const double ux = b.X - a.X, uy = b.Y - a.Y, uz = b.Z - a.Z;
    const double vx = c.X - a.X, vy = c.Y - a.Y, vz = c.Z - a.Z;
    const double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
    const double length = std::sqrt(nx * nx + ny * ny + nz * nz);
    if (length == 0)
        return {0, 0, 0};
    return {static_cast<float>(nx / length), static_cast<float>(ny / length),
            static_cast<float>(nz / length)};
}

} // namespace

void WriteStlFile(TExportJob& job, const fs::path& path) {
    // The facet count comes first in the file.
    uint64_t facets = 0;
    for (const TBlock* stone : job.Stones)
        facets += job.Shapes.ShapeOf(*stone).Mesh.Triangles.size();
    if (facets > std::numeric_limits<uint32_t>::max())
        throw EError("The model has too many faces for an STL file.");
    const double scale = job.MillimetresPerUnit();
    WriteFileAtomically(path, [&](std::FILE* file) {
        TExportStream out(
            [file](const char* data, size_t size) { return std::fwrite(data, 1, size, file) == size; },
            1 << 18);
        char header[kHeaderSize] = {};
        const char title[] = "Stonemill model, millimetres, Z up";
        std::memcpy(header, title, sizeof title - 1);
        out.Put(header, sizeof header);
        out.PutUint32(static_cast<uint32_t>(facets));
        std::vector<TMeshPoint> placed;
        for (const TBlock* stone : job.Stones) {
            const TStoneMesh& mesh = job.Shapes.ShapeOf(*stone).Mesh;
            const TStonePlacement placement = PlacementOf(*stone);
            placed.clear();
            for (const TMeshPoint& shapePoint : mesh.Points) {
                placed.push_back(ZUpFilePoint(placement.Apply(shapePoint), scale));
            }
            for (const TMeshTriangle& shapeTriangle : mesh.Triangles) {
                const TMeshTriangle t = FileTriangle(shapeTriangle);
                const TMeshPoint &a = placed[t[0]], &b = placed[t[1]], &c = placed[t[2]];
                for (float value : UnitNormal(a, b, c))
                    out.PutFloat(value);
                for (const TMeshPoint* p : {&a, &b, &c}) {
                    out.PutFloat(static_cast<float>(p->X));
                    out.PutFloat(static_cast<float>(p->Y));
                    out.PutFloat(static_cast<float>(p->Z));
                }
                out.PutUint16(0);
            }
        }
        out.Flush();
        return true;
    });
}
