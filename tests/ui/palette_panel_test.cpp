// The palette panel driven as a user drives it: pages and their buttons, the
// previews, taking stones, the swatches, the edit menu with its page dialogs,
// set files, and the settings file read at start and written at exit.

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "golden.h"
#include "ui/dialogs/customize_pages_dialog.h"
#include "ui/dialogs/page_properties_dialog.h"
#include "ui/dialogs/reorder_pages_dialog.h"
#include "ui/palette_list.h"
#include "ui/swatch.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;

namespace {

const char* const kSettings =
    "[Main]\r\nVersion=2\r\nPages=3\r\n"
    "[Page1]\r\nTitle=Bricks\r\nHeight=60\r\nScale=0.8\r\nCount=3\r\n"
    "Brick0=2x4x3|\r\nBrick1=R1x1x3|Column\r\nBrick2=G parts.dat, arch\r\n"
    "[Page2]\r\nTitle=Roofs\r\nHeight=50\r\nScale=0.5\r\nCount=1\r\nBrick0=T2x2x3\r\n"
    "[Page3]\r\nTitle=Empty\r\nHeight=40\r\nCount=0\r\n"
    "[State]\r\nDetails=7\r\nBitDepth=9\r\nShading=1\r\n";

TPaletteList* List(TWindowFixture& f) {
    return f.Find<TPaletteList>("ListBox1");
}

QRect RowRect(TPaletteList* list, int row) {
    return list->visualRect(list->model()->index(row, 0));
}

QImage ShownRow(TPaletteList* list, int row) {
    return list->viewport()->grab(RowRect(list, row)).toImage().convertToFormat(QImage::Format_RGB32);
}

// The row as the application core draws it.
QImage CoreRow(TWindowFixture& f, QSize size, int row) {
    TBitmap picture(size.width(), size.height(), pf32bit);
    f.App().PaletteCommands.Rows().Draw(picture, f.App().PaletteCommands.ShownRow(row));
    return picture.ToImage().convertToFormat(QImage::Format_RGB32);
}

void ClickRow(TPaletteList* list, int row, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseClick(list->viewport(), button, {}, RowRect(list, row).center());
}

bool HasPixel(const QImage& image, const std::function<bool(QColor)>& test) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (test(image.pixelColor(x, y)))
                return true;
    return false;
}

QColor ViewPixel(TWindowFixture& f) {
    return f.Find<QWidget>("PaintBox1")->grab().toImage().pixelColor(3, 3);
}

// Opens the list's edit menu on a row and runs act on it.
void WithEditMenu(TWindowFixture& f, int row, const std::function<void(QMenu*)>& act) {
    ClickRow(List(f), row, Qt::RightButton);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (menu == nullptr) {
        QTest::qFail("the edit menu did not open", __FILE__, __LINE__);
        return;
    }
    act(menu);
    if (menu->isVisible())
        menu->close();
}

QAction* MenuItem(QMenu* menu, const QString& caption) {
    for (QAction* action : menu->actions())
        if (action->text() == caption)
            return action;
    return nullptr;
}

} // namespace

