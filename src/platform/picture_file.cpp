#include "platform/picture_file.h"

#include <QImage>
#include <QString>

bool LoadPictureFile(const std::filesystem::path& path, TBitmap& bitmap, TPixelFormat pixelFormat) {
    QImage image;
    if (!image.load(QString::fromStdString(path.string())) || image.isNull())
        return false;
    bitmap.SetPixelFormat(pixelFormat);
    bitmap.LoadFromImage(image);
    return true;
}
