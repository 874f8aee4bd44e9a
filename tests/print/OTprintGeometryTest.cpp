#include "print/OTprintFault.h"
#include "print/OTprintGeometry.h"
#include "print/OTprintNumbers.h"

#include <QLineF>
#include <gtest/gtest.h>

#include <cmath>

using namespace ortolan::print;
using ortolan::metafile::rgb;

namespace {

double angleOf(QPoint centre, QPoint p)
{
    double a = std::atan2(p.y() - centre.y(), p.x() - centre.x()) * 180 / M_PI;
    return a < 0 ? a + 360 : a;
}

double distance(QPoint a, QPoint b)
{
    return QLineF(a, b).length();
}

}  // namespace

TEST(OTprintNumbers, RoundsHalvesToEvenAndRefusesValuesOutOfRange)
{
    EXPECT_EQ(OTprintNumbers::toInt32(2.5), 2);
    EXPECT_EQ(OTprintNumbers::toInt32(3.5), 4);
    EXPECT_EQ(OTprintNumbers::toInt32(-2.5), -2);
    EXPECT_EQ(OTprintNumbers::toInt32(2147483647.0), 2147483647);
    EXPECT_FALSE(OTprintNumbers::toInt32(2147483647.5));  // rounds to 2^31
    EXPECT_FALSE(OTprintNumbers::toInt32(-2147483649.0));
    EXPECT_FALSE(OTprintNumbers::toInt32(NAN));
    EXPECT_FALSE(OTprintNumbers::toInt32(INFINITY));
    EXPECT_EQ(OTprintNumbers::toInt16(32767.4), 32767);
    EXPECT_FALSE(OTprintNumbers::toInt16(32767.5));
    EXPECT_EQ(OTprintNumbers::toInt16(-32768.0), -32768);
}

TEST(OTprintGeometry, PolygonStepsAreWholeDegreesRoundedHalfToEven)
{
    EXPECT_EQ(OTprintGeometry::polygonStep(3), 120);
    EXPECT_EQ(OTprintGeometry::polygonStart(3), 30);
    EXPECT_EQ(OTprintGeometry::polygonStep(5), 72);
    EXPECT_EQ(OTprintGeometry::polygonStart(5), 54);
    // 360 / 7 = 51.43 -> 51; 90 - 25.5 = 64.5 -> 64 (to even).
    EXPECT_EQ(OTprintGeometry::polygonStep(7), 51);
    EXPECT_EQ(OTprintGeometry::polygonStart(7), 64);
    // 360 / 16 = 22.5 -> 22; 90 - 11 = 79.
    EXPECT_EQ(OTprintGeometry::polygonStep(16), 22);
    EXPECT_EQ(OTprintGeometry::polygonStart(16), 79);
}

TEST(OTprintGeometry, PolygonsWithAnEvenStepKeepTheirBottomEdgeLevel)
{
    // Counts whose step is a whole, even number of degrees are symmetric about
    // the vertical: the two lowest corners share their height.
    for (const int n : {3, 4, 5, 6, 9, 10, 12, 18, 20, 30}) {
        const QPoint c(1000, 1000);
        const QPolygon p = OTprintGeometry::polygon(c, n, 500, 0);
        ASSERT_EQ(p.size(), n + 1) << n;
        EXPECT_EQ(p[n], p[0]) << n;
        EXPECT_NEAR(angleOf(c, p[0]), 90 - 180.0 / n, 0.2) << n;
        EXPECT_NEAR(p[0].y(), p[1].y(), 1) << n << ": the first two corners make the bottom edge";
        for (int k = 0; k < n; ++k)
            EXPECT_NEAR(distance(c, p[k]), 500, 1) << n;
    }
}

TEST(OTprintGeometry, StarAlternatesRadiiFromItsFirstOuterPointAt54Degrees)
{
    const QPoint c(500, 500);
    const QPolygon s = OTprintGeometry::star(c, 5, 100, 40, 0);
    ASSERT_EQ(s.size(), 11);
    EXPECT_EQ(s[10], s[0]);
    EXPECT_NEAR(angleOf(c, s[0]), 54, 0.6);
    EXPECT_EQ(s[0], QPoint(559, 581));
    EXPECT_EQ(s[1], QPoint(500, 540));  // inner, straight down, between 54 and 126
    for (int k = 0; k < 10; ++k) {
        EXPECT_NEAR(distance(c, s[k]), k % 2 == 0 ? 100 : 40, 1) << k;
        EXPECT_NEAR(angleOf(c, s[k]), std::fmod(54 + 36 * k, 360.0), 1.2) << k;
    }
    // Turning by 90 degrees moves the first point to 144.
    EXPECT_NEAR(angleOf(c, OTprintGeometry::star(c, 5, 100, 40, 90)[0]), 144, 0.6);
}

TEST(OTprintGeometry, RectangleTurnsAboutACentreOfWholePixels)
{
    // An odd size: half sizes are rounded first (101 / 2 = 50.5 -> 50), so the
    // centre is (150, 100) and a half turn moves the corners by one pixel.
    const QPolygon odd = OTprintGeometry::rotatedRectangle(QPoint(100, 50), QPoint(201, 150), 180);
    EXPECT_EQ(odd[0], QPoint(200, 150));
    EXPECT_EQ(odd[2], QPoint(99, 50));
}

