#include "ui/main_form.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <QUrl>
#include <QWheelEvent>
#include <filesystem>
#include <iostream>

#include "app/status_report.h"
#include "ui/dialogs/about_box.h"
#include "ui/dialogs/cut_dialog.h"
#include "ui/dialogs/toolbox_window.h"
#include "ui/error_report.h"
#include "ui/file_dialogs.h"
#include "ui/instructions_dialog.h"
#include "ui/long_work.h"
#include "ui/on_screen.h"
#include "ui/open_model_dialog.h"
#include "ui/paint_box.h"
#include "ui/palette_panel.h"
#include "ui/parts_list_window.h"
#include "ui/repeat_button.h"
#include "ui/ui_helpers.h"

namespace fs = std::filesystem;

const char* const kApplicationTitle = "Stonemill";
const char* const kUnsavedQuestion = "The model has not been saved!\r\nDo You want to save it now?";

namespace {

void SetUpScrollBar(QScrollBar* bar, const TScrollValue& value) {
    bar->setRange(value.Min, value.Max);
    bar->setSingleStep(value.SmallChange);
    bar->setPageStep(value.LargeChange);
    bar->setValue(value.Position);
}

bool IsInputEvent(QEvent::Type type) {
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::Drop:
        return true;
    default:
        return false;
    }
}

} // namespace

TMainForm::TMainForm(TStonemillApp& app, const TStartArguments& start, QWidget* parent)
    : QMainWindow(parent), FApp(app), FStart(start) {
    setObjectName("MainForm");
    OpenWithDesktop = [](const fs::path& picture) {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(Text(picture.string())));
    };
    resize(1000, 720);
    CreateActions();
    CreateMenus();
    CreateToolBars();
    CreateView();
    CreatePictureDialogs();
    ReadSettings();

    TWindowHooks hooks;
    hooks.PictureChanged = [this] {
        ShowState();
        PaintBox1->update();
    };
    hooks.LineError = [this](int, const std::string& message) { ShowLineError(message); };
    hooks.HandChanged = [this](const TRect& changed) {
        PaintBox1->update(QRect(changed.Left, changed.Top, changed.Width(), changed.Height()));
        if (FToolbox)
            FToolbox->ShowPosition();
    };
    hooks.MovePointer = [this](TPoint point) {
        QCursor::setPos(PaintBox1->mapToGlobal(QPoint(point.x, point.y)));
    };
    hooks.StoneDrawn = [this](int drawn, int total) { ShowStoneByStone(drawn, total); };
    hooks.LongWork = [this](const std::string& what, const TLongWorkGate::TLongWork& work) {
        RunLongWorkInWindow(*this, what, work);
    };
    FApp.ConnectWindow(hooks);
    // Key preview, the wheel over the view and the tool tips are the window's
    // before any of its controls sees them.
    qApp->installEventFilter(this);
    FAboutBox = new TAboutBox(FApp.Folders().Shipped(), this);
    FToolbox = new TAdvOptions(FApp, this);
    FToolbox->Run = [this](const std::function<void()>& command) { Run(command); };
    FToolbox->OnResolution = [this](int index) {
        cbResolution->setCurrentIndex(index);
        cbResolutionChange(index);
    };
    FToolbox->OnHidden = [this] { Action(TCommandId::cmAdvancedToolbox)->setChecked(false); };
    FCutDialog = new TDlg(FApp.CutDialog, FApp.Document.Model(), this);
    FCutDialog->RequestRedraw = [this] { PostMessage(kCutRedrawMessage); };
    FCutDialog->GridStep = [this] { return static_cast<int>(FApp.Hand.GridStep()); };
    FCutDialog->OnVisibility = [this](bool shown) { Action(TCommandId::cmCuttingDialog)->setChecked(shown); };
    ShowState();
    PostMessage(kDeferredStartMessage);
}

TMainForm::~TMainForm() {
    FormDestroy();
    qApp->removeEventFilter(this);
    FApp.ConnectWindow({});
    // The controls outlive this part of the window while the base class closes
    // and hides it: their events must not reach the handlers any more.
    PaintBox1->OnResize = nullptr;
    PaintBox1->OnMouseDown = nullptr;
    PaintBox1->OnMouseMove = nullptr;
    PaintBox1->OnMouseUp = nullptr;
    for (QObject* child : findChildren<QObject*>())
        QObject::disconnect(child, nullptr, this, nullptr);
}

// --- construction ---

