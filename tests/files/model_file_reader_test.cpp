#include <gtest/gtest.h>

#include <limits>
#include <tuple>
#include <typeinfo>

#include "common/error.h"
#include "files/model_file_reader.h"
#include "files/model_file_writer.h"
#include "files_test_support.h"
#include "model/general_block.h"
#include "model/roof.h"
#include "model/round_block.h"
#include "model/window.h"
#include "partlib/draw_class.h"

namespace fs = std::filesystem;

namespace {

class ModelReaderTest : public ::testing::Test {
protected:
    TModelReadResult Read(const TStringList& lines, TLoadMode mode = TLoadMode::lmComplete) {
        settings.Mode = mode;
        return ReadModelLines(lines, model.List, settings, errors.Handler());
    }
    // The only stone read.
    TBlock& Only() {
        EXPECT_EQ(model.Count(), 1);
        return model[0];
    }

    TShippedPartsFolder folder;
    TOwnedList model;
    TModelReadSettings settings;
    TLineErrors errors;
};

} // namespace

TEST_F(ModelReaderTest, BlockLineFieldsInUnits) {
    auto r = Read({"= 70 330 20 0 0 0 1", "B 20 40 -13 40 80 20 255 1 1 3 1 4 wall 9"});
    EXPECT_TRUE(errors.Items.empty());
    EXPECT_EQ(r.UnitsFlag, 1);
    TBlock& s = Only();
    EXPECT_EQ(s.Kind, 'B');
    EXPECT_EQ(s.X, 20);
    EXPECT_EQ(s.Y, 40);
    EXPECT_EQ(s.Z, -13);
    EXPECT_EQ(s.Length, 40);
    EXPECT_EQ(s.Width, 80);
    EXPECT_EQ(s.Height, 20);
    EXPECT_EQ(s.Color, 255u);
    EXPECT_TRUE(s.Tag);
    EXPECT_TRUE(s.BasePlate);
    EXPECT_EQ(s.Turn, 3);
    EXPECT_TRUE(s.Transparent);
    EXPECT_EQ(s.Group, 4);
    EXPECT_EQ(s.Name, "wall");
    EXPECT_EQ(s.ExtraNumber, 9);
    EXPECT_EQ(s.Caption, "4x2x3"); // counted as the entry it came from, before its turns
    EXPECT_FALSE(s.Selected);
    EXPECT_EQ(r.LinesRead, 2);
    EXPECT_EQ(r.StonesAdded, 1);
    EXPECT_EQ(r.LinesFailed, 0);
}

TEST_F(ModelReaderTest, OldUnitsAreConvertedFromModulesAndThirds) {
    // No view line: grid modules and thirds.
    Read({"B 1 2 3 2 4 3"});
    EXPECT_EQ(Only().X, 20);
    EXPECT_EQ(Only().Y, 40);
    EXPECT_EQ(Only().Z, 20);
    EXPECT_EQ(Only().Length, 40);
    EXPECT_EQ(Only().Width, 80);
    EXPECT_EQ(Only().Height, 20);
    model.Free();
    // Units flag 0; heights drop the remainder of the division by 3.
    auto r = Read({"= 0 0 20 0 0 0 0", "B 1 2 4 2 4 2"});
    EXPECT_EQ(r.UnitsFlag, 0);
    EXPECT_EQ(Only().Z, 26);
    EXPECT_EQ(Only().Height, 13);
    model.Free();
    // Units flag 1 takes the numbers as they stand.
    Read({"= 0 0 20 0 0 0 1", "B 1 2 3 2 4 3"});
    EXPECT_EQ(Only().X, 1);
    EXPECT_EQ(Only().Height, 3);
}

