#pragma once

#include "data/Recordset.h"

#include <QByteArray>
#include <QString>

namespace ortolan::data {

// The workbook stream (BIFF8, Excel 97-2003) of a workbook with one sheet:
// a header row with the field names, then one row per record. Numbers become
// NUMBER cells, text LABELSST cells through the shared string table, nulls
// stay empty. The globals hold the minimal set Excel and LibreOffice expect:
// code page, window, five fonts, fifteen style formats and one cell format,
// the Normal style, the sheet entry and the string table.
class Biff8Workbook {
public:
    // Throws DataError when the rows do not fit one sheet (more than 65,535
    // records or 256 fields) or there are no fields. The stream is at least
    // 4096 bytes (padded after its end), so that it is stored as an ordinary
    // stream of the compound file, as Excel writes it.
    static QByteArray build(const QString &sheetName, const Recordset &rows);

    // A valid sheet name: at most 31 characters, none of []:*?/\ (each
    // becomes "_"), no apostrophe at either end; "Sheet1" when nothing is left.
    static QString sheetName(const QString &name);
};

}  // namespace ortolan::data
