#include "data/ExternalTableWriter.h"

#include "data/DbaseWriter.h"
#include "data/ExcelWriter.h"

namespace ortolan::data {

void ExternalTableWriter::write(const ExternalTable &target, const Recordset &rows)
{
    if (target.kind == ExternalTable::Kind::Excel)
        ExcelWriter::write(target.filePath(), target.table, rows);
    else
        DbaseWriter::write(target.filePath(), rows);
}

}  // namespace ortolan::data
