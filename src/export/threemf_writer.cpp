#include "export/threemf_writer.h"

#include <algorithm>
#include <limits>
#include <map>
#include <minizip/zip.h>
#include <zlib.h>

#include "common/error.h"
#include "export/export_stream.h"
#include "export/file_axes.h"
#include "export/model_export.h"
#include "model/block.h"
#include "platform/atomic_file.h"

namespace fs = std::filesystem;

namespace {

const char* const kContentTypes =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">\n"
    " <Default Extension=\"rels\" "
    "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>\n"
    " <Default Extension=\"model\" ContentType=\"application/vnd.ms-package.3dmanufacturing-3dmodel+xml\"/>\n"
    "</Types>\n";

const char* const kRelationships =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">\n"
    " <Relationship Target=\"/3D/3dmodel.model\" Id=\"rel0\" "
    "Type=\"http://schemas.microsoft.com/3dmanufacturing/2013/01/3dmodel\"/>\n"
    "</Relationships>\n";

// The zip library writes through these into the file the atomic save opened.
voidpf ZipOpen(voidpf opaque, const void*, int) {
    return opaque;
}
uLong ZipRead(voidpf, voidpf stream, void* buffer, uLong size) {
    return std::fread(buffer, 1, size, static_cast<std::FILE*>(stream));
}
uLong ZipWrite(voidpf, voidpf stream, const void* buffer, uLong size) {
    return std::fwrite(buffer, 1, size, static_cast<std::FILE*>(stream));
}
ZPOS64_T ZipTell(voidpf, voidpf stream) {
    const off_t at = ftello(static_cast<std::FILE*>(stream));
    return at < 0 ? static_cast<ZPOS64_T>(-1) : static_cast<ZPOS64_T>(at);
}
long ZipSeek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    const int whence = origin == ZLIB_FILEFUNC_SEEK_CUR   ? SEEK_CUR
                       : origin == ZLIB_FILEFUNC_SEEK_END ? SEEK_END
                                                          : SEEK_SET;
    return fseeko(static_cast<std::FILE*>(stream), static_cast<off_t>(offset), whence) == 0 ? 0 : -1;
}
int ZipClose(voidpf, voidpf) {
    return 0; // the atomic save closes the file
}
int ZipError(voidpf, voidpf stream) {
    return std::ferror(static_cast<std::FILE*>(stream));
}

// A zip archive written into an open file; every failure raises EError.
class TZipWriter {
public:
    explicit TZipWriter(std::FILE* file) {
        zlib_filefunc64_def functions{ZipOpen, ZipRead, ZipWrite, ZipTell, ZipSeek, ZipClose, ZipError, file};
        FZip = zipOpen2_64("package", APPEND_STATUS_CREATE, nullptr, &functions);
        if (FZip == nullptr)
            throw EError("The package could not be started.");
    }
    ~TZipWriter() {
        if (FZip != nullptr)
            zipClose(FZip, nullptr);
    }
    TZipWriter(const TZipWriter&) = delete;
    TZipWriter& operator=(const TZipWriter&) = delete;

    void Begin(const char* name) {
        zip_fileinfo info{};
        info.tmz_date.tm_year = 1980;
        info.tmz_date.tm_mday = 1;
        // The fastest compression: the model part of a large model is big and plain.
        if (zipOpenNewFileInZip64(FZip, name, &info, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                  Z_BEST_SPEED, 0) != ZIP_OK)
            throw EError("The package could not be written.");
    }
    bool Write(const char* data, size_t size) {
        while (size > 0) {
            const unsigned piece = static_cast<unsigned>(std::min<size_t>(size, 1u << 30));
            if (zipWriteInFileInZip(FZip, data, piece) != ZIP_OK)
                return false;
            data += piece;
            size -= piece;
        }
        return true;
    }
    void End() {
        if (zipCloseFileInZip(FZip) != ZIP_OK)
            throw EError("The package could not be written.");
    }
    void Close() {
        const int result = zipClose(FZip, nullptr);
        FZip = nullptr;
        if (result != ZIP_OK)
            throw EError("The package could not be written.");
    }
    void Entry(const char* name, const std::string& text) {
        Begin(name);
        if (!Write(text.data(), text.size()))
            throw EError("The package could not be written.");
        End();
    }

private:
    zipFile FZip = nullptr;
};

