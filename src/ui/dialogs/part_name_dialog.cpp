#include "ui/dialogs/part_name_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QVBoxLayout>

#include "editor/part_editor.h"
#include "ui/dialogs/dialog_buttons.h"

TAskFileAndPart::TAskFileAndPart(QWidget* parent) : QDialog(parent) {
    setObjectName("AskFileAndPart");
    setWindowTitle("Enter part information");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName("Edit2");
    auto* form = new QFormLayout;
    form->addRow("File name:", Edit1);
    form->addRow("Part name:", Edit2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MakeOkCancel(this, [this] { OkClick(); }));
    setMinimumWidth(300);
}

std::string TAskFileAndPart::FileName() const {
    return Edit1->text().toStdString();
}

std::string TAskFileAndPart::PartName() const {
    return Edit2->text().toStdString();
}

void TAskFileAndPart::SetFileName(const std::string& name) {
    Edit1->setText(QString::fromStdString(name));
}

void TAskFileAndPart::OkClick() {
    const std::string problem = TPartEditor::NamesProblem({FileName(), PartName()});
    if (!problem.empty()) {
        QMessageBox::warning(this, "Enter part information", QString::fromStdString(problem));
        (FileName().empty() ? Edit1 : Edit2)->setFocus();
        return;
    }
    accept();
}