namespace {

// The toolbars, top to bottom, each holding the commands of its place.
struct TBarPlace {
    TCommandPlace Place;
    Qt::ToolBarArea Area;
    const char* Title;
    const char* Name;
};
constexpr TBarPlace kBars[] = {
    {cpMainBar, Qt::TopToolBarArea, "Main menu", "tbMainMenu"},
    {cpBrickBar, Qt::TopToolBarArea, "Brick selection", "tbBrickSelection"},
    {cpViewBar, Qt::TopToolBarArea, "View Adjustment", "tbViewAdjustment"},
    {cpFixedViewsBar, Qt::BottomToolBarArea, "Fixed Views", "tbFixedViews"},
    {cpMiscBar, Qt::BottomToolBarArea, "Misc.", "tbMisc"},
};

// The menus the toolbar buttons drop down; submenus are made with the menu that holds them.
struct TMenuPlace {
    TCommandPlace Place;
    const char* Name;
};
constexpr TMenuPlace kMenus[] = {{cpLoadMenu, "pumLoad"},
                                 {cpSaveMenu, "pumSave"},
                                 {cpOptionsMenu, "pumOptions"},
                                 {cpRenderingMenu, "pumDetail"},
                                 {cpViewKeysMenu, "pumViewKeys"}};

// The places whose controls are always in sight.
constexpr std::initializer_list<TCommandPlace> kAlwaysShown = {cpMainBar,       cpBrickBar, cpViewBar,
                                                               cpFixedViewsBar, cpMiscBar,  cpViewCorner};

} // namespace

void TMainForm::CreateActions() {
    for (const TCommand& command : Commands()) {
        if (command.Style == csSubmenu)
            continue; // its action is its menu's, made with the menus
        // Menu items show their keys beside the caption, buttons in the tool tip.
        const QString keys = KeysText(command);
        QString caption = command.Caption;
        if (IsMenu(command.Place) && !keys.isEmpty())
            caption += "\t" + keys;
        auto* action = new QAction(GlyphIcon(command.Glyph), caption, this);
        action->setObjectName(command.Name);
        action->setStatusTip(command.Hint);
        if (*command.Hint != '\0')
            action->setToolTip(keys.isEmpty() ? QString(command.Hint)
                                              : QString("%1 (%2)").arg(command.Hint, keys));
        action->setCheckable(command.Style == csCheck || command.Style == csRadio);
        if (command.Group != rgNone) {
            QActionGroup*& group = FRadioGroups[command.Group];
            if (group == nullptr) {
                group = new QActionGroup(this);
                group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
            }
            group->addAction(action);
        }
        const TCommandId id = command.Id;
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        FActions[id] = action;
    }
}

void TMainForm::FillMenu(QMenu* menu, TCommandPlace place) {
    FMenus[place] = menu;
    for (const TCommand& command : Commands()) {
        if (command.Place != place)
            continue;
        if (command.GroupStart)
            menu->addSeparator();
        if (command.Style == csSubmenu) {
            QMenu* submenu = menu->addMenu(command.Caption);
            submenu->setObjectName(command.Name);
            FActions[command.Id] = submenu->menuAction();
            FillMenu(submenu, command.Opens);
        } else {
            menu->addAction(Action(command.Id));
        }
    }
    connect(menu, &QMenu::aboutToShow, this, [this, place] { ShowRules({place}); });
}

void TMainForm::CreateMenus() {
    for (const TMenuPlace& place : kMenus) {
        auto* menu = new QMenu(this);
        menu->setObjectName(place.Name);
        FillMenu(menu, place.Place);
    }
    // The recent files are added below the fixed items each time the menu opens.
    pumLoad = FMenus.at(cpLoadMenu);
    connect(pumLoad, &QMenu::aboutToShow, this, &TMainForm::pumLoadPopup);
}

QToolButton* TMainForm::MakeButton(TCommandId id, QWidget* parent) {
    const TCommand& command = CommandOf(id);
    auto* button = new QToolButton(parent);
    button->setObjectName(command.Name);
    button->setDefaultAction(Action(id));
    button->setAutoRaise(true);
    button->setIconSize(QSize(24, 24));
    if (command.Repeats)
        SetRepeating(button);
    if (command.Style == csMenu) {
        button->setMenu(FMenus.at(command.Opens));
        button->setPopupMode(QToolButton::InstantPopup);
    }
    FButtons[id] = button;
    return button;
}

QToolBar* TMainForm::AddToolBar(Qt::ToolBarArea area, const char* title, const char* name,
                                std::optional<TCommandPlace> place) {
    auto* bar = new QToolBar(title, this);
    bar->setObjectName(name);
    bar->setMovable(true);
    if (place)
        for (const TCommand& command : Commands())
            if (command.Place == *place)
                bar->addWidget(MakeButton(command.Id, bar));
    addToolBar(area, bar);
    return bar;
}

