#pragma once
// TfrmCustomize, "Customize block pages": two pages side by side, each chosen
// in its page box and drawn as the palette draws it, with buttons that move
// entries from one page to the other and up and down the right-hand page.

#include <QDialog>
#include <memory>
#include <optional>
#include <vector>

#include "app/page_customize.h"

class QComboBox;
class TPaletteList;
class TStonemillApp;

class TfrmCustomize : public QDialog {
    Q_OBJECT
public:
    TfrmCustomize(TStonemillApp& app, QWidget* parent);

    // Runs the dialog on a copy of the palette's pages, both sides on the
    // current page; on OK the pages with their entries as the user left them.
    std::optional<std::vector<TPalettePage>> CustomizePages(const TPalette& palette);

private:
    void ShowSide(TPageCustomize::TSide& side, QComboBox* box, TPaletteList* list);
    void ShowSides();
    void Act(void (TPageCustomize::*move)());

    TStonemillApp& FApp;
    QComboBox* cmbLeft;
    QComboBox* cmbRight;
    TPaletteList* lbLeft;
    TPaletteList* lbRight;
    std::unique_ptr<TPageCustomize> FWork;
    int FUpdating = 0;
};
