// The step planner on small models built here and on every shipped model.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <set>

#include "files/model_file_reader.h"
#include "instructions/build_steps.h"
#include "temp_program_folder.h"
#include "test_stones.h"

namespace fs = std::filesystem;

namespace {

// Stones made here, kept alive, with the pointers the planner takes.
struct TModel {
    std::vector<std::unique_ptr<TBlock>> Owned;
    std::vector<const TBlock*> Stones;

    const TBlock* Add(int32_t x, int32_t y, int32_t z, int32_t length, int32_t width, int32_t height,
                      int32_t group = 0) {
        Owned.push_back(StoneInUnits('B', x, y, z, length, width, height));
        Owned.back()->Group = group;
        Stones.push_back(Owned.back().get());
        return Stones.back();
    }
};

// The index of the main step that holds each stone.
std::map<const TBlock*, int> StepOf(const std::vector<TBuildStep>& steps) {
    std::map<const TBlock*, int> at;
    for (size_t k = 0; k < steps.size(); ++k)
        for (const TBlock* s : steps[k].Stones)
            at[s] = static_cast<int>(k);
    return at;
}

// The lower stone's top is the upper one's bottom and their footprints overlap
// (touching edges do not count).
bool RestsOn(const TBlock& upper, const TBlock& lower) {
    return lower.Height > 0 && int64_t{lower.Z} + lower.Height == upper.Z &&
           upper.X < lower.X + lower.Length && lower.X < upper.X + upper.Length &&
           upper.Y < lower.Y + lower.Width && lower.Y < upper.Y + upper.Width;
}

bool OneGroup(const TBuildStep& step) {
    return step.Stones.front()->Group != 0 &&
           std::all_of(step.Stones.begin(), step.Stones.end(),
                       [&](const TBlock* s) { return s->Group == step.Stones.front()->Group; });
}

// Checks a sequence of steps over exactly `stones`: each stone once, after
// everything it rests on outside its own step's group, loose steps in one
// layer and within the limit.
void ExpectStepsKeepTheRules(const std::vector<TBuildStep>& steps, const std::vector<const TBlock*>& stones,
                             int perStep, bool groupsAllowed) {
    size_t listed = 0;
    for (const TBuildStep& step : steps)
        listed += step.Stones.size();
    EXPECT_EQ(listed, stones.size()) << "every stone is placed exactly once";
    const auto at = StepOf(steps);
    EXPECT_EQ(at.size(), stones.size());
    for (size_t k = 0; k < steps.size(); ++k) {
        const TBuildStep& step = steps[k];
        ASSERT_FALSE(step.Stones.empty());
        const bool group = groupsAllowed && OneGroup(step);
        if (!group) {
            EXPECT_LE(static_cast<int>(step.Stones.size()), perStep);
            EXPECT_EQ(step.CalloutIndex, -1);
            for (const TBlock* s : step.Stones)
                EXPECT_EQ(s->Z, step.Stones.front()->Z) << "step " << k << " holds one layer";
        } else {
            EXPECT_EQ(step.CalloutIndex != -1, static_cast<int>(step.Stones.size()) > perStep);
        }
        for (const TBlock* s : step.Stones)
            for (const TBlock* t : stones)
                if (RestsOn(*s, *t) && !(group && t->Group == s->Group)) {
                    EXPECT_LT(at.at(t), static_cast<int>(k)) << "a stone comes after what it rests on";
                }
    }
}

void ExpectPlanKeepsTheRules(const TBuildPlan& plan, const std::vector<const TBlock*>& stones, int perStep) {
    ExpectStepsKeepTheRules(plan.Steps, stones, perStep, true);
    std::set<int> called;
    for (const TBuildStep& step : plan.Steps) {
        if (step.CalloutIndex < 0)
            continue;
        ASSERT_LT(step.CalloutIndex, static_cast<int>(plan.Callouts.size()));
        EXPECT_TRUE(called.insert(step.CalloutIndex).second) << "each callout builds one step's group";
        const TCallout& callout = plan.Callouts[step.CalloutIndex];
        EXPECT_EQ(callout.Group, step.Stones.front()->Group);
        ExpectStepsKeepTheRules(callout.Steps, step.Stones, perStep, false);
    }
    EXPECT_EQ(called.size(), plan.Callouts.size());
}

} // namespace

