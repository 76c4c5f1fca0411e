#include "ui/dialogs/light_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "ui/dialogs/dialog_buttons.h"

TfrmSetLight::TfrmSetLight(QWidget* parent) : QDialog(parent) {
    setObjectName("frmSetLight");
    setWindowTitle("Set light direction");
    auto* form = new QFormLayout;
    const char* names[] = {"rxsX", "rxsY", "rxsZ"};
    const char* labels[] = {"X:", "Y:", "Z:"};
    for (size_t i = 0; i < 3; ++i) {
        auto* edit = new QSpinBox(this);
        edit->setObjectName(names[i]);
        edit->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
        connect(edit, &QSpinBox::valueChanged, this, &TfrmSetLight::EditChanged);
        form->addRow(labels[i], edit);
        FEdits[i] = edit;
    }
    FPreview = new QCheckBox("Preview", this);
    FPreview->setObjectName("cbPreview");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(FPreview);
    layout->addWidget(MakeOkCancel(this));
}

void TfrmSetLight::EditChanged() {
    if (FUpdating == 0 && FPreview->isChecked() && Preview)
        Preview({FEdits[0]->value(), FEdits[1]->value(), FEdits[2]->value()});
}

bool TfrmSetLight::ExecuteLight(std::array<int32_t, 3>& light) {
    ++FUpdating;
    for (size_t i = 0; i < 3; ++i)
        FEdits[i]->setValue(light[i]);
    --FUpdating;
    if (exec() != QDialog::Accepted)
        return false;
    light = {FEdits[0]->value(), FEdits[1]->value(), FEdits[2]->value()};
    return true;
}
