// Excel workbooks written by select-into statements: read back with Debian's
// xlrd and with a record walk of our own over the stream that libgsf reads
// out of the compound file.
#include "StandardChecklistTest.h"
#include "WriterTestSupport.h"

#include "data/Biff8SharedStrings.h"
#include "data/Biff8Workbook.h"
#include "data/DataError.h"
#include "data/ExcelWriter.h"
#include "data/Queries.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-utils.h>

#include <optional>

using namespace ortolan;
using namespace ortolan::test;
namespace q = ortolan::data::queries;

namespace {

// Prints the first sheet as JSON: {"sheets": [...], "rows": [[[type, value], ...], ...]}
// with xlrd's cell types (1 text, 2 number, 0 empty). Exit 77 without xlrd.
const char *const xlrdScript = R"(
import json, sys
try:
    import xlrd
except ImportError:
    sys.exit(77)
book = xlrd.open_workbook(sys.argv[1], formatting_info=True)
sheet = book.sheet_by_index(0)
rows = [[[c.ctype, c.value] for c in sheet.row(r)] for r in range(sheet.nrows)]
print(json.dumps({"sheets": book.sheet_names(), "rows": rows}))
)";

std::optional<QJsonObject> readWithXlrd(const QString &path)
{
    if (!QFileInfo::exists(QStringLiteral("/usr/bin/python3")))
        return std::nullopt;
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), QString::fromUtf8(xlrdScript), path});
    if (!python.waitForFinished(120000) || python.exitCode() == 77)
        return std::nullopt;
    EXPECT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    return QJsonDocument::fromJson(python.readAllStandardOutput()).object();
}

// GDAL's summary of a file (its XLS driver reads with FreeXL, a second
// independent reader); nullopt without ogrinfo.
std::optional<QString> ogrSummary(const QString &path)
{
    QProcess ogr;
    ogr.start(QStringLiteral("ogrinfo"), {QStringLiteral("-ro"), QStringLiteral("-so"), QStringLiteral("-al"), path});
    if (!ogr.waitForFinished(120000) || ogr.exitStatus() != QProcess::NormalExit)
        return std::nullopt;
    return QString::fromUtf8(ogr.readAllStandardOutput());
}

#define REQUIRE_XLRD(json)                                                   \
    if (!(json))                                                             \
    GTEST_SKIP() << "python3-xlrd is not installed (/usr/bin/python3)"

// The "Workbook" stream of a compound file, read with libgsf.
QByteArray workbookStream(const QString &path)
{
    gsf_init();
    const QByteArray file = readFile(path);
    GsfInput *input = gsf_input_memory_new(reinterpret_cast<const guint8 *>(file.constData()), file.size(), FALSE);
    GsfInfile *ole = gsf_infile_msole_new(input, nullptr);
    QByteArray stream;
    if (ole) {
        if (GsfInput *child = gsf_infile_child_by_name(ole, "Workbook")) {
            stream.resize(qsizetype(gsf_input_size(child)));
            gsf_input_read(child, size_t(stream.size()), reinterpret_cast<guint8 *>(stream.data()));
            g_object_unref(child);
        }
        g_object_unref(ole);
    }
    g_object_unref(input);
    return stream;
}

unsigned u16(const QByteArray &b, qsizetype at)
{
    return static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8);
}

unsigned u32(const QByteArray &b, qsizetype at)
{
    return u16(b, at) | (u16(b, at + 2) << 16);
}

struct Record {
    unsigned id;
    qsizetype position;  // of the record header in the stream
    QByteArray body;
};

