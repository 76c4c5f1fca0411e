// The part editor window opened from the palette and used as a user uses it:
// a new face added by its button, a point moved by keys, a face extruded and
// one dropped onto the trash, a new part named through the part-name dialog,
// a new part under a name that is taken, and editing an entry and confirming
// it with "Replace".

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "partlib/part_registry.h"
#include "ui/dialogs/part_name_dialog.h"
#include "ui/palette_list.h"
#include "ui/palette_panel.h"
#include "ui/part_editor_form.h"
#include "ui_test_support.h"

namespace {

const char* const kSettings = "[Main]\r\nVersion=2\r\nPages=1\r\n"
                              "[Page1]\r\nTitle=Shapes\r\nHeight=40\r\nScale=0.5\r\nCount=2\r\n"
                              "Brick0=G parts.dat, arch|Arch\r\nBrick1=2x4x3|Brick\r\n";

void OpenFromEditMenu(TWindowFixture& f, int row, const QString& item) {
    auto* list = f.Find<TPaletteList>("ListBox1");
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, rect.center());
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu != nullptr);
    ClickMenuItem(menu, item);
}

QListWidget* ListOf(TAddHard* editor, const char* name) {
    return editor->findChild<QListWidget*>(name);
}

} // namespace

class TPartEditorWindowTest : public QObject {
    Q_OBJECT
private slots:
    void ANewPartIsShapedNamedAndAddedToThePage() {
        TWindowFixture f(kSettings);
        TPalette& palette = f.App().Palette;
        palette.SelectedRow = 0;
        bool checked = false;
        WhenModal<TAddHard>([&](TAddHard* editor) {
            QCOMPARE(editor->windowTitle(), QString("Add new block"));
            QCOMPARE(editor->findChild<QPushButton*>("btnAddPiece")->text(), QString("Add"));
            QVERIFY(editor->findChild<QWidget*>("RightColumn")->isVisible());
            TDrawClass* copy = f.App().PartEditor.WorkingCopy();
            QVERIFY(copy != nullptr);
            const int faces = copy->PolygonCount();
            QCOMPARE(ListOf(editor, "lbAllPolys")->count(), faces);

            // A new square (no face selected), selected at once with its points listed.
            QTest::mouseClick(editor->findChild<QToolButton*>("btnAddPolygon"), Qt::LeftButton);
            QCOMPARE(copy->PolygonCount(), faces + 1);
            QCOMPARE(ListOf(editor, "lbCoord")->count(), 4);
            QCOMPARE(ListOf(editor, "lbCoord")->item(2)->text(), QString("  20  20   0"));
            // Keys in the point list move the whole face by its first point.
            QTest::keyClick(ListOf(editor, "lbCoord"), Qt::Key_A);
            QTest::keyClick(ListOf(editor, "lbCoord"), Qt::Key_D);
            QCOMPARE(copy->GetPoint(faces, 2), (TPoint3D{21, 20, 1}));
            QCOMPARE(editor->findChild<QSpinBox*>("AdjX")->value(), 1);
            // A point with the edits' values before the selected one, by the
            // button; dropped onto the trash it goes again.
            auto* points = ListOf(editor, "lbCoord");
            QTest::mouseClick(points->viewport(), Qt::LeftButton, {}, points->visualItemRect(points->item(1)).center());
            QTest::mouseClick(editor->findChild<QToolButton*>("btnAddVertex"), Qt::LeftButton);
            QCOMPARE(copy->GetPointCount(faces), 5);
            QCOMPARE(copy->GetPoint(faces, 1), copy->GetPoint(faces, 2));
            editor->DropOnTrash(points);
            QCOMPARE(copy->GetPointCount(faces), 4);
            // Walls drawn 30 units up out of the square.
            editor->findChild<QSpinBox*>("spExt")->setValue(30);
            QTest::mouseClick(editor->findChild<QPushButton*>("btnExtrude"), Qt::LeftButton);
            QCOMPARE(copy->PolygonCount(), faces + 5);
            QCOMPARE(copy->GetPoint(faces + 1, 2), (TPoint3D{1, 20, 31}));
            // The first face dropped onto the trash, after the question.
            ListOf(editor, "lbAllPolys")->setCurrentRow(0);
            WhenModal<QMessageBox>([](QMessageBox* box) {
                QVERIFY(box->text().contains("Do You really want to delete"));
                ClickMessageButton(box, QMessageBox::Yes);
            });
            editor->DropOnTrash(ListOf(editor, "lbAllPolys"));
            QCOMPARE(copy->PolygonCount(), faces + 4);
            // A polygon row dropped onto the draw order that lists it already adds nothing.
            const int entries = ListOf(editor, "lbDrawOrder")->count();
            editor->DropOnDrawOrder(ListOf(editor, "lbAllPolys"), 0);
            QCOMPARE(ListOf(editor, "lbDrawOrder")->count(), entries);

            // The label comes from the part name typed below, so the identity is cleared.
            auto* identity = editor->findChild<QLineEdit*>("edtIdent");
            QCOMPARE(identity->text(), QString("Arch"));
            identity->selectAll();
            QTest::keyClick(identity, Qt::Key_Backspace);
            // Confirming asks for names; an empty part name is refused first.
            WhenModal<TAskFileAndPart>([&](TAskFileAndPart* names) {
                QCOMPARE(names->windowTitle(), QString("Enter part information"));
                QCOMPARE(names->FileName(), std::string("userblks.dat"));
                WhenModal<QMessageBox>([names](QMessageBox* box) {
                    QCOMPARE(box->text(), QString("Filename and Partname must be entered"));
                    box->accept();
                    names->findChild<QLineEdit*>("Edit2")->setText("tower|Tower");
                    QTimer::singleShot(0, names->findChild<QPushButton*>("btnOK"), &QPushButton::click);
                });
                names->findChild<QPushButton*>("btnOK")->click();
            });
            QTest::mouseClick(editor->findChild<QPushButton*>("btnAddPiece"), Qt::LeftButton);
            checked = true;
        });
        OpenFromEditMenu(f, 0, "&Add...");
        QVERIFY(checked);
        QCOMPARE(palette.Pages[0].Entries.back(), std::string("G userblks.dat, tower|Tower"));
        QVERIFY(palette.Changed);
        TDrawClass* tower = TPartRegistry::Instance().FindPart("userblks.dat", "tower");
        QVERIFY(tower != nullptr);
        QVERIFY(tower->Modified);
        QCOMPARE(tower->PolygonCount(),
                 TPartRegistry::Instance().FindPart("parts.dat", "arch")->PolygonCount() + 4);
    }

