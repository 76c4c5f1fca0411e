#include "files/settings_file.h"

#include <charconv>
#include <cmath>

#include "common/convert.h"
#include "common/error.h"
#include "common/strings.h"
#include "platform/ini_file.h"
#include "platform/text_file.h"

namespace fs = std::filesystem;

const std::array<TColor, kSwatchCount> kDefaultSwatchColors = {
    244,      16777215, 12632256, 8421504, 3355443, 11724264, 4939471,
    11113103, 7705781,  5201546,  32768,   6922086, 8421440,  16776960,
};
const char* const kDefaultPovRayProgram = "/usr/bin/povray";

namespace {

// Counts beyond these are taken for damage, not for a palette.
constexpr int kMostPages = 10'000;
constexpr int kMostEntries = 100'000;
constexpr float kLargestScale = 100.0f;

std::string PageSection(int page) {
    return "Page" + std::to_string(page);
}

int CountOrZero(int value, int most) {
    return value >= 0 && value <= most ? value : 0;
}

int HeightOrDefault(int height) {
    return height >= 1 ? height : 65;
}

float ScaleOrDefault(double scale) {
    return std::isfinite(scale) && scale > 0 && scale <= kLargestScale ? static_cast<float>(scale) : 0.5f;
}

// A number as the file holds it, or NaN.
double NumberOf(const std::string& text) {
    const std::string trimmed = Trim(text);
    double value = 0;
    auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size())
        return std::nan("");
    return value;
}

int IntegerOr(const std::string& text, int fallback) {
    try {
        return StrToInt(Trim(text));
    } catch (const EError&) {
        return fallback;
    }
}

// Version 1 page sections hold plain lines: after the line naming the section,
// one line with the row height and the scale, then one entry per line up to an
// empty line, the next section or the end of the file.
void ReadVersion1Page(const TStringList& lines, int page, TPageSettings& settings) {
    const std::string name = UpperCase("[" + PageSection(page) + "]");
    size_t at = 0;
    while (at < lines.size() && UpperCase(lines[at]).find(name) == std::string::npos)
        ++at;
    if (++at >= lines.size())
        return;
    const std::string& sizes = lines[at];
    const size_t space = sizes.find(' ', 1);
    if (space == std::string::npos || sizes.empty()) {
        settings.Height = HeightOrDefault(IntegerOr(sizes, 65));
    } else {
        settings.Height = HeightOrDefault(IntegerOr(sizes.substr(0, space), 65));
        settings.Scale = ScaleOrDefault(NumberOf(sizes.substr(space + 1)));
    }
    for (++at; at < lines.size() && settings.Entries.size() < kMostEntries; ++at) {
        const std::string& line = lines[at];
        if (Trim(line).empty() || line.front() == '[')
            break;
        settings.Entries.push_back(line);
    }
}

void ReadVersion2Page(const TIniFile& ini, int page, TPageSettings& settings) {
    const std::string section = PageSection(page);
    settings.Title = ini.ReadString(section, "Title", "");
    settings.Height = HeightOrDefault(ini.ReadInteger(section, "Height", 65));
    if (auto scale = ini.Read(section, "Scale"))
        settings.Scale = ScaleOrDefault(NumberOf(*scale));
    const int count = CountOrZero(ini.ReadInteger(section, "Count", 0), kMostEntries);
    for (int i = 0; i < count; ++i)
        settings.Entries.push_back(ini.ReadString(section, "Brick" + std::to_string(i), ""));
}

std::string FloatText(float value) {
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : "0";
}

std::string ColorText(TColor color) {
    return std::to_string(GetRValue(color)) + "," + std::to_string(GetGValue(color)) + "," +
           std::to_string(GetBValue(color));
}

} // namespace

std::string ScaleText(float scale) {
    // "%5.2f" with "." whatever the locale.
    char buffer[64];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, static_cast<double>(scale),
                                      std::chars_format::fixed, 2);
    std::string text = error == std::errc() ? std::string(buffer, end) : "0.50";
    if (text.size() < 5)
        text.insert(0, 5 - text.size(), ' ');
    return text;
}

