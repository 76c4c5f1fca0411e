#include "partlib/part_file.h"

#include <memory>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/convert.h"
#include "common/error.h"
#include "common/strings.h"
#include "platform/data_folders.h"

namespace fs = std::filesystem;

namespace {

struct TColorNumber {
    int32_t Number;
    int R, G, B;
};

// The library's colour table (number -> red, green, blue).
constexpr TColorNumber kColorNumbers[] = {
    {0, 51, 51, 51},      // Black
    {1, 0, 51, 178},      // Blue
    {2, 0, 127, 51},      // Green
    {3, 0, 128, 128},     // Dark Cyan
    {4, 204, 0, 0},       // Red
    {5, 255, 51, 153},    // Magenta
    {6, 102, 51, 0},      // Brown
    {7, 153, 153, 153},   // Grey
    {8, 102, 102, 88},    // Dark grey
    {9, 0, 128, 255},     // Light blue
    {10, 51, 255, 102},   // Light green
    {11, 128, 255, 255},  // Cyan
    {12, 255, 128, 128},  // Light red
    {13, 255, 176, 204},  // Pink
    {14, 255, 229, 0},    // Yellow
    {15, 255, 255, 255},  // White
    {334, 240, 176, 51},  // Gold
    {382, 210, 182, 123}, // Tan
    {383, 204, 204, 204}, // Chrome
    {495, 255, 255, 128}, // Light Yellow
};

bool EndsSection(const std::string& line) {
    return line.empty() || line[0] == '[';
}

// The section's values by key (letter case ignored), the first line of a key
// winning: each key is looked up once, whatever the section's size.
class TSectionValues {
public:
    explicit TSectionValues(const TStringList& section) {
        for (const auto& line : section) {
            const size_t eq = line.find('=');
            if (eq != std::string::npos)
                FValues.emplace(UpperCase(std::string_view(line).substr(0, eq)),
                                std::string_view(line).substr(eq + 1));
        }
    }
    std::optional<std::string_view> Find(const std::string& key) const {
        auto it = FValues.find(UpperCase(key));
        return it == FValues.end() ? std::nullopt : std::optional<std::string_view>(it->second);
    }

private:
    std::unordered_map<std::string, std::string_view> FValues;
};

int32_t CheckedCount(int32_t count, const char* what, const std::string& part, const std::string& file) {
    if (count < 0 || count > kMaxPartCount)
        throw EError(
            StrFormat("Illegal %s %d in part %s in file %s", what, count, part.c_str(), file.c_str()));
    return count;
}

// A polygon number as the file writes it (from 1), within what a part can hold.
int32_t CheckedNumber(int32_t number, const char* what, const std::string& part, const std::string& file) {
    if (number < -kMaxPartCount || number > kMaxPartCount)
        throw EError(
            StrFormat("Illegal %s %d in part %s in file %s", what, number, part.c_str(), file.c_str()));
    return number;
}

int32_t CheckedCoordinate(int32_t value, const char* what, int32_t largest, const std::string& part,
                          const std::string& file) {
    if (value < -largest || value > largest)
        throw EError(
            StrFormat("Illegal %s %d in part %s in file %s", what, value, part.c_str(), file.c_str()));
    return value;
}

// The numbers written in the section's lines (runs of digits, keys' digits
// included): what its polygons, points and draw orders may add up to.
int64_t CountNumbers(const TStringList& section) {
    int64_t numbers = 0;
    for (const auto& line : section) {
        bool inNumber = false;
        for (char c : line) {
            const bool digit = c >= '0' && c <= '9';
            numbers += digit && !inNumber;
            inNumber = digit;
        }
    }
    return numbers;
}

// Refuses a count of things the section does not write numbers for.
void CheckBacked(int64_t count, const char* what, int64_t numbers, const std::string& part,
                 const std::string& file) {
    if (count > numbers)
        throw EError(StrFormat("Part %s in file %s counts %lld %s but writes only %lld numbers", part.c_str(),
                               file.c_str(), static_cast<long long>(count), what,
                               static_cast<long long>(numbers)));
}

TPartPolygon ReadPolygon(std::string_view value, const std::string& part, const std::string& file) {
    TNumberScanner scan(value);
    TPartPolygon polygon;
    int32_t count = CheckedCount(scan.Next(), "point count", part, file);
    polygon.EdgeFlags = scan.Next();
    polygon.Points.resize(static_cast<size_t>(count));
    for (auto& point : polygon.Points) {
        point.X = CheckedCoordinate(scan.Next(), "point coordinate", kMaxPartCoordinate, part, file);
        point.Y = CheckedCoordinate(scan.Next(), "point coordinate", kMaxPartCoordinate, part, file);
        point.Z = CheckedCoordinate(scan.Next(), "point coordinate", kMaxPartCoordinate, part, file);
    }
    polygon.Detail = scan.Next();
    polygon.Color = scan.Next();
    if (polygon.Color == -1)
        polygon.Color = static_cast<int32_t>(ColorFromNumber(scan.Next()));
    return polygon;
}

// parts/NAME.bcp, for a name that stays inside the parts folder.
std::optional<fs::path> SinglePartName(const std::string& partName) {
    if (partName.empty() || partName == "." || partName == ".." || partName.find('/') != std::string::npos ||
        partName.find('\0') != std::string::npos)
        return std::nullopt;
    return fs::path("parts") / (partName + ".bcp");
}

// A library file as read, with the line each of its sections starts at (by
// its header in capitals; the first of a header wins, as a search from the
// top finds it). The file read last is kept until it changes, so that the
// many parts a model takes from one file read and index it once.
struct TLibraryText {
    TStringList Lines;
    std::unordered_map<std::string, size_t> Sections;
    int64_t Bytes = 0;
    fs::file_time_type Time;
    uintmax_t Size = 0;
};

std::shared_ptr<const TLibraryText> ReadLibrary(const fs::path& path) {
    static std::mutex guard;
    static fs::path lastPath;
    static std::shared_ptr<const TLibraryText> last;
    std::error_code error;
    const fs::file_time_type time = fs::last_write_time(path, error);
    const uintmax_t size = error ? 0 : fs::file_size(path, error);
    {
        const std::lock_guard lock(guard);
        if (last && !error && lastPath == path && last->Time == time && last->Size == size)
            return last;
    }
    auto library = std::make_shared<TLibraryText>();
    library->Lines = LoadLines(path);
    library->Time = time;
    library->Size = size;
    for (size_t i = 0; i < library->Lines.size(); ++i) {
        const std::string& line = library->Lines[i];
        library->Bytes += static_cast<int64_t>(line.size()) + 1;
        if (!line.empty() && line[0] == '[')
            library->Sections.emplace(UpperCase(line), i);
    }
    const std::lock_guard lock(guard);
    lastPath = error ? fs::path() : path;
    last = library;
    return library;
}

} // namespace

