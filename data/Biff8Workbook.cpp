#include "data/Biff8Workbook.h"

#include "data/Biff8Records.h"
#include "data/Biff8SharedStrings.h"
#include "data/DataError.h"

#include <cmath>
#include <optional>

namespace ortolan::data {

namespace {

using namespace biff8;

constexpr qsizetype MinimumStreamSize = 4096;

// What one cell holds: a number, a shared string, or nothing.
struct Cell {
    std::optional<double> number;
    std::optional<std::uint32_t> string;
};

Cell cellOf(const QVariant &value, Biff8SharedStrings &strings)
{
    if (value.isNull())
        return {};
    switch (value.typeId()) {
    case QMetaType::LongLong:
    case QMetaType::Int:
        return {double(value.toLongLong()), std::nullopt};
    case QMetaType::Double:
        if (!std::isfinite(value.toDouble()))
            return {};
        return {value.toDouble(), std::nullopt};
    default:
        return {std::nullopt, strings.add(value.toString())};
    }
}

void writeGlobals(LittleEndianWriter &out, const QString &sheet, const Biff8SharedStrings &strings,
                  qsizetype &sheetOffsetAt)
{
    bof(out, WorkbookGlobals);
    codepage(out);
    window1(out);
    // Five fonts: Excel skips index 4, so a file needs at least five records.
    for (int k = 0; k < 5; ++k)
        font(out, u"Arial", 200);
    xf(out, true, 0, true);  // style XF 0: Normal
    for (int k = 1; k < 15; ++k)
        xf(out, true, k < 3 ? 1 : (k < 5 ? 2 : 0), false);
    xf(out, false, 0, true);  // XF 15: the cell format
    normalStyle(out);
    sheetOffsetAt = boundSheet(out, sheet);
    strings.write(out);
    eof(out);
}

}  // namespace

QString Biff8Workbook::sheetName(const QString &name)
{
    QString result = name.trimmed();
    for (QChar &c : result)
        if (QStringLiteral("[]:*?/\\").contains(c))
            c = u'_';
    result = result.left(MaxSheetName);
    if (result.startsWith(u'\''))
        result[0] = u'_';
    if (result.endsWith(u'\''))
        result[result.size() - 1] = u'_';
    return result.isEmpty() ? QStringLiteral("Sheet1") : result;
}

QByteArray Biff8Workbook::build(const QString &sheetName, const Recordset &rows)
{
    const int columns = rows.fieldCount();
    if (columns == 0)
        throw DataError(QStringLiteral("An Excel sheet needs at least one field."));
    if (columns > MaxColumns)
        throw DataError(QStringLiteral("An Excel sheet holds at most 256 fields, not ") + QString::number(columns)
                        + u'.');
    if (rows.recordCount() > MaxRows - 1)
        throw DataError(QStringLiteral("An Excel sheet holds at most 65,535 records below its header, not ")
                        + QString::number(rows.recordCount()) + u'.');

    Biff8SharedStrings strings;
    std::vector<std::uint32_t> header;
    for (const QString &name : rows.fieldNames())
        header.push_back(strings.add(name));
    std::vector<Cell> cells;
    cells.reserve(size_t(rows.recordCount()) * size_t(columns));
    for (const auto &row : rows.rows())
        for (const QVariant &value : row)
            cells.push_back(cellOf(value, strings));

    LittleEndianWriter out;
    qsizetype sheetOffsetAt = 0;
    writeGlobals(out, Biff8Workbook::sheetName(sheetName), strings, sheetOffsetAt);
    out.patchU32(sheetOffsetAt, std::uint32_t(out.size()));

    bof(out, Worksheet);
    dimensions(out, std::uint32_t(rows.recordCount() + 1), std::uint16_t(columns));
    for (int c = 0; c < columns; ++c)
        labelSst(out, 0, std::uint16_t(c), header[size_t(c)]);
    size_t k = 0;
    for (int r = 1; r <= rows.recordCount(); ++r) {
        for (int c = 0; c < columns; ++c, ++k) {
            if (cells[k].number)
                number(out, std::uint16_t(r), std::uint16_t(c), *cells[k].number);
            else if (cells[k].string)
                labelSst(out, std::uint16_t(r), std::uint16_t(c), *cells[k].string);
        }
    }
    window2(out);
    eof(out);
    if (out.size() < MinimumStreamSize)
        out.zeros(MinimumStreamSize - out.size());
    return out.takeBytes();
}

}  // namespace ortolan::data
