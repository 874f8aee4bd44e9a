// ortolan-cli sites / sources / search / card on the fixture checklist.
#include "../browser/BrowserFixture.h"
#include "support/TestSupport.h"

#include <QProcess>

#include <gtest/gtest.h>

using namespace ortolan;

namespace {

struct CliRun {
    int status = -1;
    QStringList lines;
    QString errors;
};

class RecordCommandsTest : public ::testing::Test {
protected:
    CliRun cli(const QStringList &args)
    {
        QProcess p;
        p.start(test::appDir() + QStringLiteral("/ortolan-cli"),
                QStringList{QStringLiteral("--db"), fixture.database->path()} + args);
        EXPECT_TRUE(p.waitForFinished(30000));
        CliRun r;
        r.status = p.exitCode();
        r.lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        r.errors = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
    test::BrowserDatabase fixture;
};

TEST_F(RecordCommandsTest, SitesOfATaxonAndOfOneSquare)
{
    CliRun r = cli({QStringLiteral("sites"), QStringLiteral("044.00101.001.0"), QStringLiteral("--square"),
                    QStringLiteral("WA00")});
    EXPECT_EQ(r.status, 0) << r.errors.toStdString();
    EXPECT_EQ(r.lines, (QStringList{
                           QStringLiteral("SPECIES\tREGION\tPROVINCE\tLOCALITY\tSITE\tELEVATION\tSOURCE\tYEAR\tUTM\tPRECISION"),
                           QStringLiteral("Carabus olympiae olympiae\tPiemonte\tBI\tPiano del Sole\tPiano\t900\tB001\t1995\tWA00\t1")}));
    r = cli({QStringLiteral("--lang"), QStringLiteral("it"), QStringLiteral("sites"), QStringLiteral("099.")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines, QStringList{QStringLiteral(
                           "SPECIE\tREGIONE\tPROVINCIA\tLOCALITA'\tSTAZIONE\tQUOTA\tFONTE\tANNO\tUTM\tPRECISIONE_UTM")})
        << "no records: header only";
    EXPECT_EQ(cli({QStringLiteral("sites")}).status, 2);
}

TEST_F(RecordCommandsTest, SourcesNeedADataOwnerOfTwoCharacters)
{
    CliRun r = cli({QStringLiteral("sources"), QStringLiteral("044.00101.001.0")});
    EXPECT_EQ(r.status, 0) << r.errors.toStdString();
    ASSERT_EQ(r.lines.size(), 3);
    EXPECT_TRUE(r.lines[1].startsWith(QStringLiteral("Collezione Sella\t2001\t")));
    for (const char *code : {"001.00102.001.0", "037.00201.001.0"}) {
        r = cli({QStringLiteral("sources"), QString::fromUtf8(code)});
        EXPECT_EQ(r.status, 1) << code;
        EXPECT_TRUE(r.lines.isEmpty()) << code;
    }
}

TEST_F(RecordCommandsTest, SearchAndCard)
{
    CliRun r = cli({QStringLiteral("search"), QStringLiteral("r?na"), QStringLiteral("--filter"),
                    QStringLiteral("Vertebrati")});
    EXPECT_EQ(r.status, 0) << r.errors.toStdString();
    EXPECT_EQ(r.lines.size(), 3);
    EXPECT_EQ(cli({QStringLiteral("search"), QStringLiteral("x"), QStringLiteral("--filter"), QStringLiteral("Bad")})
                  .status,
              2);
    r = cli({QStringLiteral("search"), QStringLiteral("dell'")});
    EXPECT_EQ(r.lines, QStringList{QStringLiteral("044.00101.002.0\tCarabus dell'Ortolan")});

    r = cli({QStringLiteral("card"), QStringLiteral("044.00101.001.0")});
    EXPECT_EQ(r.status, 0) << r.errors.toStdString();
    EXPECT_TRUE(r.lines.contains(QStringLiteral("Chorotype\tEND\tEndemica")));
    EXPECT_TRUE(r.lines.contains(QStringLiteral("Italian endemic sensu stricto\t[x]")));
    EXPECT_TRUE(r.lines.contains(QStringLiteral("Ann. V\t[ ]")));
}

}  // namespace
