#pragma once
// TDlg, "Cutting coordinates": the box the model is cut with, as six edits of
// its low and high limits, "Both" buttons moving an axis's two limits by the
// grid, "Include all blocks in range", "Auto", "Update" and "Reset". A tool
// window over the main window; while it is hidden the model is not cut.

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QSpinBox;
class TCutDialogState;
class TBlockList;

class TDlg : public QDialog {
    Q_OBJECT
public:
    TDlg(TCutDialogState& state, const TBlockList& model, QWidget* parent);

    // Asks the main window for a redraw.
    std::function<void()> RequestRedraw;
    // Told whenever the dialog is shown or hidden.
    std::function<void(bool shown)> OnVisibility;
    // The positioning grid's step, for the spin buttons.
    std::function<int()> GridStep;

    void ResetToModel();
    int RaiseTop();
    void SetSteps();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void WriteEdits();
    void EditsChanged();
    void MoveBoth(int axis, bool up);
    void StepLimit(int limit, int steps);

    TCutDialogState& FState;
    const TBlockList& FModel;
    int FUpdating = 0;
    std::array<QSpinBox*, 6> FEdits{};
    QCheckBox* cbIncludeAll;
    QCheckBox* cbAuto;
};
