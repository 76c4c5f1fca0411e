// Generator of the program's icon: `make_icon dist/icons` writes stonemill.svg
// and stonemill-N.png for N = 16, 32, 48, 64, 128 and 256, all drawn from the
// one set of faces below: four stones of a small wall, seen from the front
// right as the program's start view shows them, in its default colours.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TRgb {
    int R, G, B;
};

// A face as drawn: its corners in the 256 × 256 square, filled and outlined.
struct TFace {
    std::vector<QPointF> Corners;
    TRgb Fill, Edge;
};

struct TStone {
    double X, Y, Z, Length, Width, Height;
    TRgb Color;
};

// Back to front: the lower stones first, each layer from the back.
const std::array<TStone, 4> kStones = {{
    {0, 0, 0, 4, 1.6, 1, {207, 94, 75}},
    {0, 0, 1, 2, 1.6, 1, {232, 229, 178}},
    {2, 0, 1, 2, 1.6, 1, {143, 146, 169}},
    {1, 0, 2, 2, 1.6, 1, {207, 94, 75}},
}};

// The view from the front right: x runs down to the right, y down to the
// left, z up.
QPointF Project(double x, double y, double z) {
    return {(x - y) * 0.866, (x + y) * 0.5 - z};
}

TRgb Shade(TRgb c, double f) {
    return {static_cast<int>(c.R * f), static_cast<int>(c.G * f), static_cast<int>(c.B * f)};
}

std::vector<TFace> Faces() {
    std::vector<TFace> faces;
    for (const TStone& s : kStones) {
        const double x0 = s.X, x1 = s.X + s.Length, y0 = s.Y, y1 = s.Y + s.Width, z0 = s.Z,
                     z1 = s.Z + s.Height;
        const TRgb edge = Shade(s.Color, 0.45);
        // The top, the right side (x = x1) and the front (y = y1) face the viewer.
        faces.push_back({{Project(x0, y0, z1), Project(x1, y0, z1), Project(x1, y1, z1), Project(x0, y1, z1)},
                         s.Color,
                         edge});
        faces.push_back({{Project(x1, y0, z0), Project(x1, y1, z0), Project(x1, y1, z1), Project(x1, y0, z1)},
                         Shade(s.Color, 0.78),
                         edge});
        faces.push_back({{Project(x0, y1, z0), Project(x1, y1, z0), Project(x1, y1, z1), Project(x0, y1, z1)},
                         Shade(s.Color, 0.62),
                         edge});
    }
    // Scaled and centred into the square with a margin of 12 of its 256 units.
    double minX = 1e9, minY = 1e9, maxX = -1e9, maxY = -1e9;
    for (const TFace& f : faces)
        for (const QPointF& p : f.Corners) {
            minX = std::min(minX, p.x());
            maxX = std::max(maxX, p.x());
            minY = std::min(minY, p.y());
            maxY = std::max(maxY, p.y());
        }
    const double scale = (256 - 2 * 12) / std::max(maxX - minX, maxY - minY);
    const double left = (256 - (maxX - minX) * scale) / 2, top = (256 - (maxY - minY) * scale) / 2;
    for (TFace& f : faces)
        for (QPointF& p : f.Corners)
            p = {left + (p.x() - minX) * scale, top + (p.y() - minY) * scale};
    return faces;
}

constexpr double kEdgeWidth = 4; // in units of the 256 square

std::string Hex(TRgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.R, c.G, c.B);
    return text;
}

void WriteSvg(const fs::path& file, const std::vector<TFace>& faces) {
    std::ofstream out(file, std::ios::binary);
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n"
        << "  <title>Stonemill</title>\n";
    for (const TFace& f : faces) {
        out << "  <polygon points=\"";
        for (size_t i = 0; i < f.Corners.size(); ++i) {
            char point[48];
            std::snprintf(point, sizeof point, "%s%.2f,%.2f", i ? " " : "", f.Corners[i].x(),
                          f.Corners[i].y());
            out << point;
        }
        out << "\" fill=\"" << Hex(f.Fill) << "\" stroke=\"" << Hex(f.Edge) << "\" stroke-width=\""
            << kEdgeWidth << "\" stroke-linejoin=\"round\"/>\n";
    }
    out << "</svg>\n";
}

bool WritePng(const fs::path& file, const std::vector<TFace>& faces, int size) {
    QImage picture(size, size, QImage::Format_ARGB32);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);
    // Small icons keep an edge of at least one pixel.
    const double width = std::max(kEdgeWidth, 256.0 / size);
    for (const TFace& f : faces) {
        QPen pen(QColor(f.Edge.R, f.Edge.G, f.Edge.B), width);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(QColor(f.Fill.R, f.Fill.G, f.Fill.B));
        painter.drawPolygon(QPolygonF(QList<QPointF>(f.Corners.begin(), f.Corners.end())));
    }
    painter.end();
    return picture.save(QString::fromStdString(file.string()), "PNG");
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon FOLDER\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const fs::path folder = argv[1];
    std::error_code error;
    fs::create_directories(folder, error);
    const std::vector<TFace> faces = Faces();
    WriteSvg(folder / "stonemill.svg", faces);
    for (int size : {16, 32, 48, 64, 128, 256}) {
        if (!WritePng(folder / ("stonemill-" + std::to_string(size) + ".png"), faces, size)) {
            std::fprintf(stderr, "make_icon: cannot write the %d pixel picture into %s\n", size, argv[1]);
            return 1;
        }
    }
    return 0;
}
