#pragma once
// TfrmProperties, "Page properties": a palette page's title, row height and
// preview scale.

#include <QDialog>
#include <string>

class QLineEdit;
class QSpinBox;

// The scale as the dialog shows it: two significant digits, halves rounded up
// (1.25 shows as 1.3).
std::string ScaleForEditing(float scale);
// The scale the user typed, with "." as decimal separator. Raises EError for
// text that is not a number, or a scale not above 0 or above 100.
float ScaleFromText(const std::string& text);

class TfrmProperties : public QDialog {
    Q_OBJECT
public:
    explicit TfrmProperties(QWidget* parent);

    // Shows the values; on OK they take the edited ones and true is returned.
    // A scale that is not a number is reported and the dialog stays open.
    bool EditPageProperties(std::string& title, int& rowHeight, float& scale);

private:
    void OkClick();

    QLineEdit* Edit1;
    QSpinBox* RxSpinEdit1;
    QLineEdit* Edit2;
    float FScale = 0.5f;
};
