#include "ui/dialogs/cut_dialog.h"

#include <QCheckBox>
#include <QHideEvent>
#include <QShowEvent>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "app/cut_dialog_state.h"
#include "ui/dialogs/dialog_buttons.h"

namespace {

// The edits in the order of the state's limits, with their names.
constexpr const char* kEditNames[6] = {"edXLeft", "edXRight", "edYBack", "edYFront", "edZBottom", "edZTop"};

// A limit edit whose arrows (and up and down keys) step by the grid.
class TLimitEdit : public QSpinBox {
public:
    TLimitEdit(std::function<void(int steps)> step, QWidget* parent)
        : QSpinBox(parent), FStep(std::move(step)) {}
    void stepBy(int steps) override { FStep(steps); }

protected:
    StepEnabled stepEnabled() const override { return StepUpEnabled | StepDownEnabled; }

private:
    std::function<void(int steps)> FStep;
};

} // namespace

TDlg::TDlg(TCutDialogState& state, const TBlockList& model, QWidget* parent)
    : QDialog(parent, Qt::Tool), FState(state), FModel(model) {
    setObjectName("Dlg");
    setWindowTitle("Cutting coordinates");
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Low", this), 0, 1);
    grid->addWidget(new QLabel("High", this), 0, 2);
    grid->addWidget(new QLabel("Both", this), 0, 3);
    const char* axes[3] = {"X", "Y", "Z"};
    for (int axis = 0; axis < 3; ++axis) {
        grid->addWidget(new QLabel(axes[axis], this), axis + 1, 0);
        for (int side = 0; side < 2; ++side) {
            const int limit = axis * 2 + side;
            auto* edit = new TLimitEdit([this, limit](int steps) { StepLimit(limit, steps); }, this);
            edit->setObjectName(kEditNames[limit]);
            edit->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
            connect(edit, &QSpinBox::valueChanged, this, [this] { EditsChanged(); });
            FEdits[static_cast<size_t>(axis * 2 + side)] = edit;
            grid->addWidget(edit, axis + 1, side + 1);
        }
        // The "Both" spin button: an up and a down arrow.
        QWidget* both = MakeSpinArrows(this, QString("RxSpinButton%1").arg(axis + 1),
                                       [this, axis](bool up) { MoveBoth(axis, up); });
        grid->addWidget(both, axis + 1, 3);
    }
    cbIncludeAll = new QCheckBox("Include all blocks in range", this);
    cbIncludeAll->setObjectName("cbIncludeAll");
    connect(cbIncludeAll, &QCheckBox::toggled, this, [this] { EditsChanged(); });
    cbAuto = new QCheckBox("Auto", this);
    cbAuto->setObjectName("cbAuto");
    cbAuto->setChecked(FState.Auto);
    connect(cbAuto, &QCheckBox::toggled, this, [this](bool on) { FState.Auto = on; });
    auto* update = new QPushButton("Update", this);
    update->setObjectName("btnUpdate");
    update->setAutoDefault(false);
    connect(update, &QPushButton::clicked, this, [this] {
        if (RequestRedraw)
            RequestRedraw();
    });
    auto* reset = new QPushButton("Reset", this);
    reset->setObjectName("btnReset");
    reset->setAutoDefault(false);
    connect(reset, &QPushButton::clicked, this, [this] {
        ResetToModel();
        if (RequestRedraw)
            RequestRedraw();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cbAuto);
    buttons->addStretch();
    buttons->addWidget(update);
    buttons->addWidget(reset);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(cbIncludeAll);
    layout->addLayout(buttons);
}

void TDlg::WriteEdits() {
    ++FUpdating;
    const TCutLimits limits = FState.Limits();
    for (size_t i = 0; i < limits.size(); ++i)
        FEdits[i]->setValue(limits[i]);
    cbIncludeAll->setChecked(FState.IncludeAll());
    FUpdating = std::max(FUpdating - 1, 0);
}

void TDlg::EditsChanged() {
    if (FUpdating > 0)
        return;
    TCutLimits limits;
    for (size_t i = 0; i < limits.size(); ++i)
        limits[i] = FEdits[i]->value();
    FState.SetLimits(limits);
    FState.SetIncludeAll(cbIncludeAll->isChecked());
    if (FState.Auto && RequestRedraw)
        RequestRedraw();
}

void TDlg::MoveBoth(int axis, bool up) {
    FState.MoveBoth(axis, up);
    WriteEdits();
    EditsChanged();
}

void TDlg::StepLimit(int limit, int steps) {
    FState.StepLimit(limit, steps);
    WriteEdits();
    EditsChanged();
}

void TDlg::ResetToModel() {
    FState.ResetToModel(FModel);
    WriteEdits();
}

int TDlg::RaiseTop() {
    SetSteps();
    const int top = FState.RaiseTop();
    ++FUpdating;
    FEdits[5]->setValue(top);
    FUpdating = std::max(FUpdating - 1, 0);
    return top;
}

void TDlg::SetSteps() {
    const int step = GridStep ? GridStep() : 20;
    FState.SetSteps(step, step);
}

void TDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous()) // shown again with the main window
        return;
    if (OnVisibility)
        OnVisibility(true);
    SetSteps();
    FState.Show();
    WriteEdits();
    if (FState.Auto && RequestRedraw)
        RequestRedraw();
}

void TDlg::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (event->spontaneous()) // hidden with the main window, not closed
        return;
    if (OnVisibility)
        OnVisibility(false);
    FState.Hide();
    if (RequestRedraw)
        RequestRedraw();
}
