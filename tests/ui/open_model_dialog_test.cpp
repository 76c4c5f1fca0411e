// A model opened through the open dialog's picture panel: the picture saved
// beside the model shows with its size, the preview window opens and closes
// by Escape, and the model is loaded.

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "temp_program_folder.h"
#include "ui/open_model_dialog.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;

class TOpenModelDialogTest : public QObject {
    Q_OBJECT
private slots:
    void APictureIsShownBeforeTheModelOpens() {
        TWindowFixture f;
        for (const char* name : {"house.stm", "house.jpg"})
            fs::copy_file(BuiltProgramFolder() / "Models" / name, f.Folder() / "Models" / name,
                          fs::copy_options::overwrite_existing);
        const QImage expected(QString::fromStdString((f.Folder() / "Models" / "house.jpg").string()));
        bool previewed = false;
        WhenModal<TOpenModelDialog>([&](TOpenModelDialog* dialog) {
            // A check that fails below leaves the dialog: it is closed then,
            // so that the test fails instead of waiting for ever.
            struct TCloseUnlessOpened {
                TOpenModelDialog* Dialog;
                bool Opened = false;
                ~TCloseUnlessOpened() {
                    if (!Opened)
                        QTimer::singleShot(0, Dialog, &QDialog::reject);
                }
            } guard{dialog};
            auto* label = dialog->findChild<QLabel*>("PictureLabel");
            auto* button = dialog->findChild<QToolButton*>("PreviewButton");
            QCOMPARE(label->text(), QString("Picture:"));
            QVERIFY(!button->isEnabled());
            dialog->setDirectory(QString::fromStdString((f.Folder() / "Models").string()));
            // The name typed into the name field (clicking it in the list selects it the same way).
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            QVERIFY(name != nullptr);
            name->setText("house.stm");
            QTRY_COMPARE(label->text(), QString(" (%1x%2)").arg(expected.width()).arg(expected.height()));
            QVERIFY(button->isEnabled());
            QCOMPARE(dialog->Picture().size(), expected.size());
            WhenModal<QDialog>([&](QDialog* preview) {
                previewed = preview->objectName() == "PreviewForm" && preview->windowTitle() == "Preview" &&
                            preview->width() >= expected.width();
                QTest::keyClick(preview, Qt::Key_Escape);
                QTimer::singleShot(0, dialog, [dialog, &f] {
                    AcceptFileDialog(dialog, f.Folder() / "Models" / "house.stm");
                });
            });
            guard.Opened = true;
            button->click();
        });
        WithMenu(f.Find<QToolButton>("btnOpen"),
                 [](QMenu* menu) { ClickMenuItem(menu, "&Complete model..."); });
        QVERIFY(previewed);
        QCOMPARE(QString::fromStdString(fs::path(f.App().Document.OpenFileName()).filename().string()),
                 QString("house.stm"));
        QVERIFY(f.App().Document.Model().Count() > 0);
    }
};

QTEST_MAIN(TOpenModelDialogTest)
#include "open_model_dialog_test.moc"
