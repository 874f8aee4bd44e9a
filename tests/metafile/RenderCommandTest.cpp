// The command-line rendering of metafiles (ortolan-cli render).
#include "WmfBuilder.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ortolan::metafile::test;

namespace {

struct CliRun {
    int exitCode = -1;
    QString stderrText;
};

CliRun cli(const QStringList &args)
{
    QProcess p;
    p.start(ortolan::test::appDir() + QStringLiteral("/ortolan-cli"), args);
    p.waitForFinished(60000);
    return CliRun{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardError())};
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

}  // namespace

TEST(RenderCommand, DrawsAPlaceableMapAtItsNaturalSize)
{
    QTemporaryDir dir;
    WmfBuilder b;
    b.window(0, 0, 11000, 14600).brush(0, 0x0000FF).select(0).rectangle(0, 0, 5500, 7300);
    const QString in = writeFile(dir, QStringLiteral("map.wmf"), b.bytes());
    const QString out = dir.filePath(QStringLiteral("map.png"));

    ASSERT_EQ(cli({QStringLiteral("render"), in, QStringLiteral("-o"), out, QStringLiteral("--dpi"), QStringLiteral("254")}).exitCode, 0);
    QImage image(out);
    EXPECT_EQ(image.size(), QSize(1100, 1460));  // 110 x 146 mm at 10 pixels per mm
    EXPECT_EQ(image.pixelColor(200, 200), QColor(Qt::red));
    EXPECT_EQ(image.pixelColor(800, 1000), QColor(Qt::white));

    ASSERT_EQ(cli({QStringLiteral("render"), in, QStringLiteral("-o"), out, QStringLiteral("--width"), QStringLiteral("550")}).exitCode, 0);
    EXPECT_EQ(QImage(out).size(), QSize(550, 730));
}

TEST(RenderCommand, BadUsageAndBadFilesGiveTheirExitCodes)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.png"));
    EXPECT_EQ(cli({QStringLiteral("render")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("render"), dir.filePath(QStringLiteral("none.wmf")), QStringLiteral("-o"), out}).exitCode, 2);
    const QString in = writeFile(dir, QStringLiteral("map.wmf"), WmfBuilder().bytes());
    EXPECT_EQ(cli({QStringLiteral("render"), in, QStringLiteral("-o"), out, QStringLiteral("--dpi"), QStringLiteral("zero")}).exitCode, 2);

    const QString junk = writeFile(dir, QStringLiteral("junk.emf"), QByteArray("not a picture at all"));
    const CliRun bad = cli({QStringLiteral("render"), junk, QStringLiteral("-o"), out});
    EXPECT_EQ(bad.exitCode, 1);
    EXPECT_TRUE(bad.stderrText.contains(QStringLiteral("junk.emf"))) << bad.stderrText.toStdString();
    EXPECT_FALSE(QFile::exists(out));
}
