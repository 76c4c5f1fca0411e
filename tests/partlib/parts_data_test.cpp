#include <gtest/gtest.h>

#include "part_library_lines.h"
#include "partlib/part_file.h"
#include "platform/bitmap.h"
#include "platform/picture_file.h"
#include "platform/text_file.h"
#include "temp_program_folder.h"

namespace {

// Every part of the file loads through the reader, has a complete painting
// order in each octant, writes back to the very lines it came from, and finds
// its picture, if it has one, beside the file.
void ExpectEveryPartRoundTrips(const std::string& fileName, size_t minimumParts) {
    const auto folder = SourceFolder() / "data" / "parts";
    TStringList lines = LoadLines(folder / fileName);
    auto sections = Sections(lines);
    EXPECT_GE(sections.size(), minimumParts) << fileName;
    for (const auto& section : sections) {
        std::string name = section[0].substr(1, section[0].size() - 2);
        TDrawClass d;
        TPartReader::LoadFromLines(d, lines, fileName, name);
        EXPECT_GT(d.PolygonCount(), 0) << name;
        EXPECT_GT(d.BoundingX() * d.BoundingY() * d.BoundingZ(), 0) << name;
        for (int o = 0; o < kOctantCount; ++o) {
            EXPECT_EQ(d.GetDrawCount(o), d.PolygonCount()) << name << " octant " << o;
            std::vector<int32_t> order = d.DrawOrder(o).Items();
            std::sort(order.begin(), order.end());
            for (int i = 0; i < d.PolygonCount(); ++i)
                EXPECT_EQ(order[static_cast<size_t>(i)], i) << name << " octant " << o;
        }
        if (d.BitmapPolygon >= 0) {
            ASSERT_LT(d.BitmapPolygon, d.PolygonCount()) << name;
            EXPECT_EQ(d.GetPointCount(d.BitmapPolygon), 4) << name;
            TBitmap picture(1, 1, pf32bit);
            EXPECT_TRUE(LoadPictureFile(folder / d.BitmapFileName, picture))
                << name << " " << d.BitmapFileName;
            EXPECT_GE(picture.Width(), 32) << name;
            EXPECT_GE(picture.Height(), 16) << name;
        }
        TStringList written;
        WritePart(d, written);
        EXPECT_EQ(written, section) << name;
    }
}

} // namespace

TEST(PartsData, EveryShippedPartLoadsAndRoundTrips) {
    ExpectEveryPartRoundTrips("parts.dat", 60);
    ExpectEveryPartRoundTrips("template.dat", 1);
}

TEST(PartsData, LibraryShipsPicturedParts) {
    int pictured = 0;
    for (const TDrawClass& part : ShippedParts("parts.dat"))
        pictured += part.BitmapPolygon >= 0 ? 1 : 0;
    EXPECT_GE(pictured, 5);
}
