// The cutting dialog used on a demo model: opened by its button at the
// model's box, the top lowered so the upper stones are neither drawn nor
// built upon, and closed again, which uncuts the model.

#include <QCheckBox>
#include <QSpinBox>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QToolButton>

#include "app/hand.h"
#include "model/cut_state.h"
#include "temp_program_folder.h"
#include "ui/dialogs/cut_dialog.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;

class TCutDialogWindowTest : public QObject {
    Q_OBJECT
private slots:
    void TheModelIsCutOpenAndClosedAgain() {
        TWindowFixture f;
        fs::copy_file(BuiltProgramFolder() / "Models" / "tower.stm", f.Folder() / "tower.stm");
        f.App().Files.LoadModel(f.Folder() / "tower.stm", TLoadMode::lmComplete);
        const TExtents box = f.App().Document.Model().GetExtents();
        auto* button = f.Find<QToolButton>("btnCut");
        QVERIFY(button != nullptr);
        auto* dialog = f.Form().findChild<TDlg*>("Dlg");
        QVERIFY(dialog != nullptr && !dialog->isVisible());

        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(dialog->isVisible());
        QVERIFY(button->isChecked());
        QCOMPARE(dialog->windowTitle(), QString("Cutting coordinates"));
        QCOMPARE(dialog->findChild<QSpinBox*>("edZTop")->value(), box.MaxZ);
        QCOMPARE(dialog->findChild<QSpinBox*>("edXLeft")->value(), box.MinX);

        // The top lowered to half the tower: with "Auto" the view is drawn anew.
        const int half = box.MinZ + (box.MaxZ - box.MinZ) / 2;
        const int passes = f.App().Scene.PassCount();
        dialog->findChild<QSpinBox*>("edZTop")->setValue(half);
        QTRY_VERIFY(f.App().Scene.PassCount() > passes);
        int shown = 0;
        for (int i = 0; i < f.App().Document.Model().Count(); ++i)
            shown += InCut(*f.App().Document.Model()[i]) ? 1 : 0;
        QVERIFY(shown > 0 && shown < f.App().Document.Model().Count());
        // Stones above the cut carry nothing placed over them.
        QVERIFY(THand::SupportHeight(f.App().Document.Model(), box.MinX, box.MinY, box.MaxX - box.MinX,
                                     box.MaxY - box.MinY) <= half);

        // The "Both" arrows move the two limits of an axis by the grid.
        f.App().Hand.Grid = grFine;
        dialog->SetSteps();
        QTest::mouseClick(dialog->findChild<QWidget*>("RxSpinButton3")->findChild<QToolButton*>("Down"),
                          Qt::LeftButton);
        QCOMPARE(CutState().ZHigh, half - 1);
        QCOMPARE(CutState().ZLow, box.MinZ - 1);

        // Each limit has arrows of its own that step by the grid.
        f.App().SetGrid(grNormal);
        auto* top = dialog->findChild<QSpinBox*>("edZTop");
        QStyleOptionSpinBox arrows;
        arrows.initFrom(top);
        arrows.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown;
        QTest::mouseClick(
            top, Qt::LeftButton, {},
            top->style()->subControlRect(QStyle::CC_SpinBox, &arrows, QStyle::SC_SpinBoxUp, top).center());
        QCOMPARE(CutState().ZHigh, half - 1 + 80);
        QCOMPARE(CutState().ZLow, box.MinZ - 1);

        // Closed by its button, the model is whole again.
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QVERIFY(!button->isChecked());
        QCOMPARE(CutState().ZHigh, TCutState::kOpenHigh);
        for (int i = 0; i < f.App().Document.Model().Count(); ++i)
            QVERIFY(InCut(*f.App().Document.Model()[i]));
    }
};

QTEST_MAIN(TCutDialogWindowTest)
#include "cut_dialog_window_test.moc"
