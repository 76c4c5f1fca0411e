#include "ui/dialogs/picture_size_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/convert.h"

TSizeCamera::TSizeCamera(QWidget* parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog) {
    setObjectName("SizeCamera");
    edW = new QLineEdit(this);
    edW->setObjectName("edW");
    edH = new QLineEdit(this);
    edH->setObjectName("edH");
    for (QLineEdit* edit : {edW, edH})
        edit->setFixedWidth(44);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btnOK");
    ok->setDefault(true); // Enter
    auto* cancel = new QPushButton("X", this);
    cancel->setObjectName("btnCancel");
    for (QPushButton* button : {ok, cancel})
        button->setFixedWidth(28);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject); // also Escape
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(edW);
    layout->addWidget(new QLabel("x", this));
    layout->addWidget(edH);
    layout->addWidget(ok);
    layout->addWidget(cancel);
}

void TSizeCamera::SetWidth(int width) {
    edW->setText(QString::number(width));
}

void TSizeCamera::SetHeight(int height) {
    edH->setText(QString::number(height));
}

int TSizeCamera::GetWidth() const {
    return StrToInt(edW->text().toStdString());
}

int TSizeCamera::GetHeight() const {
    return StrToInt(edH->text().toStdString());
}

void TSizeCamera::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    edW->setFocus();
    edW->selectAll();
}