struct TColorGroup {
    TColor Color = 0;
    bool Transparent = false;
    std::vector<const TBlock*> Stones;
};

std::vector<TColorGroup> GroupByColor(const std::vector<const TBlock*>& stones) {
    std::vector<TColorGroup> groups;
    std::map<std::pair<TColor, bool>, size_t> index;
    for (const TBlock* stone : stones) {
        const std::pair<TColor, bool> key{ColorToRGB(stone->Color), stone->Transparent};
        auto [at, added] = index.emplace(key, groups.size());
        if (added)
            groups.push_back({key.first, key.second, {}});
        groups[at->second].Stones.push_back(stone);
    }
    return groups;
}

std::string HexColor(const TColorGroup& group) {
    return StrFormat("#%02X%02X%02X%s", GetRValue(group.Color), GetGValue(group.Color),
                     GetBValue(group.Color), group.Transparent ? "80" : "");
}

void WriteModelPart(TExportStream& out, TExportJob& job, const std::vector<TColorGroup>& groups) {
    const double scale = job.MillimetresPerUnit();
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<model unit=\"millimeter\" xml:lang=\"en-US\" "
           "xmlns=\"http://schemas.microsoft.com/3dmanufacturing/core/2015/02\">\n"
           " <metadata name=\"Application\">Stonemill</metadata>\n"
           " <resources>\n  <basematerials id=\"1\">\n";
    for (const TColorGroup& group : groups)
        out << "   <base name=\"Colour " << HexColor(group) << "\" displaycolor=\"" << HexColor(group)
            << "\"/>\n";
    out << "  </basematerials>\n";
    for (size_t g = 0; g < groups.size(); ++g) {
        out << "  <object id=\"";
        out.Whole(g + 2) << "\" type=\"model\" pid=\"1\" pindex=\"";
        out.Whole(g) << "\" name=\"Colour " << HexColor(groups[g]) << "\">\n   <mesh>\n    <vertices>\n";
        for (const TBlock* stone : groups[g].Stones) {
            const TStonePlacement placement = PlacementOf(*stone);
            for (const TMeshPoint& shapePoint : job.Shapes.ShapeOf(*stone).Mesh.Points) {
                const TMeshPoint p = ZUpFilePoint(placement.Apply(shapePoint), scale);
                out << "     <vertex x=\"";
                out.Number(p.X) << "\" y=\"";
                out.Number(p.Y) << "\" z=\"";
                out.Number(p.Z) << "\"/>\n";
            }
        }
        out << "    </vertices>\n    <triangles>\n";
        uint64_t first = 0;
        for (const TBlock* stone : groups[g].Stones) {
            const TStoneMesh& mesh = job.Shapes.ShapeOf(*stone).Mesh;
            for (const TMeshTriangle& shapeTriangle : mesh.Triangles) {
                const TMeshTriangle t = FileTriangle(shapeTriangle);
                out << "     <triangle v1=\"";
                out.Whole(first + t[0]) << "\" v2=\"";
                out.Whole(first + t[1]) << "\" v3=\"";
                out.Whole(first + t[2]) << "\"/>\n";
            }
            first += mesh.Points.size();
        }
        out << "    </triangles>\n   </mesh>\n  </object>\n";
    }
    out << " </resources>\n <build>\n";
    for (size_t g = 0; g < groups.size(); ++g) {
        out << "  <item objectid=\"";
        out.Whole(g + 2) << "\"/>\n";
    }
    out << " </build>\n</model>\n";
}

} // namespace

void Write3mfFile(TExportJob& job, const fs::path& path) {
    const std::vector<TColorGroup> groups = GroupByColor(job.Stones);
    WriteFileAtomically(path, [&](std::FILE* file) {
        TZipWriter zip(file);
        zip.Entry("[Content_Types].xml", kContentTypes);
        zip.Entry("_rels/.rels", kRelationships);
        zip.Begin("3D/3dmodel.model");
        TExportStream out([&zip](const char* data, size_t size) { return zip.Write(data, size); }, 1 << 18);
        WriteModelPart(out, job, groups);
        out.Flush();
        // Without zip64 fields the sizes of a part are 32 bits.
        if (out.Written() > std::numeric_limits<uint32_t>::max())
            throw EError("The model is too large for a 3MF file.");
        zip.End();
        zip.Close();
        return true;
    });
}
