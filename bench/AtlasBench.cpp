// The batch atlas: pages per second for one family, as PNG and as EMF, and
// the parts of one PNG page (the metafile page, its playback, the encoding).
#include "bench/BenchContext.h"
#include "bench/BenchOperation.h"
#include "bench/BenchRecorder.h"
#include "bench/BenchSuites.h"
#include "bench/BenchTaxa.h"

#include "data/Connection.h"
#include "map/BackgroundMaps.h"
#include "metafile/MetafilePicture.h"
#include "print/AtlasBatch.h"
#include "print/HeadlessPage.h"
#include "print/PngWriter.h"
#include "print/RenderedPage.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>

#include <memory>

namespace ortolan::bench {

namespace {

struct PageParts {
    std::unique_ptr<data::Connection> db;
    std::unique_ptr<print::HeadlessPage> page;
    metafile::MetafilePicture picture;
    QImage image;
    QString taxon;
};

void atlasRun(const QString &name, const QString &database, print::PageFormat format)
{
    auto pages = std::make_shared<int>(0);
    auto folder = std::make_shared<std::unique_ptr<QTemporaryDir>>();
    registerOperation({
        name,
        3,
        [database] { BenchContext::instance().use(database); },
        [folder] { *folder = std::make_unique<QTemporaryDir>(); },
        [name, database, format, pages, folder] {
            print::AtlasBatch::Request request;
            request.code = BenchTaxa::of(database).family;
            request.folder = (*folder)->path();
            request.format = format;
            request.style.backgroundName = map::backgrounds::Hydrography;
            const print::AtlasBatch::Result result = print::AtlasBatch::run(request);
            *pages = int(result.entries.size());
            BenchRecorder::instance().setValue(name + QStringLiteral(" pages"), *pages);
        },
    });
}

}  // namespace

void registerAtlasBenchmarks(const QString &database, const QString &suffix)
{
    auto parts = std::make_shared<PageParts>();
    auto setUp = [parts, database] {
        BenchContext::instance().use(database);
        parts->taxon = BenchTaxa::of(database).thousandSquares;
        parts->db = data::Connection::openPrivate();
        parts->page = std::make_unique<print::HeadlessPage>(
            print::HeadlessPageStyle{map::backgrounds::Hydrography, false, true, true});
    };
    registerOperation({QStringLiteral("atlas: metafile page in memory") + suffix, 20, setUp, {}, [parts] {
                           parts->page->write(*parts->db, parts->taxon, parts->taxon, QString());
                       }});
    registerOperation({QStringLiteral("atlas: page metafile decoded") + suffix, 20, {}, {}, [parts] {
                           parts->picture = metafile::MetafilePicture::fromData(parts->page->lastPage());
                       }});
    registerOperation({QStringLiteral("atlas: page played into an image") + suffix, 10, {}, {}, [parts] {
                           parts->image = print::RenderedPage::toImage(parts->picture);
                       }});
    registerOperation({QStringLiteral("atlas: page image encoded as PNG") + suffix, 10, {}, {}, [parts] {
                           QByteArray bytes;
                           QBuffer buffer(&bytes);
                           buffer.open(QIODevice::WriteOnly);
                           print::PngWriter::write(parts->image, &buffer);
                       }});
    registerOperation({QStringLiteral("atlas: page image encoded by Qt's PNG writer") + suffix, 3, {}, {}, [parts] {
                           QByteArray bytes;
                           QBuffer buffer(&bytes);
                           buffer.open(QIODevice::WriteOnly);
                           parts->image.save(&buffer, "PNG");
                       }});
    atlasRun(QStringLiteral("atlas: family to PNG") + suffix, database, print::PageFormat::Png);
    atlasRun(QStringLiteral("atlas: family to EMF") + suffix, database, print::PageFormat::Emf);
}

}  // namespace ortolan::bench
