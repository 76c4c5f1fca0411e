#include "ui/palette_list.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

#include "app/stonemill_app.h"

// Measures every row at the list's row height and paints it with the row
// picture the application core draws.
class TPaletteRowDelegate : public QStyledItemDelegate {
public:
    explicit TPaletteRowDelegate(TPaletteList& list) : QStyledItemDelegate(&list), FList(list) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(FList.viewport()->width(), FList.FRowHeight);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!FList.RowOf || option.rect.width() < 2 || option.rect.height() < 2)
            return;
        TBitmap& picture = FList.FRowPicture;
        picture.SetPixelFormat(PixelFormatOf(FList.FApp.Scene.EffectiveBitDepth()));
        picture.SetSize(option.rect.width(), option.rect.height());
        TPaletteRowPainter& rows = FList.FApp.PaletteCommands.Rows();
        rows.Font.Size = FList.font().pointSize() > 0 ? FList.font().pointSize() : 8;
        rows.Draw(picture, FList.RowOf(index.row()));
        painter->drawImage(option.rect.topLeft(), picture.Image());
    }

private:
    TPaletteList& FList;
};

TPaletteList::TPaletteList(TStonemillApp& app, QWidget* parent)
    : QListView(parent), FApp(app), FModel(new QStandardItemModel(this)), FRowPicture(2, 2, pf32bit) {
    setModel(FModel);
    setItemDelegate(new TPaletteRowDelegate(*this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // The rows cover the whole list down to the last one.
    viewport()->setAutoFillBackground(true);
    // The list's menu opens when the right button is released over it.
    setContextMenuPolicy(Qt::PreventContextMenu);
}

void TPaletteList::SetRows(const std::vector<std::string>& entries, int rowHeight) {
    if (entries == FEntries && rowHeight == FRowHeight)
        return;
    ++FUpdating;
    const bool sameRows = entries.size() == FEntries.size() && rowHeight == FRowHeight;
    FEntries = entries;
    FRowHeight = rowHeight;
    if (!sameRows) {
        FModel->clear();
        for (const std::string& entry : FEntries) {
            auto* item = new QStandardItem(QString::fromStdString(entry));
            item->setEditable(false);
            FModel->appendRow(item);
        }
    } else {
        for (int i = 0; i < static_cast<int>(FEntries.size()); ++i)
            FModel->item(i)->setText(QString::fromStdString(FEntries[static_cast<size_t>(i)]));
    }
    --FUpdating;
    doItemsLayout();
    viewport()->update();
}

int TPaletteList::SelectedRow() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void TPaletteList::SetSelectedRow(int row) {
    if (row == SelectedRow())
        return;
    ++FUpdating;
    if (row < 0 || row >= FModel->rowCount()) {
        selectionModel()->clearSelection();
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    } else {
        selectionModel()->setCurrentIndex(FModel->index(row, 0), QItemSelectionModel::ClearAndSelect);
    }
    --FUpdating;
    viewport()->update();
}

void TPaletteList::mousePressEvent(QMouseEvent* event) {
    // Any button selects the row under the mouse, or none below the last row.
    const int row = indexAt(event->position().toPoint()).row();
    SetSelectedRow(row);
    FPressedRow = event->button() == Qt::LeftButton ? row : -1;
    setFocus(Qt::MouseFocusReason);
    if (OnMouseDown)
        OnMouseDown(row, event->button());
}

void TPaletteList::mouseReleaseEvent(QMouseEvent* event) {
    const int row = indexAt(event->position().toPoint()).row();
    const bool clicked = event->button() == Qt::LeftButton && row >= 0 && row == FPressedRow;
    FPressedRow = -1;
    if (clicked && OnClick)
        OnClick(row);
    if (event->button() == Qt::RightButton && OnContextMenu)
        OnContextMenu(event->globalPosition().toPoint());
}

void TPaletteList::mouseMoveEvent(QMouseEvent*) {
    // Dragging does not move the selection.
}

void TPaletteList::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void TPaletteList::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    // Only a selection counts: the current row that a list takes with the
    // focus selects nothing.
    QListView::selectionChanged(selected, deselected);
    if (FUpdating == 0 && OnSelect)
        OnSelect(SelectedRow());
}
