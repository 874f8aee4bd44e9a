// ortolan-cli map: a taxon's distribution map drawn into a PNG image from a
// fixture database and the shipped background maps.
#include "map/ZoneGeometry.h"
#include "support/FixtureDatabase.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

CliRun cli(const QStringList &args)
{
    QProcess p;
    p.start(ortolan::test::appDir() + QStringLiteral("/ortolan-cli"), args);
    p.waitForFinished(60000);
    return CliRun{p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
                  QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

class MapCommand : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        fixture = std::make_unique<ortolan::test::FixtureDatabase>(dir.path());
        fixture->addStandardChecklist();
        fixture->insert("Stazioni", {{"CODICE_SP", "044.00101.001.0"}, {"UTM", "ZZ99"}, {"LOC", "Bad"}});
        fixture->close();
    }
    CliRun map(QStringList args)
    {
        return cli(QStringList{QStringLiteral("--db"), fixture->path(), QStringLiteral("map")} + args);
    }

    QTemporaryDir dir;
    std::unique_ptr<ortolan::test::FixtureDatabase> fixture;
};

TEST_F(MapCommand, DrawsTheDotsOfATaxonAndItsSubspecies)
{
    if (!QFile::exists(ortolan::test::appDir() + QStringLiteral("/ItaliaNEW.wmf")))
        GTEST_SKIP() << "the background maps are not in the application folder";
    const QString out = dir.filePath(QStringLiteral("carabus.png"));
    const CliRun run = map({QStringLiteral("044.00101.001.0"), QStringLiteral("-o"), out, QStringLiteral("--width"),
                            QStringLiteral("550")});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("Data error: ZZ99")));
    const QImage image(out);
    ASSERT_EQ(image.size(), QSize(550, 730));
    const ortolan::map::ZoneGeometry geometry(550.0, 730.0);
    for (const char16_t *code : {u"NF00", u"UG12", u"WA00"})
        EXPECT_EQ(image.pixelColor(geometry.locate(code)->centre.toPoint()), QColor(255, 0, 0));
    EXPECT_NE(image.pixelColor(geometry.locate(u"UG14")->centre.toPoint()), QColor(255, 0, 0));

    // Grid off and the regions map change the picture but not the dots.
    const QString plain = dir.filePath(QStringLiteral("plain.png"));
    ASSERT_EQ(map({QStringLiteral("044.00101.001.0"), QStringLiteral("-o"), plain, QStringLiteral("--width"),
                   QStringLiteral("550"), QStringLiteral("--grid"), QStringLiteral("off"), QStringLiteral("--background"),
                   QStringLiteral("regions")})
                  .exitCode,
              0);
    const QImage other(plain);
    EXPECT_NE(other, image);
    EXPECT_EQ(other.pixelColor(geometry.locate(u"UG12")->centre.toPoint()), QColor(255, 0, 0));
}

TEST_F(MapCommand, BadUsageGivesExitCodeTwo)
{
    const QString out = dir.filePath(QStringLiteral("x.png"));
    for (const QStringList &args :
         {QStringList{QStringLiteral("044.00101.001.0")}, QStringList{QStringLiteral("-o"), out},
          QStringList{QStringLiteral("044."), QStringLiteral("-o"), out, QStringLiteral("--width"), QStringLiteral("big")},
          QStringList{QStringLiteral("044."), QStringLiteral("-o"), out, QStringLiteral("--grid"), QStringLiteral("yes")},
          QStringList{QStringLiteral("044."), QStringLiteral("-o"), out, QStringLiteral("--background"),
                      QStringLiteral("satellite")}}) {
        EXPECT_EQ(map(args).exitCode, 2) << args.join(QLatin1Char(' ')).toStdString();
    }
    const CliRun noDatabase = cli({QStringLiteral("--db"), dir.filePath(QStringLiteral("none.mde")), QStringLiteral("map"),
                                   QStringLiteral("044."), QStringLiteral("-o"), out});
    EXPECT_EQ(noDatabase.exitCode, 2);
    EXPECT_FALSE(QFile::exists(out));
}

}  // namespace
