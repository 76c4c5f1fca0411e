#pragma once
// What a building-instructions booklet shows of a model: its steps, the
// parts list of the whole model, and for every step the parts it adds, as
// rows of that list with how many of each.

#include <cstdint>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "export/parts_list.h"
#include "instructions/build_steps.h"

class TBlock;

struct TStepPart {
    int Row = 0; // in the model's parts list
    int64_t Count = 0;
};

struct TStepParts {
    std::vector<TStepPart> Parts;
    // The callout whose finished group the step sets on the model, or -1.
    int Callout = -1;
};

class TBookletContent {
public:
    // Plans the steps of the stones (which stay owned by the caller and
    // unchanged while the content is used). Raises EError for no stones and
    // for a step size below 1.
    TBookletContent(std::vector<const TBlock*> stones, const TPartsNaming& naming, int perStep,
                    std::string title);

    const std::string& Title() const { return FTitle; }
    const std::vector<const TBlock*>& Stones() const { return FStones; }
    const TBuildPlan& Plan() const { return FPlan; }
    const TPartsList& Parts() const { return FParts; }
    int StepCount() const { return static_cast<int>(FPlan.Steps.size()); }

    // The parts the main step adds: a step placing a large group shows the
    // finished group once instead.
    const TStepParts& StepParts(int step) const { return FStepParts[static_cast<size_t>(step)]; }
    // The parts a step of a callout adds.
    const TStepParts& CalloutStepParts(int callout, int step) const {
        return FCalloutParts[static_cast<size_t>(callout)][static_cast<size_t>(step)];
    }
    // The main step whose group a callout builds.
    int StepOfCallout(int callout) const { return FStepOfCallout[static_cast<size_t>(callout)]; }

    // A row of a parts list told apart as MakePartsList tells rows apart:
    // part (letter case aside), colour and see-through state.
    using TRowKey = std::tuple<std::string, TColor, bool>;

private:
    TStepParts PartsOf(const std::vector<const TBlock*>& stones) const;

    std::string FTitle;
    std::vector<const TBlock*> FStones;
    TPartsNaming FNaming;
    TBuildPlan FPlan;
    TPartsList FParts;
    std::map<TRowKey, int> FRowOfKey;
    std::vector<TStepParts> FStepParts;
    std::vector<std::vector<TStepParts>> FCalloutParts;
    std::vector<int> FStepOfCallout;
};
