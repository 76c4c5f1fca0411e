#include "ui/part_editor_form.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QShortcut>
#include <QSpinBox>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QVBoxLayout>
#include <limits>

#include "app/stonemill_app.h"
#include "common/convert.h"
#include "common/error.h"
#include "editor/editor_view.h"
#include "editor/part_editor.h"
#include "platform/bitmap.h"
#include "ui/dialogs/part_name_dialog.h"
#include "ui/error_report.h"
#include "ui/icons.h"
#include "ui/repeat_button.h"
#include "ui/ui_helpers.h"

// --- the widgets the window is made of ---

// The view of the stone: shows the editor's picture and turns it by Shift and
// a right drag.
class TEditorPaintBox : public QWidget {
public:
    TEditorPaintBox(TAddHard& form, QWidget* parent) : QWidget(parent), FForm(form) {
        setObjectName("PaintBoxAddStd");
        setMinimumSize(200, 200);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    QImage Shown;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (Shown.isNull())
            painter.fillRect(rect(), palette().window());
        else
            painter.drawImage(0, 0, Shown);
    }
    void resizeEvent(QResizeEvent*) override { FForm.RedrawView(); }
    static bool ShiftAndRightOnly(const QMouseEvent* e) {
        return e->buttons() == Qt::RightButton && e->modifiers() == Qt::ShiftModifier;
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (ShiftAndRightOnly(e))
            FForm.FView.StartDrag(e->position().toPoint().x(), e->position().toPoint().y());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (ShiftAndRightOnly(e) &&
            FForm.FView.DragTo(e->position().toPoint().x(), e->position().toPoint().y()))
            FForm.RedrawView();
    }

private:
    TAddHard& FForm;
};

// A list the editor drags rows out of; the draw-order list also takes drops.
class TEditorListBox : public QListWidget {
public:
    TEditorListBox(TAddHard& form, const char* name, bool takesDrops, QWidget* parent)
        : QListWidget(parent), FForm(form), FTakesDrops(takesDrops) {
        setObjectName(name);
        setDragEnabled(true);
        setAcceptDrops(takesDrops);
        setDragDropMode(takesDrops ? QAbstractItemView::DragDrop : QAbstractItemView::DragOnly);
        setDefaultDropAction(Qt::CopyAction);
        QFont font("Courier New");
        font.setStyleHint(QFont::Monospace);
        setFont(font);
    }

protected:
    void dragEnterEvent(QDragEnterEvent* e) override { Accept(e); }
    void dragMoveEvent(QDragMoveEvent* e) override { Accept(e); }
    void dropEvent(QDropEvent* e) override {
        auto* source = dynamic_cast<TEditorListBox*>(e->source());
        if (!FTakesDrops || source == nullptr)
            return;
        const QModelIndex at = indexAt(e->position().toPoint());
        const int row = at.isValid() ? at.row() : count();
        e->setDropAction(Qt::CopyAction);
        e->accept();
        FForm.DropOnDrawOrder(source, row);
    }

private:
    template <class Event> void Accept(Event* e) {
        auto* source = dynamic_cast<TEditorListBox*>(e->source());
        if (FTakesDrops && source != nullptr && source != FForm.lbCoord) {
            e->setDropAction(Qt::CopyAction);
            e->accept();
        } else {
            e->ignore();
        }
    }
    TAddHard& FForm;
    bool FTakesDrops;
};

namespace {

// A dimension edit: the arrows (and the up and down keys) stretch the part.
class TDimensionEdit : public QSpinBox {
public:
    TDimensionEdit(const char* name, QWidget* parent) : QSpinBox(parent) {
        setObjectName(name);
        setRange(TPartEditor::kSmallestDimension, TPartEditor::kLargestDimension);
    }
    std::function<void()> OnSpin;
    void stepBy(int steps) override {
        QSpinBox::stepBy(steps);
        if (OnSpin)
            OnSpin();
    }
};

// Point rows: the text 8 pixels in, and a down arrow in the margin where the
// point's outgoing edge is outlined.
class TPointRowDelegate : public QStyledItemDelegate {
public:
    TPointRowDelegate(std::function<bool(int)> outlined, QObject* parent)
        : QStyledItemDelegate(parent), FOutlined(std::move(outlined)) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shifted = option;
        shifted.rect.setLeft(option.rect.left() + 8);
        QStyledItemDelegate::paint(painter, shifted, index);
        if (!FOutlined(index.row()))
            return;
        const int left = option.rect.left(), top = option.rect.top(), bottom = option.rect.bottom();
        painter->save();
        painter->setPen(option.palette.color(QPalette::Text));
        painter->drawLine(left + 5, top + 1, left + 5, bottom);
        for (const QPoint p :
             {QPoint(4, bottom - 2), QPoint(6, bottom - 2), QPoint(3, bottom - 3), QPoint(7, bottom - 3)})
            painter->drawPoint(left + p.x(), p.y());
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        size.setHeight(14);
        return size;
    }

private:
    std::function<bool(int)> FOutlined;
};

