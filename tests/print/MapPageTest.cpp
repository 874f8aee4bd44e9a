// The printed map page: background chosen by colour mode and background, the
// grey grid only with the grid shown, frame, one dot per located square, the
// title below the map, and the export page of 110 x 146 mm.
#include "app/Settings.h"
#include "data/Connection.h"
#include "map/BackgroundMaps.h"
#include "map/GridLines.h"
#include "map/RecordsLayer.h"
#include "metafile/MetafilePicture.h"
#include "print/MapPage.h"
#include "print/OTprint.h"
#include "support/FixtureDatabase.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>

using namespace ortolan;
using print::MapPageInput;

namespace {

const QString kCarabusOlympiae = QStringLiteral("044.00101.001.0");

class MapPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        folder = settings().ApplicationFolder;
        settings().ApplicationFolder = test::appDir();
        test::FixtureDatabase fixture(dir.path());
        fixture.addStandardChecklist();
        auto connection = data::Connection::open(fixture.path(), fixture.connectString());
        records.load(*connection, kCarabusOlympiae);
        records.locate(geometry);
    }
    void TearDown() override { settings().ApplicationFolder = folder; }

    MapPageInput input(bool forPrint = true) const
    {
        MapPageInput in;
        in.world = QSizeF(geometry.width(), geometry.height());
        in.hundredKm = geometry.hundredKm();
        in.gridLines = map::GridLines(geometry).polylines();
        for (const auto &square : records.squares())
            in.squareCentres.push_back(square.centre);
        in.backgroundPath = map::backgrounds::printPath(map::backgrounds::Hydrography, QStringLiteral("Colori"));
        in.caption = QStringLiteral("Carabus olympiae");
        in.forPrint = forPrint;
        in.target = dir.filePath(QStringLiteral("page.emf"));
        return in;
    }

    // The engine calls that made the page, one script line each.
    QStringList draw(const MapPageInput &in)
    {
        print::OTprint engine;
        const QString script = dir.filePath(QStringLiteral("page.txt"));
        EXPECT_TRUE(engine.WithReport(script).isOk());
        const print::OTprintResult result = print::MapPage::writeMapPage(in, engine);
        EXPECT_TRUE(result.isOk()) << qPrintable(result.text());
        QFile file(script);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }

    static QStringList starting(const QStringList &lines, const QString &keyword)
    {
        return lines.filter(QRegularExpression(QStringLiteral("^") + keyword + QStringLiteral("(_|$)")));
    }

    QTemporaryDir dir;
    QString folder;
    const map::ZoneGeometry geometry{8000.0 * 110.0 / 146.0, 8000.0};
    map::RecordsLayer records;
};

TEST_F(MapPageTest, BackgroundFollowsColourModeAndBackground)
{
    const struct {
        const char *name;
        QString background;
        QString mode;
        QString file;
    } cases[] = {
        {"hydrography in colour", map::backgrounds::Hydrography, QStringLiteral("Colori"), QStringLiteral("ItaliaNEW.wmf")},
        {"hydrography in black and white", map::backgrounds::Hydrography, QStringLiteral("BW"), QStringLiteral("ItaliaNEW_BW.wmf")},
        {"regions in colour", map::backgrounds::Regions, QStringLiteral("Colori"), QStringLiteral("ItaliaREGIONI.wmf")},
        {"regions in black and white", map::backgrounds::Regions, QStringLiteral("BW"), QStringLiteral("ItaliaREGIONI.wmf")},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        MapPageInput in = input();
        in.backgroundPath = map::backgrounds::printPath(c.background, c.mode);
        in.blackWhite = c.mode == QStringLiteral("BW");
        const QStringList wmf = starting(draw(in), QStringLiteral("Wmf"));
        ASSERT_EQ(wmf.size(), 1);
        EXPECT_EQ(wmf.first(), QStringLiteral("Wmf_") + test::appDir() + QStringLiteral("/") + c.file
                                   + QStringLiteral("_450_300_1"));
    }
}

