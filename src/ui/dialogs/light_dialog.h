#pragma once
// TfrmSetLight, "Set light direction": the light's direction as three
// whole numbers, with a preview that shows each change in the view at once.

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>

class QCheckBox;
class QSpinBox;

class TfrmSetLight : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetLight(QWidget* parent);

    // Shows the light for the preview: set the direction, draw, and set it back.
    std::function<void(const std::array<int32_t, 3>& light)> Preview;

    // The edits take the light; on OK it takes the edits and true is returned.
    bool ExecuteLight(std::array<int32_t, 3>& light);

private:
    void EditChanged();

    std::array<QSpinBox*, 3> FEdits{};
    QCheckBox* FPreview;
    int FUpdating = 0;
};