void TMainForm::CreateToolBars() {
    std::map<TCommandPlace, QToolBar*> bars;
    for (const TBarPlace& bar : kBars)
        bars[bar.Place] = AddToolBar(bar.Area, bar.Title, bar.Name, bar.Place);
    FButtons[TCommandId::cmExit]->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    QToolBar* viewBar = bars.at(cpViewBar);
    cbZoom = new QComboBox(viewBar);
    cbZoom->setObjectName("cbZoom");
    cbZoom->setStatusTip("Zoom (%)");
    cbZoom->setEditable(true);
    cbZoom->setInsertPolicy(QComboBox::NoInsert);
    cbZoom->lineEdit()->setReadOnly(true);
    for (const char* choice : TViewController::kZoomChoices)
        cbZoom->addItem(choice);
    cbZoom->setMinimumContentsLength(4);
    connect(cbZoom, &QComboBox::activated, this, &TMainForm::cbZoomSelect);
    viewBar->addWidget(cbZoom);

    QToolBar* misc = bars.at(cpMiscBar);
    cbResolution = new QComboBox(misc);
    cbResolution->setObjectName("cbResolution");
    cbResolution->setStatusTip("Positioning grid");
    cbResolution->setToolTip("Positioning grid");
    cbResolution->addItems({"Normal", "Half", "Quarter", "Eighth", "Fine"});
    connect(cbResolution, &QComboBox::activated, this, &TMainForm::cbResolutionChange);
    misc->addWidget(cbResolution);

    QToolBar* hintBar = AddToolBar(Qt::BottomToolBarArea, "Hint", "tbHint", std::nullopt);
    edHint = new QLineEdit(hintBar);
    edHint->setObjectName("edHint");
    edHint->setReadOnly(true);
    edHint->setFocusPolicy(Qt::NoFocus);
    edHint->setMinimumWidth(260);
    hintBar->addWidget(edHint);
    HintLabel = new QLineEdit(hintBar);
    HintLabel->setObjectName("HintLabel");
    HintLabel->setReadOnly(true);
    HintLabel->setFocusPolicy(Qt::NoFocus);
    FHintLabelAction = hintBar->addWidget(HintLabel);
    FHintLabelAction->setVisible(false);
    CreateStatusBar();
}

void TMainForm::CreateStatusBar() {
    for (QLabel*& label : {std::ref(stHand), std::ref(stPosition), std::ref(stGrid), std::ref(stMode),
                           std::ref(stSelected), std::ref(stStones)}) {
        label = new QLabel(this);
        label->setContentsMargins(6, 0, 6, 0);
        statusBar()->addPermanentWidget(label);
    }
    stHand->setObjectName("stHand");
    stPosition->setObjectName("stPosition");
    stGrid->setObjectName("stGrid");
    stMode->setObjectName("stMode");
    stSelected->setObjectName("stSelected");
    stStones->setObjectName("stStones");
    // The stone in hand takes the room that is left.
    statusBar()->removeWidget(stHand);
    statusBar()->addWidget(stHand, 1);
    stHand->show(); // removing it hid it
}

void TMainForm::ShowStatus() {
    const TStatusReport report =
        ReportStatus(FApp.Hand, FApp.Document.Model(), FApp.Selection.SelectedCount());
    stHand->setText(Text(report.Hand));
    stPosition->setText(Text(report.Position));
    stGrid->setText(Text(report.Grid));
    stMode->setText(Text(report.Mode));
    stSelected->setText(Text(report.Selected));
    stStones->setText(Text(report.Stones));
}

void TMainForm::CreateView() {
    auto* client = new QWidget(this);
    setCentralWidget(client);
    Panel3 = new QWidget(client);
    Panel3->setObjectName("Panel3");
    Panel2 = new TPalettePanel(FApp, client);
    Panel2->Run = [this](const std::function<void()>& change) { Run(change); };
    auto* sides = new QHBoxLayout(client);
    sides->setContentsMargins(0, 0, 0, 0);
    sides->setSpacing(0);
    sides->addWidget(Panel3, 1);
    sides->addWidget(Panel2);

    PaintBox1 = new TPaintBox(FApp, Panel3);
    PaintBox1->setObjectName("PaintBox1");
    PaintBox1->OnResize = [this](int width, int height) { PaintBox1Resize(width, height); };
    PaintBox1->OnMouseDown = [this](QMouseEvent* event) { PaintBox1MouseDown(event); };
    PaintBox1->OnMouseMove = [this](QMouseEvent* event) { PaintBox1MouseMove(event); };
    PaintBox1->OnMouseUp = [this](QMouseEvent* event) { PaintBox1MouseUp(event); };

    const TViewController& view = FApp.Scene.Control();
    auto makeBar = [this](Qt::Orientation orientation, const char* name, const TScrollValue& value,
                          void (TMainForm::*changed)()) {
        auto* bar = new QScrollBar(orientation, Panel3);
        bar->setObjectName(name);
        SetUpScrollBar(bar, value);
        connect(bar, &QScrollBar::valueChanged, this, changed);
        return bar;
    };
    // The angles live in hidden bars, as the offsets live in visible ones.
    RotX = makeBar(Qt::Vertical, "RotX", view.RotX(), &TMainForm::RotXChange);
    RotY = makeBar(Qt::Vertical, "RotY", view.RotY(), &TMainForm::RotXChange);
    RotZ = makeBar(Qt::Vertical, "RotZ", view.RotZ(), &TMainForm::RotXChange);
    for (QScrollBar* bar : {RotX, RotY, RotZ})
        bar->hide();
    OffsetX = makeBar(Qt::Horizontal, "OffsetX", view.OffsetX(), &TMainForm::OffsetXChange);
    OffsetY = makeBar(Qt::Vertical, "OffsetY", view.OffsetY(), &TMainForm::OffsetXChange);

    QToolButton* home = nullptr;
    for (const TCommand& command : Commands())
        if (command.Place == cpViewCorner)
            home = MakeButton(command.Id, Panel3);
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    home->setFixedSize(extent - 1, extent - 1);
    home->setIconSize(QSize(extent - 3, extent - 3));

    auto* layout = new QGridLayout(Panel3);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(PaintBox1, 0, 0);
    layout->addWidget(OffsetY, 0, 1);
    layout->addWidget(OffsetX, 1, 0);
    layout->addWidget(home, 1, 1);
}

