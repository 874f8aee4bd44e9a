// The shipped square table (assets/squares/squares.csv) and shapefile template
// (assets/squares/qutm32.*): every square code locates and reads back through
// the map's zone geometry, and the template's shapes follow the table's rows.
#include "map/SquareCode.h"
#include "map/ZoneGeometry.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QRectF>
#include <QStringList>

#include <gtest/gtest.h>
#include <shapefil.h>

#include <cmath>
#include <set>

using ortolan::map::SquareCode;
using ortolan::map::ZoneGeometry;

namespace {

struct Square {
    QString code;
    int zone = 0;
    double e32 = 0.0, n32 = 0.0, lon = 0.0, lat = 0.0, landShare = 0.0;
    QString region, province;
};

QString assetPath(const QString &relative) { return ortolan::test::sourceDir() + QStringLiteral("/assets/") + relative; }

const std::vector<Square> &squares()
{
    static const std::vector<Square> rows = [] {
        std::vector<Square> out;
        QFile file(assetPath(QStringLiteral("squares/squares.csv")));
        if (!file.open(QIODevice::ReadOnly))
            return out;
        const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QStringList f = ortolan::test::csvFields(lines[i]);
            if (f.size() != 9)
                continue;
            out.push_back({f[0], f[1].toInt(), f[2].toDouble(), f[3].toDouble(), f[4].toDouble(), f[5].toDouble(),
                           f[8].toDouble(), f[6], f[7]});
        }
        return out;
    }();
    return rows;
}

TEST(SquareTable, HeaderRowsAndCodes)
{
    QFile file(assetPath(QStringLiteral("squares/squares.csv")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readLine().trimmed(), QByteArray("UTM,zone,E_UTM32,N_UTM32,lon,lat,region,province,land_share"));
    const auto &rows = squares();
    ASSERT_GT(rows.size(), 3000u);

    std::set<std::pair<int, QString>> seen;
    std::set<QString> regions;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Square &s = rows[i];
        const auto code = SquareCode::parse(s.code);
        ASSERT_TRUE(code.has_value()) << s.code.toStdString();
        EXPECT_EQ(code->zone(), s.zone) << s.code.toStdString();
        EXPECT_TRUE(seen.insert({s.zone, s.code}).second) << "duplicate " << s.code.toStdString();
        if (i > 0) {  // sorted by zone, then code
            const Square &p = rows[i - 1];
            EXPECT_TRUE(p.zone < s.zone || (p.zone == s.zone && p.code < s.code)) << s.code.toStdString();
        }
        // The centre lies in the zone's band of longitude, within half a square of slack at the edges.
        const double west = 6.0 + 6.0 * (s.zone - 32);
        EXPECT_GT(s.lon, west - 0.07) << s.code.toStdString();
        EXPECT_LT(s.lon, west + 6.07) << s.code.toStdString();
        EXPECT_GT(s.lat, 35.0);
        EXPECT_LT(s.lat, 47.5);
        EXPECT_GE(s.landShare, 0.0);
        EXPECT_LE(s.landShare, 1.0);
        EXPECT_FALSE(s.province.isEmpty()) << s.code.toStdString();
        regions.insert(s.region);
    }
    EXPECT_EQ(regions.size(), 20u);
}

TEST(SquareTable, EveryCodeLocatesAndReadsBack)
{
    // The shipped pictures' frame and the worked figures' frame.
    for (const ZoneGeometry &g : {ZoneGeometry(11000.0, 14600.0), ZoneGeometry(537.0 * 4101 / 5428, 537.0)}) {
        int acrossBoundary = 0;
        for (const Square &s : squares()) {
            const auto at = g.locate(s.code);
            ASSERT_TRUE(at.has_value()) << s.code.toStdString();
            ASSERT_EQ(at->zone, s.zone);
            EXPECT_TRUE(QRectF(0, 0, g.width(), g.height()).contains(at->centre)) << s.code.toStdString();
            EXPECT_EQ(g.readoutInZone(at->centre, s.zone).squareCode, s.code);
            const auto r = g.readout(at->centre);
            if (r.zone == s.zone) {
                EXPECT_EQ(r.squareCode, s.code);
                continue;
            }
            // Squares truncated by 12° E or 18° E may have their centre across
            // the boundary line, but never more than a square's width away.
            ++acrossBoundary;
            const int meridian = std::min(r.zone, s.zone) == 32 ? 12 : 18;
            EXPECT_LT(std::abs(at->centre.x() - g.boundaryX(meridian, at->centre.y())), 0.1 * g.hundredKm())
                << s.code.toStdString();
        }
        EXPECT_LT(acrossBoundary, 100);
    }
}

TEST(ShapefileTemplate, OneSquarePerRowInTheSameOrder)
{
    const auto &rows = squares();
    const QByteArray base = assetPath(QStringLiteral("squares/qutm32")).toLocal8Bit();
    SHPHandle shp = SHPOpen(base.constData(), "rb");
    ASSERT_NE(shp, nullptr);
    int count = 0, type = 0;
    SHPGetInfo(shp, &count, &type, nullptr, nullptr);
    EXPECT_EQ(type, SHPT_POLYGON);
    ASSERT_EQ(size_t(count), rows.size());
    DBFHandle dbf = DBFOpen(base.constData(), "rb");
    ASSERT_NE(dbf, nullptr);
    EXPECT_EQ(DBFGetRecordCount(dbf), count);
    for (int i = 0; i < count; ++i) {
        SHPObject *o = SHPReadObject(shp, i);
        ASSERT_NE(o, nullptr);
        ASSERT_EQ(o->nVertices, 5);
        double x = 0.0, y = 0.0, twiceArea = 0.0;
        for (int k = 0; k < 4; ++k) {
            x += o->padfX[k] / 4.0;
            y += o->padfY[k] / 4.0;
            twiceArea += o->padfX[k] * o->padfY[k + 1] - o->padfX[k + 1] * o->padfY[k];
        }
        EXPECT_NEAR(x, rows[size_t(i)].e32, 50.0) << rows[size_t(i)].code.toStdString();
        EXPECT_NEAR(y, rows[size_t(i)].n32, 50.0) << rows[size_t(i)].code.toStdString();
        // Outer rings run clockwise; squares of zones 33 and 34 grow a little in zone 32.
        EXPECT_LT(twiceArea, 0.0);
        EXPECT_NEAR(-twiceArea / 2.0, 1e8, 0.02e8);
        EXPECT_EQ(QString::fromLatin1(DBFReadStringAttribute(dbf, i, 0)), rows[size_t(i)].code);
        SHPDestroyObject(o);
    }
    DBFClose(dbf);
    SHPClose(shp);

    QFile prj(assetPath(QStringLiteral("squares/qutm32.prj")));
    ASSERT_TRUE(prj.open(QIODevice::ReadOnly));
    EXPECT_TRUE(prj.readAll().contains("UTM_Zone_32N"));
}

}  // namespace
