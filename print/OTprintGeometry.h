#pragma once

#include "metafile/GdiTypes.h"

#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>

namespace ortolan::print {

// The shape geometry of the drawing engine, in reference-printer pixels (x to the
// right, y downwards, so angles grow clockwise on the page: 0 degrees points
// right, 90 degrees down). Every computed coordinate is rounded to the nearest
// integer with halves to even; one that leaves the 32-bit range throws
// OTprintFault (overflow). Internal to print/.
struct OTprintGeometry {
    // The engine's value of pi for degrees to radians.
    static constexpr double Pi = 3.14159265358979;
    static double radians(double degrees) { return degrees * Pi / 180; }

    // a + b, a - b, a * b as 32-bit integers (overflow throws).
    static qint32 add(qint64 a, qint64 b);
    static qint32 sub(qint64 a, qint64 b);
    static qint32 mul(qint64 a, qint64 b);

    // The square (x - r, y - r, x + r, y + r) around a centre, as left/top/right/bottom.
    static QRect square(QPoint centre, qint32 r);
    // The box (x1 - d, y1 - d, x2 + d, y2 + d).
    static QRect inflated(QPoint p1, QPoint p2, qint32 d);
    // (x + r cos a, y + r sin a), a in degrees.
    static QPoint radial(QPoint centre, qint32 r, double degrees);

    // Step and start angle in whole degrees of a regular figure with n corners:
    // s = 360 / n and a0 = 90 - s / 2, each rounded, so the figure rests on a
    // horizontal bottom edge at angle 0.
    static int polygonStep(int n);
    static int polygonStart(int n);

    // The n + 1 vertices of a regular polygon (the last repeats the first).
    static QPolygon polygon(QPoint centre, int n, qint32 r, float angle);
    // The 2n + 1 vertices of a star: outer radius on even, inner on odd vertices.
    static QPolygon star(QPoint centre, int n, qint32 outer, qint32 inner, float angle);
    // The corners (x1,y1), (x2,y1), (x2,y2), (x1,y2) turned by angle about the
    // centre, and the first again.
    static QPolygon rotatedRectangle(QPoint p1, QPoint p2, float angle);

    // The 25-point closed Bezier outline of a decorated box: four straight edges
    // alternating with four corners. Corner k (1 top-left, 2 top-right,
    // 3 bottom-right, 4 bottom-left) is cut by (cx, cy) when character k of mask is
    // "1"; character k of style shapes it: "0" square, "1" rounded, "2" bevelled,
    // "3" concave scoop, "4" notch (any other character as "0"). Both strings need
    // at least four characters.
    static QPolygon decoBox(QPoint p1, QPoint p2, const QString &mask, const QString &style, qint32 cx, qint32 cy);

    // Colour of step i of n of a gradient of the given type from begin to end:
    // types 0 to 3 run from begin, 4 and 5 from end; each component rounded.
    static metafile::ColorRef gradientColour(metafile::ColorRef begin, metafile::ColorRef end, int type, int i, int n);
};

}  // namespace ortolan::print
