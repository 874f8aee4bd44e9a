// ortolan-cli tree / expand on a fixture checklist.
#include "BrowserFixture.h"
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

class TreeCommandsTest : public ::testing::Test {
protected:
    CliRun cli(const QStringList &args, const QString &database = QString())
    {
        QProcess p;
        p.start(test::appDir() + QStringLiteral("/ortolan-cli"),
                QStringList{QStringLiteral("--db"), database.isEmpty() ? fixture.database->path() : database} + args);
        EXPECT_TRUE(p.waitForFinished(30000));
        CliRun r;
        r.status = p.exitCode();
        r.lines = QString::fromUtf8(p.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        r.errors = QString::fromUtf8(p.readAllStandardError());
        return r;
    }
    test::BrowserDatabase fixture;
};

TEST_F(TreeCommandsTest, TreePrintsTheGroupLevelsIndentedByLevel)
{
    const CliRun r = cli({QStringLiteral("tree"), QStringLiteral("--filter"), QStringLiteral("RedList")});
    EXPECT_EQ(r.status, 0) << r.errors.toStdString();
    EXPECT_EQ(r.lines, (QStringList{
                           QStringLiteral("P037\tVertebrata"),
                           QStringLiteral("  C037.001\tAmphibia"),
                           QStringLiteral("    O037.001.001\tAnura"),
                           QStringLiteral("      F037.001.001.001\tRanidae"),
                           QStringLiteral("P044\tColeoptera"),
                           QStringLiteral("  C044.001\tAdephaga"),
                           QStringLiteral("    O044.001.001\tCaraboidea"),
                           QStringLiteral("      F044.001.001.001\tCarabidae"),
                       }));
}

TEST_F(TreeCommandsTest, TreeShowsAFamilyDirectlyUnderItsSecondLevelGroup)
{
    const CliRun r = cli({QStringLiteral("tree")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.lines.contains(QStringLiteral("    F044.002.005.001\tLucanidae")));
}

TEST_F(TreeCommandsTest, ExpandPrintsFamiliesGeneraAndSpeciesWithIcons)
{
    CliRun r = cli({QStringLiteral("expand"), QStringLiteral("044.001.001")});
    EXPECT_EQ(r.status, 0) << r.errors.toStdString();
    EXPECT_EQ(r.lines, (QStringList{
                           QStringLiteral("F044.001.001.001\tCarabidae"),
                           QStringLiteral("  G044.00101.\tCarabus"),
                           QStringLiteral("    S044.00101.001.0\tCarabus olympiae Sella, 1855\tCol"),
                           QStringLiteral("    S044.00101.001.01\tCarabus olympiae olympiae Sella, 1855\tCol"),
                           QStringLiteral("    S044.00101.002.0\tCarabus dell'Ortolan D'Orbigny, 1839\tCol"),
                       }));
    r = cli({QStringLiteral("expand"), QStringLiteral("044.001.001"), QStringLiteral("--filter"),
             QStringLiteral("RedList")});
    EXPECT_EQ(r.status, 0);
    ASSERT_EQ(r.lines.size(), 4);
    EXPECT_TRUE(r.lines[1].endsWith(QStringLiteral("\tVgrey")));
    EXPECT_TRUE(r.lines[3].endsWith(QStringLiteral("\tXgrey")));
}

TEST_F(TreeCommandsTest, BadInputIsRefused)
{
    EXPECT_EQ(cli({QStringLiteral("tree"), QStringLiteral("--filter"), QStringLiteral("Birds")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("tree"), QStringLiteral("--filter")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("expand")}).status, 2);
    EXPECT_EQ(cli({QStringLiteral("expand"), QStringLiteral("999.999.999")}).status, 1);
    // An order left out by the filter is not in the tree.
    EXPECT_EQ(cli({QStringLiteral("expand"), QStringLiteral("001.001.001"), QStringLiteral("--filter"),
                   QStringLiteral("Vertebrati")})
                  .status,
              1);
    const CliRun missing = cli({QStringLiteral("tree")}, fixture.dir.filePath(QStringLiteral("none.mde")));
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.errors.contains(QStringLiteral("Missing file"))) << missing.errors.toStdString();
}

}  // namespace
