// The main window's pictures: the picture frame over the view with its
// title-bar buttons and size box, saving pictures, printing, and the
// background picture, light direction and edge darkening of the view.

#include "ui/main_form.h"

#include <QApplication>
#include <QFileDialog>
#include <QImageReader>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScreen>
#include <QTimer>

#include "common/error.h"
#include "platform/canvas.h"
#include "ui/dialogs/edge_factor_dialog.h"
#include "ui/dialogs/light_dialog.h"
#include "ui/dialogs/picture_size_dialog.h"
#include "ui/file_dialogs.h"
#include "ui/paint_box.h"
#include "ui/picture_window.h"
#include "ui/ui_helpers.h"

namespace fs = std::filesystem;

namespace {

Qt::CursorShape ShapeOf(TFrameCursor cursor) {
    switch (cursor) {
    case TFrameCursor::fcMove:
        return Qt::SizeAllCursor;
    case TFrameCursor::fcSizeVertical:
        return Qt::SizeVerCursor;
    case TFrameCursor::fcSizeHorizontal:
        return Qt::SizeHorCursor;
    case TFrameCursor::fcSizeDiagonal:
        return Qt::SizeFDiagCursor;
    case TFrameCursor::fcSizeAntiDiagonal:
        return Qt::SizeBDiagCursor;
    default:
        return Qt::ArrowCursor;
    }
}

// Shows how far a long piece of work has come, once it has taken half a second.
class TWorkProgress {
public:
    TWorkProgress(QWidget* parent, const QString& text) : FDialog(text, QString(), 0, 1000, parent) {
        FDialog.setWindowTitle("Stonemill");
        FDialog.setWindowModality(Qt::WindowModal);
        FDialog.setMinimumDuration(500);
        FDialog.setCancelButton(nullptr);
        FDialog.setValue(0);
    }
    void Report(double done) { FDialog.setValue(static_cast<int>(done * 1000)); }

private:
    QProgressDialog FDialog;
};

} // namespace

void TMainForm::CreatePictureDialogs() {
    FSizeCamera = new TSizeCamera(this);
    FLightDialog = new TfrmSetLight(this);
    FLightDialog->Preview = [this](const std::array<int32_t, 3>& light) {
        // The view shows the light at once; the light itself changes only on OK.
        FApp.Scene.PreviewLight(light);
        PaintBox1->repaint();
        QApplication::processEvents();
    };
    FEdgeFactorDialog = new TfrmSetEdgeFactor(this);
}

// --- the picture frame ---

void TMainForm::btnSavePicClick() {
    FApp.Pictures.Frame().Toggle();
    PaintBox1->update();
}

bool TMainForm::FrameMouseDown(QMouseEvent* event) {
    TPictureFrame& frame = FApp.Pictures.Frame();
    const QPoint at = event->position().toPoint();
    // Only the frame's title bar and edges are the frame's; elsewhere the
    // view places and selects as without it.
    if (!frame.Shown || frame.AreaAt(at.x(), at.y()) == TFrameArea::faNone)
        return false;
    if (event->button() != Qt::LeftButton)
        return true;
    const Qt::KeyboardModifiers keys = event->modifiers();
    switch (frame.AreaAt(at.x(), at.y())) {
    case TFrameArea::faClose:
        frame.Hide();
        break;
    case TFrameArea::faMaximise:
        frame.Maximise(PaintBox1->width(), PaintBox1->height());
        break;
    case TFrameArea::faPresets:
        frame.Preset(keys & Qt::ShiftModifier, keys & Qt::ControlModifier, keys & Qt::AltModifier);
        break;
    case TFrameArea::faSavePlain:
    case TFrameArea::faSaveAntiAliased:
    case TFrameArea::faSave2:
    case TFrameArea::faSave4:
    case TFrameArea::faSave8:
        Run([&] { SavePictureClick(SaveFactorOf(frame.AreaAt(at.x(), at.y()))); });
        break;
    case TFrameArea::faSizeLabel:
        Run([&] { SetFrameSize(); });
        break;
    default:
        frame.StartDrag(at.x(), at.y());
        break;
    }
    ShowState();
    PaintBox1->update();
    return true;
}

bool TMainForm::FrameMouseMove(QMouseEvent* event) {
    TPictureFrame& frame = FApp.Pictures.Frame();
    if (!frame.Shown)
        return false;
    const QPoint at = event->position().toPoint();
    if ((event->buttons() & Qt::LeftButton) && frame.Dragging()) {
        if (frame.Drag(at.x(), at.y()))
            PaintBox1->update();
        return true;
    }
    if (frame.AreaAt(at.x(), at.y()) != TFrameArea::faNone) {
        PaintBox1->setCursor(ShapeOf(frame.CursorAt(at.x(), at.y())));
        return true;
    }
    PaintBox1->setCursor(FApp.Hand.Holding() ? Qt::BlankCursor : Qt::ArrowCursor);
    return false;
}

