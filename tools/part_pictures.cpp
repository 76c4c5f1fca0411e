#include "part_pictures.h"

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <cmath>

#include "common/error.h"

namespace {

// The picture's pixel (0, 0) is left out when the picture is laid onto a face;
// it gets a colour used nowhere else so that only that pixel is lost.
const QColor kKey(255, 0, 255);

QImage NewPicture(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// A picture of few colours is saved with a palette whose colour 1 is the key
// colour: POV-Ray makes that palette colour see-through ("transmit 1"), so the
// picture laid on a part shows the stone there as the program does.
QImage WithKeyAsPaletteColourOne(const QImage& image) {
    QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
    QVector<QRgb> table = indexed.colorTable();
    const int key = static_cast<int>(table.indexOf(kKey.rgb()));
    if (indexed.convertToFormat(QImage::Format_RGB32) != image || key < 0)
        return image; // more colours than a palette holds
    if (table.size() < 2)
        table.resize(2);
    std::swap(table[key], table[1]);
    for (int y = 0; y < indexed.height(); ++y) {
        uchar* row = indexed.scanLine(y);
        for (int x = 0; x < indexed.width(); ++x)
            row[x] = row[x] == key ? 1 : row[x] == 1 ? static_cast<uchar>(key) : row[x];
    }
    indexed.setColorTable(table);
    return indexed;
}

void Save(QImage image, const std::filesystem::path& folder, const char* name) {
    image.setPixelColor(0, 0, kKey);
    image = WithKeyAsPaletteColourOne(image);
    const std::filesystem::path path = folder / name;
    if (!image.save(QString::fromStdString(path.string()), "PNG"))
        throw EError("Could not write " + path.string());
}

QFont Font(int pixels, bool bold = true, const char* family = "DejaVu Sans") {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// Text centred in the rectangle, squeezed sideways when it is too wide.
void CentredText(QPainter& p, const QRectF& box, const QString& text, const QFont& font,
                 const QColor& color) {
    p.save();
    p.setFont(font);
    p.setPen(color);
    const double width = p.fontMetrics().horizontalAdvance(text);
    const double squeeze = width > box.width() ? box.width() / width : 1.0;
    p.translate(box.center());
    p.scale(squeeze, 1.0);
    p.drawText(QRectF(-box.width() / squeeze / 2, -box.height() / 2, box.width() / squeeze, box.height()),
               Qt::AlignCenter, text);
    p.restore();
}

// A painted board: a frame around a field of the given colours.
void Frame(QPainter& p, const QImage& image, const QColor& frame, int thickness) {
    p.setPen(QPen(frame, thickness));
    p.setBrush(Qt::NoBrush);
    const double half = thickness / 2.0;
    p.drawRect(QRectF(half, half, image.width() - thickness, image.height() - thickness));
}

// A board with its name in the middle of a framed field.
QImage NameBoard(int width, int height, const QColor& field, const QColor& frame, int thickness,
                 const QString& text, const QFont& font, const QColor& letters) {
    QImage image = NewPicture(width, height, field);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    Frame(p, image, frame, thickness);
    CentredText(p, QRectF(thickness + 1, 2, width - 2 * thickness - 2, height - 4), text, font, letters);
    return image;
}

QImage ClockFace() {
    // The corners stay in the key colour and so show the stone behind.
    QImage image = NewPicture(96, 96, kKey);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPointF centre(48, 48);
    p.setPen(QPen(QColor(40, 40, 40), 4));
    p.setBrush(QColor(250, 246, 230));
    p.drawEllipse(centre, 42, 42);
    p.setRenderHint(QPainter::Antialiasing);
    for (int hour = 0; hour < 12; ++hour) {
        const double a = hour * M_PI / 6;
        const QPointF dir(std::sin(a), -std::cos(a));
        p.setPen(QPen(QColor(30, 30, 30), hour % 3 == 0 ? 4 : 2));
        p.drawLine(centre + dir * 32, centre + dir * 38);
    }
    p.setPen(QPen(QColor(20, 20, 20), 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(std::sin(10 * M_PI / 6), -std::cos(10 * M_PI / 6)) * 20); // ten
    p.setPen(QPen(QColor(20, 20, 20), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(std::sin(2 * M_PI / 6), -std::cos(2 * M_PI / 6)) * 30); // ten past
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(160, 30, 30));
    p.drawEllipse(centre, 3, 3);
    return image;
}

QImage Poster() {
    QImage image = NewPicture(96, 96, QColor(250, 240, 205));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // A sky, green hills and a windmill under the poster's title.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(120, 180, 235));
    p.drawRect(6, 24, 84, 50);
    p.setBrush(QColor(70, 150, 70));
    QPainterPath hills;
    hills.moveTo(6, 74);
    hills.cubicTo(30, 48, 50, 70, 90, 56);
    hills.lineTo(90, 74);
    hills.closeSubpath();
    p.drawPath(hills);
    p.setBrush(QColor(250, 220, 80));
    p.drawEllipse(QPointF(76, 34), 6, 6);
    p.setBrush(QColor(150, 90, 60));
    p.drawPolygon(QPolygonF({QPointF(36, 66), QPointF(48, 66), QPointF(45, 42), QPointF(39, 42)}));
    p.setPen(QPen(QColor(60, 40, 30), 2));
    const QPointF hub(42, 42);
    for (int k = 0; k < 4; ++k) {
        const double a = M_PI / 4 + k * M_PI / 2;
        p.drawLine(hub, hub + QPointF(std::cos(a), std::sin(a)) * 16);
    }
    CentredText(p, QRectF(4, 2, 88, 22), "VISIT", Font(17), QColor(170, 40, 30));
    CentredText(p, QRectF(4, 74, 88, 20), "THE MILL", Font(14), QColor(40, 40, 90));
    Frame(p, image, QColor(60, 60, 60), 2);
    return image;
}

QImage RoadSign() {
    // A blue square with a white P, for a parking place.
    QImage image = NewPicture(64, 64, QColor(250, 250, 250));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 80, 170));
    p.drawRoundedRect(QRectF(5, 5, 54, 54), 5, 5);
    CentredText(p, QRectF(5, 5, 54, 54), "P", Font(44), QColor(250, 250, 250));
    return image;
}

} // namespace

void WritePartPictures(const std::filesystem::path& folder) {
    Save(NameBoard(128, 29, QColor(30, 70, 45), QColor(200, 160, 60), 3, "GROCER",
                   Font(20, true, "DejaVu Serif"), QColor(240, 200, 90)),
         folder, "shopsign.png");
    Save(ClockFace(), folder, "clockface.png");
    Save(NameBoard(128, 32, QColor(20, 40, 110), QColor(245, 245, 245), 3, "STONEMILL", Font(18),
                   QColor(250, 250, 250)),
         folder, "stationsign.png");
    Save(Poster(), folder, "poster.png");
    Save(RoadSign(), folder, "roadsign.png");
    Save(NameBoard(96, 32, QColor(120, 25, 25), QColor(220, 180, 70), 4, "MILLER",
                   Font(18, true, "DejaVu Serif"), QColor(235, 195, 80)),
         folder, "nameplate.png");
}
