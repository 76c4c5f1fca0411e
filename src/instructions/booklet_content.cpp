#include "instructions/booklet_content.h"

#include <map>
#include <span>
#include <tuple>
#include <utility>

#include "common/error.h"
#include "common/strings.h"

namespace {

TBookletContent::TRowKey KeyOf(const TPartsRow& row) {
    return {LowerCase(row.Part), row.Color, row.Transparent};
}

} // namespace

TBookletContent::TBookletContent(std::vector<const TBlock*> stones, const TPartsNaming& naming, int perStep,
                                 std::string title)
    : FTitle(std::move(title)), FStones(std::move(stones)), FNaming(naming) {
    std::erase(FStones, nullptr);
    if (FStones.empty())
        throw EError("The model has no stones, so there is nothing to build.");
    FPlan = PlanBuildSteps(FStones, perStep);
    FParts = MakePartsList(std::span<const TBlock* const>(FStones.data(), FStones.size()), FNaming);
    for (size_t i = 0; i < FParts.Rows.size(); ++i)
        FRowOfKey.emplace(KeyOf(FParts.Rows[i]), static_cast<int>(i));
    FStepOfCallout.assign(FPlan.Callouts.size(), -1);
    for (size_t k = 0; k < FPlan.Steps.size(); ++k) {
        const TBuildStep& step = FPlan.Steps[k];
        if (step.CalloutIndex >= 0) {
            FStepParts.push_back({{}, step.CalloutIndex});
            FStepOfCallout[static_cast<size_t>(step.CalloutIndex)] = static_cast<int>(k);
        } else {
            FStepParts.push_back(PartsOf(step.Stones));
        }
    }
    for (const TCallout& callout : FPlan.Callouts) {
        std::vector<TStepParts>& parts = FCalloutParts.emplace_back();
        for (const TBuildStep& step : callout.Steps)
            parts.push_back(PartsOf(step.Stones));
    }
}

TStepParts TBookletContent::PartsOf(const std::vector<const TBlock*>& stones) const {
    TStepParts parts;
    const TPartsList list =
        MakePartsList(std::span<const TBlock* const>(stones.data(), stones.size()), FNaming);
    for (const TPartsRow& row : list.Rows) {
        const auto it = FRowOfKey.find(KeyOf(row));
        if (it != FRowOfKey.end())
            parts.Parts.push_back({it->second, row.Count});
    }
    return parts;
}
