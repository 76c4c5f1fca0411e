#include "export/gltf_writer.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "common/error.h"
#include "common/strings.h"
#include "export/file_axes.h"
#include "export/model_export.h"
#include "export/part_picture.h"
#include "export/stone_mesh.h"
#include "model/block.h"
#include "platform/atomic_file.h"
#include "platform/bitmap.h"
#include "platform/picture_file.h"

namespace fs = std::filesystem;

namespace {

constexpr int kArrayBuffer = 34962, kElementArrayBuffer = 34963;
constexpr int kFloat = 5126, kUnsignedShort = 5123, kUnsignedInt = 5125;

// JSON text of a string. Bytes that are not UTF-8 are read as Latin-1, so
// the file stays valid whatever code page a caption was typed in.
std::string JsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : ValidUtf8(text)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + '"';
}

// The shortest text that reads back as the same float: accessor bounds must
// match the stored values exactly.
std::string FloatText(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return text;
}

double LinearFromSrgb(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

std::string HexColour(TColor color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

// A picture as glTF can embed it: PNG and JPEG files as they are, other
// formats the platform reads turned into PNG.
struct TEmbeddedPicture {
    std::string Bytes;
    std::string MimeType;
};

std::optional<TEmbeddedPicture> ReadEmbeddedPicture(const std::string& name, const TPictureFinder& find) {
    const std::optional<fs::path> file = PartPictureFile(name, find);
    if (!file)
        return std::nullopt;
    std::ifstream in(*file, std::ios::binary);
    if (!in)
        return std::nullopt;
    TEmbeddedPicture picture;
    picture.Bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (picture.Bytes.empty())
        return std::nullopt;
    if (picture.Bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) {
        picture.MimeType = "image/png";
        return picture;
    }
    if (picture.Bytes.compare(0, 3, "\xFF\xD8\xFF") == 0) {
        picture.MimeType = "image/jpeg";
        return picture;
    }
    TBitmap bitmap;
    if (!LoadPictureFile(*file, bitmap, pf32bit) || bitmap.Width() < 1 || bitmap.Height() < 1)
        return std::nullopt;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(bitmap.Width());
    image.height = static_cast<png_uint_32>(bitmap.Height());
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint8_t> pixels(static_cast<size_t>(bitmap.Width()) * bitmap.Height() * 4);
    for (int row = 0; row < bitmap.Height(); ++row) {
        auto* line = pixels.data() + static_cast<size_t>(row) * bitmap.Width() * 4;
        std::memcpy(line, bitmap.ScanLine(row), static_cast<size_t>(bitmap.Width()) * 4);
        for (int x = 0; x < bitmap.Width(); ++x)
            line[x * 4 + 3] = 0xFF; // the 32-bit bitmap's fourth byte is no opacity
    }
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&image, nullptr, &size, 0, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    picture.Bytes.assign(size, '\0');
    if (!png_image_write_to_memory(&image, picture.Bytes.data(), &size, 0, pixels.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    picture.Bytes.resize(size);
    picture.MimeType = "image/png";
    return picture;
}

// What the BIN chunk holds, in order: each piece starts on a multiple of
// four bytes.
struct TBinaryPiece {
    std::string Bytes;
    int Target = 0; // 0 for pictures, which take no target
};

class TGltfBuilder {
public:
    TGltfBuilder(double moduleMillimetres, TShapeCatalogue& shapes, TPictureFinder findPicture)
        : FScale(moduleMillimetres / 20 / 1000), FShapes(shapes), FFindPicture(std::move(findPicture)) {}

    void Build(const std::vector<const TBlock*>& stones);
    void Write(std::FILE* file) const;

private:
    struct TShapeData {
        int Positions = -1, TextureCoordinates = -1;
        int PlainIndices = -1;
        std::vector<std::pair<int, int>> PictureIndices; // accessor, picture
    };

    int AddPiece(std::string bytes, int target);
    int AddAccessor(int bufferView, int componentType, size_t count, const char* type,
                    const std::string& bounds = {});
    const TShapeData& ShapeData(const TShapeCatalogue::TShape& shape);
    int Picture(const std::string& name);
    int ColourMaterial(TColor color, bool transparent);
    int PictureMaterial(int picture, bool transparent);
    int Mesh(const TShapeCatalogue::TShape& shape, TColor color, bool transparent);
    std::array<float, 3> Converted(const TMeshPoint& p) const {
        const TMeshPoint f = YUpFilePoint(p, FScale);
        return {static_cast<float>(f.X), static_cast<float>(f.Y), static_cast<float>(f.Z)};
    }

    double FScale;
    TShapeCatalogue& FShapes;
    TPictureFinder FFindPicture;
    std::vector<TBinaryPiece> FPieces;
    size_t FBinaryLength = 0; // of the pieces, each padded to four bytes
    std::string FBufferViews, FAccessors, FMaterials, FMeshes, FImages, FTextures, FNodes;
    int FAccessorCount = 0, FMaterialCount = 0, FMeshCount = 0, FImageCount = 0, FNodeCount = 0;
    std::map<int, TShapeData> FShapeData;
    std::map<std::string, int> FPictures; // -1 when the picture cannot be embedded
    std::map<std::pair<TColor, bool>, int> FColourMaterials;
    std::map<std::pair<int, bool>, int> FPictureMaterials;
    std::map<std::tuple<int, TColor, bool>, int> FMeshIndex;
};

void AppendItem(std::string& list, const std::string& item) {
    if (!list.empty())
        list += ',';
    list += item;
}

int TGltfBuilder::AddPiece(std::string bytes, int target) {
    std::string view = "{\"buffer\":0,\"byteOffset\":" + std::to_string(FBinaryLength) +
                       ",\"byteLength\":" + std::to_string(bytes.size());
    if (target != 0)
        view += ",\"target\":" + std::to_string(target);
    AppendItem(FBufferViews, view + '}');
    FBinaryLength += (bytes.size() + 3) & ~size_t(3);
    FPieces.push_back({std::move(bytes), target});
    return static_cast<int>(FPieces.size()) - 1;
}

int TGltfBuilder::AddAccessor(int bufferView, int componentType, size_t count, const char* type,
                              const std::string& bounds) {
    AppendItem(FAccessors, "{\"bufferView\":" + std::to_string(bufferView) + ",\"componentType\":" +
                               std::to_string(componentType) + ",\"count\":" + std::to_string(count) +
                               ",\"type\":\"" + type + '"' + bounds + '}');
    return FAccessorCount++;
}

template <typename T> void AppendRaw(std::string& bytes, const T& value) {
    bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}

const TGltfBuilder::TShapeData& TGltfBuilder::ShapeData(const TShapeCatalogue::TShape& shape) {
    if (auto found = FShapeData.find(shape.Index); found != FShapeData.end())
        return found->second;
    TShapeData data;
    const TStoneMesh& mesh = shape.Mesh;
    if (!mesh.Triangles.empty()) {
        std::string bytes;
        std::array<float, 3> low = Converted(mesh.Points[0]), high = low;
        for (const TMeshPoint& point : mesh.Points) {
            const std::array<float, 3> p = Converted(point);
            for (int k = 0; k < 3; ++k) {
                low[k] = std::min(low[k], p[k]);
                high[k] = std::max(high[k], p[k]);
                AppendRaw(bytes, p[k]);
            }
        }
        const std::string bounds = ",\"min\":[" + FloatText(low[0]) + ',' + FloatText(low[1]) + ',' +
                                   FloatText(low[2]) + "],\"max\":[" + FloatText(high[0]) + ',' +
                                   FloatText(high[1]) + ',' + FloatText(high[2]) + ']';
        data.Positions =
            AddAccessor(AddPiece(std::move(bytes), kArrayBuffer), kFloat, mesh.Points.size(), "VEC3", bounds);

        // Triangles of a picture that can be embedded get their own primitive;
        // the others show the stone's colour.
        std::vector<char> pictured(mesh.Triangles.size(), 0);
        std::vector<std::pair<const TMeshPictureFaces*, int>> pictures;
        if (mesh.TextureCoordinates.size() == mesh.Points.size())
            for (const TMeshPictureFaces& faces : mesh.Pictures) {
                const int picture = Picture(faces.Picture);
                if (picture < 0 || faces.TriangleCount == 0 ||
                    faces.FirstTriangle + faces.TriangleCount > mesh.Triangles.size())
                    continue;
                pictures.emplace_back(&faces, picture);
                std::fill_n(pictured.begin() + faces.FirstTriangle, faces.TriangleCount, 1);
            }
        if (!pictures.empty()) {
            std::string coordinates;
            for (const auto& uv : mesh.TextureCoordinates) {
                AppendRaw(coordinates, uv[0]);
                AppendRaw(coordinates, uv[1]);
            }
            data.TextureCoordinates = AddAccessor(AddPiece(std::move(coordinates), kArrayBuffer), kFloat,
                                                  mesh.Points.size(), "VEC2");
        }

        // Indices fit in 16 bits below 65535, which strips would read as a restart.
        const bool shortIndices = mesh.Points.size() < 65535;
        auto indices = [&](auto take) {
            std::string bytes;
            size_t count = 0;
            for (uint32_t t = 0; t < mesh.Triangles.size(); ++t) {
                if (!take(t))
                    continue;
                for (uint32_t corner : FileTriangle(mesh.Triangles[t]))
                    if (shortIndices)
                        AppendRaw(bytes, static_cast<uint16_t>(corner));
                    else
                        AppendRaw(bytes, corner);
                count += 3;
            }
            if (count == 0)
                return -1;
            return AddAccessor(AddPiece(std::move(bytes), kElementArrayBuffer),
                               shortIndices ? kUnsignedShort : kUnsignedInt, count, "SCALAR");
        };
        data.PlainIndices = indices([&](uint32_t t) { return !pictured[t]; });
        for (const auto& [faces, picture] : pictures) {
            const uint32_t first = faces->FirstTriangle, end = first + faces->TriangleCount;
            data.PictureIndices.emplace_back(indices([&](uint32_t t) { return t >= first && t < end; }),
                                             picture);
        }
    }
    return FShapeData.emplace(shape.Index, std::move(data)).first->second;
}

int TGltfBuilder::Picture(const std::string& name) {
    if (auto found = FPictures.find(name); found != FPictures.end())
        return found->second;
    int index = -1;
    if (std::optional<TEmbeddedPicture> picture = ReadEmbeddedPicture(name, FFindPicture)) {
        const int view = AddPiece(std::move(picture->Bytes), 0);
        AppendItem(FImages, "{\"name\":" + JsonString(name) + ",\"bufferView\":" + std::to_string(view) +
                                ",\"mimeType\":\"" + picture->MimeType + "\"}");
        AppendItem(FTextures, "{\"sampler\":0,\"source\":" + std::to_string(FImageCount) + '}');
        index = FImageCount++;
    }
    FPictures.emplace(name, index);
    return index;
}

std::string MaterialText(const std::string& name, const std::string& factor, bool transparent,
                         const std::string& texture) {
    return "{\"name\":" + JsonString(name) + ",\"pbrMetallicRoughness\":{\"baseColorFactor\":[" + factor +
           ']' + texture + ",\"metallicFactor\":0,\"roughnessFactor\":0.6}" +
           (transparent ? ",\"alphaMode\":\"BLEND\"" : "") + '}';
}

int TGltfBuilder::ColourMaterial(TColor color, bool transparent) {
    color = ColorToRGB(color);
    if (auto found = FColourMaterials.find({color, transparent}); found != FColourMaterials.end())
        return found->second;
    char factor[96];
    std::snprintf(factor, sizeof factor, "%.6f,%.6f,%.6f,%s", LinearFromSrgb(GetRValue(color)),
                  LinearFromSrgb(GetGValue(color)), LinearFromSrgb(GetBValue(color)),
                  transparent ? "0.5" : "1");
    AppendItem(FMaterials, MaterialText("Colour " + HexColour(color) + (transparent ? " see-through" : ""),
                                        factor, transparent, ""));
    FColourMaterials.emplace(std::make_pair(color, transparent), FMaterialCount);
    return FMaterialCount++;
}

int TGltfBuilder::PictureMaterial(int picture, bool transparent) {
    if (auto found = FPictureMaterials.find({picture, transparent}); found != FPictureMaterials.end())
        return found->second;
    std::string name = "Picture";
    for (const auto& [file, index] : FPictures)
        if (index == picture)
            name += ' ' + file;
    AppendItem(FMaterials, MaterialText(name + (transparent ? " see-through" : ""),
                                        transparent ? "1,1,1,0.5" : "1,1,1,1", transparent,
                                        ",\"baseColorTexture\":{\"index\":" + std::to_string(picture) + '}'));
    FPictureMaterials.emplace(std::make_pair(picture, transparent), FMaterialCount);
    return FMaterialCount++;
}

// One mesh per shape and colour: glTF keeps the material in the mesh, and
// the meshes of one shape share its accessors.
int TGltfBuilder::Mesh(const TShapeCatalogue::TShape& shape, TColor color, bool transparent) {
    color = ColorToRGB(color);
    const auto key = std::make_tuple(shape.Index, color, transparent);
    if (auto found = FMeshIndex.find(key); found != FMeshIndex.end())
        return found->second;
    const TShapeData& data = ShapeData(shape);
    std::string primitives;
    const std::string position = "{\"attributes\":{\"POSITION\":" + std::to_string(data.Positions);
    if (data.PlainIndices >= 0)
        AppendItem(primitives, position + "},\"indices\":" + std::to_string(data.PlainIndices) +
                                   ",\"material\":" + std::to_string(ColourMaterial(color, transparent)) +
                                   '}');
    for (const auto& [indices, picture] : data.PictureIndices)
        AppendItem(primitives, position + ",\"TEXCOORD_0\":" + std::to_string(data.TextureCoordinates) +
                                   "},\"indices\":" + std::to_string(indices) + ",\"material\":" +
                                   std::to_string(PictureMaterial(picture, transparent)) + '}');
    int index = -1;
    if (!primitives.empty()) {
        AppendItem(FMeshes, "{\"name\":" +
                                JsonString("Shape " + std::to_string(shape.Index + 1) + ' ' +
                                           HexColour(color) + (transparent ? " see-through" : "")) +
                                ",\"primitives\":[" + primitives + "]}");
        index = FMeshCount++;
    }
    FMeshIndex.emplace(key, index);
    return index;
}

void TGltfBuilder::Build(const std::vector<const TBlock*>& stones) {
    FNodes.reserve(stones.size() * 120);
    for (const TBlock* stone : stones) {
        const TShapeCatalogue::TShape& shape = FShapes.ShapeOf(*stone);
        const int mesh = Mesh(shape, stone->Color, stone->Transparent);
        const TStonePlacement placement = PlacementOf(*stone);
        // The placement is a turn about the vertical and a move: the move is
        // where the shape's origin lands; a quarter turn of the model, seen in
        // glTF's mirrored axes, is +90 degrees about +Y.
        const std::array<float, 3> move = Converted(placement.Apply({}));
        std::string node = "{";
        const std::string& label = !stone->Caption.empty() ? stone->Caption : stone->Name;
        if (!label.empty())
            node += "\"name\":" + JsonString(label) + ',';
        if (mesh >= 0)
            node += "\"mesh\":" + std::to_string(mesh) + ',';
        static const char* const kRotations[4] = {"", ",\"rotation\":[0,0.707106769,0,0.707106769]",
                                                  ",\"rotation\":[0,1,0,0]",
                                                  ",\"rotation\":[0,-0.707106769,0,0.707106769]"};
        node += "\"translation\":[" + FloatText(move[0]) + ',' + FloatText(move[1]) + ',' +
                FloatText(move[2]) + ']' + kRotations[placement.Turn & 3] + '}';
        AppendItem(FNodes, node);
        ++FNodeCount;
    }
}

void TGltfBuilder::Write(std::FILE* file) const {
    const size_t binaryLength = FBinaryLength;
    std::string json = "{\"asset\":{\"version\":\"2.0\",\"generator\":\"Stonemill\"}";
    if (FNodeCount > 0) {
        json += ",\"scene\":0,\"scenes\":[{\"name\":\"Model\",\"nodes\":[";
        for (int n = 0; n < FNodeCount; ++n) {
            if (n > 0)
                json += ',';
            json += std::to_string(n);
        }
        json += "]}],\"nodes\":[" + FNodes + ']';
    } else {
        json += ",\"scene\":0,\"scenes\":[{\"name\":\"Model\"}]";
    }
    if (FMeshCount > 0)
        json += ",\"meshes\":[" + FMeshes + ']';
    if (FMaterialCount > 0)
        json += ",\"materials\":[" + FMaterials + ']';
    if (FImageCount > 0)
        json += ",\"images\":[" + FImages + "],\"textures\":[" + FTextures +
                "],\"samplers\":[{\"magFilter\":9729,\"minFilter\":9987,\"wrapS\":33071,\"wrapT\":33071}]";
    if (FAccessorCount > 0)
        json += ",\"accessors\":[" + FAccessors + ']';
    if (binaryLength > 0)
        json += ",\"bufferViews\":[" + FBufferViews +
                "],\"buffers\":[{\"byteLength\":" + std::to_string(binaryLength) + "}]";
    json += '}';
    json.append((4 - json.size() % 4) % 4, ' ');

    const uint64_t total = 12 + 8 + json.size() + (binaryLength > 0 ? 8 + binaryLength : 0);
    if (total > UINT32_MAX)
        throw EError("The model is too large for a glTF file (more than 4 GB)");
    auto write32 = [&](uint32_t value) {
        const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                                  static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
        return std::fwrite(bytes, 1, 4, file) == 4;
    };
    bool ok = write32(0x46546C67) && write32(2) && write32(static_cast<uint32_t>(total)) &&
              write32(static_cast<uint32_t>(json.size())) && write32(0x4E4F534A) &&
              std::fwrite(json.data(), 1, json.size(), file) == json.size();
    if (binaryLength > 0) {
        ok = ok && write32(static_cast<uint32_t>(binaryLength)) && write32(0x004E4942);
        static const char kZeros[4] = {};
        for (const TBinaryPiece& piece : FPieces) {
            const size_t padding = (4 - piece.Bytes.size() % 4) % 4;
            ok = ok && std::fwrite(piece.Bytes.data(), 1, piece.Bytes.size(), file) == piece.Bytes.size() &&
                 std::fwrite(kZeros, 1, padding, file) == padding;
        }
    }
    if (!ok)
        throw EError("Cannot write the glTF file");
}

} // namespace

void WriteGltfFile(TExportJob& job, const fs::path& file) {
    const double moduleMillimetres = job.Options.ModuleMillimetres;
    if (!(moduleMillimetres > 0) || !std::isfinite(moduleMillimetres))
        throw EError("The size of a grid module must be a number of millimetres above 0");
    // Everything but the stream of bytes is worked out before the file is
    // opened, so a stone that cannot be exported leaves the old file alone.
    TGltfBuilder builder(moduleMillimetres, job.Shapes, job.Options.FindPicture);
    builder.Build(job.Stones);
    WriteFileAtomically(file, [&](std::FILE* out) {
        builder.Write(out);
        return true;
    });
}
