#include "build_steps.h"

#include <algorithm>
#include <functional>
#include <map>
#include <queue>
#include <tuple>
#include <utility>

#include "common/error.h"
#include "model/block.h"
#include "stone_contacts.h"

namespace {

// The order stones are taken in when nothing else decides: bottom first, then
// along y and x; stones in the same place are told apart by their size and
// looks before their place in the list, so a shuffled list plans the same.
bool BuildsBefore(const TBlock* a, const TBlock* b) {
    return std::tie(a->Z, a->Y, a->X, a->Length, a->Width, a->Height, a->Group, a->Kind, a->Color, a->Name) <
           std::tie(b->Z, b->Y, b->X, b->Length, b->Width, b->Height, b->Group, b->Kind, b->Color, b->Name);
}

using TMinHeap = std::priority_queue<int, std::vector<int>, std::greater<>>;

// Plans stones already sorted by BuildsBefore; indexes below are places in
// that order. With useGroups false every stone is built on its own, as inside
// a group's callout.
class TStepPlanner {
public:
    TStepPlanner(const std::vector<const TBlock*>& stones, int perStep, bool useGroups)
        : FStones(stones), FPerStep(perStep), FContacts(FindContacts(stones)) {
        MakeUnits(useGroups);
        LinkUnits();
    }

    TBuildPlan Plan() {
        TBuildPlan plan;
        for (int u = 0; u < UnitCount(); ++u)
            if (FWaitingFor[u] == 0)
                FReady.push(u);
        int firstUnplaced = 0;
        while (FPlacedCount < UnitCount()) {
            if (FReady.empty()) {
                // The units left wait on one another (a group spanning layers
                // and a stone between them): take the lowest one anyway.
                while (FPlaced[firstUnplaced])
                    ++firstUnplaced;
                FReady.push(firstUnplaced);
            }
            const int unit = FReady.top();
            FReady.pop();
            if (FPlaced[unit])
                continue;
            if (FGroup[unit] != 0)
                plan.Steps.push_back(GroupStep(unit, plan));
            else
                plan.Steps.push_back(LayerStep(FUnitStones[unit].front()));
        }
        return plan;
    }

private:
    int UnitCount() const { return static_cast<int>(FUnitStones.size()); }

    // A unit is one stone, or all the stones of one group; units are numbered
    // by their lowest stone, so the lower number builds first.
    void MakeUnits(bool useGroups) {
        std::map<int32_t, int> groupUnit;
        FUnitOf.resize(FStones.size());
        for (size_t i = 0; i < FStones.size(); ++i) {
            const int32_t group = useGroups ? FStones[i]->Group : 0;
            int unit;
            if (group == 0) {
                unit = UnitCount();
            } else {
                const auto [it, added] = groupUnit.emplace(group, UnitCount());
                unit = it->second;
                if (!added) {
                    FUnitStones[unit].push_back(static_cast<int>(i));
                    FUnitOf[i] = unit;
                    continue;
                }
            }
            FUnitOf[i] = unit;
            FUnitStones.push_back({static_cast<int>(i)});
            FGroup.push_back(group);
        }
    }

    // A unit waits for the units of every stone one of its stones rests on.
    void LinkUnits() {
        std::vector<std::pair<int, int>> links;
        for (size_t i = 0; i < FStones.size(); ++i)
            for (int s : FContacts.Supports[i])
                if (FUnitOf[s] != FUnitOf[i])
                    links.emplace_back(FUnitOf[s], FUnitOf[i]);
        std::sort(links.begin(), links.end());
        links.erase(std::unique(links.begin(), links.end()), links.end());
        FCarried.resize(UnitCount());
        FWaitingFor.assign(UnitCount(), 0);
        FPlaced.assign(UnitCount(), false);
        for (const auto& [lower, upper] : links) {
            FCarried[lower].push_back(upper);
            ++FWaitingFor[upper];
        }
    }

    void Place(int unit) {
        FPlaced[unit] = true;
        ++FPlacedCount;
        for (int upper : FCarried[unit])
            if (--FWaitingFor[upper] == 0)
                FReady.push(upper);
    }

    // The group's stones as one step; a group larger than a step is first
    // built in a callout of its own.
    TBuildStep GroupStep(int unit, TBuildPlan& plan) {
        TBuildStep step;
        for (int i : FUnitStones[unit])
            step.Stones.push_back(FStones[i]);
        if (static_cast<int>(step.Stones.size()) > FPerStep) {
            TStepPlanner inside(step.Stones, FPerStep, false);
            plan.Callouts.push_back({FGroup[unit], inside.Plan().Steps});
            step.CalloutIndex = static_cast<int>(plan.Callouts.size()) - 1;
        }
        Place(unit);
        return step;
    }

    // The seed stone and the ready loose stones of its layer that touch it or
    // one another, lowest first, as many as a step holds.
    TBuildStep LayerStep(int seed) {
        TBuildStep step;
        std::vector<int> taken;
        TMinHeap next;
        next.push(seed);
        FOffered.resize(FStones.size(), -1);
        FOffered[seed] = seed;
        while (static_cast<int>(taken.size()) < FPerStep) {
            if (next.empty()) {
                // The touching stones are all in: the step fills up with the
                // next ready stones of the same layer, so a layer of loose
                // stones is not spread over a step per stone.
                const int more = NextReadyLooseStone(FStones[seed]->Z);
                if (more < 0)
                    break;
                FOffered[more] = seed;
                next.push(more);
            }
            const int i = next.top();
            next.pop();
            taken.push_back(i);
            Place(FUnitOf[i]);
            for (int t : FContacts.Touching[i]) {
                const int unit = FUnitOf[t];
                if (FGroup[unit] == 0 && !FPlaced[unit] && FWaitingFor[unit] == 0 && FOffered[t] != seed) {
                    FOffered[t] = seed;
                    next.push(t);
                }
            }
        }
        std::sort(taken.begin(), taken.end());
        for (int i : taken)
            step.Stones.push_back(FStones[i]);
        return step;
    }

    // The lowest ready unit when it is a loose stone with its bottom at z,
    // else -1; units placed meanwhile are dropped from the ready heap.
    int NextReadyLooseStone(int32_t z) {
        while (!FReady.empty() && FPlaced[FReady.top()])
            FReady.pop();
        if (FReady.empty())
            return -1;
        const int unit = FReady.top();
        const int stone = FUnitStones[unit].front();
        return FGroup[unit] == 0 && FStones[stone]->Z == z ? stone : -1;
    }

    const std::vector<const TBlock*>& FStones;
    const int FPerStep;
    const TStoneContacts FContacts;
    std::vector<int> FUnitOf;
    std::vector<std::vector<int>> FUnitStones;
    std::vector<int32_t> FGroup;
    std::vector<std::vector<int>> FCarried;
    std::vector<int> FWaitingFor;
    std::vector<bool> FPlaced;
    int FPlacedCount = 0;
    TMinHeap FReady;
    // The seed of the step that last offered each stone, so none is offered twice.
    std::vector<int> FOffered;
};

} // namespace

TBuildPlan PlanBuildSteps(const std::vector<const TBlock*>& stones, int perStep) {
    if (perStep < 1)
        throw EError(StrFormat("A building step must hold at least one stone, not %d.", perStep));
    std::vector<const TBlock*> sorted;
    sorted.reserve(stones.size());
    for (const TBlock* s : stones)
        if (s)
            sorted.push_back(s);
    std::stable_sort(sorted.begin(), sorted.end(), BuildsBefore);
    return TStepPlanner(sorted, perStep, true).Plan();
}
