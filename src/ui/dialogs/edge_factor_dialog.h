#pragma once
// TfrmSetEdgeFactor, "Factor for Edge coloring": how dark the edges of a
// stone are drawn, in per cent of its face colour.

#include <QDialog>

class QSpinBox;

class TfrmSetEdgeFactor : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSetEdgeFactor(QWidget* parent);

    // The edit takes the factor in per cent; on OK the factor takes the edit.
    bool ExecuteEdgeFactor(float& factor);

private:
    QSpinBox* RxSpinEdit1;
};