QSpinBox* PointEdit(const char* name, QWidget* parent) {
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(name);
    edit->setRange(-9999, 9999);
    edit->setAlignment(Qt::AlignRight);
    edit->setButtonSymbols(QAbstractSpinBox::NoButtons);
    edit->setFixedWidth(46);
    // A typed coordinate moves the point once, at Enter or when the edit is left.
    edit->setKeyboardTracking(false);
    return edit;
}

QColor QColorOf(int32_t color) {
    const uint32_t c = static_cast<uint32_t>(color < 0 ? -static_cast<int64_t>(color) : color) & 0xFFFFFF;
    return QColor(static_cast<int>(c & 0xFF), static_cast<int>(c >> 8 & 0xFF),
                  static_cast<int>(c >> 16 & 0xFF));
}

// Redo: Ctrl+Y as on the main window, and the desktop's own redo keys.
QList<QKeySequence> RedoKeys() {
    QList<QKeySequence> keys{QKeySequence(Qt::CTRL | Qt::Key_Y)};
    for (const QKeySequence& key : QKeySequence::keyBindings(QKeySequence::Redo))
        if (!keys.contains(key))
            keys << key;
    return keys;
}

bool IsUndoOrRedoKey(const QKeyEvent* e) {
    const QKeySequence pressed(e->keyCombination());
    return e->matches(QKeySequence::Undo) || RedoKeys().contains(pressed);
}

// The editing keys of a dimension edit, which make a change pending.
bool EditingKey(const QKeyEvent* e) {
    const int key = e->key();
    if (key == Qt::Key_Backspace || key == Qt::Key_Clear || key == Qt::Key_Space || key == Qt::Key_Delete)
        return true;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return true;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return true;
    return (e->modifiers() & Qt::KeypadModifier) != 0;
}

} // namespace

// --- the window ---

TAddHard::TAddHard(TStonemillApp& app, QWidget* parent)
    : QDialog(parent), FEditor(app.PartEditor), FSharedView(app.Scene.View()),
      FCurrentColor(app.Palette.CurrentColor), FBackgroundColor(app.Scene.Background().Color),
      FPicture(std::make_unique<TBitmap>(1, 1, app.Scene.Picture().PixelFormat())),
      FNames(std::make_unique<TAskFileAndPart>(this)) {
    setObjectName("AddHard");
    setWindowTitle("Edit block");
    BuildLayout();
    resize(645, 411);
}

TAddHard::~TAddHard() = default;

QToolButton* TAddHard::ToolButton(const char* name, const char* hint) {
    auto* button = new QToolButton(this);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setAutoRaise(true);
    return button;
}

void TAddHard::BuildLayout() {
    QWidget* left = BuildLeftColumn();
    QWidget* centre = BuildCentre();
    BuildRightColumn();
    QHBoxLayout* bottom = BuildBottomStrip();
    auto* columns = new QHBoxLayout;
    columns->addWidget(left);
    columns->addWidget(centre, 1);
    columns->addWidget(RightColumn);
    auto* layout = new QVBoxLayout(this);
    FMenuBar = new QMenuBar(this);
    BuildMenus(FMenuBar);
    layout->setMenuBar(FMenuBar);
    layout->addLayout(columns, 1);
    layout->addLayout(bottom);
    // The edits' own undo of typed text would hide the part's: eventFilter
    // takes the keys from every edit.
    for (QWidget* edit : findChildren<QAbstractSpinBox*>())
        edit->installEventFilter(this);
    for (QWidget* edit : findChildren<QLineEdit*>())
        edit->installEventFilter(this);
}