TEST_F(ModelReaderTest, OldUnitsBeyondTheCoordinateRangeAreLineErrors) {
    auto r = Read({"B 200000000 0 0 1 1 1", "B 0 0 -400000000 1 1 1", "B 1 0 0 1 1 1"});
    ASSERT_EQ(errors.Items.size(), 2u);
    EXPECT_EQ(errors.Items[0].first, 1);
    EXPECT_EQ(errors.Items[0].second, "4000000000 is out of the range of model coordinates");
    EXPECT_EQ(errors.Items[1].first, 2);
    EXPECT_EQ(r.StonesAdded, 1);
    EXPECT_EQ(Only().X, 20);
}

TEST_F(ModelReaderTest, StonesBeyondWhatCanBeDrawnAreLineErrors) {
    auto r = Read({"= 70 330 20 0 0 0 1", "B 2147483640 0 0 20 20 20 255 1 0 0 0 0 far 0",
                   "B 0 0 0 20 20 20 255 1 0 0 0 0 near 0", "B 0 0 0 20 -20 20 255 1 0 0 0 0 inside-out 0",
                   "B -10000001 0 0 20 20 20", "B 0 0 0 10000000 20 20"});
    ASSERT_EQ(errors.Items.size(), 3u);
    EXPECT_EQ(errors.Items[0].first, 2);
    EXPECT_EQ(
        errors.Items[0].second,
        "The stone at 2147483640, 0, 0 of size 20 x 20 x 20 lies outside what can be drawn: places must lie "
        "within 10000000 units of the origin, sizes from 0 to 10000000 units");
    EXPECT_EQ(errors.Items[1].first, 4);
    EXPECT_EQ(errors.Items[2].first, 5);
    EXPECT_EQ(r.StonesAdded, 2);
}

TEST_F(ModelReaderTest, ShortLinesAndFlags) {
    Read({"= 0 0 20 0 0 0 1", "B 20 40 20 40 80 20 255"});
    TBlock& s = Only();
    EXPECT_EQ(s.Color, 255u);
    EXPECT_FALSE(s.Tag);
    EXPECT_FALSE(s.BasePlate);
    EXPECT_EQ(s.Turn, 0);
    EXPECT_FALSE(s.Transparent);
    EXPECT_EQ(s.Group, 0);
    EXPECT_EQ(s.Name, "");
    EXPECT_EQ(s.ExtraNumber, 0);
    model.Free();
    // Any non-zero flag counts as set.
    Read({"= 0 0 20 0 0 0 1", "B 0 0 0 20 20 20 0 7 -1 0 2"});
    EXPECT_TRUE(Only().Tag);
    EXPECT_TRUE(Only().BasePlate);
    EXPECT_TRUE(Only().Transparent);
}

TEST_F(ModelReaderTest, NonNumericTokenGivesZeroForLaterNumbersWhileWordsConsume) {
    Read({"= 0 0 20 0 0 0 1", "B 20 40 20 40 80 20 255 1 0 0 0 x nm 7"});
    TBlock& s = Only();
    EXPECT_EQ(s.Color, 255u);
    EXPECT_EQ(s.Group, 0);
    EXPECT_EQ(s.Name, "x");      // the word takes the token the numbers stopped at
    EXPECT_EQ(s.ExtraNumber, 0); // "nm" is no number either
    model.Free();
    EXPECT_EQ(errors.Items.size(), 1u);
    errors.Items.clear();

    Read({"= 0 0 20 0 0 0 1", "B 20 40 20 40 80 20 red 1 1 1 1 3 nm 7"});
    TBlock& t = Only();
    EXPECT_EQ(t.Z, 20);
    EXPECT_EQ(t.Length, 40);
    EXPECT_EQ(t.Height, 20);
    EXPECT_EQ(t.Color, 0u);
    EXPECT_FALSE(t.Tag);
    EXPECT_FALSE(t.BasePlate);
    EXPECT_EQ(t.Turn, 0);
    EXPECT_FALSE(t.Transparent);
    EXPECT_EQ(t.Group, 0);
    EXPECT_EQ(t.Name, "red");
    // Reading goes on behind the word, with the next token of the line.
    EXPECT_EQ(t.ExtraNumber, 1);
    // The stone is kept as the format reads it, and the user is told which
    // text stood where a number belongs; an empty field counts as such text.
    ASSERT_EQ(errors.Items.size(), 1u);
    EXPECT_EQ(errors.Items[0].second,
              "\"red\" stands where a number belongs: that number and the ones after it "
              "up to the next name are read as 0. The stone is kept so.");
    model.Free();
    for (const char* line : {"B 0 0 0 20 20 20 nan 1 0 +1 0 abc n 0", "B 0 0 0 20 20 20 255 1 0 0 0 0 a  0",
                             "B 0 0 0 20 20 20 inf", "B 0 0 0 20 20 20 255 1 0 +1"}) {
        errors.Items.clear();
        const TModelReadResult result = Read({"= 0 0 20 0 0 0 1", line});
        EXPECT_EQ(result.LinesReadInPart, 1) << line;
        EXPECT_EQ(result.StonesAdded, 1) << line;
        EXPECT_EQ(errors.Items.size(), 1u) << line;
        model.Free();
    }
    // Short lines and lines that read whole are no such lines.
    for (const char* line :
         {"B 0 0 0 20 20 20", "B 0 0 0 20 20 20 255 1 0 0 0 0 a 0", "B 0 0 0 20 20 20 -0 1"}) {
        errors.Items.clear();
        EXPECT_EQ(Read({"= 0 0 20 0 0 0 1", line}).LinesReadInPart, 0) << line;
        EXPECT_TRUE(errors.Items.empty()) << line;
        model.Free();
    }
}

