#pragma once
// A list of palette entries drawn as the palette draws them: each row a
// picture made by the application core (its stone's preview, label and
// supply), all rows of one height. The main palette list and the two lists of
// the customize-pages dialog are such lists.

#include <QListView>
#include <functional>
#include <string>
#include <vector>

#include "app/palette_row.h"
#include "platform/bitmap.h"

class QStandardItemModel;
class TStonemillApp;

class TPaletteList : public QListView {
    Q_OBJECT
public:
    TPaletteList(TStonemillApp& app, QWidget* parent);

    // What row i shows; asked at every paint of the row.
    std::function<TPaletteRow(int row)> RowOf;
    // A button was pressed over the list: the row under the mouse (-1 below
    // the last row) has been selected.
    std::function<void(int row, Qt::MouseButton button)> OnMouseDown;
    // The row was clicked with the left button.
    std::function<void(int row)> OnClick;
    // The selection moved by keyboard.
    std::function<void(int row)> OnSelect;
    // The right button was released over the list: the place for a menu.
    std::function<void(QPoint globalPosition)> OnContextMenu;

    // Shows the entries with the row height; nothing is done while they stay
    // the same, so the rows keep their scroll place.
    void SetRows(const std::vector<std::string>& entries, int rowHeight);
    int SelectedRow() const;
    void SetSelectedRow(int row);
    int RowHeight() const { return FRowHeight; }
    const std::vector<std::string>& Entries() const { return FEntries; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;

private:
    friend class TPaletteRowDelegate;
    TStonemillApp& FApp;
    QStandardItemModel* FModel;
    std::vector<std::string> FEntries;
    int FRowHeight = 40;
    int FPressedRow = -1;
    int FUpdating = 0;
    // The row picture, reused from row to row.
    TBitmap FRowPicture;
};
