// The export of the occupied squares (text, dBase, Excel, shapefile) and of
// the map (bitmap, metafile through the injected outputs), read back.
#include "app/Settings.h"
#include "data/Connection.h"
#include "data/DataError.h"
#include "export/ExportJob.h"
#include "export/ExportTestSupport.h"
#include "data/WriterTestSupport.h"

#include <QFileInfo>
#include <QImage>

#include <gtest/gtest.h>

using namespace ortolan;
using namespace ortolan::test;
using exporting::ExportJob;
using exporting::ExportRequest;
using exporting::ExportResult;

namespace {

const QString carabusOlympiae = QStringLiteral("044.00101.001.0");  // with subspecies, a record without site
const QString lucanusCervus = QStringLiteral("044.00201.001.0");    // a record in TL99, missing from QuadUTM
const QString ranaItalica = QStringLiteral("037.00101.002.0");      // no records

class ExportJobTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        settings().setLanguage(QStringLiteral("Inglese"));
        settings().MetafileTarget = QStringLiteral("No");
    }

    ExportRequest request(const QString &format, const QString &code, const QString &chosen, bool english = true)
    {
        ExportRequest r;
        r.format = format;
        r.taxonCode = code;
        r.english = english;
        r.chosenPath = chosen;
        r.dataFolder = fx.dataFolder;
        r.databasePath = fx.database.path();
        r.connectString = fx.database.connectString();
        return r;
    }

    QStringList outFiles() const { return QDir(fx.outFolder).entryList(QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot); }

    ExportFixture fx;
};

struct Dbf {
    DBFHandle handle = nullptr;
    explicit Dbf(const QString &path) : handle(DBFOpen(QFile::encodeName(path).constData(), "rb")) {}
    ~Dbf()
    {
        if (handle)
            DBFClose(handle);
    }
    QString text(int row, int field) const { return QString::fromUtf8(DBFReadStringAttribute(handle, row, field)); }
    QString fieldName(int field) const
    {
        char name[12] = {};
        DBFGetFieldInfo(handle, field, name, nullptr, nullptr);
        return QString::fromLatin1(name);
    }
};

TEST(ExportNames, ExtensionReplacedOrAppendedAndDbaseNamesCut)
{
    struct Row {
        const char *name, *chosen, *format, *mainFile, *shown;
    } rows[] = {
        {"name without extension gets one", "/d/abc", "txt", "/d/abc.txt", "/d/abc"},
        {"extension replaced", "/d/abc.dat", "xls", "/d/abc.xls", "/d/abc"},
        {"dot in the folder only", "/d/x.y/abc", "bmp", "/d/x.y/abc.bmp", "/d/x.y/abc"},
        {"only the last extension replaced", "/d/a.b.txt", "txt", "/d/a.b.txt", "/d/a.b"},
        {"dBase name cut to 8, trailing blank dropped", "/d/Carabus olympiae.dbf", "dbf", "/d/Carabus.dbf", "Carabus"},
        {"blanks inside the cut kept", "/d/Rana la tastei.dbf", "dbf", "/d/Rana la.dbf", "Rana la"},
        {"shapefile name cut, no extension", "/d/Lucanus cervus", "shp", "/d/Lucanus.shp", "Lucanus"},
        {"short shapefile name kept", "/d/abc.shp", "shp", "/d/abc.shp", "abc"},
        {"cut inside a word", "/d/Myocastor coypus.dbf", "dbf", "/d/Myocasto.dbf", "Myocasto"},
    };
    for (const Row &row : rows) {
        const auto names = exporting::exportNames(QString::fromUtf8(row.chosen), QString::fromUtf8(row.format));
        EXPECT_EQ(names.mainFile, QString::fromUtf8(row.mainFile)) << row.name;
        EXPECT_EQ(names.shownName, QString::fromUtf8(row.shown)) << row.name;
    }
}

TEST_F(ExportJobTest, TextFileIsTabSeparatedWithCrLfAndPointDecimals)
{
    const ExportResult result = ExportJob::run(request(QStringLiteral("txt"), carabusOlympiae, fx.out(QStringLiteral("abc"))));
    ASSERT_TRUE(result.ok) << result.detail.toStdString();
    EXPECT_EQ(result.messageText, QStringLiteral("Exported in ") + fx.out(QStringLiteral("abc.txt")));
    EXPECT_EQ(readFile(fx.out(QStringLiteral("abc.txt"))),
              QByteArray("UTM\tSITES\tYEAR\tE_UTM32\tN_UTM32\r\n"
                         "NF00\t0\t1985\t405000\t5005000\r\n"
                         "UG12\t3\t2005\t315000\t5125000.5\r\n"
                         "WA00\t1\t1995\t1205000\t4405000\r\n"));
    EXPECT_EQ(outFiles(), QStringList{QStringLiteral("abc.txt")});
}

