#include "ui/palette_panel.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QMenu>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/stonemill_app.h"
#include "ui/dialogs/customize_pages_dialog.h"
#include "ui/dialogs/page_properties_dialog.h"
#include "ui/dialogs/reorder_pages_dialog.h"
#include "ui/file_dialogs.h"
#include "ui/open_model_dialog.h"
#include "ui/palette_list.h"
#include "ui/part_editor_form.h"
#include "ui/swatch.h"

namespace fs = std::filesystem;

namespace {

// The swatches by index: the control's name and its place (row, column from 1).
struct TSwatchPlace {
    const char* Name;
    int Row, Column;
};
constexpr TSwatchPlace kSwatchPlaces[14] = {
    {"Edit1", 1, 5},  {"edWhite", 1, 1}, {"edGray", 1, 2}, {"edDarkGray", 1, 3}, {"edBlack", 1, 4},
    {"Edit6", 2, 1},  {"Edit7", 2, 2},   {"edBlue", 2, 3}, {"Edit9", 2, 4},      {"Edit10", 2, 5},
    {"Edit11", 1, 6}, {"Edit12", 2, 6},  {"Edit13", 1, 7}, {"Edit14", 2, 7},
};
constexpr int kSwatchSpacing = 18;

// The page selector's list drops down under the box, the first page at its
// top, rather than over it with the page shown under the mouse (as some
// styles place it): a click at the same spot then picks the same page.
class TDropDownStyle : public QProxyStyle {
public:
    // Over the application's own style.
    TDropDownStyle() : QProxyStyle(QApplication::style()->name()) {}
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returned) const override {
        if (hint == QStyle::SH_ComboBox_Popup)
            return 0;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

QStringList Items(const std::vector<std::string>& texts) {
    QStringList items;
    for (const std::string& text : texts)
        items << QString::fromStdString(text);
    return items;
}

} // namespace

TPalettePanel::TPalettePanel(TStonemillApp& app, QWidget* parent) : QWidget(parent), FApp(app) {
    setObjectName("Panel2");
    setFixedWidth(172);

    auto* swatches = new QWidget(this);
    swatches->setFixedSize(7 * kSwatchSpacing, 2 * kSwatchSpacing);
    for (int i = 0; i < 14; ++i) {
        auto* swatch = new TSwatch(i, swatches);
        swatch->setObjectName(kSwatchPlaces[i].Name);
        swatch->setToolTip("Färg");
        swatch->setStatusTip("Färg");
        swatch->move((kSwatchPlaces[i].Column - 1) * kSwatchSpacing + 2,
                     (kSwatchPlaces[i].Row - 1) * kSwatchSpacing + 2);
        swatch->OnMouseDown = [this](int index, Qt::MouseButton button) { Edit7MouseDown(index, button); };
        FSwatches[static_cast<size_t>(i)] = swatch;
    }

    ComboBox1 = new QComboBox(this);
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ComboBox1->setMinimumContentsLength(6);
    auto* dropDown = new TDropDownStyle;
    dropDown->setParent(ComboBox1);
    ComboBox1->setStyle(dropDown);
    connect(ComboBox1, &QComboBox::activated, this, &TPalettePanel::ComboBox1Change);
    auto makePageButton = [this](const char* name, QStyle::StandardPixmap icon) {
        auto* button = new QToolButton(this);
        button->setObjectName(name);
        button->setIcon(style()->standardIcon(icon));
        button->setToolTip("Växla sida");
        button->setStatusTip("Växla sida");
        button->setAutoRaise(true);
        return button;
    };
    btnPrevPage = makePageButton("btnPrevPage", QStyle::SP_ArrowLeft);
    btnNextPage = makePageButton("btnNextPage", QStyle::SP_ArrowRight);
    connect(btnPrevPage, &QToolButton::clicked, this, &TPalettePanel::btnPrevPageClick);
    connect(btnNextPage, &QToolButton::clicked, this, &TPalettePanel::btnNextPageClick);

    ListBox1 = new TPaletteList(FApp, this);
    ListBox1->setObjectName("ListBox1");
    ListBox1->RowOf = [this](int row) { return FApp.PaletteCommands.ShownRow(row); };
    ListBox1->OnMouseDown = [this](int row, Qt::MouseButton button) { ListBox1MouseDown(row, button); };
    ListBox1->OnClick = [this](int row) { ListBox1Click(row); };
    ListBox1->OnSelect = [this](int row) { FApp.Palette.SelectRow(row); };
    ListBox1->OnContextMenu = [this](QPoint at) { pumEdit->popup(at); };
    CreateEditMenu();

    // The page dialogs are made once and belong to the main window.
    FProperties = new TfrmProperties(window());
    FPartEditor = new TAddHard(app, window());
    FReorder = new TfrmReorder(window());
    FCustomize = new TfrmCustomize(FApp, window());

    auto* pages = new QHBoxLayout;
    pages->setSpacing(1);
    pages->addWidget(ComboBox1, 1);
    pages->addWidget(btnPrevPage);
    pages->addWidget(btnNextPage);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(3);
    layout->addWidget(swatches);
    layout->addLayout(pages);
    layout->addWidget(ListBox1, 1);
}

TPalettePanel::~TPalettePanel() {
    // The list may still be painted while the window closes.
    ListBox1->RowOf = nullptr;
}

QAction* TPalettePanel::AddEditItem(const char* name, const char* caption, void (TPalettePanel::*handler)()) {
    QAction* action = pumEdit->addAction(caption);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this, [this, handler] { Run([&] { (this->*handler)(); }); });
    return action;
}

