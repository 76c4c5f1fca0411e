#include "ui/reporting_application.h"

#include <cstdio>
#include <exception>
#include <string>

#include "ui/error_report.h"

bool TReportingApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const std::exception_ptr failure = std::current_exception();
        try {
            const std::string message = FailureMessage(failure);
            if (FReporting) {
                std::fprintf(stderr, "stonemill: %s\n", message.c_str());
            } else {
                FReporting = true;
                ShowErrorBox(activeWindow(), message);
                FReporting = false;
            }
        } catch (...) {
            // Too little memory left even to show the box.
            FReporting = false;
            std::fputs(
                "stonemill: The command could not be carried out. There is not enough memory for it.\n",
                stderr);
        }
        return false;
    }
}