TEST_F(ExportJobTest, TextFileLeavesOutSquaresMissingFromTheGridAndKeepsHeaderOfEmptyTaxon)
{
    ASSERT_TRUE(ExportJob::run(request(QStringLiteral("txt"), lucanusCervus, fx.out(QStringLiteral("l.txt")), false)).ok);
    EXPECT_EQ(readFile(fx.out(QStringLiteral("l.txt"))),
              QByteArray("UTM\tSTAZIONI\tANNO\tE_UTM32\tN_UTM32\r\nWA00\t1\t1970\t1205000\t4405000\r\n"));
    ASSERT_TRUE(ExportJob::run(request(QStringLiteral("txt"), ranaItalica, fx.out(QStringLiteral("r.txt")))).ok);
    EXPECT_EQ(readFile(fx.out(QStringLiteral("r.txt"))), QByteArray("UTM\tSITES\tYEAR\tE_UTM32\tN_UTM32\r\n"));
}

TEST_F(ExportJobTest, DbaseTableHasOccupiedSquaresUnderTheCutName)
{
    const ExportResult result =
        ExportJob::run(request(QStringLiteral("dbf"), carabusOlympiae, fx.out(QStringLiteral("Carabus olympiae.dbf"))));
    ASSERT_TRUE(result.ok) << result.detail.toStdString();
    EXPECT_EQ(result.messageText, QStringLiteral("Exported in Carabus.dbf"));
    Dbf dbf(fx.out(QStringLiteral("Carabus.dbf")));
    ASSERT_TRUE(dbf.handle);
    ASSERT_EQ(DBFGetRecordCount(dbf.handle), 3);
    ASSERT_EQ(DBFGetFieldCount(dbf.handle), 5);
    const QStringList fields = {dbf.fieldName(0), dbf.fieldName(1), dbf.fieldName(2), dbf.fieldName(3), dbf.fieldName(4)};
    EXPECT_EQ(fields, (QStringList{QStringLiteral("UTM"), QStringLiteral("SITES"), QStringLiteral("YEAR"),
                                   QStringLiteral("E_UTM32"), QStringLiteral("N_UTM32")}));
    EXPECT_EQ(dbf.text(1, 0), QStringLiteral("UG12"));
    EXPECT_EQ(DBFReadIntegerAttribute(dbf.handle, 1, 1), 3);
    EXPECT_EQ(DBFReadIntegerAttribute(dbf.handle, 1, 2), 2005);
    EXPECT_DOUBLE_EQ(DBFReadDoubleAttribute(dbf.handle, 1, 4), 5125000.5);

    ASSERT_TRUE(ExportJob::run(request(QStringLiteral("dbf"), ranaItalica, fx.out(QStringLiteral("empty")))).ok);
    Dbf empty(fx.out(QStringLiteral("empty.dbf")));
    ASSERT_TRUE(empty.handle);
    EXPECT_EQ(DBFGetRecordCount(empty.handle), 0);
}

TEST_F(ExportJobTest, ExcelWorkbookReadsBackThroughGdal)
{
    ASSERT_TRUE(ExportJob::run(request(QStringLiteral("xls"), carabusOlympiae, fx.out(QStringLiteral("c")), false)).ok);
    ASSERT_TRUE(QFileInfo::exists(fx.out(QStringLiteral("c.xls"))));
    const auto listing = ogrListing(fx.out(QStringLiteral("c.xls")));
    if (!listing)
        GTEST_SKIP() << "ogrinfo (gdal-bin) is not installed";
    EXPECT_TRUE(listing->contains(QStringLiteral("Layer name: Stazioni"))) << listing->toStdString();
    EXPECT_TRUE(listing->contains(QStringLiteral("Feature Count: 3"))) << listing->toStdString();
    EXPECT_TRUE(listing->contains(QStringLiteral("5125000.5"))) << listing->toStdString();
    EXPECT_FALSE(listing->contains(QStringLiteral("TL99")));
}

