#include "ui/dialogs/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

QDialogButtonBox* MakeOkCancel(QDialog* dialog, const std::function<void()>& ok) {
    auto* box = new QDialogButtonBox(QDialogButtonBox::Cancel | QDialogButtonBox::Ok, dialog);
    box->button(QDialogButtonBox::Ok)->setObjectName("btnOK");
    box->button(QDialogButtonBox::Cancel)->setObjectName("btnCancel");
    if (ok)
        QObject::connect(box, &QDialogButtonBox::accepted, dialog, ok);
    else
        QObject::connect(box, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(box, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return box;
}