std::optional<fs::path> SinglePartFile(const std::string& partName) {
    const auto name = SinglePartName(partName);
    if (!name)
        return std::nullopt;
    return DataFolders().WritePath(*name);
}

bool PartNameInLibrary(const std::string& partName) {
    const auto single = SinglePartName(partName);
    if (!single)
        return false;
    if (DataFolders().Find(*single))
        return true;
    const std::string header = "[" + partName + "]";
    for (const fs::path& folder : {DataFolders().User() / "parts", DataFolders().Shipped() / "parts"}) {
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
            if (!EndsWithText(it->path().filename().string(), ".dat"))
                continue;
            try {
                for (const std::string& line : LoadLines(it->path()))
                    if (SameText(Trim(line), header))
                        return true;
            } catch (const EError&) {
                // A library file that cannot be read holds no part.
            }
        }
    }
    return false;
}

TColor ColorFromNumber(int32_t number) {
    for (const auto& entry : kColorNumbers) {
        if (entry.Number == number)
            return RGB(entry.R, entry.G, entry.B);
    }
    return RGB(kColorNumbers[0].R, kColorNumbers[0].G, kColorNumbers[0].B);
}

TPartSource TPartReader::Load(TDrawClass& def, const std::string& file, const std::string& part) {
    std::string name = part;
    if (EndsWithText(name, ".dat"))
        name.resize(name.size() - 4);
    std::optional<fs::path> path;
    if (auto single = SinglePartName(name))
        path = DataFolders().Find(*single);
    // Library files lie in the parts folder: a name that would lead out of it
    // (as a model file may hold) is not looked for.
    const bool inside = !file.empty() && file != "." && file != ".." && file.find('/') == std::string::npos &&
                        file.find('\\') == std::string::npos && file.find('\0') == std::string::npos;
    if (!path && inside)
        path = DataFolders().Find(fs::path("parts") / file);
    if (!path)
        throw EError(StrFormat("Could not find part/file %s/%s", name.c_str(), file.c_str()));
    const std::shared_ptr<const TLibraryText> library = ReadLibrary(*path);
    const auto section = library->Sections.find(UpperCase("[" + name + "]"));
    if (section == library->Sections.end())
        throw EError(StrFormat("Could not find part %s in file %s", name.c_str(), file.c_str()));
    LoadSection(def, library->Lines, section->second, file, part);
    return TPartSource{*path, library->Bytes};
}

