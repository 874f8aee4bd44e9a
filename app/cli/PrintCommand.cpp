// ortolan-cli print: the printed map page of a taxon (background, grid, frame,
// one dot per occupied square, title) as the species window prints it, written
// as an enhanced metafile, a PDF or a PNG image.
#include "app/cli/CliCommand.h"

#include "app/Settings.h"
#include "print/HeadlessPage.h"
#include "print/RenderedPage.h"

#include <QTemporaryDir>

using namespace ortolan;

namespace {

const QString Usage = QStringLiteral(
    "print CODE -o PAGE.emf|PAGE.pdf|PAGE.png [--bw] [--grid on|off] [--background hydro|regions] [--title TEXT]");

int run(const QStringList &arguments)
{
    QStringList args = arguments;
    bool missing = false;
    const QString output = cli::takeOption(args, QStringLiteral("-o"), QString(), &missing);
    const QString grid = cli::takeOption(args, QStringLiteral("--grid"), QStringLiteral("on"), &missing);
    const QString background = cli::takeOption(args, QStringLiteral("--background"), QStringLiteral("hydro"), &missing);
    const QString title = cli::takeOption(args, QStringLiteral("--title"), QString(), &missing);
    const bool blackWhite = cli::takeFlag(args, QStringLiteral("--bw"));
    if (missing || args.size() != 1 || output.isEmpty()) {
        cli::err(QStringLiteral("usage: ") + Usage);
        return 2;
    }
    const std::optional<print::PageFormat> format = print::RenderedPage::formatOfFile(output);
    if (!format) {
        cli::err(QStringLiteral("-o takes a file ending in .emf, .pdf or .png"));
        return 2;
    }
    bool gridOn = true;
    QString name;
    if (!cli::mapStyle(grid, background, &gridOn, &name))
        return 2;
    if (!cli::requireDatabase())
        return 2;

    const QString taxon = args.first();
    QTemporaryDir scratch;
    print::HeadlessPageRequest request;
    request.taxonCode = taxon;
    request.backgroundName = name;
    request.blackWhite = blackWhite;
    request.grid = gridOn;
    request.caption = title.isEmpty() ? taxon : title;
    request.forPrint = true;
    request.target = format == print::PageFormat::Emf ? output : scratch.filePath(QStringLiteral("ItaliaST.emf"));
    const print::HeadlessPageResult page = print::writeTaxonPage(request);
    for (const QString &message : page.messages)
        cli::err(message);
    if (!page.ok)
        return 1;
    QString error;
    if (format != print::PageFormat::Emf && !print::RenderedPage::writeFromFile(request.target, output, *format, &error)) {
        cli::err(error);
        return 1;
    }
    cli::out(taxon + QStringLiteral(": ") + QString::number(page.squaresOnPage) + QStringLiteral(" squares on the page"));
    return 0;
}

const cli::CliRegistrar registrar({
    QStringLiteral("print"),
    Usage,
    QStringLiteral("Draws the printed map page of a taxon (and of every taxon whose code begins with CODE):\n"
                   "the background (hydrography or regions; --bw prints in black and white), the UTM\n"
                   "grid (default on), the map frame, one dot per occupied 10-km square and the title\n"
                   "(--title, default CODE) on a 200 x 280 mm sheet. .emf writes the page as it goes\n"
                   "to the printer; .pdf and .png play it back (PNG at 150 dpi). A taxon without records\n"
                   "gets a page with an empty map; the number of dots drawn goes to stdout.\n"
                   "Exit status: 0 written, 1 the page could not be made or written, 2 bad usage or\n"
                   "missing database."),
    run,
});

}  // namespace
