// The building instructions dialog from the options menu: the plan's summary,
// leafing through the page previews, planning anew with fewer stones per
// step, and the booklet saved as PDF through the save dialog.

#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "ui/instructions_dialog.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;

class TInstructionsDialogTest : public QObject {
    Q_OBJECT
private slots:
    void plansLeafsThroughPagesAndSavesThePdf() {
        TWindowFixture f;
        f.App().Files.LoadModel(BuiltProgramFolder() / "Models" / "house.stm", TLoadMode::lmComplete);
        const fs::path pdf = f.Folder() / "house booklet.pdf";
        bool shown = false;
        WhenModal<TInstructionsDialog>([&](TInstructionsDialog* dialog) {
            TRejectOnExit closing(dialog);
            shown = true;
            QCOMPARE(dialog->windowTitle(), QString("Building instructions of house.stm"));
            auto* summary = dialog->findChild<QLabel*>("lblSummary");
            const int steps = f.App().Instructions.StepCount(), pages = f.App().Instructions.PageCount();
            QCOMPARE(summary->text(), QString("%1 steps on %2 pages").arg(steps).arg(pages));
            auto* page = dialog->findChild<QLabel*>("lblPage");
            QCOMPARE(page->text(), QString("Page 1 of %1").arg(pages));
            QVERIFY(!dialog->findChild<QPushButton*>("btnPrevious")->isEnabled());
            const QImage cover = dialog->findChild<QLabel*>("PagePicture")->pixmap().toImage();
            QVERIFY(cover.width() >= 400);

            // Leafing: Page Down where the focus starts, then Next, shows
            // other pages; past the end it stops.
            QCOMPARE(dialog->focusWidget(), dialog->findChild<QPushButton*>("btnNext"));
            QTest::keyClick(dialog->focusWidget(), Qt::Key_PageDown);
            dialog->findChild<QPushButton*>("btnNext")->click();
            QCOMPARE(dialog->Page(), 2);
            QCOMPARE(page->text(), QString("Page 3 of %1").arg(pages));
            QVERIFY(dialog->findChild<QLabel*>("PagePicture")->pixmap().toImage() != cover);
            for (int i = 0; i < pages + 2; ++i)
                QTest::keyClick(dialog, Qt::Key_PageDown);
            QCOMPARE(dialog->Page(), pages - 1);
            QVERIFY(!dialog->findChild<QPushButton*>("btnNext")->isEnabled());

            // Fewer stones per step: more steps, from the first page again.
            dialog->findChild<QSpinBox*>("sePerStep")->setValue(2);
            QVERIFY(f.App().Instructions.StepCount() > steps);
            QCOMPARE(dialog->Page(), 0);
            dialog->findChild<QComboBox*>("cbPaper")->setCurrentText("Letter");
            QCOMPARE(f.App().Instructions.Paper().Name, kPaperLetter.Name);

            // Saved through the dialog under the name it proposes beside the model.
            QString proposed;
            WhenModal<QFileDialog>([&](QFileDialog* files) {
                proposed = FileDialogName(files);
                AcceptFileDialog(files, pdf);
            });
            dialog->findChild<QPushButton*>("btnSavePdf")->click();
            QCOMPARE(proposed, QString("house instructions.pdf"));
        });
        WithMenu(f.Find<QToolButton>("btnOptions"),
                 [](QMenu* menu) { ClickMenuItem(menu, "Building &instructions..."); });
        QVERIFY(shown);
        QVERIFY(fs::exists(pdf));
        QProcess info;
        info.start("pdfinfo", {QString::fromStdString(pdf.string())});
        QVERIFY(info.waitForFinished());
        const QString text = QString::fromUtf8(info.readAllStandardOutput());
        QVERIFY2(
            text.contains(QRegularExpression(QString("Pages: +%1\\n").arg(f.App().Instructions.PageCount()))),
            qPrintable(text));
        QVERIFY2(text.contains("612 x 792 pts (letter)"), qPrintable(text));

        // Stopped part-way, as Cancel stops it: no booklet, nothing half-written.
        const fs::path stopped = f.Folder() / "stopped.pdf";
        QVERIFY(!f.App().Instructions.Save(stopped, [](int done, int) { return done < 3; }));
        for (const auto& entry : fs::directory_iterator(f.Folder()))
            QVERIFY2(entry.path().filename().string().find("stopped") == std::string::npos,
                     entry.path().c_str());
    }
};

QTEST_MAIN(TInstructionsDialogTest)
#include "instructions_dialog_test.moc"