QAction* TMainForm::Action(TCommandId id) const {
    return FActions.at(id);
}

// --- running commands ---

void TMainForm::Run(const std::function<void()>& change) {
    RunReporting(this, change);
    ShowState();
}

void TMainForm::RunCommand(TCommandId id) {
    Run([&] { Execute(id); });
}

void TMainForm::Execute(TCommandId id) {
    const TCommand& command = CommandOf(id);
    TViewController& view = FApp.Scene.Control();
    using enum TCommandId;
    switch (id) {
    case cmExit:
        close();
        break;
    case cmNewModel:
        btnClearClick();
        break;
    case cmLoadMenu:
    case cmSaveMenu:
    case cmOptionsMenu:
    case cmRenderingOptions:
        FButtons.at(id)->showMenu();
        break;
    case cmBitDepthMenu:
    case cmExportMenu:
        break; // a submenu: its items are the commands
    case cmPictureSize:
        SetFrameSize();
        PaintBox1->update();
        break;
    case cmLoadComplete:
        mNewmodelClick();
        break;
    case cmSaveComplete:
        mSaveModelClick();
        break;
    case cmSaveSelected:
        mSaveSelectedClick();
        break;
    case cmSaveDisplayed:
        Displayedstonesonly1Click();
        break;
    case cmExportComplete:
        ExportModelFile(TSaveMode::smComplete);
        break;
    case cmExportSelected:
        ExportModelFile(TSaveMode::smSelected);
        break;
    case cmExportDisplayed:
        ExportModelFile(TSaveMode::smDisplayed);
        break;
    case cmLoadSubassembly:
        mSubassemblyClick();
        break;
    case cmBreakUpScene:
        Breakupascene1Click();
        break;
    case cmLoadSet:
        Loadaset1Click();
        break;
    case cmSavePicture:
        btnSavePicClick();
        break;
    case cmPrint:
        btnPrintClick();
        break;
    case cmAdjustLight:
        Adjustlight1Click();
        break;
    case cmEdgeDarkening:
        Edgedarkening1Click();
        break;
    case cmBackgroundPicture:
        Backgroundpicture1Click();
        break;
    case cmRestoreBackground:
        FApp.Scene.DropBackgroundPicture();
        break;
    case cmPov:
        GoPOVit();
        break;
    case cmPartsList:
        ShowPartsListWindow(this, FApp.Parts, FApp.Document.OpenFileName(),
                            FApp.Document.DialogFolders().Save);
        break;
    case cmInstructions:
        ShowInstructionsDialog(this, FApp.Instructions, FApp.Document.OpenFileName(),
                               FApp.Document.DialogFolders().Save);
        break;
    case cmSafePositioning:
        FApp.Placing.SetSafePositioning(!FApp.Hand.SafePositioning);
        break;
    case cmMakeGroup:
        FApp.Selection.MakeGroup();
        break;
    case cmBreakGroups:
        FApp.Selection.BreakGroups();
        break;
    case cmSelectAll:
        FApp.Selection.SelectAll();
        break;
    case cmDeselectAll:
        FApp.Selection.DeselectAll();
        break;
    case cmSlowRendering:
        FApp.Scene.SetSlowRendering(!FApp.Scene.SlowRendering());
        break;
    case cmWireframeOnRotate:
        FApp.Input.SetWireframeOnMouseRotate(!FApp.Input.WireframeOnMouseRotate());
        break;
    case cmPointer:
        FApp.Placing.PointerMode();
        break;
    case cmUndo:
        FApp.Selection.UndoStep();
        break;
    case cmRedo:
        FApp.Selection.RedoStep();
        break;
    case cmAdvancedToolbox:
        FToolbox->setVisible(Action(cmAdvancedToolbox)->isChecked());
        break;
    case cmCuttingDialog:
        // Every showing starts from the model's box.
        if (FCutDialog->isVisible()) {
            FCutDialog->hide();
        } else {
            FCutDialog->ResetToModel();
            FCutDialog->show();
        }
        break;
    case cmMarkMatching:
        FApp.Scene.SetMarkMatching(!FApp.Scene.MarkMatching());
        break;
    case cmMarkColor:
        FApp.Scene.SetMarkWithColor(!FApp.Scene.MarkWithColor());
        break;
    case cmZoomStepIn:
        view.SetZoom(static_cast<float>(view.Zoom() * 1.01));
        break;
    case cmZoomStepOut:
        view.SetZoom(static_cast<float>(view.Zoom() / 1.01));
        break;
    case cmFitFromAbove:
        view.FitFromAbove(FApp.Document.Model());
        break;
    case cmZoomToFit:
        view.FitModel(FApp.Document.Model());
        break;
    case cmSave:
        SaveModelUnderItsName();
        break;
    case cmViewKeysMenu:
        break; // the button drops its menu down
    case cmInfiniteSupply:
        FApp.PaletteCommands.InfiniteSupply();
        break;
    case cmHints:
        Hints1Click();
        break;
    case cmTransparent:
        FApp.PaletteCommands.ToggleTransparent();
        break;
    case cmChooseColor:
        btnColorDlgClick();
        break;
    case cmAbout:
        FAboutBox->exec();
        break;
    case cmRotateUp:
        view.RotateUp();
        break;
    case cmRotateDown:
        view.RotateDown();
        break;
    case cmRotateLeft:
        view.RotateLeft();
        break;
    case cmRotateRight:
        view.RotateRight();
        break;
    case cmWireframe:
        FApp.Scene.SetWireframe(!FApp.Scene.View().Wireframe);
        break;
    case cmNoDetails:
    case cmMoreDetail:
    case cmEvenMoreDetail:
        FApp.Scene.SetDetailLevel(command.Tag);
        break;
    case cmShading:
        FApp.Scene.SetShading(!FApp.Scene.View().Shading);
        break;
    case cmAntiAlias:
        FApp.Scene.SetAntiAlias(!FApp.Scene.View().AntiAlias);
        break;
    case cmBitDepth8:
    case cmBitDepth16:
    case cmBitDepth24:
    case cmBitDepth32:
    case cmBitDepthDevice:
        FApp.Scene.SetBitDepth(static_cast<TBitDepth>(command.Tag));
        break;
    case cmRefreshDisplay:
        RefreshDisplayClick();
        break;
    case cmZoomIn:
        view.ZoomIn();
        break;
    case cmZoomOut:
        view.ZoomOut();
        break;
    case cmTopView:
    case cmFromFront:
    case cmFromRight:
    case cmFromLeft:
    case cmFromBack:
    case cmFrontLeft:
    case cmBackRight:
    case cmBackLeft:
    case cmFrontRight:
    case cmFrontView:
        RadioGroup1Click(command.Tag);
        break;
    case cmRestoreView:
        view.RestoreView();
        break;
    case cmHome:
        btnHomeClick();
        break;
    }
}

