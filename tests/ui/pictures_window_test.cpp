// Pictures as a user makes them: the picture frame dragged and sized over the
// view, every title-bar button saving through the real save dialog, the size
// box, printing to a PDF file, and the light, edge and background dialogs.

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include "platform/canvas.h"
#include "test_stones.h"
#include "ui/dialogs/edge_factor_dialog.h"
#include "ui/dialogs/light_dialog.h"
#include "ui/dialogs/picture_size_dialog.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;

namespace {

const char* const kModel = "= 70 330 20 0 0 0 1\r\n"
                           "B 0 0 0 160 80 40 244 1 0 0 0 0 long 0\r\n"
                           "B 0 80 0 80 80 80 32768 1 0 0 0 0 tall 0\r\n";

void Mouse(QWidget* box, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held,
           Qt::KeyboardModifiers keys = {}) {
    QMouseEvent event(type, at, box->mapToGlobal(at), button, held, keys);
    QApplication::sendEvent(box, &event);
}

void Drag(QWidget* box, QPoint from, QPoint to) {
    Mouse(box, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Mouse(box, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Mouse(box, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

void ClickAt(QWidget* box, QPoint at, Qt::KeyboardModifiers keys = {}) {
    Mouse(box, QEvent::MouseButtonPress, at, Qt::LeftButton, Qt::LeftButton, keys);
    Mouse(box, QEvent::MouseButtonRelease, at, Qt::LeftButton, Qt::NoButton, keys);
}

} // namespace

class TPicturesWindowTest : public QObject {
    Q_OBJECT
private slots:
    void TheFrameSavesEveryKindOfPicture() {
        TWindowFixture f;
        f.WriteFile("Models/two.stm", kModel);
        f.App().Files.LoadModel(f.Folder() / "Models" / "two.stm", TLoadMode::lmComplete);
        f.App().Scene.Control().FitModel(f.App().Document.Model());
        QWidget* box = f.Find<QWidget>("PaintBox1");
        TPictureFrame& frame = f.App().Pictures.Frame();
        f.Click("btnSavePic");
        QVERIFY(frame.Shown);
        QVERIFY(f.Find<QToolButton>("btnSavePic")->isChecked());

        // Moved by its title bar, then sized by its bottom-right corner.
        frame.Rect = Rect(40, 40, 240, 190);
        Drag(box, QPoint(100, 34), QPoint(110, 29));
        QCOMPARE(frame.Rect, Rect(50, 35, 250, 185));
        Drag(box, QPoint(251, 186), QPoint(10, 10)); // no smaller than 128 x 48
        QCOMPARE(frame.Rect, Rect(50, 35, 178, 83));
        Drag(box, QPoint(178, 83), QPoint(250, 185));
        QCOMPARE(frame.Rect, Rect(50, 35, 250, 185));

        // Its inside is the view's: a click there selects the stone under it.
        const TRect kept = frame.Rect;
        frame.Maximise(box->width(), box->height());
        const TPoint onLong = f.App().Scene.View().Project(80, 40, 40, 0);
        ClickAt(box, QPoint(onLong.x, onLong.y));
        QCOMPARE(f.App().Selection.SelectedCount(), 1);
        QVERIFY(frame.Shown);
        f.App().Selection.DeselectAll();
        frame.Rect = kept;
        const QImage shown = box->grab().toImage();
        QCOMPARE(shown.pixelColor(50, 100), QColor(Qt::black)); // the frame is drawn over the view
        QVERIFY(f.App().Scene.Picture().ToImage().pixelColor(50, 100) !=
                QColor(Qt::black)); // not into its picture

        // Every title-bar button through the save dialog.
        const fs::path pict = f.Folder() / "Pict";
        fs::create_directories(pict);
        struct TSave {
            int Offset; // from the frame's left, or negative from its right
            const char* Title;
            const char* Name;
            int Factor;
        };
        const TSave saves[] = {
            {8, "Save picture (.bmp size: 119 kByte)", "plain", 1},
            {28, "Save anti-aliased picture (.bmp size: 119 kByte)", "smooth.png", 1},
            {48, "Save large picture (.bmp size: 474 kByte)", "two.jpg", 2},
            {68, "Save quite large picture (.bmp size: 1897 kByte)", "four.PNG", 4},
            {88, "Save very large picture (.bmp size: 7588 kByte)", "eight.jpg.png", 8},
        };
        for (const TSave& save : saves) {
            WhenModal<QFileDialog>([&](QFileDialog* dialog) {
                QCOMPARE(dialog->windowTitle(), QString(save.Title));
                QCOMPARE(fs::path(dialog->directory().absolutePath().toStdString()), pict);
                QCOMPARE(FileDialogName(dialog), QString("two"));
                AcceptFileDialog(dialog, pict / save.Name);
            });
            ClickAt(box, QPoint(frame.Rect.Left + save.Offset, frame.Rect.Top - 6));
            // A name without an extension takes the filter's: PNG, the first.
            const fs::path written =
                fs::path(save.Name).has_extension() ? pict / save.Name : pict / "plain.png";
            QVERIFY2(fs::exists(written), written.c_str());
            QImage picture(QString::fromStdString(written.string()));
            QCOMPARE(picture.size(), QSize(200 * save.Factor, 150 * save.Factor));
        }
        // Plain and anti-aliased pictures show the frame's part of the view.
        const QImage plain(QString::fromStdString((pict / "plain.png").string()));
        const QImage view = f.App().Scene.Picture().ToImage();
        QCOMPARE(plain.pixel(30, 40), view.pixel(80, 75));
        QCOMPARE(plain.pixel(150, 100), view.pixel(200, 135));
        QByteArray head;
        QFile eight(QString::fromStdString((pict / "eight.jpg.png").string()));
        QVERIFY(eight.open(QIODevice::ReadOnly));
        QVERIFY(eight.read(3) == QByteArray("\xFF\xD8\xFF")); // ".jpg" in the name: JPEG

        // The size box keeps the frame's centre; the presets keep its corner.
        WhenModal<TSizeCamera>([](TSizeCamera* size) {
            QCOMPARE(size->findChild<QLineEdit*>("edW")->text(), QString("200"));
            size->findChild<QLineEdit*>("edW")->setText("300");
            size->findChild<QLineEdit*>("edH")->setText("100");
            size->findChild<QPushButton*>("btnOK")->click();
        });
        ClickAt(box, QPoint(frame.Rect.Right + 20, frame.Rect.Top - 6));
        QCOMPARE(frame.Rect, Rect(0, 60, 300, 160));
        ClickAt(box, QPoint(frame.Rect.Right - 38, frame.Rect.Top - 6), Qt::ShiftModifier);
        QCOMPARE(frame.Rect, Rect(0, 60, 320, 300));
        ClickAt(box, QPoint(frame.Rect.Right - 8, frame.Rect.Top - 6)); // close
        QVERIFY(!frame.Shown);
        QVERIFY(!f.Find<QToolButton>("btnSavePic")->isChecked());
    }

    void TheFilterDecidesTheFormatAndAFileIsReplacedOnlyAfterAsking() {
        TWindowFixture f;
        f.WriteFile("Models/two.stm", kModel);
        f.App().Files.LoadModel(f.Folder() / "Models" / "two.stm", TLoadMode::lmComplete);
        QWidget* box = f.Find<QWidget>("PaintBox1");
        TPictureFrame& frame = f.App().Pictures.Frame();
        f.Click("btnSavePic");
        frame.Rect = Rect(40, 40, 240, 190);
        const fs::path pict = f.Folder() / "Pict";
        fs::create_directories(pict);
        auto head = [&](const char* name) {
            const std::string bytes = f.ReadFile(pict / name);
            return bytes.substr(0, 4);
        };
        // Each filter chosen gives its format to a name typed without an extension.
        struct TChoice {
            int Down; // steps down the filter list from PNG
            const char* Name;
            const char* Written;
            std::string Head;
        };
        const TChoice choices[] = {{0, "shot", "shot.png", "\x89P"},
                                   {1, "photo", "photo.jpg", "\xFF\xD8"},
                                   {2, "old", "old.bmp", "BM"}};
        for (const TChoice& choice : choices) {
            WhenModal<QFileDialog>([&](QFileDialog* dialog) {
                auto* filters = dialog->findChild<QComboBox*>("fileTypeCombo");
                QVERIFY(filters != nullptr);
                for (int i = 0; i < choice.Down; ++i)
                    QTest::keyClick(filters, Qt::Key_Down);
                QCOMPARE(dialog->defaultSuffix(), QFileInfo(choice.Written).suffix());
                AcceptFileDialog(dialog, pict / choice.Name);
            });
            ClickAt(box, QPoint(frame.Rect.Left + 8, frame.Rect.Top - 6));
            QVERIFY2(fs::exists(pict / choice.Written), choice.Written);
            QCOMPARE(head(choice.Written).substr(0, 2), choice.Head);
        }

        // Saving over a picture asks once: No keeps it and the dialog stays,
        // Yes replaces it.
        const std::string before = f.ReadFile(pict / "shot.png");
        frame.Rect = Rect(40, 40, 200, 150);
        {
            TQuestionAnswerer no(QMessageBox::No);
            bool stillOpen = false;
            WhenModal<QFileDialog>([&](QFileDialog* dialog) {
                AcceptFileDialog(dialog, pict / "shot");
                stillOpen = dialog->isVisible();
                dialog->reject();
            });
            ClickAt(box, QPoint(frame.Rect.Left + 8, frame.Rect.Top - 6));
            QCOMPARE(no.Texts, QStringList({"shot.png already exists.\nDo you want to replace it?"}));
            QVERIFY(stillOpen);
            QCOMPARE(f.ReadFile(pict / "shot.png"), before);
        }
        {
            TQuestionAnswerer yes(QMessageBox::Yes);
            WhenModal<QFileDialog>([&](QFileDialog* dialog) { AcceptFileDialog(dialog, pict / "shot.png"); });
            ClickAt(box, QPoint(frame.Rect.Left + 8, frame.Rect.Top - 6));
            QCOMPARE(yes.Texts.size(), 1);
            QCOMPARE(QImage(QString::fromStdString((pict / "shot.png").string())).size(), QSize(160, 110));
        }
    }

    void AHugePictureSizeKeepsTheFrameAndTheDialogsOnTheScreen() {
        TWindowFixture f;
        QWidget* box = f.Find<QWidget>("PaintBox1");
        TPictureFrame& frame = f.App().Pictures.Frame();
        f.Click("btnSavePic");
        // The frame starts in the middle of the view.
        QCOMPARE(frame.Rect.Width(), 400);
        QCOMPARE(frame.Rect.Left, box->width() / 2 - 190);
        const QRect screen = box->screen()->availableGeometry();
        auto onScreen = [&](QWidget* window) {
            const QRect placed = window->frameGeometry();
            return screen.contains(placed.topLeft()) && screen.contains(placed.bottomRight());
        };
        // A size far larger than the view: the frame is held to the view.
        bool placed = false;
        WhenModal<TSizeCamera>([&](TSizeCamera* size) {
            placed = onScreen(size);
            size->findChild<QLineEdit*>("edW")->setText("100000");
            size->findChild<QLineEdit*>("edH")->setText("100000");
            size->findChild<QPushButton*>("btnOK")->click();
        });
        f.Form().RunCommand(TCommandId::cmPictureSize); // F2
        QVERIFY(placed);
        QCOMPARE(frame.Rect, Rect(0, 13, box->width(), box->height()));
        // The next F2 opens the size box on the screen, showing that size.
        QString shownWidth;
        placed = false;
        WhenModal<TSizeCamera>([&](TSizeCamera* size) {
            placed = onScreen(size);
            shownWidth = size->findChild<QLineEdit*>("edW")->text();
            size->reject();
        });
        f.Form().RunCommand(TCommandId::cmPictureSize);
        QVERIFY(placed);
        QCOMPARE(shownWidth, QString::number(box->width()));

        // A tool window placed off the screen comes back onto it when shown.
        auto* toolbox = f.Form().findChild<QWidget*>("AdvOptions");
        QVERIFY(toolbox != nullptr);
        toolbox->move(screen.right() + 5000, screen.bottom() + 5000);
        f.Form().Action(TCommandId::cmAdvancedToolbox)->trigger(); // "Advanced &toolbox"
        QVERIFY(toolbox->isVisible());
        QVERIFY(onScreen(toolbox));
        f.Form().Action(TCommandId::cmAdvancedToolbox)->trigger();
    }

    void PrintingDrawsThePage() {
        TWindowFixture f;
        f.WriteFile("Models/two.stm", kModel);
        f.App().Files.LoadModel(f.Folder() / "Models" / "two.stm", TLoadMode::lmComplete);
        f.App().Scene.Control().CenterModel(f.App().Document.Model(), true);

        // The print button shows the page first.
        WhenModal<QPrintPreviewDialog>([](QPrintPreviewDialog* preview) { preview->reject(); });
        f.Click("btnPrint");

        const fs::path pdf = f.Folder() / "page.pdf";
        {
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setFullPage(true); // the page's corner is the canvas's origin
            printer.setOutputFileName(QString::fromStdString(pdf.string()));
            QPainter painter(&printer);
            TCanvas canvas(&painter);
            f.App().Pictures.PrintOn(canvas, printer.width(), printer.height());
        }
        QProcess raster;
        raster.start("pdftoppm", {"-png", "-r", "40", "-singlefile", QString::fromStdString(pdf.string()),
                                  QString::fromStdString((f.Folder() / "page").string())});
        QVERIFY(raster.waitForFinished(30000));
        QImage page(QString::fromStdString((f.Folder() / "page.png").string()));
        QVERIFY(!page.isNull());
        const int w = page.width(), h = page.height(), m = w * 3 / 100;
        auto dark = [](QColor c) { return c.lightness() < 100; };
        // The frame's left and right sides.
        int left = 0, right = 0;
        for (int y = h / 4; y < 3 * h / 4; ++y) {
            for (int x = 2 * m - 2; x <= 2 * m + 2; ++x)
                left += dark(page.pixelColor(x, y));
            for (int x = w - m - 3; x <= w - m + 1; ++x)
                right += dark(page.pixelColor(x, y));
        }
        QVERIFY(left > h / 3);
        QVERIFY(right > h / 3);
        // The file name's letters at its top-left corner.
        int letters = 0;
        for (int y = m + 2; y < m + 20; ++y)
            for (int x = 2 * m + 2; x < w / 2; ++x)
                letters += dark(page.pixelColor(x, y));
        QVERIFY(letters > 10);
        // The stones: red and green in the middle of the page.
        int red = 0, green = 0;
        for (int y = h / 4; y < 3 * h / 4; ++y)
            for (int x = w / 4; x < 3 * w / 4; ++x) {
                const QColor c = page.pixelColor(x, y);
                red += c.red() > 150 && c.green() < 80;
                green += c.green() > 90 && c.red() < 60 && c.blue() < 60;
            }
        QVERIFY(red > 100);
        QVERIFY(green > 100);
    }

    void PovRayDrawsThePictureAndOffersIt() {
        if (!fs::exists("/usr/bin/povray"))
            QSKIP("POV-Ray is not installed (/usr/bin/povray); scripts/install-deps.sh installs it");
        TWindowFixture f;
        f.WriteFile("Models/two.stm", kModel);
        f.App().Files.LoadModel(f.Folder() / "Models" / "two.stm", TLoadMode::lmComplete);
        fs::create_directories(f.Folder() / "Render");
        fs::copy_file(BuiltProgramFolder() / "Render" / "smBlocks.inc",
                      f.Folder() / "Render" / "smBlocks.inc");
        f.App().Pov.SetProgram("/nonexistent/povray");
        QAction* pov = f.Form().findChild<QAction*>("POV1");
        WithMenu(f.Find<QToolButton>("btnOptions"), [&](QMenu*) { QVERIFY(!pov->isEnabled()); });
        f.App().Pov.SetProgram("/usr/bin/povray");
        // Without a program of the desktop that shows pictures, the picture
        // is shown in a window of our own, named by where it is saved.
        std::vector<fs::path> opened;
        f.Form().OpenWithDesktop = [&](const fs::path& picture) {
            opened.push_back(picture);
            return false;
        };
        TQuestionAnswerer yes(QMessageBox::Yes);
        WithMenu(f.Find<QToolButton>("btnOptions"), [&](QMenu* menu) {
            QVERIFY(pov->isEnabled());
            ClickMenuItem(menu, "&POV");
        });
        QTRY_VERIFY_WITH_TIMEOUT(yes.Texts.size() == 1, 20000);
        const fs::path drawn = f.Folder() / "Render" / "test.png";
        QCOMPARE(yes.Texts[0],
                 QString::fromStdString("POV-Ray has drawn the picture " + drawn.string() + ".\nOpen it?"));
        QCOMPARE(opened, std::vector<fs::path>{drawn});
        QWidget* window = nullptr;
        QTRY_VERIFY((window = f.Form().findChild<QWidget*>("PictureWindow")) != nullptr);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QString::fromStdString(drawn.string()));
        auto* shown = window->findChild<QLabel*>("Picture");
        QVERIFY(shown != nullptr);
        QCOMPARE(shown->pixmap().size(), QSize(320, 240));
        const QImage picture(QString::fromStdString(drawn.string()));
        QCOMPARE(picture.size(), QSize(320, 240));
        QCOMPARE(shown->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
                 picture.convertToFormat(QImage::Format_RGB32));
        window->close();
        QTRY_VERIFY(f.Form().findChild<QWidget*>("PictureWindow") == nullptr);
        // Names the include file lacks are drawn as mock-ups.
        QVERIFY(f.ReadFile(f.Folder() / "Render" / "test.pov").find("#declare Glong = object {") !=
                std::string::npos);
    }

    void LightEdgesAndBackground() {
        TWindowFixture f;
        TStonemillApp& app = f.App();
        app.Document.Model().InsertSorted(StoneInUnits('B', 0, 0, 0, 160, 80, 40, RGB(200, 200, 200)));
        app.Scene.RefreshDisplay();
        QWidget* box = f.Find<QWidget>("PaintBox1");
        QToolButton* options = f.Find<QToolButton>("btnWireBase");

        // The light's preview shows in the view and leaves the light as it was on Cancel.
        int passes = 0;
        WhenModal<TfrmSetLight>([&](TfrmSetLight* dialog) {
            QCOMPARE(dialog->findChild<QSpinBox*>("rxsY")->value(), 5);
            passes = app.Scene.PassCount();
            dialog->findChild<QSpinBox*>("rxsX")->setValue(3); // no preview yet: nothing drawn
            QCOMPARE(app.Scene.PassCount(), passes);
            dialog->findChild<QCheckBox*>("cbPreview")->setChecked(true);
            dialog->findChild<QSpinBox*>("rxsZ")->setValue(9);
            QCOMPARE(app.Scene.PassCount(), passes + 1);
            QCOMPARE(app.Scene.View().Light[2], 2); // put back after the preview
            dialog->reject();
        });
        WithMenu(options, [](QMenu* menu) { ClickMenuItem(menu, "Adjust light direction..."); });
        QCOMPARE(app.Scene.View().Light, (std::array<int32_t, 3>{0, 5, 2}));
        WhenModal<TfrmSetLight>([](TfrmSetLight* dialog) {
            dialog->findChild<QSpinBox*>("rxsX")->setValue(4);
            dialog->accept();
        });
        WithMenu(options, [](QMenu* menu) { ClickMenuItem(menu, "Adjust light direction..."); });
        QCOMPARE(app.Scene.View().Light, (std::array<int32_t, 3>{4, 5, 2}));

        WhenModal<TfrmSetEdgeFactor>([](TfrmSetEdgeFactor* dialog) {
            QCOMPARE(dialog->findChild<QSpinBox*>("RxSpinEdit1")->value(), 70);
            dialog->findChild<QSpinBox*>("RxSpinEdit1")->setValue(40);
            dialog->accept();
        });
        WithMenu(options, [](QMenu* menu) { ClickMenuItem(menu, "Edge darkening..."); });
        QCOMPARE(app.Scene.View().EdgeFactor, 0.4f);

        // A background picture behind the scene; a file that holds none says so.
        QImage stripes(40, 30, QImage::Format_RGB32);
        stripes.fill(QColor(10, 20, 200));
        const fs::path picture = f.Folder() / "sky.png";
        QVERIFY(stripes.save(QString::fromStdString(picture.string())));
        WhenModal<QFileDialog>([&](QFileDialog* dialog) { AcceptFileDialog(dialog, picture); });
        WithMenu(options, [](QMenu* menu) { ClickMenuItem(menu, "Background &picture..."); });
        QCOMPARE(box->grab().toImage().pixelColor(20, box->height() / 2), QColor(10, 20, 200));
        const fs::path text = f.WriteFile("notes.png", "not a picture");
        TModalRecorder recorder(true, false);
        WhenModal<QFileDialog>([&](QFileDialog* dialog) { AcceptFileDialog(dialog, text); });
        WithMenu(options, [](QMenu* menu) { ClickMenuItem(menu, "Background &picture..."); });
        QTRY_COMPARE(recorder.Texts.size(), 1);
        QVERIFY(recorder.Texts[0].contains("holds no picture"));
        QVERIFY(app.Scene.Background().Picture == nullptr);
        WithMenu(options, [](QMenu* menu) { ClickMenuItem(menu, "Restore background &color"); });
        const TColor face = ColorToRGB(clBtnFace);
        QCOMPARE(box->grab().toImage().pixelColor(2, 2),
                 QColor(GetRValue(face), GetGValue(face), GetBValue(face)));
    }
};

QTEST_MAIN(TPicturesWindowTest)
#include "pictures_window_test.moc"
