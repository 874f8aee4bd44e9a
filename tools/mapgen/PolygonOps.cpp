#include "tools/mapgen/PolygonOps.h"

#include <algorithm>
#include <cmath>

namespace ortolan::mapgen {

double signedArea(const Ring &ring)
{
    double twice = 0.0;
    const size_t n = ring.size();
    for (size_t i = 0; i < n; ++i) {
        const QPointF &a = ring[i];
        const QPointF &b = ring[(i + 1) % n];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return twice / 2.0;
}

QRectF boundingRect(const Ring &ring)
{
    if (ring.empty())
        return QRectF();
    double x0 = ring[0].x(), x1 = x0, y0 = ring[0].y(), y1 = y0;
    for (const QPointF &p : ring) {
        x0 = std::min(x0, p.x());
        x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y());
        y1 = std::max(y1, p.y());
    }
    return QRectF(QPointF(x0, y0), QPointF(x1, y1));
}

Ring clipRing(const Ring &ring, const std::function<bool(QPointF)> &inside,
              const std::function<QPointF(QPointF, QPointF)> &cut)
{
    Ring out;
    const size_t n = ring.size();
    if (n == 0)
        return out;
    out.reserve(n + 4);
    QPointF prev = ring[n - 1];
    bool prevIn = inside(prev);
    for (size_t i = 0; i < n; ++i) {
        const QPointF cur = ring[i];
        const bool curIn = inside(cur);
        if (curIn != prevIn)
            out.push_back(cut(prev, cur));
        if (curIn)
            out.push_back(cur);
        prev = cur;
        prevIn = curIn;
    }
    return out;
}

namespace {

QPointF crossAtX(QPointF a, QPointF b, double x)
{
    const double t = (x - a.x()) / (b.x() - a.x());
    return QPointF(x, a.y() + t * (b.y() - a.y()));
}

QPointF crossAtY(QPointF a, QPointF b, double y)
{
    const double t = (y - a.y()) / (b.y() - a.y());
    return QPointF(a.x() + t * (b.x() - a.x()), y);
}

}  // namespace

Ring clipRingToXRange(const Ring &ring, double lo, double hi)
{
    Ring r = clipRing(ring, [lo](QPointF p) { return p.x() >= lo; },
                      [lo](QPointF a, QPointF b) { return crossAtX(a, b, lo); });
    return clipRing(r, [hi](QPointF p) { return p.x() <= hi; },
                    [hi](QPointF a, QPointF b) { return crossAtX(a, b, hi); });
}

Ring clipRingToRect(const Ring &ring, const QRectF &rect)
{
    const double top = rect.top();
    const double bottom = rect.bottom();
    Ring r = clipRingToXRange(ring, rect.left(), rect.right());
    r = clipRing(r, [top](QPointF p) { return p.y() >= top; },
                 [top](QPointF a, QPointF b) { return crossAtY(a, b, top); });
    return clipRing(r, [bottom](QPointF p) { return p.y() <= bottom; },
                    [bottom](QPointF a, QPointF b) { return crossAtY(a, b, bottom); });
}

Ring densified(const Ring &ring, double maxStep, bool closed)
{
    Ring out;
    const size_t n = ring.size();
    if (n == 0)
        return out;
    out.reserve(n);
    const size_t edges = closed ? n : n - 1;
    for (size_t i = 0; i < edges; ++i) {
        const QPointF a = ring[i];
        const QPointF b = ring[(i + 1) % n];
        out.push_back(a);
        const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
        const int pieces = int(std::ceil(length / maxStep));
        for (int k = 1; k < pieces; ++k)
            out.push_back(a + (b - a) * (double(k) / pieces));
    }
    if (!closed)
        out.push_back(ring[n - 1]);
    return out;
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF d = b - a;
    const double len2 = d.x() * d.x() + d.y() * d.y();
    double t = 0.0;
    if (len2 > 0.0)
        t = std::clamp(((p.x() - a.x()) * d.x() + (p.y() - a.y()) * d.y()) / len2, 0.0, 1.0);
    const QPointF q = a + d * t;
    return std::hypot(p.x() - q.x(), p.y() - q.y());
}

std::vector<QPointF> simplified(const std::vector<QPointF> &line, double tolerance)
{
    const size_t n = line.size();
    if (n < 3)
        return line;
    std::vector<char> keep(n, 0);
    keep[0] = keep[n - 1] = 1;
    // Iterative Douglas-Peucker: a stack of index ranges still to split.
    std::vector<std::pair<size_t, size_t>> stack{{0, n - 1}};
    while (!stack.empty()) {
        const auto [first, last] = stack.back();
        stack.pop_back();
        double worst = -1.0;
        size_t at = first;
        for (size_t i = first + 1; i < last; ++i) {
            const double d = distanceToSegment(line[i], line[first], line[last]);
            if (d > worst) {
                worst = d;
                at = i;
            }
        }
        if (worst > tolerance) {
            keep[at] = 1;
            stack.push_back({first, at});
            stack.push_back({at, last});
        }
    }
    std::vector<QPointF> out;
    for (size_t i = 0; i < n; ++i)
        if (keep[i])
            out.push_back(line[i]);
    return out;
}

Ring simplifiedRing(const Ring &ring, double tolerance)
{
    const size_t n = ring.size();
    if (n < 4)
        return ring;
    // Split the ring at its first vertex and the vertex farthest from it, and
    // simplify the two halves as lines, so both stay.
    size_t far = 0;
    double best = -1.0;
    for (size_t i = 1; i < n; ++i) {
        const double d = std::hypot(ring[i].x() - ring[0].x(), ring[i].y() - ring[0].y());
        if (d > best) {
            best = d;
            far = i;
        }
    }
    std::vector<QPointF> first(ring.begin(), ring.begin() + long(far) + 1);
    std::vector<QPointF> second(ring.begin() + long(far), ring.end());
    second.push_back(ring[0]);
    first = simplified(first, tolerance);
    second = simplified(second, tolerance);
    Ring out(first.begin(), first.end());
    out.insert(out.end(), second.begin() + 1, second.end() - 1);
    return out;
}

std::vector<std::vector<QPointF>> clipLineToRect(const std::vector<QPointF> &line, const QRectF &rect)
{
    std::vector<std::vector<QPointF>> parts;
    std::vector<QPointF> current;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        // Liang-Barsky: the parameter range of the segment inside the rectangle.
        const QPointF a = line[i];
        const QPointF d = line[i + 1] - a;
        double t0 = 0.0, t1 = 1.0;
        const double p[4] = {-d.x(), d.x(), -d.y(), d.y()};
        const double q[4] = {a.x() - rect.left(), rect.right() - a.x(), a.y() - rect.top(), rect.bottom() - a.y()};
        bool inside = true;
        for (int k = 0; k < 4 && inside; ++k) {
            if (p[k] == 0.0) {
                inside = q[k] >= 0.0;
            } else {
                const double t = q[k] / p[k];
                if (p[k] < 0.0)
                    t0 = std::max(t0, t);
                else
                    t1 = std::min(t1, t);
                inside = t0 <= t1;
            }
        }
        if (!inside) {
            if (current.size() >= 2)
                parts.push_back(std::move(current));
            current.clear();
            continue;
        }
        const QPointF from = a + d * t0;
        const QPointF to = a + d * t1;
        if (current.empty() || current.back() != from) {
            if (current.size() >= 2)
                parts.push_back(std::move(current));
            current = {from};
        }
        current.push_back(to);
        if (t1 < 1.0) {  // leaves the rectangle
            parts.push_back(std::move(current));
            current.clear();
        }
    }
    if (current.size() >= 2)
        parts.push_back(std::move(current));
    return parts;
}

bool contains(const Polygon &polygon, QPointF p)
{
    bool in = false;
    for (const Ring &ring : polygon.rings) {
        const size_t n = ring.size();
        for (size_t i = 0, j = n - 1; i < n; j = i++) {
            const QPointF &a = ring[i];
            const QPointF &b = ring[j];
            if ((a.y() > p.y()) != (b.y() > p.y())
                && p.x() < (b.x() - a.x()) * (p.y() - a.y()) / (b.y() - a.y()) + a.x())
                in = !in;
        }
    }
    return in;
}

}  // namespace ortolan::mapgen
