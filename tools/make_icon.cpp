// Draws the program's icon: a sloping field with erosion rills and a level staff. Writes the
// same drawing as SVG and as PNG in the sizes the desktop themes use.
//
//   make_icon <output folder>    writes ch.brisolt.Brisolt.svg and ch.brisolt.Brisolt-<N>.png

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <cstdio>
#include <string>
#include <vector>

namespace {

// The drawing in a 256 x 256 box; every shape is a filled polygon or a stroked polyline.
struct Shape {
    std::vector<QPointF> points;
    QColor fill;      // invalid: not filled
    QColor stroke;    // invalid: not stroked
    double width = 0; // stroke width
    bool closed = true;
};

std::vector<Shape> Drawing() {
    std::vector<Shape> shapes;
    // Sky, with rounded corners drawn as a polygon of the tile.
    shapes.push_back(
        {{{16, 16}, {240, 16}, {240, 240}, {16, 240}}, QColor(0xcf, 0xe6, 0xf5), {}, 0});
    // The field, falling from the back left to the front right.
    shapes.push_back(
        {{{16, 112}, {240, 80}, {240, 240}, {16, 240}}, QColor(0x8a, 0xb0, 0x4a), {}, 0});
    // Bare soil in the lower part, where the rills run.
    shapes.push_back(
        {{{16, 150}, {240, 122}, {240, 240}, {16, 240}}, QColor(0xa8, 0x7a, 0x4c), {}, 0});
    // Furrows along the slope.
    for (int i = 0; i < 4; ++i) {
        const double y0 = 168 + i * 20;
        shapes.push_back({{{16, y0}, {240, y0 - 28}}, {}, QColor(0x8c, 0x62, 0x3a), 3, false});
    }
    // Erosion rills cutting down the slope.
    const std::vector<std::vector<QPointF>> rills = {
        {{70, 146}, {62, 172}, {76, 198}, {64, 240}},
        {{128, 138}, {138, 166}, {124, 196}, {140, 240}},
        {{186, 130}, {178, 160}, {192, 190}, {182, 240}},
    };
    for (const auto& rill : rills) {
        shapes.push_back({rill, {}, QColor(0x5a, 0x38, 0x1e), 7, false});
    }
    // The level staff: a white post with red marks.
    shapes.push_back({{{206, 40}, {222, 40}, {222, 200}, {206, 200}},
                      QColor(0xff, 0xff, 0xff),
                      QColor(0x40, 0x40, 0x40),
                      2});
    for (int i = 0; i < 4; ++i) {
        const double y = 48 + i * 36;
        shapes.push_back(
            {{{206, y}, {222, y}, {222, y + 16}, {206, y + 16}}, QColor(0xd0, 0x20, 0x20), {}, 0});
    }
    return shapes;
}

std::string Hex(const QColor& c) {
    return c.name(QColor::HexRgb).toStdString();
}

std::string Svg(const std::vector<Shape>& shapes) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" "
        "viewBox=\"0 0 256 256\">\n"
        "  <clipPath id=\"tile\"><rect x=\"16\" y=\"16\" width=\"224\" height=\"224\" "
        "rx=\"28\"/></clipPath>\n"
        "  <g clip-path=\"url(#tile)\">\n";
    for (const Shape& s : shapes) {
        std::string points;
        for (const QPointF& p : s.points) {
            points += (points.empty() ? "" : " ") + std::to_string(static_cast<int>(p.x())) + "," +
                      std::to_string(static_cast<int>(p.y()));
        }
        out += std::string("    <") + (s.closed ? "polygon" : "polyline") + " points=\"" + points +
               "\" fill=\"" + (s.fill.isValid() ? Hex(s.fill) : "none") + "\"";
        if (s.stroke.isValid()) {
            out += " stroke=\"" + Hex(s.stroke) + "\" stroke-width=\"" +
                   std::to_string(static_cast<int>(s.width)) +
                   "\" stroke-linecap=\"round\" stroke-linejoin=\"round\"";
        }
        out += "/>\n";
    }
    out += "  </g>\n</svg>\n";
    return out;
}

QImage Png(const std::vector<Shape>& shapes, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 256.0, size / 256.0);
    QPainterPath tile;
    tile.addRoundedRect(QRectF(16, 16, 224, 224), 28, 28);
    painter.setClipPath(tile);
    for (const Shape& s : shapes) {
        const QPolygonF polygon(QList<QPointF>(s.points.begin(), s.points.end()));
        painter.setPen(s.stroke.isValid()
                           ? QPen(s.stroke, s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)
                           : QPen(Qt::NoPen));
        painter.setBrush(s.fill.isValid() ? QBrush(s.fill) : QBrush(Qt::NoBrush));
        if (s.closed) {
            painter.drawPolygon(polygon);
        } else {
            painter.drawPolyline(polygon);
        }
    }
    painter.end();
    return image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: make_icon ORDNER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::vector<Shape> shapes = Drawing();
    QFile svg(QString::fromStdString(folder + "/ch.brisolt.Brisolt.svg"));
    if (!svg.open(QIODevice::WriteOnly)) {
        return 1;
    }
    svg.write(QByteArray::fromStdString(Svg(shapes)));
    svg.close();
    for (const int size : {48, 128, 256}) {
        const std::string path = folder + "/ch.brisolt.Brisolt-" + std::to_string(size) + ".png";
        if (!Png(shapes, size).save(QString::fromStdString(path), "PNG")) {
            return 1;
        }
    }
    return 0;
}
