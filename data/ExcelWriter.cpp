#include "data/ExcelWriter.h"

#include "data/AtomicFile.h"
#include "data/Biff8Workbook.h"
#include "data/OleCompoundFile.h"

namespace ortolan::data {

void ExcelWriter::write(const QString &path, const QString &sheetName, const Recordset &rows)
{
    const QByteArray workbook = Biff8Workbook::build(sheetName, rows);
    AtomicFile::write(path, OleCompoundFile::build(QStringLiteral("Workbook"), workbook));
}

}  // namespace ortolan::data