    void ANewPartUnderATakenNameReplacesItOnlyAfterAsking() {
        TWindowFixture f(kSettings);
        f.App().Palette.SelectedRow = 0;
        TDrawClass* arch = TPartRegistry::Instance().FindPart("parts.dat", "arch");
        const int archFaces = arch->PolygonCount();
        QStringList questions;
        int namesAsked = 0;
        bool confirmed = false;
        // Names a part of the library; the question is answered as given.
        auto answerNames = [&](QMessageBox::StandardButton answer, const std::function<void()>& then) {
            WhenModal<TAskFileAndPart>([&, answer, then](TAskFileAndPart* names) {
                ++namesAsked;
                names->findChild<QLineEdit*>("Edit1")->setText("parts.dat");
                names->findChild<QLineEdit*>("Edit2")->setText("arch");
                WhenModal<QMessageBox>([&, answer, then](QMessageBox* box) {
                    questions << box->text();
                    if (then)
                        then();
                    ClickMessageButton(box, answer);
                });
                names->findChild<QPushButton*>("btnOK")->click();
            });
        };
        WhenModal<TAddHard>([&](TAddHard* editor) {
            QTest::mouseClick(editor->findChild<QToolButton*>("btnAddPolygon"), Qt::LeftButton);
            // No: the names are asked again; then Yes.
            answerNames(QMessageBox::No, [&] { answerNames(QMessageBox::Yes, nullptr); });
            QTest::mouseClick(editor->findChild<QPushButton*>("btnAddPiece"), Qt::LeftButton);
            confirmed = !editor->isVisible();
            if (!confirmed)
                editor->reject();
        });
        OpenFromEditMenu(f, 0, "&Add...");
        QVERIFY(confirmed);
        QCOMPARE(namesAsked, 2);
        QCOMPARE(questions,
                 QStringList({"A part named \"arch\" already exists.\nDo you want to replace it?",
                              "A part named \"arch\" already exists.\nDo you want to replace it?"}));
        // The library's part took the new shape, and is saved when the program ends.
        QCOMPARE(TPartRegistry::Instance().FindPart("parts.dat", "arch"), arch);
        QCOMPARE(arch->PolygonCount(), archFaces + 1);
        QVERIFY(arch->Modified);
        QCOMPARE(f.App().Palette.Pages[0].Entries.back(), std::string("G parts.dat, arch|Arch"));
    }

