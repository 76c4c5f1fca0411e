#include "ui/dialogs/edge_factor_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

#include "ui/dialogs/dialog_buttons.h"

TfrmSetEdgeFactor::TfrmSetEdgeFactor(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSetEdgeFactor");
    setWindowTitle("Factor for Edge coloring");
    RxSpinEdit1 = new QSpinBox(this);
    RxSpinEdit1->setObjectName("RxSpinEdit1");
    RxSpinEdit1->setRange(0, 100);
    RxSpinEdit1->setSingleStep(10);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Draw the edges at ", this));
    row->addWidget(RxSpinEdit1);
    row->addWidget(new QLabel("% of the face color.", this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(MakeOkCancel(this));
}

bool TfrmSetEdgeFactor::ExecuteEdgeFactor(float& factor) {
    RxSpinEdit1->setValue(static_cast<int>(std::nearbyint(factor * 100.0)));
    if (exec() != QDialog::Accepted)
        return false;
    factor = static_cast<float>(RxSpinEdit1->value() / 100.0);
    return true;
}
