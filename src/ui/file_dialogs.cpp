#include "ui/file_dialogs.h"

#include <QFileDialog>
#include <QListView>
#include <QSplitter>
#include <QStringList>
#include <QStyle>
#include <QUrl>
#include <algorithm>

#include "app/picture_output.h"
#include "export/model_export.h"

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

std::optional<std::filesystem::path> AskSaveFile(QWidget* parent, const char* name, const QString& title,
                                                 const QString& filter, const QString& extension,
                                                 const std::filesystem::path& folder,
                                                 const std::string& stem) {
    QFileDialog dialog(parent, title);
    dialog.setObjectName(name);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({filter, "All files (*)"});
    dialog.setDefaultSuffix(extension);
    if (!folder.empty())
        dialog.setDirectory(QString::fromStdString(folder.string()));
    dialog.selectFile(QString::fromStdString(stem) + "." + extension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return std::filesystem::path(dialog.selectedFiles().first().toStdString());
}

namespace {
// A save dialog whose chosen filter gives a name typed without an extension its extension.
void SetUpFormatSaveDialog(QFileDialog& dialog, const char* name, const QString& pipeFilter) {
    dialog.setObjectName(name);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters(QtNameFilters(pipeFilter).split(";;"));
    auto followFilter = [&dialog](const QString& filter) {
        dialog.setDefaultSuffix(QString::fromStdString(PictureExtensionOfFilter(filter.toStdString())));
    };
    followFilter(dialog.selectedNameFilter());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, followFilter);
}
} // namespace

void SetUpPictureSaveDialog(QFileDialog& dialog) {
    SetUpFormatSaveDialog(dialog, "dlgSavePicture", kPictureFilter);
}

void SetUpExportDialog(QFileDialog& dialog) {
    SetUpFormatSaveDialog(dialog, "dlgExport", QString::fromStdString(ExportFilter()));
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
}

namespace {

using TSidebarLabels = QList<QPair<QUrl, QString>>;

// The sidebar names a folder by its own name, again whenever the folder
// changes: the labels are put back each time.
void KeepSidebarLabels(QFileDialog& dialog, QListView* sidebar, const TSidebarLabels& labels) {
    QAbstractItemModel* model = sidebar->model();
    auto apply = [&dialog, model, labels] {
        const QList<QUrl> shown = dialog.sidebarUrls();
        for (const auto& [url, label] : labels) {
            const qsizetype row = shown.indexOf(url);
            if (row < 0 || row >= model->rowCount())
                continue;
            const QModelIndex entry = model->index(static_cast<int>(row), 0);
            if (entry.data(Qt::DisplayRole).toString() != label) {
                model->setData(entry, label, Qt::DisplayRole);
                model->setData(entry, url.toLocalFile(), Qt::ToolTipRole);
            }
        }
    };
    apply();
    QObject::connect(model, &QAbstractItemModel::dataChanged, &dialog, apply);
}

// Makes the sidebar wide enough for the labels beside their folder icons,
// taking the width from the file list beside it.
void WidenSidebar(QListView* sidebar, const TSidebarLabels& labels) {
    auto* splitter = qobject_cast<QSplitter*>(sidebar->parentWidget());
    if (splitter == nullptr || splitter->indexOf(sidebar) != 0)
        return;
    int widest = 0;
    for (const auto& [url, label] : labels)
        widest = std::max(widest, sidebar->fontMetrics().horizontalAdvance(label));
    const int wanted = widest + sidebar->style()->pixelMetric(QStyle::PM_SmallIconSize) + 32;
    QList<int> sizes = splitter->sizes();
    if (sizes.size() == 2 && sizes[0] < wanted) {
        sizes[1] = std::max(0, sizes[1] - (wanted - sizes[0]));
        sizes[0] = wanted;
        splitter->setSizes(sizes);
    }
}

} // namespace

void AddSidebarFolders(QFileDialog& dialog,
                       const std::vector<std::pair<std::filesystem::path, QString>>& folders) {
    // The dialog keeps its sidebar's entries in the desktop's settings for
    // every program's dialogs: the user's own are put back once it closes,
    // so the program's folders show in its own dialogs only.
    const QList<QUrl> own = dialog.sidebarUrls();
    QObject::connect(&dialog, &QDialog::finished, &dialog, [&dialog, own] { dialog.setSidebarUrls(own); });
    QList<QUrl> urls = own;
    TSidebarLabels labels;
    for (const auto& [folder, label] : folders) {
        const QUrl url = QUrl::fromLocalFile(QString::fromStdString(folder.string()));
        if (!urls.contains(url))
            urls << url;
        if (!label.isEmpty())
            labels.append({url, label});
    }
    dialog.setSidebarUrls(urls);
    auto* sidebar = dialog.findChild<QListView*>("sidebar");
    if (sidebar == nullptr || sidebar->model() == nullptr || labels.isEmpty())
        return;
    KeepSidebarLabels(dialog, sidebar, labels);
    WidenSidebar(sidebar, labels);
}
