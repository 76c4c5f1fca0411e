#include "export/pov_scene.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <ctime>
#include <fstream>
#include <iomanip>
#include <limits>
#include <locale>
#include <optional>
#include <sstream>
#include <vector>

#include "common/error.h"
#include "common/strings.h"
#include "model/block_list.h"
#include "partlib/draw_class.h"

namespace fs = std::filesystem;

const char* const kPovIncludeFile = "smBlocks.inc";

namespace {

struct TBox3 {
    int64_t Min[3] = {0, 0, 0};
    int64_t Max[3] = {0, 0, 0};
};

// The lowest corner of the stones' places, and the highest corner of their boxes.
TBox3 ModelBox(const TBlockList& model) {
    TBox3 box;
    if (model.Count() == 0)
        return box;
    for (int a = 0; a < 3; ++a) {
        box.Min[a] = std::numeric_limits<int64_t>::max();
        box.Max[a] = std::numeric_limits<int64_t>::min();
    }
    for (const TBlock* s : model.Stones()) {
        const int64_t low[3] = {s->X, s->Y, s->Z};
        const int64_t high[3] = {int64_t{s->X} + s->Length, int64_t{s->Y} + s->Width,
                                 int64_t{s->Z} + s->Height};
        for (int a = 0; a < 3; ++a) {
            box.Min[a] = std::min(box.Min[a], low[a]);
            box.Max[a] = std::max(box.Max[a], high[a]);
        }
    }
    return box;
}

// Text for a line comment: control characters, a line break among them, as spaces.
std::string CommentText(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = ' ';
    return text;
}

std::string Vector(int64_t x, int64_t y, int64_t z, const char* separator) {
    return "<" + std::to_string(x) + separator + std::to_string(y) + separator + std::to_string(z) + ">";
}

std::string MaterialOf(TColor color, const TPovSettings& settings) {
    for (size_t i = 0; i < settings.Materials.size(); ++i)
        if (color == settings.Materials[i])
            return "Color" + std::to_string(i + 1);
    return "ColorX(" + PovNumber(GetRValue(color) / 256.0) + "," + PovNumber(GetGValue(color) / 256.0) + "," +
           PovNumber(GetBValue(color) / 256.0) + ")";
}

// A part polygon that makes a face: three points at least, not closed back on its first.
bool IsFace(const std::vector<TPoint3D>& points) {
    return points.size() >= 3 && !(points.front() == points.back());
}

// How a part's picture lies on its polygon. A picture on an upright face
// across y is stretched over the face's width and height so that it reads
// from the side the face looks toward, as the program shows it; any other
// picture is laid flat over the stone's length and width.
std::string PictureMapping(const TDrawClass& part, const std::vector<TPoint3D>& points, const TBlock& stone) {
    const int32_t y = points.front().Y;
    const bool acrossY =
        std::all_of(points.begin(), points.end(), [&](const TPoint3D& p) { return p.Y == y; });
    const auto [left, right] = std::minmax_element(
        points.begin(), points.end(), [](const TPoint3D& a, const TPoint3D& b) { return a.X < b.X; });
    const auto [low, high] = std::minmax_element(
        points.begin(), points.end(), [](const TPoint3D& a, const TPoint3D& b) { return a.Z < b.Z; });
    if (!acrossY || right->X == left->X || high->Z == low->Z)
        return StrFormat("      rotate <-90,0,0> scale <%d,1,%d>", stone.Length, stone.Width);
    // Seen from smaller y, x grows to the left.
    const bool facesSmallerY = 2 * y < part.BoundingY();
    return StrFormat("      scale <%d,%d,1> translate <%d,%d,0>",
                     facesSmallerY ? left->X - right->X : right->X - left->X, high->Z - low->Z,
                     facesSmallerY ? right->X : left->X, low->Z);
}

std::string PolygonText(const std::vector<TPoint3D>& points) {
    std::string text = StrFormat("polygon { %3d", static_cast<int>(points.size()));
    for (const TPoint3D& p : points)
        text += StrFormat(", <%d, %d, %d>", p.X, p.Z, p.Y);
    return text;
}

// The POV-Ray name of a picture format by the file's extension; empty for
// any other file, which POV-Ray on Linux cannot read.
std::string ImageFormatOf(const std::string& file) {
    const std::string lower = LowerCase(fs::path(file).extension().string());
    if (lower == ".bmp")
        return "bmp";
    if (lower == ".jpg" || lower == ".jpeg")
        return "jpeg";
    if (lower == ".gif")
        return "gif";
    if (lower == ".tga")
        return "tga";
    if (lower == ".png")
        return "png";
    return {};
}

// The file of a part's picture in the parts folder. Nothing for a name that
// leads out of that folder, a file that is not there, or a format POV-Ray
// cannot read: the picture is left out then, and the scene still renders.
std::optional<fs::path> PictureFile(const TDrawClass& part, const TPovSettings& settings) {
    const fs::path name = part.BitmapFileName;
    if (name.empty() || name.is_absolute() || ImageFormatOf(part.BitmapFileName).empty())
        return std::nullopt;
    for (const fs::path& step : name)
        if (step == "..")
            return std::nullopt;
    const fs::path file = settings.PartsFolder / name;
    std::error_code error;
    if (!fs::is_regular_file(file, error))
        return std::nullopt;
    return file;
}

// Whether a picture keeps its colours in a palette (a GIF, a PNG of palette
// colours, a BMP of 8 bits or fewer): POV-Ray makes a palette colour
// see-through with "transmit" and refuses the keyword for other pictures.
bool HasColorMap(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    unsigned char header[32] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    const auto read = in.gcount();
    if (read >= 6 && std::equal(header, header + 3, "GIF"))
        return true;
    if (read >= 26 && std::equal(header + 1, header + 4, "PNG") &&
        std::equal(header + 12, header + 16, "IHDR"))
        return header[25] == 3;
    if (read >= 30 && header[0] == 'B' && header[1] == 'M')
        return header[28] + 256 * header[29] <= 8;
    return false;
}

// The object name of every named stone as the scene writes it, by its lower
// case: the include file's spelling, else the first stone's. POV-Ray tells
// names apart by letter case; the include file's names are matched without.
using TSpellings = std::map<std::string, std::string>;

TSpellings ObjectSpellings(const TBlockList& model, const TDeclaredNames& declared) {
    TSpellings spellings;
    for (const TBlock* s : model.Stones()) {
        if (s->Name.empty())
            continue;
        const std::string name = PovName(s->Name);
        const std::string key = LowerCase(name);
        if (spellings.contains(key))
            continue;
        const auto found = declared.find(key);
        spellings.emplace(key, found != declared.end() ? found->second : name);
    }
    return spellings;
}

// The mock-ups of names the include file lacks: a general stone's part made
// from its polygons, any other stone its box, as it stands unturned.
void AddMockUps(TStringList& out, const TBlockList& model, const TDeclaredNames& declared,
                const TSpellings& spellings) {
    std::map<std::string, const TBlock*, TextLess> missing;
    for (const TBlock* s : model.Stones()) {
        if (s->Name.empty())
            continue;
        const std::string key = LowerCase(PovName(s->Name));
        if (!declared.contains(key))
            missing.emplace(spellings.at(key), s);
    }
    if (missing.empty())
        return;
    out.insert(out.end(), {"", "/* Parts missing from the library - mockups created by Stonemill */", "",
                           "#declare SW=0.02;", ""});
    for (const auto& [name, stone] : missing) {
        out.push_back("#declare " + name + " = object {");
        int32_t sizes[3];
        if (stone->Part != nullptr) {
            const TDrawClass& part = *stone->Part;
            out.push_back("  union {");
            for (int i = 0; i < part.PolygonCount(); ++i)
                if (IsFace(part.Polygon(i).Points))
                    out.push_back("    " + PolygonText(part.Polygon(i).Points) + "}");
            out.push_back("  }");
            sizes[0] = part.BoundingX();
            sizes[1] = part.BoundingZ();
            sizes[2] = part.BoundingY();
        } else {
            const bool turned = stone->Turn % 2 != 0;
            sizes[0] = turned ? stone->Width : stone->Length;
            sizes[1] = stone->Height;
            sizes[2] = turned ? stone->Length : stone->Width;
            out.push_back("  box { <0, 0, 0>, " + Vector(sizes[0], sizes[1], sizes[2], ", ") + " }");
        }
        // A flat part must not divide by nothing.
        for (int32_t& size : sizes)
            size = std::max(size, 1);
        out.push_back(
            StrFormat("  scale <1-SW*80/%d, 1-SW*80/%d, 1-SW*80/%d>", sizes[0], sizes[1], sizes[2]));
        out.push_back("  translate SW*80/2");
        out.push_back("}");
    }
    out.insert(out.end(), {"", "/* ------------------------------------------------------------ */", ""});
}

} // namespace