// The left column: kind, dimensions, identity.
QWidget* TAddHard::BuildLeftColumn() {
    auto* left = new QWidget(this);
    left->setFixedWidth(113);
    auto* leftLayout = new QVBoxLayout(left);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->addWidget(new QLabel("Block Type", left));
    lbBlockTypes = new QListWidget(left);
    lbBlockTypes->setObjectName("lbBlockTypes");
    for (const char* kind : {"Block", "Roof", "Roof top", "Roof corner", "Roof end", "Roof top corner",
                             "Round", "Window", "General"})
        lbBlockTypes->addItem(kind);
    connect(lbBlockTypes, &QListWidget::currentRowChanged, this, [this](int row) { KindClick(row); });
    leftLayout->addWidget(lbBlockTypes, 1);
    auto* dimensions = new QGroupBox("Dimensions", left);
    auto* grid = new QGridLayout(dimensions);
    auto addDimension = [&](const char* label, const char* name, int row) {
        auto* edit = new TDimensionEdit(name, dimensions);
        edit->OnSpin = [this] { DimensionSpin(); };
        edit->installEventFilter(this);
        grid->addWidget(new QLabel(label, dimensions), row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    edtX = addDimension("X:", "edtX", 0);
    edtY = addDimension("Y:", "edtY", 1);
    edtZ = addDimension("Z:", "edtZ", 2);
    sbApply = ToolButton("sbApply", "Apply the new dimensions");
    sbApply->setText("\u2713");
    sbNoApply = ToolButton("sbNoApply", "Keep the old dimensions");
    sbNoApply->setText("\u2717");
    ShowDimensionsPending();
    connect(sbApply, &QToolButton::clicked, this, [this] { ApplyClick(); });
    connect(sbNoApply, &QToolButton::clicked, this, [this] { RevertClick(); });
    auto* applyRow = new QHBoxLayout;
    applyRow->addWidget(sbApply);
    applyRow->addWidget(sbNoApply);
    grid->addLayout(applyRow, 3, 0, 1, 2);
    leftLayout->addWidget(dimensions);
    auto* identity = new QGroupBox("Identity", left);
    auto* identityLayout = new QVBoxLayout(identity);
    edtIdent = new QLineEdit(identity);
    edtIdent->setObjectName("edtIdent");
    connect(edtIdent, &QLineEdit::textEdited, this, [this](const QString& text) {
        FEditor.SetIdentity(text.toStdString());
        ShowUndoRedo();
    });
    identityLayout->addWidget(edtIdent);
    leftLayout->addWidget(identity);
    return left;
}

// The centre: the tool strip and the view.
QWidget* TAddHard::BuildCentre() {
    auto* centre = new QWidget(this);
    FCentre = centre;
    auto* centreLayout = new QVBoxLayout(centre);
    centreLayout->setContentsMargins(0, 0, 0, 0);
    centreLayout->addLayout(BuildToolStrip());
    PaintBoxAddStd = new TEditorPaintBox(*this, centre);
    centreLayout->addWidget(PaintBoxAddStd, 1);
    return centre;
}

// Above the view: turning and zooming, the see-through stone, the detail
// level and the colour of the selected face.
QHBoxLayout* TAddHard::BuildToolStrip() {
    auto* strip = new QHBoxLayout;
    struct TTool {
        const char* Name;
        const char* Hint;
        TGlyph Glyph;
        std::function<void()> Click;
    };
    const TTool tools[] = {
        {"btnRotLeft", "Turn left", glRotateLeft, [this] { FView.TurnBy(-1); }},
        {"btnRotUp", "Tilt up", glRotateUp, [this] { FView.TiltBy(1); }},
        {"btnRotDown", "Tilt down", glRotateDown, [this] { FView.TiltBy(-1); }},
        {"btnRotRight", "Turn right", glRotateRight, [this] { FView.TurnBy(1); }},
        {"btnZoomIn", "Zoom in", glZoomIn, [this] { FView.ZoomBy(1); }},
        {"btnZoomOut", "Zoom out", glZoomOut, [this] { FView.ZoomBy(-1); }},
    };
    for (const TTool& tool : tools) {
        QToolButton* button = ToolButton(tool.Name, tool.Hint);
        button->setIcon(GlyphIcon(tool.Glyph));
        SetRepeating(button);
        connect(button, &QToolButton::clicked, this, [this, click = tool.Click] {
            click();
            RedrawView();
        });
        strip->addWidget(button);
    }
    // Undo and redo of the part's changes, with the desktop's keys even while
    // an edit has the focus (see eventFilter).
    btnUndo = ToolButton("btnUndo", "Undo (Ctrl+Z)");
    btnUndo->setIcon(GlyphIcon(glUndo));
    connect(btnUndo, &QToolButton::clicked, this, [this] { UndoClick(); });
    strip->addWidget(btnUndo);
    btnRedo = ToolButton("btnRedo", "Redo (Ctrl+Y)");
    btnRedo->setIcon(GlyphIcon(glRedo));
    connect(btnRedo, &QToolButton::clicked, this, [this] { RedoClick(); });
    strip->addWidget(btnRedo);
    auto* undoKey = new QShortcut(QKeySequence::Undo, this);
    connect(undoKey, &QShortcut::activated, this, [this] { UndoClick(); });
    for (const QKeySequence& keys : RedoKeys()) {
        auto* redoKey = new QShortcut(keys, this);
        connect(redoKey, &QShortcut::activated, this, [this] { RedoClick(); });
    }
    btnWireBase = ToolButton("btnWireBase", "See-through stone");
    btnWireBase->setIcon(GlyphIcon(glRendering));
    btnWireBase->setCheckable(true);
    connect(btnWireBase, &QToolButton::clicked, this,
            [this] { Run([this] { FEditor.ToggleStoneTransparent(); }); });
    strip->addWidget(btnWireBase);
    auto detailButton = [&](const char* name, int level) {
        QToolButton* button = ToolButton(name, "Detail level");
        button->setText(QString::number(level));
        button->setCheckable(true);
        button->setAutoExclusive(true);
        connect(button, &QToolButton::clicked, this, [this, level] {
            FView.DetailLevel = level;
            RedrawView();
        });
        strip->addWidget(button);
        return button;
    };
    spbDet0 = detailButton("spbDet0", 0);
    spbDet1 = detailButton("spbDet1", 1);
    spbDet2 = detailButton("spbDet2", 2);
    spbDet0->setChecked(true);
    spbColor = ToolButton("spbColor", "Colour of the selected face");
    spbColor->setIcon(GlyphIcon(glChooseColor));
    connect(spbColor, &QToolButton::clicked, this, [this] {
        if (FEditor.SelectedPolygon < 0 || !FEditor.WorkingCopy())
            return;
        const QColor chosen = QColorDialog::getColor(
            QColorOf(FEditor.WorkingCopy()->GetColor(FEditor.SelectedPolygon)), this, "Colour");
        if (chosen.isValid())
            Run([&] {
                FEditor.SetColor(static_cast<int32_t>(RGB(chosen.red(), chosen.green(), chosen.blue())));
            });
    });
    strip->addWidget(spbColor);
    strip->addStretch();
    return strip;
}

// The right column, shown for general stones: the three lists and the edits
// under them.
void TAddHard::BuildRightColumn() {
    RightColumn = new QWidget(this);
    RightColumn->setObjectName("RightColumn");
    RightColumn->setFixedWidth(240);
    auto* right = new QGridLayout(RightColumn);
    right->setContentsMargins(0, 0, 0, 0);
    right->addWidget(new QLabel("Faces", RightColumn), 0, 0, 1, 2);
    right->addWidget(new QLabel("Coordinates", RightColumn), 0, 2);
    right->addWidget(new QLabel("All", RightColumn), 1, 0);
    right->addWidget(new QLabel("Draw", RightColumn), 1, 1);
    lbAllPolys = new TEditorListBox(*this, "lbAllPolys", false, RightColumn);
    lbDrawOrder = new TEditorListBox(*this, "lbDrawOrder", true, RightColumn);
    lbCoord = new TEditorListBox(*this, "lbCoord", false, RightColumn);
    lbCoord->setItemDelegate(
        new TPointRowDelegate([this](int row) { return FEditor.PointRowOutlined(row); }, lbCoord));
    lbAllPolys->setFixedWidth(48);
    lbDrawOrder->setFixedWidth(48);
    right->addWidget(lbAllPolys, 2, 0);
    right->addWidget(lbDrawOrder, 2, 1);
    right->addWidget(lbCoord, 1, 2, 2, 1);
    right->setRowStretch(2, 1);
    connect(lbAllPolys, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PolygonClick(lbAllPolys->row(item)); });
    connect(lbDrawOrder, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { DrawOrderClick(lbDrawOrder->row(item)); });
    connect(lbCoord, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { PointClick(lbCoord->row(item)); });
    lbAllPolys->installEventFilter(this);
    lbCoord->installEventFilter(this);
    lbCoord->viewport()->installEventFilter(this);
    lbAllPolys->setContextMenuPolicy(Qt::CustomContextMenu);
    lbDrawOrder->setContextMenuPolicy(Qt::CustomContextMenu);
    right->addLayout(BuildFaceEdits(), 3, 0, 1, 3);
}

// Under the lists, three compact rows: the face's detail and the walls drawn
// out of it; adding and deleting with the octant shown; the point.
QGridLayout* TAddHard::BuildFaceEdits() {
    auto* edits = new QGridLayout;
    edits->setVerticalSpacing(2);
    edits->addWidget(new QLabel("Detail:", RightColumn), 0, 0);
    cbDetail = new QComboBox(RightColumn);
    cbDetail->setObjectName("cbDetail");
    cbDetail->setEditable(true);
    cbDetail->addItems({"0", "1", "2"});
    connect(cbDetail, &QComboBox::textActivated, this,
            [this](const QString& text) { Run([&] { FEditor.SetDetail(StrToInt(text.toStdString())); }); });
    edits->addWidget(cbDetail, 0, 1, 1, 2);
    btnExtrude = new QPushButton("Extend", RightColumn);
    btnExtrude->setObjectName("btnExtrude");
    btnExtrude->setAutoDefault(false);
    spExt = new QSpinBox(RightColumn);
    spExt->setObjectName("spExt");
    spExt->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    spExt->setValue(80);
    connect(btnExtrude, &QPushButton::clicked, this, [this] {
        Run([this] {
            FEditor.ExtrudeDistance = spExt->value();
            FEditor.Extrude();
        });
    });
    edits->addWidget(btnExtrude, 0, 3, 1, 2);
    edits->addWidget(spExt, 0, 5, 1, 2);
    btnAddPolygon = ToolButton("btnAddPolygon", "Add a face (a copy of the selected one)");
    btnAddPolygon->setText("+");
    connect(btnAddPolygon, &QToolButton::clicked, this,
            [this] { Run([this] { FEditor.AddPolygon(true); }); });
    btnTrash = ToolButton("btnTrash", "Drop a face, a draw-order entry or a point here to delete it");
    btnTrash->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    btnTrash->setAcceptDrops(true);
    btnTrash->installEventFilter(this);
    edits->addWidget(btnAddPolygon, 1, 0);
    edits->addWidget(btnTrash, 1, 1);
    edits->addWidget(new QLabel("Octant:", RightColumn), 1, 3, 1, 2);
    speOctant = new QSpinBox(RightColumn);
    speOctant->setObjectName("speOctant");
    speOctant->setRange(0, 7);
    connect(speOctant, &QSpinBox::valueChanged, this, [this](int octant) { OctantChanged(octant); });
    edits->addWidget(speOctant, 1, 5, 1, 2);
    AdjX = PointEdit("AdjX", RightColumn);
    AdjY = PointEdit("AdjY", RightColumn);
    AdjZ = PointEdit("AdjZ", RightColumn);
    auto* pointRow = new QHBoxLayout;
    pointRow->setSpacing(2);
    for (auto [label, edit] : {std::pair{"X:", AdjX}, std::pair{"Y:", AdjY}, std::pair{"Z:", AdjZ}}) {
        pointRow->addWidget(new QLabel(label, RightColumn));
        pointRow->addWidget(edit);
        connect(edit, &QSpinBox::valueChanged, this, [this] { PointEditChanged(); });
    }
    btnAddVertex = ToolButton("btnAddVertex", "Add a point (a copy of the edits' point)");
    btnAddVertex->setText("+");
    connect(btnAddVertex, &QToolButton::clicked, this, [this] { Run([this] { FEditor.AddPoint(true); }); });
    pointRow->addWidget(btnAddVertex);
    edits->addLayout(pointRow, 2, 0, 1, 7);
    return edits;
}

// The bottom strip: confirm and cancel.
QHBoxLayout* TAddHard::BuildBottomStrip() {
    btnAddPiece = new QPushButton("Add", this);
    btnAddPiece->setObjectName("btnAddPiece");
    btnAddPiece->setDefault(false);
    btnAddPiece->setAutoDefault(false);
    btnCancel = new QPushButton("Cancel", this);
    btnCancel->setObjectName("btnCancel");
    btnCancel->setAutoDefault(false);
    connect(btnAddPiece, &QPushButton::clicked, this, [this] { ConfirmClick(); });
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(btnAddPiece);
    bottom->addWidget(btnCancel);
    return bottom;
}

void TAddHard::BuildMenus(QMenuBar* bar) {
    auto item = [this](QMenu* menu, const char* caption, std::function<void()> action) {
        QAction* a = menu->addAction(caption);
        connect(a, &QAction::triggered, this, [this, action] { Run(action); });
        return a;
    };
    QMenu* add = bar->addMenu("&Add");
    item(add, "&Surface", [this] { FEditor.AddPolygon(false); });
    item(add, "&Point", [this] { FEditor.AddPoint(false); });
    QMenu* copy = bar->addMenu("&Copy");
    item(copy, "&Surface", [this] { FEditor.AddPolygon(true); });
    item(copy, "&Point", [this] { FEditor.AddPoint(true); });
    for (auto [caption, rotate] : {std::pair{"&Mirror", false}, std::pair{"&Rotate", true}}) {
        QMenu* menu = bar->addMenu(caption);
        const char* items[] = {"&X", "&Y", "&Z", "All &X", "All &Y", "All &Z"};
        for (int tag = 0; tag < kShapeTagCount; ++tag) {
            if (tag == 3)
                menu->addSeparator();
            item(menu, items[tag], [this, tag, rotate = rotate] {
                if (rotate)
                    FEditor.Rotate(tag);
                else
                    FEditor.Mirror(tag);
            });
        }
    }
    QMenu* sort = bar->addMenu("&Sort");
    item(sort, "&Current", [this] { FEditor.Sort(ShownOctant(), ShownOctant()); });
    item(sort, "&All", [this] { FEditor.Sort(0, kOctantCount - 1); });

    pmDrawOrder = new QMenu(this);
    item(pmDrawOrder, "&Sort", [this] { FEditor.Sort(ShownOctant(), ShownOctant()); });
    connect(lbDrawOrder, &QWidget::customContextMenuRequested, this,
            [this](QPoint at) { pmDrawOrder->popup(lbDrawOrder->mapToGlobal(at)); });
    pmPolygons = new QMenu(this);
    pmTransparent = item(pmPolygons, "Transparent", [this] { FEditor.ToggleTransparent(); });
    pmBorder = item(pmPolygons, "Border", [this] { FEditor.ToggleBorder(); });
    pmPolygons->addSeparator();
    pmDelete = new QAction("Delete", pmPolygons);
    pmPolygons->addAction(pmDelete);
    connect(pmDelete, &QAction::triggered, this, [this] {
        if (lbAllPolys->currentItem() != nullptr)
            DeletePolygonRow(false);
    });
    pmTransparent->setCheckable(true);
    pmBorder->setCheckable(true);
    connect(lbAllPolys, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        const bool selected = FEditor.WorkingCopy() && FEditor.SelectedPolygon >= 0;
        for (QAction* a : {pmTransparent, pmBorder, pmDelete})
            a->setEnabled(selected);
        if (selected) {
            pmTransparent->setChecked(FEditor.WorkingCopy()->GetColor(FEditor.SelectedPolygon) < 0);
            pmBorder->setChecked((FEditor.WorkingCopy()->GetEdgeFlags(FEditor.SelectedPolygon) & 1) != 0);
        }
        pmPolygons->popup(lbAllPolys->mapToGlobal(at));
    });
}