    void ASimpleEntryIsEditedAndReplaced() {
        TWindowFixture f(kSettings);
        TPalette& palette = f.App().Palette;
        palette.SelectedRow = 1;
        WhenModal<TAddHard>([&](TAddHard* editor) {
            QCOMPARE(editor->windowTitle(), QString("Edit block"));
            QVERIFY(!editor->findChild<QWidget*>("RightColumn")->isVisible());
            auto* kinds = editor->findChild<QListWidget*>("lbBlockTypes");
            QCOMPARE(kinds->currentRow(), 0);
            // A typed dimension waits for Enter; then the block is rebuilt.
            auto* length = editor->findChild<QSpinBox*>("edtX");
            QCOMPARE(length->value(), 40);
            length->selectAll();
            QTest::keyClicks(length, "60");
            QVERIFY(editor->findChild<QToolButton*>("sbApply")->isEnabled());
            QTest::keyClick(length, Qt::Key_Return);
            QVERIFY(editor->isVisible()); // Enter applies, it does not close the window
            QVERIFY(!editor->findChild<QToolButton*>("sbApply")->isEnabled());
            QCOMPARE(f.App().PartEditor.GetEntry(), std::string("B 3x4x3"));
            QTest::mouseClick(editor->findChild<QPushButton*>("btnAddPiece"), Qt::LeftButton);
        });
        OpenFromEditMenu(f, 1, "&Edit...");
        QCOMPARE(palette.Pages[0].Entries[1], std::string("B 3x4x3"));
    }

    void EnterAppliesOneEditAndChangesAreUndoneAndRedone() {
        TWindowFixture f(kSettings);
        f.App().Palette.SelectedRow = 0;
        bool checked = false;
        WhenModal<TAddHard>([&](TAddHard* editor) {
            QVERIFY(QTest::qWaitForWindowActive(editor));
            TPartEditor& core = f.App().PartEditor;
            auto* undo = editor->findChild<QToolButton*>("btnUndo");
            auto* redo = editor->findChild<QToolButton*>("btnRedo");
            const int faces = core.WorkingCopy()->PolygonCount();
            auto* polygons = ListOf(editor, "lbAllPolys");
            QTest::mouseClick(polygons->viewport(), Qt::LeftButton, {},
                              polygons->visualItemRect(polygons->item(0)).center());
            const TPoint3D first = core.WorkingCopy()->GetPoint(0, 0);

            // A coordinate typed and entered moves the face, and does nothing more.
            auto* x = editor->findChild<QSpinBox*>("AdjX");
            x->setFocus();
            x->selectAll();
            QTest::keyClicks(x, "15");
            QTest::keyClick(x, Qt::Key_Return);
            QVERIFY(editor->isVisible());
            QCOMPARE(core.WorkingCopy()->PolygonCount(), faces);
            QCOMPARE(core.WorkingCopy()->GetPoint(0, 0).X, 15);
            // Ctrl+Z and Ctrl+Y in the edit itself undo and redo the move.
            QTest::keyClick(x, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(core.WorkingCopy()->GetPoint(0, 0), first);
            QCOMPARE(x->value(), first.X);
            QTest::keyClick(x, Qt::Key_Y, Qt::ControlModifier);
            QCOMPARE(core.WorkingCopy()->GetPoint(0, 0).X, 15);
            // A new kind goes back by the button, with the face as it was moved.
            auto* kinds = editor->findChild<QListWidget*>("lbBlockTypes");
            QTest::mouseClick(kinds->viewport(), Qt::LeftButton, {},
                              kinds->visualItemRect(kinds->item(1)).center());
            QVERIFY(core.WorkingCopy() == nullptr);
            QTest::mouseClick(undo, Qt::LeftButton);
            QVERIFY(editor->findChild<QWidget*>("RightColumn")->isVisible());
            QCOMPARE(core.WorkingCopy()->GetPoint(0, 0).X, 15);
            QTest::mouseClick(undo, Qt::LeftButton);
            QVERIFY(!undo->isEnabled() && redo->isEnabled());
            QCOMPARE(core.WorkingCopy()->GetPoint(0, 0), first);
            editor->findChild<QPushButton*>("btnCancel")->click();
            checked = true;
        });
        OpenFromEditMenu(f, 0, "&Edit...");
        QVERIFY(checked);
    }
};

QTEST_MAIN(TPartEditorWindowTest)
#include "part_editor_window_test.moc"