TEST(OTprintGeometry, DecoratedCornerStylesPlaceTheirControlPoints)
{
    struct Case {
        const char *name;
        QChar style;
        QPoint c1, c2;
    };
    // Corner 2 (top-right) of (100,100)-(500,300) cut by (40, 20), as the
    // corner styles describe it.
    const Case cases[] = {
        {"square", QLatin1Char('0'), QPoint(500, 100), QPoint(500, 100)},
        {"rounded", QLatin1Char('1'), QPoint(480, 100), QPoint(500, 110)},
        {"bevelled", QLatin1Char('2'), QPoint(480, 110), QPoint(480, 110)},
        {"scooped", QLatin1Char('3'), QPoint(460, 110), QPoint(480, 120)},
        {"notched", QLatin1Char('4'), QPoint(460, 120), QPoint(460, 120)},
        {"unknown character as square", QLatin1Char('x'), QPoint(500, 100), QPoint(500, 100)},
    };
    for (const Case &c : cases) {
        const QString style = QStringLiteral("0") + c.style + QStringLiteral("00");
        const QPolygon p = OTprintGeometry::decoBox(QPoint(100, 100), QPoint(500, 300), QStringLiteral("1111"), style,
                                                    40, 20);
        EXPECT_EQ(p[4], c.c1) << c.name;
        EXPECT_EQ(p[5], c.c2) << c.name;
        EXPECT_EQ(p[6], QPoint(500, 120)) << c.name;
    }
    // Half sizes are rounded halves to even: 500 - 45 / 2 = 477.5 -> 478.
    const QPolygon odd = OTprintGeometry::decoBox(QPoint(100, 100), QPoint(500, 300), QStringLiteral("1111"),
                                                  QStringLiteral("0100"), 45, 21);
    EXPECT_EQ(odd[4], QPoint(478, 100));
    EXPECT_EQ(odd[5], QPoint(500, 110));  // 100 + 10.5 -> 110
}

TEST(OTprintGeometry, DecoratedBoxMaskCutsOnlyTheCornersItNames)
{
    // Only corner 3 (bottom-right) is cut.
    const QPolygon p = OTprintGeometry::decoBox(QPoint(0, 0), QPoint(100, 100), QStringLiteral("0010"),
                                                QStringLiteral("2222"), 10, 10);
    EXPECT_EQ(p[0], QPoint(0, 0));
    EXPECT_EQ(p[6], QPoint(100, 0));     // corner 2 ends where it begins
    EXPECT_EQ(p[9], QPoint(100, 90));    // right edge stops short of corner 3
    EXPECT_EQ(p[12], QPoint(90, 100));   // corner 3 ends on the bottom edge
    EXPECT_EQ(p[10], QPoint(95, 95));    // bevel: the middle of the chord
}

TEST(OTprintGeometry, GradientColoursRunBetweenTheirEnds)
{
    const auto red = rgb(255, 0, 0), blue = rgb(0, 0, 255);
    EXPECT_EQ(OTprintGeometry::gradientColour(red, blue, 0, 0, 100), red);
    EXPECT_EQ(OTprintGeometry::gradientColour(red, blue, 0, 100, 100), blue);
    EXPECT_EQ(OTprintGeometry::gradientColour(red, blue, 1, 50, 100), rgb(128, 0, 128));  // 127.5 -> 128
    // Types 4 and 5 start from the end colour.
    EXPECT_EQ(OTprintGeometry::gradientColour(red, blue, 4, 0, 100), blue);
    EXPECT_EQ(OTprintGeometry::gradientColour(red, blue, 5, 100, 100), red);
    // Halves go to even: 1 / 2 per step, step 1 gives 0.5 -> 0, step 3 gives 1.5 -> 2.
    EXPECT_EQ(OTprintGeometry::gradientColour(rgb(0, 0, 0), rgb(1, 0, 0), 0, 1, 2), rgb(0, 0, 0));
    EXPECT_EQ(OTprintGeometry::gradientColour(rgb(0, 0, 0), rgb(3, 0, 0), 0, 1, 2), rgb(2, 0, 0));
}

TEST(OTprintGeometry, CoordinatesBeyondThe32BitRangeAreFaults)
{
    EXPECT_THROW(OTprintGeometry::square(QPoint(2147483000, 0), 1000), OTprintFault);
    EXPECT_THROW(OTprintGeometry::radial(QPoint(10, 0), 2147483647, 0), OTprintFault);
    EXPECT_NO_THROW(OTprintGeometry::radial(QPoint(10, 0), 2147483647, 90));  // cos 90 is nearly 0
    EXPECT_THROW(OTprintGeometry::polygon(QPoint(2147483600, 0), 3, 1000, 0), OTprintFault);
    EXPECT_THROW(OTprintGeometry::decoBox(QPoint(0, 0), QPoint(2147483647, 10), QStringLiteral("1111"),
                                          QStringLiteral("1111"), -10, 1),
                 OTprintFault);
}
