// Zone geometry of the map: the worked figures of the three-zone model on a
// 537-unit-high map, the zone switch on the boundary lines, the square locator
// and the cursor read-out.
#include "map/SquareCode.h"
#include "map/ZoneGeometry.h"

#include <QSizeF>

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

using ortolan::map::SquareCode;
using ortolan::map::ZoneGeometry;

namespace {

// The frame of the worked figures: u = 1 and the picture's aspect 4101 : 5428.
const double kHeight = 537.0;
const double kWidth = 537.0 * 4101.0 / 5428.0;

double degrees(double radians) { return radians * 180.0 / std::numbers::pi; }

void expectNear(QPointF actual, QPointF expected, double tolerance, const char *what)
{
    EXPECT_NEAR(actual.x(), expected.x(), tolerance) << what;
    EXPECT_NEAR(actual.y(), expected.y(), tolerance) << what;
}

class WorkedFigures : public ::testing::Test {
protected:
    ZoneGeometry g{kWidth, kHeight};
};

TEST_F(WorkedFigures, AxisAnglesAndStartPoints)
{
    ASSERT_TRUE(g.isValid());
    EXPECT_DOUBLE_EQ(g.unit(), 1.0);
    EXPECT_DOUBLE_EQ(g.hundredKm(), 40.0);
    EXPECT_NEAR(degrees(g.theta32()), 88.074, 0.001);
    EXPECT_NEAR(degrees(g.theta33()), 91.915, 0.001);
    EXPECT_NEAR(degrees(g.theta34()), 95.756, 0.001);

    // Start points, given in the map frame (y' upwards from the bottom edge).
    const auto frame = [&](QPointF p) { return QPointF(p.x(), g.yUp(p.y())); };
    expectNear(frame(g.pointO32()), {67.947, 35.716}, 0.001, "O32");
    expectNear(frame(g.pointT33()), {282.244, 35.696}, 0.001, "T33");
    expectNear(frame(g.pointO34()), {377.297, 38.016}, 0.001, "O34");
}

TEST_F(WorkedFigures, ConstructionPointsLieOnTheirLines)
{
    // The pole is the crossing of both boundaries, and both zone axes 32 and 33 run through it.
    const QPointF pole = g.pole();
    EXPECT_NEAR(g.boundaryX(12, pole.y()), pole.x(), 1e-6);
    EXPECT_NEAR(g.boundaryX(18, pole.y()), pole.x(), 1e-6);
    EXPECT_NEAR(g.c32() + g.yUp(pole.y()) / std::tan(g.theta32()), pole.x(), 1e-6);
    EXPECT_NEAR(g.c33() + g.yUp(pole.y()) / std::tan(g.theta33()), pole.x(), 1e-6);
    // Top-edge crossings continue the axes through the bottom-edge ones.
    EXPECT_NEAR(g.t32() - g.c32(), kHeight / std::tan(g.theta32()), 1e-9);
    // Q12 and Q18 lie on the boundaries, R on the 18° E boundary, and the
    // zone-34 line through R reaches the top edge at t34.
    EXPECT_NEAR(g.boundaryX(12, g.pointQ12().y()), g.pointQ12().x(), 1e-9);
    EXPECT_NEAR(g.boundaryX(18, g.pointQ18().y()), g.pointQ18().x(), 1e-9);
    EXPECT_NEAR(g.boundaryX(18, g.pointR().y()), g.pointR().x(), 1e-9);
    EXPECT_NEAR(g.pointR().x() + g.pointR().y() / std::tan(g.theta34()), g.t34(), 1e-9);
    // O32 is the foot of the perpendicular from the baseline point: the line
    // O32 -> baseline point is perpendicular to the zone-32 axis.
    const QPointF d = g.baselinePoint() - g.pointO32();
    EXPECT_NEAR(d.x() * std::cos(g.theta32()) - d.y() * std::sin(g.theta32()), 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(g.baselineY(), 499.0);
    // O34 is 100 km west of F34 along the zone-34 easting direction.
    const QPointF f = g.pointF34() - g.pointO34();
    EXPECT_NEAR(std::hypot(f.x(), f.y()), g.hundredKm(), 1e-9);
}

TEST_F(WorkedFigures, SquareCentres)
{
    struct Case { const char *code; int zone; QPointF centre; };
    for (const Case &c : {Case{"LQ99", 32, {39.34, 102.10}}, Case{"TG91", 33, {192.07, 258.18}},
                          Case{"BK27", 34, {368.19, 308.94}}}) {
        const auto at = g.locate(QString::fromLatin1(c.code));
        ASSERT_TRUE(at.has_value()) << c.code;
        EXPECT_EQ(at->zone, c.zone) << c.code;
        expectNear(at->centre, c.centre, 0.01, c.code);
    }
}

TEST_F(WorkedFigures, FirstSquareOfEachZoneIsHalfASquareFromItsStartPoint)
{
    const double half = 0.05 * g.hundredKm();
    struct Case { const char *code; int zone; };
    for (const Case &c : {Case{"NF00", 32}, Case{"WA00", 33}, Case{"BF00", 34}}) {
        const auto at = g.locate(QString::fromLatin1(c.code));
        ASSERT_TRUE(at.has_value()) << c.code;
        const double th = g.theta(c.zone);
        const QPointF expected = g.zoneStart(c.zone) + half * QPointF(std::sin(th), std::cos(th))
                                 + half * QPointF(std::cos(th), -std::sin(th));
        expectNear(at->centre, expected, 1e-9, c.code);
    }
}

TEST_F(WorkedFigures, ZoneSwitchesExactlyOnTheBoundaryLines)
{
    for (double y : {0.0, 100.0, 268.5, 401.25, kHeight}) {
        const double x12 = g.boundaryX(12, y);
        const double x18 = g.boundaryX(18, y);
        EXPECT_EQ(g.zoneAt({std::nextafter(x12, -1e9), y}), 32) << y;
        EXPECT_EQ(g.zoneAt({x12, y}), 33) << y;
        EXPECT_EQ(g.zoneAt({std::nextafter(x18, -1e9), y}), 33) << y;
        EXPECT_EQ(g.zoneAt({x18, y}), 34) << y;
        EXPECT_EQ(g.readout({x12, y}).zone, 33);
        EXPECT_EQ(g.readout({x18, y}).zone, 34);
    }
    // The boundaries run between their fixed edge points.
    EXPECT_NEAR(g.boundaryX(12, kHeight), 175.25, 1e-9);
    EXPECT_NEAR(g.boundaryX(12, 0.0), 175.3, 1e-9);
    EXPECT_NEAR(g.boundaryX(18, kHeight), 392.5, 1e-9);
    EXPECT_NEAR(g.boundaryX(18, 0.0), 356.5, 1e-9);
}

TEST_F(WorkedFigures, ReadoutAtTheZone33ReferencePointIsWA00)
{
    // 4000 km N, 500 km E in zone 33 is T33 itself, east of the 12° E line.
    const QPointF t33 = g.worldPoint(33, 500000.0, 4000000.0);
    expectNear(t33, g.pointT33(), 1e-9, "T33");
    const auto r = g.readout(t33 + QPointF(1e-9, -1e-9));
    EXPECT_EQ(r.zone, 33);
    EXPECT_NEAR(r.eastingKm, 500.0, 1e-6);
    EXPECT_NEAR(r.northingKm, 4000.0, 1e-6);
    EXPECT_EQ(r.squareCode, QStringLiteral("WA00"));
}

TEST_F(WorkedFigures, ReadoutInvertsWorldPoint)
{
    for (int zone : {32, 33, 34}) {
        for (double e : {123456.0, 287000.5, 500000.0, 734999.0}) {
            for (double n : {3950000.0, 4523100.0, 5199999.0}) {
                const auto r = g.readoutInZone(g.worldPoint(zone, e, n), zone);
                EXPECT_NEAR(r.eastingKm * 1000.0, e, 1e-6);
                EXPECT_NEAR(r.northingKm * 1000.0, n, 1e-6);
            }
        }
    }
}

TEST_F(WorkedFigures, LocatedCentresReadBackTheirCode)
{
    // Every code the locator knows, at its centre, reads back as itself in its zone.
    struct ZoneColumns { int zone; const char *letters; };
    int checked = 0;
    for (const ZoneColumns &z : {ZoneColumns{32, "LMNPQ"}, ZoneColumns{33, "TUVWXY"}, ZoneColumns{34, "BC"}})
    for (QChar col : QString::fromLatin1(z.letters)) {
        const int zone = z.zone;
        const QString rows = zone == 33 ? QStringLiteral("VABCDEFGHJKLMN") : QStringLiteral("EFGHJKLMNPQRST");
        for (QChar row : rows) {
            for (int de = 0; de < 10; de += 3) {
                for (int dn = 0; dn < 10; dn += 4) {
                    const QString code = QString(col) + row + QChar(u'0' + de) + QChar(u'0' + dn);
                    const auto at = g.locate(code);
                    ASSERT_TRUE(at.has_value()) << code.toStdString();
                    EXPECT_EQ(g.readoutInZone(at->centre, at->zone).squareCode, code);
                    ++checked;
                }
            }
        }
    }
    EXPECT_EQ(checked, 13 * 14 * 4 * 3);
}

TEST(ZoneGeometry, BadCodesAreRejected)
{
    const ZoneGeometry g(400.0, 537.0);
    for (const char *bad : {"", "NF0", "NF000", "nf00", "Nf00", "KF00", "AF00", "NA00", "WF0X", "BA00", "ZZ99",
                            "N F0", "WV-1"}) {
        EXPECT_FALSE(g.locate(QString::fromLatin1(bad)).has_value()) << bad;
    }
    EXPECT_FALSE(g.locate(QStringLiteral("NF0\u0661")).has_value());  // Arabic-Indic digit
    EXPECT_TRUE(g.locate(QStringLiteral("WV00")).has_value());
}

TEST(ZoneGeometry, ZeroSizeFrameGivesNoGeometry)
{
    for (const auto &size : {QSizeF(0, 0), QSizeF(400, 0), QSizeF(0, 537), QSizeF(-1, 537)}) {
        const ZoneGeometry g(size.width(), size.height());
        EXPECT_FALSE(g.isValid());
        EXPECT_FALSE(g.locate(QStringLiteral("NF00")).has_value());
        EXPECT_EQ(g.readout({1, 1}).zone, 0);
        EXPECT_TRUE(g.readout({1, 1}).squareCode.isEmpty());
    }
}

TEST(ZoneGeometry, ScalesWithTheHeight)
{
    // Every world figure scales with the height; the width only bounds the picture.
    const ZoneGeometry a(405.7, 537.0);
    const ZoneGeometry b(11000.0, 14600.0);
    const double k = 14600.0 / 537.0;
    for (const char *code : {"LQ99", "TG91", "BK27", "NF00"}) {
        const QString c = QString::fromLatin1(code);
        expectNear(b.locate(c)->centre, a.locate(c)->centre * k, 1e-6, code);
    }
    EXPECT_NEAR(b.theta33(), a.theta33(), 1e-12);
}

}  // namespace
