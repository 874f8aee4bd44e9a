#pragma once

#include "data/Recordset.h"

#include <QString>

namespace ortolan::data {

// Writes rows as an Excel 97-2003 workbook (.xls) with one sheet named
// sheetName (Biff8Workbook), in an OLE2 compound file (OleCompoundFile). Both
// "Excel 5.0" and "Excel 8.0" targets get this format; every Excel since 97
// and LibreOffice read it.
//
// An existing workbook at path is replaced as a whole, its other sheets
// included (the export always writes a fresh workbook). The file is written
// atomically (AtomicFile): on failure the earlier file stays as it was.
class ExcelWriter {
public:
    // Throws DataError (too many rows or fields, unwritable folder, full disk).
    static void write(const QString &path, const QString &sheetName, const Recordset &rows);
};

}  // namespace ortolan::data
