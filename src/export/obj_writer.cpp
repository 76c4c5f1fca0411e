#include "export/obj_writer.h"

#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <tuple>

#include "common/error.h"
#include "export/export_stream.h"
#include "export/file_axes.h"
#include "export/model_export.h"
#include "export/part_picture.h"
#include "export/stone_label.h"
#include "model/block.h"
#include "platform/atomic_file.h"
#include "platform/atomic_folder.h"

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

// A name in an OBJ or MTL line: it runs to the end of the line, so it is
// kept on one line, and neither a "#" (a comment to some readers) nor a
// trailing backslash (which joins the next line to it) is left in it.
std::string ObjName(const std::string& text) {
    std::string name = OneLineText(text);
    for (char& c : name)
        if (c == '#')
            c = '_';
    while (!name.empty() && (name.back() == '\\' || name.back() == ' '))
        name.back() == ' ' ? name.pop_back() : void(name.back() = '_');
    return name.empty() ? "stone" : name;
}

// A file name a material library names safely: letters, digits, ".", "-" and "_".
std::string SafeFileName(const std::string& name) {
    std::string safe;
    for (const char c : name)
        safe += (std::isalnum(static_cast<unsigned char>(c)) && static_cast<unsigned char>(c) < 0x80) ||
                        c == '.' || c == '-' || c == '_'
                    ? c
                    : '_';
    return safe;
}

std::string MaterialName(const TMaterialKey& key) {
    std::string name =
        StrFormat("color_%02X%02X%02X", GetRValue(key.Color), GetGValue(key.Color), GetBValue(key.Color));
    if (key.Transparent)
        name += "_clear";
    if (!key.Picture.empty())
        name += "_" + SafeFileName(fs::path(key.Picture).stem().string());
    return name;
}

// The materials the stones use, with the picture file each textured one shows
// (empty when the part names no picture of the library that can be shown).
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
            const std::optional<fs::path> found = PartPictureFile(faces.Picture, job.Options.FindPicture);
            materials.emplace(key, found ? found->string() : std::string());
        }
    }
    return materials;
}

TExportStream::TSink FileSink(std::FILE* file) {
    return [file](const char* data, size_t size) { return std::fwrite(data, 1, size, file) == size; };
}

const char* const kLibraryHeader = "# Materials of a model exported by Stonemill";

// The files an OBJ file takes with it: its material library, and the
// pictures of its textured faces in a folder of their own, both named after
// the OBJ file and beside it (beside the file a link names).
struct TObjCompanions {
    fs::path Library, Textures;
    // The textures folder as the library names it.
    std::string TexturesLink;
    // Each picture file to its name in the textures folder.
    std::map<std::string, std::string> Copies;

    TObjCompanions(const fs::path& real, const std::map<TMaterialKey, std::string>& materials) {
        // Named safely: OBJ readers split a library's name at spaces.
        const std::string stem = SafeFileName(real.stem().string());
        Library = real.parent_path() / (stem + ".mtl");
        TexturesLink = stem + "_textures";
        Textures = real.parent_path() / TexturesLink;
        std::set<std::string> names;
        for (const auto& [key, picture] : materials) {
            if (picture.empty() || Copies.contains(picture))
                continue;
            std::string name = SafeFileName(fs::path(picture).filename().string());
            for (int n = 2; !names.insert(name).second; ++n)
                name = std::to_string(n) + "_" + name;
            Copies.emplace(picture, name);
        }
    }
};

// The first line of a file, or nothing when it cannot be read.
std::string FirstLine(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    return line;
}

[[noreturn]] void RefuseOthers(const fs::path& path) {
    throw EError(StrFormat("Cannot export beside \"%s\": it was not written by an export of Stonemill and "
                           "would be replaced. Choose another name for the export.",
                           path.string().c_str()));
}

// A library or textures folder is replaced only when an earlier export made
// it: the library starts as an exported one does, and the folder holds only
// pictures that library names.
void CheckCompanionsAreOurs(const TObjCompanions& companions) {
    std::error_code error;
    const bool library = fs::exists(fs::symlink_status(companions.Library, error));
    if (library && (!fs::is_regular_file(companions.Library, error) ||
                    FirstLine(companions.Library).rfind(kLibraryHeader, 0) != 0))
        RefuseOthers(companions.Library);
    if (!fs::exists(fs::symlink_status(companions.Textures, error)))
        return;
    if (!library || fs::is_symlink(companions.Textures, error) ||
        !fs::is_directory(companions.Textures, error))
        RefuseOthers(companions.Textures);
    std::set<std::string> named;
    std::ifstream in(companions.Library, std::ios::binary);
    const std::string prefix = "map_Kd " + companions.TexturesLink + "/";
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.rfind(prefix, 0) == 0)
            named.insert(line.substr(prefix.size()));
    }
    for (fs::directory_iterator it(companions.Textures, error), end; !error && it != end; it.increment(error))
        if (!it->is_regular_file(error) || !named.contains(it->path().filename().string()))
            RefuseOthers(companions.Textures);
}

void WriteMaterialLibrary(const TObjCompanions& companions,
                          const std::map<TMaterialKey, std::string>& materials) {
    WriteFileAtomically(companions.Library, [&](std::FILE* file) {
        TExportStream out(FileSink(file));
        out << kLibraryHeader << '\n';
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
                out << "map_Kd " << companions.TexturesLink << '/' << companions.Copies.at(picture) << '\n';
        }
        out.Flush();
        return true;
    });
}

// Copies the pictures into the textures folder, which replaces an earlier
// export's once complete.
void CopyPictures(const TObjCompanions& companions) {
    if (companions.Copies.empty())
        return;
    TAtomicFolder folder(companions.Textures);
    for (const auto& [picture, name] : companions.Copies)
        CopyFileAtomically(picture, folder.Partial() / name);
    folder.Commit();
}

} // namespace

void WriteObjFile(TExportJob& job, const fs::path& path) {
    const std::map<TMaterialKey, std::string> materials = CollectMaterials(job);
    const TObjCompanions companions(FileBehindLinks(path), materials);
    CheckCompanionsAreOurs(companions);
    // The companions first: an OBJ file never names a library older than itself.
    CopyPictures(companions);
    WriteMaterialLibrary(companions, materials);
    const double scale = job.MillimetresPerUnit();
    WriteFileAtomically(path, [&](std::FILE* file) {
        TExportStream out(FileSink(file));
        out << "# A model exported by Stonemill: millimetres, Y up\n";
        out << "mtllib " << companions.Library.filename().string() << '\n';
        uint64_t pointsBefore = 0, coordinatesBefore = 0;
        for (const TBlock* stone : job.Stones) {
            const TStoneMesh& mesh = job.Shapes.ShapeOf(*stone).Mesh;
            const TStonePlacement placement = PlacementOf(*stone);
            out << "o " << ObjName(StoneLabel(*stone)) << '\n';
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
}
