#include "tools/mapgen/ShorelineAssembler.h"

#include <cmath>

namespace ortolan::mapgen {

namespace {

constexpr double kOnEdge = 1e-6;  // degrees

bool isClosed(const Ring &piece)
{
    return piece.size() > 2 && std::abs(piece.front().x() - piece.back().x()) < kOnEdge
           && std::abs(piece.front().y() - piece.back().y()) < kOnEdge;
}

Ring withoutClosingVertex(Ring ring)
{
    ring.pop_back();
    return ring;
}

// Position along the box's boundary, clockwise from the north-west corner
// (north edge eastwards, east edge southwards, and so on), or -1 when the
// point is not on the boundary.
double perimeterPosition(const GeoBox &box, QPointF p)
{
    const double w = box.east - box.west;
    const double h = box.north - box.south;
    if (std::abs(p.y() - box.north) < kOnEdge)
        return p.x() - box.west;
    if (std::abs(p.x() - box.east) < kOnEdge)
        return w + (box.north - p.y());
    if (std::abs(p.y() - box.south) < kOnEdge)
        return w + h + (box.east - p.x());
    if (std::abs(p.x() - box.west) < kOnEdge)
        return 2 * w + h + (p.y() - box.south);
    return -1.0;
}

// The box corners passed walking clockwise from position `from` to position `to`.
Ring cornersBetween(const GeoBox &box, double from, double to)
{
    const double w = box.east - box.west;
    const double h = box.north - box.south;
    const double perimeter = 2 * (w + h);
    const QPointF corners[4] = {{box.west, box.north}, {box.east, box.north}, {box.east, box.south}, {box.west, box.south}};
    const double at[4] = {0.0, w, w + h, 2 * w + h};
    double span = to - from;
    if (span <= 0.0)
        span += perimeter;
    // Walk the corners in clockwise order starting after `from`.
    std::vector<std::pair<double, QPointF>> passed;
    for (int i = 0; i < 4; ++i) {
        double d = at[i] - from;
        if (d <= 0.0)
            d += perimeter;
        if (d < span)
            passed.push_back({d, corners[i]});
    }
    std::sort(passed.begin(), passed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    Ring out;
    for (const auto &[d, corner] : passed)
        out.push_back(corner);
    return out;
}

double clockwiseDistance(const GeoBox &box, double from, double to)
{
    const double perimeter = 2 * ((box.east - box.west) + (box.north - box.south));
    double d = to - from;
    if (d < 0.0)
        d += perimeter;
    return d;
}

// A piece closed on its own by the box boundary walked clockwise from its end to its start.
Ring closedAlone(const GeoBox &box, const Ring &piece)
{
    Ring ring = piece;
    const Ring corners = cornersBetween(box, perimeterPosition(box, piece.back()), perimeterPosition(box, piece.front()));
    ring.insert(ring.end(), corners.begin(), corners.end());
    return ring;
}

}  // namespace

std::vector<Ring> ShorelineAssembler::landRings(const std::vector<Ring> &pieces, const GeoBox &box, QPointF seaPoint,
                                                QString *error)
{
    std::vector<Ring> rings;
    std::vector<Ring> open;
    for (const Ring &piece : pieces) {
        if (isClosed(piece)) {
            Ring island = withoutClosingVertex(piece);
            if (signedArea(island) > 0.0)
                std::reverse(island.begin(), island.end());
            rings.push_back(std::move(island));
            continue;
        }
        if (perimeterPosition(box, piece.front()) < 0.0 || perimeterPosition(box, piece.back()) < 0.0) {
            *error = QStringLiteral("a shoreline piece from (%1, %2) to (%3, %4) is open inside the box %5")
                         .arg(piece.front().x()).arg(piece.front().y()).arg(piece.back().x()).arg(piece.back().y())
                         .arg(box.gmtRegion());
            return {};
        }
        // Land on the right: closing the piece clockwise must leave the sea outside.
        Ring oriented = piece;
        if (contains(Polygon{{closedAlone(box, oriented)}}, seaPoint))
            std::reverse(oriented.begin(), oriented.end());
        open.push_back(std::move(oriented));
    }

    // Join the open pieces: from a piece's end, walk the box clockwise to the
    // nearest start of a piece, until the ring comes back to its first piece.
    std::vector<bool> used(open.size(), false);
    for (size_t first = 0; first < open.size(); ++first) {
        if (used[first])
            continue;
        Ring ring;
        size_t current = first;
        while (true) {
            used[current] = true;
            ring.insert(ring.end(), open[current].begin(), open[current].end());
            const double end = perimeterPosition(box, open[current].back());
            size_t next = first;
            double best = std::numeric_limits<double>::infinity();
            for (size_t k = 0; k < open.size(); ++k) {
                if (used[k] && k != first)
                    continue;
                const double d = clockwiseDistance(box, end, perimeterPosition(box, open[k].front()));
                if (d < best) {
                    best = d;
                    next = k;
                }
            }
            const Ring corners = cornersBetween(box, end, perimeterPosition(box, open[next].front()));
            ring.insert(ring.end(), corners.begin(), corners.end());
            if (next == first)
                break;
            current = next;
        }
        rings.push_back(std::move(ring));
    }
    return rings;
}

std::vector<Ring> ShorelineAssembler::lakeRings(const std::vector<Ring> &pieces, const GeoBox &box)
{
    std::vector<Ring> rings;
    for (const Ring &piece : pieces) {
        if (isClosed(piece)) {
            rings.push_back(withoutClosingVertex(piece));
        } else if (perimeterPosition(box, piece.front()) >= 0.0 && perimeterPosition(box, piece.back()) >= 0.0) {
            Ring forward = closedAlone(box, piece);
            Ring reversed(piece.rbegin(), piece.rend());
            Ring backward = closedAlone(box, reversed);
            rings.push_back(std::abs(signedArea(forward)) <= std::abs(signedArea(backward)) ? forward : backward);
        }
    }
    return rings;
}

}  // namespace ortolan::mapgen
