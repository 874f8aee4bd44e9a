// Played-back pages: the PNG encoder read back by Qt's own reader, its
// failures, the page formats by name, and the page image's size.
#include "metafile/MetafilePicture.h"
#include "print/OTprint.h"
#include "print/PngWriter.h"
#include "print/RenderedPage.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ortolan;
using print::PageFormat;
using print::PngWriter;
namespace RenderedPage = print::RenderedPage;

namespace {

// Colours that tell the channels and their order apart, with a page-like
// white margin and an antialiased edge.
QImage sample(QImage::Format format)
{
    QImage image(97, 61, format);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(5, 5, 20, 20), QColor(255, 0, 0));
    p.fillRect(QRect(30, 5, 20, 20), QColor(0, 160, 0));
    p.fillRect(QRect(55, 5, 20, 20), QColor(10, 20, 230));
    p.setBrush(QColor(190, 220, 240));
    p.setPen(QColor(30, 30, 30));
    p.drawEllipse(QPointF(48, 42), 30.3, 12.7);
    return image;
}

QImage roundTrip(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QString error;
    EXPECT_TRUE(PngWriter::write(image, &buffer, &error)) << error.toStdString();
    EXPECT_TRUE(bytes.startsWith("\x89PNG\r\n\x1a\n"));
    return QImage::fromData(bytes, "PNG");
}

TEST(PngWriter, OpaqueImagesComeBackPixelForPixel)
{
    for (const QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGB888, QImage::Format_ARGB32}) {
        const QImage original = sample(format);
        const QImage back = roundTrip(original);
        ASSERT_EQ(back.size(), original.size()) << format;
        EXPECT_FALSE(back.hasAlphaChannel()) << format;
        EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), original.convertToFormat(QImage::Format_RGB32))
            << format;
    }
}

TEST(PngWriter, TranslucentPixelsAreComposedOverThePaper)
{
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        QImage image(3, 1, format);
        image.setPixelColor(0, 0, QColor(0, 0, 0, 0));
        image.setPixelColor(1, 0, QColor(200, 100, 50, 255));
        image.setPixelColor(2, 0, QColor(255, 0, 0, 128));
        const QImage back = roundTrip(image);
        EXPECT_EQ(back.pixelColor(0, 0), QColor(Qt::white)) << format;
        EXPECT_EQ(back.pixelColor(1, 0), QColor(200, 100, 50)) << format;
        EXPECT_EQ(back.pixelColor(2, 0).red(), 255) << format;
        EXPECT_NEAR(back.pixelColor(2, 0).green(), 127, 2) << format;
    }
}

TEST(PngWriter, FailuresAreReportedNotWritten)
{
    QString error;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_FALSE(PngWriter::write(QImage(), &buffer, &error));
    EXPECT_FALSE(error.isEmpty());

    QBuffer closed;
    error.clear();
    EXPECT_FALSE(PngWriter::write(sample(QImage::Format_RGB32), &closed, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(PngWriter::write(sample(QImage::Format_RGB32), nullptr, &error));

    // A device that refuses the bytes half-way (a full disk).
    QFile full(QStringLiteral("/dev/full"));
    if (!full.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        GTEST_SKIP() << "no /dev/full here";
    error.clear();
    EXPECT_FALSE(PngWriter::write(sample(QImage::Format_RGB32), &full, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("cannot write"))) << error.toStdString();
}

struct FormatCase {
    const char *name;
    const char *text;
    std::optional<PageFormat> byWord;
    std::optional<PageFormat> byFile;
};

class PageFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PageFormats, AreKnownByWordAndByExtension)
{
    EXPECT_EQ(RenderedPage::formatNamed(QString::fromUtf8(GetParam().text)), GetParam().byWord);
    EXPECT_EQ(RenderedPage::formatOfFile(QString::fromUtf8(GetParam().text)), GetParam().byFile);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PageFormats,
    ::testing::Values(FormatCase{"Png", "png", PageFormat::Png, std::nullopt},
                      FormatCase{"EmfInCapitals", "EMF", PageFormat::Emf, std::nullopt},
                      FormatCase{"PdfFile", "atlas/page.pdf", std::nullopt, PageFormat::Pdf},
                      FormatCase{"PngFileInCapitals", "PAGE.PNG", std::nullopt, PageFormat::Png},
                      FormatCase{"DottedFolderNoExtension", "my.pages/page", std::nullopt, std::nullopt},
                      FormatCase{"Bitmap", "page.bmp", std::nullopt, std::nullopt},
                      FormatCase{"Empty", "", std::nullopt, std::nullopt}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(RenderedPageFormats, ExtensionsNameTheFormats)
{
    for (const PageFormat f : {PageFormat::Emf, PageFormat::Pdf, PageFormat::Png})
        EXPECT_EQ(RenderedPage::formatNamed(RenderedPage::extension(f)), f);
}

// A small page drawn by the engine: a 40 x 30 mm sheet with a black box.
metafile::MetafilePicture smallPage()
{
    print::OTprint engine;
    EXPECT_TRUE(engine.OpenMeta(QString(), 0, 0, 4000, 3000));
    EXPECT_TRUE(engine.LF_Box(50, 50, 350, 250, 0, 0, 0, 0));
    EXPECT_TRUE(engine.CloseMeta());
    return metafile::MetafilePicture::fromData(engine.lastMetafile());
}

TEST(RenderedPage, PlaysThePageAtItsSizeAndResolution)
{
    const metafile::MetafilePicture page = smallPage();
    ASSERT_FALSE(page.isNull());
    const QImage image = RenderedPage::toImage(page, 254);  // ten pixels per millimetre
    EXPECT_EQ(image.size(), QSize(400, 300));
    EXPECT_FALSE(image.hasAlphaChannel());
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_TRUE(RenderedPage::toImage(metafile::MetafilePicture(), 150).isNull());
    EXPECT_TRUE(RenderedPage::toImage(page, 0).isNull());
    EXPECT_TRUE(RenderedPage::toPdf(page).startsWith("%PDF"));
    EXPECT_TRUE(RenderedPage::toPdf(metafile::MetafilePicture()).isEmpty());
}

TEST(RenderedPage, WritesPlayedFormatsOnlyAndLeavesAnEarlierFileOnFailure)
{
    QTemporaryDir dir;
    const metafile::MetafilePicture page = smallPage();
    QString error;
    const QString png = dir.filePath(QStringLiteral("page.png"));
    ASSERT_TRUE(RenderedPage::write(page, png, PageFormat::Png, &error)) << error.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(236, 177));  // 40 x 30 mm at 150 dpi

    EXPECT_FALSE(RenderedPage::write(page, dir.filePath(QStringLiteral("page.emf")), PageFormat::Emf, &error));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("page.emf"))));

    QFile earlier(png);
    const qint64 size = earlier.size();
    EXPECT_FALSE(RenderedPage::write(metafile::MetafilePicture(), png, PageFormat::Png, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(QFile(png).size(), size);
    EXPECT_FALSE(RenderedPage::write(page, dir.filePath(QStringLiteral("missing/page.pdf")), PageFormat::Pdf, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("missing/page.pdf"))) << error.toStdString();
}

}  // namespace
