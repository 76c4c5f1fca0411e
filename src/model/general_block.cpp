#include "model/general_block.h"

#include "common/error.h"
#include "partlib/draw_class.h"
#include "partlib/part_registry.h"

TGeneralBlock::TGeneralBlock(int32_t x, int32_t y, int32_t z, int32_t length, int32_t width, int32_t height,
                             TColor color, bool tag, bool basePlate, bool transparent,
                             const std::string& fileName, const std::string& partName,
                             const std::string& name)
    : TBlock(x, y, z, length, width, height, color, tag, basePlate, transparent, name) {
    SetPart(fileName, partName);
}

void TGeneralBlock::SetPart(const std::string& fileName, const std::string& partName) {
    TDrawClass* definition = FindPart(fileName, partName);
    Part = definition;
    Kind = 'G';
    if (Turn % 2 != 0) {
        Length = definition->BoundingY();
        Width = definition->BoundingX();
    } else {
        Length = definition->BoundingX();
        Width = definition->BoundingY();
    }
    Height = definition->BoundingZ();
}

void TGeneralBlock::TurnQuarter() {
    if (Part) {
        TTurnOffset offset = Part->GetTurnOffset(Turn);
        X += offset.DX * 20;
        Y += offset.DY * 20;
    }
    TBlock::TurnQuarter();
}

std::string TGeneralBlock::ToString() const {
    if (Kind != 'G')
        return PlainBlockString(*this);
    std::string file = Part ? Part->FileName : std::string();
    std::string part = Part ? Part->PartName : std::string();
    return StrFormat("G:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%s:%s:%d:%s:%d:%s", X, Y, Z, Length, Width, Height,
                     static_cast<int32_t>(Color), Tag ? 1 : 0, BasePlate ? 1 : 0, Turn, Transparent ? 1 : 0,
                     file.c_str(), part.c_str(), Group, Name.c_str(), ExtraNumber, Caption.c_str());
}
