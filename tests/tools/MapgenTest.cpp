// The background map generator's parts: the metafile writer, the closing of
// shorelines cut at GMT's box, the carrying of lines onto the map across the
// zone meridians, clipping and simplification, the square table's bands and
// holes, the TopoJSON decoding and the all-or-nothing output.
#include "map/SquareCode.h"
#include "map/ZoneGeometry.h"
#include "tools/mapgen/AdminAreas.h"
#include "tools/mapgen/GmtSegments.h"
#include "tools/mapgen/MapPicture.h"
#include "tools/mapgen/PolygonOps.h"
#include "tools/mapgen/ShorelineAssembler.h"
#include "tools/mapgen/SquareTable.h"
#include "tools/mapgen/StagedFiles.h"
#include "tools/mapgen/UtmProjection.h"
#include "tools/mapgen/WmfWriter.h"
#include "tools/mapgen/WorldProjector.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <cmath>

using namespace ortolan::mapgen;

namespace {

quint16 u16(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }
qint16 s16(const QByteArray &b, qsizetype at) { return qFromLittleEndian<qint16>(b.constData() + at); }
quint32 u32(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }

struct Record {
    quint16 function;
    QByteArray params;
};

// The records after the placeable and metafile headers.
std::vector<Record> records(const QByteArray &wmf)
{
    std::vector<Record> out;
    qsizetype at = 22 + 18;
    while (at + 6 <= wmf.size()) {
        const qsizetype bytes = qsizetype(u32(wmf, at)) * 2;
        out.push_back({u16(wmf, at + 4), wmf.mid(at + 6, bytes - 6)});
        at += bytes;
    }
    return out;
}

TEST(WmfWriter, RecordsAndObjectTable)
{
    WmfWriter w(200, 100, 2540);
    const int pen = w.createPen(QColor(10, 20, 30), 7);
    const int brush = w.createBrush(QColor(200, 150, 100));
    EXPECT_EQ(pen, 0);
    EXPECT_EQ(brush, 1);
    w.selectObject(pen);
    w.polyline({{-5, 3}, {190, 99}});
    w.deleteObject(pen);
    EXPECT_EQ(w.createNullPen(), 0) << "a freed slot is used again";
    w.setPolyFillMode(WmfWriter::Winding);
    w.polyPolygon({{{0, 0}, {10, 0}, {10, 10}}, {{1, 1}, {2, 1}}, {{20, 20}, {30, 20}, {30, 30}, {20, 30}}});
    const QByteArray wmf = w.finish();

    EXPECT_EQ(s16(wmf, 10), 200);
    EXPECT_EQ(s16(wmf, 12), 100);
    EXPECT_EQ(u16(wmf, 22 + 10), 2) << "object table of two slots";
    EXPECT_EQ(qsizetype(u32(wmf, 22 + 6)) * 2, wmf.size() - 22);

    const auto rec = records(wmf);
    ASSERT_FALSE(rec.empty());
    EXPECT_EQ(rec.back().function, 0x0000);
    auto find = [&](quint16 f) {
        for (const Record &r : rec)
            if (r.function == f)
                return r;
        return Record{0xFFFF, {}};
    };
    // Pen: solid style, width as a point, COLORREF red-green-blue-zero.
    const Record penRecord = find(0x02FA);
    ASSERT_EQ(penRecord.params.size(), 10);
    EXPECT_EQ(u16(penRecord.params, 0), 0);
    EXPECT_EQ(s16(penRecord.params, 2), 7);
    EXPECT_EQ(penRecord.params.mid(6, 4), QByteArray("\x0a\x14\x1e\x00", 4));
    // Polyline: count, then x, y pairs, negative coordinates in two's complement.
    const Record line = find(0x0325);
    ASSERT_EQ(line.params.size(), 2 + 2 * 4);
    EXPECT_EQ(s16(line.params, 0), 2);
    EXPECT_EQ(s16(line.params, 2), -5);
    EXPECT_EQ(s16(line.params, 4), 3);
    EXPECT_EQ(s16(line.params, 8), 99);
    // Poly-polygon: rings of fewer than three points are left out.
    const Record poly = find(0x0538);
    EXPECT_EQ(u16(poly.params, 0), 2);
    EXPECT_EQ(u16(poly.params, 2), 3);
    EXPECT_EQ(u16(poly.params, 4), 4);
    EXPECT_EQ(poly.params.size(), 2 + 2 * 2 + 7 * 4);
    EXPECT_EQ(u16(find(0x0106).params, 0), 2);
    // Window extent: y first.
    EXPECT_EQ(s16(find(0x020C).params, 0), 100);
    EXPECT_EQ(s16(find(0x020C).params, 2), 200);
}

TEST(MapPicture, MetafileDeselectsBeforeDeleting)
{
    MapPicture picture(100, 100);
    picture.fill(Qt::blue, {{{0, 0}, {50, 0}, {50, 50}}}, WmfWriter::Alternate, true);
    picture.stroke(Qt::black, 3, {{{0, 0}, {99, 99}}});
    const auto rec = records(picture.toWmf(2540));
    // No delete names the object selected just before it.
    int lastSelected = -1;
    for (const Record &r : rec) {
        if (r.function == 0x012D)
            lastSelected = u16(r.params, 0);
        if (r.function == 0x01F0) {
            EXPECT_NE(u16(r.params, 0), lastSelected);
        }
    }
    const QImage image = picture.render(QSize(100, 100), QRectF(0, 0, 100, 100));
    EXPECT_EQ(image.pixelColor(40, 10), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(10, 40), QColor(Qt::white));
}

TEST(ShorelineAssembler, ClosesOpenPiecesAlongTheBox)
{
    const GeoBox box{0.0, 0.0, 10.0, 10.0};
    const QPointF sea(5.0, 2.0);
    // A coast across the box with land to the north, given with land on its
    // left; a headland cut by the east edge; an island inside the box.
    const Ring continent{{0, 5}, {4, 6}, {6, 4}, {10, 5}};
    const Ring headland{{10, 1}, {9, 1.5}, {10, 2}};
    const Ring island{{3, 2}, {4, 2}, {4, 3}, {3, 3}, {3, 2}};
    QString error;
    const auto rings = ShorelineAssembler::landRings({continent, headland, island}, box, sea, &error);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    ASSERT_EQ(rings.size(), 3u);
    double total = 0.0;
    for (const Ring &r : rings) {
        EXPECT_LT(signedArea(r), 0.0) << "clockwise, land on the right";
        EXPECT_FALSE(contains(Polygon{{r}}, sea));
        total += std::abs(signedArea(r));
    }
    EXPECT_EQ(rings[0].size(), 4u) << "closed islands lose their repeated vertex";
    EXPECT_DOUBLE_EQ(total, 1.0 + 50.0 + 0.5);
    EXPECT_TRUE(contains(Polygon{{rings[1]}}, QPointF(5, 9)) || contains(Polygon{{rings[2]}}, QPointF(5, 9)));

    EXPECT_TRUE(ShorelineAssembler::landRings({Ring{{0, 5}, {5, 5}}}, box, sea, &error).empty());
    EXPECT_FALSE(error.isEmpty()) << "a piece ending inside the box is reported";
}

class OnTheMap : public ::testing::Test {
protected:
    UtmProjection projection;
    ortolan::map::ZoneGeometry geometry{11000.0, 14600.0};
    WorldProjector projector{geometry, projection};
};

TEST_F(OnTheMap, SquareCentresLandWhereTheLocatorPutsThem)
{
    ASSERT_TRUE(projection.error().isEmpty()) << projection.error().toStdString();
    for (const char *text : {"MK87", "NG12", "UG12", "VF35", "XE58", "BK56"}) {
        const auto code = ortolan::map::SquareCode::parse(QString::fromLatin1(text));
        ASSERT_TRUE(code);
        const QPointF centre(code->westEastingMetres() + 5000.0, code->southNorthingMetres() + 5000.0);
        const QPointF lonLat = projection.toLonLat(code->zone(), centre);
        ASSERT_EQ(UtmProjection::zoneOfLongitude(lonLat.x()), code->zone()) << text;
        const QPointF drawn = projector.point(lonLat);
        const QPointF located = geometry.locate(QString::fromLatin1(text))->centre;
        EXPECT_NEAR(drawn.x(), located.x(), 1e-6) << text;
        EXPECT_NEAR(drawn.y(), located.y(), 1e-6) << text;
    }
}

TEST_F(OnTheMap, LinesCrossingAZoneMeridianStepBetweenTheZones)
{
    const auto line = projector.path(Ring{{11.98, 44.0}, {12.02, 44.0}}, false);
    ASSERT_EQ(line.size(), 4u);
    const QPointF west = projector.pointInZone({12.0, 44.0}, 32);
    const QPointF east = projector.pointInZone({12.0, 44.0}, 33);
    EXPECT_NEAR(line[1].x(), west.x(), 1e-9);
    EXPECT_NEAR(line[2].x(), east.x(), 1e-9);
    // The zones overlap a little on the map: the step goes back west, by a few km.
    EXPECT_LT(east.x(), west.x());
    EXPECT_LT(west.x() - east.x(), 0.1 * geometry.hundredKm());
    EXPECT_NEAR(west.y(), east.y(), 0.01 * geometry.hundredKm());

    // Westwards the step runs the other way; a ring over both meridians gains four points.
    const auto back = projector.path(Ring{{12.02, 44.0}, {11.98, 44.0}}, false);
    EXPECT_NEAR(back[1].x(), east.x(), 1e-9);
    EXPECT_NEAR(back[2].x(), west.x(), 1e-9);
    const auto ring = projector.path(Ring{{11.95, 40.0}, {18.05, 40.0}, {18.05, 40.04}, {11.95, 40.04}}, true);
    const auto dense = densified(Ring{{11.95, 40.0}, {18.05, 40.0}, {18.05, 40.04}, {11.95, 40.04}}, 0.05, true);
    EXPECT_EQ(ring.size(), dense.size() + 8);
    // A point on 12° E belongs to zone 33, as on the read-out.
    EXPECT_EQ(projector.point({12.0, 44.0}), east);
}

TEST(PolygonOps, ClippingAndSimplification)
{
    const QRectF rect(0, 0, 10, 10);
    const auto parts = clipLineToRect({{-5, 5}, {5, 5}, {15, 5}, {15, 8}, {5, 8}}, rect);
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0].front(), QPointF(0, 5));
    EXPECT_EQ(parts[0].back(), QPointF(10, 5));
    EXPECT_EQ(parts[1].front(), QPointF(10, 8));
    EXPECT_EQ(parts[1].back(), QPointF(5, 8));
    EXPECT_TRUE(clipLineToRect({{20, 20}, {30, 30}}, rect).empty());

    // A triangle partly outside keeps the area inside: the square 5..10 x 5..10.
    EXPECT_DOUBLE_EQ(std::abs(signedArea(clipRingToRect({{5, 5}, {15, 5}, {5, 15}}, rect))), 25.0);

    const Ring square = densified({{0, 0}, {10, 0}, {10, 10}, {0, 10}}, 0.5, true);
    const Ring simple = simplifiedRing(square, 0.01);
    EXPECT_EQ(simple.size(), 4u);
    EXPECT_DOUBLE_EQ(std::abs(signedArea(simple)), 100.0);
}

