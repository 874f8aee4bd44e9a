// ortolan-mapgen: builds the atlas's shipped geographic data from the ISTAT
// administrative limits and the GSHHG shorelines: the square table
// (squares/squares.csv), the shapefile template (squares/qutm32.*) and the
// three background maps (maps/*.wmf). Run by tools/mapgen/generate.sh.
#include "tools/mapgen/AdminAreas.h"
#include "tools/mapgen/ShapefileTemplate.h"
#include "tools/mapgen/SquareTable.h"
#include "tools/mapgen/StagedFiles.h"
#include "tools/mapgen/UtmProjection.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

using namespace ortolan::mapgen;

namespace {

int fail(const QString &message, int status = 1)
{
    std::fprintf(stderr, "ortolan-mapgen: %s\n", message.toUtf8().constData());
    return status;
}

void note(const QString &message) { std::fprintf(stderr, "%s\n", message.toUtf8().constData()); }

}  // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Builds the square table, the shapefile template and the background maps."));
    parser.addHelpOption();
    const QCommandLineOption geodataOption(QStringLiteral("geodata"),
        QStringLiteral("Folder with limits_IT_regions.geojson and limits_IT_provinces.topo.json."), QStringLiteral("dir"));
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("The assets folder to write into."),
                                       QStringLiteral("dir"));
    parser.addOptions({geodataOption, outOption});
    parser.process(app);

    if (!parser.isSet(geodataOption) || !parser.isSet(outOption))
        return fail(QStringLiteral("--geodata and --out are required (see --help)"), 2);
    const QDir geodata(parser.value(geodataOption));
    const QString regionsPath = geodata.filePath(QStringLiteral("limits_IT_regions.geojson"));
    const QString provincesPath = geodata.filePath(QStringLiteral("limits_IT_provinces.topo.json"));
    for (const QString &path : {regionsPath, provincesPath})
        if (!QFileInfo(path).isFile())
            return fail(QStringLiteral("missing geodata file ") + path, 2);
    const QString outDir = parser.value(outOption);
    if (!QFileInfo(outDir).isDir())
        return fail(QStringLiteral("missing output folder ") + outDir, 2);

    UtmProjection projection;
    if (!projection.error().isEmpty())
        return fail(projection.error());

    QString error;
    const std::vector<AdminArea> regions = AdminAreas::readRegions(regionsPath, &error);
    if (regions.empty())
        return fail(error, 2);
    const std::vector<AdminArea> provinces = AdminAreas::readProvinces(provincesPath, &error);
    if (provinces.empty())
        return fail(error, 2);

    const std::vector<SquareRow> squares = SquareTable::build(regions, provinces, projection, &error);
    if (squares.empty())
        return fail(error.isEmpty() ? QStringLiteral("no squares touch the regions' land") : error);
    int perZone[35] = {};
    for (const SquareRow &s : squares)
        ++perZone[s.zone];
    note(QStringLiteral("squares: %1 (zone 32: %2, 33: %3, 34: %4)")
             .arg(squares.size()).arg(perZone[32]).arg(perZone[33]).arg(perZone[34]));

    StagedFiles staged(outDir);
    if (!staged.isValid())
        return fail(QStringLiteral("cannot create a temporary folder in ") + outDir);
    if (!staged.write(QStringLiteral("squares/squares.csv"), SquareTable::toCsv(squares), &error))
        return fail(error);
    if (!ShapefileTemplate::write(squares, projection, staged, &error))
        return fail(error);
    if (!staged.commit(&error))
        return fail(error);
    return 0;
}
