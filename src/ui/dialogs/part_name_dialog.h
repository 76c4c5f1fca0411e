#pragma once
// TAskFileAndPart, "Enter part information": the library file and the part
// name a new stone shape is saved under. The texts stay between uses.

#include <QDialog>
#include <optional>
#include <string>

class QLineEdit;

class TAskFileAndPart : public QDialog {
    Q_OBJECT
public:
    explicit TAskFileAndPart(QWidget* parent);

    std::string FileName() const;
    std::string PartName() const;
    void SetFileName(const std::string& name);

private:
    // Names that cannot be used are reported and the dialog stays open.
    void OkClick();

    QLineEdit* Edit1;
    QLineEdit* Edit2;
};