AdminArea rectangleArea(const QString &name, const QString &region, QRectF lonLat, std::vector<QRectF> holes = {})
{
    const auto ring = [](QRectF r) { return Ring{r.topLeft(), r.topRight(), r.bottomRight(), r.bottomLeft()}; };
    Polygon polygon{{ring(lonLat)}};
    for (const QRectF &h : holes)
        polygon.rings.push_back(ring(h));
    return AdminArea{name, region, {polygon}};
}

TEST(SquareTable, SquaresOfBothZonesAlong12East)
{
    UtmProjection projection;
    // About 8 x 5.5 km of land across 12° E.
    const auto regions = {rectangleArea(QStringLiteral("Regione"), QStringLiteral("Regione"),
                                        QRectF(QPointF(11.95, 44.0), QPointF(12.05, 44.05)))};
    const auto provinces = {rectangleArea(QStringLiteral("Provincia"), QStringLiteral("Regione"),
                                          QRectF(QPointF(11.9, 43.9), QPointF(12.1, 44.1)))};
    QString error;
    const auto rows = SquareTable::build(regions, provinces, projection, &error);
    ASSERT_FALSE(rows.empty()) << error.toStdString();
    double land32 = 0.0, land33 = 0.0;
    for (size_t i = 0; i < rows.size(); ++i) {
        const SquareRow &r = rows[i];
        EXPECT_EQ(r.code.at(0), r.zone == 32 ? QLatin1Char('Q') : QLatin1Char('T'));
        EXPECT_EQ(r.province, QStringLiteral("Provincia"));
        if (i > 0) {
            EXPECT_TRUE(rows[i - 1].zone < r.zone || rows[i - 1].code < r.code);
        }
        (r.zone == 32 ? land32 : land33) += r.landShare * 100.0;  // km²
    }
    // Each zone counts only the land in its own band: half the rectangle each.
    const double half = 0.05 * 111.32 * std::cos(44.025 * M_PI / 180.0) * 0.05 * 111.13;
    EXPECT_NEAR(land32, half, 0.05 * half);
    EXPECT_NEAR(land33, half, 0.05 * half);
    const QByteArray csv = SquareTable::toCsv(rows);
    EXPECT_TRUE(csv.startsWith("UTM,zone,E_UTM32,N_UTM32,lon,lat,region,province,land_share\n"));
    EXPECT_EQ(csv.count('\n'), qsizetype(rows.size()) + 1);
}