TEST_F(ModelReaderTest, GeneralStoneTakesItsPart) {
    Read({"= 0 0 20 0 0 0 1", "G 20 0 0 0 0 0 255"});
    TBlock& s = Only();
    EXPECT_EQ(typeid(s), typeid(TGeneralBlock));
    ASSERT_NE(s.Part, nullptr);
    EXPECT_EQ(s.Part->FileName, "parts.dat");
    EXPECT_EQ(s.Part->PartName, "stdblock");
    EXPECT_EQ(s.Length, 40);
    EXPECT_EQ(s.Width, 20);
    EXPECT_EQ(s.Height, 20);
    EXPECT_EQ(s.Name, "stdblock");
    EXPECT_EQ(s.Caption, "stdblock");
    EXPECT_EQ(s.X, 20);
    model.Free();

    // The extents come from the part, turned; the fields behind the part words are read.
    Read({"= 0 0 20 0 0 0 1", "G 0 0 0 1 1 1 255 1 0 1 0 parts.dat stdblock 2 lbl 5"});
    TBlock& t = Only();
    EXPECT_EQ(t.Length, 20); // odd turn: the definition's x and y swapped
    EXPECT_EQ(t.Width, 40);
    EXPECT_EQ(t.Height, 20);
    EXPECT_EQ(t.Group, 2);
    EXPECT_EQ(t.Name, "lbl");
    EXPECT_EQ(t.ExtraNumber, 5);
}

TEST_F(ModelReaderTest, GeneralStoneNameDefaultsToThePartName) {
    folder.WritePartFile("mine.dat", "[17-arch-x]\nNP=0\nBB=80,20,60\n");
    Read({"= 0 0 20 0 0 0 1", "G 0 0 0 0 0 0 255 1 0 0 0 mine.dat 17-arch-x 0  0",
          "G 100 0 0 0 0 0 255 1 0 0 0 mine.dat 17-arch-x 0 door 0", "B 0 100 0 20 20 20 255 1 0 0 0 0  0"});
    ASSERT_EQ(model.Count(), 3);
    EXPECT_TRUE(errors.Items.empty());
    for (TBlock* s : model.List.Stones()) {
        if (s->Kind == 'B') {
            EXPECT_EQ(s->Name, "");         // other kinds keep an empty name
            EXPECT_EQ(s->Caption, "1x1x3"); // and are counted by their size
        } else {
            EXPECT_EQ(s->Caption, "17");
            EXPECT_EQ(s->Name, s->X == 0 ? "17_arch_x" : "door");
            EXPECT_EQ(s->Height, 60);
        }
    }
}

