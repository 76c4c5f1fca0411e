// The about box from its toolbar button: the version, and "Instructions..."
// opening the user guide that lies beside the program with its pictures.

#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "temp_program_folder.h"
#include "ui/dialogs/about_box.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;

class TAboutBoxTest : public QObject {
    Q_OBJECT
private slots:
    void VersionAndInstructions() {
        TWindowFixture f;
        fs::copy_file(BuiltProgramFolder() / "instruct.html", f.Folder() / "instruct.html");
        QUrl opened;
        bool missingReported = false;
        WhenModal<TAboutBox>([&](TAboutBox* box) {
            QCOMPARE(box->windowTitle(), QString("About Stonemill"));
            QVERIFY(box->findChild<QLabel*>("Version")->text().contains("1.42"));
            box->OpenUrl = [&](const QUrl& url) {
                opened = url;
                return true;
            };
            box->findChild<QPushButton*>("btnInstructions")->click();
            // Without the guide the user is told so.
            fs::remove(f.Folder() / "instruct.html");
            WhenModal<QMessageBox>([&](QMessageBox* message) {
                missingReported = message->text().contains("instruct.html");
                message->accept();
                QTimer::singleShot(0, box, &QDialog::accept);
            });
            box->findChild<QPushButton*>("btnInstructions")->click();
        });
        f.Click("btnAbout");
        QCOMPARE(opened, QUrl::fromLocalFile(QString::fromStdString((f.Folder() / "instruct.html").string())));
        QVERIFY(missingReported);

        // Every picture the guide shows is shipped with it.
        QFile guide(QString::fromStdString((BuiltProgramFolder() / "instruct.html").string()));
        QVERIFY(guide.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(guide.readAll());
        int pictures = 0;
        for (const QRegularExpressionMatch& m : QRegularExpression("src=\"([^\"]+)\"").globalMatch(html)) {
            QVERIFY2(fs::is_regular_file(BuiltProgramFolder() / m.captured(1).toStdString()),
                     qPrintable(m.captured(1)));
            ++pictures;
        }
        QVERIFY(pictures >= 3);
    }
};

QTEST_MAIN(TAboutBoxTest)
#include "about_box_test.moc"
