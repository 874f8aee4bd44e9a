// ortolan-cli map: the distribution map of a taxon (background, grid, one red
// dot per occupied UTM square) drawn into a PNG image, as the map view shows it
// at the full view.
#include "app/cli/CliCommand.h"

#include "app/Settings.h"
#include "data/DataError.h"
#include "map/HeadlessMap.h"

#include <QImage>
#include <QSaveFile>


using namespace ortolan;

namespace {

const QString Usage = QStringLiteral("map CODE -o FILE.png [--width N] [--grid on|off] [--background hydro|regions]");

int run(const QStringList &arguments)
{
    QStringList args = arguments;
    bool missing = false;
    const QString output = cli::takeOption(args, QStringLiteral("-o"), QString(), &missing);
    const QString widthText = cli::takeOption(args, QStringLiteral("--width"), QStringLiteral("1100"), &missing);
    const QString grid = cli::takeOption(args, QStringLiteral("--grid"), QStringLiteral("on"), &missing);
    const QString background = cli::takeOption(args, QStringLiteral("--background"), QStringLiteral("hydro"), &missing);
    if (missing || args.size() != 1 || output.isEmpty()) {
        cli::err(QStringLiteral("usage: ") + Usage);
        return 2;
    }
    bool ok = false;
    const int width = widthText.toInt(&ok);
    if (!ok || width < 10 || width > 20000) {
        cli::err(QStringLiteral("--width takes a pixel width between 10 and 20000"));
        return 2;
    }
    bool gridOn = true;
    QString name;
    if (!cli::mapStyle(grid, background, &gridOn, &name))
        return 2;
    if (!cli::requireDatabase())
        return 2;

    const QString taxon = args.first();
    map::HeadlessMap drawn;
    try {
        drawn = map::drawTaxonMap(taxon, width, gridOn, name);
    } catch (const data::DataError &error) {
        cli::err(settings().messages.MsgDataError + error.description());
        return 1;
    }
    for (const QString &message : drawn.messages)
        cli::err(message);
    if (drawn.image.isNull())
        return 2;
    const QImage &image = drawn.image;
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        cli::err(QStringLiteral("cannot write ") + output);
        return 1;
    }
    cli::out(taxon + QStringLiteral(": ") + QString::number(drawn.recordRows) + QStringLiteral(" rows, ")
             + QString::number(drawn.squaresDrawn) + QStringLiteral(" squares drawn"));
    return 0;
}

const cli::CliRegistrar registrar({
    QStringLiteral("map"),
    Usage,
    QStringLiteral("Draws the distribution map of a taxon and of every taxon whose code begins with CODE\n"
                   "into a PNG image: the background picture (hydrography or regions), the UTM grid\n"
                   "(default on) and one red dot per occupied 10-km square. --width sets the image\n"
                   "width in pixels (default 1100); the height follows the picture's aspect.\n"
                   "Square codes the map cannot place are reported on stderr, one line per record.\n"
                   "Exit status: 0 written, 1 the database could not be read or the image not written,\n"
                   "2 bad usage or missing database or background picture."),
    run,
});

}  // namespace