TEST_F(ModelReaderTest, KindLetters) {
    // Line, kind letter kept, class made.
    const std::vector<std::tuple<std::string, char, const std::type_info*>> cases = {
        {"B", 'B', &typeid(TBlock)},      {"R", 'R', &typeid(TRoundBlock)},
        {"T", 'T', &typeid(TRoof)},       {"N", 'N', &typeid(TRoofTop)},
        {"C", 'C', &typeid(TRoofCorner)}, {"I", 'I', &typeid(TRoofTopCorner)},
        {"E", 'E', &typeid(TRoofTopEnd)}, {"W", 'W', &typeid(TWindow)},
        {"D", 'D', &typeid(TDoor)},       {"O", 'O', &typeid(TWheel)},
        {"X", 'X', &typeid(TBlock)}, // unknown letters make a plain block that keeps its letter
        {" ", 'B', &typeid(TBlock)}, // a leading space is a plain block "B"
        {"g", 'g', &typeid(TBlock)}, // letter case counts
    };
    for (const auto& [letter, kind, type] : cases) {
        model.Free();
        Read({"= 0 0 20 0 0 0 1", letter + " 40 0 0 20 20 20"});
        ASSERT_EQ(model.Count(), 1) << letter;
        EXPECT_EQ(model[0].Kind, kind) << letter;
        EXPECT_EQ(typeid(model[0]), *type) << letter;
        EXPECT_EQ(model[0].X, 40) << letter;
    }
    EXPECT_TRUE(errors.Items.empty());
}

TEST_F(ModelReaderTest, LongLinesAreReadWhole) {
    // A name of any length and the number behind it.
    const std::string head = "B 0 0 0 20 20 20 255 1 0 0 0 0 ";
    const std::string name(400, 'n');
    Read({"= 0 0 20 0 0 0 1", head + name + " 5"});
    EXPECT_EQ(Only().Name, name);
    EXPECT_EQ(Only().ExtraNumber, 5);
    model.Free();
    // A number that would have been cut in two.
    const std::string padded = head + std::string(220, 'a') + " 123456";
    ASSERT_GT(padded.size(), 256u);
    Read({"= 0 0 20 0 0 0 1", padded});
    EXPECT_EQ(Only().ExtraNumber, 123456);
    model.Free();
    // A general stone's part words and a view line, each behind a long run of spaces.
    const std::string spaces(300, ' ');
    Read({"=" + spaces + "45 90 10 3 4 0 1",
          "G" + spaces + "0 0 0 0 0 0 255 1 0 0 0 parts.dat stdblock 7 " + std::string(1000, 'g') + " 8"});
    EXPECT_EQ(Only().Part->PartName, "stdblock");
    EXPECT_EQ(Only().Group, 7);
    EXPECT_EQ(Only().Name.size(), 1000u);
    EXPECT_EQ(Only().ExtraNumber, 8);
    EXPECT_TRUE(errors.Items.empty());

    // What is written reads back the same, however long its lines.
    TOwnedList back;
    const TStringList written = ModelFileLines(model.List, TViewRecord{}, TSaveMode::smComplete);
    ASSERT_GT(written[1].size(), 1000u);
    ReadModelLines(written, back.List, {}, errors.Handler());
    ASSERT_EQ(back.Count(), 1);
    EXPECT_EQ(back[0].ToString(), Only().ToString());
    EXPECT_EQ(back[0].Name, Only().Name);
    EXPECT_TRUE(errors.Items.empty());
}