void TMainForm::ShowState() {
    ++FUpdating;
    setWindowTitle(Text(FApp.Document.Caption()));
    const TViewController& view = FApp.Scene.Control();
    RotX->setValue(view.RotX().Position);
    RotY->setValue(view.RotY().Position);
    RotZ->setValue(view.RotZ().Position);
    OffsetX->setValue(view.OffsetX().Position);
    OffsetY->setValue(view.OffsetY().Position);
    cbZoom->setEditText(Text(view.ZoomText()));
    using enum TCommandId;
    const TSceneView& scene = FApp.Scene;
    Action(cmWireframe)->setChecked(scene.View().Wireframe);
    Action(cmShading)->setChecked(scene.View().Shading);
    Action(cmAntiAlias)->setChecked(scene.View().AntiAlias);
    Action(cmHints)->setChecked(FApp.Hints());
    Action(cmTransparent)->setChecked(FApp.Palette.Transparent);
    Action(cmPointer)->setChecked(!FApp.Hand.Holding());
    Action(cmSavePicture)->setChecked(FApp.Pictures.Frame().Shown);
    Action(cmSafePositioning)->setChecked(FApp.Hand.SafePositioning);
    Action(cmSlowRendering)->setChecked(scene.SlowRendering());
    Action(cmWireframeOnRotate)->setChecked(FApp.Input.WireframeOnMouseRotate());
    Action(cmMarkMatching)->setChecked(scene.MarkMatching());
    Action(cmMarkColor)->setChecked(scene.MarkWithColor());
    ShowRules(kAlwaysShown);
    cbResolution->setCurrentIndex(FApp.Hand.Grid);
    if (FToolbox) {
        FToolbox->SetResolution(FApp.Hand.Grid);
        FToolbox->UpdateGroupButtons();
        FToolbox->ShowPosition();
    }
    ShowStatus();
    // The mouse pointer is hidden over the view while a stone is in hand.
    PaintBox1->setCursor(FApp.Hand.Holding() ? Qt::BlankCursor : Qt::ArrowCursor);
    // The item whose tag is the level or depth is checked; a value no item
    // has checks none.
    for (const TCommand& command : Commands())
        if (command.Group != rgNone)
            Action(command.Id)
                ->setChecked(command.Tag ==
                             (command.Group == rgBitDepth ? scene.BitDepth() : scene.View().DetailLevel));
    Panel2->ShowState();
    --FUpdating;
}