std::string PovNumber(double value) {
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return error == std::errc() ? std::string(buffer, end) : "0";
}

std::string PovName(const std::string& stoneName) {
    constexpr size_t kLongest = 255;
    std::string name = "G" + stoneName;
    for (char& c : name)
        if (!(c >= 'a' && c <= 'z') && !(c >= 'A' && c <= 'Z') && !(c >= '0' && c <= '9') && c != '_')
            c = '_';
    if (name.size() <= kLongest)
        return name;
    // FNV-1a over the whole stone name.
    uint64_t hash = 14695981039346656037ull;
    for (const unsigned char c : stoneName)
        hash = (hash ^ c) * 1099511628211ull;
    const std::string tail = StrFormat("_%016llx", static_cast<unsigned long long>(hash));
    return name.substr(0, kLongest - tail.size()) + tail;
}

std::optional<std::string> PovFileName(const std::string& file) {
    // POV-Ray reads no string longer than 255 characters.
    constexpr size_t kPiece = 200;
    std::vector<std::string> pieces;
    std::string literal;
    auto endLiteral = [&] {
        if (!literal.empty())
            pieces.push_back("\"" + literal + "\"");
        literal.clear();
    };
    for (const unsigned char c : file) {
        if (c == 0 || c >= 0x80)
            return std::nullopt;
        if (c < 0x20 || c == 0x7F || c == '"' || c == '\\') {
            endLiteral();
            pieces.push_back("chr(" + std::to_string(c) + ")");
            continue;
        }
        literal += static_cast<char>(c);
        if (literal.size() == kPiece)
            endLiteral();
    }
    endLiteral();
    if (pieces.empty())
        return "\"\"";
    if (pieces.size() == 1)
        return pieces.front();
    std::string joined = "concat(" + pieces.front();
    for (size_t i = 1; i < pieces.size(); ++i)
        joined += ", " + pieces[i];
    return joined + ")";
}

