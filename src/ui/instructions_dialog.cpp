#include "ui/instructions_dialog.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/building_instructions.h"
#include "platform/bitmap.h"
#include "ui/error_report.h"
#include "ui/file_dialogs.h"
#include "ui/ui_helpers.h"

namespace {

// The width of a page as the dialog shows it, in pixels.
constexpr int kPageWidth = 480;

} // namespace

TInstructionsDialog::TInstructionsDialog(QWidget* parent, TBuildingInstructions& instructions,
                                         const std::filesystem::path& modelFile,
                                         const std::filesystem::path& saveFolder)
    : QDialog(parent), FInstructions(instructions), FModelFile(modelFile), FSaveFolder(saveFolder) {
    setObjectName("InstructionsDialog");
    setWindowTitle(Text(modelFile.empty() ? "Building instructions"
                                          : "Building instructions of " + modelFile.filename().string()));

    FPerStep = new QSpinBox(this);
    FPerStep->setObjectName("sePerStep");
    FPerStep->setRange(1, kMostStonesPerStep);
    FPerStep->setValue(TInstructionsOptions().PerStep);
    FPaper = new QComboBox(this);
    FPaper->setObjectName("cbPaper");
    FPaper->addItems({kPaperA4.Name, kPaperLetter.Name});
    FSummary = new QLabel(this);
    FSummary->setObjectName("lblSummary");
    auto* options = new QHBoxLayout;
    auto* perStepLabel = new QLabel("&Stones per step:", this);
    perStepLabel->setBuddy(FPerStep);
    auto* paperLabel = new QLabel("&Paper:", this);
    paperLabel->setBuddy(FPaper);
    options->addWidget(perStepLabel);
    options->addWidget(FPerStep);
    options->addSpacing(12);
    options->addWidget(paperLabel);
    options->addWidget(FPaper);
    options->addSpacing(12);
    options->addWidget(FSummary, 1);

    FPicture = new QLabel(this);
    FPicture->setObjectName("PagePicture");
    FPicture->setAlignment(Qt::AlignCenter);
    FPicture->setFrameShape(QFrame::StyledPanel);
    FPicture->setMinimumSize(kPageWidth + 4, kPageWidth * 297 / 210 + 4);

    auto* leafing = new QHBoxLayout;
    FPrevious = AddRowButton(this, leafing, "btnPrevious", "< P&revious", [this] { ShowPage(FPage - 1); });
    FPageNumber = new QLabel(this);
    FPageNumber->setObjectName("lblPage");
    FPageNumber->setAlignment(Qt::AlignCenter);
    leafing->addWidget(FPageNumber, 1);
    FNext = AddRowButton(this, leafing, "btnNext", "&Next >", [this] { ShowPage(FPage + 1); });

    auto* buttons = new QHBoxLayout;
    AddRowButton(this, buttons, "btnSavePdf", "Save as &PDF...",
                 [this] { SaveAs("Save the building instructions as PDF", "PDF files (*.pdf)", "pdf"); });
    AddRowButton(this, buttons, "btnSaveHtml", "Save as &HTML...", [this] {
        SaveAs("Save the building instructions as a web page", "Web pages (*.html)", "html");
    });
    buttons->addStretch();
    AddRowButton(this, buttons, "btnClose", "Close", [this] { close(); });

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(FPicture, 1);
    layout->addLayout(leafing);
    layout->addLayout(buttons);

    connect(FPerStep, &QSpinBox::valueChanged, this, [this] { RunReporting(this, [this] { Replan(); }); });
    connect(FPaper, &QComboBox::currentIndexChanged, this,
            [this] { RunReporting(this, [this] { Replan(); }); });
    Replan();
    // The pages have the keys first: Page Down in the step count's box would
    // change the count.
    FNext->setFocus();
}

void TInstructionsDialog::Replan() {
    TInstructionsOptions options;
    options.PerStep = FPerStep->value();
    options.Paper = PaperByName(FPaper->currentText().toStdString()).value_or(kPaperA4);
    TWaitCursor wait;
    FInstructions.Prepare(options);
    const int steps = FInstructions.StepCount(), pages = FInstructions.PageCount();
    FSummary->setText(QString("%1 %2 on %3 %4")
                          .arg(steps)
                          .arg(steps == 1 ? "step" : "steps")
                          .arg(pages)
                          .arg(pages == 1 ? "page" : "pages"));
    ShowPage(0);
}

void TInstructionsDialog::ShowPage(int page) {
    FPage = std::clamp(page, 0, std::max(0, FInstructions.PageCount() - 1));
    TBitmap picture(1, 1, pf32bit);
    RunReporting(this, [&] {
        TWaitCursor wait;
        FInstructions.DrawPage(FPage, picture, kPageWidth);
    });
    FPicture->setPixmap(QPixmap::fromImage(picture.ToImage()));
    FPageNumber->setText(QString("Page %1 of %2").arg(FPage + 1).arg(FInstructions.PageCount()));
    FPrevious->setEnabled(FPage > 0);
    FNext->setEnabled(FPage + 1 < FInstructions.PageCount());
}

void TInstructionsDialog::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_PageDown || event->key() == Qt::Key_PageUp)
        ShowPage(FPage + (event->key() == Qt::Key_PageDown ? 1 : -1));
    else
        QDialog::keyPressEvent(event);
}

void TInstructionsDialog::SaveAs(const QString& title, const QString& filter, const QString& suffix) {
    const std::string stem = FModelFile.stem().empty() ? std::string("instructions")
                                                       : FModelFile.stem().string() + " instructions";
    const auto chosen = AskSaveFile(this, "dlgSaveInstructions", title, filter, suffix, FSaveFolder, stem);
    if (!chosen)
        return;
    const std::filesystem::path path = *chosen;

    QProgressDialog progress("Writing the building instructions...", "Cancel", 0, FInstructions.PageCount(),
                             this);
    progress.setObjectName("InstructionsProgress");
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    RunReporting(this, [&] {
        FInstructions.Save(path, [&](int done, int) {
            progress.setValue(done);
            QCoreApplication::processEvents();
            return !progress.wasCanceled();
        });
    });
    progress.reset();
}

void ShowInstructionsDialog(QWidget* parent, TBuildingInstructions& instructions,
                            const std::filesystem::path& modelFile, const std::filesystem::path& saveFolder) {
    TInstructionsDialog* dialog = nullptr;
    if (!RunReporting(parent,
                      [&] { dialog = new TInstructionsDialog(parent, instructions, modelFile, saveFolder); }))
        return;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->exec();
}
