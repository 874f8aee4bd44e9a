// ortolan-mapgen: builds the atlas's shipped geographic data from the ISTAT
// administrative limits and the GSHHG shorelines: the square table
// (squares/squares.csv), the shapefile template (squares/qutm32.*) and the
// three background maps (maps/*.wmf). Run by tools/mapgen/generate.sh.
#include "map/ZoneGeometry.h"
#include "tools/mapgen/AdminAreas.h"
#include "tools/mapgen/BackgroundMaps.h"
#include "tools/mapgen/ShapefileTemplate.h"
#include "tools/mapgen/SquareTable.h"
#include "tools/mapgen/StagedFiles.h"
#include "tools/mapgen/UtmProjection.h"
#include "tools/mapgen/WorldProjector.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

using namespace ortolan;
using namespace ortolan::mapgen;

namespace {

int fail(const QString &message, int status = 1)
{
    std::fprintf(stderr, "ortolan-mapgen: %s\n", message.toUtf8().constData());
    return status;
}

void note(const QString &message) { std::fprintf(stderr, "%s\n", message.toUtf8().constData()); }

// Every square's code must come back from its located centre through the
// read-out of its own zone; centres across a zone boundary line are counted.
bool checkRoundTrip(const map::ZoneGeometry &g, const std::vector<SquareRow> &squares)
{
    int across = 0;
    for (const SquareRow &s : squares) {
        const auto at = g.locate(s.code);
        if (!at || at->zone != s.zone || g.readoutInZone(at->centre, s.zone).squareCode != s.code) {
            fail(QStringLiteral("square ") + s.code + QStringLiteral(" does not read back through the zone geometry"));
            return false;
        }
        if (g.readout(at->centre).zone != s.zone)
            ++across;
    }
    note(QStringLiteral("square codes: all %1 read back; %2 centres lie across a zone boundary line")
             .arg(squares.size()).arg(across));
    return true;
}

void savePreviews(const QString &dir, const QString &name, const MapPicture &picture)
{
    QDir().mkpath(dir);
    const QString base = QDir(dir).filePath(name);
    picture.render(QSize(1100, 1460), QRectF(0, 0, picture.width(), picture.height())).save(base + QStringLiteral(".png"));
    // Zoomed views: the north (a quarter of the picture each way: the lakes
    // and the Po), and at the atlas's deepest zoom (an eighth) Lake Garda and
    // the Strait of Messina.
    const QSizeF quarter(picture.width() / 4.0, picture.height() / 4.0);
    const QSizeF eighth(picture.width() / 8.0, picture.height() / 8.0);
    picture.render(QSize(1100, 1460), QRectF(QPointF(1300, 1200), quarter)).save(base + QStringLiteral("-north.png"));
    picture.render(QSize(1100, 1460), QRectF(QPointF(3000, 1500), eighth)).save(base + QStringLiteral("-garda.png"));
    picture.render(QSize(1100, 1460), QRectF(QPointF(7500, 10200), eighth)).save(base + QStringLiteral("-messina.png"));
    // The zone seams where the coast crosses 12° E (north of Rome) and 18° E
    // (Salento), at twice the deepest zoom.
    const QSizeF sixteenth(picture.width() / 16.0, picture.height() / 16.0);
    picture.render(QSize(1100, 1460), QRectF(QPointF(4400, 6200), sixteenth)).save(base + QStringLiteral("-seam12.png"));
    picture.render(QSize(1100, 1460), QRectF(QPointF(9900, 8150), sixteenth)).save(base + QStringLiteral("-seam18.png"));
}

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Builds the square table, the shapefile template and the background maps of the atlas."));
    parser.addHelpOption();
    const QCommandLineOption regionOption(QStringLiteral("print-region"),
        QStringLiteral("Print the longitude/latitude box (GMT -R) the pictures need, and stop."));
    const QCommandLineOption geodataOption(QStringLiteral("geodata"),
        QStringLiteral("Folder with limits_IT_regions.geojson and limits_IT_provinces.topo.json."), QStringLiteral("dir"));
    const QCommandLineOption gmtOption(QStringLiteral("gmt"),
        QStringLiteral("Folder with the GMT dumps land.txt, lakes.txt, rivers.txt, borders.txt."), QStringLiteral("dir"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The assets folder to write into."),
                                       QStringLiteral("dir"));
    const QCommandLineOption previewOption(QStringLiteral("preview"),
        QStringLiteral("Also render the maps as PNG files into this folder."), QStringLiteral("dir"));
    const QCommandLineOption toleranceOption(QStringLiteral("tolerance"),
        QStringLiteral("Simplification tolerance in picture units of 0.01 mm (default 1.5)."), QStringLiteral("units"),
        QStringLiteral("1.5"));
    parser.addOptions({regionOption, geodataOption, gmtOption, outOption, previewOption, toleranceOption});
    parser.process(app);

    UtmProjection projection;
    if (!projection.error().isEmpty())
        return fail(projection.error());
    const map::ZoneGeometry geometry(BackgroundMaps::kWidth, BackgroundMaps::kHeight);
    const WorldProjector projector(geometry, projection);
    const GeoBox box = BackgroundMaps::sourceBox(projector, projection);
    if (parser.isSet(regionOption)) {
        std::printf("%s\n", box.gmtRegion().toUtf8().constData());
        return 0;
    }

    if (!parser.isSet(geodataOption) || !parser.isSet(outOption) || !parser.isSet(gmtOption))
        return fail(QStringLiteral("--geodata, --gmt and --out are required (see --help)"), 2);
    bool toleranceOk = false;
    const double tolerance = parser.value(toleranceOption).toDouble(&toleranceOk);
    if (!toleranceOk || tolerance < 0.0)
        return fail(QStringLiteral("--tolerance takes a number of picture units"), 2);
    const QDir geodata(parser.value(geodataOption));
    const QString regionsPath = geodata.filePath(QStringLiteral("limits_IT_regions.geojson"));
    const QString provincesPath = geodata.filePath(QStringLiteral("limits_IT_provinces.topo.json"));
    for (const QString &path : {regionsPath, provincesPath})
        if (!QFileInfo(path).isFile())
            return fail(QStringLiteral("missing geodata file ") + path, 2);
    const QDir gmt(parser.value(gmtOption));
    for (const char *name : {"land.txt", "lakes.txt", "rivers.txt", "borders.txt"})
        if (!QFileInfo(gmt.filePath(QString::fromLatin1(name))).isFile())
            return fail(QStringLiteral("missing GMT dump ") + gmt.filePath(QString::fromLatin1(name))
                            + QStringLiteral(" (run tools/mapgen/generate.sh)"), 2);
    const QString outDir = parser.value(outOption);
    if (!QFileInfo(outDir).isDir())
        return fail(QStringLiteral("missing output folder ") + outDir, 2);

    QString error;
    MapSources sources;
    sources.regions = AdminAreas::readRegions(regionsPath, &error);
    if (sources.regions.empty())
        return fail(error, 2);
    const std::vector<AdminArea> provinces = AdminAreas::readProvinces(provincesPath, &error);
    if (provinces.empty())
        return fail(error, 2);
    struct Dump { const char *name; std::vector<Ring> *into; };
    for (const Dump &d : {Dump{"land.txt", &sources.landPieces}, Dump{"lakes.txt", &sources.lakePieces},
                          Dump{"rivers.txt", &sources.rivers}, Dump{"borders.txt", &sources.borders}}) {
        *d.into = GmtSegments::read(gmt.filePath(QString::fromLatin1(d.name)), &error);
        if (d.into->empty())
            return fail(error, 2);
    }

    // The square table and its checks.
    const std::vector<SquareRow> squares = SquareTable::build(sources.regions, provinces, projection, &error);
    if (squares.empty())
        return fail(error.isEmpty() ? QStringLiteral("no squares touch the regions' land") : error);
    int perZone[35] = {};
    for (const SquareRow &s : squares)
        ++perZone[s.zone];
    note(QStringLiteral("squares: %1 (zone 32: %2, 33: %3, 34: %4)")
             .arg(squares.size()).arg(perZone[32]).arg(perZone[33]).arg(perZone[34]));
    if (!checkRoundTrip(geometry, squares))
        return 1;

    // The background maps and their check against the squares.
    BackgroundMaps maps(projector, tolerance);
    if (!maps.prepare(sources, box, &error))
        return fail(error);
    bool squaresOnLand = false;
    note(maps.checkSquares(squares, &squaresOnLand));
    if (!squaresOnLand)
        return fail(QStringLiteral("the square table and the drawn land disagree"));

    StagedFiles staged(outDir);
    if (!staged.isValid())
        return fail(QStringLiteral("cannot create a temporary folder in ") + outDir);
    if (!staged.write(QStringLiteral("squares/squares.csv"), SquareTable::toCsv(squares), &error)
        || !ShapefileTemplate::write(squares, projection, staged, &error))
        return fail(error);
    struct Output { const char *name; MapPicture picture; };
    for (const Output &o : {Output{"ItaliaNEW", maps.hydrography()}, Output{"ItaliaREGIONI", maps.regions()},
                            Output{"ItaliaNEW_BW", maps.hydrographyGreys()}}) {
        const QByteArray wmf = o.picture.toWmf(BackgroundMaps::kUnitsPerInch);
        note(QStringLiteral("%1.wmf: %2 points, %3 bytes").arg(QString::fromLatin1(o.name)).arg(o.picture.pointCount()).arg(wmf.size()));
        if (!staged.write(QStringLiteral("maps/") + QString::fromLatin1(o.name) + QStringLiteral(".wmf"), wmf, &error))
            return fail(error);
        if (parser.isSet(previewOption))
            savePreviews(parser.value(previewOption), QString::fromLatin1(o.name), o.picture);
    }
    if (!staged.commit(&error))
        return fail(error);
    return 0;
}
