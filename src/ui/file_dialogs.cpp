#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <QStringList>

#include "app/picture_output.h"

const char* const kModelOpenFilter = "Stonemill Files (*.STM)|*.STM|All files (*.*)|*.*";
const char* const kModelSaveFilter = "Stonekit files (*.stm)|*.STM|All files (*.*)|*.*";
const char* const kModelExtension = "STM";

QString QtNameFilters(const QString& pipeFilter) {
    const QStringList parts = pipeFilter.split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        // Qt separates the patterns of one filter by spaces.
        const QString pattern = QString(parts[i + 1]).replace(';', ' ');
        if (description.endsWith("(" + pattern + ")", Qt::CaseInsensitive))
            filters << description;
        else
            filters << description + " (" + pattern + ")";
    }
    return filters.join(";;");
}

namespace {
void SetUpModelDialog(QFileDialog& dialog, const char* filter) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(QtNameFilters(filter).split(";;"));
    dialog.setDefaultSuffix(kModelExtension);
    // File names are matched without regard to letter case, so "house.stm"
    // shows under "*.STM".
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
}
} // namespace

void SetUpOpenDialog(QFileDialog& dialog) {
    SetUpModelDialog(dialog, kModelOpenFilter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
}

void SetUpSaveDialog(QFileDialog& dialog) {
    SetUpModelDialog(dialog, kModelSaveFilter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setObjectName("dlgSaveFile");
}

std::optional<std::filesystem::path> AskOpenFile(QWidget* parent, const QString& title, const char* filter,
                                                 const char* defaultSuffix,
                                                 const std::filesystem::path& folder) {
    QFileDialog dialog(parent, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(QtNameFilters(filter).split(";;"));
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (defaultSuffix != nullptr)
        dialog.setDefaultSuffix(defaultSuffix);
    dialog.setDirectory(QString::fromStdString(folder.string()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().first().toStdString());
}

void SetUpPictureSaveDialog(QFileDialog& dialog) {
    dialog.setObjectName("dlgSavePicture");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(QtNameFilters(kPictureFilter).split(";;"));
    auto followFilter = [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(QString::fromStdString(PictureExtensionOfFilter(filter.toStdString())));
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
}