TEST_F(ModelReaderTest, LineErrorsAreReportedWithLineNumbersAndReadingGoesOn) {
    auto r = Read({"= 0 0 20 0 0 0 1", "B 0 0 0 20 20 20 1 1 0 0 0 0 a 0", "", "B 1x 0 0",
                   "G 0 0 0 0 0 0 0 1 0 0 0 parts.dat nosuch 0 n 0", "   ", "R 40 0 0 20 20 20",
                   "B 0 0 0 20 20 20 1 1 0 0 0 99999999999 a 0"});
    ASSERT_EQ(errors.Items.size(), 5u);
    EXPECT_EQ(errors.Items[0], std::make_pair(3, std::string("The line is empty")));
    EXPECT_EQ(errors.Items[1], std::make_pair(4, std::string("'1x' is not a valid integer value")));
    EXPECT_EQ(errors.Items[2],
              std::make_pair(5, std::string("Could not find part nosuch in file parts.dat")));
    EXPECT_EQ(errors.Items[3], std::make_pair(6, std::string("The line is empty")));
    EXPECT_EQ(errors.Items[4], std::make_pair(8, std::string("'99999999999' is not a valid integer value")));
    EXPECT_EQ(r.LinesRead, 8);
    EXPECT_EQ(r.LinesFailed, 5);
    EXPECT_EQ(r.StonesAdded, 2);
    EXPECT_EQ(model.Count(), 2);
    model.Free();
    // Without a handler the errors are only counted; a missing part file is a line error too.
    r = ReadModelLines({"G 0 0 0 0 0 0 0 1 0 0 0 none.dat x 0 n 0", "B 0 0 0 20 20 20"}, model.List, settings,
                       nullptr);
    EXPECT_EQ(r.LinesFailed, 1);
    EXPECT_EQ(model.Count(), 1);
}

TEST_F(ModelReaderTest, ViewLineInCompleteMode) {
    auto r = Read({"= 70 330 25 -120 45 0 1"});
    ASSERT_TRUE(r.View.has_value());
    EXPECT_EQ(r.View->RotX, 70);
    EXPECT_EQ(r.View->RotZ, 330);
    EXPECT_EQ(r.View->ZoomCode, 25);
    EXPECT_FLOAT_EQ(r.View->ZoomFactor, 0.4f);
    EXPECT_EQ(r.View->OffsetX, -120);
    EXPECT_EQ(r.View->OffsetY, 45);
    EXPECT_TRUE(r.View->HasZoomAndOffsets);
    EXPECT_EQ(r.UnitsFlag, 1);
    EXPECT_FALSE(Read({"B 0 0 0 1 1 1"}).View.has_value());
}

TEST_F(ModelReaderTest, ViewLineWithZoomCodeZeroTakesUnitsAndRotationsOnly) {
    auto r = Read({"= 45 90 0 10 20 0 0", "B 1 2 3 2 4 3"});
    ASSERT_EQ(errors.Items.size(), 1u);
    EXPECT_EQ(errors.Items[0].first, 1);
    EXPECT_EQ(errors.Items[0].second,
              "The view line's zoom code is 0 (division by zero); zoom and offsets are not taken");
    ASSERT_TRUE(r.View.has_value());
    EXPECT_EQ(r.View->RotX, 45);
    EXPECT_EQ(r.View->RotZ, 90);
    EXPECT_FALSE(r.View->HasZoomAndOffsets);
    EXPECT_EQ(r.UnitsFlag, 0);
    EXPECT_EQ(Only().X, 20); // the units flag 0 was taken
    EXPECT_EQ(r.LinesFailed, 1);
    model.Free();
    errors.Items.clear();

    // After a good view line, a line with code 0 changes the rotations only.
    r = Read({"= 70 330 20 -5 6 0 0", "= 10 20 0 7 8 0 1"});
    ASSERT_TRUE(r.View.has_value());
    EXPECT_EQ(r.View->RotX, 10);
    EXPECT_EQ(r.View->RotZ, 20);
    EXPECT_TRUE(r.View->HasZoomAndOffsets);
    EXPECT_FLOAT_EQ(r.View->ZoomFactor, 0.5f);
    EXPECT_EQ(r.View->OffsetX, -5);
    EXPECT_EQ(r.View->OffsetY, 6);
    EXPECT_EQ(r.UnitsFlag, 1);
    EXPECT_EQ(errors.Items.size(), 1u);
    errors.Items.clear();

    // A malformed number takes nothing of the line.
    r = Read({"= 45 9x 20 0 0 0 1", "B 1 2 3 2 4 3"});
    ASSERT_EQ(errors.Items.size(), 1u);
    EXPECT_FALSE(r.View.has_value());
    EXPECT_EQ(r.UnitsFlag, 0);
    EXPECT_EQ(Only().X, 20);
}

