// ortolan-cli atlas: pages and index through the command line, its exit
// statuses, and the page being the page of 'print'.
#include "print/AtlasFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>

#include <gtest/gtest.h>

using namespace ortolan;

namespace {

struct CliRun {
    int status = -1;
    QString out;
    QStringList errors;  // stderr lines, without the platform's own notices
};

class AtlasCommand : public test::AtlasFixture {
protected:
    CliRun cli(const QStringList &arguments)
    {
        QProcess p;
        p.start(test::appDir() + QStringLiteral("/ortolan-cli"),
                QStringList{QStringLiteral("--db"), fixture->path()} + arguments);
        EXPECT_TRUE(p.waitForFinished(120000));
        CliRun r;
        r.status = p.exitCode();
        r.out = QString::fromUtf8(p.readAllStandardOutput());
        for (const QString &line : QString::fromUtf8(p.readAllStandardError()).split(u'\n', Qt::SkipEmptyParts))
            if (line.startsWith(QStringLiteral("ortolan-cli:")))
                r.errors << line;
        return r;
    }

    QStringList files(const QString &folder, const QString &pattern) const
    {
        return QDir(folder).entryList({pattern}, QDir::Files, QDir::Name);
    }
};

TEST_F(AtlasCommand, APngPagePerSpeciesAndWithSubspeciesOneMore)
{
    CliRun r = cli({QStringLiteral("atlas"), QStringLiteral("044.00101."), QStringLiteral("--out"), out()});
    ASSERT_EQ(r.status, 0) << r.errors.join(u'\n').toStdString();
    EXPECT_EQ(files(out(), QStringLiteral("*.png")).size(), 3);
    EXPECT_TRUE(QFileInfo::exists(QDir(out()).filePath(QStringLiteral("index.csv"))));
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("3 pages")));
    const QImage page(QDir(out()).filePath(QStringLiteral("044.00101.001.0_Carabus_olympiae.png")));
    EXPECT_EQ(page.size(), QSize(1181, 1654));

    r = cli({QStringLiteral("atlas"), QStringLiteral("044.00101."), QStringLiteral("--subspecies"), QStringLiteral("--out"),
             out(QStringLiteral("sub")), QStringLiteral("--format"), QStringLiteral("emf"), QStringLiteral("--bw")});
    ASSERT_EQ(r.status, 0) << r.errors.join(u'\n').toStdString();
    EXPECT_EQ(files(out(QStringLiteral("sub")), QStringLiteral("*.emf")),
              (QStringList{QStringLiteral("044.00101.001.01_Carabus_olympiae_olympiae.emf"),
                           QStringLiteral("044.00101.001.0_Carabus_olympiae.emf"),
                           QStringLiteral("044.00101.002.0_Carabus_dell'Ortolan.emf"),
                           QStringLiteral("044.00101.003.0_Carabus_alpha_,_beta_gamma.emf")}));
}

TEST_F(AtlasCommand, TheIndexQuotesNamesAndFollowsTheLanguage)
{
    const CliRun r = cli({QStringLiteral("--lang"), QStringLiteral("it"), QStringLiteral("atlas"),
                       QStringLiteral("044.00101.003.0"), QStringLiteral("--out"), out(), QStringLiteral("--format"),
                       QStringLiteral("emf")});
    ASSERT_EQ(r.status, 0) << r.errors.join(u'\n').toStdString();
    EXPECT_EQ(read(QDir(out()).filePath(QStringLiteral("index.csv"))),
              QByteArray("codice,nome,autore,quadrati,ultimo_anno,file\r\n"
                         "044.00101.003.0,\"Carabus \"\"alpha\"\", beta/gamma\",\"Rossi, \"\"Jr.\"\"\",0,,"
                         "\"044.00101.003.0_Carabus_alpha_,_beta_gamma.emf\"\r\n"));
}

TEST_F(AtlasCommand, TheMetafilePageIsThePageOfPrint)
{
    CliRun r = cli({QStringLiteral("atlas"), QStringLiteral("044.00101.001.0"), QStringLiteral("--out"), out(),
                 QStringLiteral("--format"), QStringLiteral("emf"), QStringLiteral("--grid"), QStringLiteral("off"),
                 QStringLiteral("--background"), QStringLiteral("regions")});
    ASSERT_EQ(r.status, 0) << r.errors.join(u'\n').toStdString();
    const QString printed = dir.filePath(QStringLiteral("print.emf"));
    r = cli({QStringLiteral("print"), QStringLiteral("044.00101.001.0"), QStringLiteral("--title"),
             QStringLiteral("Carabus olympiae Sella, 1855"), QStringLiteral("--grid"), QStringLiteral("off"),
             QStringLiteral("--background"), QStringLiteral("regions"), QStringLiteral("-o"), printed});
    ASSERT_EQ(r.status, 0) << r.errors.join(u'\n').toStdString();
    const QByteArray page = read(QDir(out()).filePath(QStringLiteral("044.00101.001.0_Carabus_olympiae.emf")));
    ASSERT_FALSE(page.isEmpty());
    EXPECT_TRUE(page == read(printed));
}

TEST_F(AtlasCommand, BadUsageAndUnknownCodesExitTwoWithOneLine)
{
    struct Case {
        const char *name;
        QStringList arguments;
    };
    const QString folder = out();
    const Case cases[] = {
        {"UnknownCode", {QStringLiteral("atlas"), QStringLiteral("999"), QStringLiteral("--out"), folder}},
        {"NoFolder", {QStringLiteral("atlas"), QStringLiteral("044")}},
        {"NoCode", {QStringLiteral("atlas"), QStringLiteral("--out"), folder}},
        {"FolderWithoutValue", {QStringLiteral("atlas"), QStringLiteral("044"), QStringLiteral("--out")}},
        {"UnknownFormat", {QStringLiteral("atlas"), QStringLiteral("044"), QStringLiteral("--out"), folder,
                           QStringLiteral("--format"), QStringLiteral("bmp")}},
        {"BadGrid", {QStringLiteral("atlas"), QStringLiteral("044"), QStringLiteral("--out"), folder,
                     QStringLiteral("--grid"), QStringLiteral("maybe")}},
        {"BadResolution", {QStringLiteral("atlas"), QStringLiteral("044"), QStringLiteral("--out"), folder,
                           QStringLiteral("--dpi"), QStringLiteral("0")}},
    };
    for (const Case &c : cases) {
        const CliRun r = cli(c.arguments);
        EXPECT_EQ(r.status, 2) << c.name;
        EXPECT_EQ(r.errors.size(), 1) << c.name << ": " << r.errors.join(u'\n').toStdString();
    }
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(AtlasCommand, AnUnwritableFolderFailsWithoutAnIndex)
{
    QFile file(dir.filePath(QStringLiteral("not-a-folder")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString folder = file.fileName() + QStringLiteral("/atlas");
    const CliRun r = cli({QStringLiteral("atlas"), QStringLiteral("044.00101."), QStringLiteral("--out"), folder});
    EXPECT_EQ(r.status, 1);
    ASSERT_EQ(r.errors.size(), 1);
    EXPECT_TRUE(r.errors.first().contains(folder));
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/index.csv")));
}

TEST_F(AtlasCommand, HelpDescribesTheCommand)
{
    const CliRun r = cli({QStringLiteral("help"), QStringLiteral("atlas")});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("Usage: ortolan-cli atlas CODE --out FOLDER")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("index.csv")));
    EXPECT_TRUE(r.out.contains(QStringLiteral("Exit status")));
}

}  // namespace
