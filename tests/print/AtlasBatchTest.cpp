// The batch atlas: which taxa get a page, the file names, the index, and what
// is left behind when the folder or a page cannot be written.
#include "AtlasFixture.h"

#include "data/Connection.h"
#include "metafile/MetafilePicture.h"
#include "print/AtlasBatch.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

using namespace ortolan;
using print::AtlasBatch;
using test::AtlasFixture;

namespace {

QStringList codes(const std::vector<AtlasBatch::Taxon> &taxa)
{
    QStringList list;
    for (const AtlasBatch::Taxon &t : taxa)
        list << t.code;
    return list;
}

// --- which taxa ---------------------------------------------------------------------------------

struct TaxaCase {
    const char *name;
    const char *code;
    bool subspecies;
    QStringList expected;
};

class AtlasTaxa : public test::AtlasFixture, public ::testing::WithParamInterface<TaxaCase> {};

TEST_P(AtlasTaxa, ListsTheSpeciesBelowTheCodeInCodeOrder)
{
    const auto db = data::Connection::openPrivate();
    const auto taxa = AtlasBatch::taxaOf(*db, QString::fromUtf8(GetParam().code), GetParam().subspecies);
    ASSERT_TRUE(taxa.has_value());
    EXPECT_EQ(codes(*taxa), GetParam().expected);
}

const QString Olympiae = QStringLiteral("044.00101.001.0");
const QString OlympiaeOlympiae = QStringLiteral("044.00101.001.01");
const QString Ortolan = QStringLiteral("044.00101.002.0");
const QString Odd = QStringLiteral("044.00101.003.0");
const QString Lucanus = QStringLiteral("044.00201.001.0");

INSTANTIATE_TEST_SUITE_P(
    Codes, AtlasTaxa,
    ::testing::Values(TaxaCase{"Genus", "044.00101.", false, {Olympiae, Ortolan, Odd}},
                      TaxaCase{"GenusWithSubspecies", "044.00101.", true, {Olympiae, OlympiaeOlympiae, Ortolan, Odd}},
                      TaxaCase{"Species", "044.00101.001.0", false, {Olympiae}},
                      TaxaCase{"SpeciesWithSubspecies", "044.00101.001.0", true, {Olympiae, OlympiaeOlympiae}},
                      TaxaCase{"SubspeciesNamedItself", "044.00101.001.01", false, {OlympiaeOlympiae}},
                      TaxaCase{"Family", "044.001.001.001", false, {Olympiae, Ortolan, Odd}},
                      TaxaCase{"Order", "044.001.001", false, {Olympiae, Ortolan, Odd}},
                      TaxaCase{"TopLevelGroup", "044", false, {Olympiae, Ortolan, Odd, Lucanus}},
                      TaxaCase{"FamilyHeldByASecondLevelGroup", "044.002", false, {Lucanus}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(AtlasFixture, AGenusWithoutSpeciesIsKnownButEmpty)
{
    fixture->insert("Specie", {{"codice_sp", "999.99999."}, {"nome_sp", "Vacuus"}, {"codice_gr", "044.001.001.001"}});
    const auto db = data::Connection::openPrivate();
    const auto taxa = AtlasBatch::taxaOf(*db, QStringLiteral("999.99999."), false);
    ASSERT_TRUE(taxa.has_value());
    EXPECT_TRUE(taxa->empty());
}

TEST_F(AtlasFixture, CodesOfNoGroupAndNoTaxonAreUnknown)
{
    const auto db = data::Connection::openPrivate();
    for (const char *code : {"999", "044.0010", "", "044.00101.001.0'", "044*", "04?"})
        EXPECT_FALSE(AtlasBatch::taxaOf(*db, QString::fromUtf8(code), true).has_value()) << code;
}

TEST_F(AtlasFixture, TaxaCarryNameAuthorAndTheTitleOfTheSpeciesWindow)
{
    const auto db = data::Connection::openPrivate();
    const auto taxa = AtlasBatch::taxaOf(*db, QStringLiteral("044.00101."), true);
    ASSERT_TRUE(taxa.has_value());
    ASSERT_EQ(taxa->size(), 4u);
    EXPECT_EQ(taxa->at(0).caption(), QStringLiteral("Carabus olympiae Sella, 1855"));
    EXPECT_FALSE(taxa->at(0).subspecies);
    EXPECT_TRUE(taxa->at(1).subspecies);
    EXPECT_EQ(taxa->at(3).name, QString::fromUtf8(OddName));
    AtlasBatch::Taxon anonymous{QStringLiteral("1"), QStringLiteral("Nomen"), QString(), false};
    EXPECT_EQ(anonymous.caption(), QStringLiteral("Nomen"));
}

// --- file names and the index ---------------------------------------------------------------

struct NameCase {
    const char *name;
    const char *text;
    const char *expected;
};

class SafeFileName : public ::testing::TestWithParam<NameCase> {};

TEST_P(SafeFileName, KeepsOnlyWhatEveryFileSystemAccepts)
{
    EXPECT_EQ(AtlasBatch::safeFileName(QString::fromUtf8(GetParam().text)), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, SafeFileName,
    ::testing::Values(NameCase{"PlainName", "044.00101.001.0_Carabus_olympiae", "044.00101.001.0_Carabus_olympiae"},
                      NameCase{"BlanksBecomeUnderscores", "a b\tc", "a_b_c"},
                      NameCase{"PathSeparators", "a/b\\c", "a_b_c"},
                      NameCase{"WindowsReservedCharacters", "a<b>c:d\"e|f?g*h", "a_b_c_d_e_f_g_h"},
                      NameCase{"ControlCharacters", "a\x01\x1f\x7f" "b", "a_b"},
                      NameCase{"RunsShrinkToOne", "a  //  b", "a_b"},
                      NameCase{"EndsTrimmed", " ..a.b.. ", "a.b"},
                      NameCase{"DotsOnly", "...", ""},
                      NameCase{"ParentFolder", "../../etc/passwd", "etc_passwd"},
                      NameCase{"LettersOfOtherScriptsStay", "Pieris_brassicæ_Müller", "Pieris_brassicæ_Müller"},
                      NameCase{"ApostropheAndCommaStay", "dell'Ortolan,_1839", "dell'Ortolan,_1839"},
                      NameCase{"WindowsDeviceName", "nul", "_nul"},
                      NameCase{"WindowsDeviceNameWithADot", "COM1.x", "_COM1.x"},
                      NameCase{"DeviceNameInsideAWordStays", "connubia", "connubia"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(SafeFileNameLength, LongNamesAreCutWithoutSplittingACharacter)
{
    const QString longName = QString(79, u'a') + QString::fromUtf8("\xF0\x9F\x90\x9E") + QStringLiteral("tail");
    const QString safe = AtlasBatch::safeFileName(longName);
    EXPECT_EQ(safe, QString(79, u'a'));
    EXPECT_LE(AtlasBatch::safeFileName(QString(500, u'x')).size(), 80);
    EXPECT_FALSE(AtlasBatch::safeFileName(QString(79, u'x') + QStringLiteral(". y")).endsWith(u'.'));
}

TEST(AtlasPageFileName, CodeNameAndExtension)
{
    const AtlasBatch::Taxon taxon{QStringLiteral("044.00101.003.0"), QString::fromUtf8("Carabus \"alpha\", beta/gamma"),
                                  QString(), false};
    EXPECT_EQ(AtlasBatch::pageFileName(taxon, print::PageFormat::Png),
              QStringLiteral("044.00101.003.0_Carabus_alpha_,_beta_gamma.png"));
    EXPECT_EQ(AtlasBatch::pageFileName({QStringLiteral("///"), QString(), QString(), false}, print::PageFormat::Pdf),
              QStringLiteral("page.pdf"));
}

struct CsvCase {
    const char *name;
    const char *text;
    const char *expected;
};

class CsvField : public ::testing::TestWithParam<CsvCase> {};

TEST_P(CsvField, QuotesOnlyWhatNeedsIt)
{
    EXPECT_EQ(AtlasBatch::csvField(QString::fromUtf8(GetParam().text)), QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Fields, CsvField,
                         ::testing::Values(CsvCase{"Plain", "Carabus olympiae", "Carabus olympiae"},
                                           CsvCase{"Empty", "", ""},
                                           CsvCase{"Comma", "Sella, 1855", "\"Sella, 1855\""},
                                           CsvCase{"Quote", "a \"b\"", "\"a \"\"b\"\"\""},
                                           CsvCase{"LineFeed", "a\nb", "\"a\nb\""},
                                           CsvCase{"CarriageReturn", "a\rb", "\"a\rb\""},
                                           CsvCase{"Apostrophe", "dell'Ortolan", "dell'Ortolan"}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(AtlasIndex, HeaderInTheLanguageAndOneCrLfLinePerPage)
{
    std::vector<AtlasBatch::Entry> entries(2);
    entries[0].taxon = {QStringLiteral("1"), QStringLiteral("A b"), QStringLiteral("X, 1900"), false};
    entries[0].squares = 3;
    entries[0].latestYear = 2001;
    entries[0].fileName = QStringLiteral("1_A_b.png");
    entries[1].taxon = {QStringLiteral("2"), QStringLiteral("C \u00e9"), QString(), true};
    entries[1].fileName = QStringLiteral("2_C_\u00e9.png");
    EXPECT_EQ(AtlasBatch::indexCsv(entries, true),
              QString::fromUtf8("code,name,author,squares,latest_year,file\r\n"
                                "1,A b,\"X, 1900\",3,2001,1_A_b.png\r\n"
                                "2,C \xC3\xA9,,0,,2_C_\xC3\xA9.png\r\n")
                  .toUtf8());
    EXPECT_TRUE(AtlasBatch::indexCsv({}, false).startsWith("codice,nome,autore,quadrati,ultimo_anno,file\r\n"));
}

// --- runs ------------------------------------------------------------------------------------------

AtlasBatch::Request request(const QString &code, const QString &folder, print::PageFormat format)
{
    AtlasBatch::Request r;
    r.code = code;
    r.folder = folder;
    r.format = format;
    r.style.backgroundName = QStringLiteral("ItaliaNEW.wmf");
    return r;
}

TEST_F(AtlasFixture, WritesOnePagePerSpeciesAndAnIndexOfThem)
{
    std::vector<int> progress;
    const AtlasBatch::Result result =
        AtlasBatch::run(request(QStringLiteral("044.00101."), out(), print::PageFormat::Emf),
                        [&progress](int done, int total, const AtlasBatch::Taxon &) {
                            EXPECT_EQ(total, 3);
                            progress.push_back(done);
                        });
    ASSERT_EQ(result.status, AtlasBatch::Result::Status::Done) << result.failure.toStdString();
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(QDir(out()).entryList(QDir::Files, QDir::Name),
              (QStringList{QStringLiteral("044.00101.001.0_Carabus_olympiae.emf"),
                           QStringLiteral("044.00101.002.0_Carabus_dell'Ortolan.emf"),
                           QStringLiteral("044.00101.003.0_Carabus_alpha_,_beta_gamma.emf"),
                           QStringLiteral("index.csv")}));
    for (const AtlasBatch::Entry &e : result.entries) {
        const auto page = metafile::MetafilePicture::load(QDir(out()).filePath(e.fileName));
        ASSERT_FALSE(page.isNull()) << e.fileName.toStdString();
        EXPECT_NEAR(page.naturalSizeMm().width(), 200.0, 0.01);
        EXPECT_NEAR(page.naturalSizeMm().height(), 280.0, 0.01);
    }

    const QStringList lines = QString::fromUtf8(read(result.indexPath)).split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 5);  // header, three pages, nothing after the last CR LF
    EXPECT_EQ(lines[4], QString());
    // Carabus olympiae: UG12 and NF00 of its own, UG12 and WA00 of its
    // subspecies: three squares; the latest record is the subspecies' of 2005.
    EXPECT_EQ(test::csvFields(lines[1]), (QStringList{Olympiae, QStringLiteral("Carabus olympiae"), QStringLiteral("Sella, 1855"),
                                              QStringLiteral("3"), QStringLiteral("2005"),
                                              QStringLiteral("044.00101.001.0_Carabus_olympiae.emf")}));
    EXPECT_EQ(test::csvFields(lines[2]).mid(3, 2), (QStringList{QStringLiteral("1"), QStringLiteral("1950")}));
    // No records: a page all the same, 0 squares and no year.
    EXPECT_EQ(test::csvFields(lines[3]), (QStringList{Odd, QString::fromUtf8(OddName), QString::fromUtf8(OddAuthor),
                                              QStringLiteral("0"), QString(),
                                              QStringLiteral("044.00101.003.0_Carabus_alpha_,_beta_gamma.emf")}));
}

TEST_F(AtlasFixture, PngAndPdfPagesArePlayedBackFromThePage)
{
    const AtlasBatch::Result png = AtlasBatch::run(request(Olympiae, out(QStringLiteral("png")), print::PageFormat::Png));
    ASSERT_EQ(png.status, AtlasBatch::Result::Status::Done) << png.failure.toStdString();
    const QImage image(QDir(out(QStringLiteral("png"))).filePath(png.entries.at(0).fileName));
    // A 200 x 280 mm sheet at 150 dpi.
    EXPECT_EQ(image.size(), QSize(1181, 1654));
    // The map frame (black) runs down the left edge of the map, 45 mm from the
    // left of the sheet; the sheet's corner is white.
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
    int darkest = 255;
    for (int x = 262; x <= 270; ++x)
        darkest = std::min(darkest, qGray(image.pixel(x, 800)));
    EXPECT_LT(darkest, 80);

    const AtlasBatch::Result pdf = AtlasBatch::run(request(Olympiae, out(QStringLiteral("pdf")), print::PageFormat::Pdf));
    ASSERT_EQ(pdf.status, AtlasBatch::Result::Status::Done) << pdf.failure.toStdString();
    EXPECT_TRUE(read(QDir(out(QStringLiteral("pdf"))).filePath(pdf.entries.at(0).fileName)).startsWith("%PDF"));
}

TEST_F(AtlasFixture, AnUnknownCodeWritesNothing)
{
    const AtlasBatch::Result result = AtlasBatch::run(request(QStringLiteral("999"), out(), print::PageFormat::Emf));
    EXPECT_EQ(result.status, AtlasBatch::Result::Status::UnknownCode);
    EXPECT_TRUE(result.failure.contains(QStringLiteral("999")));
    EXPECT_FALSE(QFileInfo::exists(out()));
}

TEST_F(AtlasFixture, AFolderThatCannotBeMadeIsRefusedBeforeAnyPage)
{
    QFile file(out(QStringLiteral("plain-file")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    const QString below = file.fileName() + QStringLiteral("/atlas");
    const AtlasBatch::Result result = AtlasBatch::run(request(QStringLiteral("044.00101."), below, print::PageFormat::Png));
    EXPECT_EQ(result.status, AtlasBatch::Result::Status::BadFolder);
    EXPECT_TRUE(result.entries.empty());
    EXPECT_TRUE(result.indexPath.isEmpty());
}

TEST_F(AtlasFixture, APageThatCannotBeWrittenStopsTheBatchWithoutAnIndex)
{
    // A folder where the second page's file should go.
    ASSERT_TRUE(QDir().mkpath(QDir(out()).filePath(QStringLiteral("044.00101.002.0_Carabus_dell'Ortolan.png"))));
    const AtlasBatch::Result result =
        AtlasBatch::run(request(QStringLiteral("044.00101."), out(), print::PageFormat::Png));
    EXPECT_EQ(result.status, AtlasBatch::Result::Status::Failed);
    EXPECT_TRUE(result.failure.contains(QStringLiteral("dell'Ortolan"))) << result.failure.toStdString();
    EXPECT_FALSE(QFileInfo::exists(QDir(out()).filePath(QStringLiteral("index.csv"))));
    // No temporary files are left behind.
    for (const QString &name : QDir(out()).entryList(QDir::Files))
        EXPECT_TRUE(name.endsWith(QStringLiteral(".png"))) << name.toStdString();
}

TEST_F(AtlasFixture, ARunReplacesTheIndexOfAnEarlierRun)
{
    ASSERT_TRUE(QDir().mkpath(out()));
    QFile old(QDir(out()).filePath(QStringLiteral("index.csv")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("stale index with many more lines than the new one\r\n" + QByteArray(4096, 'x'));
    old.close();
    const AtlasBatch::Result result = AtlasBatch::run(request(Ortolan, out(), print::PageFormat::Emf));
    ASSERT_EQ(result.status, AtlasBatch::Result::Status::Done);
    const QByteArray index = read(result.indexPath);
    EXPECT_TRUE(index.startsWith("code,name,author"));
    EXPECT_EQ(index.count("\r\n"), 2);
}

}  // namespace
