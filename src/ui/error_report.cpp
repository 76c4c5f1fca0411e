#include "ui/error_report.h"

#include <QMessageBox>
#include <new>

#include "common/error.h"

const char* const kCommandFailed = "The command could not be carried out.";

std::string FailureMessage(std::exception_ptr failure, const char* fallback) {
    try {
        std::rethrow_exception(failure);
    } catch (const EError& error) {
        return error.Message();
    } catch (const std::bad_alloc&) {
        return std::string(fallback) + " There is not enough memory for it.";
    } catch (...) {
        return fallback;
    }
}

void ShowErrorBox(QWidget* window, const std::string& message) {
    QMessageBox::critical(window, "Stonemill", QString::fromStdString(message));
}

bool RunReporting(QWidget* window, const std::function<void()>& change, const char* fallback) {
    try {
        change();
        return true;
    } catch (...) {
        ShowErrorBox(window, FailureMessage(std::current_exception(), fallback));
        return false;
    }
}