TEST_F(ModelReaderTest, CompleteModeRaisesHighestGroupAndExtraNumber) {
    settings.HighestGroup = 10;
    auto r = Read({"= 0 0 20 0 0 0 1", "B 0 0 0 20 20 20 0 1 0 0 0 3 a 4",
                   "B 40 0 0 20 20 20 0 1 0 0 0 12 a 8", "B 80 0 0 20 20 20 0 1 0 0 0 0 a -3"});
    EXPECT_EQ(r.HighestGroup, 12);
    EXPECT_EQ(r.HighestExtraNumber, 8);
    EXPECT_EQ(model.List.HighestExtraNumber, 8);
    for (TBlock* s : model.List.Stones())
        EXPECT_NE(s->Color, clWhite); // colour 0 stays in complete mode
    model.Free();

    settings.HighestGroup = 20;
    r = Read({"= 0 0 20 0 0 0 1", "B 0 0 0 20 20 20 0 1 0 0 0 3 a -4"});
    EXPECT_EQ(r.HighestGroup, 20);
    EXPECT_EQ(r.HighestExtraNumber, 0); // the remembered value starts at 0
    EXPECT_EQ(Only().ExtraNumber, -4);
    EXPECT_EQ(Only().Group, 3);
}

TEST_F(ModelReaderTest, StonesAreInsertedInPaintersOrder) {
    // For octant 0 a stone further along x is painted first.
    Read({"= 0 0 20 0 0 0 1", "B 0 0 0 40 20 20", "B 40 0 0 40 20 20", "B 0 0 20 40 20 20"});
    ASSERT_EQ(model.Count(), 3);
    EXPECT_EQ(model[0].X, 40);
    EXPECT_EQ(model[1].Z, 0);
    EXPECT_EQ(model[2].Z, 20);
}

TEST_F(ModelReaderTest, SubassemblyFormsOneNewGroup) {
    settings.HighestGroup = 4;
    settings.ExtraNumber = 9;
    settings.CurrentColor = clRed;
    auto r = Read({"= 70 330 0 0 0 0 1", "B 0 0 0 40 20 20 0 1 0 0 0 2 a 5",
                   "B 40 0 0 40 40 20 255 1 0 0 0 7 b 3", "B -100 -100 -20 400 400 6 255 1 1 0 0 0 plate 0",
                   "G 0 0 20 0 0 0 0 1 0 0 0 parts.dat stdblock"},
                  TLoadMode::lmSubassembly);
    EXPECT_TRUE(errors.Items.empty()); // the view (zoom code 0 included) is not taken
    EXPECT_FALSE(r.View.has_value());
    EXPECT_EQ(r.UnitsFlag, 1);
    EXPECT_EQ(r.HighestGroup, 5);
    EXPECT_EQ(r.SubassemblyGroup, 5);
    EXPECT_EQ(r.BasePlatesDropped, 1);
    EXPECT_EQ(r.StonesAdded, 3);
    ASSERT_EQ(model.Count(), 3);
    for (TBlock* s : model.List.Stones()) {
        EXPECT_EQ(s->Group, 5);
        EXPECT_EQ(s->ExtraNumber, 9);
        EXPECT_FALSE(s->BasePlate);
        EXPECT_EQ(s->Color, s->Name == "b" ? 255u : clRed);
    }
    EXPECT_EQ(model.List.HighestExtraNumber, 9);
    EXPECT_EQ(r.HighestExtraNumber, 9);
    EXPECT_FALSE(r.Box.Empty);
    EXPECT_EQ(r.Box.MinX, 0);
    EXPECT_EQ(r.Box.MinZ, 0);
    EXPECT_EQ(r.Box.MaxX, 80);
    EXPECT_EQ(r.Box.MaxY, 40);
    EXPECT_EQ(r.Box.MaxZ, 40);
    EXPECT_EQ(r.ProxySizeText, " 4x2x6");
    EXPECT_FALSE(r.SubassemblyEmpty());
}

