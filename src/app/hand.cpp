#include "app/hand.h"

#include <algorithm>
#include <limits>

#include "files/palette_entry.h"
#include "model/cut_state.h"
#include "view/render_state.h"

namespace {

// Drawn outlines, wheels' tyres and windows' sills may reach a little beyond
// a stone's box.
constexpr int32_t kDrawnMarginUnits = 10;
constexpr int kDrawnMarginPixels = 3;

} // namespace

void THand::Make(std::unique_ptr<TBlock> stone) {
    FStone = std::move(stone);
    if (FStone)
        FStone->ExtraNumber = 0;
    Mode = THandMode::hmRepeat;
}

void THand::MakeProxy(const TSubassemblyBox& box) {
    if (box.Empty)
        return;
    std::unique_ptr<TBlock> proxy = CreateEntryStone(SubassemblySizeText(box));
    if (!proxy)
        return;
    proxy->X = static_cast<int32_t>(box.MinX);
    proxy->Y = static_cast<int32_t>(box.MinY);
    proxy->Z = static_cast<int32_t>(box.MinZ);
    Make(std::move(proxy));
}

void THand::Drop() {
    FStone.reset();
    FPending.FreeAll();
    Mode = THandMode::hmRepeat;
}

int32_t THand::GridStep() const {
    switch (Grid) {
    case grNormal:
        return 80;
    case grHalf:
        return 40;
    case grQuarter:
        return 20;
    case grEighth:
        return 10;
    default:
        return 1;
    }
}

int32_t THand::SupportHeight(const TBlockList& model, int32_t x, int32_t y, int32_t length, int32_t width) {
    int32_t height = 0;
    for (TBlock* stone : model.Stones())
        if (InCut(*stone))
            height = std::max(height, stone->HeightAt(x, y, length, width));
    return height;
}

bool THand::PositionAt(const TRenderState& view, const TBlockList& model, int sx, int sy) {
    if (!FStone)
        return false;
    TBlock& stone = *FStone;
    const int32_t oldX = stone.X, oldY = stone.Y, oldZ = stone.Z;
    const TGroundPoint ground = view.ScreenToModel(sx, sy, Grid);
    stone.X = ground.X;
    stone.Y = ground.Y;
    stone.Z = SafePositioning ? SupportHeight(model, stone.X, stone.Y, stone.Length, stone.Width)
                              : SnapHeightToGrid(stone.Z, Grid);
    return stone.X != oldX || stone.Y != oldY || stone.Z != oldZ;
}

void THand::Settle(const TBlockList& model) {
    if (FStone && SafePositioning)
        FStone->Z = SupportHeight(model, FStone->X, FStone->Y, FStone->Length, FStone->Width);
}

void THand::Turn() {
    if (!FStone)
        return;
    if (HoldsSubassembly()) {
        for (TBlock* stone : FPending.Stones()) {
            const int32_t x = stone->Y, y = -stone->X - stone->Length;
            stone->X = x;
            stone->Y = y;
            stone->TurnQuarter();
        }
        FPending.SortedOctant = -1;
    }
    FStone->TurnQuarter();
}

void THand::Tilt() {
    if (!FStone || HoldsSubassembly() || FStone->Kind != 'B')
        return;
    TBlock& stone = *FStone;
    const int32_t length = stone.Length;
    stone.Length = stone.Width;
    stone.Width = stone.Height;
    stone.Height = length;
}

void THand::Mirror() {
    if (!HoldsSubassembly())
        return;
    int32_t lowest = std::numeric_limits<int32_t>::max(), highest = std::numeric_limits<int32_t>::min();
    for (const TBlock* stone : FPending.Stones()) {
        lowest = std::min(lowest, stone->X);
        highest = std::max(highest, stone->X + stone->Length);
    }
    const int32_t width = highest - lowest;
    for (TBlock* stone : FPending.Stones()) {
        stone->X = width - stone->X - stone->Length;
        stone->TurnQuarter();
        stone->TurnQuarter();
    }
    FPending.SortedOctant = -1;
}

void THand::AlignPending(int octant) {
    if (!FStone || !HoldsSubassembly())
        return;
    int32_t minX = std::numeric_limits<int32_t>::max(), minY = minX, minZ = minX;
    for (const TBlock* stone : FPending.Stones()) {
        minX = std::min(minX, stone->X);
        minY = std::min(minY, stone->Y);
        minZ = std::min(minZ, stone->Z);
    }
    for (TBlock* stone : FPending.Stones()) {
        stone->X += FStone->X - minX;
        stone->Y += FStone->Y - minY;
        stone->Z += FStone->Z - minZ;
    }
    FPending.Sort(octant, false);
}

void THand::Draw(TDrawObject& d, const TRenderState& view) {
    if (!FStone)
        return;
    if (HoldsSubassembly()) {
        AlignPending(view.Octant());
        for (TBlock* stone : FPending.Stones())
            stone->Draw(d, view);
    } else {
        FStone->Draw(d, view);
    }
}

TRect THand::DrawnRect(const TRenderState& view) const {
    if (!FStone)
        return {};
    int64_t low[3] = {FStone->X, FStone->Y, FStone->Z};
    int64_t high[3] = {int64_t{FStone->X} + FStone->Length, int64_t{FStone->Y} + FStone->Width,
                       int64_t{FStone->Z} + FStone->Height};
    for (const TBlock* stone : FPending.Stones()) {
        low[0] = std::min<int64_t>(low[0], stone->X);
        low[1] = std::min<int64_t>(low[1], stone->Y);
        low[2] = std::min<int64_t>(low[2], stone->Z);
        high[0] = std::max<int64_t>(high[0], int64_t{stone->X} + stone->Length);
        high[1] = std::max<int64_t>(high[1], int64_t{stone->Y} + stone->Width);
        high[2] = std::max<int64_t>(high[2], int64_t{stone->Z} + stone->Height);
    }
    TRect rect{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
               std::numeric_limits<int>::min(), std::numeric_limits<int>::min()};
    for (int corner = 0; corner < 8; ++corner) {
        auto pick = [&](int axis) {
            const int64_t v =
                (corner >> axis) & 1 ? high[axis] + kDrawnMarginUnits : low[axis] - kDrawnMarginUnits;
            return static_cast<int>(std::clamp<int64_t>(v, -100'000'000, 100'000'000));
        };
        const TPoint p = view.Project(pick(0), pick(1), pick(2), 0);
        rect.Left = std::min(rect.Left, p.x);
        rect.Top = std::min(rect.Top, p.y);
        rect.Right = std::max(rect.Right, p.x + 1);
        rect.Bottom = std::max(rect.Bottom, p.y + 1);
    }
    rect.Left -= kDrawnMarginPixels;
    rect.Top -= kDrawnMarginPixels;
    rect.Right += kDrawnMarginPixels;
    rect.Bottom += kDrawnMarginPixels;
    return rect;
}
