// dBase tables written by select-into statements, read back with shapelib.
#include "StandardChecklistTest.h"
#include "WriterTestSupport.h"

#include "data/DataError.h"
#include "data/DbaseWriter.h"
#include "data/Queries.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <shapefil.h>

using namespace ortolan;
using namespace ortolan::test;
namespace q = ortolan::data::queries;

namespace {

struct Field {
    QString name;
    char type;
    int width;
    int decimals;
};

// A .dbf read back in full with shapelib: fields and text of every cell
// ("<null>" for NULL).
struct DbfContents {
    std::vector<Field> fields;
    std::vector<QStringList> rows;
    int year = 0, month = 0, day = 0;
};

DbfContents readDbf(const QString &path)
{
    DbfContents contents;
    DBFHandle dbf = DBFOpen(path.toUtf8().constData(), "rb");
    if (!dbf) {
        ADD_FAILURE() << "shapelib cannot open " << path.toStdString();
        return contents;
    }
    for (int f = 0; f < DBFGetFieldCount(dbf); ++f) {
        char name[12] = {};
        int width = 0, decimals = 0;
        DBFGetFieldInfo(dbf, f, name, &width, &decimals);
        contents.fields.push_back({QString::fromLatin1(name), DBFGetNativeFieldType(dbf, f), width, decimals});
    }
    for (int r = 0; r < DBFGetRecordCount(dbf); ++r) {
        QStringList row;
        for (int f = 0; f < DBFGetFieldCount(dbf); ++f)
            row << (DBFIsAttributeNULL(dbf, r, f) ? QStringLiteral("<null>")
                                                  : QString::fromUtf8(DBFReadStringAttribute(dbf, r, f)));
        contents.rows.push_back(row);
    }
    // Header bytes 1..3: year since 1900, month, day of the last change.
    const QByteArray header = readFile(path).left(4);
    contents.year = 1900 + static_cast<unsigned char>(header[1]);
    contents.month = header[2];
    contents.day = header[3];
    DBFClose(dbf);
    return contents;
}

class DbaseExport : public StandardChecklistTest {
protected:
    QString out(const QString &name) { return dir.filePath(name); }
};

TEST_F(DbaseExport, OccupiedSquaresWithTypedFields)
{
    const int written = connection->execute(
        q::occupiedSquaresToDbase(dir.path(), QStringLiteral("carabus"), QStringLiteral("044.00101.001.0"), false));
    EXPECT_EQ(written, 3);
    const DbfContents dbf = readDbf(out(QStringLiteral("carabus.dbf")));
    ASSERT_EQ(dbf.fields.size(), 5u);
    EXPECT_EQ(dbf.fields[0].name, QStringLiteral("UTM"));
    EXPECT_EQ(dbf.fields[0].type, 'C');
    EXPECT_EQ(dbf.fields[0].width, 4);
    EXPECT_EQ(dbf.fields[1].name, QStringLiteral("STAZIONI"));
    EXPECT_EQ(dbf.fields[1].type, 'N');
    EXPECT_EQ(dbf.fields[1].decimals, 0);
    EXPECT_EQ(dbf.fields[2].name, QStringLiteral("ANNO"));
    EXPECT_EQ(dbf.fields[2].width, 4);
    EXPECT_EQ(dbf.fields[4].name, QStringLiteral("N_UTM32"));
    EXPECT_EQ(dbf.fields[4].type, 'N');
    EXPECT_EQ(dbf.fields[4].decimals, 1);
    ASSERT_EQ(dbf.rows.size(), 3u);
    EXPECT_EQ(dbf.rows[1], list({"UG12", "3", "2005", "315000.0", "5125000.5"}));
    EXPECT_EQ(dbf.rows[0].mid(0, 3), list({"NF00", "0", "1985"}));
    const QDate today = QDate::currentDate();
    EXPECT_EQ(QDate(dbf.year, dbf.month, dbf.day), today);
    EXPECT_EQ(readFile(out(QStringLiteral("carabus.cpg"))).trimmed(), QByteArray("UTF-8"));
}

TEST_F(DbaseExport, ShapefileAttributesFollowTheSquareTable)
{
    // A square added last: the table's order is no longer the code order.
    fixture->insert("QuadUTM", {{"UTM", "AA00"}, {"E_UTM32", 1.0}, {"N_UTM32", 2.0}});
    connection->createQuery(q::esportaName(), q::esportaQuery(QStringLiteral("044.00101.001.0"), true));
    connection->execute(q::allSquaresToDbase(dir.path(), QStringLiteral("shape"), true));
    connection->dropQuery(q::esportaName());
    const DbfContents dbf = readDbf(out(QStringLiteral("shape.dbf")));
    ASSERT_EQ(dbf.fields.size(), 3u);
    EXPECT_EQ(dbf.fields[1].name, QStringLiteral("SITES"));
    EXPECT_EQ(dbf.fields[2].name, QStringLiteral("YEAR"));
    ASSERT_EQ(dbf.rows.size(), 5u);
    EXPECT_EQ(dbf.rows[0], list({"MG34", "<null>", "<null>"}));
    EXPECT_EQ(dbf.rows[2], list({"UG12", "3", "2005"}));
    EXPECT_EQ(dbf.rows[4], list({"AA00", "<null>", "<null>"}));
}

TEST_F(DbaseExport, TaxonWithoutRecordsWritesAnEmptyTable)
{
    EXPECT_EQ(connection->execute(q::occupiedSquaresToDbase(dir.path(), QStringLiteral("none"),
                                                            QStringLiteral("001.00101.001.0"), true)),
              0);
    const DbfContents dbf = readDbf(out(QStringLiteral("none.dbf")));
    EXPECT_EQ(dbf.fields.size(), 5u);
    EXPECT_TRUE(dbf.rows.empty());
}

TEST(DbaseWriter, NamesTypesAndTextLimits)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    const QString longText = QString(200, QChar(u'è'));  // 400 bytes of UTF-8
    std::vector<std::vector<QVariant>> rows = {
        {QStringLiteral("Località dell'Agnello"), qlonglong(-12), 0.25, qlonglong(1), QVariant(), longText},
        {QStringLiteral("x"), qlonglong(9007199254740993LL), 1e6, QStringLiteral("a"), QVariant(), QStringLiteral("")},
    };
    data::DbaseWriter::write(path, data::Recordset(list({"LOCALITA_ESTESA", "NUMERO", "REALE", "MISTO", "VUOTO",
                                                         "LOCALITA_ESTESA2"}),
                                                   rows));
    const DbfContents dbf = readDbf(path);
    ASSERT_EQ(dbf.fields.size(), 6u);
    EXPECT_EQ(dbf.fields[0].name, QStringLiteral("LOCALITA_E"));
    EXPECT_EQ(dbf.fields[5].name, QStringLiteral("LOCALITA_1"));
    EXPECT_EQ(dbf.fields[0].width, int(QStringLiteral("Località dell'Agnello").toUtf8().size()));
    EXPECT_EQ(dbf.fields[1].type, 'N');
    EXPECT_EQ(dbf.fields[2].decimals, 2);
    EXPECT_EQ(dbf.fields[3].type, 'C');  // numbers and text together
    EXPECT_EQ(dbf.fields[4].type, 'C');
    EXPECT_EQ(dbf.fields[5].width, 254);
    EXPECT_EQ(dbf.rows[0][0], QStringLiteral("Località dell'Agnello"));
    EXPECT_EQ(dbf.rows[1][1], QStringLiteral("9007199254740993"));
    EXPECT_EQ(dbf.rows[0][2], QStringLiteral("0.25"));
    EXPECT_EQ(dbf.rows[1][2], QStringLiteral("1000000.00"));
    EXPECT_EQ(dbf.rows[0][4], QStringLiteral("<null>"));
    // 254 bytes hold 127 whole characters of two bytes each.
    EXPECT_EQ(dbf.rows[0][5], QString(127, QChar(u'è')));
}

