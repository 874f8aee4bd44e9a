#pragma once

#include <QByteArray>
#include <QString>

namespace ortolan::data {

// An OLE2 compound file (the container of Excel 97-2003 workbooks) holding one
// stream, built in memory with libgsf.
class OleCompoundFile {
public:
    // Throws DataError when libgsf fails.
    static QByteArray build(const QString &streamName, const QByteArray &stream);
};

}  // namespace ortolan::data