// Walks the records of the stream and checks what Excel relies on beyond what
// xlrd reads: record sizes, the sheet offset, the SST split rules and EXTSST.
// Returns the shared strings.
QStringList checkStructure(const QByteArray &stream)
{
    std::vector<Record> records;
    qsizetype at = 0;
    while (at + 4 <= stream.size()) {
        const unsigned id = u16(stream, at), length = u16(stream, at + 2);
        EXPECT_LE(length, 8224u) << "record " << std::hex << id;
        records.push_back({id, at, stream.mid(at + 4, length)});
        at += 4 + length;
        if (id == 0x000A && records.size() > 1 && records.back().position > 0) {
            // After the sheet's EOF only padding follows.
            bool sheetEof = false;
            for (const Record &r : records)
                sheetEof = sheetEof || (r.id == 0x0809 && u16(r.body, 2) == 0x0010);
            if (sheetEof)
                break;
        }
    }
    QStringList strings;
    size_t sst = 0;
    for (size_t i = 0; i < records.size(); ++i) {
        if (records[i].id == 0x0085) {
            const unsigned sheetAt = u32(records[i].body, 0);
            EXPECT_EQ(u16(stream, sheetAt), 0x0809u);
            EXPECT_EQ(u16(stream, sheetAt + 6), 0x0010u);
        }
        if (records[i].id == 0x00FC)
            sst = i;
    }
    EXPECT_GT(sst, 0u);
    if (sst == 0)
        return strings;

    size_t rec = sst;
    qsizetype p = 8;
    const unsigned unique = u32(records[sst].body, 4);
    std::vector<std::pair<qsizetype, qsizetype>> starts;  // stream position, offset in its record
    for (unsigned s = 0; s < unique; ++s) {
        if (p == records[rec].body.size()) {
            ++rec;
            p = 0;
            EXPECT_EQ(records[rec].id, 0x003Cu);
        }
        EXPECT_GE(records[rec].body.size() - p, 3) << "string header split at string " << s;
        starts.push_back({records[rec].position + 4 + p, 4 + p});
        unsigned remaining = u16(records[rec].body, p);
        bool wide = records[rec].body[p + 2] & 1;
        EXPECT_EQ(records[rec].body[p + 2] & ~1, 0);
        p += 3;
        QString text;
        while (remaining > 0) {
            if (p == records[rec].body.size()) {
                ++rec;
                EXPECT_EQ(records[rec].id, 0x003Cu);
                wide = records[rec].body[0] & 1;
                p = 1;
            }
            const QByteArray &body = records[rec].body;
            const qsizetype count = std::min<qsizetype>(remaining, (body.size() - p) / (wide ? 2 : 1));
            EXPECT_GT(count, 0);
            for (qsizetype k = 0; k < count; ++k, p += wide ? 2 : 1)
                text += wide ? QChar(char16_t(u16(body, p))) : QChar(char16_t(static_cast<unsigned char>(body[p])));
            remaining -= unsigned(count);
        }
        strings << text;
    }
    // EXTSST follows the last SST part and points at every bucket's first string.
    const Record &ext = records[rec + 1];
    EXPECT_EQ(ext.id, 0x00FFu);
    const unsigned perBucket = u16(ext.body, 0);
    EXPECT_EQ(int(perBucket), data::Biff8SharedStrings::bucketSize(int(unique)));
    const qsizetype buckets = (ext.body.size() - 2) / 8;
    EXPECT_EQ(buckets, qsizetype((unique + perBucket - 1) / perBucket));
    for (qsizetype b = 0; b < buckets; ++b) {
        EXPECT_EQ(qsizetype(u32(ext.body, 2 + 8 * b)), starts[size_t(b * perBucket)].first) << "bucket " << b;
        EXPECT_EQ(qsizetype(u16(ext.body, 6 + 8 * b)), starts[size_t(b * perBucket)].second) << "bucket " << b;
    }
    return strings;
}

QJsonArray cell(double type, const QJsonValue &value)
{
    return QJsonArray{type, value};
}

class ExcelExport : public StandardChecklistTest {};

