#include "ui/dialogs/toolbox_window.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/stonemill_app.h"
#include "common/convert.h"
#include "ui/dialogs/dialog_buttons.h"

TAdvOptions::TAdvOptions(TStonemillApp& app, QWidget* parent) : QDialog(parent, Qt::Tool), FApp(app) {
    setObjectName("AdvOptions");
    setWindowTitle("Advanced toolbox");
    auto button = [this](QWidget* parent, const char* name, const char* caption,
                         std::function<void()> click) {
        auto* b = new QPushButton(caption, parent);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, click] {
            click();
            ReturnFocus();
        });
        return b;
    };
    auto* selection = new QGroupBox("Selection", this);
    auto* grid = new QGridLayout(selection);
    grid->addWidget(button(selection, "sbColor", "Color this piece",
                           [this] { OnSelection([this] { FApp.Selection.ColorSelection(); }); }),
                    0, 0);
    grid->addWidget(button(selection, "spTransp", "Transparent",
                           [this] { OnSelection([this] { FApp.Selection.ToggleSelectionTransparent(); }); }),
                    1, 0);
    grid->addWidget(button(selection, "spTurn", "Turn",
                           [this] { OnSelection([this] { FApp.Selection.TurnSelection(); }); }),
                    2, 0);
    spMakeGroup = button(selection, "spMakeGroup", "Make group",
                         [this] { Run([this] { FApp.Selection.MakeGroup(); }); });
    spBreakGroup = button(selection, "spBreakGroup", "Break group",
                          [this] { Run([this] { FApp.Selection.BreakGroups(); }); });
    spMakeGroup->setEnabled(false);
    spBreakGroup->setEnabled(false);
    grid->addWidget(spMakeGroup, 3, 0);
    grid->addWidget(spBreakGroup, 4, 0);
    grid->addWidget(button(selection, "spSelectAll", "Select all",
                           [this] { Run([this] { FApp.Selection.SelectAll(); }); }),
                    5, 0);
    grid->addWidget(button(selection, "spDeselectAll", "Deselect all",
                           [this] { Run([this] { FApp.Selection.DeselectAll(); }); }),
                    6, 0);
    const char* axes[3] = {"X:", "Y:", "Z:"};
    const char* edits[3] = {"edX", "edY", "edZ"};
    const char* moves[3] = {"sbMoveX", "sbMoveY", "sbMoveZ"};
    const char* positions[3] = {"lx", "ly", "lz"};
    const char* spins[3] = {"sx", "sy", "sz"};
    for (int axis = 0; axis < 3; ++axis) {
        const int row = axis;
        grid->addWidget(new QLabel(axes[axis], selection), row, 1);
        auto* steps = new QLineEdit("0", selection);
        steps->setObjectName(edits[axis]);
        steps->setFixedWidth(48);
        FSteps[static_cast<size_t>(axis)] = steps;
        grid->addWidget(steps, row, 2);
        auto* move = new QToolButton(selection);
        move->setObjectName(moves[axis]);
        move->setArrowType(Qt::RightArrow);
        move->setToolTip("Move by the number of grid steps");
        connect(move, &QToolButton::clicked, this, [this, axis] {
            Move(axis);
            ReturnFocus();
        });
        grid->addWidget(move, row, 3);
        auto* position = new QLabel("0", selection);
        position->setObjectName(positions[axis]);
        position->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        position->setMinimumWidth(48);
        FPosition[static_cast<size_t>(axis)] = position;
        grid->addWidget(position, row, 4);
        QWidget* spin = MakeSpinArrows(selection, spins[axis], [this, axis](bool up) {
            OnSelection([this, axis, up] { FApp.Selection.MoveSelection(axis, up ? 1 : -1); });
            ReturnFocus();
        });
        grid->addWidget(spin, row, 5);
    }
    grid->addWidget(new QLabel("Resolution:", selection), 4, 1, 1, 2);
    cbResolution = new QComboBox(selection);
    cbResolution->setObjectName("cbResolution");
    cbResolution->setToolTip("Positioning grid");
    cbResolution->addItems({"Normal", "Half", "Quarter", "Eighth", "Fine"});
    cbResolution->setCurrentIndex(FApp.Hand.Grid);
    connect(cbResolution, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (!FUpdatingResolution && index >= 0 && OnResolution)
            OnResolution(index);
    });
    grid->addWidget(cbResolution, 5, 1, 1, 4);

    auto* general = new QGroupBox("General", this);
    auto* generalRow = new QHBoxLayout(general);
    generalRow->addWidget(button(general, "spReplaceColor", "Replace color",
                                 [this] { Run([this] { FApp.Selection.ReplaceColor(); }); }));
    generalRow->addWidget(button(general, "spUseThisColor", "Use this color",
                                 [this] { Run([this] { FApp.PaletteCommands.UseThisColor(); }); }));
    generalRow->addWidget(button(general, "spClose", "Close", [this] { hide(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(selection);
    layout->addWidget(general);
    Run = [](const std::function<void()>& command) { command(); };
}

void TAdvOptions::OnSelection(const std::function<void()>& command) {
    Run(command);
    ShowPosition();
}

void TAdvOptions::Move(int axis) {
    Run([this, axis] {
        // A count that is no whole number is reported before anything moves.
        const int steps = StrToInt(FSteps[static_cast<size_t>(axis)]->text().toStdString());
        FApp.Selection.MoveSelection(axis, steps);
    });
    ShowPosition();
}

void TAdvOptions::ReturnFocus() {
    if (isVisible() && parentWidget() != nullptr)
        parentWidget()->window()->activateWindow();
}

void TAdvOptions::UpdateGroupButtons() {
    spMakeGroup->setEnabled(FApp.Selection.CanMakeGroup());
    spBreakGroup->setEnabled(FApp.Selection.CanBreakGroups());
}

void TAdvOptions::ShowPosition() {
    const TPoint3D p = FApp.Selection.ToolboxPosition();
    const int values[3] = {p.X, p.Y, p.Z};
    for (size_t i = 0; i < 3; ++i)
        FPosition[i]->setText(QString::number(values[i]));
}

void TAdvOptions::SetResolution(int index) {
    FUpdatingResolution = true;
    cbResolution->setCurrentIndex(index);
    FUpdatingResolution = false;
}

void TAdvOptions::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous() && OnHidden)
        OnHidden();
}
