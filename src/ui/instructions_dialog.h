#pragma once
// The building instructions dialog: how many stones a step holds and the
// paper, the booklet's pages to leaf through, and buttons that save it as a
// PDF or as a web page, with progress and a way to stop.

#include <QDialog>
#include <filesystem>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class TBuildingInstructions;

class TInstructionsDialog : public QDialog {
    Q_OBJECT
public:
    // Plans the booklet of the model as it is now; files are proposed under
    // the model's name in the folder given. Raises EError for a model
    // without stones.
    TInstructionsDialog(QWidget* parent, TBuildingInstructions& instructions,
                        const std::filesystem::path& modelFile, const std::filesystem::path& saveFolder);

    int Page() const { return FPage; }

protected:
    // Page Down and Page Up leaf through the pages.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Plans the booklet anew with the options shown, from its first page.
    void Replan();
    void ShowPage(int page);
    // Asks for a file with the filter and writes the booklet there.
    void SaveAs(const QString& title, const QString& filter, const QString& suffix);

    TBuildingInstructions& FInstructions;
    std::filesystem::path FModelFile, FSaveFolder;
    int FPage = 0;
    QSpinBox* FPerStep = nullptr;
    QComboBox* FPaper = nullptr;
    QLabel* FSummary = nullptr;
    QLabel* FPicture = nullptr;
    QLabel* FPageNumber = nullptr;
    QPushButton* FPrevious = nullptr;
    QPushButton* FNext = nullptr;
};

// Shows the dialog over the window, as long as the user keeps it open.
void ShowInstructionsDialog(QWidget* parent, TBuildingInstructions& instructions,
                            const std::filesystem::path& modelFile, const std::filesystem::path& saveFolder);
