// ortolan-cli export: the data formats written, the map formats refused
// while no map renderer is wired, and exit codes.
#include "support/FixtureDatabase.h"
#include "support/TestSupport.h"
#include "data/WriterTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ortolan;

namespace {

struct CliRun {
    int exitCode;
    QString out, err;
};

class ExportCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture = std::make_unique<test::FixtureDatabase>(dir.path());
        fixture->addStandardChecklist();
        fixture->close();
    }
    CliRun cli(const QStringList &args)
    {
        QProcess process;
        process.start(test::appDir() + QStringLiteral("/ortolan-cli"),
                      QStringList{QStringLiteral("--db"), fixture->path(), QStringLiteral("export")} + args);
        process.waitForFinished(60000);
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }
    QString out(const QString &name) const { return dir.path() + u'/' + name; }

    QTemporaryDir dir;
    std::unique_ptr<test::FixtureDatabase> fixture;
};

TEST_F(ExportCommand, WritesTextAndDbaseInTheChosenLanguage)
{
    CliRun run = cli({QStringLiteral("044.00201.001.0"), QStringLiteral("--type"), QStringLiteral("txt"),
                      QStringLiteral("-o"), out(QStringLiteral("lucanus")), QStringLiteral("--lang"), QStringLiteral("it")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::readFile(out(QStringLiteral("lucanus.txt"))),
              QByteArray("UTM\tSTAZIONI\tANNO\tE_UTM32\tN_UTM32\r\nWA00\t1\t1970\t1205000\t4405000\r\n"));
    EXPECT_TRUE(run.out.startsWith(QStringLiteral("Esportazione effettuata nel file "))) << run.out.toStdString();

    run = cli({QStringLiteral("044.00101.001.0"), QStringLiteral("--type"), QStringLiteral("dbf"), QStringLiteral("-o"),
               out(QStringLiteral("Carabus olympiae.dbf"))});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(out(QStringLiteral("Carabus.dbf"))));
}

TEST_F(ExportCommand, ExitCodesOfBadUsageFailureAndMissingRenderer)
{
    EXPECT_EQ(cli({QStringLiteral("044"), QStringLiteral("--type"), QStringLiteral("pdf"), QStringLiteral("-o"),
                   out(QStringLiteral("x"))}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("--type"), QStringLiteral("txt"), QStringLiteral("-o"), out(QStringLiteral("x"))}).exitCode, 2);
    test::writeFile(out(QStringLiteral("plain")), "file");
    const CliRun failed = cli({QStringLiteral("044"), QStringLiteral("--type"), QStringLiteral("txt"), QStringLiteral("-o"),
                               out(QStringLiteral("plain/x"))});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.err.contains(QStringLiteral("ortolan-cli: Export failed"))) << failed.err.toStdString();
}

TEST_F(ExportCommand, MetafileIsTheExportedMapPage)
{
    const CliRun emf = cli({QStringLiteral("044"), QStringLiteral("--type"), QStringLiteral("emf"), QStringLiteral("-o"),
                            out(QStringLiteral("map"))});
    ASSERT_EQ(emf.exitCode, 0) << emf.err.toStdString();
    QFile file(out(QStringLiteral("map.emf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray header = file.read(40);
    ASSERT_EQ(header.size(), 40);
    // EMR_HEADER, then the frame in 0.01 mm: 0, 0, 11000, 14600.
    auto le32 = [&header](int at) {
        return qint32(quint8(header[at]) | quint8(header[at + 1]) << 8 | quint8(header[at + 2]) << 16
                      | quint32(quint8(header[at + 3])) << 24);
    };
    EXPECT_EQ(le32(0), 1);
    EXPECT_EQ(le32(24), 0);
    EXPECT_EQ(le32(28), 0);
    EXPECT_EQ(le32(32), 11000);
    EXPECT_EQ(le32(36), 14600);
}

TEST_F(ExportCommand, BitmapIsTheFullViewMapDrawnHeadless)
{
    const CliRun bmp = cli({QStringLiteral("044"), QStringLiteral("--type"), QStringLiteral("bmp"), QStringLiteral("-o"),
                            out(QStringLiteral("map"))});
    ASSERT_EQ(bmp.exitCode, 0) << bmp.err.toStdString();
    const QImage image(out(QStringLiteral("map.bmp")), "BMP");
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 1100);
    EXPECT_EQ(image.height(), 1460);
}

}  // namespace
