#pragma once
// TfrmReorder, "Reorder pages": the page titles in a list, and buttons that
// move the selected page to the top, ten places up, one up, one down, ten
// down or to the end.

#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

#include "app/page_reorder.h"

class QListWidget;
class QToolButton;

class TfrmReorder : public QDialog {
    Q_OBJECT
public:
    explicit TfrmReorder(QWidget* parent);

    // Runs the dialog on a copy of the pages; on OK the pages in their new order.
    std::optional<std::vector<TPalettePage>> ReorderPages(const std::vector<TPalettePage>& pages);

private:
    void Move(void (TPageReorder::*move)());
    void ShowPages();

    QListWidget* lbRight;
    std::unique_ptr<TPageReorder> FWork;
};
