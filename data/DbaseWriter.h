#pragma once

#include "data/Recordset.h"

#include <QString>

namespace ortolan::data {

// Writes rows as a dBase IV table (.dbf) through shapelib, with a .cpg file
// that declares the text as UTF-8. Field types follow the data:
//   - integers only            -> N, no decimals, as wide as the widest value;
//   - reals (integers allowed) -> N with 1 to 8 decimals, as many as the values
//                                 need (at 15 significant digits);
//   - any text                 -> C, as wide as the longest value in UTF-8
//                                 bytes, at most 254 (longer text is cut at a
//                                 character boundary);
//   - only nulls               -> C of width 1.
// Field names are cut to dBase's 10 characters, characters other than ASCII
// letters, digits and "_" become "_", and names made equal by the cut get a
// numbered ending ("LOCALITA_1"). The header carries today's date.
//
// The table is built in memory and written atomically (AtomicFile): on any
// failure the earlier file of the same name is left as it was.
class DbaseWriter {
public:
    // dbfPath ends in ".dbf"; the .cpg is written beside it. Throws DataError.
    static void write(const QString &dbfPath, const Recordset &rows);

    // The dBase field names for a list of column names (cut, cleaned, unique).
    static QStringList fieldNames(const QStringList &columns);
};

}  // namespace ortolan::data
