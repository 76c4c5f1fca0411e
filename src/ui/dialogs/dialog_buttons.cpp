#include "ui/dialogs/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QString>
#include <QToolButton>
#include <QVBoxLayout>

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

QWidget* MakeSpinArrows(QWidget* parent, const QString& name, const std::function<void(bool up)>& step) {
    auto* arrows = new QWidget(parent);
    arrows->setObjectName(name);
    auto* column = new QVBoxLayout(arrows);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (bool up : {true, false}) {
        auto* arrow = new QToolButton(arrows);
        arrow->setObjectName(up ? "Up" : "Down");
        arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFixedSize(18, 11);
        QObject::connect(arrow, &QToolButton::clicked, arrows, [step, up] { step(up); });
        column->addWidget(arrow);
    }
    return arrows;
}
