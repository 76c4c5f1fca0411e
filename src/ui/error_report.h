#pragma once
// The one way the windows report failures: a change of the core runs, and
// what it raised is shown in the standard error box over the window, in the
// program's words, after which the window goes on.

#include <QString>
#include <exception>
#include <functional>
#include <string>

class QWidget;

// What the user reads when a change fails in a way the program did not name.
extern const char* const kCommandFailed; // "The command could not be carried out."

// The message for a failure: an EError's own text, and the fallback (or a
// word on memory) for anything else, never the library's own text.
std::string FailureMessage(std::exception_ptr failure, const char* fallback = kCommandFailed);
// The standard error box over the window.
void ShowErrorBox(QWidget* window, const std::string& message);
// Runs the change; a failure is shown in the error box. Returns whether the
// change ran through.
bool RunReporting(QWidget* window, const std::function<void()>& change, const char* fallback = kCommandFailed);
