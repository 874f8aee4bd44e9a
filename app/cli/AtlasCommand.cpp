// ortolan-cli atlas: the printed map page of every species (and subspecies)
// below a group, genus or species, written into one folder with an index.
#include "app/cli/CliCommand.h"

#include "app/Settings.h"
#include "print/AtlasBatch.h"

#include <QElapsedTimer>

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define ORTOLAN_ISATTY _isatty
#define ORTOLAN_FILENO _fileno
#else
#include <unistd.h>
#define ORTOLAN_ISATTY isatty
#define ORTOLAN_FILENO fileno
#endif

using namespace ortolan;

namespace {

const QString Usage = QStringLiteral(
    "atlas CODE --out FOLDER [--format png|emf|pdf] [--bw] [--grid on|off] [--background hydro|regions] "
    "[--subspecies] [--dpi N]");

// The progress of a long run on stderr: one line rewritten in place on a
// terminal (at most ten times a second), otherwise a plain line every tenth
// of the run.
class ProgressLine {
public:
    ProgressLine() : m_terminal(ORTOLAN_ISATTY(ORTOLAN_FILENO(stderr)) != 0) { m_clock.start(); }

    void update(int done, int total, const print::AtlasBatch::Taxon &taxon)
    {
        const QString text = QStringLiteral("atlas: %1/%2 pages  %3 %4").arg(done).arg(total).arg(taxon.code, taxon.name);
        if (m_terminal) {
            if (done < total && m_clock.elapsed() < 100)
                return;
            m_clock.restart();
            QString line = text.left(100);
            const qsizetype shown = line.size();
            line += QString(std::max<qsizetype>(0, m_shown - shown), u' ');
            m_shown = shown;
            write(QStringLiteral("\r") + line);
            return;
        }
        const int tenth = total > 0 ? done * 10 / total : 10;
        if (tenth > m_tenth && total >= 20) {
            m_tenth = tenth;
            write(text + QStringLiteral("\n"));
        }
    }

    // Ends the line rewritten in place, so that messages start on their own line.
    void finish()
    {
        if (m_terminal && m_shown > 0)
            write(QStringLiteral("\n"));
        m_shown = 0;
    }

private:
    static void write(const QString &text)
    {
        const QByteArray bytes = text.toUtf8();
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
        std::fflush(stderr);
    }

    bool m_terminal = false;
    QElapsedTimer m_clock;
    qsizetype m_shown = 0;
    int m_tenth = 0;
};

int exitStatus(print::AtlasBatch::Result::Status status)
{
    using Status = print::AtlasBatch::Result::Status;
    switch (status) {
    case Status::Done:
        return 0;
    case Status::UnknownCode:
        return 2;
    case Status::NoDatabase:
    case Status::BadFolder:
    case Status::Failed:
        break;
    }
    return 1;
}

int run(const QStringList &arguments)
{
    QStringList args = arguments;
    bool missing = false;
    QString folder = cli::takeOption(args, QStringLiteral("--out"), QString(), &missing);
    if (folder.isEmpty())
        folder = cli::takeOption(args, QStringLiteral("-o"), QString(), &missing);
    const QString format = cli::takeOption(args, QStringLiteral("--format"), QStringLiteral("png"), &missing);
    const QString grid = cli::takeOption(args, QStringLiteral("--grid"), QStringLiteral("on"), &missing);
    const QString background = cli::takeOption(args, QStringLiteral("--background"), QStringLiteral("hydro"), &missing);
    const QString dpi = cli::takeOption(args, QStringLiteral("--dpi"), QString::number(print::RenderedPage::PngDpi),
                                        &missing);
    const bool blackWhite = cli::takeFlag(args, QStringLiteral("--bw"));
    const bool subspecies = cli::takeFlag(args, QStringLiteral("--subspecies"));
    if (missing || args.size() != 1 || folder.isEmpty() || args.first().startsWith(u'-')) {
        cli::err(QStringLiteral("usage: ") + Usage);
        return 2;
    }
    const std::optional<print::PageFormat> pageFormat = print::RenderedPage::formatNamed(format);
    if (!pageFormat) {
        cli::err(QStringLiteral("--format takes 'png', 'emf' or 'pdf'"));
        return 2;
    }
    bool dpiOk = false;
    const int pngDpi = dpi.toInt(&dpiOk);
    if (!dpiOk || pngDpi < 10 || pngDpi > 1200) {
        cli::err(QStringLiteral("--dpi takes a whole number from 10 to 1200"));
        return 2;
    }
    print::AtlasBatch::Request request;
    if (!cli::mapStyle(grid, background, &request.style.grid, &request.style.backgroundName))
        return 2;
    if (!cli::requireDatabase())
        return 2;

    request.code = args.first().trimmed();
    request.folder = folder;
    request.format = *pageFormat;
    request.style.blackWhite = blackWhite;
    request.subspecies = subspecies;
    request.pngDpi = pngDpi;
    request.english = settings().isEnglish();

    ProgressLine progress;
    const print::AtlasBatch::Result result = print::AtlasBatch::run(
        request, [&progress](int done, int total, const print::AtlasBatch::Taxon &taxon) {
            progress.update(done, total, taxon);
        });
    progress.finish();
    for (const QString &warning : result.warnings)
        cli::err(warning);
    if (result.status != print::AtlasBatch::Result::Status::Done) {
        cli::err(result.failure);
        return exitStatus(result.status);
    }
    cli::out(QString::number(result.entries.size()) + QStringLiteral(" pages; index ") + result.indexPath);
    return 0;
}

const cli::CliRegistrar registrar({
    QStringLiteral("atlas"),
    Usage,
    QStringLiteral(
        "Writes the printed map page (as 'print' draws it) of every species below CODE into\n"
        "FOLDER (created when missing): CODE is a group of the tree (any of its four levels),\n"
        "a genus or a species. --subspecies adds a page for every subspecies; a species' page\n"
        "always shows the records of its subspecies too. Pages are named CODE_Genus_species\n"
        "with the extension of --format (default png; png pages at --dpi, default 150; pdf and\n"
        "png are played back from the metafile page). The title under the map is the name and\n"
        "author. A taxon without records gets a page with an empty map.\n"
        "FOLDER/index.csv lists code, name, author, squares (different 10-km squares on the\n"
        "map), latest year of a record and file name of each page (UTF-8, RFC 4180 quoting,\n"
        "column names in the language of --lang); it is written last, only when every page was\n"
        "written. Progress goes to stderr.\n"
        "Exit status: 0 done; 2 bad usage, unknown CODE or missing database; 1 a page, the\n"
        "index or the folder could not be written."),
    run,
});

}  // namespace
