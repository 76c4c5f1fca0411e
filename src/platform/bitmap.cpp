#include "platform/bitmap.h"

#include "common/address_space.h"
#include "common/error.h"

#include <QImage>

#include <algorithm>
#include <cstring>
#include <new>

namespace {

// The fixed palette of 8-bit pictures: the sixteen standard colours, a 6 x 6 x 6
// colour cube and 24 greys between black and white.
const QList<QRgb>& FixedPalette() {
    static const QList<QRgb> palette = [] {
        QList<QRgb> p;
        const int standard[16][3] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                                     {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                                     {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                     {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
        for (const auto& c : standard)
            p.append(qRgb(c[0], c[1], c[2]));
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p.append(qRgb(r * 51, g * 51, b * 51));
        for (int i = 0; i < 24; ++i)
            p.append(qRgb(8 + 10 * i, 8 + 10 * i, 8 + 10 * i));
        return p;
    }();
    return palette;
}

// The Qt format that holds the pixels of a pixel format (8 bits: the 32-bit
// picture the canvas draws on).
QImage::Format StorageFormat(TPixelFormat pixelFormat) {
    switch (pixelFormat) {
    case pf15bit:
        return QImage::Format_RGB555;
    case pf16bit:
        return QImage::Format_RGB16;
    case pf24bit:
        return QImage::Format_RGB888;
    case pf8bit:
    case pf32bit:
    case pfDevice:
        break;
    }
    return QImage::Format_RGB32;
}

// A picture Qt could not make for want of memory comes back null: that is
// raised as the allocation failure it is, not passed on as an empty picture.
QImage Made(QImage image) {
    if (image.isNull())
        throw std::bad_alloc();
    return image;
}

QImage BlackImage(int width, int height, QImage::Format format) {
    if (width <= 0 || height <= 0)
        return QImage();
    // A large picture that would leave the libraries no room under a limit
    // of the address space is refused as memory that is not there.
    if (const uint64_t bytes = uint64_t(width) * uint64_t(height) * 4;
        bytes > (uint64_t{1} << 20) && !AddressSpaceAllows(bytes))
        throw std::bad_alloc();
    QImage image = Made(QImage(width, height, format));
    if (format == QImage::Format_Indexed8) {
        image.setColorTable(FixedPalette());
        image.fill(0);
    } else {
        image.fill(Qt::black);
    }
    return image;
}

} // namespace

TColor FixedPaletteColor(int index) {
    if (index < 0 || index > 255)
        throw EError("Palette index out of range");
    const QRgb c = FixedPalette()[index];
    return RGB(qRed(c), qGreen(c), qBlue(c));
}

struct TBitmap::TImpl {
    explicit TImpl(TBitmap& owner) : Canvas(owner) {}

    // Which of the two pictures of an 8-bit bitmap holds its current content.
    enum TIndexedState {
        isStale,    // the canvas drew since the last reduction
        isCurrent,  // both hold the same picture
        isHandedOut // rows were handed out and may have been written
    };

    TPixelFormat Format = pfDevice;
    QImage Image;   // the pixels; for pf8bit the 32-bit picture the canvas draws on
    QImage Indexed; // pf8bit only: the palette indexes
    TIndexedState IndexedState = isCurrent;
    TCanvas Canvas; // last, so it is closed before the pictures go

    // Brings the 32-bit picture of an 8-bit bitmap up to date with written rows.
    void ExpandIndexed() {
        if (Format == pf8bit && IndexedState == isHandedOut) {
            Image = Indexed.isNull() ? QImage() : Made(Indexed.convertToFormat(QImage::Format_RGB32));
            IndexedState = isCurrent;
        }
    }

    // Brings the indexes of an 8-bit bitmap up to date with the canvas drawing,
    // keeping their rows at the same addresses. Each pixel takes the palette
    // entry nearest its colour on its own, so the rows are reduced a band at a
    // time, without another copy of the whole picture.
    void ReduceImage() {
        if (Format != pf8bit || IndexedState != isStale)
            return;
        if (Indexed.size() != Image.size())
            Indexed = BlackImage(Image.width(), Image.height(), QImage::Format_Indexed8);
        constexpr int kBandRows = 256;
        for (int top = 0; top < Image.height(); top += kBandRows) {
            const int rows = std::min(kBandRows, Image.height() - top);
            const QImage reduced = Made(Made(Image.copy(0, top, Image.width(), rows))
                                            .convertToFormat(QImage::Format_Indexed8, FixedPalette()));
            for (int row = 0; row < rows; ++row)
                std::memcpy(Indexed.scanLine(top + row), reduced.constScanLine(row),
                            static_cast<size_t>(reduced.width()));
        }
        IndexedState = isCurrent;
    }
};

TBitmap::TBitmap() : FImpl(std::make_unique<TImpl>(*this)) {}

TBitmap::TBitmap(int width, int height, TPixelFormat pixelFormat) : TBitmap() {
    SetPixelFormat(pixelFormat);
    SetSize(width, height);
}

TBitmap::~TBitmap() = default;

int TBitmap::Width() const {
    return FImpl->Image.width();
}
int TBitmap::Height() const {
    return FImpl->Image.height();
}
void TBitmap::SetWidth(int width) {
    SetSize(width, Height());
}
void TBitmap::SetHeight(int height) {
    SetSize(Width(), height);
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height())
        return;
    FImpl->Canvas.Refresh();
    FImpl->ExpandIndexed();
    const QImage& old = FImpl->Image;
    QImage resized = BlackImage(width, height, StorageFormat(FImpl->Format));
    const int rows = std::min(height, old.height());
    const size_t bytes = static_cast<size_t>(std::min(width, old.width())) * (old.depth() / 8);
    for (int row = 0; row < rows; ++row)
        std::memcpy(resized.scanLine(row), old.constScanLine(row), bytes);
    FImpl->Image = resized;
    if (FImpl->Format == pf8bit) {
        FImpl->Indexed = BlackImage(width, height, QImage::Format_Indexed8);
        FImpl->IndexedState = TImpl::isStale;
    }
}

TPixelFormat TBitmap::PixelFormat() const {
    return FImpl->Format;
}

void TBitmap::SetPixelFormat(TPixelFormat pixelFormat) {
    if (pixelFormat == FImpl->Format)
        return;
    FImpl->Canvas.Refresh();
    QImage picture = SourcePicture();
    FImpl->Format = pixelFormat;
    const QImage::Format storage = StorageFormat(pixelFormat);
    FImpl->Image = picture.isNull() ? QImage() : Made(picture.convertToFormat(storage));
    FImpl->Indexed = QImage();
    FImpl->IndexedState = TImpl::isCurrent;
    if (pixelFormat == pf8bit) {
        FImpl->Indexed = BlackImage(Width(), Height(), QImage::Format_Indexed8);
        FImpl->IndexedState = TImpl::isStale;
    }
}

void* TBitmap::ScanLine(int row) {
    if (row < 0 || row >= Height())
        throw EError("Scan line index out of range");
    FImpl->Canvas.Refresh();
    if (FImpl->Format == pf8bit) {
        FImpl->ReduceImage();
        FImpl->IndexedState = TImpl::isHandedOut;
        return FImpl->Indexed.scanLine(row);
    }
    return FImpl->Image.scanLine(row);
}

TCanvas& TBitmap::Canvas() {
    return FImpl->Canvas;
}

QImage TBitmap::ToImage() const {
    return SourcePicture().copy();
}

void TBitmap::LoadFromImage(const QImage& image) {
    FImpl->Canvas.Refresh();
    FImpl->Image = image.isNull() ? QImage() : Made(image.convertToFormat(StorageFormat(FImpl->Format)));
    if (FImpl->Format == pf8bit) {
        FImpl->Indexed = BlackImage(Width(), Height(), QImage::Format_Indexed8);
        FImpl->IndexedState = TImpl::isStale;
    }
}

QImage* TBitmap::BeginCanvasChange() {
    FImpl->ExpandIndexed();
    return FImpl->Image.isNull() ? nullptr : &FImpl->Image;
}

void TBitmap::CanvasChanged() {
    if (FImpl->Format == pf8bit)
        FImpl->IndexedState = TImpl::isStale;
}

const QImage& TBitmap::SourcePicture() const {
    FImpl->Canvas.Refresh();
    if (FImpl->Format == pf8bit) {
        FImpl->ReduceImage();
        return FImpl->Indexed;
    }
    return FImpl->Image;
}