void TPartReader::LoadFromLines(TDrawClass& def, const TStringList& lines, const std::string& file,
                                const std::string& part) {
    std::string name = part;
    if (EndsWithText(name, ".dat"))
        name.resize(name.size() - 4);
    const std::string header = "[" + name + "]";
    size_t start = 0;
    while (start < lines.size() && !SameText(lines[start], header))
        ++start;
    if (start == lines.size())
        throw EError(StrFormat("Could not find part %s in file %s", name.c_str(), file.c_str()));
    LoadSection(def, lines, start, file, part);
}

void TPartReader::LoadSection(TDrawClass& def, const TStringList& lines, size_t start,
                              const std::string& file, const std::string& part) {
    std::string name = part;
    if (EndsWithText(name, ".dat"))
        name.resize(name.size() - 4);
    size_t end = start + 1;
    while (end < lines.size() && !EndsSection(lines[end]))
        ++end;
    TStringList section(lines.begin() + static_cast<ptrdiff_t>(start + 1),
                        lines.begin() + static_cast<ptrdiff_t>(end));

    TDrawClass result;
    result.FileName = file;
    result.PartName = part;
    const TSectionValues values(section);

    const int64_t numbers = CountNumbers(section);

    int32_t polygonCount =
        CheckedCount(StrToInt(values.Find("NP").value_or("")), "polygon count", name, file);
    CheckBacked(polygonCount, "polygons", numbers, name, file);

    TNumberScanner box(values.Find("BB").value_or(""));
    int32_t bx = CheckedCoordinate(box.Next(), "bounding box size", kMaxPartCoordinate, name, file);
    int32_t by = CheckedCoordinate(box.Next(), "bounding box size", kMaxPartCoordinate, name, file);
    int32_t bz = CheckedCoordinate(box.Next(), "bounding box size", kMaxPartCoordinate, name, file);
    result.FBoundingBox = {bx, by, bz};

    // Every point count is weighed before any polygon is made.
    std::vector<std::optional<std::string_view>> polygonValues(static_cast<size_t>(polygonCount));
    int64_t points = 0;
    for (int32_t i = 0; i < polygonCount; ++i) {
        auto& value = polygonValues[static_cast<size_t>(i)];
        value = values.Find(StrFormat("P%d", i + 1));
        if (!value)
            continue;
        TNumberScanner scan(*value);
        points += CheckedCount(scan.Next(), "point count", name, file);
        if (points > kMaxPartPoints)
            throw EError(StrFormat("Part %s in file %s has more than %lld points", name.c_str(), file.c_str(),
                                   static_cast<long long>(kMaxPartPoints)));
    }
    CheckBacked(points, "points", numbers, name, file);

    result.FPolygons.resize(static_cast<size_t>(polygonCount));
    for (int32_t i = 0; i < polygonCount; ++i) {
        if (const auto& value = polygonValues[static_cast<size_t>(i)])
            result.FPolygons[static_cast<size_t>(i)] = ReadPolygon(*value, name, file);
        else
            result.FPolygons[static_cast<size_t>(i)] = TPartPolygon{{}, 0, 0, 0};
    }

    for (int o = 0; o < kOctantCount; ++o) {
        auto value = values.Find(StrFormat("Q%d", o + 1));
        if (!value)
            continue;
        TNumberScanner scan(*value);
        int32_t count = CheckedCount(scan.Next(), "draw order count", name, file);
        CheckBacked(count, "draw order entries", numbers, name, file);
        for (int32_t k = 0; k < count; ++k)
            result.FDrawOrders[static_cast<size_t>(o)].Put(
                k, CheckedNumber(scan.Next(), "draw order entry", name, file) - 1);
    }

    auto bitmap = values.Find("BM");
    if (bitmap && !bitmap->empty()) {
        TNumberScanner scan(*bitmap);
        result.BitmapPolygon = CheckedNumber(scan.Next(), "bitmap polygon", name, file) - 1;
        std::string_view rest = scan.Rest();
        result.BitmapFileName = std::string(rest.substr(0, rest.find(',')));
    }

    auto offsets = values.Find("RO");
    if (offsets && !offsets->empty()) {
        TNumberScanner scan(*offsets);
        for (auto& offset : result.FTurnOffsets) {
            offset.DX = CheckedCoordinate(scan.Next(), "turn offset", kMaxPartCoordinate / 20, name, file);
            offset.DY = CheckedCoordinate(scan.Next(), "turn offset", kMaxPartCoordinate / 20, name, file);
        }
    }

    result.KindValue = 0;
    result.Modified = false;
    def.Assign(result);
}

