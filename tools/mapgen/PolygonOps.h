#pragma once

#include <QPointF>
#include <QRectF>

#include <functional>
#include <vector>

namespace ortolan::mapgen {

// A closed ring or an open line of vertices (the closing vertex is not repeated in rings).
using Ring = std::vector<QPointF>;

// A polygon: the first ring is the outline, the others are holes.
struct Polygon {
    std::vector<Ring> rings;
};

// Signed area by the shoelace formula, positive for anticlockwise rings in a y-up plane.
double signedArea(const Ring &ring);
QRectF boundingRect(const Ring &ring);

// Clips a ring to the half-plane where inside(p) holds, with cut(a, b) giving
// the crossing of the edge a-b with the half-plane's border (Sutherland-Hodgman).
// A ring leaving and re-entering the half-plane comes back as one ring joined
// along the border; its area and its inside test stay right.
Ring clipRing(const Ring &ring, const std::function<bool(QPointF)> &inside,
              const std::function<QPointF(QPointF, QPointF)> &cut);
// Clips a ring to the part with x between lo and hi.
Ring clipRingToXRange(const Ring &ring, double lo, double hi);
// Clips a ring to an axis-parallel rectangle.
Ring clipRingToRect(const Ring &ring, const QRectF &rect);

// Clips an open line to an axis-parallel rectangle; the parts inside, in order.
std::vector<std::vector<QPointF>> clipLineToRect(const std::vector<QPointF> &line, const QRectF &rect);

// Splits every edge longer than maxStep into equal pieces (rings: the closing edge too).
Ring densified(const Ring &ring, double maxStep, bool closed);

// Douglas-Peucker simplification keeping the end points (for rings, pass the
// ring with its first vertex repeated at the end).
std::vector<QPointF> simplified(const std::vector<QPointF> &line, double tolerance);

// Douglas-Peucker simplification of a closed ring (the closing vertex not repeated).
Ring simplifiedRing(const Ring &ring, double tolerance);

// Distance from a point to the segment a-b.
double distanceToSegment(QPointF p, QPointF a, QPointF b);

// Even-odd point-in-polygon test over all rings of a polygon.
bool contains(const Polygon &polygon, QPointF p);

}  // namespace ortolan::mapgen
