#include "ui/dialogs/reorder_pages_dialog.h"
#include "ui/dialogs/dialog_buttons.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "ui/repeat_button.h"

TfrmReorder::TfrmReorder(QWidget* parent) : QDialog(parent) {
    setObjectName("frmReorder");
    setWindowTitle("Reorder pages");
    resize(256, 335);
    lbRight = new QListWidget(this);
    lbRight->setObjectName("lbRight");
    connect(lbRight, &QListWidget::currentRowChanged, this, [this](int row) {
        if (FWork)
            FWork->Selected = row;
    });

    auto* moves = new QVBoxLayout;
    struct TMoveButton {
        const char* Name;
        const char* Caption;
        const char* Hint;
        void (TPageReorder::*Move)();
    };
    const TMoveButton buttons[] = {
        {"sbHome", "Top", "Move the page to the top", &TPageReorder::Home},
        {"sbUp10", "Up 10", "Move the page ten places up", &TPageReorder::Up10},
        {"sbUp1", "Up", "Move the page one place up", &TPageReorder::Up1},
        {"sbDown1", "Down", "Move the page one place down", &TPageReorder::Down1},
        {"sbDown10", "Down 10", "Move the page ten places down", &TPageReorder::Down10},
        {"sbEnd", "End", "Move the page to the end", &TPageReorder::End},
    };
    for (const TMoveButton& b : buttons) {
        QToolButton* button = MakeRepeatButton(b.Name, b.Caption, b.Hint, this);
        const auto move = b.Move;
        connect(button, &QToolButton::clicked, this, [this, move] { Move(move); });
        moves->addWidget(button);
    }
    moves->addStretch();

    QDialogButtonBox* box = MakeOkCancel(this);

    auto* layout = new QGridLayout(this);
    layout->addWidget(lbRight, 0, 0);
    layout->addLayout(moves, 0, 1);
    layout->addWidget(box, 1, 0, 1, 2);
}

void TfrmReorder::ShowPages() {
    lbRight->blockSignals(true);
    lbRight->clear();
    for (const TPalettePage& page : FWork->Pages())
        lbRight->addItem(QString::fromStdString(page.Title));
    lbRight->setCurrentRow(FWork->Selected);
    lbRight->blockSignals(false);
}

void TfrmReorder::Move(void (TPageReorder::*move)()) {
    if (!FWork)
        return;
    (FWork.get()->*move)();
    ShowPages();
}

std::optional<std::vector<TPalettePage>> TfrmReorder::ReorderPages(const std::vector<TPalettePage>& pages) {
    FWork = std::make_unique<TPageReorder>(pages);
    ShowPages();
    const bool accepted = exec() == QDialog::Accepted;
    std::optional<std::vector<TPalettePage>> result;
    if (accepted)
        result = FWork->TakePages();
    FWork.reset();
    return result;
}