TEST_F(MapPageTest, GridIsDrawnInGreyOnlyWhenShown)
{
    MapPageInput in = input();
    QStringList lines = draw(in);
    const QString grey = QStringLiteral("LineColor_15066597");
    EXPECT_EQ(starting(lines, QStringLiteral("LineColor")).first(), grey);
    int segments = 0;
    for (const QPolygonF &line : in.gridLines)
        segments += int(line.size()) - 1;
    EXPECT_EQ(starting(lines, QStringLiteral("LLine")).size(), segments);
    // Every grid line is drawn with the line properties.
    for (const QString &line : starting(lines, QStringLiteral("LLine")))
        EXPECT_TRUE(line.endsWith(QStringLiteral("_0_0_0"))) << qPrintable(line);

    in.grid = false;
    lines = draw(in);
    EXPECT_FALSE(lines.contains(grey));
    EXPECT_TRUE(starting(lines, QStringLiteral("LLine")).isEmpty());
}

TEST_F(MapPageTest, OneDotPerLocatedSquareAtItsPagePosition)
{
    MapPageInput in = input();
    ASSERT_EQ(in.squareCentres.size(), 4u);
    // A row the map could not place sits at y = 0 and gives no dot.
    in.squareCentres.emplace_back(300.0, 0.0);
    const QStringList lines = draw(in);
    const QStringList dots = starting(lines, QStringLiteral("LFCircle"));
    ASSERT_EQ(dots.size(), 4);
    const double kx = 1100.0 / geometry.width();
    const double ky = 1460.0 / geometry.height();
    const int radius = int(std::nearbyint(kx * geometry.hundredKm() / 20.0 - 0.3));
    EXPECT_EQ(print::MapPage::dotRadius(in), radius);
    for (int i = 0; i < 4; ++i) {
        const QPointF c = in.squareCentres[size_t(i)];
        const QString expected = QStringLiteral("LFCircle_%1_%2_%3_0_0_0_0")
                                     .arg(int(std::nearbyint(450 + kx * c.x())))
                                     .arg(int(std::nearbyint(300 + ky * c.y())))
                                     .arg(radius);
        EXPECT_EQ(dots[i], expected);
    }
    // Red dots in colour, black ones in black and white, inside a black frame.
    EXPECT_TRUE(lines.contains(QStringLiteral("FillColor_255")));
    EXPECT_TRUE(lines.contains(QStringLiteral("LRectangle_450_300_1550_1760_0_6_0_0")));
    in.blackWhite = true;
    EXPECT_TRUE(draw(in).contains(QStringLiteral("FillColor_0")));
}

TEST_F(MapPageTest, TitleSitsFiveMillimetresBelowTheMap)
{
    const QStringList titles = starting(draw(input()), QStringLiteral("SetText"));
    ASSERT_EQ(titles.size(), 1);
    EXPECT_EQ(titles.first(), QStringLiteral("SetText_Carabus olympiae_450_1810_0_10_Arial_0"));
}

TEST_F(MapPageTest, ExportPageIsTheMapAlone)
{
    const MapPageInput in = input(false);
    const QStringList lines = draw(in);
    EXPECT_EQ(lines.first(), QStringLiteral("OpenMeta_") + in.target + QStringLiteral("_0_0_11000_14600"));
    EXPECT_TRUE(lines.contains(QStringLiteral("LRectangle_0_0_1100_1460_0_6_0_0")));
    QString error;
    const auto picture = metafile::MetafilePicture::load(in.target, &error);
    ASSERT_FALSE(picture.isNull()) << qPrintable(error);
    EXPECT_NEAR(picture.naturalSizeMm().width(), 110.0, 0.01);
    EXPECT_NEAR(picture.naturalSizeMm().height(), 146.0, 0.01);
}

TEST_F(MapPageTest, AMapWithoutExtentMakesNoPage)
{
    MapPageInput in = input();
    in.world = QSizeF(0, 0);
    print::OTprint engine;
    EXPECT_FALSE(print::MapPage::writeMapPage(in, engine).isOk());
    EXPECT_FALSE(QFile::exists(in.target));
}

}  // namespace