void TPalettePanel::CreateEditMenu() {
    pumEdit = new QMenu(this);
    pumEdit->setObjectName("pumEdit");
    connect(pumEdit, &QMenu::aboutToShow, this, &TPalettePanel::pumEditPopup);
    Editblock1 = AddEditItem("Editblock1", "&Edit...", &TPalettePanel::Editblock1Click);
    Addnewblock1 = AddEditItem("Addnewblock1", "&Add...", &TPalettePanel::Addnewblock1Click);
    AddEditItem("Addcombo1", "Add combo...", &TPalettePanel::Addcombo1Click);
    Removeblock1 = AddEditItem("Removeblock1", "&Remove", &TPalettePanel::Removeblock1Click);
    pumEdit->addSeparator();
    AddEditItem("Addnewpage1", "A&dd page", &TPalettePanel::Addnewpage1Click);
    AddEditItem("Addpagefromfile1", "Add page from &file...", &TPalettePanel::Addpagefromfile1Click);
    Removepage1 = AddEditItem("Removepage1", "Re&move page", &TPalettePanel::Removepage1Click);
    Properties1 = AddEditItem("Properties1", "&Properties...", &TPalettePanel::Properties1Click);
    pumEdit->addSeparator();
    AddEditItem("Reorderpages1", "Re&order pages...", &TPalettePanel::Reorderpages1Click);
    AddEditItem("Customize1", "&Customize pages...", &TPalettePanel::Customize1Click);
}

void TPalettePanel::ShowState() {
    ++FUpdating;
    const TPalette& palette = FApp.Palette;
    for (int i = 0; i < 14; ++i)
        FSwatches[static_cast<size_t>(i)]->SetColor(palette.Swatches[static_cast<size_t>(i)]);
    const QStringList titles = Items(palette.SelectorItems());
    QStringList shown;
    for (int i = 0; i < ComboBox1->count(); ++i)
        shown << ComboBox1->itemText(i);
    if (shown != titles) {
        ComboBox1->clear();
        ComboBox1->addItems(titles);
        // Every page shows at once, so the list never scrolls to the page shown.
        ComboBox1->setMaxVisibleItems(std::max(10, static_cast<int>(titles.size())));
    }
    ComboBox1->setCurrentIndex(palette.SelectorIndex() < titles.size() ? palette.SelectorIndex() : -1);
    // Each page comes back scrolled as it was left.
    const int page = palette.ShowingRecent() ? -1 : palette.CurrentPage();
    if (page != FScrolledPage)
        FScrolls[FScrolledPage] = ListBox1->verticalScrollBar()->value();
    ListBox1->SetRows(palette.ShownEntries(), palette.ShownRowHeight());
    if (page != FScrolledPage) {
        ListBox1->verticalScrollBar()->setValue(FScrolls.value(page, 0));
        FScrolledPage = page;
    }
    ListBox1->SetSelectedRow(palette.SelectedRow);
    TPreviewLook look = FApp.PaletteCommands.PreviewLook();
    if (!(look == FLook)) {
        FLook = std::move(look);
        ListBox1->viewport()->update();
    }
    --FUpdating;
}

void TPalettePanel::FocusList() {
    if (window()->isVisible())
        ListBox1->setFocus();
}

// --- handlers ---

void TPalettePanel::mousePressEvent(QMouseEvent* event) {
    Panel2MouseDown(event->button());
}

