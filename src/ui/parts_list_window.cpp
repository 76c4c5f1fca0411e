#include "ui/parts_list_window.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/parts_list_output.h"
#include "ui/error_report.h"
#include "ui/file_dialogs.h"
#include "ui/ui_helpers.h"

namespace {

constexpr int kSwatchSize = 14;

QPixmap SwatchPixmap(const TPartsRow& row) {
    QPixmap swatch(kSwatchSize, kSwatchSize);
    swatch.fill(QColor(GetRValue(row.Color), GetGValue(row.Color), GetBValue(row.Color)));
    QPainter painter(&swatch);
    painter.setPen(Qt::darkGray);
    painter.drawRect(0, 0, kSwatchSize - 1, kSwatchSize - 1);
    if (row.Transparent) // see-through stones show a diagonal, as a pane of glass
        painter.drawLine(0, kSwatchSize - 1, kSwatchSize - 1, 0);
    return swatch;
}

// An item that sorts by a number or a text of its own, not by what it shows.
class TSortItem : public QTableWidgetItem {
public:
    explicit TSortItem(const QVariant& key) : FKey(key) {}
    bool operator<(const QTableWidgetItem& other) const override {
        const auto* sorted = dynamic_cast<const TSortItem*>(&other);
        if (sorted == nullptr)
            return QTableWidgetItem::operator<(other);
        if (FKey.typeId() == QMetaType::LongLong)
            return FKey.toLongLong() < sorted->FKey.toLongLong();
        return FKey.toString().compare(sorted->FKey.toString(), Qt::CaseInsensitive) < 0;
    }

private:
    QVariant FKey;
};

} // namespace

TPartsListWindow::TPartsListWindow(QWidget* parent, const TPartsListOutput& output,
                                   const std::filesystem::path& modelFile,
                                   const std::filesystem::path& saveFolder)
    : QDialog(parent), FOutput(output), FList(output.Make()), FModelFile(modelFile), FSaveFolder(saveFolder) {
    setObjectName("PartsListWindow");
    setWindowTitle(Text(modelFile.empty() ? "Parts list" : "Parts list of " + modelFile.filename().string()));

    FTable = new QTableWidget(this);
    FTable->setObjectName("PartsTable");
    FTable->setColumnCount(4);
    FTable->setHorizontalHeaderLabels({"Picture", "Name", "Colour", "Count"});
    FTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    FTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    FTable->verticalHeader()->hide();
    FTable->setIconSize(QSize(TPartsListOutput::kPreviewSize, TPartsListOutput::kPreviewSize));
    FTable->verticalHeader()->setDefaultSectionSize(TPartsListOutput::kPreviewSize + 4);
    FillTable();

    auto* totals = new QLabel(this);
    totals->setObjectName("PartsTotals");
    totals->setText(QString("Total: %1 stones in %2 kinds").arg(FList.Stones).arg(FList.Rows.size()));

    auto* buttons = new QHBoxLayout;
    AddRowButton(this, buttons, "btnSaveCsv", "Save as CSV...",
                 [this] { SaveAs("Save the parts list as CSV", "CSV files (*.csv)", "csv"); });
    AddRowButton(this, buttons, "btnSaveHtml", "Save as HTML...",
                 [this] { SaveAs("Save the parts list as a web page", "Web pages (*.html)", "html"); });
    AddRowButton(this, buttons, "btnSaveSet", "Save as set...",
                 [this] { SaveAs("Save the parts list as a set", "Set files (*.set)", "set"); });
    buttons->addStretch();
    AddRowButton(this, buttons, "btnClose", "Close", [this] { close(); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(FTable);
    layout->addWidget(totals);
    layout->addLayout(buttons);
    resize(560, 520);
}

void TPartsListWindow::FillTable() {
    FTable->setSortingEnabled(false);
    FTable->setRowCount(static_cast<int>(FList.Rows.size()));
    for (int r = 0; r < FTable->rowCount(); ++r) {
        const TPartsRow& row = FList.Rows[static_cast<size_t>(r)];
        auto* picture = new TSortItem(Text(row.Name));
        QPixmap preview;
        RunReporting(this, [&] {
            const std::string png = FOutput.PreviewPng(row);
            preview.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<uint>(png.size()),
                                 "PNG");
        });
        picture->setIcon(QIcon(preview));
        FTable->setItem(r, colPicture, picture);
        auto* name = new TSortItem(Text(row.Name));
        name->setText(Text(row.Name));
        name->setToolTip(Text(row.Part));
        FTable->setItem(r, colName, name);
        auto* color = new TSortItem(Text(row.ColorName));
        color->setText(Text(row.ColorName));
        color->setIcon(QIcon(SwatchPixmap(row)));
        FTable->setItem(r, colColor, color);
        auto* count = new TSortItem(QVariant(qlonglong{row.Count}));
        count->setText(QString::number(row.Count));
        count->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        FTable->setItem(r, colCount, count);
    }
    FTable->setSortingEnabled(true);
    FTable->sortByColumn(colName, Qt::AscendingOrder);
    FTable->resizeColumnsToContents();
    // The names take what room is left over.
    FTable->horizontalHeader()->setSectionResizeMode(colName, QHeaderView::Stretch);
}

void TPartsListWindow::SaveAs(const QString& title, const QString& filter, const QString& suffix) {
    const std::string stem = FModelFile.stem().empty() ? std::string("parts") : FModelFile.stem().string();
    const auto path = AskSaveFile(this, "dlgSavePartsList", title, filter, suffix, FSaveFolder, stem);
    if (!path)
        return;
    TWaitCursor wait;
    RunReporting(this, [&] { FOutput.Save(FList, *path); });
}

void ShowPartsListWindow(QWidget* parent, const TPartsListOutput& output,
                         const std::filesystem::path& modelFile, const std::filesystem::path& saveFolder) {
    TPartsListWindow* window = nullptr;
    if (!RunReporting(parent, [&] { window = new TPartsListWindow(parent, output, modelFile, saveFolder); }))
        return;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
}
