#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <utility>

namespace ortolan::metafile {

// Little-endian writer appending to a growing byte buffer; put*At() patch
// values already written (header fields known only at the end).
class ByteWriter {
public:
    qsizetype size() const { return m_bytes.size(); }
    const QByteArray &bytes() const { return m_bytes; }
    QByteArray take() { return std::exchange(m_bytes, QByteArray()); }
    void reserve(qsizetype n) { m_bytes.reserve(n); }

    void u8(quint8 v) { m_bytes.append(char(v)); }
    void u16(quint16 v);
    void i16(qint16 v) { u16(quint16(v)); }
    void u32(quint32 v);
    void i32(qint32 v) { u32(quint32(v)); }
    void f32(float v);
    void raw(const QByteArray &data) { m_bytes.append(data); }
    void raw(const char *data, qsizetype n) { m_bytes.append(data, n); }
    // UTF-16LE code units of text, no terminator.
    void utf16(const QString &text);
    void zeros(qsizetype n) { m_bytes.append(n, '\0'); }
    // Zero bytes up to the next multiple of four.
    void align4() { zeros((4 - (m_bytes.size() & 3)) & 3); }

    void putU16At(qsizetype offset, quint16 v);
    void putU32At(qsizetype offset, quint32 v);
    void putI32At(qsizetype offset, qint32 v) { putU32At(offset, quint32(v)); }

private:
    QByteArray m_bytes;
};

}  // namespace ortolan::metafile
