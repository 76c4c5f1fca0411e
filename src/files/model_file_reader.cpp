#include "files/model_file_reader.h"

#include <algorithm>
#include <array>
#include <exception>
#include <limits>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "common/error.h"
#include "common/strings.h"
#include "common/units.h"
#include "files/caption_rule.h"
#include "files/line_fields.h"
#include "model/block_factory.h"

namespace {

// A stone line is its kind letter and then the numbers of its place and size
// (x, y, z, length, width, height); the fields behind them may be left out.
constexpr int kStoneNumbers = 6;
// A view line is "=" and then at least its rotations and its zoom code.
constexpr int kViewNumbers = 3;

int32_t Checked(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        throw EError(
            StrFormat("%lld is out of the range of model coordinates", static_cast<long long>(value)));
    return static_cast<int32_t>(value);
}

// Grid modules to units, for files without units; out-of-range results are errors.
int32_t OldModulesToUnits(int32_t modules) {
    return Checked(static_cast<int64_t>(modules) * kModuleUnits);
}
int32_t OldThirdsToUnits(int32_t thirds) {
    return Checked(static_cast<int64_t>(thirds) * kModuleUnits / 3);
}

bool IsBlank(const std::string& line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) <= ' '; });
}

// The fields of a line: everything behind its first character, trimmed.
std::string FieldText(const std::string& line) {
    return line.empty() ? std::string() : Trim(std::string_view(line).substr(1));
}

bool IsViewLine(const std::string& line) {
    return !line.empty() && line[0] == '=' && StartsWithNumbers(FieldText(line), kViewNumbers);
}

bool IsStoneLine(const std::string& line) {
    return !IsBlank(line) && line[0] != '=' && StartsWithNumbers(FieldText(line), kStoneNumbers);
}

} // namespace

void TSubassemblyBox::Widen(const TBlock& stone) {
    int64_t x = stone.X, y = stone.Y, z = stone.Z;
    int64_t x2 = x + stone.Length, y2 = y + stone.Width, z2 = z + stone.Height;
    if (Empty) {
        MinX = x, MinY = y, MinZ = z;
        MaxX = x2, MaxY = y2, MaxZ = z2;
        Empty = false;
        return;
    }
    MinX = std::min(MinX, x);
    MinY = std::min(MinY, y);
    MinZ = std::min(MinZ, z);
    MaxX = std::max(MaxX, x2);
    MaxY = std::max(MaxY, y2);
    MaxZ = std::max(MaxZ, z2);
}

std::string SubassemblySizeText(const TSubassemblyBox& box) {
    if (box.Empty)
        return "";
    return StrFormat(" %lldx%lldx%lld", static_cast<long long>((box.MaxX - box.MinX) / kModuleUnits),
                     static_cast<long long>((box.MaxY - box.MinY) / kModuleUnits),
                     static_cast<long long>((box.MaxZ - box.MinZ) * 3 / kModuleUnits));
}

std::unique_ptr<TBlock> ReadBlockLine(const std::string& line, int32_t unitsFlag, std::string* note) {
    if (IsBlank(line))
        throw EError("The line is empty");
    char kind = line[0] == ' ' ? 'B' : line[0];
    const std::string text = FieldText(line);
    TLineFields fields(text);

    std::array<int32_t, kStoneNumbers> placeAndSize{};
    for (int32_t& number : placeAndSize) {
        if (!fields.AtNumber())
            throw EError("The line is not a stone: a stone needs its kind letter and then six numbers, its "
                         "place and its size");
        number = fields.ReadNumber();
    }
    auto [x, y, z, length, width, height] = placeAndSize;
    std::unique_ptr<TBlock> stone = TBlockFactory::Create(kind, 0, 0, 0, 0, 0, 0, 0, false, false, false, "");
    if (unitsFlag == 0) {
        x = OldModulesToUnits(x);
        y = OldModulesToUnits(y);
        z = OldThirdsToUnits(z);
        length = OldModulesToUnits(length);
        width = OldModulesToUnits(width);
        height = OldThirdsToUnits(height);
    }
    stone->X = x;
    stone->Y = y;
    stone->Z = z;
    stone->Length = length;
    stone->Width = width;
    stone->Height = height;
    stone->Color = static_cast<TColor>(fields.ReadNumber());
    stone->Tag = fields.ReadNumber() != 0;
    stone->BasePlate = fields.ReadNumber() != 0;
    stone->Turn = fields.ReadNumber();
    stone->Transparent = fields.ReadNumber() != 0;

    std::string partName;
    if (kind == 'G') {
        std::string partFile = fields.ReadWord("parts.dat");
        partName = fields.ReadWord("stdblock");
        stone->SetPart(partFile, partName);
        stone->Caption = CaptionOf(partName);
    }
    stone->Group = fields.ReadNumber();
    stone->Name = fields.ReadWord();
    stone->ExtraNumber = fields.ReadNumber();
    // The file keeps no caption: the stone is counted in a set as the palette
    // entry it was taken from counts it.
    if (kind != 'G')
        stone->Caption = StoneCaption(*stone);
    if (kind == 'G' && stone->Name.empty())
        stone->Name = ReplaceAll(partName, "-", "_");
    CheckStoneInRange(*stone);
    if (note && fields.FirstNonNumber()) {
        const std::string& text = *fields.FirstNonNumber();
        *note = (text.empty() ? std::string("An empty field") : "\"" + text + "\"") +
                " stands where a number belongs: that number and the ones after it up to the next name "
                "are read as 0. The stone is kept so.";
    }
    return stone;
}

