#pragma once

#include "metafile/EmfDocument.h"
#include "metafile/MetafilePicture.h"

#include <QByteArray>
#include <QString>

namespace ortolan::metafile {

// Reads enhanced metafiles: checks the header and the record chain, then
// interprets the records through a DeviceContext into a MetafilePicture.
// Unknown records are skipped (listed in the picture's warnings); a record whose
// parameters do not fit its size, an object index beyond the object table's
// limit, or a broken record chain makes the whole file an error.
class EmfReader {
public:
    // Splits data into records. Returns false and sets *error on malformed data.
    static bool parse(const QByteArray &data, EmfDocument *doc, QString *error = nullptr);
    // Interprets a parsed document. Returns a null picture and sets *error on failure.
    static MetafilePicture compile(const EmfDocument &doc, QString *error = nullptr);
    // parse + compile.
    static MetafilePicture read(const QByteArray &data, QString *error = nullptr);
};

}  // namespace ortolan::metafile
