// ortolan-cli export CODE --type FORMAT -o PATH: the map and points export of
// the species window, without the window.
#include "app/Settings.h"
#include "app/cli/CliCommand.h"
#include "export/ExportJob.h"
#include "map/BackgroundMaps.h"
#include "map/HeadlessMap.h"
#include "print/HeadlessPage.h"

using namespace ortolan;

namespace {

int runExport(const QStringList &arguments)
{
    QStringList args = arguments;
    bool missingType = false;
    bool missingPath = false;
    bool missingLang = false;
    const QString type = cli::takeOption(args, QStringLiteral("--type"), QString(), &missingType);
    QString path = cli::takeOption(args, QStringLiteral("-o"), QString(), &missingPath);
    if (path.isEmpty() && !missingPath)
        path = cli::takeOption(args, QStringLiteral("--output"), QString(), &missingPath);
    const QString lang = cli::takeOption(args, QStringLiteral("--lang"), QString(), &missingLang);
    if (missingType || missingPath || missingLang || args.size() != 1 || args.first().trimmed().isEmpty()
        || !exporting::ExportJob::isFormat(type) || path.trimmed().isEmpty()
        || (!lang.isEmpty() && lang != QStringLiteral("it") && lang != QStringLiteral("en"))) {
        cli::err(QStringLiteral("usage: export CODE --type bmp|emf|shp|dbf|xls|txt -o PATH [--lang it|en]"));
        return 2;
    }
    if (!lang.isEmpty())
        settings().setLanguage(lang == QStringLiteral("en") ? QStringLiteral("Inglese") : QStringLiteral("Italiano"));
    if (!cli::requireDatabase())
        return 2;
    exporting::ExportRequest request = exporting::ExportJob::fromSettings(type, path);
    request.taxonCode = args.first().trimmed();
    // Headless, the bitmap is the full-view map drawn at the size of the
    // printed map (1100 pixels wide), with the grid, on the hydrography map.
    if (type == QStringLiteral("bmp") && !request.outputs.currentMapImage) {
        const QString taxon = request.taxonCode;
        request.outputs.currentMapImage = [taxon] {
            return map::drawTaxonMap(taxon, 1100, true, map::backgrounds::Hydrography).image;
        };
    }
    // The metafile is the exported map page (110 x 146 mm), titled with the code.
    if (type == QStringLiteral("emf") && !request.outputs.writeMapMetafile) {
        const QString taxon = request.taxonCode;
        request.outputs.writeMapMetafile = [taxon](const QString &emfPath) {
            print::HeadlessPageRequest page;
            page.taxonCode = taxon;
            page.backgroundName = map::backgrounds::Hydrography;
            page.caption = taxon;
            page.forPrint = false;
            page.target = emfPath;
            const print::HeadlessPageResult written = print::writeTaxonPage(page);
            for (const QString &message : written.messages)
                cli::err(message);
            return written.ok;
        };
    }
    const bool mapFormat = type == QStringLiteral("bmp") || type == QStringLiteral("emf");
    if (mapFormat && !(type == QStringLiteral("bmp") ? bool(request.outputs.currentMapImage)
                                                      : bool(request.outputs.writeMapMetafile))) {
        cli::err(QStringLiteral("export of the map as ") + type
                 + QStringLiteral(" is not available in this build yet (no headless map renderer)"));
        return 1;
    }
    const exporting::ExportResult result = exporting::ExportJob::run(request);
    if (!result.ok) {
        cli::err(result.messageText
                 + (result.detail.isEmpty() || result.detail == result.messageText ? QString()
                                                                                    : QStringLiteral(": ") + result.detail));
        return result.messageText.startsWith(settings().messages.MsgMissingFile) ? 2 : 1;
    }
    cli::out(result.messageText);
    for (const QString &file : result.writtenFiles)
        cli::out(file);
    return 0;
}

const cli::CliRegistrar registrar({
    QStringLiteral("export"),
    QStringLiteral("export CODE --type bmp|emf|shp|dbf|xls|txt -o PATH [--lang it|en]"),
    QStringLiteral("Exports the occupied UTM squares of the taxon CODE and its subordinate taxa, as in the\n"
                   "species window's File menu:\n"
                   "  txt  tab-separated text: UTM, count of sites, latest year, E_UTM32, N_UTM32\n"
                   "  dbf  the same as a dBase IV table (name cut to 8 characters)\n"
                   "  xls  the same as an Excel workbook (sheet Stazioni / Sites)\n"
                   "  shp  shapefile of every square of the grid with the counts of the taxon\n"
                   "  bmp  the distribution map at the full view as a Windows bitmap, 1100 pixels wide,\n"
                   "       with the UTM grid, on the hydrography background\n"
                   "  emf  the exported map page (110 x 146 mm, enhanced metafile) titled with CODE\n"
                   "The extension of PATH is replaced by the format's (or appended). Column names follow\n"
                   "the language. Exit status: 0 written, 1 the export failed, 2 bad usage or missing data."),
    runExport,
});

}  // namespace
