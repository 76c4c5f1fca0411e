#include "ui_test_support.h"

#include <QAbstractItemView>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <fstream>

namespace fs = std::filesystem;

namespace {
constexpr int kModalTimeoutMs = 5000;
}

TWindowFixture::TWindowFixture(const TStartArguments& start) : FOldCurrent(fs::current_path()) {
    Open(start);
}

TWindowFixture::TWindowFixture(const std::string& settings) : FOldCurrent(fs::current_path()) {
    TStartArguments start;
    start.SettingsFile = FFolder.Path() / "Stonemill.ini";
    std::ofstream(start.SettingsFile, std::ios::binary) << settings;
    Open(start);
}

void TWindowFixture::Open(const TStartArguments& start) {
    fs::copy(BuiltProgramFolder() / "parts", FFolder.Parts(),
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::create_directories(FFolder.Path() / "Models");
    FApp = std::make_unique<TStonemillApp>(FFolder.Path());
    FForm = std::make_unique<TMainForm>(*FApp, start);
    FForm->show();
    if (!QTest::qWaitForWindowExposed(FForm.get()))
        QTest::qFail("the main window was not shown", __FILE__, __LINE__);
    // The deferred start-up step runs once the window is shown.
    QTest::qWait(0);
}

TWindowFixture::~TWindowFixture() {
    FForm.reset();
    FApp.reset();
    std::error_code ignored;
    fs::current_path(FOldCurrent, ignored);
}

fs::path TWindowFixture::WriteFile(const std::string& name, const std::string& text) const {
    const fs::path path = FFolder.Path() / name;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
    return path;
}

void TWindowFixture::Click(const char* name) {
    auto* button = FForm->findChild<QAbstractButton*>(name);
    if (button == nullptr) {
        QTest::qFail(qPrintable(QString("no button %1").arg(name)), __FILE__, __LINE__);
        return;
    }
    QTest::mouseClick(button, Qt::LeftButton);
}

void WhenModal(const char* typeName, const std::function<bool(QWidget*)>& act) {
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    const QString expected = typeName;
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act, expected] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->isVisible()) {
            timer->stop();
            if (act(modal)) {
                timer->deleteLater();
                return;
            }
            timer->start();
        }
        if (clock->elapsed() > kModalTimeoutMs) {
            timer->stop();
            timer->deleteLater();
            QString found = "nothing";
            if (modal != nullptr) {
                found = modal->metaObject()->className();
                if (auto* box = qobject_cast<QMessageBox*>(modal))
                    found += ": " + box->text();
                if (auto* dialog = qobject_cast<QDialog*>(modal))
                    dialog->reject();
            }
            QTest::qFail(qPrintable("expected a " + expected + ", found " + found), __FILE__, __LINE__);
        }
    });
    timer->start(10);
}

void AcceptFileDialog(QFileDialog* dialog, const fs::path& path) {
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (edit == nullptr) {
        QTest::qFail("the file dialog has no name field", __FILE__, __LINE__);
        dialog->reject();
        return;
    }
    // A file the dialog proposed may still be selected in its list, and the
    // selection wins over the typed name; typing into the focused field
    // would clear it, but the field has no focus here.
    for (QAbstractItemView* view : dialog->findChildren<QAbstractItemView*>())
        if (view->selectionModel() != nullptr)
            view->selectionModel()->clearSelection();
    edit->setText(QString::fromStdString(path.string()));
    QMetaObject::invokeMethod(dialog, "accept");
}

QString FileDialogName(QFileDialog* dialog) {
    auto* edit = dialog->findChild<QLineEdit*>("fileNameEdit");
    return edit != nullptr ? edit->text() : QString();
}

void ClickMessageButton(QMessageBox* box, QMessageBox::StandardButton button) {
    QAbstractButton* b = box->button(button);
    if (b == nullptr) {
        QTest::qFail("the message box lacks the button", __FILE__, __LINE__);
        box->reject();
        return;
    }
    b->click();
}

TModalRecorder::TModalRecorder(bool answerMessages, bool rejectOthers) : FTimer(new QTimer) {
    QObject::connect(FTimer, &QTimer::timeout, [this, answerMessages, rejectOthers] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible())
            return;
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            if (answerMessages) {
                Texts << box->text();
                Icons << box->icon();
                box->accept();
            }
        } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog != nullptr && rejectOthers) {
            Others << dialog->metaObject()->className();
            dialog->reject();
        }
    });
    FTimer->start(10);
}

TModalRecorder::~TModalRecorder() {
    delete FTimer;
}

TQuestionAnswerer::TQuestionAnswerer(QMessageBox::StandardButton answer) : FTimer(new QTimer) {
    QObject::connect(FTimer, &QTimer::timeout, [this, answer] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible() || box->property("answered").toBool())
            return;
        box->setProperty("answered", true);
        Texts << box->text();
        Icons << box->icon();
        ClickMessageButton(box, answer);
    });
    FTimer->start(10);
}

TQuestionAnswerer::~TQuestionAnswerer() {
    delete FTimer;
}

void WithMenu(QToolButton* button, const std::function<void(QMenu*)>& act) {
    if (button == nullptr) {
        QTest::qFail("no such button", __FILE__, __LINE__);
        return;
    }
    auto* timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    QObject::connect(timer, &QTimer::timeout, [timer, clock, act] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu != nullptr && menu->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(menu);
            if (menu->isVisible())
                menu->close();
        } else if (clock->elapsed() > kModalTimeoutMs) {
            timer->stop();
            timer->deleteLater();
            QTest::qFail("the menu did not drop down", __FILE__, __LINE__);
        }
    });
    timer->start(10);
    QTest::mouseClick(button, Qt::LeftButton);
}

void ClickMenuItem(QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions()) {
        if (action->text().section('\t', 0, 0) == caption) {
            QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(action).center());
            return;
        }
    }
    QTest::qFail(qPrintable("no menu item " + caption), __FILE__, __LINE__);
}

QStringList MenuCaptions(QMenu* menu) {
    QStringList captions;
    for (QAction* action : menu->actions())
        if (action->isVisible())
            captions << (action->isSeparator() ? QString("-") : action->text().section('\t', 0, 0));
    return captions;
}