TEST_F(ExportJobTest, ShapefileHasEverySquareInTemplateOrderWithNullsWhereEmpty)
{
    const ExportResult result =
        ExportJob::run(request(QStringLiteral("shp"), carabusOlympiae, fx.out(QStringLiteral("Carabus olympiae.shp"))));
    ASSERT_TRUE(result.ok) << result.detail.toStdString();
    EXPECT_EQ(result.messageText, QStringLiteral("Exported in Carabus.shp"));
    const QString base = fx.out(QStringLiteral("Carabus"));
    SHPHandle shp = SHPOpen(QFile::encodeName(base + QStringLiteral(".shp")).constData(), "rb");
    ASSERT_TRUE(shp);
    int shapes = 0;
    SHPGetInfo(shp, &shapes, nullptr, nullptr, nullptr);
    SHPClose(shp);
    EXPECT_EQ(shapes, 4);
    Dbf dbf(base + QStringLiteral(".dbf"));
    ASSERT_TRUE(dbf.handle);
    ASSERT_EQ(DBFGetRecordCount(dbf.handle), 4);
    const QStringList order = {dbf.text(0, 0), dbf.text(1, 0), dbf.text(2, 0), dbf.text(3, 0)};
    EXPECT_EQ(order, (QStringList{QStringLiteral("MG34"), QStringLiteral("NF00"), QStringLiteral("UG12"), QStringLiteral("WA00")}));
    EXPECT_TRUE(DBFIsAttributeNULL(dbf.handle, 0, 1));
    EXPECT_TRUE(DBFIsAttributeNULL(dbf.handle, 0, 2));
    EXPECT_EQ(DBFReadIntegerAttribute(dbf.handle, 2, 1), 3);
    EXPECT_EQ(DBFReadIntegerAttribute(dbf.handle, 2, 2), 2005);
    EXPECT_EQ(readFile(base + QStringLiteral(".prj")), readFile(fx.dataFolder + QStringLiteral("qutm32.prj")));
    EXPECT_TRUE(result.writtenFiles.contains(base + QStringLiteral(".shx")));
    // Nothing of the staging is left beside the parts.
    for (const QString &name : outFiles())
        EXPECT_TRUE(name.startsWith(QStringLiteral("Carabus."))) << name.toStdString();

    if (const auto listing = ogrListing(base + QStringLiteral(".shp"))) {
        EXPECT_TRUE(listing->contains(QStringLiteral("Feature Count: 4"))) << listing->toStdString();
        EXPECT_TRUE(listing->contains(QStringLiteral("SITES: Integer"))) << listing->toStdString();
        EXPECT_TRUE(listing->contains(QStringLiteral("UTM: String"))) << listing->toStdString();
    }
}

TEST_F(ExportJobTest, ShapefileOfTaxonWithoutRecordsHasEverySquareEmpty)
{
    ASSERT_TRUE(ExportJob::run(request(QStringLiteral("shp"), ranaItalica, fx.out(QStringLiteral("rana.shp")), false)).ok);
    Dbf dbf(fx.out(QStringLiteral("rana.dbf")));
    ASSERT_TRUE(dbf.handle);
    ASSERT_EQ(DBFGetRecordCount(dbf.handle), 4);
    EXPECT_EQ(dbf.fieldName(1), QStringLiteral("STAZIONI"));
    for (int row = 0; row < 4; ++row)
        EXPECT_TRUE(DBFIsAttributeNULL(dbf.handle, row, 1)) << row;
}

TEST_F(ExportJobTest, ShapefileExportedTwiceReplacesPartsAndRemovesStaleIndexes)
{
    const QString chosen = fx.out(QStringLiteral("twice.shp"));
    ASSERT_TRUE(ExportJob::run(request(QStringLiteral("shp"), carabusOlympiae, chosen)).ok);
    writeFile(fx.out(QStringLiteral("twice.sbn")), "stale");
    writeFile(fx.out(QStringLiteral("twice.sbx")), "stale");
    ASSERT_TRUE(ExportJob::run(request(QStringLiteral("shp"), lucanusCervus, chosen)).ok);
    EXPECT_FALSE(QFileInfo::exists(fx.out(QStringLiteral("twice.sbn"))));
    EXPECT_FALSE(QFileInfo::exists(fx.out(QStringLiteral("twice.sbx"))));
    Dbf dbf(fx.out(QStringLiteral("twice.dbf")));
    ASSERT_TRUE(dbf.handle);
    EXPECT_TRUE(DBFIsAttributeNULL(dbf.handle, 2, 1));  // UG12: no stag beetle
    EXPECT_EQ(DBFReadIntegerAttribute(dbf.handle, 3, 2), 1970);
}