void TMainForm::ShowError(const std::string& message) {
    ShowErrorBox(this, message);
}

void TMainForm::PostMessage(int message) {
    QMetaObject::invokeMethod(
        this, [this, message] { HandleMessage(message); }, Qt::QueuedConnection);
}

void TMainForm::HandleMessage(int message) {
    if (message == kDeferredStartMessage)
        DeferredStart();
    else if (message == kCutRedrawMessage)
        FApp.Scene.RedrawPicture();
}

void TMainForm::DeferredStart() {
    FApp.Pictures.Frame().PlaceInView(PaintBox1->width(), PaintBox1->height());
    // Relative paths of models (as palette entries name them) resolve in the
    // shipped data.
    std::error_code ignored;
    fs::current_path(FApp.Folders().Shipped(), ignored);
    if (!FStart.StartProblem.empty())
        ShowError(FStart.StartProblem);
    if (!FSettingsProblem.empty())
        ShowError("The settings file " +
                  (FStart.SettingsSource.empty() ? FStart.SettingsFile : FStart.SettingsSource).string() +
                  " could not be read; the program starts with its default settings.\n" + FSettingsProblem);
    if (!FStart.ModelFile.empty()) {
        Run([&] { FApp.Files.LoadModel(FStart.ModelFile, TLoadMode::lmComplete); });
        // The cut starts at the model's box, its top one step higher.
        FCutDialog->ResetToModel();
        FCutDialog->RaiseTop();
    }
}

// --- handlers ---

void TMainForm::btnClearClick() {
    if (AskSaveChanges())
        FApp.Files.NewModel();
}

void TMainForm::mNewmodelClick() {
    if (AskSaveChanges())
        RunOpenDialog("Load a complete model", TLoadMode::lmComplete);
}

void TMainForm::mSaveModelClick() {
    SaveModelFile(TSaveMode::smComplete);
}

void TMainForm::mSaveSelectedClick() {
    SaveModelFile(TSaveMode::smSelected);
}

void TMainForm::Displayedstonesonly1Click() {
    SaveModelFile(TSaveMode::smDisplayed);
}

void TMainForm::mSubassemblyClick() {
    const auto file = AskModelFile("Load a subassembly", FApp.Document.DialogFolders().Subassembly);
    if (file)
        FApp.Placing.InsertSubassembly(*file, false);
}

void TMainForm::Breakupascene1Click() {
    const auto file = AskModelFile("Break Up Scene", FApp.Document.DialogFolders().Open);
    if (!file)
        return;
    const auto result = FApp.Files.BreakUpScene(*file);
    if (!result) {
        ShowError("Only model files (.STM) can be broken up.");
        return;
    }
    QMessageBox::information(this, kApplicationTitle,
                             QString("The scene was broken up into %1 files in %2.")
                                 .arg(result->Files.size())
                                 .arg(Text(result->Folder.string())));
}

void TMainForm::pumLoadPopup() {
    for (QAction* item : FRecentItems)
        delete item;
    FRecentItems.clear();
    const std::vector<std::string> recent = FApp.Document.RecentFilesForMenu();
    if (recent.empty())
        return;
    FRecentItems << pumLoad->addSeparator();
    for (const std::string& path : recent) {
        // The full path, without accelerator characters.
        QAction* item = pumLoad->addAction(Text(path).replace("&", "&&"));
        connect(item, &QAction::triggered, this,
                [this, path] { Run([&] { FApp.Placing.InsertSubassembly(path, false); }); });
        FRecentItems << item;
    }
}

void TMainForm::cbResolutionChange(int index) {
    if (FUpdating == 0 && index >= 0)
        FApp.SetGrid(static_cast<TGridResolution>(index));
}

bool TMainForm::RuleHolds(TCommandRule rule) const {
    switch (rule) {
    case crAlways:
        return true;
    case crCanUndo:
        return FApp.Document.Model().UndoCount() > 0;
    case crCanRedo:
        return FApp.Document.Model().RedoCount() > 0;
    case crHasSelection:
        return FApp.Selection.HasSelection();
    case crCanMakeGroup:
        return FApp.Selection.CanMakeGroup();
    case crCanBreakGroups:
        return FApp.Selection.CanBreakGroups();
    case crPovRayFound:
        return FApp.Pov.Available();
    case crFrameShown:
        return FApp.Pictures.Frame().Shown;
    }
    return true;
}

