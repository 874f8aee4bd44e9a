// The exports of the map and the occupied squares of a widespread species, as
// the File menu writes them from the species window, and the printed page;
// each beside the queries it runs.
#include "bench/BenchContext.h"
#include "bench/BenchOperation.h"
#include "bench/BenchSuites.h"
#include "bench/BenchTaxa.h"
#include "bench/BenchWindow.h"

#include "app/Settings.h"
#include "browser/SpeciesWindow.h"
#include "data/Connection.h"
#include "data/Queries.h"
#include "export/ExportJob.h"
#include "map/BackgroundMaps.h"
#include "map/MapWidget.h"
#include "print/HeadlessPage.h"

#include <QTemporaryDir>
#include <QTreeWidgetItem>

#include <memory>

namespace ortolan::bench {

namespace {

// The statements of an export without the files: the rows of the occupied
// squares, or for the shapefile the per-square counts joined to every square.
void exportQueries(const QString &format, const QString &taxon)
{
    const auto db = data::Connection::openPrivate();
    if (format == QStringLiteral("shp")) {
        db->createQuery(data::queries::esportaName(), data::queries::esportaQuery(taxon, true));
        db->openRecordset(QStringLiteral("SELECT QuadUTM.UTM, Esporta.SITES, Esporta.YEAR FROM QuadUTM LEFT JOIN "
                                         "Esporta ON QuadUTM.UTM = Esporta.UTM ORDER BY QuadUTM.rowid;"));
        db->dropQuery(data::queries::esportaName());
    } else if (format == QStringLiteral("bmp") || format == QStringLiteral("emf")) {
        db->openRecordset(data::queries::mapSquares(taxon));
    } else {
        db->openRecordset(data::queries::occupiedSquares(taxon, true));
    }
}

}  // namespace

void registerExportBenchmarks(const QString &database, const QString &suffix)
{
    auto folder = std::make_shared<std::unique_ptr<QTemporaryDir>>();
    auto taxon = std::make_shared<QString>();
    auto once = [database, folder, taxon] {
        BenchContext::instance().use(database);
        *folder = std::make_unique<QTemporaryDir>();
        *taxon = BenchTaxa::of(database).widespread;
        // The map formats come from the window: select the taxon there.
        browser::installSpeciesWindowHooks();
        browser::SpeciesWindow &w = BenchWindow::get();
        if (QTreeWidgetItem *item = BenchWindow::reveal(*taxon))
            w.nodeClick(item);
        w.mapWidget()->repaint();
    };
    bool first = true;
    for (const char *format : {"txt", "xls", "dbf", "shp", "bmp", "emf"}) {
        const QString f = QString::fromLatin1(format);
        registerOperation({QStringLiteral("export ") + f + QStringLiteral(" of the most widespread species") + suffix,
                           5, first ? std::function<void()>(once) : std::function<void()>(), {},
                           [f, folder, taxon] {
                               settings().SelectedTaxonCode = *taxon;
                               exporting::ExportRequest request = exporting::ExportJob::fromSettings(
                                   f, (*folder)->filePath(QStringLiteral("squares.") + f));
                               request.taxonCode = *taxon;
                               exporting::ExportJob::run(request);
                           }});
        registerOperation({QStringLiteral("floor: queries of the ") + f + QStringLiteral(" export") + suffix, 5, {},
                           {}, [f, taxon] { exportQueries(f, *taxon); }});
        first = false;
    }
    registerOperation({QStringLiteral("print page of the most widespread species") + suffix, 10, {}, {},
                       [folder, taxon] {
                           print::HeadlessPageRequest request;
                           request.taxonCode = *taxon;
                           request.backgroundName = map::backgrounds::Hydrography;
                           request.caption = *taxon;
                           request.target = (*folder)->filePath(QStringLiteral("ItaliaST.emf"));
                           print::writeTaxonPage(request);
                       }});
    registerOperation({QStringLiteral("floor: squares query of the print page") + suffix, 10, {}, {},
                       [taxon] { exportQueries(QStringLiteral("emf"), *taxon); }});
}

}  // namespace ortolan::bench
