// Fuzz target: report scripts of unknown origin, replayed by the drawing engine
// (OTprint::FromReport) into an enhanced metafile. The input is the script's
// bytes, with one change: a line that names a file (OpenMeta, Bitmap, Emf, Wmf)
// gets one of a few names in the scratch folder in place of the name written,
// chosen by that name's length, so a run writes and reads nothing else.
// Whatever the engine writes must read back through the metafile reader.
#include "FuzzSupport.h"

#include "metafile/EmfDocument.h"
#include "metafile/EmfReader.h"
#include "metafile/EmfWriter.h"
#include "print/OTprint.h"
#include "print/OTprintPrinter.h"

#include <QFile>
#include <QList>

#include <cstdlib>
#include <memory>

using namespace ortolan;
using namespace ortolan::print;

namespace {

QString scratchFile(const char *name)
{
    return fuzz::scratchFolder() + QLatin1Char('/') + QLatin1String(name);
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::abort();
}

// Pictures the script may place: the shipped samples (a bitmap, an enhanced and
// a placeable Windows metafile), a file that is neither, and one that is missing.
void preparePictures()
{
    const QString samples = QStringLiteral(ORTOLAN_FUZZ_SOURCE_DIR "/assets/samples/");
    for (const char *name : {"tile.png", "tile.emf", "tile.wmf"}) {
        const QString target = scratchFile(name);
        QFile::remove(target);
        if (!QFile::copy(samples + QStringLiteral("sample-") + QLatin1String(name), target))
            std::abort();
    }
    writeFile(scratchFile("broken.emf"), QByteArrayLiteral("\x01\x00\x00\x00 not a metafile"));
}

const char *const PageNames[] = {"", "page.emf", "nofolder/page.emf"};
const char *const PictureNames[] = {"tile.png", "tile.emf", "tile.wmf", "broken.emf", "missing.emf", "page.emf"};

// The script with the file field of every file-naming line replaced.
QByteArray confined(const QByteArray &input)
{
    QByteArray out;
    out.reserve(input.size() + 256);
    qsizetype start = 0;
    while (start <= input.size()) {
        qsizetype end = start;
        while (end < input.size() && input[end] != '\n' && input[end] != '\r')
            ++end;
        QByteArray line = input.mid(start, end - start);
        const qsizetype keywordEnd = line.indexOf('_');
        if (keywordEnd > 0) {
            QByteArray keyword = line.left(keywordEnd);
            QByteArray bom;
            if (start == 0 && keyword.startsWith("\xEF\xBB\xBF")) {
                bom = keyword.left(3);
                keyword.remove(0, 3);
            }
            const bool page = keyword == "OpenMeta";
            if (page || keyword == "Bitmap" || keyword == "Emf" || keyword == "Wmf") {
                qsizetype fieldEnd = line.indexOf('_', keywordEnd + 1);
                if (fieldEnd < 0)
                    fieldEnd = line.size();
                const qsizetype length = fieldEnd - keywordEnd - 1;
                const char *name = page ? PageNames[length % std::size(PageNames)]
                                        : PictureNames[length % std::size(PictureNames)];
                const QByteArray path = *name ? scratchFile(name).toUtf8() : QByteArray();
                line = bom + keyword + '_' + path + line.mid(fieldEnd);
            }
        }
        out += line;
        if (end < input.size())
            out += input[end];
        start = end + 1;
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    fuzz::startGuiApplication();
    preparePictures();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString script = scratchFile("script.txt");
    writeFile(script, confined(fuzz::bytesOf(data, size)));
    QFile::remove(scratchFile("page.emf"));

    OTprint engine(std::make_shared<OTprintPrinter>());
    engine.setMessageHandler([](const OTprint::Message &) {});
    ReportScript::Summary summary;
    engine.FromReport(script, &summary);
    if (summary.performed + summary.failed + summary.skipped != summary.lines)
        std::abort();

    // The page the engine finished last must be a metafile its own reader takes,
    // unless its frame has no area (then only a drawing could give it a size).
    const QByteArray page = engine.lastMetafile();
    const QRect frame = engine.frame();
    const bool flat = frame.left() == frame.right() || frame.top() == frame.bottom();
    if (!page.isEmpty()) {
        QString error;
        metafile::EmfDocument doc;
        if (!metafile::EmfReader::parse(page, &doc, &error)) {
            std::fprintf(stderr, "the engine wrote a metafile its reader refuses: %s\n", qPrintable(error));
            std::abort();
        }
        if (metafile::EmfReader::compile(doc, &error).isNull() && !flat) {
            std::fprintf(stderr, "the engine wrote a metafile its reader cannot play: %s\n", qPrintable(error));
            std::abort();
        }
    }
    return 0;
}