TDeclaredNames ReadDeclaredNames(const fs::path& includeFile) {
    TDeclaredNames names;
    for (const std::string& raw : LoadLines(includeFile)) {
        const std::string line = LowerCase(Trim(raw));
        if (!StartsWithText(line, "#declare") || line.find("unfinished") != std::string::npos)
            continue;
        const size_t space = line.find(' ');
        if (space == std::string::npos)
            continue;
        const size_t end = line.find(' ', space + 1);
        const std::string word =
            line.substr(space + 1, end == std::string::npos ? std::string::npos : end - space - 1);
        if (word.empty())
            continue;
        // The declaration's own spelling, which the scene must use.
        const std::string trimmed = Trim(raw);
        const size_t at = trimmed.find(' ');
        names.emplace(word, trimmed.substr(at + 1, word.size()));
    }
    return names;
}

TStringList PovSceneLines(const TBlockList& model, const TPovSettings& settings,
                          const TDeclaredNames& declared) {
    TStringList out = {"// Persistence of Vision Ray Tracer Scene Description File",
                       "// File: test.pov",
                       "// Vers: 3.5",
                       "// Desc: Produced by Stonemill",
                       "// Date: " + CommentText(settings.Date),
                       "//",
                       "",
                       "#version 3.5;",
                       "",
                       "#include " + PovFileName(kPovIncludeFile).value(),
                       "",
                       "#declare USE_RADIOSITY = 0;",
                       "",
                       "global_settings {",
                       "  assumed_gamma 1.4",
                       "#if (USE_RADIOSITY)",
                       "  ambient_light 0",
                       "  max_trace_level 25",
                       "  adc_bailout 1/150",
                       "  radiosity {",
                       "    pretrace_start 0.08",
                       "    pretrace_end 0.01",
                       "    count 300",
                       "    error_bound 0.1",
                       "    recursion_limit 1",
                       "  }",
                       "#end",
                       "}",
                       "",
                       "// ----------------------------------------",
                       "",
                       "#if (USE_RADIOSITY)",
                       "  sky_sphere {",
                       "    pigment {",
                       "      gradient y",
                       "      color_map {",
                       "        [0.5 rgb 1.25]",
                       "        [1 rgb <.5,.7,1>*1.1]",
                       "      }",
                       "    }",
                       "  }",
                       "#else",
                       "  sky_sphere {",
                       "    pigment {",
                       "      gradient y",
                       "      color_map {",
                       "        [0.0 rgb <0.6,0.7,1.0>]",
                       "        [0.7 rgb <0.0,0.1,0.8>]",
                       "      }",
                       "    }",
                       "  }",
                       "",
                       "#end",
                       ""};
    const auto& light = settings.Light;
    out.insert(out.end(), {"light_source {",
                           StrFormat("  <%d,%d,%d>", -1000 * light[0], 1000 * light[2], 1000 * light[1]),
                           "  color rgb 0.55*<1, 1, 1>", "}", ""});

    // The camera on the view's line of sight, 10000 / scale units away.
    const double a = settings.AngleX, c = settings.AngleZ, s = settings.ViewScale;
    // Whole numbers, and never "-0".
    auto whole = [](double v) { return PovNumber(std::trunc(v) + 0.0); };
    const std::string camera = "<" + whole(-std::sin(c) * std::sin(a) * 10000 / s) + "," +
                               whole(std::cos(a) * 10000 / s) + "," +
                               whole(std::cos(c) * std::sin(a) * 10000 / s) + ">";
    out.insert(out.end(), {"light_source { // At the same pos as the camera", "  " + camera,
                           "  color rgb 0.35*<1, 1, 1>", "  shadowless", "}",
                           "light_source { <0, 5000000, 0> color 0.5 shadowless }",
                           "// ----------------------------------------", "", "plane {", "  y, -0.1",
                           "#if (USE_RADIOSITY)", "  pigment { color rgb <0.7,0.5,0.3>*0.5 }", "#else",
                           "  pigment { color rgb <0.7,0.5,0.3> }", "#end", "}", ""});

    const TBox3 box = ModelBox(model);
    int64_t centre[3];
    for (int i = 0; i < 3; ++i)
        centre[i] = (box.Max[i] - box.Min[i]) / 2;
    out.insert(out.end(), {"camera {", "  location " + camera, "  direction 1.5*z",
                           "  right     -x*image_width/image_height",
                           "  look_at   " + Vector(centre[0], centre[2], centre[1], ", "), "  angle 3",
                           "#if (USE_RADIOSITY)", "  focal_point <150,-50,-150>", "  aperture 25",
                           "  blur_samples 70", "  variance 1/1000 //even better: 0.0", "#end", "}", ""});

    const TSpellings spellings = ObjectSpellings(model, declared);
    AddMockUps(out, model, declared, spellings);

    for (const TBlock* stone : model.Stones()) {
        if (stone->Name.empty())
            continue;
        int64_t x = stone->X - box.Min[0], y = stone->Y - box.Min[1];
        const int64_t z = stone->Z - box.Min[2];
        const int turn = ((stone->Turn % 4) + 4) % 4;
        if (turn == 1 || turn == 2)
            y += stone->Width;
        if (turn == 2 || turn == 3)
            x += stone->Length;
        const std::string rotation = "<0, " + PovNumber(90.0 * turn) + ", 0>";
        const std::string translation = Vector(x, z, y, " ");
        const std::string& name = spellings.at(LowerCase(PovName(stone->Name)));
        out.push_back("#object { " + name + " rotate " + rotation + " translate " + translation +
                      " material {" + MaterialOf(stone->Color, settings) + "} }");

        const TDrawClass* part = stone->Part;
        if (part == nullptr || part->BitmapPolygon < 0 || part->BitmapPolygon >= part->PolygonCount())
            continue;
        const auto& points = part->Polygon(part->BitmapPolygon).Points;
        if (!IsFace(points))
            continue;
        const std::optional<fs::path> picture = PictureFile(*part, settings);
        const std::optional<std::string> pictureName =
            picture ? PovFileName(picture->string()) : std::nullopt;
        if (!pictureName)
            continue;
        out.push_back("#object {" + PolygonText(points) + "  }");
        out.insert(out.end(), {"    pigment {", "      image_map {",
                               "        " + ImageFormatOf(part->BitmapFileName) + " " + *pictureName});
        if (HasColorMap(*picture))
            out.push_back("        transmit 1 1.0");
        out.insert(out.end(), {"      }", PictureMapping(*part, points, *stone), "    }",
                               "  rotate " + rotation + " translate " + translation + "}"});
    }
    return out;
}

void WritePovScene(TBlockList& model, const TPovSettings& settings, const fs::path& includeFolder,
                   const fs::path& folder) {
    const TDeclaredNames declared = ReadDeclaredNames(includeFolder / kPovIncludeFile);
    for (TBlock* stone : model.Stones())
        if (stone->Kind == ' ')
            stone->Kind = 'B';
    SaveLines(folder / "test.pov", PovSceneLines(model, settings, declared));
    SaveLines(folder / "povray.ini", {"-V +W320 +H240"});
}

std::string ShortDateToday() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream text;
    try {
        text.imbue(std::locale(""));
    } catch (const std::runtime_error&) {
        // The desktop names no usable language: the plain form.
    }
    text << std::put_time(&local, "%x");
    return text.str();
}
