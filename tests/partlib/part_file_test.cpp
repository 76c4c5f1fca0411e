#include <gtest/gtest.h>

#include "common/error.h"
#include "partlib/part_file.h"
#include "partlib/part_registry.h"
#include "temp_program_folder.h"

namespace {

TDrawClass Read(const TStringList& lines, const std::string& part, const std::string& file = "lib.dat") {
    TDrawClass d;
    TPartReader::LoadFromLines(d, lines, file, part);
    return d;
}

std::string LoadError(const TStringList& lines, const std::string& part) {
    try {
        Read(lines, part);
    } catch (const EError& e) {
        return e.Message();
    }
    return "";
}

const TStringList kFullPart = {
    "[Full]",
    "NP=3",
    "BB=40,20,26",
    "LD=3",
    "P1=4, 1, 0,0,0, 20,0,0, 20,20,0, 0,20,0",
    "P2=3, 6, 0,0,0, 40,0,0, 0,0,26, 2",
    "P3=3, 0, 0,0,0, 40,0,0, 0,0,26, 1, -204",
    "BM=2, brick.bmp",
    "Q1=3 ,1,2,3",
    "Q2=2 ,3,1",
    "Q3=0 ",
    "Q4=1 ,2",
    "Q5=3 ,3,2,1",
    "Q6=3 ,1,1,1",
    "Q7=0 ",
    "Q8=1 ,3",
    "RO=1,0, 0,-1, 2,3, -4,5",
};

} // namespace

