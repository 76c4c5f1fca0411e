#pragma once
// The building steps of a model: which stones go in together, in what order,
// so that a booklet can show the model growing from the bottom up.
//
// A stone comes after every stone it rests on; a step holds stones of one
// layer (the same bottom Z), at most a given number: stones touching the
// step's first stone and one another, then, while there is room, the next
// ready stones of that layer with the stones touching them.
// A group is built as one unit: a small group is one step of its own, a larger
// one is planned by the same rules in a callout shown right before the step
// that sets the finished group on the model. The same stones give the same
// plan whatever their order in the list.

#include <cstdint>
#include <vector>

class TBlock;

struct TBuildStep {
    // The stones added in this step, lowest first (by Z, then y, then x).
    std::vector<const TBlock*> Stones;
    // The callout that builds these stones (one large group) beforehand, or -1.
    int CalloutIndex = -1;
};

struct TCallout {
    int32_t Group = 0;
    std::vector<TBuildStep> Steps;
};

struct TBuildPlan {
    std::vector<TBuildStep> Steps;
    std::vector<TCallout> Callouts;
};

// Plans the steps for the stones (null entries are left out). Raises EError
// when perStep is below 1.
TBuildPlan PlanBuildSteps(const std::vector<const TBlock*>& stones, int perStep = 6);
