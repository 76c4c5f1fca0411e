#pragma once
// The parts list window: every kind of stone and colour the model holds, with
// a picture of the stone, its name, its colour and how many, in a table that
// sorts by any column; the totals below; and buttons that save the list as
// CSV, as a web page or as a set file.

#include <QDialog>
#include <filesystem>

#include "export/parts_list.h"

class QTableWidget;
class TPartsListOutput;

class TPartsListWindow : public QDialog {
    Q_OBJECT
public:
    // Lists the stones the model holds now; the window keeps that list. Files
    // are proposed under the model's name in the folder given.
    TPartsListWindow(QWidget* parent, const TPartsListOutput& output, const std::filesystem::path& modelFile,
                     const std::filesystem::path& saveFolder);

    // The table's columns.
    enum TColumn { colPicture, colName, colColor, colCount };

private:
    void FillTable();
    // Asks for a file name with the dialog's filter and saves the list there.
    void SaveAs(const QString& title, const QString& filter, const QString& suffix);

    const TPartsListOutput& FOutput;
    TPartsList FList;
    std::filesystem::path FModelFile, FSaveFolder;
    QTableWidget* FTable = nullptr;
};

// Shows the parts list of the open model beside the main window, which stays
// usable; the window goes when it is closed.
void ShowPartsListWindow(QWidget* parent, const TPartsListOutput& output,
                         const std::filesystem::path& modelFile, const std::filesystem::path& saveFolder);