// --- opening and results ---

void TAddHard::LoadEntry(const std::string& entry, bool asNew) {
    FView.Reset();
    FEditor.StoneColor = FCurrentColor;
    Run([&] { FEditor.LoadEntry(entry, asNew); });
}

void TAddHard::SetTitles(const std::string& caption, const std::string& buttonText) {
    setWindowTitle(Text(caption));
    btnAddPiece->setText(Text(buttonText));
}

std::string TAddHard::GetEntry() const {
    return FEditor.GetEntry();
}

int TAddHard::GetPictureHeight() const {
    return FEditor.GetPictureHeight();
}

void TAddHard::showEvent(QShowEvent* event) {
    // The editor draws at detail level 0 until a detail button says otherwise.
    FView.DetailLevel = 0;
    spbDet0->setChecked(true);
    ShowState();
    QDialog::showEvent(event);
}

void TAddHard::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TAddHard::Run(const std::function<void()>& change) {
    RunReporting(this, change, "The part could not be changed.");
    ShowState();
}

// --- showing the state ---

int TAddHard::ShownOctant() const {
    return speOctant->value();
}

void TAddHard::ShowState() {
    FUpdatingDimensions = true;
    const int row = FEditor.KindRow();
    lbBlockTypes->setCurrentRow(row);
    if (row < 0)
        lbBlockTypes->clearSelection();
    edtX->setValue(FEditor.DimensionEdits.X);
    edtY->setValue(FEditor.DimensionEdits.Y);
    edtZ->setValue(FEditor.DimensionEdits.Z);
    FUpdatingDimensions = false;
    ShowDimensionsPending();
    ShowUndoRedo();
    if (edtIdent->text() != Text(FEditor.Identity))
        edtIdent->setText(Text(FEditor.Identity));
    btnWireBase->setChecked(FEditor.Stone() && FEditor.Stone()->Transparent);
    ShowControlsForKind();
    FillPolygonList();
    FillDrawOrderList();
    FillPointList();
    ShowPointEdits();
    RedrawView();
}

