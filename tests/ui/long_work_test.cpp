// Long work in the window: a model whose reading and sorting take long shows
// the wait cursor and its progress in the status bar, drops input and keeps
// the window open meanwhile, and ends with the same model and picture as when
// the work runs directly. Breaking up a scene shows its progress as well.

#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <chrono>
#include <thread>

#include "ui/long_work.h"
#include "ui_test_support.h"

namespace {

// A model of many bricks in rows, under a view that F1 (seen from above) would change.
std::string RowsOfBricks() {
    std::string text = "= 60 30 20 0 0 0 1\r\n";
    for (int i = 0; i < 400; ++i)
        text += "B " + std::to_string((i % 20) * 40) + " " + std::to_string((i / 20) * 20) + " " +
                std::to_string((i % 3) * 20) + " 40 20 20 255 1 0 0 0 0  0\r\n";
    return text;
}

std::vector<std::string> Strings(const TBlockList& list) {
    std::vector<std::string> result;
    for (const TBlock* s : list.Stones())
        result.push_back(s->ToString());
    return result;
}

} // namespace

class TLongWorkTest : public QObject {
    Q_OBJECT
private slots:
    void OpeningAModelWhoseWorkTakesLong() {
        TWindowFixture f;
        TStonemillApp& app = f.App();
        const auto path = f.WriteFile("Models/rows.stm", RowsOfBricks());
        QWidget* box = f.Find<QWidget>("PaintBox1");

        // Every piece of long work is made to take a while longer.
        int works = 0;
        app.Work.OnLongWork = [&](const std::string& what, const TLongWorkGate::TLongWork& work) {
            ++works;
            RunLongWorkInWindow(f.Form(), what, [&](const TShareProgress& progress) {
                std::this_thread::sleep_for(std::chrono::milliseconds(400));
                work(progress);
            });
        };
        bool progressShown = false, waitCursor = false, stayedOpen = false;
        QTimer::singleShot(200, [&] {
            auto* progress = f.Find<QProgressBar>("LongWorkProgress");
            progressShown = progress != nullptr && progress->isVisible();
            waitCursor = QApplication::overrideCursor() != nullptr &&
                         QApplication::overrideCursor()->shape() == Qt::WaitCursor;
            QTest::keyClick(box, Qt::Key_F1);
            QTest::mouseClick(box, Qt::LeftButton, {}, box->rect().center());
            f.Form().close();
            stayedOpen = f.Form().isVisible();
        });
        app.Files.LoadModel(path, TLoadMode::lmComplete);
        QVERIFY(progressShown);
        QVERIFY(waitCursor);
        QVERIFY(stayedOpen);
        QVERIFY(works >= 3);                               // the file, its stones, the sort
        QCOMPARE(app.Scene.Control().RotX().Position, 60); // F1 did not reach the view
        QCOMPARE(app.Document.Model().Count(), 400);
        // The progress goes; the window's status line with the stone count stays.
        QCOMPARE(f.Find<QProgressBar>("LongWorkProgress"), nullptr);
        QVERIFY(f.Find<QLabel>("stStones")->isVisible());
        QCOMPARE(f.Find<QLabel>("stStones")->text(), QString("400 stones"));
        QCOMPARE(QApplication::overrideCursor(), nullptr);
        QVERIFY(app.Work.Busy() == false);
        const std::vector<std::string> threaded = Strings(app.Document.Model());
        const QImage threadedPicture = app.Scene.Picture().Image().copy();

        // The same load with the work run directly.
        app.Work.OnLongWork = nullptr;
        app.Files.LoadModel(path, TLoadMode::lmComplete);
        QCOMPARE(Strings(app.Document.Model()), threaded);
        QCOMPARE(app.Scene.Picture().Image(), threadedPicture);

        // A failure of the work reaches the caller and leaves the model as it was.
        app.Work.OnLongWork = [&](const std::string& what, const TLongWorkGate::TLongWork& work) {
            RunLongWorkInWindow(f.Form(), what, work);
        };
        bool failed = false;
        try {
            app.Files.LoadModel(f.Folder() / "Models" / "missing.stm", TLoadMode::lmComplete);
        } catch (const std::exception&) {
            failed = true;
        }
        QVERIFY(failed);
        QCOMPARE(Strings(app.Document.Model()), threaded);
    }

    void BreakingUpASceneShowsItsProgress() {
        TWindowFixture f;
        TStonemillApp& app = f.App();
        std::string text = "= 70 330 20 0 0 0 1\r\n";
        for (int group = 1; group <= 200; ++group)
            text += "B 0 0 0 40 20 20 255 1 0 0 0 " + std::to_string(group) + " n 0\r\n";
        const auto scene = f.WriteFile("Models/scene.stm", text);

        std::vector<std::string> works;
        bool progressShown = false;
        app.Work.OnLongWork = [&](const std::string& what, const TLongWorkGate::TLongWork& work) {
            works.push_back(what);
            QTimer::singleShot(200, [&] {
                auto* progress = f.Find<QProgressBar>("LongWorkProgress");
                progressShown = progress != nullptr && progress->isVisible();
            });
            RunLongWorkInWindow(f.Form(), what, [&](const TShareProgress& progress) {
                std::this_thread::sleep_for(std::chrono::milliseconds(400));
                work(progress);
            });
        };
        TModalRecorder messages(true, false);
        WhenModal<QFileDialog>([&](QFileDialog* dialog) { AcceptFileDialog(dialog, scene); });
        WithMenu(f.Find<QToolButton>("btnOpen"),
                 [](QMenu* menu) { ClickMenuItem(menu, "Break up a scene..."); });
        QCOMPARE(works, std::vector<std::string>{"Breaking up scene.stm"});
        QVERIFY(progressShown);
        QCOMPARE(messages.Texts.size(), 1);
        QVERIFY(messages.Texts.front().startsWith("The scene was broken up into 200 files"));
        QVERIFY(std::filesystem::exists(f.Folder() / "Models" / "scene" / "199.stm"));
        QVERIFY(f.Form().statusBar()->isVisible());
        QVERIFY(app.Work.Busy() == false);
    }
};

QTEST_MAIN(TLongWorkTest)
#include "long_work_test.moc"
