#pragma once
// Panel2: the stone palette at the right of the main window. Fourteen colour
// swatches, the page selector with its two page buttons, the list of the
// shown page's entries drawn as stone previews, and the list's edit menu with
// the page dialogs. Every handler calls the application core through the main
// window, which shows errors and the state afterwards.

#include <QHash>
#include <QWidget>
#include <array>
#include <functional>

#include "app/stonemill_app.h"

class QAction;
class QComboBox;
class QMenu;
class QToolButton;
class TAddHard;
class TfrmCustomize;
class TfrmProperties;
class TfrmReorder;
class TPaletteList;
class TSwatch;

class TPalettePanel : public QWidget {
    Q_OBJECT
public:
    TPalettePanel(TStonemillApp& app, QWidget* parent);
    ~TPalettePanel() override;

    // Runs a change of the core with the main window's error handling; the
    // window shows the state afterwards.
    std::function<void(const std::function<void()>& change)> Run;

    // Writes the palette's state into the controls and repaints the list.
    void ShowState();
    TPaletteList* List() const { return ListBox1; }
    QMenu* EditMenu() const { return pumEdit; }
    TAddHard* PartEditor() const { return FPartEditor; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void CreateEditMenu();
    QAction* AddEditItem(const char* name, const char* caption, void (TPalettePanel::*handler)());
    void FocusList();

    // --- handlers ---
    void Edit7MouseDown(int index, Qt::MouseButton button);
    void Panel2MouseDown(Qt::MouseButton button);
    void ComboBox1Change(int item);
    void btnPrevPageClick();
    void btnNextPageClick();
    void ListBox1MouseDown(int row, Qt::MouseButton button);
    void ListBox1Click(int row);
    void pumEditPopup();
    void Editblock1Click();
    void Addnewblock1Click();
    void Addcombo1Click();
    void Removeblock1Click();
    void Addnewpage1Click();
    void Addpagefromfile1Click();
    void Removepage1Click();
    void Properties1Click();
    void Reorderpages1Click();
    void Customize1Click();

    TStonemillApp& FApp;
    std::array<TSwatch*, 14> FSwatches{};
    QComboBox* ComboBox1;
    QToolButton* btnPrevPage;
    QToolButton* btnNextPage;
    TPaletteList* ListBox1;
    QMenu* pumEdit;
    QAction* Editblock1 = nullptr;
    QAction* Addnewblock1 = nullptr;
    QAction* Removeblock1 = nullptr;
    QAction* Removepage1 = nullptr;
    QAction* Properties1 = nullptr;
    TfrmProperties* FProperties;
    TAddHard* FPartEditor;
    TfrmReorder* FReorder;
    TfrmCustomize* FCustomize;
    int FUpdating = 0;
    // What the rows were last drawn with.
    TPreviewLook FLook;
    // Where each page's list was scrolled to (-1 "<Recently used>"), and the
    // page it was last set for.
    QHash<int, int> FScrolls;
    int FScrolledPage = -2;
};
