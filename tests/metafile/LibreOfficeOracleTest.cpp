// An independent reader of what the EMF writer produces: LibreOffice converts a
// written page to PNG and the coarse picture must match. Skipped when soffice
// is not installed.
#include "metafile/EmfWriter.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ortolan::metafile;

namespace {

QColor at(const QImage &image, double fx, double fy)
{
    return image.pixelColor(int(fx * (image.width() - 1)), int(fy * (image.height() - 1)));
}

bool near(const QColor &a, const QColor &b)
{
    return std::abs(a.red() - b.red()) < 60 && std::abs(a.green() - b.green()) < 60 && std::abs(a.blue() - b.blue()) < 60;
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

    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir.path());
    p.setProcessEnvironment(env);
    p.start(soffice, {QStringLiteral("--headless"), QStringLiteral("--convert-to"), QStringLiteral("png"),
                      QStringLiteral("--outdir"), dir.path(), emf});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QImage png(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(png.isNull()) << p.readAllStandardError().toStdString();

    EXPECT_TRUE(near(at(png, 0.05, 0.9), Qt::red));
    EXPECT_TRUE(near(at(png, 0.7, 0.7), Qt::blue));
    EXPECT_TRUE(near(at(png, 0.25, 0.25), Qt::white));   // clipped white square
    EXPECT_TRUE(near(at(png, 0.45, 0.25), Qt::red));     // outside the clip: untouched
    EXPECT_TRUE(near(at(png, 0.95, 0.05), Qt::red));
    if (::testing::Test::HasFailure())
        png.save(QStringLiteral("failed-libreoffice.png"));
}
