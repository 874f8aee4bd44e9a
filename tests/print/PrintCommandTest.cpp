// ortolan-cli print: the map page of a fixture taxon as metafile, PDF and PNG,
// and its usage errors.
#include "metafile/MetafilePicture.h"
#include "support/FixtureDatabase.h"
#include "support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ortolan;

namespace {

class PrintCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        test::FixtureDatabase fixture(dir.path());
        fixture.addStandardChecklist();
        database = fixture.path();
    }

    int run(const QStringList &arguments, QString *out = nullptr)
    {
        QProcess p;
        p.start(test::appDir() + QStringLiteral("/ortolan-cli"),
                QStringList{QStringLiteral("--db"), database, QStringLiteral("print")} + arguments);
        EXPECT_TRUE(p.waitForFinished(60000));
        if (out)
            *out = QString::fromUtf8(p.readAllStandardOutput());
        return p.exitCode();
    }

    QTemporaryDir dir;
    QString database;
};

TEST_F(PrintCommandTest, WritesThePageInEachFormat)
{
    const QString emf = dir.filePath(QStringLiteral("page.emf"));
    QString out;
    ASSERT_EQ(run({QStringLiteral("044.00101.001.0"), QStringLiteral("-o"), emf}, &out), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("4 squares"))) << qPrintable(out);
    const auto page = metafile::MetafilePicture::load(emf);
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.naturalSizeMm().width(), 200.0, 0.01);
    EXPECT_NEAR(page.naturalSizeMm().height(), 280.0, 0.01);

    const QString png = dir.filePath(QStringLiteral("page.png"));
    ASSERT_EQ(run({QStringLiteral("044.00101.001.0"), QStringLiteral("--bw"), QStringLiteral("--grid"),
                   QStringLiteral("off"), QStringLiteral("-o"), png}),
              0);
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_NEAR(image.width() / double(image.height()), 200.0 / 280.0, 0.01);

    const QString pdf = dir.filePath(QStringLiteral("page.pdf"));
    ASSERT_EQ(run({QStringLiteral("044.00101.001.0"), QStringLiteral("--background"), QStringLiteral("regions"),
                   QStringLiteral("-o"), pdf}),
              0);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5).startsWith("%PDF"));
}

TEST_F(PrintCommandTest, BadUsageWritesNothing)
{
    const QString bad = dir.filePath(QStringLiteral("page.bmp"));
    EXPECT_EQ(run({QStringLiteral("044.00101.001.0"), QStringLiteral("-o"), bad}), 2);
    EXPECT_EQ(run({QStringLiteral("044.00101.001.0"), QStringLiteral("--grid"), QStringLiteral("maybe"),
                   QStringLiteral("-o"), dir.filePath(QStringLiteral("p.emf"))}),
              2);
    EXPECT_EQ(run({QStringLiteral("-o"), dir.filePath(QStringLiteral("p.emf"))}), 2);
    EXPECT_FALSE(QFile::exists(bad));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("p.emf"))));
}

}  // namespace
