// The parts list window from the options menu: the rows of the open model
// with their pictures and the totals, sorting by count as numbers, and the
// list saved as CSV through the save dialog, with the question before a file
// is replaced.

#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>
#include <algorithm>

#include "export/parts_list_files.h"
#include "platform/text_file.h"
#include "ui/parts_list_window.h"
#include "ui_test_support.h"

namespace fs = std::filesystem;

namespace {

std::string ShippedSettings() {
    std::string text;
    for (const std::string& line : LoadLines(BuiltProgramFolder() / "Stonemill.ini"))
        text += line + "\r\n";
    return text;
}

TPartsListWindow* OpenPartsList(TWindowFixture& f) {
    WithMenu(f.Find<QToolButton>("btnOptions"), [](QMenu* menu) { ClickMenuItem(menu, "Pa&rts list..."); });
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<TPartsListWindow*>(widget); window != nullptr && window->isVisible())
            return window;
    return nullptr;
}

QList<qlonglong> Counts(QTableWidget* table) {
    QList<qlonglong> counts;
    for (int row = 0; row < table->rowCount(); ++row)
        counts << table->item(row, TPartsListWindow::colCount)->text().toLongLong();
    return counts;
}

} // namespace

class TPartsListWindowTest : public QObject {
    Q_OBJECT
private slots:
    void listsTheModelSortsByCountAndSavesCsvThroughTheDialog() {
        TWindowFixture f(ShippedSettings());
        f.App().Files.LoadModel(BuiltProgramFolder() / "Models" / "church.stm", TLoadMode::lmComplete);
        const TPartsList list = f.App().Parts.Make();
        QVERIFY(list.Rows.size() > 10);

        TPartsListWindow* window = OpenPartsList(f);
        QVERIFY(window != nullptr);
        auto* table = window->findChild<QTableWidget*>("PartsTable");
        QCOMPARE(table->rowCount(), static_cast<int>(list.Rows.size()));
        QCOMPARE(table->horizontalHeaderItem(TPartsListWindow::colColor)->text(), QString("Colour"));
        for (int row = 0; row < table->rowCount(); ++row) {
            QVERIFY(!table->item(row, TPartsListWindow::colPicture)->icon().isNull());
            QVERIFY(!table->item(row, TPartsListWindow::colColor)->icon().isNull());
        }
        QCOMPARE(table->item(0, TPartsListWindow::colName)->text(),
                 QString::fromStdString(list.Rows[0].Name));
        QCOMPARE(window->findChild<QLabel*>("PartsTotals")->text(),
                 QString("Total: %1 stones in %2 kinds").arg(list.Stones).arg(list.Rows.size()));

        // A click on the count's header sorts by the numbers (9 before 10),
        // a second click the other way.
        QHeaderView* header = table->horizontalHeader();
        const QPoint countHeader(header->sectionViewportPosition(TPartsListWindow::colCount) + 5, 5);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, countHeader);
        QList<qlonglong> counts = Counts(table);
        const bool ascending = header->sortIndicatorOrder() == Qt::AscendingOrder;
        for (int i = 1; i < counts.size(); ++i)
            QVERIFY(ascending ? counts[i - 1] <= counts[i] : counts[i - 1] >= counts[i]);
        QVERIFY(counts.front() != counts.back());
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, countHeader);
        std::reverse(counts.begin(), counts.end());
        QCOMPARE(Counts(table).front(), counts.front());

        // Saved through the dialog: the whole list, whatever the table's order.
        const fs::path csv = f.Folder() / "church.csv";
        {
            TQuestionAnswerer none(QMessageBox::No);
            QString proposed;
            WhenModal<QFileDialog>([&](QFileDialog* dialog) {
                proposed = FileDialogName(dialog);
                AcceptFileDialog(dialog, csv);
            });
            window->findChild<QPushButton*>("btnSaveCsv")->click();
            QCOMPARE(proposed, QString("church.csv"));
            QVERIFY(none.Texts.isEmpty());
            QCOMPARE(f.ReadFile(csv), PartsCsvText(list));
        }

        // Over a file that exists, only after the question.
        SaveLines(csv, {"old"});
        TQuestionAnswerer yes(QMessageBox::Yes);
        WhenModal<QFileDialog>([&](QFileDialog* dialog) { AcceptFileDialog(dialog, csv); });
        window->findChild<QPushButton*>("btnSaveCsv")->click();
        QCOMPARE(yes.Texts, QStringList({"church.csv already exists.\nDo you want to replace it?"}));
        QCOMPARE(f.ReadFile(csv), PartsCsvText(list));
        window->close();
    }
};

QTEST_MAIN(TPartsListWindowTest)
#include "parts_list_window_test.moc"
