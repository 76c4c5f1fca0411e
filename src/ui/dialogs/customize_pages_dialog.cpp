#include "ui/dialogs/customize_pages_dialog.h"
#include "ui/dialogs/dialog_buttons.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/stonemill_app.h"
#include "ui/palette_list.h"
#include "ui/repeat_button.h"

TfrmCustomize::TfrmCustomize(TStonemillApp& app, QWidget* parent) : QDialog(parent), FApp(app) {
    setObjectName("frmCustomize");
    setWindowTitle("Customize block pages");
    resize(460, 358);

    auto makeSide = [this](const char* boxName, const char* listName, bool left) {
        auto* box = new QComboBox(this);
        box->setObjectName(boxName);
        auto* list = new TPaletteList(FApp, this);
        list->setObjectName(listName);
        list->RowOf = [this, left](int row) {
            if (!FWork)
                return TPaletteRow();
            const TPageCustomize::TSide& side = left ? FWork->Left : FWork->Right;
            const auto& entries = FWork->Entries(side);
            if (row < 0 || row >= static_cast<int>(entries.size()))
                return TPaletteRow();
            const float scale = FWork->Pages()[static_cast<size_t>(side.Page)].Scale;
            return FApp.PaletteCommands.PaletteRowOf(entries[static_cast<size_t>(row)],
                                                     FApp.Palette.CurrentColor, scale, row == side.Selected);
        };
        auto select = [this, left](int row) {
            if (FWork)
                (left ? FWork->Left : FWork->Right).Selected = row;
        };
        list->OnMouseDown = [select](int row, Qt::MouseButton) { select(row); };
        list->OnSelect = select;
        connect(box, &QComboBox::activated, this, [this, left](int item) {
            if (FUpdating == 0 && FWork) {
                FWork->Choose(left ? FWork->Left : FWork->Right, item);
                ShowSides();
            }
        });
        return std::make_pair(box, list);
    };
    std::tie(cmbLeft, lbLeft) = makeSide("cmbLeft", "lbLeft", true);
    std::tie(cmbRight, lbRight) = makeSide("cmbRight", "lbRight", false);

    auto* across = new QVBoxLayout;
    auto* along = new QVBoxLayout;
    struct TMoveButton {
        const char* Name;
        const char* Caption;
        const char* Hint;
        void (TPageCustomize::*Move)();
        QVBoxLayout* Column;
    };
    const TMoveButton buttons[] = {
        {"RxSpeedButton1", ">", "Move the stone to the right page", &TPageCustomize::MoveRight, across},
        {"RxSpeedButton2", "<", "Move the stone to the left page", &TPageCustomize::MoveLeft, across},
        {"RxSpeedButton3", "Up", "Move the stone one place up", &TPageCustomize::Up, along},
        {"RxSpeedButton4", "Down", "Move the stone one place down", &TPageCustomize::Down, along},
    };
    across->addStretch();
    along->addStretch();
    for (const TMoveButton& b : buttons) {
        QToolButton* button = MakeRepeatButton(b.Name, b.Caption, b.Hint, this);
        const auto move = b.Move;
        connect(button, &QToolButton::clicked, this, [this, move] { Act(move); });
        b.Column->addWidget(button);
    }
    across->addStretch();
    along->addStretch();

    QDialogButtonBox* box = MakeOkCancel(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(cmbLeft, 0, 0);
    layout->addWidget(cmbRight, 0, 2);
    layout->addWidget(lbLeft, 1, 0);
    layout->addLayout(across, 1, 1);
    layout->addWidget(lbRight, 1, 2);
    layout->addLayout(along, 1, 3);
    layout->addWidget(box, 2, 0, 1, 4);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(2, 1);
}

void TfrmCustomize::ShowSide(TPageCustomize::TSide& side, QComboBox* box, TPaletteList* list) {
    box->setCurrentIndex(side.Item);
    const int height = side.Page >= 0 ? FWork->Pages()[static_cast<size_t>(side.Page)].RowHeight : 40;
    list->SetRows(FWork->Entries(side), std::min(255, height));
    list->SetSelectedRow(side.Selected);
}

void TfrmCustomize::ShowSides() {
    ++FUpdating;
    ShowSide(FWork->Left, cmbLeft, lbLeft);
    ShowSide(FWork->Right, cmbRight, lbRight);
    --FUpdating;
}

void TfrmCustomize::Act(void (TPageCustomize::*move)()) {
    if (!FWork)
        return;
    (FWork.get()->*move)();
    ShowSides();
}

std::optional<std::vector<TPalettePage>> TfrmCustomize::CustomizePages(const TPalette& palette) {
    FWork = std::make_unique<TPageCustomize>(palette.Pages, palette.CurrentPage());
    ++FUpdating;
    for (QComboBox* box : {cmbLeft, cmbRight}) {
        box->clear();
        for (const std::string& title : palette.SelectorItems())
            box->addItem(QString::fromStdString(title));
    }
    --FUpdating;
    ShowSides();
    const bool accepted = exec() == QDialog::Accepted;
    std::optional<std::vector<TPalettePage>> result;
    if (accepted)
        result = FWork->Pages();
    // The lists must not draw from the pages once they are gone.
    lbLeft->SetRows({}, 40);
    lbRight->SetRows({}, 40);
    FWork.reset();
    return result;
}
