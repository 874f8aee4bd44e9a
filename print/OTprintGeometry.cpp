#include "print/OTprintGeometry.h"

#include "print/OTprintFault.h"

#include <QPointF>

#include <algorithm>
#include <cmath>

namespace ortolan::print {

using Fault = OTprintFault;

qint32 OTprintGeometry::add(qint64 a, qint64 b)
{
    return Fault::int32(double(a + b), QStringLiteral("coordinate sum"));
}

qint32 OTprintGeometry::sub(qint64 a, qint64 b)
{
    return Fault::int32(double(a - b), QStringLiteral("coordinate difference"));
}

qint32 OTprintGeometry::mul(qint64 a, qint64 b)
{
    // Both factors are 32-bit, so the product is exact in 64 bits.
    return Fault::int32(double(a * b), QStringLiteral("coordinate product"));
}

QRect OTprintGeometry::square(QPoint centre, qint32 r)
{
    return QRect(QPoint(sub(centre.x(), r), sub(centre.y(), r)), QPoint(add(centre.x(), r), add(centre.y(), r)));
}

QRect OTprintGeometry::inflated(QPoint p1, QPoint p2, qint32 d)
{
    return QRect(QPoint(sub(p1.x(), d), sub(p1.y(), d)), QPoint(add(p2.x(), d), add(p2.y(), d)));
}

QPoint OTprintGeometry::radial(QPoint centre, qint32 r, double degrees)
{
    const double a = radians(degrees);
    return QPoint(Fault::int32(centre.x() + r * std::cos(a), QStringLiteral("radial point")),
                  Fault::int32(centre.y() + r * std::sin(a), QStringLiteral("radial point")));
}

int OTprintGeometry::polygonStep(int n)
{
    return int(OTprintNumbers::roundHalfEven(360.0 / n));
}

int OTprintGeometry::polygonStart(int n)
{
    return int(OTprintNumbers::roundHalfEven(90 - polygonStep(n) / 2.0));
}

namespace {

// Vertex at whole-degree angle ak turned by theta (radians) on radius r, as the
// product form cos(ak)cos(theta) - sin(ak)sin(theta) etc.
QPoint vertex(QPoint centre, qint32 r, int ak, double theta)
{
    const double a = OTprintGeometry::radians(ak);
    const double c = std::cos(a) * std::cos(theta) - std::sin(a) * std::sin(theta);
    const double s = std::sin(a) * std::cos(theta) + std::cos(a) * std::sin(theta);
    return QPoint(Fault::int32(c * r + centre.x(), QStringLiteral("vertex")),
                  Fault::int32(s * r + centre.y(), QStringLiteral("vertex")));
}

}  // namespace

QPolygon OTprintGeometry::polygon(QPoint centre, int n, qint32 r, float angle)
{
    const int s = polygonStep(n);
    const int a0 = polygonStart(n);
    const double theta = radians(angle);
    QPolygon points;
    points.reserve(n + 1);
    for (int k = 0; k < n; ++k)
        points << vertex(centre, r, a0 + k * s, theta);
    points << points.first();
    return points;
}

QPolygon OTprintGeometry::star(QPoint centre, int n, qint32 outer, qint32 inner, float angle)
{
    const int s = polygonStep(n);
    const int a0 = polygonStart(n);
    const double theta = radians(angle);
    QPolygon points;
    points.reserve(2 * n + 1);
    for (int k = 0; k < n; ++k) {
        points << vertex(centre, outer, a0 + k * s, theta);
        // Inner points lie midway between two outer ones.
        points << vertex(centre, inner, 90 + k * s, theta);
    }
    points << points.first();
    return points;
}

QPolygon OTprintGeometry::rotatedRectangle(QPoint p1, QPoint p2, float angle)
{
    const qint32 hw = Fault::int32((double(p2.x()) - p1.x()) / 2, QStringLiteral("half width"));
    const qint32 hh = Fault::int32((double(p2.y()) - p1.y()) / 2, QStringLiteral("half height"));
    const double cx = add(p1.x(), hw);
    const double cy = add(p1.y(), hh);
    const double theta = radians(angle);
    const double c = std::cos(theta), s = std::sin(theta);
    QPolygon points;
    for (const QPoint &p : {p1, QPoint(p2.x(), p1.y()), p2, QPoint(p1.x(), p2.y())}) {
        const double dx = p.x() - cx, dy = p.y() - cy;
        points << QPoint(Fault::int32(cx + dx * c - dy * s, QStringLiteral("corner")),
                         Fault::int32(cy + dx * s + dy * c, QStringLiteral("corner")));
    }
    points << points.first();
    return points;
}

QPolygon OTprintGeometry::decoBox(QPoint p1, QPoint p2, const QString &mask, const QString &style, qint32 cx,
                                  qint32 cy)
{
    const double x1 = p1.x(), y1 = p1.y(), x2 = p2.x(), y2 = p2.y();
    // Corner sizes by corner number 1..4 (index 0 unused).
    double w[5] = {0, 0, 0, 0, 0}, h[5] = {0, 0, 0, 0, 0};
    for (int k = 1; k <= 4; ++k) {
        if (mask.at(k - 1) == QLatin1Char('1')) {
            w[k] = cx;
            h[k] = cy;
        }
    }
    auto at = [](double x, double y) {
        return QPoint(Fault::int32(x, QStringLiteral("box corner")), Fault::int32(y, QStringLiteral("box corner")));
    };

    // Corner k: its box corner c, the vector a from c to where the corner begins
    // (in path order) and b from c to where it ends.
    struct Corner {
        QPointF c, a, b;
    };
    const Corner corners[5] = {
        {},
        {QPointF(x1, y1), QPointF(0, h[1]), QPointF(w[1], 0)},
        {QPointF(x2, y1), QPointF(-w[2], 0), QPointF(0, h[2])},
        {QPointF(x2, y2), QPointF(0, -h[3]), QPointF(-w[3], 0)},
        {QPointF(x1, y2), QPointF(w[4], 0), QPointF(0, -h[4])},
    };

    QPolygon path;
    path.reserve(25);
    auto edgeTo = [&](const QPoint &end) {
        // A straight edge: the control points coincide with the end points.
        path << path.last() << end << end;
    };
    auto cornerTo = [&](int k) {
        const QPointF c = corners[k].c, a = corners[k].a, b = corners[k].b;
        QPointF c1 = c, c2 = c;
        switch (style.at(k - 1).unicode()) {
        case '1':  // rounded: on the two edges, half the size from the corner
            c1 = c + a / 2;
            c2 = c + b / 2;
            break;
        case '2':  // bevelled: the middle of the chord
            c1 = c2 = c + (a + b) / 2;
            break;
        case '3':  // concave scoop: mirror of the rounded corner about the chord
            c1 = c + a + b / 2;
            c2 = c + a / 2 + b;
            break;
        case '4':  // notch: the inner point
            c1 = c2 = c + a + b;
            break;
        default:  // "0" and anything else: the box corner
            break;
        }
        path << at(c1.x(), c1.y()) << at(c2.x(), c2.y()) << at(c.x() + b.x(), c.y() + b.y());
    };

    path << at(x1 + w[1], y1);
    edgeTo(at(x2 - w[2], y1));
    cornerTo(2);
    edgeTo(at(x2, y2 - h[3]));
    cornerTo(3);
    edgeTo(at(x1 + w[4], y2));
    cornerTo(4);
    edgeTo(at(x1, y1 + h[1]));
    cornerTo(1);
    return path;
}

metafile::ColorRef OTprintGeometry::gradientColour(metafile::ColorRef begin, metafile::ColorRef end, int type, int i,
                                                   int n)
{
    int out[3];
    for (int c = 0; c < 3; ++c) {
        const int b = int((begin >> (8 * c)) & 0xFF);
        const int e = int((end >> (8 * c)) & 0xFF);
        // Increments and their multiples in single precision, as the engine has
        // always computed them; the sum is rounded halves to even.
        const float d = float(e - b) / float(n);
        const float step = float(i) * d;
        const double v = type >= 4 ? double(e) - double(step) : double(b) + double(step);
        out[c] = std::clamp(int(OTprintNumbers::roundHalfEven(v)), 0, 255);
    }
    return metafile::rgb(out[0], out[1], out[2]);
}

}  // namespace ortolan::print