void TMainForm::ShowRules(std::initializer_list<TCommandPlace> places) {
    for (const TCommand& command : Commands())
        if (command.Enabled != crAlways &&
            std::find(places.begin(), places.end(), command.Place) != places.end())
            Action(command.Id)->setEnabled(RuleHolds(command.Enabled));
}

void TMainForm::RadioGroup1Click(int tag) {
    FApp.Scene.Control().FixedView(tag);
}

void TMainForm::btnHomeClick() {
    FApp.Scene.Control().CenterModel(FApp.Document.Model(), false);
}

void TMainForm::RefreshDisplayClick() {
    TWaitCursor wait;
    FApp.Scene.RefreshDisplay();
}

void TMainForm::cbZoomSelect(int index) {
    if (FUpdating == 0 && index >= 0)
        Run([&] {
            FApp.Scene.Control().SetZoom(static_cast<float>(cbZoom->itemText(index).toDouble() / 100));
        });
}

void TMainForm::RotXChange() {
    if (FUpdating == 0)
        Run([&] {
            TViewController& view = FApp.Scene.Control();
            view.SetRotX(RotX->value());
            view.SetRotY(RotY->value());
            view.SetRotZ(RotZ->value());
        });
}

void TMainForm::OffsetXChange() {
    if (FUpdating == 0)
        Run([&] {
            TViewController& view = FApp.Scene.Control();
            view.SetOffsetX(OffsetX->value());
            view.SetOffsetY(OffsetY->value());
        });
}

void TMainForm::PaintBox1Resize(int width, int height) {
    Run([&] { FApp.Scene.ResizeView(width, height); });
}

bool TMainForm::FormMouseWheel(QWheelEvent* event) {
    const QRect panel(Panel3->mapToGlobal(QPoint(0, 0)), Panel3->size());
    if (!panel.contains(event->globalPosition().toPoint()))
        return false;
    Run([&] { FApp.Scene.Control().Wheel(event->angleDelta().y()); });
    return true;
}

bool TMainForm::FormCloseQuery() {
    return AskSaveChanges();
}

void TMainForm::closeEvent(QCloseEvent* event) {
    if (FApp.Work.Busy() || !FormCloseQuery()) {
        event->ignore();
        return;
    }
    event->accept();
    FormDestroy();
}

void TMainForm::FormDestroy() {
    if (FDestroyed)
        return;
    FDestroyed = true;
    try {
        FApp.WriteBackOnExit();
    } catch (...) {
        const std::string message = FailureMessage(std::current_exception());
        if (isVisible())
            ShowError(message);
        else
            std::cerr << message << '\n';
    }
}

void TMainForm::ReadSettings() {
    if (!FStart.SettingsFile.empty() || !FStart.SettingsSource.empty())
        FSettingsProblem = FApp.LoadSettings(FStart.SettingsFile, FStart.SettingsSource);
}

void TMainForm::Hints1Click() {
    FApp.SetHints(!FApp.Hints());
    if (!FApp.Hints())
        QToolTip::hideText();
}

void TMainForm::btnColorDlgClick() {
    const TColor current = FApp.Palette.CurrentColor;
    QColorDialog dialog(QColor(GetRValue(current), GetGValue(current), GetBValue(current)), this);
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QColor chosen = dialog.selectedColor();
    FApp.PaletteCommands.SetCurrentColor(RGB(chosen.red(), chosen.green(), chosen.blue()));
}

void TMainForm::Loadaset1Click() {
    const auto file = AskOpenFile(this, "Open a Set", "Set files (*.set)|*.set|All files (*.*)|*.*", "set",
                                  FApp.Document.DialogFolders().Set);
    FApp.PaletteCommands.ChooseSet(file);
}