void TAddHard::ShowControlsForKind() {
    const bool general = FEditor.WorkingCopy() != nullptr;
    if (general != RightColumn->isVisibleTo(this)) {
        // Without the right column the window ends 10 pixels after the view;
        // with it, it takes back the width it had.
        const int narrow = FCentre->geometry().right() + 10;
        if (!general)
            FWideWidth = width();
        RightColumn->setVisible(general);
        layout()->activate();
        resize(general ? std::max(FWideWidth, minimumSizeHint().width()) : narrow, height());
    }
    for (QWidget* w : {static_cast<QWidget*>(spbDet0), static_cast<QWidget*>(spbDet1),
                       static_cast<QWidget*>(spbDet2), static_cast<QWidget*>(spbColor)})
        w->setVisible(general);
    for (QAction* menu : FMenuBar->actions())
        menu->setEnabled(general);
    if (!general) {
        FUpdatingOctant = true;
        speOctant->setValue(0);
        FUpdatingOctant = false;
    }
}

void TAddHard::ShowDimensionsPending() {
    sbApply->setEnabled(FEditor.DimensionsPending());
    sbNoApply->setEnabled(FEditor.DimensionsPending());
}

void TAddHard::ShowUndoRedo() {
    btnUndo->setEnabled(FEditor.CanUndo());
    btnRedo->setEnabled(FEditor.CanRedo());
}