TEST(DbaseWriter, FieldNamesAreCleanedAndUnique)
{
    EXPECT_EQ(data::DbaseWriter::fieldNames(list({"Count(x)", "é", "", "ABCDEFGHIJKL", "ABCDEFGHIJXX", "abcdefghij"})),
              list({"Count_x_", "_", "FIELD", "ABCDEFGHIJ", "ABCDEFGH_1", "abcdefgh_2"}));
}

TEST(DbaseWriter, FailuresLeaveTheEarlierFile)
{
    QTemporaryDir dir;
    const data::Recordset rows(list({"A"}), {{QStringLiteral("new")}});
    // A folder that is gone.
    EXPECT_THROW(data::DbaseWriter::write(dir.filePath(QStringLiteral("gone/t.dbf")), rows), data::DataError);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("gone"))));

    // A read-only folder holding an earlier export.
    const QString folder = dir.filePath(QStringLiteral("readonly"));
    const QString path = folder + QStringLiteral("/t.dbf");
    const Outcome outcome =
        writeIntoReadOnlyFolder(dir.path(), folder, QStringLiteral("t.dbf"), [&] { data::DbaseWriter::write(path, rows); });
    if (outcome == Outcome::Skipped)
        GTEST_SKIP() << "cannot drop privileges to test a read-only folder";
    EXPECT_EQ(outcome, Outcome::Passed);
    EXPECT_EQ(readFile(path), QByteArray("earlier"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), list({"t.dbf"}));
}

TEST(DbaseWriter, ReplacesAnEarlierTable)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.dbf"));
    data::DbaseWriter::write(path, data::Recordset(list({"A"}), {{qlonglong(1)}, {qlonglong(2)}}));
    data::DbaseWriter::write(path, data::Recordset(list({"B"}), {{QStringLiteral("z")}}));
    const DbfContents dbf = readDbf(path);
    ASSERT_EQ(dbf.fields.size(), 1u);
    EXPECT_EQ(dbf.fields[0].name, QStringLiteral("B"));
    ASSERT_EQ(dbf.rows.size(), 1u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), list({"t.cpg", "t.dbf"}));
}

}  // namespace