TEST_F(ExportJobTest, MissingTemplateIsReportedAndNothingWritten)
{
    QFile::remove(fx.dataFolder + QStringLiteral("qutm32.shx"));
    const ExportResult result = ExportJob::run(request(QStringLiteral("shp"), carabusOlympiae, fx.out(QStringLiteral("x.shp"))));
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messageText, QStringLiteral("Missing file ") + QDir::toNativeSeparators(fx.dataFolder + QStringLiteral("qutm32.shx")));
    EXPECT_TRUE(outFiles().isEmpty());
}

TEST_F(ExportJobTest, FailingShapefileStatementDropsTheSavedQueryAndKeepsEarlierFiles)
{
    // The square table is gone: the statement that joins it to the saved query fails.
    fx.database.exec(QStringLiteral("ALTER TABLE QuadUTM RENAME TO QuadUTM_away"));
    const QString folder = fx.out(QStringLiteral("a/"));
    QDir().mkpath(folder);
    writeFile(folder + QStringLiteral("old.shp"), "earlier");
    auto connection = data::Connection::open(fx.database.path(), fx.database.connectString());
    ExportRequest r = request(QStringLiteral("shp"), carabusOlympiae, folder + QStringLiteral("old.shp"));
    r.connection = connection.get();
    const ExportResult result = ExportJob::run(r);
    EXPECT_FALSE(result.ok);
    EXPECT_EQ(result.messageText, QStringLiteral("Export failed"));
    EXPECT_EQ(readFile(folder + QStringLiteral("old.shp")), QByteArray("earlier"));
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{QStringLiteral("old.shp")});
    EXPECT_THROW(connection->openRecordset(QStringLiteral("SELECT * FROM Esporta;")), data::DataError);
    // And the next shapefile export can create it again.
    fx.database.exec(QStringLiteral("ALTER TABLE QuadUTM_away RENAME TO QuadUTM"));
    r.chosenPath = fx.out(QStringLiteral("next.shp"));
    EXPECT_TRUE(ExportJob::run(r).ok);
}

TEST_F(ExportJobTest, FoldersWithBracketsInTheirNamesTakeEveryFormat)
{
    const QString folder = fx.out(QStringLiteral("maps [2024]/"));
    QDir().mkpath(folder);
    for (const char *format : {"txt", "dbf", "xls", "shp"}) {
        const QString path = folder + QStringLiteral("squares.") + QString::fromLatin1(format);
        const ExportResult result = ExportJob::run(request(QString::fromLatin1(format), carabusOlympiae, path));
        EXPECT_TRUE(result.ok) << format << " " << result.messageText.toStdString();
        EXPECT_GT(QFileInfo(path).size(), 0) << format;
    }
}

TEST_F(ExportJobTest, UnwritableTargetsFailWithoutTouchingEarlierFiles)
{
    // A folder below a file cannot exist, for every user.
    writeFile(fx.out(QStringLiteral("plain")), "file");
    for (const char *format : {"txt", "dbf", "xls", "shp"}) {
        const ExportResult result = ExportJob::run(
            request(QString::fromLatin1(format), carabusOlympiae, fx.out(QStringLiteral("plain/abc"))));
        EXPECT_FALSE(result.ok) << format;
        EXPECT_EQ(result.messageText, QStringLiteral("Export failed")) << format;
    }
    // A read-only folder holding an earlier export.
    auto connection = data::Connection::open(fx.database.path(), fx.database.connectString());
    for (const char *format : {"txt", "shp"}) {
        const QString folder = fx.out(QStringLiteral("locked-")) + QString::fromLatin1(format);
        const QString name = QStringLiteral("abc.") + QString::fromLatin1(format);
        ExportRequest r = request(QString::fromLatin1(format), carabusOlympiae, folder + u'/' + name);
        r.connection = connection.get();
        const Outcome outcome = writeIntoReadOnlyFolder(fx.outFolder, folder, name, [&] {
            if (!ExportJob::run(r).ok)
                throw data::DataError(QStringLiteral("failed"));
        });
        if (outcome == Outcome::Skipped)
            GTEST_SKIP() << "cannot drop privileges";
        EXPECT_EQ(outcome, Outcome::Passed) << format;
        EXPECT_EQ(readFile(folder + u'/' + name), QByteArray("earlier")) << format;
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList{name});
    }
}

