#include "data/DbaseWriter.h"

#include "data/AtomicFile.h"
#include "data/DataError.h"
#include "data/DbfMemoryFiles.h"

#include <QDate>

#include <cmath>
#include <memory>

namespace ortolan::data {

namespace {

constexpr int MaxTextWidth = 254;
constexpr int MaxDecimals = 8;
constexpr int MaxFields = 255;
constexpr int MaxRecordLength = 65535;

struct FieldPlan {
    char type = 'C';  // 'C' text or 'N' number
    int width = 1;
    int decimals = 0;
};

bool isInteger(const QVariant &v)
{
    return v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Int;
}

bool isReal(const QVariant &v)
{
    return v.typeId() == QMetaType::Double;
}

// Fewest decimals (0..MaxDecimals) that give back the value at 15 significant digits.
int decimalsNeeded(double value)
{
    const double tolerance = std::max(std::abs(value), 1.0) * 1e-15 * 8;
    double scale = 1.0;
    for (int d = 0; d < MaxDecimals; ++d, scale *= 10.0)
        if (std::abs(std::round(value * scale) / scale - value) <= tolerance)
            return d;
    return MaxDecimals;
}

// Integer columns have no decimals; in real columns integers get them too.
QByteArray numberText(const QVariant &v, int decimals)
{
    if (decimals == 0)
        return QByteArray::number(v.toLongLong());
    return QByteArray::number(v.toDouble(), 'f', decimals);
}

// The UTF-8 form of text, cut to at most maxBytes without splitting a character.
QByteArray cutUtf8(const QString &text, int maxBytes)
{
    QByteArray bytes = text.toUtf8();
    if (bytes.size() <= maxBytes)
        return bytes;
    qsizetype end = maxBytes;
    while (end > 0 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
        --end;
    bytes.truncate(end);
    return bytes;
}

bool isWritten(const QVariant &v)
{
    return !v.isNull() && !(isReal(v) && !std::isfinite(v.toDouble()));
}

FieldPlan planField(const Recordset &rows, int column)
{
    bool text = false, real = false, any = false;
    for (const auto &row : rows.rows()) {
        const QVariant &v = row[size_t(column)];
        if (!isWritten(v))
            continue;
        any = true;
        if (isReal(v))
            real = true;
        else if (!isInteger(v))
            text = true;
    }
    FieldPlan plan;
    if (!any)
        return plan;
    if (text) {
        for (const auto &row : rows.rows())
            if (isWritten(row[size_t(column)]))
                plan.width = std::max<int>(plan.width, int(cutUtf8(row[size_t(column)].toString(), MaxTextWidth).size()));
        return plan;
    }
    plan.type = 'N';
    if (real) {
        plan.decimals = 1;
        for (const auto &row : rows.rows())
            if (isReal(row[size_t(column)]) && isWritten(row[size_t(column)]))
                plan.decimals = std::max(plan.decimals, decimalsNeeded(row[size_t(column)].toDouble()));
    }
    for (const auto &row : rows.rows())
        if (isWritten(row[size_t(column)]))
            plan.width = std::max<int>(plan.width, int(numberText(row[size_t(column)], plan.decimals).size()));
    return plan;
}

struct DbfCloser {
    void operator()(DBFInfo *dbf) const { DBFClose(dbf); }
};

}  // namespace

QStringList DbaseWriter::fieldNames(const QStringList &columns)
{
    QStringList names;
    for (const QString &column : columns) {
        QString base;
        for (const QChar c : column)
            base += (c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'_')) ? c : QChar(u'_');
        if (base.isEmpty())
            base = QStringLiteral("FIELD");
        QString name = base.left(10);
        for (int k = 1; names.contains(name, Qt::CaseInsensitive); ++k) {
            const QString ending = QStringLiteral("_") + QString::number(k);
            name = base.left(10 - ending.size()) + ending;
        }
        names << name;
    }
    return names;
}

void DbaseWriter::write(const QString &dbfPath, const Recordset &rows)
{
    const int columns = rows.fieldCount();
    if (columns == 0 || columns > MaxFields)
        throw DataError(QStringLiteral("A dBase table holds 1 to 255 fields, not ") + QString::number(columns));
    std::vector<FieldPlan> plans;
    int recordLength = 1;
    for (int c = 0; c < columns; ++c) {
        plans.push_back(planField(rows, c));
        recordLength += plans.back().width;
    }
    if (recordLength > MaxRecordLength)
        throw DataError(QStringLiteral("The rows are too wide for a dBase table."));

    DbfMemoryFiles memory;
    const std::string memoryName = "table.dbf";
    {
        std::unique_ptr<DBFInfo, DbfCloser> dbf(DBFCreateLL(memoryName.c_str(), "UTF-8", memory.hooks()));
        if (!dbf)
            throw DataError(QStringLiteral("Cannot create the dBase table: ") + memory.lastError());
        const QStringList names = fieldNames(rows.fieldNames());
        for (int c = 0; c < columns; ++c) {
            const FieldPlan &p = plans[size_t(c)];
            if (DBFAddNativeFieldType(dbf.get(), names[c].toLatin1().constData(), p.type, p.width, p.decimals) < 0)
                throw DataError(QStringLiteral("Cannot add the dBase field ") + names[c] + QStringLiteral(": ")
                                + memory.lastError());
        }
        const QDate today = QDate::currentDate();
        DBFSetLastModifiedDate(dbf.get(), today.year() - 1900, today.month(), today.day());

        int record = 0;
        for (const auto &row : rows.rows()) {
            for (int c = 0; c < columns; ++c) {
                const QVariant &v = row[size_t(c)];
                const FieldPlan &p = plans[size_t(c)];
                bool ok = true;
                if (!isWritten(v)) {
                    ok = DBFWriteNULLAttribute(dbf.get(), record, c);
                } else if (p.type == 'N') {
                    QByteArray field = numberText(v, p.decimals).rightJustified(p.width, ' ');
                    ok = DBFWriteAttributeDirectly(dbf.get(), record, c, field.data());
                } else {
                    ok = DBFWriteStringAttribute(dbf.get(), record, c, cutUtf8(v.toString(), p.width).constData());
                }
                if (!ok)
                    throw DataError(QStringLiteral("Cannot write row ") + QString::number(record + 1)
                                    + QStringLiteral(" of the dBase table: ") + memory.lastError());
            }
            ++record;
        }
    }
    if (!memory.contains(memoryName))
        throw DataError(QStringLiteral("Cannot create the dBase table: ") + memory.lastError());

    AtomicFile::write(dbfPath, memory.file(memoryName));
    const QString base = dbfPath.endsWith(QStringLiteral(".dbf"), Qt::CaseInsensitive) ? dbfPath.chopped(4) : dbfPath;
    if (memory.contains("table.cpg"))
        AtomicFile::write(base + QStringLiteral(".cpg"), memory.file("table.cpg"));
}

}  // namespace ortolan::data