class TPalettePanelTest : public QObject {
    Q_OBJECT
private slots:
    void PagesPreviewsAndTakingStones() {
        TWindowFixture f(kSettings);
        auto* combo = f.Find<QComboBox>("ComboBox1");
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        QCOMPARE(items, QStringList({"<Recently used>", "Bricks", "Roofs", "Empty"}));
        QCOMPARE(combo->currentText(), QString("Bricks"));
        TPaletteList* list = List(f);
        QCOMPARE(list->model()->rowCount(), 3);
        QCOMPARE(RowRect(list, 0).height(), 60);

        // Each row shows exactly the picture the core draws; the first one is
        // also compared with its golden picture (its label is empty).
        const QImage first = ShownRow(list, 0);
        QCOMPARE(first, CoreRow(f, first.size(), 0));
        const auto golden = MatchesGolden("palette_row", first);
        QVERIFY2(golden, golden.message());
        const QImage column = ShownRow(list, 1);
        QCOMPARE(column, CoreRow(f, column.size(), 1));
        QVERIFY(HasPixel(column, [](QColor c) { return c == Qt::black; })); // "Column" in black
        QVERIFY(HasPixel(ShownRow(list, 2), [](QColor c) { return c == QColor(128, 0, 0); })); // dark red

        f.Click("btnPrevPage");
        QCOMPARE(combo->currentText(), QString("Empty"));
        QCOMPARE(list->model()->rowCount(), 0);
        f.Click("btnNextPage");
        f.Click("btnNextPage");
        QCOMPARE(combo->currentText(), QString("Roofs"));
        QCOMPARE(RowRect(list, 0).height(), 50);
        // The arrow keys belong to the window; the selector is chosen from.
        auto choose = [combo](int item) {
            combo->setCurrentIndex(item);
            emit combo->activated(item);
        };
        choose(0);
        QCOMPARE(list->model()->rowCount(), 0);
        choose(1);

        // Clicking a row takes its stone and records it as recently used.
        ClickRow(list, 1);
        QVERIFY(f.App().Hand.Holding());
        QCOMPARE(f.App().Hand.Stone()->Name, std::string("Column"));
        QCOMPARE(list->SelectedRow(), 1);
        QCOMPARE(f.App().Palette.RecentEntries, std::vector<std::string>({"R1x1x3|Column"}));

        // A left click on a swatch recolours the stone in hand and the previews.
        f.Click("btnTransparent");
        QVERIFY(f.App().Hand.Stone()->Transparent);
        QTest::mouseClick(f.Find<TSwatch>("Edit11"), Qt::LeftButton);
        QCOMPARE(f.App().Palette.CurrentColor, RGB(0, 128, 0));
        QCOMPARE(f.App().Hand.Stone()->Color, RGB(0, 128, 0));
        const QImage green = ShownRow(list, 0);
        QCOMPARE(green, CoreRow(f, green.size(), 0));
        QVERIFY(
            HasPixel(green, [](QColor c) { return c.green() > 2 * c.red() && c.green() > 2 * c.blue(); }));

        // A right click makes a swatch's colour the background, one on the
        // panel gives the button face colour back.
        QTest::mouseClick(f.Find<TSwatch>("edBlue"), Qt::RightButton);
        QCOMPARE(ViewPixel(f), QColor(143, 146, 169));
        QCOMPARE(f.App().Palette.CurrentColor, RGB(0, 128, 0));
        QTest::mouseClick(f.Find<QWidget>("Panel2"), Qt::RightButton, {}, QPoint(165, 8));
        const TColor face = ColorToRGB(clBtnFace);
        QCOMPARE(ViewPixel(f), QColor(GetRValue(face), GetGValue(face), GetBValue(face)));
    }

