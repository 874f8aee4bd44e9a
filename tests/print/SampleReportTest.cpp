// The shipped sample report script, and ortolan-cli replay.
#include "EngineTestSupport.h"

#include "support/TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ortolan;
using namespace ortolan::print;
using namespace ortolan::print::test;

namespace {

QString samples()
{
    return ortolan::test::sourceDir() + QStringLiteral("/assets/samples");
}

QString cli()
{
    return ortolan::test::appDir() + QStringLiteral("/ortolan-cli");
}

struct CliRun {
    int exitCode = -1;
    QString out, err;
};

CliRun runCli(const QStringList &arguments)
{
    QProcess p;
    p.start(cli(), arguments);
    EXPECT_TRUE(p.waitForFinished(60000));
    return CliRun{p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
}

}  // namespace

TEST(SampleReport, UsesEveryKeywordAndReplaysWithoutASkippedLine)
{
    const QString script = samples() + QStringLiteral("/sample-report.txt");
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QSet<QString> used;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (!line.trimmed().isEmpty())
            used << QString::fromUtf8(line).split(QLatin1Char('_')).first().trimmed();
    const QStringList keywords = ReportScript::keywords();
    EXPECT_EQ(used, QSet<QString>(keywords.begin(), keywords.end()));

    QTemporaryDir dir;
    const QString page = dir.filePath(QStringLiteral("sample.emf"));
    OTprint engine(std::make_shared<TestPrinter>(300, 300));
    engine.setMetafileOverride(page);
    const QString previous = QDir::currentPath();
    QDir::setCurrent(samples());  // the pictures are named without a folder
    ReportScript::Summary summary;
    const OTprintResult result = engine.FromReport(script, &summary);
    QDir::setCurrent(previous);
    ASSERT_TRUE(result) << result.text().toStdString();
    EXPECT_EQ(summary.performed, summary.lines) << summary.notes.join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(QFile::exists(page));

    // An A4 page drawn from edge to edge: the title band, the table at the foot.
    const QImage image = render(engine.lastMetafile(), QSize(420, 594));
    EXPECT_TRUE(pixelIs(image, 210, 4, Qt::white));
    EXPECT_FALSE(pixelIs(image, 210, 30, Qt::white, 4));  // the title band
    EXPECT_TRUE(pixelIs(image, 60, 542, QColor(220, 220, 220), 12));  // the grey header column
    saveOnFailure(image, QStringLiteral("sample-report"));
}

TEST(ReplayCommand, WritesTheScriptsMetafileToTheGivenFile)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("tile.emf"));
    const CliRun run = runCli({QStringLiteral("replay"), samples() + QStringLiteral("/sample-tile.txt"), QStringLiteral("-o"), out});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains(QStringLiteral("8 lines, 8 drawn")));
    QFile written(out);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(shapesOf(recordsOf(written.readAll())).size(), 3u);
    // The file name inside the script is not written to.
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("sample-tile.emf"))));
}

TEST(ReplayCommand, ReportsBadUsageMissingScriptsAndEmptyOutput)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("x.emf"));
    EXPECT_EQ(runCli({QStringLiteral("replay")}).exitCode, 2);
    EXPECT_EQ(runCli({QStringLiteral("replay"), samples() + QStringLiteral("/sample-tile.txt")}).exitCode, 2);
    const CliRun missing = runCli({QStringLiteral("replay"), dir.filePath(QStringLiteral("none.txt")), QStringLiteral("-o"), out});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("no report script")));

    // A script that draws no metafile, with lines to warn about.
    const QString script = dir.filePath(QStringLiteral("script.txt"));
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("LineWidth_3\r\nLBox_1_2\r\n");
    f.close();
    const CliRun empty = runCli({QStringLiteral("replay"), script, QStringLiteral("-o"), out});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_TRUE(empty.err.contains(QStringLiteral("line 2")));
    EXPECT_FALSE(QFile::exists(out));
}