TModelReadResult ReadModelLines(const TStringList& lines, TOwnedBlockList& target,
                                const TModelReadSettings& settings, const TLineErrorHandler& onLineError,
                                const TShareProgress& progress) {
    const bool subassembly = settings.Mode == TLoadMode::lmSubassembly;
    TModelReadResult result;
    result.HighestGroup = settings.HighestGroup;
    if (subassembly) {
        if (settings.HighestGroup == std::numeric_limits<int32_t>::max())
            throw EError("No group number is left for the subassembly");
        result.HighestGroup = settings.HighestGroup + 1;
        result.SubassemblyGroup = result.HighestGroup;
        result.HighestExtraNumber = settings.ExtraNumber;
    }

    // Line errors are held back until a view line or a stone line shows that
    // the text is a model at all: the lines of some other text are not
    // reported one by one, the text is refused as a whole.
    bool isModel = false;
    bool hasText = false;
    std::vector<std::pair<int, std::string>> heldErrors;
    auto reportLineError = [&](int lineNumber, const std::string& message) {
        if (!isModel)
            heldErrors.emplace_back(lineNumber, message);
        else if (onLineError)
            onLineError(lineNumber, message);
    };

    // The stones are read first and inserted all at once, in the order of their
    // lines, each where inserting it alone would have put it.
    std::vector<std::unique_ptr<TBlock>> read;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        ++result.LinesRead;
        hasText = hasText || !IsBlank(line);
        if (progress && i % 4096 == 4095)
            progress(static_cast<double>(i) / static_cast<double>(lines.size()));
        try {
            if (!isModel && (IsViewLine(line) || IsStoneLine(line))) {
                isModel = true;
                for (const auto& [lineNumber, message] : heldErrors)
                    reportLineError(lineNumber, message);
                heldErrors.clear();
            }
            if (!line.empty() && line[0] == '=') {
                std::array<int32_t, 7> n = ReadViewLineNumbers(line);
                result.UnitsFlag = n[kViewUnitsField];
                if (subassembly)
                    continue;
                // Rotations first; the zoom code divides, and a code of 0 stops the
                // line before the zoom and the offsets are taken.
                TViewRecord view = result.View.value_or(TViewRecord{});
                if (!result.View)
                    view.HasZoomAndOffsets = false;
                view.RotX = n[0];
                view.RotZ = n[1];
                result.View = view;
                if (n[2] == 0)
                    throw EError("The view line's zoom code is 0 (division by zero); zoom and offsets are "
                                 "not taken");
                view.ZoomCode = n[2];
                view.ZoomFactor = static_cast<float>(10.0 / n[2]);
                view.OffsetX = n[3];
                view.OffsetY = n[4];
                view.HasZoomAndOffsets = true;
                result.View = view;
                continue;
            }

            std::string note;
            std::unique_ptr<TBlock> stone = ReadBlockLine(line, result.UnitsFlag, &note);
            if (!note.empty()) {
                ++result.LinesReadInPart;
                reportLineError(static_cast<int>(i) + 1, note);
            }
            if (subassembly) {
                if (stone->Color == 0)
                    stone->Color = settings.CurrentColor;
                stone->Group = result.SubassemblyGroup;
                stone->ExtraNumber = settings.ExtraNumber;
                if (stone->BasePlate) {
                    ++result.BasePlatesDropped;
                    continue;
                }
                result.Box.Widen(*stone);
                read.push_back(std::move(stone));
            } else {
                result.HighestGroup = std::max(result.HighestGroup, stone->Group);
                result.HighestExtraNumber = std::max(result.HighestExtraNumber, stone->ExtraNumber);
                read.push_back(std::move(stone));
            }
            ++result.StonesAdded;
        } catch (const std::bad_alloc&) {
            ++result.LinesFailed;
            reportLineError(static_cast<int>(i) + 1, "There is not enough memory to read the line");
        } catch (const EError& e) {
            ++result.LinesFailed;
            reportLineError(static_cast<int>(i) + 1, e.Message());
        } catch (const std::exception&) {
            // Never a library's own text.
            ++result.LinesFailed;
            reportLineError(static_cast<int>(i) + 1, "The line could not be read");
        }
    }
    // Text without a single view line or stone line is something else. Lines
    // without any text are an empty model, their blank lines reported.
    if (!isModel && hasText)
        throw EError(StrFormat("%s is not a Stonemill model: none of its lines is a view line or a stone",
                               settings.FileName.empty() ? "The text"
                                                         : ("File \"" + settings.FileName + "\"").c_str()));
    if (onLineError)
        for (const auto& [lineNumber, message] : heldErrors)
            onLineError(lineNumber, message);

    target.InsertAllSorted(std::move(read));

    target.HighestExtraNumber = result.HighestExtraNumber;
    if (subassembly)
        result.ProxySizeText = SubassemblySizeText(result.Box);
    return result;
}

TModelReadResult LoadModelFile(const std::filesystem::path& path, TOwnedBlockList& target,
                               const TModelReadSettings& settings, const TLineErrorHandler& onLineError) {
    std::filesystem::path file = FindFileNoCase(path).value_or(path);
    TStringList lines = LoadLines(file);
    TModelReadSettings named = settings;
    if (named.FileName.empty())
        named.FileName = path.string();
    return ReadModelLines(lines, target, named, onLineError);
}