TEST(SquareTable, HolesTakeTheirLandAway)
{
    UtmProjection projection;
    const QRectF outer(QPointF(10.0, 44.0), QPointF(10.3, 44.2));
    const QRectF hole(QPointF(10.1, 44.05), QPointF(10.2, 44.15));
    const auto province = rectangleArea(QStringLiteral("P"), QStringLiteral("R"), outer);
    QString error;
    double with = 0.0, without = 0.0;
    for (const SquareRow &r : SquareTable::build({rectangleArea(QStringLiteral("R"), QStringLiteral("R"), outer, {hole})},
                                                 {province}, projection, &error))
        with += r.landShare;
    for (const SquareRow &r : SquareTable::build({rectangleArea(QStringLiteral("R"), QStringLiteral("R"), outer)},
                                                 {province}, projection, &error))
        without += r.landShare;
    EXPECT_NEAR(with / without, 1.0 - (0.1 * 0.1) / (0.3 * 0.2), 0.01);
}

TEST(AdminAreas, DecodesQuantizedTopoJsonArcs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("p.topo.json"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    // Two arcs: 0 from (0,0) to (10,0) to (10,10), 1 from (0,0) to (0,10) to (10,10);
    // the ring runs arc 0 and then arc 1 reversed (~1 = -2).
    f.write(R"({"type":"Topology","transform":{"scale":[0.5,0.25],"translate":[6,40]},
        "arcs":[[[0,0],[10,0],[0,10]],[[0,0],[0,10],[10,0]]],
        "objects":{"provinces":{"type":"GeometryCollection","geometries":[
          {"type":"Polygon","arcs":[[0,-2]],"properties":{"prov_name":"Uno","reg_name":"Erre"}},
          {"type":"MultiPolygon","arcs":[[[0,-2]],[[1,-1]]],"properties":{"prov_name":"Due","reg_name":"Erre"}},
          {"type":"Polygon","arcs":[[7]],"properties":{"prov_name":"","reg_name":"Erre"}}]}}})");
    f.close();
    QString error;
    const auto provinces = AdminAreas::readProvinces(path, &error);
    ASSERT_EQ(provinces.size(), 2u) << error.toStdString();
    EXPECT_EQ(provinces[0].name, QStringLiteral("Uno"));
    EXPECT_EQ(provinces[0].regionName, QStringLiteral("Erre"));
    const Ring &ring = provinces[0].polygons.at(0).rings.at(0);
    const Ring expected{{6, 40}, {11, 40}, {11, 42.5}, {6, 42.5}};
    EXPECT_EQ(ring, expected);
    EXPECT_EQ(provinces[1].polygons.size(), 2u);

    EXPECT_TRUE(AdminAreas::readProvinces(dir.filePath(QStringLiteral("missing.json")), &error).empty());
    EXPECT_TRUE(error.contains(QStringLiteral("missing.json")));
}

