#pragma once
// Dialogs and tool windows open on the screen, wherever they were placed.

#include <QEvent>

class QObject;
class QWidget;

// Whether the event shows a dialog or tool window, which then must be brought
// onto the screen (menus, tool tips and the like place themselves).
bool ShowsDialogOrToolWindow(QObject* watched, QEvent* event);
// Moves the window, keeping its size, onto the part of the screen windows may
// take: the screen it mostly lies on, else its parent's, else the first.
void KeepWindowOnScreen(QWidget* window);
