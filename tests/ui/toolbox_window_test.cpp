// The advanced toolbox from the options menu: a selection moved by whole grid
// steps with its position shown and undone, the group buttons following the
// selection, a bad step count reported, and the window closed by "Close";
// the position display following the stone in hand, and the keys going back
// to the main window after each command.

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "ui/dialogs/toolbox_window.h"
#include "ui/palette_list.h"
#include "ui_test_support.h"

namespace {

const char* const kModel = "B 0 0 0 40 20 20 244 1 0 0 0 0  0\r\n"
                           "B 80 0 0 40 20 20 244 1 0 0 0 0  0\r\n";
const char* const kSettings = "[Main]\r\nVersion=2\r\nPages=1\r\n"
                              "[Page1]\r\nTitle=Bricks\r\nHeight=40\r\nScale=0.5\r\nCount=1\r\n"
                              "Brick0=2x4x3|Brick\r\n";

QString Shown(TAdvOptions* toolbox) {
    return toolbox->findChild<QLabel*>("lx")->text() + " " + toolbox->findChild<QLabel*>("ly")->text() + " " +
           toolbox->findChild<QLabel*>("lz")->text();
}

QString Place(const TBlock& stone) {
    return QString("%1 %2 %3").arg(stone.X).arg(stone.Y).arg(stone.Z);
}

void ToggleToolbox(TWindowFixture& f) {
    WithMenu(f.Find<QToolButton>("btnOptions"),
             [](QMenu* menu) { ClickMenuItem(menu, "Advanced &toolbox"); });
}

} // namespace

class TToolboxWindowTest : public QObject {
    Q_OBJECT
private slots:
    void TheSelectionIsMovedAndUndone() {
        TWindowFixture f;
        f.App().Files.LoadModel(f.WriteFile("m.stm", kModel), TLoadMode::lmComplete);
        ToggleToolbox(f);
        auto* toolbox = f.Form().findChild<TAdvOptions*>("AdvOptions");
        QVERIFY(toolbox != nullptr && toolbox->isVisible());
        QCOMPARE(toolbox->windowTitle(), QString("Advanced toolbox"));
        auto* makeGroup = toolbox->findChild<QPushButton*>("spMakeGroup");
        QVERIFY(!makeGroup->isEnabled());

        QTest::mouseClick(toolbox->findChild<QPushButton*>("spSelectAll"), Qt::LeftButton);
        QVERIFY(makeGroup->isEnabled()); // two stones selected
        const std::string before =
            f.App().Document.Model()[0]->ToString() + f.App().Document.Model()[1]->ToString();
        toolbox->findChild<QLineEdit*>("edX")->setText("3");
        QTest::mouseClick(toolbox->findChild<QToolButton*>("sbMoveX"), Qt::LeftButton);
        QCOMPARE(toolbox->findChild<QLabel*>("lx")->text(), QString("60")); // Quarter: 3 x 20
        QCOMPARE(f.App().Document.Model().UndoCount(), 12);
        // A count that is no number is reported and moves nothing.
        TModalRecorder messages;
        toolbox->findChild<QLineEdit*>("edY")->setText("two");
        QTest::mouseClick(toolbox->findChild<QToolButton*>("sbMoveY"), Qt::LeftButton);
        QTRY_COMPARE(messages.Texts.size(), 1);
        QCOMPARE(f.App().Document.Model().UndoCount(), 12);
        for (int i = 0; i < 6; ++i)
            f.Click("btnUndo");
        QCOMPARE(f.App().Document.Model()[0]->ToString() + f.App().Document.Model()[1]->ToString(), before);

        // "Close" hides it and clears the menu's check.
        QTest::mouseClick(toolbox->findChild<QPushButton*>("spClose"), Qt::LeftButton);
        QVERIFY(!toolbox->isVisible());
        WithMenu(f.Find<QToolButton>("btnOptions"), [](QMenu* menu) {
            for (QAction* action : menu->actions())
                if (action->text() == "Advanced &toolbox")
                    QVERIFY(!action->isChecked());
        });
    }

    void ThePositionFollowsTheHandAndTheKeysGoBack() {
        TWindowFixture f(kSettings);
        ToggleToolbox(f);
        auto* toolbox = f.Form().findChild<TAdvOptions*>("AdvOptions");
        QVERIFY(toolbox != nullptr && toolbox->isVisible());
        f.App().Hand.LastX = 120;
        f.App().Hand.LastY = 40;

        // A stone taken from the palette shows where it is put.
        auto* list = f.Find<TPaletteList>("ListBox1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QVERIFY(f.App().Hand.Holding());
        QCOMPARE(Shown(toolbox), QString("120 40 0"));
        // Moved by the mouse, it is followed.
        QWidget* box = f.Find<QWidget>("PaintBox1");
        const TPoint far = f.App().Scene.View().Project(400, 200, 0, 0);
        const QPoint at(far.x, far.y);
        QMouseEvent move(QEvent::MouseMove, at, box->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(box, &move);
        QVERIFY(f.App().Hand.Stone()->X != 120);
        QCOMPARE(Shown(toolbox), Place(*f.App().Hand.Stone()));
        // Pointer mode empties the hand and the display.
        f.Click("btnPointer");
        QVERIFY(!f.App().Hand.Holding());
        QCOMPARE(Shown(toolbox), QString("0 0 0"));

        // After a command of the toolbox the keys are the main window's again.
        toolbox->activateWindow();
        QTRY_VERIFY(toolbox->isActiveWindow());
        QTest::mouseClick(toolbox->findChild<QPushButton*>("spSelectAll"), Qt::LeftButton);
        QTRY_VERIFY(f.Form().isActiveWindow());
    }
};

QTEST_MAIN(TToolboxWindowTest)
#include "toolbox_window_test.moc"