TEST_F(ModelReaderTest, SubassemblyProxySizeFarFromTheOrigin) {
    // The box starts from the first stone, so stones beyond 9999 units count.
    auto r = Read({"= 0 0 20 0 0 0 1", "B 20000 -30000 12000 40 80 13", "B 20040 -30000 12000 20 20 6"},
                  TLoadMode::lmSubassembly);
    EXPECT_EQ(r.Box.MinX, 20000);
    EXPECT_EQ(r.Box.MinY, -30000);
    EXPECT_EQ(r.ProxySizeText, " 3x4x1");
}

TEST_F(ModelReaderTest, SubassemblyWithoutUsableStoneBuildsNoProxy) {
    auto r = Read({"= 0 0 20 0 0 0 1", "B 0 0 0 400 400 6 255 1 1 0 0 0 plate 0", "B 1x"},
                  TLoadMode::lmSubassembly);
    EXPECT_TRUE(r.SubassemblyEmpty());
    EXPECT_TRUE(r.Box.Empty);
    EXPECT_EQ(r.ProxySizeText, "");
    EXPECT_EQ(model.Count(), 0);
    EXPECT_EQ(r.HighestGroup, 1); // the group number was taken all the same
    EXPECT_TRUE(Read({}, TLoadMode::lmSubassembly).SubassemblyEmpty());

    // Whole modules and thirds, remainders dropped.
    TSubassemblyBox box;
    box.Empty = false;
    box.MinX = -40;
    box.MaxX = 39;
    box.MaxY = 20;
    box.MinZ = 6;
    box.MaxZ = 26;
    EXPECT_EQ(SubassemblySizeText(box), " 3x1x3");
}

TEST_F(ModelReaderTest, SubassemblyWhenNoGroupNumberIsLeft) {
    settings.HighestGroup = std::numeric_limits<int32_t>::max();
    EXPECT_THROW(Read({"B 0 0 0 1 1 1"}, TLoadMode::lmSubassembly), EError);
    EXPECT_EQ(model.Count(), 0);
    // A complete load may keep the largest group.
    Read({"B 0 0 0 1 1 1"});
    EXPECT_EQ(model.Count(), 1);
}

TEST_F(ModelReaderTest, LoadModelFile) {
    WriteText(folder.Path() / "house.stm", "= 70 330 20 0 0 0 1\r\nB 0 0 0 40 20 20 255 1 0 0 0 0 a 0\r\n");
    // Looked up without regard to letter case.
    auto r = LoadModelFile(folder.Path() / "HOUSE.STM", model.List, settings, errors.Handler());
    EXPECT_EQ(model.Count(), 1);
    EXPECT_EQ(r.LinesRead, 2);
    EXPECT_TRUE(errors.Items.empty());
    model.Free();
    // A missing file raises an error that names it, and adds nothing.
    fs::path missing = folder.Path() / "nothing.stm";
    try {
        LoadModelFile(missing, model.List, settings, errors.Handler());
        ADD_FAILURE() << "no error";
    } catch (const EError& e) {
        EXPECT_NE(e.Message().find(missing.string()), std::string::npos) << e.Message();
    }
    EXPECT_EQ(model.Count(), 0);
}

