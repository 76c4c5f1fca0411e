#pragma once
// The OK and Cancel buttons at the foot of the program's dialogs.

#include <functional>

class QDialog;
class QDialogButtonBox;

// Cancel rejects the dialog; OK runs ok, or accepts the dialog when there is none.
QDialogButtonBox* MakeOkCancel(QDialog* dialog, const std::function<void()>& ok = {});

class QString;
class QWidget;

// An up and a down arrow stacked, as a spin button without an edit: each click
// runs step(true) for up, step(false) for down. The arrows are named "Up" and "Down".
QWidget* MakeSpinArrows(QWidget* parent, const QString& name, const std::function<void(bool up)>& step);
