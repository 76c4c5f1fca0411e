#include "platform/page_painter.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cmath>
#include <map>

#include "common/error.h"
#include "platform/atomic_file.h"
#include "platform/bitmap.h"

namespace fs = std::filesystem;

namespace {

QColor ToQColor(TColor color) {
    const TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

// The drawing both kinds of pages share: millimetres turned into the
// device's units, and recurring pictures kept by name so that one drawn again
// is the same image (a PDF then holds it once).
class TPagePainter {
public:
    void Start(QPaintDevice* device, double unitsPerMm) {
        FUnitsPerMm = unitsPerMm;
        FPainter = std::make_unique<QPainter>();
        FPainter->begin(device);
        FPainter->setRenderHint(QPainter::Antialiasing);
        FPainter->setRenderHint(QPainter::TextAntialiasing);
        FPainter->setRenderHint(QPainter::SmoothPixmapTransform);
        // The pictures keep their exact pixels: drawn stones are flat colours
        // with sharp edges, which lossy compression smears into the paper.
        FPainter->setRenderHint(QPainter::LosslessImageRendering);
    }
    bool Active() const { return FPainter && FPainter->isActive(); }
    // Ends the painting. A painter whose end fails (out of memory while the
    // document's tail is written) still counts as painting, and destroying it
    // would end it once more, beyond any handler: it is given up, not freed.
    void End() {
        if (!Active())
            return;
        try {
            FPainter->end();
        } catch (...) {
            static_cast<void>(FPainter.release());
            throw;
        }
    }
    void Clear(double widthMm, double heightMm) {
        FPainter->fillRect(Device({0, 0, widthMm, heightMm}), Qt::white);
    }

    void Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) {
        FPainter->fillRect(Device(rect), ToQColor(fill));
        if (borderMm <= 0)
            return;
        const double w = borderMm * FUnitsPerMm;
        QPen pen(ToQColor(border), w);
        pen.setJoinStyle(Qt::MiterJoin);
        FPainter->setPen(pen);
        FPainter->setBrush(Qt::NoBrush);
        FPainter->drawRect(Device(rect).adjusted(w / 2, w / 2, -w / 2, -w / 2));
    }

    void Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPointSizeF(style.Points);
        font.setBold(style.Bold);
        FPainter->setFont(font);
        FPainter->setPen(ToQColor(style.Color));
        const QRectF box = Device(rect);
        const QString line = QFontMetricsF(font, FPainter->device())
                                 .elidedText(QString::fromUtf8(text), Qt::ElideRight, box.width());
        const Qt::Alignment across = style.Align == TTextAlign::Left     ? Qt::AlignLeft
                                     : style.Align == TTextAlign::Centre ? Qt::AlignHCenter
                                                                         : Qt::AlignRight;
        FPainter->drawText(box, static_cast<int>(across | Qt::AlignVCenter) | Qt::TextSingleLine, line);
    }

    void Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) {
        if (!recurs) {
            FPainter->drawImage(Device(rect), picture.Image());
            return;
        }
        auto it = FPictures.find(name);
        if (it == FPictures.end())
            it = FPictures.emplace(name, picture.ToImage()).first;
        FPainter->drawImage(Device(rect), it->second);
    }

private:
    QRectF Device(const TPageRect& r) const {
        return QRectF(r.X * FUnitsPerMm, r.Y * FUnitsPerMm, r.Width * FUnitsPerMm, r.Height * FUnitsPerMm);
    }

    std::unique_ptr<QPainter> FPainter;
    double FUnitsPerMm = 1;
    std::map<std::string, QImage> FPictures;
};

// Text is drawn in Qt's fonts, which need an application of the desktop layer.
void NeedFonts() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        throw EError("Pages with text cannot be drawn without the desktop layer.");
}

QPageSize PageSizeOf(const TPaper& paper) {
    return QPageSize(QSizeF(paper.Width, paper.Height), QPageSize::Millimeter, QString::fromUtf8(paper.Name),
                     QPageSize::FuzzyMatch);
}

} // namespace

// --- PDF ---

struct TPdfPages::TImpl {
    TPaper Paper;
    // The file goes through the program's atomic writer: a link is followed,
    // a device or FIFO written as it is, and the document takes the target's
    // place only when complete.
    std::unique_ptr<TAtomicFile> File;
    QFile Device;
    std::unique_ptr<QPdfWriter> Writer;
    TPagePainter Painter;
    int Pages = 0;
    bool Finished = false;
};

