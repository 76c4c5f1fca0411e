#pragma once
// Helpers for driving the main window as a user would: a window over a fresh
// application core in a temporary program folder, clicking named buttons,
// picking items of drop-down menus, and acting on modal dialogs from a timer.

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <QTest>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "app/command_line.h"
#include "app/stonemill_app.h"
#include "temp_program_folder.h"
#include "ui/main_form.h"

class QMenu;
class QToolButton;

// A temporary program folder with the shipped parts and an empty Models
// folder, a core over it and a shown main window. The current folder is put
// back afterwards.
class TWindowFixture {
public:
    explicit TWindowFixture(const TStartArguments& start = {});
    // A window that starts with a settings file of this text (Stonemill.ini
    // in the program folder).
    explicit TWindowFixture(const std::string& settings);
    ~TWindowFixture();

    TStonemillApp& App() { return *FApp; }
    TMainForm& Form() { return *FForm; }
    std::filesystem::path Folder() const { return FFolder.Path(); }
    // Writes a text file (lines joined with CR LF) into the program folder.
    std::filesystem::path WriteFile(const std::string& name, const std::string& text) const;
    std::string ReadFile(const std::filesystem::path& path) const { return FFolder.ReadFile(path); }

    template <class T> T* Find(const char* name) { return FForm->findChild<T*>(name); }
    // Clicks a button of the window by its name.
    void Click(const char* name);

private:
    void Open(const TStartArguments& start);
    std::filesystem::path FOldCurrent;
    TTempProgramFolder FFolder;
    std::unique_ptr<TStonemillApp> FApp;
    std::unique_ptr<TMainForm> FForm;
};

// Acts on the next modal widget of type T once it is shown. If none shows
// within the time, or another kind of modal widget stays open, the test fails
// and that widget is closed, so a test never hangs.
void WhenModal(const char* typeName, const std::function<bool(QWidget*)>& act);
template <class T> void WhenModal(const std::function<void(T*)>& act) {
    WhenModal(T::staticMetaObject.className(), [act](QWidget* widget) {
        T* typed = qobject_cast<T*>(widget);
        if (typed == nullptr)
            return false;
        act(typed);
        // A check that failed inside returned early: the dialog would wait for ever.
        if (QTest::currentTestFailed() && widget->isVisible())
            widget->close();
        return true;
    });
}

// Closes the dialog when it leaves scope still open: a check that fails
// while a test acts on a modal dialog then fails the test instead of leaving
// it waiting.
struct TRejectOnExit {
    explicit TRejectOnExit(QDialog* dialog) : Dialog(dialog) {}
    ~TRejectOnExit() {
        if (Dialog->isVisible())
            Dialog->reject();
    }
    TRejectOnExit(const TRejectOnExit&) = delete;
    TRejectOnExit& operator=(const TRejectOnExit&) = delete;
    QDialog* Dialog;
};

// Types an absolute path into a file dialog and confirms it.
void AcceptFileDialog(QFileDialog* dialog, const std::filesystem::path& path);
// The text of the file dialog's name field.
QString FileDialogName(QFileDialog* dialog);
// Clicks one of the message box's buttons.
void ClickMessageButton(QMessageBox* box, QMessageBox::StandardButton button);
// While it lives, answers every message box that shows with OK and records
// its text and icon; with rejectOthers, also closes every other modal dialog
// and records its class name.
class TModalRecorder {
public:
    explicit TModalRecorder(bool answerMessages = true, bool rejectOthers = true);
    ~TModalRecorder();
    QStringList Texts;
    QList<QMessageBox::Icon> Icons;
    QStringList Others;

private:
    class QTimer* FTimer;
};

// While it lives, answers every message box that shows with the button and
// records its text, so a test knows how often a question came.
class TQuestionAnswerer {
public:
    explicit TQuestionAnswerer(QMessageBox::StandardButton answer);
    ~TQuestionAnswerer();
    QStringList Texts;
    QList<QMessageBox::Icon> Icons;

private:
    class QTimer* FTimer;
};

// Clicks a drop-down button and, once its menu shows, runs act on the menu.
void WithMenu(QToolButton* button, const std::function<void(QMenu*)>& act);
// Clicks a menu's item by its caption; fails the test when there is none.
void ClickMenuItem(QMenu* menu, const QString& caption);
// The captions of a menu's items, separators as "-".
QStringList MenuCaptions(QMenu* menu);
