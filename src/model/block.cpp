#include "model/block.h"

#include <array>
#include <vector>

#include "common/error.h"
#include "common/units.h"
#include "platform/polygon_region.h"
#include "view/projector.h"

TBlock::TBlock(int32_t x, int32_t y, int32_t z, int32_t length, int32_t width, int32_t height, TColor color,
               bool tag, bool basePlate, bool transparent, const std::string& name)
    : X(ModulesToUnits(x)), Y(ModulesToUnits(y)), Z(ThirdsToUnits(z)), Length(ModulesToUnits(length)),
      Width(ModulesToUnits(width)), Height(ThirdsToUnits(height)), Tag(tag), Color(color),
      Transparent(transparent), BasePlate(basePlate), Name(name) {}

TBlock* TBlock::NewOfSameClass() const {
    return new TBlock();
}

namespace {

struct TCorner {
    bool L, W, H; // offset by Length, Width, Height in that axis
};

// The six outline corners of a box for each viewing octant, in outline order.
constexpr std::array<std::array<TCorner, 6>, 8> kOutlineCorners = {{
    // 0
    {{{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}, {0, 1, 0}}},
    // 1
    {{{0, 0, 0}, {0, 1, 0}, {0, 1, 1}, {1, 1, 1}, {1, 0, 1}, {1, 0, 0}}},
    // 2
    {{{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}, {1, 0, 0}}},
    // 3
    {{{0, 1, 0}, {1, 1, 0}, {1, 0, 0}, {1, 0, 1}, {0, 0, 1}, {0, 1, 1}}},
    // 4
    {{{0, 0, 0}, {0, 0, 1}, {0, 1, 1}, {1, 1, 1}, {1, 1, 0}, {1, 0, 0}}},
    // 5
    {{{0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}, {1, 0, 0}, {1, 1, 0}}},
    // 6
    {{{0, 0, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {1, 1, 0}, {0, 1, 0}}},
    // 7
    {{{0, 1, 1}, {0, 1, 0}, {0, 0, 0}, {1, 0, 0}, {1, 0, 1}, {1, 1, 1}}},
}};

} // namespace

bool TBlock::HitTest(const TProjector& view, int x, int y) const {
    int octant = view.ViewOctant() & 7;
    std::vector<TPoint> outline;
    outline.reserve(6);
    for (const TCorner& c : kOutlineCorners[static_cast<size_t>(octant)])
        outline.push_back(
            view.ProjectPoint(X + (c.L ? Length : 0), Y + (c.W ? Width : 0), Z + (c.H ? Height : 0), 0));
    return PtInPolygon(outline, x, y);
}

void TBlock::SetPart(const std::string&, const std::string&) {}

void TBlock::TurnQuarter() {
    Turn = (Turn + 1) % 4;
    std::swap(Length, Width);
}

int32_t TBlock::HeightAt(int32_t x, int32_t y, int32_t xs, int32_t ys) const {
    if (X < x + xs && x < X + Length && Y < y + ys && y < Y + Width)
        return Z + Height;
    return 0;
}

std::string PlainBlockString(const TBlock& s) {
    return StrFormat("%c:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%d:%s:%d:%s", s.Kind, s.X, s.Y, s.Z, s.Length,
                     s.Width, s.Height, static_cast<int32_t>(s.Color), s.Tag ? 1 : 0, s.BasePlate ? 1 : 0,
                     s.Turn, s.Transparent ? 1 : 0, s.Group, s.Name.c_str(), s.ExtraNumber,
                     s.Caption.c_str());
}

std::string TBlock::ToString() const {
    return PlainBlockString(*this);
}

TBlock* CreateCopy(const TBlock& stone) {
    TBlock* copy = stone.NewOfSameClass();
    copy->Kind = stone.Kind;
    copy->X = stone.X;
    copy->Y = stone.Y;
    copy->Z = stone.Z;
    copy->Length = stone.Length;
    copy->Width = stone.Width;
    copy->Height = stone.Height;
    copy->Color = stone.Color;
    copy->Transparent = stone.Transparent;
    copy->Tag = stone.Tag;
    copy->BasePlate = stone.BasePlate;
    copy->Turn = stone.Turn;
    copy->Part = stone.Part;
    copy->Name = stone.Name;
    copy->ExtraNumber = stone.ExtraNumber;
    copy->Caption = stone.Caption;
    return copy;
}
