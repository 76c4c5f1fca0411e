#include "export/obj_writer.h"

#include <map>
#include <set>
#include <tuple>

#include "common/error.h"
#include "export/export_stream.h"
#include "export/file_axes.h"
#include "export/model_export.h"
#include "export/stone_label.h"
#include "model/block.h"
#include "platform/atomic_file.h"

namespace fs = std::filesystem;

namespace {

// A material: the colour, see-through or not, and the picture its faces show
// (empty for none).
struct TMaterialKey {
    TColor Color = 0;
    bool Transparent = false;
    std::string Picture;
    auto operator<=>(const TMaterialKey&) const = default;
};

std::string MaterialName(const TMaterialKey& key) {
    std::string name =
        StrFormat("color_%02X%02X%02X", GetRValue(key.Color), GetGValue(key.Color), GetBValue(key.Color));
    if (key.Transparent)
        name += "_clear";
    if (!key.Picture.empty()) {
        name += "_";
        for (char c : fs::path(key.Picture).stem().string())
            name += static_cast<unsigned char>(c) <= ' ' ? '_' : c;
    }
    return name;
}

// Names in OBJ run to the end of the line: line ends and control characters become spaces.
std::string LineSafe(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < ' ')
            c = ' ';
    return text;
}

// The materials the stones use, with the picture file each textured one shows
// beside the OBJ file (empty when its picture cannot be found).
std::map<TMaterialKey, std::string> CollectMaterials(TExportJob& job) {
    std::map<TMaterialKey, std::string> materials;
    for (const TBlock* stone : job.Stones) {
        const TMaterialKey plain{ColorToRGB(stone->Color), stone->Transparent, {}};
        materials.emplace(plain, std::string());
        for (const TMeshPictureFaces& faces : job.Shapes.ShapeOf(*stone).Mesh.Pictures) {
            TMaterialKey key = plain;
            key.Picture = faces.Picture;
            if (materials.contains(key))
                continue;
            std::optional<fs::path> found;
            if (job.Options.FindPicture)
                found = job.Options.FindPicture(faces.Picture);
            materials.emplace(key, found ? found->string() : std::string());
        }
    }
    return materials;
}

TExportStream::TSink FileSink(std::FILE* file) {
    return [file](const char* data, size_t size) { return std::fwrite(data, 1, size, file) == size; };
}

void WriteMaterialLibrary(const fs::path& path, const std::map<TMaterialKey, std::string>& materials) {
    WriteFileAtomically(path, [&](std::FILE* file) {
        TExportStream out(FileSink(file));
        out << "# Materials of a model exported by Stonemill\n";
        for (const auto& [key, picture] : materials) {
            // A picture that cannot be found leaves its faces plain.
            if (!key.Picture.empty() && picture.empty())
                continue;
            out << "\nnewmtl " << MaterialName(key) << "\nKd ";
            out.Number(GetRValue(key.Color) / 255.0).Put(" ", 1);
            out.Number(GetGValue(key.Color) / 255.0).Put(" ", 1);
            out.Number(GetBValue(key.Color) / 255.0);
            out << "\nKa 0 0 0\nKs 0 0 0\nillum 1\nd " << (key.Transparent ? "0.5" : "1") << '\n';
            if (!picture.empty())
                out << "map_Kd " << fs::path(picture).filename().string() << '\n';
        }
        out.Flush();
        return true;
    });
}

// Copies each picture beside the OBJ file, unless it lies there already.
void CopyPictures(const fs::path& folder, const std::map<TMaterialKey, std::string>& materials) {
    std::set<std::string> copied;
    for (const auto& [key, picture] : materials) {
        if (picture.empty() || !copied.insert(picture).second)
            continue;
        const fs::path target = folder / fs::path(picture).filename();
        std::error_code error;
        if (fs::equivalent(picture, target, error))
            continue;
        CopyFileAtomically(picture, target);
    }
}

} // namespace

void WriteObjFile(TExportJob& job, const fs::path& path) {
    const std::map<TMaterialKey, std::string> materials = CollectMaterials(job);
    const fs::path library = fs::path(path).replace_extension(".mtl");
    const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
    const double scale = job.MillimetresPerUnit();
    WriteFileAtomically(path, [&](std::FILE* file) {
        TExportStream out(FileSink(file));
        out << "# A model exported by Stonemill: millimetres, Y up\n";
        out << "mtllib " << library.filename().string() << '\n';
        uint64_t pointsBefore = 0, coordinatesBefore = 0;
        for (const TBlock* stone : job.Stones) {
            const TStoneMesh& mesh = job.Shapes.ShapeOf(*stone).Mesh;
            const TStonePlacement placement = PlacementOf(*stone);
            out << "o " << LineSafe(StoneLabel(*stone)) << '\n';
            for (const TMeshPoint& shapePoint : mesh.Points) {
                const TMeshPoint p = YUpFilePoint(placement.Apply(shapePoint), scale);
                out << "v ";
                out.Number(p.X) << ' ';
                out.Number(p.Y) << ' ';
                out.Number(p.Z) << '\n';
            }
            const bool textured = !mesh.TextureCoordinates.empty();
            for (const auto& uv : mesh.TextureCoordinates) {
                // The picture's V runs down, OBJ's up.
                out << "vt ";
                out.Number(uv[0], 6) << ' ';
                out.Number(1.0 - uv[1], 6) << '\n';
            }
            const TMaterialKey plain{ColorToRGB(stone->Color), stone->Transparent, {}};
            auto face = [&](const TMeshTriangle& t, bool withCoordinates) {
                out << 'f';
                for (uint32_t corner : FileTriangle(t)) {
                    out << ' ';
                    out.Whole(pointsBefore + corner + 1);
                    if (withCoordinates) {
                        out << '/';
                        out.Whole(coordinatesBefore + corner + 1);
                    }
                }
                out << '\n';
            };
            // The stone's plain faces, then each picture's.
            out << "usemtl " << MaterialName(plain) << '\n';
            if (mesh.Pictures.empty()) {
                for (const TMeshTriangle& t : mesh.Triangles)
                    face(t, false);
            } else {
                std::vector<bool> pictured(mesh.Triangles.size(), false);
                for (const TMeshPictureFaces& faces : mesh.Pictures)
                    for (uint32_t k = 0; k < faces.TriangleCount; ++k)
                        pictured[faces.FirstTriangle + k] = true;
                for (size_t k = 0; k < mesh.Triangles.size(); ++k)
                    if (!pictured[k])
                        face(mesh.Triangles[k], false);
            }
            for (const TMeshPictureFaces& faces : mesh.Pictures) {
                TMaterialKey key = plain;
                key.Picture = faces.Picture;
                const bool shown = textured && !materials.at(key).empty();
                out << "usemtl " << MaterialName(shown ? key : plain) << '\n';
                for (uint32_t k = 0; k < faces.TriangleCount; ++k)
                    face(mesh.Triangles[faces.FirstTriangle + k], shown);
            }
            pointsBefore += mesh.Points.size();
            coordinatesBefore += mesh.TextureCoordinates.size();
        }
        out.Flush();
        return true;
    });
    WriteMaterialLibrary(library, materials);
    CopyPictures(folder, materials);
}
