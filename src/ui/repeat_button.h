#pragma once
// Buttons that repeat while held: first after 400 ms, then every 200 ms.

class QToolButton;
class QWidget;

void SetRepeating(QToolButton* button);
// A text button that repeats, as the move buttons of the page dialogs.
QToolButton* MakeRepeatButton(const char* name, const char* caption, const char* hint, QWidget* parent);