bool TMainForm::FrameMouseUp() {
    TPictureFrame& frame = FApp.Pictures.Frame();
    if (!frame.Shown || !frame.Dragging())
        return false;
    frame.EndDrag();
    return true;
}

void TMainForm::SetFrameSize() {
    TPictureFrame& frame = FApp.Pictures.Frame();
    // Beside the size label, kept inside the view.
    QPoint at = PaintBox1->mapToGlobal(QPoint(frame.Rect.Right + 4, frame.Rect.Top + 11));
    const int rightEdge = PaintBox1->mapToGlobal(QPoint(PaintBox1->width(), 0)).x();
    FSizeCamera->adjustSize();
    at.setX(std::min(at.x(), rightEdge - FSizeCamera->width()));
    FSizeCamera->move(at);
    FSizeCamera->SetWidth(frame.Rect.Width());
    FSizeCamera->SetHeight(frame.Rect.Height());
    if (FSizeCamera->exec() != QDialog::Accepted)
        return;
    const int width = FSizeCamera->GetWidth(), height = FSizeCamera->GetHeight();
    frame.Resize(std::max(width, kFrameMinWidth), std::max(height, kFrameMinHeight));
}

void TMainForm::SavePictureClick(int factor) {
    QFileDialog dialog(this, Text(SavePictureTitle(factor, FApp.Pictures.Frame().Rect)));
    SetUpPictureSaveDialog(dialog);
    dialog.setDirectory(Text(FApp.Pictures.PictureFolder().string()));
    const std::string model = fs::path(FApp.Document.OpenFileName()).stem().string();
    if (!model.empty())
        dialog.selectFile(Text(model));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const fs::path path = PathOf(dialog.selectedFiles().first());
    TWaitCursor wait;
    TWorkProgress progress(this, "Saving the picture...");
    FApp.Pictures.SavePicture(factor, path, [&](double done) { progress.Report(done); });
}

// --- printing ---

void TMainForm::btnPrintClick() {
    // The page is shown as it will print; printing from the preview asks for the printer.
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog preview(&printer, this);
    preview.setObjectName("PrintDialog1");
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        Run([&] {
            TWaitCursor wait;
            QPainter painter(target);
            TCanvas canvas(&painter);
            FApp.Pictures.PrintOn(canvas, target->width(), target->height());
        });
    });
    preview.exec();
}

// --- the view's background and light ---

void TMainForm::Backgroundpicture1Click() {
    QString filter = "Pictures (";
    for (const QByteArray& format : QImageReader::supportedImageFormats())
        filter += "*." + QString::fromLatin1(format) + " ";
    filter = filter.trimmed() + ")";
    QFileDialog dialog(this, "Background picture");
    dialog.setObjectName("OpenPictureDialog1");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({filter, "All files (*)"});
    if (!FApp.Scene.BackgroundFile().empty())
        dialog.setDirectory(Text(FApp.Scene.BackgroundFile().parent_path().string()));
    std::optional<fs::path> chosen;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        chosen = PathOf(dialog.selectedFiles().first());
    FApp.Scene.ChooseBackgroundPicture(chosen);
}

void TMainForm::Adjustlight1Click() {
    std::array<int32_t, 3> light = FApp.Scene.View().Light;
    if (FLightDialog->ExecuteLight(light))
        FApp.Scene.SetLight(light[0], light[1], light[2]);
    else
        FApp.Scene.RedrawPicture(); // a preview leaves nothing behind
}

void TMainForm::Edgedarkening1Click() {
    float factor = FApp.Scene.View().EdgeFactor;
    if (FEdgeFactorDialog->ExecuteEdgeFactor(factor))
        FApp.Scene.SetEdgeFactor(factor);
}

// --- POV-Ray ---

void TMainForm::GoPOVit() {
    const fs::path folder = FApp.Pov.RenderFolder();
    FApp.Pov.Export(folder);
    const bool noDisplay =
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    FPovRay = FApp.Pov.Start(folder, noDisplay);
    if (FPovRayWatch == nullptr) {
        FPovRayWatch = new QTimer(this);
        connect(FPovRayWatch, &QTimer::timeout, this, &TMainForm::PovRayProgress);
    }
    FPovRayWatch->start(300);
}

void TMainForm::PovRayProgress() {
    if (!FPovRay)
        return;
    const fs::path picture = FPovRay->Picture();
    try {
        if (FPovRay->Running())
            return;
    } catch (const EError& failure) {
        FPovRayWatch->stop();
        FPovRay.reset();
        ShowError(failure.what());
        return;
    }
    FPovRayWatch->stop();
    FPovRay.reset();
    if (QMessageBox::question(this, kApplicationTitle,
                              Text("POV-Ray has drawn the picture " + picture.string() + ".\nOpen it?")) !=
        QMessageBox::Yes)
        return;
    if (OpenWithDesktop(picture))
        return;
    // No program of the desktop shows pictures: the picture is shown here.
    ShowPictureWindow(this, picture);
}