TEST_F(ExportJobTest, BitmapIs24BitBottomUpWithPaddedRows)
{
    QImage map(3, 2, QImage::Format_ARGB32);
    map.fill(QColor(10, 20, 30));
    map.setPixelColor(0, 1, QColor(200, 100, 50));  // bottom-left: the first pixel of the file
    ExportRequest r = request(QStringLiteral("bmp"), carabusOlympiae, fx.out(QStringLiteral("map.jpg")));
    r.outputs.currentMapImage = [&] { return map; };
    const ExportResult result = ExportJob::run(r);
    ASSERT_TRUE(result.ok) << result.detail.toStdString();
    const QByteArray bmp = readFile(fx.out(QStringLiteral("map.bmp")));
    ASSERT_EQ(bmp.size(), 54 + 2 * 12);
    const auto u16 = [&](int at) { return quint8(bmp[at]) | quint8(bmp[at + 1]) << 8; };
    const auto u32 = [&](int at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(u32(2), 78u);   // file size
    EXPECT_EQ(u32(10), 54u);  // pixel offset
    EXPECT_EQ(u32(14), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(u32(18), 3u);
    EXPECT_EQ(u32(22), 2u);   // positive height: bottom-up
    EXPECT_EQ(u16(28), 24);
    EXPECT_EQ(u32(30), 0u);   // BI_RGB
    EXPECT_EQ(bmp.mid(54, 3), QByteArray("\x32\x64\xc8", 3));  // blue, green, red
    EXPECT_EQ(bmp.mid(63, 3), QByteArray(3, '\0'));            // row padding
    const QImage back = QImage::fromData(bmp, "BMP");
    EXPECT_EQ(back.pixelColor(0, 1), QColor(200, 100, 50));
    EXPECT_EQ(back.pixelColor(2, 0), QColor(10, 20, 30));

    r.outputs.currentMapImage = nullptr;
    writeFile(fx.out(QStringLiteral("map.bmp")), "earlier");
    EXPECT_FALSE(ExportJob::run(r).ok);
    EXPECT_EQ(readFile(fx.out(QStringLiteral("map.bmp"))), QByteArray("earlier"));
}

TEST_F(ExportJobTest, MetafileWriterGetsColourModeAndTargetWhichIsResetAfterwards)
{
    settings().PrintColourMode = QStringLiteral("BW");
    QString calledWith, targetDuringCall, modeDuringCall;
    ExportRequest r = request(QStringLiteral("emf"), carabusOlympiae, fx.out(QStringLiteral("Carabus olympiae")));
    bool succeed = true;
    r.outputs.writeMapMetafile = [&](const QString &path) {
        calledWith = path;
        targetDuringCall = settings().MetafileTarget;
        modeDuringCall = settings().PrintColourMode;
        writeFile(path, "emf");
        return succeed;
    };
    const ExportResult result = ExportJob::run(r);
    ASSERT_TRUE(result.ok) << result.detail.toStdString();
    EXPECT_EQ(targetDuringCall, calledWith);
    EXPECT_EQ(QFileInfo(calledWith).fileName(), QStringLiteral("Carabus olympiae.emf"));
    EXPECT_EQ(modeDuringCall, QStringLiteral("Colori"));
    EXPECT_EQ(settings().MetafileTarget, QStringLiteral("No"));
    EXPECT_EQ(readFile(fx.out(QStringLiteral("Carabus olympiae.emf"))), QByteArray("emf"));
    EXPECT_EQ(result.messageText, QStringLiteral("Exported in ") + fx.out(QStringLiteral("Carabus olympiae.emf")));

    succeed = false;
    writeFile(fx.out(QStringLiteral("Carabus olympiae.emf")), "earlier");
    EXPECT_FALSE(ExportJob::run(r).ok);
    EXPECT_EQ(settings().MetafileTarget, QStringLiteral("No"));
    EXPECT_EQ(readFile(fx.out(QStringLiteral("Carabus olympiae.emf"))), QByteArray("earlier"));
    EXPECT_EQ(outFiles(), QStringList{QStringLiteral("Carabus olympiae.emf")});
}

}  // namespace