    void EditMenuAndPageDialogs() {
        TWindowFixture f(kSettings);
        TPalette& palette = f.App().Palette;
        WithEditMenu(f, 5, [&](QMenu* menu) {
            QCOMPARE(MenuCaptions(menu),
                     QStringList({"&Edit...", "&Add...", "Add combo...", "&Remove", "-", "A&dd page",
                                  "Add page from &file...", "Re&move page", "&Properties...", "-",
                                  "Re&order pages...", "&Customize pages..."}));
            QVERIFY(!MenuItem(menu, "&Remove")->isEnabled()); // no row under the mouse
            QVERIFY(!MenuItem(menu, "Re&move page")->isEnabled());
            QVERIFY(MenuItem(menu, "&Properties...")->isEnabled());
        });
        WithEditMenu(f, 0, [&](QMenu* menu) {
            QVERIFY(MenuItem(menu, "&Remove")->isEnabled());
            ClickMenuItem(menu, "&Remove");
        });
        QCOMPARE(palette.Pages[0].Entries.size(), size_t(2));
        QVERIFY(palette.Changed);

        // Properties: a scale that is no number is reported and the dialog stays.
        bool reported = false;
        WhenModal<TfrmProperties>([&](TfrmProperties* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Page properties"));
            QCOMPARE(dialog->findChild<QLineEdit*>("Edit2")->text(), QString("0.8"));
            dialog->findChild<QLineEdit*>("Edit1")->setText("Big bricks");
            dialog->findChild<QSpinBox*>("RxSpinEdit1")->setValue(70);
            dialog->findChild<QLineEdit*>("Edit2")->setText("lots");
            WhenModal<QMessageBox>([&](QMessageBox* box) {
                reported = box->text().contains("lots");
                box->accept();
                dialog->findChild<QLineEdit*>("Edit2")->setText("1.25");
                QTimer::singleShot(0, dialog->findChild<QPushButton*>("btnOK"), &QPushButton::click);
            });
            dialog->findChild<QPushButton*>("btnOK")->click();
        });
        WithEditMenu(f, 0, [&](QMenu* menu) { ClickMenuItem(menu, "&Properties..."); });
        QVERIFY(reported);
        QCOMPARE(palette.Pages[0].Title, std::string("Big bricks"));
        QCOMPARE(palette.Pages[0].RowHeight, 70);
        QCOMPARE(palette.Pages[0].Scale, 1.25f);
        QCOMPARE(f.Find<QComboBox>("ComboBox1")->currentText(), QString("Big bricks"));
        QCOMPARE(RowRect(List(f), 0).height(), 70);

        // Reorder: the first page to the end.
        WhenModal<TfrmReorder>([&](TfrmReorder* dialog) {
            dialog->findChild<QListWidget*>("lbRight")->setCurrentRow(0);
            QTest::mouseClick(dialog->findChild<QToolButton*>("sbEnd"), Qt::LeftButton);
            dialog->findChild<QPushButton*>("btnOK")->click();
        });
        WithEditMenu(f, 0, [&](QMenu* menu) { ClickMenuItem(menu, "Re&order pages..."); });
        QCOMPARE(palette.SelectorItems(),
                 std::vector<std::string>({"<Recently used>", "Roofs", "Empty", "Big bricks"}));
        QCOMPARE(palette.Pages[2].RowHeight, 70);

        // Customize: the roof moves to the empty page on the right.
        WhenModal<TfrmCustomize>([&](TfrmCustomize* dialog) {
            auto* right = dialog->findChild<QComboBox*>("cmbRight");
            right->setCurrentIndex(2);
            emit right->activated(2);
            auto* left = dialog->findChild<TPaletteList*>("lbLeft");
            QCOMPARE(left->model()->rowCount(), 1);
            ClickRow(left, 0);
            QTest::mouseClick(dialog->findChild<QToolButton*>("RxSpeedButton1"), Qt::LeftButton);
            QCOMPARE(dialog->findChild<TPaletteList*>("lbRight")->model()->rowCount(), 1);
            dialog->findChild<QPushButton*>("btnOK")->click();
        });
        WithEditMenu(f, 0, [&](QMenu* menu) { ClickMenuItem(menu, "&Customize pages..."); });
        QVERIFY(palette.Pages[0].Entries.empty());
        QCOMPARE(palette.Pages[1].Entries, std::vector<std::string>({"T2x2x3"}));

        // An empty page can be removed.
        WithEditMenu(f, 0, [&](QMenu* menu) {
            QVERIFY(MenuItem(menu, "Re&move page")->isEnabled());
            ClickMenuItem(menu, "Re&move page");
        });
        QCOMPARE(palette.Pages.size(), size_t(2));

        // A page from a part file, then its properties dialog.
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Load parts from file"));
            WhenModal<TfrmProperties>([](TfrmProperties* properties) { properties->reject(); });
            AcceptFileDialog(dialog, f.Folder() / "parts" / "parts.dat");
        });
        WithEditMenu(f, 0, [&](QMenu* menu) { ClickMenuItem(menu, "Add page from &file..."); });
        QCOMPARE(palette.Pages.back().Entries.front(), std::string("G parts.dat, stdblock"));
        QCOMPARE(List(f)->model()->rowCount(), int(palette.Pages.back().Entries.size()));
    }

    void SetsShowWhatIsLeft() {
        TWindowFixture f(kSettings);
        const fs::path set = f.WriteFile("Sets/mine.set", "2x4x3, 3\r\narch, 0\r\n");
        WhenModal<QFileDialog>([&](QFileDialog* dialog) {
            QCOMPARE(dialog->windowTitle(), QString("Open a Set"));
            QCOMPARE(fs::path(dialog->directory().absolutePath().toStdString()), f.Folder() / "Sets");
            AcceptFileDialog(dialog, set);
        });
        WithMenu(f.Find<QToolButton>("btnOpen"), [](QMenu* menu) { ClickMenuItem(menu, "Load a &set..."); });
        TPaletteList* list = List(f);
        const QImage three = ShownRow(list, 0);
        QCOMPARE(three, CoreRow(f, three.size(), 0));
        QVERIFY(HasPixel(three, [](QColor c) { return c.blue() > 200 && c.red() < 80 && c.green() < 80; }));
        // The arch: none left, crossed out corner to corner in red.
        const QImage none = ShownRow(list, 2);
        const QColor red(255, 0, 0);
        for (int x : {none.width() / 4, 3 * none.width() / 4}) {
            const int y = none.height() / 4;
            QVERIFY(none.pixelColor(x, y) == red || none.pixelColor(x, y - 1) == red ||
                    none.pixelColor(x, y + 1) == red);
        }
        // A stone the set does not list counts 0 and is crossed out too.
        QCOMPARE(f.App().PaletteCommands.ShownRow(1).Supply, 0);
        QVERIFY(HasPixel(ShownRow(list, 1), [&](QColor c) { return c == red; }));

        // Four of the three bricks placed: the count goes on below zero, in red.
        ClickRow(list, 0);
        QWidget* box = f.Find<QWidget>("PaintBox1");
        for (int i = 0; i < 4; ++i) {
            const QPoint at(box->width() / 2 + 10 * (i % 2), box->height() / 2);
            QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(box, &move);
            QTest::mouseClick(box, Qt::LeftButton, {}, at);
        }
        QCOMPARE(f.App().Document.Model().Count(), 4);
        QCOMPARE(f.App().PaletteCommands.ShownRow(0).Supply, -1);
        const QImage lacking = ShownRow(list, 0);
        QCOMPARE(lacking, CoreRow(f, lacking.size(), 0));
        QVERIFY(HasPixel(lacking, [&](QColor c) { return c == red; }));

        // Cancelling the dialog gives unlimited supply again.
        WhenModal<QFileDialog>([](QFileDialog* dialog) { dialog->reject(); });
        WithMenu(f.Find<QToolButton>("btnOpen"), [](QMenu* menu) { ClickMenuItem(menu, "Load a &set..."); });
        QVERIFY(f.App().Supply.Unlimited());
        QVERIFY(!HasPixel(ShownRow(list, 2), [&](QColor c) { return c == red; }));
    }

    void PageSelectorDropsDownAndArrowsStepFromThePageShown() {
        TWindowFixture f(kSettings);
        auto* combo = f.Find<QComboBox>("ComboBox1");
        auto choose = [combo](int item) {
            combo->setCurrentIndex(item);
            emit combo->activated(item);
        };
        // Just under the box the list shows its first item, whichever page is
        // shown, also with more pages than a list shows at first.
        for (int i = 0; i < 12; ++i)
            f.App().Palette.AddPage();
        for (int item : {1, 3, 14, 0}) {
            choose(item);
            combo->showPopup();
            QAbstractItemView* view = combo->view();
            QTRY_VERIFY(view->isVisible());
            // (The list may be moved sideways to stay on the screen.)
            const QPoint spot(view->viewport()->mapToGlobal(view->viewport()->rect().center()).x(),
                              combo->mapToGlobal(QPoint(0, combo->height() + 4)).y());
            QCOMPARE(view->indexAt(view->viewport()->mapFromGlobal(spot)).row(), 0);
            combo->hidePopup();
        }

        // From "<Recently used>" the arrows step on to the first page,
        // whatever page was shown before it.
        choose(2);
        choose(0);
        f.Click("btnNextPage");
        QCOMPARE(combo->currentText(), QString("Bricks"));

        // Each page comes back scrolled as it was left; a page not seen yet starts at its top.
        f.App().Palette.Pages[0].Entries.assign(40, "2x4x3|Brick");
        f.App().Palette.Pages[1].Entries.assign(40, "T2x2x3|Roof");
        choose(1);
        QScrollBar* scroll = List(f)->verticalScrollBar();
        QVERIFY(scroll->maximum() > 300);
        scroll->setValue(300);
        f.Click("btnNextPage");
        QCOMPARE(combo->currentText(), QString("Roofs"));
        QCOMPARE(scroll->value(), 0);
        f.Click("btnPrevPage");
        QCOMPARE(scroll->value(), 300);
    }

    void SettingsHintsAndExit() {
        auto f = std::make_unique<TWindowFixture>(kSettings);
        // A detail level no item has gives no details; a depth no item has
        // draws at 32 bits and checks no item. Nothing stops the start.
        QVERIFY(f->Form().findChild<QAction*>("miNoDetails")->isChecked());
        for (const char* name : {"mi8bit", "mi16bit", "mi24bit", "mi32bit", "miDevice"})
            QVERIFY2(!f->Form().findChild<QAction*>(name)->isChecked(), name);
        QVERIFY(f->Form().findChild<QAction*>("miShading")->isChecked());
        QCOMPARE(f->App().Scene.Picture().PixelFormat(), pf32bit);

        auto* hints = f->Form().findChild<QAction*>("Hints1");
        QVERIFY(!hints->isChecked());
        WithMenu(f->Find<QToolButton>("btnOptions"), [](QMenu* menu) { ClickMenuItem(menu, "&Hints"); });
        QVERIFY(hints->isChecked());
        QVERIFY(f->App().Hints());

        // Changing only the tool tips does not write the settings file.
        const fs::path ini = f->Folder() / "Stonemill.ini";
        f->Form().close();
        QCOMPARE(QString::fromStdString(f->ReadFile(ini)), QString(kSettings));

        f = std::make_unique<TWindowFixture>(kSettings);
        WithMenu(f->Find<QToolButton>("btnOptions"), [](QMenu* menu) { ClickMenuItem(menu, "&Hints"); });
        WithEditMenu(*f, 0, [&](QMenu* menu) { ClickMenuItem(menu, "A&dd page"); });
        QCOMPARE(f->Find<QComboBox>("ComboBox1")->currentText(), QString("Page3"));
        f->Form().close();
        const std::string written = f->ReadFile(f->Folder() / "Stonemill.ini");
        QVERIFY(written.find("Pages=4") != std::string::npos);
        QVERIFY(written.find("[Page4]\r\nTitle=Page3\r\nHeight=40\r\nScale= 0.50\r\nCount=0\r\n") !=
                std::string::npos);
        QVERIFY(written.find("[State]\r\nHints=1\r\nDetails=0\r\nShading=1\r\nBitDepth=4\r\n") !=
                std::string::npos);
    }
};

QTEST_MAIN(TPalettePanelTest)
#include "palette_panel_test.moc"
