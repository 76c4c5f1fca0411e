// The command table and the file dialogs' filters.

#include <QSet>
#include <QTest>

#include "ui/commands.h"
#include "ui/file_dialogs.h"

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

    void FiltersBecomeQtNameFilters() {
        QCOMPARE(QtNameFilters(kModelOpenFilter), QString("Stonemill Files (*.STM);;All files (*.*)"));
        QCOMPARE(QtNameFilters(kModelSaveFilter), QString("Stonekit files (*.stm);;All files (*.*)"));
        QCOMPARE(QtNameFilters("Pictures|*.bmp;*.png"), QString("Pictures (*.bmp *.png)"));
        QCOMPARE(QtNameFilters(""), QString());
    }
};

QTEST_MAIN(TCommandsTest)
#include "commands_test.moc"
