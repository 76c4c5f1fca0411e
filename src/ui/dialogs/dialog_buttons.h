#pragma once
// The OK and Cancel buttons at the foot of the program's dialogs.

#include <functional>

class QDialog;
class QDialogButtonBox;

// Cancel rejects the dialog; OK runs ok, or accepts the dialog when there is none.
QDialogButtonBox* MakeOkCancel(QDialog* dialog, const std::function<void()>& ok = {});
