// An independent reader of what the EMF writer produces: LibreOffice converts a
// written page to PNG and the coarse picture must match. Skipped when soffice
// is not installed.
#include "WmfBuilder.h"

#include "metafile/EmfReader.h"
#include "metafile/EmfWriter.h"
#include "metafile/MetafilePicture.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ortolan::metafile;

namespace {

// The converter may place the picture on a page: find it by its ink.
QRect inkBox(const QImage &image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).lightness() < 240)
                box |= QRect(x, y, 1, 1);
    return box;
}

QColor at(const QImage &image, const QRect &box, double fx, double fy)
{
    return image.pixelColor(box.left() + int(fx * (box.width() - 1)), box.top() + int(fy * (box.height() - 1)));
}

bool near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) < 60 && std::abs(a.green() - b.green()) < 60 && std::abs(a.blue() - b.blue()) < 60;
}

// Converts an EMF file to PNG with LibreOffice (profile in a temporary HOME).
QImage convert(const QString &soffice, const QTemporaryDir &dir, const QString &emf)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path());
    p.setProcessEnvironment(env);
    p.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("png"),
                      QStringLiteral("--outdir"), dir.path(), emf});
    p.waitForFinished(180000);
    return QImage(dir.filePath(QFileInfo(emf).completeBaseName() + QStringLiteral(".png")));
}

}  // namespace

TEST(LibreOfficeOracle, ConvertsAWrittenPageToTheSamePicture)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    // 100 x 100 mm at 254 dpi: 1000 x 1000 device pixels.
    EmfWriter w(EmfReferenceDevice::forPage(254, 254, QSizeF(100, 100)), QRect(QPoint(0, 0), QPoint(10000, 10000)));
    w.selectStockObject(StockObject::NullPen);
    w.selectObject(w.createSolidBrush(rgb(255, 0, 0)));
    w.rectangle(QRect(QPoint(0, 0), QPoint(1000, 1000)));  // fills the frame, so the PNG's extent is known
    w.selectObject(w.createSolidBrush(rgb(0, 0, 255)));
    w.ellipse(QRect(QPoint(500, 500), QPoint(900, 900)));
    w.saveDC();
    w.selectClipRegion(EmfRegion::rectangle(QRect(100, 100, 300, 300)), RegionMode::And);
    w.selectObject(w.createSolidBrush(rgb(255, 255, 255)));
    w.rectangle(QRect(QPoint(0, 0), QPoint(1000, 1000)));
    w.restoreDC(-1);
    const QString emf = dir.filePath(QStringLiteral("page.emf"));
    ASSERT_TRUE(w.save(emf));

    const QImage png = convert(soffice, dir, emf);
    ASSERT_FALSE(png.isNull());

    const QRect box = inkBox(png);
    ASSERT_GT(box.width(), 50);
    EXPECT_NEAR(double(box.width()) / box.height(), 1.0, 0.03);  // the frame keeps its shape
    EXPECT_TRUE(near(at(png, box, 0.05, 0.9), Qt::red));
    EXPECT_TRUE(near(at(png, box, 0.7, 0.7), Qt::blue));
    EXPECT_TRUE(near(at(png, box, 0.25, 0.25), Qt::white));  // clipped white square
    EXPECT_TRUE(near(at(png, box, 0.45, 0.25), Qt::red));    // outside the clip: untouched
    EXPECT_TRUE(near(at(png, box, 0.95, 0.05), Qt::red));
    if (::testing::Test::HasFailure())
        png.save(QStringLiteral("failed-libreoffice.png"));
}

// A page with most of what the drawing engine writes, including an embedded
// background picture and text: LibreOffice's picture and our player's agree on a
// grid of sample points.
TEST(LibreOfficeOracle, RichPageMatchesOurPlayer)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "soffice is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());

    ortolan::metafile::test::WmfBuilder map;
    map.window(0, 0, 11000, 14600).brush(0, rgb(120, 200, 120)).select(0).pen(0, 30, rgb(0, 0, 128)).select(1);
    map.polygon(QPolygon({QPoint(1000, 1000), QPoint(10000, 3000), QPoint(6000, 13000), QPoint(2000, 9000)}));
    map.ellipse(3000, 4000, 7000, 8000);
    const MetafilePicture background = MetafilePicture::fromData(map.bytes());
    ASSERT_FALSE(background.isNull());

    EmfWriter w(EmfReferenceDevice::forPage(300, 300, QSizeF(150, 150)), QRect(QPoint(0, 0), QPoint(15000, 15000)));
    w.setBkMode(BkMode::Transparent);
    w.selectObject(w.createPen(PenStyle::Solid, 12, rgb(0, 0, 0)));
    w.rectangle(QRect(QPoint(6, 6), QPoint(1765, 1765)));  // marks the frame for the ink box
    w.drawPicture(background, QRect(60, 60, 650, 863));
    w.selectObject(w.createSolidBrush(rgb(255, 0, 0)));
    w.pie(QRect(QPoint(900, 100), QPoint(1500, 700)), QPoint(1500, 400), QPoint(1200, 100));
    w.selectObject(w.createSolidBrush(rgb(255, 200, 0)));
    w.setPolyFillMode(PolyFillMode::Winding);
    w.polygon(QPolygon({QPoint(1200, 800), QPoint(1400, 1400), QPoint(900, 1000), QPoint(1500, 1000), QPoint(1000, 1400)}));
    w.saveDC();
    w.selectClipRegion(EmfRegion::ellipse(QRect(100, 1050, 600, 600)), RegionMode::And);
    w.selectObject(w.createSolidBrush(rgb(0, 0, 255)));
    w.rectangle(QRect(QPoint(0, 1000), QPoint(800, 1760)));
    w.restoreDC(-1);
    LogFont f;
    f.height = -90;
    f.faceName = QStringLiteral("Arial");
    w.selectObject(w.createFont(f));
    w.setTextColor(rgb(0, 0, 0));
    w.textOut(QPoint(850, 1550), QStringLiteral("Ortolan"));
    const QString emf = dir.filePath(QStringLiteral("rich.emf"));
    ASSERT_TRUE(w.save(emf));

    const QImage png = convert(soffice, dir, emf);
    ASSERT_FALSE(png.isNull());
    const QRect box = inkBox(png);
    ASSERT_GT(box.width(), 100);
    const MetafilePicture ours = EmfReader::read(w.finish());
    ASSERT_FALSE(ours.isNull());
    const QImage mine = ours.toImage(box.size());

    int compared = 0, differing = 0;
    for (int gy = 1; gy < 60; ++gy) {
        for (int gx = 1; gx < 60; ++gx) {
            const double fx = gx / 60.0, fy = gy / 60.0;
            const QColor theirs = at(png, box, fx, fy);
            const QColor own = mine.pixelColor(int(fx * (mine.width() - 1)), int(fy * (mine.height() - 1)));
            ++compared;
            if (!near(theirs, own))
                ++differing;
        }
    }
    EXPECT_LT(differing, compared / 25) << differing << " of " << compared << " samples differ";
    if (::testing::Test::HasFailure()) {
        png.save(QStringLiteral("failed-libreoffice-rich.png"));
        mine.save(QStringLiteral("failed-libreoffice-rich-ours.png"));
    }
}