void TPalettePanel::Panel2MouseDown(Qt::MouseButton button) {
    if (button == Qt::RightButton)
        Run([&] { FApp.Scene.RestoreBackgroundColor(); });
}

void TPalettePanel::Edit7MouseDown(int index, Qt::MouseButton button) {
    if (button == Qt::LeftButton || button == Qt::RightButton)
        Run([&] { FApp.PaletteCommands.SwatchClick(index, button == Qt::LeftButton); });
}

void TPalettePanel::ComboBox1Change(int item) {
    if (FUpdating != 0 || item < 0)
        return;
    Run([&] { FApp.Palette.SelectItem(item); });
    FocusList();
}

void TPalettePanel::btnPrevPageClick() {
    Run([&] { FApp.Palette.PrevPage(); });
    FocusList();
}

void TPalettePanel::btnNextPageClick() {
    Run([&] { FApp.Palette.NextPage(); });
    FocusList();
}

void TPalettePanel::ListBox1MouseDown(int row, Qt::MouseButton) {
    FApp.Palette.SelectRow(row);
}

void TPalettePanel::ListBox1Click(int row) {
    Run([&] { FApp.PaletteCommands.TakePaletteEntry(row); });
}

void TPalettePanel::pumEditPopup() {
    const TPaletteMenuState state = FApp.Palette.MenuState();
    Editblock1->setEnabled(state.Edit);
    Addnewblock1->setEnabled(state.Add);
    Removeblock1->setEnabled(state.Remove);
    Properties1->setEnabled(state.Properties);
    Removepage1->setEnabled(state.RemovePage);
}

void TPalettePanel::Editblock1Click() {
    if (!FApp.Palette.MenuState().Edit)
        return;
    FPartEditor->LoadEntry(FApp.Palette.SelectedEntry(), false);
    FPartEditor->SetTitles("Edit block", "Replace");
    if (FPartEditor->exec() == QDialog::Accepted) {
        FApp.Palette.ReplaceSelected(FPartEditor->GetEntry(), FPartEditor->GetPictureHeight());
        FApp.Scene.RedrawPicture(); // the model's stones of an edited part change too
    }
}

void TPalettePanel::Addnewblock1Click() {
    if (!FApp.Palette.MenuState().Add)
        return;
    if (FApp.Palette.SelectedRow >= 0 && !FApp.Palette.SelectedEntry().empty())
        FPartEditor->LoadEntry(FApp.Palette.SelectedEntry(), true);
    FPartEditor->SetTitles("Add new block", "Add");
    if (FPartEditor->exec() == QDialog::Accepted)
        FApp.Palette.AppendEntry(FPartEditor->GetEntry(), FPartEditor->GetPictureHeight());
}

void TPalettePanel::Addcombo1Click() {
    TOpenModelDialog dialog(window(), "Add combo part");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDirectory(QString::fromStdString((FApp.Folders().Shipped() / "Combos").string()));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        FApp.PaletteCommands.AddCombo(dialog.selectedFiles().first().toStdString());
}

void TPalettePanel::Removeblock1Click() {
    FApp.Palette.RemoveSelected();
}

void TPalettePanel::Addnewpage1Click() {
    FApp.Palette.AddPage();
}

void TPalettePanel::Addpagefromfile1Click() {
    const auto file =
        AskOpenFile(window(), "Load parts from file", "Part files (*.dat)|*.DAT|All files (*.*)|*.*", nullptr,
                    FApp.Folders().Shipped() / "parts");
    if (!file)
        return;
    FApp.Palette.AddPageFromFile(*file);
    ShowState();
    Properties1Click();
}

void TPalettePanel::Removepage1Click() {
    FApp.Palette.RemovePage();
}

void TPalettePanel::Properties1Click() {
    TPalette& palette = FApp.Palette;
    if (!palette.RealPageShown())
        return;
    const TPalettePage& page = palette.Pages[static_cast<size_t>(palette.CurrentPage())];
    std::string title = page.Title;
    int height = page.RowHeight;
    float scale = page.Scale;
    if (FProperties->EditPageProperties(title, height, scale))
        palette.SetPageProperties(title, height, scale);
}

void TPalettePanel::Reorderpages1Click() {
    if (auto pages = FReorder->ReorderPages(FApp.Palette.Pages))
        FApp.Palette.TakeReorderedPages(std::move(*pages));
}

void TPalettePanel::Customize1Click() {
    if (auto pages = FCustomize->CustomizePages(FApp.Palette))
        FApp.Palette.TakeCustomizedPages(*pages);
}