TEST(BuildSteps, StonesComeAfterTheirSupportsInStepsOfOneLayerAndTouchingStonesGoTogether) {
    TModel m;
    // Two bricks on the ground, a third bridging them, a fourth touching the
    // bridge's end only at a corner, and a far brick of the first layer.
    const TBlock* left = m.Add(0, 0, 0, 40, 20, 20);
    const TBlock* right = m.Add(60, 0, 0, 40, 20, 20);
    const TBlock* bridge = m.Add(20, 0, 20, 60, 20, 20);
    const TBlock* corner = m.Add(80, 20, 20, 20, 20, 20);
    const TBlock* far = m.Add(500, 500, 0, 20, 20, 20);
    // A brick above the left one's edge, touching it only along that edge.
    const TBlock* beside = m.Add(-20, 0, 20, 20, 20, 20);
    const TBuildPlan plan = PlanBuildSteps(m.Stones);
    ExpectPlanKeepsTheRules(plan, m.Stones, 6);
    // The ground layer is one step; the upper layer waits for it and fills
    // the next, lowest x first: the brick beside, the bridge, the corner.
    ASSERT_EQ(plan.Steps.size(), 2u);
    EXPECT_EQ(plan.Steps[0].Stones, (std::vector<const TBlock*>{left, right, far}));
    EXPECT_EQ(plan.Steps[1].Stones, (std::vector<const TBlock*>{beside, bridge, corner}));

    // Two rows of four touching bricks side by side, apart, their bricks
    // alternating in y, in steps of four: each row is a step, touching stones
    // going together before any other.
    TModel rows;
    std::vector<const TBlock*> near, away;
    for (int i = 0; i < 4; ++i) {
        near.push_back(rows.Add(0, 20 * i, 0, 20, 20, 20));
        away.push_back(rows.Add(100, 10 + 20 * i, 0, 20, 20, 20));
    }
    const TBuildPlan rowsPlan = PlanBuildSteps(rows.Stones, 4);
    ExpectPlanKeepsTheRules(rowsPlan, rows.Stones, 4);
    ASSERT_EQ(rowsPlan.Steps.size(), 2u);
    EXPECT_EQ(rowsPlan.Steps[0].Stones, near);
    EXPECT_EQ(rowsPlan.Steps[1].Stones, away);

    // A row of eight touching bricks in steps of three: three, three, two,
    // each a run of neighbours.
    TModel row;
    for (int i = 0; i < 8; ++i)
        row.Add(20 * (7 - i), 0, 0, 20, 20, 20);
    const TBuildPlan rowPlan = PlanBuildSteps(row.Stones, 3);
    ExpectPlanKeepsTheRules(rowPlan, row.Stones, 3);
    ASSERT_EQ(rowPlan.Steps.size(), 3u);
    EXPECT_EQ(rowPlan.Steps[0].Stones.size(), 3u);
    EXPECT_EQ(rowPlan.Steps[2].Stones.size(), 2u);
    for (const TBuildStep& step : rowPlan.Steps)
        for (size_t k = 1; k < step.Stones.size(); ++k)
            EXPECT_EQ(step.Stones[k]->X, step.Stones[k - 1]->X + 20);
    EXPECT_EQ(rowPlan.Steps[0].Stones.front()->X, 0) << "lowest x first";

    EXPECT_EQ(ErrorOf([&] { PlanBuildSteps(row.Stones, 0); }),
              "A building step must hold at least one stone, not 0.");
    EXPECT_TRUE(PlanBuildSteps({}).Steps.empty());
}

