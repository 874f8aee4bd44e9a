#pragma once

#include "metafile/MetafilePicture.h"

#include <QByteArray>
#include <QRect>
#include <QString>

namespace ortolan::metafile {

// What the headers of a Windows metafile say.
struct WmfHeader {
    bool placeable = false;
    QRect boundingBox;         // placeable: logical units, left/top/right/bottom as stored
    quint16 unitsPerInch = 0;  // placeable: logical units per inch
    bool checksumOk = true;
    quint16 type = 0;          // 1 in memory, 2 on disk
    quint16 version = 0;
    quint32 sizeWords = 0;     // whole metafile in 16-bit words, as stated
    quint16 objects = 0;       // size of the object table
    quint32 maxRecordWords = 0;
    qsizetype firstRecord = 0;  // byte offset of the first record
};

// Reads Windows metafiles, placeable (with the 22-byte header giving bounding box
// and units per inch) or plain, into a MetafilePicture. Records are checked
// against their stated size and the end of the data; objects are placed in the
// lowest free slot of a table of the header's size, as the platform does.
// Unknown records are skipped (listed in the warnings). A record that runs past
// the data or has a size below 3 words, parameters that do not fit their record,
// an object table overflow or a select/delete of an index outside the table are
// errors: the result is then a null picture and a one-line reason.
//
// Picture units are the placeable bounding box's logical units; the metafile's
// window (SetWindowOrg/Ext) is mapped onto that box. A plain file uses its first
// window, or its own logical units when it sets none.
class WmfReader {
public:
    static bool readHeader(const QByteArray &data, WmfHeader *header, QString *error = nullptr);
    static MetafilePicture read(const QByteArray &data, QString *error = nullptr);
    // Units per inch assumed for plain files, which do not state theirs.
    static constexpr int PlainUnitsPerInch = 1440;
};

}  // namespace ortolan::metafile