TEST(PartFile, ReadsEveryKey) {
    TDrawClass d = Read(kFullPart, "Full");
    EXPECT_EQ(d.PartName, "Full");
    EXPECT_EQ(d.FileName, "lib.dat");
    EXPECT_EQ(d.PolygonCount(), 3);
    EXPECT_EQ(d.BoundingX(), 40);
    EXPECT_EQ(d.BoundingY(), 20);
    EXPECT_EQ(d.BoundingZ(), 26);
    EXPECT_EQ(d.KindValue, 0); // LD is written, never read
    EXPECT_EQ(d.GetPointCount(0), 4);
    EXPECT_EQ(d.GetEdgeFlags(0), 1);
    EXPECT_EQ(d.GetDetail(0), 0);
    EXPECT_EQ(d.GetColor(0), 0);
    EXPECT_EQ(d.GetPoint(0, 2), (TPoint3D{20, 20, 0}));
    EXPECT_EQ(d.GetEdgeFlags(1), 6);
    EXPECT_EQ(d.GetDetail(1), 2);
    EXPECT_EQ(d.GetColor(2), -204);
    EXPECT_EQ(d.BitmapPolygon, 1);
    EXPECT_EQ(d.BitmapFileName, "brick.bmp");
    EXPECT_EQ(d.DrawOrder(0).Items(), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(d.DrawOrder(1).Items(), (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(d.GetDrawCount(2), 0);
    EXPECT_EQ(d.DrawOrder(5).Items(), (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(d.GetTurnOffset(0), (TTurnOffset{1, 0}));
    EXPECT_EQ(d.GetTurnOffset(1), (TTurnOffset{0, -1}));
    EXPECT_EQ(d.GetTurnOffset(3), (TTurnOffset{-4, 5}));
    EXPECT_FALSE(d.Modified);
}

TEST(PartFile, WriterRoundTripsEveryKeyExactly) {
    TDrawClass d = Read(kFullPart, "Full");
    d.KindValue = 3;
    d.Modified = true;
    TStringList written;
    WritePart(d, written);
    EXPECT_EQ(written, kFullPart);
    EXPECT_FALSE(d.Modified);
    TDrawClass again = Read(written, "full");
    TStringList rewritten;
    again.KindValue = 3;
    again.PartName = "Full";
    WritePart(again, rewritten);
    EXPECT_EQ(rewritten, kFullPart);
}

TEST(PartFile, WriterFormats) {
    TDrawClass d;
    d.PartName = "tri";
    d.AddPolygon({{0, 0, 0}, {20, 0, 0}, {0, 20, 0}});
    TStringList lines;
    WritePart(d, lines);
    EXPECT_EQ(lines[3], "P1=3, 1, 0,0,0, 20,0,0, 0,20,0");
    EXPECT_EQ(lines[4], "Q1=1 ,1");
    EXPECT_EQ(lines[11], "Q8=1 ,1");
    EXPECT_EQ(lines.size(), 12u); // no BM, no RO, no LD, no empty line after

    // A detail level below 0 with colour 0 is not written and reads back as 0;
    // with a colour it is written.
    d.SetDetail(0, -2);
    lines.clear();
    WritePart(d, lines);
    EXPECT_EQ(lines[3], "P1=3, 1, 0,0,0, 20,0,0, 0,20,0");
    EXPECT_EQ(Read(lines, "tri").GetDetail(0), 0);
    d.SetColor(0, 255);
    lines.clear();
    WritePart(d, lines);
    EXPECT_EQ(lines[3], "P1=3, 1, 0,0,0, 20,0,0, 0,20,0, -2, 255");
}

TEST(PartFile, WriterReplacesAnEarlierSection) {
    TDrawClass d;
    d.PartName = "b";
    d.AddPolygon({{0, 0, 0}, {20, 0, 0}, {0, 20, 0}});
    TStringList lines = {"[a]", "NP=0", "", "[B]", "NP=7", "P1=junk", "", "[c]", "NP=0"};
    WritePart(d, lines);
    // The old section goes, the empty line that followed it stays, the new one is appended.
    ASSERT_GE(lines.size(), 7u);
    EXPECT_EQ(TStringList(lines.begin(), lines.begin() + 6),
              (TStringList{"[a]", "NP=0", "", "", "[c]", "NP=0"}));
    EXPECT_EQ(lines[6], "[b]");
    EXPECT_EQ(lines.back(), "Q8=1 ,1");
}

TEST(PartFile, SectionsEndAtEmptyLinesAndHeaders) {
    TStringList lines = {"NP=9", "[one]", "NP=1",   "P1=3, 1, 1,1,1, 2,2,2, 3,3,3", "[two]", "P2=3, 1",
                         "NP=2", "",      "[three]"};
    TDrawClass one = Read(lines, "ONE");
    EXPECT_EQ(one.PolygonCount(), 1);
    TDrawClass two = Read(lines, "two");
    EXPECT_EQ(two.PolygonCount(), 2);
    EXPECT_EQ(two.GetPointCount(0), 0); // missing P line: a polygon without points
    EXPECT_EQ(two.GetPointCount(1), 3);
    EXPECT_EQ(two.GetPoint(1, 2), (TPoint3D{0, 0, 0})); // missing numbers read as 0
    EXPECT_EQ(two.GetDrawCount(0), 0);
    EXPECT_EQ(two.BitmapPolygon, -1);
    EXPECT_EQ(LoadError(lines, "three"), "'' is not a valid integer value");
}

TEST(PartFile, KeysMatchWithoutRegardToCaseAndFirstLineWins) {
    TStringList lines = {"[k]", "np=1", "NP=5", "p1=3, 1, 1,2,3", "bb=1,2,3", " BB=9,9,9"};
    TDrawClass d = Read(lines, "k");
    EXPECT_EQ(d.PolygonCount(), 1);
    EXPECT_EQ(d.GetPoint(0, 0), (TPoint3D{1, 2, 3}));
    EXPECT_EQ(d.BoundingZ(), 3);
}

TEST(PartFile, ColourNumbers) {
    TStringList lines = {"[c]", "NP=3", "P1=3, 1, 0,0,0, 1,0,0, 0,1,0, 0, -1, 4",
                         "P2=3, 1, 0,0,0, 1,0,0, 0,1,0, 0, -1, 77",
                         "P3=3, 1, 0,0,0, 1,0,0, 0,1,0, 1, -1, 495"};
    TDrawClass d = Read(lines, "c");
    EXPECT_EQ(d.GetColor(0), 204);
    EXPECT_EQ(d.GetColor(1), 51 + 256 * 51 + 65536 * 51);
    EXPECT_EQ(d.GetColor(2), 255 + 256 * 255 + 65536 * 128);
    EXPECT_EQ(d.GetDetail(2), 1);
    EXPECT_EQ(ColorFromNumber(334), RGB(240, 176, 51));
    EXPECT_EQ(ColorFromNumber(-3), ColorFromNumber(0));
}

TEST(PartFile, StrayCharactersAndBadNumbers) {
    // A letter stops the scan: it and every later number on the line read as 0.
    TDrawClass d = Read({"[s]", "NP=1", "P1=3, 1, 5,5,5, 7,x,7, 9,9,9"}, "s");
    EXPECT_EQ(d.GetPoint(0, 0), (TPoint3D{5, 5, 5}));
    EXPECT_EQ(d.GetPoint(0, 1), (TPoint3D{7, 0, 0}));
    EXPECT_EQ(d.GetPoint(0, 2), (TPoint3D{0, 0, 0}));

    EXPECT_EQ(LoadError({"[s]", "NP=x"}, "s"), "'x' is not a valid integer value");
    EXPECT_EQ(LoadError({"[s]", "NP= 1"}, "s"), "' 1' is not a valid integer value");
    EXPECT_NE(LoadError({"[s]", "NP=1", "P1=3, -, 1"}, "s"), "");
    EXPECT_NE(LoadError({"[s]", "NP=1", "Q1=1 ,99999999999"}, "s"), "");
    EXPECT_EQ(LoadError({"[s]"}, "t"), "Could not find part t in file lib.dat");
}

TEST(PartFile, HugeOrNegativeCountsAreRefused) {
    EXPECT_EQ(LoadError({"[s]", "NP=2000000000"}, "s"),
              "Illegal polygon count 2000000000 in part s in file lib.dat");
    EXPECT_EQ(LoadError({"[s]", "NP=-1"}, "s"), "Illegal polygon count -1 in part s in file lib.dat");
    EXPECT_EQ(LoadError({"[s]", "NP=1", "P1=100001, 1"}, "s"),
              "Illegal point count 100001 in part s in file lib.dat");
    EXPECT_EQ(LoadError({"[s]", "NP=1", "P1=-3, 1"}, "s"),
              "Illegal point count -3 in part s in file lib.dat");
    EXPECT_EQ(LoadError({"[s]", "NP=1", "Q3=200000 ,1"}, "s"),
              "Illegal draw order count 200000 in part s in file lib.dat");
    // The largest count is taken where the section writes that many numbers
    // (LargePartsReadBackInOnePass); a bare count is refused.
    EXPECT_EQ(LoadError({"[s]", "NP=100000"}, "s"),
              "Part s in file lib.dat counts 100000 polygons but writes only 1 numbers");

    // Numbers that would overflow when counted from 0 or written back from 1.
    EXPECT_EQ(LoadError({"[s]", "NP=1", "Q1=1 ,-2147483648"}, "s"),
              "Illegal draw order entry -2147483648 in part s in file lib.dat");
    EXPECT_EQ(LoadError({"[s]", "NP=1", "BM=-2147483648, a.bmp"}, "s"),
              "Illegal bitmap polygon -2147483648 in part s in file lib.dat");
    TDrawClass edited = Read({"[s]", "NP=1", "Q1=1 ,1"}, "s");
    edited.SetDrawOrder(0, 0, 2147483647);
    TStringList written;
    WritePart(edited, written);
    EXPECT_EQ(written[written.size() - 8], "Q1=1 ,2147483648");

    // All the points of a part together are bounded too, before they are made.
    TStringList heavy = {"[h]", "NP=11"};
    const std::string hundredThousand = "P%d=100000, 1";
    for (int i = 1; i <= 11; ++i)
        heavy.push_back(StrFormat(hundredThousand.c_str(), i));
    EXPECT_EQ(LoadError(heavy, "h"), "Part h in file lib.dat has more than 1000000 points");
}

TEST(PartFile, CountsAndCoordinatesBeyondWhatTheSectionWritesAreRefused) {
    // Polygons, points and draw order entries are each backed by a number the
    // section writes: a small file cannot make a large part.
    EXPECT_EQ(LoadError({"[s]", "NP=9", "P1=3, 1, 0,0,0"}, "s"),
              "Part s in file lib.dat counts 9 polygons but writes only 7 numbers");
    EXPECT_EQ(LoadError({"[s]", "NP=1", "P1=100000, 1"}, "s"),
              "Part s in file lib.dat counts 100000 points but writes only 4 numbers");
    EXPECT_EQ(LoadError({"[s]", "NP=2", "P1=6, 1", "P2=6, 1"}, "s"),
              "Part s in file lib.dat counts 12 points but writes only 7 numbers");
    EXPECT_EQ(LoadError({"[s]", "NP=1", "Q2=50000 ,1"}, "s"),
              "Part s in file lib.dat counts 50000 draw order entries but writes only 4 numbers");
    // Within what is written, short lines still read their missing numbers as 0.
    TDrawClass shortLine = Read({"[s]", "NP=2", "P2=4, 1, 5,5", "Q1=3 ,2"}, "s");
    EXPECT_EQ(shortLine.PolygonCount(), 2);
    EXPECT_EQ(shortLine.GetPoint(1, 3), (TPoint3D{0, 0, 0}));
    EXPECT_EQ(shortLine.GetDrawCount(0), 3);
    EXPECT_EQ(shortLine.GetDrawOrder(0, 2), -1);

    // Coordinates lie within the bound of stones, turn offsets within a twentieth of it.
    EXPECT_EQ(LoadError({"[s]", "NP=1", "P1=3, 1, 0,0,0, 10000001,0,0, 0,1,0"}, "s"),
              "Illegal point coordinate 10000001 in part s in file lib.dat");
    EXPECT_EQ(LoadError({"[s]", "NP=1", "P1=3, 1, 0,0,0, 1,0,0, 0,-10000001,0"}, "s"),
              "Illegal point coordinate -10000001 in part s in file lib.dat");
    EXPECT_EQ(LoadError({"[s]", "NP=0", "BB=20,20000000,20"}, "s"),
              "Illegal bounding box size 20000000 in part s in file lib.dat");
    EXPECT_EQ(LoadError({"[s]", "NP=0", "RO=0,0, 500001,0"}, "s"),
              "Illegal turn offset 500001 in part s in file lib.dat");
    TDrawClass largest = Read({"[s]", "NP=1", "BB=10000000,10000000,10000000",
                               "P1=3, 1, 0,0,0, 10000000,0,0, 0,-10000000,10000000", "RO=500000,-500000"},
                              "s");
    EXPECT_EQ(largest.GetPoint(0, 2), (TPoint3D{0, -10000000, 10000000}));
    EXPECT_EQ(largest.BoundingZ(), 10000000);
    EXPECT_EQ(largest.GetTurnOffset(0), (TTurnOffset{500000, -500000}));

    // What the sections of one file make together stays near the file's size:
    // a file of many sections, each counting the most polygons, points and
    // entries, makes nothing at all.
    TStringList bomb;
    for (int i = 0; i < 200; ++i) {
        bomb.push_back(StrFormat("[p%d]", i));
        bomb.push_back("NP=100000");
        for (int k = 1; k <= 10; ++k)
            bomb.push_back(StrFormat("P%d=100000", k));
        for (int o = 1; o <= 8; ++o)
            bomb.push_back(StrFormat("Q%d=100000", o));
    }
    for (int i = 0; i < 200; ++i)
        EXPECT_NE(LoadError(bomb, StrFormat("p%d", i)), "");
}

TEST(PartFile, LargePartsReadBackInOnePass) {
    // A part of 100,000 polygons: every key is found once, not by a search
    // of the whole section.
    TDrawClass big;
    big.FileName = "lib.dat";
    big.PartName = "big";
    for (int i = 0; i < 100000; ++i)
        big.AddPolygon({{0, 0, i}, {20, 0, i}, {20, 20, i}});
    TStringList lines;
    WritePart(big, lines);
    const TDrawClass back = Read(lines, "big");
    ASSERT_EQ(back.PolygonCount(), 100000);
    EXPECT_EQ(back.GetPoint(99999, 2), (TPoint3D{20, 20, 99999}));
}

TEST(PartFile, FilesFromThePartsFolder) {
    TTempProgramFolder folder;
    folder.WritePartFile("Lib.DAT", "[arch]\r\nNP=1\r\nBB=20,20,20\r\nP1=3, 1, 0,0,0, 1,0,0, 0,1,0\r\n\r\n"
                                    "[slope]\nNP=0\nBB=1,2,3");
    TDrawClass d;
    TPartReader::Load(d, "lib.dat", "arch"); // CR LF lines, file name without regard to case
    EXPECT_EQ(d.PolygonCount(), 1);
    EXPECT_EQ(d.GetPoint(0, 1), (TPoint3D{1, 0, 0}));
    TPartReader::Load(d, "lib.dat", "slope.DAT"); // the ending ".dat" of a part name is ignored
    EXPECT_EQ(d.BoundingZ(), 3);
    EXPECT_EQ(d.PartName, "slope.DAT");
    // A file is read again once it changes; of two sections of one name the first counts.
    folder.WritePartFile("Lib.DAT", "[ARCH]\nNP=3\nBB=20,20,20\n\n[arch]\nNP=4\nBB=20,20,20\n");
    TPartReader::Load(d, "lib.dat", "arch");
    EXPECT_EQ(d.PolygonCount(), 3);

    auto error = [](const std::string& file, const std::string& part) {
        try {
            TDrawClass x;
            TPartReader::Load(x, file, part);
        } catch (const EError& e) {
            return e.Message();
        }
        return std::string();
    };
    EXPECT_EQ(error("none.dat", "arch"), "Could not find part/file arch/none.dat");
    EXPECT_EQ(error("lib.dat", "tower"), "Could not find part tower in file lib.dat");
    EXPECT_EQ(error("", "arch"), "Could not find part/file arch/");

    // A .bcp file of the part wins over every library file, which then share it.
    folder.WritePartFile("other.dat", "[arch]\nNP=0\nBB=0,0,0\n");
    folder.WritePartFile("arch.bcp", "[arch]\nNP=2\nBB=5,5,5\n");
    TPartReader::Load(d, "lib.dat", "arch");
    EXPECT_EQ(d.PolygonCount(), 2);
    TPartReader::Load(d, "other.dat", "arch");
    EXPECT_EQ(d.PolygonCount(), 2);
    EXPECT_EQ(d.FileName, "other.dat");
    folder.WritePartFile("slope.bcp", "[other]\n");
    EXPECT_EQ(error("lib.dat", "slope"), "Could not find part slope in file lib.dat");
}

TEST(PartRegistry, KeysIgnoreCaseAndFailedLoadsRegisterNothing) {
    TTempProgramFolder folder;
    folder.WritePartFile("parts.dat", "[Arch]\nNP=0\nBB=40,20,20\n");
    TPartRegistry& registry = TPartRegistry::Instance();
    TDrawClass* a = FindPart("Parts.dat", "Arch");
    TDrawClass* b = FindPart("parts.dat", "arch");
    EXPECT_EQ(a, b);
    EXPECT_EQ(registry.Count(), 1);
    EXPECT_THROW(FindPart("parts.dat", "missing"), EError);
    EXPECT_EQ(registry.Count(), 1);

    auto mine = std::make_unique<TDrawClass>();
    mine->FileName = "PARTS.DAT";
    mine->PartName = "ARCH";
    EXPECT_FALSE(registry.Register(mine)); // key present: nothing happens
    ASSERT_NE(mine, nullptr);
    mine->FileName = "userblks.dat";
    EXPECT_TRUE(registry.Register(mine));
    EXPECT_EQ(mine, nullptr);
    EXPECT_EQ(registry.Count(), 2);
}

TEST(PartRegistry, WhatTheDefinitionsTakeTogetherIsBounded) {
    TTempProgramFolder folder;
    // A part of 5000 triangles, about 380 KB, read from a .bcp under any file name.
    std::string part = "[tri]\nNP=5000\nBB=1,1,1\n";
    for (int i = 1; i <= 5000; ++i)
        part += StrFormat("P%d=3, 1, 0,0,0, 1,0,0, 0,1,0\n", i);
    folder.WritePartFile("tri.bcp", part);
    TPartRegistry& registry = TPartRegistry::Instance();
    registry.SetShapeLimit(int64_t{1} << 20);
    const TDrawClass* first = FindPart("a.dat", "tri");
    const int64_t one = registry.ShapeBytes();
    EXPECT_EQ(one, first->ShapeBytes());
    EXPECT_GT(one, 300000);
    FindPart("b.dat", "tri");
    try {
        FindPart("c.dat", "tri");
        ADD_FAILURE() << "a third copy went beyond the limit";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(),
                  "Part tri in file c.dat is not loaded: the parts in use would take more than 1 MB");
    }
    EXPECT_EQ(registry.Count(), 2);
    EXPECT_EQ(registry.ShapeBytes(), 2 * one);
    EXPECT_EQ(FindPart("A.DAT", "TRI"), first); // registered parts are found as before

    // Definitions the editor registers count too; clearing frees it all.
    auto mine = std::make_unique<TDrawClass>(*first);
    mine->FileName = "userblks.dat";
    EXPECT_TRUE(registry.Register(mine));
    EXPECT_EQ(registry.ShapeBytes(), 3 * one);
    registry.Clear();
    EXPECT_EQ(registry.ShapeBytes(), 0);
    FindPart("c.dat", "tri");
    EXPECT_EQ(registry.Count(), 1);
    registry.SetShapeLimit(kMaxLibraryShapeBytes);

    // One file read under ever new names makes no more than its size allows:
    // 40 KB whose every number backs a polygon, a point and eight draw order
    // entries load under a first name, and not under the next.
    std::string dense = "[dense]\nNP=20000\nBB=1,1,1\nP1=20000, 1\n";
    for (int o = 1; o <= 8; ++o)
        dense += StrFormat("Q%d=20000\n", o);
    for (int i = 0; i < 20000; ++i)
        dense += "1,";
    dense += "\n";
    folder.WritePartFile("dense.bcp", dense);
    registry.Clear();
    int loaded = 0;
    std::string refusal;
    for (int i = 0; i < 200 && refusal.empty(); ++i) {
        try {
            FindPart(StrFormat("f%d.dat", i), "dense");
            ++loaded;
        } catch (const EError& e) {
            refusal = e.Message();
        }
    }
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(refusal,
              "Part dense in file f1.dat is not loaded: the parts read from dense.bcp would take more "
              "than 64 times its size");
    EXPECT_GT(registry.ShapeBytes(), 20 * static_cast<int64_t>(dense.size()));
    EXPECT_LE(registry.ShapeBytes(), kMaxShapeBytesPerFileByte * static_cast<int64_t>(dense.size()));
    registry.Clear();
}

TEST(PartRegistry, SaveModifiedPartsWritesEachAloneAsBcp) {
    TTempProgramFolder folder;
    folder.WritePartFile("parts.dat", "[a]\nNP=0\nBB=1,1,1\n\n[b]\nNP=0\nBB=2,2,2\n");
    TDrawClass* a = FindPart("parts.dat", "a");
    FindPart("parts.dat", "b");
    a->AddPolygon({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}});
    TPartRegistry::Instance().SaveModifiedParts();
    EXPECT_FALSE(a->Modified);
    EXPECT_FALSE(std::filesystem::exists(folder.Parts() / "b.bcp"));
    EXPECT_EQ(folder.ReadFile(folder.Parts() / "a.bcp"),
              "[a]\r\nNP=1\r\nBB=1,1,1\r\nP1=3, 1, 0,0,0, 1,0,0, 0,1,0\r\n"
              "Q1=1 ,1\r\nQ2=1 ,1\r\nQ3=1 ,1\r\nQ4=1 ,1\r\nQ5=1 ,1\r\nQ6=1 ,1\r\nQ7=1 ,1\r\nQ8=1 ,1\r\n");

    // A name that would leave the parts folder is not written; the others still are.
    auto bad = std::make_unique<TDrawClass>();
    bad->FileName = "x.dat";
    bad->PartName = "../evil";
    bad->Modified = true;
    TPartRegistry::Instance().Register(bad);
    FindPart("parts.dat", "b")->SetBoundingBox(3, 3, 3);
    EXPECT_THROW(TPartRegistry::Instance().SaveModifiedParts(), EError);
    EXPECT_TRUE(std::filesystem::exists(folder.Parts() / "b.bcp"));
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "evil.bcp"));
}
