#include <gtest/gtest.h>

#include "app/cut_dialog_state.h"
#include <memory>

#include "model/block.h"
#include "model/block_factory.h"
#include "model/block_list.h"

TEST(CutDialogState, TheBoxStartsAtTheModelAndIsKeptWhileHidden) {
    TCutState cut;
    TCutDialogState dialog(cut);
    TBlockList model;
    dialog.ResetToModel(model); // no stones: nothing passes
    EXPECT_EQ(dialog.Limits(), (TCutLimits{99999, -99999, 99999, -99999, 99999, -99999}));

    // The list does not own its stones: these live as long as the test.
    std::unique_ptr<TBlock> low(TBlockFactory::Create('B', 1, 2, 0, 2, 1, 3, 0, false, false, false, ""));
    std::unique_ptr<TBlock> high(TBlockFactory::Create('B', 0, 0, 3, 1, 1, 6, 0, false, false, false, ""));
    model.Add(low.get());
    model.Add(high.get());
    dialog.ResetToModel(model);
    EXPECT_EQ(dialog.Limits(), (TCutLimits{0, 60, 0, 60, 0, 60}));
    // After a model is opened the top is one vertical step higher.
    dialog.SetSteps(80, 80);
    EXPECT_EQ(dialog.RaiseTop(), 140);
    EXPECT_EQ(cut.ZHigh, 140);

    dialog.Show();
    EXPECT_TRUE(cut.DialogShown);
    dialog.SetSteps(1, 1); // "Fine"
    dialog.MoveBoth(2, true);
    EXPECT_EQ(dialog.Limits(), (TCutLimits{0, 60, 0, 60, 1, 141}));
    dialog.SetSteps(80, 80); // "Normal"
    dialog.MoveBoth(0, false);
    EXPECT_EQ(dialog.Limits(), (TCutLimits{-80, -20, 0, 60, 1, 141}));
    // Hidden, the model is not cut; shown again, the box is back.
    dialog.Hide();
    EXPECT_FALSE(cut.DialogShown);
    EXPECT_EQ(dialog.Limits(), (TCutLimits{TCutState::kOpenLow, TCutState::kOpenHigh, TCutState::kOpenLow,
                                           TCutState::kOpenHigh, TCutState::kOpenLow, TCutState::kOpenHigh}));
    dialog.Show();
    EXPECT_EQ(dialog.Limits(), (TCutLimits{-80, -20, 0, 60, 1, 141}));
    // An edit's own arrows move its limit alone, by its axis's step.
    dialog.SetSteps(40, 40);
    dialog.StepLimit(1, 2);
    dialog.StepLimit(4, -1);
    EXPECT_EQ(dialog.Limits(), (TCutLimits{-80, 60, 0, 60, -39, 141}));
    dialog.SetLimits({0, 0, 0, 0, 2147483647, 2147483647});
    dialog.MoveBoth(2, true); // stays at the end of the range
    EXPECT_EQ(cut.ZHigh, 2147483647);
    dialog.StepLimit(5, 3);
    EXPECT_EQ(cut.ZHigh, 2147483647);
}
