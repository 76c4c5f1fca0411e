#include "export/ldraw_writer.h"

#include <cmath>
#include <cstdio>
#include <map>
#include <string>

#include "common/error.h"
#include "common/strings.h"
#include "export/export_stream.h"
#include "export/model_export.h"
#include "export/stone_mesh.h"
#include "model/block.h"
#include "platform/atomic_file.h"

namespace fs = std::filesystem;

namespace {

using TMatrix = std::array<std::array<int, 3>, 3>;

// Our axes to LDraw's: (x, y, z) becomes (x, -z, -y). It is its own inverse.
constexpr TMatrix kToLDraw = {{{1, 0, 0}, {0, 0, -1}, {0, -1, 0}}};

TMatrix Product(const TMatrix& a, const TMatrix& b) {
    TMatrix c{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                c[i][j] += a[i][k] * b[k][j];
    return c;
}

// A quarter turn of a placement in our axes: -90 degrees about z per quarter.
TMatrix TurnMatrix(int turn) {
    switch (turn & 3) {
    case 1:
        return {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}};
    case 2:
        return {{{-1, 0, 0}, {0, -1, 0}, {0, 0, 1}}};
    case 3:
        return {{{0, -1, 0}, {1, 0, 0}, {0, 0, 1}}};
    default:
        return {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    }
}

// A number as LDraw files write them: no exponent, at most four decimals.
void AppendNumber(std::string& out, double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string number = text;
    while (number.back() == '0')
        number.pop_back();
    if (number.back() == '.')
        number.pop_back();
    out += number == "-0" ? "0" : number;
}

void AppendPoint(std::string& out, const TMeshPoint& p) {
    // Converted to LDraw's axes.
    out += ' ';
    AppendNumber(out, p.X);
    out += ' ';
    AppendNumber(out, -p.Z);
    out += ' ';
    AppendNumber(out, -p.Y);
}

std::string HexColour(TColor color) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02X%02X%02X", GetRValue(color), GetGValue(color), GetBValue(color));
    return text;
}

// The edge colour of a face colour: dark edges on light stones, light ones
// on dark stones, as LDraw's own colours have.
TColor EdgeColourOf(TColor color) {
    const int luminance = (GetRValue(color) * 299 + GetGValue(color) * 587 + GetBValue(color) * 114) / 1000;
    return luminance < 64 ? RGB(89, 89, 89) : RGB(51, 51, 51);
}

struct TPointKey {
    double X, Y, Z;
    bool operator<(const TPointKey& o) const { return X != o.X ? X < o.X : Y != o.Y ? Y < o.Y : Z < o.Z; }
};

// The edges of a shape where its surface bends: between two triangles that
// do not lie in one plane, and where a triangle has no neighbour. Points are
// matched by place, so faces that carry their own corners still meet.
std::vector<std::pair<TMeshPoint, TMeshPoint>> OuterEdges(const TStoneMesh& mesh) {
    struct TEdge {
        TMeshPoint A, B;
        std::vector<std::array<double, 3>> Normals;
    };
    std::map<std::pair<TPointKey, TPointKey>, TEdge> edges;
    for (const TMeshTriangle& t : mesh.Triangles) {
        const TMeshPoint &a = mesh.Points[t[0]], &b = mesh.Points[t[1]], &c = mesh.Points[t[2]];
        const double ux = b.X - a.X, uy = b.Y - a.Y, uz = b.Z - a.Z;
        const double vx = c.X - a.X, vy = c.Y - a.Y, vz = c.Z - a.Z;
        std::array<double, 3> n = {uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx};
        const double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
        if (length == 0)
            continue;
        for (double& v : n)
            v /= length;
        for (int k = 0; k < 3; ++k) {
            TMeshPoint p = mesh.Points[t[k]], q = mesh.Points[t[(k + 1) % 3]];
            TPointKey kp{p.X, p.Y, p.Z}, kq{q.X, q.Y, q.Z};
            if (kq < kp) {
                std::swap(kp, kq);
                std::swap(p, q);
            }
            TEdge& edge = edges[{kp, kq}];
            edge.A = p;
            edge.B = q;
            edge.Normals.push_back(n);
        }
    }
    std::vector<std::pair<TMeshPoint, TMeshPoint>> outer;
    for (const auto& [key, edge] : edges) {
        bool bends = edge.Normals.size() != 2;
        if (!bends) {
            const auto &m = edge.Normals[0], &n = edge.Normals[1];
            bends = m[0] * n[0] + m[1] * n[1] + m[2] * n[2] < 1 - 1e-9;
        }
        if (bends)
            outer.emplace_back(edge.A, edge.B);
    }
    return outer;
}

struct TColourKey {
    TColor Color;
    bool Transparent;
    bool operator<(const TColourKey& o) const {
        return Color != o.Color ? Color < o.Color : Transparent < o.Transparent;
    }
};

// LDraw's direct colour: 0x2RRGGBB, see-through 0x3RRGGBB.
std::string DirectColour(TColor color, bool transparent) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%c%02X%02X%02X", transparent ? '3' : '2', GetRValue(color),
                  GetGValue(color), GetBValue(color));
    return text;
}