TEST(GmtSegments, ReadsSegmentsAndRejectsBadLines)
{
    QTemporaryDir dir;
    const QString good = dir.filePath(QStringLiteral("good.txt"));
    const QString bad = dir.filePath(QStringLiteral("bad.txt"));
    QFile g(good);
    ASSERT_TRUE(g.open(QIODevice::WriteOnly));
    g.write("# comment\n> Shore Bin # 1, Level 1\n9.5\t44.0\n9.6\t44.1\n>\n10 45\n> single\n11 46\n12 47\n");
    g.close();
    QFile b(bad);
    ASSERT_TRUE(b.open(QIODevice::WriteOnly));
    b.write(">\n9.5 44.0\nnine 44\n");
    b.close();
    QString error;
    const auto segments = GmtSegments::read(good, &error);
    ASSERT_EQ(segments.size(), 2u) << "a one-point segment is dropped";
    EXPECT_EQ(segments[0][1], QPointF(9.6, 44.1));
    EXPECT_TRUE(GmtSegments::read(bad, &error).empty());
    EXPECT_TRUE(error.contains(QStringLiteral(":3:")));
}

TEST(StagedFiles, NothingIsWrittenUntilCommit)
{
    QTemporaryDir root;
    QString error;
    {
        StagedFiles staged(root.path());
        ASSERT_TRUE(staged.write(QStringLiteral("maps/a.wmf"), "new", &error));
        EXPECT_FALSE(QFile::exists(root.filePath(QStringLiteral("maps/a.wmf"))));
        // Dropped without commit: a failed run.
    }
    EXPECT_FALSE(QFile::exists(root.filePath(QStringLiteral("maps/a.wmf"))));
    QDir(root.path()).mkpath(QStringLiteral("maps"));
    QFile old(root.filePath(QStringLiteral("maps/a.wmf")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
    old.close();
    {
        StagedFiles staged(root.path());
        ASSERT_TRUE(staged.write(QStringLiteral("maps/a.wmf"), "new", &error));
        ASSERT_TRUE(staged.write(QStringLiteral("squares/b.csv"), "b", &error));
        ASSERT_TRUE(staged.commit(&error)) << error.toStdString();
    }
    QFile replaced(root.filePath(QStringLiteral("maps/a.wmf")));
    ASSERT_TRUE(replaced.open(QIODevice::ReadOnly));
    EXPECT_EQ(replaced.readAll(), QByteArray("new"));
    EXPECT_TRUE(QFile::exists(root.filePath(QStringLiteral("squares/b.csv"))));
    EXPECT_EQ(QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 2)
        << "the temporary folder is gone";
}

}  // namespace
