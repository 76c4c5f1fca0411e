// The main window's model files, driven through the real dialogs: loading a
// complete model, the open dialog's folders and previews, line errors,
// unreadable files, the three saves with their proposals and the question
// before a file is replaced, the unsaved-changes question on New model, load
// and close, the caption, and the model named on the command line.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <fstream>

#include "ui/open_model_dialog.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;

namespace {

const char* const kModel = "= 0 90 10 7 -3 0 1\r\n"
                           "B 0 0 0 80 40 20 244 1 0 0 0 0  0\r\n"
                           "B 80 0 0 40 40 40 32768 1 0 0 0 0  0\r\n"
                           "B 0 40 0 40 80 13 11724264 1 0 0 0 0  0\r\n";

QString Caption(const fs::path& path) {
    return QString("Stonemill Ver 1.42 - ") + QString::fromStdString(path.string());
}

// Picks "&Complete model..." of the load menu and opens the given file.
void LoadThroughTheDialog(TWindowFixture& f, const fs::path& path) {
    WhenModal<QFileDialog>([path](QFileDialog* dialog) { AcceptFileDialog(dialog, path); });
    WithMenu(f.Find<QToolButton>("btnOpen"), [](QMenu* menu) { ClickMenuItem(menu, "&Complete model..."); });
}

void PickSave(TWindowFixture& f, const char* caption) {
    WithMenu(f.Find<QToolButton>("btnSave"), [caption](QMenu* menu) { ClickMenuItem(menu, caption); });
}

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// Answers the unsaved-changes question, checking its text and buttons.
void AnswerQuestion(QMessageBox::StandardButton answer, bool* asked = nullptr) {
    WhenModal<QMessageBox>([answer, asked](QMessageBox* box) {
        if (asked != nullptr)
            *asked = true;
        QCOMPARE(box->text(), QString("The model has not been saved!\r\nDo You want to save it now?"));
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        ClickMessageButton(box, answer);
    });
}

} // namespace

