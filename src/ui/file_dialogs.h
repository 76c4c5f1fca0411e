#pragma once
// The model file dialogs: the open dialog and the save dialog dlgSaveFile, as
// non-native Qt file dialogs with the program's titles and filters.

#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QFileDialog;
class QWidget;

// A filter in the form "Description|pattern|Description|pattern" as a Qt
// name-filter list "Description (pattern);;...". A description that already
// ends in its pattern in parentheses (letter case aside) is taken as it stands.
// Patterns separated by ";" are separated by spaces.
QString QtNameFilters(const QString& pipeFilter);

extern const char* const kModelOpenFilter; // "Stonemill Files (*.STM)|*.STM|All files (*.*)|*.*"
extern const char* const kModelSaveFilter; // "Stonekit files (*.stm)|*.STM|All files (*.*)|*.*"
extern const char* const kModelExtension;  // "STM"

// Model files are opened by name, also names that do not exist: the reader
// reports a file it cannot read.
void SetUpOpenDialog(QFileDialog& dialog);
// A name without an extension gets ".STM". Choosing a file that exists asks,
// with the dialog's own question, whether to replace it; No returns to the
// dialog.
void SetUpSaveDialog(QFileDialog& dialog);
// The picture save dialog: its filters, and the extension of the filter
// chosen for a name typed without one, so that the filter decides the
// picture's format; the same question before a file is replaced.
void SetUpPictureSaveDialog(QFileDialog& dialog);
// The export dialog: one filter per export format; as in the picture save
// dialog, the filter chosen decides the format of a name typed without an
// extension, and replacing a file is asked first.
void SetUpExportDialog(QFileDialog& dialog);
// The open dialog's sidebar: its usual places, then the folders, each shown
// under its label (or its own name when the label is empty).
void AddSidebarFolders(QFileDialog& dialog,
                       const std::vector<std::pair<std::filesystem::path, QString>>& folders);

// Runs a non-native open dialog with the title, the filter (in the pipe form
// above), the default extension and the starting folder; the chosen file, or
// none when cancelled.
std::optional<std::filesystem::path> AskOpenFile(QWidget* parent, const QString& title, const char* filter,
                                                 const char* defaultSuffix,
                                                 const std::filesystem::path& folder);

// Runs a non-native save dialog named `name` with the title, one Qt name
// filter and "All files", proposing the file under the stem with the
// extension in the folder (when one is given); the chosen file, or none when
// cancelled. A file that exists is replaced only after the dialog's question.
std::optional<std::filesystem::path> AskSaveFile(QWidget* parent, const char* name, const QString& title,
                                                 const QString& filter, const QString& extension,
                                                 const std::filesystem::path& folder,
                                                 const std::string& stem);