TSettingsData ReadSettingsFile(const fs::path& path) {
    TSettingsData data;
    std::error_code error;
    if (!fs::is_regular_file(path, error))
        return data;
    TStringList lines;
    std::optional<TIniFile> file;
    try {
        lines = LoadLines(path);
        file.emplace(path);
    } catch (const EError& failure) {
        data.ReadError = failure.what();
        return data;
    }
    const TIniFile& ini = *file;
    // A file without a version is of the first layout; a version the program
    // does not know is taken for a later one, so its keyed pages are not
    // mistaken for plain lines.
    if (auto version = ini.Read("Main", "Version"))
        data.Version = Trim(*version) == "1" ? 1 : 2;
    data.View = ReadViewSettings(ini);
    const int start = ini.ReadInteger("Main", "StartColor", 5);
    data.StartColor = start >= 0 && start < kSwatchCount ? start : 5;
    for (int i = 0; i < kSwatchCount; ++i) {
        const int color = ini.ReadInteger("Main", "Color" + std::to_string(i), -1);
        if (color >= 0 && color <= 0xFFFFFF)
            data.Swatches[static_cast<size_t>(i)] = static_cast<TColor>(color);
    }
    data.PovRayEng = ini.ReadString("Main", "PovRayEng", kDefaultPovRayProgram);
    const int pages = CountOrZero(ini.ReadInteger("Main", "Pages", 0), kMostPages);
    data.Pages.resize(static_cast<size_t>(pages));
    for (int page = 1; page <= pages; ++page) {
        TPageSettings& settings = data.Pages[static_cast<size_t>(page - 1)];
        if (data.Version == 1) {
            settings.Title = ini.ReadString("Main", "Title" + std::to_string(page), PageSection(page));
            ReadVersion1Page(lines, page, settings);
        } else {
            ReadVersion2Page(ini, page, settings);
        }
    }
    data.Hints = ini.ReadInteger("State", "Hints", 0) != 0;
    return data;
}

void WriteSettingsFile(const fs::path& path, const TSettingsData& data, bool fromVersion1) {
    TIniFile ini(path);
    if (fromVersion1) {
        ini.EraseSection("Main");
        for (size_t page = 1; page <= data.Pages.size(); ++page)
            ini.EraseSection(PageSection(static_cast<int>(page)));
    }
    ini.WriteInteger("Main", "Version", 2);
    ini.WriteString("Main", "EdgeFactor", FloatText(data.View.EdgeFactor));
    ini.WriteInteger("Main", "FixedEdgeColors", data.View.FixedEdgeColors ? 1 : 0);
    ini.WriteString("Main", "DarkEdgeColor", ColorText(data.View.DarkEdgeColor));
    ini.WriteString("Main", "LightEdgeColor", ColorText(data.View.LightEdgeColor));
    ini.WriteInteger("Main", "StartColor", data.StartColor);
    ini.WriteString("Main", "PovRayEng", data.PovRayEng);
    for (int i = 0; i < kSwatchCount; ++i)
        ini.WriteInteger("Main", "Color" + std::to_string(i),
                         static_cast<int>(data.Swatches[static_cast<size_t>(i)]));
    ini.WriteInteger("Main", "Pages", static_cast<int>(data.Pages.size()));
    for (size_t page = 0; page < data.Pages.size(); ++page) {
        const TPageSettings& settings = data.Pages[page];
        const std::string section = PageSection(static_cast<int>(page + 1));
        ini.EraseSection(section);
        ini.WriteString(section, "Title", settings.Title);
        ini.WriteInteger(section, "Height", settings.Height);
        ini.WriteString(section, "Scale", ScaleText(settings.Scale));
        ini.WriteInteger(section, "Count", static_cast<int>(settings.Entries.size()));
        for (size_t i = 0; i < settings.Entries.size(); ++i)
            ini.WriteString(section, "Brick" + std::to_string(i), settings.Entries[i]);
    }
    ini.EraseSection("State");
    ini.WriteInteger("State", "Hints", data.Hints ? 1 : 0);
    ini.WriteInteger("State", "Details", data.View.Details);
    ini.WriteInteger("State", "Shading", data.View.Shading ? 1 : 0);
    ini.WriteInteger("State", "BitDepth", data.View.BitDepth);
    ini.Flush();
}
