// ortolan-cli replay: plays a report script of the drawing engine into an
// enhanced metafile.
#include "app/cli/CliCommand.h"
#include "print/OTprint.h"

#include <QDir>
#include <QFileInfo>

namespace ortolan::cli {

namespace {

int replay(const QStringList &arguments)
{
    QStringList args = arguments;
    bool missing = false;
    const QString output = takeOption(args, QStringLiteral("-o"), QString(), &missing);
    if (missing || output.isEmpty() || args.size() != 1) {
        err(QStringLiteral("usage: replay SCRIPT -o OUT.emf"));
        return 2;
    }
    const QFileInfo script(args.first());
    if (!script.isFile()) {
        err(QStringLiteral("no report script at ") + script.filePath());
        return 2;
    }
    const QString target = QFileInfo(output).absoluteFilePath();

    print::OTprint engine;
    // The script's own metafile names are not written to: every page goes to OUT.
    engine.setMetafileOverride(target);
    engine.setMessageHandler([](const print::OTprint::Message &m) {
        if (m.kind == print::OTprint::Message::Kind::Critical)
            err(m.text);
    });
    // Picture files named without a folder are looked for beside the script.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(script.absolutePath());
    print::ReportScript::Summary summary;
    const print::OTprintResult result = engine.FromReport(script.absoluteFilePath(), &summary);
    QDir::setCurrent(previous);

    for (const QString &note : summary.notes)
        err(QStringLiteral("warning: ") + note);
    if (!result) {
        err(result.text());
        return 1;
    }
    if (engine.lastMetafile().isEmpty()) {
        err(QStringLiteral("the script draws no metafile: ") + script.filePath());
        return 1;
    }
    out(QStringLiteral("%1: %2 lines, %3 drawn, %4 failed, %5 skipped")
            .arg(QDir::toNativeSeparators(target))
            .arg(summary.lines)
            .arg(summary.performed)
            .arg(summary.failed)
            .arg(summary.skipped));
    return 0;
}

const CliRegistrar registrar(CliCommand{
    QStringLiteral("replay"),
    QStringLiteral("replay SCRIPT -o OUT.emf"),
    QStringLiteral("Plays a report script of the drawing engine (one call per line, e.g.\n"
                   "\"OpenMeta_page.emf_0_0_20000_28000\", \"LFBox_100_100_500_300_2_255_0_16777215\",\n"
                   "\"CloseMeta\") and writes the metafile it draws to OUT.emf, whatever file name\n"
                   "the script gives; a script drawing several metafiles leaves the last one.\n"
                   "Pictures named without a folder are taken from the script's folder. The\n"
                   "reference resolution is that of the system's printer, 600 dpi without one.\n"
                   "Lines the engine cannot read or perform are listed as warnings.\n"
                   "Exit status: 0 written, 1 nothing written, 2 bad usage or no script."),
    replay,
});

}  // namespace

}  // namespace ortolan::cli
