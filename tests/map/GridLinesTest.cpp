// The UTM grid overlay: how many lines, where they start and end, and that
// each follows the zone it belongs to.
#include "map/GridLines.h"
#include "map/SquareCode.h"

#include <gtest/gtest.h>

#include <cmath>

using ortolan::map::GridLines;
using ortolan::map::ZoneGeometry;

namespace {

const double kHeight = 8000.0;
const double kWidth = kHeight * 110.0 / 146.0;

// Cosine of the angle between a segment and a zone's northing direction (y down).
double alongNorthing(QPointF a, QPointF b, double theta)
{
    const QPointF d = b - a;
    return (d.x() * std::cos(theta) - d.y() * std::sin(theta)) / std::hypot(d.x(), d.y());
}

TEST(GridLines, CountsOfTheOverlay)
{
    const GridLines grid{ZoneGeometry(kWidth, kHeight)};
    EXPECT_EQ(grid.northingLines().size(), 13u);
    for (const QPolygonF &line : grid.northingLines())
        EXPECT_EQ(line.size(), 4);
    EXPECT_EQ(grid.eastingLines32().size(), 5u);
    EXPECT_EQ(grid.eastingLines33().size(), 5u);
    EXPECT_EQ(grid.eastingLines34().size(), 1u);
    EXPECT_EQ(grid.boundaries().size(), 2u);
    EXPECT_EQ(grid.polylines().size(), 13u + 5u + 5u + 1u + 2u);

    EXPECT_TRUE(GridLines(ZoneGeometry(0.0, 0.0)).isEmpty());
    EXPECT_TRUE(GridLines(ZoneGeometry(0.0, 0.0)).polylines().empty());
}

TEST(GridLines, NorthingLinesBendOnTheZoneBoundaries)
{
    const ZoneGeometry g(kWidth, kHeight);
    const GridLines grid(g);
    // The 4000-km line starts at the northing baseline point.
    EXPECT_NEAR(grid.northingLines()[0][0].x(), g.baselinePoint().x(), 1e-9);
    EXPECT_NEAR(grid.northingLines()[0][0].y(), g.baselinePoint().y(), 1e-9);
    EXPECT_NEAR(grid.northingLines()[0][1].x(), g.pointQ12().x(), 1e-6);
    EXPECT_NEAR(grid.northingLines()[0][1].y(), g.pointQ12().y(), 1e-6);

    for (int i = 0; i <= 12; ++i) {
        const QPolygonF &line = grid.northingLines()[size_t(i)];
        EXPECT_EQ(line[0].x(), 0.0) << i;
        EXPECT_NEAR(g.boundaryX(12, line[1].y()), line[1].x(), 1e-6) << i;
        EXPECT_NEAR(g.boundaryX(18, line[2].y()), line[2].x(), 1e-6) << i;
        EXPECT_NEAR(line[3].x(), kWidth, 1e-9) << i;
        // Each segment is perpendicular to the axis of its zone.
        EXPECT_NEAR(alongNorthing(line[0], line[1], g.theta32()), 0.0, 1e-9) << i;
        EXPECT_NEAR(alongNorthing(line[1], line[2], g.theta33()), 0.0, 1e-9) << i;
        EXPECT_NEAR(alongNorthing(line[2], line[3], g.theta34()), 0.0, 1e-9) << i;
        // In zone 32 the segment is the northing 4000 + 100 i km.
        const QPointF mid = (line[0] + line[1]) / 2.0;
        EXPECT_NEAR(g.readoutInZone(mid, 32).northingKm, 4000.0 + 100.0 * i, 1e-6) << i;
        // Lines go north (up) in 100-km steps.
        if (i > 0) {
            EXPECT_LT(line[0].y(), grid.northingLines()[size_t(i - 1)][0].y());
        }
    }
}

TEST(GridLines, EastingLinesFollowTheirZoneAxes)
{
    const ZoneGeometry g(kWidth, kHeight);
    const GridLines grid(g);
    for (int j = -2; j <= 2; ++j) {
        const QLineF l32 = grid.eastingLines32()[size_t(j + 2)];
        const QLineF l33 = grid.eastingLines33()[size_t(j + 2)];
        EXPECT_NEAR(std::abs(alongNorthing(l32.p1(), l32.p2(), g.theta32())), 1.0, 1e-9) << j;
        EXPECT_NEAR(std::abs(alongNorthing(l33.p1(), l33.p2(), g.theta33())), 1.0, 1e-9) << j;
        EXPECT_EQ(l32.p1().y(), 0.0);
        EXPECT_EQ(l33.p1().y(), 0.0);
        EXPECT_EQ(l33.p2().y(), kHeight);
        // Their eastings, read in their own zones. Zone 33 measures from T33, which
        // lies a little off the axis the lines are drawn along (under 1 km).
        EXPECT_NEAR(g.readoutInZone(l32.center(), 32).eastingKm, 500.0 + 100.0 * j, 1e-6) << j;
        EXPECT_NEAR(g.readoutInZone(l33.center(), 33).eastingKm, 500.0 + 100.0 * j, 1.0) << j;
        if (j == -2) {
            // 300 km of zone 32 leaves the map through its left edge.
            EXPECT_EQ(l32.p2().x(), 0.0);
            EXPECT_GT(l32.p2().y(), 0.0);
            EXPECT_LT(l32.p2().y(), kHeight);
        } else {
            EXPECT_EQ(l32.p2().y(), kHeight) << j;
        }
    }
    const QLineF l34 = grid.eastingLines34()[0];
    EXPECT_NEAR(l34.p2().x(), kWidth, 1e-9);
    EXPECT_NEAR(std::abs(alongNorthing(l34.p1(), l34.p2(), g.theta34())), 1.0, 1e-9);
    EXPECT_NEAR(g.readoutInZone(l34.center(), 34).eastingKm, 300.0, 1e-6);

    EXPECT_EQ(grid.boundaries()[0], QLineF(QPointF(g.boundary12Top(), 0.0), QPointF(g.boundary12Bottom(), kHeight)));
    EXPECT_EQ(grid.boundaries()[1], QLineF(QPointF(g.boundary18Top(), 0.0), QPointF(g.boundary18Bottom(), kHeight)));
}

}  // namespace