void WritePart(TDrawClass& def, TStringList& lines) {
    const std::string header = "[" + def.PartName + "]";
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!SameText(lines[i], header))
            continue;
        size_t end = i + 1;
        while (end < lines.size() && !EndsSection(lines[end]))
            ++end;
        lines.erase(lines.begin() + static_cast<ptrdiff_t>(i), lines.begin() + static_cast<ptrdiff_t>(end));
        break;
    }

    lines.push_back(header);
    lines.push_back(StrFormat("NP=%d", def.PolygonCount()));
    lines.push_back(StrFormat("BB=%d,%d,%d", def.BoundingX(), def.BoundingY(), def.BoundingZ()));
    if (def.KindValue != 0)
        lines.push_back(StrFormat("LD=%d", def.KindValue));
    for (int i = 0; i < def.PolygonCount(); ++i) {
        const TPartPolygon& polygon = def.Polygon(i);
        std::string line =
            StrFormat("P%d=%d, %d", i + 1, static_cast<int>(polygon.Points.size()), polygon.EdgeFlags);
        for (const auto& p : polygon.Points)
            line += StrFormat(", %d,%d,%d", p.X, p.Y, p.Z);
        if (polygon.Detail > 0 || polygon.Color != 0)
            line += StrFormat(", %d", polygon.Detail);
        if (polygon.Color != 0)
            line += StrFormat(", %d", polygon.Color);
        lines.push_back(std::move(line));
    }
    // Numbers are written from 1, in 64 bits so that no entry overflows.
    if (def.BitmapPolygon >= 0)
        lines.push_back(StrFormat("BM=%lld, %s", static_cast<long long>(int64_t{def.BitmapPolygon} + 1),
                                  def.BitmapFileName.c_str()));
    for (int o = 0; o < kOctantCount; ++o) {
        const TIntegerList& order = def.DrawOrder(o);
        std::string line = StrFormat("Q%d=%d ", o + 1, order.Count());
        for (int32_t entry : order.Items())
            line += StrFormat(",%lld", static_cast<long long>(int64_t{entry} + 1));
        lines.push_back(std::move(line));
    }
    bool anyOffset = false;
    for (int t = 0; t < 4; ++t)
        anyOffset = anyOffset || def.GetTurnOffset(t) != TTurnOffset{};
    if (anyOffset) {
        auto o0 = def.GetTurnOffset(0), o1 = def.GetTurnOffset(1);
        auto o2 = def.GetTurnOffset(2), o3 = def.GetTurnOffset(3);
        lines.push_back(StrFormat("RO=%d,%d, %d,%d, %d,%d, %d,%d", o0.DX, o0.DY, o1.DX, o1.DY, o2.DX, o2.DY,
                                  o3.DX, o3.DY));
    }
    def.Modified = false;
}
