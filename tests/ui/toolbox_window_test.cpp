// The advanced toolbox from the options menu: a selection moved by whole grid
// steps with its position shown and undone, the group buttons following the
// selection, a bad step count reported, and the window closed by "Close".

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "ui/dialogs/toolbox_window.h"
#include "ui_test_support.h"

namespace {

const char* const kModel = "B 0 0 0 40 20 20 244 1 0 0 0 0  0\r\n"
                           "B 80 0 0 40 20 20 244 1 0 0 0 0  0\r\n";

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
};

QTEST_MAIN(TToolboxWindowTest)
#include "toolbox_window_test.moc"
