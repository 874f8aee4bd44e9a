#pragma once

#include "data/Recordset.h"
#include "data/SelectInto.h"

namespace ortolan::data {

// Writes the rows of a select-into statement to its external table: a dBase
// IV table (DbaseWriter) or an Excel sheet (ExcelWriter).
class ExternalTableWriter {
public:
    // Throws DataError; an earlier file of the same name is then left as it was.
    static void write(const ExternalTable &target, const Recordset &rows);
};

}  // namespace ortolan::data