TEST(BuildSteps, SmallGroupIsOneStepAndLargeGroupIsBuiltInACalloutBeforeItsStep) {
    TModel m;
    const TBlock* ground = m.Add(0, 0, 0, 80, 80, 20);
    // A small group spanning two layers, resting on the ground plate.
    const TBlock* g1 = m.Add(0, 0, 20, 20, 20, 20, 1);
    const TBlock* g2 = m.Add(0, 0, 40, 20, 20, 20, 1);
    // A large group: a tower of five bricks with a loose brick on top.
    std::vector<const TBlock*> tower;
    for (int k = 0; k < 5; ++k)
        tower.push_back(m.Add(40, 40, 20 + 20 * k, 20, 20, 20, 2));
    const TBlock* top = m.Add(40, 40, 120, 20, 20, 20);
    const TBuildPlan plan = PlanBuildSteps(m.Stones, 2);
    ExpectPlanKeepsTheRules(plan, m.Stones, 2);
    const auto at = StepOf(plan.Steps);
    EXPECT_EQ(at.at(g1), at.at(g2));
    EXPECT_EQ(plan.Steps[at.at(g1)].Stones.size(), 2u);
    EXPECT_EQ(plan.Steps[at.at(g1)].CalloutIndex, -1);
    EXPECT_GT(at.at(g1), at.at(ground));

    const TBuildStep& placing = plan.Steps[at.at(tower[0])];
    EXPECT_EQ(placing.Stones, tower);
    ASSERT_EQ(plan.Callouts.size(), 1u);
    EXPECT_EQ(placing.CalloutIndex, 0);
    EXPECT_EQ(plan.Callouts[0].Group, 2);
    // Inside the callout the tower goes up one brick a step.
    ASSERT_EQ(plan.Callouts[0].Steps.size(), 5u);
    for (int k = 0; k < 5; ++k)
        EXPECT_EQ(plan.Callouts[0].Steps[k].Stones, std::vector<const TBlock*>{tower[k]});
    EXPECT_GT(at.at(top), at.at(tower[0]));

    // A group whose lowest stone stands on the ground far away waits for the
    // loose stone that carries its upper one.
    TModel waiting;
    const TBlock* far = waiting.Add(-400, 0, 0, 20, 20, 20, 3);
    const TBlock* post = waiting.Add(0, 0, 0, 20, 20, 40);
    const TBlock* roof = waiting.Add(0, 0, 40, 20, 20, 20, 3);
    const TBuildPlan waited = PlanBuildSteps(waiting.Stones);
    ExpectPlanKeepsTheRules(waited, waiting.Stones, 6);
    ASSERT_EQ(waited.Steps.size(), 2u);
    EXPECT_EQ(waited.Steps[0].Stones, std::vector<const TBlock*>{post});
    EXPECT_EQ(waited.Steps[1].Stones, (std::vector<const TBlock*>{far, roof}));

    // A group clasping a loose stone (it rests on the group, and the group on
    // it) cannot go strictly after it: the lower of the two goes first, and
    // the planner still ends with every stone placed once.
    TModel clasp;
    const TBlock* foot = clasp.Add(0, 0, 0, 40, 20, 20, 5);
    const TBlock* between = clasp.Add(0, 0, 20, 40, 20, 20);
    const TBlock* cap = clasp.Add(0, 0, 40, 40, 20, 20, 5);
    const TBuildPlan clasped = PlanBuildSteps(clasp.Stones);
    ASSERT_EQ(clasped.Steps.size(), 2u);
    EXPECT_EQ(clasped.Steps[0].Stones, (std::vector<const TBlock*>{foot, cap}));
    EXPECT_EQ(clasped.Steps[1].Stones, std::vector<const TBlock*>{between});
}

TEST(BuildSteps, TheSameStonesInAnyListOrderGiveTheSamePlan) {
    TModel m;
    // A small town: walls of staggered bricks, some houses grouped, two
    // stones sharing a place.
    for (int house = 0; house < 6; ++house) {
        const int32_t ox = 200 * (house % 3), oy = 200 * (house / 3);
        for (int course = 0; course < 4; ++course)
            for (int k = 0; k < 4; ++k)
                m.Add(ox + 40 * k + (course % 2) * 20, oy, 20 * course, 40, 20, 20, house % 2 ? house : 0);
    }
    m.Add(0, 0, 80, 20, 20, 20);
    m.Add(0, 0, 80, 20, 20, 7);
    const TBuildPlan first = PlanBuildSteps(m.Stones, 3);
    ExpectPlanKeepsTheRules(first, m.Stones, 3);
    std::vector<const TBlock*> shuffled = m.Stones;
    std::mt19937 random(7);
    for (int round = 0; round < 3; ++round) {
        std::shuffle(shuffled.begin(), shuffled.end(), random);
        const TBuildPlan again = PlanBuildSteps(shuffled, 3);
        ASSERT_EQ(again.Steps.size(), first.Steps.size());
        for (size_t k = 0; k < first.Steps.size(); ++k) {
            EXPECT_EQ(again.Steps[k].Stones, first.Steps[k].Stones);
            EXPECT_EQ(again.Steps[k].CalloutIndex, first.Steps[k].CalloutIndex);
        }
        ASSERT_EQ(again.Callouts.size(), first.Callouts.size());
        for (size_t c = 0; c < first.Callouts.size(); ++c)
            for (size_t k = 0; k < first.Callouts[c].Steps.size(); ++k)
                EXPECT_EQ(again.Callouts[c].Steps[k].Stones, first.Callouts[c].Steps[k].Stones);
    }
}

TEST(BuildSteps, EveryShippedModelGivesAPlanThatKeepsTheRules) {
    int models = 0;
    for (const auto& file : fs::directory_iterator(BuiltProgramFolder() / "Models")) {
        if (file.path().extension() != ".stm")
            continue;
        SCOPED_TRACE(file.path().filename().string());
        TOwnedBlockList model;
        LoadModelFile(file.path(), model, {}, [](int, const std::string&) {});
        const std::vector<const TBlock*> stones(model.Stones().begin(), model.Stones().end());
        ASSERT_FALSE(stones.empty());
        ExpectPlanKeepsTheRules(PlanBuildSteps(stones), stones, 6);
        ++models;
    }
    EXPECT_GE(models, 10);
}