void TAddHard::FillPolygonList() {
    const int row = lbAllPolys->currentRow();
    lbAllPolys->clear();
    if (TDrawClass* copy = FEditor.WorkingCopy()) {
        for (int p = 0; p < copy->PolygonCount(); ++p)
            lbAllPolys->addItem(Text(FEditor.PolygonRowText(p)));
        const int selected =
            FEditor.SelectedPolygon >= 0 ? FEditor.SelectedPolygon : std::min(row, lbAllPolys->count() - 1);
        lbAllPolys->setCurrentRow(selected);
    }
}

void TAddHard::FillDrawOrderList() {
    lbDrawOrder->clear();
    if (TDrawClass* copy = FEditor.WorkingCopy())
        for (int k = 0; k < copy->GetDrawCount(ShownOctant()); ++k)
            lbDrawOrder->addItem(QString::number(FEditor.DrawEntryPolygon(ShownOctant(), k) + 1));
}

void TAddHard::FillPointList() {
    lbCoord->clear();
    TDrawClass* copy = FEditor.WorkingCopy();
    if (!copy || FEditor.SelectedPolygon < 0)
        return;
    for (int i = 0; i < copy->GetPointCount(FEditor.SelectedPolygon); ++i)
        lbCoord->addItem(Text(TPartEditor::PointRowText(copy->GetPoint(FEditor.SelectedPolygon, i))));
    lbCoord->setCurrentRow(FEditor.SelectedPoint);
}

