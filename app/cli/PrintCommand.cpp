// ortolan-cli print: the printed map page of a taxon (background, grid, frame,
// one dot per occupied square, title) as the species window prints it, written
// as an enhanced metafile, a PDF or a PNG image.
#include "app/cli/CliCommand.h"

#include "app/Settings.h"
#include "metafile/MetafilePicture.h"
#include "print/HeadlessPage.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTemporaryDir>

using namespace ortolan;

namespace {

const QString Usage = QStringLiteral(
    "print CODE -o PAGE.emf|PAGE.pdf|PAGE.png [--bw] [--grid on|off] [--background hydro|regions] [--title TEXT]");

// PNG pages are drawn at this resolution.
constexpr int PngDpi = 150;

bool writeRendered(const QString &emf, const QString &output, const QString &format)
{
    QString error;
    const metafile::MetafilePicture picture = metafile::MetafilePicture::load(emf, &error);
    if (picture.isNull()) {
        cli::err(error);
        return false;
    }
    const QSizeF mm = picture.naturalSizeMm();
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (format == QStringLiteral("pdf")) {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(mm, QPageSize::Millimeter));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setResolution(600);
        QPainter painter;
        if (!painter.begin(&pdf))
            return false;
        picture.render(&painter, QRectF(0, 0, mm.width() * 600 / 25.4, mm.height() * 600 / 25.4));
        if (!painter.end())
            return false;
    } else {
        const QSize size(qRound(mm.width() * PngDpi / 25.4), qRound(mm.height() * PngDpi / 25.4));
        const QImage image = picture.toImage(size);
        if (image.isNull() || !image.save(&file, "PNG"))
            return false;
    }
    return file.commit();
}

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
    const QString format = output.section(QLatin1Char('.'), -1).toLower();
    if (format != QStringLiteral("emf") && format != QStringLiteral("pdf") && format != QStringLiteral("png")) {
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
    request.target = format == QStringLiteral("emf") ? output : scratch.filePath(QStringLiteral("ItaliaST.emf"));
    const print::HeadlessPageResult page = print::writeTaxonPage(request);
    for (const QString &message : page.messages)
        cli::err(message);
    if (!page.ok)
        return 1;
    if (format != QStringLiteral("emf") && !writeRendered(request.target, output, format)) {
        cli::err(QStringLiteral("cannot write ") + output);
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
                   "to the printer; .pdf and .png play it back (PNG at 150 dpi)."),
    run,
});

}  // namespace
