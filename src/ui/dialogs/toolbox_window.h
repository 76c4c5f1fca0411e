#pragma once
// TAdvOptions, "Advanced toolbox": colour, transparency, turns and exact grid
// moves for the whole selection, the group and selection commands, the
// positioning grid, and replacing one colour throughout the model.

#include <QDialog>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TStonemillApp;

class TAdvOptions : public QDialog {
    Q_OBJECT
public:
    TAdvOptions(TStonemillApp& app, QWidget* parent);

    // Runs a command with the main window's error handling, which shows the
    // window's state afterwards.
    std::function<void(const std::function<void()>& command)> Run;
    // The grid was chosen here: the main window takes it over.
    std::function<void(int index)> OnResolution;
    // Told when the window is hidden (by "Close" or its frame).
    std::function<void()> OnHidden;

    // "Make group" and "Break group" follow the selection.
    void UpdateGroupButtons();
    // The main window's grid, written without being sent back.
    void SetResolution(int index);
    // The position display: where the stone in hand is, or the lowest corner
    // of the stones the last command changed (99999 for none).
    void ShowPosition();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    // A selection command, then the position it left.
    void OnSelection(const std::function<void()>& command);
    void Move(int axis);
    // After each command the keys go to the main window again, so the user
    // goes on building there.
    void ReturnFocus();

    TStonemillApp& FApp;
    bool FUpdatingResolution = false;
    std::array<QLineEdit*, 3> FSteps{};
    std::array<QLabel*, 3> FPosition{};
    QPushButton* spMakeGroup;
    QPushButton* spBreakGroup;
    QComboBox* cbResolution;
};
