#pragma once
// TAddHard: the part editor window. The kind list and the dimensions on the
// left, the editor's own view of the stone in the middle, and for general
// stones the polygon, draw-order and point lists on the right with the edits
// of the selected polygon and point. Every change goes through the core's
// TPartEditor; the window shows its state afterwards.

#include <QDialog>
#include <memory>
#include <string>

#include "common/color.h"
#include "editor/editor_view_state.h"

class QAction;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QMenuBar;
class QPushButton;
class QSpinBox;
class QToolButton;
class QWidget;
class TAskFileAndPart;
class TBitmap;
class TEditorListBox;
class TEditorPaintBox;
class TPartEditor;
class TRenderState;
class TStonemillApp;

class TAddHard : public QDialog {
    Q_OBJECT
public:
    // Takes from the application the part editor's state, the picture's pixel
    // format, the current colour, and the view and background it draws with.
    TAddHard(TStonemillApp& app, QWidget* parent);
    ~TAddHard() override;

    // Loads an entry string (the palette's add command passes asNew).
    void LoadEntry(const std::string& entry, bool asNew);
    void SetTitles(const std::string& caption, const std::string& buttonText);
    std::string GetEntry() const;
    int GetPictureHeight() const;

    // Redraws the view of the stone.
    void RedrawView();
    // What a row dragged out of one of the lists does when dropped onto the
    // draw-order list (at a row, or the row count below the last) or onto the
    // trash button.
    void DropOnDrawOrder(QListWidget* source, int targetRow);
    void DropOnTrash(QListWidget* source);

protected:
    void showEvent(QShowEvent* event) override;
    // Enter in an edit applies that edit only: it never clicks a button.
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TEditorListBox;
    friend class TEditorPaintBox;
    void BuildLayout();
    QWidget* BuildLeftColumn();
    QWidget* BuildCentre();
    QHBoxLayout* BuildToolStrip();
    void BuildRightColumn();
    QGridLayout* BuildFaceEdits();
    QHBoxLayout* BuildBottomStrip();
    void BuildMenus(QMenuBar* bar);
    QToolButton* ToolButton(const char* name, const char* hint);

    // Runs a core change, reporting its error, then shows the state.
    void Run(const std::function<void()>& change);
    // Writes the core's state into every control.
    void ShowState();
    void ShowControlsForKind();
    void ShowDimensionsPending();
    void ShowUndoRedo();
    void FillPolygonList();
    void FillDrawOrderList();
    void FillPointList();
    void ShowPointEdits();
    int ShownOctant() const;

    // --- handlers ---
    void KindClick(int row);
    void DimensionKey(int key);
    void ApplyClick();
    void RevertClick();
    void DimensionSpin();
    void PolygonClick(int row);
    void DrawOrderClick(int row);
    void PointClick(int row);
    void PointEditChanged();
    void OctantChanged(int octant);
    void ConfirmClick();
    void UndoClick();
    void RedoClick();
    // Deletes the polygon of the polygon list's current row, asking first when told to.
    void DeletePolygonRow(bool ask);
    void PointRightClick(int row);

    TPartEditor& FEditor;
    TRenderState& FSharedView;
    const TColor& FCurrentColor;
    const TColor& FBackgroundColor;
    TEditorViewState FView;
    std::unique_ptr<TBitmap> FPicture;
    std::unique_ptr<TAskFileAndPart> FNames;
    bool FUpdatingDimensions = false;
    bool FUpdatingPoints = false;
    bool FUpdatingOctant = false;

    QListWidget* lbBlockTypes;
    QSpinBox* edtX;
    QSpinBox* edtY;
    QSpinBox* edtZ;
    QToolButton* sbApply;
    QToolButton* sbNoApply;
    QLineEdit* edtIdent;
    TEditorPaintBox* PaintBoxAddStd;
    QToolButton* spbDet0;
    QToolButton* spbDet1;
    QToolButton* spbDet2;
    QToolButton* spbColor;
    QToolButton* btnWireBase;
    QToolButton* btnUndo;
    QToolButton* btnRedo;
    QWidget* FCentre;
    int FWideWidth = 645;
    QWidget* RightColumn;
    TEditorListBox* lbAllPolys;
    TEditorListBox* lbDrawOrder;
    TEditorListBox* lbCoord;
    QComboBox* cbDetail;
    QPushButton* btnExtrude;
    QSpinBox* spExt;
    QToolButton* btnAddPolygon;
    QToolButton* btnTrash;
    QSpinBox* AdjX;
    QSpinBox* AdjY;
    QSpinBox* AdjZ;
    QToolButton* btnAddVertex;
    QSpinBox* speOctant;
    QPushButton* btnAddPiece;
    QPushButton* btnCancel;
    QMenuBar* FMenuBar;
    QMenu* pmPolygons;
    QMenu* pmDrawOrder;
    QAction* pmTransparent;
    QAction* pmBorder;
    QAction* pmDelete;
};
