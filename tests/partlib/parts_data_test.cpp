#include <gtest/gtest.h>

#include "partlib/part_file.h"
#include "platform/text_file.h"
#include "temp_program_folder.h"

namespace {

// The sections of a library file: each header with the lines up to the next
// empty line or header.
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

void ExpectEveryPartRoundTrips(const std::string& fileName, size_t minimumParts) {
    auto path = SourceFolder() / "data" / "parts" / fileName;
    TStringList lines = LoadLines(path);
    auto sections = Sections(lines);
    EXPECT_GE(sections.size(), minimumParts) << fileName;
    for (const auto& section : sections) {
        std::string name = section[0].substr(1, section[0].size() - 2);
        TDrawClass d;
        TPartReader::LoadFromLines(d, lines, fileName, name);
        EXPECT_GT(d.PolygonCount(), 0) << name;
        for (int o = 0; o < kOctantCount; ++o) {
            EXPECT_EQ(d.GetDrawCount(o), d.PolygonCount()) << name << " octant " << o;
            std::vector<int32_t> order = d.DrawOrder(o).Items();
            std::sort(order.begin(), order.end());
            for (int i = 0; i < d.PolygonCount(); ++i)
                EXPECT_EQ(order[static_cast<size_t>(i)], i) << name << " octant " << o;
        }
        TStringList written;
        WritePart(d, written);
        EXPECT_EQ(written, section) << name;
    }
}

} // namespace

TEST(PartsData, EveryShippedPartLoadsAndRoundTrips) {
    ExpectEveryPartRoundTrips("parts.dat", 6);
    ExpectEveryPartRoundTrips("template.dat", 1);
}