TEST_F(ModelReaderTest, OnlyLinesWithAPlaceAndASizeAreStonesAndOtherTextIsNoModel) {
    const std::string notAStone =
        "The line is not a stone: a stone needs its kind letter and then six numbers, its place and its size";
    // Each line without the six numbers is a line error; reading goes on.
    auto r =
        Read({"= 0 0 20 0 0 0 1", "R", "B 20 40 20 red 80 20 255 1 1 1 1 3 nm 7", "B 1 2 3 4 5",
              "Hello world", "B 0 0 0 20 20 20 255 1 0 0 0 0 kept 0", "X 40 0 0 20 20 20", "B 0  0 0 1 1 1"});
    ASSERT_EQ(errors.Items.size(), 5u);
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(errors.Items[i], std::make_pair(static_cast<int>(i) + 2, notAStone));
    EXPECT_EQ(errors.Items[4], std::make_pair(8, notAStone));
    EXPECT_EQ(r.StonesAdded, 2);
    ASSERT_EQ(model.Count(), 2);
    // A well-formed line with an unknown kind letter is still a plain block keeping its letter.
    const TBlock& unknown = model[0].Kind == 'X' ? model[0] : model[1];
    EXPECT_EQ(unknown.Kind, 'X');
    EXPECT_EQ(typeid(unknown), typeid(TBlock));
    model.Free();
    errors.Items.clear();

    // Text without one view line or stone line is refused whole: nothing is
    // added and no line is reported, in either mode.
    for (TLoadMode mode : {TLoadMode::lmComplete, TLoadMode::lmSubassembly}) {
        try {
            Read({"Dear builder,", "", "this is a letter = not a model.", "Regards 1 2 3"}, mode);
            ADD_FAILURE() << "no error";
        } catch (const EError& e) {
            EXPECT_EQ(e.Message(),
                      "The text is not a Stonemill model: none of its lines is a view line or a stone");
        }
        EXPECT_EQ(model.Count(), 0);
        EXPECT_TRUE(errors.Items.empty());
    }
    // A view line whose numbers are missing does not make a model either.
    EXPECT_THROW(Read({"==== Heading ====", "Text"}), EError);
    EXPECT_TRUE(errors.Items.empty());

    // One view line or stone line makes it a model; the errors of the lines
    // before it are reported then, in their order.
    r = Read({"Title", "", "B 0 0 0 20 20 20", "more text"});
    EXPECT_EQ(model.Count(), 1);
    ASSERT_EQ(errors.Items.size(), 3u);
    EXPECT_EQ(errors.Items[0], std::make_pair(1, notAStone));
    EXPECT_EQ(errors.Items[1], std::make_pair(2, std::string("The line is empty")));
    EXPECT_EQ(errors.Items[2], std::make_pair(4, notAStone));
    model.Free();
    errors.Items.clear();
    r = Read({"= 70 330 20 0 0 0 1", "Not a stone"});
    EXPECT_TRUE(r.View.has_value());
    EXPECT_EQ(errors.Items.size(), 1u);
    errors.Items.clear();

    // Lines without any text are an empty model: no lines at all, or blank
    // lines, each reported as empty as anywhere.
    r = Read({});
    EXPECT_EQ(r.LinesRead, 0);
    EXPECT_TRUE(errors.Items.empty());
    r = Read({"", "  \t"});
    EXPECT_EQ(r.LinesFailed, 2);
    EXPECT_EQ(errors.Items.size(), 2u);
    EXPECT_EQ(model.Count(), 0);
    errors.Items.clear();

    // Bytes of any kind are no model; the file is named.
    std::string bytes;
    uint32_t seed = 12345;
    for (int i = 0; i < 200000; ++i) {
        seed = seed * 1103515245u + 12345u;
        bytes += static_cast<char>(seed >> 16);
    }
    const fs::path noise = folder.Path() / "noise.stm";
    WriteText(noise, bytes);
    try {
        LoadModelFile(noise, model.List, settings, errors.Handler());
        ADD_FAILURE() << "no error";
    } catch (const EError& e) {
        EXPECT_EQ(e.Message(),
                  "File \"" + noise.string() +
                      "\" is not a Stonemill model: none of its lines is a view line or a stone");
    }
    EXPECT_EQ(model.Count(), 0);
    EXPECT_TRUE(errors.Items.empty());
}
