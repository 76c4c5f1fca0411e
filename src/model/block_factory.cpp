#include "model/block_factory.h"

#include <memory>
#include <vector>

#include "common/convert.h"
#include "common/error.h"
#include "common/strings.h"
#include "common/units.h"
#include "model/general_block.h"
#include "model/roof.h"
#include "model/round_block.h"
#include "model/window.h"

std::unique_ptr<TBlock> TBlockFactory::CreateBlank(char kind) {
    std::unique_ptr<TBlock> stone;
    switch (kind) {
    case 'R':
        stone = std::make_unique<TRoundBlock>();
        break;
    case 'T':
        stone = std::make_unique<TRoof>();
        break;
    case 'N':
        stone = std::make_unique<TRoofTop>();
        break;
    case 'C':
        stone = std::make_unique<TRoofCorner>();
        break;
    case 'I':
        stone = std::make_unique<TRoofTopCorner>();
        break;
    case 'E':
        stone = std::make_unique<TRoofTopEnd>();
        break;
    case 'G':
        stone.reset(new TGeneralBlock());
        break;
    case 'W':
        stone = std::make_unique<TWindow>();
        break;
    case 'D':
        stone = std::make_unique<TDoor>();
        break;
    case 'O':
        stone = std::make_unique<TWheel>();
        break;
    default:
        stone.reset(new TBlock());
        break;
    }
    stone->Kind = kind;
    return stone;
}

std::unique_ptr<TBlock> TBlockFactory::Create(char kind, int32_t x, int32_t y, int32_t z, int32_t length,
                                              int32_t width, int32_t height, TColor color, bool tag,
                                              bool basePlate, bool transparent, const std::string& name) {
    std::unique_ptr<TBlock> stone = CreateBlank(kind);
    stone->X = ModulesToUnits(x);
    stone->Y = ModulesToUnits(y);
    stone->Z = ThirdsToUnits(z);
    stone->Length = ModulesToUnits(length);
    stone->Width = ModulesToUnits(width);
    stone->Height = ThirdsToUnits(height);
    stone->Color = color;
    stone->Tag = tag;
    stone->BasePlate = basePlate;
    stone->Transparent = transparent;
    stone->Name = name;
    return stone;
}

std::unique_ptr<TBlock> TBlockFactory::CreateFromString(const std::string& text) {
    const bool general = !text.empty() && text[0] == 'G';
    std::vector<std::string> f = SplitFields(text, ':');
    if (f.size() != (general ? 18u : 16u) || f[0].empty())
        throw EError("Illegal string to CreateFromString: " + text);

    auto flag = [](const std::string& field) { return field == "1"; };
    std::unique_ptr<TBlock> stone = CreateBlank(f[0][0]);
    stone->X = StrToInt(f[1]);
    stone->Y = StrToInt(f[2]);
    stone->Z = StrToInt(f[3]);
    stone->Length = StrToInt(f[4]);
    stone->Width = StrToInt(f[5]);
    stone->Height = StrToInt(f[6]);
    stone->Color = static_cast<TColor>(StrToInt(f[7]));
    stone->Tag = flag(f[8]);
    stone->BasePlate = flag(f[9]);
    stone->Turn = StrToInt(f[10]);
    stone->Transparent = flag(f[11]);
    if (general) {
        stone->SetPart(f[12], f[13]);
        stone->Group = StrToInt(f[14]);
        stone->Name = f[15];
        stone->ExtraNumber = StrToInt(f[16]);
        stone->Caption = f[17];
    } else {
        stone->Group = StrToInt(f[12]);
        stone->Name = f[13];
        stone->ExtraNumber = StrToInt(f[14]);
        stone->Caption = f[15];
    }
    CheckStoneInRange(*stone);
    return stone;
}