TPdfPages::TPdfPages(const fs::path& path, const TPaper& paper, const std::string& title)
    : FImpl(std::make_unique<TImpl>()) {
    NeedFonts();
    FImpl->Paper = paper;
    FImpl->File = std::make_unique<TAtomicFile>(path);
    if (!FImpl->Device.open(FImpl->File->Descriptor(), QIODevice::WriteOnly, QFileDevice::DontCloseHandle))
        FImpl->File->Fail(FImpl->Device.errorString().toStdString());
    FImpl->Writer = std::make_unique<QPdfWriter>(&FImpl->Device);
    FImpl->Writer->setResolution(600);
    FImpl->Writer->setPageSize(PageSizeOf(paper));
    FImpl->Writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    FImpl->Writer->setTitle(QString::fromUtf8(title));
    FImpl->Writer->setCreator(QStringLiteral("Stonemill"));
}

TPdfPages::~TPdfPages() {
    Abandon();
}

void TPdfPages::Abandon() {
    if (FImpl->Finished)
        return;
    // Nothing is left to do, however the document ends.
    FImpl->Finished = true;
    // Ending the painter writes the document's tail, which takes memory; a
    // document dropped because memory ran out may fail there again, and is
    // dropped all the same.
    try {
        FImpl->Painter.End();
    } catch (...) {
    }
    try {
        FImpl->Writer.reset();
    } catch (...) {
    }
    FImpl->Device.close();
    FImpl->File->Abandon();
}

void TPdfPages::BeginPage() {
    if (FImpl->Pages++ == 0) {
        FImpl->Painter.Start(FImpl->Writer.get(), 600 / 25.4);
        if (!FImpl->Painter.Active())
            FImpl->File->Fail("The document could not be started.");
    } else {
        FImpl->Writer->newPage();
    }
    FImpl->Painter.Clear(FImpl->Paper.Width, FImpl->Paper.Height);
}

void TPdfPages::Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) {
    FImpl->Painter.Box(rect, fill, border, borderMm);
}

void TPdfPages::Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) {
    FImpl->Painter.Text(rect, text, style);
}

void TPdfPages::Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) {
    FImpl->Painter.Picture(rect, picture, name, recurs);
}

void TPdfPages::Finish() {
    if (FImpl->Pages == 0)
        BeginPage();
    FImpl->Painter.End();
    FImpl->Writer.reset();
    FImpl->Device.flush();
    const bool written = FImpl->Device.error() == QFileDevice::NoError;
    const std::string reason = FImpl->Device.errorString().toStdString();
    FImpl->Device.close();
    FImpl->Finished = true;
    if (!written)
        FImpl->File->Fail(reason);
    FImpl->File->Commit();
}

// --- a page as a picture ---

struct TPagePicture::TImpl {
    TBitmap& Target;
    TPaper Paper;
    QImage Image;
    TPagePainter Painter;
    int Pages = 0;
    double PixelsPerMm;

    TImpl(TBitmap& target, const TPaper& paper, int widthPixels)
        : Target(target), Paper(paper), PixelsPerMm(widthPixels / paper.Width) {}
};

TPagePicture::TPagePicture(TBitmap& target, const TPaper& paper, int widthPixels)
    : FImpl(std::make_unique<TImpl>(target, paper, std::max(widthPixels, 1))) {
    NeedFonts();
    const int height = std::max(1, static_cast<int>(std::lround(FImpl->PixelsPerMm * paper.Height)));
    FImpl->Image = QImage(std::max(widthPixels, 1), height, QImage::Format_RGB32);
    // Text sizes in points come out at the page's scale.
    const int dotsPerMetre = static_cast<int>(std::lround(FImpl->PixelsPerMm * 1000));
    FImpl->Image.setDotsPerMeterX(dotsPerMetre);
    FImpl->Image.setDotsPerMeterY(dotsPerMetre);
    FImpl->Image.fill(Qt::white);
}

TPagePicture::~TPagePicture() {
    FImpl->Painter.End();
}

void TPagePicture::BeginPage() {
    if (FImpl->Pages++ == 0)
        FImpl->Painter.Start(&FImpl->Image, FImpl->PixelsPerMm);
}

void TPagePicture::Box(const TPageRect& rect, TColor fill, TColor border, double borderMm) {
    if (FImpl->Pages == 1)
        FImpl->Painter.Box(rect, fill, border, borderMm);
}

void TPagePicture::Text(const TPageRect& rect, const std::string& text, const TTextStyle& style) {
    if (FImpl->Pages == 1)
        FImpl->Painter.Text(rect, text, style);
}

void TPagePicture::Picture(const TPageRect& rect, TBitmap& picture, const std::string& name, bool recurs) {
    if (FImpl->Pages == 1)
        FImpl->Painter.Picture(rect, picture, name, recurs);
}

void TPagePicture::Finish() {
    FImpl->Painter.End();
    FImpl->Target.LoadFromImage(FImpl->Image);
}