void TAddHard::ShowPointEdits() {
    FUpdatingPoints = true;
    AdjX->setValue(FEditor.PointEdits.X);
    AdjY->setValue(FEditor.PointEdits.Y);
    AdjZ->setValue(FEditor.PointEdits.Z);
    if (FEditor.WorkingCopy() && FEditor.SelectedPolygon >= 0)
        cbDetail->setCurrentText(QString::number(FEditor.WorkingCopy()->GetDetail(FEditor.SelectedPolygon)));
    FUpdatingPoints = false;
}

void TAddHard::RedrawView() {
    const QSize size = PaintBoxAddStd->size();
    FPicture->SetSize(std::max(size.width(), 1), std::max(size.height(), 1));
    int octant = ShownOctant();
    if (!DrawEditorView(*FPicture, FEditor.Stone(), FView, FSharedView, FBackgroundColor, octant))
        return; // without a stone the view stays as it was
    PaintBoxAddStd->Shown = FPicture->ToImage();
    PaintBoxAddStd->update();
    if (FEditor.WorkingCopy() && octant != ShownOctant()) {
        FUpdatingOctant = true;
        speOctant->setValue(octant);
        FUpdatingOctant = false;
    }
}

// --- handlers ---

void TAddHard::KindClick(int row) {
    if (FUpdatingDimensions)
        return;
    Run([&] { FEditor.ChangeKind(row); });
}

void TAddHard::DimensionKey(int key) {
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ApplyClick();
        return;
    }
    if (key == Qt::Key_Escape) {
        RevertClick();
        return;
    }
    FEditor.TypeDimensions();
    ShowDimensionsPending();
}

void TAddHard::ApplyClick() {
    if (FUpdatingDimensions)
        return;
    Run([this] {
        FEditor.DimensionEdits = {edtX->value(), edtY->value(), edtZ->value()};
        FEditor.ApplyDimensions();
    });
}

void TAddHard::RevertClick() {
    FEditor.RevertDimensions();
    ShowState();
}

void TAddHard::DimensionSpin() {
    if (FUpdatingDimensions)
        return;
    const TPartExtents edits{edtX->value(), edtY->value(), edtZ->value()};
    Run([&] {
        FEditor.DimensionEdits = edits;
        FEditor.SpinDimensions();
    });
}

void TAddHard::PolygonClick(int row) {
    Run([&] { FEditor.SelectPolygon(row); });
}

void TAddHard::DrawOrderClick(int row) {
    const int polygon = FEditor.DrawEntryPolygon(ShownOctant(), row);
    Run([&] { FEditor.SelectPolygon(polygon); });
}

void TAddHard::PointClick(int row) {
    FEditor.SelectPoint(row);
    ShowPointEdits();
}

void TAddHard::PointEditChanged() {
    if (FUpdatingPoints)
        return;
    Run([this] { FEditor.MovePointEdits({AdjX->value(), AdjY->value(), AdjZ->value()}); });
}

void TAddHard::OctantChanged(int octant) {
    FillDrawOrderList();
    if (FUpdatingOctant || !FEditor.WorkingCopy())
        return;
    FView.ShowOctant(octant);
    RedrawView();
}

