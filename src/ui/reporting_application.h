#pragma once
// The window's application object. A failure that leaves an event handler
// which does not report its own (a paint, a resize, a timer), running out of
// memory among them, is shown in the standard error box in the program's
// words, and the window goes on, instead of ending the program.

#include <QApplication>

class TReportingApplication : public QApplication {
public:
    TReportingApplication(int& argc, char** argv) : QApplication(argc, argv) {}

    bool notify(QObject* receiver, QEvent* event) override;

private:
    // A failure is being shown: one that comes while its box is open (the
    // same paint failing again) is written to the error output only.
    bool FReporting = false;
};
