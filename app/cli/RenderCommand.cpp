// ortolan-cli render: draws a metafile (WMF or EMF) into a PNG file.
#include "app/cli/CliCommand.h"

#include "metafile/MetafilePicture.h"

#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

#include <cmath>

using namespace ortolan;

namespace {

int run(const QStringList &arguments)
{
    QStringList args = arguments;
    bool missing = false;
    const QString output = cli::takeOption(args, QStringLiteral("-o"), QString(), &missing);
    const QString dpiText = cli::takeOption(args, QStringLiteral("--dpi"), QString(), &missing);
    const QString widthText = cli::takeOption(args, QStringLiteral("--width"), QString(), &missing);
    if (missing || args.size() != 1 || output.isEmpty()) {
        cli::err(QStringLiteral("usage: render IN.emf|IN.wmf -o OUT.png [--dpi N] [--width N]"));
        return 2;
    }
    bool ok = true;
    const double dpi = dpiText.isEmpty() ? 96 : dpiText.toDouble(&ok);
    if (!ok || !(dpi > 0 && dpi <= 2400)) {
        cli::err(QStringLiteral("--dpi takes a resolution between 1 and 2400"));
        return 2;
    }
    const int width = widthText.isEmpty() ? 0 : widthText.toInt(&ok);
    if (!ok || width < 0 || width > 20000) {
        cli::err(QStringLiteral("--width takes a pixel width between 1 and 20000"));
        return 2;
    }
    const QString input = args.first();
    if (!QFileInfo::exists(input)) {
        cli::err(QStringLiteral("missing file ") + input);
        return 2;
    }
    QString error;
    const metafile::MetafilePicture picture = metafile::MetafilePicture::load(input, &error);
    if (picture.isNull()) {
        cli::err(error);
        return 1;
    }
    // Size: the natural size at the resolution, or the given width at the picture's aspect.
    const QSizeF mm = picture.naturalSizeMm();
    QSize size;
    if (width > 0)
        size = QSize(width, std::max(1, int(std::lround(width * mm.height() / mm.width()))));
    else
        size = QSize(std::max(1, int(std::lround(mm.width() * dpi / 25.4))), std::max(1, int(std::lround(mm.height() * dpi / 25.4))));
    if (qint64(size.width()) * size.height() > 400LL * 1000 * 1000) {
        cli::err(QStringLiteral("an image of %1 x %2 pixels is too large").arg(size.width()).arg(size.height()));
        return 2;
    }
    const QImage image = picture.toImage(size);
    if (image.isNull()) {
        cli::err(QStringLiteral("no memory for an image of %1 x %2 pixels").arg(size.width()).arg(size.height()));
        return 1;
    }
    QSaveFile file(output);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        cli::err(QStringLiteral("cannot write ") + output);
        return 1;
    }
    return 0;
}

const cli::CliRegistrar registrar({
    QStringLiteral("render"),
    QStringLiteral("render IN.emf|IN.wmf -o OUT.png [--dpi N] [--width N]"),
    QStringLiteral("Draws a Windows metafile (placeable or plain) or an enhanced metafile into a PNG image,\n"
                   "at its natural size at --dpi pixels per inch (default 96), or --width pixels wide (the\n"
                   "height follows the picture's aspect).\n"
                   "Exit status: 0 written, 1 the picture could not be read or the image not written,\n"
                   "2 bad usage, missing input file or an image too large."),
    run,
});

}  // namespace
