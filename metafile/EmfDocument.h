#pragma once

#include "metafile/ByteReader.h"

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace ortolan::metafile {

// The header of an enhanced metafile as stored.
struct EmfHeader {
    quint32 headerSize = 0;
    QRect bounds;  // device pixels, inclusive (left, top, right, bottom as stored)
    QRect frame;   // 0.01 mm, inclusive
    quint32 bytes = 0;
    quint32 records = 0;
    quint16 handles = 0;
    QString description;  // terminators kept as '\0'
    quint32 paletteEntries = 0;
    QSize devicePixels;
    QSize deviceMillimeters;
    QSize deviceMicrometers;  // zero when the header has no such extension
};

// One record: its type, where it starts in the file and its size in bytes.
struct EmfRecord {
    quint32 type = 0;
    qsizetype offset = 0;
    quint32 size = 0;
};

// A whole enhanced metafile split into checked records (every record lies inside
// the data and has a size of at least 8, a multiple of 4). The last record is EOF.
struct EmfDocument {
    QByteArray data;
    EmfHeader header;
    std::vector<EmfRecord> records;

    // The parameters of a record: the bytes after its type and size.
    ByteReader parameters(const EmfRecord &record) const
    {
        return ByteReader(data.constData() + record.offset + 8, qsizetype(record.size) - 8);
    }
};

}  // namespace ortolan::metafile