void TAddHard::ConfirmClick() {
    bool confirmed = false;
    Run([&] {
        confirmed = FEditor.Confirm([this](
                                        const std::string& proposed) -> std::optional<TPartEditor::TNames> {
            if (FNames->FileName().empty())
                FNames->SetFileName(proposed);
            // A name that is taken is given only once the user agrees to
            // replace that part; No asks for the names again.
            while (FNames->exec() == QDialog::Accepted) {
                TPartEditor::TNames names{FNames->FileName(), FNames->PartName()};
                if (!TPartEditor::PartNameTaken(names))
                    return names;
                const QString part = QString::fromStdString(names.Part.substr(0, names.Part.find('|')));
                if (QMessageBox::warning(
                        this, "Enter part information",
                        QString("A part named \"%1\" already exists.\nDo you want to replace it?").arg(part),
                        QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes) {
                    names.Replace = true;
                    return names;
                }
            }
            return std::nullopt;
        });
    });
    if (confirmed)
        accept();
}

void TAddHard::UndoClick() {
    Run([this] { FEditor.Undo(); });
}

void TAddHard::RedoClick() {
    Run([this] { FEditor.Redo(); });
}

void TAddHard::DeletePolygonRow(bool ask) {
    const int polygon = FEditor.PolygonAtRow(lbAllPolys->currentRow());
    if (ask &&
        QMessageBox::question(this, "Confirm", "Do You really want to delete\nthis polygon permanently?",
                              QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    Run([&] { FEditor.DeletePolygon(polygon); });
}

void TAddHard::DropOnDrawOrder(QListWidget* source, int targetRow) {
    if (source == lbDrawOrder) {
        const int from = lbDrawOrder->currentRow();
        if (targetRow >= 0 && targetRow < lbDrawOrder->count())
            Run([&] { FEditor.MoveDrawEntry(ShownOctant(), from, targetRow); });
    } else if (source == lbAllPolys && lbAllPolys->currentItem() != nullptr) {
        const int polygon = FEditor.PolygonAtRow(lbAllPolys->currentRow());
        Run([&] { FEditor.InsertDrawEntry(ShownOctant(), targetRow, polygon); });
    }
}

void TAddHard::DropOnTrash(QListWidget* source) {
    if (source == lbDrawOrder && lbDrawOrder->currentRow() >= 0) {
        const int row = lbDrawOrder->currentRow();
        Run([&] { FEditor.RemoveDrawEntry(ShownOctant(), row); });
    } else if (source == lbAllPolys && lbAllPolys->currentItem() != nullptr) {
        DeletePolygonRow(true);
    } else if (source == lbCoord && FEditor.SelectedPoint >= 0) {
        Run([this] { FEditor.DeletePoint(); });
    }
}

void TAddHard::PointRightClick(int row) {
    if (row < 0 || row > 30)
        return;
    Run([&] { FEditor.ToggleEdge(row); });
}

bool TAddHard::eventFilter(QObject* watched, QEvent* event) {
    if (watched == btnTrash && (event->type() == QEvent::DragEnter || event->type() == QEvent::Drop)) {
        auto* drop = static_cast<QDropEvent*>(event);
        auto* source = dynamic_cast<TEditorListBox*>(drop->source());
        if (source == nullptr)
            return false;
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        if (event->type() == QEvent::Drop)
            DropOnTrash(source);
        return true;
    }
    // Undo and redo keys in an edit undo the part's changes, not the edit's
    // text: the key is taken here, whichever window the desktop has active.
    const bool edit =
        qobject_cast<QAbstractSpinBox*>(watched) != nullptr || qobject_cast<QLineEdit*>(watched) != nullptr;
    if (edit && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsUndoOrRedoKey(key)) {
            key->accept();
            if (event->type() == QEvent::KeyPress) {
                if (key->matches(QKeySequence::Undo))
                    UndoClick();
                else
                    RedoClick();
            }
            return true;
        }
    }
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == lbCoord) {
            // Every key moves by the edits; A/Z, S/X and D/C step them first.
            const QString text = key->text();
            const char letter = text.size() == 1 ? static_cast<char>(text.at(0).toLatin1()) : '\0';
            Run([&] { FEditor.PointKey(letter); });
            return true;
        }
        if (watched == lbAllPolys && key->key() == Qt::Key_Delete) {
            if (lbAllPolys->currentItem() != nullptr)
                DeletePolygonRow(false);
            return true;
        }
        if (watched == edtX || watched == edtY || watched == edtZ) {
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || key->key() == Qt::Key_Escape) {
                DimensionKey(key->key());
                return true; // neither closes the window
            }
            if (EditingKey(key))
                DimensionKey(key->key());
        }
    }
    if (watched == lbCoord->viewport() && event->type() == QEvent::MouseButtonPress) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && FEditor.SelectedPolygon >= 0) {
            const QModelIndex at = lbCoord->indexAt(mouse->position().toPoint());
            if (at.isValid())
                PointRightClick(at.row());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
