#include "part_library_lines.h"

#include <algorithm>

#include "partlib/part_file.h"
#include "temp_program_folder.h"

std::vector<TStringList> Sections(const TStringList& lines) {
    std::vector<TStringList> sections;
    for (const auto& line : lines) {
        if (!line.empty() && line[0] == '[')
            sections.push_back({line});
        else if (line.empty())
            sections.push_back({});
        else if (!sections.empty() && !sections.back().empty())
            sections.back().push_back(line);
    }
    std::erase_if(sections, [](const TStringList& s) { return s.empty(); });
    return sections;
}

std::vector<TDrawClass> ShippedParts(const std::string& fileName) {
    const TStringList lines = LoadLines(SourceFolder() / "data" / "parts" / fileName);
    std::vector<TDrawClass> parts;
    for (const auto& section : Sections(lines)) {
        parts.emplace_back();
        TPartReader::LoadFromLines(parts.back(), lines, fileName,
                                   section[0].substr(1, section[0].size() - 2));
    }
    return parts;
}

TDrawClass ShippedPart(const std::string& fileName, const std::string& partName) {
    const TStringList lines = LoadLines(SourceFolder() / "data" / "parts" / fileName);
    TDrawClass part;
    TPartReader::LoadFromLines(part, lines, fileName, partName);
    return part;
}