std::string ShapeFileName(int index, const TColourKey& colour) {
    char hex[8];
    std::snprintf(hex, sizeof hex, "%02X%02X%02X", GetRValue(colour.Color), GetGValue(colour.Color),
                  GetBValue(colour.Color));
    return "shape-" + std::to_string(index + 1) + '-' + hex + (colour.Transparent ? "-clear" : "") + ".dat";
}

// The subfile of a shape in one colour, in LDraw's axes. Their change of
// hand turns the winding round, so each triangle's corners are written in
// reverse to stay counter-clockwise seen from outside.
std::string ShapeText(const TShapeCatalogue::TShape& shape, const TColourKey& colour) {
    const std::string name = ShapeFileName(shape.Index, colour);
    std::string text = "0 FILE " + name + "\r\n0 Stonemill shape " + OneLineText(shape.Key) + ' ' +
                       HexColour(colour.Color) + (colour.Transparent ? " see-through" : "") +
                       "\r\n0 Name: " + name + "\r\n0 !LDRAW_ORG Unofficial_Part\r\n0 BFC CERTIFY CCW\r\n";
    const TStoneMesh& mesh = shape.Mesh;
    const std::string face = "3 " + DirectColour(colour.Color, colour.Transparent);
    for (const TMeshTriangle& t : mesh.Triangles) {
        text += face;
        AppendPoint(text, mesh.Points[t[0]]);
        AppendPoint(text, mesh.Points[t[2]]);
        AppendPoint(text, mesh.Points[t[1]]);
        text += "\r\n";
    }
    const std::string edge = "2 " + DirectColour(EdgeColourOf(colour.Color), false);
    for (const auto& [a, b] : OuterEdges(mesh)) {
        text += edge;
        AppendPoint(text, a);
        AppendPoint(text, b);
        text += "\r\n";
    }
    return text + "0 NOFILE\r\n";
}

// The model's title line: the file's name on one line. A name that begins
// as one of LDraw's meta commands ("FILE", "NOFILE", "!…", …) would be read
// as that command, so it is marked as the model's name.
std::string LdrawTitle(const std::string& stem) {
    const std::string title = Trim(OneLineText(stem));
    if (title.empty())
        return "Model";
    const std::string first = UpperCase(title.substr(0, title.find(' ')));
    static const char* const kMeta[] = {"FILE",  "NOFILE", "NAME:", "AUTHOR:", "BFC",   "STEP",
                                        "CLEAR", "PAUSE",  "SAVE",  "WRITE",   "PRINT", "ROTSTEP"};
    for (const char* meta : kMeta)
        if (first == meta)
            return "Model " + title;
    return title[0] == '!' ? "Model " + title : title;
}

} // namespace

void WriteLdrawFile(TExportJob& job, const fs::path& file) {
    // Shapes are built before the file is opened, so a stone that cannot be
    // exported leaves the old file alone.
    const std::vector<const TBlock*>& stones = job.Stones;
    TShapeCatalogue& shapes = job.Shapes;
    std::vector<const TShapeCatalogue::TShape*> shapeOf;
    shapeOf.reserve(stones.size());
    // Each shape and colour, in the order first met.
    std::map<std::pair<int, TColourKey>, int> subfiles;
    std::vector<std::pair<const TShapeCatalogue::TShape*, TColourKey>> subfileList;
    for (const TBlock* stone : stones) {
        const TShapeCatalogue::TShape& shape = shapes.ShapeOf(*stone);
        shapeOf.push_back(&shape);
        const TColourKey colour{ColorToRGB(stone->Color), stone->Transparent};
        if (!shape.Mesh.Triangles.empty() &&
            subfiles.emplace(std::make_pair(shape.Index, colour), static_cast<int>(subfileList.size()))
                .second)
            subfileList.emplace_back(&shape, colour);
    }

    const std::string title = LdrawTitle(file.stem().string());
    WriteFileAtomically(file, [&](std::FILE* out) {
        std::string text =
            "0 FILE main.ldr\r\n0 " + title + "\r\n0 Name: main.ldr\r\n0 Author: Stonemill\r\n";
        bool ok = true;
        auto flush = [&](bool always) {
            if (always || text.size() > (1 << 16)) {
                ok = ok && std::fwrite(text.data(), 1, text.size(), out) == text.size();
                text.clear();
            }
        };
        for (size_t n = 0; n < stones.size(); ++n) {
            const TBlock& stone = *stones[n];
            if (shapeOf[n]->Mesh.Triangles.empty())
                continue;
            const TStonePlacement placement = PlacementOf(stone);
            // In LDraw's axes the turn is kToLDraw * turn * kToLDraw and the
            // move is where the shape's origin lands.
            const TMatrix turn = Product(Product(kToLDraw, TurnMatrix(placement.Turn)), kToLDraw);
            text += "1 16";
            AppendPoint(text, placement.Apply({}));
            for (const auto& row : turn)
                for (int v : row)
                    text += ' ' + std::to_string(v);
            text +=
                ' ' + ShapeFileName(shapeOf[n]->Index, {ColorToRGB(stone.Color), stone.Transparent}) + "\r\n";
            flush(false);
        }
        text += "0 NOFILE\r\n";
        for (const auto& [shape, colour] : subfileList) {
            text += ShapeText(*shape, colour);
            flush(false);
        }
        flush(true);
        return ok;
    });
}
