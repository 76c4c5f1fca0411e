#include "app/status_report.h"

#include <cmath>

#include "app/hand.h"
#include "common/error.h"
#include "common/units.h"
#include "model/block.h"
#include "model/block_list.h"
#include "partlib/draw_class.h"

namespace {

// A length in units as modules (or thirds), with up to two decimals.
std::string Measure(int64_t units, int64_t perStep, int64_t steps) {
    const double value = static_cast<double>(units) * static_cast<double>(steps) / static_cast<double>(perStep);
    if (std::fabs(value - std::round(value)) < 0.005)
        return StrFormat("%lld", static_cast<long long>(std::llround(value)));
    std::string text = StrFormat("%.2f", value);
    while (text.back() == '0')
        text.pop_back();
    return text;
}

std::string Modules(int64_t units) {
    return Measure(units, kModuleUnits, 1);
}

std::string Thirds(int64_t units) {
    return Measure(units, kModuleUnits, 3);
}

const char* GridName(TGridResolution grid) {
    static const char* const names[] = {"Normal", "Half", "Quarter", "Eighth", "Fine"};
    return grid >= grNormal && grid <= grFine ? names[grid] : "";
}

std::string Count(size_t n, const char* one, const char* many) {
    return StrFormat("%zu %s", n, n == 1 ? one : many);
}

} // namespace

std::string DescribeStone(const TBlock& stone) {
    std::string name = stone.Name;
    if (name.empty() && stone.Part != nullptr)
        name = stone.Part->PartName;
    if (name.empty() || name == stone.Caption)
        return stone.Caption;
    return stone.Caption.empty() ? name : name + " (" + stone.Caption + ")";
}

TStatusReport ReportStatus(const THand& hand, const TBlockList& model, int selectedCount) {
    TStatusReport report;
    if (const TBlock* stone = hand.Stone()) {
        const std::string size =
            Modules(stone->Length) + " x " + Modules(stone->Width) + " x " + Thirds(stone->Height);
        if (hand.HoldsSubassembly())
            report.Hand = Count(static_cast<size_t>(hand.Pending().Count()), "stone", "stones") + ", " + size;
        else
            report.Hand = DescribeStone(*stone) + ", " + size;
        report.Position = "At " + Modules(stone->X) + ", " + Modules(stone->Y) + ", " + Thirds(stone->Z);
    }
    report.Grid = std::string("Grid: ") + GridName(hand.Grid);
    report.Mode = !hand.Holding() ? "Pointer" : hand.Mode == THandMode::hmMove ? "Moving" : "Placing";
    report.Selected = StrFormat("%d selected", selectedCount);
    report.Stones = Count(static_cast<size_t>(model.Count()), "stone", "stones");
    return report;
}