TEST_F(ExcelExport, SitesOfATaxonInItalian)
{
    const QString path = dir.filePath(QStringLiteral("Carabus olympiae.xls"));
    EXPECT_EQ(connection->execute(q::sitesToExcel(path, QStringLiteral("044.00101.001.0"), false)), 5);
    checkStructure(workbookStream(path));
    const auto book = readWithXlrd(path);
    REQUIRE_XLRD(book);
    EXPECT_EQ(book->value(QStringLiteral("sheets")).toArray(), QJsonArray{QStringLiteral("Stazioni")});
    const QJsonArray rows = book->value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 6);
    const QJsonArray header = rows[0].toArray();
    ASSERT_EQ(header.size(), 10);
    EXPECT_EQ(header[0], cell(1, QStringLiteral("NOME_SP")));
    EXPECT_EQ(header[3], cell(1, QStringLiteral("LOCALITA")));
    EXPECT_EQ(header[9], cell(1, QStringLiteral("PRECISIONE")));
    // Ordered by name, region, province, locality, site.
    const QJsonArray first = rows[1].toArray();
    EXPECT_EQ(first[0], cell(1, QStringLiteral("Carabus olympiae")));
    EXPECT_EQ(first[2], cell(1, QStringLiteral("BI")));
    EXPECT_EQ(first[4], cell(1, QStringLiteral("Alpe Sella")));
    EXPECT_EQ(first[5], cell(2, 1400));
    EXPECT_EQ(first[7], cell(2, 1990));
    const QJsonArray noSite = rows[3].toArray();
    EXPECT_EQ(noSite[2], cell(1, QStringLiteral("VC")));
    EXPECT_EQ(noSite[4], cell(0, QStringLiteral("")));
    EXPECT_EQ(rows[5].toArray()[0], cell(1, QStringLiteral("Carabus olympiae olympiae")));
}

TEST_F(ExcelExport, OccupiedSquaresInEnglishWithRealNumbers)
{
    const QString name = dir.filePath(QStringLiteral("squares"));
    EXPECT_EQ(connection->execute(q::occupiedSquaresToExcel(name, QStringLiteral("044.00101.001.0"), true)), 3);
    const auto book = readWithXlrd(name + QStringLiteral(".xls"));
    REQUIRE_XLRD(book);
    EXPECT_EQ(book->value(QStringLiteral("sheets")).toArray(), QJsonArray{QStringLiteral("Sites")});
    const QJsonArray rows = book->value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[0].toArray()[1], cell(1, QStringLiteral("SITES")));
    EXPECT_EQ(rows[2].toArray(), (QJsonArray{cell(1, QStringLiteral("UG12")), cell(2, 3), cell(2, 2005),
                                             cell(2, 315000), cell(2, 5125000.5)}));
}

// 20,000 rows of distinct texts, some beyond Latin-1 and some long, so that
// the string table runs over many CONTINUE records and splits strings.
TEST(ExcelWriter, LargeSheetWithManyStrings)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.xls"));
    std::vector<std::vector<QVariant>> rows;
    for (int r = 0; r < 20000; ++r) {
        QString text = QStringLiteral("Località %1").arg(r);
        if (r % 7 == 0)
            text += QStringLiteral(" Ωμέγα ✓");
        if (r % 1000 == 3)
            text += QString(5000 + r % 13, QChar(r % 2 ? u'x' : u'ж'));
        rows.push_back({text, qlonglong(r), r * 0.5, r % 3 ? QVariant() : QVariant(QStringLiteral("same"))});
    }
    data::ExcelWriter::write(path, QStringLiteral("A/very:long*sheet?name[with]bad\\chars"),
                             data::Recordset(list({"TEXT", "N", "HALF", "SPARSE"}), rows));

    const QStringList strings = checkStructure(workbookStream(path));
    EXPECT_EQ(strings.size(), 4 + 20000 + 1);
    EXPECT_TRUE(strings.contains(rows[1003][0].toString()));
    EXPECT_TRUE(strings.contains(rows[7][0].toString()));
    if (const auto summary = ogrSummary(path)) {
        EXPECT_TRUE(summary->contains(QStringLiteral("Feature Count: 20000"))) << summary->toStdString();
        EXPECT_TRUE(summary->contains(QStringLiteral("HALF: Real"))) << summary->toStdString();
    }

    const auto book = readWithXlrd(path);
    REQUIRE_XLRD(book);
    EXPECT_EQ(book->value(QStringLiteral("sheets")).toArray(), QJsonArray{QStringLiteral("A_very_long_sheet_name_with_bad")});
    const QJsonArray read = book->value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(read.size(), 20001);
    for (int r : {0, 1, 3, 7, 1003, 4096, 19999}) {
        const QJsonArray row = read[r + 1].toArray();
        EXPECT_EQ(row[0], cell(1, rows[size_t(r)][0].toString())) << r;
        EXPECT_EQ(row[1], cell(2, r)) << r;
        EXPECT_EQ(row[2], cell(2, r * 0.5)) << r;
        EXPECT_EQ(row[3], r % 3 ? cell(0, QStringLiteral("")) : cell(1, QStringLiteral("same"))) << r;
    }
}