class TMainFormFilesTest : public QObject {
    Q_OBJECT
private slots:
    void ExportThroughTheSubmenu() {
        TWindowFixture f;
        f.App().Files.LoadModel(f.WriteFile("Models/house.stm", kModel), TLoadMode::lmComplete);
        // Picks an item of the save menu's Export submenu.
        auto pickExport = [&](const char* caption, QStringList* captions = nullptr) {
            WithMenu(f.Find<QToolButton>("btnSave"), [&](QMenu* menu) {
                QMenu* submenu = f.Form().findChild<QMenu*>("miExport");
                QVERIFY(submenu != nullptr);
                ClickMenuItem(menu, "&Export");
                QTRY_VERIFY(submenu->isVisible());
                if (captions != nullptr)
                    *captions = MenuCaptions(submenu);
                ClickMenuItem(submenu, caption);
            });
        };
        const fs::path folder = f.Folder() / "Exports";
        fs::create_directories(folder);
        QStringList captions;
        bool selectedEnabled = true;
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            TRejectOnExit closeIfFailed(dialog);
            selectedEnabled = f.Form().findChild<QAction*>("miExportSelected")->isEnabled();
            QCOMPARE(dialog->windowTitle(), QString("Export model as..."));
            QCOMPARE(dialog->objectName(), QString("dlgExport"));
            QCOMPARE(dialog->nameFilters(),
                     QStringList({"Wavefront OBJ with materials (*.obj)", "STL for printing (*.stl)",
                                  "3MF for printing in colour (*.3mf)",
                                  "glTF binary for 3D viewers and the web (*.glb)", "LDraw model (*.mpd)"}));
            QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
            QCOMPARE(FileDialogName(dialog), QString("house"));
            // The filter chosen decides the format of a name without an extension.
            QTest::keyClick(dialog->findChild<QComboBox*>("fileTypeCombo"), Qt::Key_Down);
            QCOMPARE(dialog->defaultSuffix(), QString("stl"));
            AcceptFileDialog(dialog, folder / "house");
        });
        pickExport("&Complete model...", &captions);
        QCOMPARE(captions, QStringList({"&Complete model...", "&Selected stones only...",
                                        "&Displayed stones only..."}));
        QVERIFY(!selectedEnabled);
        // Three boxes of twelve facets each.
        QCOMPARE(fs::file_size(folder / "house.stl"), 84u + 3 * 12 * 50);
        QCOMPARE(f.App().Document.DialogFolders().Export, folder);

        // A name whose extension names no format: the error box says which do.
        TModalRecorder messages(true, false);
        WhenModal<QFileDialog>([&](QFileDialog* dialog) { AcceptFileDialog(dialog, folder / "house.dxf"); });
        pickExport("&Displayed stones only...");
        QCOMPARE(messages.Texts.size(), 1);
        QVERIFY(messages.Texts.front().contains("one of .obj, .stl, .3mf, .glb or .mpd"));
        QCOMPARE(messages.Icons.front(), QMessageBox::Critical);
        QVERIFY(!fs::exists(folder / "house.dxf"));
    }

    void LoadACompleteModelThroughTheDialog() {
        TWindowFixture f;
        const fs::path file = f.WriteFile("Models/house.stm", kModel);
        QStringList captions;
        WithMenu(f.Find<QToolButton>("btnOpen"), [&](QMenu* menu) { captions = MenuCaptions(menu); });
        QCOMPARE(captions, QStringList({"&Complete model...", "&Subassembly...", "-", "Break up a scene...",
                                        "-", "Load a &set...", "Infinite supply"}));

        bool seen = false;
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            seen = true;
            QCOMPARE(dialog->windowTitle(), QString("Load a complete model"));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            QCOMPARE(dialog->nameFilters(), QStringList({"Stonemill Files (*.STM)", "All files (*.*)"}));
            QCOMPARE(dialog->defaultSuffix(), QString("STM"));
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            QCOMPARE(fs::path(dialog->directory().absolutePath().toStdString()), f.Folder() / "Models");
            AcceptFileDialog(dialog, file);
        });
        const int passes = f.App().Scene.PassCount();
        WithMenu(f.Find<QToolButton>("btnOpen"),
                 [](QMenu* menu) { ClickMenuItem(menu, "&Complete model..."); });
        QVERIFY(seen);
        QCOMPARE(f.App().Document.Model().Count(), 3);
        QCOMPARE(f.Form().windowTitle(), Caption(file));
        // The view line's view, shown by the controls, in one picture.
        QCOMPARE(f.Find<QScrollBar>("RotX")->value(), 0);
        QCOMPARE(f.Find<QScrollBar>("RotZ")->value(), 90);
        QCOMPARE(f.Find<QScrollBar>("OffsetX")->value(), 7);
        QCOMPARE(f.Find<QScrollBar>("OffsetY")->value(), -3);
        QCOMPARE(f.Form().findChild<QComboBox*>("cbZoom")->currentText(), QString("100"));
        QCOMPARE(f.App().Scene.PassCount(), passes + 1);
        QCOMPARE(f.App().Document.RecentFiles().front(), file.string());
    }

    void OpenStartsWhereModelsAreSavedWithTheDemosBesideAndShowsPreviews() {
        TWindowFixture f;
        // The shipped models in a folder of their own, as when installed.
        const fs::path demos = f.Folder() / "share" / "Models";
        const fs::path castle = f.WriteFile("share/Models/castle.stm", kModel);
        f.App().Document.DialogFolders().Demos = demos;
        // The sidebar's entry of a folder, in the order of the dialog's list.
        auto entryOf = [](QFileDialog* dialog, const fs::path& folder) {
            auto* sidebar = dialog->findChild<QListView*>("sidebar");
            const qsizetype row =
                dialog->sidebarUrls().indexOf(QUrl::fromLocalFile(QString::fromStdString(folder.string())));
            return sidebar != nullptr && row >= 0 ? sidebar->model()->index(static_cast<int>(row), 0)
                                                  : QModelIndex();
        };
        auto click = [](QFileDialog* dialog, const QModelIndex& entry) {
            auto* sidebar = dialog->findChild<QListView*>("sidebar");
            QTest::mouseClick(sidebar->viewport(), Qt::LeftButton, {}, sidebar->visualRect(entry).center());
        };
        auto shown = [](QFileDialog* dialog) {
            return fs::path(dialog->directory().absolutePath().toStdString());
        };

        // The user's models first, the demos one click away.
        bool seen = false;
        WhenModal<TOpenModelDialog>([&](TOpenModelDialog* dialog) {
            seen = true;
            const TRejectOnExit close(dialog);
            QCOMPARE(shown(dialog), f.Folder() / "Models");
            const QModelIndex mine = entryOf(dialog, f.Folder() / "Models");
            QCOMPARE(mine.data().toString(), QString("Models"));
            const QModelIndex demoEntry = entryOf(dialog, demos);
            QCOMPARE(demoEntry.data().toString(), QString("Demo models"));
            click(dialog, demoEntry);
            QCOMPARE(shown(dialog), demos);
            AcceptFileDialog(dialog, castle);
        });
        WithMenu(f.Find<QToolButton>("btnOpen"),
                 [](QMenu* menu) { ClickMenuItem(menu, "&Complete model..."); });
        QVERIFY(seen);
        QCOMPARE(f.App().Document.Model().Count(), 3);
        // The desktop keeps the sidebars of every program's dialogs: ours
        // leave no entries there.
        const QString saved = QSettings(QSettings::UserScope, "QtProject")
                                  .value("FileDialog/shortcuts")
                                  .toStringList()
                                  .join(",");
        QVERIFY2(!saved.contains("share/Models"), qPrintable(saved));

        // Saved as the user's own, it gets a preview, which the open dialog shows.
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(shown(dialog), f.Folder() / "Models");
            AcceptFileDialog(dialog, f.Folder() / "Models" / "mine");
        });
        PickSave(f, "&Complete model...");
        const QImage preview(QString::fromStdString((f.Folder() / "Models" / "mine.jpg").string()));
        QCOMPARE(preview.size(), QSize(400, 300));
        seen = false;
        WhenModal<TOpenModelDialog>([&](TOpenModelDialog* dialog) {
            seen = true;
            const TRejectOnExit close(dialog);
            click(dialog, entryOf(dialog, f.Folder() / "Models"));
            QCOMPARE(shown(dialog), f.Folder() / "Models");
            // The current model's name is proposed; in this folder it has its picture.
            QCOMPARE(FileDialogName(dialog), QString("mine.STM"));
            QTRY_COMPARE(dialog->findChild<QLabel*>("PictureLabel")->text(), QString(" (400x300)"));
            dialog->reject();
        });
        WithMenu(f.Find<QToolButton>("btnOpen"),
                 [](QMenu* menu) { ClickMenuItem(menu, "&Complete model..."); });
        QVERIFY(seen);
    }

    void EachUnreadableLineShowsItsMessageAndLoadingGoesOn() {
        TWindowFixture f;
        const fs::path file = f.WriteFile("Models/bad.stm", "= 70 330 20 0 0 0 1\r\n"
                                                            "B 0 0 0 40 40 20 244 1 0 0 0 0  0\r\n"
                                                            "B 12x 0 0 40 40 20 244\r\n"
                                                            "\r\n"
                                                            "B 40 0 0 40 40 20 244 1 0 0 0 0  0\r\n");
        TModalRecorder messages(true, false);
        LoadThroughTheDialog(f, file);
        QCOMPARE(messages.Texts.size(), 2);
        for (const QString& text : messages.Texts)
            QVERIFY(!text.isEmpty());
        QCOMPARE(f.App().Document.Model().Count(), 2);
        QCOMPARE(f.Form().windowTitle(), Caption(file));
    }

    void AFileThatCannotBeReadShowsTheErrorBox() {
        TWindowFixture f;
        const fs::path missing = f.Folder() / "Models" / "missing.stm";
        TModalRecorder messages(true, false);
        LoadThroughTheDialog(f, missing);
        QCOMPARE(messages.Texts.size(), 1);
        QCOMPARE(messages.Icons.front(), QMessageBox::Critical);
        QVERIFY(!messages.Texts.front().isEmpty());
        QCOMPARE(f.App().Document.Model().Count(), 0);
        QVERIFY(f.Form().isVisible());
    }

    void ATextThatIsNotAModelShowsOneErrorBoxAndKeepsTheModel() {
        TWindowFixture f;
        const fs::path file = f.WriteFile("Models/house.stm", kModel);
        f.App().Files.LoadModel(file, TLoadMode::lmComplete);
        const fs::path letter = f.WriteFile("Models/letter.stm", "Dear builder,\r\nthis is not a model.\r\n");
        TModalRecorder messages(true, false);
        LoadThroughTheDialog(f, letter);
        QCOMPARE(messages.Texts.size(), 1);
        QCOMPARE(messages.Icons.front(), QMessageBox::Critical);
        QVERIFY(messages.Texts.front().contains("is not a Stonemill model"));
        QCOMPARE(f.App().Document.Model().Count(), 3);
        QCOMPARE(f.Form().windowTitle(), Caption(file));
    }

    void SaveTheCompleteModelThroughTheDialog() {
        TWindowFixture f;
        f.App().Files.LoadModel(f.WriteFile("Models/house.stm", kModel), TLoadMode::lmComplete);
        f.App().Document.SetDirty(true);

        QStringList captions;
        bool selectedEnabled = true;
        WithMenu(f.Find<QToolButton>("btnSave"), [&](QMenu* menu) {
            captions = MenuCaptions(menu);
            selectedEnabled = f.Form().findChild<QAction*>("mSaveSelected")->isEnabled();
        });
        QCOMPARE(captions, QStringList({"&Complete model...", "&Selected stones only...",
                                        "&Displayed stones only...", "-", "&Export"}));
        QVERIFY(!selectedEnabled);

        const fs::path saved = f.Folder() / "Saves" / "copy";
        fs::create_directories(saved.parent_path());
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Save model as..."));
            QCOMPARE(dialog->objectName(), QString("dlgSaveFile"));
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            QCOMPARE(dialog->nameFilters(), QStringList({"Stonekit files (*.stm)", "All files (*.*)"}));
            QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
            // The current model is proposed, without its extension.
            QCOMPARE(FileDialogName(dialog), QString("house"));
            QCOMPARE(fs::path(dialog->directory().absolutePath().toStdString()), f.Folder() / "Models");
            AcceptFileDialog(dialog, saved);
        });
        PickSave(f, "&Complete model...");
        // The default extension is added to a name without one.
        const fs::path written = f.Folder() / "Saves" / "copy.STM";
        QVERIFY(fs::exists(written));
        const std::string text = f.ReadFile(written);
        QVERIFY(text.starts_with("= 0 90 10 7 -3 0 1\r\n"));
        QCOMPARE(LineCount(text), 4);
        QCOMPARE(f.Form().windowTitle(), Caption(written));
        QVERIFY(!f.App().Document.Dirty());
        QCOMPARE(f.App().Document.DialogFolders().Save, f.Folder() / "Saves");

        // Saved again under a name with an extension: it stays.
        const fs::path other = f.Folder() / "Saves" / "copy.txt";
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(FileDialogName(dialog), QString("copy"));
            AcceptFileDialog(dialog, other);
        });
        PickSave(f, "&Complete model...");
        QVERIFY(f.ReadFile(other).starts_with("= "));
        QVERIFY(!fs::exists(f.Folder() / "Saves" / "copy.txt.STM"));
    }

    void SavingOverAFileAsksOnceBeforeReplacingIt() {
        TWindowFixture f;
        f.App().Files.LoadModel(f.WriteFile("Models/house.stm", kModel), TLoadMode::lmComplete);
        f.App().Document.Model().Stones()[1]->Selected = true;
        f.App().Document.SetDirty(true);
        const fs::path old = f.WriteFile("Saves/old.STM", "old");
        struct TSave {
            const char* Item;
            int Lines;
        };
        for (const TSave& save : {TSave{"&Complete model...", 4}, TSave{"&Selected stones only...", 2},
                                  TSave{"&Displayed stones only...", 4}}) {
            f.WriteFile("Saves/old.STM", "old");
            f.App().Document.SetDirty(true);
            // No: the file stays, and the dialog is there to choose again.
            {
                TQuestionAnswerer no(QMessageBox::No);
                bool stillOpen = false;
                WhenModal<QFileDialog>([&](QFileDialog* dialog) {
                    AcceptFileDialog(dialog, old);
                    stillOpen = dialog->isVisible();
                    dialog->reject();
                });
                PickSave(f, save.Item);
                QCOMPARE(no.Texts, QStringList({"old.STM already exists.\nDo you want to replace it?"}));
                QCOMPARE(no.Icons.front(), QMessageBox::Warning);
                QVERIFY(stillOpen);
                QCOMPARE(f.ReadFile(old), std::string("old"));
                QVERIFY(f.App().Document.Dirty());
            }
            // Yes: replaced, after the one question.
            {
                TQuestionAnswerer yes(QMessageBox::Yes);
                WhenModal<QFileDialog>([&](QFileDialog* dialog) { AcceptFileDialog(dialog, old); });
                PickSave(f, save.Item);
                QCOMPARE(yes.Texts.size(), 1);
                QCOMPARE(LineCount(f.ReadFile(old)), save.Lines);
                // Only the complete save takes the unsaved changes.
                QCOMPARE(f.App().Document.Dirty(), std::string(save.Item) != "&Complete model...");
            }
        }
        // A new name asks nothing.
        TQuestionAnswerer none(QMessageBox::No);
        WhenModal<QFileDialog>(
            [&](QFileDialog* dialog) { AcceptFileDialog(dialog, f.Folder() / "Saves" / "new"); });
        PickSave(f, "&Complete model...");
        QVERIFY(none.Texts.isEmpty());
        QVERIFY(fs::exists(f.Folder() / "Saves" / "new.STM"));
    }

    void PartialSavesProposeTheirNamesAndKeepTheDirtyFlag() {
        TWindowFixture f;
        f.App().Files.LoadModel(f.WriteFile("Models/house.stm", kModel), TLoadMode::lmComplete);
        f.App().Document.Model().Stones()[1]->Selected = true;
        f.App().Document.SetDirty(true);

        bool selectedEnabled = false;
        WithMenu(f.Find<QToolButton>("btnSave"), [&](QMenu*) {
            selectedEnabled = f.Form().findChild<QAction*>("mSaveSelected")->isEnabled();
        });
        QVERIFY(selectedEnabled);

        const fs::path selected = f.Folder() / "Models" / "one.stm";
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Save selected parts as..."));
            QCOMPARE(FileDialogName(dialog), QString());
            AcceptFileDialog(dialog, selected);
        });
        PickSave(f, "&Selected stones only...");
        QCOMPARE(LineCount(f.ReadFile(selected)), 2);
        QVERIFY(f.App().Document.Dirty());
        QCOMPARE(f.Form().windowTitle(), Caption(selected));

        // The displayed save keeps the last name: the selection's file.
        const fs::path displayed = f.Folder() / "Models" / "shown.stm";
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Save displayed parts as..."));
            QCOMPARE(FileDialogName(dialog), QString("one"));
            AcceptFileDialog(dialog, displayed);
        });
        PickSave(f, "&Displayed stones only...");
        QCOMPARE(LineCount(f.ReadFile(displayed)), 4);
        QVERIFY(f.App().Document.Dirty());
    }

    void NewModelAsksAboutUnsavedChanges() {
        TWindowFixture f;
        const fs::path file = f.WriteFile("Models/house.stm", kModel);
        f.App().Files.LoadModel(file, TLoadMode::lmComplete);

        // Without changes nothing is asked.
        {
            TModalRecorder unexpected;
            f.Click("btnClear");
            QVERIFY(unexpected.Texts.isEmpty());
        }
        QCOMPARE(f.App().Document.Model().Count(), 0);
        QCOMPARE(f.Form().windowTitle(), QString("Stonemill Ver 1.42"));

        f.App().Files.LoadModel(file, TLoadMode::lmComplete);
        f.App().Document.SetDirty(true);
        // Cancel: nothing happens.
        AnswerQuestion(QMessageBox::Cancel);
        f.Click("btnClear");
        QCOMPARE(f.App().Document.Model().Count(), 3);
        QVERIFY(f.App().Document.Dirty());

        // Yes, then the save is cancelled: nothing happens.
        AnswerQuestion(QMessageBox::Yes);
        WhenModal<QFileDialog>([](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Save model as..."));
            dialog->reject();
        });
        f.Click("btnClear");
        QCOMPARE(f.App().Document.Model().Count(), 3);
        QVERIFY(f.App().Document.Dirty());

        // Yes and saved: the model is written, then cleared.
        const fs::path saved = f.Folder() / "Models" / "kept.stm";
        AnswerQuestion(QMessageBox::Yes);
        WhenModal<QFileDialog>([&](QFileDialog* dialog) { AcceptFileDialog(dialog, saved); });
        f.Click("btnClear");
        QCOMPARE(LineCount(f.ReadFile(saved)), 4);
        QCOMPARE(f.App().Document.Model().Count(), 0);
        QVERIFY(!f.App().Document.Dirty());

        // No: cleared without saving.
        f.App().Files.LoadModel(file, TLoadMode::lmComplete);
        f.App().Document.SetDirty(true);
        AnswerQuestion(QMessageBox::No);
        f.Click("btnClear");
        QCOMPARE(f.App().Document.Model().Count(), 0);
        QVERIFY(!f.App().Document.Dirty());
        QCOMPARE(f.Form().windowTitle(), QString("Stonemill Ver 1.42"));
    }

    void LoadingAsksAboutUnsavedChanges() {
        TWindowFixture f;
        const fs::path first = f.WriteFile("Models/first.stm", kModel);
        const fs::path second = f.WriteFile("Models/second.stm", "B 0 0 0 40 40 20 244 1 0 0 0 0  0\r\n");
        f.App().Files.LoadModel(first, TLoadMode::lmComplete);
        f.App().Document.SetDirty(true);

        // Cancel: no dialog, nothing loaded.
        bool asked = false;
        AnswerQuestion(QMessageBox::Cancel, &asked);
        {
            TModalRecorder unexpected(false, true);
            WithMenu(f.Find<QToolButton>("btnOpen"),
                     [](QMenu* menu) { ClickMenuItem(menu, "&Complete model..."); });
            QVERIFY(asked);
            QVERIFY2(unexpected.Others.isEmpty(), qPrintable(unexpected.Others.join("; ")));
        }
        QCOMPARE(f.App().Document.Model().Count(), 3);
        QVERIFY(f.App().Document.Dirty());

        // No: the dialog opens and the other model is loaded.
        AnswerQuestion(QMessageBox::No);
        LoadThroughTheDialog(f, second);
        QCOMPARE(f.App().Document.Model().Count(), 1);
        QVERIFY(!f.App().Document.Dirty());
        QCOMPARE(f.Form().windowTitle(), Caption(second));

        // Yes: saved first, then loaded.
        f.App().Document.SetDirty(true);
        const fs::path saved = f.Folder() / "Models" / "saved.stm";
        AnswerQuestion(QMessageBox::Yes);
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Save model as..."));
            QCOMPARE(FileDialogName(dialog), QString("second"));
            AcceptFileDialog(dialog, saved);
        });
        LoadThroughTheDialog(f, first);
        QCOMPARE(LineCount(f.ReadFile(saved)), 2);
        QCOMPARE(f.App().Document.Model().Count(), 3);
        QCOMPARE(f.Form().windowTitle(), Caption(first));
    }

    void ClosingAsksAboutUnsavedChanges() {
        TWindowFixture f;
        f.App().Files.LoadModel(f.WriteFile("Models/house.stm", kModel), TLoadMode::lmComplete);
        f.App().Document.SetDirty(true);

        AnswerQuestion(QMessageBox::Cancel);
        QVERIFY(!f.Form().close());
        QVERIFY(f.Form().isVisible());
        QVERIFY(f.App().Document.Dirty());

        // Exit asks the window to close.
        bool asked = false;
        AnswerQuestion(QMessageBox::Yes, &asked);
        WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        f.Click("ExitButton");
        QVERIFY(asked);
        QVERIFY(f.Form().isVisible());
        QVERIFY(f.App().Document.Dirty());

        AnswerQuestion(QMessageBox::No);
        QVERIFY(f.Form().close());
        QVERIFY(!f.Form().isVisible());
        QVERIFY(!f.App().Document.Dirty());
    }

    void TheModelNamedAtStartIsLoadedOnceTheWindowShows() {
        QTemporaryDir elsewhere;
        const fs::path file = fs::path(elsewhere.path().toStdString()) / "start model.stm";
        {
            std::ofstream out(file, std::ios::binary);
            out << kModel;
        }
        TStartArguments start;
        start.ModelFile = file.string();
        TWindowFixture f(start);
        QTRY_COMPARE(f.App().Document.Model().Count(), 3);
        QCOMPARE(f.Form().windowTitle(), Caption(file));
        QCOMPARE(f.Find<QScrollBar>("RotZ")->value(), 90);
        // The program folder became the current folder.
        QCOMPARE(fs::current_path(), f.Folder());
    }

    // Ctrl + S puts the model back into its own file without a question; a
    // new model, or one of the models shipped with the program, gets the
    // save dialog instead.
    void CtrlSSavesIntoTheModelsOwnFileWithoutAQuestion() {
        TWindowFixture f;
        const fs::path own = f.WriteFile("Saves/own.stm", kModel);
        f.App().Files.LoadModel(own, TLoadMode::lmComplete);
        f.App().Document.SetDirty(true);
        {
            TModalRecorder unexpected(true, false);
            QTest::keyClick(&f.Form(), Qt::Key_S, Qt::ControlModifier);
            QVERIFY2(unexpected.Texts.isEmpty(), qPrintable(unexpected.Texts.join("; ")));
        }
        QVERIFY(!f.App().Document.Dirty());
        QVERIFY(f.ReadFile(own).starts_with("= 0 90 10 7 -3 0 1\r\n"));
        QVERIFY(!QImage(QString::fromStdString((f.Folder() / "Saves" / "own.jpg").string())).isNull());

        f.Click("btnClear");
        bool asked = false;
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            asked = true;
            QCOMPARE(dialog->windowTitle(), QString("Save model as..."));
            dialog->reject();
        });
        QTest::keyClick(&f.Form(), Qt::Key_S, Qt::ControlModifier);
        QVERIFY(asked);
    }
};

QTEST_MAIN(TMainFormFilesTest)
#include "main_form_files_test.moc"
