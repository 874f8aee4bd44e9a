#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <cstddef>

namespace ortolan::metafile {

// Little-endian reader over a byte span that it does not own. Every read is
// checked against the end of the span: a read past it returns 0, leaves the
// position unchanged and sets the failed flag, which stays set. Callers read a
// whole record and test ok() once, instead of testing every field.
class ByteReader {
public:
    ByteReader() = default;
    ByteReader(const char *data, qsizetype size) : m_data(reinterpret_cast<const uchar *>(data)), m_size(size < 0 ? 0 : size) {}
    explicit ByteReader(const QByteArray &bytes) : ByteReader(bytes.constData(), bytes.size()) {}

    qsizetype size() const { return m_size; }
    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_size - m_pos; }
    bool ok() const { return !m_failed; }
    bool atEnd() const { return m_pos >= m_size; }
    const char *data() const { return reinterpret_cast<const char *>(m_data); }

    // Moves to an absolute offset; an offset outside [0, size] fails.
    bool seek(qsizetype offset);
    bool skip(qsizetype count);
    // True when count more bytes can be read from the position (count >= 0).
    bool has(qsizetype count) const { return count >= 0 && count <= m_size - m_pos; }
    // A reader over [offset, offset + length) of this span; fails (and returns an
    // empty reader) when that range is not inside the span.
    ByteReader sub(qsizetype offset, qsizetype length);

    quint8 u8();
    qint8 i8() { return qint8(u8()); }
    quint16 u16();
    qint16 i16() { return qint16(u16()); }
    quint32 u32();
    qint32 i32() { return qint32(u32()); }
    float f32();
    // count bytes as a copy; fails when fewer remain.
    QByteArray bytes(qsizetype count);
    // count UTF-16LE code units.
    QString utf16(qsizetype count);

    void fail() { m_failed = true; }

private:
    const uchar *m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

}  // namespace ortolan::metafile