TEST(ExcelWriter, RowLimitIsEnforcedWithoutTouchingTheEarlierFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("limit.xls"));
    std::vector<std::vector<QVariant>> rows(65535, std::vector<QVariant>{QVariant(qlonglong(1))});
    data::ExcelWriter::write(path, QStringLiteral("Sites"), data::Recordset(list({"N"}), rows));
    const QByteArray earlier = readFile(path);
    const auto book = readWithXlrd(path);
    if (book) {
        EXPECT_EQ(book->value(QStringLiteral("rows")).toArray().size(), 65536);
    }

    rows.push_back({QVariant(qlonglong(2))});
    EXPECT_THROW(data::ExcelWriter::write(path, QStringLiteral("Sites"), data::Recordset(list({"N"}), rows)),
                 data::DataError);
    EXPECT_EQ(readFile(path), earlier);
    std::vector<std::vector<QVariant>> wide(1, std::vector<QVariant>(257, QVariant(qlonglong(1))));
    QStringList names;
    for (int c = 0; c < 257; ++c)
        names << QStringLiteral("C%1").arg(c);
    EXPECT_THROW(data::ExcelWriter::write(path, QStringLiteral("Sites"), data::Recordset(names, wide)),
                 data::DataError);
    EXPECT_EQ(readFile(path), earlier);
}

TEST(ExcelWriter, EmptyResultHasItsHeader)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("empty.xls"));
    data::ExcelWriter::write(path, QString(), data::Recordset(list({"UTM", "SITES"}), {}));
    const auto book = readWithXlrd(path);
    REQUIRE_XLRD(book);
    EXPECT_EQ(book->value(QStringLiteral("sheets")).toArray(), QJsonArray{QStringLiteral("Sheet1")});
    EXPECT_EQ(book->value(QStringLiteral("rows")).toArray(),
              (QJsonArray{QJsonArray{cell(1, QStringLiteral("UTM")), cell(1, QStringLiteral("SITES"))}}));
}

TEST(ExcelWriter, SheetNames)
{
    EXPECT_EQ(data::Biff8Workbook::sheetName(QStringLiteral("Stazioni")), QStringLiteral("Stazioni"));
    EXPECT_EQ(data::Biff8Workbook::sheetName(QStringLiteral("'a:b'")), QStringLiteral("_a_b_"));
    EXPECT_EQ(data::Biff8Workbook::sheetName(QStringLiteral("  ")), QStringLiteral("Sheet1"));
    EXPECT_EQ(data::Biff8Workbook::sheetName(QString(40, u'x')).size(), 31);
}

TEST(ExcelWriter, ReadOnlyFolderKeepsTheEarlierWorkbook)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("readonly"));
    const QString path = folder + QStringLiteral("/sites.xls");
    const data::Recordset rows(list({"A"}), {{QStringLiteral("new")}});
    const Outcome outcome = writeIntoReadOnlyFolder(dir.path(), folder, QStringLiteral("sites.xls"), [&] {
        data::ExcelWriter::write(path, QStringLiteral("Sites"), rows);
    });
    if (outcome == Outcome::Skipped)
        GTEST_SKIP() << "cannot drop privileges to test a read-only folder";
    EXPECT_EQ(outcome, Outcome::Passed);
    EXPECT_EQ(readFile(path), QByteArray("earlier"));
    EXPECT_THROW(data::ExcelWriter::write(dir.filePath(QStringLiteral("gone/x.xls")), QStringLiteral("S"), rows),
                 data::DataError);
}

}  // namespace