bool TMainForm::event(QEvent* event) {
    // The hint of the control under the mouse goes to the hint field.
    if (event->type() == QEvent::StatusTip) {
        edHint->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QMainWindow::event(event);
}

bool TMainForm::IsOwnWidget(QObject* object) const {
    auto* widget = qobject_cast<QWidget*>(object);
    return widget != nullptr && widget->window() == this;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    // While long work runs on the model nothing may change it: input is
    // dropped, except releases, which end drags and rotations begun before.
    if (FApp.Work.Busy() && IsInputEvent(event->type()))
        return true;
    switch (event->type()) {
    case QEvent::KeyPress:
        if (!IsOwnWidget(watched))
            return false;
        if (FormKeyDown(static_cast<QKeyEvent*>(event)))
            return true;
        // Typing into the zoom list is ignored.
        return watched == cbZoom || watched == cbZoom->lineEdit();
    case QEvent::Wheel:
        return IsOwnWidget(watched) && FormMouseWheel(static_cast<QWheelEvent*>(event));
    case QEvent::ToolTip:
        // Tool tips show while "&Hints" is checked; the hint field always shows the hints.
        return !FApp.Hints() && IsOwnWidget(watched);
    case QEvent::Show:
        // Every dialog and tool window opens where the user can reach it.
        if (ShowsDialogOrToolWindow(watched, event))
            KeepWindowOnScreen(static_cast<QWidget*>(watched));
        return false;
    default:
        return false;
    }
}

// --- model files ---

bool TMainForm::AskSaveChanges() {
    return FApp.Document.MayDiscardChanges(
        [this] {
            QMessageBox box(QMessageBox::Question, "Confirm", kUnsavedQuestion,
                            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
            switch (box.exec()) {
            case QMessageBox::Yes:
                return TSaveAnswer::saYes;
            case QMessageBox::No:
                return TSaveAnswer::saNo;
            default:
                return TSaveAnswer::saCancel;
            }
        },
        [this] { return SaveModelFile(TSaveMode::smComplete); });
}

void TMainForm::AddModelFolders(QFileDialog& dialog) const {
    const TDialogFolders& folders = FApp.Document.DialogFolders();
    std::vector<std::pair<fs::path, QString>> sidebar = {{folders.Save, QString()}};
    if (folders.Demos != folders.Save)
        sidebar.emplace_back(folders.Demos, "Demo models");
    AddSidebarFolders(dialog, sidebar);
}

std::optional<fs::path> TMainForm::AskModelFile(const QString& title, const fs::path& folder) {
    TOpenModelDialog dialog(this, title);
    AddModelFolders(dialog);
    dialog.setDirectory(Text(folder.string()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return PathOf(dialog.selectedFiles().first());
}

bool TMainForm::RunOpenDialog(const QString& title, TLoadMode mode) {
    TOpenModelDialog dialog(this, title);
    AddModelFolders(dialog);
    dialog.setDirectory(Text((mode == TLoadMode::lmComplete ? FApp.Document.DialogFolders().Open
                                                            : FApp.Document.DialogFolders().Subassembly)
                                 .string()));
    if (!FApp.Document.OpenFileName().empty())
        dialog.selectFile(Text(fs::path(FApp.Document.OpenFileName()).filename().string()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FApp.Files.LoadModel(PathOf(dialog.selectedFiles().first()), mode);
    return true;
}

bool TMainForm::SaveModelFile(TSaveMode mode) {
    const TSaveProposal proposal = FApp.Document.PrepareSave(mode);
    QFileDialog dialog(this, mode == TSaveMode::smComplete   ? "Save model as..."
                             : mode == TSaveMode::smSelected ? "Save selected parts as..."
                                                             : "Save displayed parts as...");
    SetUpSaveDialog(dialog);
    if (!proposal.Folder.empty())
        dialog.setDirectory(Text(proposal.Folder.string()));
    if (!proposal.FileName.empty())
        dialog.selectFile(Text(proposal.FileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    return SaveModelWithPreview(PathOf(dialog.selectedFiles().first()), mode);
}

void TMainForm::ExportModelFile(TSaveMode mode) {
    QFileDialog dialog(this, mode == TSaveMode::smComplete   ? "Export model as..."
                             : mode == TSaveMode::smSelected ? "Export selected stones as..."
                                                             : "Export displayed stones as...");
    SetUpExportDialog(dialog);
    dialog.setDirectory(Text(FApp.Document.DialogFolders().Export.string()));
    if (const std::string name = FApp.Files.ExportProposal(); !name.empty())
        dialog.selectFile(Text(name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const fs::path path = PathOf(dialog.selectedFiles().first());
    std::vector<std::string> notes;
    {
        TWaitCursor wait;
        notes = FApp.Files.ExportModel(path, mode);
    }
    if (!notes.empty()) {
        std::string text;
        for (const std::string& note : notes)
            text += (text.empty() ? "" : "\n") + note;
        QMessageBox::warning(this, kApplicationTitle, Text(text));
    }
}

bool TMainForm::SaveModelUnderItsName() {
    const std::optional<fs::path> file = FApp.Files.OwnFile();
    if (!file)
        return SaveModelFile(TSaveMode::smComplete);
    return SaveModelWithPreview(*file, TSaveMode::smComplete);
}

bool TMainForm::SaveModelWithPreview(const fs::path& path, TSaveMode mode) {
    const bool saved = RunReporting(this, [&] { FApp.Files.SaveModel(path, mode); });
    ShowState();
    if (saved) {
        // The model is saved whatever becomes of its preview.
        if (const std::string problem = FApp.Files.SavePreview(path, mode); !problem.empty())
            QMessageBox::warning(this, kApplicationTitle, Text(problem));
    }
    return saved;
}

void TMainForm::ShowLineError(const std::string& message) {
    QMessageBox box(QMessageBox::NoIcon, kApplicationTitle, Text(message), QMessageBox::Ok, this);
    box.exec();
}
