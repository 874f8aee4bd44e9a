// The record grids' model, clip text, sort, export file names and the
// species card's fields, without windows.
#include "../data/WriterTestSupport.h"
#include "app/Settings.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "data/Queries.h"
#include "records/ExportFiles.h"
#include "records/RecordTableLayout.h"
#include "records/RecordTableModel.h"
#include "records/SpeciesCardFields.h"
#include "support/FixtureDatabase.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace ortolan;
using records::RecordTableModel;

namespace {

data::Recordset years()
{
    std::vector<std::vector<QVariant>> rows;
    for (const char *y : {"2000", "950", "1999", "abc", "ABD"})
        rows.push_back({QString::fromUtf8(y), QVariant()});
    return data::Recordset({QStringLiteral("ANNO"), QStringLiteral("UTM")}, rows);
}

QStringList column(const RecordTableModel &m, int c)
{
    QStringList out;
    for (int r = 0; r < m.rowCount(); ++r)
        out.append(m.cell(r, c));
    return out;
}

TEST(RecordTableModel, SortsAsCaseInsensitiveTextBothWays)
{
    RecordTableModel m;
    m.load(years());
    m.sortByColumns(0, 0, false);
    EXPECT_EQ(column(m, 0), (QStringList{QStringLiteral("1999"), QStringLiteral("2000"), QStringLiteral("950"),
                                         QStringLiteral("abc"), QStringLiteral("ABD")}));
    m.sortByColumns(0, 0, true);
    EXPECT_EQ(column(m, 0).first(), QStringLiteral("ABD"));
    EXPECT_EQ(column(m, 0).last(), QStringLiteral("1999"));
}

TEST(RecordTableModel, SortByColumnsUsesLaterColumnsToBreakTies)
{
    std::vector<std::vector<QVariant>> rows = {{QStringLiteral("b"), QStringLiteral("2")},
                                               {QStringLiteral("a"), QStringLiteral("9")},
                                               {QStringLiteral("B"), QStringLiteral("1")}};
    RecordTableModel m;
    m.load(data::Recordset({QStringLiteral("X"), QStringLiteral("Y")}, rows));
    m.sortByColumns(1, 0, false);  // reversed range: same block
    EXPECT_EQ(column(m, 1), (QStringList{QStringLiteral("9"), QStringLiteral("1"), QStringLiteral("2")}));
    m.sortByColumns(1, 1, false);
    EXPECT_EQ(column(m, 0), (QStringList{QStringLiteral("B"), QStringLiteral("b"), QStringLiteral("a")}));
}

TEST(RecordTableModel, ClipTextSeparatesCellsByTabAndRowsByCarriageReturn)
{
    RecordTableModel m;
    m.load(years());
    EXPECT_EQ(m.clipText(-1, 1, 0, 1), QStringLiteral("ANNO\tUTM\r2000\t\r950\t"));
    EXPECT_EQ(m.clipText(2, 2, 0, 0), QStringLiteral("1999"));
    RecordTableModel empty;
    empty.load(data::Recordset({QStringLiteral("A"), QStringLiteral("B")}, {}));
    EXPECT_EQ(empty.tableClipText(records::RecordTableLayout::sources()), QStringLiteral("A\tB"))
        << "no records: the header row alone";
}

TEST(RecordTableModel, TenThousandRowsLoadAndSortQuickly)
{
    std::vector<std::vector<QVariant>> rows;
    for (int i = 0; i < 10000; ++i)
        rows.push_back({QString::number(i), QStringLiteral("Carabus olympiae"), QStringLiteral("Piemonte"),
                        QString::number(10000 - i)});
    const data::Recordset rs({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C"), QStringLiteral("D")},
                             rows);
    QElapsedTimer t;
    t.start();
    RecordTableModel m;
    m.load(rs);
    m.sortByColumns(3, 3, false);
    EXPECT_EQ(m.rowCount(), 10000);
    EXPECT_LT(t.elapsed(), 500);
}

TEST(RecordTableLayout, HeadersPerLanguage)
{
    const auto sites = records::RecordTableLayout::sites();
    EXPECT_EQ(sites.header(2, QStringLiteral("NOME_SP"), false), QStringLiteral("SPECIE"));
    EXPECT_EQ(sites.header(3, QStringLiteral("REGIONE"), false), QStringLiteral("REGIONE"));
    EXPECT_EQ(sites.header(5, QStringLiteral("LOC"), false), QStringLiteral("LOCALITA'"));
    EXPECT_EQ(sites.header(10, QStringLiteral("UTM"), true), QStringLiteral("UTM"));
    EXPECT_EQ(sites.header(11, QStringLiteral("PRECISIONE_UTM"), true), QStringLiteral("PRECISION"));
    EXPECT_EQ(sites.columns.first().widthTwips, 0) << "code column hidden";
    EXPECT_EQ(sites.firstCopyColumn, 2);
    const auto sources = records::RecordTableLayout::sources();
    EXPECT_EQ(sources.header(1, QStringLiteral("AUTORE"), false), QStringLiteral("AUTORE"));
    EXPECT_EQ(sources.header(1, QStringLiteral("AUTORE"), true), QStringLiteral("DATA SOURCE"));
    EXPECT_EQ(sources.header(4, QStringLiteral("PERIODICO"), false), QStringLiteral("RIVISTA/CITTA'"));
    EXPECT_EQ(sources.firstCopyColumn, 1);
}

TEST(ExportFiles, OutputPathReplacesAnExtensionOrAppendsOne)
{
    using records::exportfiles::outputPath;
    const QString txt = QStringLiteral("txt");
    EXPECT_EQ(outputPath(QStringLiteral("/tmp/abc"), txt), QStringLiteral("/tmp/abc.txt"));
    EXPECT_EQ(outputPath(QStringLiteral("/tmp/abc.txt"), txt), QStringLiteral("/tmp/abc.txt"));
    EXPECT_EQ(outputPath(QStringLiteral("/tmp/abc.xls"), txt), QStringLiteral("/tmp/abc.txt"));
    EXPECT_EQ(outputPath(QStringLiteral("/tmp/a.b/Carabus olympiae Sella, 1855"), QStringLiteral("xls")),
              QStringLiteral("/tmp/a.b/Carabus olympiae Sella, 1855.xls"));
    EXPECT_EQ(outputPath(QStringLiteral("/tmp/Carabus sp. Sella"), txt), QStringLiteral("/tmp/Carabus sp. Sella.txt"));
    EXPECT_EQ(outputPath(QStringLiteral("/tmp/.hidden"), txt), QStringLiteral("/tmp/.hidden.txt"));
}

TEST(ExportFiles, TextExportIsTheClipTextAndCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("out.txt"));
    records::exportfiles::writeText(path, QStringLiteral("A\tB\rLocalità\t1"));
    EXPECT_EQ(test::readFile(path), QByteArray("A\tB\rLocalit\xc3\xa0\t1\r\n"));
    EXPECT_THROW(records::exportfiles::writeText(dir.filePath(QStringLiteral("gone/out.txt")), QStringLiteral("x")),
                 data::DataError);
    const auto outcome = test::writeIntoReadOnlyFolder(dir.path(), dir.filePath(QStringLiteral("ro")),
                                                       QStringLiteral("out.txt"), [&] {
        records::exportfiles::writeText(dir.filePath(QStringLiteral("ro/out.txt")), QStringLiteral("new"));
    });
    if (outcome == test::Outcome::Skipped)
        GTEST_SKIP() << "cannot drop privileges";
    EXPECT_EQ(outcome, test::Outcome::Passed);
    EXPECT_EQ(test::readFile(dir.filePath(QStringLiteral("ro/out.txt"))), QByteArray("earlier"));
}

class CardFields : public ::testing::Test {
protected:
    void SetUp() override
    {
        fixture = std::make_unique<test::FixtureDatabase>(dir.path());
        fixture->addStandardChecklist();
        db = data::Connection::open(fixture->path(), fixture->connectString());
    }
    // Field values of the card of a taxon, by label.
    QStringList card(const char *code, const char *label)
    {
        const data::Recordset rs = db->openRecordset(data::queries::speciesCard(QString::fromUtf8(code)));
        for (const auto &f : records::SpeciesCardField::all())
            if (f.label == QString::fromUtf8(label))
                return f.values(rs);
        return {QStringLiteral("no such label")};
    }
    QTemporaryDir dir;
    std::unique_ptr<test::FixtureDatabase> fixture;
    std::unique_ptr<data::Connection> db;
};

TEST_F(CardFields, FullCardReadsQualifiedChorotypeAndCheckBoxes)
{
    EXPECT_EQ(card("044.00101.001.0", "Label_02"), QStringList{QStringLiteral("Carabus olympiae")});
    EXPECT_EQ(card("044.00101.001.0", "Label_06"), (QStringList{QStringLiteral("END"), QStringLiteral("Endemica")}));
    EXPECT_EQ(card("044.00101.001.0", "Label_15"), QStringList{QStringLiteral("-1")}) << "endemic";
    EXPECT_EQ(card("044.00101.001.0", "Label_21"), QStringList{QStringLiteral("0")}) << "annex V clear";
    EXPECT_EQ(card("044.00101.001.0", "Label_22"), QStringList{QStringLiteral("A. Casale")});
    EXPECT_EQ(card("044.00101.001.0", "Label_17"), QStringList{}) << "heading only";
}

TEST_F(CardFields, MissingChorotypeOneHabitatAndMissingOwner)
{
    EXPECT_EQ(card("044.00101.002.0", "Label_06"), (QStringList{QString(), QString()}));
    EXPECT_EQ(card("044.00101.002.0", "Label_03"), QStringList{QStringLiteral("D'Orbigny, 1839")});
    const QStringList larva = card("037.00101.001.0", "Label_07");
    ASSERT_EQ(larva.size(), 2);
    EXPECT_EQ(larva[0], QStringLiteral("L2"));
    EXPECT_EQ(larva[1], QString()) << "one larval habitat";
    // No Referenti row: the inner join returns nothing, the card is empty.
    EXPECT_EQ(card("001.00101.001.0", "Label_02"), QStringList{QString()});
    EXPECT_EQ(card("001.00101.001.0", "Label_13"), QStringList{QStringLiteral("0")});
}

}  // namespace
