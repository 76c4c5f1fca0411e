#include "ui/dialogs/page_properties_dialog.h"
#include "ui/dialogs/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>
#include <charconv>
#include <cmath>

#include "common/error.h"
#include "common/strings.h"
#include "ui/error_report.h"

std::string ScaleForEditing(float scale) {
    const double value = scale;
    if (!std::isfinite(value) || value == 0)
        return "0";
    // Two significant digits with halves rounded away from zero; the power of
    // ten is applied as a whole number so that 1.25 becomes exactly 12.5 first.
    const double magnitude = std::fabs(value);
    const int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    double rounded = 0;
    if (exponent <= 1) {
        const double power = std::pow(10.0, 1 - exponent);
        rounded = std::floor(magnitude * power + 0.5) / power;
    } else {
        const double power = std::pow(10.0, exponent - 1);
        rounded = std::floor(magnitude / power + 0.5) * power;
    }
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, std::copysign(rounded, value),
                                      std::chars_format::general, 2);
    return error == std::errc() ? std::string(buffer, end) : "0";
}

float ScaleFromText(const std::string& text) {
    const std::string trimmed = Trim(text);
    double value = 0;
    auto [end, error] = std::from_chars(trimmed.data(), trimmed.data() + trimmed.size(), value);
    if (trimmed.empty() || error != std::errc() || end != trimmed.data() + trimmed.size() ||
        !std::isfinite(value))
        throw EError("'" + text + "' is not a valid floating point value");
    if (value <= 0 || value > 100)
        throw EError("The scale must be above 0 and at most 100");
    return static_cast<float>(value);
}

TfrmProperties::TfrmProperties(QWidget* parent) : QDialog(parent) {
    setObjectName("frmProperties");
    setWindowTitle("Page properties");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName("Edit1");
    RxSpinEdit1 = new QSpinBox(this);
    RxSpinEdit1->setObjectName("RxSpinEdit1");
    RxSpinEdit1->setRange(1, 255);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName("Edit2");
    auto* form = new QFormLayout;
    form->addRow("Header", Edit1);
    form->addRow("Height", RxSpinEdit1);
    form->addRow("Scale", Edit2);
    QDialogButtonBox* buttons = MakeOkCancel(this, [this] { OkClick(); });
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
}

void TfrmProperties::OkClick() {
    if (!RunReporting(this, [this] { FScale = ScaleFromText(Edit2->text().toStdString()); })) {
        Edit2->setFocus();
        return;
    }
    accept();
}

bool TfrmProperties::EditPageProperties(std::string& title, int& rowHeight, float& scale) {
    Edit1->setText(QString::fromStdString(title));
    RxSpinEdit1->setValue(rowHeight);
    Edit2->setText(QString::fromStdString(ScaleForEditing(scale)));
    Edit1->setFocus();
    Edit1->selectAll();
    if (exec() != QDialog::Accepted)
        return false;
    title = Edit1->text().toStdString();
    rowHeight = RxSpinEdit1->value();
    scale = FScale;
    return true;
}
