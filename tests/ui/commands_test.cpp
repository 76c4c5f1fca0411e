// The command table, the file dialogs' filters and the error box every window reports failures in.

#include <QSet>
#include <QTest>
#include <algorithm>

#include "common/error.h"
#include "ui/commands.h"
#include "ui/error_report.h"
#include "ui/file_dialogs.h"
#include "ui_test_support.h"

class TCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void EveryCommandHasOneRowAndAName() {
        QSet<int> ids;
        QSet<QString> names;
        for (const TCommand& command : Commands()) {
            QVERIFY2(!ids.contains(static_cast<int>(command.Id)), command.Name);
            QVERIFY2(!names.contains(command.Name), command.Name);
            ids.insert(static_cast<int>(command.Id));
            names.insert(command.Name);
            QCOMPARE(CommandOf(command.Id).Name, command.Name);
        }
        QCOMPARE(ids.size(), static_cast<int>(TCommandId::cmHome) + 1);
    }

    void FixedViewsCarryTheirTags() {
        const char* hints[] = {"Top view",   "From front", "From right", "From left",   "From back",
                               "Front left", "Back right", "Back left",  "Front right", "Front view"};
        for (int tag = 0; tag < 10; ++tag) {
            const TCommand& command =
                CommandOf(static_cast<TCommandId>(static_cast<int>(TCommandId::cmTopView) + tag));
            QCOMPARE(command.Tag, tag);
            QCOMPARE(command.Hint, hints[tag]);
        }
    }

    void KeysFindTheirCommands() {
        QCOMPARE(CommandOfKey(Qt::Key_End, false)->Id, TCommandId::cmTopView);
        QCOMPARE(CommandOfKey(Qt::Key_F1, false)->Id, TCommandId::cmTopView);
        QCOMPARE(CommandOfKey(Qt::Key_F9, false)->Id, TCommandId::cmFrontRight);
        QCOMPARE(CommandOfKey(Qt::Key_S, false)->Id, TCommandId::cmSaveComplete);
        QCOMPARE(CommandOfKey(Qt::Key_G, false)->Id, TCommandId::cmLoadComplete);
        // The keypad's "*" is the wireframe key, the main keyboard's is not.
        QCOMPARE(CommandOfKey(Qt::Key_Asterisk, true)->Id, TCommandId::cmWireframe);
        QVERIFY(CommandOfKey(Qt::Key_Asterisk, false) == nullptr);
        // The keypad's Home is Home.
        QCOMPARE(CommandOfKey(Qt::Key_Home, true)->Id, TCommandId::cmHome);
        QVERIFY(CommandOfKey(Qt::Key_X, false) == nullptr);
        QVERIFY(CommandOfKey(0, false) == nullptr);
    }

    void KeysHeedModifiersAndRules() {
        const int ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
        // The desktop's undo and redo keys.
        QCOMPARE(CommandOfKey(Qt::Key_Z, false, ctrl)->Id, TCommandId::cmUndo);
        QCOMPARE(CommandOfKey(Qt::Key_Z, false, ctrl | shift)->Id, TCommandId::cmRedo);
        QCOMPARE(CommandOfKey(Qt::Key_Y, false, ctrl | shift)->Id, TCommandId::cmRedo);
        QVERIFY(CommandOfKey(Qt::Key_Z, false) == nullptr);
        // Plain keys work whatever the modifiers, unless the desktop gives the
        // combination its own meaning.
        QCOMPARE(CommandOfKey(Qt::Key_S, false, shift)->Id, TCommandId::cmSaveComplete);
        QCOMPARE(CommandOfKey(Qt::Key_S, false, ctrl)->Id, TCommandId::cmSave);
        QCOMPARE(CommandOfKey(Qt::Key_S, false, ctrl | shift)->Id, TCommandId::cmSaveComplete);
        QCOMPARE(CommandOfKey(Qt::Key_P, false, ctrl)->Id, TCommandId::cmPrint);
        QCOMPARE(CommandOfKey(Qt::Key_P, false)->Id, TCommandId::cmSaveSelected);
        QCOMPARE(CommandOfKey(Qt::Key_N, false, ctrl)->Id, TCommandId::cmNewModel);
        QCOMPARE(CommandOfKey(Qt::Key_O, false, ctrl)->Id, TCommandId::cmLoadComplete);
        QCOMPARE(CommandOfKey(Qt::Key_A, false, ctrl)->Id, TCommandId::cmSelectAll);
        QCOMPARE(CommandOfKey(Qt::Key_0, false, ctrl)->Id, TCommandId::cmZoomToFit);
        QVERIFY(CommandOfKey(Qt::Key_N, false) == nullptr);
        QCOMPARE(KeysText(CommandOf(TCommandId::cmSaveComplete)), QString("Ctrl+Shift+S, S"));
        QCOMPARE(KeysText(CommandOf(TCommandId::cmExit)), QString());
        // F2 sizes the picture frame while it is shown, else turns the view.
        bool frameShown = false;
        const auto holds = [&](TCommandRule rule) { return rule == crFrameShown && frameShown; };
        QCOMPARE(CommandOfKey(Qt::Key_F2, false, 0, holds)->Id, TCommandId::cmFromFront);
        frameShown = true;
        QCOMPARE(CommandOfKey(Qt::Key_F2, false, 0, holds)->Id, TCommandId::cmPictureSize);
    }

    void PlacesHoldTheirControlsAndGroups() {
        // Every menu button opens a menu that holds commands, and every radio
        // item sits in a menu with the other items of its group.
        for (const TCommand& command : Commands()) {
            if (command.Style == csMenu || command.Style == csSubmenu) {
                const auto items = std::count_if(Commands().begin(), Commands().end(),
                                                 [&](const TCommand& c) { return c.Place == command.Opens; });
                QVERIFY2(items > 0, command.Name);
            }
            QCOMPARE(command.Style == csRadio, command.Group != rgNone);
            if (command.Group != rgNone)
                for (const TCommand& other : Commands())
                    if (other.Group == command.Group)
                        QCOMPARE(other.Place, command.Place);
            // A menu never starts with a separator.
            const TCommand* first = nullptr;
            for (const TCommand& c : Commands())
                if (c.Place == command.Place && first == nullptr)
                    first = &c;
            QVERIFY2(!first->GroupStart, first->Name);
        }
    }

    void FailuresAreReportedInTheProgramsWords() {
        TModalRecorder boxes;
        QVERIFY(RunReporting(nullptr, [] {}));
        QVERIFY(!RunReporting(nullptr, [] { throw EError("The file x.stm cannot be read"); }));
        // A library's own text never reaches the user.
        QVERIFY(!RunReporting(nullptr, [] { throw std::runtime_error("basic_string::_M_create"); }));
        QVERIFY(!RunReporting(nullptr, [] { throw std::bad_alloc(); }, "The part could not be changed."));
        QCOMPARE(boxes.Texts, QStringList({"The file x.stm cannot be read", "The command could not be carried out.",
                                           "The part could not be changed. There is not enough memory for it."}));
        QCOMPARE(boxes.Icons, QList<QMessageBox::Icon>(3, QMessageBox::Critical));
    }

    void FiltersBecomeQtNameFilters() {
        QCOMPARE(QtNameFilters(kModelOpenFilter), QString("Stonemill Files (*.STM);;All files (*.*)"));
        QCOMPARE(QtNameFilters(kModelSaveFilter), QString("Stonekit files (*.stm);;All files (*.*)"));
        QCOMPARE(QtNameFilters("Pictures|*.bmp;*.png"), QString("Pictures (*.bmp *.png)"));
        QCOMPARE(QtNameFilters(""), QString());
    }
};

QTEST_MAIN(TCommandsTest)
#include "commands_test.moc"
