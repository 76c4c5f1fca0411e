#pragma once
// TMainForm: the main window. Toolbars and menus made from the command table,
// the 3D view (Panel3 with PaintBox1, the hidden rotation bars, the offset bars
// and the home button), the model file dialogs and the unsaved-changes
// question. Every handler reads its event, calls the application core and
// shows the result.

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPoint>
#include <functional>
#include <map>
#include <optional>

#include "app/command_line.h"
#include "app/stonemill_app.h"
#include "ui/commands.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QFileDialog;
class QLineEdit;
class QMenu;
class QMouseEvent;
class QScrollBar;
class QToolBar;
class QTimer;
class QToolButton;
class TAboutBox;
class TAdvOptions;
class TDlg;
class TPaintBox;
class TPalettePanel;
class TSizeCamera;
class TfrmSetEdgeFactor;
class TfrmSetLight;

// The title of the program's message boxes.
extern const char* const kApplicationTitle; // "Stonemill"
extern const char* const kUnsavedQuestion;  // "The model has not been saved!\r\nDo You want to save it now?"

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // The deferred start-up step, posted when the window is made and run once
    // the window is shown.
    static constexpr int kDeferredStartMessage = 1188;
    // The cutting dialog's request for a redraw.
    static constexpr int kCutRedrawMessage = 1189;

    TMainForm(TStonemillApp& app, const TStartArguments& start, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Runs a command of the table by its id, as its button, menu item or key does.
    void RunCommand(TCommandId id);
    QAction* Action(TCommandId id) const;
    // Queues a message to the window; it runs after the events already waiting.
    void PostMessage(int message);
    // Opens a picture with the desktop's own viewer; false when the desktop
    // has none (the system's way unless a test puts its own).
    std::function<bool(const std::filesystem::path& picture)> OpenWithDesktop;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateActions();
    // Adds the commands of the place to the menu, its submenus with them.
    void FillMenu(QMenu* menu, TCommandPlace place);
    void CreateMenus();
    // A toolbar with the buttons of the commands of the place, if one is given.
    QToolBar* AddToolBar(Qt::ToolBarArea area, const char* title, const char* name,
                         std::optional<TCommandPlace> place);
    void CreateToolBars();
    void CreateView();
    // The status bar: the stone in hand, its place, the grid, the mode, the
    // selection and the model's size.
    void CreateStatusBar();
    void ShowStatus();
    // Reads the settings file into the palette, the swatches and the drawing options.
    void ReadSettings();
    QToolButton* MakeButton(TCommandId id, QWidget* parent);

    // Runs a change of the core; an error is shown in the error box. The
    // window's controls show the state afterwards.
    void Run(const std::function<void()>& change);
    void Execute(TCommandId id);
    // Writes the core's state into the controls without their change events acting.
    void ShowState();
    void ShowError(const std::string& message);
    // Whether a command's rule holds now.
    bool RuleHolds(TCommandRule rule) const;
    // Enables the controls of the commands in these places by their rules.
    void ShowRules(std::initializer_list<TCommandPlace> places);
    void HandleMessage(int message);
    void DeferredStart();

    // --- handlers ---
    void btnClearClick();
    void mNewmodelClick();
    void mSaveModelClick();
    void mSaveSelectedClick();
    void Displayedstonesonly1Click();
    void RadioGroup1Click(int tag);
    void btnHomeClick();
    void RefreshDisplayClick();
    void cbZoomSelect(int index);
    void RotXChange();
    void OffsetXChange();
    void PaintBox1Resize(int width, int height);
    void PaintBox1MouseDown(QMouseEvent* event);
    void PaintBox1MouseMove(QMouseEvent* event);
    void PaintBox1MouseUp(QMouseEvent* event);
    // " caption" of the stone under the mouse in the hint label, or the label hidden.
    void ShowStoneHint(const std::optional<std::string>& caption);
    // With piece-by-piece drawing, shows the picture after each stone.
    void ShowStoneByStone(int drawn, int total);
    void cbResolutionChange(int index);
    // --- pictures (main_form_pictures.cpp) ---
    void CreatePictureDialogs();
    void btnSavePicClick();
    // While the frame is shown the mouse in the view works the frame; these
    // return whether it did.
    bool FrameMouseDown(QMouseEvent* event);
    bool FrameMouseMove(QMouseEvent* event);
    bool FrameMouseUp();
    void SetFrameSize();
    void SavePictureClick(int factor);
    void btnPrintClick();
    void Backgroundpicture1Click();
    void Adjustlight1Click();
    void Edgedarkening1Click();
    // "&POV": the scene written and POV-Ray started on it; once it is done
    // the picture is offered.
    void GoPOVit();
    void PovRayProgress();
    void mSubassemblyClick();
    void Breakupascene1Click();
    void pumLoadPopup();
    bool FormKeyDown(QKeyEvent* event);
    bool FormMouseWheel(QWheelEvent* event);
    bool FormCloseQuery();
    // The settings and changed part definitions are written back when the window goes.
    void FormDestroy();
    void Hints1Click();
    void btnColorDlgClick();
    void Loadaset1Click();

    // --- model files ---
    // The unsaved-changes question; true when the caller may go on.
    bool AskSaveChanges();
    // The open dialog's sidebar entries: the user's models, and the demo models
    // shipped with the program.
    void AddModelFolders(QFileDialog& dialog) const;
    // Runs the open dialog for models with the title in the folder; the chosen file.
    std::optional<std::filesystem::path> AskModelFile(const QString& title,
                                                      const std::filesystem::path& folder);
    // Runs the open dialog and loads the chosen file in the mode; false when cancelled.
    bool RunOpenDialog(const QString& title, TLoadMode mode);
    // Runs the save dialog and writes the file; false when cancelled or failed.
    // Ctrl + S: the model goes back into its own file without a question;
    // without one of the user's, the save dialog asks for a name.
    bool SaveModelUnderItsName();
    bool SaveModelFile(TSaveMode mode);
    // Asks for a file and exports the stones of the mode into it.
    void ExportModelFile(TSaveMode mode);
    // Writes the model, then its preview picture beside it; false when the
    // model could not be written.
    bool SaveModelWithPreview(const std::filesystem::path& path, TSaveMode mode);
    void ShowLineError(const std::string& message);

    bool IsOwnWidget(QObject* object) const;

    TStonemillApp& FApp;
    TStartArguments FStart;
    std::map<TCommandId, QAction*> FActions;
    std::map<TCommandId, QToolButton*> FButtons;
    std::map<TRadioGroup, QActionGroup*> FRadioGroups;
    std::map<TCommandPlace, QMenu*> FMenus;
    QMenu* pumLoad = nullptr;
    QWidget* Panel3 = nullptr;
    TPaintBox* PaintBox1 = nullptr;
    QScrollBar* RotX = nullptr;
    QScrollBar* RotY = nullptr;
    QScrollBar* RotZ = nullptr;
    QScrollBar* OffsetX = nullptr;
    QScrollBar* OffsetY = nullptr;
    QComboBox* cbZoom = nullptr;
    QLineEdit* edHint = nullptr;
    QLineEdit* HintLabel = nullptr;
    QAction* FHintLabelAction = nullptr;
    QComboBox* cbResolution = nullptr;
    QLabel* stHand = nullptr;
    QLabel* stPosition = nullptr;
    QLabel* stGrid = nullptr;
    QLabel* stMode = nullptr;
    QLabel* stSelected = nullptr;
    QLabel* stStones = nullptr;
    // The load menu's items for the recent files.
    QList<QAction*> FRecentItems;
    TPalettePanel* Panel2 = nullptr;
    TSizeCamera* FSizeCamera = nullptr;
    TfrmSetLight* FLightDialog = nullptr;
    TfrmSetEdgeFactor* FEdgeFactorDialog = nullptr;
    TDlg* FCutDialog = nullptr;
    TAboutBox* FAboutBox = nullptr;
    TAdvOptions* FToolbox = nullptr;
    // POV-Ray started last, watched until it ends.
    std::optional<TPovRayRun> FPovRay;
    QTimer* FPovRayWatch = nullptr;
    // A problem with the settings file, shown once the window is up.
    std::string FSettingsProblem;
    bool FDestroyed = false;
    // Raised while the window writes its own controls.
    int FUpdating = 0;
    // Raised while a key command runs.
    bool FKeyBusy = false;
    // Shift + right drag turning the view: the last mouse position.
    bool FMouseRotating = false;
    QPoint FLastMouse;
    // When piece-by-piece drawing last showed the picture.
    QElapsedTimer FLastShown;
};
