#include "ui/dialogs/about_box.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <system_error>

#include "app/program_version.h"

TAboutBox::TAboutBox(const std::filesystem::path& programFolder, QWidget* parent)
    : QDialog(parent), OpenUrl(&QDesktopServices::openUrl), FProgramFolder(programFolder) {
    setObjectName("AboutBox");
    setWindowTitle("About Stonemill");
    auto* title = new QLabel("<h2>Stonemill</h2>", this);
    auto* version =
        new QLabel(QString("Version %1, released %2").arg(kProgramVersion, kProgramReleaseDate), this);
    version->setObjectName("Version");
    auto* credits = new QLabel("Written by the Stonemill developers.<br>"
                               "Its drawing, sorting and files are its own; Qt draws its windows,<br>"
                               "libpng and libjpeg write its pictures, and POV-Ray renders its scenes.",
                               this);
    credits->setObjectName("Credits");
    credits->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    credits->setMargin(8);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* instructions = buttons->addButton("Instructions...", QDialogButtonBox::ActionRole);
    instructions->setObjectName("btnInstructions");
    connect(instructions, &QPushButton::clicked, this, &TAboutBox::InstructionsClick);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title);
    layout->addWidget(version);
    layout->addWidget(credits);
    layout->addWidget(buttons);
}

void TAboutBox::InstructionsClick() {
    const std::filesystem::path guide = FProgramFolder / "instruct.html";
    std::error_code error;
    if (!std::filesystem::is_regular_file(guide, error)) {
        QMessageBox::warning(
            this, "Stonemill",
            QString::fromStdString("The instructions " + guide.string() + " could not be found."));
        return;
    }
    if (!OpenUrl(QUrl::fromLocalFile(QString::fromStdString(guide.string()))))
        QMessageBox::warning(this, "Stonemill", "No program to show the instructions could be started.");
}
