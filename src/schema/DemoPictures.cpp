#include "schema/DemoPictures.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <array>
#include <cmath>
#include <vector>

namespace kv::schema {
namespace {

constexpr int kWidth = 240;
constexpr int kHeight = 180;

struct Colour {
    unsigned char r, g, b;
    Colour shaded(double f) const
    {
        auto c = [f](unsigned char v) { return static_cast<unsigned char>(std::clamp(v * f, 0.0, 255.0)); };
        return {c(r), c(g), c(b)};
    }
};

struct Point {
    double x, y;
};

class Canvas {
public:
    explicit Canvas(Colour background) : m_pixels(std::size_t(kWidth) * kHeight, background) {}

    // Fills a convex polygon and outlines it.
    void polygon(const std::vector<Point>& points, Colour fill)
    {
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (inside(points, x + 0.5, y + 0.5))
                    at(x, y) = fill;
        for (std::size_t i = 0; i < points.size(); ++i)
            line(points[i], points[(i + 1) % points.size()], {40, 40, 40});
    }

    void line(Point a, Point b, Colour colour)
    {
        const int steps = int(std::max(std::abs(b.x - a.x), std::abs(b.y - a.y))) + 1;
        for (int i = 0; i <= steps; ++i) {
            const int x = int(a.x + (b.x - a.x) * i / steps);
            const int y = int(a.y + (b.y - a.y) * i / steps);
            if (x >= 0 && x < kWidth && y >= 0 && y < kHeight)
                at(x, y) = colour;
        }
    }

    // A 24-bit BMP file, rows bottom-up.
    QByteArray bmp() const
    {
        const int row = ((kWidth * 3 + 3) / 4) * 4;
        QByteArray file(54 + row * kHeight, '\0');
        auto* p = reinterpret_cast<uchar*>(file.data());
        p[0] = 'B';
        p[1] = 'M';
        qToLittleEndian<quint32>(quint32(file.size()), p + 2);
        qToLittleEndian<quint32>(54, p + 10);
        qToLittleEndian<quint32>(40, p + 14);
        qToLittleEndian<qint32>(kWidth, p + 18);
        qToLittleEndian<qint32>(kHeight, p + 22);
        qToLittleEndian<quint16>(1, p + 26);
        qToLittleEndian<quint16>(24, p + 28);
        qToLittleEndian<quint32>(quint32(row * kHeight), p + 34);
        qToLittleEndian<qint32>(2953, p + 38);
        qToLittleEndian<qint32>(2953, p + 42);
        for (int y = 0; y < kHeight; ++y) {
            uchar* out = p + 54 + std::size_t(kHeight - 1 - y) * row;
            for (int x = 0; x < kWidth; ++x) {
                const Colour c = m_pixels[std::size_t(y) * kWidth + x];
                out[3 * x] = c.b;
                out[3 * x + 1] = c.g;
                out[3 * x + 2] = c.r;
            }
        }
        return file;
    }

private:
    Colour& at(int x, int y) { return m_pixels[std::size_t(y) * kWidth + x]; }

    static bool inside(const std::vector<Point>& poly, double x, double y)
    {
        bool in = false;
        for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
            if ((poly[i].y > y) != (poly[j].y > y)
                && x < (poly[j].x - poly[i].x) * (y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
                in = !in;
        return in;
    }

    std::vector<Colour> m_pixels;
};

// A box: front face, side face and lid, seen from the left or the right.
void drawBox(Canvas& canvas, Colour colour, bool fromRight, bool open)
{
    const double x0 = 60, y0 = 70, w = 110, h = 80, d = 40;
    const double s = fromRight ? -1 : 1;
    const double fx = fromRight ? x0 + 20 : x0;
    const Point a{fx, y0}, b{fx + w, y0}, c{fx + w, y0 + h}, e{fx, y0 + h};
    const Point shift{s * d * 0.8, -d * 0.6};
    auto moved = [&](Point p) { return Point{p.x + shift.x, p.y + shift.y}; };
    canvas.polygon({a, b, c, e}, colour);
    if (fromRight)
        canvas.polygon({a, moved(a), moved(e), e}, colour.shaded(0.7));
    else
        canvas.polygon({b, moved(b), moved(c), c}, colour.shaded(0.7));
    if (!open) {
        canvas.polygon({a, b, moved(b), moved(a)}, colour.shaded(1.25));
        return;
    }
    canvas.polygon({a, b, moved(b), moved(a)}, Colour{70, 55, 40});
    canvas.polygon({a, b, Point{b.x, b.y - 45}, Point{a.x, a.y - 45}}, colour.shaded(1.15));
    canvas.polygon({moved(a), moved(b), Point{moved(b).x, moved(b).y - 40}, Point{moved(a).x, moved(a).y - 40}},
                   colour.shaded(0.9));
}

// The flat blank as it leaves the cutting die: four panels with flaps.
void drawBlank(Canvas& canvas, Colour colour)
{
    const double panels[] = {30, 75, 120, 165};
    for (double x : panels) {
        const double w = (x == 30 || x == 120) ? 45 : 45;
        canvas.polygon({{x, 60}, {x + w, 60}, {x + w, 120}, {x, 120}}, colour);
        canvas.polygon({{x + 3, 30}, {x + w - 3, 30}, {x + w, 60}, {x, 60}}, colour.shaded(1.2));
        canvas.polygon({{x, 120}, {x + w, 120}, {x + w - 3, 150}, {x + 3, 150}}, colour.shaded(1.2));
    }
    canvas.polygon({{210, 65}, {222, 70}, {222, 110}, {210, 115}}, colour.shaded(0.8)); // glue flap
}

Colour articleColour(const QString& code)
{
    static const std::array<Colour, 6> colours = {Colour{176, 137, 92}, Colour{150, 40, 50},  Colour{220, 190, 90},
                                                  Colour{70, 120, 170}, Colour{60, 150, 110}, Colour{200, 120, 60}};
    return colours[std::size_t(qHash(code) % colours.size())];
}

} // namespace

bool writeDemoPictures(const QString& folder, const QStringList& articleCodes)
{
    if (!QDir().mkpath(folder))
        return false;
    bool ok = true;
    for (const QString& code : articleCodes) {
        const Colour colour = articleColour(code);
        for (int n = 1; n <= 4; ++n) {
            const QString path = QDir(folder).filePath(code + QString::number(n) + QStringLiteral(".Bmp"));
            if (QFile::exists(path))
                continue;
            Canvas canvas(Colour{235, 235, 230});
            if (n == 4)
                drawBlank(canvas, colour);
            else
                drawBox(canvas, colour, n == 2, n == 3);
            QSaveFile file(path);
            ok = file.open(QIODevice::WriteOnly) && file.write(canvas.bmp()) >= 0 && file.commit() && ok;
        }
    }
    return ok;
}

} // namespace kv::schema
